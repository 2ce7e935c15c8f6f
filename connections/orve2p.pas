{ The event-to-property link: each firing of an event of its Source assigns
  a property of its Target.

  The value comes from where ValueOptions says: the constant ValueConstant,
  the current value of a property of ValueComponent, or a parameter of the
  event that fired. All three may be filled in at once; ValueOptions chooses
  among them at each firing. Connecting only subscribes: nothing is assigned
  until the event fires.

  Property and event infos are cached together with the class info they were
  found in, as in the property-to-property link: the class info is compared
  before the cached feature is touched. }
unit Orve2p;

{$I orvdefines.inc}

interface

uses
  Classes, SysUtils, Variants,
  Orvcommon, Orvcallguard, Orvlinknames, Orvconlist;

type
  { TorvE2PConnection }

  { Assigns Target.TargetProperty on each Source.SourceEvent. }
  TorvE2PConnection = class(TorvConnection)
  private
    FSourceEvent: string;
    FSourceEventInfo: TorvEventInfo;
    FSourceEventFrom: TorvClassInfo;
    FTargetProperty: string;
    FTargetPropertyInfo: TorvPropertyInfo;
    FTargetPropertyFrom: TorvClassInfo;
    FTargetPropertyIndex: Variant;
    FValueComponent: TComponent;
    FValueComponentInfo: TorvClassInfo;
    FValueComponentProperty: string;
    FValueComponentPropertyInfo: TorvPropertyInfo;
    FValueComponentPropertyFrom: TorvClassInfo;
    FValueComponentPropertyIndex: Variant;
    FValueEventParameter: string;
    FValueConstant: string;
    FValueOptions: TorvValueOptions;
    FSourceListener: TorvListener;
    procedure SetSourceEvent(const AValue: string);
    procedure SetTargetProperty(const AValue: string);
    procedure SetTargetPropertyIndex(const AValue: Variant);
    procedure SetValueComponent(AValue: TComponent);
    procedure SetValueComponentProperty(const AValue: string);
    procedure SetValueComponentPropertyIndex(const AValue: Variant);
    procedure SetValueEventParameter(const AValue: string);
    function ReadValue: Variant;
    procedure AssignTarget(constref AFrame: TorvCallFrame);
  protected
    procedure DefineProperties(Filer: TFiler); override;
    function DescribeJoin: string; override;
    procedure Notification(AComponent: TComponent; Operation: TOperation); override;
  public
    constructor Create(AOwner: TComponent); override;
    { Free the listener, which leaves the class info it is added to. }
    destructor Destroy; override;
    { Answer whether the sides, the event, the target property and the value
      source chosen by ValueOptions resolve; at run time also listen to the
      event. }
    function Connect: Boolean; override;
    procedure Unconnect; override;
    function Unresolved: string; override;
    { Return the class info of ValueComponent, or nil without one. }
    function GetValueComponentInfo: TorvClassInfo;
    { Return the source event, or nil when it does not resolve. }
    function GetSourceEventInfo: TorvEventInfo;
    { Return the target property, or nil when it does not resolve. }
    function GetTargetPropertyInfo: TorvPropertyInfo;
    { Return the property of ValueComponent, or nil when it does not resolve. }
    function GetValueComponentPropertyInfo: TorvPropertyInfo;
    { Return the parameter of the source event named ValueEventParameter, or
      nil; it carries the value of the firing under way. }
    function GetValueEventParameterInfo: TorvParameterInfo;
    { Assign the target property the value chosen by ValueOptions. }
    procedure OnSourceEvent(Sender: TObject; Event: TorvEventInfo);
  published
    property SourceEvent: string read FSourceEvent write SetSourceEvent;
    property TargetProperty: string read FTargetProperty write SetTargetProperty;
    { The index arguments of TargetProperty; stored as "TargetPropertyIndexes". }
    property TargetPropertyIndex: Variant read FTargetPropertyIndex write SetTargetPropertyIndex
      stored False;
    property ValueComponent: TComponent read FValueComponent write SetValueComponent;
    property ValueComponentProperty: string read FValueComponentProperty
      write SetValueComponentProperty;
    { The index arguments of ValueComponentProperty; stored as
      "ValueComponentPropertyIndexes". }
    property ValueComponentPropertyIndex: Variant read FValueComponentPropertyIndex
      write SetValueComponentPropertyIndex stored False;
    property ValueEventParameter: string read FValueEventParameter write SetValueEventParameter;
    property ValueConstant: string read FValueConstant write FValueConstant;
    property ValueOptions: TorvValueOptions read FValueOptions write FValueOptions;
  end;

implementation

uses
  Orvpolicy;

{ TorvE2PConnection }

constructor TorvE2PConnection.Create(AOwner: TComponent);
begin
  inherited Create(AOwner);
  // The index lists stay empty variants, and unwritten, until a property
  // is named.
  FSourceListener := TorvListener.Create;
  FSourceListener.OnEvent := @OnSourceEvent;
end;

destructor TorvE2PConnection.Destroy;
begin
  // Nil afterwards: an Unconnect while the component is taken apart finds
  // nothing left to detach.
  FreeAndNil(FSourceListener);
  inherited Destroy;
