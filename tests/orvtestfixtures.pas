{ Components and bindings that the link tests wire together.

  TTestEdit stands for an edit control without needing a window: a text and
  a number that fire OnChange when they change, an indexed property with
  one and one with two indexes, an event with var parameters, and methods
  with a result and with a var parameter. It is registered as "TTestEdit";
  its binding is made from tests/orvtestfixtures.tbl. }
unit Orvtestfixtures;

{$I orvdefines.inc}

interface

uses
  Classes, SysUtils, Variants,
  Orvcommon;

type
  TTestValidateEvent = procedure(Sender: TObject; var Text: string; var Accept: Boolean) of object;

  { TTestEdit }

  TTestEdit = class(TComponent)
  private
    FText: string;
    FNumber: Integer;
    FItems: array[0..3] of string;
    FCells: array[0..2, 0..2] of Integer;
    FOnChange: TNotifyEvent;
    FOnValidate: TTestValidateEvent;
    function GetCell(ARow, ACol: Integer): Integer;
    function GetItem(AIndex: Integer): string;
    procedure SetCell(ARow, ACol: Integer; AValue: Integer);
    procedure SetItem(AIndex: Integer; const AValue: string);
    procedure SetNumber(AValue: Integer);
    procedure SetText(const AValue: string);
    procedure Change;
  public
    { Fire OnValidate with AText; answer what the handlers leave in Accept,
      and the text they leave in AText. }
    function Validate(var AText: string): Boolean;
    { Answer A followed by B. }
    function Combine(const A: string; B: Integer): string;
    { Add one to AValue. }
    procedure Bump(var AValue: Integer);
    property Items[AIndex: Integer]: string read GetItem write SetItem;
    property Cells[ARow, ACol: Integer]: Integer read GetCell write SetCell;
  published
    property Text: string read FText write SetText;
    property Number: Integer read FNumber write SetNumber;
    property OnChange: TNotifyEvent read FOnChange write FOnChange;
    property OnValidate: TTestValidateEvent read FOnValidate write FOnValidate;
  end;

{ Return the registered class info of AComponent (owned by the registry). }
function InfoOf(AComponent: TComponent): TorvClassInfo;
{ Read the property AName of AComponent by name, with index values. }
function ReadByName(AComponent: TComponent; const AName: string;
  const AIndexes: array of Variant): Variant;
{ Return a one-dimensional variant array of AValues. }
function IndexArray(const AValues: array of Variant): Variant;

implementation

uses
  // The binding, made from tests/orvtestfixtures.tbl.
  Orvtestinfos;

{ TTestEdit }

function TTestEdit.GetCell(ARow, ACol: Integer): Integer;
begin
  Result := FCells[ARow, ACol];
end;

function TTestEdit.GetItem(AIndex: Integer): string;
begin
  Result := FItems[AIndex];
end;

procedure TTestEdit.SetCell(ARow, ACol: Integer; AValue: Integer);
begin
  FCells[ARow, ACol] := AValue;
end;

procedure TTestEdit.SetItem(AIndex: Integer; const AValue: string);
begin
  FItems[AIndex] := AValue;
  Change;
end;

procedure TTestEdit.SetNumber(AValue: Integer);
begin
  if AValue = FNumber then
    Exit;
  FNumber := AValue;
  Change;
end;

procedure TTestEdit.SetText(const AValue: string);
begin
  if AValue = FText then
    Exit;
  FText := AValue;
  Change;
end;

procedure TTestEdit.Change;
begin
  if Assigned(FOnChange) then
    FOnChange(Self);
end;

function TTestEdit.Validate(var AText: string): Boolean;
begin
  Result := True;
  if Assigned(FOnValidate) then
    FOnValidate(Self, AText, Result);
end;

function TTestEdit.Combine(const A: string; B: Integer): string;
begin
  Result := A + IntToStr(B);
end;

procedure TTestEdit.Bump(var AValue: Integer);
begin
  Inc(AValue);
end;

{ Helpers }

function InfoOf(AComponent: TComponent): TorvClassInfo;
begin
  Result := TorvClassRegistry.GetInfo(AComponent);
end;

function ReadByName(AComponent: TComponent; const AName: string;
  const AIndexes: array of Variant): Variant;
var
  Info: TorvClassInfo;
  Prop: TorvPropertyInfo;
  I: Integer;
begin
  Info := InfoOf(AComponent);
  Prop := Info.FindProperty(AName);
  if Prop = nil then
    raise Exception.CreateFmt('%s has no property %s', [AComponent.ClassName, AName]);
  for I := 0 to High(AIndexes) do
    Prop.GetIndexes(I).Value := AIndexes[I];
  Result := Info.GetProperty(Prop);
end;

function IndexArray(const AValues: array of Variant): Variant;
var
  I: Integer;
begin
  Result := VarArrayCreate([0, High(AValues)], varVariant);
  for I := 0 to High(AValues) do
    Result[I] := AValues[I];
end;

initialization
  RegisterClass(TTestEdit);
end.
