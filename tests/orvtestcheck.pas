{ The form-file checker: the text form-file parser on tricky text, and the
  verdicts on the links of forms written around the test edit, the
  Classes-unit bindings and the variable. }
unit Orvtestcheck;

{$I orvdefines.inc}

interface

uses
  Classes, SysUtils, fpcunit, testregistry,
  Orvlfm, Orvlinkcheck;

type
  TTestFormParser = class(TTestCase)
  private
    procedure ExpectError(const AText: string; ALine: Integer; const AFragment: string);
  published
    procedure TestStringsJoinCodesAndContinuations;
    procedure TestObjectsNestWithTheirKinds;
    procedure TestValueShapes;
    procedure TestMalformedTextNamesFileAndLine;
  end;

  TTestLinkCheck = class(TTestCase)
  private
    FReport: TStringList;
    FCounts: TorvCheckCounts;
    procedure CheckForm(const AText: string);
    procedure CheckLinks(const ALinks: string);
    function Verdict(const ALinkName: string): string;
    function Warnings(const ALinkName: string): string;
    procedure ExpectBroken(const ALinks, ALinkName, AReason: string);
    procedure ExpectWarning(const ALinks, ALinkName, AWarning: string);
  protected
    procedure SetUp; override;
    procedure TearDown; override;
  published
    procedure TestCleanFormHasNoFindings;
    procedure TestBrokenSidesNameSideAndComponent;
    procedure TestBrokenFeatureNames;
    procedure TestToleratedFaultsAreWarnings;
    procedure TestIndexListsMustFitTheirProperty;
    procedure TestParameterItems;
    procedure TestVariableShowsItsClass;
    procedure TestWhatCannotBeCheckedIsSaid;
  end;

implementation

uses
  Orvtestfixtures; // registers TTestEdit, which the forms below use

function Lines(const AParts: array of string): string;
var
  I: Integer;
begin
  Result := '';
  for I := 0 to High(AParts) do
    Result := Result + AParts[I] + LineEnding;
end;

{ TTestFormParser }

procedure TTestFormParser.ExpectError(const AText: string; ALine: Integer; const AFragment: string);
var
  Root: TorvFormObject;
begin
  try
    Root := ParseFormText(AText, 'f.lfm');
    Root.Free;
    Fail('no error for: ' + AText);
  except
    on E: EorvFormFileError do
    begin
      AssertEquals(AText, 'f.lfm:' + IntToStr(ALine) + ':',
        Copy(E.Message, 1, Length('f.lfm:' + IntToStr(ALine) + ':')));
      AssertTrue(E.Message, Pos(AFragment, E.Message) > 0);
    end;
  end;
end;

procedure TTestFormParser.TestStringsJoinCodesAndContinuations;
var
  Root: TorvFormObject;
begin
  Root := ParseFormText(Lines([
    'object F: TF',
    '  A = ''It''''s''#13#10''two'' +',
    '    '' lines''#233',
    '  B = #8364''5''',
    '  C = ''''',
    'end']), 'f.lfm');
  try
    AssertEquals('It''s'#13#10'two lines'#233, Root.Properties.Value('A').Text);
    AssertEquals('a continued string keeps its first line', 2, Root.Properties.Value('A').Line);
    AssertEquals('a code past 255 is a character in UTF-8', #$E2#$82#$AC'5',
      Root.Properties.Value('b').Text);
    AssertTrue(Root.Properties.Value('C').Kind = fvString);
    AssertEquals('', Root.Properties.Value('C').Text);
  finally
    Root.Free;
  end;
end;

procedure TTestFormParser.TestObjectsNestWithTheirKinds;
var
  Root, Frame, Panel: TorvFormObject;
begin
  Root := ParseFormText(Lines([
    'inherited Main: TMainForm',
    '  Caption = ''x''',
    '  inline Frame1: TAddressFrame [2]',
    '    inherited FrameEdit: TEdit',
    '      Text = ''a''',
    '    end',
    '  end',
    '  object Panel: TPanel',
    '    object TPanel',
    '    end',
    '    object Inner: TButton',
    '    end',
    '  end',
    'end']), 'f.lfm');
  try
    AssertTrue(Root.Kind = foInherited);
    AssertEquals('TMainForm', Root.TypeName);
    AssertEquals(2, Root.ChildCount);
    Frame := Root.Children(0);
    AssertTrue(Frame.Kind = foInline);
    AssertEquals(2, Frame.ChildPos);
    AssertEquals(-1, Root.ChildPos);
    AssertEquals('FrameEdit', Frame.Children(0).Name);
    AssertTrue(Frame.Children(0).Kind = foInherited);
    AssertEquals('a', Frame.Children(0).Properties.Value('Text').Text);
    Panel := Root.Children(1);
    AssertEquals(8, Panel.Line);
    AssertEquals('an object may name only its class', '', Panel.Children(0).Name);
    AssertEquals('TPanel', Panel.Children(0).TypeName);
    AssertSame(Panel, Panel.Children(1).Parent);
    AssertEquals(0, Panel.Properties.Count);
  finally
    Root.Free;
  end;
