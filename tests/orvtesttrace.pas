{ The trace of what links do: each kind of step with its sides, values and
  outcome, links read from a form file, silence once it is off, and a
  handler that raises or frees the link it is told about. }
unit Orvtesttrace;

{$I orvdefines.inc}

interface

uses
  Classes, SysUtils, fpcunit, testregistry,
  Orvconlist, Orvp2p, Orve2p, Orve2m, Orvtrace,
  Orvtestfixtures, Orvtestconlist, Orvtestdiagnostics;

type
  TTraceAction = procedure of object;

  { Three edits A, B and C on a root named Form1, traced to FLines. }
  TTestTrace = class(TTestCase)
  private
    FRoot: TComponent;
    FA, FB, FC: TTestEdit;
    FLines: TStringList;
    FLog: TorvTraceLog;
    { What the freeing handler does: free FVictim at the first step
      FFreeAt of it, raise at every step when FRaise. }
    FVictim: TorvConnection;
    FFreeAt: TorvTraceStep;
    FRaise: Boolean;
    function NewCopy(const AName, ASource, ATarget: string; AEvents: Boolean): TorvP2PConnection;
    function NewAssign(const AName: string): TorvE2PConnection;
    function NewCall(const AName, AMethod: string): TorvE2MConnection;
    { Assert that the lines traced since the last call are AExpected. }
    procedure Expect(const AWhat: string; const AExpected: array of string);
    procedure Fire;
    procedure AppendToA;
    procedure ConnectVictim;
    procedure RefuseForVictim;
    procedure Boom(Sender: TObject);
    { Record AEntry, then free the victim or raise as set above. }
    procedure Meddle(const AEntry: TorvTraceEntry);
    { Trace to Meddle, free the link ALink at its first step AStep run by
      AAction, and assert that nothing else went and the log ends in AEnd. }
    procedure ExpectFreedAt(ALink: TorvConnection; AStep: TorvTraceStep; AAction: TTraceAction;
      const AEnd: string);
  protected
    procedure SetUp; override;
    procedure TearDown; override;
  published
    procedure TestCopiesAndEchoes;
    procedure TestLongValuesAreShortened;
    procedure TestAssignmentsAndCalls;
    procedure TestErrorsKeepTheLinksOwnOutcome;
    procedure TestFormFileConnectsAndRefusals;
    procedure TestOffReportsNothing;
    procedure TestLoopIsReportedToItsEnd;
    procedure TestHandlerMayFreeTheLink;
    procedure TestRaisingHandlerChangesNothing;
    procedure TestLogWritesAStream;
  end;

implementation

type
  { Registered for form files, with no binding. }
  TTraceThing = class(TComponent);

{ TTestTrace }

procedure TTestTrace.SetUp;

  function NewEdit(const AName: string): TTestEdit;
  begin
    Result := TTestEdit.Create(FRoot);
    Result.Name := AName;
  end;

begin
  FRoot := TTestRoot.Create(nil);
  FRoot.Name := 'Form1';
  FA := NewEdit('A');
  FB := NewEdit('B');
  FC := NewEdit('C');
  FLines := TStringList.Create;
  FLog := TorvTraceLog.Create(FLines);
  FLog.Start;
  FVictim := nil;
  FRaise := False;
end;

procedure TTestTrace.TearDown;
begin
  StopLinkTrace;
  FreeAndNil(FRoot);
  FreeAndNil(FLog);
  FreeAndNil(FLines);
end;

function TTestTrace.NewCopy(const AName, ASource, ATarget: string;
  AEvents: Boolean): TorvP2PConnection;
begin
  Result := TorvP2PConnection.Create(FRoot);
  Result.Name := AName;
  Result.Source := FA;
  Result.Target := FB;
  Result.SourceProperty := ASource;
  Result.TargetProperty := ATarget;
  if AEvents then
  begin
    Result.SourceEvent := 'OnChange';
    Result.TargetEvent := 'OnChange';
  end;
end;

function TTestTrace.NewAssign(const AName: string): TorvE2PConnection;
begin
  Result := TorvE2PConnection.Create(FRoot);
  Result.Name := AName;
  Result.Source := FA;
  Result.Target := FC;
  Result.SourceEvent := 'OnChange';
  Result.TargetProperty := 'Text';
  Result.ValueConstant := 'k';
end;

