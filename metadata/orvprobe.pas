{ Telling whether an address handed in by name holds a live object.

  Addresses travel as integers, so anything can arrive where an object is
  expected. Before such an address is used as an object, its memory is
  looked at without ever touching a page that is not mapped (the kernel is
  asked first), and the class it claims is checked the way the compiler's
  own object checks do: a class record states its instance size twice, once
  negated, and its parent chain ends at TObject.

  What this cannot tell: a freed object whose memory still holds a class
  pointer (a heap that leaves freed blocks as they were), or whose memory
  has been taken by a new object, looks alive; so does an address inside a
  live object that happens to hold a class pointer. The heap of this runtime
  overwrites the first word of a freed block with its free-list link, and
  the test heap fills freed blocks, so a freed object is refused there in
  practice. Under a memory checker, reading a freed block is reported even
  though nothing breaks. }
unit Orvprobe;

{$I orvdefines.inc}

interface

{ Return the class of the object at AAddress, or nil when the address
  cannot be shown to hold one (nil, misaligned, unmapped, or memory that
  does not look like an object). }
function ProbeClass(AAddress: Pointer): TClass;

implementation

{$IFDEF LINUX}
uses
  Syscall;
{$ENDIF}

const
  PageSize = 4096;
  MaxClassDepth = 256;

type
  { The head of a class record, as far as it is read here. }
  TClassHead = record
    InstanceSize: SizeInt;
    NegInstanceSize: SizeInt;
    ParentRef: PPointer;
    ClassName: PShortString;
  end;
  PClassHead = ^TClassHead;

{ Answer whether ASize bytes from AAddress lie in mapped pages. }
function Mapped(AAddress: Pointer; ASize: PtrUInt): Boolean;
{$IFDEF LINUX}
var
  First, Last: PtrUInt;
  Pages: array[0..3] of Byte;
begin
  if PtrUInt(AAddress) < PageSize then
    Exit(False);
  First := PtrUInt(AAddress) and not PtrUInt(PageSize - 1);
  Last := (PtrUInt(AAddress) + ASize - 1) and not PtrUInt(PageSize - 1);
  if (Last < First) or (Last - First >= SizeOf(Pages) * PageSize) then
    Exit(False);
  // mincore fails with ENOMEM for a range that is not mapped, and reads
  // nothing there itself.
  Result := do_syscall(syscall_nr_mincore, TSysParam(First),
    TSysParam(Last - First + PageSize), TSysParam(@Pages[0])) = 0;
end;
{$ELSE}
begin
  // Without a way to ask, only the cheap tests guard the read.
  Result := PtrUInt(AAddress) >= PageSize;
end;
{$ENDIF}

function Aligned(AAddress: Pointer): Boolean; inline;
begin
  Result := PtrUInt(AAddress) mod SizeOf(Pointer) = 0;
end;

{ Answer whether AClass points to what looks like a class record. }
function LooksLikeClass(AClass: Pointer): Boolean;
var
  Head: PClassHead;
begin
  Head := PClassHead(AClass);
  Result := Aligned(AClass) and Mapped(AClass, SizeOf(TClassHead)) and
    (Head^.InstanceSize > 0) and (Head^.InstanceSize + Head^.NegInstanceSize = 0) and
    Mapped(Head^.ClassName, 1) and Mapped(Head^.ClassName, Length(Head^.ClassName^) + 1);
end;

function ProbeClass(AAddress: Pointer): TClass;
var
  Candidate, Current: Pointer;
  Depth: Integer;
  ParentRef: PPointer;
begin
  Result := nil;
  if (AAddress = nil) or not Aligned(AAddress) or not Mapped(AAddress, SizeOf(Pointer)) then
    Exit;
  Candidate := PPointer(AAddress)^;
  Current := Candidate;
  for Depth := 1 to MaxClassDepth do
  begin
    if not LooksLikeClass(Current) then
      Exit;
    if Current = Pointer(TObject) then
      Break;
    ParentRef := PClassHead(Current)^.ParentRef;
    if (ParentRef = nil) or not Aligned(ParentRef) or not Mapped(ParentRef, SizeOf(Pointer)) then
      Exit;
    Current := ParentRef^;
  end;
  if Current <> Pointer(TObject) then
    Exit;
  Result := TClass(Candidate);
end;

end.
