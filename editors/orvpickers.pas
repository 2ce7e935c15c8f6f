{ The building blocks the link editors share: the component picker, the
  property list, the event picker, the index line, the method and event
  parameter lists, and the value source pages.

  Each block fills plain LCL controls from the metadata: the names come from
  the class infos the registry hands out, never from the host's own type
  information, so a component appears exactly when its class is bound.
  Committing stays with the windows, which know the link; the blocks answer
  what the designer chose. }
unit Orvpickers;

{$I orvdefines.inc}

interface

uses
  Classes, SysUtils, Variants,
  Controls, StdCtrls,
  Orvcommon, Orvconlist, Orvdesigner;

{ Fill ACombo with the names of the designed form's components that a link
  offers for a side (IsOfferedSide), in the designer's order, and show
  the name of ACurrent (empty for none). }
procedure FillComponentPicker(ADesigner: TorvDesigner; ACombo: TCustomComboBox;
  ACurrent: TComponent);
{ Answer whether ACombo's text names another component than ACurrent
  (letter case ignored); AValue is then the component of that name, or nil
  when there is none. }
function PickedComponent(ADesigner: TorvDesigner; ACombo: TCustomComboBox;
  ACurrent: TComponent; out AValue: TComponent): Boolean;
{ Show in ACombo the name of the component a side holds now. }
procedure ShowComponentName(ADesigner: TorvDesigner; ACombo: TCustomComboBox;
  AComponent: TComponent);

{ Fill AList with the names of AInfo's properties that are not protected
  and have AStyle, and select ACurrent. Without a class info the list stays
  empty. }
procedure FillPropertyList(AList: TCustomListBox; AInfo: TorvClassInfo;
  AStyle: TorvPropertyStyleFlag; const ACurrent: string);
{ Fill ACombo with the names of AInfo's events that are not protected, and
  select ACurrent. }
procedure FillEventPicker(ACombo: TCustomComboBox; AInfo: TorvClassInfo; const ACurrent: string);
{ Answer whether ACombo's text may be stored as an event name: empty, or an
  event of AInfo. A refused name gives way to ACurrent again. }
function EventAccepted(ACombo: TCustomComboBox; AInfo: TorvClassInfo; const ACurrent: string): Boolean;
{ Fill AList with the names of every method of AInfo, and select ACurrent. }
procedure FillMethodList(AList: TCustomListBox; AInfo: TorvClassInfo; const ACurrent: string);
{ Fill AList with AEvent's parameter names in their order, and select
  ACurrent. }
procedure FillEventParameters(AList: TCustomListBox; AEvent: TorvEventInfo; const ACurrent: string);

{ Show in AEdit the index parameter names of AProp, "(None)" without any,
  and enable AButton exactly when there are some. }
procedure FillIndexLine(AEdit: TCustomEdit; AButton: TControl; AProp: TorvPropertyInfo);
{ Let the designer edit the index list AIndex of AProp for AInstance in the
  property index editor. Answer True with the edited list in AValue; False
  when the instance or the property went away while the window was open. }
function EditIndexList(ADesigner: TorvDesigner; AInstance: TObject; const AIndex: Variant;
  AProp: TorvPropertyInfo; out AValue: Variant): Boolean;

{ Return the page index of a value source, or raise AError. }
function ValuePageIndex(AOptions: TorvValueOptions; const AError: string): Integer;
{ Return the value source of a page index, or raise the page error. }
function ValueOptionsOfPage(APageIndex: Integer): TorvValueOptions;

resourcestring
  rsNoIndex = '(None)';
  rsUnknownE2PValueOptions = 'Internal Error. Unknown value of E2PConnection.ValueOptions';
  rsUnknownE2MValueOptions = 'Internal Error. Unknown value of E2MConnection.ValueOptions';
  rsUnknownValuePage = 'Internal Error. Unknown value of pcValue.ActivePageIndex';

implementation

uses
  Orvpropindex;