end;

procedure TTestFormParser.TestValueShapes;
var
  Root: TorvFormObject;
  Props: TorvFormProperties;
  V: TorvFormValue;
begin
  Root := ParseFormText(Lines([
    'object F: TF',
    '  Font.Style = [fsBold, fsItalic]',
    '  Anchors = []',
    '  Items . Strings = (',
    '    ''a''',
    '    ''b'' + ''c''',
    '    ( 1 2 )',
    '  )',
    '  Columns = <',
    '    item',
    '      Caption = ''N''',
    '      Sub = <>',
    '    end',
    '    item',
    '    end>',
    '  Data = {',
    '    0A0B',
    '    0c',
    '  }',
    '  Width = -12',
    '  Color = $00FF00FF',
    '  Ratio = 1.5E-3',
    '  Money = 12.5c',
    '  Ref = Form2.Edit1',
    '  OnClick = Button1Click',
    'end']), 'f.lfm');
  try
    Props := Root.Properties;
    V := Props.Value('Font.Style');
    AssertTrue(V.Kind = fvSet);
    AssertEquals(2, V.ElementCount);
    AssertEquals('fsItalic', V.Elements(1).Text);
    AssertEquals(0, Props.Value('Anchors').ElementCount);
    V := Props.Value('Items.Strings');
    AssertTrue('spaces around the dot', V <> nil);
    AssertEquals(3, V.ElementCount);
    AssertEquals('bc', V.Elements(1).Text);
    AssertTrue(V.Elements(2).Kind = fvList);
    AssertEquals('2', V.Elements(2).Elements(1).Text);
    V := Props.Value('Columns');
    AssertTrue(V.Kind = fvCollection);
    AssertEquals(2, V.ItemCount);
    AssertEquals('N', V.Items(0).Value('Caption').Text);
    AssertEquals(0, V.Items(0).Value('Sub').ItemCount);
    AssertEquals(0, V.Items(1).Count);
    AssertEquals(14, V.Items(1).Line);
    V := Props.Value('Data');
    AssertTrue(V.Kind = fvBinary);
    AssertEquals('0A0B0c', V.Text);
    AssertEquals('-12', Props.Value('Width').Text);
    AssertEquals('$00FF00FF', Props.Value('Color').Text);
    AssertEquals('1.5E-3', Props.Value('Ratio').Text);
    AssertEquals('12.5c', Props.Value('Money').Text);
    AssertTrue(Props.Value('Ref').Kind = fvIdent);
    AssertEquals('Form2.Edit1', Props.Value('Ref').Text);
    AssertEquals('Button1Click', Props.Value('OnClick').Text);
    AssertEquals('the property after the binary block', 20, Props.Items(Props.IndexOf('Width')).Line);
  finally
    Root.Free;
  end;
end;

