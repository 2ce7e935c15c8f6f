{ What the metadata and link layers cost, beside what the same work costs
  done in code: the timings of every case, then a table of named figures
  made from them, each with its target. Nothing is asserted: the program
  prints figures.

    orvbench                          every figure and table (~1 minute)
    orvbench --series                 form-load times against the number of
                                      links, as CSV (for docs/performance.md)
    orvbench --case=NAME [--count=N]  only case NAME, N times (default 10000),
                                      after one untimed operation
    orvbench --no-callgrind           estimate instruction counts from time
                                      even when valgrind is installed

  Every ratio comes from one group of cases sampled together: medians of
  samples taken in rounds that alternate between the cases of the group
  (see Orvbenchsampler).

  Instruction counts for one case (what unused_event_instr does itself):

    valgrind --tool=callgrind --collect-atstart=no \
      --toggle-collect='*RUNCOUNTED*' ./tools/bench/orvbench --case=event-hooked --count=10000
    callgrind_annotate --inclusive=yes callgrind.out.<pid> | head -40

  and divide the total Ir by the count. The untimed first operation, outside
  the collected range, keeps one-off costs (a class's first declaration, a
  feature made on first use, padding the registry) out of the count. An
  operation of a form case (form-<links>-links, -plain, -inert, -tedit)
  also frees the form: collect '*READFORM*' instead to count the reading
  alone, and divide by the count plus one, as the untimed first read is
  collected too. }
program orvbench;

{$I ../../package/orvdefines.inc}

uses
  {$IFDEF UNIX}cthreads,{$ENDIF}
  Classes, SysUtils,
  Interfaces, Forms,
  orvane_d5, // links and starts every binding, as the IDE does for a project
  Math, Process,
  Orvbenchsampler, Orvbenchfixtures, Orvbenchcases, Orvbenchreal, Orvbenchtrace;

const
  SampleCount = 21;
  SampleNs = 40 * 1000 * 1000;
  SeriesSamples = 7;
  SeriesSampleNs = 40 * 1000 * 1000;
  HeapObjects = 1000;
  DefaultCount = 10000;
  EventFirings = 20000;
  { Operations counted by callgrind for the real-control figures. }
  RealTransfers = 2000;
  RealFormReads = 10;
  RealPairs = 100;
  { Link counts of the form-load series; the figures use 10, 100 and 1000. }
  SeriesPairs: array[0..6] of Integer = (0, 10, 50, 100, 200, 500, 1000);
  NoTarget = -1;

type
  { One line of the figure table. }
  TFigure = record
    Name: string;
    Value: Double;
    Decimals: Integer;
    Target: Double; // NoTarget: printed for comparison only
    How: string;    // how the value was obtained, when that varies
    Definition: string;
    { The same comparison by time, beside an instruction count; NoTarget
      when the figure has no second column. }
    Time: Double;
  end;

  TBenchFormKinds = set of TBenchFormKind;

var
  Figures: array of TFigure;

procedure AddFigure(const AName: string; AValue: Double; ADecimals: Integer; ATarget: Double;
  const AHow, ADefinition: string);
var
  N: Integer;
begin
  N := Length(Figures);
  SetLength(Figures, N + 1);
  Figures[N].Name := AName;
  Figures[N].Value := AValue;
  Figures[N].Decimals := ADecimals;
  Figures[N].Target := ATarget;
  Figures[N].How := AHow;
  Figures[N].Definition := ADefinition;
  Figures[N].Time := NoTarget;
end;

{ Give the figure added last its time ratio, printed beside the count. }
procedure AddTime(ATime: Double);
begin
  Figures[High(Figures)].Time := ATime;
end;

{ Return the instructions of one operation of case AName, counted by
  callgrind, or -1 when it cannot be counted. }
function Counted(const AName: string; ACount: Integer; AUseCallgrind: Boolean): Double;
var
  Total: Int64;
begin
  Result := -1;
  if not AUseCallgrind then
    Exit;
  Total := CallgrindInstructions(AName, ACount);
  if Total >= 0 then
    Result := Total / ACount;
end;

const
  { Reads of a form counted by callgrind, after the untimed first one. }
  FormCount = 3;

{ Run case ACaseName ACount times under callgrind collecting the routines
  AToggle selects; return the instructions, or -1. The first, untimed
  operation is collected too when AToggle selects a routine it runs. }
function CountedWith(const ACaseName, AToggle: string; ACount: Integer): Int64;
var
  OutFile, Output: string;
  Lines: TStringList;
  I: Integer;
