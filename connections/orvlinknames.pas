{ The names a link keeps, checked in one place: the component on a side,
  the feature names looked up in its class info, and the index list kept
  for an indexed property.

  The three kinds of link refuse a bad name through the Require routines
  here, the form-file checker reports the same refusal through the Refusal
  functions without raising, and both add the nearest declared name when a
  name does not resolve. Editors and property editors take their choices
  from the name lists. Feature names are compared exactly, as everywhere:
  the nearest name is only a hint, never used in place of the name given. }
unit Orvlinknames;

{$I orvdefines.inc}

interface

uses
  Classes, SysUtils, Variants,
  Orvcommon;

type
  { A link setter refused a name or an index list. }
  EorvInvalidFeature = class(Exception);

  { A link could not take what its form file says. The message is the
    link's own (for a refused component, "This is a not Orvane component!");
    the fields say where, so that whoever loads the form can tell the user. }
  EorvLinkError = class(Exception)
  private
    FFormName: string;
    FLinkName: string;
    FSide: string;
    FComponentName: string;
    FComponentClass: string;
  public
    { Raise-ready error AMessage of the link ALink on the side ASide, about
      AComponent (nil when the side has none). }
    constructor CreateAt(const AMessage: string; ALink: TComponent; const ASide: string;
      AComponent: TComponent);
    { Return "Form1.Link1, Source Edit1 (TEdit): " followed by the message. }
    function Describe: string;
    { The name of the form or data module that owns the link. }
    property FormName: string read FFormName;
    property LinkName: string read FLinkName;
    { The published property of the side: "Source", "Target", "ValueComponent",
      "TargetMethodParameters[0].Component"; empty for the link as a whole. }
    property Side: string read FSide;
    property ComponentName: string read FComponentName;
    property ComponentClass: string read FComponentClass;
  end;

  { One name a link keeps, with the words its refusals use: Setting is the
    published property ("SourceProperty"), Side the component it is looked
    up on ("Source"), What the kind of name ("source property"). }
  TorvLinkName = record
    Setting: string;
    Side: string;
    What: string;
  end;

  { One index list a link keeps: the list ("SourcePropertyIndex"), its side
    ("Source") and the property name it belongs to ("SourceProperty"). }
  TorvIndexListName = record
    List: string;
    Side: string;
    PropertyName: string;
  end;

const
  { The names the links keep, in the words of their refusals. }
  lnP2PSourceProperty: TorvLinkName = (Setting: 'SourceProperty'; Side: 'Source'; What: 'source property');
  lnP2PTargetProperty: TorvLinkName = (Setting: 'TargetProperty'; Side: 'Target'; What: 'target property');
  lnP2PSourceEvent: TorvLinkName = (Setting: 'SourceEvent'; Side: 'Source'; What: 'source event');
  lnP2PTargetEvent: TorvLinkName = (Setting: 'TargetEvent'; Side: 'Target'; What: 'target event');
  lnE2PSourceEvent: TorvLinkName = (Setting: 'SourceEvent'; Side: 'Source'; What: 'source event');
  lnE2PTargetProperty: TorvLinkName = (Setting: 'TargetProperty'; Side: 'Target'; What: 'target property');
  lnE2PValueComponentProperty: TorvLinkName = (Setting: 'ValueComponentProperty';
    Side: 'ValueComponent'; What: 'source property');
  lnE2PValueEventParameter: TorvLinkName = (Setting: 'ValueEventParameter'; Side: 'source';
    What: 'event parameter name');
  lnE2MComponentProperty: TorvLinkName = (Setting: 'ComponentProperty'; Side: 'Component';
    What: 'source property');
  lnE2MEventParameter: TorvLinkName = (Setting: 'EventParameter'; Side: 'source';
    What: 'event parameter name');
  lnE2MSourceEvent: TorvLinkName = (Setting: 'SourceEvent'; Side: 'Source'; What: 'source event');
  lnE2MTargetMethod: TorvLinkName = (Setting: 'TargetMethod'; Side: 'Target'; What: 'target method');

  ilSourcePropertyIndex: TorvIndexListName = (List: 'SourcePropertyIndex'; Side: 'Source';
    PropertyName: 'SourceProperty');
  ilTargetPropertyIndex: TorvIndexListName = (List: 'TargetPropertyIndex'; Side: 'Target';
    PropertyName: 'TargetProperty');
  ilValueComponentPropertyIndex: TorvIndexListName = (List: 'ValueComponentPropertyIndex';
    Side: 'ValueComponent'; PropertyName: 'ValueComponentProperty');
  ilComponentPropertyIndex: TorvIndexListName = (List: 'ComponentPropertyIndex';
    Side: 'Component'; PropertyName: 'ComponentProperty');