procedure TTestFormParser.TestMalformedTextNamesFileAndLine;
begin
  ExpectError(Lines(['object F: TF', '  A = ''abc', 'end']), 2, 'unterminated string');
  ExpectError(Lines(['object F: TF', '  object G: TG', '  end']), 4,
    'inside object F, which starts on line 1');
  ExpectError(Lines(['object F: TF', '  D = {', '  ABC', '  }', 'end']), 2, 'odd number');
  ExpectError(Lines(['object F: TF', '', '  D = { 0G }', 'end']), 3, 'invalid character "G"');
  ExpectError(Lines(['object F: TF', 'end', 'object G: TG', 'end']), 3, 'after the end');
  ExpectError(Lines(['object F: TF', '  A 1', 'end']), 2, '"=" expected but "1" found');
  ExpectError(Lines(['object F: TF', '  A = <', '    Caption = ''x''', '  end>', 'end']), 3,
    '"item" expected');
  ExpectError(Lines(['object F: TF', '  A = #x', 'end']), 2, 'invalid character code');
  ExpectError(Lines(['object F: TF', '  A = (', '    1', 'end']), 5,
    'invalid property value end of file');
  ExpectError('TPF0'#6'TForm1', 1, 'binary form file');
  ExpectError('', 1, '"object" expected but end of file found');
end;

{ TTestLinkCheck }

procedure TTestLinkCheck.SetUp;
begin
  FReport := TStringList.Create;
end;

procedure TTestLinkCheck.TearDown;
begin
  FreeAndNil(FReport);
end;

procedure TTestLinkCheck.CheckForm(const AText: string);
begin
  FReport.Clear;
  FCounts := CheckFormText(AText, 'f.lfm', FReport);
end;

{ Check ALinks as the links of a form with two test edits, an application
  button, an action, a plain component and a variable for TStringList. }
procedure TTestLinkCheck.CheckLinks(const ALinks: string);
begin
  CheckForm(Lines([
    'object Form1: TForm1',
    '  OnCreate = FormCreate',
    '  object Edit1: TTestEdit',
    '    Text = ''one''',
    '    OnChange = Edit1Change',
    '  end',
    '  object Edit2: TTestEdit',
    '  end',
    '  object Button1: TToggleBox',
    '    Caption = ''Go''',
    '  end',
    '  object Action1: TBasicAction',
    '  end',
    '  object Store: TComponent',
    '  end',
    '  object Var1: TorvVariable',
    '    ClassTypeName = ''TStringList''',
    '  end',
    '  object Links: TorvConnectionList']) + ALinks + Lines([
    '  end',
    'end']));
end;

function TTestLinkCheck.Verdict(const ALinkName: string): string;
var
  I: Integer;
  Prefix: string;
begin
  Prefix := 'f.lfm: ' + ALinkName + ' (';
  for I := 0 to FReport.Count - 1 do
    if (Copy(FReport[I], 1, Length(Prefix)) = Prefix) and (Pos('): warning: ', FReport[I]) = 0) then
      Exit(Copy(FReport[I], Pos('): ', FReport[I]) + 3, MaxInt));
  Result := '(no verdict for ' + ALinkName + ')';
end;

function TTestLinkCheck.Warnings(const ALinkName: string): string;
var
  I: Integer;
  Prefix: string;
begin
  Result := '';
  Prefix := 'f.lfm: ' + ALinkName + ' (';
  for I := 0 to FReport.Count - 1 do
    if (Copy(FReport[I], 1, Length(Prefix)) = Prefix) and (Pos('): warning: ', FReport[I]) > 0) then
      Result := Result + Copy(FReport[I], Pos('): warning: ', FReport[I]) + 12, MaxInt) + LineEnding;
end;

procedure TTestLinkCheck.ExpectBroken(const ALinks, ALinkName, AReason: string);
begin
  CheckLinks(ALinks);
  AssertEquals(FReport.Text, 1, FCounts.Broken);
  AssertTrue(FReport.Text, Pos('broken: ', Verdict(ALinkName)) = 1);
  AssertTrue(FReport.Text, Pos(AReason, Verdict(ALinkName)) > 0);
end;

procedure TTestLinkCheck.ExpectWarning(const ALinks, ALinkName, AWarning: string);
begin
  CheckLinks(ALinks);
  AssertEquals(FReport.Text, 'ok', Verdict(ALinkName));
  AssertTrue(FReport.Text, Pos(AWarning, Warnings(ALinkName)) > 0);
end;

function P2P(const AName, ASource, ASourceProp, ATarget, ATargetProp: string;
  const AMore: array of string): string;
begin
  Result := Lines(['    object ' + AName + ': TorvP2PConnection',
    '      Source = ' + ASource,
    '      Target = ' + ATarget,
    '      SourceProperty = ''' + ASourceProp + '''',
    '      TargetProperty = ''' + ATargetProp + '''']) + Lines(AMore) + Lines(['    end']);
end;

function E2P(const AName, ASource, AEvent, ATarget, ATargetProp: string;
  const AMore: array of string): string;
begin
  Result := Lines(['    object ' + AName + ': TorvE2PConnection',
    '      Source = ' + ASource,
    '      Target = ' + ATarget,
    '      SourceEvent = ''' + AEvent + '''',
    '      TargetProperty = ''' + ATargetProp + '''']) + Lines(AMore) + Lines(['    end']);
end;

function E2M(const AName, ASource, AEvent, ATarget, AMethod: string;
  const AItems: array of string): string;
begin
  Result := Lines(['    object ' + AName + ': TorvE2MConnection',
    '      Source = ' + ASource,
    '      Target = ' + ATarget,
    '      SourceEvent = ''' + AEvent + '''',
    '      TargetMethod = ''' + AMethod + '''']);
  if Length(AItems) > 0 then
    Result := Result + '      TargetMethodParameters = <' + LineEnding + Lines(AItems) +
      '      >' + LineEnding;
  Result := Result + Lines(['    end']);
end;

procedure TTestLinkCheck.TestCleanFormHasNoFindings;
var
  I: Integer;
begin
  CheckLinks(
    P2P('Copy', 'Edit1', 'Text', 'Edit2', 'Text', ['      SourceEvent = ''OnChange''',
      '      TargetEvent = ''OnChange''', '      SourcePropertyIndexes = (', '      )',
      '      TargetPropertyIndexes = ( '''' )']) +
    P2P('CellToItem', 'Edit1', 'Cells', 'Edit2', 'Items', [
      '      SourcePropertyIndexes = ( ''1'' ''2'' )', '      TargetPropertyIndexes = ( ''0'' )']) +
    P2P('OwnName', 'Store', 'Name', 'Action1', 'Name', []) +
    E2P('Validated', 'Edit1', 'OnValidate', 'Edit2', 'Text', [
      '      ValueEventParameter = ''Text''', '      ValueOptions = voEventProperty']) +
    E2P('Executed', 'Action1', 'OnExecute', 'Edit2', 'Items', [
      '      TargetPropertyIndexes = ( ''3'' )', '      ValueComponent = Store',
      '      ValueConstant = ''done''', '      ValueOptions = voconstant']) +
    E2P('Counted', 'Edit1', 'OnChange', 'Edit2', 'Number', ['      ValueComponent = Edit1',
      '      ValueComponentProperty = ''Number''', '      ValueOptions = voComponentProperty']) +
    E2M('Combined', 'Edit1', 'OnValidate', 'Edit2', 'Combine', ['        item',
      '          ParameterName = ''A''', '          EventParameter = ''Text''',
      '          Options = voEventProperty', '        end', '        item',
      '          ParameterName = ''B''', '          Component = Edit1',
      '          ComponentProperty = ''Number''', '          Options = voComponentProperty',
      '        end']) +
    E2M('Freed', 'Action1', 'OnExecute', 'Store', 'Free', []));
  AssertEquals(FReport.Text, 8, FCounts.Links);
  AssertEquals(FReport.Text, 8, FCounts.Ok);
  AssertEquals(FReport.Text, 0, FCounts.Broken);
  AssertEquals(FReport.Text, 0, FCounts.Warnings);
  AssertEquals('one line per link', 8, FReport.Count);
  for I := 0 to FReport.Count - 1 do
    AssertTrue(FReport[I], FReport[I].EndsWith(': ok'));
  AssertEquals('f.lfm: Copy (TorvP2PConnection): ok', FReport[0]);
  AssertEquals('8 links checked: 8 ok, 0 broken, 0 warnings', SummaryLine(FCounts));