begin
  Result := -1;
  if ValgrindPath = '' then
    Exit;
  OutFile := GetTempFileName('', 'orvbench-callgrind');
  Lines := TStringList.Create;
  try
    if not RunCommand(ValgrindPath, ['--tool=callgrind', '--callgrind-out-file=' + OutFile,
      '--collect-atstart=no', '--toggle-collect=' + AToggle, ParamStr(0),
      '--case=' + ACaseName, '--count=' + IntToStr(ACount)], Output) then
      Exit;
    Lines.LoadFromFile(OutFile);
    for I := 0 to Lines.Count - 1 do
      if Pos('totals:', Lines[I]) = 1 then
        Result := StrToInt64Def(Trim(Copy(Lines[I], 8, MaxInt)), -1);
  finally
    Lines.Free;
    DeleteFile(OutFile);
  end;
end;

{ Return the instructions of reading (AReading) or else of freeing one form
  of case ACaseName, or -1. }
function FormInstructions(const ACaseName: string; AReading: Boolean): Double;
var
  Reads, Whole: Int64;
begin
  Result := -1;
  Reads := CountedWith(ACaseName, '*READFORM*', FormCount);
  if Reads < 0 then
    Exit;
  // The untimed first read is collected as well.
  Result := Reads / (FormCount + 1);
  if AReading then
    Exit;
  Whole := CountedWith(ACaseName, '*RUNCOUNTED*', FormCount);
  if Whole < 0 then
    Exit(-1);
  Result := Whole / FormCount - Result;
end;

{ Add figure AName as the ratio of form cases ALinks and AInert, reading or
  freeing, by instructions with the time ratio ATime beside it. }
procedure AddFormFigure(const AName: string; AReading: Boolean; const ALinks, AInert: string;
  ATime, ATarget: Double; AUseCallgrind: Boolean; const ADefinition: string);
var
  Links, Inert: Double;
begin
  Links := -1;
  Inert := -1;
  if AUseCallgrind then
  begin
    Links := FormInstructions(ALinks, AReading);
    if Links >= 0 then
      Inert := FormInstructions(AInert, AReading);
  end;
  if (Links <= 0) or (Inert <= 0) then
  begin
    AddFigure(AName, ATime, 2, ATarget, 'by time (no callgrind):', ADefinition);
    Exit;
  end;
  AddFigure(AName, Links / Inert, 2, ATarget, Format('callgrind (%.0f / %.0f instructions):',
    [Links, Inert]), ADefinition);
  AddTime(ATime);
end;

{ Add figure AName as the instruction ratio (ANum - ASub) / ADen of three
  cases (ASub may be empty), with the same ratio by time beside it; by
  time alone when callgrind cannot count. }
procedure AddCountedRatio(AGroup: TBenchGroup; const AName, ANum, ASub, ADen: string;
  ATarget: Double; AUseCallgrind: Boolean; const ADefinition: string);
var
  Num, Sub, Den, TimeSub, TimeRatio: Double;
begin
  TimeSub := 0;
  Sub := 0;
  if ASub <> '' then
    TimeSub := AGroup.Median(ASub);
  TimeRatio := (AGroup.Median(ANum) - TimeSub) / AGroup.Median(ADen);
  Num := Counted(ANum, DefaultCount, AUseCallgrind);
  Den := Counted(ADen, DefaultCount, AUseCallgrind);
  if ASub <> '' then
    Sub := Counted(ASub, DefaultCount, AUseCallgrind);
  if (Num < 0) or (Den < 0) or (Sub < 0) then
  begin
    AddFigure(AName, TimeRatio, 2, ATarget, 'by time (no callgrind):', ADefinition);
    Exit;
  end;
  AddFigure(AName, (Num - Sub) / Den, 2, ATarget, Format('callgrind (%.0f / %.0f ' +
    'instructions):', [Num - Sub, Den]), ADefinition);
  AddTime(TimeRatio);
end;

procedure PrintFigures;
var
  I, Met, Targets: Integer;
  TargetText, Verdict, Definition, TimeText: string;
begin
  WriteLn(Format('%-25s %9s %9s  %-8s %7s  %s', ['figure', 'measured', 'target', 'result',
    'time', 'definition']));
  Met := 0;
  Targets := 0;
  for I := 0 to High(Figures) do
  begin
    if Figures[I].Target = NoTarget then
    begin
      TargetText := '-';
      Verdict := '-';
    end
    else
    begin
      TargetText := '<= ' + FloatToStrF(Figures[I].Target, ffFixed, 15, Figures[I].Decimals);
      Inc(Targets);
      if Figures[I].Value <= Figures[I].Target then
      begin
        Verdict := 'met';
        Inc(Met);
      end
      else
        Verdict := 'not met';
    end;
    Definition := Figures[I].Definition;
    if Figures[I].How <> '' then
      Definition := Figures[I].How + ' ' + Definition;
    if Figures[I].Time = NoTarget then
      TimeText := '-'
    else
      TimeText := FloatToStrF(Figures[I].Time, ffFixed, 15, 2);
    WriteLn(Format('%-25s %9s %9s  %-8s %7s  %s', [Figures[I].Name,
      FloatToStrF(Figures[I].Value, ffFixed, 15, Figures[I].Decimals), TargetText, Verdict,
      TimeText, Definition]));
  end;
  WriteLn(Format('%d of %d targets met', [Met, Targets]));
