{ The metadata spine: features, the descriptor-string language, class infos
  and their listeners.

  A class info describes one bindable class acting on one object, its owner.
  It declares its features in four descriptor strings, finds them by name,
  reads and writes properties, invokes methods and forwards the owner's events
  to listeners.

  Ownership. A feature belongs to the class info that made it and lives until
  that class info is destroyed; the feature lists only refer to features, so a
  class info may also list features of another class info. Rebuilding the
  lists with InitMetaData retires the old features instead of freeing them, so
  a feature that a caller still holds stays valid while its class info lives.
  A feature owns its parameters. Listeners belong to whoever created them.

  Shared declarations. Parsing the descriptor strings for every object would
  cost far more than the object itself, so the first complete declaration run
  of a class-info class is kept as a prototype and shared by its later
  instances. Each instance makes its own feature objects from the prototype
  only when they are first asked for, so values never leak between objects
  and a feature object stays the same between calls. A run that lists
  features of another class info (as the variable's does) depends on its
  instance and is never shared; a run that fails is never kept, so its error
  is raised again at every attempt. }
unit Orvcommon;

{$I orvdefines.inc}

interface

uses
  Classes, SysUtils, Variants,
  Orvnameindex;

type
  TorvClassInfo = class;

  TorvPropertyStyleFlag = (psReadable, psWritable, psIndexed);
  TorvPropertyStyle = set of TorvPropertyStyleFlag;
  TorvPropertyVisibility = (pvProtected, pvPublic, pvPublished);
  TorvMethodStyle = (msFunction, msProcedure);

  { The four kinds of feature, in the order their lists are declared. }
  TorvFeatureKind = (fkProperty, fkMethod, fkConstructor, fkEvent);

  { TorvFeature }

  { A member of a bindable class, known by name. }
  TorvFeature = class
  private
    FClassInfo: TorvClassInfo;
    FName: string;
    FId: Integer;
    FMark: Boolean; // scratch for the class info that made the feature
  public
    constructor Create(AClassInfo: TorvClassInfo; const AName: string);
    { The class info whose declaration made the feature. }
    property ClassInfo: TorvClassInfo read FClassInfo;
    property Name: string read FName;
    { What the binding that declared the feature selects its code by: the
      feature's position in the descriptor string that defined it, plus the
      IdBase in force then. A feature made otherwise has 0. }
    property Id: Integer read FId;
  end;

  { TorvParameterInfo }

  { A named parameter; its Value carries arguments, indexes and event values. }
  TorvParameterInfo = class(TorvFeature)
  private
    FValue: Variant;
  public
    { Set Value to an address as ObjectToVar makes it, in place when it
      holds one already: an event's sender is set so at every firing,
      without a variant temporary and the exception frame that needs. }
    procedure SetAddress(AValue: PtrInt); inline;
    property Value: Variant read FValue write FValue;
  end;

  TorvArguments = array of TorvParameterInfo;

  { TorvPropertyInfo }

  TorvPropertyInfo = class(TorvFeature)
  private
    FStyles: TorvPropertyStyle;
    FVisibility: TorvPropertyVisibility;
    FIndexes: TorvArguments;
  public
    { Take ownership of the parameters listed in AIndexes (the array is copied). }
    constructor Create(AClassInfo: TorvClassInfo; const AName: string;
      AStyles: TorvPropertyStyle; AVisibility: TorvPropertyVisibility;
      const AIndexes: TorvArguments);
    destructor Destroy; override;
    function GetIndexCount: Integer;
    function GetIndexes(AIndex: Integer): TorvParameterInfo;
    property Styles: TorvPropertyStyle read FStyles;
    property Visibility: TorvPropertyVisibility read FVisibility;
    property Indexes: TorvArguments read FIndexes;
  end;

  { TorvMethodInfo }

  TorvMethodInfo = class(TorvFeature)
  private
    FMethodStyle: TorvMethodStyle;
    FArgs: TorvArguments;
    FResult: Variant;
  public
    constructor Create(AClassInfo: TorvClassInfo; const AName: string;
      const AArgs: TorvArguments; AMethodStyle: TorvMethodStyle);
    destructor Destroy; override;
    function GetArgCount: Integer;
    function GetArgs(AIndex: Integer): TorvParameterInfo;
    { Return the first parameter named exactly AName, or nil. }
    function Find(const AName: string): TorvParameterInfo;
    property MethodStyle: TorvMethodStyle read FMethodStyle;
    property Args: TorvArguments read FArgs;
    { Where an invocation leaves the method's answer. }
    property Result: Variant read FResult write FResult;
  end;

  { TorvConstructorInfo }

  TorvConstructorInfo = class(TorvFeature)
  private
    FArgs: TorvArguments;
  public
    constructor Create(AClassInfo: TorvClassInfo; const AName: string;
      const AArgs: TorvArguments);
    destructor Destroy; override;
    function GetArgCount: Integer;
    function GetArgs(AIndex: Integer): TorvParameterInfo;
    function Find(const AName: string): TorvParameterInfo;
    property Args: TorvArguments read FArgs;
  end;

  { TorvEventInfo }

  TorvEventInfo = class(TorvFeature)
  private
    FArgs: TorvArguments;
    FVisibility: TorvPropertyVisibility;
  public
    constructor Create(AClassInfo: TorvClassInfo; const AName: string;
      const AArgs: TorvArguments; AVisibility: TorvPropertyVisibility);
    destructor Destroy; override;
    function GetArgCount: Integer;
    function GetArgs(AIndex: Integer): TorvParameterInfo;
    function Find(const AName: string): TorvParameterInfo;
    property Args: TorvArguments read FArgs;
    property Visibility: TorvPropertyVisibility read FVisibility;
  end;

  { TStringTokenizer }

  { Split a text at a two-character separator, as descriptor strings need. }
  TStringTokenizer = class
  private
    FText: string;
    FSeparator: string;
    FPosition: Integer;
  public
    constructor Create(const AText, ASeparator: string);
    { Answer True while at most one character is left unread: a lone last
      character is never read by a loop that asks AtEnd first. Declarations
      rely on this. }
    function AtEnd: Boolean;
    { Return the text up to the next separator and move past it; an empty
      string once the text is used up. }
    function NextToken: string;
    property Text: string read FText;
    property Separator: string read FSeparator;
    property Position: Integer read FPosition;
  end;

  { TorvListener }

  TNotifyORVEvent = procedure(Sender: TObject; Event: TorvEventInfo) of object;

  { A subscription to one event of a class info, by event name.

    A listener knows the class info it was last added to, and that class
    info forgets it when either of them is destroyed: the listener's owner
    never has to touch a class info whose component is already gone. }
  TorvListener = class
  private
    FEventName: string;
    FOnEvent: TNotifyORVEvent;
    FAttachedTo: TorvClassInfo;
    FMutedBy: PBoolean;
    FSelfHolding: Boolean;
    function Muted: Boolean; inline;
  public
    { Leave the class info the listener is still added to. }
    destructor Destroy; override;
    property EventName: string read FEventName write FEventName;
    property OnEvent: TNotifyORVEvent read FOnEvent write FOnEvent;
    { While the Boolean this points to is True the listener is not called:
      a link points it at its own flag of a transfer under way, whose echo
      it would drop anyway, so that the echo costs its firing nothing. }
    property MutedBy: PBoolean read FMutedBy write FMutedBy;
    { Set when OnEvent reads neither the class info nor the event after any
      call out to user code and holds whatever it still needs itself: a
      firing whose only listener this is then calls it without holding
      its class info, and so without an exception frame to end the hold. }
    property SelfHolding: Boolean read FSelfHolding write FSelfHolding;
    { The class info the listener was last added to and is still listed by,
      or nil. }
    property AttachedTo: TorvClassInfo read FAttachedTo;
  end;

  { The simple kinds of value a link copies without a variant. }
  TorvTypedKind = (tyNone, tyString, tyOrdinal, tyBoolean, tyFloat, tyObject);

  TorvGetString = function(AOwner: TObject): string;
  TorvSetString = procedure(AOwner: TObject; const AValue: string);
  TorvGetOrdinal = function(AOwner: TObject): Int64;
  TorvSetOrdinal = procedure(AOwner: TObject; AValue: Int64);
  TorvGetBoolean = function(AOwner: TObject): Boolean;
  TorvSetBoolean = procedure(AOwner: TObject; AValue: Boolean);
  TorvGetFloat = function(AOwner: TObject): Double;
  TorvSetFloat = procedure(AOwner: TObject; AValue: Double);
  TorvGetObject = function(AOwner: TObject): TObject;
  TorvSetObject = procedure(AOwner: TObject; AValue: TObject);

  { How a binding reads and writes one plain property of its owner without
    a variant: compiled accessors of the property's kind, taking the owner.
    Each converts exactly as the binding's GetProperty and SetProperty do,
    so a copy through them ends where a copy through a variant ends. }
  TorvTypedAccess = record
    Kind: TorvTypedKind;
    { The host type in lower case: ordinals and objects are copied this way
      only between properties of one type, whose values need no check. }
    TypeName: string;
    Getter: Pointer; // TorvGet<Kind>, nil when not readable
    Setter: Pointer; // TorvSet<Kind>, nil when not writable
  end;
  PorvTypedAccess = ^TorvTypedAccess;

  TorvClassInfoClass = class of TorvClassInfo;

  { A handler the owner had when a binding hooked one of its events: Slot
    names the event (the base of the binding that hooks it plus the event's
    position among that binding's events). }
  TorvSavedHandler = record
    Slot: Integer;
    Handler: TMethod;
  end;
  PorvSavedHandler = ^TorvSavedHandler;
  TorvSavedHandlers = array of TorvSavedHandler;

  { TorvClassInfo }

  { The metadata of one bindable class acting on one owner. Bindings derive
    from it and override the ten virtual operations. }
  TorvClassInfo = class
  private type
    TFeatureArray = array of TorvFeature;

    { A feature made from a shared declaration, with its kind and position
      in one key: Ord(Kind) + 4 * position. }
    TLiveEntry = record
      Key: Integer;
      Feature: TorvFeature;
    end;
    TLiveEntries = array of TLiveEntry;

    { The features made, by kind and position, once there are many. }
    TDenseLive = array[TorvFeatureKind] of TFeatureArray;
    PDenseLive = ^TDenseLive;

    { The features of one kind in a declaration, with a first-match index. }
    TKindTable = record
      Items: TFeatureArray;
      Names: TorvNameIndex;
    end;

    { One call of a read operation, as a declaration run made it. }
    TRecordedRead = record
      Kind: TorvFeatureKind;
      Descriptor: string;
    end;
    TRecordedReads = array of TRecordedRead;

    { The outcome of a declaration run. A shared one owns prototype features
      (without class info) from which each instance makes its own, and the
      reads that made them; a private one lists the instance's features
      themselves and owns none. }
    TDeclaration = class
    public
      Kinds: array[TorvFeatureKind] of TKindTable;
      Shared: Boolean;
      { Set once DeclarationsFixed answered True for the class it was made
        for: no instance of it needs checking then. }
      KnownFixed: Boolean;
      Reads: TRecordedReads;
      constructor Create(const ALists: array of TList; AShared: Boolean);
      destructor Destroy; override;
      procedure Append(AKind: TorvFeatureKind; AFeature: TorvFeature);
    end;

    { The lists a declaration run fills, and where its features begin. }
    TDeclarationRun = class
    public
      Lists: array[TorvFeatureKind] of TList;
      FirstMade: Integer; // FMade.Count when the run began
      Partial: Boolean;   // a read outside InitMetaData: never shared
      Reads: TRecordedReads;
      constructor Create;
      destructor Destroy; override;
    end;

    { A run that only checks that the declarations still read what a shared
      declaration was made from. }
    TVerifyState = record
      Decl: TDeclaration;
      Position: Integer;
      Matches: Boolean;
    end;
    PVerifyState = ^TVerifyState;

    { What only declaring, checking a shared declaration or an instance
      asked for many features needs, apart from the object: the registry
      keeps a class info per component, and most never need any of it. }
    TRareState = record
      Run: TDeclarationRun;
      Verify: PVerifyState;
      Dense: PDenseLive;
      Made: TFPList; // features retired or made by a run, owned
      { Only the owner's handlers that were set when its events were
        hooked: most owners have none, and a field per event would cost
        16 bytes for each event the owner's class declares. }
      Saved: TorvSavedHandlers;
    end;
    PRareState = ^TRareState;

    {$push}{$packenum 1}
    { Whether the registry keeps the class info: in its cache for its owner,
      or as a stray, given another owner since (the registry then keeps the
      component it was made for). One byte, beside the flags. }
    TKept = (kpNot, kpCached, kpStray);
    {$pop}
  private
    FOwner: TObject;
    FDecl: TDeclaration;
    { The features this instance made from a shared declaration. Most class
      infos are asked for a few features, so a few are kept in a short list
      searched in turn, whose size does not grow with the class's feature
      count; past SparseLive of them they move to arrays by position. }
    FFew: TLiveEntries;
    FRare: PRareState;
    { Nil whenever nobody listens: HasListeners tests the field alone. }
    FListeners: TFPList;
    { The event found last: bindings look their events up at every firing. }
    FLastEvent: TorvEventInfo;
    // The small fields together: the registry keeps one class info per
    // component, so padding between them is paid once per component.
    FRemovals: Cardinal;
    FFiring: Integer;
    FIdBase: Integer;
    FDying: Boolean;
    FHooked: Boolean; // ConnectEventHandlers ran for the current owner
    FHasSaved: Boolean; // the rare state holds saved handlers: tested at every firing
    FKept: TKept;
    function HasRare(AMaking: Boolean): Boolean;
    procedure TidyRare;
    procedure DropRare;
    procedure DropRun;
    function GetRun: TDeclarationRun; inline;
    procedure SetRun(AValue: TDeclarationRun);
    function GetVerify: PVerifyState; inline;
    procedure SetVerify(AValue: PVerifyState);
    function GetDense: PDenseLive; inline;
    procedure SetDense(AValue: PDenseLive);
    function GetMadeList: TFPList; inline;
    procedure SetMadeList(AValue: TFPList);
    { The current declaration run, or nil. }
    property Run: TDeclarationRun read GetRun write SetRun;
    { The check of a shared declaration in progress, or nil. }
    property Verify: PVerifyState read GetVerify write SetVerify;
    { The features made by position once many were asked for, or nil. }
    property Dense: PDenseLive read GetDense write SetDense;
    { The features this instance owns beside its live ones, or nil. }
    property MadeList: TFPList read GetMadeList write SetMadeList;
    function FeatureCount(AKind: TorvFeatureKind): Integer;
    function FeatureAt(AKind: TorvFeatureKind; AIndex: Integer): TorvFeature;
    function FindFeature(AKind: TorvFeatureKind; const AName: string): TorvFeature;
    function MakeFeature(AKind: TorvFeatureKind; APrototype: TorvFeature): TorvFeature;
    function LiveFeature(AKind: TorvFeatureKind; AIndex: Integer;
      APrototype: TorvFeature): TorvFeature;
    procedure PlaceDense(AKind: TorvFeatureKind; AIndex: Integer; AFeature: TorvFeature);
    function ReadParameters(ATokens: TStringTokenizer): TorvArguments;
    procedure Made(AFeature: TorvFeature);
    procedure RetireFeatures;
    procedure RunDeclarations(AMayShare: Boolean);
    function Verified(ADecl: TDeclaration): Boolean;
    function Replayed(AKind: TorvFeatureKind; const ADescriptor: string): Boolean;
    function BeginReading(AKind: TorvFeatureKind): TList;
    procedure ParseProperties(const ADescriptor: string);
    procedure ParseMethods(const ADescriptor: string);
    procedure ParseConstructors(const ADescriptor: string);
    procedure ParseEvents(const ADescriptor: string);
    procedure EndReading;
    procedure CallListeners(AEvent: TorvEventInfo);
    function CalledAlone(AEvent: TorvEventInfo): Boolean; inline;
    function FindSaved(ASlot: Integer): TMethod;
  protected
    { Answer True when the declarations cannot differ between instances of
      this class, so that a shared declaration needs no check. }
    function DeclarationsFixed: Boolean; virtual;
    { Mark the start of an event running through this class info, so that a
      Release meanwhile waits for it. }
    procedure EnterEvent; inline;
    { Mark its end; answer False when the class info has been destroyed
      because a Release came while the event ran. }
    function LeaveEvent: Boolean; inline;
    { Fire AEventName, whose first parameter (if it has one) is the sender,
      to the listeners, with ASender as that parameter: the heard part of
      every hooked event of type TNotifyEvent, called only when HasListeners.
      Hold nothing beyond what FireEvent holds, and touch nothing after the
      listeners ran. }
    procedure FireSenderEvent(const AEventName: string; ASender: TObject);
    procedure ConnectEventHandlers; virtual;
    { Forget the saved handlers: the bindings that override it put them
      back first. }
    procedure UnConnectEventHandlers; virtual;
    { Keep AHandler, the owner's handler of the event ASlot found when it is
      hooked, unless it is nil. }
    procedure SaveHandler(ASlot: Integer; const AHandler: TMethod);
    { Answer the handler saved for the event ASlot, nil when none was: what
      a firing calls first and what unhooking puts back. The answer is a
      copy, so the call survives the class info. }
    function SavedHandler(ASlot: Integer): TMethod; inline;
    { Answer True with the handler saved for the event ASlot in AHandler,
      False (AHandler left unset) when none was. }
    function Saved(ASlot: Integer; out AHandler: TMethod): Boolean; inline;
    procedure DefineORVProperties(AList: TList); virtual;
    procedure DefineORVMethods(AList: TList); virtual;
    procedure DefineORVConstructors(AList: TList); virtual;
    procedure DefineORVEvents(AList: TList); virtual;
    { Added to the position of each feature that the read operations define
      to give its Id: a binding sets its own base while it reads its
      descriptors, so that its features' ids are its own. }
    property IdBase: Integer read FIdBase write FIdBase;
  public
    { Read operations: parse one descriptor string and append what it
      declares to this class info's list of that kind. }
    procedure ReadORVProperties(const ADescriptor: string);
    procedure ReadORVMethods(const ADescriptor: string);
    procedure ReadORVConstructors(const ADescriptor: string);
    procedure ReadORVEvents(const ADescriptor: string);
  public
    constructor Create;
    destructor Destroy; override;
    { Destroy the class info now or, when it is held (one of its events is
      running, or a caller holds it across a call), as soon as the last hold
      ends. }
    procedure Release;
    { Keep the class info from being destroyed until the matching Unhold:
      take it before any call that may run user code (a setter, a method, a
      handler) after which the caller still touches the class info or its
      features. }
    procedure Hold; inline;
    { End a Hold; answer False when the class info has been destroyed
      because a Release came while it was held. }
    function Unhold: Boolean; inline;
    { Answer True once a Release came while the class info was held: it has
      no owner any more and must not be used beyond ending the hold. }
    property Dying: Boolean read FDying;
    { Rebuild the four feature lists; listeners are kept. }
    procedure InitMetaData;
    { Detach from the current owner's events and attach to AOwner's. }
    procedure SetOwner(AOwner: TObject);
    { Act on AOwner without taking over its events: for a class info that
      stands beside another one which has them already. An object's events
      can be taken over by one class info at a time, since each restores
      what it found when it lets go. }
    procedure SetOwnerWithoutEvents(AOwner: TObject);

    function GetProperty(AProp: TorvPropertyInfo): Variant; virtual;
    procedure SetProperty(AProp: TorvPropertyInfo; const AValue: Variant); virtual;
    procedure InvokeMethod(AMethod: TorvMethodInfo); virtual;
    procedure InvokeConstructor(AConstructor: TorvConstructorInfo); virtual;
    { Return how AProp is read and written without a variant, or nil when
      only GetProperty and SetProperty serve it. Bindings made by tools/gen
      answer for their plain properties. A class info that serves a
      property of its parent by hand in GetProperty or SetProperty must
      answer nil for it here too. }
    function TypedAccess(AProp: TorvPropertyInfo): PorvTypedAccess; virtual;

    function FindProperty(const AName: string): TorvPropertyInfo;
    function FindEvent(const AName: string): TorvEventInfo;
    function FindMethod(const AName: string): TorvMethodInfo;
    function FindConstructor(const AName: string): TorvConstructorInfo;

    function GetPropertyCount: Integer;
    function GetProperties(AIndex: Integer): TorvPropertyInfo;
    function GetMethodCount: Integer;
    function GetMethods(AIndex: Integer): TorvMethodInfo;
    function GetConstructorCount: Integer;
    function GetConstructors(AIndex: Integer): TorvConstructorInfo;
    function GetEventCount: Integer;
    function GetEvents(AIndex: Integer): TorvEventInfo;

    { Answer whether anybody listens to this class info at all. }
    function HasListeners: Boolean; inline;
    procedure AddListener(AListener: TorvListener);
    procedure RemoveListener(AListener: TorvListener);
    { Call every listener of AEvent's name, in the order they were added. }
    procedure FireEvent(AEvent: TorvEventInfo);

    property Owner: TObject read FOwner;
  end;

  { TorvClassRegistry }

  { An object that supplies its own class info. }
  IorvObject = interface(IUnknown)
    ['{A268AC01-268D-11D4-827F-008048A98473}']
    function GetORVClassInfo: TorvClassInfo;
  end;

  { One registration: a host class name and the class info that binds it. }
  TorvClassInfoRec = record
    ClassName: string;
    InfoClass: TorvClassInfoClass;
  end;

  TorvClassNameProc = procedure(const AClassName: string) of object;

  { Registered class names and the one class info of each live component. }
  TorvClassRegistry = class
  private
    class var FDerivedClasses: Boolean;
    class procedure SetDerivedClasses(AValue: Boolean); static;
  public
    { Register AInfoClass for the host class named AClassName; a name that
      is registered already keeps its first class info. }
    class procedure RegisterClass(const AClassName: string; AInfoClass: TorvClassInfoClass);
    { Return the class info registered for exactly this class name (letter
      case ignored), or nil; parent classes are not searched. }
    class function FindClass(const AClassName: string): TorvClassInfoClass;
    { Return the class info class that serves objects of AClass: the one
      registered for its own name or, while DerivedClasses is on, for its
      nearest registered ancestor; nil when there is none. AClass is not
      nil. A class info an object supplies through IorvObject is not looked
      at. }
    class function FindClassOf(AClass: TClass): TorvClassInfoClass;
    { Return the class (AClass or an ancestor) whose registration
      FindClassOf answers with, or nil. }
    class function BoundClassOf(AClass: TClass): TClass;
    { Off by default: a class info is made only for an object whose own class
      name is registered. On, an object of an unregistered class gets the
      binding of its nearest registered ancestor, for the whole process.
      Either way, a class info already made keeps serving its component until
      the component is destroyed; switching decides only what is made next. }
    class property DerivedClasses: Boolean read FDerivedClasses write SetDerivedClasses;
    { Answer whether objects of AClass get a binding, as FindClassOf would;
      answered from the per-class entry GetInfo keeps, as links ask at
      every side they take. }
    class function IsRegistered(AClass: TClass): Boolean;
    { Call AProc with each registered name, in registration order. }
    class procedure Iterate(AProc: TorvClassNameProc);
    { Add each registered name to AList, in registration order. }
    class procedure GetClassNames(AList: TStrings);
    { Return the class info of AObject: its own through IorvObject, or the
      one made for it on first demand and kept until it is destroyed. The
      registry owns it; never free it. }
    class function GetInfo(AObject: TObject): TorvClassInfo;
  end;

  { TorvNotifier }

  { Hears of the destruction of components that have a class info. Each
    notifier watches a bounded number of them: a component's free
    notification is also listed by the notifier, and removing it from a list
    of every component on a large form would make freeing the form
    quadratic. }
  TorvNotifier = class(TComponent)
  private
    FWatched: Integer;
  protected
    procedure Notification(AComponent: TComponent; Operation: TOperation); override;
  public
    { Hear of AComponent's destruction. }
    procedure Watch(AComponent: TComponent);
  end;

{ Compare two feature names exactly and case-sensitively, cheaply. }
function SameFeatureName(const A, B: string): Boolean; inline;
{ Return AAccess when its accessors allow exactly what the styles of AProp
  allow, else nil: an Override entry may have made an inherited property
  read-only or write-only, and then only the variant path serves it. }
function FitTypedAccess(AAccess: PorvTypedAccess; AProp: TorvPropertyInfo): PorvTypedAccess;

resourcestring
  rsInvalidPropertyStyle = ' Invalid property style property!';
  rsInvalidPropertyVisibility = ' Invalid property visibility property!';
  rsInvalidEventVisibility = ' Invalid event property visibility property!';
  rsInvalidMethodStyle = 'Invalid method style property!';
  rsInvalidDefineToken = 'Invalid property define token!';
  rsPropertyNotFound = 'Property %s not found!';
  rsMethodNotFound = 'Method %s not found!';
  rsConstructorNotFound = 'Constructor %s not found!';
  rsEventNotFound = 'Event %s not found!';
  rsNegativeCount = 'Invalid parameter count %d!';
  rsNoObject = 'There is no object to give a class info for!';
  rsNotRegistered = 'There is no class info registered for %s!';
  rsDestroying = 'Component %s: %s is being destroyed and has no class info any more!';
  rsNotAComponent = 'A class info of %s cannot be kept: it is not a component, so its ' +
    'destruction would go unnoticed! A TorvVariable holding it (Instance) reaches it by name.';

type
  { Told of a firing that skipped AListener because it was muted. }
  TorvMutedListenerHook = procedure(AListener: TorvListener; AEvent: TorvEventInfo);

var
  { Nil unless somebody watches the links (a trace): then told of every
    firing a muted listener was skipped for. A call out to user code: it may
    free anything, and nothing of the firing is read after it. }
  ListenerMuted: TorvMutedListenerHook;

implementation

uses
  RtlConsts,
  Orvpointermap;

{ The implementation is split by concept; the interface above is the whole
  of what other units see. }
{$I orvfeatures.inc}
{$I orvdescriptors.inc}
{$I orvdeclarations.inc}
{$I orvclassinfo.inc}
{$I orvlisteners.inc}
{$I orvregistry.inc}

initialization
  Module := TModuleState.Create;
finalization
  // The application's forms are freed after this unit is finalized. While
  // components still have class infos, their links and events keep using
  // this state: leave it to the end of the process.
  if Module.ClassInfoCache.Count = 0 then
    FreeAndNil(Module);
end.
