{ The event-to-method editor: the modal dialog in which the designer sets
  up one event-to-method link: the source and its event, the target and the
  method to call. Where each argument comes from is set in the method
  parameters editor, opened from here. }
unit Orve2meditor;

{$I orvdefines.inc}

interface

uses
  Classes, SysUtils,
  Forms, Controls, StdCtrls, LCLType,
  Orve2m, Orvdesigner, Orvlinkform;

{ Edit AConnection of the form ADesigner designs in the modal dialog;
  return when it closes. }
procedure orvShowE2MEditor(ADesigner: TorvDesigner; AConnection: TorvE2MConnection);

type
  { TorvE2MForm }

  TorvE2MForm = class(TorvLinkForm)
    GroupBox1: TGroupBox;
    cbSource: TComboBox;
    Label2: TLabel;
    cbSourceEvent: TComboBox;
    GroupBox2: TGroupBox;
    cbTarget: TComboBox;
    Label3: TLabel;
    lbTargetMethod: TListBox;
    btSetParameters: TButton;
    btClose: TButton;
    procedure FormCreate(Sender: TObject);
    procedure FormActivate(Sender: TObject);
    procedure FormClose(Sender: TObject; var CloseAction: TCloseAction);
    procedure ComboKeyDown(Sender: TObject; var Key: Word; Shift: TShiftState);
    procedure cbSourceCommit(Sender: TObject);
    procedure cbSourceEventCommit(Sender: TObject);
    procedure cbTargetCommit(Sender: TObject);
    procedure lbTargetMethodClick(Sender: TObject);
    procedure btSetParametersClick(Sender: TObject);
  private
    FConnection: TorvE2MConnection;
    procedure UpdateSourceTarget;
    procedure UpdateSourceEvent;
    procedure UpdateMethods;
    procedure UpdateButtons;
  protected
    procedure LinkGone; override;
    procedure UpdateAll; override;
  public
    { The edited link; nil once it has gone. }
    property Connection: TorvE2MConnection read FConnection;
  end;

implementation

uses
  Orvpickers, Orvmpeditor, Orvwinpos;

{$R *.lfm}

const
  KeyName = 'Parameters Editor';

procedure orvShowE2MEditor(ADesigner: TorvDesigner; AConnection: TorvE2MConnection);
var
  Editor: TorvE2MForm;
begin
  Editor := TorvE2MForm.Create(Application);
  try
    Editor.FDesigner := ADesigner;
    Editor.FConnection := AConnection;
    Editor.SetLink(AConnection);
    Editor.Refill;
    Editor.ShowModal;
  finally
    Editor.Free;
  end;
end;

{ TorvE2MForm }

procedure TorvE2MForm.FormCreate(Sender: TObject);
begin
  orvLoadBounds(Self, KeyName, [bpLeft, bpTop]);
end;

procedure TorvE2MForm.FormActivate(Sender: TObject);
begin
  if FConnection <> nil then
    Refill;
end;

procedure TorvE2MForm.FormClose(Sender: TObject; var CloseAction: TCloseAction);
begin
  orvSaveBounds(Self, KeyName, orvAllBounds);
  CloseAction := caFree;
end;

procedure TorvE2MForm.LinkGone;
begin
  FConnection := nil;
end;

procedure TorvE2MForm.UpdateAll;
begin
  UpdateSourceTarget;
  UpdateSourceEvent;
  UpdateMethods;
end;

procedure TorvE2MForm.UpdateSourceTarget;
begin
  FillComponentPicker(FDesigner, cbSource, Alive(FConnection.Source));
  FillComponentPicker(FDesigner, cbTarget, Alive(FConnection.Target));
  Watch(FConnection.Source);
  Watch(FConnection.Target);
end;

procedure TorvE2MForm.UpdateSourceEvent;
begin
  FillEventPicker(cbSourceEvent, FConnection.GetSourceInfo, FConnection.SourceEvent);
end;

procedure TorvE2MForm.UpdateMethods;
begin
  FillMethodList(lbTargetMethod, FConnection.GetTargetInfo, FConnection.TargetMethod);
  UpdateButtons;
end;

procedure TorvE2MForm.UpdateButtons;
begin
  btSetParameters.Enabled := FConnection.TargetMethodParameters.Count > 0;
end;

procedure TorvE2MForm.ComboKeyDown(Sender: TObject; var Key: Word; Shift: TShiftState);
begin
  if (Key = VK_RETURN) and Assigned(TComboBox(Sender).OnSelect) then
    TComboBox(Sender).OnSelect(Sender);
end;

procedure TorvE2MForm.cbSourceCommit(Sender: TObject);
var
  Picked: TComponent;
begin
  if not Acting or not PickedComponent(FDesigner, cbSource, FConnection.Source, Picked) then
    Exit;
  FConnection.Source := Picked;
  if FConnection = nil then
    Exit;
  ShowComponentName(FDesigner, cbSource, FConnection.Source);
  Watch(FConnection.Source);
  UpdateSourceEvent;
  FDesigner.Modified;
end;

procedure TorvE2MForm.cbSourceEventCommit(Sender: TObject);
begin
  if not Acting then
    Exit;
  if EventAccepted(cbSourceEvent, FConnection.GetSourceInfo) then
    FConnection.SourceEvent := cbSourceEvent.Text
  else
    cbSourceEvent.Text := FConnection.SourceEvent;
  FDesigner.Modified;
end;

procedure TorvE2MForm.cbTargetCommit(Sender: TObject);
var
  Picked: TComponent;
begin
  if not Acting or not PickedComponent(FDesigner, cbTarget, FConnection.Target, Picked) then
    Exit;
  FConnection.Target := Picked;
  if FConnection = nil then
    Exit;
  ShowComponentName(FDesigner, cbTarget, FConnection.Target);
  Watch(FConnection.Target);
  UpdateMethods;
  FDesigner.Modified;
end;

procedure TorvE2MForm.lbTargetMethodClick(Sender: TObject);
begin
  if not Acting or (lbTargetMethod.ItemIndex < 0) then
    Exit;
  FConnection.TargetMethod := lbTargetMethod.Items[lbTargetMethod.ItemIndex];
  if FConnection = nil then
    Exit;
  UpdateButtons;
  FDesigner.Modified;
end;

procedure TorvE2MForm.btSetParametersClick(Sender: TObject);
begin
  if Acting then
    orvShowMPEditor(FDesigner, FConnection);
end;

end.
