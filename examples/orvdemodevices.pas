{ The two components the link demo wires together, and their bindings.

  The components are plain LCL-style components that know nothing of links.
  Each binding, registered by class name, declares what a link may use by
  name and hooks the component's events; that is all a form file's links
  need to reach them. }
unit Orvdemodevices;

{$I orvdefines.inc}

interface

uses
  Classes, SysUtils,
  Orvcommon, Orvsystem, Orvclasses;

type
  TAlarmEvent = procedure(Sender: TObject; ATemperature: Double; var AHandled: Boolean) of object;

  { TThermostat }

  { A thermostat. A target above Limit fires OnAlarm first, and is capped at
    Limit unless a handler sets Handled. }
  TThermostat = class(TComponent)
  private
    FTarget: Double;
    FLimit: Double;
    FOnChange: TNotifyEvent;
    FOnAlarm: TAlarmEvent;
    procedure SetTarget(AValue: Double);
  published
    property Target: Double read FTarget write SetTarget;
    property Limit: Double read FLimit write FLimit;
    property OnChange: TNotifyEvent read FOnChange write FOnChange;
    property OnAlarm: TAlarmEvent read FOnAlarm write FOnAlarm;
  end;

  { TDisplay }

  { A display: a caption, a log of lines and a count kept by whoever logs. }
  TDisplay = class(TComponent)
  private
    FCaption: string;
    FCount: Integer;
    FLines: TStrings;
    FOnChange: TNotifyEvent;
    procedure SetCaption(const AValue: string);
  public
    constructor Create(AOwner: TComponent); override;
    destructor Destroy; override;
    { Add AText to the log and count it in ACount. }
    procedure Log(const AText: string; var ACount: Integer);
    { Note the alarm at ATemperature and answer that it is handled. }
    procedure Confirm(ATemperature: Double; var AHandled: Boolean);
    property Lines: TStrings read FLines;
  published
    property Caption: string read FCaption write SetCaption;
    property Count: Integer read FCount write FCount default 0;
    property OnChange: TNotifyEvent read FOnChange write FOnChange;
  end;

implementation

type
  { TThermostatClassInfo }

  { Example bindings select features by name; the package's own select by
    Id, the name interned once, which is cheaper on every call. }

  TThermostatClassInfo = class(TComponentClassInfo)
  private
    FOnChange: TNotifyEvent;
    FOnAlarm: TAlarmEvent;
  protected
    procedure ConnectEventHandlers; override;
    procedure UnConnectEventHandlers; override;
  public
    function GetProperty(AProp: TorvPropertyInfo): Variant; override;
    procedure SetProperty(AProp: TorvPropertyInfo; const AValue: Variant); override;
    procedure OnChange(Sender: TObject);
    procedure OnAlarm(Sender: TObject; ATemperature: Double; var AHandled: Boolean);
  end;

  { TDisplayClassInfo }

  TDisplayClassInfo = class(TComponentClassInfo)
  private
    FOnChange: TNotifyEvent;
  protected
    procedure ConnectEventHandlers; override;
    procedure UnConnectEventHandlers; override;
  public
    function GetProperty(AProp: TorvPropertyInfo): Variant; override;
    procedure SetProperty(AProp: TorvPropertyInfo; const AValue: Variant); override;
    procedure InvokeMethod(AMethod: TorvMethodInfo); override;
    procedure OnChange(Sender: TObject);
  end;

const
  ThermostatDescriptors: TorvDescriptors = (
    Properties: 'Define::Target::psReadable..psWritable::pvPublished::0::' +
      'Define::Limit::psReadable..psWritable::pvPublished::0';
    Methods: '';
    Constructors: '';
    Events: 'Define::OnChange::pvPublished::1::Sender::' +
      'Define::OnAlarm::pvPublished::3::Sender::Temperature::Handled');

  DisplayDescriptors: TorvDescriptors = (
    Properties: 'Define::Caption::psReadable..psWritable::pvPublished::0::' +
      'Define::Count::psReadable..psWritable::pvPublished::0';
    Methods: 'Log::msProcedure::2::Text::Count::Confirm::msProcedure::2::Temperature::Handled';
    Constructors: '';
    Events: 'Define::OnChange::pvPublished::1::Sender');

{ TThermostat }

procedure TThermostat.SetTarget(AValue: Double);
var
  Handled: Boolean;
begin
  // Limit may be read from the form file after Target.
  if (AValue > FLimit) and not (csLoading in ComponentState) then
  begin
    Handled := False;
    if Assigned(FOnAlarm) then
      FOnAlarm(Self, AValue, Handled);
    if not Handled then
      AValue := FLimit;
  end;
  if AValue = FTarget then
    Exit;
  FTarget := AValue;
  if Assigned(FOnChange) then
    FOnChange(Self);
end;

{ TDisplay }

constructor TDisplay.Create(AOwner: TComponent);
begin
  inherited Create(AOwner);
  FLines := TStringList.Create;
end;

destructor TDisplay.Destroy;
begin
  FreeAndNil(FLines);
  inherited Destroy;
end;

