{ The property-to-property link: refusals, index lists, copies and their
  echoes, failures, and sides that go away while it is connected. }
unit Orvtestp2p;

{$I orvdefines.inc}

interface

uses
  Classes, SysUtils, Variants, TypInfo, fpcunit, testregistry,
  Orvcommon, Orvconlist, Orvp2p, Orvtestfixtures;

type
  { Three edits A, B and C, owned by a root that the test frees; each change
    of an edit is logged by its name. }
  TLinkTestCase = class(TTestCase)
  protected
    FRoot: TComponent;
    FA, FB, FC: TTestEdit;
    FLog: string;
    procedure Changed(Sender: TObject);
    procedure SetUp; override;
    procedure TearDown; override;
  end;

  TTestP2PConnection = class(TLinkTestCase)
  private
    FHeard: string;
    function NewLink(ASource, ATarget: TComponent; const ASourceProperty, ATargetProperty: string;
      const ASourceEvent: string = ''; const ATargetEvent: string = ''): TorvP2PConnection;
    procedure Heard(Sender: TObject; Event: TorvEventInfo);
  published
    procedure TestRefusalsKeepTheOldValue;
    procedure TestNameChangesResetTheIndexList;
    procedure TestUntouchedIndexListsHoldOneEmptyElement;
    procedure TestCopiesAndDropsEchoes;
    procedure TestOnlyTheWritingLinkIsDeaf;
    procedure TestFailedTransfers;
    procedure TestConnectAndHandlers;
    procedure TestSidesDestroyedWhileConnected;
    procedure TestTypedPathFollowsChanges;
  end;

{ Assert the refusals ACases, triples of property name, value and message:
  setting the property of AInstance raises EorvInvalidFeature with the
  message, and a string property keeps its value. }
procedure ExpectRefusals(AInstance: TObject; const ACases: array of Variant);

implementation

type
  TLinkAccess = class(TorvP2PConnection);

procedure ExpectRefusals(AInstance: TObject; const ACases: array of Variant);
var
  I: Integer;
  Prop, Before: string;
begin
  Before := '';
  for I := 0 to High(ACases) div 3 do
  begin
    Prop := ACases[I * 3];
    if PropType(AInstance, Prop) = tkAString then
      Before := GetStrProp(AInstance, Prop);
    try
      SetPropValue(AInstance, Prop, ACases[I * 3 + 1]);
      TAssert.Fail(Prop + ' accepted a value; expected: ' + ACases[I * 3 + 2]);
    except
      on E: EorvInvalidFeature do
        TAssert.AssertEquals(Prop, ACases[I * 3 + 2], E.Message);
    end;
    if PropType(AInstance, Prop) = tkAString then
      TAssert.AssertEquals(Prop + ' keeps its value', Before, GetStrProp(AInstance, Prop));
  end;
end;

{ TLinkTestCase }

procedure TLinkTestCase.SetUp;

  function NewEdit(const AName: string): TTestEdit;
  begin
    Result := TTestEdit.Create(FRoot);
    Result.Name := AName;
    // Set before the class info exists, which then calls it first.
    Result.OnChange := @Changed;
  end;

begin
  FRoot := TComponent.Create(nil);
  FA := NewEdit('A');
  FB := NewEdit('B');
  FC := NewEdit('C');
  FLog := '';
end;

procedure TLinkTestCase.TearDown;
begin
  FreeAndNil(FRoot);
end;

procedure TLinkTestCase.Changed(Sender: TObject);
begin
  FLog := FLog + TComponent(Sender).Name;
end;

{ TTestP2PConnection }

function TTestP2PConnection.NewLink(ASource, ATarget: TComponent; const ASourceProperty,
  ATargetProperty: string; const ASourceEvent: string; const ATargetEvent: string): TorvP2PConnection;
begin
  Result := TorvP2PConnection.Create(FRoot);
  Result.Source := ASource;
  Result.Target := ATarget;
  Result.SourceProperty := ASourceProperty;
  Result.TargetProperty := ATargetProperty;
  Result.SourceEvent := ASourceEvent;
  Result.TargetEvent := ATargetEvent;
end;

procedure TTestP2PConnection.TestRefusalsKeepTheOldValue;
var
  Link: TorvP2PConnection;
