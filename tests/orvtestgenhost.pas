{ Host classes for the generator's own test: one member for every shape a
  binding table can state (sets, records, characters, wide strings, enums,
  write-only and indexed properties, var and untyped parameters, record
  results, events with var parameters, an event kept on another object).
  Their bindings are made from tests/orvtestgen.tbl. }
unit Orvtestgenhost;

{$I orvdefines.inc}

interface

uses
  Classes, SysUtils, Types;

type
  TProbeMode = (pmOff, pmSlow, pmFast);
  TProbeModes = set of TProbeMode;

  TProbeKeyEvent = procedure(Sender: TObject; var Key: Char; Shift: TShiftState) of object;
  TProbeRectEvent = procedure(Sender: TObject; var R: TRect; const ClassName: string;
    var Mode: TProbeMode) of object;
  TProbeCountEvent = procedure(Sender: TObject; var Count: Integer) of object;
  TProbeAskEvent = function(Sender: TObject; const Question: string): Boolean of object;
  TProbeGuessEvent = function(Sender: TObject; var Hint: Integer): Integer of object;

  { Where TProbeBase keeps its OnPing: the event is not the owner's own. }
  TProbeSub = class(TPersistent)
  private
    FOnPing: TNotifyEvent;
  public
    property OnPing: TNotifyEvent read FOnPing write FOnPing;
  end;

  { TProbeBase }

  TProbeBase = class(TComponent)
  private
    FSub: TProbeSub;
  protected
    FCaption: string;
    property Caption: string read FCaption write FCaption;
  public
    constructor Create(AOwner: TComponent); override;
    destructor Destroy; override;
    { Fire the sub-object's OnPing. }
    procedure Ping;
    property Sub: TProbeSub read FSub;
  end;

  { TProbe }

  TProbe = class(TProbeBase)
  private
    FModes: TProbeModes;
    FBounds: TRect;
    FLetter: Char;
    FWide: WideString;
    FRatio: Double;
    FMode: TProbeMode;
    FCells: array[0..1, 0..1] of Integer;
    FTarget: TComponent;
    FOnKey: TProbeKeyEvent;
    FOnRect: TProbeRectEvent;
    FOnCount: TProbeCountEvent;
    FOnAsk: TProbeAskEvent;
    FOnGuess: TProbeGuessEvent;
    function GetCell(ARow, ACol: Integer): Integer;
    function GetNamed(const AKey: string): string;
    procedure SetCell(ARow, ACol: Integer; AValue: Integer);
  public
    Limit: Integer;
    function Area(const R: TRect): Integer;
    procedure Grow(var R: TRect; ADelta: Integer);
    function Center: TPoint;
    procedure NextMode(var AMode: TProbeMode);
    { Answer whether A was a letter; A becomes its upper case, B grows by A. }
    function Swap(var A: Char; var B: string): Boolean;
    { Fill ACount bytes of ABuffer with 7. }
    procedure Fill(var ABuffer; ACount: Integer);
    function Total: Int64;
    procedure Attach(ATarget: TComponent);
    { Fire OnKey with AKey and answer the key the handlers leave. }
    function Key(AKey: Char): Char;
    { Fire OnRect with Bounds and Mode, which the handlers may change. }
    procedure Rect;
    { Fire OnCount with ACount and answer what the handlers leave. }
    function Count(ACount: Integer): Integer;
    { Answer what the OnAsk handler answers to AQuestion, or False. }
    function Ask(const AQuestion: string): Boolean;
    { Answer what the OnGuess handler answers, or -1 without one; AHint is
      what the handlers leave. }
    function Guess(var AHint: Integer): Integer;
    property Modes: TProbeModes read FModes write FModes;
    property Bounds: TRect read FBounds write FBounds;
    property Letter: Char read FLetter write FLetter;
    property Wide: WideString read FWide write FWide;
    property Ratio: Double read FRatio write FRatio;
    property Mode: TProbeMode read FMode write FMode;
    property Cells[ARow, ACol: Integer]: Integer read GetCell write SetCell;
    property Named[const AKey: string]: string read GetNamed;
    property Target: TComponent read FTarget;
  published
    property Caption;
    property OnKey: TProbeKeyEvent read FOnKey write FOnKey;
    property OnRect: TProbeRectEvent read FOnRect write FOnRect;
    property OnCount: TProbeCountEvent read FOnCount write FOnCount;
    property OnAsk: TProbeAskEvent read FOnAsk write FOnAsk;
    property OnGuess: TProbeGuessEvent read FOnGuess write FOnGuess;
  end;

  { A class whose binding takes the owner as its ancestor TProbeBase. }
  TProbeTwin = class(TProbeBase);

implementation

{ TProbeBase }

constructor TProbeBase.Create(AOwner: TComponent);
begin
  inherited Create(AOwner);
  FSub := TProbeSub.Create;
end;

destructor TProbeBase.Destroy;
begin
  FreeAndNil(FSub);
  inherited Destroy;
end;

procedure TProbeBase.Ping;
begin
  if Assigned(FSub.OnPing) then
    FSub.OnPing(Self);
end;

{ TProbe }

function TProbe.GetCell(ARow, ACol: Integer): Integer;
begin
  Result := FCells[ARow, ACol];
end;

function TProbe.GetNamed(const AKey: string): string;
begin
  Result := '<' + AKey + '>';
end;

procedure TProbe.SetCell(ARow, ACol: Integer; AValue: Integer);
begin
  FCells[ARow, ACol] := AValue;
end;

function TProbe.Area(const R: TRect): Integer;
begin
  Result := (R.Right - R.Left) * (R.Bottom - R.Top);
end;

procedure TProbe.Grow(var R: TRect; ADelta: Integer);
begin
  InflateRect(R, ADelta, ADelta);
end;

function TProbe.Center: TPoint;
begin
  Result := CenterPoint(FBounds);
end;

procedure TProbe.NextMode(var AMode: TProbeMode);
begin
  if AMode = High(AMode) then
    AMode := Low(AMode)
  else
    AMode := Succ(AMode);
end;

function TProbe.Swap(var A: Char; var B: string): Boolean;
begin
  Result := A in ['a'..'z', 'A'..'Z'];
  A := UpCase(A);
  B := B + A;
end;

procedure TProbe.Fill(var ABuffer; ACount: Integer);
begin
  FillChar(ABuffer, ACount, 7);
end;

function TProbe.Total: Int64;
begin
  Result := Int64(Limit) * 1000000000;
end;

procedure TProbe.Attach(ATarget: TComponent);
begin
  FTarget := ATarget;
end;

function TProbe.Key(AKey: Char): Char;
begin
  Result := AKey;
  if Assigned(FOnKey) then
    FOnKey(Self, Result, [ssShift]);
end;

procedure TProbe.Rect;
begin
  if Assigned(FOnRect) then
    FOnRect(Self, FBounds, ClassName, FMode);
end;

function TProbe.Count(ACount: Integer): Integer;
begin
  Result := ACount;
  if Assigned(FOnCount) then
    FOnCount(Self, Result);
end;

function TProbe.Ask(const AQuestion: string): Boolean;
begin
  Result := Assigned(FOnAsk) and FOnAsk(Self, AQuestion);
end;

function TProbe.Guess(var AHint: Integer): Integer;
begin
  Result := -1;
  if Assigned(FOnGuess) then
    Result := FOnGuess(Self, AHint);
end;

end.