function TTestTrace.NewCall(const AName, AMethod: string): TorvE2MConnection;
begin
  Result := TorvE2MConnection.Create(FRoot);
  Result.Name := AName;
  Result.Source := FA;
  Result.Target := FC;
  Result.SourceEvent := 'OnValidate';
  Result.TargetMethod := AMethod;
end;

procedure TTestTrace.Expect(const AWhat: string; const AExpected: array of string);
var
  I: Integer;
begin
  for I := 0 to High(AExpected) do
    if I < FLines.Count then
      AssertEquals(Format('%s, line %d', [AWhat, I]), AExpected[I], FLines[I]);
  AssertEquals(AWhat + ': lines in ' + FLines.Text, Length(AExpected), FLines.Count);
  FLines.Clear;
end;

procedure TTestTrace.Fire;
var
  Text: string;
begin
  Text := 'ev';
  FA.Validate(Text);
end;

procedure TTestTrace.AppendToA;
begin
  FA.Text := FA.Text + '+';
end;

procedure TTestTrace.ConnectVictim;
begin
  FVictim.Connect;
end;

procedure TTestTrace.RefuseForVictim;
var
  Thing: TTraceThing;
begin
  Thing := TTraceThing.Create(FRoot);
  Thing.Name := 'Thing';
  try
    FVictim.Target := Thing;
    Fail('a component without binding was taken');
  except
    on E: EorvLinkError do
      AssertEquals('This is a not Orvane component!', E.Message);
  end;
end;

procedure TTestTrace.Boom(Sender: TObject);
begin
  raise Exception.Create('boom');
end;

procedure TTestTrace.Meddle(const AEntry: TorvTraceEntry);
begin
  FLines.Add(TraceEntryText(AEntry));
  if (FVictim <> nil) and (AEntry.Step = FFreeAt) and (AEntry.LinkName = FVictim.Name) then
    FreeAndNil(FVictim);
  if FRaise then
    raise Exception.Create('handler failed');
end;

procedure TTestTrace.ExpectFreedAt(ALink: TorvConnection; AStep: TorvTraceStep;
  AAction: TTraceAction; const AEnd: string);
var
  What: string;
begin
  What := Format('%s freed at %d', [ALink.Name, Ord(AStep)]);
  FLines.Clear;
  FVictim := ALink;
  FFreeAt := AStep;
  StartLinkTrace(@Meddle);
  AAction();
  AssertNull(What + ': the link is freed', FVictim);
  AssertEquals(What + ': the last line of ' + FLines.Text, AEnd, FLines[FLines.Count - 1]);
  AssertNotNull(What + ': the rest stays', FRoot.FindComponent('B'));
end;

procedure TTestTrace.TestCopiesAndEchoes;
var
  Copy: TorvP2PConnection;
begin
  FA.Text := 'one';
  Copy := NewCopy('Copy', 'Text', 'Text', True);
  AssertTrue(Copy.Connect);
  // The echo comes back while the first copy is still setting B.
  Expect('connect', ['Form1.Copy connect A.Text -> B.Text: done',
    'Form1.Copy transfer B.Text -> A.Text: dropped (echo of a copy under way)',
    'Form1.Copy transfer A.Text -> B.Text = ''one'': done']);
  FB.Text := 'back';
  Expect('copy back', ['Form1.Copy transfer A.Text -> B.Text: dropped (echo of a copy under way)',
    'Form1.Copy transfer B.Text -> A.Text = ''back'': done']);
  Copy.Free;

  // Typed copies of each kind, and an indexed property through a variant.
  FA.Number := 7;
  AssertTrue(NewCopy('Num', 'Number', 'Number', False).Connect);
  FA.Items[1] := 'it''s';
  NewCopy('Item', 'Items', 'Text', False).SourcePropertyIndex := IndexArray([1]);
  AssertTrue(TorvP2PConnection(FRoot.FindComponent('Item')).Connect);
  Expect('values', ['Form1.Num connect A.Number -> B.Number: done',
    'Form1.Num transfer A.Number -> B.Number = 7: done',
    'Form1.Item connect A.Items -> B.Text: done',
    'Form1.Item transfer A.Items -> B.Text = ''it''s'': done']);
end;

procedure TTestTrace.TestLongValuesAreShortened;
const
  // Two bytes in UTF-8: cut before it, never through it.
  EAcute = #$C3#$A9;
var
  Long: string;