end;

function TorvE2PConnection.GetValueComponentInfo: TorvClassInfo;
begin
  Result := CachedClassInfo(FValueComponent, FValueComponentInfo);
end;

function TorvE2PConnection.GetSourceEventInfo: TorvEventInfo;
begin
  Result := CachedEvent(GetSourceInfo, FSourceEvent, FSourceEventInfo, FSourceEventFrom);
end;

function TorvE2PConnection.GetTargetPropertyInfo: TorvPropertyInfo;
begin
  Result := CachedProperty(GetTargetInfo, FTargetProperty, FTargetPropertyInfo, FTargetPropertyFrom);
end;

function TorvE2PConnection.GetValueComponentPropertyInfo: TorvPropertyInfo;
begin
  Result := CachedProperty(GetValueComponentInfo, FValueComponentProperty,
    FValueComponentPropertyInfo, FValueComponentPropertyFrom);
end;

function TorvE2PConnection.GetValueEventParameterInfo: TorvParameterInfo;
var
  Event: TorvEventInfo;
begin
  Event := GetSourceEventInfo;
  if Event = nil then
    Result := nil
  else
    Result := Event.Find(FValueEventParameter);
end;

procedure TorvE2PConnection.SetSourceEvent(const AValue: string);
begin
  if AValue = FSourceEvent then
    Exit;
  // The parameter belongs to the event it was chosen from, so it goes with
  // any change, even one that is refused below.
  SetValueEventParameter('');
  if not IsLoading and (AValue <> '') then
    RequireEvent(GetSourceInfo, AValue, lnE2PSourceEvent);
  FSourceEvent := AValue;
end;

procedure TorvE2PConnection.SetTargetProperty(const AValue: string);
begin
  if LinkPolicy <> nil then
    LinkPolicy.CheckChange(Self, lnE2PTargetProperty, AValue);
  ChangePropertyName(FTargetProperty, AValue, GetTargetInfo, lnE2PTargetProperty,
    FTargetPropertyIndex, IsLoading);
end;

procedure TorvE2PConnection.SetValueComponent(AValue: TComponent);
begin
  ReplaceSide(FValueComponent, FValueComponentInfo, AValue, 'ValueComponent');
end;

procedure TorvE2PConnection.SetValueComponentProperty(const AValue: string);
begin
  ChangePropertyName(FValueComponentProperty, AValue, GetValueComponentInfo,
    lnE2PValueComponentProperty, FValueComponentPropertyIndex, IsLoading);
end;

procedure TorvE2PConnection.SetValueEventParameter(const AValue: string);
begin
  if AValue = FValueEventParameter then
    Exit;
  if not IsLoading and (AValue <> '') then
    RequireEventParameter(GetSourceInfo, GetSourceEventInfo, AValue, lnE2PValueEventParameter);
  FValueEventParameter := AValue;
end;

procedure TorvE2PConnection.SetTargetPropertyIndex(const AValue: Variant);
begin
  if not IsLoading then
    CheckIndexList(AValue, GetTargetInfo, GetTargetPropertyInfo, ilTargetPropertyIndex);
  FTargetPropertyIndex := AValue;
end;

procedure TorvE2PConnection.SetValueComponentPropertyIndex(const AValue: Variant);
begin
  if not IsLoading then
    CheckIndexList(AValue, GetValueComponentInfo, GetValueComponentPropertyInfo,
      ilValueComponentPropertyIndex);
  FValueComponentPropertyIndex := AValue;
end;

procedure TorvE2PConnection.DefineProperties(Filer: TFiler);
begin
  inherited DefineProperties(Filer);
  DefineIndexList(Filer, 'TargetPropertyIndexes', FTargetPropertyIndex);
  DefineIndexList(Filer, 'ValueComponentPropertyIndexes', FValueComponentPropertyIndex);
end;

procedure TorvE2PConnection.Notification(AComponent: TComponent; Operation: TOperation);
var
  ValueGone: Boolean;
begin
  ValueGone := (Operation = opRemove) and (AComponent <> nil) and (AComponent = FValueComponent);
  if ValueGone then
  begin
    // Cleared before the sides are: when the component is also Source or
    // Target, nothing run by their Unconnect may reach its class info, which
    // the registry may have destroyed already.
    FValueComponent := nil;
    FValueComponentInfo := nil;
  end;
  inherited Notification(AComponent, Operation);
  if ValueGone then
    Unconnect;
end;

function TorvE2PConnection.Connect: Boolean;
var
  SourceInfo: TorvClassInfo;
