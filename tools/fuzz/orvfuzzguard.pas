{ Running fuzz inputs in forked children, so that a crash or a hang is
  counted instead of ending the run.

  Forking costs milliseconds here, more than most inputs take to run, so a
  child takes a batch of inputs one after another and reports what each one
  did before it starts the next: accepted, refused with an ordinary error,
  or accepted or refused but leaving memory behind (each input runs twice
  for that, and only the second run is counted). A memory fault, a broken
  heap, a stack overflow or a runtime error ends the child (or is reported
  as fatal, after which the child stops): the input it was running crashed.
  An input that reports nothing within the time limit hung; its child is
  killed. Either way the input is known exactly, and the next child starts
  with the input after it. A batch is short, so that what one input leaves
  behind can mislead only the few after it in the same child. }
unit Orvfuzzguard;

{$I orvdefines.inc}

interface

uses
  Classes, SysUtils, BaseUnix,
  Orvcallguard;

type
  TorvOutcome = (foAccepted, foRefused, foLeaked, foExhausted, foCrashed, foHung);
  TorvOutcomes = array of TorvOutcome;
  TorvFuzzProc = procedure(const AInput: string);

const
  OutcomeNames: array[TorvOutcome] of string = ('accepted', 'refused (clean error)',
    'left memory', 'out of memory (limit)', 'crashed', 'hung');
  DefaultBatchSize = 100;
  { The address space of a child. A damaged length in a binary form file
    makes the host's reader ask for gigabytes and fill them for a minute;
    with a limit it fails at once with the host's out-of-memory error. }
  ChildMemoryLimit = 1024 * 1024 * 1024;

{ Run AInputs through AProc in forked children, at most ABatchSize inputs
  per child (1: a child for every input); answer each input's outcome. An
  input that reports nothing for ATimeout seconds has hung. }
function RunGuarded(AProc: TorvFuzzProc; AInputs: TStrings; ATimeout,
  ABatchSize: Integer): TorvOutcomes;

implementation

uses
  Unix;

const
  CodeAccepted = 10;
  CodeRefused = 11;
  CodeLeaked = 12;
  CodeExhausted = 13;
  CodeFatal = 20;

{ Run AInput once; answer CodeFatal, or what it did. }
function RunOnce(AProc: TorvFuzzProc; const AInput: string): Byte;
begin
  try
    AProc(AInput);
    Result := CodeAccepted;
  except
    on E: EOutOfMemory do
      Result := CodeExhausted;
    on E: Exception do
      if IsFatalError(E) then
        Result := CodeFatal
      else
        Result := CodeRefused;
  end;
end;

function RunOne(AProc: TorvFuzzProc; const AInput: string): Byte;
var
  Before: PtrUInt;
begin
  // Run twice and count the memory of the second run only: the first may
  // leave what the runtime keeps until later (the last error's text, a
  // grown table), which is not a leak; a leak grows at every run.
  Result := RunOnce(AProc, AInput);
  if Result in [CodeFatal, CodeExhausted] then
    Exit;
  Before := GetFPCHeapStatus.CurrHeapUsed;
  if RunOnce(AProc, AInput) = CodeFatal then
    Exit(CodeFatal);
  if GetFPCHeapStatus.CurrHeapUsed > Before then
    Result := CodeLeaked;
end;

procedure Silence;
var
  Null: cint;
begin
  // A runtime error of the child would print into the report.
  Null := FpOpen('/dev/null', O_WRONLY);
  if Null < 0 then
    Exit;
  FpDup2(Null, 1);
  FpDup2(Null, 2);
  FpClose(Null);
end;

procedure ChildLoop(AProc: TorvFuzzProc; AInputs: TStrings; AFirst, ALast: Integer; AReport: cint);
var
  I: Integer;
  Code: Byte;
  Limit: TRLimit;
begin
  Silence;
  Limit.rlim_cur := ChildMemoryLimit;
  Limit.rlim_max := ChildMemoryLimit;
  FpSetRLimit(RLIMIT_AS, @Limit);
  for I := AFirst to ALast do
  begin
    Code := RunOne(AProc, AInputs[I]);
    FpWrite(AReport, Code, 1);
    // The heap may be damaged, or full, after these.
    if Code in [CodeFatal, CodeExhausted] then
      Break;
  end;
  // Ends at once: nothing of the parent's state is finalized twice.
  FpExit(0);
end;

function OutcomeOf(ACode: Byte): TorvOutcome;
begin
  case ACode of
    CodeAccepted: Result := foAccepted;
    CodeRefused: Result := foRefused;
    CodeLeaked: Result := foLeaked;
    CodeExhausted: Result := foExhausted;
  else
    Result := foCrashed;
  end;
end;

{ Run the inputs from AFirst in one child; answer where the next child
  starts. }
function RunBatch(AProc: TorvFuzzProc; AInputs: TStrings; AFirst, ATimeout, ABatchSize: Integer;
  var AOutcomes: TorvOutcomes): Integer;
var
  Pipe: TFilDes;
  Pid: TPid;
  Last, Next: Integer;
  Code: Byte;
  Poll: TPollFd;
  Status: cint;
begin
  Last := AInputs.Count - 1;
  if Last > AFirst + ABatchSize - 1 then
    Last := AFirst + ABatchSize - 1;
  if FpPipe(Pipe) <> 0 then
    raise Exception.Create('pipe failed');
  Pid := FpFork;
  if Pid < 0 then
    raise Exception.Create('fork failed');
  if Pid = 0 then
  begin
    FpClose(Pipe[0]);
    ChildLoop(AProc, AInputs, AFirst, Last, Pipe[1]);
  end;
  FpClose(Pipe[1]);
  Next := AFirst;
  try
    while Next <= Last do
    begin
      Poll.fd := Pipe[0];
      Poll.events := POLLIN;
      Poll.revents := 0;
      if FpPoll(@Poll, 1, ATimeout * 1000) = 0 then
      begin
        FpKill(Pid, SIGKILL);
        AOutcomes[Next] := foHung;
        Exit(Next + 1);
      end;
      if FpRead(Pipe[0], Code, 1) <> 1 then
      begin
        // The child ended without a word about this input.
        AOutcomes[Next] := foCrashed;
        Exit(Next + 1);
      end;
      AOutcomes[Next] := OutcomeOf(Code);
      Inc(Next);
      if AOutcomes[Next - 1] in [foCrashed, foExhausted] then
        Exit(Next);
    end;
    Result := Next;
  finally
    FpClose(Pipe[0]);
    while FpWaitPid(Pid, @Status, 0) < 0 do
      if FpGetErrno <> ESysEINTR then
        Break;
  end;
end;

function RunGuarded(AProc: TorvFuzzProc; AInputs: TStrings; ATimeout,
  ABatchSize: Integer): TorvOutcomes;
var
  Next: Integer;
begin
  Result := nil;
  SetLength(Result, AInputs.Count);
  Next := 0;
  while Next < AInputs.Count do
    Next := RunBatch(AProc, AInputs, Next, ATimeout, ABatchSize, Result);
end;

end.