begin
  Long := StringOfChar('x', TraceValueWidth - 1) + EAcute + 'tail';
  FA.Text := Long;
  AssertTrue(NewCopy('Copy', 'Text', 'Text', False).Connect);
  AssertEquals('copied whole', Long, FB.Text);
  FA.Text := 'two' + LineEnding + 'lines';
  AssertTrue(TorvP2PConnection(FRoot.FindComponent('Copy')).Connect);
  Expect('shortened', ['Form1.Copy connect A.Text -> B.Text: done',
    'Form1.Copy transfer A.Text -> B.Text = ''' + StringOfChar('x', TraceValueWidth - 1) +
    '...'': done', 'Form1.Copy connect A.Text -> B.Text: done',
    'Form1.Copy transfer A.Text -> B.Text = ''two\nlines'': done']);
end;

procedure TTestTrace.TestAssignmentsAndCalls;
var
  Call: TorvE2MConnection;
begin
  AssertTrue(NewAssign('Put').Connect);
  FA.Text := 'z';
  AssertEquals('k', FC.Text);
  Expect('assign', ['Form1.Put connect A.OnChange -> C.Text: done',
    'Form1.Put assign A.OnChange -> C.Text = ''k'': done']);
  FRoot.FindComponent('Put').Free;

  Call := NewCall('Call', 'Combine');
  Call.TargetMethodParameters[0].EventParameter := 'Text';
  Call.TargetMethodParameters[0].Options := voEventProperty;
  Call.TargetMethodParameters[1].Constant := '7';
  AssertTrue(Call.Connect);
  FA.Text := '';
  Fire;
  Expect('call', ['Form1.Call connect A.OnValidate -> C.Combine: done',
    'Form1.Call call A.OnValidate -> C.Combine(''ev'', ''7'') = ''ev7'': done']);
  // A procedure has no result; the argument is what went in, not what
  // came back.
  FB.Number := 41;
  Call.TargetMethod := 'Bump';
  Call.TargetMethodParameters[0].Component := FB;
  Call.TargetMethodParameters[0].ComponentProperty := 'Number';
  Call.TargetMethodParameters[0].Options := voComponentProperty;
  Fire;
  AssertEquals(42, FB.Number);
  Expect('procedure', ['Form1.Call call A.OnValidate -> C.Bump(41): done']);
end;

procedure TTestTrace.TestErrorsKeepTheLinksOwnOutcome;
var
  Copy: TorvP2PConnection;
  Call: TorvE2MConnection;
begin
  Copy := NewCopy('Copy', 'Text', 'Text', False);
  FB.OnChange := @Boom;
  FA.Text := 'x';
  try
    Copy.Connect;
    Fail('the failed copy went unnoticed');
  except
    on E: Exception do
      AssertEquals('Exception "boom" occured in connection Copy', E.Message);
  end;
  Expect('copy', ['Form1.Copy connect A.Text -> B.Text: done',
    'Form1.Copy transfer A.Text -> B.Text: error: boom']);

  Call := NewCall('Call', 'Combine');
  Call.TargetMethodParameters[1].ParameterName := 'Nope';
  AssertTrue(Call.Connect);
  try
    Fire;
    Fail('the unresolved parameter went unnoticed');
  except
    on E: EorvInvalidFeature do
      AssertEquals('Invalid parameter connection Call[1]. Unknown method parameter Nope', E.Message);
  end;
  Expect('call', ['Form1.Call connect A.OnValidate -> C.Combine: done',
    'Form1.Call call A.OnValidate -> C.Combine: error: ' +
    'Invalid parameter connection Call[1]. Unknown method parameter Nope']);

  Call.Target := nil;
  AssertFalse(Call.Connect);
  AssertEquals('Form1.Call connect A.OnValidate -> ?: error: ' +
    Format(rsCannotConnect, [Call.Unresolved]), FLines[0]);
end;

procedure TTestTrace.TestFormFileConnectsAndRefusals;
var
  Form: TFailureRoot;
  Text: string;
  Binary, Source: TMemoryStream;
