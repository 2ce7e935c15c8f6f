{ What declaring a class info costs, beside what making the objects it
  describes costs.

  Every case makes one object and frees it: a TComponent and a hidden TEdit
  (no parent, so no widget) as yardsticks, then class infos declared from
  descriptor strings: a root-sized one, an eight-level chain the size of an
  edit control's binding (shared declaration), the same chain asked for three
  properties and for every feature (features are made lazily, per instance),
  and the chain declared anew by every instance (what sharing saves).
  The figures are medians of samples taken in rounds that alternate between
  the cases, so drift of the machine hits every case alike. Nothing is
  asserted: the program prints figures only.

    orvbench                          every case, a table of figures (~10 s)
    orvbench --case=NAME [--count=N]  only case NAME, N times (default 10000)

  Instruction counts instead of times, for one case:

    valgrind --tool=callgrind --toggle-collect='P$ORVBENCH_$$_RUNCASE$*' \
      ./tools/orvbench --case=chain --count=1000
    callgrind_annotate --inclusive=yes callgrind.out.<pid> | head -40

  and divide the total Ir by the count. The run makes one object before
  RunCase, outside the collected range, so that the one-off first
  declaration of a class (which makes its shared prototype) is not counted.
  Case names: component, edit, root, chain, chain-find, chain-all, unshared. }
program orvbench;

{$I ../metadata/orvdefines.inc}

uses
  {$IFDEF UNIX}cthreads,{$ENDIF}
  {$IFDEF LINUX}Linux, UnixType,{$ENDIF}
  Classes, SysUtils, Math,
  Interfaces, Forms, StdCtrls,
  Orvcommon, Orvbenchinfos;

type
  TBenchCase = (bcComponent, bcEdit, bcRoot, bcChain, bcChainFind, bcChainAll, bcUnshared);

const
  SampleCount = 15;

type
  TSampleTimes = array[0..SampleCount - 1] of Double;

const
  CaseNames: array[TBenchCase] of string =
    ('component', 'edit', 'root', 'chain', 'chain-find', 'chain-all', 'unshared');
  CaseNotes: array[TBenchCase] of string = (
    'TComponent.Create(nil) + Free',
    'TEdit.Create(nil) without parent + Free',
    'root class info: Create + InitMetaData + Free',
    'chain of 8 levels, shared declaration',
    'chain + FindProperty of 3 names',
    'chain + FindProperty x3 + every feature enumerated',
    'chain declared anew by this instance (+1 borrowed feature)');
  SampleNs = 50 * 1000 * 1000;
  HeapObjects = 1000;
  DefaultCount = 10000;
  { One name from the first, a middle and the last level. }
  FoundNames: array[0..2] of string = ('L1Prop1', 'L4Prop5', 'L8Prop14');

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

procedure FindSome(AInfo: TorvClassInfo);
var
  I: Integer;
begin
  for I := 0 to High(FoundNames) do
    if AInfo.FindProperty(FoundNames[I]) = nil then
      raise Exception.CreateFmt(rsPropertyNotFound, [FoundNames[I]]);
end;

