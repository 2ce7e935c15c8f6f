{ The descriptor-string language: tokenizer, the four read operations and
  their errors. }
unit Orvtestdescriptors;

{$I orvdefines.inc}

interface

uses
  Classes, SysUtils, Variants, fpcunit, testregistry,
  Orvcommon;

type
  { A class info whose descriptor strings are set per instance. }
  TDescribedInfo = class(TorvClassInfo)
  public
    PropText, MethodText, CtorText, EventText: string;
  protected
    procedure DefineORVProperties(AList: TList); override;
    procedure DefineORVMethods(AList: TList); override;
    procedure DefineORVConstructors(AList: TList); override;
    procedure DefineORVEvents(AList: TList); override;
  end;

  { A derived class info: its own strings are read after its parent's. }
  TDerivedInfo = class(TDescribedInfo)
  public
    ChildProps, ChildEvents: string;
  protected
    procedure DefineORVProperties(AList: TList); override;
    procedure DefineORVEvents(AList: TList); override;
  end;

{ Return a declared class info; free it when the declaration fails. }
function Declare(const AProps: string; const AMethods: string = '';
  const ACtors: string = ''; const AEvents: string = ''): TDescribedInfo;

type
  TTestTokenizer = class(TTestCase)
  private
    function Tokens(const AText, ASeparator: string; AUntilAtEnd: Boolean): string;
  published
    procedure TestSeparators;
    procedure TestAtEndLeavesLastCharacter;
    procedure TestReadingPastTheEnd;
  end;

  TTestDescriptors = class(TTestCase)
  private
    procedure CheckError(const AProps, AMethods, ACtors, AEvents, AMessage: string;
      AClass: ExceptClass = nil);
  published
    procedure TestPropertyEntries;
    procedure TestOverrideEntries;
    procedure TestMethodAndConstructorEntries;
    procedure TestEventEntries;
    procedure TestGrammarErrors;
    procedure TestCountRunsPastTheText;
    procedure TestFeaturesBeforeAnErrorStay;
    procedure TestNamesAreCaseSensitiveAndFirstMatchWins;
  end;

implementation

procedure TDescribedInfo.DefineORVProperties(AList: TList);
begin
  inherited DefineORVProperties(AList);
  ReadORVProperties(PropText);
end;

procedure TDescribedInfo.DefineORVMethods(AList: TList);
begin
  inherited DefineORVMethods(AList);
  ReadORVMethods(MethodText);
end;

procedure TDescribedInfo.DefineORVConstructors(AList: TList);
begin
  inherited DefineORVConstructors(AList);
  ReadORVConstructors(CtorText);
end;

procedure TDescribedInfo.DefineORVEvents(AList: TList);
begin
  inherited DefineORVEvents(AList);
  ReadORVEvents(EventText);
end;

procedure TDerivedInfo.DefineORVProperties(AList: TList);
begin
  inherited DefineORVProperties(AList);
  ReadORVProperties(ChildProps);
end;

procedure TDerivedInfo.DefineORVEvents(AList: TList);
begin
  inherited DefineORVEvents(AList);
  ReadORVEvents(ChildEvents);
end;

function Declare(const AProps, AMethods, ACtors, AEvents: string): TDescribedInfo;
begin
  Result := TDescribedInfo.Create;
  try
    Result.PropText := AProps;
    Result.MethodText := AMethods;
    Result.CtorText := ACtors;
    Result.EventText := AEvents;
    Result.InitMetaData;
  except
    Result.Free;
    raise;
  end;
end;

function ParamNames(const AArgs: TorvArguments): string;
var
  I: Integer;
begin
  Result := '';
  for I := 0 to High(AArgs) do
    Result := Result + '(' + AArgs[I].Name + ')';
end;

{ TTestTokenizer }

function TTestTokenizer.Tokens(const AText, ASeparator: string; AUntilAtEnd: Boolean): string;
var
  T: TStringTokenizer;
  I: Integer;
begin
  Result := '';
  T := TStringTokenizer.Create(AText, ASeparator);
  try
    if AUntilAtEnd then
      while not T.AtEnd do
        Result := Result + '[' + T.NextToken + ']'
    else
      for I := 1 to 5 do
        Result := Result + '[' + T.NextToken + ']';
  finally
    T.Free;
  end;
end;

procedure TTestTokenizer.TestSeparators;
begin
  AssertEquals('two separators in a row give an empty token',
    '[Override][Images][][pvPublished][]', Tokens('Override::Images::::pvPublished', '::', False));
  AssertEquals('a single colon stays in the token', '[A:B][C][][][]', Tokens('A:B::C', '::', False));
  AssertEquals('a colon at the very end stays in the token', '[AB:][][][][]', Tokens('AB:', '::', False));
  AssertEquals('style lists split at two dots', '[psReadable][psWritable]',
    Tokens('psReadable..psWritable', '..', True));
  AssertEquals('a trailing separator is consumed with the last token', '[A][B]',
    Tokens('A::B::', '::', True));
end;

procedure TTestTokenizer.TestAtEndLeavesLastCharacter;
begin
  AssertEquals('one character left counts as the end', '[Self][pv]', Tokens('Self::pv::0', '::', True));
  AssertEquals('a one-character text is never read', '', Tokens('X', '::', True));
  AssertEquals('two characters are read', '[XY]', Tokens('XY', '::', True));
  AssertEquals('', Tokens('', '::', True));
end;

procedure TTestTokenizer.TestReadingPastTheEnd;
var
  T: TStringTokenizer;
begin
  T := TStringTokenizer.Create('AB', '::');
  try
    AssertEquals('AB', T.NextToken);
    AssertEquals(3, T.Position);
    AssertEquals('', T.NextToken);
    AssertEquals('past the end the position stays', 3, T.Position);
    AssertTrue(T.AtEnd);
  finally
    T.Free;
  end;
end;

{ TTestDescriptors }

procedure TTestDescriptors.CheckError(const AProps, AMethods, ACtors, AEvents, AMessage: string;
  AClass: ExceptClass);
var
  Info: TDescribedInfo;
begin
  Info := nil;
  try
    Info := Declare(AProps, AMethods, ACtors, AEvents);
    Fail('no error for "' + AProps + AMethods + ACtors + AEvents + '", expected: ' + AMessage);
  except
    on E: EAssertionFailedError do
      raise;
    on E: Exception do
    begin
      AssertEquals('message', AMessage, E.Message);
      if AClass <> nil then
        AssertEquals('exception class', AClass.ClassName, E.ClassName)
      else
        AssertEquals('a plain Exception', 'Exception', E.ClassName);
    end;
  end;
  Info.Free;
end;

procedure TTestDescriptors.TestPropertyEntries;
var
  Info: TDescribedInfo;
  P: TorvPropertyInfo;
begin
  Info := Declare('Define::Items::psReadable..psWritable..psIndexed::pvPublic::1::Index::' +
    'Define::Capacity::psReadable..psWritable::pvPublic::0::Define::Count::psReadable::pvProtected::0::' +
    'Define::Plain::::pvPublished::2::X::Y::Define::Odd::psWritable..x::pvPublic::0');
  try
    AssertEquals(5, Info.GetPropertyCount);
    P := Info.GetProperties(0);
    AssertEquals('Items', P.Name);
    AssertTrue(P.Styles = [psReadable, psWritable, psIndexed]);
    AssertTrue(P.Visibility = pvPublic);
    AssertEquals('(Index)', ParamNames(P.Indexes));
    AssertSame(Info, P.ClassInfo);
    AssertSame(Info, P.GetIndexes(0).ClassInfo);
    AssertEquals('Capacity', Info.GetProperties(1).Name);
    AssertTrue(Info.GetProperties(2).Visibility = pvProtected);
    P := Info.GetProperties(3);
    AssertTrue('an empty style list is the empty set', P.Styles = []);
    AssertEquals('indexes without psIndexed are kept as written', 2, P.GetIndexCount);
    AssertTrue('a one-character remainder of a style list is ignored',
      Info.GetProperties(4).Styles = [psWritable]);
  finally
    Info.Free;
  end;
end;

procedure TTestDescriptors.TestOverrideEntries;
var
  Info: TDerivedInfo;
  P: TorvPropertyInfo;
begin
  Info := TDerivedInfo.Create;
  try
    Info.PropText := 'Define::Images::psReadable::pvPublic::1::I::Define::Self::psReadable::pvPublic::0';
    Info.EventText := 'Define::OnContextPopup::pvProtected::2::Sender::MousePos';
    Info.ChildProps := 'Override::Images::::pvPublished::Override::Self::psReadable..psWritable::pvPublished::0';
    Info.ChildEvents := 'Override::OnContextPopup::pvPublished::Define::OnChange::pvPublished::1::Sender';
    Info.InitMetaData;
    AssertEquals('overrides add nothing', 2, Info.GetPropertyCount);
    P := Info.FindProperty('Images');
    AssertTrue('empty styles leave the styles', P.Styles = [psReadable]);
    AssertTrue(P.Visibility = pvPublished);
    AssertEquals('indexes unchanged', 1, P.GetIndexCount);
    P := Info.FindProperty('Self');
    AssertTrue(P.Styles = [psReadable, psWritable]);
    AssertTrue(P.Visibility = pvPublished);
    AssertEquals(2, Info.GetEventCount);
    AssertTrue(Info.GetEvents(0).Visibility = pvPublished);
    AssertEquals('(Sender)', ParamNames(Info.FindEvent('OnChange').Args));
  finally
    Info.Free;
  end;
end;

procedure TTestDescriptors.TestMethodAndConstructorEntries;
var
  Info: TDescribedInfo;
  M: TorvMethodInfo;
begin
  Info := Declare('', 'Add::msFunction::1::S::AddObject::msFunction::2::S::AObject::Append::msProcedure::1::S',
    'Create::3::Instance::ResName::ResType::CreateFromID::3::Instance::ResID::ResType::Plain::0');
  try
    AssertEquals(3, Info.GetMethodCount);
    M := Info.GetMethods(1);
    AssertEquals('AddObject', M.Name);
    AssertTrue(M.MethodStyle = msFunction);
    AssertEquals('(S)(AObject)', ParamNames(M.Args));
    AssertTrue(Info.GetMethods(2).MethodStyle = msProcedure);
    AssertSame(M.GetArgs(1), M.Find('AObject'));
    AssertNull('parameter names are case-sensitive', M.Find('aobject'));
    AssertTrue('a result is empty until the first call', VarIsEmpty(M.Result));
    AssertTrue('a value is empty after declaring', VarIsEmpty(M.GetArgs(0).Value));
    AssertEquals(3, Info.GetConstructorCount);
    AssertEquals('(Instance)(ResID)(ResType)', ParamNames(Info.GetConstructors(1).Args));
    AssertEquals(0, Info.FindConstructor('Plain').GetArgCount);
  finally
    Info.Free;
  end;
end;

procedure TTestDescriptors.TestEventEntries;
var
  Info: TDescribedInfo;
  E: TorvEventInfo;
begin
  Info := Declare('', '', '', 'Define::OnScroll::pvPublished::3::Sender::ScrollCode::ScrollPos::' +
    'Define::OnHidden::pvProtected::0::');
  try
    AssertEquals('the trailing separator declares nothing', 2, Info.GetEventCount);
    E := Info.GetEvents(0);
    AssertEquals('(Sender)(ScrollCode)(ScrollPos)', ParamNames(E.Args));
    AssertTrue(E.Visibility = pvPublished);
    AssertSame(E.GetArgs(2), E.Find('ScrollPos'));
    AssertTrue(Info.GetEvents(1).Visibility = pvProtected);
  finally
    Info.Free;
  end;
end;

procedure TTestDescriptors.TestGrammarErrors;
begin
  CheckError('Define::A::psReadable..psBogus::pvPublic::0', '', '', '',
    'psReadable..psBogus Invalid property style property!');
  CheckError('Define::A', '', '', '', ' Invalid property visibility property!');
  CheckError('Define::A::psReadable::pvSecret::0', '', '', '',
    'pvSecret Invalid property visibility property!');
  CheckError('Declare::A::psReadable::pvPublic::0', '', '', '', 'Invalid property define token!');
  CheckError('', 'Clear', '', '', 'Invalid method style property!');
  CheckError('', 'Clear::msMaybe::0', '', '', 'Invalid method style property!');
  CheckError('', '', 'Create', '', '"" is an invalid integer', EConvertError);
  CheckError('', '', 'Create::two::A::B', '', '"two" is an invalid integer', EConvertError);
  CheckError('', '', '', 'Define::OnX::pvpublished::0',
    'pvpublished Invalid event property visibility property!');
  CheckError('', '', '', 'Define::OnX', ' Invalid event property visibility property!');
  CheckError('', '', '', 'Fire::OnX::pvPublic::0', 'Invalid property define token!');
  CheckError('Override::Missing::::pvPublic', '', '', '', 'Property Missing not found!');
  CheckError('', '', '', 'Override::OnMissing::pvPublic', 'Event OnMissing not found!');
  CheckError('', '', 'Create::-1', '', 'Invalid parameter count -1!');
end;

procedure TTestDescriptors.TestCountRunsPastTheText;
var
  Info: TDescribedInfo;
begin
  Info := Declare('', 'Move::msProcedure::2::Index::Get::Clear::msProcedure::3::A::B', 'Create::2::AOwner');
  try
    AssertEquals('a count takes the following tokens as names', 2, Info.GetMethodCount);
    AssertEquals('(Index)(Get)', ParamNames(Info.GetMethods(0).Args));
    AssertEquals('(A)(B)()', ParamNames(Info.GetMethods(1).Args));
    AssertEquals('(AOwner)()', ParamNames(Info.GetConstructors(0).Args));
  finally
    Info.Free;
  end;
end;

procedure TTestDescriptors.TestFeaturesBeforeAnErrorStay;
var
  Info: TDescribedInfo;
  Attempt: Integer;
begin
  for Attempt := 1 to 2 do
  begin
    Info := TDescribedInfo.Create;
    try
      Info.PropText := 'Define::A::psReadable::pvPublic::0::Define::B::psReadable::pvNone::0';
      try
        Info.InitMetaData;
        Fail('a failing declaration must fail at every attempt');
      except
        on E: EAssertionFailedError do
          raise;
        on E: Exception do
          AssertEquals('pvNone Invalid property visibility property!', E.Message);
      end;
      AssertEquals(1, Info.GetPropertyCount);
      AssertEquals('A', Info.GetProperties(0).Name);
      AssertEquals('later kinds are not declared', 0, Info.GetMethodCount);
    finally
      Info.Free;
    end;
  end;
end;

procedure TTestDescriptors.TestNamesAreCaseSensitiveAndFirstMatchWins;
var
  Info: TDerivedInfo;
begin
  Info := TDerivedInfo.Create;
  try
    Info.PropText := 'Define::Count::psReadable::pvPublic::0';
    Info.MethodText := 'Add::msFunction::0::Add::msProcedure::1::X';
    Info.ChildProps := 'Define::Count::psReadable..psWritable::pvPublished::0';
    Info.InitMetaData;
    AssertNull(Info.FindProperty('count'));
    AssertNull(Info.FindMethod('add'));
    AssertEquals(2, Info.GetPropertyCount);
    AssertSame('the parent''s declaration is found first', Info.GetProperties(0), Info.FindProperty('Count'));
    AssertTrue(Info.FindMethod('Add').MethodStyle = msFunction);
  finally
    Info.Free;
  end;
end;

initialization
  RegisterTest('Metadata', TTestTokenizer);
  RegisterTest('Metadata', TTestDescriptors);
end.
