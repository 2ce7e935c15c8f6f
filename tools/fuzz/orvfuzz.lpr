{ Fuzz the descriptor parser and the form reader with link connection:
  mutated inputs from a fixed seed, run in forked children (see
  Orvfuzzguard), counted by outcome. A crash or a hang is a fault; the run then exits 1 and
  leaves the inputs that caused them in the output folder.

    orvfuzz [--descriptors=N] [--forms=N] [--seed=S] [--timeout=SECONDS] [--batch=N]
            [--out=DIR]

  --batch=1 forks a child for every input (slower by the cost of a fork, a
  few milliseconds here, per input). }
program orvfuzz;

{$I ../../package/orvdefines.inc}

uses
  Classes, SysUtils, DateUtils,
  Interfaces, // the widgetset that the bound control classes need linked
  orvane_d5,
  Orvfuzzmutate, Orvfuzzguard, Orvfuzztargets;

type
  TorvOutcomeCounts = array[TorvOutcome] of Integer;

  TOptions = record
    Descriptors, Forms, Timeout, Batch: Integer;
    Seed: QWord;
    OutDir: string;
  end;

function ReadOptions: TOptions;
var
  I: Integer;
  Name, Value: string;
begin
  Result.Descriptors := 100000;
  Result.Forms := 6000;
  Result.Timeout := 10;
  Result.Batch := DefaultBatchSize;
  Result.Seed := 20261206;
  Result.OutDir := 'tools/fuzz/out';
  for I := 1 to ParamCount do
  begin
    Name := ParamStr(I);
    Value := Copy(Name, Pos('=', Name) + 1, MaxInt);
    Name := Copy(Name, 1, Pos('=', Name) - 1);
    case Name of
      '--descriptors': Result.Descriptors := StrToInt(Value);
      '--forms': Result.Forms := StrToInt(Value);
      '--timeout': Result.Timeout := StrToInt(Value);
      '--batch': Result.Batch := StrToInt(Value);
      '--seed': Result.Seed := StrToQWord(Value);
      '--out': Result.OutDir := Value;
    else
      raise Exception.CreateFmt('unknown option %s', [ParamStr(I)]);
    end;
  end;
end;

procedure SaveInput(const AOptions: TOptions; const ATarget: string; AIndex: Integer;
  AOutcome: TorvOutcome; const AInput: string);
var
  Stream: TFileStream;
begin
  ForceDirectories(AOptions.OutDir);
  Stream := TFileStream.Create(Format('%s/%s-%s-%d.txt', [AOptions.OutDir,
    StringReplace(ATarget, ' ', '-', [rfReplaceAll]), Copy(OutcomeNames[AOutcome], 1, 4),
    AIndex]), fmCreate);
  try
    Stream.WriteBuffer(PChar(AInput)^, Length(AInput));
  finally
    Stream.Free;
  end;
end;

