{ Calls out to user code from objects that cannot put off their own
  destruction, and the limit on how deep such an object may re-enter itself.

  Any call out to user code (a property setter, a saved handler, a listener,
  an invoked method) may free anything, the caller included. A class info
  puts off its destruction while it is held (TorvClassInfo.Hold), so its
  callers check only whether it died meanwhile. A link or a variable is a
  component that its owner frees when it likes, also in the middle of one of
  its own calls out. Such an object keeps a TorvCallGuard; every call out
  runs inside a frame of that guard, the object's destructor marks its open
  frames gone, and after the call the caller looks at its frame, which lives
  on the caller's stack, before it touches the object again.

  The frames of one guard also count how deep the object has re-entered
  itself. A loop of links (an event whose handler changes what fired it)
  would otherwise run until the stack overflows; past MaxReentry nested
  calls the next one is refused with an error that names the object and the
  chain of calls that led back to it. }
unit Orvcallguard;

{$I orvdefines.inc}

interface

uses
  SysUtils;

const
  { Nested calls of one object after which the next one is refused. }
  MaxReentry = 64;

type
  { Describe the object of a frame for the loop error, e.g. a link with the
    features it joins. }
  TorvDescribeFunc = function: string of object;

  PorvCallGuard = ^TorvCallGuard;
  PorvCallFrame = ^TorvCallFrame;

  { One call out of one object, kept on the caller's stack. }
  TorvCallFrame = record
    Guard: PorvCallGuard;
    Outer: PorvCallFrame;  // the same object's previous open frame
    Caller: PorvCallFrame; // the frame open before this one, of any object
    Describe: TorvDescribeFunc;
    { Set when the object was destroyed while the frame was open. }
    Gone: Boolean;
    { The object's name, kept when it was destroyed, for a late error. }
    GoneName: ShortString;
  end;

  { The open frames of one object; a field of that object, zero at first. }
  TorvCallGuard = record
    Innermost: PorvCallFrame;
    Depth: Integer;
  end;

var
  { The innermost open frame, of whichever object. Links and variables run
    on the thread that owns the components, the main one. In the interface
    only so that EnterCall and LeaveCall, which run at every transfer, can
    be inlined; nothing else touches it. }
  ActiveFrame: PorvCallFrame;

{ Open AFrame for a call out of the object that keeps AGuard. Raise the
  re-entry error instead when MaxReentry frames of it are open already. }
procedure EnterCall(var AGuard: TorvCallGuard; out AFrame: TorvCallFrame;
  ADescribe: TorvDescribeFunc); inline;
{ Close AFrame; touch the object's guard only when the object still exists. }
procedure LeaveCall(var AFrame: TorvCallFrame); inline;
{ Raise the re-entry error of the object that keeps AGuard: EnterCall's,
  out of line, as its strings would give every caller an exception frame. }
procedure RaiseReentry(const AGuard: TorvCallGuard; ADescribe: TorvDescribeFunc);
{ Mark every open frame of AGuard gone, keeping AName in each: call from
  the object's destructor. }
procedure GuardGone(var AGuard: TorvCallGuard; const AName: ShortString);
{ Answer whether E is a fault of the program rather than an error to
  report: such exceptions are passed on unchanged, never wrapped. }
function IsFatalError(E: Exception): Boolean;

resourcestring
  rsReentryLimit = '%s re-entered itself %d times and was stopped: %s';

implementation

{ Return the chain of calls from AGuard's innermost frame to the newest one. }
function LoopText(const AGuard: TorvCallGuard; ADescribe: TorvDescribeFunc): string;
var
  Frame: PorvCallFrame;
begin
  Result := ADescribe();
  Frame := ActiveFrame;
  while (Frame <> nil) and (Frame <> AGuard.Innermost) do
  begin
    // A frame whose object is gone cannot describe itself any more.
    if not Frame^.Gone then
      Result := Frame^.Describe() + ' -> ' + Result;
    Frame := Frame^.Caller;
  end;
  if Frame <> nil then
    Result := Frame^.Describe() + ' -> ' + Result;
end;

procedure RaiseReentry(const AGuard: TorvCallGuard; ADescribe: TorvDescribeFunc);
begin
  raise Exception.CreateFmt(rsReentryLimit, [ADescribe(), MaxReentry, LoopText(AGuard, ADescribe)]);
end;

procedure EnterCall(var AGuard: TorvCallGuard; out AFrame: TorvCallFrame;
  ADescribe: TorvDescribeFunc);
begin
  if AGuard.Depth >= MaxReentry then
    RaiseReentry(AGuard, ADescribe);
  AFrame.Guard := @AGuard;
  AFrame.Outer := AGuard.Innermost;
  AFrame.Caller := ActiveFrame;
  AFrame.Describe := ADescribe;
  AFrame.Gone := False;
  AGuard.Innermost := @AFrame;
  Inc(AGuard.Depth);
  ActiveFrame := @AFrame;
end;

procedure LeaveCall(var AFrame: TorvCallFrame);
begin
  ActiveFrame := AFrame.Caller;
  if AFrame.Gone then
    Exit;
  AFrame.Guard^.Innermost := AFrame.Outer;
  Dec(AFrame.Guard^.Depth);
end;

procedure GuardGone(var AGuard: TorvCallGuard; const AName: ShortString);
var
  Frame: PorvCallFrame;
begin
  Frame := AGuard.Innermost;
  while Frame <> nil do
  begin
    Frame^.Gone := True;
    Frame^.GoneName := AName;
    Frame := Frame^.Outer;
  end;
  AGuard.Innermost := nil;
  AGuard.Depth := 0;
end;

function IsFatalError(E: Exception): Boolean;
begin
  // Memory faults and a broken heap or stack mean the program is damaged;
  // hiding them behind a link's message would hide where it happened.
  Result := (E is EAccessViolation) or (E is EPrivilege) or (E is EStackOverflow) or
    (E is EOutOfMemory) or (E is EHeapMemoryError) or (E is EControlC);
end;

end.
