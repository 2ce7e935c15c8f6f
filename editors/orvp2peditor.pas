{ The property-to-property editor: the modal dialog in which the designer
  sets up one property-to-property link. Every choice is written into the
  link at once and the designer told; there is nothing to confirm. }
unit Orvp2peditor;

{$I orvdefines.inc}

interface

uses
  Classes, SysUtils, Variants,
  Forms, Controls, StdCtrls,
  Orvcommon, Orvp2p, Orvdesigner, Orvlinkform, Orvwinpos;

{ Edit AConnection of the form ADesigner designs in the modal dialog;
  return when it closes. }
procedure orvShowP2PEditor(ADesigner: TorvDesigner; AConnection: TorvP2PConnection);

type
  { TorvP2PForm }

  TorvP2PForm = class(TorvLinkForm)
    GroupBox1: TGroupBox;
    cbSource: TComboBox;
    Label1: TLabel;
    lbSourceProperty: TListBox;
    Label5: TLabel;
    edSourcePropertyIndex: TEdit;
    btSourcePropertyIndex: TButton;
    Label2: TLabel;
    cbSourceEvent: TComboBox;
    GroupBox2: TGroupBox;
    cbTarget: TComboBox;
    Label3: TLabel;
    lbTargetProperty: TListBox;
    Label6: TLabel;
    edTargetPropertyIndex: TEdit;
    btTargetPropertyIndex: TButton;
    Label4: TLabel;
    cbTargetEvent: TComboBox;
    btClose: TButton;
    procedure cbSourceCommit(Sender: TObject);
    procedure cbTargetCommit(Sender: TObject);
    procedure cbSourceEventCommit(Sender: TObject);
    procedure cbTargetEventCommit(Sender: TObject);
    procedure lbSourcePropertyClick(Sender: TObject);
    procedure lbTargetPropertyClick(Sender: TObject);
    procedure btSourcePropertyIndexClick(Sender: TObject);
    procedure btTargetPropertyIndexClick(Sender: TObject);
  private
    function GetConnection: TorvP2PConnection;
    procedure UpdateSource;
    procedure UpdateTarget;
    procedure UpdateSourceIndex;
    procedure UpdateTargetIndex;
  protected
    procedure UpdateAll; override;
    procedure GetPlacement(out AKeyName: string; out ALoaded, ASaved: TorvBoundsParts); override;
  public
    { The edited link; nil once it has gone. }
    property Connection: TorvP2PConnection read GetConnection;
  end;

implementation

uses
  Orvpickers;

{$R *.lfm}

procedure orvShowP2PEditor(ADesigner: TorvDesigner; AConnection: TorvP2PConnection);
begin
  orvShowLinkForm(TorvP2PForm, ADesigner, AConnection);
end;

{ TorvP2PForm }

function TorvP2PForm.GetConnection: TorvP2PConnection;
begin
  Result := TorvP2PConnection(Link);
end;

procedure TorvP2PForm.GetPlacement(out AKeyName: string; out ALoaded, ASaved: TorvBoundsParts);
begin
  AKeyName := 'P2PConnection Editor';
  ALoaded := [bpLeft, bpTop];
  ASaved := [bpLeft, bpTop];
end;

procedure TorvP2PForm.UpdateAll;
begin
  ShowSide(cbSource, sdSource);
  ShowSide(cbTarget, sdTarget);
  UpdateSource;
  UpdateTarget;
end;

procedure TorvP2PForm.UpdateSource;
begin
  FillPropertyList(lbSourceProperty, Connection.GetSourceInfo, psReadable, Connection.SourceProperty);
  FillEventPicker(cbSourceEvent, Connection.GetSourceInfo, Connection.SourceEvent);
  UpdateSourceIndex;
end;

procedure TorvP2PForm.UpdateTarget;
begin
  FillPropertyList(lbTargetProperty, Connection.GetTargetInfo, psWritable, Connection.TargetProperty);
  FillEventPicker(cbTargetEvent, Connection.GetTargetInfo, Connection.TargetEvent);
  UpdateTargetIndex;
end;

procedure TorvP2PForm.UpdateSourceIndex;
begin
  FillIndexLine(edSourcePropertyIndex, btSourcePropertyIndex, Connection.GetSourcePropertyInfo);
end;

procedure TorvP2PForm.UpdateTargetIndex;
begin
  FillIndexLine(edTargetPropertyIndex, btTargetPropertyIndex, Connection.GetTargetPropertyInfo);
end;

procedure TorvP2PForm.cbSourceCommit(Sender: TObject);
begin
  CommitSide(cbSource, sdSource, @UpdateSource);
end;

procedure TorvP2PForm.cbTargetCommit(Sender: TObject);
begin
  CommitSide(cbTarget, sdTarget, @UpdateTarget);
end;

procedure TorvP2PForm.cbSourceEventCommit(Sender: TObject);
begin
  if not Acting then
    Exit;
  if EventAccepted(cbSourceEvent, Connection.GetSourceInfo, Connection.SourceEvent) then
    Connection.SourceEvent := cbSourceEvent.Text;
  FDesigner.Modified;
end;

procedure TorvP2PForm.cbTargetEventCommit(Sender: TObject);
begin
  if not Acting then
    Exit;
  if EventAccepted(cbTargetEvent, Connection.GetTargetInfo, Connection.TargetEvent) then
    Connection.TargetEvent := cbTargetEvent.Text;
  FDesigner.Modified;
end;

procedure TorvP2PForm.lbSourcePropertyClick(Sender: TObject);
var
  Item: string;
begin
  if not ListPicked(lbSourceProperty, Item) then
    Exit;
  Connection.SourceProperty := Item;
  if ModifiedLinkAlive then
    UpdateSourceIndex;
end;

procedure TorvP2PForm.lbTargetPropertyClick(Sender: TObject);
var
  Item: string;
begin
  if not ListPicked(lbTargetProperty, Item) then
    Exit;
  Connection.TargetProperty := Item;
  if ModifiedLinkAlive then
    UpdateTargetIndex;
end;

procedure TorvP2PForm.btSourcePropertyIndexClick(Sender: TObject);
var
  Value: Variant;
begin
  if Acting and EditIndex(Connection, Connection.SourcePropertyIndex,
    Connection.GetSourcePropertyInfo, Value) then
  begin
    Connection.SourcePropertyIndex := Value;
    FDesigner.Modified;
  end;
end;

procedure TorvP2PForm.btTargetPropertyIndexClick(Sender: TObject);
var
  Value: Variant;
begin
  if Acting and EditIndex(Connection, Connection.TargetPropertyIndex,
    Connection.GetTargetPropertyInfo, Value) then
  begin
    Connection.TargetPropertyIndex := Value;
    FDesigner.Modified;
  end;
end;

end.