{ Sides }

{ Answer whether a link accepts AComponent on a side: its own class is
  registered or, while TorvClassRegistry.DerivedClasses is on, an ancestor. }
function IsOrvaneComponent(AComponent: TComponent): Boolean;
{ Raise EorvLinkError with "This is a not Orvane component!" unless a link
  accepts AComponent; ALink and ASide say where. }
procedure CheckOrvaneComponent(AComponent: TComponent; ALink: TComponent = nil;
  const ASide: string = '');

{ Refusals: the message a link's setter raises for a name, or '' when the
  name resolves. AInfo is the class info of the side (nil without one). }

function PropertyRefusal(AInfo: TorvClassInfo; const AValue: string;
  const AName: TorvLinkName): string;
function EventRefusal(AInfo: TorvClassInfo; const AValue: string; const AName: TorvLinkName): string;
function MethodRefusal(AInfo: TorvClassInfo; const AValue: string; const AName: TorvLinkName): string;
{ The refusal of the event parameter AValue of AEvent, the link's source
  event (nil when it does not resolve); AEventSetting names it. }
function EventParameterRefusal(ASourceInfo: TorvClassInfo; AEvent: TorvEventInfo;
  const AValue: string; const AName: TorvLinkName; const AEventSetting: string = 'SourceEvent'): string;
{ The refusal of the index list AValue for AProp of the side AInfo. }
function IndexListRefusal(const AValue: Variant; AInfo: TorvClassInfo; AProp: TorvPropertyInfo;
  const AName: TorvIndexListName): string;

{ The same checks, raising EorvInvalidFeature with the refusal. }

{ Return the property AValue of AInfo, or raise. }
function RequireProperty(AInfo: TorvClassInfo; const AValue: string;
  const AName: TorvLinkName): TorvPropertyInfo;
{ Set AField, a link's property name, to AValue: unless ALoading, first
  check AValue against AInfo (raising the refusal for AName) and make
  AIndexList fit the new property. Answer whether the name changed. }
function ChangePropertyName(var AField: string; const AValue: string; AInfo: TorvClassInfo;
  const AName: TorvLinkName; var AIndexList: Variant; ALoading: Boolean): Boolean;
procedure RequireEvent(AInfo: TorvClassInfo; const AValue: string; const AName: TorvLinkName);
procedure RequireEventParameter(ASourceInfo: TorvClassInfo; AEvent: TorvEventInfo;
  const AValue: string; const AName: TorvLinkName);
procedure CheckIndexList(const AValue: Variant; AInfo: TorvClassInfo; AProp: TorvPropertyInfo;
  const AName: TorvIndexListName);

{ Diagnostics: why a name keeps a link from connecting, in words. }

{ Return '' when AValue names a feature of kind AKind of AInfo; otherwise
  the refusal with the name, and the nearest declared name if one is near:
  "Invalid SourceProperty value. Unknown source property 'tag' (did you
  mean 'Tag'?)". Without a side it is the refusal for the side; an empty
  name is "SourceProperty: not set". }
function NameProblem(AInfo: TorvClassInfo; AKind: TorvFeatureKind; const AValue: string;
  const AName: TorvLinkName): string;
{ The same for the parameter AValue of AEvent. }
function EventParameterProblem(ASourceInfo: TorvClassInfo; AEvent: TorvEventInfo;
  const AValue: string; const AName: TorvLinkName): string;
{ Return " (did you mean 'X'?)" for the nearest feature of kind AKind of
  AInfo to AValue, or '' when none is near enough to be a slip. }
