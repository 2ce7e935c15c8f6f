{ What a user is told when a name or a link does not work: the nearest
  declared name, the name lists the editors offer, where a link that breaks
  a form sits, the opt-in report that lets the rest of the form load, and a
  link from a variable that waits for its object. }
unit Orvtestdiagnostics;

{$I orvdefines.inc}

interface

uses
  Classes, SysUtils, fpcunit, testregistry,
  Orvcommon, Orvlinknames, Orvconlist, Orvp2p, Orve2p, Orve2m, Orvvar, Orvlinkcheck, Orvmetadump,
  Orvtestfixtures, Orvtestconlist;

type
  { A form whose connection list may report its failures to it. }
  TFailureRoot = class(TTestRoot)
  private
    FFailures: TStringList;
    FFreeReported: Boolean;
    FFreeList: Boolean;
  public
    constructor Create(AOwner: TComponent); override;
    destructor Destroy; override;
    { One line per report: the error's Describe. }
    property Failures: TStringList read FFailures;
    property FreeReported: Boolean read FFreeReported write FFreeReported;
    property FreeList: Boolean read FFreeList write FFreeList;
  published
    procedure LinkFailed(Sender: TorvConnectionList; AConnection: TorvConnection;
      AError: EorvLinkError);
  end;

  TTestLinkNames = class(TTestCase)
  private
    FRoot: TTestRoot;
    procedure ExpectNearest(const AValue: string; const ANames: array of string;
      const AExpected: string);
    function Names(AInfo: TorvClassInfo; AKind: TorvFeatureKind; ANeed: TorvPropertyStyle;
      AAtLeast: TorvPropertyVisibility): string;
  protected
    procedure SetUp; override;
    procedure TearDown; override;
  published
    procedure TestNearestName;
    procedure TestNameListsFilterAndListOnce;
    procedure TestProblemsBeginWithTheSettersRefusal;
  end;

  TTestLoadFailures = class(TTestCase)
  private
    FRoot: TFailureRoot;
    function ReadForm(const AText: string): TFailureRoot;
    function BrokenForm(AReporting: Boolean): string;
  protected
    procedure SetUp; override;
    procedure TearDown; override;
  published
    procedure TestBrokenLinkNamesFormLinkSideAndClass;
    procedure TestReportedFailuresLetTheRestLoad;
    procedure TestCheckerSaysWhatTheLinkSays;
    procedure TestHandlerMayFreeLinksOrTheList;
    procedure TestLinkFreedByItsFirstCopyIsNotReported;
    procedure TestApplicationChecksItsFormsWithItsClasses;
  end;

  TTestInspectorColumns = class(TTestCase)
  published
    procedure TestLongNamesKeepTheColumns;
  end;

  TTestVariableObject = class(TTestCase)
  private
    FRoot: TTestRoot;
    procedure ReadWaitingForm;
  protected
    procedure SetUp; override;
    procedure TearDown; override;
  published
    procedure TestInstanceIsWritingSelf;
    procedure TestLinkFromAnEmptyVariableWaitsForItsObject;
    procedure TestWaitingEndsWithTheVariable;
  end;

implementation

type
  { A component no binding is registered for. }
  TPlainThing = class(TComponent);
  TListAccess = class(TorvConnectionList);

{ Read AText, a text form file, into ARoot at run time. }
procedure ReadFormText(const AText: string; ARoot: TComponent);
var
  Binary, Text: TMemoryStream;
begin
  Binary := TMemoryStream.Create;
  Text := TMemoryStream.Create;
  try
    Text.WriteBuffer(PChar(AText)^, Length(AText));
    Text.Position := 0;
    ObjectTextToBinary(Text, Binary);
    Binary.Position := 0;
    Binary.ReadComponent(ARoot);
  finally
    Text.Free;
    Binary.Free;
  end;
end;

function Lines(const AParts: array of string): string;
var
  I: Integer;
begin
  Result := '';
  for I := 0 to High(AParts) do
    Result := Result + AParts[I] + LineEnding;
end;

{ TFailureRoot }

constructor TFailureRoot.Create(AOwner: TComponent);
begin
  inherited Create(AOwner);
  FFailures := TStringList.Create;
end;

destructor TFailureRoot.Destroy;
begin
  inherited Destroy;
  FFailures.Free;
end;

procedure TFailureRoot.LinkFailed(Sender: TorvConnectionList; AConnection: TorvConnection;
  AError: EorvLinkError);
begin
  FFailures.Add(AError.Describe);
  if FFreeList then
    Sender.Free
  else if FFreeReported then
    AConnection.Free;
end;

{ TTestLinkNames }

procedure TTestLinkNames.SetUp;
begin
  FRoot := TTestRoot.Create(nil);
end;

procedure TTestLinkNames.TearDown;
begin
  FreeAndNil(FRoot);
end;

procedure TTestLinkNames.ExpectNearest(const AValue: string; const ANames: array of string;
  const AExpected: string);
var
  List: TStringList;
  I: Integer;
begin
  List := TStringList.Create;
  try
    for I := 0 to High(ANames) do
      List.Add(ANames[I]);
    AssertEquals(AValue, AExpected, NearestName(AValue, List));
  finally
    List.Free;
  end;
end;

procedure TTestLinkNames.TestNearestName;
begin
  ExpectNearest('tag', ['Name', 'Tag'], 'Tag');
  ExpectNearest('Cout', ['Capacity', 'Count', 'Text'], 'Count');
  ExpectNearest('OnChanged', ['OnChanging', 'OnChange'], 'OnChange');
  ExpectNearest('Txet', ['Text', 'Tag'], 'Text');
  ExpectNearest('Colour', ['Color', 'Count'], 'Color');
  ExpectNearest('Xyzzy', ['Count', 'Text'], '');
  ExpectNearest('Edit8', ['Edit1', 'Edit2'], '');
  ExpectNearest('Edt1', ['Edit1', 'Edit2'], 'Edit1');
  ExpectNearest('A', ['B', 'Count'], '');
  ExpectNearest('', ['Text'], '');
  ExpectNearest('Text', [], '');
end;

function TTestLinkNames.Names(AInfo: TorvClassInfo; AKind: TorvFeatureKind;
  ANeed: TorvPropertyStyle; AAtLeast: TorvPropertyVisibility): string;
var
  List: TStringList;
begin
  List := TStringList.Create;
  try
    case AKind of
      fkProperty: PropertyNames(AInfo, List, ANeed, AAtLeast);
      fkEvent: EventNames(AInfo, List, AAtLeast);
      fkMethod: MethodNames(AInfo, List);
    end;
    List.Delimiter := ' ';
    Result := List.DelimitedText;
  finally
    List.Free;
  end;
end;

procedure TTestLinkNames.TestNameListsFilterAndListOnce;
var
  Info: TorvClassInfo;
  All: TStringList;
  I: Integer;
begin
  Info := InfoOf(TTestEdit.Create(FRoot));
  AssertEquals('published properties, readable and writable', 'Name Tag Text Number',
    Names(Info, fkProperty, [psReadable, psWritable], pvPublished));
  AssertEquals('indexed ones', 'Components Items Cells', Names(Info, fkProperty, [psIndexed], pvProtected));
  AssertEquals('events', 'OnChange OnValidate', Names(Info, fkEvent, [], pvPublished));
  AssertTrue('methods of the class and its parents',
    (Pos('Bump', Names(Info, fkMethod, [], pvProtected)) > 0) and
    (Pos('Free', Names(Info, fkMethod, [], pvProtected)) > 0));
  All := TStringList.Create;
  try
    All.CaseSensitive := True;
    PropertyNames(Info, All);
    MethodNames(Info, All);
    EventNames(Info, All);
    for I := 0 to All.Count - 1 do
      AssertEquals('listed once: ' + All[I], I, All.IndexOf(All[I]));
    AssertTrue('read-only ones are listed too', All.IndexOf('ComponentCount') >= 0);
    AssertEquals('not offered as writable', 0,
      Pos('ComponentCount', Names(Info, fkProperty, [psWritable], pvProtected)));
  finally
    All.Free;
  end;
end;

procedure TTestLinkNames.TestProblemsBeginWithTheSettersRefusal;
var
  Edit: TTestEdit;
  P2P: TorvP2PConnection;
  E2P: TorvE2PConnection;
  E2M: TorvE2MConnection;

  { Set the bad name of AStep and answer the setter's refusal. }
  function Refusal(AStep: Integer): string;
  begin
    Result := '';
    try
      case AStep of
        0: P2P.SourceProperty := 'text';
        1: P2P.TargetEvent := 'OnChanged';
        2: E2P.ValueEventParameter := 'Accepted';
        3: E2M.TargetMethodParameters[0].ComponentProperty := 'Numbr';
      end;
      Fail('no refusal at step ' + IntToStr(AStep));
    except
      on E: EorvInvalidFeature do
        Result := E.Message;
    end;
  end;

  procedure Expect(AStep: Integer; const AProblem: string);
  var
    Refused: string;
  begin
    Refused := Refusal(AStep);
    AssertEquals(AProblem, Refused, Copy(AProblem, 1, Length(Refused)));
    AssertTrue('the problem names more than the setter', Length(AProblem) > Length(Refused));
  end;

begin
  Edit := TTestEdit.Create(FRoot);
  P2P := TorvP2PConnection.Create(FRoot);
  P2P.Source := Edit;
  P2P.Target := Edit;
  E2P := TorvE2PConnection.Create(FRoot);
  E2P.Source := Edit;
  E2P.SourceEvent := 'OnValidate';
  E2M := TorvE2MConnection.Create(FRoot);
  E2M.Source := Edit;
  E2M.Target := Edit;
  E2M.TargetMethod := 'Bump';
  E2M.TargetMethodParameters[0].Component := Edit;

  Expect(0, NameProblem(P2P.GetSourceInfo, fkProperty, 'text', lnP2PSourceProperty));
  AssertEquals('Invalid SourceProperty value. Unknown source property ''text'' ' +
    '(did you mean ''Text''?)', NameProblem(P2P.GetSourceInfo, fkProperty, 'text',
    lnP2PSourceProperty));
  Expect(1, NameProblem(P2P.GetTargetInfo, fkEvent, 'OnChanged', lnP2PTargetEvent));
  Expect(2, EventParameterProblem(E2P.GetSourceInfo, E2P.GetSourceEventInfo, 'Accepted',
    lnE2PValueEventParameter));
  AssertEquals('Invalid ValueEventParameter value. Unknown event parameter name ''Accepted'' ' +
    '(did you mean ''Accept''?)', EventParameterProblem(E2P.GetSourceInfo, E2P.GetSourceEventInfo,
    'Accepted', lnE2PValueEventParameter));
  Expect(3, NameProblem(E2M.TargetMethodParameters[0].GetComponentInfo, fkProperty, 'Numbr',
    lnE2MComponentProperty));
  AssertEquals('without a side the problem is the side',
    'Invalid TargetProperty value. Unknown Target component',
    NameProblem(nil, fkProperty, 'Text', lnE2PTargetProperty));
end;

{ TTestLoadFailures }

procedure TTestLoadFailures.SetUp;
begin
  FRoot := nil;
end;

procedure TTestLoadFailures.TearDown;
begin
  FreeAndNil(FRoot);
end;

function TTestLoadFailures.ReadForm(const AText: string): TFailureRoot;
begin
  FreeAndNil(FRoot);
  FRoot := TFailureRoot.Create(nil);
  Result := FRoot;
  ReadFormText(AText, FRoot);
end;

function TTestLoadFailures.BrokenForm(AReporting: Boolean): string;
var
  Handler: string;
begin
  Handler := '';
  if AReporting then
    Handler := '    OnConnectFailure = LinkFailed';
  Result := Lines(['object Form1: TFailureRoot',
    '  object Edit1: TTestEdit', '    Text = ''one''', '  end',
    '  object Edit2: TTestEdit', '  end',
    '  object Panel1: TPlainThing', '  end',
    '  object Links: TorvConnectionList', Handler,
    '    object ToPanel: TorvP2PConnection', '      Source = Edit1',
    '      SourceProperty = ''Text''', '      Target = Panel1', '      TargetProperty = ''Text''',
    '    end',
    '    object Misspelt: TorvE2PConnection', '      Source = Edit1',
    '      SourceEvent = ''OnChanged''', '      Target = Edit2', '      TargetProperty = ''Text''',
    '    end',
    '    object Copy: TorvP2PConnection', '      Source = Edit1', '      SourceProperty = ''Text''',
    '      SourceEvent = ''OnChange''', '      Target = Edit2', '      TargetProperty = ''Text''',
    '    end',
    '  end',
    'end']);
end;

procedure TTestLoadFailures.TestBrokenLinkNamesFormLinkSideAndClass;
begin
  try
    ReadForm(BrokenForm(False));
    Fail('the form loads although a link refuses its target');
  except
    on E: EorvLinkError do
    begin
      AssertEquals('the message stays the system''s', 'This is a not Orvane component!', E.Message);
      AssertEquals('Form1', E.FormName);
      AssertEquals('ToPanel', E.LinkName);
      AssertEquals('Target', E.Side);
      AssertEquals('Panel1', E.ComponentName);
      AssertEquals('TPlainThing', E.ComponentClass);
      AssertEquals('Form1.ToPanel, Target Panel1 (TPlainThing): This is a not Orvane component!',
        E.Describe);
    end;
  end;
end;

procedure TTestLoadFailures.TestReportedFailuresLetTheRestLoad;
var
  Root: TFailureRoot;
  Edit1, Edit2: TTestEdit;
begin
  Root := ReadForm(BrokenForm(True));
  AssertEquals(Root.Failures.Text, 3, Root.Failures.Count);
  AssertEquals('refused while the form is read',
    'Form1.ToPanel, Target Panel1 (TPlainThing): This is a not Orvane component!', Root.Failures[0]);
  AssertEquals('and then unable to connect',
    'Form1.ToPanel: The connection cannot connect: ' +
    'Invalid TargetProperty value. Unknown Target component', Root.Failures[1]);
  AssertEquals('a name that does not resolve, with the nearest one',
    'Form1.Misspelt: The connection cannot connect: Invalid SourceEvent value. ' +
    'Unknown source event ''OnChanged'' (did you mean ''OnChange''?)', Root.Failures[2]);
  Edit1 := Root.FindComponent('Edit1') as TTestEdit;
  Edit2 := Root.FindComponent('Edit2') as TTestEdit;
  AssertNull('the refused side stays empty',
    (Root.FindComponent('ToPanel') as TorvP2PConnection).Target);
  AssertEquals('the link after them made its first copy', 'one', Edit2.Text);
  Edit1.Text := 'two';
  AssertEquals('and copies on', 'two', Edit2.Text);
end;

procedure TTestLoadFailures.TestCheckerSaysWhatTheLinkSays;
var
  Report: TStringList;
  Root: TFailureRoot;
  Told: string;
begin
  Root := ReadForm(BrokenForm(True));
  Told := Root.Failures[2];
  Delete(Told, 1, Pos('cannot connect: ', Told) + Length('cannot connect: ') - 1);
  Report := TStringList.Create;
  try
    CheckFormText(BrokenForm(False), 'f.lfm', Report);
    AssertTrue(Report.Text, Pos('Misspelt (TorvE2PConnection): broken: Source Edit1: ' + Told,
      Report.Text) > 0);
    AssertTrue(Report.Text, Pos('ToPanel (TorvP2PConnection): broken: Target Panel1: ' +
      'This is a not Orvane component!', Report.Text) > 0);
  finally
    Report.Free;
  end;
end;

procedure TTestLoadFailures.TestHandlerMayFreeLinksOrTheList;
var
  List: TorvConnectionList;

  function NewLink(const AName: string; AAnswer: Boolean): TTestLink;
  begin
    Result := TTestLink.Create(FRoot);
    Result.Name := AName;
    Result.Answer := AAnswer;
    Result.SetConnectionList(List);
  end;

begin
  FRoot := TFailureRoot.Create(nil);
  FRoot.Name := 'Form1';
  List := TorvConnectionList.Create(FRoot);
  List.OnConnectFailure := @FRoot.LinkFailed;
  NewLink('A', False);
  NewLink('B', True).Fails := True;
  NewLink('C', True);
  FRoot.FreeReported := True;
  LinkLog := '';
  TListAccess(List).Loaded;
  AssertEquals('each link once, though the failing ones are freed',
    'connect:A free:A connect:B free:B connect:C ', LinkLog);
  AssertEquals('Form1.B: cannot connect B', FRoot.Failures[1]);
  AssertEquals(1, List.GetConnectionCount);

  NewLink('D', False);
  NewLink('E', True);
  FRoot.FreeList := True;
  LinkLog := '';
  TListAccess(List).Loaded;
  AssertEquals('a freed list connects nothing more',
    'connect:C connect:D free:E free:D free:C ', LinkLog);
  AssertEquals(3, FRoot.Failures.Count);
end;

procedure TTestLoadFailures.TestLinkFreedByItsFirstCopyIsNotReported;
var
  List: TorvConnectionList;

  function NewLink(const AName: string; AAnswer, AFails: Boolean): TTestLink;
  begin
    Result := TTestLink.Create(FRoot);
    Result.Name := AName;
    Result.Answer := AAnswer;
    Result.Fails := AFails;
    Result.FreesItself := True;
    Result.SetConnectionList(List);
  end;

begin
  FRoot := TFailureRoot.Create(nil);
  FRoot.Name := 'Form1';
  List := TorvConnectionList.Create(FRoot);
  List.OnConnectFailure := @FRoot.LinkFailed;
  NewLink('A', False, False);
  NewLink('B', True, False);
  LinkLog := '';
  TListAccess(List).Loaded;
  AssertEquals('a link that is gone cannot be asked why, nor handed over',
    'connect:A free:A connect:B free:B ', LinkLog);
  AssertEquals(FRoot.Failures.Text, 0, FRoot.Failures.Count);
  AssertEquals(0, List.GetConnectionCount);

  NewLink('C', True, True);
  LinkLog := '';
  try
    TListAccess(List).Loaded;
    Fail('the error of a link that freed itself was dropped');
  except
    on E: EAssertionFailedError do
      raise;
    on E: Exception do
      AssertEquals('it passes on as it came', 'cannot connect C', E.Message);
  end;
  AssertEquals(FRoot.Failures.Text, 0, FRoot.Failures.Count);
  AssertEquals('the list lives on', 0, List.GetConnectionCount);
end;

procedure TTestLoadFailures.TestApplicationChecksItsFormsWithItsClasses;
var
  Report: TStringList;
  Counts: TorvCheckCounts;
begin
  // TTestEdit is this program's own bound component, as TThermostat is the
  // link demo's: a check run here knows it, and only the class that has no
  // binding at all is reported, as unknown to this program.
  Report := TStringList.Create;
  try
    Counts := CheckFormText(BrokenForm(False), 'f.lfm', Report);
    AssertEquals(Report.Text, 1, Counts.UnknownClasses);
    AssertTrue(Report.Text, Pos('Target Panel1: This is a not Orvane component! ' +
      '(no binding of class TPlainThing is registered in this program)', Report.Text) > 0);
    Report.Clear;
    CheckFormText(StringReplace(BrokenForm(False), 'Source = Edit1', 'Source = Edt1', []),
      'f.lfm', Report);
    AssertTrue(Report.Text, Pos('Source: no component named Edt1 on the form ' +
      '(did you mean ''Edit1''?)', Report.Text) > 0);
    Report.Clear;
    Counts := CheckFormText(StringReplace(StringReplace(BrokenForm(False), 'TPlainThing',
      'TTestEdit', []), 'OnChanged', 'OnChange', []), 'f.lfm', Report);
    AssertEquals(Report.Text, 0, Counts.UnknownClasses);
    AssertEquals(Report.Text, 0, Counts.Broken);
    AssertEquals(Report.Text, 3, Counts.Ok);
  finally
    Report.Free;
  end;
end;

procedure TTestVariableObject.TestWaitingEndsWithTheVariable;
var
  Link: TorvP2PConnection;
  Edit2: TTestEdit;
begin
  ReadWaitingForm;
  Link := FRoot.FindComponent('ShowCount') as TorvP2PConnection;
  Edit2 := FRoot.FindComponent('Edit2') as TTestEdit;
  FRoot.FindComponent('Held').Free;
  AssertNull('the link forgot its source', Link.Source);
  AssertFalse(Link.Connect);
  Edit2.Number := 9;
  AssertEquals(9, Edit2.Number);
end;

{ TTestInspectorColumns }

procedure TTestInspectorColumns.TestLongNamesKeepTheColumns;
var
  Lines: TStringList;
  I, Column: Integer;
begin
  Lines := TStringList.Create;
  try
    // OnValidate(Sender, Text, Accept) is longer than any fixed width would be.
    DescribeClass('TTestEdit', Lines);
    AssertTrue(Lines.Text, Pos('OnValidate(Sender, Text, Accept)', Lines.Text) > 0);
    Column := Lines[1].LastIndexOf(' ');
    for I := 1 to Lines.Count - 1 do
      AssertEquals('the declaring binding in one column: ' + Lines[I], Column,
        Lines[I].LastIndexOf(' '));
  finally
    Lines.Free;
  end;
end;

{ TTestVariableObject }

procedure TTestVariableObject.SetUp;
begin
  FRoot := TTestRoot.Create(nil);
end;

procedure TTestVariableObject.TearDown;
begin
  FreeAndNil(FRoot);
end;

procedure TTestVariableObject.TestInstanceIsWritingSelf;
var
  Variable: TorvVariable;
  List: TStringList;
  Changes: TTestEdit;
  Link: TorvE2PConnection;
begin
  Variable := TorvVariable.Create(FRoot);
  Variable.ClassTypeName := 'TStrings';
  Changes := TTestEdit.Create(FRoot);
  Link := TorvE2PConnection.Create(FRoot);
  Link.Source := Variable;
  Link.SourceEvent := 'OnInstanceChange';
  Link.Target := Changes;
  Link.TargetProperty := 'Text';
  Link.ValueConstant := 'changed';
  AssertTrue(Link.Connect);
  List := TStringList.Create;
  try
    Variable.Instance := List;
    AssertSame(List, Variable.Instance);
    AssertEquals('OnInstanceChange fired', 'changed', Changes.Text);
    try
      Variable.Instance := Changes;
      Fail('an object of another class is held');
    except
      on E: EAssertionFailedError do
        raise;
      on E: Exception do
        AssertEquals('The variable holds objects of class TStrings: a TTestEdit cannot be held!',
          E.Message);
    end;
    AssertSame('the old object stays', List, Variable.Instance);
    Variable.Instance := nil;
    AssertNull(Variable.Instance);
  finally
    List.Free;
  end;
end;

procedure TTestVariableObject.ReadWaitingForm;
begin
  // Read as a form is: the variable comes out of the file empty, and the
  // link is connected before any code can give it its object.
  ReadFormText(Lines(['object Form1: TTestRoot',
    '  object Edit2: TTestEdit', '    Number = 5', '  end',
    '  object Held: TorvVariable', '    ClassTypeName = ''TStringList''', '  end',
    '  object Links: TorvConnectionList',
    '    object ShowCount: TorvP2PConnection', '      Source = Held',
    '      SourceProperty = ''Count''', '      SourceEvent = ''OnChange''', '      Target = Edit2',
    '      TargetProperty = ''Number''', '    end',
    '  end',
    'end']), FRoot);
end;

procedure TTestVariableObject.TestLinkFromAnEmptyVariableWaitsForItsObject;
var
  Edit2: TTestEdit;
  Held: TorvVariable;
  List: TStringList;
begin
  ReadWaitingForm;
  Edit2 := FRoot.FindComponent('Edit2') as TTestEdit;
  Held := FRoot.FindComponent('Held') as TorvVariable;
  AssertEquals('nothing copied yet', 5, Edit2.Number);
  List := TStringList.Create;
  try
    List.Add('a');
    List.Add('b');
    Held.Instance := List;
    AssertEquals('the first copy, once the variable holds its object', 2, Edit2.Number);
    List.Add('c');
    AssertEquals('then on each SourceEvent', 3, Edit2.Number);
    Held.Instance := nil;
    List.Add('d');
    AssertEquals('nothing held, nothing copied', 3, Edit2.Number);
  finally
    List.Free;
  end;
end;

initialization
  RegisterClasses([TFailureRoot, TPlainThing]);
  RegisterTest('Links', TTestLinkNames);
  RegisterTest('Links', TTestLoadFailures);
  RegisterTest('Variable', TTestVariableObject);
  RegisterTest('Tools', TTestInspectorColumns);
end.
