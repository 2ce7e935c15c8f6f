{ The event-to-property editor: the modal dialog in which the designer sets
  up one event-to-property link: the source and its event, the target and
  its property, and where the assigned value comes from. Like the other
  link editors it writes every choice into the link at once. }
unit Orve2peditor;

{$I orvdefines.inc}

interface

uses
  Classes, SysUtils, Variants,
  Forms, Controls, StdCtrls, ComCtrls,
  Orvcommon, Orve2p, Orvdesigner, Orvlinkform, Orvwinpos;

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
    procedure FormCreate(Sender: TObject); override;
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
    function GetConnection: TorvE2PConnection;
    procedure UpdateSource;
    procedure UpdateSourceEvent;
    procedure UpdateTarget;
    procedure UpdateTargetIndex;
    procedure UpdateTargetValue;
    procedure UpdateValueComponent;
    procedure UpdateValueComponentIndex;
    procedure UpdateEvent;
  protected
    procedure UpdateAll; override;
    procedure GetPlacement(out AKeyName: string; out ALoaded, ASaved: TorvBoundsParts); override;
    function SideOf(ASide: TorvSide): TComponent; override;
    procedure SetSide(ASide: TorvSide; AValue: TComponent); override;
  public
    { The edited link; nil once it has gone. }
    property Connection: TorvE2PConnection read GetConnection;
  end;

implementation

uses
  Orvconlist, Orvpickers;

{$R *.lfm}

const
  NarrowWidth = 400;
  WideWidth = 690;

resourcestring
  rsShowValue = 'Set value as >>';
  rsHideValue = '<< Set value as';

procedure orvShowE2PEditor(ADesigner: TorvDesigner; AConnection: TorvE2PConnection);
begin
  orvShowLinkForm(TorvE2PForm, ADesigner, AConnection);
end;

{ TorvE2PForm }

procedure TorvE2PForm.FormCreate(Sender: TObject);
begin
  inherited FormCreate(Sender);
  Width := NarrowWidth;
end;

function TorvE2PForm.GetConnection: TorvE2PConnection;
begin
  Result := TorvE2PConnection(Link);
end;

procedure TorvE2PForm.GetPlacement(out AKeyName: string; out ALoaded, ASaved: TorvBoundsParts);
begin
  AKeyName := 'E2PConnection Editor';
  ALoaded := [bpLeft, bpTop];
  ASaved := orvAllBounds;
end;

function TorvE2PForm.SideOf(ASide: TorvSide): TComponent;
begin
  if ASide = sdValue then
    Result := Connection.ValueComponent
  else
    Result := inherited SideOf(ASide);
end;

procedure TorvE2PForm.SetSide(ASide: TorvSide; AValue: TComponent);
begin
  if ASide = sdValue then
    Connection.ValueComponent := AValue
  else
    inherited SetSide(ASide, AValue);
end;

procedure TorvE2PForm.UpdateAll;
begin
  ShowSide(cbSource, sdSource);
  ShowSide(cbTarget, sdTarget);
  UpdateSourceEvent;
  UpdateTarget;
  UpdateTargetValue;
  UpdateValueComponent;
  UpdateEvent;
end;

procedure TorvE2PForm.UpdateSource;
begin
  UpdateSourceEvent;
  UpdateEvent;
end;

procedure TorvE2PForm.UpdateSourceEvent;
begin
  FillEventPicker(cbSourceEvent, Connection.GetSourceInfo, Connection.SourceEvent);
end;

procedure TorvE2PForm.UpdateTarget;
begin
  FillPropertyList(lbTargetProperty, Connection.GetTargetInfo, psWritable, Connection.TargetProperty);
  UpdateTargetIndex;
end;

procedure TorvE2PForm.UpdateTargetIndex;
begin
  FillIndexLine(edTargetPropertyIndex, btTargetPropertyIndex, Connection.GetTargetPropertyInfo);
end;

procedure TorvE2PForm.UpdateTargetValue;
begin
  pcValue.PageIndex := ValuePageIndex(Connection.ValueOptions, rsUnknownE2PValueOptions);
  edConstant.Text := Connection.ValueConstant;
  ShowSide(cbComponent, sdValue);
end;

procedure TorvE2PForm.UpdateValueComponent;
begin
  FillPropertyList(lbComponentProperty, Connection.GetValueComponentInfo, psReadable,
    Connection.ValueComponentProperty);
  UpdateValueComponentIndex;
end;

procedure TorvE2PForm.UpdateValueComponentIndex;
begin
  FillIndexLine(edComponentPropertyIndex, btComponentPropertyIndex,
    Connection.GetValueComponentPropertyInfo);
end;

procedure TorvE2PForm.UpdateEvent;
begin
  FillEventParameters(lbEventParameter, Connection.GetSourceEventInfo, Connection.ValueEventParameter);
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
begin
  CommitSide(cbSource, sdSource, @UpdateSource);
end;

procedure TorvE2PForm.cbSourceEventCommit(Sender: TObject);
begin
  if not Acting then
    Exit;
  if EventAccepted(cbSourceEvent, Connection.GetSourceInfo, Connection.SourceEvent) then
  begin
    Connection.SourceEvent := cbSourceEvent.Text;
    UpdateEvent;
  end;
  FDesigner.Modified;
end;

procedure TorvE2PForm.cbTargetCommit(Sender: TObject);
begin
  CommitSide(cbTarget, sdTarget, @UpdateTarget);
end;

procedure TorvE2PForm.lbTargetPropertyClick(Sender: TObject);
var
  Item: string;
begin
  if not ListPicked(lbTargetProperty, Item) then
    Exit;
  Connection.TargetProperty := Item;
  if ModifiedLinkAlive then
    UpdateTargetIndex;
end;

procedure TorvE2PForm.btTargetPropertyIndexClick(Sender: TObject);
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

procedure TorvE2PForm.pcValueChange(Sender: TObject);
begin
  if not Acting then
    Exit;
  Connection.ValueOptions := ValueOptionsOfPage(pcValue.PageIndex);
  FDesigner.Modified;
end;

procedure TorvE2PForm.edConstantChange(Sender: TObject);
begin
  if not Acting then
    Exit;
  Connection.ValueConstant := edConstant.Text;
  FDesigner.Modified;
end;

procedure TorvE2PForm.cbComponentCommit(Sender: TObject);
begin
  CommitSide(cbComponent, sdValue, @UpdateValueComponent);
end;

procedure TorvE2PForm.lbComponentPropertyClick(Sender: TObject);
var
  Item: string;
begin
  if not ListPicked(lbComponentProperty, Item) then
    Exit;
  Connection.ValueComponentProperty := Item;
  if ModifiedLinkAlive then
    UpdateValueComponentIndex;
end;

procedure TorvE2PForm.btComponentPropertyIndexClick(Sender: TObject);
var
  Value: Variant;
begin
  if Acting and EditIndex(Connection, Connection.ValueComponentPropertyIndex,
    Connection.GetValueComponentPropertyInfo, Value) then
  begin
    Connection.ValueComponentPropertyIndex := Value;
    FDesigner.Modified;
  end;
end;

procedure TorvE2PForm.lbEventParameterClick(Sender: TObject);
var
  Item: string;
begin
  if not ListPicked(lbEventParameter, Item) then
    Exit;
  Connection.ValueEventParameter := Item;
  FDesigner.Modified;
end;

end.
