{ A shown form with one of each standard and extra control, for the tests of
  their bindings, and the helpers that reach the controls by feature name. }
unit Orvtestctrlfixture;

{$I orvdefines.inc}

interface

uses
  Classes, SysUtils, Variants, fpcunit,
  Controls, StdCtrls, ExtCtrls, Forms,
  Orvcommon, Orvstandins;

type
  { One test case per form: SetUp builds and shows it, TearDown frees it and
    every listener. }
  TControlsTestCase = class(TTestCase)
  protected
    FForm: TForm;
    FEdit: TEdit;
    FMemo: TMemo;
    FCombo: TComboBox;
    FList: TListBox;
    FCheck: TCheckBox;
    FScroll: TScrollBar;
    FLabel: TLabel;
    FButton: TButton;
    FShape: TShape;
    FImage: TImage;
    FPanel: TPanel;
    FPaintBox: TPaintBox;
    FNotebook: TNotebook;
    FHeader: THeader;
    FRadios: TRadioGroup;
    FSplitter: TSplitter;
    FBar: TControlBar;
    FTimer: TTimer;
    FListeners: TList;
    FLog: TStringList;
    procedure SetUp; override;
    procedure TearDown; override;
    { Put AControl on the form, named AName. }
    function Place(AControl: TControl; const AName: string): TControl;
    function Prop(AComponent: TComponent; const AName: string): TorvPropertyInfo;
    { Read and write a property of AComponent through its class info; the
      index values come first. }
    function Get(AComponent: TComponent; const AName: string;
      const AIndexes: array of Variant): Variant;
    procedure Put(AComponent: TComponent; const AName: string;
      const AIndexes: array of Variant; const AValue: Variant);
    { Invoke a method of AComponent through its class info; answer Result. }
    function Call(AComponent: TComponent; const AName: string; const AArgs: array of Variant): Variant;
    { Listen to AEvent of AComponent with AHandler; freed in TearDown. }
    procedure Listen(AComponent: TComponent; const AEvent: string; AHandler: TNotifyORVEvent);
    { Log a host handler's run. }
    procedure UserHandler(Sender: TObject);
  end;

{ Return a fresh, unparented object of a class bound by Orvstdctrls or
  Orvextctrls, or nil for another name. }
function MakeControlHost(const AName: string): TObject;

implementation

uses
  Orvtestfixtures, Orvtestwalk;

{ The walks over every binding make these units' hosts here. }
function MakeWalkHost(const AName: string; out ASubject: TObject; AKeep: TFPList): Boolean;
begin
  ASubject := MakeControlHost(AName);
  Result := ASubject <> nil;
end;

function MakeControlHost(const AName: string): TObject;
begin
  case AName of
    'TCustomGroupBox': Result := TCustomGroupBox.Create(nil);
    'TGroupBox': Result := TGroupBox.Create(nil);
    'TCustomLabel': Result := TCustomLabel.Create(nil);
    'TLabel': Result := TLabel.Create(nil);
    'TCustomEdit': Result := TCustomEdit.Create(nil);
    'TEdit': Result := TEdit.Create(nil);
    'TCustomMemo': Result := TCustomMemo.Create(nil);
    'TMemo': Result := TMemo.Create(nil);
    'TCustomComboBox': Result := TCustomComboBox.Create(nil);
    'TComboBox': Result := TComboBox.Create(nil);
    'TButtonActionLink': Result := TButtonActionLink.Create(nil);
    'TButtonControl': Result := TButtonControl.Create(nil);
    'TButton': Result := TButton.Create(nil);
    'TCustomCheckBox': Result := TCustomCheckBox.Create(nil);
    'TCheckBox': Result := TCheckBox.Create(nil);
    'TRadioButton': Result := TRadioButton.Create(nil);
    'TCustomListBox': Result := TCustomListBox.Create(nil);
    'TListBox': Result := TListBox.Create(nil);
    'TScrollBar': Result := TScrollBar.Create(nil);
    'TCustomStaticText': Result := TCustomStaticText.Create(nil);
    'TStaticText': Result := TStaticText.Create(nil);
    'TShape': Result := TShape.Create(nil);
    'TPaintBox': Result := TPaintBox.Create(nil);
    'TImage': Result := TImage.Create(nil);
    'TBevel': Result := TBevel.Create(nil);
    'TTimer': Result := TTimer.Create(nil);
    'TCustomPanel': Result := TCustomPanel.Create(nil);
    'TPanel': Result := TPanel.Create(nil);
    'TPage': Result := TPage.Create(nil);
    'TNotebook': Result := TNotebook.Create(nil);
    'THeader': Result := THeader.Create(nil);
    'TCustomRadioGroup': Result := TCustomRadioGroup.Create(nil);
    'TRadioGroup': Result := TRadioGroup.Create(nil);
    'TSplitter': Result := TSplitter.Create(nil);
    'TCustomControlBar': Result := TCustomControlBar.Create(nil);
    'TControlBar': Result := TControlBar.Create(nil);
  else
    Result := nil;
  end;
  if Result is TTimer then
    TTimer(Result).Enabled := False;
end;

procedure TControlsTestCase.SetUp;
var
  Page: TPage;
begin
  FListeners := TList.Create;
  FLog := TStringList.Create;
  FForm := TForm.CreateNew(nil);
  FForm.Name := 'ControlsForm';
  FForm.SetBounds(40, 40, 640, 480);
  FEdit := Place(TEdit.Create(FForm), 'Edit1') as TEdit;
  FMemo := Place(TMemo.Create(FForm), 'Memo1') as TMemo;
  FCombo := Place(TComboBox.Create(FForm), 'Combo1') as TComboBox;
  FList := Place(TListBox.Create(FForm), 'List1') as TListBox;
  FCheck := Place(TCheckBox.Create(FForm), 'Check1') as TCheckBox;
  FScroll := Place(TScrollBar.Create(FForm), 'Scroll1') as TScrollBar;
  FLabel := Place(TLabel.Create(FForm), 'Label1') as TLabel;
  FButton := Place(TButton.Create(FForm), 'Button1') as TButton;
  FShape := Place(TShape.Create(FForm), 'Shape1') as TShape;
  FImage := Place(TImage.Create(FForm), 'Image1') as TImage;
  FPanel := Place(TPanel.Create(FForm), 'Panel1') as TPanel;
  FPaintBox := Place(TPaintBox.Create(FForm), 'PaintBox1') as TPaintBox;
  FNotebook := Place(TNotebook.Create(FForm), 'Notebook1') as TNotebook;
  FHeader := Place(THeader.Create(FForm), 'Header1') as THeader;
  FRadios := Place(TRadioGroup.Create(FForm), 'Radios1') as TRadioGroup;
  FSplitter := Place(TSplitter.Create(FForm), 'Splitter1') as TSplitter;
  FBar := Place(TControlBar.Create(FForm), 'Bar1') as TControlBar;
  FTimer := TTimer.Create(FForm);
  FTimer.Enabled := False;
  FTimer.Name := 'Timer1';
  FList.Items.CommaText := 'one,two,three';
  FCombo.Items.CommaText := 'red,green,blue';
  FRadios.Items.CommaText := 'left,right';
  FHeader.Sections.CommaText := 'Name,Size';
  Page := TPage.Create(FNotebook);
  Page.Name := 'First';
  Page.Parent := FNotebook;
  Page := TPage.Create(FNotebook);
  Page.Name := 'Second';
  Page.Parent := FNotebook;
  FNotebook.PageIndex := 0;
  FForm.Show;
  Application.ProcessMessages;
end;

procedure TControlsTestCase.TearDown;
var
  I: Integer;
begin
  for I := 0 to FListeners.Count - 1 do
    TObject(FListeners[I]).Free;
  FreeAndNil(FListeners);
  FreeAndNil(FForm);
  FreeAndNil(FLog);
end;

function TControlsTestCase.Place(AControl: TControl; const AName: string): TControl;
begin
  AControl.Name := AName;
  AControl.Parent := FForm;
  Result := AControl;
end;

function TControlsTestCase.Prop(AComponent: TComponent; const AName: string): TorvPropertyInfo;
begin
  Result := InfoOf(AComponent).FindProperty(AName);
  AssertNotNull(AComponent.ClassName + ' declares ' + AName, Result);
end;

function TControlsTestCase.Get(AComponent: TComponent; const AName: string;
  const AIndexes: array of Variant): Variant;
var
  P: TorvPropertyInfo;
  I: Integer;
begin
  P := Prop(AComponent, AName);
  for I := 0 to High(AIndexes) do
    P.GetIndexes(I).Value := AIndexes[I];
  Result := InfoOf(AComponent).GetProperty(P);
end;

procedure TControlsTestCase.Put(AComponent: TComponent; const AName: string;
  const AIndexes: array of Variant; const AValue: Variant);
var
  P: TorvPropertyInfo;
  I: Integer;
begin
  P := Prop(AComponent, AName);
  for I := 0 to High(AIndexes) do
    P.GetIndexes(I).Value := AIndexes[I];
  InfoOf(AComponent).SetProperty(P, AValue);
end;

function TControlsTestCase.Call(AComponent: TComponent; const AName: string;
  const AArgs: array of Variant): Variant;
var
  M: TorvMethodInfo;
  I: Integer;
begin
  M := InfoOf(AComponent).FindMethod(AName);
  AssertNotNull(AComponent.ClassName + ' declares ' + AName, M);
  AssertEquals(AName + ' arguments', M.GetArgCount, Length(AArgs));
  for I := 0 to High(AArgs) do
    M.GetArgs(I).Value := AArgs[I];
  InfoOf(AComponent).InvokeMethod(M);
  Result := M.Result;
end;

procedure TControlsTestCase.Listen(AComponent: TComponent; const AEvent: string;
  AHandler: TNotifyORVEvent);
var
  Listener: TorvListener;
begin
  AssertNotNull(AComponent.ClassName + ' declares ' + AEvent, InfoOf(AComponent).FindEvent(AEvent));
  Listener := TorvListener.Create;
  FListeners.Add(Listener);
  Listener.EventName := AEvent;
  Listener.OnEvent := AHandler;
  InfoOf(AComponent).AddListener(Listener);
end;

procedure TControlsTestCase.UserHandler(Sender: TObject);
begin
  FLog.Add('user ' + (Sender as TComponent).Name);
end;

initialization
  RegisterHostMaker(@MakeWalkHost);
  // Features these bindings declare again, as the host classes re-declare
  // them; the first declaration is the one found by name.
  RegisterRedeclared('TCustomLabel', 'AutoSize');
  RegisterRedeclared('TCustomEdit', 'AutoSize');
  RegisterRedeclared('TCustomStaticText', 'AutoSize');
  RegisterRedeclared('TImage', 'Canvas');
  RegisterRedeclared('TCustomPanel', 'BevelInner');
  RegisterRedeclared('TCustomPanel', 'BevelOuter');
  RegisterRedeclared('TCustomPanel', 'BevelWidth');
  RegisterRedeclared('TCustomPanel', 'BorderWidth');
  RegisterRedeclared('TSplitter', 'OnCanResize');
end.
