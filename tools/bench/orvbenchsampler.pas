{ How the benchmark takes its figures: medians of interleaved samples, heap
  as the heap manager counts it, and instruction counts.

  A group holds the cases one figure compares. Each case is sized so that a
  sample lasts about the same time, then every round visits every case,
  forward in even rounds and backward in odd ones, so that drift of the
  machine (frequency, other load, caches warmed by the case before) hits
  every case of the group alike. A figure is the ratio of medians of one
  group, never of figures taken at different moments.

  Instruction counts come from callgrind when valgrind is installed: the
  program runs itself under it with --case, and only the routine RunCounted
  is collected. Without valgrind, a count is estimated from time and the
  rate of a calibration loop. }
unit Orvbenchsampler;

{$I orvdefines.inc}

interface

uses
  Classes, SysUtils;

type
  { Run ACount operations of a case; return the nanoseconds that count
    (a case may leave out setting up and tearing down its objects). }
  TBenchRun = function(ACount: Integer): Int64 of object;

  { TBenchCase }

  { One measured operation: its samples, median and spread. }
  TBenchCase = class
  private
    FName: string;
    FNote: string;
    FRun: TBenchRun;
    FOps: Integer;
    FTimes: array of Double;
    FMedian: Double;
    FSpread: Double;
  public
    constructor Create(const AName, ANote: string; ARun: TBenchRun);
    property Name: string read FName;
    { What one operation does, for the tables. }
    property Note: string read FNote;
    property Run: TBenchRun read FRun;
    { Operations in one sample. }
    property Ops: Integer read FOps;
    { Median nanoseconds of one operation. }
    property Median: Double read FMedian;
    { Interquartile range of the samples, in percent of the median. }
    property Spread: Double read FSpread;
  end;

  { TBenchGroup }

  { The cases that one or more figures compare, sampled together. }
  TBenchGroup = class
  private
    FTitle: string;
    FCases: TFPList;
    FSamples: Integer;
    FSampleNs: Int64;
    function GetCase(AIndex: Integer): TBenchCase;
    function GetCount: Integer;
    procedure Calibrate(ACase: TBenchCase);
  public
    constructor Create(const ATitle: string; ASamples: Integer; ASampleNs: Int64);
    destructor Destroy; override;
    function Add(const AName, ANote: string; ARun: TBenchRun): TBenchCase;
    { Size every case, take the interleaved rounds and the medians. }
    procedure Measure;
    { Return the case named AName; raise when there is none. }
    function Find(const AName: string): TBenchCase;
    { Return the median nanoseconds of one operation of case AName. }
    function Median(const AName: string): Double;
    property Title: string read FTitle;
    property Samples: Integer read FSamples;
    property SampleNs: Int64 read FSampleNs;
    property Count: Integer read GetCount;
    property Cases[AIndex: Integer]: TBenchCase read GetCase; default;
  end;

{ Return a monotonic clock in nanoseconds. }
function NowNs: Int64;

{ Return the bytes the heap manager has handed out and not taken back. }
function HeapUsed: Int64;

{ Run ARun for ACount operations. The one routine callgrind collects: its
  name is what --toggle-collect selects. }
procedure RunCounted(ARun: TBenchRun; ACount: Integer);

{ Return the instructions the machine retires per nanosecond on a loop of
  simple dependent arithmetic: the rate used to estimate counts. }
function InstructionsPerNs: Double;

{ Return the path of valgrind, or '' when it is not installed. }
function ValgrindPath: string;

{ Run this program under callgrind as "--case=ACaseName --count=ACount" and
  return the instructions RunCounted executed, or -1 when valgrind is not
  installed or the run failed. }
function CallgrindInstructions(const ACaseName: string; ACount: Integer): Int64;

implementation

uses
  {$IFDEF LINUX}Linux, UnixType,{$ENDIF}
  Math, Process;

resourcestring
  rsUnknownCase = 'Unknown case %s';