{ Ask for every feature, which makes each instance's feature objects. }
procedure EnumerateAll(AInfo: TorvClassInfo);
var
  I: Integer;
begin
  for I := 0 to AInfo.GetPropertyCount - 1 do
    AInfo.GetProperties(I);
  for I := 0 to AInfo.GetMethodCount - 1 do
    AInfo.GetMethods(I);
  for I := 0 to AInfo.GetConstructorCount - 1 do
    AInfo.GetConstructors(I);
  for I := 0 to AInfo.GetEventCount - 1 do
    AInfo.GetEvents(I);
end;

function Declared(AClass: TorvClassInfoClass; AFind, AEnumerate: Boolean): TorvClassInfo;
begin
  Result := AClass.Create;
  try
    Result.InitMetaData;
    if AFind then
      FindSome(Result);
    if AEnumerate then
      EnumerateAll(Result);
  except
    Result.Free;
    raise;
  end;
end;

{ Make the object that one operation of ACase makes, and leave it alive. }
function MakeObject(ACase: TBenchCase): TObject;
begin
  case ACase of
    bcComponent: Result := TComponent.Create(nil);
    bcEdit: Result := TEdit.Create(nil);
    bcRoot: Result := Declared(TRootBenchInfo, False, False);
    bcChain: Result := Declared(TChain8Info, False, False);
    bcChainFind: Result := Declared(TChain8Info, True, False);
    bcChainAll: Result := Declared(TChain8Info, True, True);
    bcUnshared: Result := Declared(TUnsharedChainInfo, False, False);
  end;
end;

{ The measured loop; its name is what callgrind's --toggle-collect selects. }
procedure RunCase(ACase: TBenchCase; ACount: Integer);
var
  I: Integer;
begin
  for I := 1 to ACount do
    MakeObject(ACase).Free;
end;

function TimeRun(ACase: TBenchCase; ACount: Integer): Int64;
begin
  Result := NowNs;
  RunCase(ACase, ACount);
  Result := NowNs - Result;
end;

{ Return how many operations of ACase fill one sample; warms the case up. }
function OperationsPerSample(ACase: TBenchCase): Integer;
var
  Count: Integer;
  Elapsed: Int64;
begin
  Count := 1;
  repeat
    Elapsed := Max(TimeRun(ACase, Count), 1);
    if Elapsed >= SampleNs div 8 then
      Break;
    Count := Count * 2;
  until False;
  Result := Max(1, Round(Count * (SampleNs / Elapsed)));
end;

{ Return the heap that one live object of ACase holds, as the heap manager
  counts it; memory that a widget library takes from malloc is not in it. }
function HeapPerObject(ACase: TBenchCase): Double;
var
  Objects: array of TObject;
  Before: PtrUInt;
  I: Integer;
begin
  Objects := nil;
  SetLength(Objects, HeapObjects);
  Before := GetFPCHeapStatus.CurrHeapUsed;
  try
    for I := 0 to High(Objects) do
      Objects[I] := MakeObject(ACase);
    Result := (Int64(GetFPCHeapStatus.CurrHeapUsed) - Int64(Before)) / HeapObjects;
  finally
    for I := High(Objects) downto 0 do
      Objects[I].Free;
  end;
end;

function FeaturesOf(ACase: TBenchCase): Integer;
var
  Info: TObject;
begin
  if ACase in [bcComponent, bcEdit] then
    Exit(0);
  Info := MakeObject(ACase);
  try
    Result := FeatureTotal(TorvClassInfo(Info));
  finally
    Info.Free;
  end;
end;

procedure SortTimes(var ATimes: TSampleTimes);
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

procedure DescribeChain;
var
  Info: TorvClassInfo;
begin
  Info := Declared(TChain8Info, True, False);
  try
    WriteLn(Format('chain: %d levels; features %d (properties %d, methods %d, constructors %d, ' +
      'events %d); parameters %d', [ChainDepth, FeatureTotal(Info), Info.GetPropertyCount,
      Info.GetMethodCount, Info.GetConstructorCount, Info.GetEventCount, ParameterCount(Info)]));
  finally
    Info.Free;
  end;
end;

procedure RunAll;
var
  Ops: array[TBenchCase] of Integer;
  Times: array[TBenchCase] of TSampleTimes;
  Median, Spread, Heap: array[TBenchCase] of Double;
  Features: array[TBenchCase] of Integer;
  BenchCase: TBenchCase;
  Sample, I: Integer;
  Before: PtrUInt;
  FirstNs: Int64;
  PrototypeBytes: Int64;
  Info: TorvClassInfo;
  FeatureText, PerFeature: string;
begin
  // The very first declaration of the chain class parses it and keeps the
  // prototype that later instances share: a one-off, measured once.
  Before := GetFPCHeapStatus.CurrHeapUsed;
  FirstNs := NowNs;
  Info := Declared(TChain8Info, False, False);
  FirstNs := NowNs - FirstNs;
  Info.Free;
  PrototypeBytes := Int64(GetFPCHeapStatus.CurrHeapUsed) - Int64(Before);

  for BenchCase := Low(BenchCase) to High(BenchCase) do
  begin
    Ops[BenchCase] := OperationsPerSample(BenchCase);
    Features[BenchCase] := FeaturesOf(BenchCase);
  end;
  for Sample := 0 to SampleCount - 1 do
    // Forward in even rounds, backward in odd ones.
    for I := 0 to Ord(High(BenchCase)) do
    begin
      if Odd(Sample) then
        BenchCase := TBenchCase(Ord(High(BenchCase)) - I)
      else
        BenchCase := TBenchCase(I);
      Times[BenchCase][Sample] := TimeRun(BenchCase, Ops[BenchCase]) / Ops[BenchCase];
    end;
  for BenchCase := Low(BenchCase) to High(BenchCase) do
  begin
    SortTimes(Times[BenchCase]);
    Median[BenchCase] := Times[BenchCase][SampleCount div 2];
    Spread[BenchCase] := (Times[BenchCase][(3 * SampleCount) div 4] -
      Times[BenchCase][SampleCount div 4]) / Median[BenchCase] * 100;
    Heap[BenchCase] := HeapPerObject(BenchCase);
  end;

  WriteLn(Format('Orvane Suite benchmark: medians of %d samples of ~%d ms per case, cases interleaved',
    [SampleCount, SampleNs div 1000000]));
  DescribeChain;
  WriteLn;
  WriteLn(Format('%-11s %10s %7s %8s %8s %8s %10s %9s  %s', ['case', 'ns/op', 'IQR', 'x TComp',
    'x TEdit', 'features', 'ns/feature', 'heap B', 'what one operation does']));
  for BenchCase := Low(BenchCase) to High(BenchCase) do
  begin
    FeatureText := '-';
    PerFeature := '-';
    if Features[BenchCase] > 0 then
    begin
      FeatureText := IntToStr(Features[BenchCase]);
      PerFeature := Format('%.2f', [Median[BenchCase] / Features[BenchCase]]);
    end;
    WriteLn(Format('%-11s %10.1f %6.1f%% %8.2f %8.3f %8s %10s %9.0f  %s', [CaseNames[BenchCase],
      Median[BenchCase], Spread[BenchCase], Median[BenchCase] / Median[bcComponent],
      Median[BenchCase] / Median[bcEdit], FeatureText, PerFeature, Heap[BenchCase],
      CaseNotes[BenchCase]]));
  end;
  WriteLn;
  WriteLn('ns/op: median time of one operation; IQR: interquartile range of the samples;');
  WriteLn('heap B: heap held by one live object right after the operation (', HeapObjects,
    ' kept alive; widget memory not counted).');
  WriteLn(Format('sharing: declaring anew costs %.1fx the shared declaration', [Median[bcUnshared] /
    Median[bcChain]]));
  WriteLn(Format('laziness: making all %d features of one instance costs %.0f ns (%.1f ns each)',
    [Features[bcChain], Median[bcChainAll] - Median[bcChain],
    (Median[bcChainAll] - Median[bcChain]) / Features[bcChain]]));
  WriteLn(Format('first declaration of the chain class (makes the shared prototype): %.1f us once, ' +
    'keeps %d bytes', [FirstNs / 1000, PrototypeBytes]));
end;

procedure RunOne(const AName: string; ACount: Integer);
var
  BenchCase: TBenchCase;
  Elapsed: Int64;
begin
  for BenchCase := Low(BenchCase) to High(BenchCase) do
    if CaseNames[BenchCase] = AName then
    begin
      // Outside the collected range: the first declaration of the class.
      MakeObject(BenchCase).Free;
      Elapsed := TimeRun(BenchCase, ACount);
      WriteLn(Format('%s: %d operations, %.1f ns each', [AName, ACount, Elapsed / ACount]));
      Exit;
    end;
  raise Exception.CreateFmt('Unknown case %s', [AName]);
end;

var
  CaseName: string;
  Count: Integer;
begin
  Application.Initialize;
  CaseName := Application.GetOptionValue('case');
  if CaseName = '' then
    RunAll
  else
  begin
    Count := StrToIntDef(Application.GetOptionValue('count'), DefaultCount);
    RunOne(CaseName, Count);
  end;
end.