begin
  Link := NewLink(nil, nil, '', '');
  ExpectRefusals(Link, [
    'SourceProperty', 'Text', 'Invalid SourceProperty value. Unknown Source component',
    'SourceEvent', 'OnChange', 'Invalid SourceEvent value. Unknown Source component',
    'TargetProperty', 'Text', 'Invalid TargetProperty value. Unknown Target component',
    'TargetEvent', 'OnChange', 'Invalid TargetEvent value. Unknown Target component',
    'SourcePropertyIndex', 'any', 'Invalid SourcePropertyIndex value. Unknown Source component',
    'TargetPropertyIndex', 7, 'Invalid TargetPropertyIndex value. Unknown Target component']);
  Link.Source := FA;
  Link.Target := FB;
  ExpectRefusals(Link, [
    'SourcePropertyIndex', IndexArray([1]), 'Invalid SourcePropertyIndex value. Unknown SourceProperty',
    'TargetPropertyIndex', IndexArray([1]), 'Invalid TargetPropertyIndex value. Unknown TargetProperty']);
  Link.SourceProperty := 'Cells';
  Link.SourceEvent := 'OnChange';
  Link.TargetProperty := 'Text';
  Link.TargetEvent := 'OnValidate';
  ExpectRefusals(Link, [
    'SourceProperty', 'cells', 'Invalid SourceProperty value. Unknown source property',
    'SourceEvent', 'OnClick', 'Invalid SourceEvent value. Unknown source event',
    'TargetProperty', 'Caption', 'Invalid TargetProperty value. Unknown target property',
    'TargetEvent', 'onValidate', 'Invalid TargetEvent value. Unknown target event',
    'SourcePropertyIndex', 3, 'Invalid SourcePropertyIndex value. Value is not array',
    'SourcePropertyIndex', VarArrayCreate([0, 1, 0, 1], varVariant),
    'Invalid SourcePropertyIndex value. Invalid dimension count',
    'SourcePropertyIndex', IndexArray([1, 2, 3]),
    'Invalid SourcePropertyIndex value. Invalid dimension size']);
  AssertEquals('a refused list leaves the old one', 1, VarArrayHighBound(Link.SourcePropertyIndex, 1));
  AssertTrue('the old names still resolve', Link.Connect);
end;

procedure TTestP2PConnection.TestNameChangesResetTheIndexList;
var
  Link: TorvP2PConnection;
begin
  Link := NewLink(FA, FB, '', '');
  TLinkAccess(Link).SetDesigning(True);
  Link.SourceProperty := 'Cells';
  Link.SourcePropertyIndex := IndexArray([1, 2]);
  Link.SourceProperty := 'Cells';
  AssertEquals('the same name keeps the list', 2, Link.SourcePropertyIndex[1]);
  Link.SourceProperty := 'Text';
  AssertEquals('no index, no element', -1, VarArrayHighBound(Link.SourcePropertyIndex, 1));
  Link.SourceProperty := '';
  AssertEquals('no property, one element', 0, VarArrayHighBound(Link.SourcePropertyIndex, 1));

  TLinkAccess(Link).Loading;
  Link.Source := nil;
  Link.SourcePropertyIndex := 5;
  Link.SourceProperty := 'Anything';
  Link.SourceEvent := 'OnAnything';
  TLinkAccess(Link).Loaded;
  AssertEquals('names are stored unchecked while loading', 'Anything|OnAnything',
    Link.SourceProperty + '|' + Link.SourceEvent);
  AssertEquals('and the list is left alone', 5, Link.SourcePropertyIndex);
end;

procedure TTestP2PConnection.TestUntouchedIndexListsHoldOneEmptyElement;
var
  Written, Loaded: TorvP2PConnection;
  Binary: TMemoryStream;
  Text: TStringStream;
begin
  Written := NewLink(FA, FB, '', '');
  AssertEquals('a new link lists one element', 0, VarArrayHighBound(Written.SourcePropertyIndex, 1));
  AssertTrue('an empty one', VarIsEmpty(Written.TargetPropertyIndex[0]));

  // A link read from a form without lists copies with its first index
  // emptied, whatever another user of the property left there.
  Loaded := NewLink(FA, FB, '', '');
  TLinkAccess(Loaded).Loading;
  Loaded.SourceProperty := 'Items';
  Loaded.TargetProperty := 'Text';
  TLinkAccess(Loaded).Loaded;
  FA.Items[0] := 'zero';
  FA.Items[1] := 'one';
  TorvClassRegistry.GetInfo(FA).FindProperty('Items').GetIndexes(0).Value := 1;
  AssertTrue(Loaded.Connect);
  AssertEquals('the first index is emptied', 'zero', FB.Text);

  Binary := TMemoryStream.Create;
  Text := TStringStream.Create('');
  try
    Binary.WriteComponent(Written);
    Binary.Position := 0;
    ObjectBinaryToText(Binary, Text);
    AssertTrue('a new link stores its lists', (Pos('SourcePropertyIndexes = (', Text.DataString) > 0) and
      (Pos('TargetPropertyIndexes = (', Text.DataString) > 0));
  finally
    Text.Free;
    Binary.Free;
  end;