begin
  Text := 'object Form2: TFailureRoot' + LineEnding +
    '  object Edit1: TTestEdit' + LineEnding + '    Text = ''one''' + LineEnding + '  end' + LineEnding +
    '  object Edit2: TTestEdit' + LineEnding + '  end' + LineEnding +
    '  object Panel1: TTraceThing' + LineEnding + '  end' + LineEnding +
    '  object Links: TorvConnectionList' + LineEnding + '    OnConnectFailure = LinkFailed' + LineEnding +
    '    object Misspelt: TorvP2PConnection' + LineEnding + '      Source = Edit1' + LineEnding +
    '      SourceProperty = ''Txt''' + LineEnding + '      Target = Edit2' + LineEnding +
    '      TargetProperty = ''Text''' + LineEnding + '    end' + LineEnding +
    '    object ToRoot: TorvP2PConnection' + LineEnding + '      Source = Edit1' + LineEnding +
    '      SourceProperty = ''Text''' + LineEnding + '      Target = Panel1' + LineEnding +
    '      TargetProperty = ''Text''' + LineEnding + '    end' + LineEnding +
    '    object Copy: TorvP2PConnection' + LineEnding + '      Source = Edit1' + LineEnding +
    '      SourceProperty = ''Text''' + LineEnding + '      Target = Edit2' + LineEnding +
    '      TargetProperty = ''Text''' + LineEnding + '    end' + LineEnding +
    '  end' + LineEnding + 'end' + LineEnding;
  Form := TFailureRoot.Create(nil);
  Binary := TMemoryStream.Create;
  Source := TMemoryStream.Create;
  try
    Source.WriteBuffer(Text[1], Length(Text));
    Source.Position := 0;
    ObjectTextToBinary(Source, Binary);
    Binary.Position := 0;
    Binary.ReadComponent(Form);
    AssertEquals('one', TTestEdit(Form.FindComponent('Edit2')).Text);
    AssertEquals('refused while read, then not connected', 'Form2.ToRoot refuse ?.Text -> ?.Text: ' +
      'refused: Target Panel1 (TTraceThing): This is a not Orvane component!', FLines[0]);
    AssertEquals('Form2.Misspelt connect Edit1.Txt -> Edit2.Text: error: ' +
      Format(rsCannotConnect, [TorvConnection(Form.FindComponent('Misspelt')).Unresolved]), FLines[1]);
    AssertTrue('the reason names the misspelt property: ' + FLines[1], Pos('Txt', FLines[1]) > 0);
    AssertEquals('Form2.ToRoot connect Edit1.Text -> ?.Text: error: ' +
      Format(rsCannotConnect, [TorvConnection(Form.FindComponent('ToRoot')).Unresolved]), FLines[2]);
    AssertEquals('Form2.Copy transfer Edit1.Text -> Edit2.Text = ''one'': done', FLines[4]);
    AssertEquals(5, FLines.Count);
  finally
    Source.Free;
    Binary.Free;
    Form.Free;
  end;
end;

procedure TTestTrace.TestOffReportsNothing;
var
  Call: TorvE2MConnection;
begin
  AssertTrue(LinkTraceActive);
  StopLinkTrace;
  AssertFalse(LinkTraceActive);
  AssertTrue(NewCopy('Copy', 'Text', 'Text', True).Connect);
  AssertTrue(NewAssign('Put').Connect);
  Call := NewCall('Call', 'Combine');
  Call.TargetMethodParameters[1].ParameterName := 'Nope';
  AssertTrue(Call.Connect);
  FA.Text := 'quiet';
  AssertEquals('quiet', FB.Text);
  AssertEquals('k', FC.Text);
  try
    Fire;
  except
    on E: EorvInvalidFeature do ;
  end;
  Expect('off', []);
  // A log freed while it is the handler stops the trace with it.
  FLog.Start;
  AssertTrue(LinkTraceActive);
  FreeAndNil(FLog);
  AssertFalse(LinkTraceActive);
  FA.Text := 'still quiet';
  Expect('log gone', []);
end;

