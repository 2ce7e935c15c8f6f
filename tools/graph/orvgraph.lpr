{ Draw the links stored in text form files as a graph, and say which of
  them feed back into themselves, which write the same property, and which
  never fire; without running the application or creating its components.

    orvgraph [--out FILE | --svg FILE | --png FILE | --check] FILE.lfm [...]
    orvgraph --help | --version

  The drawing, in Graphviz DOT, goes to standard output unless --out,
  --svg or --png sends it to a file; the findings then go to standard
  output, otherwise to standard error, so that the DOT text can be piped.
  Exit code 0: no loop and no conflict; 1: a loop or a conflict; 2: a file
  cannot be read or is not a form file, the command line is wrong, or a
  picture was asked for and the dot program is missing or fails. }
program orvgraph;

{$I ../../package/orvdefines.inc}

uses
  Classes, SysUtils, Process,
  Orvlfm, Orvlinkgraph;

resourcestring
  rsUsage = 'usage: orvgraph [--out FILE] [--svg FILE] [--png FILE] [--check] FILE.lfm [FILE2.lfm ...]' +
    ' | --help | --version';
  rsHelp =
    LineEnding +
    'Draws the components and links of text form files as a graph in Graphviz' + LineEnding +
    'DOT: a node per component a link names, an edge per link labelled with its' + LineEnding +
    'kind and names (a P2P link that copies both ways is a two-way edge), and a' + LineEnding +
    'dashed edge from each component a link reads a value from. Links in a loop' + LineEnding +
    'are red, links in a conflict orange, links that never fire dotted.' + LineEnding +
    LineEnding +
    '  --out FILE   write the DOT text to FILE instead of standard output' + LineEnding +
    '  --svg FILE   render the graph to FILE with dot (Debian package graphviz)' + LineEnding +
    '  --png FILE   the same as a PNG picture' + LineEnding +
    '  --check      report only, no drawing' + LineEnding +
    LineEnding +
    'Reports, one line each: "loop:" a chain of links that feeds back into its' + LineEnding +
    'own start; "conflict:" one property of one component written by two links;' + LineEnding +
    '"note:" a P2P link without events copies once, at connect; an E2P or E2M' + LineEnding +
    'link without a SourceEvent never fires; a link outside a connection list' + LineEnding +
    'is never connected. The last line counts them. The report goes to' + LineEnding +
    'standard error while the DOT text goes to standard output, otherwise to' + LineEnding +
    'standard output.' + LineEnding +
    LineEnding +
    'The components are not created, so what may fire what is a rule of thumb:' + LineEnding +
    'a link fires on an event of its source and writes a property (or calls a' + LineEnding +
    'method) of its target. A method call may fire every event of its component.' + LineEnding +
    'A property write may fire every event of its component except those a' + LineEnding +
    'user''s action raises (OnClick, OnDblClick, OnExecute, OnEnter, OnExit,' + LineEnding +
    'OnKey..., OnMouse..., OnDrag..., OnTimer), but writing Checked or State' + LineEnding +
    'fires OnClick. A cycle made of one P2P link alone (a two-way link copying' + LineEnding +
    'back) is not a loop: the link''s updating flag drops its own echo. A loop' + LineEnding +
    'with a P2P link in it ends after one round, at that flag; one of E2P and' + LineEnding +
    'E2M links only runs until the re-entry limit stops it with an error. Both' + LineEnding +
    'are reported. Method parameters taken from properties count as reads, not' + LineEnding +
    'writes: only a var parameter changes the property, which is not seen here.' + LineEnding +
    LineEnding +
    'Exit code 0: no loop and no conflict; 1: a loop or a conflict; 2: a file' + LineEnding +
    'cannot be read or is not a form file, the command line is wrong, or --svg' + LineEnding +
    'or --png was given and dot is not installed or fails.';
  rsVersion = 'orvgraph (Orvane Suite, orvane_d5 %s)';
  rsFileFailed = '%s: %s';
  rsNoDot = 'orvgraph: %s needs the dot program of Graphviz, which is not installed ' +
    '(Debian: apt-get install graphviz); --out FILE writes the DOT text without it';
  rsDotFailed = 'orvgraph: dot could not render %s (exit code %d)';
  rsCannotWrite = 'orvgraph: cannot write %s: %s';

const
  PackageVersion = '1.1';

type
  TOptions = record
    OutFile, SvgFile, PngFile: string;
    CheckOnly: Boolean;
    Files: TStringList;
  end;

{ Take the value of option AName from argument AIndex, as "--name=VALUE" or
  as "--name VALUE"; answer False when AIndex is not that option. }
function TakeValue(const AName: string; var AIndex: Integer; var AValue: string;
  out ABad: Boolean): Boolean;
var
  Arg: string;
begin
  Arg := ParamStr(AIndex);
  ABad := False;
  Result := True;
  if Copy(Arg, 1, Length(AName) + 1) = AName + '=' then
    AValue := Copy(Arg, Length(AName) + 2, MaxInt)
  else if Arg = AName then
  begin
    Inc(AIndex);
    AValue := ParamStr(AIndex);
  end
  else
    Exit(False);
  ABad := (AValue = '') or (AIndex > ParamCount);
end;

{ Read the command line into AOptions; answer the exit code of a command
  line that asks for help or the version or is wrong, or -1 to go on. }
function ReadOptions(var AOptions: TOptions): Integer;
var
  I: Integer;
  Bad: Boolean;
