{ The class registry, the class info of each live component, and the root
  bindings of TObject and TInterfacedObject. }
unit Orvtestregistry;

{$I orvdefines.inc}

interface

uses
  Classes, SysUtils, Variants, fpcunit, testregistry,
  Orvcommon, Orvsystem;

type
  TTestRegistry = class(TTestCase)
  published
    procedure TestFindClassIgnoresCaseOnly;
    procedure TestFirstRegistrationStays;
    procedure TestIsRegisteredFollowsRegistrations;
    procedure TestIterateInRegistrationOrder;
    procedure TestOneClassInfoPerComponent;
    procedure TestDestroyedComponentDropsItsClassInfo;
    procedure TestNoEventReachesADroppedClassInfo;
    procedure TestComponentFreedByItsOwnListener;
    procedure TestSuppliedClassInfo;
    procedure TestRefusedObjects;
    procedure TestFailedDeclarationCachesNothing;
    procedure TestBindingDeclaringInCodeIsNotShared;
  end;

  TTestRootBindings = class(TTestCase)
  private
    FObject: TInterfacedObject;
    FInfo: TorvClassInfo;
    function Invoke(const AName: string; const AArgs: array of Variant): Variant;
    procedure ExpectError(const AMessage: string; AStep: Integer);
  protected
    procedure SetUp; override;
    procedure TearDown; override;
  published
    procedure TestDeclaredFeatures;
    procedure TestSelfAndRefCount;
    procedure TestClassMethods;
    procedure TestInterfacesAndMessages;
    procedure TestRefusedNames;
  end;

implementation

uses
  Orvmetadump;

