{ The connection list and what every kind of link shares: the Source and
  Target sides, the class infos fetched for them, the place of a link in its
  list and in the form file, and property index lists.

  A link reaches the components it names only through their class infos.
  The registry destroys a component's class info when the component goes,
  before the link hears of it, so a link never touches a class info it holds
  once the component's side has changed: the cache is dropped unread, and
  listeners leave the class info they were added to on their own (see
  TorvListener.AttachedTo). }
unit Orvconlist;

{$I orvdefines.inc}

interface

uses
  Classes, SysUtils, Variants,
  Orvcommon, Orvcallguard, Orvlinknames;

type
  { A link setter refused a name or an index list. }
  EorvInvalidFeature = Orvlinknames.EorvInvalidFeature;
  { A link could not take what its form file says; it names form, link,
    side and component class. }
  EorvLinkError = Orvlinknames.EorvLinkError;

  { Where a link takes a value from. }
  TorvValueOptions = (voConstant, voComponentProperty, voEventProperty);

  TorvConnectionList = class;
  TorvConnection = class;

  { The steps of a link that a trace is told of. }
  TorvTraceStep = (tsConnect, tsRefuse, tsTransfer, tsEcho, tsAssign, tsCall, tsError);

  { Tell the trace that ALink took the step AStep; AValues carries what the
    step moved (see Orvtrace). AFrame is the frame of the link's call out
    under way, or nil; when it is gone, ALink must not be touched. Answer
    whether the link still exists afterwards. }
  TorvTraceHook = function(ALink: TorvConnection; AFrame: PorvCallFrame; AStep: TorvTraceStep;
    const AValues: array of const): Boolean;

  { One step of a link that may raise, run by TracedStep. }
  TorvStepMethod = procedure(constref AFrame: TorvCallFrame) of object;

  { Told of the link AConnection that cannot connect while the form is read;
    AError says why and where, and is freed after the call. }
  TorvConnectFailureEvent = procedure(Sender: TorvConnectionList; AConnection: TorvConnection;
    AError: EorvLinkError) of object;

  { TorvConnection }

  { The base of the three kinds of link: a Source and a Target component,
    a place in a connection list, Connect and Unconnect. }
  TorvConnection = class(TComponent)
  private
    FConnectionList: TorvConnectionList;
    FSource: TComponent;
    FSourceInfo: TorvClassInfo;
    FTarget: TComponent;
    FTargetInfo: TorvClassInfo;
    FRefusal: EorvLinkError;  // raised once the form is read
    FGuard: TorvCallGuard;
    function GetIndex: Integer;
    procedure SetIndex(AValue: Integer);
  protected
    procedure SetSource(AValue: TComponent);
    procedure SetTarget(AValue: TComponent);
    procedure Notification(AComponent: TComponent; Operation: TOperation); override;
    procedure ReadState(Reader: TReader); override;
    { Raise the refusal of a component met while the form was read. }
    procedure Loaded; override;
    procedure SetParentComponent(AParent: TComponent); override;
    { Put AValue on the side ASide whose component is AField and whose class
      info cache is ACache: refuse an unregistered component, clear the side
      and Unconnect, then hold AValue. }
    procedure ReplaceSide(var AField: TComponent; var ACache: TorvClassInfo; AValue: TComponent;
      const ASide: string);
    { Answer whether the link is being read from a form file. }
    function IsLoading: Boolean;
    { Answer whether the link is in the designer. }
    function IsDesigning: Boolean;
    { Answer whether GetSourceInfo and GetTargetInfo would answer ASourceInfo
      and ATargetInfo (both not nil) with nothing to look up or to clear:
      the test a firing makes that what it resolved before still holds. }
    function SidesAre(ASourceInfo, ATargetInfo: TorvClassInfo): Boolean; inline;
    { Open AFrame for one firing or transfer of the link, which calls out
      to user code: the frame tells afterwards whether the link still
      exists (AFrame.Gone), and a link that has re-entered itself
      MaxReentry times is refused with an error naming the loop. Close it
      with LeaveCall in a finally. }
    procedure EnterFiring(out AFrame: TorvCallFrame); inline;
    { Run AStep and tell the trace of an error it raises, which goes on
      unchanged: the firings of a traced link take this way, so that the
      others pay no exception frame for it. }
    procedure TracedStep(AStep: TorvStepMethod; constref AFrame: TorvCallFrame);
    { Return the features the link joins, for messages. }
    function DescribeJoin: string; virtual;
  public
    { Return "Component.Feature" for messages; "?" for no component. }
    function SideText(AComponent: TComponent; const AFeature: string): string;
    { Mark the link's running firings gone before anything is taken apart. }
    procedure BeforeDestruction; override;
    destructor Destroy; override;
    { Refuse AValue for the side ASide unless it is registered, answering
      False. While the form is read the side stays empty: the refusal goes
      to the list's OnConnectFailure when it is assigned, so that the rest
      of the form loads; otherwise it is raised once the form is read, which
      stops the form as before, without leaving the reader's work undone. }
    function AcceptComponent(AValue: TComponent; const ASide: string): Boolean;
    { Return the link's name and what it joins, for messages. }
    function Describe: string;
    { Open AFrame around a call out that only watches the link (a trace
      handler): like a firing's frame, it tells afterwards whether the link
      still exists, but the re-entry limit never refuses it, so that a trace
      cannot be what stops a loop. Close it with LeaveCall. }
    procedure EnterWatch(out AFrame: TorvCallFrame);
    { Resolve what the link names; at run time also subscribe and do the
      first work. Answer False, doing nothing, when something is missing. }
    function Connect: Boolean; virtual; abstract;
    { Leave every class info the link listens to, and forget the names of
      each side whose component is gone. }
    procedure Unconnect; virtual; abstract;
    { Return why Connect would answer False, naming the first name that does
      not resolve and the nearest declared one; '' when nothing is missing. }
    function Unresolved: string; virtual;
    function GetParentComponent: TComponent; override;
    function HasParent: Boolean; override;
    procedure SetConnectionList(AValue: TorvConnectionList);
    { Return the class info of Source, or nil when there is no Source. }
    function GetSourceInfo: TorvClassInfo; inline;
    { Return the class info of Target, or nil when there is no Target. }
    function GetTargetInfo: TorvClassInfo; inline;
    property ConnectionList: TorvConnectionList read FConnectionList;
    { The position in the list; -1 outside a list. Setting it clamps. }
    property Index: Integer read GetIndex write SetIndex;
  published
    property Source: TComponent read FSource write SetSource;
    property Target: TComponent read FTarget write SetTarget;
  end;

  TorvConnectionClass = class of TorvConnection;

  { TorvConnectionList }

  { A non-visual component holding links in order. The links are owned by
    the form; the list is their parent in the form file and connects them
    once the form has been read at run time. }
  TorvConnectionList = class(TComponent)
  private
    FConnections: TList;
    FOnConnectFailure: TorvConnectFailureEvent;
    FGuard: TorvCallGuard;
    function DescribeList: string;
    { Connect AConnection and hand a failure to OnConnectFailure. }
    procedure ConnectReporting(AConnection: TorvConnection);
    function GetConnection(AIndex: Integer): TorvConnection;
    procedure SetConnection(AIndex: Integer; AValue: TorvConnection);
  protected
    procedure GetChildren(Proc: TGetChildProc; Root: TComponent); override;
    procedure SetChildOrder(Child: TComponent; Order: Integer); override;
    procedure Loaded; override;
    procedure Notification(AComponent: TComponent; Operation: TOperation); override;
  public
    constructor Create(AOwner: TComponent); override;
    { Mark a connecting in progress gone before anything is taken apart. }
    procedure BeforeDestruction; override;
    { Free the links still in the list, the last first. }
    destructor Destroy; override;
    procedure AddConnection(AConnection: TorvConnection);
    procedure RemoveConnection(AConnection: TorvConnection);
    function GetConnectionCount: Integer;
    { Hand AError (then freed) to OnConnectFailure; answer whether the list
      still exists afterwards. }
    function ReportFailure(AConnection: TorvConnection; AError: EorvLinkError): Boolean;
    property Connections[AIndex: Integer]: TorvConnection read GetConnection write SetConnection;
  published
    { Opt-in: when assigned, a link that cannot connect while the form is
      read (a component of an unregistered class on a side, a name that does
      not resolve, an error of its first copy) is reported here and the rest
      of the form loads; unassigned, the error stops the form as it always
      did, and a link that does not resolve stays inert without a word. A
      link that its own first copy freed can be neither asked nor handed
      over: it is not reported, and an error it raised stops the form. The
      handler may free the link, other links, the list or the form. }
    property OnConnectFailure: TorvConnectFailureEvent read FOnConnectFailure
      write FOnConnectFailure;
  end;

{ Return the class info of AComponent through the cache ACache, which is
  dropped when it belongs to another owner; nil for no component. }
function CachedClassInfo(AComponent: TComponent; var ACache: TorvClassInfo): TorvClassInfo;
  inline;
{ Take AListener out of the class info it was added to, if that still exists. }
procedure DetachListener(AListener: TorvListener);
{ Answer whether the editors offer AComponent for a side: a link accepts it,
  and it is not a link or a connection list that only the derived-classes
  mode makes bindable, through TComponent's binding: a person choosing a
  side looks for the form's components, not for its wiring. }
function IsOfferedSide(AComponent: TComponent): Boolean;

{ Calls into a class info that may run user code. Each holds AInfo across
  the call, so that the class info and its features outlive a call that
  frees its component; afterwards the caller tests AInfo.Dying (and its own
  frame) before it uses either again. }
function ReadProperty(AInfo: TorvClassInfo; AProp: TorvPropertyInfo): Variant;
procedure WriteProperty(AInfo: TorvClassInfo; AProp: TorvPropertyInfo; const AValue: Variant);

{ Return the property AName of AInfo through ACache, found in AFrom. AFrom
  is compared first, so a cache from a class info that has gone is dropped
  unread. }
function CachedProperty(AInfo: TorvClassInfo; const AName: string;
  var ACache: TorvPropertyInfo; var AFrom: TorvClassInfo): TorvPropertyInfo;
{ The same for the event AName. }
function CachedEvent(AInfo: TorvClassInfo; const AName: string;
  var ACache: TorvEventInfo; var AFrom: TorvClassInfo): TorvEventInfo;
{ Listen with AListener to AEvent of AInfo; without an event, listen to
  nothing. A listener is added to one class info at most once, so a second
  Connect does not double what the link does. }
procedure Subscribe(AListener: TorvListener; AInfo: TorvClassInfo; AEvent: TorvEventInfo;
  const AEventName: string);

{ Property index lists: the index arguments a link keeps for an indexed
  property, as a one-dimensional variant array (made and checked by
  Orvlinknames). }

{ Hand the elements of AList to the index parameters of AProp; AUnmade
  stands for a list of one empty element that was not made. }
procedure ApplyIndexList(const AList: Variant; AProp: TorvPropertyInfo; AUnmade: Boolean = False);
{ Define AName, the form-file property of the index list AList (a field of
  the caller's), on AFiler: read into AList, written from it when it is a
  list. }
procedure DefineIndexList(AFiler: TFiler; const AName: string; var AList: Variant);

var
  { Set by the trace unit while a trace is on, nil otherwise: a link tests
    it once per step and does nothing else for the trace while it is nil. }
  LinkTrace: TorvTraceHook;

resourcestring
  rsTransferFailed = 'Exception "%s" occured in connection %s';
  rsInternalError = 'Internal error in %s.OnSourceEvent';
  rsUnresolvedFeature = 'Unknown %s "%s" in connection %s';
  rsCannotConnect = 'The connection cannot connect: %s';
  rsConnectionDescription = 'connection %s (%s)';
  rsListDescription = 'connection list %s';

implementation

{ Shared routines }

function IsOfferedSide(AComponent: TComponent): Boolean;
begin
  Result := IsOrvaneComponent(AComponent);
  if Result and ((AComponent is TorvConnection) or (AComponent is TorvConnectionList)) then
    Result := TorvClassRegistry.FindClass(AComponent.ClassName) <> nil;
end;

function CachedClassInfo(AComponent: TComponent; var ACache: TorvClassInfo): TorvClassInfo;
begin
  // A component being destroyed has lost its class info already.
  if (AComponent = nil) or (csDestroying in AComponent.ComponentState) then
  begin
    ACache := nil;
    Exit(nil);
  end;
  if (ACache <> nil) and (ACache.Owner <> AComponent) then
    ACache := nil;
  if ACache = nil then
    ACache := TorvClassRegistry.GetInfo(AComponent);
  Result := ACache;
end;

procedure DetachListener(AListener: TorvListener);
begin
  if (AListener <> nil) and (AListener.AttachedTo <> nil) then
    AListener.AttachedTo.RemoveListener(AListener);
end;

function ReadProperty(AInfo: TorvClassInfo; AProp: TorvPropertyInfo): Variant;
begin
  AInfo.Hold;
  try
    Result := AInfo.GetProperty(AProp);
  finally
    AInfo.Unhold;
  end;
end;

procedure WriteProperty(AInfo: TorvClassInfo; AProp: TorvPropertyInfo; const AValue: Variant);
begin
  AInfo.Hold;
  try
    AInfo.SetProperty(AProp, AValue);
  finally
    AInfo.Unhold;
  end;
end;

function CachedProperty(AInfo: TorvClassInfo; const AName: string;
  var ACache: TorvPropertyInfo; var AFrom: TorvClassInfo): TorvPropertyInfo;
begin
  if (ACache <> nil) and ((AFrom <> AInfo) or not SameFeatureName(ACache.Name, AName)) then
    ACache := nil;
  if (ACache = nil) and (AInfo <> nil) then
  begin
    ACache := AInfo.FindProperty(AName);
    AFrom := AInfo;
  end;
  Result := ACache;
end;

function CachedEvent(AInfo: TorvClassInfo; const AName: string;
  var ACache: TorvEventInfo; var AFrom: TorvClassInfo): TorvEventInfo;
begin
  if (ACache <> nil) and ((AFrom <> AInfo) or not SameFeatureName(ACache.Name, AName)) then
    ACache := nil;
  if (ACache = nil) and (AInfo <> nil) then
  begin
    ACache := AInfo.FindEvent(AName);
    AFrom := AInfo;
  end;
  Result := ACache;
end;

procedure Subscribe(AListener: TorvListener; AInfo: TorvClassInfo; AEvent: TorvEventInfo;
  const AEventName: string);
begin
  DetachListener(AListener);
  if AEvent = nil then
    Exit;
  // The event's own name, which has the same text: a firing then finds the
  // listener by comparing two references, not the names' characters.
  AListener.EventName := AEvent.Name;
  AInfo.AddListener(AListener);
end;

procedure ApplyIndexElements(const AList: Variant; AProp: TorvPropertyInfo);
var
  I: Integer;
begin
  for I := 0 to VarArrayHighBound(AList, 1) do
    if I < AProp.GetIndexCount then
      AProp.GetIndexes(I).Value := AList[I];
end;

procedure ApplyIndexList(const AList: Variant; AProp: TorvPropertyInfo; AUnmade: Boolean);
begin
  // Most properties have no index: this test is all a transfer pays then.
  if (AProp = nil) or (AProp.GetIndexCount = 0) then
    Exit;
  if AUnmade then
    AProp.GetIndexes(0).Value := Unassigned
  else if VarIsArray(AList) then
    ApplyIndexElements(AList, AProp);
end;

procedure WriteIndexList(AWriter: TWriter; const AList: Variant);
var
  I: Integer;
begin
  AWriter.WriteListBegin;
  for I := 0 to VarArrayHighBound(AList, 1) do
    AWriter.WriteString(VarToStr(AList[I]));
  AWriter.WriteListEnd;
end;

function ReadIndexList(AReader: TReader): Variant;
var
  Items: TStringList;
  I: Integer;
begin
  Items := TStringList.Create;
  try
    AReader.ReadListBegin;
    while not AReader.EndOfList do
      Items.Add(AReader.ReadString);
    AReader.ReadListEnd;
    Result := NewIndexList(Items.Count);
    for I := 0 to Items.Count - 1 do
      Result[I] := Items[I];
  finally
    Items.Free;
  end;
end;

{ Answer whether an index list is stored: whenever it holds an array. }
function IndexListStored(const AList: Variant): Boolean;
begin
  Result := VarIsArray(AList);
end;

type
  { Reads and writes one index list field. A filer calls back from within
    DefineProperty, so the streamer lives on the caller's stack. }
  TIndexListStreamer = object
    List: PVariant;
    procedure Read(AReader: TReader);
    procedure Write(AWriter: TWriter);
  end;

procedure TIndexListStreamer.Read(AReader: TReader);
begin
  List^ := ReadIndexList(AReader);
end;

procedure TIndexListStreamer.Write(AWriter: TWriter);
begin
  WriteIndexList(AWriter, List^);
end;

procedure DefineIndexList(AFiler: TFiler; const AName: string; var AList: Variant);
var
  Streamer: TIndexListStreamer;
begin
  Streamer.List := @AList;
  AFiler.DefineProperty(AName, @Streamer.Read, @Streamer.Write, IndexListStored(AList));
end;

{ TorvConnection }

procedure TorvConnection.BeforeDestruction;
begin
  GuardGone(FGuard, ShortString(Name));
  inherited BeforeDestruction;
end;

procedure TorvConnection.EnterFiring(out AFrame: TorvCallFrame);
begin
  EnterCall(FGuard, AFrame, @Describe);
end;

procedure TorvConnection.EnterWatch(out AFrame: TorvCallFrame);
var
  Depth: Integer;
begin
  // The frame joins the link's open frames, so that the destructor marks
  // it gone, but is not counted against the limit.
  Depth := FGuard.Depth;
  FGuard.Depth := 0;
  EnterCall(FGuard, AFrame, @Describe);
  FGuard.Depth := Depth + 1;
end;

procedure TorvConnection.TracedStep(AStep: TorvStepMethod; constref AFrame: TorvCallFrame);
begin
  try
    AStep(AFrame);
  except
    on E: Exception do
    begin
      if not IsFatalError(E) and (LinkTrace <> nil) then
        LinkTrace(Self, @AFrame, tsError, [E.Message]);
      raise;
    end;
  end;
end;

function TorvConnection.SideText(AComponent: TComponent; const AFeature: string): string;
begin
  if AComponent = nil then
    Result := '?'
  else
    Result := AComponent.Name;
  if AFeature <> '' then
    Result := Result + '.' + AFeature;
end;

function TorvConnection.DescribeJoin: string;
begin
  Result := SideText(FSource, '') + ' -> ' + SideText(FTarget, '');
end;

function TorvConnection.Describe: string;
begin
  Result := Format(rsConnectionDescription, [Name, DescribeJoin]);
end;

destructor TorvConnection.Destroy;
begin
  FreeAndNil(FRefusal);
  if FConnectionList <> nil then
    FConnectionList.RemoveConnection(Self);
  inherited Destroy;
end;

function TorvConnection.IsLoading: Boolean;
begin
  Result := csLoading in ComponentState;
end;

function TorvConnection.IsDesigning: Boolean;
begin
  Result := csDesigning in ComponentState;
end;

function TorvConnection.GetIndex: Integer;
begin
  if FConnectionList = nil then
    Result := -1
  else
    Result := FConnectionList.FConnections.IndexOf(Self);
end;

procedure TorvConnection.SetIndex(AValue: Integer);
var
  Current, Count: Integer;
begin
  if FConnectionList = nil then
    Exit;
  Count := FConnectionList.FConnections.Count;
  if AValue < 0 then
    AValue := 0;
  if AValue >= Count then
    AValue := Count - 1;
  Current := GetIndex;
  if AValue = Current then
    Exit;
  FConnectionList.FConnections.Delete(Current);
  FConnectionList.FConnections.Insert(AValue, Self);
end;

procedure TorvConnection.SetConnectionList(AValue: TorvConnectionList);
begin
  if AValue = FConnectionList then
    Exit;
  if FConnectionList <> nil then
    FConnectionList.RemoveConnection(Self);
  if AValue <> nil then
    AValue.AddConnection(Self);
end;

function TorvConnection.SidesAre(ASourceInfo, ATargetInfo: TorvClassInfo): Boolean;
begin
  // CachedClassInfo's tests in its order: a cache is read only while its
  // component is there and not being destroyed.
  Result := (FSource <> nil) and (FTarget <> nil) and (FSourceInfo = ASourceInfo) and
    (FTargetInfo = ATargetInfo) and not (csDestroying in FSource.ComponentState) and
    not (csDestroying in FTarget.ComponentState) and
    (ASourceInfo.Owner = FSource) and (ATargetInfo.Owner = FTarget);
end;

function TorvConnection.GetSourceInfo: TorvClassInfo;
begin
  Result := CachedClassInfo(FSource, FSourceInfo);
end;

function TorvConnection.GetTargetInfo: TorvClassInfo;
begin
  Result := CachedClassInfo(FTarget, FTargetInfo);
end;

function TorvConnection.AcceptComponent(AValue: TComponent; const ASide: string): Boolean;
var
  Error: EorvLinkError;
begin
  Result := (AValue = nil) or IsOrvaneComponent(AValue);
  if Result then
    Exit;
  Error := EorvLinkError.CreateAt(rsNotOrvaneComponent, Self, ASide, AValue);
  // A trace handler that freed the link leaves nothing to keep the refusal in.
  if (LinkTrace <> nil) and not LinkTrace(Self, nil, tsRefuse, [Error]) then
    raise Error;
  if not IsLoading then
    raise Error;
  // In the designer the handler is not the application's code and is not called.
  if (FConnectionList <> nil) and Assigned(FConnectionList.OnConnectFailure) and
    not IsDesigning then
    // The handler may free anything, this link too: nothing of it is touched after.
    FConnectionList.ReportFailure(Self, Error)
  else if FRefusal = nil then
    FRefusal := Error
  else
    Error.Free;
end;

procedure TorvConnection.Loaded;
var
  Refusal: EorvLinkError;
begin
  inherited Loaded;
  Refusal := FRefusal;
  FRefusal := nil;
  if Refusal <> nil then
    raise Refusal;
end;

function TorvConnection.Unresolved: string;
begin
  Result := '';
end;

procedure TorvConnection.ReplaceSide(var AField: TComponent; var ACache: TorvClassInfo;
  AValue: TComponent; const ASide: string);
begin
  if not AcceptComponent(AValue, ASide) then
    Exit;
  if AField <> nil then
  begin
    // The side is gone before Unconnect runs, so that it forgets its names;
    // the cached class info is dropped unread. The free notification stays:
    // the component may be on another side of this link too.
    AField := nil;
    ACache := nil;
    Unconnect;
  end;
  AField := AValue;
  if AValue <> nil then
    AValue.FreeNotification(Self);
end;

procedure TorvConnection.SetSource(AValue: TComponent);
begin
  ReplaceSide(FSource, FSourceInfo, AValue, 'Source');
end;

procedure TorvConnection.SetTarget(AValue: TComponent);
begin
  ReplaceSide(FTarget, FTargetInfo, AValue, 'Target');
end;

procedure TorvConnection.Notification(AComponent: TComponent; Operation: TOperation);
var
  WasSource, WasTarget: Boolean;
begin
  inherited Notification(AComponent, Operation);
  if Operation <> opRemove then
    Exit;
  // The component's class info may already be destroyed: both sides are
  // cleared, their caches dropped unread, before the first Unconnect, which
  // then never reaches for the dying component through the other side.
  WasSource := AComponent = FSource;
  WasTarget := AComponent = FTarget;
  if WasSource then
  begin
    FSource := nil;
    FSourceInfo := nil;
  end;
  if WasTarget then
  begin
    FTarget := nil;
    FTargetInfo := nil;
  end;
  if WasSource then
    Unconnect;
  if WasTarget then
    Unconnect;
end;

procedure TorvConnection.ReadState(Reader: TReader);
begin
  inherited ReadState(Reader);
  if Reader.Parent is TorvConnectionList then
    SetConnectionList(TorvConnectionList(Reader.Parent));
end;

function TorvConnection.HasParent: Boolean;
begin
  if FConnectionList <> nil then
    Result := True
  else
    Result := inherited HasParent;
end;

function TorvConnection.GetParentComponent: TComponent;
begin
  if FConnectionList <> nil then
    Result := FConnectionList
  else
    Result := inherited GetParentComponent;
end;

procedure TorvConnection.SetParentComponent(AParent: TComponent);
begin
  // While loading, ReadState attaches the link, once.
  if not IsLoading and (AParent is TorvConnectionList) then
    SetConnectionList(TorvConnectionList(AParent));
end;

{ TorvConnectionList }

constructor TorvConnectionList.Create(AOwner: TComponent);
begin
  inherited Create(AOwner);
  FConnections := TList.Create;
end;

destructor TorvConnectionList.Destroy;
begin
  while FConnections.Count > 0 do
    TorvConnection(FConnections.Last).Free;
  FreeAndNil(FConnections);
  inherited Destroy;
end;

procedure TorvConnectionList.AddConnection(AConnection: TorvConnection);
begin
  FConnections.Add(AConnection);
  AConnection.FConnectionList := Self;
  AConnection.FreeNotification(Self);
end;

procedure TorvConnectionList.RemoveConnection(AConnection: TorvConnection);
var
  I: Integer;
begin
  // From the end: a form frees its links last first.
  for I := FConnections.Count - 1 downto 0 do
    if FConnections[I] = Pointer(AConnection) then
    begin
      FConnections.Delete(I);
      AConnection.FConnectionList := nil;
      Exit;
    end;
end;

function TorvConnectionList.GetConnection(AIndex: Integer): TorvConnection;
begin
  Result := TorvConnection(FConnections[AIndex]);
end;

procedure TorvConnectionList.SetConnection(AIndex: Integer; AValue: TorvConnection);
begin
  GetConnection(AIndex).Assign(AValue);
end;

function TorvConnectionList.GetConnectionCount: Integer;
begin
  Result := FConnections.Count;
end;

procedure TorvConnectionList.GetChildren(Proc: TGetChildProc; Root: TComponent);
var
  I: Integer;
begin
  for I := 0 to FConnections.Count - 1 do
    if GetConnection(I).Owner = Root then
      Proc(GetConnection(I));
end;

procedure TorvConnectionList.SetChildOrder(Child: TComponent; Order: Integer);
begin
  if FConnections.IndexOf(Child) >= 0 then
    TorvConnection(Child).SetIndex(Order);
end;

procedure TorvConnectionList.BeforeDestruction;
begin
  GuardGone(FGuard, ShortString(Name));
  inherited BeforeDestruction;
end;

function TorvConnectionList.DescribeList: string;
begin
  Result := Format(rsListDescription, [Name]);
end;

procedure TorvConnectionList.Loaded;
var
  I: Integer;
  Link: TorvConnection;
  Frame: TorvCallFrame;
begin
  inherited Loaded;
  if csDesigning in ComponentState then
    Exit;
  // A link's first copy runs setters, and a failure goes to the handler:
  // either may free a link, the list or the form that owns them.
  EnterCall(FGuard, Frame, @DescribeList);
  try
    I := 0;
    while I < FConnections.Count do
    begin
      Link := GetConnection(I);
      // Unassigned, a failure stops the form as it always did.
      if Assigned(FOnConnectFailure) then
        ConnectReporting(Link)
      else
        Link.Connect;
      if Frame.Gone then
        Exit;
      if (I < FConnections.Count) and (GetConnection(I) = Link) then
        Inc(I);
    end;
  finally
    LeaveCall(Frame);
  end;
end;

procedure TorvConnectionList.ConnectReporting(AConnection: TorvConnection);
var
  LinkFrame: TorvCallFrame;
  Error: EorvLinkError;
begin
  Error := nil;
  // The link's own frame tells whether its first copy freed it: a link
  // that is gone can be neither asked why nor handed to the handler.
  AConnection.EnterFiring(LinkFrame);
  try
    try
      if not AConnection.Connect and not LinkFrame.Gone then
        Error := EorvLinkError.CreateAt(Format(rsCannotConnect, [AConnection.Unresolved]),
          AConnection, '', nil);
    except
      on E: Exception do
      begin
        // A fault of the program is not a failure of the link.
        if IsFatalError(E) or LinkFrame.Gone then
          raise;
        Error := EorvLinkError.CreateAt(E.Message, AConnection, '', nil);
      end;
    end;
  finally
    LeaveCall(LinkFrame);
  end;
  if Error <> nil then
    ReportFailure(AConnection, Error);
end;

function TorvConnectionList.ReportFailure(AConnection: TorvConnection;
  AError: EorvLinkError): Boolean;
var
  Frame: TorvCallFrame;
begin
  // The handler is user code: it may free the link, the list or the form.
  // The list's frame, on this stack, outlives the list and says so.
  try
    EnterCall(FGuard, Frame, @DescribeList);
    try
      if Assigned(FOnConnectFailure) then
        FOnConnectFailure(Self, AConnection, AError);
      Result := not Frame.Gone;
    finally
      LeaveCall(Frame);
    end;
  finally
    AError.Free;
  end;
end;

procedure TorvConnectionList.Notification(AComponent: TComponent; Operation: TOperation);
begin
  inherited Notification(AComponent, Operation);
  // A link that left the list already (its destructor does so) is not
  // searched for again.
  if (Operation = opRemove) and (FConnections <> nil) and (AComponent is TorvConnection) and
    (TorvConnection(AComponent).FConnectionList = Self) then
    RemoveConnection(TorvConnection(AComponent));
end;

initialization
  RegisterClass(TorvConnectionList);
end.
