{ The event-to-method link: each time the Source component fires SourceEvent,
  the link calls the method TargetMethod of the Target component. One
  parameter connection per method parameter says where its argument comes
  from (a constant, a property of a component, or a parameter of the event)
  and, after the call, where a changed value goes back to, so that a method
  can hand results to a component and to the code that fired the event.

  The link keeps no event, method, property or parameter info between uses:
  they are looked up by name every time, so renaming a feature or replacing
  a class info never leaves a stale reference. The one cache, the class info
  of each parameter connection's component, is dropped unread when that
  component goes, because the registry destroys it before the link hears of
  the destruction. }
unit Orve2m;

{$I orvdefines.inc}

interface

uses
  Classes, SysUtils, Variants,
  Orvcommon, Orvcallguard, Orvlinknames, Orvconlist;

type
  TorvE2MConnection = class;

  { TorvParameterConnection }

  { Where the argument of one method parameter comes from, and where its
    value goes back to after the call. Parameters are matched by name, not
    by position, so items may be edited or reordered freely. }
  TorvParameterConnection = class(TCollectionItem)
  private
    FParameterName: string;
    FComponent: TComponent;
    FComponentInfo: TorvClassInfo;
    FComponentProperty: string;
    FComponentPropertyIndex: Variant;
    FEventParameter: string;
    FConstant: string;
    FOptions: TorvValueOptions;
    { Answer whether names are taken unchecked: while the link is read from
      a form file, or while there is no link to check them against. }
    function IsLoading: Boolean;
    procedure SetComponent(AValue: TComponent);
    procedure SetComponentProperty(const AValue: string);
    procedure SetComponentPropertyIndex(const AValue: Variant);
    procedure SetEventParameter(const AValue: string);
  protected
    procedure DefineProperties(Filer: TFiler); override;
    function GetDisplayName: string; override;
  public
    { Return the link whose collection holds the item, or nil. }
    function GetConnection: TorvE2MConnection;
    { Return the parameter of the link's target method named ParameterName. }
    function GetParameterInfo: TorvParameterInfo;
    { Return the class info of Component, or nil when there is none. }
    function GetComponentInfo: TorvClassInfo;
    function GetComponentPropertyInfo: TorvPropertyInfo;
    { Return the parameter of the link's source event named EventParameter. }
    function GetEventParameterInfo: TorvParameterInfo;
  published
    property ParameterName: string read FParameterName write FParameterName;
    property Component: TComponent read FComponent write SetComponent;
    property ComponentProperty: string read FComponentProperty write SetComponentProperty;
    property ComponentPropertyIndex: Variant read FComponentPropertyIndex
      write SetComponentPropertyIndex stored False;
    property EventParameter: string read FEventParameter write SetEventParameter;
    property Constant: string read FConstant write FConstant;
    property Options: TorvValueOptions read FOptions write FOptions;
  end;

  { TorvParameterConnections }

  { The parameter connections of one link, in the order of the method's
    parameters when they were last filled. }
  TorvParameterConnections = class(TCollection)
  private
    FMethodName: string;
    FConnection: TorvE2MConnection;
    function GetItem(AIndex: Integer): TorvParameterConnection;
    procedure SetItem(AIndex: Integer; AValue: TorvParameterConnection);
  protected
    { Answer the link, so that the designer names the collection under it. }
    function GetOwner: TPersistent; override;
  public
    constructor Create(AConnection: TorvE2MConnection);
    function Add: TorvParameterConnection;
    { Replace the items by one per parameter of AMethodInfo, in its order;
      with no method, leave none. }
    procedure Init(AMethodInfo: TorvMethodInfo);
    property Items[AIndex: Integer]: TorvParameterConnection read GetItem write SetItem; default;
  end;

  { TorvE2MConnection }

  { Call TargetMethod of Target whenever Source fires SourceEvent. }
  TorvE2MConnection = class(TorvConnection)
  private
    FSourceEvent: string;
    FTargetMethod: string;
    FParameters: TorvParameterConnections;
    FSourceListener: TorvListener;
    procedure SetSourceEvent(const AValue: string);
    procedure SetTargetMethod(const AValue: string);
    procedure SetTargetMethodParameters(AValue: TorvParameterConnections);
    procedure Call(constref AFrame: TorvCallFrame);
    procedure HandBack(AMethod: TorvMethodInfo; constref AFrame: TorvCallFrame);
  protected
    procedure Notification(AComponent: TComponent; Operation: TOperation); override;
    function DescribeJoin: string; override;
    { Hand the arguments to the target method, call it, and hand the values
      it leaves in its parameters back to where they came from. }
    procedure OnSourceEvent(Sender: TObject; Event: TorvEventInfo);
  public
    constructor Create(AOwner: TComponent); override;
    destructor Destroy; override;
    function Connect: Boolean; override;
    procedure Unconnect; override;
    function Unresolved: string; override;
    function GetSourceEventInfo: TorvEventInfo;
    function GetTargetMethodInfo: TorvMethodInfo;
  published
    property SourceEvent: string read FSourceEvent write SetSourceEvent;
    property TargetMethod: string read FTargetMethod write SetTargetMethod;
    { Writable because the host's writer skips a property without a setter;
      the reader fills the existing collection and never sets it. Setting it
      copies the items: the link keeps its own collection. }
    property TargetMethodParameters: TorvParameterConnections read FParameters
      write SetTargetMethodParameters;
  end;

resourcestring
  rsUnresolvedTargetMethod = 'Invalid connection %s. Unknown TargetMethod %s';
  rsUnresolvedMethodParameter = 'Invalid parameter connection %s[%d]. Unknown method parameter %s';
  rsUnresolvedComponent = 'Invalid parameter connection %s[%d]. Unknown Component component of %s';
  rsUnresolvedComponentProperty = 'Invalid parameter connection %s[%d]. Unknown component property %s';
  rsUnresolvedEventParameter = 'Invalid parameter connection %s[%d]. Unknown event parameter %s';

implementation

uses
  Orvpolicy;

{ TorvParameterConnection }

function TorvParameterConnection.GetConnection: TorvE2MConnection;
begin
  if Collection is TorvParameterConnections then
    Result := TorvParameterConnections(Collection).FConnection
  else
    Result := nil;
end;

function TorvParameterConnection.IsLoading: Boolean;
var
  Link: TorvE2MConnection;
begin
  Link := GetConnection;
  Result := (Link = nil) or (csLoading in Link.ComponentState);
end;

function TorvParameterConnection.GetParameterInfo: TorvParameterInfo;
var
  Link: TorvE2MConnection;
  Method: TorvMethodInfo;
begin
  Result := nil;
  Link := GetConnection;
  if Link = nil then
    Exit;
  Method := Link.GetTargetMethodInfo;
  if Method <> nil then
    Result := Method.Find(FParameterName);
end;

function TorvParameterConnection.GetComponentInfo: TorvClassInfo;
begin
  Result := CachedClassInfo(FComponent, FComponentInfo);
end;

function TorvParameterConnection.GetComponentPropertyInfo: TorvPropertyInfo;
var
  Info: TorvClassInfo;
begin
  Info := GetComponentInfo;
  if Info = nil then
    Result := nil
  else
    Result := Info.FindProperty(FComponentProperty);
end;

function TorvParameterConnection.GetEventParameterInfo: TorvParameterInfo;
var
  Link: TorvE2MConnection;
  Event: TorvEventInfo;
begin
  Result := nil;
  Link := GetConnection;
  if Link = nil then
    Exit;
  Event := Link.GetSourceEventInfo;
  if Event <> nil then
    Result := Event.Find(FEventParameter);
end;

procedure TorvParameterConnection.SetComponent(AValue: TComponent);
var
  Link: TorvE2MConnection;
begin
  Link := GetConnection;
  if Link = nil then
    CheckOrvaneComponent(AValue)
  else if not Link.AcceptComponent(AValue, Format('TargetMethodParameters[%d].Component', [Index])) then
    Exit;
  if (FComponent <> nil) and (Link <> nil) then
  begin
    // The index list stays: an editor that picks a component and then a
    // property resets it through the property anyway.
    FComponentProperty := '';
    Link.Unconnect;
  end;
  FComponent := AValue;
  FComponentInfo := nil;
  // A collection item cannot hear of the component's destruction itself.
  if (AValue <> nil) and (Link <> nil) then
    AValue.FreeNotification(Link);
end;

procedure TorvParameterConnection.SetComponentProperty(const AValue: string);
var
  OldName: string;
  Prop: TorvPropertyInfo;
begin
  if AValue = FComponentProperty then
    Exit;
  OldName := FComponentProperty;
  FComponentProperty := AValue;
  // While loading, Component is not resolved yet and the index list read
  // from the form file must survive.
  if IsLoading then
    Exit;
  if AValue = '' then
  begin
    FComponentPropertyIndex := ResetIndexList(nil);
    Exit;
  end;
  try
    Prop := RequireProperty(GetComponentInfo, AValue, lnE2MComponentProperty);
  except
    FComponentProperty := OldName;
    raise;
  end;
  FComponentPropertyIndex := ResetIndexList(Prop);
end;

procedure TorvParameterConnection.SetComponentPropertyIndex(const AValue: Variant);
begin
  if not IsLoading then
    CheckIndexList(AValue, GetComponentInfo, GetComponentPropertyInfo, ilComponentPropertyIndex);
  FComponentPropertyIndex := AValue;
end;

procedure TorvParameterConnection.SetEventParameter(const AValue: string);
var
  OldName: string;
  Link: TorvE2MConnection;
begin
  if AValue = FEventParameter then
    Exit;
  OldName := FEventParameter;
  FEventParameter := AValue;
  if (AValue = '') or IsLoading then
    Exit;
  Link := GetConnection;
  try
    RequireEventParameter(Link.GetSourceInfo, Link.GetSourceEventInfo, AValue, lnE2MEventParameter);
  except
    FEventParameter := OldName;
    raise;
  end;
end;

procedure TorvParameterConnection.DefineProperties(Filer: TFiler);
begin
  inherited DefineProperties(Filer);
  DefineIndexList(Filer, 'ComponentPropertyIndexes', FComponentPropertyIndex);
end;

function TorvParameterConnection.GetDisplayName: string;
begin
  if FParameterName <> '' then
    Result := FParameterName
  else
    Result := inherited GetDisplayName;
end;

{ TorvParameterConnections }

constructor TorvParameterConnections.Create(AConnection: TorvE2MConnection);
begin
  inherited Create(TorvParameterConnection);
  FConnection := AConnection;
end;

function TorvParameterConnections.Add: TorvParameterConnection;
begin
  Result := TorvParameterConnection(inherited Add);
end;

function TorvParameterConnections.GetItem(AIndex: Integer): TorvParameterConnection;
begin
  Result := TorvParameterConnection(inherited GetItem(AIndex));
end;

procedure TorvParameterConnections.SetItem(AIndex: Integer; AValue: TorvParameterConnection);
begin
  GetItem(AIndex).Assign(AValue);
end;

function TorvParameterConnections.GetOwner: TPersistent;
begin
  Result := FConnection;
end;

procedure TorvParameterConnections.Init(AMethodInfo: TorvMethodInfo);
var
  I: Integer;
begin
  BeginUpdate;
  try
    Clear;
    if AMethodInfo = nil then
    begin
      FMethodName := '';
      Exit;
    end;
    FMethodName := AMethodInfo.Name;
    for I := 0 to AMethodInfo.GetArgCount - 1 do
      Add.FParameterName := AMethodInfo.GetArgs(I).Name;
  finally
    EndUpdate;
  end;
end;

{ TorvE2MConnection }

constructor TorvE2MConnection.Create(AOwner: TComponent);
begin
  inherited Create(AOwner);
  FParameters := TorvParameterConnections.Create(Self);
  FSourceListener := TorvListener.Create;
  FSourceListener.OnEvent := @OnSourceEvent;
end;

destructor TorvE2MConnection.Destroy;
begin
  // Notifications that arrive during the rest of the destruction must find
  // no items to clear.
  FreeAndNil(FParameters);
  // The listener leaves the class info it is added to, if that still exists.
  FreeAndNil(FSourceListener);
  inherited Destroy;
end;

function TorvE2MConnection.GetSourceEventInfo: TorvEventInfo;
var
  Info: TorvClassInfo;
begin
  Info := GetSourceInfo;
  if Info = nil then
    Result := nil
  else
    Result := Info.FindEvent(FSourceEvent);
end;

function TorvE2MConnection.GetTargetMethodInfo: TorvMethodInfo;
var
  Info: TorvClassInfo;
begin
  Info := GetTargetInfo;
  if Info = nil then
    Result := nil
  else
    Result := Info.FindMethod(FTargetMethod);
end;

procedure TorvE2MConnection.SetSourceEvent(const AValue: string);
var
  I: Integer;
begin
  FSourceEvent := AValue;
  // Event parameter names belong to the previous event, even one of the
  // same name on another source.
  if FParameters <> nil then
    for I := 0 to FParameters.Count - 1 do
      FParameters[I].SetEventParameter('');
end;

procedure TorvE2MConnection.SetTargetMethod(const AValue: string);
begin
  if LinkPolicy <> nil then
    LinkPolicy.CheckChange(Self, lnE2MTargetMethod, AValue);
  FTargetMethod := AValue;
  // Comparing with the name the items were made for, not with the old
  // TargetMethod, keeps edited items when the designer assigns the same
  // method again, and rebuilds those read from a form file, which were made
  // for no method.
  if (FParameters <> nil) and (AValue <> FParameters.FMethodName) then
    FParameters.Init(GetTargetMethodInfo);
end;

procedure TorvE2MConnection.SetTargetMethodParameters(AValue: TorvParameterConnections);
begin
  FParameters.Assign(AValue);
end;

procedure TorvE2MConnection.Notification(AComponent: TComponent; Operation: TOperation);
var
  I: Integer;
  Item: TorvParameterConnection;
begin
  inherited Notification(AComponent, Operation);
  if (Operation <> opRemove) or (FParameters = nil) then
    Exit;
  for I := 0 to FParameters.Count - 1 do
  begin
    Item := FParameters[I];
    if Item.FComponent = AComponent then
    begin
      // The registry has destroyed the component's class info already.
      Item.FComponent := nil;
      Item.FComponentInfo := nil;
      Item.SetComponentProperty('');
    end;
  end;
end;

function TorvE2MConnection.Connect: Boolean;
var
  SourceInfo: TorvClassInfo;
begin
  SourceInfo := GetSourceInfo;
  Result := (SourceInfo <> nil) and (GetTargetInfo <> nil) and (GetSourceEventInfo <> nil) and
    (GetTargetMethodInfo <> nil);
  if Result and (LinkPolicy <> nil) and not IsDesigning then
    LinkPolicy.CheckConnect(Self);
  if (LinkTrace <> nil) and not LinkTrace(Self, nil, tsConnect, [Result]) then
    Exit;
  if not Result or IsDesigning then
    Exit;
  FSourceListener.EventName := FSourceEvent;
  SourceInfo.AddListener(FSourceListener);
end;

procedure TorvE2MConnection.Unconnect;
begin
  // The listener knows the class info it was added to even when Source has
  // just been cleared, and forgets it when that class info is destroyed.
  // Every occurrence goes, in case Connect was called more than once.
  while (FSourceListener <> nil) and (FSourceListener.AttachedTo <> nil) do
    DetachListener(FSourceListener);
  if GetSourceInfo = nil then
    SetSourceEvent('');
  if GetTargetInfo = nil then
    SetTargetMethod('');
end;

function TorvE2MConnection.Unresolved: string;
begin
  Result := NameProblem(GetSourceInfo, fkEvent, FSourceEvent, lnE2MSourceEvent);
  if Result = '' then
    Result := NameProblem(GetTargetInfo, fkMethod, FTargetMethod, lnE2MTargetMethod);
end;

procedure TorvE2MConnection.OnSourceEvent(Sender: TObject; Event: TorvEventInfo);
var
  Frame: TorvCallFrame;
begin
  EnterFiring(Frame);
  try
    if LinkTrace = nil then
      Call(Frame)
    else
      TracedStep(@Call, Frame);
  finally
    LeaveCall(Frame);
  end;
end;

procedure TorvE2MConnection.Call(constref AFrame: TorvCallFrame);
type
  { The features one item resolves to in one firing. }
  TResolved = record
    Param: TorvParameterInfo;
    Info: TorvClassInfo;
    Prop: TorvPropertyInfo;
    EventParam: TorvParameterInfo;
  end;

  { Resolve the item at AIndex, refusing one that names something missing:
    a missing feature is never read or written. }
  function Resolve(AIndex: Integer): TResolved;
  var
    Item: TorvParameterConnection;
  begin
    Item := FParameters[AIndex];
    Result := Default(TResolved);
    Result.Param := Item.GetParameterInfo;
    if Result.Param = nil then
      raise EorvInvalidFeature.CreateFmt(rsUnresolvedMethodParameter,
        [Name, AIndex, Item.ParameterName]);
    case Item.Options of
      voConstant: ;
      voComponentProperty:
        begin
          Result.Info := Item.GetComponentInfo;
          if Result.Info = nil then
            raise EorvInvalidFeature.CreateFmt(rsUnresolvedComponent,
              [Name, AIndex, Item.ParameterName]);
          Result.Prop := Result.Info.FindProperty(Item.ComponentProperty);
          if Result.Prop = nil then
            raise EorvInvalidFeature.CreateFmt(rsUnresolvedComponentProperty,
              [Name, AIndex, Item.ComponentProperty]);
        end;
      voEventProperty:
        begin
          Result.EventParam := Item.GetEventParameterInfo;
          if Result.EventParam = nil then
            raise EorvInvalidFeature.CreateFmt(rsUnresolvedEventParameter,
              [Name, AIndex, Item.EventParameter]);
        end;
    else
      raise Exception.CreateFmt(rsInternalError, [TorvE2MConnection.ClassName]);
    end;
  end;

  procedure ResolveAll(var AResolved: array of TResolved);
  var
    I: Integer;
  begin
    for I := 0 to High(AResolved) do
      AResolved[I] := Resolve(I);
  end;

var
  TargetInfo: TorvClassInfo;
  Method: TorvMethodInfo;
  Resolved: array of TResolved;
  Values: array of Variant;
  Item: TorvParameterConnection;
  I: Integer;
  ReadAny: Boolean;
begin
  if GetTargetMethodInfo = nil then
    raise EorvInvalidFeature.CreateFmt(rsUnresolvedTargetMethod, [Name, FTargetMethod]);
  // Every item is resolved before any argument is handed over, so that a
  // refused item leaves the method uncalled and nothing read.
  SetLength(Resolved, FParameters.Count);
  ResolveAll(Resolved);
  SetLength(Values, Length(Resolved));
  ReadAny := False;
  for I := 0 to High(Resolved) do
  begin
    Item := FParameters[I];
    case Item.Options of
      voConstant: Values[I] := Item.FConstant;
      voComponentProperty:
        begin
          ApplyIndexList(Item.FComponentPropertyIndex, Resolved[I].Prop);
          Values[I] := ReadProperty(Resolved[I].Info, Resolved[I].Prop);
          // A getter is user code: it may have freed the link or anything
          // resolved so far.
          if AFrame.Gone then
            Exit;
          ReadAny := True;
        end;
      voEventProperty: Values[I] := Resolved[I].EventParam.Value;
    end;
  end;
  if ReadAny then
  begin
    if (FParameters.Count <> Length(Resolved)) or (GetTargetMethodInfo = nil) then
      raise EorvInvalidFeature.CreateFmt(rsUnresolvedTargetMethod, [Name, FTargetMethod]);
    ResolveAll(Resolved);
  end;
  for I := 0 to High(Resolved) do
    Resolved[I].Param.Value := Values[I];

  TargetInfo := GetTargetInfo;
  Method := GetTargetMethodInfo;
  // Held across the call and the hand-back: the method may free its own
  // component, whose class info owns the parameters read afterwards.
  TargetInfo.Hold;
  try
    TargetInfo.InvokeMethod(Method);
    if LinkTrace <> nil then
      LinkTrace(Self, @AFrame, tsCall, [Method, @Values]);
    // The method may have freed the link itself (its root, its list, the
    // link); then nothing of it may be touched.
    if AFrame.Gone then
      Exit;
    HandBack(Method, AFrame);
  finally
    TargetInfo.Unhold;
  end;
end;

procedure TorvE2MConnection.HandBack(AMethod: TorvMethodInfo; constref AFrame: TorvCallFrame);
var
  Item: TorvParameterConnection;
  Param, EventParam: TorvParameterInfo;
  Info: TorvClassInfo;
  Prop: TorvPropertyInfo;
  I: Integer;
begin
  // The call may have changed anything: each item is looked at again, and
  // one whose component or event went with the call hands nothing back.
  // AMethod is held by the caller, so its values outlive its component.
  I := 0;
  while (FParameters <> nil) and (I < FParameters.Count) do
  begin
    Item := FParameters[I];
    Inc(I);
    Param := AMethod.Find(Item.ParameterName);
    if Param = nil then
      Continue;
    case Item.Options of
      voComponentProperty:
        begin
          Info := Item.GetComponentInfo;
          if Info = nil then
            Continue;
          Prop := Info.FindProperty(Item.ComponentProperty);
          // Under a policy a parameter only reads, unless writing is allowed.
          if (Prop = nil) or (LinkPolicy <> nil) and not LinkPolicy.Allows(Info, Prop) then
            Continue;
          // The index parameters are shared by every user of the property;
          // another item may have set them since.
          ApplyIndexList(Item.FComponentPropertyIndex, Prop);
          WriteProperty(Info, Prop, Param.Value);
          if AFrame.Gone then
            Exit;
        end;
      voEventProperty:
        begin
          EventParam := Item.GetEventParameterInfo;
          if EventParam <> nil then
            EventParam.Value := Param.Value;
        end;
    end;
  end;
end;

function TorvE2MConnection.DescribeJoin: string;
begin
  Result := SideText(Source, FSourceEvent) + ' -> ' + SideText(Target, FTargetMethod);
end;

initialization
  RegisterClass(TorvE2MConnection);
end.
