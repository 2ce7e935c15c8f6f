{ The variable component: a non-visual component that stands for one object
  of a chosen class and shows that class's features as its own.

  TorvVariable names the class in ClassTypeName; its class info,
  TorvVariableClassInfo, keeps an inner class info of that class and lists
  the inner class info's feature objects themselves, followed by its own
  OnInstanceChange. Writing the property Self makes the variable hold the
  object at that address: the inner class info then acts on it. The variable
  hands out its class info itself through IorvObject, so the registry neither
  makes nor keeps one for it. Because the lists refer to another class info's
  features, the declaration is made per instance and never shared.

  Choices the class info makes beyond passing features on:

  - Nothing held. Until Self is written, and again after every change of the
    class, the inner class info has no owner. Reading or writing any feature
    but Self, or invoking a method, then fails with a message naming the
    feature instead of reaching for an owner that is not there.
  - Only live objects of the class. An address written to Self must hold a
    live object (see Orvprobe: 12345, -1 or a freed object are refused; a
    freed object whose memory a new object of the class has taken, or a
    heap that leaves freed blocks untouched, cannot be told from a live
    one), of the class named by ClassTypeName or derived from it (names
    compared as the registry compares them); any other is refused and
    nothing changes. The bindings cast their owner unchecked and hook its
    events by writing into it, so a wrong object would be damaged, not
    merely misread. Writing 0 lets go of the held object.
  - Events of the held object. The inner class info fires them to its own
    listeners, which nobody outside can reach; so the class info adds one
    forwarding listener per event name to the inner class info and fires
    each event it hears again to its own listeners, with the same event
    object (the one it lists) and an empty Sender, as for OnInstanceChange.
    Values that listeners leave in the event's parameters therefore reach
    the host's var parameters as usual. A listener that makes the held
    object fire the same event again re-enters the forwarding; past
    MaxReentry nested forwardings the next is refused with an error naming
    the variable and the loop.
  - A held component that is destroyed. The class info hears of it through
    free notification, gives the component back its handlers and forgets it:
    Self then reads 0 and the features fail as when nothing is held. No
    OnInstanceChange is fired, since nothing wrote Self and the component is
    half taken apart. Any other object cannot announce its end: whoever frees
    it must first write another object or 0 to Self, or free it through the
    variable's Free, which lets go of it first.
  - Replacing the class. The inner class info being replaced is detached
    from the held object before it goes, so that no event of the object
    reaches it, and the variable's lists are declared anew at once. Features
    of the old class that a caller still holds are gone with it. }
unit Orvvar;

{$I orvdefines.inc}

interface

uses
  Classes, SysUtils, Variants,
  Orvcommon, Orvcallguard;

