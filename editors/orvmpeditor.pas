{ The method parameters editor: the modal dialog in which the designer says,
  for each parameter of an event-to-method link's method, where its value
  comes from: a constant, a property of a component, or a parameter of the
  event. Every choice is written into the parameter connection at once. }
unit Orvmpeditor;

{$I orvdefines.inc}

interface

uses
  Classes, SysUtils, Variants,
  Forms, Controls, StdCtrls, ComCtrls, LCLType,
  Orvcommon, Orve2m, Orvdesigner, Orvlinkform;

{ Edit the parameter connections of AConnection in the modal dialog, the
  first one selected; return when it closes. }
procedure orvShowMPEditor(ADesigner: TorvDesigner; AConnection: TorvE2MConnection);

type
  { TorvMPForm }

  TorvMPForm = class(TorvLinkForm)
    GroupBox1: TGroupBox;
    lbParameters: TListBox;
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
    procedure ComboKeyDown(Sender: TObject; var Key: Word; Shift: TShiftState);
    procedure lbParametersClick(Sender: TObject);
    procedure pcValueChange(Sender: TObject);
    procedure edConstantChange(Sender: TObject);
    procedure cbComponentCommit(Sender: TObject);
    procedure lbComponentPropertyClick(Sender: TObject);
    procedure btComponentPropertyIndexClick(Sender: TObject);
    procedure lbEventParameterClick(Sender: TObject);
  private
    FConnection: TorvE2MConnection;
    { Return the parameter connection of the selected row, or nil. }
    function Parameter: TorvParameterConnection;
    procedure UpdateParameters;
    procedure ShowParameter(P: TorvParameterConnection);
    procedure UpdateComponentProperty(P: TorvParameterConnection);
    procedure UpdateComponentIndex(P: TorvParameterConnection);
  protected
    procedure LinkGone; override;
    procedure UpdateAll; override;
  public
    { The link whose parameters are edited; nil once it has gone. }
    property Connection: TorvE2MConnection read FConnection;
  end;

implementation

uses
  Orvconlist, Orvpickers;

{$R *.lfm}

procedure orvShowMPEditor(ADesigner: TorvDesigner; AConnection: TorvE2MConnection);
var
  Editor: TorvMPForm;
begin
  Editor := TorvMPForm.Create(Application);
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

{ TorvMPForm }

procedure TorvMPForm.LinkGone;
begin
  FConnection := nil;
end;

function TorvMPForm.Parameter: TorvParameterConnection;
var
  Row: Integer;
begin
  Result := nil;
  Row := lbParameters.ItemIndex;
  if (FConnection <> nil) and (Row >= 0) and (Row < FConnection.TargetMethodParameters.Count) then
    Result := FConnection.TargetMethodParameters[Row];
end;

procedure TorvMPForm.UpdateAll;
var
  P: TorvParameterConnection;
begin
  UpdateParameters;
  P := Parameter;
  if P <> nil then
    ShowParameter(P);
end;

procedure TorvMPForm.UpdateParameters;
var
  Row, I: Integer;
begin
  Row := lbParameters.ItemIndex;
  lbParameters.Items.BeginUpdate;
  try
    lbParameters.Items.Clear;
    for I := 0 to FConnection.TargetMethodParameters.Count - 1 do
      lbParameters.Items.Add(FConnection.TargetMethodParameters[I].ParameterName);
  finally
    lbParameters.Items.EndUpdate;
  end;
  if Row < 0 then
    Row := 0;
  if Row < lbParameters.Items.Count then
    lbParameters.ItemIndex := Row;
end;

procedure TorvMPForm.ShowParameter(P: TorvParameterConnection);
begin
  BeginFilling;
  try
    pcValue.PageIndex := ValuePageIndex(P.Options, rsUnknownE2MValueOptions);
    edConstant.Text := P.Constant;
    UpdateComponentProperty(P);
    UpdateComponentIndex(P);
    FillEventParameters(lbEventParameter, FConnection.GetSourceEventInfo, P.EventParameter);
    FillComponentPicker(FDesigner, cbComponent, Alive(P.Component));
    Watch(P.Component);
  finally
    EndFilling;
  end;
end;

procedure TorvMPForm.UpdateComponentProperty(P: TorvParameterConnection);
begin
  FillPropertyList(lbComponentProperty, P.GetComponentInfo, psReadable, P.ComponentProperty);
end;

procedure TorvMPForm.UpdateComponentIndex(P: TorvParameterConnection);
begin
  FillIndexLine(edComponentPropertyIndex, btComponentPropertyIndex, P.GetComponentPropertyInfo);
end;

procedure TorvMPForm.ComboKeyDown(Sender: TObject; var Key: Word; Shift: TShiftState);
begin
  if (Key = VK_RETURN) and Assigned(TComboBox(Sender).OnSelect) then
    TComboBox(Sender).OnSelect(Sender);
end;

procedure TorvMPForm.lbParametersClick(Sender: TObject);
begin
  if Acting and (Parameter <> nil) then
    ShowParameter(Parameter);
end;

procedure TorvMPForm.pcValueChange(Sender: TObject);
var
  P: TorvParameterConnection;
begin
  P := Parameter;
  if not Acting or (P = nil) then
    Exit;
  P.Options := ValueOptionsOfPage(pcValue.PageIndex);
  FDesigner.Modified;
end;

procedure TorvMPForm.edConstantChange(Sender: TObject);
var
  P: TorvParameterConnection;
begin
  P := Parameter;
  if not Acting or (P = nil) then
    Exit;
  P.Constant := edConstant.Text;
  FDesigner.Modified;
end;

procedure TorvMPForm.cbComponentCommit(Sender: TObject);
var
  P: TorvParameterConnection;
  Picked: TComponent;
begin
  P := Parameter;
  if not Acting or (P = nil) or not PickedComponent(FDesigner, cbComponent, P.Component, Picked) then
    Exit;
  P.Component := Picked;
  // The parameter connection goes with its link.
  if FConnection = nil then
    Exit;
  ShowComponentName(FDesigner, cbComponent, P.Component);
  Watch(P.Component);
  UpdateComponentProperty(P);
  UpdateComponentIndex(P);
  FDesigner.Modified;
end;

procedure TorvMPForm.lbComponentPropertyClick(Sender: TObject);
var
  P: TorvParameterConnection;
begin
  P := Parameter;
  if not Acting or (P = nil) or (lbComponentProperty.ItemIndex < 0) then
    Exit;
  P.ComponentProperty := lbComponentProperty.Items[lbComponentProperty.ItemIndex];
  FDesigner.Modified;
  if FConnection <> nil then
    UpdateComponentIndex(P);
end;

procedure TorvMPForm.btComponentPropertyIndexClick(Sender: TObject);
var
  P: TorvParameterConnection;
  Value: Variant;
begin
  P := Parameter;
  if not Acting or (P = nil) then
    Exit;
  if EditIndexList(FDesigner, P, P.ComponentPropertyIndex, P.GetComponentPropertyInfo, Value) and
    (FConnection <> nil) then
  begin
    P.ComponentPropertyIndex := Value;
    FDesigner.Modified;
  end;
end;

procedure TorvMPForm.lbEventParameterClick(Sender: TObject);
var
  P: TorvParameterConnection;
begin
  P := Parameter;
  if not Acting or (P = nil) or (lbEventParameter.ItemIndex < 0) then
    Exit;
  P.EventParameter := lbEventParameter.Items[lbEventParameter.ItemIndex];
  FDesigner.Modified;
end;

end.
