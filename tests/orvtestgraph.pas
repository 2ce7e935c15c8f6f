{ The link graph: what orvgraph reports for the sample forms and the link
  application's form, and the rule of feedback on forms written around it
  (a two-way link's own echo, user-action events, method calls, one file
  never reaching into another); and the program's exit codes and options,
  which a CI relies on. }
unit Orvtestgraph;

{$I orvdefines.inc}

interface

uses
  Classes, SysUtils, Process, fpcunit, testregistry,
  Orvlfm, Orvlinkgraph;

type
  TTestLinkGraph = class(TTestCase)
  private
    FGraph: TorvLinkGraph;
    procedure AddLinks(const ALinks: string; const AFileName: string = 'f.lfm');
    procedure ExpectFindings(ALoops, AConflicts, ANotes: Integer; const AFragments: array of string);
    procedure ExpectLinks(const ALinks: string; ALoops, AConflicts, ANotes: Integer;
      const AFragments: array of string);
    procedure ExpectSample(const AFileName: string; ALoops, AConflicts: Integer;
      const AFragments: array of string);
  protected
    procedure SetUp; override;
    procedure TearDown; override;
  published
    procedure TestSamples;
    procedure TestLinkAppFormIsClean;
    procedure TestTwoWayLinkAloneIsNoLoop;
    procedure TestLoopThroughTwoWayLinkNamesTheOtherLink;
    procedure TestWhatAWriteMayFire;
    procedure TestMethodCallsFireEveryEvent;
    procedure TestSilentLinks;
    procedure TestFilesAreSeparate;
    procedure TestDrawing;
    procedure TestBadTextAddsNothing;
  end;

  TTestGraphCommand = class(TTestCase)
  private
    FOutFile: string;
    function Run(const AArgs: array of string; out AOutput: string; ANoDot: Boolean = False): Integer;
    procedure ExpectRun(const AArgs: array of string; ACode: Integer; const AFragment: string;
      ANoDot: Boolean = False);
  protected
    procedure SetUp; override;
    procedure TearDown; override;
  published
    procedure TestExitCodes;
    procedure TestOutFileHoldsTheDrawing;
    procedure TestPictureWithoutDot;
  end;

implementation

function P2P(const AName, ASource, ASourceProp, ASourceEvent, ATarget, ATargetProp,
  ATargetEvent: string): string;