end;

procedure TTestP2PConnection.TestCopiesAndDropsEchoes;
var
  Link: TorvP2PConnection;
  Edits: array[0..2] of TTestEdit;
  I: Integer;
begin
  FA.Text := 'one';
  Link := NewLink(FA, FB, 'Text', 'Text');
  AssertTrue(Link.Connect);
  FA.Text := 'two';
  AssertEquals('without events, copied once, at Connect', 'one', FB.Text);
  Link.Free;

  // Items fires OnChange on every assignment, even of the same text: only
  // the link can stop the echo.
  Link := NewLink(FA, FB, 'Items', 'Items', 'OnChange', 'OnChange');
  Link.SourcePropertyIndex := IndexArray([1]);
  Link.TargetPropertyIndex := IndexArray([2]);
  AssertTrue(Link.Connect);
  FLog := '';
  FB.Items[2] := 'back';
  AssertEquals('copied back on the target event', 'back', FA.Items[1]);
  AssertEquals('and its echo dropped', 'BA', FLog);
  AssertTrue(Link.Connect);
  FLog := '';
  FA.Items[1] := 'x';
  AssertEquals('copied to index 2 only', 'x', FB.Items[2] + FB.Items[1]);
  AssertEquals('a second Connect subscribes once', 'AB', FLog);
  Link.Free;

  Edits[0] := FA;
  Edits[1] := FB;
  Edits[2] := FC;
  for I := 0 to 2 do
    AssertTrue(NewLink(Edits[I], Edits[(I + 1) mod 3], 'Items', 'Items', 'OnChange').Connect);
  FLog := '';
  FA.Items[0] := 'round';
  AssertEquals('the first link of a cycle drops the change that comes back', 'ABCA', FLog);
  AssertEquals('round', FC.Items[0]);
end;

procedure TTestP2PConnection.Heard(Sender: TObject; Event: TorvEventInfo);
begin
  FHeard := FHeard + TComponent(Sender).Name + '=' + TTestEdit(Sender).Text + ' ';
end;

procedure TTestP2PConnection.TestOnlyTheWritingLinkIsDeaf;
var
  Listener: TorvListener;
begin
  // The change a link writes is not heard by that link, whichever side it
  // writes; everybody else listening to the same event hears it.
  AssertTrue(NewLink(FA, FB, 'Text', 'Text', 'OnChange', 'OnChange').Connect);
  AssertTrue(NewLink(FB, FC, 'Text', 'Text', 'OnChange').Connect);
  Listener := TorvListener.Create;
  try
    Listener.EventName := 'OnChange';
    Listener.OnEvent := @Heard;
    TorvClassRegistry.GetInfo(FB).AddListener(Listener);
    FLog := '';
    FA.Text := 'there';
    AssertEquals('the other link copied on', 'there|there', FB.Text + '|' + FC.Text);
    AssertEquals('the listener heard the write once', 'B=there ', FHeard);
    AssertEquals('every saved handler ran, nothing came back', 'ABC', FLog);
    FHeard := '';
    FLog := '';
    FB.Text := 'back';
    AssertEquals('and the way back', 'back|back', FA.Text + '|' + FC.Text);
    AssertEquals('B=back ', FHeard);
    AssertEquals('BAC', FLog);
    FA.Text := 'again';
    AssertEquals('the link hears its source again', 'again|again', FB.Text + '|' + FC.Text);
  finally
    Listener.Free;
  end;
end;

procedure TTestP2PConnection.TestTypedPathFollowsChanges;
var
  Link: TorvP2PConnection;
begin
  // What Connect resolved for the copy without a variant must follow every
  // later change of a name or a side, or copy the old property.
  Link := NewLink(FA, FB, 'Text', 'Text', 'OnChange');
  AssertTrue(Link.Connect);
  FA.Text := 'first';
  AssertEquals('string to string', 'first', FB.Text);
  Link.TargetProperty := 'Name';
  FA.Text := 'Renamed';
  AssertEquals('a new target name takes effect', 'Renamed', FB.Name);
  AssertEquals('the old target is left alone', 'first', FB.Text);
  Link.TargetProperty := 'Number';
  FA.Text := '42';
  AssertEquals('string to ordinal goes through the variant', 42, FB.Number);
  Link.SourceProperty := 'Number';
  FA.Number := 7;
  AssertEquals('ordinal to ordinal', 7, FB.Number);
  Link.Target := FC;
  Link.TargetProperty := 'Number';
  AssertTrue(Link.Connect);
  FA.Number := 9;
  AssertEquals('a new target component takes effect', 9, FC.Number);
  AssertEquals('the old component is left alone', 7, FB.Number);
  // A side under destruction has no class info any more, whatever its
  // cache still holds: the copy is refused, not made into what is going.
  FC.Destroying;
  try
    FA.Number := 11;
    Fail('a copy into a target under destruction');
  except
    on E: EorvInvalidFeature do
      AssertEquals(Format('Unknown TargetProperty "Number" in connection %s', [Link.Name]),
        E.Message);
  end;
  AssertEquals('the target under destruction is left alone', 9, FC.Number);