type
  { Collects names from the designer's name callback. }
  TNameCollector = class
  public
    Names: TStringList;
    constructor Create;
    destructor Destroy; override;
    procedure Add(const AName: string);
  end;

constructor TNameCollector.Create;
begin
  inherited Create;
  Names := TStringList.Create;
end;

destructor TNameCollector.Destroy;
begin
  Names.Free;
  inherited Destroy;
end;

procedure TNameCollector.Add(const AName: string);
begin
  Names.Add(AName);
end;

procedure FillComponentPicker(ADesigner: TorvDesigner; ACombo: TCustomComboBox;
  ACurrent: TComponent);
var
  Collector: TNameCollector;
  Component: TComponent;
  I: Integer;
begin
  Collector := TNameCollector.Create;
  try
    ADesigner.GetComponentNames(TComponent, @Collector.Add);
    ACombo.Items.BeginUpdate;
    try
      ACombo.Items.Clear;
      for I := 0 to Collector.Names.Count - 1 do
      begin
        Component := ADesigner.GetComponent(Collector.Names[I]);
        // A component being destroyed is still listed by its owner.
        if (Component <> nil) and not (csDestroying in Component.ComponentState) and
          IsOfferedSide(Component) then
          ACombo.Items.Add(Collector.Names[I]);
      end;
    finally
      ACombo.Items.EndUpdate;
    end;
  finally
    Collector.Free;
  end;
  ShowComponentName(ADesigner, ACombo, ACurrent);
end;

function PickedComponent(ADesigner: TorvDesigner; ACombo: TCustomComboBox;
  ACurrent: TComponent; out AValue: TComponent): Boolean;
begin
  AValue := nil;
  Result := AnsiCompareText(ACombo.Text, ADesigner.GetComponentName(ACurrent)) <> 0;
  if Result then
    AValue := ADesigner.GetComponent(ACombo.Text);
end;

procedure ShowComponentName(ADesigner: TorvDesigner; ACombo: TCustomComboBox;
  AComponent: TComponent);
begin
  ACombo.ItemIndex := ACombo.Items.IndexOf(ADesigner.GetComponentName(AComponent));
  ACombo.Text := ADesigner.GetComponentName(AComponent);
end;

procedure FillPropertyList(AList: TCustomListBox; AInfo: TorvClassInfo;
  AStyle: TorvPropertyStyleFlag; const ACurrent: string);
var
  Prop: TorvPropertyInfo;
  I: Integer;
begin
  AList.Items.BeginUpdate;
  try
    AList.Items.Clear;
    if AInfo <> nil then
      for I := 0 to AInfo.GetPropertyCount - 1 do
      begin
        Prop := AInfo.GetProperties(I);
        if (Prop.Visibility <> pvProtected) and (AStyle in Prop.Styles) then
          AList.Items.Add(Prop.Name);
      end;
  finally
    AList.Items.EndUpdate;
  end;
  AList.ItemIndex := AList.Items.IndexOf(ACurrent);
end;

procedure FillEventPicker(ACombo: TCustomComboBox; AInfo: TorvClassInfo; const ACurrent: string);
var
  Event: TorvEventInfo;
  I: Integer;
begin
  ACombo.Items.BeginUpdate;
  try
    ACombo.Items.Clear;
    ACombo.Text := '';
    if AInfo <> nil then
      for I := 0 to AInfo.GetEventCount - 1 do
      begin
        Event := AInfo.GetEvents(I);
        if Event.Visibility <> pvProtected then
          ACombo.Items.Add(Event.Name);
      end;
  finally
    ACombo.Items.EndUpdate;
  end;
  ACombo.ItemIndex := ACombo.Items.IndexOf(ACurrent);
  ACombo.Text := ACurrent;
end;

function EventAccepted(ACombo: TCustomComboBox; AInfo: TorvClassInfo; const ACurrent: string): Boolean;
begin
  Result := (ACombo.Text = '') or ((AInfo <> nil) and (AInfo.FindEvent(ACombo.Text) <> nil));
  if not Result then
    ACombo.Text := ACurrent;
end;

procedure FillMethodList(AList: TCustomListBox; AInfo: TorvClassInfo; const ACurrent: string);
var
  I: Integer;
begin
  AList.Items.BeginUpdate;
  try
    AList.Items.Clear;
    if AInfo <> nil then
      for I := 0 to AInfo.GetMethodCount - 1 do
        AList.Items.Add(AInfo.GetMethods(I).Name);
  finally
    AList.Items.EndUpdate;
  end;
  AList.ItemIndex := AList.Items.IndexOf(ACurrent);
end;

procedure FillEventParameters(AList: TCustomListBox; AEvent: TorvEventInfo; const ACurrent: string);
var
  I: Integer;
begin
  AList.Items.BeginUpdate;
  try
    AList.Items.Clear;
    if AEvent <> nil then
      for I := 0 to AEvent.GetArgCount - 1 do
        AList.Items.Add(AEvent.GetArgs(I).Name);
  finally
    AList.Items.EndUpdate;
  end;
  AList.ItemIndex := AList.Items.IndexOf(ACurrent);
end;

procedure FillIndexLine(AEdit: TCustomEdit; AButton: TControl; AProp: TorvPropertyInfo);
var
  Text: string;
  I: Integer;
begin
  if (AProp = nil) or (AProp.GetIndexCount = 0) then
  begin
    AEdit.Text := rsNoIndex;
    AButton.Enabled := False;
    Exit;
  end;
  Text := '[';
  for I := 0 to AProp.GetIndexCount - 1 do
  begin
    if I > 0 then
      Text := Text + ', ';
    Text := Text + AProp.GetIndexes(I).Name;
  end;
  AEdit.Text := Text + ']';
  AButton.Enabled := True;
end;

function EditIndexList(ADesigner: TorvDesigner; AInstance: TObject; const AIndex: Variant;
  AProp: TorvPropertyInfo; out AValue: Variant): Boolean;
var
  I: Integer;
begin
  AValue := AIndex;
  Result := orvShowPropertyIndexEditor(ADesigner, AInstance, AIndex, AProp);
  if not Result then
    Exit;
  for I := 0 to AProp.GetIndexCount - 1 do
    AValue[I] := AProp.GetIndexes(I).Value;
end;

function ValuePageIndex(AOptions: TorvValueOptions; const AError: string): Integer;
begin
  case AOptions of
    voConstant: Result := 0;
    voComponentProperty: Result := 1;
    voEventProperty: Result := 2;
  else
    raise Exception.Create(AError);
  end;
end;

function ValueOptionsOfPage(APageIndex: Integer): TorvValueOptions;
begin
  case APageIndex of
    0: Result := voConstant;
    1: Result := voComponentProperty;
    2: Result := voEventProperty;
  else
    raise Exception.Create(rsUnknownValuePage);
  end;
end;

end.