end;

procedure PrintGroup(AGroup: TBenchGroup);
var
  I: Integer;
  BenchCase: TBenchCase;
begin
  WriteLn;
  WriteLn(AGroup.Title);
  WriteLn(Format('  %-17s %12s %7s %9s  %s', ['case', 'ns/op', 'IQR', 'ops/smp',
    'what one operation does']));
  for I := 0 to AGroup.Count - 1 do
  begin
    BenchCase := AGroup[I];
    WriteLn(Format('  %-17s %12.1f %6.1f%% %9d  %s', [BenchCase.Name, BenchCase.Median,
      BenchCase.Spread, BenchCase.Ops, BenchCase.Note]));
  end;
end;

function NewGroup(const ATitle: string): TBenchGroup;
begin
  Result := TBenchGroup.Create(ATitle, SampleCount, SampleNs);
end;

procedure MeasureTransfers(AUseCallgrind: Boolean);
var
  Bench: TTransferBench;
  Group: TBenchGroup;
  Broken: string;
  Hand, Link: Double;
begin
  Bench := TTransferBench.Create;
  Group := NewGroup('Transfers on a non-visual pair (TBenchEdit, bound like a package component)');
  try
    Broken := Bench.Check;
    Bench.AddCases(Group);
    Group.Measure;
    Hand := Counted('transfer-hand', DefaultCount, AUseCallgrind);
    Link := Counted('transfer-link', DefaultCount, AUseCallgrind);
    if (Hand >= 0) and (Link >= 0) then
      AddFigure('transfer_added_instr', Link - Hand, 0, 300, Format('callgrind (link %.0f, hand ' +
        '%.0f per transfer):', [Link, Hand]), 'instructions a p2p link adds to one transfer ' +
        'beyond a hand-written OnChange handler doing the same copy')
    else
      AddFigure('transfer_added_instr', (Group.Median('transfer-link') -
        Group.Median('transfer-hand')) * InstructionsPerNs, 0, 300, 'estimated from time:',
        'instructions a p2p link adds to one transfer beyond the hand-written handler');
    AddCountedRatio(Group, 'transfer_nonvisual', 'transfer-link', '', 'transfer-hand', 2.0,
      AUseCallgrind, 'p2p link copying Text on the source''s OnChange / ' +
      'hand-written OnChange handler doing the same copy (each includes setting the source''s ' +
      'Text)');
    AddFigure('transfer_typinfo', Group.Median('transfer-typinfo') /
      Group.Median('transfer-hand'), 2, NoTarget, '', 'the same copy by name with ' +
      'GetStrProp/SetStrProp / hand-written');
    PrintGroup(Group);
    if Broken <> '' then
      WriteLn('  NOTE: these ways did not copy the text, their figures mean nothing:', Broken);
  finally
    Group.Free;
    Bench.Free;
  end;
end;

procedure MeasureTrace(AUseCallgrind: Boolean);
var
  Bench: TTraceBench;
  Group: TBenchGroup;
  Broken: string;
  Off, Null: Double;
  Hooks: Int64;
  HookLines: Integer;
begin
  Bench := TTraceBench.Create;
  Group := NewGroup('The trace of links: a p2p transfer with the trace off, and traced to a ' +
    'handler that does nothing');
  try
    Broken := Bench.Check;
    Bench.AddCases(Group);
    Group.Measure;
    Off := Counted('trace-off', DefaultCount, AUseCallgrind);
    Hooks := -1;
    HookLines := 0;
    if AUseCallgrind then
      Hooks := HookLineInstructions('trace-off', DefaultCount, HookLines);
    if (Off >= 0) and (Hooks >= 0) then
      AddFigure('trace_off_instr', Hooks / DefaultCount, 1, 5, Format('callgrind (%d hook ' +
        'lines in the link units; of %.0f per transfer):', [HookLines, Off]), 'instructions ' +
        'run on the lines that test the trace hook, per p2p transfer with the trace off');
    Null := Counted('trace-null', DefaultCount, AUseCallgrind);
    if (Off >= 0) and (Null >= 0) then
      AddFigure('trace_on_instr', Null - Off, 0, NoTarget, Format('callgrind (on %.0f, off ' +
        '%.0f per transfer):', [Null, Off]), 'instructions a trace to a handler that does ' +
        'nothing adds to one p2p transfer (the entry with its texts made)')
    else
      AddFigure('trace_on_instr', (Group.Median('trace-null') - Group.Median('trace-off')) *
        InstructionsPerNs, 0, NoTarget, 'estimated from time:', 'instructions a trace to a ' +
        'handler that does nothing adds to one p2p transfer');
    PrintGroup(Group);
    if Hooks < 0 then
      WriteLn('  trace_off_instr needs valgrind: the hook lines are counted by callgrind');
    if Broken <> '' then
      WriteLn('  NOTE: these ways did not copy the text, their figures mean nothing:', Broken);
  finally
    Group.Free;
    Bench.Free;
  end;