const
  { The pattern that selects RunCounted among the program's symbols. }
  CollectedRoutine = '*RUNCOUNTED*';

function NowNs: Int64;
{$IFDEF LINUX}
var
  Time: TTimeSpec;
begin
  clock_gettime(CLOCK_MONOTONIC, @Time);
  Result := Int64(Time.tv_sec) * 1000000000 + Time.tv_nsec;
end;
{$ELSE}
begin
  Result := Int64(GetTickCount64) * 1000000;
end;
{$ENDIF}

function HeapUsed: Int64;
begin
  Result := GetFPCHeapStatus.CurrHeapUsed;
end;

procedure RunCounted(ARun: TBenchRun; ACount: Integer);
begin
  ARun(ACount);
end;

procedure SortTimes(var ATimes: array of Double);
var
  I, J: Integer;
  T: Double;
begin
  for I := 1 to High(ATimes) do
  begin
    T := ATimes[I];
    J := I - 1;
    while (J >= 0) and (ATimes[J] > T) do
    begin
      ATimes[J + 1] := ATimes[J];
      Dec(J);
    end;
    ATimes[J + 1] := T;
  end;
end;

{ TBenchCase }

constructor TBenchCase.Create(const AName, ANote: string; ARun: TBenchRun);
begin
  inherited Create;
  FName := AName;
  FNote := ANote;
  FRun := ARun;
end;

{ TBenchGroup }

constructor TBenchGroup.Create(const ATitle: string; ASamples: Integer; ASampleNs: Int64);
begin
  inherited Create;
  FTitle := ATitle;
  FSamples := ASamples;
  FSampleNs := ASampleNs;
  FCases := TFPList.Create;
end;

destructor TBenchGroup.Destroy;
var
  I: Integer;
begin
  for I := 0 to FCases.Count - 1 do
    TBenchCase(FCases[I]).Free;
  FCases.Free;
  inherited Destroy;
end;

function TBenchGroup.GetCase(AIndex: Integer): TBenchCase;
begin
  Result := TBenchCase(FCases[AIndex]);
end;

function TBenchGroup.GetCount: Integer;
begin
  Result := FCases.Count;
end;

function TBenchGroup.Add(const AName, ANote: string; ARun: TBenchRun): TBenchCase;
begin
  Result := TBenchCase.Create(AName, ANote, ARun);
  FCases.Add(Result);
end;

procedure TBenchGroup.Calibrate(ACase: TBenchCase);
var
  Ops: Integer;
  Elapsed: Int64;
begin
  // Doubling from one also warms the case up: first-use costs (shared
  // declarations, lazily made features, grown tables) stay out of samples.
  Ops := 1;
  repeat
    Elapsed := Max(ACase.FRun(Ops), 1);
    if (Elapsed >= FSampleNs div 8) or (Ops >= MaxInt div 4) then
      Break;
    Ops := Ops * 2;
  until False;
  ACase.FOps := Max(1, Min(MaxInt div 2, Round(Ops * (FSampleNs / Elapsed))));
end;

procedure TBenchGroup.Measure;
var
  Sample, I, Low, High: Integer;
  BenchCase: TBenchCase;
begin
  for I := 0 to FCases.Count - 1 do
  begin
    BenchCase := GetCase(I);
    Calibrate(BenchCase);
    SetLength(BenchCase.FTimes, FSamples);
  end;
  for Sample := 0 to FSamples - 1 do
    for I := 0 to FCases.Count - 1 do
    begin
      if Odd(Sample) then
        BenchCase := GetCase(FCases.Count - 1 - I)
      else
        BenchCase := GetCase(I);
      BenchCase.FTimes[Sample] := BenchCase.FRun(BenchCase.FOps) / BenchCase.FOps;
    end;
  for I := 0 to FCases.Count - 1 do
  begin
    BenchCase := GetCase(I);
    SortTimes(BenchCase.FTimes);
    BenchCase.FMedian := BenchCase.FTimes[FSamples div 2];
    Low := FSamples div 4;
    High := (3 * FSamples) div 4;
    if BenchCase.FMedian > 0 then
      BenchCase.FSpread := (BenchCase.FTimes[High] - BenchCase.FTimes[Low]) /
        BenchCase.FMedian * 100;
  end;
end;

function TBenchGroup.Find(const AName: string): TBenchCase;
var
  I: Integer;
begin
  for I := 0 to FCases.Count - 1 do
    if GetCase(I).Name = AName then
      Exit(GetCase(I));
  raise Exception.CreateFmt(rsUnknownCase, [AName]);
end;

function TBenchGroup.Median(const AName: string): Double;
begin
  Result := Find(AName).Median;
end;

{ Instruction counts }

{$IFDEF CPUX86_64}
{$ASMMODE intel}
{ Five instructions a round: two independent chains of adds and the loop
  branch, about the mix of ordinary compiled code without its memory
  traffic. }
procedure CalibrationLoop(ARounds: Int64); assembler; nostackframe;
asm
  xor eax, eax
  xor edx, edx
@Round:
  add rax, rdx
  add rdx, 3
  add rax, 1
  dec ARounds
  jnz @Round
end;

const
  InstructionsPerRound = 5;
{$ELSE}
{ Without the assembler loop the rate is a guess of one instruction a
  cycle at the clock this loop suggests. }
procedure CalibrationLoop(ARounds: Int64);
var
  I, A: Int64;
begin
  A := 0;
  I := ARounds;
  while I > 0 do
  begin
    A := A + I;
    Dec(I);
  end;
  if A = 1 then
    WriteLn;
end;

const
  InstructionsPerRound = 4;
{$ENDIF}

function InstructionsPerNs: Double;
const
  Rounds = 20 * 1000 * 1000;
  Samples = 9;
var
  Times: array[0..Samples - 1] of Double;
  I: Integer;
  Start: Int64;
begin
  for I := 0 to High(Times) do
  begin
    Start := NowNs;
    CalibrationLoop(Rounds);
    Times[I] := Max(NowNs - Start, 1);
  end;
  SortTimes(Times);
  Result := Rounds * InstructionsPerRound / Times[Samples div 2];
end;

function ValgrindPath: string;
begin
  Result := ExeSearch('valgrind', GetEnvironmentVariable('PATH'));
end;

{ Return the total of the "totals:" line of a callgrind output file. }
function ReadTotals(const AFileName: string): Int64;
var
  Lines: TStringList;
  I: Integer;
begin
  Result := -1;
  if not FileExists(AFileName) then
    Exit;
  Lines := TStringList.Create;
  try
    Lines.LoadFromFile(AFileName);
    for I := Lines.Count - 1 downto 0 do
      if Pos('totals:', Lines[I]) = 1 then
        Exit(StrToInt64Def(Trim(Copy(Lines[I], 8, MaxInt)), -1));
  finally
    Lines.Free;
  end;
end;

function CallgrindInstructions(const ACaseName: string; ACount: Integer): Int64;
var
  Valgrind, OutFile, Output: string;
begin
  Result := -1;
  Valgrind := ValgrindPath;
  if Valgrind = '' then
    Exit;
  OutFile := GetTempFileName('', 'orvbench-callgrind');
  try
    if not RunCommand(Valgrind, ['--tool=callgrind', '--callgrind-out-file=' + OutFile,
      '--collect-atstart=no', '--toggle-collect=' + CollectedRoutine, ParamStr(0),
      '--case=' + ACaseName, '--count=' + IntToStr(ACount)], Output) then
      Exit;
    Result := ReadTotals(OutFile);
  finally
    DeleteFile(OutFile);
  end;
end;

end.