end;

procedure TTestP2PConnection.TestFailedTransfers;
var
  Link: TorvP2PConnection;
begin
  FA.Text := '3';
  // ComponentCount is declared but cannot be written.
  Link := NewLink(FA, FB, 'Text', 'ComponentCount', 'OnChange');
  Link.Name := 'Broken';
  try
    Link.Connect;
    Fail('the failed first copy reaches the caller of Connect');
  except
    on E: EAssertionFailedError do
      raise;
    on E: Exception do
      AssertEquals('Exception: Exception "Property ComponentCount not found!" occured in connection '
        + 'Broken', E.ClassName + ': ' + E.Message);
  end;
  Link.TargetProperty := 'Number';
  FA.Text := '4';
  AssertEquals('the flag is cleared after a failure', 4, FB.Number);

  Link.SourceProperty := '';
  try
    FA.Text := '5';
    Fail('a property emptied after Connect is reported, not read');
  except
    on E: EorvInvalidFeature do
      AssertEquals('Unknown SourceProperty "" in connection Broken', E.Message);
  end;
end;

procedure TTestP2PConnection.TestConnectAndHandlers;
var
  Link: TorvP2PConnection;
begin
  Link := NewLink(FA, nil, 'Text', '', 'OnChange');
  AssertFalse('no target', Link.Connect);
  Link.Target := FB;
  TLinkAccess(Link).Loading;
  Link.TargetProperty := 'Missing';
  Link.TargetEvent := 'OnChange';
  TLinkAccess(Link).Loaded;
  AssertFalse('the target property does not resolve', Link.Connect);
  // Subscribed, the link would fail here for want of its target property.
  FA.Text := 'source';
  FB.Text := 'target';
  Link.Free;

  Link := NewLink(FA, FB, 'Text', 'Text');
  Link.SourcePropertyChange(FC, nil);
  Link.SourcePropertyChange(FB, nil);
  AssertEquals('another sender is ignored', 'target', FB.Text);
  Link.TargetPropertyChange(FA, nil);
  AssertEquals('source', FA.Text);
  Link.SourcePropertyChange(FA, nil);
  AssertEquals('source', FB.Text);
  Link.SourceEvent := 'OnChange';
  TLinkAccess(Link).SetDesigning(True);
  FA.Text := 'designed';
  AssertTrue('the designer asks only whether all resolves', Link.Connect);
  Link.SourcePropertyChange(FA, nil);
  AssertEquals('and nothing is copied', 'source', FB.Text);
end;

procedure TTestP2PConnection.TestSidesDestroyedWhileConnected;
var
  Link, Loop, Freed: TorvP2PConnection;
begin
  Link := NewLink(FA, FB, 'Number', 'Cells', 'OnChange', 'OnChange');
  Loop := NewLink(FC, FC, 'Text', 'Items', 'OnChange', 'OnChange');
  Freed := NewLink(FA, FC, 'Text', 'Text', 'OnChange', 'OnChange');
  AssertTrue(Link.Connect and Loop.Connect and Freed.Connect);
  Freed.Free;
  FreeAndNil(FB);
  AssertEquals('the side that went is forgotten', '|', Link.TargetProperty + '|' + Link.TargetEvent);
  AssertEquals(0, VarArrayHighBound(Link.TargetPropertyIndex, 1));
  AssertEquals('the other side is kept', 'Number', Link.SourceProperty);
  // Still listened to, the link would fail here for want of a target.
  FA.Items[0] := 'later';
  FreeAndNil(FC);
  AssertEquals('', Loop.SourceProperty + Loop.TargetProperty);

  Link.Target := FA;
  Link.TargetProperty := 'Text';
  AssertTrue('a new side connects again', Link.Connect);
  FreeAndNil(FA);
  AssertEquals('', Link.SourceProperty + Link.SourceEvent + Link.TargetProperty);
end;

initialization
  RegisterTest('Links', TTestP2PConnection);
end.
