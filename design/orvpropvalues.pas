{ What the Object Inspector offers and accepts for the published properties
  of the links and of the variable.

  The property editors of the design package are thin: every value list,
  every check of a typed name and the index display are worked out here,
  from the metadata, without IDEIntf, so that they can be run and tested
  outside the IDE. Each routine takes the edited object (the first selected
  one; nil when nothing is selected) and the edited property's name, which
  tells apart the several properties an editor serves.

  Refusals raise EPropertyError (TypInfo's, the class the Object Inspector
  shows) with "Unknown property!" when the editor serves no property of
  that name on that object, and "Unknown property name!" when a typed name
  is not a feature of the side's class; the property then keeps its value.
  Feature names are compared case-sensitively, as the metadata does. }
unit Orvpropvalues;

{$I orvdefines.inc}

interface

uses
  Classes, SysUtils, TypInfo, Variants,
  Orvcommon, Orvconlist, Orvp2p, Orve2p, Orve2m, Orvdesigner;

{ Call AProc with every registered class name, in registration order. }
procedure orvGetClassTypeNames(AProc: TGetStrProc);

{ Answer whether a link accepts AComponent: its own class is registered by
  name or, while TorvClassRegistry.DerivedClasses is on, an ancestor. }
function orvIsBindable(AComponent: TComponent): Boolean;

{ Property names: SourceProperty, TargetProperty, ValueComponentProperty and
  ComponentProperty. }

{ Return the class info whose properties APropName names; nil when its side
  has no component. }
function orvPropertySideInfo(AInstance: TPersistent; const APropName: string): TorvClassInfo;
{ Answer whether AProp may be named by APropName: a target must be
  writable, a source readable. }
function orvIsPropertyOffered(const APropName: string; AProp: TorvPropertyInfo): Boolean;
{ Call AProc with each property name that may be chosen, in declaration
  order; protected properties are never offered. }
procedure orvGetPropertyNames(AInstance: TPersistent; const APropName: string; AProc: TGetStrProc);
{ Return what to store for the typed AValue: AValue when the side's class
  has that property, empty when AValue is empty or the side has no
  component. }
function orvCheckPropertyName(AInstance: TPersistent; const APropName, AValue: string): string;

{ Event names: SourceEvent and TargetEvent. }

function orvEventSideInfo(AInstance: TPersistent; const APropName: string): TorvClassInfo;
{ Call AProc with each event name of the side that is not protected. }
procedure orvGetEventNames(AInstance: TPersistent; const APropName: string; AProc: TGetStrProc);
function orvCheckEventName(AInstance: TPersistent; const APropName, AValue: string): string;

{ Event parameter names: ValueEventParameter of an event-to-property link,
  EventParameter of a parameter connection. }

{ Return the event whose parameters may be named: the source event of the
  link; nil when it does not resolve. }