end;

procedure MeasureInfos(AUseCallgrind: Boolean);
var
  Bench: TInfoBench;
  Group: TBenchGroup;
  ComponentBytes, InfoBytes, SmallBytes, LargeBytes: Double;
  SmallFeatures, LargeFeatures: Integer;

  procedure Beside(const ADirect, AByInfo, AWhat: string);
  begin
    WriteLn(Format('  %-52s %8.1f ns  beside %8.1f ns  x %.2f', [AWhat, Group.Median(AByInfo),
      Group.Median(ADirect), Group.Median(AByInfo) / Group.Median(ADirect)]));
  end;

begin
  Bench := TInfoBench.Create;
  Group := NewGroup('Class infos made and used, beside the same work in code');
  try
    Bench.AddCases(Group);
    Group.Measure;
    Bench.MeasureHeap(HeapObjects, ComponentBytes, InfoBytes);
    AddCountedRatio(Group, 'classinfo_create', 'component-info', 'component-bare',
      'component-bare', 3.0, AUseCallgrind, 'what GetInfo adds to a fresh TComponent, ' +
      'destruction dropping it included: (Create+GetInfo+Free - Create+Free) / (Create+Free)');
    AddFigure('classinfo_heap', InfoBytes / ComponentBytes, 2, 1.0, '', Format('heap GetInfo ' +
      'leaves held (class info, cache entry, free notifications): %.0f B / the TComponent''s own ' +
      '%.0f B', [InfoBytes, ComponentBytes]));
    Bench.MeasureLinkedHeap(HeapObjects, False, SmallBytes, SmallFeatures);
    Bench.MeasureLinkedHeap(HeapObjects, True, LargeBytes, LargeFeatures);
    AddFigure('classinfo_heap_linked', Max(SmallBytes, LargeBytes) / ComponentBytes, 2, 1.5, '',
      Format('the same once a link found the two features it uses (a property and an event): ' +
      'the larger of %.0f B (%d properties) and %.0f B (%d properties) / %.0f B',
      [SmallBytes, SmallFeatures, LargeBytes, LargeFeatures, ComponentBytes]));
    PrintGroup(Group);
    WriteLn;
    WriteLn('  by class info, beside in code:');
    Beside('component-bare', 'component-info', 'GetInfo for a fresh TComponent (+ Create, Free)');
    Beside('stringlist', 'stringlist-info', 'TStringList class info declared (list: Create+Free)');
    Beside('text-get', 'text-get-name', 'GetProperty(''Text'') by name, TBenchEdit');
    Beside('text-set', 'text-set-name', 'SetProperty(''Text'') by name, TBenchEdit');
    Beside('count-get', 'count-get-name', 'GetProperty(''Count'') by name, TStringList');
    WriteLn(Format('  heap: a live TComponent %.0f B; its class info adds %.0f B ' +
      '(means over %d live components)', [ComponentBytes, InfoBytes, HeapObjects]));
  finally
    Group.Free;
    Bench.Free;
  end;
end;

{ Return the instructions a binding's hook adds to one firing of the event
  of the cases APrefix-plain and APrefix-hooked, with how it was found. }
function HookInstructions(AGroup: TBenchGroup; const APrefix: string; AUseCallgrind: Boolean;
  ARate: Double; out AHow: string): Double;
var
  Plain, Hooked: Int64;
begin
  Plain := -1;
  Hooked := -1;
  if AUseCallgrind then
  begin
    Plain := CallgrindInstructions(APrefix + '-plain', EventFirings);
    if Plain >= 0 then
      Hooked := CallgrindInstructions(APrefix + '-hooked', EventFirings);
  end;
  if (Plain >= 0) and (Hooked >= 0) then
  begin
    Result := (Hooked - Plain) / EventFirings;
    AHow := Format('callgrind (%d firings: plain %.1f, hooked %.1f per firing):',
      [EventFirings, Plain / EventFirings, Hooked / EventFirings]);
  end
  else
  begin
    Result := (AGroup.Median(APrefix + '-hooked') - AGroup.Median(APrefix + '-plain')) * ARate;
    AHow := 'estimated from time:';
  end;
end;

procedure MeasureEvents(AUseCallgrind: Boolean);
var
  Bench: TEventBench;
  Group: TBenchGroup;
  How: string;
  Value, Rate: Double;