type
  { TorvVariableClassInfo }

  { The class info of a variable: the features of the class it names, acting
    on the object it holds, and its own event OnInstanceChange. }
  TorvVariableClassInfo = class(TorvClassInfo)
  private
    FInstance: TObject;
    FInnerClassInfo: TorvClassInfo;
    FClassTypeName: string;
    FForwarders: TFPList;  // TorvListener added to the inner class info, one per event name
    FWatcher: TComponent;  // hears of the held component's destruction
    FWatched: TComponent;  // the held object while it is a component
    FDeclared: Boolean;    // the lists have been declared at least once
    FVariable: TComponent; // the variable whose class info this is, for messages
    FForwardGuard: TorvCallGuard;
    function DescribeForwarding: string;
    procedure Watch(AObject: TObject);
    procedure HoldObject(AObject: TObject);
    procedure HeldComponentRemoved;
    procedure ReleaseInner;
    procedure AddForwarders;
    procedure AttachForwarders(AInfo: TorvClassInfo);
    procedure ForwardEvent(ASender: TObject; AEvent: TorvEventInfo);
    procedure CheckHolding(const AFeatureName: string);
  protected
    procedure DefineORVProperties(AList: TList); override;
    procedure DefineORVMethods(AList: TList); override;
    procedure DefineORVEvents(AList: TList); override;
  public
    { Stand for the class registered as AClassTypeName, holding nothing. }
    constructor Create(const AClassTypeName: string);
    destructor Destroy; override;
    { Stand for TObject when made through the plain constructor, as generic
      code makes class infos from a registered class reference. }
    procedure AfterConstruction; override;
    { Replace the inner class info by a new one, without owner, for the class
      registered as AClassTypeName; Instance is kept. Once the lists have been
      declared, declare them anew: they listed the old inner features. }
    procedure Update(const AClassTypeName: string);

    function GetProperty(AProp: TorvPropertyInfo): Variant; override;
    procedure SetProperty(AProp: TorvPropertyInfo; const AValue: Variant); override;
    procedure InvokeMethod(AMethod: TorvMethodInfo); override;

    { The object the variable holds, or nil. }
    property Instance: TObject read FInstance;
    { The class info of the named class; its owner is Instance once Self has
      been written after the last change of class. }
    property InnerClassInfo: TorvClassInfo read FInnerClassInfo;
  end;

  { TorvVariable }

  { A component that stands for one object of the class it names, so that
    links can reach an object chosen at run time. }
  TorvVariable = class(TComponent, IorvObject)
  private
    FClassTypeName: string;
    FClassInfo: TorvVariableClassInfo;
    procedure SetClassTypeName(const AValue: string);
    function GetInstance: TObject;
    procedure SetInstance(AValue: TObject);
  public
    constructor Create(AOwner: TComponent); override;
    destructor Destroy; override;
    { Return the variable's own class info; it lives as long as the variable. }
    function GetORVClassInfo: TorvClassInfo;
    { The object the variable holds, or nil. Setting it writes Self, as a
      link would: the object must be of the class ClassTypeName names or
      derived from it, OnInstanceChange fires, and a property-to-property
      link waiting for the object makes its first copy. Set ClassTypeName
      first when it is not stored in the form file. }
    property Instance: TObject read GetInstance write SetInstance;
  published
    { Name of the registered class whose features the variable shows. }
    property ClassTypeName: string read FClassTypeName write SetClassTypeName;
  end;

resourcestring
  rsUnknownClass = 'Unknown class!';
  rsNothingHeld = 'The variable holds no object to use %s on!';
  rsNotOfHeldClass = 'The variable holds objects of class %s: a %s cannot be held!';

implementation

uses
  // The TObject binding must be registered before the first variable is made.
  Orvsystem,
  Orvvalues, Orvprobe;

resourcestring
  rsNoLiveObject = 'The variable cannot hold address %d: there is no live object of class %s there!';
  rsVariableDescription = 'variable %s';

const
  VariableProperties = 'Override::Self::psReadable..psWritable::pvPublished::0';
  VariableEvents = 'Define::OnInstanceChange::pvPublished::1::Instance';
  InstanceChangeName = 'OnInstanceChange';
  { The variable's own work: the features of the class it shows, so it knows
    them by name, not by the ids of whichever binding declared them. }
  SelfName = 'Self';
  FreeName = 'Free';
  DefaultClassTypeName = 'TObject';

type
  { Tells a variable's class info that the component it holds is going. }
  TorvHeldWatcher = class(TComponent)
  private
    FInfo: TorvVariableClassInfo;
  protected
    procedure Notification(AComponent: TComponent; Operation: TOperation); override;
  end;

procedure TorvHeldWatcher.Notification(AComponent: TComponent; Operation: TOperation);
begin
  if (Operation = opRemove) and (AComponent = FInfo.FWatched) then
    FInfo.HeldComponentRemoved;
  inherited Notification(AComponent, Operation);
end;

{ Answer whether AObject's class, or one of its parents, is named AClassName,
  with letter case ignored as by the registry. }
function IsOfClass(AObject: TObject; const AClassName: string): Boolean;
var
  AClass: TClass;
begin
  AClass := AObject.ClassType;
  while AClass <> nil do
  begin
    if AnsiCompareText(AClass.ClassName, AClassName) = 0 then
      Exit(True);
    AClass := AClass.ClassParent;
  end;
  Result := False;
end;

{ TorvVariableClassInfo }

constructor TorvVariableClassInfo.Create(const AClassTypeName: string);
begin
  inherited Create;
  Update(AClassTypeName);
end;

destructor TorvVariableClassInfo.Destroy;
begin
  Watch(nil);
  ReleaseInner;
  FForwarders.Free;
  FWatcher.Free;
  inherited Destroy;
end;

procedure TorvVariableClassInfo.AfterConstruction;
begin
  inherited AfterConstruction;
  if FInnerClassInfo = nil then
    Update(DefaultClassTypeName);
end;

procedure TorvVariableClassInfo.Watch(AObject: TObject);
begin
  if AObject = FWatched then
    Exit;
  if FWatched <> nil then
    FWatched.RemoveFreeNotification(FWatcher);
  FWatched := nil;
  if not (AObject is TComponent) then
    Exit;
  if FWatcher = nil then
  begin
    FWatcher := TorvHeldWatcher.Create(nil);
    TorvHeldWatcher(FWatcher).FInfo := Self;
  end;
  FWatched := TComponent(AObject);
  FWatched.FreeNotification(FWatcher);
end;

procedure TorvVariableClassInfo.HoldObject(AObject: TObject);
var
  Shared: TorvClassInfo;
begin
  Watch(AObject);
  FInstance := AObject;
  Shared := nil;
  // A component of a registered class has, or gets, the registry's class
  // info, which takes over its events; the inner class info only acts on
  // it, and the variable hears its events through the registry's. Two
  // class infos hooking one component would restore each other's handlers
  // in the wrong order.
  if (AObject is TComponent) and (TorvClassRegistry.FindClassOf(AObject.ClassType) <> nil) and
    not (csDestroying in TComponent(AObject).ComponentState)
  then
    Shared := TorvClassRegistry.GetInfo(AObject);
  if Shared = nil then
  begin
    FInnerClassInfo.SetOwner(AObject);
    AttachForwarders(FInnerClassInfo);
  end
  else
  begin
    FInnerClassInfo.SetOwnerWithoutEvents(AObject);
    AttachForwarders(Shared);
  end;
end;

procedure TorvVariableClassInfo.AttachForwarders(AInfo: TorvClassInfo);
var
  I: Integer;
  Forwarder: TorvListener;
begin
  if FForwarders = nil then
    Exit;
  for I := 0 to FForwarders.Count - 1 do
  begin
    Forwarder := TorvListener(FForwarders[I]);
    if Forwarder.AttachedTo <> nil then
      Forwarder.AttachedTo.RemoveListener(Forwarder);
    AInfo.AddListener(Forwarder);
  end;
end;

procedure TorvVariableClassInfo.HeldComponentRemoved;
begin
  // The component drops our free notification itself.
  FWatched := nil;
  FInstance := nil;
  // Its handlers go back while it can still take them; after a change of
  // class the inner class info has no owner and this does nothing.
  FInnerClassInfo.SetOwner(nil);
  AttachForwarders(FInnerClassInfo);
end;

procedure TorvVariableClassInfo.ReleaseInner;
var
  I: Integer;
  Inner: TorvClassInfo;
begin
  if FForwarders <> nil then
  begin
    for I := FForwarders.Count - 1 downto 0 do
      TorvListener(FForwarders[I]).Free;
    FForwarders.Clear;
  end;
  Inner := FInnerClassInfo;
  FInnerClassInfo := nil;
  if Inner = nil then
    Exit;
  // The held object lives on: it must get its own handlers back, or its
  // next event would run into a class info that is gone.
  Inner.SetOwner(nil);
  // The replacement may be made by a listener of one of the inner class
  // info's own events, which must be left to finish first.
  Inner.Release;
end;

procedure TorvVariableClassInfo.AddForwarders;
var
  I: Integer;
  Event: TorvEventInfo;
  Forwarder: TorvListener;
begin
  for I := 0 to FInnerClassInfo.GetEventCount - 1 do
  begin
    Event := FInnerClassInfo.GetEvents(I);
    // Listeners match by name: a second event of the same name would make
    // every firing arrive twice.
    if FInnerClassInfo.FindEvent(Event.Name) <> Event then
      Continue;
    if FForwarders = nil then
      FForwarders := TFPList.Create;
    Forwarder := TorvListener.Create;
    FForwarders.Add(Forwarder);
    Forwarder.EventName := Event.Name;
    Forwarder.OnEvent := @ForwardEvent;
    FInnerClassInfo.AddListener(Forwarder);
  end;
end;

procedure TorvVariableClassInfo.ForwardEvent(ASender: TObject; AEvent: TorvEventInfo);
var
  Frame: TorvCallFrame;
begin
  // Held so that the guard outlives a listener that frees the variable.
  Hold;
  try
    EnterCall(FForwardGuard, Frame, @DescribeForwarding);
    try
      FireEvent(AEvent);
    finally
      LeaveCall(Frame);
    end;
  finally
    Unhold;
  end;
end;

function TorvVariableClassInfo.DescribeForwarding: string;
begin
  if FVariable = nil then
    Result := Format(rsVariableDescription, [ClassName])
  else
    Result := Format(rsVariableDescription, [FVariable.Name]);
end;

procedure TorvVariableClassInfo.CheckHolding(const AFeatureName: string);
begin
  if FInnerClassInfo.Owner = nil then
    raise Exception.CreateFmt(rsNothingHeld, [AFeatureName]);
end;

procedure TorvVariableClassInfo.Update(const AClassTypeName: string);
var
  InfoClass: TorvClassInfoClass;
  Inner: TorvClassInfo;
begin
  InfoClass := TorvClassRegistry.FindClass(AClassTypeName);
  if InfoClass = nil then
    raise Exception.Create(rsUnknownClass);
  // Declared before anything is replaced, so that a class whose declaration
  // fails leaves the variable as it was.
  Inner := InfoClass.Create;
  try
    Inner.InitMetaData;
  except
    Inner.Free;
    raise;
  end;
  ReleaseInner;
  FInnerClassInfo := Inner;
  FClassTypeName := AClassTypeName;
  AddForwarders;
  if FDeclared then
    InitMetaData;
end;

procedure TorvVariableClassInfo.DefineORVProperties(AList: TList);
var
  I: Integer;
begin
  inherited DefineORVProperties(AList);
  FDeclared := True;
  for I := 0 to FInnerClassInfo.GetPropertyCount - 1 do
    AList.Add(FInnerClassInfo.GetProperties(I));
  // Changes the inner class info's own Self, which is the object listed.
  ReadORVProperties(VariableProperties);
end;

procedure TorvVariableClassInfo.DefineORVMethods(AList: TList);
var
  I: Integer;
begin
  inherited DefineORVMethods(AList);
  for I := 0 to FInnerClassInfo.GetMethodCount - 1 do
    AList.Add(FInnerClassInfo.GetMethods(I));
end;

procedure TorvVariableClassInfo.DefineORVEvents(AList: TList);
var
  I: Integer;
begin
  inherited DefineORVEvents(AList);
  for I := 0 to FInnerClassInfo.GetEventCount - 1 do
    AList.Add(FInnerClassInfo.GetEvents(I));
  ReadORVEvents(VariableEvents);
end;

function TorvVariableClassInfo.GetProperty(AProp: TorvPropertyInfo): Variant;
begin
  if SameFeatureName(AProp.Name, SelfName) then
    Exit(ObjectToVar(FInstance));
  CheckHolding(AProp.Name);
  Result := FInnerClassInfo.GetProperty(AProp);
end;

procedure TorvVariableClassInfo.SetProperty(AProp: TorvPropertyInfo; const AValue: Variant);
var
  Wanted: TObject;
  Event: TorvEventInfo;
begin
  if not SameFeatureName(AProp.Name, SelfName) then
  begin
    CheckHolding(AProp.Name);
    // Held: a setter may free the variable, whose inner class info owns
    // the feature being written.
    Hold;
    try
      FInnerClassInfo.SetProperty(AProp, AValue);
    finally
      Unhold;
    end;
    Exit;
  end;
  Wanted := VarToObject(AValue);
  // Addresses arrive as numbers: one that holds no object would be written
  // into when its events are hooked.
  if (Wanted <> nil) and (ProbeClass(Wanted) = nil) then
    raise Exception.CreateFmt(rsNoLiveObject, [PtrInt(Wanted), FClassTypeName]);
  if (Wanted <> nil) and not IsOfClass(Wanted, FClassTypeName) then
    raise Exception.CreateFmt(rsNotOfHeldClass, [FClassTypeName, Wanted.ClassName]);
  HoldObject(Wanted);
  Event := FindEvent(InstanceChangeName);
  if Event = nil then
    Exit;
  Event.GetArgs(0).Value := ObjectToVar(FInstance);
  FireEvent(Event);
end;

procedure TorvVariableClassInfo.InvokeMethod(AMethod: TorvMethodInfo);
var
  Held: TObject;
begin
  CheckHolding(AMethod.Name);
  if not SameFeatureName(AMethod.Name, FreeName) then
  begin
    // Held: the method may free the variable, whose inner class info owns
    // the method and takes its result.
    Hold;
    try
      FInnerClassInfo.InvokeMethod(AMethod);
    finally
      Unhold;
    end;
    Exit;
  end;
  // Let go first: the object gets its handlers back while it exists, and
  // one that is not a component would never tell us it is gone.
  Held := FInstance;
  HoldObject(nil);
  Held.Free;
end;

{ TorvVariable }

constructor TorvVariable.Create(AOwner: TComponent);
begin
  inherited Create(AOwner);
  FClassTypeName := DefaultClassTypeName;
  FClassInfo := TorvVariableClassInfo.Create(FClassTypeName);
  FClassInfo.FVariable := Self;
  FClassInfo.InitMetaData;
end;

destructor TorvVariable.Destroy;
begin
  // A listener of the class info's own event may be what frees the variable.
  if FClassInfo <> nil then
  begin
    FClassInfo.FVariable := nil;
    FClassInfo.Release;
  end;
  FClassInfo := nil;
  inherited Destroy;
end;

function TorvVariable.GetORVClassInfo: TorvClassInfo;
begin
  Result := FClassInfo;
end;

function TorvVariable.GetInstance: TObject;
begin
  Result := FClassInfo.Instance;
end;

procedure TorvVariable.SetInstance(AValue: TObject);
begin
  FClassInfo.SetProperty(FClassInfo.FindProperty('Self'), ObjectToVar(AValue));
end;

procedure TorvVariable.SetClassTypeName(const AValue: string);
begin
  if TorvClassRegistry.FindClass(AValue) = nil then
    raise Exception.Create(rsUnknownClass);
  // Exact comparison: the same class in other letter case is rebuilt.
  if AValue = FClassTypeName then
    Exit;
  // Update declares the features anew, since they have been declared.
  FClassInfo.Update(AValue);
  FClassTypeName := AValue;
end;

initialization
  Classes.RegisterClass(TorvVariable);
  TorvClassRegistry.RegisterClass('TorvVariable', TorvVariableClassInfo);
end.
