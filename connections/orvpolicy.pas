{ The link policy: what the links of form files read at run time may do to
  the application's objects.

  A form file names the methods its links call and the properties they
  write, with the arguments and values it chooses, so loading a form file
  that someone else wrote runs their choice of the bound features. An
  application that loads such files states here, before it loads them,
  which class members links may write or call; a link that would write or
  call anything else is refused when it connects, and when code changes its
  names afterwards. Without a policy nothing is checked and nothing costs
  but a test for one: when a link connects or takes a name, and while it
  fires only before a parameter hands a value back.

  What is judged. A property a link writes (the target of a
  property-to-property or event-to-property link, and the source too of a
  property-to-property link that copies back on TargetEvent) and a method
  an event-to-method link calls. Reading a property and hearing an event
  are always allowed: a value read goes nowhere but into a write or into
  the arguments of a call, both of which the policy judges, so listing
  reads as well would make every policy longer without closing anything.
  A parameter link of an event-to-method link only reads: it hands the
  method's value back to its property only when the policy lets links write
  that property (the one check made while a link fires, and only under a
  policy). An index list only picks elements of a property already judged.

  Which class. A member is judged by the binding that serves it, and an
  entry for a class covers the classes registered for the bindings that
  descend from its binding (TEdit's descends from TCustomEdit's): the chain
  is that of the registered class infos, not of the object the link
  reaches at the moment. So a variable is judged by the class it names,
  whatever object it holds now or later, and the answer given at connect
  holds as long as the link does; an entry for TorvVariable covers what
  every variable shows (its Self above all, which points it at another
  object). A binding written by hand that descends from TorvClassInfo
  itself is covered by its own name and by "*" only. }
unit Orvpolicy;

{$I orvdefines.inc}

interface

uses
  Classes, SysUtils,
  Orvcommon, Orvlinknames, Orvconlist;

type
  { A link would write or call what the link policy does not allow. }
  EorvLinkRefused = class(EorvLinkError);

  { TorvLinkPolicy }

  { The class members that links may write (properties) or call (methods);
    everything may be read and heard. Empty, it allows no write and no call. }
  TorvLinkPolicy = class
  private type
    { One allowed pair: a class name (or "*") and a member name (or "*"). }
    TEntry = record
      ClassName: string;
      Member: string;
    end;
  private
    FEntries: array of TEntry;
    function EntryAllows(const AClassName, AMember: string): Boolean;
    { Answer whether an entry names AMember of a class registered for
      AInfoClass or one of its ancestors; ANames as RegisteredNames makes it. }
    function ChainAllows(AInfoClass: TClass; const AMember: string; ANames: TStrings): Boolean;
  public
    { Let links write the property or call the method AMember of the class
      registered as AClassName and of the classes registered below it. "*"
      for AClassName means any class, for AMember every member. Class names
      are compared as the registry compares them, member names exactly. }
    procedure Allow(const AClassName, AMember: string);
    { Forget every entry: no write and no call is allowed. }
    procedure Clear;
    { Answer whether links may write or call AFeature (a property or a
      method) that they found in AInfo: judged by the binding of the object
      it acts on, and by that of AInfo when AInfo lists another's features,
      as a variable does. }
    function Allows(AInfo: TorvClassInfo; AFeature: TorvFeature): Boolean;
    { Raise EorvLinkRefused, naming ALink and the member, when ALink as it
      stands would write or call something not allowed. Names that do not
      resolve are left to the link, which does not connect them. }
    procedure CheckConnect(ALink: TorvConnection);
    { The same for the name AValue about to be given to the setting AName of
      ALink at run time (a property, TargetEvent or TargetMethod). }
    procedure CheckChange(ALink: TorvConnection; const AName: TorvLinkName; const AValue: string);
  end;