begin
  Bench := TEventBench.Create;
  Group := NewGroup('An event hooked by a binding, fired with no listener');
  try
    Bench.AddCases(Group);
    Group.Measure;
    Rate := InstructionsPerNs;
    Value := HookInstructions(Group, 'event', AUseCallgrind, Rate, How);
    AddFigure('unused_event_instr', Value, 0, 350, How, 'instructions a binding''s hook adds ' +
      'to one firing with no listener, beyond the host''s handler: (hooked - plain) / firings');
    // A TCustomControl and a TWinControl stand for a button and an edit:
    // their bindings hook the same events.
    Value := HookInstructions(Group, 'click', AUseCallgrind, Rate, How);
    AddFigure('unused_event_instr_onclick', Value, 0, 350, How, 'the same for a control''s ' +
      'OnClick, hooked with every event of a control');
    Value := HookInstructions(Group, 'keydown', AUseCallgrind, Rate, How);
    AddFigure('unused_event_instr_onkeydown', Value, 0, 350, How, 'the same for a windowed ' +
      'control''s OnKeyDown, whose Key is a var parameter');
    PrintGroup(Group);
    WriteLn(Format('  calibration loop: %.2f instructions/ns', [Rate]));
    if AUseCallgrind and (Pos('callgrind', How) = 0) then
      WriteLn('  valgrind is not installed (or its run failed): the counts are estimated');
  finally
    Group.Free;
    Bench.Free;
  end;
end;

procedure AddFormBenches(AGroup: TBenchGroup; ABenches: TFPList; const APairs: array of Integer;
  AKinds: TBenchFormKinds);
var
  I: Integer;
  Kind: TBenchFormKind;
  Bench: TFormBench;
begin
  for I := 0 to High(APairs) do
    for Kind := Low(Kind) to High(Kind) do
      if Kind in AKinds then
      begin
        Bench := TFormBench.Create(APairs[I], Kind);
        ABenches.Add(Bench);
        Bench.AddCase(AGroup);
      end;
end;

procedure FreeBenches(ABenches: TFPList);
var
  I: Integer;
begin
  for I := 0 to ABenches.Count - 1 do
    TObject(ABenches[I]).Free;
  ABenches.Free;
end;

{ Return the time one link (or stand-in, AKind) adds to reading a form of
  APairs link pairs. }
function PerLink(AGroup: TBenchGroup; APairs: Integer; AKind: TBenchFormKind): Double;
begin
  Result := (AGroup.Median(TFormBench.CaseName(APairs, AKind)) -
    AGroup.Median(TFormBench.CaseName(APairs, bfPlain))) / APairs;
end;

{ Return the ratio of the form of APairs pairs of AKind to the plain one. }
function FormRatio(AGroup: TBenchGroup; APairs: Integer; AKind: TBenchFormKind): Double;
begin
  Result := AGroup.Median(TFormBench.CaseName(APairs, AKind)) /
    AGroup.Median(TFormBench.CaseName(APairs, bfPlain));
end;

{ Return the mean time of freeing the read form of APairs pairs of AKind. }
function FreeOf(ABenches: TFPList; APairs: Integer; AKind: TBenchFormKind): Double;
var
  I: Integer;
begin
  Result := 0;
  for I := 0 to ABenches.Count - 1 do
    if (TFormBench(ABenches[I]).Pairs = APairs) and (TFormBench(ABenches[I]).Kind = AKind) then
      Result := TFormBench(ABenches[I]).FreeNs;
end;

procedure PrintFormChecks(ABenches: TFPList);
var
  I: Integer;
  Bench: TFormBench;
begin
  for I := 0 to ABenches.Count - 1 do
  begin
    Bench := TFormBench(ABenches[I]);
    if Bench.Checked <> '' then
      WriteLn(Format('  NOTE: %d pairs: %s', [Bench.Pairs, Bench.Checked]));
  end;
end;

procedure MeasureForms(AUseCallgrind: Boolean);
var
  Benches: TFPList;
  Group: TBenchGroup;
  I: Integer;
  Bench: TFormBench;
