{ The event-to-property editor: the modal dialog in which the designer sets
  up one event-to-property link: the source and its event, the target and
  its property, and where the assigned value comes from. Like the other
  link editors it writes every choice into the link at once. }
unit Orve2peditor;

{$I orvdefines.inc}

interface

uses
  Classes, SysUtils, Variants,
  Forms, Controls, StdCtrls, ComCtrls, LCLType,
  Orvcommon, Orve2p, Orvdesigner, Orvlinkform;

{ Edit AConnection of the form ADesigner designs in the modal dialog;
  return when it closes. }
procedure orvShowE2PEditor(ADesigner: TorvDesigner; AConnection: TorvE2PConnection);

type
  { TorvE2PForm }

  TorvE2PForm = class(TorvLinkForm)
    GroupBox1: TGroupBox;
    cbSource: TComboBox;
    Label2: TLabel;
    cbSourceEvent: TComboBox;
    GroupBox2: TGroupBox;
    cbTarget: TComboBox;
    Label3: TLabel;
    lbTargetProperty: TListBox;
    Label6: TLabel;
    edTargetPropertyIndex: TEdit;
    btTargetPropertyIndex: TButton;
    btExplore: TButton;
    GroupBox3: TGroupBox;
    pcValue: TPageControl;
    tsConstant: TTabSheet;
    Label8: TLabel;
    edConstant: TEdit;
    tsComponent: TTabSheet;
    Label5: TLabel;
    cbComponent: TComboBox;
    Label4: TLabel;
    lbComponentProperty: TListBox;
    Label1: TLabel;
    edComponentPropertyIndex: TEdit;
    btComponentPropertyIndex: TButton;
    tsEvent: TTabSheet;
    Label7: TLabel;
    lbEventParameter: TListBox;
    btClose: TButton;
    procedure FormCreate(Sender: TObject);
    procedure FormActivate(Sender: TObject);
    procedure FormClose(Sender: TObject; var CloseAction: TCloseAction);
    procedure ComboKeyDown(Sender: TObject; var Key: Word; Shift: TShiftState);
    procedure btExploreClick(Sender: TObject);
    procedure cbSourceCommit(Sender: TObject);
    procedure cbSourceEventCommit(Sender: TObject);
    procedure cbTargetCommit(Sender: TObject);
    procedure lbTargetPropertyClick(Sender: TObject);
    procedure btTargetPropertyIndexClick(Sender: TObject);
    procedure pcValueChange(Sender: TObject);
    procedure edConstantChange(Sender: TObject);
    procedure cbComponentCommit(Sender: TObject);
    procedure lbComponentPropertyClick(Sender: TObject);
    procedure btComponentPropertyIndexClick(Sender: TObject);
    procedure lbEventParameterClick(Sender: TObject);
  private
    FConnection: TorvE2PConnection;
    procedure UpdateSourceTarget;
    procedure UpdateSourceEvent;
    procedure UpdateTarget;
    procedure UpdateTargetIndex;
    procedure UpdateTargetValue;
    procedure UpdateValueComponent;
    procedure UpdateValueComponentIndex;
    procedure UpdateEvent;
  protected
    procedure LinkGone; override;
    procedure UpdateAll; override;
  public
    { The edited link; nil once it has gone. }
    property Connection: TorvE2PConnection read FConnection;
  end;

implementation

uses
  Orvconlist, Orvpickers, Orvwinpos;

{$R *.lfm}

const
  KeyName = 'E2PConnection Editor';
  NarrowWidth = 400;
  WideWidth = 690;

resourcestring
  rsShowValue = 'Set value as >>';
  rsHideValue = '<< Set value as';

procedure orvShowE2PEditor(ADesigner: TorvDesigner; AConnection: TorvE2PConnection);
var
  Editor: TorvE2PForm;
begin
  Editor := TorvE2PForm.Create(Application);
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

{ TorvE2PForm }

procedure TorvE2PForm.FormCreate(Sender: TObject);
begin
  orvLoadBounds(Self, KeyName, [bpLeft, bpTop]);
  Width := NarrowWidth;
end;

procedure TorvE2PForm.FormActivate(Sender: TObject);
begin
  if FConnection <> nil then
    Refill;
end;

procedure TorvE2PForm.FormClose(Sender: TObject; var CloseAction: TCloseAction);
begin
  orvSaveBounds(Self, KeyName, orvAllBounds);
  CloseAction := caFree;
end;

procedure TorvE2PForm.LinkGone;
begin
  FConnection := nil;
end;

procedure TorvE2PForm.UpdateAll;
begin
  UpdateSourceTarget;
  UpdateSourceEvent;
  UpdateTarget;
  UpdateTargetIndex;
  UpdateTargetValue;
  UpdateValueComponent;
  UpdateValueComponentIndex;
  UpdateEvent;
end;

procedure TorvE2PForm.UpdateSourceTarget;
begin
  FillComponentPicker(FDesigner, cbSource, Alive(FConnection.Source));
  FillComponentPicker(FDesigner, cbTarget, Alive(FConnection.Target));
  Watch(FConnection.Source);
  Watch(FConnection.Target);
end;

procedure TorvE2PForm.UpdateSourceEvent;
begin
  FillEventPicker(cbSourceEvent, FConnection.GetSourceInfo, FConnection.SourceEvent);
end;