function FeatureSuggestion(AInfo: TorvClassInfo; AKind: TorvFeatureKind;
  const AValue: string): string;
{ The same among ANames. }
function Suggestion(const AValue: string; ANames: TStrings): string;
{ Return the name among ANames nearest to AValue, or ''. A name differing
  in letter case only is nearest; otherwise the one with the fewest edits,
  at most a third of the length, unless another is as near: a guess
  between equals would mislead. }
function NearestName(const AValue: string; ANames: TStrings): string;

{ Name lists, in declaration order, each name once: what a link may name. }

{ Add the names of the properties of AInfo that have every style of ANeed
  and at least the visibility AAtLeast. }
procedure PropertyNames(AInfo: TorvClassInfo; ANames: TStrings; ANeed: TorvPropertyStyle = [];
  AAtLeast: TorvPropertyVisibility = pvProtected);
procedure EventNames(AInfo: TorvClassInfo; ANames: TStrings;
  AAtLeast: TorvPropertyVisibility = pvProtected);
procedure MethodNames(AInfo: TorvClassInfo; ANames: TStrings);
{ Add the names of AArgs (parameters of a method or an event, indexes of a
  property). }
procedure ArgumentNames(const AArgs: TorvArguments; ANames: TStrings);

{ Index lists }

{ Return an index list of ACount empty elements (bounds 0 to ACount - 1). }
function NewIndexList(ACount: Integer): Variant;
{ When AUnmade, make AList the one-element list it stands for and clear
  AUnmade. }
procedure MakeIndexList(var AList: Variant; var AUnmade: Boolean);
{ Return the index list a property name resets to: sized for AProp, or one
  empty element when there is no property. }
function ResetIndexList(AProp: TorvPropertyInfo): Variant;

{ Stand-ins }

{ Answer whether AInfo stands for an object given at run time (it announces
  the change with OnInstanceChange, as a variable does) and holds none yet:
  its other features cannot be used until it is given one. }
function HoldsNothing(AInfo: TorvClassInfo): Boolean;

resourcestring
  rsNotOrvaneComponent = 'This is a not Orvane component!';
  rsUnknownSideComponent = 'Invalid %s value. Unknown %s component';
  rsUnknownName = 'Invalid %s value. Unknown %s';
  rsNotArray = 'Invalid %s value. Value is not array';
  rsDimensionCount = 'Invalid %s value. Invalid dimension count';
  rsDimensionSize = 'Invalid %s value. Invalid dimension size';
  rsNotSet = '%s: not set';
  rsNamedName = '%s ''%s''';
  rsDidYouMean = ' (did you mean ''%s''?)';
  rsLinkPlace = '%s.%s';
  rsSidePlace = '%s, %s %s (%s)';
  rsEmptySidePlace = '%s, %s not set';
  rsPlaceMessage = '%s: %s';

const
  { The event by which a stand-in announces a new object. }
  InstanceChangeEvent = 'OnInstanceChange';

implementation

uses
  Math;

{ EorvLinkError }

constructor EorvLinkError.CreateAt(const AMessage: string; ALink: TComponent;
  const ASide: string; AComponent: TComponent);
begin
  inherited Create(AMessage);
  if ALink <> nil then
  begin
    FLinkName := ALink.Name;
    if ALink.Owner <> nil then
      FFormName := ALink.Owner.Name;
  end;
  FSide := ASide;
  if AComponent <> nil then
  begin
    FComponentName := AComponent.Name;
    FComponentClass := AComponent.ClassName;
  end;
end;

function EorvLinkError.Describe: string;
var
  Place: string;
begin
  Place := Format(rsLinkPlace, [FFormName, FLinkName]);
  if FComponentClass <> '' then
    Place := Format(rsSidePlace, [Place, FSide, FComponentName, FComponentClass])
  else if FSide <> '' then
    Place := Format(rsEmptySidePlace, [Place, FSide]);
  Result := Format(rsPlaceMessage, [Place, Message]);
end;

{ Sides }

function IsOrvaneComponent(AComponent: TComponent): Boolean;
begin
  Result := (AComponent <> nil) and TorvClassRegistry.IsRegistered(AComponent.ClassType);
end;