begin
  Benches := TFPList.Create;
  Group := NewGroup('Reading forms (ObjectTextToBinary output, ReadComponent into a root; ' +
    'Loaded connects the links)');
  try
    AddFormBenches(Group, Benches, [10, 100, 1000], [bfPlain, bfLinked, bfInert]);
    AddFormBenches(Group, Benches, [100], [bfControls]);
    Group.Measure;
    AddFigure('formload_100', FormRatio(Group, 100, bfLinked), 2, NoTarget, '', 'reading + ' +
      'connecting a form of 200 edits and 100 p2p links / the same 200 edits without links');
    AddFormFigure('formload_links_vs_inert', True, TFormBench.CaseName(100, bfLinked),
      TFormBench.CaseName(100, bfInert), Group.Median(TFormBench.CaseName(100, bfLinked)) /
      Group.Median(TFormBench.CaseName(100, bfInert)), 1.10, AUseCallgrind, 'reading + ' +
      'connecting a form of 200 edits and 100 p2p links / the same form with 100 inert ' +
      'components carrying the links'' properties');
    AddFormFigure('formfree_links_vs_inert', False, TFormBench.CaseName(100, bfLinked),
      TFormBench.CaseName(100, bfInert), FreeOf(Benches, 100, bfLinked) /
      FreeOf(Benches, 100, bfInert), 1.20, AUseCallgrind, 'freeing that form of 100 links / ' +
      'of 100 inert stand-ins');
    AddFigure('formload_perlink_flat', PerLink(Group, 1000, bfLinked) /
      PerLink(Group, 10, bfLinked), 2, NoTarget, '', Format('time per link (with - without, / links) ' +
      'at 1000 links, %.1f us / at 10 links, %.1f us (two edits per link)',
      [PerLink(Group, 1000, bfLinked) / 1000, PerLink(Group, 10, bfLinked) / 1000]));
    PrintGroup(Group);
    WriteLn(Format('  what streaming alone costs (inert stand-ins with the links'' properties, ' +
      'read but never connected): formload_100 %.2f; per link %.1f us at 10, %.1f us at 1000 ' +
      '(x %.2f)', [FormRatio(Group, 100, bfInert), PerLink(Group, 10, bfInert) / 1000,
      PerLink(Group, 1000, bfInert) / 1000, PerLink(Group, 1000, bfInert) /
      PerLink(Group, 10, bfInert)]));
    WriteLn(Format('  for scale: 200 LCL TEdit controls read in %.2f ms; 100 links add %.2f ms, ' +
      '%.0f%% of such a form', [Group.Median(TFormBench.CaseName(100, bfControls)) / 1e6,
      PerLink(Group, 100, bfLinked) * 100 / 1e6, PerLink(Group, 100, bfLinked) * 100 /
      Group.Median(TFormBench.CaseName(100, bfControls)) * 100]));
    for I := 0 to Benches.Count - 1 do
    begin
      Bench := TFormBench(Benches[I]);
      WriteLn(Format('  freeing the read form of %s: %.1f us (not in the figures)',
        [TFormBench.CaseName(Bench.Pairs, Bench.Kind), Bench.FreeNs / 1000]));
    end;
    PrintFormChecks(Benches);
  finally
    Group.Free;
    FreeBenches(Benches);
  end;
end;

procedure MeasureFind(AUseCallgrind: Boolean);
var
  Bench: TFindBench;
  Group: TBenchGroup;
begin
  Bench := TFindBench.Create;
  Group := NewGroup(Format('TorvClassRegistry.FindClass, registry padded to %d names',
    [TFindBench.RegistrySize]));
  try
    Bench.AddCases(Group);
    Group.Measure;
    // Counted, each case runs in a process of its own: find-real there
    // sees only the real registrations, find-spread pads first.
    AddCountedRatio(Group, 'findclass_flat', 'find-spread', '', 'find-real', 1.1,
      AUseCallgrind, Format('FindClass of names spread over %d registrations (%d real, the ' +
      'rest synthetic) / of the first 10 names in the registry of the real ones only; same ' +
      'name lengths (time: both in the padded registry)', [TFindBench.RegistrySize,
      Bench.Padded]));
    PrintGroup(Group);
  finally
    Group.Free;
    Bench.Free;
  end;
end;

procedure MeasureDeclarations(ABench: TDeclarationBench);
var
  Group: TBenchGroup;
  Kind: TDeclarationKind;
  Median: array[TDeclarationKind] of Double;
  Features: Integer;
  FeatureText, PerFeature: string;
