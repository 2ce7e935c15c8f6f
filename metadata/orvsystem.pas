{ The root bindings, of TObject and TInterfacedObject, and what every binding
  of a host class shares.

  A binding states its features in a TorvDescriptors record and registers
  it with RegisterBinding, which gives it a base of its own; TObjectClassInfo
  reads the records of the whole chain, root first, each with its binding's
  base, so a binding writes no declaration code of its own and every feature
  carries an Id that only its own binding knows: the base plus the feature's
  position in its descriptor string. GetProperty, SetProperty and
  InvokeMethod select the code for a feature with one case on its Id less
  their base and hand every other feature to the parent binding. Constructors
  are listed only: InvokeConstructor does nothing, in every binding.

  Declined root methods: InitInstance, CleanupInstance, NewInstance and
  FreeInstance hand out raw storage or tear the owner down behind the back of
  everything that holds it, so they answer "Method ... not found!". Free is
  kept: for a component the registry then drops the class info. }
unit Orvsystem;

{$I orvdefines.inc}

interface

uses
  Classes, SysUtils, Variants,
  Orvcommon;

type
  { The four descriptor strings of one binding. }
  TorvDescriptors = record
    Properties: string;
    Methods: string;
    Constructors: string;
    Events: string;
  end;
  PorvDescriptors = ^TorvDescriptors;

  { TObjectClassInfo }

  TObjectClassInfo = class(TorvClassInfo)
  private
    FInterface: IUnknown;
    procedure ReadDescriptors(AKind: TorvFeatureKind);
    { Answer the event AEventName when somebody may hear it, else nil. }
    function HeardEvent(const AEventName: string): TorvEventInfo; inline;
  protected
    { The heard part of FireSender when the owner had a handler: APrevious
      first, under a hold, then the listeners unless the owner went. }
    procedure FireSenderAfter(const APrevious: TNotifyEvent; const AEventName: string;
      ASender: TObject);
    function DeclarationsFixed: Boolean; override;
    procedure UnConnectEventHandlers; override;
    procedure DefineORVProperties(AList: TList); override;
    procedure DefineORVMethods(AList: TList); override;
    procedure DefineORVConstructors(AList: TList); override;
    procedure DefineORVEvents(AList: TList); override;
    { Answer the event AEventName with AArgs as its parameter values, ready
      for FireEvent; hold nothing. Answer nil when the event is not
      declared, nobody listens or the class info has lost its owner: then
      there is nobody to hand the values to or to change them. Every hooked
      handler with parameters runs between EnterEvent and LeaveEvent: the
      saved handler, then PrepareEvent, FireEvent and the copy back of var
      parameters. The saved handler may free the owner and with it this
      class info, which the hold keeps until LeaveEvent; PrepareEvent then
      answers nil. }
    function PrepareEvent(const AEventName: string; const AArgs: array of Variant): TorvEventInfo;
    { Run APrevious, the owner's handler the binding saved, then fire
      AEventName, whose one parameter is the sender: what every hooked event
      of type TNotifyEvent does. The class info is held while APrevious runs
      and fires nothing when its owner went meanwhile. }
    procedure FireSender(const APrevious: TNotifyEvent; const AEventName: string;
      ASender: TObject); inline;
  public
    function GetProperty(AProp: TorvPropertyInfo): Variant; override;
    procedure InvokeMethod(AMethod: TorvMethodInfo); override;
    procedure InvokeConstructor(AConstructor: TorvConstructorInfo); override;
  end;

  TObjectClassInfoClass = class of TObjectClassInfo;

  { TInterfacedObjectClassInfo }

  TInterfacedObjectClassInfo = class(TObjectClassInfo)
  public
    function GetProperty(AProp: TorvPropertyInfo): Variant; override;
  end;

{ Register AInfoClass for the host class AHostName, with its own features;
  return the base of the ids its features get. A name that is registered
  already keeps its first binding: the base returned then is one that no
  feature has. }
