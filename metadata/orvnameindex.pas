{ Name-to-position lookup that keeps the first position of each name.

  Feature lookups must answer the first match in declaration order and the
  registry must answer the first registration of a class name. A linear scan
  does that but costs a string compare per entry; this index answers the same
  in constant time. }
unit Orvnameindex;

{$I orvdefines.inc}

interface

type
  { Open-addressing hash from names to the position they were first added at.
    Case-sensitive, or ASCII-case-insensitive for identifiers such as class
    names. A plain record: it lives inside the object that owns the names. }
  TorvNameIndex = record
  private
    FNames: array of string;
    FPositions: array of Integer;
    FSlots: array of Integer; // position + 1; 0 marks a free slot
    FCount: Integer;
    FIgnoreCase: Boolean;
    function HashOf(const AName: string): Cardinal;
    function SameName(const A, B: string): Boolean;
    function SlotOf(const AName: string): Integer;
    procedure Grow;
  public
    { Make the index empty; AIgnoreCase folds ASCII letters. }
    procedure Init(AIgnoreCase: Boolean);
    { Record AName at APosition unless the name is already present. }
    procedure Add(const AName: string; APosition: Integer);
    { Return the first position recorded for AName, or -1. }
    function Find(const AName: string): Integer;
    property Count: Integer read FCount;
  end;

implementation

function FoldChar(C: Char): Char; inline;
begin
  if C in ['A'..'Z'] then
    Result := Chr(Ord(C) + 32)
  else
    Result := C;
end;

procedure TorvNameIndex.Init(AIgnoreCase: Boolean);
begin
  FNames := nil;
  FPositions := nil;
  FSlots := nil;
  FCount := 0;
  FIgnoreCase := AIgnoreCase;
end;

// Hashing wraps around by design.
{$push}{$rangechecks off}{$overflowchecks off}
function TorvNameIndex.HashOf(const AName: string): Cardinal;
var
  I: Integer;
begin
  // FNV-1a: short identifiers spread well and it needs no tables.
  Result := 2166136261;
  if FIgnoreCase then
    for I := 1 to Length(AName) do
      Result := (Result xor Ord(FoldChar(AName[I]))) * 16777619
  else
    for I := 1 to Length(AName) do
      Result := (Result xor Ord(AName[I])) * 16777619;
end;
{$pop}

function TorvNameIndex.SameName(const A, B: string): Boolean;
var
  I: Integer;
begin
  if Length(A) <> Length(B) then
    Exit(False);
  if not FIgnoreCase then
    Exit(CompareByte(Pointer(A)^, Pointer(B)^, Length(A)) = 0);
  for I := 1 to Length(A) do
    if FoldChar(A[I]) <> FoldChar(B[I]) then
      Exit(False);
  Result := True;
end;

function TorvNameIndex.SlotOf(const AName: string): Integer;
var
  Mask: Cardinal;
  Entry: Integer;
begin
  Mask := Cardinal(Length(FSlots) - 1);
  Result := Integer(HashOf(AName) and Mask);
  repeat
    Entry := FSlots[Result];
    if (Entry = 0) or SameName(FNames[Entry - 1], AName) then
      Exit;
    Result := Integer((Cardinal(Result) + 1) and Mask);
  until False;
end;

procedure TorvNameIndex.Grow;
var
  OldSlots: array of Integer;
  I, Entry: Integer;
begin
  OldSlots := FSlots;
  FSlots := nil;
  if Length(OldSlots) = 0 then
    SetLength(FSlots, 8)
  else
    SetLength(FSlots, 2 * Length(OldSlots));
  for I := 0 to High(OldSlots) do
  begin
    Entry := OldSlots[I];
    if Entry <> 0 then
      FSlots[SlotOf(FNames[Entry - 1])] := Entry;
  end;
end;

procedure TorvNameIndex.Add(const AName: string; APosition: Integer);
var
  Slot: Integer;
begin
  // Keep the load factor under one half so that probes stay short.
  if 2 * (FCount + 1) > Length(FSlots) then
    Grow;
  Slot := SlotOf(AName);
  if FSlots[Slot] <> 0 then
    Exit;
  if FCount = Length(FNames) then
  begin
    SetLength(FNames, 2 * FCount + 4);
    SetLength(FPositions, Length(FNames));
  end;
  FNames[FCount] := AName;
  FPositions[FCount] := APosition;
  Inc(FCount);
  // A slot holds the entry's place in FNames plus one, so 0 can mean free.
  FSlots[Slot] := FCount;
end;

function TorvNameIndex.Find(const AName: string): Integer;
var
  Entry: Integer;
begin
  if FCount = 0 then
    Exit(-1);
  Entry := FSlots[SlotOf(AName)];
  if Entry = 0 then
    Result := -1
  else
    Result := FPositions[Entry - 1];
end;

end.