{ Return the application's link policy, or nil when links are not restricted. }
function LinkPolicy: TorvLinkPolicy; inline;
{ Make APolicy the link policy, taking it over (nil: no policy); the one it
  replaces is freed. Links connected already keep what they were allowed. }
procedure SetLinkPolicy(APolicy: TorvLinkPolicy);
{ Make the policy "read-only links" current and return it for the entries
  the application adds: links may read any property and hear any event, and
  write and call nothing that is not allowed afterwards. }
function UseReadOnlyLinks: TorvLinkPolicy;

resourcestring
  rsLinkMayNotWrite = 'Connection %s may not write %s.%s: not allowed by the application''s link policy';
  rsLinkMayNotCall = 'Connection %s may not call %s.%s: not allowed by the application''s link policy';
  rsPolicyNameMissing = 'A link policy entry needs a class name and a member name ("*" for any)';

implementation

uses
  TypInfo;

const
  // The published settings of the links that say what they write and call.
  SettingTargetProperty = 'TargetProperty';
  SettingTargetMethod = 'TargetMethod';
  SettingTargetEvent = 'TargetEvent';
  SettingSourceProperty = 'SourceProperty';

var
  CurrentPolicy: TorvLinkPolicy;

{ Return every registered class name, each with its class info class as
  its object; the caller frees the list. }
function RegisteredNames: TStringList;
var
  I: Integer;
begin
  Result := TStringList.Create;
  TorvClassRegistry.GetClassNames(Result);
  for I := 0 to Result.Count - 1 do
    Result.Objects[I] := TObject(TorvClassRegistry.FindClass(Result[I]));
end;

function LinkPolicy: TorvLinkPolicy;
begin
  Result := CurrentPolicy;
end;

procedure SetLinkPolicy(APolicy: TorvLinkPolicy);
var
  Old: TorvLinkPolicy;
begin
  if APolicy = CurrentPolicy then
    Exit;
  Old := CurrentPolicy;
  CurrentPolicy := APolicy;
  Old.Free;
end;

function UseReadOnlyLinks: TorvLinkPolicy;
begin
  Result := TorvLinkPolicy.Create;
  SetLinkPolicy(Result);
end;

{ TorvLinkPolicy }

procedure TorvLinkPolicy.Allow(const AClassName, AMember: string);
var
  N: Integer;
begin
  if (Trim(AClassName) = '') or (Trim(AMember) = '') then
    raise EArgumentException.Create(rsPolicyNameMissing);
  N := Length(FEntries);
  SetLength(FEntries, N + 1);
  FEntries[N].ClassName := Trim(AClassName);
  FEntries[N].Member := Trim(AMember);
end;

procedure TorvLinkPolicy.Clear;
begin
  FEntries := nil;
end;

function TorvLinkPolicy.EntryAllows(const AClassName, AMember: string): Boolean;
var
  I: Integer;
begin
  for I := 0 to High(FEntries) do
    if ((FEntries[I].ClassName = '*') or SameText(FEntries[I].ClassName, AClassName)) and
      ((FEntries[I].Member = '*') or (FEntries[I].Member = AMember))
    then
      Exit(True);
  Result := False;
end;

function TorvLinkPolicy.ChainAllows(AInfoClass: TClass; const AMember: string;
  ANames: TStrings): Boolean;
var
  Level: TClass;
  I: Integer;
begin
  Level := AInfoClass;
  while Level <> nil do
  begin
    for I := 0 to ANames.Count - 1 do
      if (TClass(ANames.Objects[I]) = Level) and EntryAllows(ANames[I], AMember)
      then
        Exit(True);
    Level := Level.ClassParent;
  end;
  Result := False;
end;

function TorvLinkPolicy.Allows(AInfo: TorvClassInfo; AFeature: TorvFeature): Boolean;
var
  Names: TStringList;
begin
  // "*" for the class needs no chain, and covers a feature made without a
  // class info.
  if EntryAllows('*', AFeature.Name) then
    Exit(True);
  Names := RegisteredNames;
  try
    Result := (AFeature.ClassInfo <> nil) and
      ChainAllows(AFeature.ClassInfo.ClassType, AFeature.Name, Names);
    if not Result and (AInfo <> nil) and (AInfo <> AFeature.ClassInfo) then
      Result := ChainAllows(AInfo.ClassType, AFeature.Name, Names);
  finally
    Names.Free;
  end;
end;

{ Raise the refusal of ALink writing (or, with ACall, calling) AFeature,
  found in AInfo, of the component ASide; nothing when AFeature is nil or
  allowed. }
procedure Judge(APolicy: TorvLinkPolicy; ALink: TorvConnection; AInfo: TorvClassInfo;
  AFeature: TorvFeature; const ASide: string; AComponent: TComponent; ACall: Boolean);
var
  Text, ComponentName: string;
  Error: EorvLinkRefused;
begin
  if (AFeature = nil) or APolicy.Allows(AInfo, AFeature) then
    Exit;
  if AComponent = nil then
    ComponentName := '?'
  else
    ComponentName := AComponent.Name;
  if ACall then
    Text := Format(rsLinkMayNotCall, [ALink.Name, ComponentName, AFeature.Name])
  else
    Text := Format(rsLinkMayNotWrite, [ALink.Name, ComponentName, AFeature.Name]);
  Error := EorvLinkRefused.CreateAt(Text, ALink, ASide, AComponent);
  // Told to the trace as any other refusal; a handler that freed the link
  // leaves the error to raise all the same.
  if LinkTrace <> nil then
    LinkTrace(ALink, nil, tsRefuse, [Error]);
  raise Error;
end;

{ Return the property AName of AInfo, or nil without a side or a name. }
function PropertyOf(AInfo: TorvClassInfo; const AName: string): TorvPropertyInfo;
begin
  if (AInfo = nil) or (AName = '') then
    Result := nil
  else
    Result := AInfo.FindProperty(AName);
end;

function EventOf(AInfo: TorvClassInfo; const AName: string): TorvEventInfo;
begin
  if (AInfo = nil) or (AName = '') then
    Result := nil
  else
    Result := AInfo.FindEvent(AName);
end;

function MethodOf(AInfo: TorvClassInfo; const AName: string): TorvMethodInfo;
begin
  if (AInfo = nil) or (AName = '') then
    Result := nil
  else
    Result := AInfo.FindMethod(AName);
end;

{ Return the setting ASetting of ALink: AValue when it is the setting
  AChanging about to be given AValue, otherwise its published value; '' for
  a kind of link that has no such setting. The policy reads the settings by
  name so that it needs no kind of link itself: the links use this unit,
  and the order in which their units start stays theirs. }
function SettingOf(ALink: TorvConnection; const ASetting, AChanging, AValue: string): string;
begin
  if ASetting = AChanging then
    Result := AValue
  else if IsPublishedProp(ALink, ASetting) then
    Result := GetStrProp(ALink, ASetting)
  else
    Result := '';
end;

{ Judge what ALink writes and calls, with AValue for its setting AChanging;
  with AChanging empty all of it, otherwise only what AChanging affects.
  Every kind of link writes TargetProperty and calls TargetMethod of its
  Target; one that hears a TargetEvent copies back, writing SourceProperty
  of its Source. }
procedure JudgeLink(APolicy: TorvLinkPolicy; ALink: TorvConnection; const AChanging, AValue: string);
var
  Source, Target: TorvClassInfo;
begin
  Source := ALink.GetSourceInfo;
  Target := ALink.GetTargetInfo;
  if (AChanging = '') or (AChanging = SettingTargetProperty) then
    Judge(APolicy, ALink, Target, PropertyOf(Target,
      SettingOf(ALink, SettingTargetProperty, AChanging, AValue)), 'Target', ALink.Target, False);
  if (AChanging = '') or (AChanging = SettingTargetMethod) then
    Judge(APolicy, ALink, Target, MethodOf(Target,
      SettingOf(ALink, SettingTargetMethod, AChanging, AValue)), 'Target', ALink.Target, True);
  if ((AChanging = '') or (AChanging = SettingTargetEvent) or (AChanging = SettingSourceProperty)) and
    (EventOf(Target, SettingOf(ALink, SettingTargetEvent, AChanging, AValue)) <> nil)
  then
    Judge(APolicy, ALink, Source, PropertyOf(Source,
      SettingOf(ALink, SettingSourceProperty, AChanging, AValue)), 'Source', ALink.Source, False);
end;

procedure TorvLinkPolicy.CheckConnect(ALink: TorvConnection);
begin
  JudgeLink(Self, ALink, '', '');
end;

procedure TorvLinkPolicy.CheckChange(ALink: TorvConnection; const AName: TorvLinkName;
  const AValue: string);
begin
  // A form file being read is judged once it is read, when its links
  // connect; the designer runs no link.
  if [csLoading, csDesigning] * ALink.ComponentState <> [] then
    Exit;
  JudgeLink(Self, ALink, AName.Setting, AValue);
end;

finalization
  SetLinkPolicy(nil);
end.