end;

procedure TTestLinkCheck.TestBrokenSidesNameSideAndComponent;
begin
  ExpectBroken(P2P('L', 'Edit9', 'Text', 'Edit2', 'Text', []), 'L',
    'Source: no component named Edit9 on the form');
  ExpectBroken(P2P('L', 'Edit1', 'Text', 'Button1', 'Caption', []), 'L',
    'Target Button1: This is a not Orvane component!');
  ExpectBroken(P2P('L', 'Owner', 'Name', 'Edit2', 'Text', []), 'L',
    'Source Owner: This is a not Orvane component!');
  ExpectBroken(P2P('L', 'nil', 'Text', 'Edit2', 'Text', []), 'L', 'Source: not set');
  // A component reference is set while the form is read, used or not.
  ExpectBroken(E2P('L', 'Edit1', 'OnChange', 'Edit2', 'Text', ['      ValueComponent = Button1']),
    'L', 'ValueComponent Button1: This is a not Orvane component!');
  ExpectBroken(E2M('L', 'Edit1', 'OnChange', 'Edit2', 'Bump', ['        item',
    '          ParameterName = ''Value''', '          Component = Button1',
    '          Options = voConstant', '        end']), 'L',
    'TargetMethodParameters[0].Component Button1: This is a not Orvane component!');
  CheckLinks(P2P('Both', 'Edit8', 'Text', 'Edit9', 'Text', []));
  AssertEquals('every reason, source side first',
    'broken: Source: no component named Edit8 on the form; ' +
    'Target: no component named Edit9 on the form', Verdict('Both'));
