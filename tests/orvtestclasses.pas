{ Bindings of the Classes unit: the cases where a binding does more than
  hand a value through (out and var parameters, value buffers, untyped
  buffers, members reached around the host, handlers chained before
  listeners). What every binding does alike is walked in Orvtestwalk. }
unit Orvtestclasses;

{$I orvdefines.inc}

interface

uses
  Classes, SysUtils, Variants, fpcunit, testregistry,
  Orvcommon;

type
  TorvStep = (stGet, stPut, stCall);

  { Makes class infos for host objects and frees both when a test ends. }
  TClassesCase = class(TTestCase)
  private
    FHosts: TFPList;
    FInfos: TFPList;
    FListeners: TFPList;
  protected
    FLog: string;
    procedure SetUp; override;
    procedure TearDown; override;
    { Return AObject, to be freed when the test ends after the class infos;
      the last kept goes first. }
    function Keep(AObject: TObject): TObject;
    { Return a class info of the binding registered as AClassName (by
      default AObject's class name) acting on AObject. }
    function InfoOf(AObject: TObject; const AClassName: string = ''): TorvClassInfo;
    { Give the owner its handlers back and free AInfo now. }
    procedure DropInfo(AInfo: TorvClassInfo);
    procedure Listen(AInfo: TorvClassInfo; const AEventName: string; AHandler: TNotifyORVEvent);
    function Get(AInfo: TorvClassInfo; const AName: string;
      const AIndexes: array of Variant): Variant;
    procedure Put(AInfo: TorvClassInfo; const AName: string; const AValue: Variant;
      const AIndexes: array of Variant);
    function Call(AInfo: TorvClassInfo; const AName: string;
      const AArgs: array of Variant): TorvMethodInfo;
    { Run one step (for stPut, AValues[0] is the value and the rest indexes)
      and check that it raises AMessage. }
    procedure ExpectError(const AMessage: string; AInfo: TorvClassInfo; AStep: TorvStep;
      const AName: string; const AValues: array of Variant; AClass: ExceptClass = nil);
  end;

  TTestListBindings = class(TClassesCase)
  published
    procedure TestFindAndValues;
    procedure TestCountIsWritableOnlyWhereTheHostHasASetter;
    procedure TestThreadListStaysLockedUntilUnlock;
    procedure TestInterfaceListCountsReferences;
  end;

  TTestStreamBindings = class(TClassesCase)
  published
    procedure TestBuffersAreTheStorageOfOneValue;
    procedure TestCountBeyondOneValueIsRefused;
    procedure TestBytesThatFormNoValue;
    procedure TestOffsetsKeep64Bits;
    procedure TestReadInt64AnswersABuffer;
    procedure TestShortStringsThroughTheDriver;
  end;

  TTestEventBindings = class(TClassesCase)
  private
    FChanges: Integer;
    procedure Previous(Sender: TObject);
    procedure PreviousError(Reader: TReader; const Message: string; var Handled: Boolean);
    procedure CountChange(Sender: TObject);
    procedure Heard(Sender: TObject; Event: TorvEventInfo);
    procedure HeardError(Sender: TObject; Event: TorvEventInfo);
  published
    procedure TestStringListChangeRunsThePreviousHandlerFirst;
    procedure TestReaderErrorPassesHandledBothWays;
    procedure TestActionExecuteIsHookedThroughTheSetter;
    procedure TestThreadRunsAndTerminates;
  end;

  TTestComponentBindings = class(TClassesCase)
  published
    procedure TestComponentStateIsABuffer;
    procedure TestDuplicateNameKeepsTheName;
    procedure TestHandlesKeepAllTheirBytes;
    procedure TestMembersTheHostLacks;
    procedure TestProtectedMembers;
  end;

implementation

uses
  RtlConsts,
  Orvvalues;

type
  PComponentState = ^TComponentState;
  PThreadID = ^TThreadID;

  TIdleThread = class(TThread)
  protected
    procedure Execute; override;
  end;

  { Takes the lock of a thread list as soon as it can, and says so. }
  TLockProbe = class(TThread)
  private
    FList: TThreadList;
  protected
    procedure Execute; override;
  public
    Got: Boolean;
    constructor Create(AList: TThreadList);
  end;

  { Lets a test raise a reader error as the host does while reading. }
  TTestReader = class(TReader)
  public
    function Complain(const AMessage: string): Boolean;
  end;

  TTestAction = class(TBasicAction)
  public
    property OnChange;
  end;

  TStateComponent = class(TComponent)
  public
    procedure MarkDesigning;
  end;

procedure TIdleThread.Execute;
begin
end;

constructor TLockProbe.Create(AList: TThreadList);
begin
  FList := AList;
  inherited Create(False);
end;

procedure TLockProbe.Execute;
begin
  FList.LockList;
  Got := True;
  FList.UnlockList;
end;

function TTestReader.Complain(const AMessage: string): Boolean;
begin
  Result := Error(AMessage);
end;

procedure TStateComponent.MarkDesigning;
begin
  SetDesigning(True);
end;

function SameHandler(const A, B: TMethod): Boolean;
begin
  Result := (A.Code = B.Code) and (A.Data = B.Data);
end;

{ TClassesCase }

procedure TClassesCase.SetUp;
begin
  FHosts := TFPList.Create;
  FInfos := TFPList.Create;
  FListeners := TFPList.Create;
  FLog := '';
end;

procedure TClassesCase.TearDown;
var
  I: Integer;
begin
  for I := FInfos.Count - 1 downto 0 do
    DropInfo(TorvClassInfo(FInfos[I]));
  for I := FHosts.Count - 1 downto 0 do
    TObject(FHosts[I]).Free;
  for I := 0 to FListeners.Count - 1 do
    TObject(FListeners[I]).Free;
  FListeners.Free;
  FInfos.Free;
  FHosts.Free;
end;

function TClassesCase.Keep(AObject: TObject): TObject;
begin
  FHosts.Add(AObject);
  Result := AObject;
end;

function TClassesCase.InfoOf(AObject: TObject; const AClassName: string): TorvClassInfo;
var
  Name: string;
begin
  Name := AClassName;
  if Name = '' then
    Name := AObject.ClassName;
  Result := TorvClassRegistry.FindClass(Name).Create;
  FInfos.Add(Result);
  Result.InitMetaData;
  Result.SetOwner(AObject);
end;

procedure TClassesCase.DropInfo(AInfo: TorvClassInfo);
begin
  FInfos.Remove(AInfo);
  AInfo.SetOwner(nil);
  AInfo.Free;
end;

procedure TClassesCase.Listen(AInfo: TorvClassInfo; const AEventName: string;
  AHandler: TNotifyORVEvent);
var
  Listener: TorvListener;
begin
  Listener := TorvListener.Create;
  FListeners.Add(Listener);
  Listener.EventName := AEventName;
  Listener.OnEvent := AHandler;
  AInfo.AddListener(Listener);
end;

function TClassesCase.Get(AInfo: TorvClassInfo; const AName: string;
  const AIndexes: array of Variant): Variant;
var
  Prop: TorvPropertyInfo;
  I: Integer;
begin
  Prop := AInfo.FindProperty(AName);
  AssertNotNull('property ' + AName, Prop);
  for I := 0 to High(AIndexes) do
    Prop.GetIndexes(I).Value := AIndexes[I];
  Result := AInfo.GetProperty(Prop);
end;

procedure TClassesCase.Put(AInfo: TorvClassInfo; const AName: string; const AValue: Variant;
  const AIndexes: array of Variant);
var
  Prop: TorvPropertyInfo;
  I: Integer;
begin
  Prop := AInfo.FindProperty(AName);
  AssertNotNull('property ' + AName, Prop);
  for I := 0 to High(AIndexes) do
    Prop.GetIndexes(I).Value := AIndexes[I];
  AInfo.SetProperty(Prop, AValue);
end;

function TClassesCase.Call(AInfo: TorvClassInfo; const AName: string;
  const AArgs: array of Variant): TorvMethodInfo;
var
  I: Integer;
begin
  Result := AInfo.FindMethod(AName);
  AssertNotNull('method ' + AName, Result);
  AssertEquals('arguments of ' + AName, Result.GetArgCount, Length(AArgs));
  for I := 0 to High(AArgs) do
    Result.GetArgs(I).Value := AArgs[I];
  Result.Result := Unassigned;
  AInfo.InvokeMethod(Result);
end;

procedure TClassesCase.ExpectError(const AMessage: string; AInfo: TorvClassInfo; AStep: TorvStep;
  const AName: string; const AValues: array of Variant; AClass: ExceptClass);
begin
  try
    case AStep of
      stGet: Get(AInfo, AName, AValues);
      stPut:
        if Length(AValues) > 1 then
          Put(AInfo, AName, AValues[0], AValues[1..High(AValues)])
        else
          Put(AInfo, AName, AValues[0], []);
      stCall: Call(AInfo, AName, AValues);
    end;
  except
    on E: EAssertionFailedError do
      raise;
    on E: Exception do
    begin
      AssertEquals(AName, AMessage, E.Message);
      if AClass <> nil then
        AssertEquals(AName, AClass.ClassName, E.ClassName);
      Exit;
    end;
  end;
  Fail(AName + ' should raise: ' + AMessage);
end;

{ TTestListBindings }

procedure TTestListBindings.TestFindAndValues;
var
  List: TStringList;
  Info: TorvClassInfo;
  Find: TorvMethodInfo;
begin
  List := TStringList(Keep(TStringList.Create));
  List.CommaText := 'd=1,b=2';
  Info := InfoOf(List);
  AssertEquals('2', string(Get(Info, 'Values', ['b'])));
  Put(Info, 'Values', '3', ['b']);
  Put(Info, 'Values', '9', ['c']);
  AssertEquals('d=1,b=3,c=9', List.CommaText);

  List.Sorted := True;
  Find := Call(Info, 'Find', ['c=9', 99]);
  AssertTrue('present', Find.Result);
  AssertEquals('its index', 1, Integer(Find.GetArgs(1).Value));
  Find := Call(Info, 'Find', ['a', 99]);
  AssertFalse('absent', Find.Result);
  AssertEquals('where it would go', 0, Integer(Find.GetArgs(1).Value));
end;

procedure TTestListBindings.TestCountIsWritableOnlyWhereTheHostHasASetter;
var
  List: TList;
  Info: TorvClassInfo;
begin
  ExpectError('Property Count not found!', InfoOf(Keep(TStringList.Create)), stPut, 'Count', [5]);
  List := TList(Keep(TList.Create));
  List.Add(Self);
  Info := InfoOf(List);
  Put(Info, 'Count', 3, []);
  AssertEquals('resized', 3, List.Count);
  AssertNull('new items are nil', List[2]);
  ExpectError('Property List not found!', Info, stPut, 'List', [0]);
  AssertSame('the address of the item array', Self,
    TObject(PPointerList(VarToPointer(Get(Info, 'List', [])))^[0]));
end;

procedure TTestListBindings.TestThreadListStaysLockedUntilUnlock;
var
  List: TThreadList;
  Info: TorvClassInfo;
  Inner: TObject;
  Probe: TLockProbe;
  Locked: Boolean;
begin
  List := TThreadList(Keep(TThreadList.Create));
  List.Add(Self);
  Info := InfoOf(List);
  Put(Info, 'Duplicates', Ord(dupError), []);
  AssertTrue('by ordinal', List.Duplicates = dupError);
  Probe := nil;
  Locked := False;
  try
    Inner := VarToObject(Call(Info, 'LockList', []).Result);
    Locked := True;
    AssertEquals('the inner list', 'TList', Inner.ClassName);
    AssertSame(Self, TObject(TList(Inner)[0]));
    Probe := TLockProbe.Create(List);
    Sleep(100);
    AssertFalse('locked after LockList', Probe.Got);
    Call(Info, 'UnlockList', []);
    Locked := False;
    Probe.WaitFor;
    AssertTrue('free after UnlockList', Probe.Got);
  finally
    if Locked then
      List.UnlockList;
    Probe.Free;
  end;
end;

procedure TTestListBindings.TestInterfaceListCountsReferences;
var
  Owned: IInterfaceList;
  RefA, RefB: IUnknown;
  List: TInterfaceList;
  A, B: TInterfacedObject;
  Info: TorvClassInfo;
begin
  List := TInterfaceList.Create;
  Owned := List;
  A := TInterfacedObject.Create;
  RefA := A;
  B := TInterfacedObject.Create;
  RefB := B;
  Info := InfoOf(List);
  try
    AssertEquals(0, Integer(Call(Info, 'Add', [InterfaceToVar(RefA)]).Result));
    AssertEquals('the list holds A', 2, A.RefCount);
    AssertTrue('Items gives the address', Get(Info, 'Items', [0]) = InterfaceToVar(RefA));
    AssertEquals('reading holds nothing', 2, A.RefCount);
    Put(Info, 'Items', InterfaceToVar(RefB), [0]);
    AssertEquals('A replaced', 1, A.RefCount);
    AssertEquals('B stored', 2, B.RefCount);
    Call(Info, 'Insert', [0, InterfaceToVar(RefA)]);
    AssertEquals(2, Owned.Count);
    AssertTrue('First', Call(Info, 'First', []).Result = InterfaceToVar(RefA));
    AssertEquals('Remove answers the index', 1,
      Integer(Call(Info, 'Remove', [InterfaceToVar(RefB)]).Result));
    AssertEquals('B released', 1, B.RefCount);
    AssertEquals(2, A.RefCount);
  finally
    DropInfo(Info);
    Owned := nil;
  end;
  AssertEquals('the list released A', 1, A.RefCount);
end;

{ TTestStreamBindings }

procedure TTestStreamBindings.TestBuffersAreTheStorageOfOneValue;
var
  Stream: TMemoryStream;
  Info: TorvClassInfo;
  Sent: Variant;
  Read: TorvMethodInfo;
begin
  Stream := TMemoryStream(Keep(TMemoryStream.Create));
  Info := InfoOf(Stream);
  Sent := Int64($0102030405060708);
  AssertEquals('written', 16, Integer(Call(Info, 'Write', [Sent, 16]).Result));
  AssertEquals('its type first', varInt64, PWord(Stream.Memory)^);
  AssertEquals('its value at 8', Int64($0102030405060708), PInt64(PByte(Stream.Memory) + 8)^);
  Stream.Position := 0;
  Read := Call(Info, 'Read', [Unassigned, 16]);
  AssertEquals('read', 16, Integer(Read.Result));
  AssertEquals(varInt64, VarType(Read.GetArgs(0).Value));
  AssertTrue('the value back', Read.GetArgs(0).Value = Sent);

  // Two bytes replace only the type of the value passed in: its value bytes stay.
  Stream.Clear;
  Call(Info, 'WriteBuffer', [Integer(7), 2]);
  AssertEquals(2, Stream.Size);
  Stream.Position := 0;
  Read := Call(Info, 'ReadBuffer', [Sent, 2]);
  AssertEquals(varInteger, VarType(Read.GetArgs(0).Value));
  AssertEquals($05060708, Integer(Read.GetArgs(0).Value));

  // A string holds a reference, which the host must not write over: the
  // buffer starts empty (heaptrc reports the string otherwise).
  Stream.Position := 0;
  Read := Call(Info, 'ReadBuffer', ['text', 2]);
  AssertEquals(varInteger, VarType(Read.GetArgs(0).Value));
  AssertEquals(0, Integer(Read.GetArgs(0).Value));
end;

procedure TTestStreamBindings.TestCountBeyondOneValueIsRefused;
var
  Stream: TMemoryStream;
  Info: TorvClassInfo;
begin
  Stream := TMemoryStream(Keep(TMemoryStream.Create));
  Info := InfoOf(Stream);
  ExpectError(Format(rsBufferTooLarge, ['TStream.Write', 24, 25]), Info, stCall, 'Write', [1, 25]);
  ExpectError(Format(rsBufferTooLarge, ['TStream.WriteBuffer', 24, 25]), Info, stCall,
    'WriteBuffer', [1, 25]);
  AssertEquals('nothing written', 0, Stream.Size);
  Call(Info, 'Write', [1, 24]);
  AssertEquals('a whole value fits', 24, Stream.Size);
  Stream.Size := 30;
  Stream.Position := 0;
  ExpectError(Format(rsBufferTooLarge, ['TStream.Read', 24, 25]), Info, stCall, 'Read', [1, 25]);
  AssertEquals('nothing read', 0, Stream.Position);
end;

procedure TTestStreamBindings.TestBytesThatFormNoValue;
const
  Text: array[0..3] of Char = 'ABCD';
var
  Stream: TMemoryStream;
  Info: TorvClassInfo;
begin
  Stream := TMemoryStream(Keep(TMemoryStream.Create));
  Stream.WriteBuffer(Text, 4);
  Stream.Position := 0;
  Info := InfoOf(Stream);
  ExpectError('TStream.Read: the bytes read do not form a value!', Info, stCall, 'Read', [1, 4]);
  AssertEquals('the bytes were read', 4, Stream.Position);
  AssertEquals('the argument is left as it was', 1,
    Integer(Info.FindMethod('Read').GetArgs(0).Value));
  // The buffer is usable again.
  Call(Info, 'Write', [Int64(5), 16]);
  Stream.Position := 4;
  AssertEquals(5, Integer(Call(Info, 'Read', [Unassigned, 16]).GetArgs(0).Value));
end;

procedure TTestStreamBindings.TestOffsetsKeep64Bits;
const
  Far = Int64(6000000000);
var
  Stream: TMemoryStream;
  Info: TorvClassInfo;
begin
  Stream := TMemoryStream(Keep(TMemoryStream.Create));
  Stream.Size := 10;
  Info := InfoOf(Stream);
  Put(Info, 'Position', Far, []);
  AssertEquals(Far, Stream.Position);
  AssertEquals(Far, Int64(Get(Info, 'Position', [])));
  AssertEquals('from the end', 7, Int64(Call(Info, 'Seek', [-3, Ord(soEnd)]).Result));
  AssertEquals('the Int64 overload', Far + 1,
    Int64(Call(Info, 'Seek', [Far + 1, Ord(soBeginning)]).Result));
end;

procedure TTestStreamBindings.TestReadInt64AnswersABuffer;
var
  Stream: TMemoryStream;
  Writer: TWriter;
  Info: TorvClassInfo;
  First, Second: Variant;
begin
  Stream := TMemoryStream(Keep(TMemoryStream.Create));
  Writer := TWriter.Create(Stream, 64);
  try
    Writer.WriteInteger(Int64($0102030405060708));
    Writer.WriteInteger(Int64(-2));
  finally
    Writer.Free;
  end;
  Stream.Position := 0;
  Info := InfoOf(Keep(TReader.Create(Stream, 64)));
  First := Call(Info, 'ReadInt64', []).Result;
  AssertEquals(Int64($0102030405060708), PInt64(VarToPointer(First))^);
  Second := Call(Info, 'ReadInt64', []).Result;
  AssertTrue('the same buffer', First = Second);
  AssertEquals(-2, PInt64(VarToPointer(Second))^);
end;

procedure TTestStreamBindings.TestShortStringsThroughTheDriver;
var
  Stream: TMemoryStream;
  Info: TorvClassInfo;
begin
  Stream := TMemoryStream(Keep(TMemoryStream.Create));
  Info := InfoOf(Keep(TWriter.Create(Stream, 64)));
  Call(Info, 'WriteStr', ['Caption']);
  Call(Info, 'FlushBuffer', []);
  AssertEquals('a length byte and the text', 8, Stream.Size);
  Stream.Position := 0;
  Info := InfoOf(Keep(TReader.Create(Stream, 64)));
  AssertEquals('Caption', string(Call(Info, 'ReadStr', []).Result));
end;

{ TTestEventBindings }

procedure TTestEventBindings.Previous(Sender: TObject);
begin
  FLog := FLog + 'previous ';
end;

procedure TTestEventBindings.PreviousError(Reader: TReader; const Message: string;
  var Handled: Boolean);
begin
  FLog := FLog + 'previous:' + Message + ' ';
  Handled := True;
end;

procedure TTestEventBindings.CountChange(Sender: TObject);
begin
  Inc(FChanges);
end;

procedure TTestEventBindings.Heard(Sender: TObject; Event: TorvEventInfo);
begin
  AssertSame('the sender', Sender, VarToObject(Event.GetArgs(0).Value));
  FLog := FLog + Event.Name + ' ';
end;

procedure TTestEventBindings.HeardError(Sender: TObject; Event: TorvEventInfo);
begin
  AssertSame('the reader', Sender, VarToObject(Event.GetArgs(0).Value));
  FLog := FLog + 'listener:' + string(Event.GetArgs(1).Value) + '=' +
    BoolToStr(Event.GetArgs(2).Value, True) + ' ';
  Event.GetArgs(2).Value := False;
end;

procedure TTestEventBindings.TestStringListChangeRunsThePreviousHandlerFirst;
var
  List: TStringList;
  Info: TorvClassInfo;
begin
  List := TStringList(Keep(TStringList.Create));
  List.OnChange := @Previous;
  Info := InfoOf(List);
  Listen(Info, 'OnChange', @Heard);
  List.Add('x');
  AssertEquals('previous OnChange ', FLog);
  DropInfo(Info);
  AssertTrue('restored', SameHandler(TMethod(List.OnChange), TMethod(@Previous)));
  FLog := '';
  List.Add('y');
  AssertEquals('previous ', FLog);
end;

procedure TTestEventBindings.TestReaderErrorPassesHandledBothWays;
var
  Reader: TTestReader;
  Info: TorvClassInfo;
begin
  Reader := TTestReader(Keep(TTestReader.Create(TStream(Keep(TMemoryStream.Create)), 64)));
  Reader.OnError := @PreviousError;
  Info := InfoOf(Reader, 'TReader');
  Listen(Info, 'OnError', @HeardError);
  AssertFalse('the host sees what the listener left', Reader.Complain('Oops'));
  AssertEquals('previous:Oops listener:Oops=True ', FLog);
end;

procedure TTestEventBindings.TestActionExecuteIsHookedThroughTheSetter;
var
  Action: TTestAction;
  Info: TorvClassInfo;
begin
  Action := TTestAction(Keep(TTestAction.Create(nil)));
  Action.OnChange := @CountChange;
  Action.OnExecute := @Previous;
  FChanges := 0;
  Info := InfoOf(Action, 'TBasicAction');
  AssertEquals('the setter announces the new handler', 1, FChanges);
  AssertTrue('hooked', TMethod(Action.OnExecute).Data = Pointer(Info));
  Listen(Info, 'OnExecute', @Heard);
  AssertTrue('handled', Call(Info, 'Execute', []).Result);
  AssertEquals('previous OnExecute ', FLog);
  DropInfo(Info);
  AssertTrue('restored', SameHandler(TMethod(Action.OnExecute), TMethod(@Previous)));
  AssertTrue('restored', SameHandler(TMethod(Action.OnChange), TMethod(@CountChange)));
  AssertEquals('and announced', 2, FChanges);
end;

procedure TTestEventBindings.TestThreadRunsAndTerminates;
var
  Info: TorvClassInfo;
begin
  Info := InfoOf(Keep(TIdleThread.Create(True)), 'TThread');
  Listen(Info, 'OnTerminate', @Heard);
  Put(Info, 'ReturnValue', 7, []);
  AssertEquals(7, Integer(Get(Info, 'ReturnValue', [])));
  AssertTrue('created suspended', Get(Info, 'Suspended', []));
  Call(Info, 'Resume', []);
  AssertEquals('WaitFor answers the return value', 7, Integer(Call(Info, 'WaitFor', []).Result));
  AssertEquals('OnTerminate ', FLog);
  Call(Info, 'Terminate', []);
  AssertTrue(Get(Info, 'Terminated', []));
end;

{ TTestComponentBindings }

procedure TTestComponentBindings.TestComponentStateIsABuffer;
var
  Component: TStateComponent;
  Info: TorvClassInfo;
  First: Variant;
begin
  Component := TStateComponent(Keep(TStateComponent.Create(nil)));
  Component.MarkDesigning;
  Info := InfoOf(Component, 'TComponent');
  First := Get(Info, 'ComponentState', []);
  AssertEquals('the host''s set', 4, SizeOf(TComponentState));
  AssertTrue(PComponentState(VarToPointer(First))^ = [csDesigning]);
  AssertTrue('the same buffer', Get(Info, 'ComponentState', []) = First);
end;

procedure TTestComponentBindings.TestDuplicateNameKeepsTheName;
var
  Root, First, Second: TComponent;
begin
  Root := TComponent(Keep(TComponent.Create(nil)));
  First := TComponent.Create(Root);
  First.Name := 'First';
  Second := TComponent.Create(Root);
  Second.Name := 'Second';
  ExpectError(Format(SDuplicateName, ['First']), TorvClassRegistry.GetInfo(Second), stPut, 'Name',
    ['First'], EComponentError);
  AssertEquals('Second', Second.Name);
  AssertSame(First, Root.FindComponent('First'));
end;

procedure TTestComponentBindings.TestHandlesKeepAllTheirBytes;
var
  Thread: TIdleThread;
  Info: TorvClassInfo;
  Address: Pointer;
begin
  Thread := TIdleThread(Keep(TIdleThread.Create(True)));
  Info := InfoOf(Thread, 'TThread');
  AssertEquals(8, SizeOf(TThreadID));
  AssertTrue('Handle', PThreadID(VarToPointer(Get(Info, 'Handle', [])))^ = Thread.Handle);
  AssertTrue('ThreadID', PThreadID(VarToPointer(Get(Info, 'ThreadID', [])))^ = Thread.ThreadID);
  // The host's THandle is 4 bytes; -1 shows whether 8 bytes carry it too.
  Address := VarToPointer(Get(InfoOf(Keep(THandleStream.Create(THandle(-1)))), 'Handle', []));
  AssertEquals('the host''s width', -1, PLongint(Address)^);
  AssertEquals('eight bytes', -1, PInt64(Address)^);
end;

procedure TTestComponentBindings.TestMembersTheHostLacks;
var
  Stream: TStream;
  Info: TorvClassInfo;
begin
  ExpectError('TCollection.NextID is not provided by the host library!',
    InfoOf(Keep(TCollection.Create(TCollectionItem))), stGet, 'NextID', []);
  Stream := TStream(Keep(TMemoryStream.Create));
  Info := InfoOf(Keep(TReader.Create(Stream, 64)));
  ExpectError('TReader.Position is not provided by the host library!', Info, stGet, 'Position', []);
  ExpectError('TReader.Position is not provided by the host library!', Info, stPut,
    'Position', [0]);
  ExpectError('TReader.ReadPrefix is not provided by the host library!', Info, stCall,
    'ReadPrefix', [0, 0]);
  ExpectError('TWriter.Position is not provided by the host library!',
    InfoOf(Keep(TWriter.Create(Stream, 64))), stGet, 'Position', []);
end;

procedure TTestComponentBindings.TestProtectedMembers;
var
  Collection: TCollection;
  Info: TorvClassInfo;
begin
  Collection := TCollection(Keep(TCollection.Create(TCollectionItem)));
  Info := InfoOf(Collection);
  Call(Info, 'BeginUpdate', []);
  AssertEquals(1, Integer(Get(Info, 'UpdateCount', [])));
  Call(Info, 'EndUpdate', []);
  Put(Info, 'PropName', 'Columns', []);
  AssertEquals('Columns', string(Get(Info, 'PropName', [])));
  AssertTrue(VarToClass(Get(Info, 'ItemClass', [])) = TCollectionItem);
  AssertSame(VarToObject(Call(Info, 'Add', []).Result), Collection.Items[0]);

  Info := InfoOf(Keep(TMemoryStream.Create));
  Put(Info, 'Capacity', 100, []);
  AssertTrue('at least as asked', Int64(Get(Info, 'Capacity', [])) >= 100);
end;

initialization
  RegisterTest('Bindings', TTestListBindings);
  RegisterTest('Bindings', TTestStreamBindings);
  RegisterTest('Bindings', TTestEventBindings);
  RegisterTest('Bindings', TTestComponentBindings);
end.