begin
  for I := 1 to ParamCount do
    if (ParamStr(I) = '--help') or (ParamStr(I) = '-h') then
    begin
      WriteLn(rsUsage);
      WriteLn(rsHelp);
      Exit(0);
    end
    else if ParamStr(I) = '--version' then
    begin
      WriteLn(Format(rsVersion, [PackageVersion]));
      Exit(0);
    end;
  Result := -1;
  Bad := False;
  I := 1;
  while (I <= ParamCount) and not Bad do
  begin
    if TakeValue('--out', I, AOptions.OutFile, Bad) or TakeValue('--svg', I, AOptions.SvgFile, Bad) or
      TakeValue('--png', I, AOptions.PngFile, Bad) then
    else if ParamStr(I) = '--check' then
      AOptions.CheckOnly := True
    else if Copy(ParamStr(I), 1, 1) = '-' then
      Bad := True
    else
      AOptions.Files.Add(ParamStr(I));
    Inc(I);
  end;
  if Bad or (AOptions.Files.Count = 0) then
  begin
    WriteLn(ErrOutput, rsUsage);
    Result := 2;
  end;
end;

{ Render the DOT text ADot to AFileName as AFormat with dot; answer whether
  it worked. dot's own messages go straight to standard error. }
function Render(ADot: TStrings; const AFormat, AFileName: string): Boolean;
var
  DotFile: string;
  Dot: TProcess;
begin
  DotFile := GetTempFileName('', 'orvgraph');
  Dot := TProcess.Create(nil);
  try
    ADot.SaveToFile(DotFile);
    Dot.Executable := ExeSearch('dot', GetEnvironmentVariable('PATH'));
    Dot.Parameters.Add('-T' + AFormat);
    Dot.Parameters.Add('-o');
    Dot.Parameters.Add(AFileName);
    Dot.Parameters.Add(DotFile);
    Dot.Options := [poWaitOnExit];
    Dot.Execute;
    // After waiting, ExitStatus holds the exit code itself; ExitCode
    // decodes it a second time and answers 0 for every failure.
    Result := Dot.ExitStatus = 0;
    if not Result then
      WriteLn(ErrOutput, Format(rsDotFailed, [AFileName, Dot.ExitStatus]));
  finally
    Dot.Free;
    DeleteFile(DotFile);
  end;
end;

{ Check before any work that a picture asked for can be drawn. }
function DotMissing(const AOptions: TOptions): Boolean;
begin
  Result := False;
  if ((AOptions.SvgFile <> '') or (AOptions.PngFile <> '')) and
    (ExeSearch('dot', GetEnvironmentVariable('PATH')) = '') then
  begin
    if AOptions.SvgFile <> '' then
      WriteLn(ErrOutput, Format(rsNoDot, ['--svg']))
    else
      WriteLn(ErrOutput, Format(rsNoDot, ['--png']));
    Result := True;
  end;
end;

{ Add every file to AGraph; answer False when one could not be read, having
  said why. One bad file does not keep the others out. }
function AddFiles(AGraph: TorvLinkGraph; AFiles: TStrings): Boolean;
var
  I: Integer;
begin
  Result := True;
  for I := 0 to AFiles.Count - 1 do
    try
      AGraph.AddFormFile(AFiles[I]);
    except
      on E: EorvFormFileError do
      begin
        WriteLn(ErrOutput, E.Message);
        Result := False;
      end;
      on E: Exception do
      begin
        WriteLn(ErrOutput, Format(rsFileFailed, [AFiles[I], E.Message]));
        Result := False;
      end;
    end;
end;

{ Write the drawing where the options say; answer False when it failed. }
function Draw(AGraph: TorvLinkGraph; const AOptions: TOptions): Boolean;
var
  Dot: TStringList;
begin
  Result := True;
  Dot := TStringList.Create;
  try
    AGraph.WriteDot(Dot);
    if AOptions.OutFile <> '' then
      try
        Dot.SaveToFile(AOptions.OutFile);
      except
        on E: Exception do
        begin
          WriteLn(ErrOutput, Format(rsCannotWrite, [AOptions.OutFile, E.Message]));
          Result := False;
        end;
      end;
    if AOptions.SvgFile <> '' then
      Result := Render(Dot, 'svg', AOptions.SvgFile) and Result;
    if AOptions.PngFile <> '' then
      Result := Render(Dot, 'png', AOptions.PngFile) and Result;
    if (AOptions.OutFile = '') and (AOptions.SvgFile = '') and (AOptions.PngFile = '') then
      Write(Dot.Text);
  finally
    Dot.Free;
  end;
end;

procedure WriteReport(AGraph: TorvLinkGraph; var AOut: Text);
var
  I: Integer;
begin
  for I := 0 to AGraph.Report.Count - 1 do
    WriteLn(AOut, AGraph.Report[I]);
  WriteLn(AOut, SummaryLine(AGraph.Counts));
end;

function Run: Integer;
var
  Options: TOptions;
  Graph: TorvLinkGraph;
  Readable, Drawn: Boolean;
begin
  Options := Default(TOptions);
  Options.Files := TStringList.Create;
  Graph := TorvLinkGraph.Create;
  try
    Result := ReadOptions(Options);
    if Result >= 0 then
      Exit;
    if DotMissing(Options) then
      Exit(2);
    Readable := AddFiles(Graph, Options.Files);
    Drawn := True;
    if not Options.CheckOnly then
      Drawn := Draw(Graph, Options);
    // With the DOT text on standard output the findings must not mix in.
    if Options.CheckOnly or (Options.OutFile <> '') or (Options.SvgFile <> '') or
      (Options.PngFile <> '') then
      WriteReport(Graph, Output)
    else
      WriteReport(Graph, ErrOutput);
    if not (Readable and Drawn) then
      Result := 2
    else if (Graph.Counts.Loops > 0) or (Graph.Counts.Conflicts > 0) then
      Result := 1
    else
      Result := 0;
  finally
    Graph.Free;
    Options.Files.Free;
  end;
end;

begin
  ExitCode := Run;
end.
