{ What the trace of links costs a transfer.

  With the trace off a link only tests a global at each step, and nothing
  built without those tests runs beside them in the same program to
  subtract. So the cost is counted where it is paid: callgrind counts the
  instructions of each source line, and the lines that test the hook (found
  in the connection units' sources) are added up over the transfers of one
  case. With the trace on, the same transfer reported to a handler that
  does nothing is compared with the transfer with the trace off. }
unit Orvbenchtrace;

{$I orvdefines.inc}

interface

uses
  Classes, SysUtils,
  Orvtrace, Orvbenchsampler, Orvbenchfixtures;

type
  { TTraceBench }

  { A p2p link copying Text between two edits of its own, every operation
    a change, with the trace off or on. }
  TTraceBench = class
  private
    FRoot: TComponent;
    FSource, FTarget: TBenchEdit;
    FValues: array[0..1] of string;
    FTurn: Integer;
    FEntries: Integer;
    procedure Ignore(const AEntry: TorvTraceEntry);
    function Transfer(ACount: Integer): Int64;
    function RunOff(ACount: Integer): Int64;
    function RunNull(ACount: Integer): Int64;
  public
    constructor Create;
    destructor Destroy; override;
    { Add "trace-off" and "trace-null". }
    procedure AddCases(AGroup: TBenchGroup);
    { Return '' when both ways copy and the trace heard the one that is on,
      else what did not. }
    function Check: string;
  end;

{ Run case ACaseName ACount times under callgrind and return the
  instructions run on the lines of the connection units that test the
  trace hook, or -1 when valgrind is missing, the run fails or no such line
  is found; ALines is the number of those lines. }
function HookLineInstructions(const ACaseName: string; ACount: Integer;
  out ALines: Integer): Int64;

implementation

uses
  Process,
  Orvp2p;

const
  { What a hook line tests, in the connection units. }
  HookTests: array[0..1] of string = ('LinkTrace <> nil', 'LinkTrace = nil');
  { The units of the links, beside the benchmark's folder. }
  ConnectionsDir = '../../connections/';

{ TTraceBench }

constructor TTraceBench.Create;
var
  Link: TorvP2PConnection;
begin
  inherited Create;
  FValues[0] := 'first value';
  FValues[1] := 'second value';
  FRoot := TComponent.Create(nil);
  FSource := TBenchEdit.Create(FRoot);
  FSource.Name := 'TraceSource';
  FTarget := TBenchEdit.Create(FRoot);
  FTarget.Name := 'TraceTarget';
  // Owned by the root, which frees it with the edits.
  Link := TorvP2PConnection.Create(FRoot);
  Link.Name := 'TraceLink';
  Link.Source := FSource;
  Link.SourceProperty := 'Text';
  Link.SourceEvent := 'OnChange';
  Link.Target := FTarget;
  Link.TargetProperty := 'Text';
  Link.Connect;
end;

destructor TTraceBench.Destroy;
begin
  StopLinkTrace;
  FRoot.Free;
  inherited Destroy;
end;

procedure TTraceBench.Ignore(const AEntry: TorvTraceEntry);
begin
  Inc(FEntries);
end;

function TTraceBench.Transfer(ACount: Integer): Int64;
var
  I: Integer;
begin
  Result := NowNs;
  // Turned at every operation, the untimed first one included, so that
  // every assignment is a change and fires.
  for I := 1 to ACount do
  begin
    FTurn := 1 - FTurn;
    FSource.Text := FValues[FTurn];
  end;
  Result := NowNs - Result;
end;

function TTraceBench.RunOff(ACount: Integer): Int64;
begin
  StopLinkTrace;
  Result := Transfer(ACount);
end;

function TTraceBench.RunNull(ACount: Integer): Int64;
begin
  StartLinkTrace(@Ignore);
  try
    Result := Transfer(ACount);
  finally
    StopLinkTrace;
  end;
end;

procedure TTraceBench.AddCases(AGroup: TBenchGroup);
begin
  AGroup.Add('trace-off', 'Source.Text := s; p2p link copies Text to Target; trace off',
    @RunOff);
  AGroup.Add('trace-null', 'the same, traced to a handler that does nothing', @RunNull);
end;

function TTraceBench.Check: string;
var
  Entries: Integer;
begin
  Result := '';
  RunOff(1);
  if FTarget.Text <> FSource.Text then
    Result := Result + ' trace-off';
  Entries := FEntries;
  RunNull(1);
  if (FTarget.Text <> FSource.Text) or (FEntries = Entries) then
    Result := Result + ' trace-null';
end;

{ Hook lines }

{ Add to AKeys "unit.pas:line" for each line of the connection units that
  tests the hook; the trace unit itself is left out. }
procedure FindHookLines(AKeys: TStringList);
var
  Dir: string;
  Found: TSearchRec;
  Source: TStringList;
  I, J: Integer;
begin
  Dir := ExtractFilePath(ParamStr(0)) + ConnectionsDir;
  Source := TStringList.Create;
  try
    if FindFirst(Dir + '*.pas', faAnyFile, Found) = 0 then
    try
      repeat
        if Found.Name = 'orvtrace.pas' then
          Continue;
        Source.LoadFromFile(Dir + Found.Name);
        for I := 0 to Source.Count - 1 do
          for J := 0 to High(HookTests) do
            if Pos(HookTests[J], Source[I]) > 0 then
              AKeys.Add(Found.Name + ':' + IntToStr(I + 1));
      until FindNext(Found) <> 0;
    finally
      FindClose(Found);
    end;
  finally
    Source.Free;
  end;
end;

{ Return the instructions of the file OutFile (uncompressed callgrind
  output) on the lines AKeys names. }
function SumLines(const AOutFile: string; AKeys: TStringList): Int64;
var
  Lines: TStringList;
  I, Space: Integer;
  FileName, SubFile, Key, Line: string;
  AfterCall: Boolean;
begin
  Result := 0;
  Lines := TStringList.Create;
  try
    Lines.LoadFromFile(AOutFile);
    FileName := '';
    SubFile := '';
    AfterCall := False;
    for I := 0 to Lines.Count - 1 do
    begin
      Line := Lines[I];
      if Line = '' then
        Continue;
      if Copy(Line, 1, 3) = 'fl=' then
      begin
        FileName := ExtractFileName(Copy(Line, 4, MaxInt));
        SubFile := '';
      end
      else if (Copy(Line, 1, 3) = 'fi=') or (Copy(Line, 1, 3) = 'fe=') then
        SubFile := ExtractFileName(Copy(Line, 4, MaxInt))
      else if Copy(Line, 1, 3) = 'fn=' then
        SubFile := ''
      else if Copy(Line, 1, 6) = 'calls=' then
        AfterCall := True
      else if Line[1] in ['0'..'9'] then
      begin
        // The line after calls= is the cost of the call, not of the line.
        if AfterCall then
        begin
          AfterCall := False;
          Continue;
        end;
        Space := Pos(' ', Line);
        // Code inlined from another file is counted under that file's lines.
        Key := FileName;
        if SubFile <> '' then
          Key := SubFile;
        if AKeys.IndexOf(Key + ':' + Copy(Line, 1, Space - 1)) >= 0 then
          Inc(Result, StrToInt64Def(Trim(Copy(Line, Space + 1, MaxInt)), 0));
      end;
    end;
  finally
    Lines.Free;
  end;
end;

function HookLineInstructions(const ACaseName: string; ACount: Integer;
  out ALines: Integer): Int64;
var
  Keys: TStringList;
  OutFile, Output: string;
begin
  Result := -1;
  ALines := 0;
  if ValgrindPath = '' then
    Exit;
  Keys := TStringList.Create;
  OutFile := GetTempFileName('', 'orvbench-hooks');
  try
    Keys.Sorted := True;
    FindHookLines(Keys);
    ALines := Keys.Count;
    if ALines = 0 then
      Exit;
    if not RunCommand(ValgrindPath, ['--tool=callgrind', '--callgrind-out-file=' + OutFile,
      '--compress-strings=no', '--compress-pos=no', '--collect-atstart=no',
      '--toggle-collect=*RUNCOUNTED*', ParamStr(0), '--case=' + ACaseName,
      '--count=' + IntToStr(ACount)], Output) then
      Exit;
    if FileExists(OutFile) then
      Result := SumLines(OutFile, Keys);
  finally
    DeleteFile(OutFile);
    Keys.Free;
  end;
end;

end.