end;

procedure TTestLinkCheck.TestBrokenFeatureNames;
begin
  ExpectBroken(P2P('L', 'Edit1', 'text', 'Edit2', 'Text', []), 'L',
    'Source Edit1: Invalid SourceProperty value. Unknown source property ''text'' ' +
    '(did you mean ''Text''?)');
  ExpectBroken(P2P('L', 'Edit1', 'Text', 'Edit2', 'Txt', []), 'L',
    'Target Edit2: Invalid TargetProperty value. Unknown target property ''Txt'' ' +
    '(did you mean ''Text''?)');
  ExpectBroken(P2P('L', 'Edit1', 'Text', 'Edit2', 'ComponentCount', []), 'L',
    'Target Edit2: property ComponentCount cannot be written; the copy at Connect raises');
  ExpectBroken(P2P('L', 'Edit1', '', 'Edit2', 'Text', []), 'L', 'SourceProperty: not set');
  ExpectBroken(E2P('L', 'Edit1', 'OnClick', 'Edit2', 'Text', []), 'L',
    'Source Edit1: Invalid SourceEvent value. Unknown source event ''OnClick''');
  ExpectBroken(E2P('L', 'Edit1', '', 'Edit2', 'Text', []), 'L', 'SourceEvent: not set');
  ExpectBroken(E2P('L', 'Edit1', 'OnChange', 'Edit2', 'Text', ['      ValueEventParameter = ''Text''',
    '      ValueOptions = voEventProperty']), 'L',
    'Source Edit1: Invalid ValueEventParameter value. Unknown event parameter name ''Text''');
  ExpectBroken(E2P('L', 'Edit1', 'OnChange', 'Edit2', 'Text', ['      ValueComponent = Store',
    '      ValueComponentProperty = ''Text''', '      ValueOptions = voComponentProperty']), 'L',
    'ValueComponent Store: Invalid ValueComponentProperty value. Unknown source property ''Text''');
  ExpectBroken(E2P('L', 'Edit1', 'OnChange', 'Edit2', 'Text', [
    '      ValueOptions = voComponentProperty']), 'L', 'ValueComponent: not set');
  ExpectBroken(E2P('L', 'Edit1', 'OnChange', 'Edit2', 'Text', ['      ValueOptions = voProperty']),
    'L', 'ValueOptions: voProperty is not a TorvValueOptions value');
  ExpectBroken(Lines(['    object L: TorvE2PConnection', '      Source = Edit1',
    '      Target = Edit2', '      TargetProperty = ''Text''', '      ValueEventParameter = ''Text''',
    '      SourceEvent = ''OnValidate''', '      ValueOptions = voEventProperty', '    end']), 'L',
    'ValueEventParameter is written before SourceEvent, which clears it');
  ExpectBroken(E2M('L', 'Edit1', 'OnChange', 'Edit2', 'bump', []), 'L',
    'Target Edit2: Invalid TargetMethod value. Unknown target method ''bump'' ' +
    '(did you mean ''Bump''?)');
  ExpectBroken(P2P('L', 'Edit1', 'Cells', 'Edit2', 'Items', ['      SourcePropertyIndexes = ( 1 2 )']),
    'L', 'SourcePropertyIndexes: item 0 is not a string');
end;

