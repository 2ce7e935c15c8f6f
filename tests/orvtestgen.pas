{ What the binding generator makes, for every line shape of the table
  format: tests/orvtestgen.tbl binds the hosts of Orvtestgenhost, and these
  cases run the generated code through the class infos. The Classes
  bindings, made the same way, are covered by Orvtestclasses and the walk. }
unit Orvtestgen;

{$I orvdefines.inc}

interface

uses
  Classes, SysUtils, Variants, Types, fpcunit, testregistry,
  Orvcommon, Orvtestclasses, Orvtestgenhost;

type
  TTestGeneratedBinding = class(TClassesCase)
  private
    FProbe: TProbe;
    FInfo: TorvClassInfo;
    FSaved: string;
    procedure KeyToZ(Sender: TObject; Event: TorvEventInfo);
    procedure WidenAndSpeed(Sender: TObject; Event: TorvEventInfo);
    procedure LoseRect(Sender: TObject; Event: TorvEventInfo);
    procedure CountSeen(Sender: TObject; Event: TorvEventInfo);
    procedure Pinged(Sender: TObject; Event: TorvEventInfo);
    procedure SayYes(Sender: TObject; Event: TorvEventInfo);
    procedure SavedKey(Sender: TObject; var Key: Char; Shift: TShiftState);
    function SavedGuess(Sender: TObject; var Hint: Integer): Integer;
    procedure HintNine(Sender: TObject; Event: TorvEventInfo);
  protected
    procedure SetUp; override;
  published
    procedure TestOverridesStylesAndIndexesReachTheDescriptors;
    procedure TestValuesCrossBothWays;
    procedure TestMethodsTakeArgumentsAndGiveBack;
    procedure TestMissingAndEmptyRaiseTheirErrors;
    procedure TestListenersChangeVarParameters;
    procedure TestEmptyAddressesAreRefused;
    procedure TestHandWrittenHookAndBody;
    procedure TestFunctionEventAnswersThePreviousHandler;
    procedure TestCastReachesTheAncestor;
  end;

implementation

uses
  Orvvalues,
  // The bindings under test, made from tests/orvtestgen.tbl.
  Orvtestgeninfos;

type
  PProbeModes = ^TProbeModes;

procedure TTestGeneratedBinding.SetUp;
begin
  inherited SetUp;
  FProbe := TProbe(Keep(TProbe.Create(nil)));
  FInfo := InfoOf(FProbe);
  FSaved := '';
end;

procedure TTestGeneratedBinding.KeyToZ(Sender: TObject; Event: TorvEventInfo);
begin
  AssertEquals('the saved handler ran first', 'B', string(Event.GetArgs(1).Value));
  Event.GetArgs(1).Value := 'Z';
end;

procedure TTestGeneratedBinding.WidenAndSpeed(Sender: TObject; Event: TorvEventInfo);
var
  R: PRect;
begin
  AssertEquals('the host''s own parameter', 'TProbe', string(Event.GetArgs(2).Value));
  R := PRect(VarToPointer(Event.GetArgs(1).Value));
  R^.Right := 50;
  Event.GetArgs(3).Value := Ord(pmFast);
end;

procedure TTestGeneratedBinding.LoseRect(Sender: TObject; Event: TorvEventInfo);
begin
  Event.GetArgs(1).Value := 0;
end;

procedure TTestGeneratedBinding.CountSeen(Sender: TObject; Event: TorvEventInfo);
begin
  FLog := FLog + 'count ' + string(Event.GetArgs(1).Value) + ';';
  Event.GetArgs(1).Value := 40;
end;

procedure TTestGeneratedBinding.Pinged(Sender: TObject; Event: TorvEventInfo);
begin
  FLog := FLog + 'ping;';
end;

procedure TTestGeneratedBinding.SayYes(Sender: TObject; Event: TorvEventInfo);
begin
  Event.GetArgs(1).Value := 'yes';
end;

procedure TTestGeneratedBinding.SavedKey(Sender: TObject; var Key: Char; Shift: TShiftState);
begin
  FSaved := Key;
  Key := 'B';
end;

procedure TTestGeneratedBinding.TestOverridesStylesAndIndexesReachTheDescriptors;
var
  Prop: TorvPropertyInfo;
begin
  AssertTrue('Caption published by the override',
    FInfo.FindProperty('Caption').Visibility = pvPublished);
  AssertTrue('OnPing published by the override', FInfo.FindEvent('OnPing').Visibility = pvPublished);
  AssertTrue('write-only', FInfo.FindProperty('Limit').Styles = [psWritable]);
  Prop := FInfo.FindProperty('Cells');
  AssertTrue('indexed', psIndexed in Prop.Styles);
  AssertEquals('index names', 'Col', Prop.GetIndexes(1).Name);
  AssertEquals('a missing event stays declared', 'OnGone', FInfo.FindEvent('OnGone').Name);
  AssertEquals('event parameters keep the host''s names', 'ClassName',
    FInfo.FindEvent('OnRect').GetArgs(2).Name);