function RegisterBinding(const AHostName: string; AInfoClass: TObjectClassInfoClass;
  constref ADescriptors: TorvDescriptors): Integer;

{ Untyped buffers

  An untyped parameter of the host is given the storage of one variant. The
  host writes raw bytes into it, so the storage must never hold a reference
  while it does: a reference overwritten would leak, and bytes that merely
  look like one would be released. }

{ Start ABuffer from the argument AValue; a value that holds a reference
  starts it empty instead. }
procedure LoadBuffer(var ABuffer: Variant; const AValue: Variant);
{ Copy what the host left in ABuffer to AParam and answer True; when the
  bytes form no value that a variant can carry, empty ABuffer without
  releasing anything and answer False. }
function TakeBuffer(var ABuffer: Variant; AParam: TorvParameterInfo): Boolean;
{ Raise the error for bytes that form no value unless ATaken; AMember names
  the host member, "TStream.Read". }
procedure CheckTaken(ATaken: Boolean; const AMember: string);

{ Return the value of AMethod's argument AIndex. }
function ArgValue(AMethod: TorvMethodInfo; AIndex: Integer): Variant; inline;
{ Return the value of AProp's index AIndex. }
function IndexValue(AProp: TorvPropertyInfo; AIndex: Integer): Variant; inline;

implementation

uses
  Orvvalues, Orvpointermap;

const
  { The ids of one binding's features lie in [Base, Base + IdsPerBinding):
    more features of one kind than this no binding declares. Base 0 is left
    to features that no binding declared. }
  IdsPerBinding = 4096;

type
  { What one binding registered. }
  TBindingLevel = record
    Descriptors: PorvDescriptors;
    Base: Integer;
  end;

var
  Levels: array of TBindingLevel;
  { Binding class to its position in Levels, plus one. }
  LevelOf: TorvPointerMap;
  Registrations: Integer;

function RegisterBinding(const AHostName: string; AInfoClass: TObjectClassInfoClass;
  constref ADescriptors: TorvDescriptors): Integer;
var
  N: Integer;
begin
  Inc(Registrations);
  Result := Registrations * IdsPerBinding;
  if TorvClassRegistry.FindClass(AHostName) <> nil then
    Exit;
  N := Length(Levels);
  SetLength(Levels, N + 1);
  Levels[N].Descriptors := @ADescriptors;
  Levels[N].Base := Result;
  LevelOf.Put(AInfoClass, Pointer(PtrInt(N + 1)));
  TorvClassRegistry.RegisterClass(AHostName, AInfoClass);
end;

resourcestring
  rsBufferNotAValue = '%s: the bytes read do not form a value!';

function HoldsNoReference(const AStorage: TVarData): Boolean;
begin
  case AStorage.VType of
    varEmpty, varNull, varSmallint, varInteger, varSingle, varDouble, varCurrency, varDate,
    varError, varBoolean, varShortInt, varByte, varWord, varLongWord, varInt64, varQWord:
      Result := True;
    varOleStr, varDispatch, varUnknown, varString, varUString:
      // An empty reference has nothing to release.
      Result := AStorage.VPointer = nil;
  else
    Result := False;
  end;
end;

procedure LoadBuffer(var ABuffer: Variant; const AValue: Variant);
begin
  if HoldsNoReference(TVarData(AValue)) then
    ABuffer := AValue
  else
    ABuffer := Unassigned;
end;

function TakeBuffer(var ABuffer: Variant; AParam: TorvParameterInfo): Boolean;
begin
  Result := HoldsNoReference(TVarData(ABuffer));
  if Result then
    AParam.Value := ABuffer
  else
    TVarData(ABuffer).VType := varEmpty;
end;

procedure CheckTaken(ATaken: Boolean; const AMember: string);
begin
  if not ATaken then
    raise Exception.CreateFmt(rsBufferNotAValue, [AMember]);
end;

function ArgValue(AMethod: TorvMethodInfo; AIndex: Integer): Variant;
begin
  Result := AMethod.GetArgs(AIndex).Value;
end;

function IndexValue(AProp: TorvPropertyInfo; AIndex: Integer): Variant;
begin
  Result := AProp.GetIndexes(AIndex).Value;
end;

const
  ObjectDescriptors: TorvDescriptors = (
    Properties: 'Define::Self::psReadable::pvPublic::0';
    Methods: 'Free::msProcedure::0::InitInstance::msFunction::1::Instance::' +
      'CleanupInstance::msProcedure::0::ClassType::msFunction::0::ClassName::msFunction::0::' +
      'ClassNameIs::msFunction::1::Name::ClassParent::msFunction::0::ClassInfo::msFunction::0::' +
      'InstanceSize::msFunction::0::InheritsFrom::msFunction::1::AClass::' +
      'MethodAddress::msFunction::1::Name::MethodName::msFunction::1::Address::' +
      'FieldAddress::msFunction::1::Name::GetInterface::msFunction::2::IID::Obj::' +
      'GetInterfaceEntry::msFunction::1::IID::GetInterfaceTable::msFunction::0::' +
      'SafeCallException::msFunction::2::ExceptObject::ExceptAddr::' +
      'AfterConstruction::msProcedure::0::BeforeDestruction::msProcedure::0::' +
      'Dispatch::msProcedure::1::Message::DefaultHandler::msProcedure::1::Message::' +
      'NewInstance::msFunction::0::FreeInstance::msProcedure::0';
    Constructors: 'Create::0';
    Events: '');

  InterfacedObjectDescriptors: TorvDescriptors = (
    Properties: 'Define::RefCount::psReadable::pvPublic::0';
    Methods: '';
    Constructors: '';
    Events: '');

  { Positions in the descriptor strings above. }
  ObjectPropSelf = 0;
  ObjectMethFree = 0;
  ObjectMethClassType = 3;
  ObjectMethClassName = 4;
  ObjectMethClassNameIs = 5;
  ObjectMethClassParent = 6;
  ObjectMethClassInfo = 7;
  ObjectMethInstanceSize = 8;
  ObjectMethInheritsFrom = 9;
  ObjectMethMethodAddress = 10;
  ObjectMethMethodName = 11;
  ObjectMethFieldAddress = 12;
  ObjectMethGetInterface = 13;
  ObjectMethGetInterfaceEntry = 14;
  ObjectMethGetInterfaceTable = 15;
  ObjectMethSafeCallException = 16;
  ObjectMethAfterConstruction = 17;
  ObjectMethBeforeDestruction = 18;
  ObjectMethDispatch = 19;
  ObjectMethDefaultHandler = 20;
  InterfacedObjectPropRefCount = 0;

var
  ObjectBase, InterfacedObjectBase: Integer;

{ TObjectClassInfo }

procedure TObjectClassInfo.ReadDescriptors(AKind: TorvFeatureKind);

  procedure ReadLevel(AClass: TClass);
  var
    Level: PtrInt;
    Descriptors: PorvDescriptors;
  begin
    if AClass <> TObjectClassInfo then
      ReadLevel(AClass.ClassParent);
    Level := PtrInt(LevelOf.Find(AClass)) - 1;
    if Level < 0 then
      Exit;
    Descriptors := Levels[Level].Descriptors;
    IdBase := Levels[Level].Base;
    case AKind of
      fkProperty: ReadORVProperties(Descriptors^.Properties);
      fkMethod: ReadORVMethods(Descriptors^.Methods);
      fkConstructor: ReadORVConstructors(Descriptors^.Constructors);
      fkEvent: ReadORVEvents(Descriptors^.Events);
    end;
  end;

begin
  try
    ReadLevel(ClassType);
  finally
    // What a subclass reads in code of its own is not this chain's.
    IdBase := 0;
  end;
end;

function TObjectClassInfo.DeclarationsFixed: Boolean;
type
  TDefine = procedure(AList: TList) of object;
var
  Properties, Methods, Constructors, Events: TDefine;
begin
  // Bindings declare only from registered descriptor records, which are
  // constants; a class that declares in code of its own is checked.
  Properties := @DefineORVProperties;
  Methods := @DefineORVMethods;
  Constructors := @DefineORVConstructors;
  Events := @DefineORVEvents;
  Result := (TMethod(Properties).Code = Pointer(@TObjectClassInfo.DefineORVProperties)) and
    (TMethod(Methods).Code = Pointer(@TObjectClassInfo.DefineORVMethods)) and
    (TMethod(Constructors).Code = Pointer(@TObjectClassInfo.DefineORVConstructors)) and
    (TMethod(Events).Code = Pointer(@TObjectClassInfo.DefineORVEvents));
end;

procedure TObjectClassInfo.UnConnectEventHandlers;
begin
  // The interface GetInterface handed out belongs to the owner being left.
  FInterface := nil;
  inherited UnConnectEventHandlers;
end;

procedure TObjectClassInfo.DefineORVProperties(AList: TList);
begin
  inherited DefineORVProperties(AList);
  ReadDescriptors(fkProperty);
end;

procedure TObjectClassInfo.DefineORVMethods(AList: TList);
begin
  inherited DefineORVMethods(AList);
  ReadDescriptors(fkMethod);
end;

procedure TObjectClassInfo.DefineORVConstructors(AList: TList);
begin
  inherited DefineORVConstructors(AList);
  ReadDescriptors(fkConstructor);
end;

procedure TObjectClassInfo.DefineORVEvents(AList: TList);
begin
  inherited DefineORVEvents(AList);
  ReadDescriptors(fkEvent);
end;

function TObjectClassInfo.HeardEvent(const AEventName: string): TorvEventInfo;
begin
  // A class info whose owner went is kept only until its hold ends.
  if not HasListeners or Dying or (Owner = nil) then
    Exit(nil);
  Result := FindEvent(AEventName);
end;

function TObjectClassInfo.PrepareEvent(const AEventName: string;
  const AArgs: array of Variant): TorvEventInfo;
var
  I: Integer;
begin
  Result := HeardEvent(AEventName);
  if Result = nil then
    Exit;
  for I := 0 to High(AArgs) do
    if I < Result.GetArgCount then
      Result.GetArgs(I).Value := AArgs[I];
end;

procedure TObjectClassInfo.FireSender(const APrevious: TNotifyEvent; const AEventName: string;
  ASender: TObject);
begin
  // Nobody listens: the saved handler is the last thing done, and nothing
  // of this class info is touched after it, so it needs no hold. A listener
  // it adds would not be called by this firing anyway.
  if not HasListeners then
  begin
    if Assigned(APrevious) then
      APrevious(ASender);
  end
  else if Assigned(APrevious) then
    FireSenderAfter(APrevious, AEventName, ASender)
  else
    FireSenderEvent(AEventName, ASender);
end;

procedure TObjectClassInfo.FireSenderAfter(const APrevious: TNotifyEvent;
  const AEventName: string; ASender: TObject);
var
  Previous: TNotifyEvent;
begin
  // APrevious may be the field of this class info, which the handler may
  // free: the call is made from a copy.
  Previous := APrevious;
  EnterEvent;
  try
    Previous(ASender);
    if HasListeners then
      FireSenderEvent(AEventName, ASender);
  finally
    LeaveEvent;
  end;
end;

function TObjectClassInfo.GetProperty(AProp: TorvPropertyInfo): Variant;
begin
  case AProp.Id - ObjectBase of
    ObjectPropSelf: Result := ObjectToVar(Owner);
  else
    Result := inherited GetProperty(AProp);
  end;
end;

procedure TObjectClassInfo.InvokeMethod(AMethod: TorvMethodInfo);

  function Arg(AIndex: Integer): Variant;
  begin
    Result := AMethod.GetArgs(AIndex).Value;
  end;

  function ArgGuid(AIndex: Integer): PGuid;
  begin
    Result := PGuid(VarToRequiredPointer(Arg(AIndex), 'TObject', AMethod.Name, 'IID'));
  end;

  function ArgMessage: PByte;
  begin
    Result := PByte(VarToRequiredPointer(Arg(0), 'TObject', AMethod.Name, 'Message'));
  end;

var
  Host: TObject;
begin
  Host := Owner;
  case AMethod.Id - ObjectBase of
    ObjectMethFree:
      // The owner, and for a component this class info, are gone after this.
      Host.Free;
    ObjectMethClassType: AMethod.Result := ClassToVar(Host.ClassType);
    ObjectMethClassName: AMethod.Result := string(Host.ClassName);
    ObjectMethClassNameIs: AMethod.Result := Host.ClassNameIs(Arg(0));
    ObjectMethClassParent: AMethod.Result := ClassToVar(Host.ClassParent);
    ObjectMethClassInfo: AMethod.Result := PointerToVar(Host.ClassInfo);
    ObjectMethInstanceSize: AMethod.Result := Host.InstanceSize;
    ObjectMethInheritsFrom: AMethod.Result := Host.InheritsFrom(VarToClass(Arg(0)));
    ObjectMethMethodAddress: AMethod.Result := PointerToVar(Host.MethodAddress(ShortString(Arg(0))));
    ObjectMethMethodName: AMethod.Result := string(Host.MethodName(VarToPointer(Arg(0))));
    ObjectMethFieldAddress: AMethod.Result := PointerToVar(Host.FieldAddress(ShortString(Arg(0))));
    ObjectMethGetInterface:
      begin
        // The interface stays referenced here while its address travels.
        FInterface := nil;
        AMethod.Result := Host.GetInterface(ArgGuid(0)^, FInterface);
        AMethod.GetArgs(1).Value := InterfaceToVar(FInterface);
      end;
    ObjectMethGetInterfaceEntry:
      AMethod.Result := PointerToVar(Host.GetInterfaceEntry(ArgGuid(0)^));
    ObjectMethGetInterfaceTable: AMethod.Result := PointerToVar(Host.GetInterfaceTable);
    ObjectMethSafeCallException:
      AMethod.Result := Host.SafeCallException(VarToObject(Arg(0)), VarToPointer(Arg(1)));
    ObjectMethAfterConstruction: Host.AfterConstruction;
    ObjectMethBeforeDestruction: Host.BeforeDestruction;
    // A message is a record: it travels as its address and the owner works
    // on it in place, so whatever it leaves there is the caller's to read.
    ObjectMethDispatch: Host.Dispatch(ArgMessage^);
    ObjectMethDefaultHandler: Host.DefaultHandler(ArgMessage^);
  else
    inherited InvokeMethod(AMethod);
  end;
end;

procedure TObjectClassInfo.InvokeConstructor(AConstructor: TorvConstructorInfo);
begin
  // Constructors are declared so that they can be listed; none is run.
end;

{ TInterfacedObjectClassInfo }

function TInterfacedObjectClassInfo.GetProperty(AProp: TorvPropertyInfo): Variant;
begin
  case AProp.Id - InterfacedObjectBase of
    InterfacedObjectPropRefCount: Result := (Owner as TInterfacedObject).RefCount;
  else
    Result := inherited GetProperty(AProp);
  end;
end;

initialization
  LevelOf.Init;
  ObjectBase := RegisterBinding('TObject', TObjectClassInfo, ObjectDescriptors);
  InterfacedObjectBase := RegisterBinding('TInterfacedObject', TInterfacedObjectClassInfo,
    InterfacedObjectDescriptors);
end.
