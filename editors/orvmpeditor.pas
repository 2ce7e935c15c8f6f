{ The method parameters editor: the modal dialog in which the designer says,
  for each parameter of an event-to-method link's method, where its value
  comes from: a constant, a property of a component, or a parameter of the
  event. Every choice is written into the parameter connection at once. }
unit Orvmpeditor;

{$I orvdefines.inc}

interface

uses
  Classes, SysUtils, Variants,
  Forms, Controls, StdCtrls, ComCtrls,
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
    procedure lbParametersClick(Sender: TObject);
    procedure pcValueChange(Sender: TObject);
    procedure edConstantChange(Sender: TObject);
    procedure cbComponentCommit(Sender: TObject);
    procedure lbComponentPropertyClick(Sender: TObject);
    procedure btComponentPropertyIndexClick(Sender: TObject);
    procedure lbEventParameterClick(Sender: TObject);
  private
    function GetConnection: TorvE2MConnection;
    { Return the parameter connection of the selected row, or nil. }
    function Parameter: TorvParameterConnection;
    { Answer whether a change handler should act on the selected row's
      parameter connection, then P. }
    function Editing(out P: TorvParameterConnection): Boolean;
    procedure UpdateParameters;
    procedure ShowParameter(P: TorvParameterConnection);
    procedure UpdateComponentProperty(P: TorvParameterConnection);
    procedure UpdateComponentIndex(P: TorvParameterConnection);
  protected
    procedure UpdateAll; override;
  public
    { The link whose parameters are edited; nil once it has gone. }
    property Connection: TorvE2MConnection read GetConnection;
  end;

implementation

uses
  Orvconlist, Orvpickers;

{$R *.lfm}

procedure orvShowMPEditor(ADesigner: TorvDesigner; AConnection: TorvE2MConnection);
begin
  orvShowLinkForm(TorvMPForm, ADesigner, AConnection);
end;

{ TorvMPForm }

function TorvMPForm.GetConnection: TorvE2MConnection;
begin
  Result := TorvE2MConnection(Link);
end;

function TorvMPForm.Parameter: TorvParameterConnection;
var
  Row: Integer;
begin
  Result := nil;
  Row := lbParameters.ItemIndex;
  if (Connection <> nil) and (Row >= 0) and (Row < Connection.TargetMethodParameters.Count) then
    Result := Connection.TargetMethodParameters[Row];
end;

function TorvMPForm.Editing(out P: TorvParameterConnection): Boolean;
begin
  P := Parameter;
  Result := Acting and (P <> nil);
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
    for I := 0 to Connection.TargetMethodParameters.Count - 1 do
      lbParameters.Items.Add(Connection.TargetMethodParameters[I].ParameterName);
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
    FillEventParameters(lbEventParameter, Connection.GetSourceEventInfo, P.EventParameter);
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

procedure TorvMPForm.lbParametersClick(Sender: TObject);
begin
  if Acting and (Parameter <> nil) then
    ShowParameter(Parameter);
end;

procedure TorvMPForm.pcValueChange(Sender: TObject);
var
  P: TorvParameterConnection;
begin
  if not Editing(P) then
    Exit;
  P.Options := ValueOptionsOfPage(pcValue.PageIndex);
  FDesigner.Modified;
end;

procedure TorvMPForm.edConstantChange(Sender: TObject);
var
  P: TorvParameterConnection;
begin
  if not Editing(P) then
    Exit;
  P.Constant := edConstant.Text;
  FDesigner.Modified;
end;

procedure TorvMPForm.cbComponentCommit(Sender: TObject);
var
  P: TorvParameterConnection;
  Picked: TComponent;
begin
  if not Editing(P) or not PickedComponent(FDesigner, cbComponent, P.Component, Picked) then
    Exit;
  P.Component := Picked;
  // The parameter connection goes with its link.
  if Connection = nil then
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
  Item: string;
begin
  if not Editing(P) or not ListPicked(lbComponentProperty, Item) then
    Exit;
  P.ComponentProperty := Item;
  if ModifiedLinkAlive then
    UpdateComponentIndex(P);
end;

procedure TorvMPForm.btComponentPropertyIndexClick(Sender: TObject);
var
  P: TorvParameterConnection;
  Value: Variant;
begin
  if Editing(P) and EditIndex(P, P.ComponentPropertyIndex, P.GetComponentPropertyInfo, Value) then
  begin
    P.ComponentPropertyIndex := Value;
    FDesigner.Modified;
  end;
end;

procedure TorvMPForm.lbEventParameterClick(Sender: TObject);
var
  P: TorvParameterConnection;
  Item: string;
begin
  if not Editing(P) or not ListPicked(lbEventParameter, Item) then
    Exit;
  P.EventParameter := Item;
  FDesigner.Modified;
end;

end.