procedure TTestLinkCheck.TestToleratedFaultsAreWarnings;
begin
  ExpectWarning(P2P('L', 'Edit1', 'Text', 'Edit2', 'Text', ['      SourceEvent = ''OnChanged''']),
    'L', 'Source Edit1: Invalid SourceEvent value. Unknown source event ''OnChanged'' ' +
    '(did you mean ''OnChange''?); ' +
    'the target is set only once, at Connect');
  ExpectWarning(P2P('L', 'Edit1', 'Text', 'Edit2', 'Text', ['      TargetEvent = ''OnExecute''']),
    'L', 'Target Edit2: Invalid TargetEvent value. Unknown target event ''OnExecute''; ' +
    'changes of the target are not copied back');
  ExpectWarning(P2P('L', 'Edit1', 'ComponentCount', 'Edit2', 'Number', [
    '      TargetEvent = ''OnChange''']), 'L',
    'Source Edit1: property ComponentCount cannot be written; the copy back raises');
  ExpectWarning(E2P('L', 'Edit1', 'OnChange', 'Edit2', 'ComponentCount', []), 'L',
    'property ComponentCount cannot be written; every firing raises');
  AssertEquals(FReport.Text, 1, FCounts.Warnings);
  AssertEquals(FReport.Text, 0, FCounts.Broken);
end;

procedure TTestLinkCheck.TestIndexListsMustFitTheirProperty;
begin
  ExpectWarning(P2P('L', 'Edit1', 'Cells', 'Edit2', 'Number', ['      SourcePropertyIndexes = ( ''1'' )']),
    'L', 'Source Edit1: Invalid SourcePropertyIndex value. Invalid dimension size ' +
    '(SourcePropertyIndexes has 1 items for Cells[Row, Col])');
  ExpectWarning(P2P('L', 'Edit1', 'Number', 'Edit2', 'Items', ['      TargetPropertyIndexes = ( '''' )']),
    'L', 'TargetPropertyIndexes: index Index of Items[Index] has no value');
  ExpectWarning(P2P('L', 'Edit1', 'Text', 'Edit2', 'Text', ['      SourcePropertyIndexes = ( '''' ''2'' )']),
    'L', 'SourcePropertyIndexes: 1 items beyond the indexes of Text are ignored');
  ExpectWarning(E2P('L', 'Edit1', 'OnChange', 'Edit2', 'Items', []), 'L',
    'Target Edit2: Invalid TargetPropertyIndex value. Value is not array ' +
    '(no TargetPropertyIndexes stored for Items[Index])');
  // One empty item for a property without indexes is how every new link starts.
  CheckLinks(P2P('L', 'Edit1', 'Text', 'Edit2', 'Text', ['      SourcePropertyIndexes = ( '''' )',
    '      TargetPropertyIndexes = ( )']));
  AssertEquals(FReport.Text, 0, FCounts.Warnings);
  CheckLinks(E2M('L', 'Edit1', 'OnChange', 'Edit2', 'Bump', ['        item',
    '          ParameterName = ''Value''', '          Component = Edit1',
    '          ComponentProperty = ''Cells''', '          ComponentPropertyIndexes = ( ''0'' '''' )',
    '          Options = voComponentProperty', '        end']));
  AssertEquals(FReport.Text, 'ok', Verdict('L'));
  AssertEquals(FReport.Text, 'ComponentPropertyIndexes: index Col of Cells[Row, Col] has no value' +
    LineEnding, Warnings('L'));
end;

procedure TTestLinkCheck.TestParameterItems;
begin
  CheckLinks(E2M('L', 'Edit1', 'OnValidate', 'Edit2', 'Combine', [
    '        item', '          ParameterName = ''C''', '        end',
    '        item', '          ParameterName = ''B''', '          EventParameter = ''Accepted''',
    '          Options = voEventProperty', '        end']));
  AssertEquals(FReport.Text, 'ok', Verdict('L'));
  AssertEquals(FReport.Text,
    'Invalid parameter connection L[0]. Unknown method parameter C; ' +
    'every firing raises it before the call' + LineEnding +
    'Invalid parameter connection L[1]. Unknown event parameter Accepted; ' +
    'every firing raises it before the call' + LineEnding +
    'method parameter A of Combine gets no value from TargetMethodParameters' + LineEnding,
    Warnings('L'));
  ExpectWarning(E2M('L', 'Edit1', 'OnChange', 'Edit2', 'Bump', ['        item',
    '          ParameterName = ''Value''', '          Options = voComponentProperty', '        end']),
    'L', 'Invalid parameter connection L[0]. Unknown Component component of Value');
  ExpectWarning(E2M('L', 'Edit1', 'OnChange', 'Edit2', 'Bump', ['        item',
    '          ParameterName = ''Value''', '          Component = Edit1',
    '          ComponentProperty = ''Numbers''', '          Options = voComponentProperty',
    '        end']), 'L', 'Invalid parameter connection L[0]. Unknown component property Numbers ' +
    '(did you mean ''Number''?)');
  ExpectWarning(E2M('L', 'Edit1', 'OnChange', 'Edit2', 'Bump', ['        item',
    '          ParameterName = ''Value''', '          Component = Edit7',
    '          Options = voComponentProperty', '        end']), 'L',
    'TargetMethodParameters[0].Component: no component named Edit7 on the form');
  ExpectWarning(E2M('L', 'Edit1', 'OnChange', 'Edit2', 'Bump', ['        item',
    '          ParameterName = ''Value''', '          Component = Store',
    '          ComponentProperty = ''ComponentCount''', '          Options = voComponentProperty',
    '        end']), 'L', 'property ComponentCount cannot be written; every firing raises');
  ExpectWarning(Lines(['    object L: TorvE2MConnection', '      Source = Edit1', '      Target = Edit2',
    '      TargetMethodParameters = <', '        item', '          ParameterName = ''Value''',
    '        end>', '      SourceEvent = ''OnChange''', '      TargetMethod = ''Bump''', '    end']),
    'L', 'TargetMethodParameters is written before TargetMethod, which empties it');