begin
  Group := NewGroup('Declaring class infos, beside making the objects they describe');
  try
    ABench.AddCases(Group);
    Group.Measure;
    for Kind := Low(Kind) to High(Kind) do
      Median[Kind] := Group.Median(TDeclarationBench.CaseName(Kind));
    WriteLn;
    WriteLn(Group.Title);
    WriteLn('  ', ABench.DescribeChain);
    WriteLn(Format('  %-11s %10s %7s %8s %8s %8s %10s %9s  %s', ['case', 'ns/op', 'IQR', 'x TComp',
      'x TEdit', 'features', 'ns/feature', 'heap B', 'what one operation does']));
    for Kind := Low(Kind) to High(Kind) do
    begin
      Features := ABench.Features(Kind);
      FeatureText := '-';
      PerFeature := '-';
      if Features > 0 then
      begin
        FeatureText := IntToStr(Features);
        PerFeature := Format('%.2f', [Median[Kind] / Features]);
      end;
      WriteLn(Format('  %-11s %10.1f %6.1f%% %8.2f %8.3f %8s %10s %9.0f  %s',
        [TDeclarationBench.CaseName(Kind), Median[Kind], Group[Ord(Kind)].Spread,
        Median[Kind] / Median[dkComponent], Median[Kind] / Median[dkEdit], FeatureText,
        PerFeature, ABench.HeapPerObject(Kind, HeapObjects), Group[Ord(Kind)].Note]));
    end;
    WriteLn(Format('  sharing: declaring anew costs %.1fx the shared declaration',
      [Median[dkUnshared] / Median[dkChain]]));
    Features := ABench.Features(dkChain);
    WriteLn(Format('  laziness: making all %d features of one instance costs %.0f ns ' +
      '(%.1f ns each)', [Features, Median[dkChainAll] - Median[dkChain],
      (Median[dkChainAll] - Median[dkChain]) / Features]));
    WriteLn(Format('  first declaration of the chain class (makes the shared prototype): ' +
      '%.1f us once, keeps %d bytes', [ABench.FirstNs / 1000, ABench.PrototypeBytes]));
  finally
    Group.Free;
  end;
end;

{ Return the ratio of case ACase to case ABase in instructions counted by
  callgrind over ACount operations, or in median time when callgrind is
  missing or fails; AHow says which. }
function CountedRatio(AGroup: TBenchGroup; const ACase, ABase: string; ACount: Integer;
  AUseCallgrind: Boolean; out AHow: string): Double;
var
  Counted, Base: Int64;
begin
  Counted := -1;
  Base := -1;
  if AUseCallgrind then
  begin
    Base := CallgrindInstructions(ABase, ACount);
    if Base > 0 then
      Counted := CallgrindInstructions(ACase, ACount);
  end;
  if (Base > 0) and (Counted >= 0) then
  begin
    Result := Counted / Base;
    AHow := Format('callgrind (%d operations: %s %.0f, %s %.0f instructions each):',
      [ACount, ACase, Counted / ACount, ABase, Base / ACount]);
  end
  else
  begin
    Result := AGroup.Median(ACase) / AGroup.Median(ABase);
    AHow := 'from median times:';
  end;
end;

procedure MeasureRealControls(AUseCallgrind: Boolean);
var
  Transfers: TRealTransferBench;
  Plain, Linked: TRealFormBench;
  Group: TBenchGroup;
  Broken, How: string;
  Value: Double;
begin
  Transfers := TRealTransferBench.Create;
  Plain := TRealFormBench.Create(RealPairs, False);
  Linked := TRealFormBench.Create(RealPairs, True);
  Group := NewGroup('Real LCL controls: a TLabel following a TEdit, and forms of such pairs');
  try
    Broken := Transfers.Check;
    Transfers.AddCases(Group);
    Plain.AddCase(Group);
    Linked.AddCase(Group);
    Group.Measure;
    Value := CountedRatio(Group, 'real-shown-link', 'real-shown-hand', RealTransfers,
      AUseCallgrind, How);
    AddFigure('transfer_shown', Value, 3, 1.02, How, 'TEdit.Text -> TLabel.Caption on a ' +
      'shown form: p2p link on OnChange / hand-written OnChange handler (each includes setting ' +
      'the edit''s Text through its widget)');
    Value := CountedRatio(Group, 'real-hidden-link', 'real-hidden-hand', RealTransfers,
      AUseCallgrind, How);
    AddFigure('transfer_hidden', Value, 2, 2.0, How, 'the same on a form never shown, whose ' +
      'controls have no widgets');
    Value := CountedRatio(Group, TRealFormBench.CaseName(RealPairs, True),
      TRealFormBench.CaseName(RealPairs, False), RealFormReads, AUseCallgrind, How);
    AddFigure('formload_real', Value, 2, 1.15, How, Format('reading + connecting a form of %d ' +
      'TEdit/TLabel pairs with a p2p link per pair / the same form without links, its labels ' +
      'holding the captions the links copy',
      [RealPairs]));
    PrintGroup(Group);
    if Broken <> '' then
      WriteLn('  NOTE: these ways did not copy the text, their figures mean nothing:', Broken);
    if Linked.Checked <> '' then
      WriteLn('  NOTE: ', Linked.Checked);
  finally
    Group.Free;
    Linked.Free;
    Plain.Free;
    Transfers.Free;
  end;
end;

procedure RunAll(AUseCallgrind: Boolean);
var
  Declarations: TDeclarationBench;