procedure TTestTrace.TestHandlerMayFreeTheLink;
begin
  FA.Text := 'first';
  ExpectFreedAt(NewCopy('Copy', 'Text', 'Text', True), tsConnect, @ConnectVictim,
    'Form1.Copy connect A.Text -> B.Text: done');
  AssertEquals('no first copy of a freed link', '', FB.Text);
  FA.Text := '';
  // Refused the same, whether the report freed the link or not.
  ExpectFreedAt(NewCopy('Copy', 'Text', 'Text', False), tsRefuse, @RefuseForVictim,
    'Form1.Copy refuse A.Text -> B.Text: refused: Target Thing (TTraceThing): ' +
    'This is a not Orvane component!');
  // Freed by the report of the echo, inside the copy that caused it.
  AssertTrue(NewCopy('Copy', 'Text', 'Text', True).Connect);
  ExpectFreedAt(FRoot.FindComponent('Copy') as TorvConnection, tsEcho, @AppendToA,
    'Copy transfer: link freed during the step');
  AssertTrue(NewCopy('Copy', 'Text', 'Text', True).Connect);
  ExpectFreedAt(FRoot.FindComponent('Copy') as TorvConnection, tsTransfer, @AppendToA,
    'Form1.Copy transfer A.Text -> B.Text = ''++'': done');
  AssertTrue(NewAssign('Put').Connect);
  ExpectFreedAt(FRoot.FindComponent('Put') as TorvConnection, tsAssign, @AppendToA,
    'Form1.Put assign A.OnChange -> C.Text = ''k'': done');
  NewCall('Call', 'Combine').TargetMethodParameters[0].Constant := 'x';
  TorvE2MConnection(FRoot.FindComponent('Call')).TargetMethodParameters[1].Constant := '5';
  AssertTrue(TorvConnection(FRoot.FindComponent('Call')).Connect);
  ExpectFreedAt(FRoot.FindComponent('Call') as TorvConnection, tsCall, @Fire,
    'Form1.Call call A.OnValidate -> C.Combine(''x'', ''5'') = ''x5'': done');
end;

procedure TTestTrace.TestLoopIsReportedToItsEnd;

  procedure Put(const AName: string; ASource, ATarget: TTestEdit);
  var
    Link: TorvE2PConnection;
  begin
    Link := NewAssign(AName);
    Link.Source := ASource;
    Link.Target := ATarget;
    Link.SourceEvent := 'OnChange';
    Link.TargetProperty := 'Items';
    Link.TargetPropertyIndex := IndexArray([0]);
    AssertTrue(Link.Connect);
  end;

const
  Prefix = 'Form1.AtoB assign A.OnChange -> B.Items: error: ';
var
  Message, Last: string;
begin
  // Items fires OnChange at every assignment: two links that set each
  // other's Items loop until the re-entry limit stops them.
  Put('AtoB', FA, FB);
  Put('BtoA', FB, FA);
  FLines.Clear;
  Message := '';
  try
    FA.Items[0] := 'go';
  except
    on E: Exception do
      Message := E.Message;
  end;
  AssertTrue('the loop is stopped: ' + Message, Pos('re-entered itself', Message) > 0);
  // Each level of the loop is reported as it unwinds, ending with the
  // first link, whose firing started it.
  AssertTrue('every level reported', FLines.Count >= 2 * 64 - 1);
  Last := FLines[FLines.Count - 1];
  AssertEquals(Prefix, Copy(Last, 1, Length(Prefix)));
  AssertTrue(Last, Pos('re-entered itself', Last) > 0);
end;

procedure TTestTrace.TestRaisingHandlerChangesNothing;
var
  Before: Integer;
begin
  Before := TraceHandlerFailures;
  FRaise := True;
  StartLinkTrace(@Meddle);
  AssertTrue(NewCopy('Copy', 'Text', 'Text', True).Connect);
  FA.Text := 'on';
  AssertEquals('on', FB.Text);
  AssertTrue(NewAssign('Put').Connect);
  FA.Text := 'again';
  AssertEquals('k', FC.Text);
  AssertTrue('reports were made', FLines.Count > 0);
  AssertEquals('and every failure counted', FLines.Count, TraceHandlerFailures - Before);
end;

procedure TTestTrace.TestLogWritesAStream;
var
  Stream: TStringStream;
  Log: TorvTraceLog;
begin
  Stream := TStringStream.Create('');
  try
    Log := TorvTraceLog.CreateStream(Stream, False);
    try
      Log.Start;
      FA.Text := 'a';
      AssertTrue(NewCopy('Copy', 'Text', 'Text', False).Connect);
    finally
      Log.Free;
    end;
    AssertEquals('Form1.Copy connect A.Text -> B.Text: done' + LineEnding +
      'Form1.Copy transfer A.Text -> B.Text = ''a'': done' + LineEnding, Stream.DataString);
  finally
    Stream.Free;
  end;
end;

initialization
  RegisterClass(TTraceThing);
  RegisterTest('Links', TTestTrace);
end.
