{ The property-to-property editor: the modal dialog in which the designer
  sets up one property-to-property link. Every choice is written into the
  link at once and the designer told; there is nothing to confirm. }
unit Orvp2peditor;

{$I orvdefines.inc}

interface

uses
  Classes, SysUtils, Variants,
  Forms, Controls, StdCtrls, LCLType,
  Orvcommon, Orvp2p, Orvdesigner, Orvlinkform;

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
    procedure FormCreate(Sender: TObject);
    procedure FormActivate(Sender: TObject);
    procedure FormClose(Sender: TObject; var CloseAction: TCloseAction);
    procedure ComboKeyDown(Sender: TObject; var Key: Word; Shift: TShiftState);
    procedure cbSourceCommit(Sender: TObject);
    procedure cbTargetCommit(Sender: TObject);
    procedure cbSourceEventCommit(Sender: TObject);
    procedure cbTargetEventCommit(Sender: TObject);
    procedure lbSourcePropertyClick(Sender: TObject);
    procedure lbTargetPropertyClick(Sender: TObject);
    procedure btSourcePropertyIndexClick(Sender: TObject);
    procedure btTargetPropertyIndexClick(Sender: TObject);
  private
    FConnection: TorvP2PConnection;
    procedure UpdateSourceTarget;
    procedure UpdateSource;
    procedure UpdateTarget;
    procedure UpdateSourceIndex;
    procedure UpdateTargetIndex;
  protected
    procedure LinkGone; override;
    procedure UpdateAll; override;
  public
    { The edited link; nil once it has gone. }
    property Connection: TorvP2PConnection read FConnection;
  end;

implementation

uses
  Orvpickers, Orvwinpos;

{$R *.lfm}

const
  KeyName = 'P2PConnection Editor';

procedure orvShowP2PEditor(ADesigner: TorvDesigner; AConnection: TorvP2PConnection);
var
  Editor: TorvP2PForm;
begin
  Editor := TorvP2PForm.Create(Application);
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

{ TorvP2PForm }

procedure TorvP2PForm.FormCreate(Sender: TObject);
begin
  orvLoadBounds(Self, KeyName, [bpLeft, bpTop]);
end;

procedure TorvP2PForm.FormActivate(Sender: TObject);
begin
  if FConnection <> nil then
    Refill;
end;

procedure TorvP2PForm.FormClose(Sender: TObject; var CloseAction: TCloseAction);
begin
  orvSaveBounds(Self, KeyName, [bpLeft, bpTop]);
  CloseAction := caFree;
end;

procedure TorvP2PForm.LinkGone;
begin
  FConnection := nil;
end;

procedure TorvP2PForm.UpdateAll;
begin
  UpdateSourceTarget;
  UpdateSource;
  UpdateSourceIndex;
  UpdateTarget;
  UpdateTargetIndex;
end;

procedure TorvP2PForm.UpdateSourceTarget;
begin
  FillComponentPicker(FDesigner, cbSource, Alive(FConnection.Source));
  FillComponentPicker(FDesigner, cbTarget, Alive(FConnection.Target));
  Watch(FConnection.Source);
  Watch(FConnection.Target);
end;

procedure TorvP2PForm.UpdateSource;
begin
  FillPropertyList(lbSourceProperty, FConnection.GetSourceInfo, psReadable, FConnection.SourceProperty);
  FillEventPicker(cbSourceEvent, FConnection.GetSourceInfo, FConnection.SourceEvent);
end;

procedure TorvP2PForm.UpdateTarget;
begin
  FillPropertyList(lbTargetProperty, FConnection.GetTargetInfo, psWritable, FConnection.TargetProperty);
  FillEventPicker(cbTargetEvent, FConnection.GetTargetInfo, FConnection.TargetEvent);
end;

procedure TorvP2PForm.UpdateSourceIndex;
begin
  FillIndexLine(edSourcePropertyIndex, btSourcePropertyIndex, FConnection.GetSourcePropertyInfo);
end;

procedure TorvP2PForm.UpdateTargetIndex;
begin
  FillIndexLine(edTargetPropertyIndex, btTargetPropertyIndex, FConnection.GetTargetPropertyInfo);
end;

procedure TorvP2PForm.ComboKeyDown(Sender: TObject; var Key: Word; Shift: TShiftState);
begin
  if (Key = VK_RETURN) and Assigned(TComboBox(Sender).OnSelect) then
    TComboBox(Sender).OnSelect(Sender);
end;

procedure TorvP2PForm.cbSourceCommit(Sender: TObject);
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
  UpdateSource;
  UpdateSourceIndex;
  FDesigner.Modified;
end;

procedure TorvP2PForm.cbTargetCommit(Sender: TObject);
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
  UpdateTarget;
  UpdateTargetIndex;
  FDesigner.Modified;
end;

procedure TorvP2PForm.cbSourceEventCommit(Sender: TObject);
begin
  if not Acting then
    Exit;
  if EventAccepted(cbSourceEvent, FConnection.GetSourceInfo) then
    FConnection.SourceEvent := cbSourceEvent.Text
  else
    cbSourceEvent.Text := FConnection.SourceEvent;
  FDesigner.Modified;
end;

procedure TorvP2PForm.cbTargetEventCommit(Sender: TObject);
begin
  if not Acting then
    Exit;
  if EventAccepted(cbTargetEvent, FConnection.GetTargetInfo) then
    FConnection.TargetEvent := cbTargetEvent.Text
  else
    cbTargetEvent.Text := FConnection.TargetEvent;
  FDesigner.Modified;
end;

procedure TorvP2PForm.lbSourcePropertyClick(Sender: TObject);
begin
  if not Acting or (lbSourceProperty.ItemIndex < 0) then
    Exit;
  FConnection.SourceProperty := lbSourceProperty.Items[lbSourceProperty.ItemIndex];
  FDesigner.Modified;
  if FConnection <> nil then
    UpdateSourceIndex;
end;

procedure TorvP2PForm.lbTargetPropertyClick(Sender: TObject);
begin
  if not Acting or (lbTargetProperty.ItemIndex < 0) then
    Exit;
  FConnection.TargetProperty := lbTargetProperty.Items[lbTargetProperty.ItemIndex];
  FDesigner.Modified;
  if FConnection <> nil then
    UpdateTargetIndex;
end;

procedure TorvP2PForm.btSourcePropertyIndexClick(Sender: TObject);
var
  Value: Variant;
begin
  if not Acting then
    Exit;
  if EditIndexList(FDesigner, FConnection, FConnection.SourcePropertyIndex,
    FConnection.GetSourcePropertyInfo, Value) and (FConnection <> nil) then
  begin
    FConnection.SourcePropertyIndex := Value;
    FDesigner.Modified;
  end;
end;

procedure TorvP2PForm.btTargetPropertyIndexClick(Sender: TObject);
var
  Value: Variant;
begin
  if not Acting then
    Exit;
  if EditIndexList(FDesigner, FConnection, FConnection.TargetPropertyIndex,
    FConnection.GetTargetPropertyInfo, Value) and (FConnection <> nil) then
  begin
    FConnection.TargetPropertyIndex := Value;
    FDesigner.Modified;
  end;
end;

end.