procedure CheckOrvaneComponent(AComponent: TComponent; ALink: TComponent; const ASide: string);
begin
  if (AComponent <> nil) and not IsOrvaneComponent(AComponent) then
    raise EorvLinkError.CreateAt(rsNotOrvaneComponent, ALink, ASide, AComponent);
end;

{ Refusals }

function SideRefusal(AInfo: TorvClassInfo; const AName: TorvLinkName): string;
begin
  if AInfo = nil then
    Result := Format(rsUnknownSideComponent, [AName.Setting, AName.Side])
  else
    Result := '';
end;

function PropertyRefusal(AInfo: TorvClassInfo; const AValue: string;
  const AName: TorvLinkName): string;
begin
  Result := SideRefusal(AInfo, AName);
  if (Result = '') and (AInfo.FindProperty(AValue) = nil) then
    Result := Format(rsUnknownName, [AName.Setting, AName.What]);
end;

function EventRefusal(AInfo: TorvClassInfo; const AValue: string; const AName: TorvLinkName): string;
begin
  Result := SideRefusal(AInfo, AName);
  if (Result = '') and (AInfo.FindEvent(AValue) = nil) then
    Result := Format(rsUnknownName, [AName.Setting, AName.What]);
end;

function MethodRefusal(AInfo: TorvClassInfo; const AValue: string; const AName: TorvLinkName): string;
begin
  Result := SideRefusal(AInfo, AName);
  if (Result = '') and (AInfo.FindMethod(AValue) = nil) then
    Result := Format(rsUnknownName, [AName.Setting, AName.What]);
end;

function EventParameterRefusal(ASourceInfo: TorvClassInfo; AEvent: TorvEventInfo;
  const AValue: string; const AName: TorvLinkName; const AEventSetting: string): string;
begin
  Result := SideRefusal(ASourceInfo, AName);
  if Result <> '' then
    Exit;
  if AEvent = nil then
    Result := Format(rsUnknownName, [AName.Setting, AEventSetting])
  else if AEvent.Find(AValue) = nil then
    Result := Format(rsUnknownName, [AName.Setting, AName.What]);
end;

function IndexListRefusal(const AValue: Variant; AInfo: TorvClassInfo; AProp: TorvPropertyInfo;
  const AName: TorvIndexListName): string;
begin
  Result := '';
  if AInfo = nil then
    Result := Format(rsUnknownSideComponent, [AName.List, AName.Side])
  else if AProp = nil then
    Result := Format(rsUnknownName, [AName.List, AName.PropertyName])
  else if not VarIsArray(AValue) then
    Result := Format(rsNotArray, [AName.List])
  else if VarArrayDimCount(AValue) <> 1 then
    Result := Format(rsDimensionCount, [AName.List])
  // Only the high bound is compared, as editors size lists from zero.
  else if VarArrayHighBound(AValue, 1) <> AProp.GetIndexCount - 1 then
    Result := Format(rsDimensionSize, [AName.List]);
end;

procedure Refuse(const ARefusal: string); inline;
begin
  if ARefusal <> '' then
    raise EorvInvalidFeature.Create(ARefusal);
end;

function RequireProperty(AInfo: TorvClassInfo; const AValue: string;
  const AName: TorvLinkName): TorvPropertyInfo;
begin
  Refuse(PropertyRefusal(AInfo, AValue, AName));
  Result := AInfo.FindProperty(AValue);
end;

procedure RequireEvent(AInfo: TorvClassInfo; const AValue: string; const AName: TorvLinkName);
begin
  Refuse(EventRefusal(AInfo, AValue, AName));
end;

procedure RequireEventParameter(ASourceInfo: TorvClassInfo; AEvent: TorvEventInfo;
  const AValue: string; const AName: TorvLinkName);
begin
  Refuse(EventParameterRefusal(ASourceInfo, AEvent, AValue, AName));
end;

procedure CheckIndexList(const AValue: Variant; AInfo: TorvClassInfo; AProp: TorvPropertyInfo;
  const AName: TorvIndexListName);
begin
  Refuse(IndexListRefusal(AValue, AInfo, AProp, AName));
end;

{ Diagnostics }

{ The number of single-character insertions, deletions, replacements and
  swaps of neighbours that turn A into B. }