end;

procedure TTestGeneratedBinding.TestValuesCrossBothWays;
var
  Modes: TProbeModes;
  Bounds: TRect;
begin
  Modes := [pmSlow, pmFast];
  Put(FInfo, 'Modes', PtrInt(@Modes), []);
  AssertTrue('set from an address', FProbe.Modes = [pmSlow, pmFast]);
  AssertTrue('set to an address', PProbeModes(VarToPointer(Get(FInfo, 'Modes', [])))^ = Modes);
  Bounds := Types.Rect(1, 2, 11, 22);
  Put(FInfo, 'Bounds', PtrInt(@Bounds), []);
  AssertEquals('record from an address', 22, FProbe.Bounds.Bottom);
  AssertEquals('record to an address', 11, PRect(VarToPointer(Get(FInfo, 'Bounds', [])))^.Right);
  Put(FInfo, 'Letter', 'xyz', []);
  AssertEquals('first character taken', 'x', FProbe.Letter);
  AssertEquals('character as a string', 'x', string(Get(FInfo, 'Letter', [])));
  Put(FInfo, 'Wide', 'wide', []);
  AssertEquals('wide string', 'wide', string(Get(FInfo, 'Wide', [])));
  Put(FInfo, 'Ratio', 0.25, []);
  AssertEquals('floating', 0.25, Double(Get(FInfo, 'Ratio', [])), 0);
  Put(FInfo, 'Mode', Ord(pmFast), []);
  AssertTrue('enumeration by ordinal', FProbe.Mode = pmFast);
  Put(FInfo, 'Limit', 21, []);
  AssertEquals('write-only and hand-read', 42, Integer(Get(FInfo, 'Doubled', [])));
  Put(FInfo, 'Cells', 9, [1, 0]);
  AssertEquals('two indexes, in order', 9, FProbe.Cells[1, 0]);
  AssertEquals('string index', '<k>', string(Get(FInfo, 'Named', ['k'])));
  Put(FInfo, 'Caption', 'shown', []);
  AssertEquals('protected member through the subclass', 'shown', string(Get(FInfo, 'Caption', [])));
end;

procedure TTestGeneratedBinding.TestMethodsTakeArgumentsAndGiveBack;
var
  R: TRect;
  Method: TorvMethodInfo;
begin
  R := Types.Rect(0, 0, 3, 4);
  AssertEquals('record argument by address', 12, Integer(Call(FInfo, 'Area', [PtrInt(@R)]).Result));
  Call(FInfo, 'Grow', [PtrInt(@R), 1]);
  AssertEquals('the host writes through a var record''s address', 4, R.Right);
  FProbe.Bounds := Types.Rect(0, 0, 10, 20);
  AssertEquals('record result in a buffer', 10,
    PPoint(VarToPointer(Call(FInfo, 'Center', []).Result))^.Y);
  Method := Call(FInfo, 'NextMode', [Ord(pmFast)]);
  AssertEquals('var enumeration back', Ord(pmOff), Integer(Method.GetArgs(0).Value));
  Method := Call(FInfo, 'Swap', ['q', 'ab']);
  AssertTrue('function result', Boolean(Method.Result));
  AssertEquals('var character back', 'Q', string(Method.GetArgs(0).Value));
  AssertEquals('var string back', 'abQ', string(Method.GetArgs(1).Value));
  Method := Call(FInfo, 'Fill', [Int64(5), 0]);
  AssertEquals('an untyped buffer comes back', 5, Integer(Method.GetArgs(0).Value));
  // Seven in every byte is no variant type: the host's bytes are refused.
  ExpectError('TProbe.Fill: the bytes read do not form a value!', FInfo, stCall, 'Fill', [0, 8]);
  ExpectError(Format('TProbe.Fill: at most %d bytes fit in one value, 99 asked!',
    [SizeOf(Variant)]), FInfo, stCall,
    'Fill', [0, 99]);
  FProbe.Limit := 5;
  AssertEquals('64-bit result in a buffer', 5000000000,
    PInt64(VarToPointer(Call(FInfo, 'Total', []).Result))^);
  AssertEquals('hand-written method', 14, Integer(Call(FInfo, 'Twice', [7]).Result));
  Call(FInfo, 'Attach', [PtrInt(FProbe)]);
  AssertTrue('object argument', FProbe.Target = FProbe);
end;

procedure TTestGeneratedBinding.TestMissingAndEmptyRaiseTheirErrors;
begin
  ExpectError('TProbeBase.Secret is not provided by the host library!', FInfo, stGet, 'Secret', []);
  ExpectError('TProbeBase.Reset is not provided by the host library!', FInfo, stCall, 'Reset', []);
  ExpectError('TProbe.Attach cannot take an empty Target!', FInfo, stCall, 'Attach', [0]);
  ExpectError('Property Doubled not found!', FInfo, stPut, 'Doubled', [1]);
  ExpectError('Property Limit not found!', FInfo, stGet, 'Limit', []);