procedure TDisplay.SetCaption(const AValue: string);
begin
  if AValue = FCaption then
    Exit;
  FCaption := AValue;
  if Assigned(FOnChange) then
    FOnChange(Self);
end;

procedure TDisplay.Log(const AText: string; var ACount: Integer);
begin
  FLines.Add(AText);
  Inc(ACount);
end;

procedure TDisplay.Confirm(ATemperature: Double; var AHandled: Boolean);
begin
  FLines.Add(Format('alarm at %g confirmed', [ATemperature]));
  AHandled := True;
end;

{ TThermostatClassInfo }

procedure TThermostatClassInfo.ConnectEventHandlers;
begin
  inherited ConnectEventHandlers;
  // The application's own handlers are kept, and run before the links.
  FOnChange := TThermostat(Owner).OnChange;
  TThermostat(Owner).OnChange := @OnChange;
  FOnAlarm := TThermostat(Owner).OnAlarm;
  TThermostat(Owner).OnAlarm := @OnAlarm;
end;

procedure TThermostatClassInfo.UnConnectEventHandlers;
begin
  TThermostat(Owner).OnChange := FOnChange;
  TThermostat(Owner).OnAlarm := FOnAlarm;
  inherited UnConnectEventHandlers;
end;

function TThermostatClassInfo.GetProperty(AProp: TorvPropertyInfo): Variant;
begin
  case AProp.Name of
    'Target': Result := TThermostat(Owner).Target;
    'Limit': Result := TThermostat(Owner).Limit;
  else
    Result := inherited GetProperty(AProp);
  end;
end;

procedure TThermostatClassInfo.SetProperty(AProp: TorvPropertyInfo; const AValue: Variant);
begin
  case AProp.Name of
    'Target': TThermostat(Owner).Target := AValue;
    'Limit': TThermostat(Owner).Limit := AValue;
  else
    inherited SetProperty(AProp, AValue);
  end;
end;

procedure TThermostatClassInfo.OnChange(Sender: TObject);
begin
  FireSender(FOnChange, 'OnChange', Sender);
end;

procedure TThermostatClassInfo.OnAlarm(Sender: TObject; ATemperature: Double; var AHandled: Boolean);
var
  Event: TorvEventInfo;
begin
  if Assigned(FOnAlarm) then
    FOnAlarm(Sender, ATemperature, AHandled);
  // Sender travels as its address, as every object does.
  Event := StartEvent('OnAlarm', [PtrInt(Sender), ATemperature, AHandled]);
  if Event = nil then
    Exit;
  try
    FireEvent(Event);
    // A var parameter: what the listeners leave in it goes back to the host.
    AHandled := Event.GetArgs(2).Value;
  finally
    LeaveEvent;
  end;
end;

{ TDisplayClassInfo }

procedure TDisplayClassInfo.ConnectEventHandlers;
begin
  inherited ConnectEventHandlers;
  FOnChange := TDisplay(Owner).OnChange;
  TDisplay(Owner).OnChange := @OnChange;
end;

procedure TDisplayClassInfo.UnConnectEventHandlers;
begin
  TDisplay(Owner).OnChange := FOnChange;
  inherited UnConnectEventHandlers;
end;

function TDisplayClassInfo.GetProperty(AProp: TorvPropertyInfo): Variant;
begin
  case AProp.Name of
    'Caption': Result := TDisplay(Owner).Caption;
    'Count': Result := TDisplay(Owner).Count;
  else
    Result := inherited GetProperty(AProp);
  end;
end;

procedure TDisplayClassInfo.SetProperty(AProp: TorvPropertyInfo; const AValue: Variant);
begin
  case AProp.Name of
    'Caption': TDisplay(Owner).Caption := AValue;
    'Count': TDisplay(Owner).Count := AValue;
  else
    inherited SetProperty(AProp, AValue);
  end;
end;

procedure TDisplayClassInfo.InvokeMethod(AMethod: TorvMethodInfo);
var
  Count: Integer;
  Handled: Boolean;
begin
  // Var parameters go in and come back through the method's parameters,
  // where the link that called reads them.
  case AMethod.Name of
    'Log':
      begin
        Count := AMethod.GetArgs(1).Value;
        TDisplay(Owner).Log(AMethod.GetArgs(0).Value, Count);
        AMethod.GetArgs(1).Value := Count;
      end;
    'Confirm':
      begin
        Handled := AMethod.GetArgs(1).Value;
        TDisplay(Owner).Confirm(AMethod.GetArgs(0).Value, Handled);
        AMethod.GetArgs(1).Value := Handled;
      end;
  else
    inherited InvokeMethod(AMethod);
  end;
end;

procedure TDisplayClassInfo.OnChange(Sender: TObject);
begin
  FireSender(FOnChange, 'OnChange', Sender);
end;

initialization
  RegisterClass(TThermostat);
  RegisterClass(TDisplay);
  RegisterBinding('TThermostat', TThermostatClassInfo, ThermostatDescriptors);
  RegisterBinding('TDisplay', TDisplayClassInfo, DisplayDescriptors);
end.
