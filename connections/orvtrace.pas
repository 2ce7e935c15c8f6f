{ A trace of everything the links do, for finding out why a binding fails
  or loops without a word.

  Off until StartLinkTrace is given a handler: then every connect (with the
  reason it failed), every copy of a property-to-property link (and every
  one its echo suppression dropped), every assignment of an
  event-to-property link and every call of an event-to-method link is
  handed to the handler as a TorvTraceEntry: the form and the link, the two
  sides as the links' own messages name them, the value shortened to
  TraceValueWidth bytes, and the outcome. TorvTraceLog writes the
  entries as lines to a TStrings, a stream or a file.

  A step is reported when it ends, so that its outcome is known: a step
  that a setter or a method sets off (a copy set off by a copy, a call by
  an assignment) is reported before the step that called it.

  While the trace is off a link pays one test of a global variable per
  step; everything else, the text above all, is made here and only when a
  trace is on.

  The handler is the application's code and may do anything, free the link
  or the whole form included: each step is reported inside a frame of the
  link, and the link looks at that frame before it goes on. An exception
  raised by the handler, or by making the entry, is caught and counted
  (TraceHandlerFailures), never passed on: a trace must not change what the
  link does, and an error of the trace handed to the link would replace
  the link's own outcome. A fault of the program (an access violation, say)
  passes on unchanged.

  A link mutes its listeners while it copies, so the echo of its own copy
  never reaches it: the trace hears of those through ListenerMuted, which
  it sets only while it is on. }
unit Orvtrace;

{$I orvdefines.inc}

interface

uses
  Classes, SysUtils,
  Orvconlist;

const
  { The bytes of a value's text that a trace entry keeps; a longer one is
    cut, never inside a UTF-8 character, and ends in an ellipsis. }
  TraceValueWidth = 60;

type
  { What a traced step of a link came to. }
  TorvTraceOutcome = (
    toDone,    // connected, copied, assigned or called
    toEcho,    // a copy dropped because a copy of the same link was under way
    toRefused, // a component refused for a side
    toError,   // the step failed; Message says why
    toGone     // the link was freed during the step
  );

  { One step of one link. }
  TorvTraceEntry = record
    Step: TorvTraceStep;
    { The name of the form (root) that owns the link; empty without one. }
    FormName: string;
    LinkName: string;
    { "Component.Feature" that the step reads, or the event that fired it. }
    FromSide: string;
    { "Component.Feature" that the step writes, or the method it calls. }
    ToSide: string;
    { The value copied or assigned, or a call's "(arguments) = result";
      empty for other steps. }
    Value: string;
    Outcome: TorvTraceOutcome;
    { Why the step failed or was refused; empty otherwise. }
    Message: string;
  end;

  { Told of one step of a link. }
  TorvTraceEvent = procedure(const AEntry: TorvTraceEntry) of object;

  { TorvTraceLog }

  { Writes each trace entry as one line (TraceEntryText) to a TStrings, a
    stream or a file. }
  TorvTraceLog = class
  private
    FLines: TStrings;
    FStream: TStream;
    FOwnsStream: Boolean;
  public
    { Add the lines to ALines, which the log does not own. }
    constructor Create(ALines: TStrings);
    { Write the lines to AStream, freed with the log when AOwnsStream. }
    constructor CreateStream(AStream: TStream; AOwnsStream: Boolean);
    { Write the lines to a new file AFileName, replacing one there. }
    constructor CreateFile(const AFileName: string);
    { Stop the trace first when it reports to this log. }
    destructor Destroy; override;
    { Report every step of every link to this log from now on. }
    procedure Start;
    { Write AEntry as one line. }
    procedure Write(const AEntry: TorvTraceEntry);
  end;

{ Report every step of every link to AHandler from now on; nil stops the
  trace. }
