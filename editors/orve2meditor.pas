{ The event-to-method editor: the modal dialog in which the designer sets
  up one event-to-method link: the source and its event, the target and the
  method to call. Where each argument comes from is set in the method
  parameters editor, opened from here. }
unit Orve2meditor;

{$I orvdefines.inc}

interface

uses
  Classes, SysUtils,
  Forms, Controls, StdCtrls,
  Orve2m, Orvdesigner, Orvlinkform, Orvwinpos;

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
    procedure cbSourceCommit(Sender: TObject);
    procedure cbSourceEventCommit(Sender: TObject);
    procedure cbTargetCommit(Sender: TObject);
    procedure lbTargetMethodClick(Sender: TObject);
    procedure btSetParametersClick(Sender: TObject);
  private
    function GetConnection: TorvE2MConnection;
    procedure UpdateSourceEvent;
    procedure UpdateMethods;
    procedure UpdateButtons;
  protected
    procedure UpdateAll; override;
    procedure GetPlacement(out AKeyName: string; out ALoaded, ASaved: TorvBoundsParts); override;
  public
    { The edited link; nil once it has gone. }
    property Connection: TorvE2MConnection read GetConnection;
  end;

implementation

uses
  Orvpickers, Orvmpeditor;

{$R *.lfm}

procedure orvShowE2MEditor(ADesigner: TorvDesigner; AConnection: TorvE2MConnection);
begin
  orvShowLinkForm(TorvE2MForm, ADesigner, AConnection);
end;

{ TorvE2MForm }

function TorvE2MForm.GetConnection: TorvE2MConnection;
begin
  Result := TorvE2MConnection(Link);
end;

procedure TorvE2MForm.GetPlacement(out AKeyName: string; out ALoaded, ASaved: TorvBoundsParts);
begin
  AKeyName := 'Parameters Editor';
  ALoaded := [bpLeft, bpTop];
  ASaved := orvAllBounds;
end;

procedure TorvE2MForm.UpdateAll;
begin
  ShowSide(cbSource, sdSource);
  ShowSide(cbTarget, sdTarget);
  UpdateSourceEvent;
  UpdateMethods;
end;

procedure TorvE2MForm.UpdateSourceEvent;
begin
  FillEventPicker(cbSourceEvent, Connection.GetSourceInfo, Connection.SourceEvent);
end;

procedure TorvE2MForm.UpdateMethods;
begin
  FillMethodList(lbTargetMethod, Connection.GetTargetInfo, Connection.TargetMethod);
  UpdateButtons;
end;

procedure TorvE2MForm.UpdateButtons;
begin
  btSetParameters.Enabled := Connection.TargetMethodParameters.Count > 0;
end;

procedure TorvE2MForm.cbSourceCommit(Sender: TObject);
begin
  CommitSide(cbSource, sdSource, @UpdateSourceEvent);
end;

procedure TorvE2MForm.cbSourceEventCommit(Sender: TObject);
begin
  if not Acting then
    Exit;
  if EventAccepted(cbSourceEvent, Connection.GetSourceInfo, Connection.SourceEvent) then
    Connection.SourceEvent := cbSourceEvent.Text;
  FDesigner.Modified;
end;

procedure TorvE2MForm.cbTargetCommit(Sender: TObject);
begin
  CommitSide(cbTarget, sdTarget, @UpdateMethods);
end;

procedure TorvE2MForm.lbTargetMethodClick(Sender: TObject);
var
  Item: string;
begin
  if not ListPicked(lbTargetMethod, Item) then
    Exit;
  Connection.TargetMethod := Item;
  if Link = nil then
    Exit;
  UpdateButtons;
  FDesigner.Modified;
end;

procedure TorvE2MForm.btSetParametersClick(Sender: TObject);
begin
  if Acting then
    orvShowMPEditor(FDesigner, Connection);
end;

end.
