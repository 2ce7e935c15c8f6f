{ How a value of each conversion kind is written in Pascal, into a variant
  and out of one, and how generated code is searched for a name. }
unit Orvgenconv;

{$I ../../package/orvdefines.inc}

interface

uses
  SysUtils,
  Orvgentable;

{ Return the name of a conversion kind, for messages. }
function KindName(AKind: TgenKind): string;
{ Return the pointer type through which a buffer value of ATypeName is read:
  TRect gives PRectValue. }
function BufferTypeName(const ATypeName: string): string;
{ Return the expression that turns AExpr, of the host type AType, into a
  variant; AWhere names the table for an error. }
function ToVarExpr(AKind: TgenKind; const AType, AExpr, AWhere: string): string;
{ Return the expression that turns the variant AExpr into the host type
  AType. ANames, the quoted class, member and argument names, go into the
  error for an empty address, which a buffer value refuses. }
function FromVarExpr(AKind: TgenKind; const AType, AExpr, AWhere: string;
  const ANames: string = ''): string;
{ Answer whether the code AText names the identifier AWord. }
function Mentions(const AText, AWord: string): Boolean;

implementation

function KindName(AKind: TgenKind): string;
begin
  WriteStr(Result, AKind);
end;

function BufferTypeName(const ATypeName: string): string;
begin
  Result := ATypeName;
  if (Length(Result) > 1) and (Result[1] = 'T') then
    Delete(Result, 1, 1);
  Result := 'P' + Result + 'Value';
end;

function ToVarExpr(AKind: TgenKind; const AType, AExpr, AWhere: string): string;
begin
  case AKind of
    tkInt, tkBool: Result := AExpr;
    tkInt64: Result := 'Int64(' + AExpr + ')';
    tkEnum: Result := 'Ord(' + AExpr + ')';
    tkStr: Result := 'string(' + AExpr + ')';
    tkWideStr: Result := 'WideString(' + AExpr + ')';
    tkChar: Result := 'CharToVar(' + AExpr + ')';
    tkFloat, tkCurrency: Result := 'Double(' + AExpr + ')';
    tkObject: Result := 'ObjectToVar(' + AExpr + ')';
    tkClass: Result := 'ClassToVar(' + AExpr + ')';
    tkPointer: Result := 'PointerToVar(' + AExpr + ')';
    tkIntf: Result := 'InterfaceToVar(' + AExpr + ')';
  else
    raise EgenError.CreateFmt('%s: no direct conversion of %s (%s) into a variant',
      [AWhere, AType, KindName(AKind)]);
  end;
end;

function IsPlain(const AType: string; const ANames: array of string): Boolean;
var
  I: Integer;
begin
  for I := 0 to High(ANames) do
    if SameText(AType, ANames[I]) then
      Exit(True);
  Result := False;
end;

function FromVarExpr(AKind: TgenKind; const AType, AExpr, AWhere: string;
  const ANames: string): string;
begin
  case AKind of
    tkInt:
      if IsPlain(AType, ['Integer', 'Longint', 'SmallInt', 'ShortInt', 'Byte', 'Word']) then
        Result := 'Integer(' + AExpr + ')'
      else
        Result := AType + '(Integer(' + AExpr + '))';
    tkInt64:
      if IsPlain(AType, ['Int64']) then
        Result := 'Int64(' + AExpr + ')'
      else
        Result := AType + '(Int64(' + AExpr + '))';
    tkEnum: Result := AType + '(Integer(' + AExpr + '))';
    tkBool: Result := 'Boolean(' + AExpr + ')';
    tkStr: Result := 'VarToText(' + AExpr + ')';
    tkWideStr: Result := 'WideString(' + AExpr + ')';
    tkChar: Result := 'VarToChar(' + AExpr + ')';
    tkFloat: Result := 'Double(' + AExpr + ')';
    tkCurrency: Result := 'Currency(' + AExpr + ')';
    tkObject:
      if IsPlain(AType, ['TObject']) then
        Result := 'VarToObject(' + AExpr + ')'
      else
        Result := AType + '(VarToObject(' + AExpr + '))';
    tkClass:
      if IsPlain(AType, ['TClass']) then
        Result := 'VarToClass(' + AExpr + ')'
      else
        Result := AType + '(VarToClass(' + AExpr + '))';
    tkPointer:
      if IsPlain(AType, ['Pointer']) then
        Result := 'VarToPointer(' + AExpr + ')'
      else
        Result := AType + '(VarToPointer(' + AExpr + '))';
    // From the address: the host takes its own reference, and a checked
    // build (-CR) rejects a cast between interface types.
    tkIntf: Result := AType + '(VarToPointer(' + AExpr + '))';
    // The host reads the value at the address: 0 must not get that far.
    tkBuffer:
      if ANames = '' then
        raise EgenError.CreateFmt('%s: a buffer read of %s needs the names for its error',
          [AWhere, AType])
      else
        Result := BufferTypeName(AType) + '(VarToRequiredPointer(' + AExpr + ', ' + ANames + '))^';
  else
    raise EgenError.CreateFmt('%s: no conversion of %s (%s) from a variant',
      [AWhere, AType, KindName(AKind)]);
  end;
end;

function Mentions(const AText, AWord: string): Boolean;
const
  IdentChars = ['A'..'Z', 'a'..'z', '0'..'9', '_'];
var
  P, N: Integer;
begin
  N := Length(AWord);
  P := Pos(AWord, AText);
  while P > 0 do
  begin
    if ((P = 1) or not (AText[P - 1] in IdentChars)) and
      ((P + N > Length(AText)) or not (AText[P + N] in IdentChars))
    then
      Exit(True);
    P := Pos(AWord, AText, P + N);
  end;
  Result := False;
end;

end.