end;

procedure TTestLinkCheck.TestVariableShowsItsClass;
const
  HeldEdit = '  object Held: TorvVariable' + LineEnding + '    ClassTypeName = ''ttestedit''' +
    LineEnding + '  end' + LineEnding;
begin
  // Var1 stands for TStringList; its own event and Self come on top.
  CheckLinks(
    E2P('Changed', 'Var1', 'OnInstanceChange', 'Edit2', 'Number', [
      '      ValueEventParameter = ''Instance''', '      ValueOptions = voEventProperty']) +
    E2M('Added', 'Edit1', 'OnChange', 'Var1', 'Add', ['        item',
      '          ParameterName = ''S''', '          Component = Edit1',
      '          ComponentProperty = ''Text''', '          Options = voComponentProperty',
      '        end']) +
    E2P('Sorted', 'Edit1', 'OnChange', 'Var1', 'Sorted', ['      ValueConstant = ''True''']));
  AssertEquals(FReport.Text, 3, FCounts.Ok);
  AssertEquals(FReport.Text, 0, FCounts.Warnings);
  // A link from a variable that holds nothing yet waits for its object
  // instead of failing at Connect.
  CheckForm(Lines(['object Form1: TForm1', '  object Edit1: TTestEdit', '  end',
    '  object Edit2: TTestEdit', '  end', '  object Var1: TorvVariable',
    '    ClassTypeName = ''TStringList''', '  end']) + HeldEdit +
    Lines(['  object Links: TorvConnectionList']) +
    P2P('TooEarly', 'Held', 'Text', 'Edit2', 'Text', []) +
    P2P('Hold', 'Edit1', 'Self', 'Held', 'Self', []) +
    P2P('InTime', 'Held', 'Text', 'Edit2', 'Text', ['      SourceEvent = ''OnValidate''']) +
    P2P('WrongClass', 'Edit1', 'Self', 'Var1', 'Self', []) +
    Lines(['  end', 'end']));
  AssertEquals(FReport.Text, 'ok', Verdict('TooEarly'));
  AssertEquals(FReport.Text, 'ok', Verdict('Hold'));
  AssertEquals(FReport.Text, 'ok', Verdict('InTime'));
  AssertEquals(FReport.Text, 'broken: Target Var1: The variable holds objects of class TStringList: ' +
    'a TTestEdit cannot be held!; the copy at Connect raises', Verdict('WrongClass'));
  AssertEquals(FReport.Text, 0, FCounts.Warnings);
  ExpectBroken(E2M('L', 'Edit1', 'OnChange', 'Var1', 'Combine', []), 'L',
    'Target Var1: Invalid TargetMethod value. Unknown target method ''Combine''');
  CheckForm(Lines(['object Form1: TForm1', '  object Edit1: TTestEdit', '  end',
    '  object Odd: TorvVariable', '    ClassTypeName = ''TNoSuchList''', '  end',
    '  object Plain: TorvVariable', '  end', '  object Links: TorvConnectionList']) +
    E2M('ToOdd', 'Edit1', 'OnChange', 'Odd', 'Clear', []) +
    E2M('ToPlain', 'Edit1', 'OnChange', 'Plain', 'Clear', []) +
    Lines(['  end', 'end']));
  AssertEquals(FReport.Text, 'broken: Target Odd: Unknown class! (ClassTypeName ''TNoSuchList'')',
    Verdict('ToOdd'));
  AssertEquals('a variable stands for TObject until its class is set',
    'broken: Target Plain: Invalid TargetMethod value. Unknown target method ''Clear''',
    Verdict('ToPlain'));
  AssertTrue(FReport.Text, Pos('f.lfm: Odd (TorvVariable): warning: Unknown class!', FReport.Text) > 0);