end;

procedure TTestGeneratedBinding.TestListenersChangeVarParameters;
begin
  DropInfo(FInfo);
  FProbe.OnKey := @SavedKey;
  FInfo := InfoOf(FProbe);
  Listen(FInfo, 'OnKey', @KeyToZ);
  AssertEquals('the host gets the listener''s key', 'Z', FProbe.Key('a'));
  AssertEquals('the saved handler saw the host''s key', 'a', FSaved);
  Listen(FInfo, 'OnRect', @WidenAndSpeed);
  FProbe.Bounds := Types.Rect(0, 0, 1, 1);
  FProbe.Rect;
  AssertEquals('var record copied back', 50, FProbe.Bounds.Right);
  AssertTrue('var enumeration copied back', FProbe.Mode = pmFast);
  DropInfo(FInfo);
  AssertTrue('the saved handler is back',
    TMethod(FProbe.OnKey).Code = Pointer(@TTestGeneratedBinding.SavedKey));
end;

procedure TTestGeneratedBinding.TestEmptyAddressesAreRefused;
var
  Refused: string;
begin
  FProbe.Bounds := Types.Rect(1, 2, 3, 4);
  ExpectError('TProbe.Bounds cannot take an empty value!', FInfo, stPut, 'Bounds', [0]);
  ExpectError('TProbe.Area cannot take an empty R!', FInfo, stCall, 'Area', [0]);
  ExpectError('TProbe.Grow cannot take an empty R!', FInfo, stCall, 'Grow', [0, 1]);
  // A listener that leaves no record: the host keeps its own.
  Listen(FInfo, 'OnRect', @LoseRect);
  Refused := '';
  try
    FProbe.Rect;
  except
    on E: Exception do
      Refused := E.Message;
  end;
  AssertEquals('TProbe.OnRect cannot take an empty R!', Refused);
  AssertTrue('the host''s record is as it was', FProbe.Bounds = Types.Rect(1, 2, 3, 4));
end;

function TTestGeneratedBinding.SavedGuess(Sender: TObject; var Hint: Integer): Integer;
begin
  Result := 40 + Hint;
end;

procedure TTestGeneratedBinding.HintNine(Sender: TObject; Event: TorvEventInfo);
begin
  AssertEquals('the saved handler ran first', 2, Integer(Event.GetArgs(1).Value));
  Event.GetArgs(1).Value := 9;
end;

procedure TTestGeneratedBinding.TestFunctionEventAnswersThePreviousHandler;
var
  Hint: Integer;
begin
  Hint := 2;
  AssertEquals('hooked without a saved handler: the empty answer', 0, FProbe.Guess(Hint));
  DropInfo(FInfo);
  FProbe.OnGuess := @SavedGuess;
  FInfo := InfoOf(FProbe);
  AssertEquals('nobody listens: the saved handler answers', 42, FProbe.Guess(Hint));
  Listen(FInfo, 'OnGuess', @HintNine);
  AssertEquals('a listener does not change the answer', 42, FProbe.Guess(Hint));
  AssertEquals('but its var parameter is copied back', 9, Hint);
  DropInfo(FInfo);
  AssertTrue('the saved handler is back',
    TMethod(FProbe.OnGuess).Code = Pointer(@TTestGeneratedBinding.SavedGuess));
end;

procedure TTestGeneratedBinding.TestHandWrittenHookAndBody;
begin
  Listen(FInfo, 'OnPing', @Pinged);
  FProbe.Ping;
  Listen(FInfo, 'OnCount', @CountSeen);
  AssertEquals('the hand-written body copies the listener''s value back', 40, FProbe.Count(2));
  AssertEquals('hooked by hand on the sub-object; the body''s own value', 'ping;count 3;', FLog);
  AssertFalse('nobody answers yet', FProbe.Ask('ok?'));
  Listen(FInfo, 'OnAsk', @SayYes);
  AssertTrue('a function event answers the host', FProbe.Ask('ok?'));
  Put(FInfo, 'Shout', 'hey', []);
  AssertEquals('hand-written setter', 'HEY', string(Get(FInfo, 'Caption', [])));
  DropInfo(FInfo);
  AssertFalse('unhooked by hand', Assigned(FProbe.Sub.OnPing));
end;

procedure TTestGeneratedBinding.TestCastReachesTheAncestor;
var
  Twin: TProbeTwin;
  Info: TorvClassInfo;
begin
  Twin := TProbeTwin(Keep(TProbeTwin.Create(nil)));
  Info := InfoOf(Twin);
  Put(Info, 'Caption', 'twin', []);
  AssertEquals('read through the as expression', 'twin', string(Get(Info, 'Title', [])));
end;

initialization
  // Made by the binding walk too, as any class registered for streaming.
  RegisterClasses([TProbeBase, TProbe, TProbeTwin]);
  RegisterTest('Tools', TTestGeneratedBinding);
end.