begin
  SourceInfo := GetSourceInfo;
  Result := (SourceInfo <> nil) and (GetTargetInfo <> nil) and (GetSourceEventInfo <> nil) and
    (GetTargetPropertyInfo <> nil);
  if Result then
    case FValueOptions of
      voComponentProperty:
        Result := (GetValueComponentInfo <> nil) and (GetValueComponentPropertyInfo <> nil);
      voEventProperty:
        Result := GetValueEventParameterInfo <> nil;
    end;
  if Result and (LinkPolicy <> nil) and not IsDesigning then
    LinkPolicy.CheckConnect(Self);
  if (LinkTrace <> nil) and not LinkTrace(Self, nil, tsConnect, [Result]) then
    Exit;
  if not Result or IsDesigning then
    Exit;
  // Added once at most, so that a second Connect does not assign twice.
  DetachListener(FSourceListener);
  FSourceListener.EventName := FSourceEvent;
  SourceInfo.AddListener(FSourceListener);
end;

procedure TorvE2PConnection.Unconnect;
begin
  // The listener knows the class info it was added to, even when the
  // Source that led there is already cleared.
  DetachListener(FSourceListener);
  // A side without component is tested on the field, not through its class
  // info, which may be gone with the component; the feature caches of that
  // side are dropped unread, so that no later class info at the same
  // address can match them.
  if Source = nil then
  begin
    FSourceEventInfo := nil;
    FSourceEventFrom := nil;
    SetSourceEvent('');
    SetValueEventParameter('');
  end;
  if Target = nil then
  begin
    FTargetPropertyInfo := nil;
    FTargetPropertyFrom := nil;
    SetTargetProperty('');
  end;
  if FValueComponent = nil then
  begin
    FValueComponentPropertyInfo := nil;
    FValueComponentPropertyFrom := nil;
    SetValueComponentProperty('');
  end;
  // ValueConstant and ValueOptions are the user's choice, whatever the sides.
end;

function TorvE2PConnection.Unresolved: string;
begin
  Result := NameProblem(GetSourceInfo, fkEvent, FSourceEvent, lnE2PSourceEvent);
  if Result = '' then
    Result := NameProblem(GetTargetInfo, fkProperty, FTargetProperty, lnE2PTargetProperty);
  if Result <> '' then
    Exit;
  case FValueOptions of
    voComponentProperty:
      Result := NameProblem(GetValueComponentInfo, fkProperty, FValueComponentProperty,
        lnE2PValueComponentProperty);
    voEventProperty:
      Result := EventParameterProblem(GetSourceInfo, GetSourceEventInfo, FValueEventParameter,
        lnE2PValueEventParameter);
  end;
end;

function TorvE2PConnection.ReadValue: Variant;
var
  Prop: TorvPropertyInfo;
  Parameter: TorvParameterInfo;
begin
  // ValueOptions may have been changed after Connect to a source that does
  // not resolve: it is reported, never read.
  case FValueOptions of
    voConstant:
      Result := FValueConstant;
    voComponentProperty:
      begin
        Prop := GetValueComponentPropertyInfo;
        if Prop = nil then
          raise EorvInvalidFeature.CreateFmt(rsUnresolvedFeature,
            ['ValueComponentProperty', FValueComponentProperty, Name]);
        Result := ReadProperty(GetValueComponentInfo, Prop);
      end;
    voEventProperty:
      begin
        Parameter := GetValueEventParameterInfo;
        if Parameter = nil then
          raise EorvInvalidFeature.CreateFmt(rsUnresolvedFeature,
            ['ValueEventParameter', FValueEventParameter, Name]);
        Result := Parameter.Value;
      end;
  else
    raise Exception.CreateFmt(rsInternalError, [TorvE2PConnection.ClassName]);
  end;
end;

procedure TorvE2PConnection.OnSourceEvent(Sender: TObject; Event: TorvEventInfo);
var
  Frame: TorvCallFrame;
begin
  EnterFiring(Frame);
  try
    if LinkTrace = nil then
      AssignTarget(Frame)
    else
      TracedStep(@AssignTarget, Frame);
  finally
    LeaveCall(Frame);
  end;
end;

procedure TorvE2PConnection.AssignTarget(constref AFrame: TorvCallFrame);
var
  Prop: TorvPropertyInfo;
  Value: Variant;
  TargetInfo: TorvClassInfo;
begin
  if GetTargetPropertyInfo = nil then
    raise EorvInvalidFeature.CreateFmt(rsUnresolvedFeature, ['TargetProperty', FTargetProperty, Name]);
  // Right before the call: the index parameters are shared with every
  // other user of the same property of the same component.
  ApplyIndexList(FValueComponentPropertyIndex, GetValueComponentPropertyInfo);
  Value := ReadValue;
  // Reading a component's property may have freed the link or its target.
  if AFrame.Gone then
    Exit;
  TargetInfo := GetTargetInfo;
  Prop := GetTargetPropertyInfo;
  if (TargetInfo = nil) or (Prop = nil) then
    Exit;
  ApplyIndexList(FTargetPropertyIndex, Prop);
  WriteProperty(TargetInfo, Prop, Value);
  if LinkTrace <> nil then
    LinkTrace(Self, @AFrame, tsAssign, [Value]);
end;

function TorvE2PConnection.DescribeJoin: string;
begin
  Result := SideText(Source, FSourceEvent) + ' -> ' + SideText(Target, FTargetProperty);
end;

initialization
  // Form files are read by applications that never load the design package.
  RegisterClass(TorvE2PConnection);
end.
