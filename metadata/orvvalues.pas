{ How host values travel in variants, for every binding.

  Objects, classes, pointers and interfaces travel as the address they hold,
  in a pointer-sized integer; nil is 0. Sets, records, handles and 64-bit
  results travel as the address of a buffer that the binding owns. A Char
  travels as a one-character string. }
unit Orvvalues;

{$I orvdefines.inc}

interface

uses
  SysUtils, Variants;

{ Return the address of AObject as an integer variant; nil gives 0. }
function ObjectToVar(AObject: TObject): Variant; inline;
function PointerToVar(APointer: Pointer): Variant; inline;
function ClassToVar(AClass: TClass): Variant; inline;
{ Return the interface's address; the variant holds no reference. }
function InterfaceToVar(const AInterface: IUnknown): Variant;
{ Return the address of a binding's value buffer. }
function BufferToVar(const ABuffer): Variant; inline;
function CharToVar(AChar: Char): Variant;

function VarToObject(const AValue: Variant): TObject; inline;
function VarToPointer(const AValue: Variant): Pointer; inline;
function VarToClass(const AValue: Variant): TClass; inline;
{ Return the interface at the address in AValue, with a reference of its own. }
function VarToInterface(const AValue: Variant): IUnknown;
{ Return AValue as a string; a string variant is taken as it is, without
  the general conversion, which is many times slower. }
function VarToText(const AValue: Variant): string; inline;
{ Return the first character of AValue as a string, or #0 when it is empty:
  the host needs a character even when a listener left an empty string. }
function VarToChar(const AValue: Variant): Char;

{ Raise the error for a member that the host library does not provide. }
procedure NotInHost(const AClassName, AMember: string);
{ Return the object in AValue; raise the empty-argument error naming the
  host class AClassName, its member AMember and the argument AArgument when
  it is nil, for a host member that would use it without looking. }
function VarToRequiredObject(const AValue: Variant;
  const AClassName, AMember, AArgument: string): TObject;
{ The same for an address (a GUID, a message record); every value that the
  bindings read at an address given in a variant comes through here. }
function VarToRequiredPointer(const AValue: Variant;
  const AClassName, AMember, AArgument: string): Pointer;
{ Raise unless ACount bytes fit in the storage of one variant, which is what
  untyped buffer parameters are given. }
procedure CheckBufferCount(const AMember: string; ACount: Int64);

resourcestring
  rsNotInHost = '%s.%s is not provided by the host library!';
  rsBufferTooLarge = '%s: at most %d bytes fit in one value, %d asked!';
  rsEmptyArgument = '%s.%s cannot take an empty %s!';

implementation

function ObjectToVar(AObject: TObject): Variant;
begin
  Result := PtrInt(AObject);
end;

function PointerToVar(APointer: Pointer): Variant;
begin
  Result := PtrInt(APointer);
end;

function ClassToVar(AClass: TClass): Variant;
begin
  Result := PtrInt(AClass);
end;

function InterfaceToVar(const AInterface: IUnknown): Variant;
begin
  Result := PtrInt(Pointer(AInterface));
end;

function BufferToVar(const ABuffer): Variant;
begin
  Result := PtrInt(@ABuffer);
end;

function CharToVar(AChar: Char): Variant;
begin
  Result := string(AChar);
end;

function VarToObject(const AValue: Variant): TObject;
begin
  Result := TObject(PtrInt(AValue));
end;

function VarToPointer(const AValue: Variant): Pointer;
begin
  Result := Pointer(PtrInt(AValue));
end;

function VarToClass(const AValue: Variant): TClass;
begin
  Result := TClass(PtrInt(AValue));
end;

function VarToInterface(const AValue: Variant): IUnknown;
begin
  // The assignment takes a reference of its own, as the host expects.
  Result := IUnknown(Pointer(PtrInt(AValue)));
end;

function VarToText(const AValue: Variant): string;
begin
  if TVarData(AValue).VType = varString then
    Result := AnsiString(TVarData(AValue).VString)
  else
    Result := AValue;
end;

function VarToChar(const AValue: Variant): Char;
var
  S: string;
begin
  S := AValue;
  if S = '' then
    Result := #0
  else
    Result := S[1];
end;

procedure NotInHost(const AClassName, AMember: string);
begin
  raise Exception.CreateFmt(rsNotInHost, [AClassName, AMember]);
end;

function VarToRequiredObject(const AValue: Variant;
  const AClassName, AMember, AArgument: string): TObject;
begin
  Result := TObject(VarToRequiredPointer(AValue, AClassName, AMember, AArgument));
end;

function VarToRequiredPointer(const AValue: Variant;
  const AClassName, AMember, AArgument: string): Pointer;
begin
  // An empty variant and an empty string mean nil as much as 0 does.
  if VarIsEmpty(AValue) or VarIsNull(AValue) or
    (VarIsStr(AValue) and (VarToStr(AValue) = '')) then
    Result := nil
  else
    Result := VarToPointer(AValue);
  if Result = nil then
    raise Exception.CreateFmt(rsEmptyArgument, [AClassName, AMember, AArgument]);
end;

procedure CheckBufferCount(const AMember: string; ACount: Int64);
begin
  if (ACount < 0) or (ACount > SizeOf(Variant)) then
    raise Exception.CreateFmt(rsBufferTooLarge, [AMember, SizeOf(Variant), ACount]);
end;

end.