begin
  Declarations := TDeclarationBench.Create;
  try
    // Before anything declares the chain: its first declaration is a one-off.
    Declarations.MeasureFirst;
    WriteLn(Format('Orvane Suite benchmark: medians of %d samples of ~%d ms per case; ' +
      'the cases of a group interleaved', [SampleCount, SampleNs div 1000000]));
    MeasureTransfers(AUseCallgrind);
    MeasureTrace(AUseCallgrind);
    MeasureInfos(AUseCallgrind);
    MeasureEvents(AUseCallgrind);
    MeasureForms(AUseCallgrind);
    MeasureRealControls(AUseCallgrind);
    MeasureDeclarations(Declarations);
    // Last: it pads the registry for the rest of the run.
    MeasureFind(AUseCallgrind);
    WriteLn;
    PrintFigures;
  finally
    Declarations.Free;
  end;
end;

procedure RunSeries;
var
  Benches: TFPList;
  Group: TBenchGroup;
  I: Integer;
  Plain, Linked: Double;
begin
  Benches := TFPList.Create;
  Group := TBenchGroup.Create('form-load series', SeriesSamples, SeriesSampleNs);
  try
    AddFormBenches(Group, Benches, SeriesPairs, [bfPlain, bfLinked]);
    Group.Measure;
    WriteLn('links,edits,without_links_ms,with_links_ms,per_link_us');
    for I := 0 to High(SeriesPairs) do
    begin
      Plain := Group.Median(TFormBench.CaseName(SeriesPairs[I], bfPlain));
      Linked := Group.Median(TFormBench.CaseName(SeriesPairs[I], bfLinked));
      if SeriesPairs[I] = 0 then
        WriteLn(Format('0,0,%.4f,%.4f,', [Plain / 1e6, Linked / 1e6]))
      else
        WriteLn(Format('%d,%d,%.4f,%.4f,%.3f', [SeriesPairs[I], 2 * SeriesPairs[I], Plain / 1e6,
          Linked / 1e6, (Linked - Plain) / SeriesPairs[I] / 1000]));
    end;
  finally
    Group.Free;
    FreeBenches(Benches);
  end;
end;

{ Run case AName ACount times, after one operation outside the count. }
procedure RunOne(const AName: string; ACount: Integer);
var
  Group: TBenchGroup;
  Owned: TFPList;
  Declarations: TDeclarationBench;
  Transfers: TTransferBench;
  Infos: TInfoBench;
  Events: TEventBench;
  Find: TFindBench;
  Trace: TTraceBench;
  Real: TRealTransferBench;
  RealForms: array[Boolean] of TRealFormBench;
  BenchCase: TBenchCase;
  Elapsed: Int64;
begin
  Owned := TFPList.Create;
  Real := nil;
  RealForms[False] := nil;
  RealForms[True] := nil;
  Group := TBenchGroup.Create('', 1, 1);
  Declarations := nil;
  Transfers := nil;
  Infos := nil;
  Events := nil;
  Find := nil;
  Trace := nil;
  try
    Declarations := TDeclarationBench.Create;
    Declarations.AddCases(Group);
    Transfers := TTransferBench.Create;
    Transfers.AddCases(Group);
    Infos := TInfoBench.Create;
    Infos.AddCases(Group);
    Events := TEventBench.Create;
    Events.AddCases(Group);
    Find := TFindBench.Create;
    Find.AddCases(Group);
    Trace := TTraceBench.Create;
    Trace.AddCases(Group);
    AddFormBenches(Group, Owned, SeriesPairs, [bfPlain, bfLinked, bfInert, bfControls]);
    // Real controls only when asked for: they open a window.
    if Copy(AName, 1, 4) = 'real' then
    begin
      Real := TRealTransferBench.Create;
      Real.AddCases(Group);
      RealForms[False] := TRealFormBench.Create(RealPairs, False);
      RealForms[False].AddCase(Group);
      RealForms[True] := TRealFormBench.Create(RealPairs, True);
      RealForms[True].AddCase(Group);
    end;
    BenchCase := Group.Find(AName);
    // Outside the collected range: one-off costs of the first operation.
    BenchCase.Run(1);
    Elapsed := NowNs;
    RunCounted(BenchCase.Run, ACount);
    Elapsed := NowNs - Elapsed;
    WriteLn(Format('%s: %d operations, %.1f ns each', [AName, ACount, Elapsed / ACount]));
  finally
    RealForms[True].Free;
    RealForms[False].Free;
    Real.Free;
    Trace.Free;
    Find.Free;
    Events.Free;
    Infos.Free;
    Transfers.Free;
    Declarations.Free;
    Group.Free;
    FreeBenches(Owned);
  end;
end;

var
  CaseName: string;
begin
  Application.Initialize;
  CaseName := Application.GetOptionValue('case');
  if CaseName <> '' then
    RunOne(CaseName, StrToIntDef(Application.GetOptionValue('count'), DefaultCount))
  else if Application.HasOption('series') then
    RunSeries
  else
    RunAll(not Application.HasOption('no-callgrind'));
end.
