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
  Orvnameindex, Orvfeatureids;

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
    FId: TorvFeatureId;
    FIdKnown: Boolean;
    FMark: Boolean; // scratch for the class info that made the feature
    function ResolveId: TorvFeatureId;
    function GetId: TorvFeatureId; inline;
  public
    constructor Create(AClassInfo: TorvClassInfo; const AName: string);
    { The class info whose declaration made the feature. }
    property ClassInfo: TorvClassInfo read FClassInfo;
    property Name: string read FName;
    { The name interned, for the bindings' dispatch; found on first use. }
    property Id: TorvFeatureId read GetId;
  end;

  { TorvParameterInfo }

  { A named parameter; its Value carries arguments, indexes and event values. }
  TorvParameterInfo = class(TorvFeature)
  private
    FValue: Variant;
  public
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
  public
    { Leave the class info the listener is still added to. }
    destructor Destroy; override;
    property EventName: string read FEventName write FEventName;
    property OnEvent: TNotifyORVEvent read FOnEvent write FOnEvent;
    { The class info the listener was last added to and is still listed by,
      or nil. }
    property AttachedTo: TorvClassInfo read FAttachedTo;
  end;

  TorvClassInfoClass = class of TorvClassInfo;

  { TorvClassInfo }

  { The metadata of one bindable class acting on one owner. Bindings derive
    from it and override the ten virtual operations. }
  TorvClassInfo = class
  private type
    TFeatureArray = array of TorvFeature;

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
  private
    FOwner: TObject;
    FDecl: TDeclaration;
    FLive: array[TorvFeatureKind] of TFeatureArray;
    FMade: TFPList;
    FRun: TDeclarationRun;
    FVerify: PVerifyState;
    FListeners: TFPList;
    FRemovals: Cardinal;
    FFiring: Integer;
    FDying: Boolean;
    FHooked: Boolean; // ConnectEventHandlers ran for the current owner
    { The event found last: bindings look their events up at every firing. }
    FLastEvent: TorvEventInfo;
    function FeatureCount(AKind: TorvFeatureKind): Integer;
    function FeatureAt(AKind: TorvFeatureKind; AIndex: Integer): TorvFeature;
    function FindFeature(AKind: TorvFeatureKind; const AName: string): TorvFeature;
    function MakeFeature(AKind: TorvFeatureKind; APrototype: TorvFeature): TorvFeature;
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
  protected
    { Answer True when the declarations cannot differ between instances of
      this class, so that a shared declaration needs no check. }
    function DeclarationsFixed: Boolean; virtual;
    { Mark the start of an event running through this class info, so that a
      Release meanwhile waits for it. }
    procedure EnterEvent; inline;
    { Mark its end; answer False when the class info has been destroyed
      because a Release came while the event ran. }
    function LeaveEvent: Boolean;
    procedure ConnectEventHandlers; virtual;
    procedure UnConnectEventHandlers; virtual;
    procedure DefineORVProperties(AList: TList); virtual;
    procedure DefineORVMethods(AList: TList); virtual;
    procedure DefineORVConstructors(AList: TList); virtual;
    procedure DefineORVEvents(AList: TList); virtual;
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
    { Destroy the class info now or, when one of its events is running,
      as soon as that event returns. }
    procedure Release;
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
  public
    { Register AInfoClass for the host class named AClassName; a name that
      is registered already keeps its first class info. }
    class procedure RegisterClass(const AClassName: string; AInfoClass: TorvClassInfoClass);
    { Return the class info registered for exactly this class name (letter
      case ignored), or nil; parent classes are not searched. }
    class function FindClass(const AClassName: string): TorvClassInfoClass;
    { Call AProc with each registered name, in registration order. }
    class procedure Iterate(AProc: TorvClassNameProc);
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

implementation

uses
  RtlConsts,
  Orvpointermap;

function SameFeatureName(const A, B: string): Boolean;
begin
  // The string "=" of the RTL checks code pages first; names are plain text,
  // so comparing the bytes is both exact and much cheaper.
  Result := (Pointer(A) = Pointer(B)) or
    ((Length(A) = Length(B)) and (CompareByte(Pointer(A)^, Pointer(B)^, Length(A)) = 0));
end;

function CopyArguments(const AArgs: TorvArguments): TorvArguments;
begin
  Result := Copy(AArgs);
end;

procedure FreeArguments(var AArgs: TorvArguments);
var
  I: Integer;
begin
  for I := 0 to High(AArgs) do
    AArgs[I].Free;
  AArgs := nil;
end;

function FindArgument(const AArgs: TorvArguments; const AName: string): TorvParameterInfo;
var
  I: Integer;
begin
  for I := 0 to High(AArgs) do
    if SameFeatureName(AArgs[I].Name, AName) then
      Exit(AArgs[I]);
  Result := nil;
end;

{ TorvListener }

destructor TorvListener.Destroy;
begin
  while FAttachedTo <> nil do
    FAttachedTo.RemoveListener(Self);
  inherited Destroy;
end;

{ TorvFeature }

constructor TorvFeature.Create(AClassInfo: TorvClassInfo; const AName: string);
begin
  inherited Create;
  FClassInfo := AClassInfo;
  FName := AName;
end;

function TorvFeature.ResolveId: TorvFeatureId;
begin
  FId := FeatureIdOf(FName);
  FIdKnown := True;
  Result := FId;
end;

function TorvFeature.GetId: TorvFeatureId;
begin
  if FIdKnown then
    Result := FId
  else
    Result := ResolveId;
end;

{ TorvPropertyInfo }

constructor TorvPropertyInfo.Create(AClassInfo: TorvClassInfo; const AName: string;
  AStyles: TorvPropertyStyle; AVisibility: TorvPropertyVisibility;
  const AIndexes: TorvArguments);
begin
  inherited Create(AClassInfo, AName);
  FStyles := AStyles;
  FVisibility := AVisibility;
  FIndexes := CopyArguments(AIndexes);
end;

destructor TorvPropertyInfo.Destroy;
begin
  FreeArguments(FIndexes);
  inherited Destroy;
end;

function TorvPropertyInfo.GetIndexCount: Integer;
begin
  Result := Length(FIndexes);
end;

function TorvPropertyInfo.GetIndexes(AIndex: Integer): TorvParameterInfo;
begin
  Result := FIndexes[AIndex];
end;

{ TorvMethodInfo }

constructor TorvMethodInfo.Create(AClassInfo: TorvClassInfo; const AName: string;
  const AArgs: TorvArguments; AMethodStyle: TorvMethodStyle);
begin
  inherited Create(AClassInfo, AName);
  FArgs := CopyArguments(AArgs);
  FMethodStyle := AMethodStyle;
end;

destructor TorvMethodInfo.Destroy;
begin
  FreeArguments(FArgs);
  inherited Destroy;
end;

function TorvMethodInfo.GetArgCount: Integer;
begin
  Result := Length(FArgs);
end;

function TorvMethodInfo.GetArgs(AIndex: Integer): TorvParameterInfo;
begin
  Result := FArgs[AIndex];
end;

function TorvMethodInfo.Find(const AName: string): TorvParameterInfo;
begin
  Result := FindArgument(FArgs, AName);
end;

{ TorvConstructorInfo }

constructor TorvConstructorInfo.Create(AClassInfo: TorvClassInfo; const AName: string;
  const AArgs: TorvArguments);
begin
  inherited Create(AClassInfo, AName);
  FArgs := CopyArguments(AArgs);
end;

destructor TorvConstructorInfo.Destroy;
begin
  FreeArguments(FArgs);
  inherited Destroy;
end;

function TorvConstructorInfo.GetArgCount: Integer;
begin
  Result := Length(FArgs);
end;

function TorvConstructorInfo.GetArgs(AIndex: Integer): TorvParameterInfo;
begin
  Result := FArgs[AIndex];
end;

function TorvConstructorInfo.Find(const AName: string): TorvParameterInfo;
begin
  Result := FindArgument(FArgs, AName);
end;

{ TorvEventInfo }

constructor TorvEventInfo.Create(AClassInfo: TorvClassInfo; const AName: string;
  const AArgs: TorvArguments; AVisibility: TorvPropertyVisibility);
begin
  inherited Create(AClassInfo, AName);
  FArgs := CopyArguments(AArgs);
  FVisibility := AVisibility;
end;

destructor TorvEventInfo.Destroy;
begin
  FreeArguments(FArgs);
  inherited Destroy;
end;

function TorvEventInfo.GetArgCount: Integer;
begin
  Result := Length(FArgs);
end;

function TorvEventInfo.GetArgs(AIndex: Integer): TorvParameterInfo;
begin
  Result := FArgs[AIndex];
end;

function TorvEventInfo.Find(const AName: string): TorvParameterInfo;
begin
  Result := FindArgument(FArgs, AName);
end;

{ TStringTokenizer }

constructor TStringTokenizer.Create(const AText, ASeparator: string);
begin
  inherited Create;
  FText := AText;
  FSeparator := ASeparator;
  FPosition := 1;
end;

function TStringTokenizer.AtEnd: Boolean;
begin
  Result := Length(FText) <= FPosition;
end;

function TStringTokenizer.NextToken: string;
var
  Start, Len: Integer;
  S1, S2: Char;
begin
  S1 := FSeparator[1];
  S2 := FSeparator[2];
  Len := Length(FText);
  Start := FPosition;
  while FPosition <= Len do
  begin
    if FText[FPosition] <> S1 then
      Inc(FPosition)
    else if FPosition = Len then
    begin
      // A first separator character at the very end belongs to the token.
      Inc(FPosition);
      Break;
    end
    else if FText[FPosition + 1] = S2 then
    begin
      Result := Copy(FText, Start, FPosition - Start);
      Inc(FPosition, 2);
      Exit;
    end
    else
      Inc(FPosition);
  end;
  Result := Copy(FText, Start, FPosition - Start);
end;

{ Descriptor tokens }

function ReadStyles(const AText: string): TorvPropertyStyle;
var
  Tokens: TStringTokenizer;
  Token: string;
begin
  Result := [];
  Tokens := TStringTokenizer.Create(AText, '..');
  try
    while not Tokens.AtEnd do
    begin
      Token := Tokens.NextToken;
      if Token = 'psReadable' then
        Include(Result, psReadable)
      else if Token = 'psWritable' then
        Include(Result, psWritable)
      else if Token = 'psIndexed' then
        Include(Result, psIndexed)
      else
        raise Exception.Create(AText + rsInvalidPropertyStyle);
    end;
  finally
    Tokens.Free;
  end;
end;

function ReadVisibility(const AToken, AError: string): TorvPropertyVisibility;
begin
  if AToken = 'pvProtected' then
    Result := pvProtected
  else if AToken = 'pvPublic' then
    Result := pvPublic
  else if AToken = 'pvPublished' then
    Result := pvPublished
  else
    raise Exception.Create(AToken + AError);
end;

function ReadMethodStyle(const AToken: string): TorvMethodStyle;
begin
  if AToken = 'msFunction' then
    Result := msFunction
  else if AToken = 'msProcedure' then
    Result := msProcedure
  else
    raise Exception.Create(rsInvalidMethodStyle);
end;

{ TorvClassInfo.TDeclaration }

constructor TorvClassInfo.TDeclaration.Create(const ALists: array of TList; AShared: Boolean);
var
  Kind: TorvFeatureKind;
  I: Integer;
begin
  inherited Create;
  Shared := AShared;
  for Kind := Low(Kind) to High(Kind) do
  begin
    Kinds[Kind].Names.Init(False);
    for I := 0 to ALists[Ord(Kind)].Count - 1 do
      Append(Kind, TorvFeature(ALists[Ord(Kind)][I]));
  end;
end;

destructor TorvClassInfo.TDeclaration.Destroy;
var
  Kind: TorvFeatureKind;
  I: Integer;
begin
  if Shared then
    for Kind := Low(Kind) to High(Kind) do
      for I := 0 to High(Kinds[Kind].Items) do
        Kinds[Kind].Items[I].Free;
  inherited Destroy;
end;

procedure TorvClassInfo.TDeclaration.Append(AKind: TorvFeatureKind; AFeature: TorvFeature);
var
  N: Integer;
begin
  N := Length(Kinds[AKind].Items);
  SetLength(Kinds[AKind].Items, N + 1);
  Kinds[AKind].Items[N] := AFeature;
  Kinds[AKind].Names.Add(AFeature.Name, N);
end;

constructor TorvClassInfo.TDeclarationRun.Create;
var
  Kind: TorvFeatureKind;
begin
  inherited Create;
  for Kind := Low(Kind) to High(Kind) do
    Lists[Kind] := TList.Create;
end;

destructor TorvClassInfo.TDeclarationRun.Destroy;
var
  Kind: TorvFeatureKind;
begin
  for Kind := Low(Kind) to High(Kind) do
    Lists[Kind].Free;
  inherited Destroy;
end;

{ Shared declarations, one per class-info class }

type
  { Everything the unit keeps between calls. It lives on the heap, not in
    managed globals, so that it can outlast the unit's finalization when
    components still hold class infos then (see the finalization). }
  TModuleState = class
  public
    SharedDecls: TorvPointerMap; // class-info class to its shared TDeclaration
    { Handed to the declarations while they are only checked; stays empty. }
    VerifyList: TList;
    ClassRegistryList: array of TorvClassInfoRec;
    ClassRegistryNames: TorvNameIndex;
    ClassInfoCache: TorvPointerMap; // component to its class info
    { Host class to its class info class, or to NotRegistered: GetInfo would
      otherwise hash the class name at every call. Emptied by registering. }
    InfoClassOf: TorvPointerMap;
    Notifiers: TFPList; // of TorvNotifier, the last one taking new components
    function NotifierWithRoom: TorvNotifier;
    constructor Create;
    destructor Destroy; override;
  end;

var
  Module: TModuleState;

function FindSharedDeclaration(AClass: TClass): TObject;
begin
  Result := TObject(Module.SharedDecls.Find(AClass));
end;

procedure AddSharedDeclaration(AClass: TClass; ADecl: TObject);
begin
  Module.SharedDecls.Put(AClass, ADecl);
end;

{ TModuleState }

constructor TModuleState.Create;
begin
  inherited Create;
  VerifyList := TList.Create;
  ClassRegistryNames.Init(True);
  ClassInfoCache.Init;
  InfoClassOf.Init;
  SharedDecls.Init;
  Notifiers := TFPList.Create;
end;

destructor TModuleState.Destroy;
var
  Decls: TorvPointers;
  I: Integer;
begin
  Decls := SharedDecls.Values;
  for I := 0 to High(Decls) do
    TObject(Decls[I]).Free;
  for I := 0 to Notifiers.Count - 1 do
    TObject(Notifiers[I]).Free;
  Notifiers.Free;
  VerifyList.Free;
  inherited Destroy;
end;

{ TorvClassInfo }

constructor TorvClassInfo.Create;
begin
  // Everything else is made on demand: most class infos are asked for only
  // a few features, and many for none.
  inherited Create;
end;

destructor TorvClassInfo.Destroy;
var
  Kind: TorvFeatureKind;
  I: Integer;
begin
  FreeAndNil(FRun);
  for Kind := Low(Kind) to High(Kind) do
    for I := 0 to High(FLive[Kind]) do
      FLive[Kind][I].Free;
  if FMade <> nil then
    for I := 0 to FMade.Count - 1 do
      TObject(FMade[I]).Free;
  FMade.Free;
  if (FDecl <> nil) and not FDecl.Shared then
    FDecl.Free;
  if FListeners <> nil then
    for I := 0 to FListeners.Count - 1 do
      if TorvListener(FListeners[I]).FAttachedTo = Self then
        TorvListener(FListeners[I]).FAttachedTo := nil;
  FListeners.Free;
  inherited Destroy;
end;

procedure TorvClassInfo.Release;
begin
  if FFiring > 0 then
    FDying := True
  else
    Free;
end;

procedure TorvClassInfo.EnterEvent;
begin
  Inc(FFiring);
end;

function TorvClassInfo.LeaveEvent: Boolean;
begin
  Dec(FFiring);
  Result := not (FDying and (FFiring = 0));
  if not Result then
    Free;
end;

procedure TorvClassInfo.Made(AFeature: TorvFeature);
begin
  if FMade = nil then
    FMade := TFPList.Create;
  FMade.Add(AFeature);
end;

procedure TorvClassInfo.RetireFeatures;
var
  Kind: TorvFeatureKind;
  I: Integer;
begin
  FLastEvent := nil;
  for Kind := Low(Kind) to High(Kind) do
  begin
    for I := 0 to High(FLive[Kind]) do
      if FLive[Kind][I] <> nil then
        Made(FLive[Kind][I]);
    FLive[Kind] := nil;
  end;
  if (FDecl <> nil) and not FDecl.Shared then
    FDecl.Free;
  FDecl := nil;
end;

procedure TorvClassInfo.InitMetaData;
var
  Decl: TDeclaration;
begin
  RetireFeatures;
  Decl := TDeclaration(FindSharedDeclaration(ClassType));
  if Decl = nil then
    RunDeclarations(True)
  else if DeclarationsFixed or Verified(Decl) then
    FDecl := Decl
  else
    // This instance declares something else than its class did first.
    RunDeclarations(False);
end;

function TorvClassInfo.Verified(ADecl: TDeclaration): Boolean;
var
  State: TVerifyState;
begin
  // Running the declarations again costs a few calls per class in the chain;
  // it makes sharing safe for declarations that depend on their instance.
  State.Decl := ADecl;
  State.Position := 0;
  State.Matches := True;
  FVerify := @State;
  try
    DefineORVProperties(Module.VerifyList);
    DefineORVMethods(Module.VerifyList);
    DefineORVConstructors(Module.VerifyList);
    DefineORVEvents(Module.VerifyList);
  finally
    FVerify := nil;
  end;
  Result := State.Matches and (State.Position = Length(ADecl.Reads)) and (Module.VerifyList.Count = 0);
  Module.VerifyList.Clear;
end;

function TorvClassInfo.Replayed(AKind: TorvFeatureKind; const ADescriptor: string): Boolean;
var
  N: Integer;
begin
  if FVerify = nil then
  begin
    if (FRun <> nil) and not FRun.Partial then
    begin
      N := Length(FRun.Reads);
      SetLength(FRun.Reads, N + 1);
      FRun.Reads[N].Kind := AKind;
      FRun.Reads[N].Descriptor := ADescriptor;
    end;
    Exit(False);
  end;
  Result := True;
  N := FVerify^.Position;
  Inc(FVerify^.Position);
  if (N >= Length(FVerify^.Decl.Reads)) or (FVerify^.Decl.Reads[N].Kind <> AKind) or
    not SameFeatureName(FVerify^.Decl.Reads[N].Descriptor, ADescriptor)
  then
    FVerify^.Matches := False;
end;

procedure TorvClassInfo.RunDeclarations(AMayShare: Boolean);

  function Shareable: Boolean;
  var
    Kind: TorvFeatureKind;
    I: Integer;
    Feature: TorvFeature;
  begin
    // Shared only when the lists hold exactly what this run's reads made,
    // each once: a feature of another class info, or of an earlier run,
    // makes the result instance-specific.
    for I := FRun.FirstMade to FMade.Count - 1 do
      TorvFeature(FMade[I]).FMark := True;
    Result := True;
    for Kind := Low(Kind) to High(Kind) do
      for I := 0 to FRun.Lists[Kind].Count - 1 do
      begin
        Feature := TorvFeature(FRun.Lists[Kind][I]);
        if (Feature.ClassInfo <> Self) or not Feature.FMark then
          Result := False
        else
          Feature.FMark := False;
      end;
    for I := FRun.FirstMade to FMade.Count - 1 do
    begin
      Feature := TorvFeature(FMade[I]);
      if Feature.FMark then
        Result := False;
      Feature.FMark := False;
    end;
  end;

  procedure Detach(AFeature: TorvFeature; const AArgs: TorvArguments);
  var
    I: Integer;
  begin
    AFeature.FClassInfo := nil;
    for I := 0 to High(AArgs) do
      AArgs[I].FClassInfo := nil;
  end;

  procedure ShareRun;
  var
    Decl: TDeclaration;
    Kind: TorvFeatureKind;
    I: Integer;
    Feature: TorvFeature;
  begin
    // The features this run made become the class's prototypes.
    Decl := TDeclaration.Create(FRun.Lists, True);
    for Kind := Low(Kind) to High(Kind) do
      for I := 0 to High(Decl.Kinds[Kind].Items) do
      begin
        Feature := Decl.Kinds[Kind].Items[I];
        if Feature is TorvPropertyInfo then
          Detach(Feature, TorvPropertyInfo(Feature).FIndexes)
        else if Feature is TorvMethodInfo then
          Detach(Feature, TorvMethodInfo(Feature).FArgs)
        else if Feature is TorvConstructorInfo then
          Detach(Feature, TorvConstructorInfo(Feature).FArgs)
        else
          Detach(Feature, TorvEventInfo(Feature).FArgs);
      end;
    FMade.Count := FRun.FirstMade;
    Decl.Reads := FRun.Reads;
    AddSharedDeclaration(ClassType, Decl);
    FDecl := Decl;
  end;

begin
  if FMade = nil then
    FMade := TFPList.Create;
  FRun := TDeclarationRun.Create;
  try
    FRun.FirstMade := FMade.Count;
    try
      DefineORVProperties(FRun.Lists[fkProperty]);
      DefineORVMethods(FRun.Lists[fkMethod]);
      DefineORVConstructors(FRun.Lists[fkConstructor]);
      DefineORVEvents(FRun.Lists[fkEvent]);
    except
      // What was declared before the error stays listed.
      FDecl := TDeclaration.Create(FRun.Lists, False);
      raise;
    end;
    if AMayShare and Shareable then
      ShareRun
    else
      FDecl := TDeclaration.Create(FRun.Lists, False);
  finally
    FreeAndNil(FRun);
  end;
end;

function TorvClassInfo.BeginReading(AKind: TorvFeatureKind): TList;
var
  Run: TDeclarationRun;
  Kind: TorvFeatureKind;
  I: Integer;
begin
  if FRun = nil then
  begin
    // A read outside InitMetaData appends to the current lists: continue
    // from them in a run of its own that is never shared.
    Run := TDeclarationRun.Create;
    Run.Partial := True;
    for Kind := Low(Kind) to High(Kind) do
      for I := 0 to FeatureCount(Kind) - 1 do
        Run.Lists[Kind].Add(FeatureAt(Kind, I));
    FRun := Run;
  end;
  Result := FRun.Lists[AKind];
end;

procedure TorvClassInfo.EndReading;
var
  Decl: TDeclaration;
begin
  if (FRun = nil) or not FRun.Partial then
    Exit;
  Decl := TDeclaration.Create(FRun.Lists, False);
  FreeAndNil(FRun);
  // The live features now belong to the private declaration's lists.
  RetireFeatures;
  FDecl := Decl;
end;

function TorvClassInfo.FeatureCount(AKind: TorvFeatureKind): Integer;
begin
  if FVerify <> nil then
    Result := 0
  else if FRun <> nil then
    Result := FRun.Lists[AKind].Count
  else if FDecl = nil then
    Result := 0
  else
    Result := Length(FDecl.Kinds[AKind].Items);
end;

function TorvClassInfo.FeatureAt(AKind: TorvFeatureKind; AIndex: Integer): TorvFeature;
begin
  if (AIndex < 0) or (AIndex >= FeatureCount(AKind)) then
    raise EListError.CreateFmt(SListIndexError, [AIndex]);
  if FRun <> nil then
    Exit(TorvFeature(FRun.Lists[AKind][AIndex]));
  Result := FDecl.Kinds[AKind].Items[AIndex];
  if not FDecl.Shared then
    Exit;
  if FLive[AKind] = nil then
    SetLength(FLive[AKind], Length(FDecl.Kinds[AKind].Items));
  if FLive[AKind][AIndex] = nil then
    FLive[AKind][AIndex] := MakeFeature(AKind, Result);
  Result := FLive[AKind][AIndex];
end;

function TorvClassInfo.FindFeature(AKind: TorvFeatureKind; const AName: string): TorvFeature;
var
  I: Integer;
  List: TList;
begin
  if FVerify <> nil then
    Exit(nil);
  if FRun <> nil then
  begin
    // While declaring, an Override entry searches the list being built.
    List := FRun.Lists[AKind];
    for I := 0 to List.Count - 1 do
      if SameFeatureName(TorvFeature(List[I]).Name, AName) then
        Exit(TorvFeature(List[I]));
    Exit(nil);
  end;
  if FDecl = nil then
    Exit(nil);
  I := FDecl.Kinds[AKind].Names.Find(AName);
  if I < 0 then
    Result := nil
  else
    Result := FeatureAt(AKind, I);
end;

function TorvClassInfo.MakeFeature(AKind: TorvFeatureKind; APrototype: TorvFeature): TorvFeature;

  function CloneParameters(const AArgs: TorvArguments): TorvArguments;
  var
    I: Integer;
  begin
    Result := nil;
    SetLength(Result, Length(AArgs));
    for I := 0 to High(AArgs) do
      Result[I] := TorvParameterInfo.Create(Self, AArgs[I].Name);
  end;

var
  Prop: TorvPropertyInfo absolute APrototype;
  Method: TorvMethodInfo absolute APrototype;
  Ctor: TorvConstructorInfo absolute APrototype;
  Event: TorvEventInfo absolute APrototype;
begin
  case AKind of
    fkProperty:
      Result := TorvPropertyInfo.Create(Self, Prop.Name, Prop.Styles, Prop.Visibility,
        CloneParameters(Prop.Indexes));
    fkMethod:
      Result := TorvMethodInfo.Create(Self, Method.Name, CloneParameters(Method.Args),
        Method.MethodStyle);
    fkConstructor:
      Result := TorvConstructorInfo.Create(Self, Ctor.Name, CloneParameters(Ctor.Args));
    fkEvent:
      Result := TorvEventInfo.Create(Self, Event.Name, CloneParameters(Event.Args),
        Event.Visibility);
  end;
end;

function TorvClassInfo.ReadParameters(ATokens: TStringTokenizer): TorvArguments;
var
  Count, I: Integer;
begin
  Count := StrToInt(ATokens.NextToken);
  if Count < 0 then
    raise Exception.CreateFmt(rsNegativeCount, [Count]);
  Result := nil;
  SetLength(Result, Count);
  for I := 0 to Count - 1 do
    Result[I] := TorvParameterInfo.Create(Self, ATokens.NextToken);
end;

procedure TorvClassInfo.ReadORVProperties(const ADescriptor: string);
begin
  // Kept free of managed locals: when a shared declaration is only being
  // checked, this is all that runs.
  if not Replayed(fkProperty, ADescriptor) then
    ParseProperties(ADescriptor);
end;

procedure TorvClassInfo.ParseProperties(const ADescriptor: string);
var
  Tokens: TStringTokenizer;
  List: TList;
  Keyword, PropName, StyleText: string;
  Styles: TorvPropertyStyle;
  Visibility: TorvPropertyVisibility;
  Prop: TorvPropertyInfo;
begin
  List := BeginReading(fkProperty);
  Tokens := TStringTokenizer.Create(ADescriptor, '::');
  try
    while not Tokens.AtEnd do
    begin
      Keyword := Tokens.NextToken;
      if (Keyword <> 'Define') and (Keyword <> 'Override') then
        raise Exception.Create(rsInvalidDefineToken);
      PropName := Tokens.NextToken;
      StyleText := Tokens.NextToken;
      Styles := ReadStyles(StyleText);
      Visibility := ReadVisibility(Tokens.NextToken, rsInvalidPropertyVisibility);
      if Keyword = 'Define' then
      begin
        Prop := TorvPropertyInfo.Create(Self, PropName, Styles, Visibility,
          ReadParameters(Tokens));
        Made(Prop);
        List.Add(Prop);
      end
      else
      begin
        Prop := TorvPropertyInfo(FindFeature(fkProperty, PropName));
        if Prop = nil then
          raise Exception.CreateFmt(rsPropertyNotFound, [PropName]);
        if Styles <> [] then
          Prop.FStyles := Styles;
        Prop.FVisibility := Visibility;
      end;
    end;
  finally
    Tokens.Free;
    EndReading;
  end;
end;

procedure TorvClassInfo.ReadORVMethods(const ADescriptor: string);
begin
  // Kept free of managed locals: when a shared declaration is only being
  // checked, this is all that runs.
  if not Replayed(fkMethod, ADescriptor) then
    ParseMethods(ADescriptor);
end;

procedure TorvClassInfo.ParseMethods(const ADescriptor: string);
var
  Tokens: TStringTokenizer;
  List: TList;
  AMethodName: string;
  Style: TorvMethodStyle;
  Method: TorvMethodInfo;
begin
  List := BeginReading(fkMethod);
  Tokens := TStringTokenizer.Create(ADescriptor, '::');
  try
    while not Tokens.AtEnd do
    begin
      AMethodName := Tokens.NextToken;
      Style := ReadMethodStyle(Tokens.NextToken);
      Method := TorvMethodInfo.Create(Self, AMethodName, ReadParameters(Tokens), Style);
      Made(Method);
      List.Add(Method);
    end;
  finally
    Tokens.Free;
    EndReading;
  end;
end;

procedure TorvClassInfo.ReadORVConstructors(const ADescriptor: string);
begin
  // Kept free of managed locals: when a shared declaration is only being
  // checked, this is all that runs.
  if not Replayed(fkConstructor, ADescriptor) then
    ParseConstructors(ADescriptor);
end;

procedure TorvClassInfo.ParseConstructors(const ADescriptor: string);
var
  Tokens: TStringTokenizer;
  List: TList;
  CtorName: string;
  Ctor: TorvConstructorInfo;
begin
  List := BeginReading(fkConstructor);
  Tokens := TStringTokenizer.Create(ADescriptor, '::');
  try
    while not Tokens.AtEnd do
    begin
      CtorName := Tokens.NextToken;
      Ctor := TorvConstructorInfo.Create(Self, CtorName, ReadParameters(Tokens));
      Made(Ctor);
      List.Add(Ctor);
    end;
  finally
    Tokens.Free;
    EndReading;
  end;
end;

procedure TorvClassInfo.ReadORVEvents(const ADescriptor: string);
begin
  // Kept free of managed locals: when a shared declaration is only being
  // checked, this is all that runs.
  if not Replayed(fkEvent, ADescriptor) then
    ParseEvents(ADescriptor);
end;

procedure TorvClassInfo.ParseEvents(const ADescriptor: string);
var
  Tokens: TStringTokenizer;
  List: TList;
  Keyword, EventName: string;
  Visibility: TorvPropertyVisibility;
  Event: TorvEventInfo;
begin
  List := BeginReading(fkEvent);
  Tokens := TStringTokenizer.Create(ADescriptor, '::');
  try
    while not Tokens.AtEnd do
    begin
      Keyword := Tokens.NextToken;
      if (Keyword <> 'Define') and (Keyword <> 'Override') then
        raise Exception.Create(rsInvalidDefineToken);
      EventName := Tokens.NextToken;
      Visibility := ReadVisibility(Tokens.NextToken, rsInvalidEventVisibility);
      if Keyword = 'Define' then
      begin
        Event := TorvEventInfo.Create(Self, EventName, ReadParameters(Tokens), Visibility);
        Made(Event);
        List.Add(Event);
      end
      else
      begin
        Event := TorvEventInfo(FindFeature(fkEvent, EventName));
        if Event = nil then
          raise Exception.CreateFmt(rsEventNotFound, [EventName]);
        Event.FVisibility := Visibility;
      end;
    end;
  finally
    Tokens.Free;
    EndReading;
  end;
end;

procedure TorvClassInfo.SetOwner(AOwner: TObject);
begin
  if (FOwner <> nil) and FHooked then
    UnConnectEventHandlers;
  FOwner := AOwner;
  FHooked := AOwner <> nil;
  if FHooked then
    ConnectEventHandlers;
end;

procedure TorvClassInfo.SetOwnerWithoutEvents(AOwner: TObject);
begin
  if (FOwner <> nil) and FHooked then
    UnConnectEventHandlers;
  FOwner := AOwner;
  FHooked := False;
end;

function TorvClassInfo.DeclarationsFixed: Boolean;
begin
  Result := False;
end;

procedure TorvClassInfo.ConnectEventHandlers;
begin
end;

procedure TorvClassInfo.UnConnectEventHandlers;
begin
end;

procedure TorvClassInfo.DefineORVProperties(AList: TList);
begin
end;

procedure TorvClassInfo.DefineORVMethods(AList: TList);
begin
end;

procedure TorvClassInfo.DefineORVConstructors(AList: TList);
begin
end;

procedure TorvClassInfo.DefineORVEvents(AList: TList);
begin
end;

function TorvClassInfo.GetProperty(AProp: TorvPropertyInfo): Variant;
begin
  raise Exception.CreateFmt(rsPropertyNotFound, [AProp.Name]);
end;

procedure TorvClassInfo.SetProperty(AProp: TorvPropertyInfo; const AValue: Variant);
begin
  raise Exception.CreateFmt(rsPropertyNotFound, [AProp.Name]);
end;

procedure TorvClassInfo.InvokeMethod(AMethod: TorvMethodInfo);
begin
  raise Exception.CreateFmt(rsMethodNotFound, [AMethod.Name]);
end;

procedure TorvClassInfo.InvokeConstructor(AConstructor: TorvConstructorInfo);
begin
  raise Exception.CreateFmt(rsConstructorNotFound, [AConstructor.Name]);
end;

function TorvClassInfo.FindProperty(const AName: string): TorvPropertyInfo;
begin
  Result := TorvPropertyInfo(FindFeature(fkProperty, AName));
end;

function TorvClassInfo.FindEvent(const AName: string): TorvEventInfo;
begin
  if (FLastEvent <> nil) and SameFeatureName(FLastEvent.Name, AName) then
    Exit(FLastEvent);
  Result := TorvEventInfo(FindFeature(fkEvent, AName));
  // Only a finished declaration is remembered: one being made still grows.
  if (FRun = nil) and (FVerify = nil) and (Result <> nil) then
    FLastEvent := Result;
end;

function TorvClassInfo.FindMethod(const AName: string): TorvMethodInfo;
begin
  Result := TorvMethodInfo(FindFeature(fkMethod, AName));
end;

function TorvClassInfo.FindConstructor(const AName: string): TorvConstructorInfo;
begin
  Result := TorvConstructorInfo(FindFeature(fkConstructor, AName));
end;

function TorvClassInfo.GetPropertyCount: Integer;
begin
  Result := FeatureCount(fkProperty);
end;

function TorvClassInfo.GetProperties(AIndex: Integer): TorvPropertyInfo;
begin
  Result := TorvPropertyInfo(FeatureAt(fkProperty, AIndex));
end;

function TorvClassInfo.GetMethodCount: Integer;
begin
  Result := FeatureCount(fkMethod);
end;

function TorvClassInfo.GetMethods(AIndex: Integer): TorvMethodInfo;
begin
  Result := TorvMethodInfo(FeatureAt(fkMethod, AIndex));
end;

function TorvClassInfo.GetConstructorCount: Integer;
begin
  Result := FeatureCount(fkConstructor);
end;

function TorvClassInfo.GetConstructors(AIndex: Integer): TorvConstructorInfo;
begin
  Result := TorvConstructorInfo(FeatureAt(fkConstructor, AIndex));
end;

function TorvClassInfo.GetEventCount: Integer;
begin
  Result := FeatureCount(fkEvent);
end;

function TorvClassInfo.GetEvents(AIndex: Integer): TorvEventInfo;
begin
  Result := TorvEventInfo(FeatureAt(fkEvent, AIndex));
end;

procedure TorvClassInfo.AddListener(AListener: TorvListener);
begin
  if AListener = nil then
    Exit;
  if FListeners = nil then
    FListeners := TFPList.Create;
  FListeners.Add(AListener);
  AListener.FAttachedTo := Self;
end;

procedure TorvClassInfo.RemoveListener(AListener: TorvListener);
begin
  if (AListener = nil) or (FListeners = nil) then
    Exit;
  if FListeners.Remove(AListener) < 0 then
    Exit;
  Inc(FRemovals);
  if (AListener.FAttachedTo = Self) and (FListeners.IndexOf(AListener) < 0) then
    AListener.FAttachedTo := nil;
end;

function TorvClassInfo.HasListeners: Boolean;
begin
  Result := (FListeners <> nil) and (FListeners.Count > 0);
end;

procedure TorvClassInfo.FireEvent(AEvent: TorvEventInfo);
begin
  // Most events of most objects go unheard: this test is all they cost.
  if HasListeners then
    CallListeners(AEvent);
end;

procedure TorvClassInfo.CallListeners(AEvent: TorvEventInfo);
const
  InlineSnapshot = 8;
var
  Small: array[0..InlineSnapshot - 1] of Pointer;
  Snapshot: PPointer;
  Count, I: Integer;
  Removals: Cardinal;
  Listener: TorvListener;
begin
  // Listeners may add or remove listeners while they run: call those of a
  // snapshot taken now, skipping any removed meanwhile.
  Count := FListeners.Count;
  if Count <= InlineSnapshot then
    Snapshot := @Small[0]
  else
    Snapshot := GetMem(Count * SizeOf(Pointer));
  Move(FListeners.List^[0], Snapshot^, Count * SizeOf(Pointer));
  Removals := FRemovals;
  EnterEvent;
  try
    for I := 0 to Count - 1 do
    begin
      if FDying then
        Break;
      Listener := TorvListener(Snapshot[I]);
      if (FRemovals <> Removals) and (FListeners.IndexOf(Listener) < 0) then
        Continue;
      if Assigned(Listener.FOnEvent) and SameFeatureName(Listener.FEventName, AEvent.Name) then
        Listener.FOnEvent(FOwner, AEvent);
    end;
  finally
    if Snapshot <> @Small[0] then
      FreeMem(Snapshot);
    LeaveEvent;
  end;
end;

{ TorvClassRegistry }

class procedure TorvClassRegistry.RegisterClass(const AClassName: string;
  AInfoClass: TorvClassInfoClass);
var
  N: Integer;
begin
  if FindClass(AClassName) <> nil then
    Exit;
  N := Length(Module.ClassRegistryList);
  SetLength(Module.ClassRegistryList, N + 1);
  Module.ClassRegistryList[N].ClassName := AClassName;
  Module.ClassRegistryList[N].InfoClass := AInfoClass;
  Module.ClassRegistryNames.Add(AClassName, N);
  Module.InfoClassOf.Init;
end;

class function TorvClassRegistry.FindClass(const AClassName: string): TorvClassInfoClass;
var
  N: Integer;
begin
  N := Module.ClassRegistryNames.Find(AClassName);
  if N < 0 then
    Result := nil
  else
    Result := Module.ClassRegistryList[N].InfoClass;
end;

class procedure TorvClassRegistry.Iterate(AProc: TorvClassNameProc);
var
  I: Integer;
begin
  for I := 0 to High(Module.ClassRegistryList) do
    AProc(Module.ClassRegistryList[I].ClassName);
end;

const
  NotRegistered = Pointer(1);

function InfoClassFor(AClass: TClass): TorvClassInfoClass;
var
  Found: Pointer;
begin
  Found := Module.InfoClassOf.Find(AClass);
  if Found = nil then
  begin
    Found := TorvClassRegistry.FindClass(AClass.ClassName);
    if Found = nil then
      Found := NotRegistered;
    Module.InfoClassOf.Put(AClass, Found);
  end;
  if Found = NotRegistered then
    Result := nil
  else
    Result := TorvClassInfoClass(Found);
end;

class function TorvClassRegistry.GetInfo(AObject: TObject): TorvClassInfo;
var
  Supplier: Pointer;
  InfoClass: TorvClassInfoClass;
begin
  if AObject = nil then
    raise Exception.Create(rsNoObject);
  // Held without a reference: an interfaced object must not be freed by our
  // releasing it.
  if AObject.GetInterfaceWeak(IorvObject, Supplier) then
    Exit(IorvObject(Supplier).GetORVClassInfo);
  Result := TorvClassInfo(Module.ClassInfoCache.Find(AObject));
  if Result <> nil then
    Exit;
  // Only a component tells us when it goes; a class info kept for any other
  // object could later be answered for a new object at the same address.
  if not (AObject is TComponent) then
    raise Exception.CreateFmt(rsNotAComponent, [AObject.ClassName]);
  // Its free notifications have gone out: a class info made now would
  // outlive it.
  if csDestroying in TComponent(AObject).ComponentState then
    raise Exception.CreateFmt(rsDestroying, [TComponent(AObject).Name, AObject.ClassName]);
  InfoClass := InfoClassFor(AObject.ClassType);
  if InfoClass = nil then
    raise Exception.CreateFmt(rsNotRegistered, [AObject.ClassName]);
  Result := InfoClass.Create;
  try
    Result.InitMetaData;
    Result.SetOwner(AObject);
  except
    Result.Free;
    raise;
  end;
  Module.ClassInfoCache.Put(AObject, Result);
  Module.NotifierWithRoom.Watch(TComponent(AObject));
end;

{ TorvNotifier }

const
  ComponentsPerNotifier = 64;

function TModuleState.NotifierWithRoom: TorvNotifier;
var
  I: Integer;
begin
  if Notifiers.Count > 0 then
  begin
    Result := TorvNotifier(Notifiers.Last);
    if Result.FWatched < ComponentsPerNotifier then
      Exit;
    for I := 0 to Notifiers.Count - 2 do
    begin
      Result := TorvNotifier(Notifiers[I]);
      if Result.FWatched < ComponentsPerNotifier then
        Exit;
    end;
  end;
  Result := TorvNotifier.Create(nil);
  Notifiers.Add(Result);
end;

procedure TorvNotifier.Watch(AComponent: TComponent);
begin
  AComponent.FreeNotification(Self);
  Inc(FWatched);
end;

procedure TorvNotifier.Notification(AComponent: TComponent; Operation: TOperation);
var
  Info: TorvClassInfo;
begin
  if Operation = opRemove then
  begin
    Info := TorvClassInfo(Module.ClassInfoCache.Remove(AComponent));
    if Info <> nil then
    begin
      Dec(FWatched);
      // Give the component its own handlers back first, so that nothing it
      // fires while it is taken apart reaches the class info.
      Info.SetOwner(nil);
      Info.Release;
    end;
  end;
  inherited Notification(AComponent, Operation);
end;

initialization
  Module := TModuleState.Create;
finalization
  // The application's forms are freed after this unit is finalized. While
  // components still have class infos, their links and events keep using
  // this state: leave it to the end of the process.
  if Module.ClassInfoCache.Count = 0 then
    FreeAndNil(Module);
end.