function EditDistance(const A, B: string): Integer;
var
  D: array of array of Integer;
  I, J, Cost: Integer;
begin
  SetLength(D, Length(A) + 1, Length(B) + 1);
  for I := 0 to Length(A) do
    D[I, 0] := I;
  for J := 0 to Length(B) do
    D[0, J] := J;
  for I := 1 to Length(A) do
    for J := 1 to Length(B) do
    begin
      Cost := Ord(A[I] <> B[J]);
      D[I, J] := Min(Min(D[I - 1, J] + 1, D[I, J - 1] + 1), D[I - 1, J - 1] + Cost);
      if (I > 1) and (J > 1) and (A[I] = B[J - 1]) and (A[I - 1] = B[J]) then
        D[I, J] := Min(D[I, J], D[I - 2, J - 2] + 1);
    end;
  Result := D[Length(A), Length(B)];
end;

function NearestName(const AValue: string; ANames: TStrings): string;
var
  I, Distance, Best: Integer;
  Tied: Boolean;
begin
  Result := '';
  if AValue = '' then
    Exit;
  // The commonest slip: the right name in the wrong letter case.
  for I := 0 to ANames.Count - 1 do
    if SameText(ANames[I], AValue) then
      Exit(ANames[I]);
  Best := Length(AValue) div 3 + 1;
  Tied := False;
  for I := 0 to ANames.Count - 1 do
  begin
    Distance := EditDistance(LowerCase(AValue), LowerCase(ANames[I]));
    if Distance < Best then
    begin
      Best := Distance;
      Result := ANames[I];
      Tied := False;
    end
    else if (Distance = Best) and (Result <> '') and (ANames[I] <> Result) then
      Tied := True;
  end;
  if Tied then
    Result := '';
end;

function Suggestion(const AValue: string; ANames: TStrings): string;
var
  Nearest: string;
begin
  Nearest := NearestName(AValue, ANames);
  if Nearest = '' then
    Result := ''
  else
    Result := Format(rsDidYouMean, [Nearest]);
end;

{ Return the names of the features of kind AKind of AInfo. }
function FeatureNames(AInfo: TorvClassInfo; AKind: TorvFeatureKind): TStringList;
begin
  Result := TStringList.Create;
  try
    case AKind of
      fkProperty: PropertyNames(AInfo, Result);
      fkEvent: EventNames(AInfo, Result);
      fkMethod: MethodNames(AInfo, Result);
    end;
  except
    Result.Free;
    raise;
  end;
end;

function FeatureSuggestion(AInfo: TorvClassInfo; AKind: TorvFeatureKind;
  const AValue: string): string;
var
  Names: TStringList;
begin
  if AInfo = nil then
    Exit('');
  Names := FeatureNames(AInfo, AKind);
  try
    Result := Suggestion(AValue, Names);
  finally
    Names.Free;
  end;
end;

function Named(const ARefusal, AValue: string; ANames: TStrings): string;
begin
  Result := Format(rsNamedName, [ARefusal, AValue]) + Suggestion(AValue, ANames);
end;

function NameProblem(AInfo: TorvClassInfo; AKind: TorvFeatureKind; const AValue: string;
  const AName: TorvLinkName): string;
var
  Names: TStringList;
begin
  if AInfo = nil then
    Exit(SideRefusal(AInfo, AName));
  if AValue = '' then
    Exit(Format(rsNotSet, [AName.Setting]));
  case AKind of
    fkProperty: Result := PropertyRefusal(AInfo, AValue, AName);
    fkEvent: Result := EventRefusal(AInfo, AValue, AName);
    fkMethod: Result := MethodRefusal(AInfo, AValue, AName);
  else
    Result := '';
  end;
  if Result = '' then
    Exit;
  Names := FeatureNames(AInfo, AKind);
  try
    Result := Named(Result, AValue, Names);
  finally
    Names.Free;
  end;
end;

function EventParameterProblem(ASourceInfo: TorvClassInfo; AEvent: TorvEventInfo;
  const AValue: string; const AName: TorvLinkName): string;
var
  Names: TStringList;
