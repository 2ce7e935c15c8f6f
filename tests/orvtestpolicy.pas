{ The link policy: which entries let a link write or call, the refusal at
  connect and at a later change of name, the same refusal reported while a
  form is read, the read-only preset and the return to no policy. }
unit Orvtestpolicy;

{$I orvdefines.inc}

interface

uses
  Classes, SysUtils, fpcunit, testregistry,
  StdCtrls,
  Orvcommon, Orvconlist, Orvp2p, Orve2p, Orve2m, Orvvar, Orvpolicy,
  Orvlinkcheck, Orvtestfixtures, Orvtestdiagnostics;

type
  TTestLinkPolicy = class(TTestCase)
  private
    FRoot: TFailureRoot;
    FEdit1, FEdit2: TTestEdit;
    FCopy: TorvP2PConnection;
    FAssign: TorvE2PConnection;
    FCall: TorvE2MConnection;
    { Make a policy of AEntries (class, member, class, member...). }
    procedure UsePolicy(const AEntries: array of string);
    { Connect ALink; answer '' or the message of the policy's refusal. }
    function ConnectRefusal(ALink: TorvConnection): string;
    function RefusedText(const AVerb, ALink, AMember: string): string;
  protected
    procedure SetUp; override;
    procedure TearDown; override;
  published
    procedure TestEntriesCoverClassesMembersAndDescendants;
    procedure TestVariableIsJudgedByTheClassItNames;
    procedure TestAllowedLinksWorkAndRefusedOnesNameLinkAndMember;
    procedure TestReadOnlyPreset;
    procedure TestChangesAfterConnectAreJudged;
    procedure TestRefusalsWhileAFormIsRead;
    procedure TestClearingThePolicyRestoresTheDefault;
    procedure TestTheDocumentedPolicy;
  end;

{ The set-up docs/security.md shows: an application that reads form files
  it did not write lets their links do only what its own forms need. }
procedure TrustFormFilesOnlyThisFar;

implementation

{ Read AText, a text form file, into ARoot at run time. }
procedure ReadFormText(const AText: string; ARoot: TComponent);
var
  Binary, Text: TStringStream;
begin
  Binary := TStringStream.Create('');
  Text := TStringStream.Create(AText);
  try
    ObjectTextToBinary(Text, Binary);
    Binary.Position := 0;
    Binary.ReadComponent(ARoot);
  finally
    Text.Free;
    Binary.Free;
  end;
end;

procedure TrustFormFilesOnlyThisFar;
var
  Policy: TorvLinkPolicy;
begin
  // Links may read any property and hear any event; they may write and
  // call only what is listed here, in the classes named and below them.
  Policy := UseReadOnlyLinks;
  Policy.Allow('TLabel', 'Caption');    // a label follows an edit
  Policy.Allow('TCustomEdit', 'Text');  // TEdit, TMemo and the other edits
  Policy.Allow('TorvVariable', 'Self'); // point a variable at a list
  Policy.Allow('TStrings', 'Add');      // and add a line to it
end;

procedure TTestLinkPolicy.SetUp;
begin
  SetLinkPolicy(nil);
  FRoot := TFailureRoot.Create(nil);
  FRoot.Name := 'Form1';
  FEdit1 := TTestEdit.Create(FRoot);
  FEdit1.Name := 'Edit1';
  FEdit2 := TTestEdit.Create(FRoot);
  FEdit2.Name := 'Edit2';
  // Built without a policy: each test decides what is judged at connect.
  FCopy := TorvP2PConnection.Create(FRoot);
  FCopy.Name := 'CopyText';
  FCopy.Source := FEdit1;
  FCopy.Target := FEdit2;
  FCopy.SourceProperty := 'Text';
  FCopy.SourceEvent := 'OnChange';
  FCopy.TargetProperty := 'Text';
  FAssign := TorvE2PConnection.Create(FRoot);
  FAssign.Name := 'SetNumber';
  FAssign.Source := FEdit1;
  FAssign.SourceEvent := 'OnChange';
  FAssign.Target := FEdit2;
  FAssign.TargetProperty := 'Number';
  FAssign.ValueConstant := '7';
  FCall := TorvE2MConnection.Create(FRoot);
  FCall.Name := 'BumpNumber';
  FCall.Source := FEdit1;
  FCall.SourceEvent := 'OnChange';
  FCall.Target := FEdit2;
  FCall.TargetMethod := 'Bump';
  FCall.TargetMethodParameters[0].Component := FEdit2;
  FCall.TargetMethodParameters[0].ComponentProperty := 'Number';
  FCall.TargetMethodParameters[0].Options := voComponentProperty;
end;

procedure TTestLinkPolicy.TearDown;
begin
  SetLinkPolicy(nil);
  FreeAndNil(FRoot);
end;

procedure TTestLinkPolicy.UsePolicy(const AEntries: array of string);
var
  I: Integer;
begin
  UseReadOnlyLinks;
  I := 0;
  while I < High(AEntries) do
  begin
    LinkPolicy.Allow(AEntries[I], AEntries[I + 1]);
    Inc(I, 2);
  end;
end;

function TTestLinkPolicy.ConnectRefusal(ALink: TorvConnection): string;
begin
  Result := '';
  try
    AssertTrue(ALink.Name + ' resolves', ALink.Connect);
  except
    on E: EorvLinkRefused do
      Result := E.Message;
  end;
end;

function TTestLinkPolicy.RefusedText(const AVerb, ALink, AMember: string): string;
begin
  Result := Format('Connection %s may not %s %s: not allowed by the application''s link policy',
    [ALink, AVerb, AMember]);
end;

procedure TTestLinkPolicy.TestEntriesCoverClassesMembersAndDescendants;

  procedure Expect(const AEntries: array of string; AAllowed: Boolean);
  begin
    UsePolicy(AEntries);
    AssertEquals(Format('%s: %d entries', [AEntries[0], Length(AEntries)]), AAllowed,
      ConnectRefusal(FAssign) = '');
    FAssign.Unconnect;
  end;

begin
  Expect(['TTestEdit', 'Number'], True);
  Expect(['ttestedit', 'Number'], True);
  Expect(['TTestEdit', 'number'], False);
  Expect(['TTestEdit', 'Text'], False);
  Expect(['TComponent', 'Number'], True);
  Expect(['TObject', 'Number'], True);
  Expect(['TStrings', 'Number'], False);
  Expect(['TEdit', 'Number'], False);
  Expect(['*', 'Number'], True);
  Expect(['TTestEdit', '*'], True);
  Expect(['*', 'Text', 'TPersistent', 'Tag'], False);
  Expect(['TTestEdit', 'Text', 'TComponent', 'Number'], True);
  try
    LinkPolicy.Allow('TTestEdit', ' ');
    Fail('an entry without a member is taken');
  except
    on E: EArgumentException do
      AssertEquals(rsPolicyNameMissing, E.Message);
  end;
end;

procedure TTestLinkPolicy.TestVariableIsJudgedByTheClassItNames;
var
  Variable: TorvVariable;
  Clear: TorvE2MConnection;
  Point: TorvE2PConnection;

  procedure Expect(const AClassTypeName, AEntryClass: string; AAllowed: Boolean);
  begin
    SetLinkPolicy(nil);
    Clear.TargetMethod := '';
    Variable.ClassTypeName := AClassTypeName;
    Clear.TargetMethod := 'Clear';
    UsePolicy([AEntryClass, 'Clear']);
    AssertEquals(AClassTypeName + ' under ' + AEntryClass, AAllowed, ConnectRefusal(Clear) = '');
    Clear.Unconnect;
  end;

begin
  Variable := TorvVariable.Create(FRoot);
  Variable.Name := 'Lines';
  Clear := TorvE2MConnection.Create(FRoot);
  Clear.Name := 'ClearLines';
  Clear.Source := FEdit1;
  Clear.SourceEvent := 'OnChange';
  Clear.Target := Variable;
  // Holding nothing yet, as a variable read from a form file does.
  Expect('TStringList', 'TStrings', True);
  Expect('TStrings', 'TStrings', True);
  Expect('TStrings', 'TStringList', False);
  Expect('TStrings', 'TTestEdit', False);
  // An entry for the variable's own class covers what every variable shows.
  Expect('TStrings', 'TorvVariable', True);

  SetLinkPolicy(nil);
  Point := TorvE2PConnection.Create(FRoot);
  Point.Name := 'PointLines';
  Point.Source := FEdit1;
  Point.SourceEvent := 'OnChange';
  Point.Target := Variable;
  Point.TargetProperty := 'Self';
  UsePolicy(['TStrings', 'Add']);
  AssertEquals(RefusedText('write', 'PointLines', 'Lines.Self'), ConnectRefusal(Point));
  UsePolicy(['TorvVariable', 'Self']);
  AssertEquals('', ConnectRefusal(Point));
end;

procedure TTestLinkPolicy.TestAllowedLinksWorkAndRefusedOnesNameLinkAndMember;
begin
  UsePolicy(['TTestEdit', 'Text', 'TTestEdit', 'Bump', 'TTestEdit', 'Number']);
  AssertEquals('', ConnectRefusal(FCopy));
  AssertEquals('', ConnectRefusal(FCall));
  FEdit2.Number := 4;
  FEdit1.Text := 'one';
  AssertEquals('copied', 'one', FEdit2.Text);
  AssertEquals('the method ran and handed its value back to a property it may write', 5,
    FEdit2.Number);
  FCopy.Unconnect;
  FCall.Unconnect;

  LinkPolicy.Clear;
  try
    FAssign.Connect;
    Fail('a write that is not allowed connects');
  except
    on E: EorvLinkRefused do
    begin
      AssertEquals(RefusedText('write', 'SetNumber', 'Edit2.Number'), E.Message);
      AssertEquals('Form1', E.FormName);
      AssertEquals('Target', E.Side);
      AssertEquals('Edit2', E.ComponentName);
      AssertEquals('TTestEdit', E.ComponentClass);
    end;
  end;
  AssertEquals(RefusedText('call', 'BumpNumber', 'Edit2.Bump'), ConnectRefusal(FCall));
  FEdit2.Number := 0;
  FEdit1.Text := 'two';
  AssertEquals('the refused links neither assign nor call', 0, FEdit2.Number);
end;

procedure TTestLinkPolicy.TestReadOnlyPreset;
var
  Prefix: TorvE2MConnection;
begin
  UseReadOnlyLinks.Allow('TTestEdit', 'Text');
  AssertEquals('one way into an allowed target', '', ConnectRefusal(FCopy));
  FEdit1.Text := 'one';
  AssertEquals('one', FEdit2.Text);
  FCopy.Unconnect;
  SetLinkPolicy(nil);
  FCopy.SourceProperty := 'Number';
  FCopy.TargetEvent := 'OnChange';
  UseReadOnlyLinks.Allow('TTestEdit', 'Text');
  AssertEquals('copying back writes the source too',
    RefusedText('write', 'CopyText', 'Edit1.Number'), ConnectRefusal(FCopy));
  AssertEquals(RefusedText('write', 'SetNumber', 'Edit2.Number'), ConnectRefusal(FAssign));
  AssertEquals(RefusedText('call', 'BumpNumber', 'Edit2.Bump'), ConnectRefusal(FCall));

  // A parameter reads from any property, and hands nothing back to one
  // that may not be written.
  SetLinkPolicy(nil);
  Prefix := TorvE2MConnection.Create(FRoot);
  Prefix.Name := 'Prefix';
  Prefix.Source := FEdit1;
  Prefix.SourceEvent := 'OnChange';
  Prefix.Target := FEdit1;
  Prefix.TargetMethod := 'Bump';
  Prefix.TargetMethodParameters[0].Component := FEdit2;
  Prefix.TargetMethodParameters[0].ComponentProperty := 'Number';
  Prefix.TargetMethodParameters[0].Options := voComponentProperty;
  UseReadOnlyLinks.Allow('TTestEdit', 'Bump');
  AssertEquals('', ConnectRefusal(Prefix));
  FEdit2.Number := 1;
  FEdit1.Text := 'fire';
  AssertEquals('read, not written back', 1, FEdit2.Number);
  LinkPolicy.Allow('TTestEdit', 'Number');
  FEdit1.Text := 'again';
  AssertEquals('read, bumped and written back once writing is allowed', 2, FEdit2.Number);
end;

procedure TTestLinkPolicy.TestChangesAfterConnectAreJudged;

  { Make change AStep, which the policy refuses; answer the refusal. }
  function Refusal(AStep: Integer): string;
  begin
    Result := '';
    try
      case AStep of
        0: FCopy.TargetProperty := 'Number';
        1: FCopy.TargetEvent := 'OnChange';
        2: FAssign.TargetProperty := 'Number';
        3: FCall.TargetMethod := 'Combine';
      end;
      Fail('change ' + IntToStr(AStep) + ' taken');
    except
      on E: EorvLinkRefused do
        Result := E.Message;
    end;
  end;

begin
  FAssign.TargetProperty := 'Text';
  FCopy.SourceProperty := 'Number';
  UsePolicy(['TTestEdit', 'Text', 'TTestEdit', 'Bump']);
  AssertEquals('', ConnectRefusal(FCopy));
  AssertEquals('', ConnectRefusal(FAssign));
  AssertEquals('', ConnectRefusal(FCall));
  AssertEquals(RefusedText('write', 'CopyText', 'Edit2.Number'), Refusal(0));
  AssertEquals(RefusedText('write', 'CopyText', 'Edit1.Number'), Refusal(1));
  AssertEquals(RefusedText('write', 'SetNumber', 'Edit2.Number'), Refusal(2));
  AssertEquals(RefusedText('call', 'BumpNumber', 'Edit2.Combine'), Refusal(3));
  AssertEquals('names kept', 'Text Text Bump ',
    FCopy.TargetProperty + ' ' + FAssign.TargetProperty + ' ' + FCall.TargetMethod + ' ');
  AssertEquals('still one way', '', FCopy.TargetEvent);
  FAssign.Unconnect;
  FCall.Unconnect;
  FEdit1.Number := 3;
  AssertEquals('the link still writes what it was allowed', '3', FEdit2.Text);

  // A new side comes without names; the name given after is judged.
  FAssign.Target := FEdit1;
  try
    FAssign.TargetProperty := 'Number';
    Fail('a refused name on a new side is taken');
  except
    on E: EorvLinkRefused do
      AssertEquals(RefusedText('write', 'SetNumber', 'Edit1.Number'), E.Message);
  end;
  FAssign.TargetProperty := 'Text';
  AssertEquals('', ConnectRefusal(FAssign));
end;

procedure TTestLinkPolicy.TestRefusalsWhileAFormIsRead;
const
  Form =
    'object Form1: TFailureRoot' + LineEnding +
    '  object Edit1: TTestEdit' + LineEnding + '    Text = ''one''' + LineEnding + '  end' + LineEnding +
    '  object Edit2: TTestEdit' + LineEnding + '  end' + LineEnding +
    '  object Links: TorvConnectionList' + LineEnding + '%s' + LineEnding +
    '    object Wipe: TorvE2MConnection' + LineEnding + '      Source = Edit1' + LineEnding +
    '      SourceEvent = ''OnChange''' + LineEnding + '      Target = Edit2' + LineEnding +
    '      TargetMethod = ''Free''' + LineEnding + '    end' + LineEnding +
    '    object Copy: TorvP2PConnection' + LineEnding + '      Source = Edit1' + LineEnding +
    '      SourceProperty = ''Text''' + LineEnding + '      SourceEvent = ''OnChange''' + LineEnding +
    '      Target = Edit2' + LineEnding + '      TargetProperty = ''Text''' + LineEnding +
    '    end' + LineEnding +
    '  end' + LineEnding +
    'end' + LineEnding;
var
  Root: TFailureRoot;
  Edit2: TTestEdit;
begin
  FreeAndNil(FRoot);
  UseReadOnlyLinks.Allow('TTestEdit', 'Text');
  FRoot := TFailureRoot.Create(nil);
  try
    ReadFormText(Format(Form, ['']), FRoot);
    Fail('the form loads with a refused link and no handler');
  except
    on E: EorvLinkError do
      AssertEquals(RefusedText('call', 'Wipe', 'Edit2.Free'), E.Message);
  end;
  FreeAndNil(FRoot);

  Root := TFailureRoot.Create(nil);
  FRoot := Root;
  ReadFormText(Format(Form, ['    OnConnectFailure = LinkFailed']), Root);
  AssertEquals(Root.Failures.Text, 1, Root.Failures.Count);
  AssertEquals('Form1.Wipe: ' + RefusedText('call', 'Wipe', 'Edit2.Free'), Root.Failures[0]);
  Edit2 := Root.FindComponent('Edit2') as TTestEdit;
  AssertEquals('the rest of the form loaded and connected', 'one', Edit2.Text);
  (Root.FindComponent('Edit1') as TTestEdit).Text := 'two';
  AssertNotNull('the refused link never ran', Root.FindComponent('Edit2'));
  AssertEquals('two', Edit2.Text);
end;

procedure TTestLinkPolicy.TestClearingThePolicyRestoresTheDefault;
begin
  UseReadOnlyLinks;
  UseReadOnlyLinks; // replaces, and frees, the one before
  AssertEquals(RefusedText('write', 'SetNumber', 'Edit2.Number'), ConnectRefusal(FAssign));
  SetLinkPolicy(nil);
  AssertNull(LinkPolicy);
  AssertEquals('', ConnectRefusal(FAssign));
  FAssign.TargetProperty := 'Text';
  FAssign.TargetProperty := 'Number';
  AssertEquals('', ConnectRefusal(FCall));
  FEdit1.Text := 'fire';
  AssertEquals('assigned, then bumped and handed back', 8, FEdit2.Number);
end;

procedure TTestLinkPolicy.TestTheDocumentedPolicy;
const
  Form =
    'object Form1: TFailureRoot' + LineEnding +
    '  object Edit1: TEdit' + LineEnding + '    Text = ''typed''' + LineEnding + '  end' + LineEnding +
    '  object Label1: TLabel' + LineEnding + '  end' + LineEnding +
    '  object Lines: TorvVariable' + LineEnding + '    ClassTypeName = ''TStrings''' + LineEnding +
    '  end' + LineEnding +
    '  object Links: TorvConnectionList' + LineEnding +
    '    OnConnectFailure = LinkFailed' + LineEnding +
    '    object Follow: TorvP2PConnection' + LineEnding + '      Source = Edit1' + LineEnding +
    '      SourceProperty = ''Text''' + LineEnding + '      SourceEvent = ''OnChange''' + LineEnding +
    '      Target = Label1' + LineEnding + '      TargetProperty = ''Caption''' + LineEnding +
    '    end' + LineEnding +
    '    object AddLine: TorvE2MConnection' + LineEnding + '      Source = Edit1' + LineEnding +
    '      SourceEvent = ''OnChange''' + LineEnding + '      Target = Lines' + LineEnding +
    '      TargetMethod = ''Add''' + LineEnding + '    end' + LineEnding +
    '    object Overwrite: TorvE2MConnection' + LineEnding + '      Source = Edit1' + LineEnding +
    '      SourceEvent = ''OnChange''' + LineEnding + '      Target = Lines' + LineEnding +
    '      TargetMethod = ''SaveToFile''' + LineEnding + '    end' + LineEnding +
    '    object Hide: TorvE2PConnection' + LineEnding + '      Source = Edit1' + LineEnding +
    '      SourceEvent = ''OnChange''' + LineEnding + '      Target = Label1' + LineEnding +
    '      TargetProperty = ''Visible''' + LineEnding + '    end' + LineEnding +
    '    object Send: TorvE2MConnection' + LineEnding + '      Source = Edit1' + LineEnding +
    '      SourceEvent = ''OnChange''' + LineEnding + '      Target = Edit1' + LineEnding +
    '      TargetMethod = ''Perform''' + LineEnding + '    end' + LineEnding +
    '  end' + LineEnding +
    'end' + LineEnding;
var
  Root: TFailureRoot;
  Report: TStringList;
  Counts: TorvCheckCounts;
begin
  FreeAndNil(FRoot);
  TrustFormFilesOnlyThisFar;
  Root := TFailureRoot.Create(nil);
  FRoot := Root;
  ReadFormText(Form, Root);
  AssertEquals('Form1.Overwrite: ' + RefusedText('call', 'Overwrite', 'Lines.SaveToFile') +
    LineEnding + 'Form1.Hide: ' + RefusedText('write', 'Hide', 'Label1.Visible') + LineEnding +
    'Form1.Send: ' + RefusedText('call', 'Send', 'Edit1.Perform') + LineEnding, Root.Failures.Text);
  AssertEquals('the allowed links connected', 'typed',
    (Root.FindComponent('Label1') as TLabel).Caption);

  // The checker says the same of the form file, under the same policy.
  Report := TStringList.Create;
  try
    Counts := CheckFormText(Form, 'f.lfm', Report);
    AssertEquals(Report.Text, 3, Counts.Broken);
    AssertTrue(Report.Text, Pos('Overwrite (TorvE2MConnection): broken: Target Lines: ' +
      'the link policy does not let links call SaveToFile', Report.Text) > 0);
    AssertTrue(Report.Text, Pos('Hide (TorvE2PConnection): broken: Target Label1: ' +
      'the link policy does not let links write Visible', Report.Text) > 0);
    SetLinkPolicy(nil);
    AssertEquals('without a policy nothing is refused', 0,
      CheckFormText(Form, 'f.lfm', Report).Broken);
  finally
    Report.Free;
  end;
end;

initialization
  // Read from form text, which finds classes by their registered names.
  RegisterClasses([TEdit, TLabel]);
  RegisterTest('Links', TTestLinkPolicy);
end.
