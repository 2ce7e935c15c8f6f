{ The two components the link demo wires together.

  The components are plain LCL-style components that know nothing of links.
  Their bindings are made by tools/gen from examples/orvdemodevices.tbl into
  Orvdemoinfos: each, registered by class name, declares what a link may
  use by name and hooks the component's events; that is all a form file's
  links need to reach them. }
unit Orvdemodevices;

{$I orvdefines.inc}

interface

uses
  Classes, SysUtils;

type
  TAlarmEvent = procedure(Sender: TObject; Temperature: Double; var Handled: Boolean) of object;

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

uses
  // Their bindings, made from examples/orvdemodevices.tbl: linking the
  // devices links and registers them.
  Orvdemoinfos;

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

initialization
  RegisterClass(TThermostat);
  RegisterClass(TDisplay);
end.