procedure StartLinkTrace(AHandler: TorvTraceEvent);
{ Stop reporting. }
procedure StopLinkTrace;
{ Answer whether a trace is on. }
function LinkTraceActive: Boolean;
{ Return AEntry as one line: "Form1.Link1 transfer Edit1.Text ->
  Label1.Caption = 'abc': done". }
function TraceEntryText(const AEntry: TorvTraceEntry): string;
{ Return the number of exceptions the handler raised, and of values that
  could not be put in an entry, that the trace caught since the program
  started. }
function TraceHandlerFailures: Integer;

resourcestring
  rsTraceDone = 'done';
  rsTraceEcho = 'dropped (echo of a copy under way)';
  rsTraceRefused = 'refused: %s';
  rsTraceError = 'error: %s';
  rsTraceGone = 'link freed during the step';

implementation

uses
  Variants,
  Orvcommon, Orvcallguard, Orvp2p, Orve2p, Orve2m;

type
  TVariants = array of Variant;
  PVariants = ^TVariants;

const
  StepWords: array[TorvTraceStep] of string = ('connect', 'refuse', 'transfer', 'transfer',
    'assign', 'call', 'error');
  Ellipsis = '...';

var
  Handler: TorvTraceEvent;
  HandlerFailures: Integer;

{ Values }

{ Cut AText to TraceValueWidth bytes, not inside a UTF-8 character, and
  put line breaks on the same line. }
function Shorten(const AText: string): string;
var
  Cut: Integer;
begin
  Result := AText;
  if (Pos(#10, Result) > 0) or (Pos(#13, Result) > 0) then
  begin
    Result := StringReplace(Result, #13#10, '\n', [rfReplaceAll]);
    Result := StringReplace(Result, #10, '\n', [rfReplaceAll]);
    Result := StringReplace(Result, #13, '\n', [rfReplaceAll]);
  end;
  if Length(Result) <= TraceValueWidth then
    Exit;
  Cut := TraceValueWidth + 1;
  // Back to the first byte of the character that would be cut.
  while (Cut > 1) and (Ord(Result[Cut]) and $C0 = $80) do
    Dec(Cut);
  Result := Copy(Result, 1, Cut - 1) + Ellipsis;
end;

function QuotedText(const AText: string): string;
begin
  Result := '''' + Shorten(AText) + '''';
end;

function ObjectText(AObject: TObject): string;
begin
  if AObject = nil then
    Result := 'nil'
  else if (AObject is TComponent) and (TComponent(AObject).Name <> '') then
    Result := TComponent(AObject).Name + ': ' + AObject.ClassName
  else
    Result := AObject.ClassName;
end;

function VariantText(const AValue: Variant): string;
begin
  if VarIsStr(AValue) then
    Exit(QuotedText(VarToStr(AValue)));
  if VarIsEmpty(AValue) then
    Exit('Unassigned');
  if VarIsNull(AValue) then
    Exit('Null');
  try
    Result := Shorten(VarToStr(AValue));
  except
    on E: EVariantError do
      Result := '(' + VarTypeAsText(VarType(AValue)) + ')';
  end;
end;

function ValueText(const AValue: TVarRec): string;
begin
  case AValue.VType of
    vtAnsiString: Result := QuotedText(AnsiString(AValue.VAnsiString));
    vtUnicodeString: Result := QuotedText(string(UnicodeString(AValue.VUnicodeString)));
    vtChar: Result := QuotedText(AValue.VChar);
    vtInteger: Result := IntToStr(AValue.VInteger);
    vtInt64: Result := IntToStr(AValue.VInt64^);
    vtBoolean: Result := BoolToStr(AValue.VBoolean, True);
    vtExtended: Result := FloatToStr(AValue.VExtended^);
    vtObject: Result := ObjectText(AValue.VObject);
    vtVariant: Result := VariantText(AValue.VVariant^);
  else
    Result := '?';
  end;
end;

{ Return the text a link handed over as a message, unquoted and uncut. }
function ValueTextRaw(const AValue: TVarRec): string;
begin
  if AValue.VType = vtAnsiString then
    Result := AnsiString(AValue.VAnsiString)
  else
    Result := ValueText(AValue);
end;

{ Return the side, the component refused for it and why. }
function RefusalText(AError: EorvLinkError): string;
begin
  Result := Format('%s %s (%s): %s', [AError.Side, AError.ComponentName, AError.ComponentClass,
    AError.Message]);
end;

{ Return "(arguments) = result" of a call of AMethod with AArguments. }
function CallText(AMethod: TorvMethodInfo; const AArguments: TVariants): string;
var
  I: Integer;
begin
  Result := '(';
  for I := 0 to High(AArguments) do
  begin
    if I > 0 then
      Result := Result + ', ';
    Result := Result + VariantText(AArguments[I]);
  end;
  Result := Result + ')';
  if AMethod.MethodStyle = msFunction then
    Result := Result + ' = ' + VariantText(AMethod.Result);
end;

{ Entries }

{ Fill in the names of ALink and its sides, swapped for a copy back from
  the target. }
procedure DescribeLink(ALink: TorvConnection; AToTarget: Boolean; var AEntry: TorvTraceEntry);
var
  FromFeature, ToFeature, Side: string;
begin
  if ALink.Owner <> nil then
    AEntry.FormName := ALink.Owner.Name;
  AEntry.LinkName := ALink.Name;
  FromFeature := '';
  ToFeature := '';
  if ALink is TorvP2PConnection then
  begin
    FromFeature := TorvP2PConnection(ALink).SourceProperty;
    ToFeature := TorvP2PConnection(ALink).TargetProperty;
  end
  else if ALink is TorvE2PConnection then
  begin
    FromFeature := TorvE2PConnection(ALink).SourceEvent;
    ToFeature := TorvE2PConnection(ALink).TargetProperty;
  end
  else if ALink is TorvE2MConnection then
  begin
    FromFeature := TorvE2MConnection(ALink).SourceEvent;
    ToFeature := TorvE2MConnection(ALink).TargetMethod;
  end;
  AEntry.FromSide := ALink.SideText(ALink.Source, FromFeature);
  AEntry.ToSide := ALink.SideText(ALink.Target, ToFeature);
  if not AToTarget then
  begin
    Side := AEntry.FromSide;
    AEntry.FromSide := AEntry.ToSide;
    AEntry.ToSide := Side;
  end;
end;

{ Return the step an error of ALink broke off. }
function FailedStep(ALink: TorvConnection): TorvTraceStep;
begin
  if ALink is TorvP2PConnection then
    Result := tsTransfer
  else if ALink is TorvE2PConnection then
    Result := tsAssign
  else if ALink is TorvE2MConnection then
    Result := tsCall
  else
    Result := tsError;
end;

{ Fill in what the step AStep of the live link ALink moved, and how it ended. }
procedure DescribeStep(ALink: TorvConnection; AStep: TorvTraceStep;
  const AValues: array of const; var AEntry: TorvTraceEntry);
var
  ToTarget: Boolean;
begin
  ToTarget := not (AStep in [tsTransfer, tsEcho]) or AValues[0].VBoolean;
  DescribeLink(ALink, ToTarget, AEntry);
  AEntry.Step := AStep;
  AEntry.Outcome := toDone;
  case AStep of
    tsConnect:
      if not AValues[0].VBoolean then
      begin
        AEntry.Outcome := toError;
        AEntry.Message := Format(rsCannotConnect, [ALink.Unresolved]);
      end;
    tsRefuse:
      begin
        AEntry.Outcome := toRefused;
        AEntry.Message := RefusalText(AValues[0].VObject as EorvLinkError);
      end;
    tsTransfer:
      AEntry.Value := ValueText(AValues[1]);
    tsEcho:
      AEntry.Outcome := toEcho;
    tsAssign:
      AEntry.Value := ValueText(AValues[0]);
    tsCall:
      AEntry.Value := CallText(TorvMethodInfo(AValues[0].VObject), PVariants(AValues[1].VPointer)^);
    tsError:
      begin
        AEntry.Step := FailedStep(ALink);
        AEntry.Outcome := toError;
        AEntry.Message := ValueTextRaw(AValues[0]);
      end;
  end;
end;

{ Hand AEntry to the handler; an exception it raises is counted, not passed
  on, unless it is a fault of the program. }
procedure CallHandler(const AEntry: TorvTraceEntry);
begin
  try
    Handler(AEntry);
  except
    on E: Exception do
    begin
      if IsFatalError(E) then
        raise;
      Inc(HandlerFailures);
    end;
  end;
end;

{ The hook the links call while a trace is on. }
function ReportStep(ALink: TorvConnection; AFrame: PorvCallFrame; AStep: TorvTraceStep;
  const AValues: array of const): Boolean;
var
  Entry: TorvTraceEntry;
  Watch: TorvCallFrame;
begin
  Result := True;
  if not Assigned(Handler) then
    Exit;
  Entry := Default(TorvTraceEntry);
  if (AFrame <> nil) and AFrame^.Gone then
  begin
    // Only the name outlived the link.
    Entry.Step := AStep;
    Entry.LinkName := string(AFrame^.GoneName);
    Entry.Outcome := toGone;
    if AStep = tsError then
    begin
      Entry.Outcome := toError;
      Entry.Message := ValueTextRaw(AValues[0]);
    end;
    CallHandler(Entry);
    Exit(False);
  end;
  // The designer's links are not the application's doing.
  if csDesigning in ALink.ComponentState then
    Exit;
  // A value that cannot be shown is the trace's failure, not the link's.
  try
    DescribeStep(ALink, AStep, AValues, Entry);
  except
    on E: Exception do
    begin
      if IsFatalError(E) then
        raise;
      Inc(HandlerFailures);
      Exit;
    end;
  end;
  ALink.EnterWatch(Watch);
  try
    CallHandler(Entry);
  finally
    LeaveCall(Watch);
  end;
  Result := not Watch.Gone;
end;

{ A link mutes its listeners while it copies, so that the echo of its copy
  is dropped before its firing does anything: the only place to hear of it. }
procedure ReportMuted(AListener: TorvListener; AEvent: TorvEventInfo);
var
  Link: TObject;
begin
  Link := TObject(TMethod(AListener.OnEvent).Data);
  if Link is TorvP2PConnection then
    TorvP2PConnection(Link).EchoDropped(AListener);
end;

procedure StartLinkTrace(AHandler: TorvTraceEvent);
begin
  Handler := AHandler;
  if Assigned(AHandler) then
  begin
    LinkTrace := @ReportStep;
    ListenerMuted := @ReportMuted;
  end
  else
  begin
    LinkTrace := nil;
    ListenerMuted := nil;
  end;
end;

procedure StopLinkTrace;
begin
  StartLinkTrace(nil);
end;

function LinkTraceActive: Boolean;
begin
  Result := LinkTrace <> nil;
end;

function TraceHandlerFailures: Integer;
begin
  Result := HandlerFailures;
end;

function OutcomeText(const AEntry: TorvTraceEntry): string;
begin
  case AEntry.Outcome of
    toDone: Result := rsTraceDone;
    toEcho: Result := rsTraceEcho;
    toRefused: Result := Format(rsTraceRefused, [AEntry.Message]);
    toError: Result := Format(rsTraceError, [AEntry.Message]);
    toGone: Result := rsTraceGone;
  end;
end;

function TraceEntryText(const AEntry: TorvTraceEntry): string;
begin
  Result := AEntry.LinkName;
  if AEntry.FormName <> '' then
    Result := AEntry.FormName + '.' + Result;
  Result := Result + ' ' + StepWords[AEntry.Step];
  if (AEntry.FromSide <> '') or (AEntry.ToSide <> '') then
    Result := Result + ' ' + AEntry.FromSide + ' -> ' + AEntry.ToSide;
  if AEntry.Value <> '' then
    if AEntry.Step = tsCall then
      Result := Result + AEntry.Value
    else
      Result := Result + ' = ' + AEntry.Value;
  Result := Result + ': ' + OutcomeText(AEntry);
end;

{ TorvTraceLog }

constructor TorvTraceLog.Create(ALines: TStrings);
begin
  inherited Create;
  FLines := ALines;
end;

constructor TorvTraceLog.CreateStream(AStream: TStream; AOwnsStream: Boolean);
begin
  inherited Create;
  FStream := AStream;
  FOwnsStream := AOwnsStream;
end;

constructor TorvTraceLog.CreateFile(const AFileName: string);
begin
  CreateStream(TFileStream.Create(AFileName, fmCreate), True);
end;

destructor TorvTraceLog.Destroy;
var
  Current: TorvTraceEvent;
begin
  Current := @Write;
  if (TMethod(Handler).Code = TMethod(Current).Code) and
    (TMethod(Handler).Data = TMethod(Current).Data) then
    StopLinkTrace;
  if FOwnsStream then
    FreeAndNil(FStream);
  inherited Destroy;
end;

procedure TorvTraceLog.Start;
begin
  StartLinkTrace(@Write);
end;

procedure TorvTraceLog.Write(const AEntry: TorvTraceEntry);
var
  Line: string;
begin
  Line := TraceEntryText(AEntry);
  if FLines <> nil then
    FLines.Add(Line);
  if FStream <> nil then
  begin
    Line := Line + LineEnding;
    FStream.WriteBuffer(Line[1], Length(Line));
  end;
end;

finalization
  StopLinkTrace;
end.