end;

procedure TTestLinkCheck.TestWhatCannotBeCheckedIsSaid;
begin
  ExpectWarning(P2P('L', 'Form2.Edit1', 'Txt', 'Edit2', 'Text', []), 'L',
    'not checked: Source Form2.Edit1 is a component of another form or data module');
  CheckForm(Lines([
    'inherited Form1: TForm1',
    '  inline Frame1: TEditFrame',
    '    inherited FrameEdit: TTestEdit',
    '    end',
    '  end',
    '  inherited Links: TorvConnectionList']) +
    P2P('FromAncestor', 'Edit7', 'Text', 'Frame1.FrameEdit', 'Text', []) +
    P2P('IntoFrame', 'Frame1.Edit7', 'Text', 'Frame1.FrameEdit', 'Txt', []) +
    Lines([
    '    inherited Changed: TorvP2PConnection',
    '      SourceEvent = ''OnValidate''',
    '    end',
    '  end',
    'end']));
  AssertEquals(FReport.Text, 'ok', Verdict('FromAncestor'));
  AssertEquals(FReport.Text, 'not checked: Source Edit7 is not in this file; ' +
    'it may be declared in the ancestor form' + LineEnding, Warnings('FromAncestor'));
  AssertEquals('a name inside a frame resolves in the frame',
    'broken: Target Frame1.FrameEdit: Invalid TargetProperty value. Unknown target property ''Txt'' ' +
    '(did you mean ''Text''?)',
    Verdict('IntoFrame'));
  AssertTrue(FReport.Text, Pos('not checked: Source Frame1.Edit7 is not in this file',
    Warnings('IntoFrame')) > 0);
  AssertEquals(FReport.Text, 'ok', Verdict('Changed'));
  AssertTrue(FReport.Text, Pos('not checked: Source is not in this file; it comes from the ancestor form',
    Warnings('Changed')) > 0);
  // Links that are not children of a connection list.
  CheckForm(Lines([
    'object Form1: TForm1',
    '  object Edit1: TTestEdit',
    '  end',
    '  object Box: TLinkBox']) +
    P2P('Boxed', 'Edit1', 'Text', 'Edit1', 'Text', []) +
    Lines(['  end']) +
    P2P('Loose', 'Edit1', 'Text', 'Edit1', 'Text', []) +
    Lines(['  object Links: TorvConnectionList',
    '    object Custom: TMyConnection',
    '    end',
    '  end',
    'end']));
  AssertEquals(FReport.Text, 0, FCounts.Links);
  AssertEquals(FReport.Text, 3, FCounts.Warnings);
  AssertEquals(
    'f.lfm: Boxed (TorvP2PConnection): warning: not checked: its parent Box is of class TLinkBox, ' +
    'which the checker does not know; the link is connected only if that is a connection list' +
    LineEnding +
    'f.lfm: Loose (TorvP2PConnection): warning: not in a connection list: it is never connected' +
    LineEnding +
    'f.lfm: Custom (TMyConnection): warning: not checked: class TMyConnection is not a kind of link ' +
    'the checker knows' + LineEnding, FReport.Text);
end;

initialization
  RegisterTest('Tools', TTestFormParser);
  RegisterTest('Tools', TTestLinkCheck);
end.
