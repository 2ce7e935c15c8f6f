{ The event-to-method link: arguments by name from constants, component
  properties and event parameters, values handed back after the call, the
  parameter connections' setters, and the link's life in the designer, in
  form files and when the components it names go. }
unit Orvteste2m;

{$I orvdefines.inc}

interface

uses
  Classes, SysUtils, Variants, fpcunit, testregistry,
  Orvcommon, Orvconlist, Orve2m, Orvtestfixtures;

type
  { Three edits and one link from the first one's OnValidate to a method of
    the second, owned by a root that streams them as a form does. }
  TTestE2MBase = class(TTestCase)
  protected
    FRoot: TComponent;
    FSource, FTarget, FHolder: TTestEdit;
    FLink: TorvE2MConnection;
    FChangeLog: string;
    procedure SetUp; override;
    procedure TearDown; override;
    procedure Wire(const AMethod: string);
    function Item(AIndex: Integer): TorvParameterConnection;
    { Feed item AIndex from the holder's property AName with AIndexes. }
    procedure FromProperty(AIndex: Integer; const AName: string; const AIndexes: array of Variant);
    procedure FromEvent(AIndex: Integer; const AName: string);
    function Method(const AName: string): TorvMethodInfo;
    function BumpArgument: Integer;
    { Fire the source's OnValidate with AText; answer the text it leaves. }
    function Fire(const AText: string): string;
    { Run step AStep (a firing when negative), which must raise AClass;
      answer the message. }
    function Refusal(AStep: Integer; AClass: ExceptClass): string;
    procedure Attempt(AStep: Integer);
    { Log the first two Items of the holder at each change. }
    procedure LogChange(Sender: TObject);
    procedure UpperText(Sender: TObject; var AText: string; var AAccept: Boolean);
  end;

  TTestE2MFiring = class(TTestE2MBase)
  published
    procedure TestArgumentsAreMatchedByName;
    procedure TestPropertiesAreWrittenBack;
    procedure TestEventParametersAreHandedBack;
    procedure TestUnresolvedItemStopsBeforeTheCall;
    procedure TestDestroyedComponentLeavesTheLinkSafe;
  end;

  TTestE2MSetup = class(TTestE2MBase)
  private
    function ReadCopy(out ALink: TorvE2MConnection): TComponent;
  published
    procedure TestConnectAnswers;
    procedure TestSourceEventClearsEventParameters;
    procedure TestTargetMethodFillsOrEmpties;
    procedure TestSameTargetMethodAtDesignTimeKeepsItems;
    procedure TestLinkReadFromAFormFile;
    procedure TestComponentRefusals;
    procedure TestEventParameterRefusals;
    procedure TestSettingComponentAgainUnconnects;
    procedure TestNames;
  end;

implementation

type
  TE2MTestRoot = class(TComponent)
  protected
    procedure GetChildren(Proc: TGetChildProc; Root: TComponent); override;
  end;

  { Reaches the designer and loading states of a component. }
  TComponentAccess = class(TComponent);

  { Derived from a registered class without being registered itself. }
  TUnboundEdit = class(TTestEdit);

procedure TE2MTestRoot.GetChildren(Proc: TGetChildProc; Root: TComponent);
var
  I: Integer;
begin
  for I := 0 to ComponentCount - 1 do
    if not Components[I].HasParent then
      Proc(Components[I]);
end;

{ TTestE2MBase }

procedure TTestE2MBase.SetUp;
begin
  FRoot := TE2MTestRoot.Create(nil);
  FSource := TTestEdit.Create(FRoot);
  FSource.Name := 'Src';
  FTarget := TTestEdit.Create(FRoot);
  FTarget.Name := 'Dst';
  FHolder := TTestEdit.Create(FRoot);
  FHolder.Name := 'Holder';
  FLink := TorvE2MConnection.Create(FRoot);
  FLink.Name := 'Link';
  FChangeLog := '';
end;

procedure TTestE2MBase.TearDown;
begin
  FreeAndNil(FRoot);
end;

procedure TTestE2MBase.Wire(const AMethod: string);
begin
  FLink.Source := FSource;
  FLink.Target := FTarget;
  FLink.SourceEvent := 'OnValidate';
  FLink.TargetMethod := AMethod;
end;

function TTestE2MBase.Item(AIndex: Integer): TorvParameterConnection;
begin
  Result := FLink.TargetMethodParameters[AIndex];
end;

procedure TTestE2MBase.FromProperty(AIndex: Integer; const AName: string;
  const AIndexes: array of Variant);
begin
  Item(AIndex).Component := FHolder;
  Item(AIndex).ComponentProperty := AName;
  if Length(AIndexes) > 0 then
    Item(AIndex).ComponentPropertyIndex := IndexArray(AIndexes);
  Item(AIndex).Options := voComponentProperty;
end;

procedure TTestE2MBase.FromEvent(AIndex: Integer; const AName: string);
begin
  Item(AIndex).EventParameter := AName;
  Item(AIndex).Options := voEventProperty;
end;

function TTestE2MBase.Method(const AName: string): TorvMethodInfo;
begin
  Result := InfoOf(FTarget).FindMethod(AName);
end;

function TTestE2MBase.BumpArgument: Integer;
begin
  Result := Method('Bump').GetArgs(0).Value;
end;

function TTestE2MBase.Fire(const AText: string): string;
begin
  Result := AText;
  FSource.Validate(Result);
end;

procedure TTestE2MBase.Attempt(AStep: Integer);
begin
  case AStep of
    -1: Fire('');
    0: Item(0).ComponentProperty := 'Number';
    1: Item(0).ComponentProperty := 'number';
    2: Item(0).Component := TUnboundEdit(FRoot.FindComponent('Unbound'));
    3: Item(0).ComponentPropertyIndex := IndexArray([1]);
    4: Item(0).ComponentPropertyIndex := IndexArray([1, 2, 3]);
    5: Item(0).EventParameter := 'Text';
    6: Item(0).EventParameter := 'text';
  end;
end;

function TTestE2MBase.Refusal(AStep: Integer; AClass: ExceptClass): string;
begin
  Result := '';
  try
    Attempt(AStep);
    Fail(Format('step %d went through', [AStep]));
  except
    on E: Exception do
    begin
      if E is EAssertionFailedError then
        raise;
      AssertEquals(Format('step %d', [AStep]), AClass, E.ClassType);
      Result := E.Message;
    end;
  end;
end;

procedure TTestE2MBase.LogChange(Sender: TObject);
begin
  FChangeLog := FChangeLog + FHolder.Items[0] + FHolder.Items[1] + ';';
end;

procedure TTestE2MBase.UpperText(Sender: TObject; var AText: string; var AAccept: Boolean);
begin
  AText := UpperCase(AText);
end;

{ TTestE2MFiring }

procedure TTestE2MFiring.TestArgumentsAreMatchedByName;
begin
  FHolder.Text := 'abc';
  Wire('Combine');
  // Item 0 feeds B and item 1 feeds A: positions disagree with names.
  Item(0).ParameterName := 'B';
  Item(0).Constant := '7';
  Item(1).ParameterName := 'A';
  FromProperty(1, 'Text', []);
  AssertTrue(FLink.Connect);
  Fire('');
  AssertEquals('abc7', VarToStr(Method('Combine').Result));
  FromEvent(1, 'Text');
  Fire('hi');
  AssertEquals('hi7', VarToStr(Method('Combine').Result));
end;

procedure TTestE2MFiring.TestPropertiesAreWrittenBack;
begin
  FHolder.Number := 41;
  FHolder.Items[0] := 'x';
  FHolder.Items[1] := '5';
  FHolder.OnChange := @LogChange;
  Wire('Bump');
  FromProperty(0, 'Number', []);
  AssertTrue(FLink.Connect);
  Fire('');
  AssertEquals('the changed value goes back', 42, FHolder.Number);

  // Both items use the one index parameter of Items: each write must use
  // its own index again, and each is written although nothing changed.
  FLink.TargetMethod := 'Combine';
  FromProperty(0, 'Items', [0]);
  FromProperty(1, 'Items', [1]);
  FChangeLog := '';
  Fire('');
  AssertEquals('x5', VarToStr(Method('Combine').Result));
  AssertEquals('each write, to its own index', 'x5;x5;', FChangeLog);
end;

procedure TTestE2MFiring.TestEventParametersAreHandedBack;
begin
  FTarget.OnValidate := @UpperText;
  Wire('Bump');
  FromEvent(0, 'Text');
  AssertTrue(FLink.Connect);
  AssertEquals('42', Fire('41'));
  // Through a method that fires the target's own event, whose handler
  // changes the text on the way back.
  FLink.TargetMethod := 'Validate';
  FromEvent(0, 'Text');
  AssertEquals('ABC', Fire('abc'));
end;

procedure TTestE2MFiring.TestUnresolvedItemStopsBeforeTheCall;
var
  Bad: Integer;
begin
  Wire('Combine');
  Item(0).Constant := 'a';
  Item(1).ParameterName := 'Nope';
  AssertTrue(FLink.Connect);
  Method('Combine').Result := 'not called';
  Method('Combine').GetArgs(0).Value := Unassigned;
  AssertEquals(Format(rsUnresolvedMethodParameter, ['Link', 1, 'Nope']),
    Refusal(-1, EorvInvalidFeature));
  AssertEquals('not called', VarToStr(Method('Combine').Result));
  AssertTrue('no argument is handed over', VarIsEmpty(Method('Combine').GetArgs(0).Value));

  // Names taken unchecked while loading may not resolve.
  Item(1).ParameterName := 'B';
  TComponentAccess(FLink).Loading;
  FromProperty(1, 'Nope', []);
  TComponentAccess(FLink).Loaded;
  AssertEquals(Format(rsUnresolvedComponentProperty, ['Link', 1, 'Nope']),
    Refusal(-1, EorvInvalidFeature));
  TComponentAccess(FLink).Loading;
  FromEvent(1, 'Nope');
  TComponentAccess(FLink).Loaded;
  AssertEquals(Format(rsUnresolvedEventParameter, ['Link', 1, 'Nope']),
    Refusal(-1, EorvInvalidFeature));

  Bad := Ord(High(TorvValueOptions)) + 1;
  Item(1).Options := TorvValueOptions(Bad);
  AssertEquals('Internal error in TorvE2MConnection.OnSourceEvent', Refusal(-1, Exception));
  FLink.TargetMethod := 'Nope';
  AssertEquals(Format(rsUnresolvedTargetMethod, ['Link', 'Nope']), Refusal(-1, EorvInvalidFeature));
end;

procedure TTestE2MFiring.TestDestroyedComponentLeavesTheLinkSafe;
var
  Outsider: TTestEdit;
begin
  Wire('Bump');
  // Owned elsewhere, so that only its free notification tells the link.
  Outsider := TTestEdit.Create(nil);
  try
    Item(0).Component := Outsider;
    Item(0).ComponentProperty := 'Number';
    Item(0).Options := voComponentProperty;
    AssertTrue(FLink.Connect);
    Fire('');
    AssertEquals(1, Outsider.Number);
  finally
    Outsider.Free;
  end;
  AssertNull(Item(0).Component);
  AssertEquals('', Item(0).ComponentProperty);
  AssertEquals('the link still listens', Format(rsUnresolvedComponent, ['Link', 0, 'Value']),
    Refusal(-1, EorvInvalidFeature));
  Item(0).Options := voConstant;
  Item(0).Constant := '1';
  Fire('');
  AssertEquals(2, BumpArgument);
end;

{ TTestE2MSetup }

function TTestE2MSetup.ReadCopy(out ALink: TorvE2MConnection): TComponent;
var
  Stream: TMemoryStream;
begin
  Stream := TMemoryStream.Create;
  try
    Stream.WriteComponent(FRoot);
    Stream.Position := 0;
    Result := TE2MTestRoot.Create(nil);
    try
      Stream.ReadComponent(Result);
    except
      Result.Free;
      raise;
    end;
  finally
    Stream.Free;
  end;
  ALink := Result.FindComponent('Link') as TorvE2MConnection;
end;

procedure TTestE2MSetup.TestConnectAnswers;
begin
  AssertFalse('nothing named', FLink.Connect);
  FLink.Source := FSource;
  FLink.Target := FTarget;
  FLink.SourceEvent := 'OnValidate';
  AssertFalse('no method', FLink.Connect);
  FLink.TargetMethod := 'Bump';
  FLink.SourceEvent := 'OnNope';
  AssertFalse('unknown event', FLink.Connect);
  FLink.Target := nil;
  AssertFalse('no target', FLink.Connect);
  FLink.Source := nil;
  AssertFalse('no source', FLink.Connect);

  Wire('Bump');
  Item(0).Constant := '1';
  AssertTrue(FLink.Connect);
  Fire('');
  AssertEquals(2, BumpArgument);
  FLink.Unconnect;
  Method('Bump').GetArgs(0).Value := 0;
  Fire('');
  AssertEquals('unconnected links stay silent', 0, BumpArgument);
  TComponentAccess(FLink).SetDesigning(True);
  AssertTrue(FLink.Connect);
  Fire('');
  AssertEquals('designer links stay silent', 0, BumpArgument);
end;

procedure TTestE2MSetup.TestSourceEventClearsEventParameters;
begin
  Wire('Combine');
  Item(0).EventParameter := 'Text';
  Item(1).EventParameter := 'Accept';
  FLink.SourceEvent := 'OnValidate';
  AssertEquals('', Item(0).EventParameter);
  AssertEquals('', Item(1).EventParameter);
end;

procedure TTestE2MSetup.TestTargetMethodFillsOrEmpties;
begin
  Wire('Combine');
  AssertEquals(2, FLink.TargetMethodParameters.Count);
  AssertEquals('A', Item(0).ParameterName);
  AssertEquals('B', Item(1).ParameterName);
  FLink.TargetMethod := 'combine';
  AssertEquals('unknown method', 0, FLink.TargetMethodParameters.Count);
  FLink.TargetMethod := 'Bump';
  AssertEquals('Value', Item(0).ParameterName);
  // Sides that go take the names of their features with them.
  FLink.Target := nil;
  AssertEquals('', FLink.TargetMethod);
  AssertEquals(0, FLink.TargetMethodParameters.Count);
  FLink.Source := nil;
  AssertEquals('', FLink.SourceEvent);
end;

procedure TTestE2MSetup.TestSameTargetMethodAtDesignTimeKeepsItems;
begin
  TComponentAccess(FLink).SetDesigning(True);
  Wire('Combine');
  Item(0).Constant := 'kept';
  FLink.TargetMethod := 'Combine';
  AssertEquals('kept', Item(0).Constant);
end;

procedure TTestE2MSetup.TestLinkReadFromAFormFile;
var
  List: TorvConnectionList;
  Copy: TComponent;
  Link: TorvE2MConnection;
  Read: TorvParameterConnection;
  Text: string;
begin
  List := TorvConnectionList.Create(FRoot);
  List.Name := 'List';
  FLink.SetConnectionList(List);
  Wire('Combine');
  FromProperty(0, 'Items', [2]);
  Item(1).Constant := '3';

  Copy := ReadCopy(Link);
  try
    AssertEquals('items survive loading', 2, Link.TargetMethodParameters.Count);
    Read := Link.TargetMethodParameters[0];
    AssertSame(Copy.FindComponent('Holder'), Read.Component);
    AssertEquals('Items', Read.ComponentProperty);
    AssertEquals('2', VarToStr(Read.ComponentPropertyIndex[0]));
    AssertEquals(Ord(voComponentProperty), Ord(Read.Options));
    // The list has connected the link.
    TTestEdit(Copy.FindComponent('Holder')).Items[2] := 'z';
    Text := '';
    TTestEdit(Copy.FindComponent('Src')).Validate(Text);
    AssertEquals('z3', VarToStr(InfoOf(Copy.FindComponent('Dst')).FindMethod('Combine').Result));

    Link.TargetMethod := 'Combine';
    AssertEquals('the same name rebuilds', '', Link.TargetMethodParameters[1].Constant);
    AssertNull(Link.TargetMethodParameters[0].Component);
  finally
    Copy.Free;
  end;

  Copy := ReadCopy(Link);
  try
    Link.Target := nil;
    AssertEquals('clearing the target keeps them', '3', Link.TargetMethodParameters[1].Constant);
  finally
    Copy.Free;
  end;
end;

procedure TTestE2MSetup.TestComponentRefusals;
var
  Lone: TorvParameterConnection;
begin
  TUnboundEdit.Create(FRoot).Name := 'Unbound';
  Wire('Bump');
  AssertEquals('Invalid ComponentProperty value. Unknown Component component',
    Refusal(0, EorvInvalidFeature));
  AssertEquals('Invalid ComponentPropertyIndex value. Unknown Component component',
    Refusal(3, EorvInvalidFeature));
  Item(0).Component := FHolder;
  AssertEquals('Invalid ComponentProperty value. Unknown source property',
    Refusal(1, EorvInvalidFeature));
  AssertEquals('Invalid ComponentPropertyIndex value. Unknown ComponentProperty',
    Refusal(3, EorvInvalidFeature));
  AssertEquals('This is a not Orvane component!', Refusal(2, EorvLinkError));
  AssertSame('the old component stays', FHolder, Item(0).Component);

  Item(0).ComponentProperty := 'Cells';
  AssertEquals('one element per index', 1, VarArrayHighBound(Item(0).ComponentPropertyIndex, 1));
  AssertEquals('Invalid ComponentPropertyIndex value. Invalid dimension size',
    Refusal(4, EorvInvalidFeature));
  Refusal(1, EorvInvalidFeature);
  AssertEquals('the old name stays', 'Cells', Item(0).ComponentProperty);
  Item(0).ComponentProperty := '';
  AssertEquals('one empty element', 0, VarArrayHighBound(Item(0).ComponentPropertyIndex, 1));

  // An item of no link cannot check anything, so it takes what it is given.
  Lone := TorvParameterConnection.Create(nil);
  try
    Lone.ComponentProperty := 'Nope';
    Lone.ComponentPropertyIndex := 5;
    AssertEquals(5, Integer(Lone.ComponentPropertyIndex));
  finally
    Lone.Free;
  end;
end;

procedure TTestE2MSetup.TestEventParameterRefusals;
begin
  FLink.Target := FTarget;
  FLink.TargetMethod := 'Bump';
  AssertEquals('Invalid EventParameter value. Unknown source component',
    Refusal(5, EorvInvalidFeature));
  FLink.Source := FSource;
  FLink.SourceEvent := 'OnNope';
  AssertEquals('Invalid EventParameter value. Unknown SourceEvent', Refusal(5, EorvInvalidFeature));
  FLink.SourceEvent := 'OnValidate';
  Item(0).EventParameter := 'Accept';
  AssertEquals('Invalid EventParameter value. Unknown event parameter name',
    Refusal(6, EorvInvalidFeature));
  AssertEquals('the old name stays', 'Accept', Item(0).EventParameter);
end;

procedure TTestE2MSetup.TestSettingComponentAgainUnconnects;
begin
  Wire('Bump');
  Item(0).Constant := '1';
  FromProperty(0, 'Number', []);
  Item(0).Options := voConstant;
  AssertTrue(FLink.Connect);
  Item(0).Component := FHolder;
  AssertEquals('', Item(0).ComponentProperty);
  Method('Bump').GetArgs(0).Value := 0;
  Fire('');
  AssertEquals('the link no longer listens', 0, BumpArgument);
end;

procedure TTestE2MSetup.TestNames;
begin
  Wire('Combine');
  AssertEquals('A', Item(0).DisplayName);
  Item(0).ParameterName := '';
  AssertEquals('TorvParameterConnection', Item(0).DisplayName);
  AssertEquals('the designer names items under the link', 'Link.TargetMethodParameters[1]',
    Item(1).GetNamePath);
end;

initialization
  RegisterClass(TE2MTestRoot);
  RegisterTest('Links', TTestE2MFiring);
  RegisterTest('Links', TTestE2MSetup);
end.