{ Run the seeds once here: whatever is made once per process (shared
  declarations, registry caches) is made before the children fork, so that
  a child's memory count sees only what its input leaves. }
procedure WarmUp(AProc: TorvFuzzProc; ASeeds: TStrings);
var
  I: Integer;
begin
  for I := 0 to ASeeds.Count - 1 do
    try
      AProc(ASeeds[I]);
    except
      on E: Exception do
        ;
    end;
end;

{ Run ACount mutations of ASeeds through AProc; add the outcomes to
  ACounts and answer the number of faults. Inputs are made a chunk at a
  time, so that the children fork from a small parent. }
function Campaign(const AOptions: TOptions; var ARandom: TorvRandom; const ATarget: string;
  AProc: TorvFuzzProc; ASeeds: TStrings; ACount: Integer; const ADictionary: array of string;
  var ACounts: TorvOutcomeCounts): Integer;
const
  ChunkSize = 1000;
  SamplesKept = 20;
var
  Done, I: Integer;
  Inputs: TStringList;
  Outcomes: TorvOutcomes;
  Started: TDateTime;
begin
  Result := 0;
  Started := Now;
  Inputs := TStringList.Create;
  try
    Done := 0;
    while Done < ACount do
    begin
      Inputs.Clear;
      while (Inputs.Count < ChunkSize) and (Done + Inputs.Count < ACount) do
        Inputs.Add(Mutate(ARandom, ASeeds[ARandom.Below(ASeeds.Count)],
          ASeeds[ARandom.Below(ASeeds.Count)], ADictionary));
      Outcomes := RunGuarded(AProc, Inputs, AOptions.Timeout, AOptions.Batch);
      for I := 0 to Inputs.Count - 1 do
      begin
        Inc(ACounts[Outcomes[I]]);
        if Outcomes[I] in [foCrashed, foHung] then
        begin
          Inc(Result);
          SaveInput(AOptions, ATarget, Done + I, Outcomes[I], Inputs[I]);
        end
        else if (Outcomes[I] in [foLeaked, foExhausted]) and (ACounts[Outcomes[I]] <= SamplesKept) then
          // A few, to look at what kept the memory.
          SaveInput(AOptions, ATarget, Done + I, Outcomes[I], Inputs[I]);
      end;
      Inc(Done, Inputs.Count);
    end;
  finally
    Inputs.Free;
  end;
  WriteLn(Format('%-14s %7d inputs in %5.1f s', [ATarget, ACount,
    MilliSecondsBetween(Now, Started) / 1000]));
end;

procedure Report(const ATitle: string; const ACounts: TorvOutcomeCounts);
var
  Outcome: TorvOutcome;
begin
  WriteLn(ATitle);
  for Outcome := Low(Outcome) to High(Outcome) do
    WriteLn(Format('  %-24s %7d', [OutcomeNames[Outcome], ACounts[Outcome]]));
end;

var
  Options: TOptions;
  Rng: TorvRandom;
  DescriptorInputs, TextForms, BinaryForms: TStringList;
  DescriptorCounts, FormCounts: TorvOutcomeCounts;
  Faults, I: Integer;
begin
  Options := ReadOptions;
  Rng.Init(Options.Seed);
  FillChar(DescriptorCounts, SizeOf(DescriptorCounts), 0);
  FillChar(FormCounts, SizeOf(FormCounts), 0);
  DescriptorInputs := DescriptorSeeds;
  TextForms := FormSeeds;
  BinaryForms := TStringList.Create;
  try
    for I := 0 to TextForms.Count - 1 do
      BinaryForms.Add(FormToBinary(TextForms[I]));
    WarmUp(@RunDescriptors, DescriptorInputs);
    WarmUp(@RunTextForm, TextForms);
    WriteLn(Format('seed %d: %d descriptor seeds, %d form seeds', [Options.Seed,
      DescriptorInputs.Count, TextForms.Count]));
    Faults := Campaign(Options, Rng, 'descriptors', @RunDescriptors, DescriptorInputs,
      Options.Descriptors, DescriptorWords, DescriptorCounts);
    Faults := Faults + Campaign(Options, Rng, 'text forms', @RunTextForm, TextForms,
      Options.Forms div 2, FormWords, FormCounts);
    Faults := Faults + Campaign(Options, Rng, 'binary forms', @RunBinaryForm, BinaryForms,
      Options.Forms - Options.Forms div 2, FormWords, FormCounts);
    Report('descriptor mutations:', DescriptorCounts);
    Report('form-file mutations (text and binary):', FormCounts);
    if Faults > 0 then
    begin
      WriteLn(Format('%d crashes or hangs; their inputs are in %s', [Faults, Options.OutDir]));
      ExitCode := 1;
    end
    else
      WriteLn('0 crashes, 0 hangs');
  finally
    BinaryForms.Free;
    TextForms.Free;
    DescriptorInputs.Free;
  end;
end.