type
  { A component with one event, which it also fires while it is destroyed. }
  TTestWidget = class(TComponent)
  private
    FOnPing: TNotifyEvent;
  public
    destructor Destroy; override;
    procedure Ping;
    property OnPing: TNotifyEvent read FOnPing write FOnPing;
  end;

  { Registered only by the test that asks about it first. }
  TLateWidget = class(TTestWidget);

  { Pings the widget that owned it when destroyed, which happens after the
    widget's free notifications have gone out. }
  TPingingChild = class(TComponent)
  private
    FWidget: TTestWidget;
  public
    destructor Destroy; override;
  end;

  TTestWidgetClassInfo = class(TObjectClassInfo)
  private
    FOnPing: TNotifyEvent;
  protected
    procedure ConnectEventHandlers; override;
    procedure UnConnectEventHandlers; override;
  public
    procedure OnPing(Sender: TObject);
  end;

  { Derived from a bound class, but not bound itself. }
  TUnboundWidget = class(TTestWidget);

  { A widget class whose binding cannot be declared. }
  TBrokenWidget = class(TComponent);
  TBrokenWidgetClassInfo = class(TObjectClassInfo);

  { A component that supplies its own class info. }
  TSelfDescribing = class(TComponent, IorvObject)
  private
    FInfo: TorvClassInfo;
  public
    constructor Create(AOwner: TComponent); override;
    destructor Destroy; override;
    function GetORVClassInfo: TorvClassInfo;
  end;

  { An interfaced object nobody holds a reference to. }
  TSelfDescribingObject = class(TInterfacedObject, IorvObject)
  private
    FInfo: TorvClassInfo;
  public
    destructor Destroy; override;
    function GetORVClassInfo: TorvClassInfo;
  end;

  { A binding that declares something of its own in code, per instance. }
  TCodeDeclaredInfo = class(TObjectClassInfo)
  public
    Extra: string;
  protected
    procedure DefineORVProperties(AList: TList); override;
  end;

  TPingCounter = class
    Count: Integer;
    FreeOnPing: TComponent;
    procedure Hear(Sender: TObject; Event: TorvEventInfo);
  end;

  TNameList = class
    Names: string;
    procedure Add(const AClassName: string);
  end;

  { What TObject.Dispatch expects: the message number first. }
  TTestMessage = record
    Msg: Cardinal;
    WParam: PtrInt;
    Result: PtrInt;
  end;

  TMessageObject = class
  public
    Seen: Integer;
    procedure Handle(var AMessage: TTestMessage); message 4711;
  end;

const
  WidgetDescriptors: TorvDescriptors = (
    Properties: '';
    Methods: '';
    Constructors: '';
    Events: 'Define::OnPing::pvPublished::1::Sender');
  BrokenDescriptors: TorvDescriptors = (
    Properties: 'Define::Oops::psReadable::pvNowhere::0';
    Methods: '';
    Constructors: '';
    Events: '');

destructor TTestWidget.Destroy;
begin
  TPingingChild.Create(Self).FWidget := Self;
  inherited Destroy;
end;

procedure TTestWidget.Ping;
begin
  if Assigned(FOnPing) then
    FOnPing(Self);
end;

destructor TPingingChild.Destroy;
begin
  FWidget.Ping;
  inherited Destroy;
end;

procedure TTestWidgetClassInfo.ConnectEventHandlers;
begin
  inherited ConnectEventHandlers;
  FOnPing := TTestWidget(Owner).OnPing;
  TTestWidget(Owner).OnPing := @OnPing;
end;

procedure TTestWidgetClassInfo.UnConnectEventHandlers;
begin
  TTestWidget(Owner).OnPing := FOnPing;
  inherited UnConnectEventHandlers;
end;

procedure TTestWidgetClassInfo.OnPing(Sender: TObject);
begin
  FireSender(FOnPing, 'OnPing', Sender);
end;

constructor TSelfDescribing.Create(AOwner: TComponent);
begin
  inherited Create(AOwner);
  FInfo := DeclaredInfo(TorvClassRegistry.FindClass('TObject'));
end;

destructor TSelfDescribing.Destroy;
begin
  FInfo.Free;
  inherited Destroy;
end;

function TSelfDescribing.GetORVClassInfo: TorvClassInfo;
begin
  Result := FInfo;
end;

destructor TSelfDescribingObject.Destroy;
begin
  FInfo.Free;
  inherited Destroy;
end;

function TSelfDescribingObject.GetORVClassInfo: TorvClassInfo;
begin
  if FInfo = nil then
    FInfo := DeclaredInfo(TorvClassRegistry.FindClass('TObject'));
  Result := FInfo;
end;

procedure TCodeDeclaredInfo.DefineORVProperties(AList: TList);
begin
  inherited DefineORVProperties(AList);
  ReadORVProperties(Extra);
end;

procedure TPingCounter.Hear(Sender: TObject; Event: TorvEventInfo);
begin
  Inc(Count);
  if FreeOnPing <> nil then
    FreeAndNil(FreeOnPing);
end;

procedure TNameList.Add(const AClassName: string);
begin
  Names := Names + AClassName + ' ';
end;

procedure TMessageObject.Handle(var AMessage: TTestMessage);
begin
  Seen := AMessage.WParam;
  AMessage.Result := 42;
end;

function Listen(AInfo: TorvClassInfo; ACounter: TPingCounter): TorvListener;
begin
  Result := TorvListener.Create;
  Result.EventName := 'OnPing';
  Result.OnEvent := @ACounter.Hear;
  AInfo.AddListener(Result);
end;

procedure ExpectMessage(ACase: TTestCase; const AMessage: string; AProc: TProcedure);
begin
  try
    AProc();
    ACase.Fail('expected: ' + AMessage);
  except
    on E: EAssertionFailedError do
      raise;
    on E: Exception do
      TAssert.AssertEquals(AMessage, E.Message);
  end;
end;

{ TTestRegistry }

procedure TTestRegistry.TestFindClassIgnoresCaseOnly;
begin
  AssertEquals('TStringListClassInfo', TorvClassRegistry.FindClass('tstringlist').ClassName);
  AssertSame(TorvClassRegistry.FindClass('TObject'), TorvClassRegistry.FindClass('TOBJECT'));
  AssertNotNull(TorvClassRegistry.FindClass('TTestWidget'));
  AssertNull('a derived class is not its parent', TorvClassRegistry.FindClass('TUnboundWidget'));
  AssertNull(TorvClassRegistry.FindClass(''));
  AssertNull(TorvClassRegistry.FindClass('TObject '));
end;

procedure TTestRegistry.TestFirstRegistrationStays;
begin
  TorvClassRegistry.RegisterClass('TOrvTwiceRegistered', TObjectClassInfo);
  TorvClassRegistry.RegisterClass('torvtwiceregistered', TInterfacedObjectClassInfo);
  AssertEquals(TObjectClassInfo.ClassName,
    TorvClassRegistry.FindClass('TOrvTwiceRegistered').ClassName);
end;

procedure TTestRegistry.TestIsRegisteredFollowsRegistrations;
begin
  AssertTrue(TorvClassRegistry.IsRegistered(TComponent));
  AssertFalse('not yet registered', TorvClassRegistry.IsRegistered(TLateWidget));
  AssertFalse('asked again', TorvClassRegistry.IsRegistered(TLateWidget));
  TorvClassRegistry.RegisterClass('tlatewidget', TObjectClassInfo);
  AssertTrue('registered since, its name in any case', TorvClassRegistry.IsRegistered(TLateWidget));
  AssertFalse('a registered parent does not count', TorvClassRegistry.IsRegistered(TPingingChild));
end;

procedure TTestRegistry.TestIterateInRegistrationOrder;
var
  Names: TNameList;
begin
  Names := TNameList.Create;
  try
    TorvClassRegistry.Iterate(@Names.Add);
    AssertEquals(1, Pos('TObject TInterfacedObject TList TThreadList ', Names.Names));
    AssertTrue(Pos('TStrings TStringList ', Names.Names) > 0);
    AssertTrue(Pos('TComponent TBasicActionLink TBasicAction ', Names.Names) > 0);
  finally
    Names.Free;
  end;
end;

procedure TTestRegistry.TestOneClassInfoPerComponent;
var
  A, B: TComponent;
  InfoA: TorvClassInfo;
begin
  A := TComponent.Create(nil);
  B := TComponent.Create(nil);
  try
    InfoA := TorvClassRegistry.GetInfo(A);
    AssertSame(InfoA, TorvClassRegistry.GetInfo(A));
    AssertSame(A, InfoA.Owner);
    AssertSame('features are declared once', InfoA.FindProperty('Name'),
      TorvClassRegistry.GetInfo(A).FindProperty('Name'));
    AssertTrue(InfoA <> TorvClassRegistry.GetInfo(B));
    AssertSame(B, TorvClassRegistry.GetInfo(B).Owner);
  finally
    B.Free;
    A.Free;
  end;
end;

procedure TTestRegistry.TestDestroyedComponentDropsItsClassInfo;
var
  Kept, Gone: TComponent;
  KeptInfo, Info: TorvClassInfo;
  I: Integer;
begin
  Kept := TComponent.Create(nil);
  try
    KeptInfo := TorvClassRegistry.GetInfo(Kept);
    // A new component often reuses the address of the one just freed: it
    // must get a class info of its own, never the dead one's.
    for I := 1 to 20 do
    begin
      Gone := TComponent.Create(nil);
      Info := TorvClassRegistry.GetInfo(Gone);
      AssertSame(Gone, Info.Owner);
      Gone.Free;
    end;
    Gone := TComponent.Create(nil);
    try
      AssertSame(Gone, TorvClassRegistry.GetInfo(Gone).Owner);
    finally
      Gone.Free;
    end;
    AssertSame('other entries stay', KeptInfo, TorvClassRegistry.GetInfo(Kept));
  finally
    Kept.Free;
  end;
end;

procedure TTestRegistry.TestNoEventReachesADroppedClassInfo;
var
  Widget: TTestWidget;
  Counter: TPingCounter;
  Listener: TorvListener;
begin
  Counter := TPingCounter.Create;
  Widget := TTestWidget.Create(nil);
  Listener := Listen(TorvClassRegistry.GetInfo(Widget), Counter);
  try
    Widget.Ping;
    AssertEquals(1, Counter.Count);
    // The widget pings again after its free notifications have gone out.
    Widget.Free;
    AssertEquals('the dropped class info hears nothing', 1, Counter.Count);
  finally
    Listener.Free;
    Counter.Free;
  end;
end;

procedure TTestRegistry.TestComponentFreedByItsOwnListener;
var
  Counter: TPingCounter;
  Widget: TTestWidget;
  Listeners: array[0..1] of TorvListener;
  Info: TorvClassInfo;
begin
  Counter := TPingCounter.Create;
  Widget := TTestWidget.Create(nil);
  Info := TorvClassRegistry.GetInfo(Widget);
  Listeners[0] := Listen(Info, Counter);
  Listeners[1] := Listen(Info, Counter);
  try
    Counter.FreeOnPing := Widget;
    Widget.Ping;
    AssertNull(Counter.FreeOnPing);
    AssertEquals('listeners after the release are not called', 1, Counter.Count);
  finally
    Listeners[1].Free;
    Listeners[0].Free;
    Counter.Free;
  end;
end;

procedure TTestRegistry.TestSuppliedClassInfo;
var
  Component: TSelfDescribing;
  Plain: TSelfDescribingObject;
  Info: TorvClassInfo;
begin
  Component := TSelfDescribing.Create(nil);
  Plain := TSelfDescribingObject.Create;
  try
    AssertSame(Component.FInfo, TorvClassRegistry.GetInfo(Component));
    AssertNull('the registry attaches nothing', Component.FInfo.Owner);
    Info := TorvClassRegistry.GetInfo(Plain);
    AssertSame(Plain.FInfo, Info);
    AssertEquals('the object is not released by the lookup', 0, Plain.RefCount);
  finally
    Plain.Free;
    Component.Free;
  end;
end;

procedure NilObject;
begin
  TorvClassRegistry.GetInfo(nil);
end;

procedure PlainObject;
var
  List: TStringList;
begin
  List := TStringList.Create;
  try
    TorvClassRegistry.GetInfo(List);
  finally
    List.Free;
  end;
end;

procedure UnregisteredComponent;
var
  Widget: TUnboundWidget;
begin
  Widget := TUnboundWidget.Create(nil);
  try
    TorvClassRegistry.GetInfo(Widget);
  finally
    Widget.Free;
  end;
end;

procedure BrokenComponent;
var
  Widget: TBrokenWidget;
begin
  Widget := TBrokenWidget.Create(nil);
  try
    TorvClassRegistry.GetInfo(Widget);
  finally
    Widget.Free;
  end;
end;

procedure TTestRegistry.TestRefusedObjects;
begin
  ExpectMessage(Self, rsNoObject, @NilObject);
  ExpectMessage(Self, Format(rsNotAComponent, ['TStringList']), @PlainObject);
  ExpectMessage(Self, Format(rsNotRegistered, ['TUnboundWidget']), @UnregisteredComponent);
end;

procedure TTestRegistry.TestFailedDeclarationCachesNothing;
begin
  ExpectMessage(Self, 'pvNowhere Invalid property visibility property!', @BrokenComponent);
  ExpectMessage(Self, 'pvNowhere Invalid property visibility property!', @BrokenComponent);
end;

procedure TTestRegistry.TestBindingDeclaringInCodeIsNotShared;
var
  Plain, Extended: TCodeDeclaredInfo;
begin
  Plain := TCodeDeclaredInfo.Create;
  Extended := TCodeDeclaredInfo.Create;
  try
    Plain.InitMetaData;
    Extended.Extra := 'Define::Extra::psReadable::pvPublic::0';
    Extended.InitMetaData;
    AssertEquals(1, Plain.GetPropertyCount);
    AssertEquals('a binding with code of its own is declared per instance', 2,
      Extended.GetPropertyCount);
    AssertEquals('Extra', Extended.GetProperties(1).Name);
  finally
    Extended.Free;
    Plain.Free;
  end;
end;

{ TTestRootBindings }

procedure TTestRootBindings.SetUp;
begin
  FObject := TInterfacedObject.Create;
  FInfo := DeclaredInfo(TorvClassRegistry.FindClass('TInterfacedObject'));
  FInfo.SetOwner(FObject);
end;

procedure TTestRootBindings.TearDown;
begin
  FInfo.Free;
  FObject.Free;
end;

function TTestRootBindings.Invoke(const AName: string; const AArgs: array of Variant): Variant;
var
  Method: TorvMethodInfo;
  I: Integer;
begin
  Method := FInfo.FindMethod(AName);
  AssertNotNull(AName + ' is declared', Method);
  for I := 0 to High(AArgs) do
    Method.GetArgs(I).Value := AArgs[I];
  FInfo.InvokeMethod(Method);
  Result := Method.Result;
end;

procedure TTestRootBindings.ExpectError(const AMessage: string; AStep: Integer);
begin
  try
    case AStep of
      0: FInfo.SetProperty(FInfo.FindProperty('Self'), 0);
      1: Invoke('InitInstance', [0]);
      2: Invoke('NewInstance', []);
      3: Invoke('FreeInstance', []);
      4: Invoke('CleanupInstance', []);
    end;
    Fail('expected: ' + AMessage);
  except
    on E: EAssertionFailedError do
      raise;
    on E: Exception do
      AssertEquals(AMessage, E.Message);
  end;
end;

procedure TTestRootBindings.TestDeclaredFeatures;
var
  Counts: TorvFeatureCounts;
begin
  Counts := CountFeatures(FInfo);
  AssertEquals(2, Counts.Properties);
  AssertEquals(23, Counts.Methods);
  AssertEquals(16, Counts.Functions);
  AssertEquals(1, Counts.Constructors);
  AssertEquals(0, Counts.Events);
  AssertEquals('Self', FInfo.GetProperties(0).Name);
  AssertEquals('RefCount', FInfo.GetProperties(1).Name);
  AssertEquals('FreeInstance', FInfo.GetMethods(22).Name);
  AssertEquals('(IID)(Obj)', '(' + FInfo.FindMethod('GetInterface').GetArgs(0).Name + ')(' +
    FInfo.FindMethod('GetInterface').GetArgs(1).Name + ')');
end;

procedure TTestRootBindings.TestSelfAndRefCount;
var
  Held: IUnknown;
begin
  AssertEquals(PtrInt(FObject), Int64(FInfo.GetProperty(FInfo.FindProperty('Self'))));
  FInfo.InvokeConstructor(FInfo.FindConstructor('Create'));
  AssertEquals(0, Integer(FInfo.GetProperty(FInfo.FindProperty('RefCount'))));
  Held := FObject;
  AssertEquals(1, Integer(FInfo.GetProperty(FInfo.FindProperty('RefCount'))));
  // Dropping the only reference frees the object.
  FInfo.SetOwner(nil);
  FObject := nil;
  Held := nil;
end;

procedure TTestRootBindings.TestClassMethods;
begin
  AssertEquals('TInterfacedObject', string(Invoke('ClassName', [])));
  AssertTrue(Boolean(Invoke('ClassNameIs', ['tinterfacedobject'])));
  AssertEquals(PtrInt(TInterfacedObject), Int64(Invoke('ClassType', [])));
  AssertEquals(PtrInt(TObject), Int64(Invoke('ClassParent', [])));
  AssertTrue(Boolean(Invoke('InheritsFrom', [PtrInt(TObject)])));
  AssertFalse(Boolean(Invoke('InheritsFrom', [PtrInt(TComponent)])));
  AssertEquals(TInterfacedObject.InstanceSize, Integer(Invoke('InstanceSize', [])));
  AssertEquals(PtrInt(TInterfacedObject.ClassInfo), Int64(Invoke('ClassInfo', [])));
  AssertEquals(0, Int64(Invoke('MethodAddress', ['NoSuchMethod'])));
  AssertEquals(PtrInt(FObject.GetInterfaceTable), Int64(Invoke('GetInterfaceTable', [])));
end;

procedure TTestRootBindings.TestInterfacesAndMessages;
var
  Guid: TGuid;
  Message: TTestMessage;
  Target: TMessageObject;
  Component: TComponent;
  Expected: IUnknown;
begin
  // A component does not count references, so the interface the class info
  // keeps cannot free it.
  Component := TComponent.Create(nil);
  Target := TMessageObject.Create;
  try
    FInfo.SetOwner(Component);
    Guid := IUnknown;
    AssertTrue(Boolean(Invoke('GetInterface', [PtrInt(@Guid), 0])));
    Component.GetInterface(IUnknown, Expected);
    AssertEquals(PtrInt(Pointer(Expected)), Int64(FInfo.FindMethod('GetInterface').GetArgs(1).Value));
    Expected := nil;
    AssertTrue(Int64(Invoke('GetInterfaceEntry', [PtrInt(@Guid)])) <> 0);
    Guid := IorvObject;
    AssertFalse(Boolean(Invoke('GetInterface', [PtrInt(@Guid), 0])));
    AssertEquals(0, Int64(FInfo.FindMethod('GetInterface').GetArgs(1).Value));

    FInfo.SetOwner(Target);
    Message := Default(TTestMessage);
    Message.Msg := 4711;
    Message.WParam := 7;
    Invoke('Dispatch', [PtrInt(@Message)]);
    AssertEquals('the handler ran on the record', 7, Target.Seen);
    AssertEquals('what the owner left is the caller''s to read', 42, Message.Result);
  finally
    FInfo.SetOwner(FObject);
    Target.Free;
    Component.Free;
  end;
end;

procedure TTestRootBindings.TestRefusedNames;
var
  Wrong: TorvMethodInfo;
begin
  ExpectError('Property Self not found!', 0);
  ExpectError('Method InitInstance not found!', 1);
  ExpectError('Method NewInstance not found!', 2);
  ExpectError('Method FreeInstance not found!', 3);
  ExpectError('Method CleanupInstance not found!', 4);
  Wrong := TorvMethodInfo.Create(nil, 'classname', nil, msFunction);
  try
    FInfo.InvokeMethod(Wrong);
    Fail('a name in other letter case is another name');
  except
    on E: EAssertionFailedError do
    begin
      Wrong.Free;
      raise;
    end;
    on E: Exception do
      AssertEquals('Method classname not found!', E.Message);
  end;
  Wrong.Free;
end;

initialization
  RegisterBinding('TTestWidget', TTestWidgetClassInfo, WidgetDescriptors);
  RegisterBinding('TBrokenWidget', TBrokenWidgetClassInfo, BrokenDescriptors);
  RegisterTest('Registry', TTestRegistry);
  RegisterTest('Registry', TTestRootBindings);
end.