function orvParameterEventInfo(AInstance: TPersistent): TorvEventInfo;
{ Call AProc with the event's parameter names in declaration order. }
procedure orvGetEventParameterNames(AInstance: TPersistent; AProc: TGetStrProc);
function orvCheckEventParameterName(AInstance: TPersistent; const AValue: string): string;

{ Method names: TargetMethod of an event-to-method link. }

procedure orvGetMethodNames(AInstance: TPersistent; const APropName: string; AProc: TGetStrProc);
function orvCheckMethodName(AInstance: TPersistent; const APropName, AValue: string): string;

{ Index lists: SourcePropertyIndex, TargetPropertyIndex,
  ValueComponentPropertyIndex and ComponentPropertyIndex. }

{ Return the property whose index list APropName holds; nil when it does not
  resolve. }
function orvIndexedPropertyInfo(AInstance: TPersistent; const APropName: string): TorvPropertyInfo;
{ Answer whether the index list has parameters to edit. }
function orvHasIndexParameters(AInstance: TPersistent; const APropName: string): Boolean;
{ Return the text shown for an index list: its parameter names in brackets,
  or "(None)". }
function orvIndexListText(AInstance: TPersistent; const APropName: string): string;
{ Let the designer edit the index list AIndexes of AInstance in the property
  index editor. Answer True when AIndexes now holds the edited values, to be
  stored through the link's checking setter; False when there was nothing to
  edit or the editor was left without values. }
function orvEditIndexList(ADesigner: TorvDesigner; AInstance: TPersistent;
  const APropName: string; var AIndexes: Variant): Boolean;

{ Method parameters: TargetMethodParameters. }

{ Open the parameter list window of the link that owns ACollection; a
  collection of no link opens nothing. }
procedure orvEditMethodParameterList(ADesigner: TorvDesigner; ACollection: TObject);

resourcestring
  rsUnknownProperty = 'Unknown property!';
  rsUnknownPropertyName = 'Unknown property name!';
  rsNoIndexes = '(None)';

implementation

uses
  Orveditorhooks;

procedure UnknownProperty;
begin
  raise EPropertyError.Create(rsUnknownProperty);
end;

procedure UnknownPropertyName;
begin
  raise EPropertyError.Create(rsUnknownPropertyName);
end;

{ The parameter connection's own link, or nil. }
function LinkOfParameter(AInstance: TPersistent): TorvE2MConnection;
begin
  Result := nil;
  if AInstance is TorvParameterConnection then
    Result := TorvParameterConnection(AInstance).GetConnection;
end;

procedure orvGetClassTypeNames(AProc: TGetStrProc);
begin
  TorvClassRegistry.Iterate(AProc);
end;

function orvIsBindable(AComponent: TComponent): Boolean;
begin
  Result := (AComponent <> nil) and IsOfferedSide(AComponent);
end;

{ Property names }

function orvPropertySideInfo(AInstance: TPersistent; const APropName: string): TorvClassInfo;
begin
  Result := nil;
  case APropName of
    'SourceProperty', 'TargetProperty':
      if AInstance is TorvConnection then
      begin
        if APropName = 'SourceProperty' then
          Exit(TorvConnection(AInstance).GetSourceInfo);
        Exit(TorvConnection(AInstance).GetTargetInfo);
      end;
    'ValueComponentProperty':
      if AInstance is TorvE2PConnection then
        Exit(TorvE2PConnection(AInstance).GetValueComponentInfo);
    'ComponentProperty':
      if AInstance is TorvParameterConnection then
        Exit(TorvParameterConnection(AInstance).GetComponentInfo);
  end;
  UnknownProperty;
end;

function orvIsPropertyOffered(const APropName: string; AProp: TorvPropertyInfo): Boolean;
begin
  Result := False;
  case APropName of
    'TargetProperty':
      Result := psWritable in AProp.Styles;
    'SourceProperty', 'ValueComponentProperty', 'ComponentProperty':
      Result := psReadable in AProp.Styles;
  else
    UnknownProperty;
  end;
end;

procedure orvGetPropertyNames(AInstance: TPersistent; const APropName: string; AProc: TGetStrProc);
var
  Info: TorvClassInfo;
  Prop: TorvPropertyInfo;
  I: Integer;
begin
  if AInstance = nil then
    Exit;
  Info := orvPropertySideInfo(AInstance, APropName);
  if Info = nil then
    Exit;
  for I := 0 to Info.GetPropertyCount - 1 do
  begin
    Prop := Info.GetProperties(I);
    if (Prop.Visibility <> pvProtected) and orvIsPropertyOffered(APropName, Prop) then
      AProc(Prop.Name);
  end;
end;

function orvCheckPropertyName(AInstance: TPersistent; const APropName, AValue: string): string;
var
  Info: TorvClassInfo;
begin
  Info := orvPropertySideInfo(AInstance, APropName);
  if (AValue = '') or (Info = nil) then
    Exit('');
  if Info.FindProperty(AValue) = nil then
    UnknownPropertyName;
  Result := AValue;
end;

{ Event names }

function orvEventSideInfo(AInstance: TPersistent; const APropName: string): TorvClassInfo;
begin
  if AInstance is TorvConnection then
    case APropName of
      'SourceEvent': Exit(TorvConnection(AInstance).GetSourceInfo);
      'TargetEvent': Exit(TorvConnection(AInstance).GetTargetInfo);
    end;
  UnknownProperty;
  Result := nil;
end;

procedure orvGetEventNames(AInstance: TPersistent; const APropName: string; AProc: TGetStrProc);
var
  Info: TorvClassInfo;
  Event: TorvEventInfo;
  I: Integer;
begin
  if AInstance = nil then
    Exit;
  Info := orvEventSideInfo(AInstance, APropName);
  if Info = nil then
    Exit;
  for I := 0 to Info.GetEventCount - 1 do
  begin
    Event := Info.GetEvents(I);
    if Event.Visibility <> pvProtected then
      AProc(Event.Name);
  end;
end;

function orvCheckEventName(AInstance: TPersistent; const APropName, AValue: string): string;
var
  Info: TorvClassInfo;
begin
  Info := orvEventSideInfo(AInstance, APropName);
  if (AValue = '') or (Info = nil) then
    Exit('');
  if Info.FindEvent(AValue) = nil then
    UnknownPropertyName;
  Result := AValue;
end;

{ Event parameter names }

function orvParameterEventInfo(AInstance: TPersistent): TorvEventInfo;
var
  Link: TorvE2MConnection;
begin
  if AInstance is TorvE2PConnection then
    Exit(TorvE2PConnection(AInstance).GetSourceEventInfo);
  if AInstance is TorvParameterConnection then
  begin
    Link := LinkOfParameter(AInstance);
    if Link = nil then
      Exit(nil);
    Exit(Link.GetSourceEventInfo);
  end;
  UnknownProperty;
  Result := nil;
end;

procedure orvGetEventParameterNames(AInstance: TPersistent; AProc: TGetStrProc);
var
  Event: TorvEventInfo;
  I: Integer;
begin
  if AInstance = nil then
    Exit;
  Event := orvParameterEventInfo(AInstance);
  if Event = nil then
    Exit;
  for I := 0 to Event.GetArgCount - 1 do
    AProc(Event.GetArgs(I).Name);
end;

function orvCheckEventParameterName(AInstance: TPersistent; const AValue: string): string;
var
  Event: TorvEventInfo;
begin
  Event := orvParameterEventInfo(AInstance);
  if (AValue = '') or (Event = nil) then
    Exit('');
  if Event.Find(AValue) = nil then
    UnknownPropertyName;
  Result := AValue;
end;

{ Method names }

{ The class info whose methods TargetMethod names. }
function MethodSideInfo(AInstance: TPersistent; const APropName: string): TorvClassInfo;
begin
  if (APropName <> 'TargetMethod') or not (AInstance is TorvE2MConnection) then
    UnknownProperty;
  Result := TorvE2MConnection(AInstance).GetTargetInfo;
end;

procedure orvGetMethodNames(AInstance: TPersistent; const APropName: string; AProc: TGetStrProc);
var
  Info: TorvClassInfo;
  I: Integer;
begin
  if AInstance = nil then
    Exit;
  Info := MethodSideInfo(AInstance, APropName);
  if Info = nil then
    Exit;
  for I := 0 to Info.GetMethodCount - 1 do
    AProc(Info.GetMethods(I).Name);
end;

function orvCheckMethodName(AInstance: TPersistent; const APropName, AValue: string): string;
var
  Info: TorvClassInfo;
begin
  Info := MethodSideInfo(AInstance, APropName);
  if (AValue = '') or (Info = nil) then
    Exit('');
  if Info.FindMethod(AValue) = nil then
    UnknownPropertyName;
  Result := AValue;
end;

{ Index lists }

function orvIndexedPropertyInfo(AInstance: TPersistent; const APropName: string): TorvPropertyInfo;
begin
  case APropName of
    'SourcePropertyIndex':
      if AInstance is TorvP2PConnection then
        Exit(TorvP2PConnection(AInstance).GetSourcePropertyInfo);
    'TargetPropertyIndex':
      if AInstance is TorvP2PConnection then
        Exit(TorvP2PConnection(AInstance).GetTargetPropertyInfo)
      else if AInstance is TorvE2PConnection then
        Exit(TorvE2PConnection(AInstance).GetTargetPropertyInfo);
    'ValueComponentPropertyIndex':
      if AInstance is TorvE2PConnection then
        Exit(TorvE2PConnection(AInstance).GetValueComponentPropertyInfo);
    'ComponentPropertyIndex':
      if AInstance is TorvParameterConnection then
        Exit(TorvParameterConnection(AInstance).GetComponentPropertyInfo);
  end;
  UnknownProperty;
  Result := nil;
end;

{ The property whose index parameters may be edited, or nil. }
function EditableIndexes(AInstance: TPersistent; const APropName: string): TorvPropertyInfo;
begin
  if AInstance = nil then
    Exit(nil);
  Result := orvIndexedPropertyInfo(AInstance, APropName);
  if (Result <> nil) and (Result.GetIndexCount = 0) then
    Result := nil;
end;

function orvHasIndexParameters(AInstance: TPersistent; const APropName: string): Boolean;
begin
  Result := EditableIndexes(AInstance, APropName) <> nil;
end;

function orvIndexListText(AInstance: TPersistent; const APropName: string): string;
var
  Prop: TorvPropertyInfo;
  I: Integer;
begin
  Prop := EditableIndexes(AInstance, APropName);
  if Prop = nil then
    Exit(rsNoIndexes);
  Result := '[';
  for I := 0 to Prop.GetIndexCount - 1 do
  begin
    if I > 0 then
      Result := Result + ', ';
    Result := Result + Prop.GetIndexes(I).Name;
  end;
  Result := Result + ']';
end;

function orvEditIndexList(ADesigner: TorvDesigner; AInstance: TPersistent;
  const APropName: string; var AIndexes: Variant): Boolean;
var
  Prop: TorvPropertyInfo;
  Edited: Variant;
  I: Integer;
begin
  Prop := EditableIndexes(AInstance, APropName);
  if Prop = nil then
    Exit(False);
  if not orvEditPropertyIndex(ADesigner, AInstance, AIndexes, Prop) then
    Exit(False);
  // A list that is no array, or too short, fails here with the host's
  // variant error, before anything is handed back.
  Edited := AIndexes;
  for I := 0 to Prop.GetIndexCount - 1 do
    Edited[I] := Prop.GetIndexes(I).Value;
  AIndexes := Edited;
  Result := True;
end;

{ Method parameters }

procedure orvEditMethodParameterList(ADesigner: TorvDesigner; ACollection: TObject);
var
  Link: TPersistent;
begin
  if not (ACollection is TorvParameterConnections) then
    Exit;
  Link := TorvParameterConnections(ACollection).Owner;
  if Link is TorvE2MConnection then
    orvEditMethodParameters(ADesigner, TorvE2MConnection(Link));
end;

end.