procedure TorvE2PForm.UpdateTarget;
begin
  FillPropertyList(lbTargetProperty, FConnection.GetTargetInfo, psWritable, FConnection.TargetProperty);
end;

procedure TorvE2PForm.UpdateTargetIndex;
begin
  FillIndexLine(edTargetPropertyIndex, btTargetPropertyIndex, FConnection.GetTargetPropertyInfo);
end;

procedure TorvE2PForm.UpdateTargetValue;
begin
  pcValue.PageIndex := ValuePageIndex(FConnection.ValueOptions, rsUnknownE2PValueOptions);
  edConstant.Text := FConnection.ValueConstant;
  FillComponentPicker(FDesigner, cbComponent, Alive(FConnection.ValueComponent));
  Watch(FConnection.ValueComponent);
end;

procedure TorvE2PForm.UpdateValueComponent;
begin
  FillPropertyList(lbComponentProperty, FConnection.GetValueComponentInfo, psReadable,
    FConnection.ValueComponentProperty);
end;

procedure TorvE2PForm.UpdateValueComponentIndex;
begin
  FillIndexLine(edComponentPropertyIndex, btComponentPropertyIndex,
    FConnection.GetValueComponentPropertyInfo);
end;

procedure TorvE2PForm.UpdateEvent;
begin
  FillEventParameters(lbEventParameter, FConnection.GetSourceEventInfo, FConnection.ValueEventParameter);
end;

procedure TorvE2PForm.ComboKeyDown(Sender: TObject; var Key: Word; Shift: TShiftState);
begin
  if (Key = VK_RETURN) and Assigned(TComboBox(Sender).OnSelect) then
    TComboBox(Sender).OnSelect(Sender);
end;

procedure TorvE2PForm.btExploreClick(Sender: TObject);
begin
  if Width = NarrowWidth then
  begin
    btExplore.Caption := rsHideValue;
    Width := WideWidth;
  end
  else
  begin
    btExplore.Caption := rsShowValue;
    Width := NarrowWidth;
  end;
end;

procedure TorvE2PForm.cbSourceCommit(Sender: TObject);
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
  UpdateEvent;
  FDesigner.Modified;
end;

procedure TorvE2PForm.cbSourceEventCommit(Sender: TObject);
begin
  if not Acting then
    Exit;
  if EventAccepted(cbSourceEvent, FConnection.GetSourceInfo) then
  begin
    FConnection.SourceEvent := cbSourceEvent.Text;
    UpdateEvent;
  end
  else
    cbSourceEvent.Text := FConnection.SourceEvent;
  FDesigner.Modified;
end;

procedure TorvE2PForm.cbTargetCommit(Sender: TObject);
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

procedure TorvE2PForm.lbTargetPropertyClick(Sender: TObject);
begin
  if not Acting or (lbTargetProperty.ItemIndex < 0) then
    Exit;
  FConnection.TargetProperty := lbTargetProperty.Items[lbTargetProperty.ItemIndex];
  FDesigner.Modified;
  if FConnection <> nil then
    UpdateTargetIndex;
end;

procedure TorvE2PForm.btTargetPropertyIndexClick(Sender: TObject);
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

procedure TorvE2PForm.pcValueChange(Sender: TObject);
begin
  if not Acting then
    Exit;
  FConnection.ValueOptions := ValueOptionsOfPage(pcValue.PageIndex);
  FDesigner.Modified;
end;

procedure TorvE2PForm.edConstantChange(Sender: TObject);
begin
  if not Acting then
    Exit;
  FConnection.ValueConstant := edConstant.Text;
  FDesigner.Modified;
end;

procedure TorvE2PForm.cbComponentCommit(Sender: TObject);
var
  Picked: TComponent;
begin
  if not Acting or not PickedComponent(FDesigner, cbComponent, FConnection.ValueComponent, Picked) then
    Exit;
  FConnection.ValueComponent := Picked;
  if FConnection = nil then
    Exit;
  ShowComponentName(FDesigner, cbComponent, FConnection.ValueComponent);
  Watch(FConnection.ValueComponent);
  UpdateValueComponent;
  UpdateValueComponentIndex;
  FDesigner.Modified;
end;

procedure TorvE2PForm.lbComponentPropertyClick(Sender: TObject);
begin
  if not Acting or (lbComponentProperty.ItemIndex < 0) then
    Exit;
  FConnection.ValueComponentProperty := lbComponentProperty.Items[lbComponentProperty.ItemIndex];
  FDesigner.Modified;
  if FConnection <> nil then
    UpdateValueComponentIndex;
end;

procedure TorvE2PForm.btComponentPropertyIndexClick(Sender: TObject);
var
  Value: Variant;
begin
  if not Acting then
    Exit;
  if EditIndexList(FDesigner, FConnection, FConnection.ValueComponentPropertyIndex,
    FConnection.GetValueComponentPropertyInfo, Value) and (FConnection <> nil) then
  begin
    FConnection.ValueComponentPropertyIndex := Value;
    FDesigner.Modified;
  end;
end;

procedure TorvE2PForm.lbEventParameterClick(Sender: TObject);
begin
  if not Acting or (lbEventParameter.ItemIndex < 0) then
    Exit;
  FConnection.ValueEventParameter := lbEventParameter.Items[lbEventParameter.ItemIndex];
  FDesigner.Modified;
end;

end.
