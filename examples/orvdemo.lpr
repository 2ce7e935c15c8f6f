{ The first program to run: a class info for a made-up thermostat, declared
  from four descriptor strings, used by name the way links and scripts use
  it. Prints to the console and exits by itself.

  The binding follows the house order: value buffers, saved handlers, the
  overrides in slot order, event handlers. }
program orvdemo;

{$I ../package/orvdefines.inc}

uses
  Classes, SysUtils, Variants,
  Orvcommon;

type
  TTemperatureChangeEvent = procedure(Sender: TObject; AOldValue, ANewValue: Double) of object;

  { The object being bound: plain Pascal, knowing nothing of class infos. }
  TThermostat = class
  private
    FTarget: Double;
    FCurrent: Double;
    FOnChange: TTemperatureChangeEvent;
    procedure SetTarget(AValue: Double);
  public
    constructor Create;
    function Preset(const AName: string): Double;
    procedure Calibrate(AOffset: Double);
    property Target: Double read FTarget write SetTarget;
    property Current: Double read FCurrent;
    property OnChange: TTemperatureChangeEvent read FOnChange write FOnChange;
  end;

  { The binding: declares the thermostat's features and acts on its owner. }
  TThermostatClassInfo = class(TorvClassInfo)
  private
    FSavedOnChange: TTemperatureChangeEvent;
    procedure DoChange(Sender: TObject; AOldValue, ANewValue: Double);
  protected
    procedure ConnectEventHandlers; override;
    procedure UnConnectEventHandlers; override;
    procedure DefineORVProperties(AList: TList); override;
    procedure DefineORVMethods(AList: TList); override;
    procedure DefineORVConstructors(AList: TList); override;
    procedure DefineORVEvents(AList: TList); override;
  public
    function GetProperty(AProp: TorvPropertyInfo): Variant; override;
    procedure SetProperty(AProp: TorvPropertyInfo; const AValue: Variant); override;
    procedure InvokeMethod(AMethod: TorvMethodInfo); override;
  end;

  { Two listeners' handlers; each prints what it is handed. }
  TPrinter = class
  public
    procedure ShowChange(Sender: TObject; Event: TorvEventInfo);
    procedure LogArguments(Sender: TObject; Event: TorvEventInfo);
  end;

const
  ThermostatProperties = 'Define::Target::psReadable..psWritable::pvPublished::0::' +
    'Define::Current::psReadable::pvPublic::0::' +
    'Define::Preset::psReadable..psIndexed::pvPublic::1::Name';
  ThermostatMethods = 'Calibrate::msProcedure::1::Offset';
  ThermostatConstructors = 'Create::0';
  ThermostatEvents = 'Define::OnChange::pvPublished::3::Sender::OldValue::NewValue';

  { A feature's Id is its position in the string that defined it: what the
    operations below select their code by, with one integer case. }
  TargetId = 0;
  CurrentId = 1;
  PresetId = 2;
  CalibrateId = 0;

{ TThermostat }

constructor TThermostat.Create;
begin
  inherited Create;
  FTarget := 20;
  FCurrent := 18.5;
end;

procedure TThermostat.SetTarget(AValue: Double);
var
  Old: Double;
begin
  if AValue = FTarget then
    Exit;
  Old := FTarget;
  FTarget := AValue;
  if Assigned(FOnChange) then
    FOnChange(Self, Old, AValue);
end;

function TThermostat.Preset(const AName: string): Double;
begin
  if AName = 'Night' then
    Result := 17
  else
    Result := 21;
end;

procedure TThermostat.Calibrate(AOffset: Double);
begin
  FCurrent := FCurrent + AOffset;
end;

{ TThermostatClassInfo }

procedure TThermostatClassInfo.ConnectEventHandlers;
begin
  // Keep the handler the application set, so that binding does not steal it.
  FSavedOnChange := TThermostat(Owner).OnChange;
  TThermostat(Owner).OnChange := @DoChange;
end;

procedure TThermostatClassInfo.UnConnectEventHandlers;
begin
  TThermostat(Owner).OnChange := FSavedOnChange;
  FSavedOnChange := nil;
end;

procedure TThermostatClassInfo.DefineORVProperties(AList: TList);
begin
  inherited DefineORVProperties(AList);
  ReadORVProperties(ThermostatProperties);
end;

procedure TThermostatClassInfo.DefineORVMethods(AList: TList);
begin
  inherited DefineORVMethods(AList);
  ReadORVMethods(ThermostatMethods);
end;

procedure TThermostatClassInfo.DefineORVConstructors(AList: TList);
begin
  inherited DefineORVConstructors(AList);
  ReadORVConstructors(ThermostatConstructors);
end;

procedure TThermostatClassInfo.DefineORVEvents(AList: TList);
begin
  inherited DefineORVEvents(AList);
  ReadORVEvents(ThermostatEvents);
end;

function TThermostatClassInfo.GetProperty(AProp: TorvPropertyInfo): Variant;
begin
  case AProp.Id of
    TargetId: Result := TThermostat(Owner).Target;
    CurrentId: Result := TThermostat(Owner).Current;
    PresetId: Result := TThermostat(Owner).Preset(AProp.GetIndexes(0).Value);
  else
    Result := inherited GetProperty(AProp);
  end;
end;

procedure TThermostatClassInfo.SetProperty(AProp: TorvPropertyInfo; const AValue: Variant);
begin
  case AProp.Id of
    TargetId: TThermostat(Owner).Target := AValue;
  else
    inherited SetProperty(AProp, AValue);
  end;
end;

procedure TThermostatClassInfo.InvokeMethod(AMethod: TorvMethodInfo);
begin
  case AMethod.Id of
    CalibrateId: TThermostat(Owner).Calibrate(AMethod.GetArgs(0).Value);
  else
    inherited InvokeMethod(AMethod);
  end;
end;

procedure TThermostatClassInfo.DoChange(Sender: TObject; AOldValue, ANewValue: Double);
var
  Event: TorvEventInfo;
begin
  if Assigned(FSavedOnChange) then
    FSavedOnChange(Sender, AOldValue, ANewValue);
  // Listeners get the owner as their Sender and read the values from the
  // event's parameters, by name.
  Event := FindEvent('OnChange');
  Event.Find('OldValue').Value := AOldValue;
  Event.Find('NewValue').Value := ANewValue;
  FireEvent(Event);
end;

{ TPrinter }

procedure TPrinter.ShowChange(Sender: TObject; Event: TorvEventInfo);
begin
  WriteLn(Format('  display: %s target %s -> %s', [Sender.ClassName,
    VarToStr(Event.Find('OldValue').Value), VarToStr(Event.Find('NewValue').Value)]));
end;

procedure TPrinter.LogArguments(Sender: TObject; Event: TorvEventInfo);
var
  I: Integer;
  Line: string;
begin
  // A parameter the binding left unset shows as "-".
  Line := '  log:     ' + Event.Name + ' from ' + Sender.ClassName + ':';
  for I := 0 to Event.GetArgCount - 1 do
    if VarIsEmpty(Event.GetArgs(I).Value) then
      Line := Line + ' ' + Event.GetArgs(I).Name + '=-'
    else
      Line := Line + ' ' + Event.GetArgs(I).Name + '=' + VarToStr(Event.GetArgs(I).Value);
  WriteLn(Line);
end;

{ Program }

function Names(const AArgs: TorvArguments): string;
var
  I: Integer;
begin
  Result := '';
  for I := 0 to High(AArgs) do
    Result := Result + ' ' + AArgs[I].Name;
  Result := '(' + Trim(Result) + ')';
end;

procedure ListFeatures(AInfo: TorvClassInfo);
const
  Visibilities: array[TorvPropertyVisibility] of string = ('protected', 'public', 'published');
  Styles: array[TorvPropertyStyleFlag] of string = ('readable', 'writable', 'indexed');
  MethodStyles: array[TorvMethodStyle] of string = ('function', 'procedure');
var
  I: Integer;
  Flag: TorvPropertyStyleFlag;
  Line: string;
begin
  for I := 0 to AInfo.GetPropertyCount - 1 do
  begin
    Line := '';
    for Flag := Low(Flag) to High(Flag) do
      if Flag in AInfo.GetProperties(I).Styles then
        Line := Line + ' ' + Styles[Flag];
    WriteLn(Format('  property    %-10s %-9s %-19s %s', [AInfo.GetProperties(I).Name,
      Visibilities[AInfo.GetProperties(I).Visibility], Trim(Line), Names(AInfo.GetProperties(I).Indexes)]));
  end;
  for I := 0 to AInfo.GetMethodCount - 1 do
    WriteLn(Format('  method      %-10s %-9s %s', [AInfo.GetMethods(I).Name,
      MethodStyles[AInfo.GetMethods(I).MethodStyle], Names(AInfo.GetMethods(I).Args)]));
  for I := 0 to AInfo.GetConstructorCount - 1 do
    WriteLn(Format('  constructor %-10s %s', [AInfo.GetConstructors(I).Name,
      Names(AInfo.GetConstructors(I).Args)]));
  for I := 0 to AInfo.GetEventCount - 1 do
    WriteLn(Format('  event       %-10s %-9s %s', [AInfo.GetEvents(I).Name,
      Visibilities[AInfo.GetEvents(I).Visibility], Names(AInfo.GetEvents(I).Args)]));
end;

{ Find a property by name the way a caller must: nil means the name is unknown. }
function PropertyNamed(AInfo: TorvClassInfo; const AName: string): TorvPropertyInfo;
begin
  Result := AInfo.FindProperty(AName);
  if Result = nil then
    raise Exception.CreateFmt(rsPropertyNotFound, [AName]);
end;

var
  Thermostat: TThermostat;
  Info: TThermostatClassInfo;
  Printer: TPrinter;
  Display, Log: TorvListener;
  Prop: TorvPropertyInfo;
  Method: TorvMethodInfo;
begin
  Thermostat := TThermostat.Create;
  Info := TThermostatClassInfo.Create;
  Printer := TPrinter.Create;
  Display := TorvListener.Create;
  Log := TorvListener.Create;
  try
    Info.SetOwner(Thermostat);
    Info.InitMetaData;
    WriteLn('Features of ', Info.ClassName, ', in declaration order:');
    ListFeatures(Info);

    WriteLn('Reading and writing by name:');
    WriteLn('  Current = ', VarToStr(Info.GetProperty(PropertyNamed(Info, 'Current'))));
    Prop := PropertyNamed(Info, 'Preset');
    Prop.GetIndexes(0).Value := 'Night';
    WriteLn('  Preset[Night] = ', VarToStr(Info.GetProperty(Prop)));

    Display.EventName := 'OnChange';
    Display.OnEvent := @Printer.ShowChange;
    Log.EventName := 'OnChange';
    Log.OnEvent := @Printer.LogArguments;
    Info.AddListener(Display);
    Info.AddListener(Log);
    WriteLn('  Target := 22.5 (the thermostat fires OnChange to both listeners)');
    Info.SetProperty(PropertyNamed(Info, 'Target'), 22.5);
    WriteLn('  Target = ', VarToStr(Info.GetProperty(PropertyNamed(Info, 'Target'))));

    WriteLn('Invoking by name:');
    Method := Info.FindMethod('Calibrate');
    Method.Find('Offset').Value := -0.5;
    Info.InvokeMethod(Method);
    WriteLn('  Calibrate(Offset=-0.5); Current = ',
      VarToStr(Info.GetProperty(PropertyNamed(Info, 'Current'))));

    WriteLn('An unknown name:');
    try
      Info.GetProperty(PropertyNamed(Info, 'Humidity'));
    except
      on E: Exception do
        WriteLn('  caught ', E.ClassName, ': ', E.Message);
    end;
    // Leave the thermostat's own handler as it was before binding.
    Info.SetOwner(nil);
  finally
    Info.Free;
    Log.Free;
    Display.Free;
    Printer.Free;
    Thermostat.Free;
  end;
end.
