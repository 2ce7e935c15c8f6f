{ Map from one address to another, for objects and classes.

  A form with a thousand links asks for a class info at every connect and
  drops one at every destruction; a list scanned from the start would make
  loading such a form quadratic. Class-info classes find their shared
  declarations and descriptors the same way. }
unit Orvpointermap;

{$I orvdefines.inc}

interface

type
  TorvPointers = array of Pointer;

  { Open-addressing hash from an address to a value, with deletion by
    backward shift so that no tombstones build up. }
  TorvPointerMap = record
  private
    FKeys: array of Pointer;
    FValues: array of Pointer;
    FCount: Integer;
    function HomeOf(AKey: Pointer): Integer;
    function SlotOf(AKey: Pointer): Integer; inline;
    procedure Grow;
  public
    procedure Init;
    { Return the value stored for AKey, or nil. }
    function Find(AKey: Pointer): Pointer; inline;
    { Store AValue for AKey, replacing what was there. }
    procedure Put(AKey, AValue: Pointer);
    { Remove AKey and return its value, or nil when it was absent. }
    function Remove(AKey: Pointer): Pointer;
    { Return every value, in no particular order. }
    function Values: TorvPointers;
    property Count: Integer read FCount;
  end;

implementation

procedure TorvPointerMap.Init;
begin
  FKeys := nil;
  FValues := nil;
  FCount := 0;
end;

{$push}{$rangechecks off}{$overflowchecks off}
function TorvPointerMap.HomeOf(AKey: Pointer): Integer;
begin
  // Heap blocks are 16-byte aligned; mix the remaining bits.
  Result := Integer(((PtrUInt(AKey) shr 4) * PtrUInt($9E3779B97F4A7C15) shr 32) and
    PtrUInt(Length(FKeys) - 1));
end;
{$pop}

function TorvPointerMap.SlotOf(AKey: Pointer): Integer;
begin
  Result := HomeOf(AKey);
  while (FKeys[Result] <> nil) and (FKeys[Result] <> AKey) do
    Result := (Result + 1) and (Length(FKeys) - 1);
end;

procedure TorvPointerMap.Grow;
var
  OldKeys, OldValues: array of Pointer;
  I, Slot: Integer;
begin
  OldKeys := FKeys;
  OldValues := FValues;
  FKeys := nil;
  FValues := nil;
  if Length(OldKeys) = 0 then
    SetLength(FKeys, 16)
  else
    SetLength(FKeys, 2 * Length(OldKeys));
  SetLength(FValues, Length(FKeys));
  for I := 0 to High(OldKeys) do
    if OldKeys[I] <> nil then
    begin
      Slot := SlotOf(OldKeys[I]);
      FKeys[Slot] := OldKeys[I];
      FValues[Slot] := OldValues[I];
    end;
end;

function TorvPointerMap.Find(AKey: Pointer): Pointer;
begin
  if FCount = 0 then
    Exit(nil);
  Result := FValues[SlotOf(AKey)];
end;

procedure TorvPointerMap.Put(AKey, AValue: Pointer);
var
  Slot: Integer;
begin
  if 2 * (FCount + 1) > Length(FKeys) then
    Grow;
  Slot := SlotOf(AKey);
  if FKeys[Slot] = nil then
    Inc(FCount);
  FKeys[Slot] := AKey;
  FValues[Slot] := AValue;
end;

function TorvPointerMap.Remove(AKey: Pointer): Pointer;
var
  Mask, Hole, Next, Home: Integer;

  function Between(ALow, AValue, AHigh: Integer): Boolean;
  begin
    // Whether AValue lies cyclically in (ALow, AHigh].
    if ALow <= AHigh then
      Result := (ALow < AValue) and (AValue <= AHigh)
    else
      Result := (ALow < AValue) or (AValue <= AHigh);
  end;

begin
  if FCount = 0 then
    Exit(nil);
  Hole := SlotOf(AKey);
  if FKeys[Hole] = nil then
    Exit(nil);
  Result := FValues[Hole];
  Mask := Length(FKeys) - 1;
  Next := Hole;
  repeat
    Next := (Next + 1) and Mask;
    if FKeys[Next] = nil then
      Break;
    Home := HomeOf(FKeys[Next]);
    // An entry may move into the hole only if its probe passed over it.
    if not Between(Hole, Home, Next) then
    begin
      FKeys[Hole] := FKeys[Next];
      FValues[Hole] := FValues[Next];
      Hole := Next;
    end;
  until False;
  FKeys[Hole] := nil;
  FValues[Hole] := nil;
  Dec(FCount);
end;

function TorvPointerMap.Values: TorvPointers;
var
  I, N: Integer;
begin
  Result := nil;
  SetLength(Result, FCount);
  N := 0;
  for I := 0 to High(FKeys) do
    if FKeys[I] <> nil then
    begin
      Result[N] := FValues[I];
      Inc(N);
    end;
end;

end.