begin
  if (ASourceInfo <> nil) and (AEvent <> nil) and (AValue = '') then
    Exit(Format(rsNotSet, [AName.Setting]));
  Result := EventParameterRefusal(ASourceInfo, AEvent, AValue, AName);
  if (Result = '') or (ASourceInfo = nil) or (AEvent = nil) then
    Exit;
  Names := TStringList.Create;
  try
    ArgumentNames(AEvent.Args, Names);
    Result := Named(Result, AValue, Names);
  finally
    Names.Free;
  end;
end;

{ Name lists }

procedure PropertyNames(AInfo: TorvClassInfo; ANames: TStrings; ANeed: TorvPropertyStyle;
  AAtLeast: TorvPropertyVisibility);
var
  I: Integer;
  Prop: TorvPropertyInfo;
begin
  for I := 0 to AInfo.GetPropertyCount - 1 do
  begin
    Prop := AInfo.GetProperties(I);
    // A name declared twice resolves to its first feature only.
    if (AInfo.FindProperty(Prop.Name) = Prop) and (ANeed <= Prop.Styles) and
      (Prop.Visibility >= AAtLeast) then
      ANames.Add(Prop.Name);
  end;
end;

procedure EventNames(AInfo: TorvClassInfo; ANames: TStrings; AAtLeast: TorvPropertyVisibility);
var
  I: Integer;
  Event: TorvEventInfo;
begin
  for I := 0 to AInfo.GetEventCount - 1 do
  begin
    Event := AInfo.GetEvents(I);
    if (AInfo.FindEvent(Event.Name) = Event) and (Event.Visibility >= AAtLeast) then
      ANames.Add(Event.Name);
  end;
end;

procedure MethodNames(AInfo: TorvClassInfo; ANames: TStrings);
var
  I: Integer;
  Method: TorvMethodInfo;
begin
  for I := 0 to AInfo.GetMethodCount - 1 do
  begin
    Method := AInfo.GetMethods(I);
    if AInfo.FindMethod(Method.Name) = Method then
      ANames.Add(Method.Name);
  end;
end;

procedure ArgumentNames(const AArgs: TorvArguments; ANames: TStrings);
var
  I: Integer;
begin
  for I := 0 to High(AArgs) do
    ANames.Add(AArgs[I].Name);
end;

{ Index lists }

function NewIndexList(ACount: Integer): Variant;
begin
  Result := VarArrayCreate([0, ACount - 1], varVariant);
end;

procedure MakeIndexList(var AList: Variant; var AUnmade: Boolean);
begin
  if not AUnmade then
    Exit;
  AList := NewIndexList(1);
  AUnmade := False;
end;

function ChangePropertyName(var AField: string; const AValue: string; AInfo: TorvClassInfo;
  const AName: TorvLinkName; var AIndexList: Variant; ALoading: Boolean): Boolean;
var
  Prop: TorvPropertyInfo;
begin
  Result := AValue <> AField;
  if not Result then
    Exit;
  if not ALoading then
  begin
    Prop := nil;
    if AValue <> '' then
      Prop := RequireProperty(AInfo, AValue, AName);
    AIndexList := ResetIndexList(Prop);
  end;
  AField := AValue;
end;

function ResetIndexList(AProp: TorvPropertyInfo): Variant;
begin
  if AProp = nil then
    Result := NewIndexList(1)
  else
    Result := NewIndexList(AProp.GetIndexCount);
end;

{ Stand-ins }

{ Answer whether the Self of AInfo reads 0. Its variant temporaries, and the
  exception frame they need, are paid here only by the class infos that
  announce an instance change, not by every side a link connects. }
function SelfIsEmpty(AInfo: TorvClassInfo): Boolean;
var
  SelfProp: TorvPropertyInfo;
begin
  SelfProp := AInfo.FindProperty('Self');
  Result := (SelfProp <> nil) and (psReadable in SelfProp.Styles) and
    (AInfo.GetProperty(SelfProp) = 0);
end;

function HoldsNothing(AInfo: TorvClassInfo): Boolean;
begin
  Result := (AInfo <> nil) and (AInfo.FindEvent(InstanceChangeEvent) <> nil) and SelfIsEmpty(AInfo);
end;

end.