begin
  Result := '    object ' + AName + ': TorvP2PConnection' + LineEnding +
    '      Source = ' + ASource + LineEnding +
    '      Target = ' + ATarget + LineEnding +
    '      SourceProperty = ''' + ASourceProp + '''' + LineEnding +
    '      TargetProperty = ''' + ATargetProp + '''' + LineEnding;
  if ASourceEvent <> '' then
    Result := Result + '      SourceEvent = ''' + ASourceEvent + '''' + LineEnding;
  if ATargetEvent <> '' then
    Result := Result + '      TargetEvent = ''' + ATargetEvent + '''' + LineEnding;
  Result := Result + '    end' + LineEnding;
end;

function E2P(const AName, ASource, ASourceEvent, ATarget, ATargetProp: string): string;
begin
  Result := '    object ' + AName + ': TorvE2PConnection' + LineEnding +
    '      Source = ' + ASource + LineEnding +
    '      Target = ' + ATarget + LineEnding +
    '      TargetProperty = ''' + ATargetProp + '''' + LineEnding;
  if ASourceEvent <> '' then
    Result := Result + '      SourceEvent = ''' + ASourceEvent + '''' + LineEnding;
  Result := Result + '    end' + LineEnding;
end;

function E2M(const AName, ASource, ASourceEvent, ATarget, AMethod: string): string;
begin
  Result := '    object ' + AName + ': TorvE2MConnection' + LineEnding +
    '      Source = ' + ASource + LineEnding +
    '      SourceEvent = ''' + ASourceEvent + '''' + LineEnding +
    '      Target = ' + ATarget + LineEnding +
    '      TargetMethod = ''' + AMethod + '''' + LineEnding +
    '    end' + LineEnding;
end;

function SamplePath(const AName: string): string;
begin
  Result := ExtractFilePath(ParamStr(0)) + '../' + AName;
end;

{ TTestLinkGraph }

procedure TTestLinkGraph.SetUp;
begin
  FGraph := TorvLinkGraph.Create;
end;

procedure TTestLinkGraph.TearDown;
begin
  FreeAndNil(FGraph);
end;

procedure TTestLinkGraph.AddLinks(const ALinks: string; const AFileName: string);
begin
  FGraph.AddFormText('object F: TForm' + LineEnding +
    '  object Edit1: TEdit' + LineEnding + '  end' + LineEnding +
    '  object Links: TorvConnectionList' + LineEnding + ALinks +
    '  end' + LineEnding + 'end' + LineEnding, AFileName);
end;

procedure TTestLinkGraph.ExpectFindings(ALoops, AConflicts, ANotes: Integer;
  const AFragments: array of string);
var
  Text: string;
  I: Integer;
begin
  Text := FGraph.Report.Text;
  AssertEquals('loops in' + LineEnding + Text, ALoops, FGraph.Counts.Loops);
  AssertEquals('conflicts in' + LineEnding + Text, AConflicts, FGraph.Counts.Conflicts);
  AssertEquals('notes in' + LineEnding + Text, ANotes, FGraph.Counts.Notes);
  AssertEquals(Text, ALoops + AConflicts + ANotes, FGraph.Report.Count);
  for I := 0 to High(AFragments) do
    AssertTrue('"' + AFragments[I] + '" not in' + LineEnding + Text, Pos(AFragments[I], Text) > 0);
end;

procedure TTestLinkGraph.ExpectLinks(const ALinks: string; ALoops, AConflicts, ANotes: Integer;
  const AFragments: array of string);
begin
  FreeAndNil(FGraph);
  FGraph := TorvLinkGraph.Create;
  AddLinks(ALinks);
  ExpectFindings(ALoops, AConflicts, ANotes, AFragments);
end;

procedure TTestLinkGraph.ExpectSample(const AFileName: string; ALoops, AConflicts: Integer;
  const AFragments: array of string);
begin
  FreeAndNil(FGraph);
  FGraph := TorvLinkGraph.Create;
  FGraph.AddFormFile(SamplePath(AFileName));
  ExpectFindings(ALoops, AConflicts, 0, AFragments);
end;

procedure TTestLinkGraph.TestSamples;
begin
  ExpectSample('tools/graph/samples/loop.lfm', 1, 0,
    ['loop.lfm: loop: CopyFirst -> CopySecond -> CopyFirst',
     'SecondEdit.Text fires SecondEdit.OnChange', 'FirstEdit.Text fires FirstEdit.OnChange',
     'it ends after one round, as a P2P link drops what comes back while it copies (CopyFirst, CopySecond)']);
  ExpectSample('tools/graph/samples/doublewriter.lfm', 0, 1,
    ['doublewriter.lfm: conflict: GreetingLabel.Caption is written by ShowName, ShowCity']);
  ExpectSample('tools/graph/samples/clean.lfm', 0, 0, []);
end;

procedure TTestLinkGraph.TestLinkAppFormIsClean;
begin
  // A check box's link enables a button whose click runs an action: writing
  // Enabled must not count as a click.
  ExpectSample('examples/orvlinkappform.lfm', 0, 0, []);
  AssertEquals(8, FGraph.Counts.Links);
end;

procedure TTestLinkGraph.TestTwoWayLinkAloneIsNoLoop;
begin
  ExpectLinks(P2P('Both', 'Bar', 'Position', 'OnChange', 'Edit1', 'Text', 'OnChange'), 0, 0, 0, []);
  // Its echo back onto its own source is dropped as well.
  ExpectLinks(P2P('Self', 'Edit1', 'Text', 'OnChange', 'Edit1', 'Hint', ''), 0, 0, 0, []);
  // Any other link on its own feeds itself.
  ExpectLinks(E2P('Echo', 'Edit1', 'OnChange', 'Edit1', 'Text'), 1, 0, 0,
    ['loop: Echo -> Echo (Edit1.Text fires Edit1.OnChange); no P2P link in it drops what comes back']);
end;

procedure TTestLinkGraph.TestLoopThroughTwoWayLinkNamesTheOtherLink;
begin
  // The shortest cycle is the two-way link's own echo; the loop reported
  // must go through the link that makes it one.
  ExpectLinks(P2P('Both', 'Bar', 'Position', 'OnChange', 'Edit1', 'Text', 'OnChange') +
    E2P('Reset', 'Edit1', 'OnChange', 'Bar', 'Max'), 1, 0, 0,
    ['loop: Both -> Reset -> Both (Edit1.Text fires Edit1.OnChange; Bar.Max fires Bar.OnChange)',
     'also in this loop: Both (back)', 'while it copies (Both)']);
  AssertTrue(FGraph.Report.Text, Pos('Both -> Both', FGraph.Report.Text) = 0);
end;

procedure TTestLinkGraph.TestWhatAWriteMayFire;
begin
  ExpectLinks(E2P('Fill', 'Button1', 'OnClick', 'Edit1', 'Text') +
    P2P('Title', 'Edit1', 'Text', 'OnChange', 'Button1', 'Caption', ''), 0, 0, 0, []);
  ExpectLinks(E2P('Fill', 'Box', 'OnClick', 'Edit1', 'Text') +
    P2P('Tick', 'Edit1', 'Text', 'OnChange', 'Box', 'Checked', ''), 1, 0, 0,
    ['loop: Fill -> Tick -> Fill (Edit1.Text fires Edit1.OnChange; Box.Checked fires Box.OnClick)']);
  // Component names ignore letter case, as the form reader does.
  ExpectLinks(E2P('Up', 'edit1', 'OnChange', 'Edit2', 'Text') +
    E2P('Down', 'EDIT2', 'OnChange', 'Edit1', 'Text'), 1, 0, 0, ['loop: Up -> Down -> Up']);
end;

procedure TTestLinkGraph.TestMethodCallsFireEveryEvent;
begin
  ExpectLinks(E2M('Run', 'Button1', 'OnClick', 'Action1', 'Execute') +
    E2M('Press', 'Action1', 'OnExecute', 'Button1', 'Click') +
    E2P('Unrelated', 'Edit1', 'OnChange', 'Edit2', 'Text'), 1, 0, 0,
    ['loop: Run -> Press -> Run (Action1.Execute() fires Action1.OnExecute; ' +
     'Button1.Click() fires Button1.OnClick)']);
  AssertTrue(Pos('Unrelated', FGraph.Report.Text) = 0);
end;

procedure TTestLinkGraph.TestSilentLinks;
begin
  // A P2P link without events still copies at connect, so it writes; an
  // E2P link without an event writes nothing.
  ExpectLinks(P2P('Once', 'Edit1', 'Text', '', 'Label1', 'Caption', '') +
    E2P('Never', 'Edit1', '', 'Label1', 'Caption') +
    P2P('Follow', 'Edit2', 'Text', 'OnChange', 'Label1', 'Caption', ''), 0, 1, 2,
    ['note: Once copies once', 'note: Never never fires', 'Label1.Caption is written by Once, Follow']);
  // What an inherited link leaves out may be set in its ancestor form.
  ExpectLinks(StringReplace(E2P('Inherited', 'Edit1', '', 'Label1', 'Caption'), 'object', 'inherited', []),
    0, 0, 0, []);
  // One link writing a property both ways is not two writers.
  ExpectLinks(P2P('Both', 'Edit1', 'Text', 'OnChange', 'Edit1', 'Text', 'OnChange'), 0, 0, 0, []);
  FreeAndNil(FGraph);
  FGraph := TorvLinkGraph.Create;
  FGraph.AddFormText('object F: TForm' + LineEnding + E2P('Loose', 'A', 'OnChange', 'A', 'Text') +
    'end', 'f.lfm');
  ExpectFindings(0, 0, 1, ['note: Loose is not in a connection list']);
end;

procedure TTestLinkGraph.TestFilesAreSeparate;
begin
  AddLinks(P2P('CopyFirst', 'A', 'Text', 'OnChange', 'B', 'Text', ''), 'a.lfm');
  AddLinks(P2P('CopySecond', 'B', 'Text', 'OnChange', 'A', 'Text', '') +
    P2P('Other', 'C', 'Text', 'OnChange', 'A', 'Text', ''), 'b.lfm');
  ExpectFindings(0, 1, 0, ['b.lfm: conflict: A.Text is written by CopySecond, Other']);
  AssertEquals(3, FGraph.Counts.Links);
end;

procedure TTestLinkGraph.TestDrawing;
var
  Dot: TStringList;
  I, Edges: Integer;
begin
  AddLinks(P2P('Both', 'Bar', 'Position', 'OnChange', 'Edit1', 'Text', 'OnChange') +
    E2P('Up', 'Edit2', 'OnChange', 'Edit3', 'Text') +
    E2P('Down', 'Edit3', 'OnChange', 'Edit2', 'Text'));
  Dot := TStringList.Create;
  try
    FGraph.WriteDot(Dot);
    AssertEquals('digraph orvlinks {', Dot[0]);
    AssertEquals('}', Dot[Dot.Count - 1]);
    Edges := 0;
    for I := 0 to Dot.Count - 1 do
      if Pos('" -> "', Dot[I]) > 0 then
      begin
        Inc(Edges);
        AssertEquals(Dot[I], Pos('label="Both', Dot[I]) > 0, Pos('dir=both', Dot[I]) > 0);
        AssertEquals(Dot[I], Pos('label="Both', Dot[I]) = 0, Pos('color=red', Dot[I]) > 0);
      end;
    AssertEquals(Dot.Text, 3, Edges);
    // Edit1 is declared in the file: its node shows its class.
    AssertTrue(Dot.Text, Pos('"0:edit1" [label="Edit1\nTEdit"]', Dot.Text) > 0);
    AssertTrue(Dot.Text, Pos('"0:bar" [label="Bar"]', Dot.Text) > 0);
  finally
    Dot.Free;
  end;
end;

procedure TTestLinkGraph.TestBadTextAddsNothing;
begin
  AddLinks(E2P('Echo', 'Edit1', 'OnChange', 'Edit1', 'Text'));
  try
    FGraph.AddFormText('object F: TForm' + LineEnding + '  object Links: TorvConnectionList' +
      LineEnding + E2P('Half', 'A', 'OnChange', 'A', 'Text'), 'bad.lfm');
    Fail('no error for a form without its ends');
  except
    on E: EorvFormFileError do
      AssertTrue(E.Message, Pos('bad.lfm:', E.Message) = 1);
  end;
  ExpectFindings(1, 0, 0, ['f.lfm: loop: Echo -> Echo']);
  AssertEquals(1, FGraph.Counts.Links);
end;

{ TTestGraphCommand }

procedure TTestGraphCommand.SetUp;
begin
  FOutFile := GetTempFileName('', 'orvtestgraph');
end;

procedure TTestGraphCommand.TearDown;
begin
  DeleteFile(FOutFile);
end;

function TTestGraphCommand.Run(const AArgs: array of string; out AOutput: string;
  ANoDot: Boolean): Integer;
var
  Command: TProcess;
  Output: TStringList;
  I: Integer;
begin
  Command := TProcess.Create(nil);
  Output := TStringList.Create;
  try
    Command.Executable := SamplePath('tools/graph/orvgraph');
    AssertTrue(Command.Executable + ' is not built (make test builds it)', FileExists(Command.Executable));
    Command.CurrentDirectory := SamplePath('');
    for I := 0 to High(AArgs) do
      Command.Parameters.Add(AArgs[I]);
    if ANoDot then
      Command.Environment.Add('PATH=' + SamplePath('tests'));
    // Every output here is far below a pipe's buffer, so waiting first
    // cannot block the program.
    Command.Options := [poWaitOnExit, poUsePipes, poStderrToOutPut];
    Command.Execute;
    Output.LoadFromStream(Command.Output);
    AOutput := Output.Text;
    // After waiting, ExitStatus holds the exit code itself.
    Result := Command.ExitStatus;
  finally
    Output.Free;
    Command.Free;
  end;
end;

procedure TTestGraphCommand.ExpectRun(const AArgs: array of string; ACode: Integer;
  const AFragment: string; ANoDot: Boolean);
var
  Output, Args: string;
  I: Integer;
begin
  Args := '';
  for I := 0 to High(AArgs) do
    Args := Args + ' ' + AArgs[I];
  AssertEquals('orvgraph' + Args + LineEnding + Output, ACode, Run(AArgs, Output, ANoDot));
  AssertTrue('"' + AFragment + '" not in the output of orvgraph' + Args + LineEnding + Output,
    Pos(AFragment, Output) > 0);
end;

procedure TTestGraphCommand.TestExitCodes;
begin
  ExpectRun(['--version'], 0, 'orvgraph (Orvane Suite, orvane_d5 ');
  ExpectRun(['--help'], 0, 'Exit code 0: no loop and no conflict');
  ExpectRun([], 2, 'usage: orvgraph');
  ExpectRun(['--bogus', 'tools/graph/samples/clean.lfm'], 2, 'usage: orvgraph');
  ExpectRun(['--out'], 2, 'usage: orvgraph');
  ExpectRun(['--check', 'tools/graph/samples/clean.lfm', 'tools/graph/samples/none.lfm'], 2,
    'none.lfm: cannot be read');
  ExpectRun(['--check', 'tools/graph/samples/loop.lfm'], 1, 'loop: CopyFirst -> CopySecond');
  ExpectRun(['tools/graph/samples/doublewriter.lfm'], 1, 'conflict: GreetingLabel.Caption');
  ExpectRun(['tools/graph/samples/clean.lfm'], 0, '3 links: 0 loops, 0 conflicts, 0 notes');
end;

procedure TTestGraphCommand.TestOutFileHoldsTheDrawing;
var
  Graph: TorvLinkGraph;
  Expected, Written: TStringList;
  Output: string;
begin
  AssertEquals(Output, 1, Run(['--out', FOutFile, 'tools/graph/samples/loop.lfm'], Output));
  // The report goes to standard output then, and the drawing only to the file.
  AssertTrue(Output, Pos('loop: CopyFirst', Output) > 0);
  AssertTrue(Output, Pos('digraph', Output) = 0);
  Graph := TorvLinkGraph.Create;
  Expected := TStringList.Create;
  Written := TStringList.Create;
  try
    Graph.AddFormFile(SamplePath('tools/graph/samples/loop.lfm'));
    Graph.WriteDot(Expected);
    Written.LoadFromFile(FOutFile);
    // The file names differ only by the folder they are given from.
    AssertEquals(StringReplace(Expected.Text, SamplePath(''), '', [rfReplaceAll]), Written.Text);
  finally
    Written.Free;
    Expected.Free;
    Graph.Free;
  end;
end;

procedure TTestGraphCommand.TestPictureWithoutDot;
begin
  ExpectRun(['--svg', FOutFile, 'tools/graph/samples/clean.lfm'], 2,
    '--svg needs the dot program of Graphviz', True);
  ExpectRun(['--png', FOutFile, 'tools/graph/samples/loop.lfm'], 2,
    '--png needs the dot program of Graphviz', True);
  // Without a picture dot is not needed.
  ExpectRun(['--out', FOutFile, 'tools/graph/samples/clean.lfm'], 0, '0 loops', True);
end;

initialization
  RegisterTest('Tools', TTestLinkGraph);
  RegisterTest('Tools', TTestGraphCommand);
end.
