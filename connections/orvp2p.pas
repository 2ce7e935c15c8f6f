{ The property-to-property link: it keeps a property of its Target equal to a
  property of its Source.

  Connected at run time, it copies the source property to the target once;
  then each firing of SourceEvent copies source to target again, and each
  firing of TargetEvent copies target back to source. A transfer under way
  blocks every other transfer of the same link, so the change that a copy
  makes echo back (or that comes round a cycle of links) is dropped instead
  of looping.

  Property and event infos are cached together with the class info they were
  found in. The cache is used only while that class info is still the
  side's current one, and that is compared before the cached feature is
  touched: a feature of a class info that is gone is never read. }
unit Orvp2p;

{$I orvdefines.inc}

interface

uses
  Classes, SysUtils, Variants,
  Orvcommon, Orvcallguard, Orvlinknames, Orvconlist;

type
  { TorvP2PConnection }

  { Keeps Target.TargetProperty equal to Source.SourceProperty, copying on
    SourceEvent and back on TargetEvent. }
  TorvP2PConnection = class(TorvConnection)
  private
    FSourceProperty: string;
    FSourcePropertyInfo: TorvPropertyInfo;
    FSourcePropertyFrom: TorvClassInfo;
    FSourcePropertyIndex: Variant;
    FTargetProperty: string;
    FTargetPropertyInfo: TorvPropertyInfo;
    FTargetPropertyFrom: TorvClassInfo;
    FTargetPropertyIndex: Variant;
    FSourceEvent: string;
    FSourceEventInfo: TorvEventInfo;
    FSourceEventFrom: TorvClassInfo;
    FTargetEvent: string;
    FTargetEventInfo: TorvEventInfo;
    FTargetEventFrom: TorvClassInfo;
    FSourceListener: TorvListener;
    FTargetListener: TorvListener;
    FInstanceListener: TorvListener;
    FUpdating: Boolean;
    { Set while an index list is still the one-element list a new link
      starts with, not made yet: most links never change it, and making and
      freeing two variant arrays per link was much of what loading and
      freeing a form of links cost. }
    FSourceIndexUnmade, FTargetIndexUnmade: Boolean;
    { What Connect resolved for copying without a variant; Stale until the
      next transfer resolves it again after a name or index list changed. }
    FTyped: record
      Stale: Boolean;
      SourceInfo, TargetInfo: TorvClassInfo;
      Kind: TorvTypedKind;
      ToTarget, ToSource: Boolean; // the directions the accessors allow
      Source, Target: PorvTypedAccess;
    end;
    procedure ResolveTyped;
    function TypedReady(AToTarget: Boolean; ASourceInfo, ATargetInfo: TorvClassInfo): Boolean;
      inline;
    procedure TypedTransfer(AToTarget: Boolean; AFromInfo, AToInfo: TorvClassInfo;
      AGetter, ASetter: Pointer);
    procedure SetSourceProperty(const AValue: string);
    function GetSourcePropertyIndex: Variant;
    procedure SetSourcePropertyIndex(const AValue: Variant);
    procedure SetSourceEvent(const AValue: string);
    procedure SetTargetProperty(const AValue: string);
    function GetTargetPropertyIndex: Variant;
    procedure SetTargetPropertyIndex(const AValue: Variant);
    procedure SetTargetEvent(const AValue: string);
    { The handlers' way when their test of what was resolved fails. }
    procedure SourceFired(Sender: TObject);
    procedure TargetFired(Sender: TObject);
    procedure Transfer(AToTarget: Boolean; ASourceInfo, ATargetInfo: TorvClassInfo); inline;
    procedure VariantTransfer(AToTarget: Boolean);
    function WaitForInstance: Boolean;
    procedure InstanceChanged(Sender: TObject; Event: TorvEventInfo);
    procedure CopyValue(AToTarget: Boolean; ASourceProp, ATargetProp: TorvPropertyInfo;
      constref AFrame: TorvCallFrame);
    procedure EndTransfer(var AFrame: TorvCallFrame); inline;
    function TransferError(E: Exception; constref AFrame: TorvCallFrame): Exception;
  protected
    procedure DefineProperties(Filer: TFiler); override;
    function DescribeJoin: string; override;
    { Copy the source property to the target property, unless a transfer of
      this link is under way. }
    procedure SetTargetValue;
    { Copy the target property back to the source property, unless a
      transfer of this link is under way. }
    procedure SetSourceValue;
  public
    constructor Create(AOwner: TComponent); override;
    { Free the listeners, which leave the class infos they are added to. }
    destructor Destroy; override;
    { Answer whether both sides and both properties resolve; at run time
      also listen to the events that resolve and make the first copy. A
      side that stands for an object given at run time (a variable) and has
      none yet makes the first copy wait until it is given one. }
    function Connect: Boolean; override;
    procedure Unconnect; override;
    function Unresolved: string; override;
    { Return the source property, or nil when it does not resolve. }
    function GetSourcePropertyInfo: TorvPropertyInfo;
    { Return the target property, or nil when it does not resolve. }
    function GetTargetPropertyInfo: TorvPropertyInfo;
    { Return the source event, or nil when it does not resolve. }
    function GetSourceEventInfo: TorvEventInfo;
    { Return the target event, or nil when it does not resolve. }
    function GetTargetEventInfo: TorvEventInfo;
    { Copy source to target when Sender is the current source component. }
    procedure SourcePropertyChange(Sender: TObject; Event: TorvEventInfo);
    { Copy target to source when Sender is the current target component. }
    procedure TargetPropertyChange(Sender: TObject; Event: TorvEventInfo);
    { Tell the trace that the firing AListener heard was dropped as the
      echo of a copy under way; nothing of the link is read after. }
    procedure EchoDropped(AListener: TorvListener);
  published
    property SourceProperty: string read FSourceProperty write SetSourceProperty;
    { The index arguments of SourceProperty; stored as "SourcePropertyIndexes". }
    property SourcePropertyIndex: Variant read GetSourcePropertyIndex write SetSourcePropertyIndex
      stored False;
    property SourceEvent: string read FSourceEvent write SetSourceEvent;
    property TargetProperty: string read FTargetProperty write SetTargetProperty;
    { The index arguments of TargetProperty; stored as "TargetPropertyIndexes". }
    property TargetPropertyIndex: Variant read GetTargetPropertyIndex write SetTargetPropertyIndex
      stored False;
    property TargetEvent: string read FTargetEvent write SetTargetEvent;
  end;

implementation

uses
  Orvpolicy;

{ TorvP2PConnection }

constructor TorvP2PConnection.Create(AOwner: TComponent);
begin
  inherited Create(AOwner);
  FSourceIndexUnmade := True;
  FTargetIndexUnmade := True;
  // Both handlers drop whatever comes while a transfer is under way, and
  // neither touches its firing's class info or event after the transfer,
  // which holds the class infos it writes itself.
  FSourceListener := TorvListener.Create;
  FSourceListener.OnEvent := @SourcePropertyChange;
  FSourceListener.MutedBy := @FUpdating;
  FSourceListener.SelfHolding := True;
  FTargetListener := TorvListener.Create;
  FTargetListener.OnEvent := @TargetPropertyChange;
  FTargetListener.MutedBy := @FUpdating;
  FTargetListener.SelfHolding := True;
  FInstanceListener := TorvListener.Create;
  FInstanceListener.OnEvent := @InstanceChanged;
end;

destructor TorvP2PConnection.Destroy;
begin
  // Nil afterwards: an Unconnect while the component is taken apart finds
  // nothing left to detach.
  FreeAndNil(FSourceListener);
  FreeAndNil(FTargetListener);
  FreeAndNil(FInstanceListener);
  inherited Destroy;
end;

function TorvP2PConnection.GetSourcePropertyInfo: TorvPropertyInfo;
begin
  Result := CachedProperty(GetSourceInfo, FSourceProperty, FSourcePropertyInfo, FSourcePropertyFrom);
end;

function TorvP2PConnection.GetTargetPropertyInfo: TorvPropertyInfo;
begin
  Result := CachedProperty(GetTargetInfo, FTargetProperty, FTargetPropertyInfo, FTargetPropertyFrom);
end;

function TorvP2PConnection.GetSourceEventInfo: TorvEventInfo;
begin
  Result := CachedEvent(GetSourceInfo, FSourceEvent, FSourceEventInfo, FSourceEventFrom);
end;

function TorvP2PConnection.GetTargetEventInfo: TorvEventInfo;
begin
  Result := CachedEvent(GetTargetInfo, FTargetEvent, FTargetEventInfo, FTargetEventFrom);
end;

procedure TorvP2PConnection.SetSourceProperty(const AValue: string);
begin
  if LinkPolicy <> nil then
    LinkPolicy.CheckChange(Self, lnP2PSourceProperty, AValue);
  if ChangePropertyName(FSourceProperty, AValue, GetSourceInfo, lnP2PSourceProperty,
    FSourcePropertyIndex, IsLoading) then
  begin
    // Outside loading the list was made anew for the property.
    FSourceIndexUnmade := FSourceIndexUnmade and IsLoading;
    FTyped.Stale := True;
  end;
end;

procedure TorvP2PConnection.SetTargetProperty(const AValue: string);
begin
  if LinkPolicy <> nil then
    LinkPolicy.CheckChange(Self, lnP2PTargetProperty, AValue);
  if ChangePropertyName(FTargetProperty, AValue, GetTargetInfo, lnP2PTargetProperty,
    FTargetPropertyIndex, IsLoading) then
  begin
    FTargetIndexUnmade := FTargetIndexUnmade and IsLoading;
    FTyped.Stale := True;
  end;
end;

procedure TorvP2PConnection.SetSourceEvent(const AValue: string);
begin
  if AValue = FSourceEvent then
    Exit;
  if not IsLoading and (AValue <> '') then
    RequireEvent(GetSourceInfo, AValue, lnP2PSourceEvent);
  FSourceEvent := AValue;
end;

procedure TorvP2PConnection.SetTargetEvent(const AValue: string);
begin
  if LinkPolicy <> nil then
    LinkPolicy.CheckChange(Self, lnP2PTargetEvent, AValue);
  if AValue = FTargetEvent then
    Exit;
  if not IsLoading and (AValue <> '') then
    RequireEvent(GetTargetInfo, AValue, lnP2PTargetEvent);
  FTargetEvent := AValue;
end;

function TorvP2PConnection.GetSourcePropertyIndex: Variant;
begin
  if FSourceIndexUnmade then
    Result := NewIndexList(1)
  else
    Result := FSourcePropertyIndex;
end;

function TorvP2PConnection.GetTargetPropertyIndex: Variant;
begin
  if FTargetIndexUnmade then
    Result := NewIndexList(1)
  else
    Result := FTargetPropertyIndex;
end;

procedure TorvP2PConnection.SetSourcePropertyIndex(const AValue: Variant);
begin
  if not IsLoading then
    CheckIndexList(AValue, GetSourceInfo, GetSourcePropertyInfo, ilSourcePropertyIndex);
  FSourcePropertyIndex := AValue;
  FSourceIndexUnmade := False;
  FTyped.Stale := True;
end;

procedure TorvP2PConnection.SetTargetPropertyIndex(const AValue: Variant);
begin
  if not IsLoading then
    CheckIndexList(AValue, GetTargetInfo, GetTargetPropertyInfo, ilTargetPropertyIndex);
  FTargetPropertyIndex := AValue;
  FTargetIndexUnmade := False;
  FTyped.Stale := True;
end;

procedure TorvP2PConnection.DefineProperties(Filer: TFiler);
begin
  inherited DefineProperties(Filer);
  // A writer stores a list not yet made as the list it stands for; a reader
  // replaces it by what the form holds, always an array.
  if not (Filer is TReader) then
  begin
    MakeIndexList(FSourcePropertyIndex, FSourceIndexUnmade);
    MakeIndexList(FTargetPropertyIndex, FTargetIndexUnmade);
  end;
  DefineIndexList(Filer, 'SourcePropertyIndexes', FSourcePropertyIndex);
  DefineIndexList(Filer, 'TargetPropertyIndexes', FTargetPropertyIndex);
  FSourceIndexUnmade := FSourceIndexUnmade and VarIsEmpty(FSourcePropertyIndex);
  FTargetIndexUnmade := FTargetIndexUnmade and VarIsEmpty(FTargetPropertyIndex);
  if Filer is TReader then
    FTyped.Stale := True;
end;

function TorvP2PConnection.Connect: Boolean;
var
  SourceInfo, TargetInfo: TorvClassInfo;
begin
  SourceInfo := GetSourceInfo;
  TargetInfo := GetTargetInfo;
  // The events are optional: without them the link copies once.
  Result := (SourceInfo <> nil) and (TargetInfo <> nil) and (GetSourcePropertyInfo <> nil) and
    (GetTargetPropertyInfo <> nil);
  if Result and (LinkPolicy <> nil) and not IsDesigning then
    LinkPolicy.CheckConnect(Self);
  if (LinkTrace <> nil) and not LinkTrace(Self, nil, tsConnect, [Result]) then
    Exit;
  if not Result or IsDesigning then
    Exit;
  FUpdating := False;
  ResolveTyped;
  Subscribe(FSourceListener, SourceInfo, GetSourceEventInfo, FSourceEvent);
  Subscribe(FTargetListener, TargetInfo, GetTargetEventInfo, FTargetEvent);
  if not WaitForInstance then
    SetTargetValue;
end;

function TorvP2PConnection.WaitForInstance: Boolean;
var
  Info: TorvClassInfo;
begin
  // A variable read from the form file is given its object only after the
  // form is read (in OnCreate, say), so a first copy now could only fail
  // and stop the form. Self itself can be copied from or to an empty one.
  DetachListener(FInstanceListener);
  Info := nil;
  if (FSourceProperty <> 'Self') and HoldsNothing(GetSourceInfo) then
    Info := GetSourceInfo
  else if (FTargetProperty <> 'Self') and HoldsNothing(GetTargetInfo) then
    Info := GetTargetInfo;
  Result := Info <> nil;
  if Result then
    Subscribe(FInstanceListener, Info, Info.FindEvent(InstanceChangeEvent), InstanceChangeEvent);
end;

procedure TorvP2PConnection.InstanceChanged(Sender: TObject; Event: TorvEventInfo);
begin
  if IsDesigning or WaitForInstance then
    Exit;
  // The variable's features now reach another object.
  FTyped.Stale := True;
  SetTargetValue;
end;

function TorvP2PConnection.Unresolved: string;
begin
  Result := NameProblem(GetSourceInfo, fkProperty, FSourceProperty, lnP2PSourceProperty);
  if Result = '' then
    Result := NameProblem(GetTargetInfo, fkProperty, FTargetProperty, lnP2PTargetProperty);
end;

procedure TorvP2PConnection.Unconnect;
begin
  // Each listener knows the class info it was added to, even when the side
  // that led there is already cleared.
  DetachListener(FSourceListener);
  DetachListener(FTargetListener);
  DetachListener(FInstanceListener);
  FTyped.Stale := True;
  // A side without component is tested on the field, not through its class
  // info: the class info of a component under destruction may be gone, and
  // so may the class info the feature caches came from. Clearing them here
  // also keeps a later class info at the same address from matching them.
  if Source = nil then
  begin
    FSourcePropertyInfo := nil;
    FSourcePropertyFrom := nil;
    FSourceEventInfo := nil;
    FSourceEventFrom := nil;
    SetSourceProperty('');
    SetSourceEvent('');
  end;
  if Target = nil then
  begin
    FTargetPropertyInfo := nil;
    FTargetPropertyFrom := nil;
    FTargetEventInfo := nil;
    FTargetEventFrom := nil;
    SetTargetProperty('');
    SetTargetEvent('');
  end;
end;

procedure TorvP2PConnection.ResolveTyped;
var
  SourceProp, TargetProp: TorvPropertyInfo;
  SameType: Boolean;
begin
  FTyped.Stale := False;
  FTyped.Kind := tyNone;
  // The handlers take a direction allowed here as the sign of a typed
  // resolution, so neither is allowed until one is made.
  FTyped.ToTarget := False;
  FTyped.ToSource := False;
  FTyped.SourceInfo := GetSourceInfo;
  FTyped.TargetInfo := GetTargetInfo;
  if (FTyped.SourceInfo = nil) or (FTyped.TargetInfo = nil) then
    Exit;
  SourceProp := GetSourcePropertyInfo;
  TargetProp := GetTargetPropertyInfo;
  // An indexed property takes its index list at every transfer: left to
  // the general path, like everything without typed accessors.
  if (SourceProp = nil) or (TargetProp = nil) or (SourceProp.GetIndexCount > 0) or
    (TargetProp.GetIndexCount > 0)
  then
    Exit;
  FTyped.Source := FTyped.SourceInfo.TypedAccess(SourceProp);
  FTyped.Target := FTyped.TargetInfo.TypedAccess(TargetProp);
  if (FTyped.Source = nil) or (FTyped.Target = nil) or
    (FTyped.Source^.Kind <> FTyped.Target^.Kind)
  then
    Exit;
  // Ordinals and objects of two types would need the checks a variant
  // conversion makes; strings, booleans and floats convert alike either way.
  SameType := FTyped.Source^.TypeName = FTyped.Target^.TypeName;
  if not SameType and (FTyped.Source^.Kind in [tyOrdinal, tyObject]) then
    Exit;
  FTyped.Kind := FTyped.Source^.Kind;
  FTyped.ToTarget := (FTyped.Source^.Getter <> nil) and (FTyped.Target^.Setter <> nil);
  FTyped.ToSource := (FTyped.Target^.Getter <> nil) and (FTyped.Source^.Setter <> nil);
end;

function TorvP2PConnection.TypedReady(AToTarget: Boolean;
  ASourceInfo, ATargetInfo: TorvClassInfo): Boolean;
begin
  // Each side compared with the class info it was resolved in: a component
  // replaced, or given a new class info, resolves again.
  if FTyped.Stale or (ASourceInfo <> FTyped.SourceInfo) or (ATargetInfo <> FTyped.TargetInfo) then
    ResolveTyped;
  if FTyped.Kind = tyNone then
    Result := False
  else if AToTarget then
    Result := FTyped.ToTarget
  else
    Result := FTyped.ToSource;
end;

procedure TorvP2PConnection.EndTransfer(var AFrame: TorvCallFrame);
begin
  if not AFrame.Gone then
    FUpdating := False;
  LeaveCall(AFrame);
end;

{ A copy through the typed accessors: the general path's steps without the
  variant, the index lists (neither property has any) and the lookups (the
  features were resolved in these class infos). It opens the one exception
  frame that the error replacement needs and no other: the string local is
  released by hand on the way out of the handler. }
{$IMPLICITEXCEPTIONS OFF}
procedure TorvP2PConnection.TypedTransfer(AToTarget: Boolean; AFromInfo,
  AToInfo: TorvClassInfo; AGetter, ASetter: Pointer);
var
  Frame: TorvCallFrame;
  Text: string;
  Ordinal: Int64;
  Flag: Boolean;
  Float: Double;
  Obj: TObject;
begin
  EnterFiring(Frame);
  FUpdating := True;
  // A getter or a setter may free either component, or the link. The
  // target's class info is read between the two calls, so it is held; the
  // source's is not touched once its getter is called.
  AToInfo.Hold;
  try
    case FTyped.Kind of
      tyString:
        begin
          Text := TorvGetString(AGetter)(AFromInfo.Owner);
          if not Frame.Gone and not AToInfo.Dying then
            TorvSetString(ASetter)(AToInfo.Owner, Text);
          if LinkTrace <> nil then
            LinkTrace(Self, @Frame, tsTransfer, [AToTarget, Text]);
        end;
      tyOrdinal:
        begin
          Ordinal := TorvGetOrdinal(AGetter)(AFromInfo.Owner);
          if not Frame.Gone and not AToInfo.Dying then
            TorvSetOrdinal(ASetter)(AToInfo.Owner, Ordinal);
          if LinkTrace <> nil then
            LinkTrace(Self, @Frame, tsTransfer, [AToTarget, Ordinal]);
        end;
      tyBoolean:
        begin
          Flag := TorvGetBoolean(AGetter)(AFromInfo.Owner);
          if not Frame.Gone and not AToInfo.Dying then
            TorvSetBoolean(ASetter)(AToInfo.Owner, Flag);
          if LinkTrace <> nil then
            LinkTrace(Self, @Frame, tsTransfer, [AToTarget, Flag]);
        end;
      tyFloat:
        begin
          Float := TorvGetFloat(AGetter)(AFromInfo.Owner);
          if not Frame.Gone and not AToInfo.Dying then
            TorvSetFloat(ASetter)(AToInfo.Owner, Float);
          if LinkTrace <> nil then
            LinkTrace(Self, @Frame, tsTransfer, [AToTarget, Float]);
        end;
      tyObject:
        begin
          Obj := TorvGetObject(AGetter)(AFromInfo.Owner);
          if not Frame.Gone and not AToInfo.Dying then
            TorvSetObject(ASetter)(AToInfo.Owner, Obj);
          if LinkTrace <> nil then
            LinkTrace(Self, @Frame, tsTransfer, [AToTarget, Obj]);
        end;
    end;
  except
    on E: Exception do
    begin
      Text := '';
      AToInfo.Unhold;
      EndTransfer(Frame);
      if IsFatalError(E) then
        raise;
      raise TransferError(E, Frame);
    end
    else
    begin
      Text := '';
      AToInfo.Unhold;
      EndTransfer(Frame);
      raise;
    end;
  end;
  AToInfo.Unhold;
  EndTransfer(Frame);
end;
{$IMPLICITEXCEPTIONS ON}

procedure TorvP2PConnection.VariantTransfer(AToTarget: Boolean);
var
  Frame: TorvCallFrame;
  SourceProp, TargetProp: TorvPropertyInfo;
begin
  // A name may have been changed after Connect; a feature that is not
  // there is neither read nor written.
  SourceProp := GetSourcePropertyInfo;
  if SourceProp = nil then
    raise EorvInvalidFeature.CreateFmt(rsUnresolvedFeature, ['SourceProperty', FSourceProperty, Name]);
  TargetProp := GetTargetPropertyInfo;
  if TargetProp = nil then
    raise EorvInvalidFeature.CreateFmt(rsUnresolvedFeature, ['TargetProperty', FTargetProperty, Name]);
  EnterFiring(Frame);
  FUpdating := True;
  // One handler, not a finally as well: a transfer runs at every firing.
  try
    CopyValue(AToTarget, SourceProp, TargetProp, Frame);
  except
    on E: Exception do
    begin
      EndTransfer(Frame);
      // The caller learns which link failed; the class info's own error
      // survives only as text. A fault of the program is not an error of
      // the link and passes unchanged.
      if IsFatalError(E) then
        raise;
      raise TransferError(E, Frame);
    end
    else
    begin
      EndTransfer(Frame);
      raise;
    end;
  end;
  EndTransfer(Frame);
end;

procedure TorvP2PConnection.Transfer(AToTarget: Boolean; ASourceInfo, ATargetInfo: TorvClassInfo);
begin
  // Dropped, not postponed: this is how echoes and cycles end.
  if FUpdating then
  begin
    if LinkTrace <> nil then
      LinkTrace(Self, nil, tsEcho, [AToTarget]);
    Exit;
  end;
  // The direction is known where this is inlined: each handler passes
  // its own pair of class infos and accessors.
  if not TypedReady(AToTarget, ASourceInfo, ATargetInfo) then
    VariantTransfer(AToTarget)
  else if AToTarget then
    TypedTransfer(True, FTyped.SourceInfo, FTyped.TargetInfo, FTyped.Source^.Getter,
      FTyped.Target^.Setter)
  else
    TypedTransfer(False, FTyped.TargetInfo, FTyped.SourceInfo, FTyped.Target^.Getter,
      FTyped.Source^.Setter);
end;

procedure TorvP2PConnection.EchoDropped(AListener: TorvListener);
begin
  // The source's listener hears changes copied to the target.
  if LinkTrace <> nil then
    LinkTrace(Self, nil, tsEcho, [AListener = FSourceListener]);
end;

procedure TorvP2PConnection.SourcePropertyChange(Sender: TObject; Event: TorvEventInfo);
begin
  // The usual firing in one test: nothing under way, the resolution
  // current, the sides and their class infos the ones it was made for.
  if FTyped.ToTarget and not FTyped.Stale and not FUpdating and
    not (csDesigning in ComponentState) and (Sender = Source) and
    SidesAre(FTyped.SourceInfo, FTyped.TargetInfo)
  then
    TypedTransfer(True, FTyped.SourceInfo, FTyped.TargetInfo, FTyped.Source^.Getter,
      FTyped.Target^.Setter)
  else
    SourceFired(Sender);
end;

procedure TorvP2PConnection.TargetPropertyChange(Sender: TObject; Event: TorvEventInfo);
begin
  if FTyped.ToSource and not FTyped.Stale and not FUpdating and
    not (csDesigning in ComponentState) and (Sender = Target) and
    SidesAre(FTyped.SourceInfo, FTyped.TargetInfo)
  then
    TypedTransfer(False, FTyped.TargetInfo, FTyped.SourceInfo, FTyped.Target^.Getter,
      FTyped.Source^.Setter)
  else
    TargetFired(Sender);
end;

procedure TorvP2PConnection.SourceFired(Sender: TObject);
var
  Info, Other: TorvClassInfo;
begin
  if csDesigning in ComponentState then
    Exit;
  Info := GetSourceInfo;
  if (Info = nil) or (Sender <> Info.Owner) then
    Exit;
  Other := GetTargetInfo;
  Transfer(True, Info, Other);
end;

procedure TorvP2PConnection.TargetFired(Sender: TObject);
var
  Info, Other: TorvClassInfo;
begin
  if csDesigning in ComponentState then
    Exit;
  Info := GetTargetInfo;
  if (Info = nil) or (Sender <> Info.Owner) then
    Exit;
  Other := GetSourceInfo;
  Transfer(False, Other, Info);
end;

procedure TorvP2PConnection.SetTargetValue;
begin
  Transfer(True, GetSourceInfo, GetTargetInfo);
end;

procedure TorvP2PConnection.SetSourceValue;
begin
  Transfer(False, GetSourceInfo, GetTargetInfo);
end;

function TorvP2PConnection.TransferError(E: Exception; constref AFrame: TorvCallFrame): Exception;
begin
  // A setter may have freed the link before its error arrives here; the
  // frame kept its name then.
  if AFrame.Gone then
    Result := Exception.CreateFmt(rsTransferFailed, [E.Message, AFrame.GoneName])
  else
    Result := Exception.CreateFmt(rsTransferFailed, [E.Message, Name]);
  if LinkTrace <> nil then
    LinkTrace(Self, @AFrame, tsError, [E.Message]);
end;

procedure TorvP2PConnection.CopyValue(AToTarget: Boolean; ASourceProp,
  ATargetProp: TorvPropertyInfo; constref AFrame: TorvCallFrame);
var
  FromInfo, ToInfo: TorvClassInfo;
  FromProp, ToProp: TorvPropertyInfo;
  Value: Variant;
begin
  // Both lists, each time: the index parameters are shared with every other
  // user of the same property of the same component.
  ApplyIndexList(FSourcePropertyIndex, ASourceProp, FSourceIndexUnmade);
  ApplyIndexList(FTargetPropertyIndex, ATargetProp, FTargetIndexUnmade);
  // The properties were found in the sides' current class infos, which
  // their caches compared.
  if AToTarget then
  begin
    FromInfo := GetSourceInfo;
    FromProp := ASourceProp;
    ToInfo := GetTargetInfo;
    ToProp := ATargetProp;
  end
  else
  begin
    FromInfo := GetTargetInfo;
    FromProp := ATargetProp;
    ToInfo := GetSourceInfo;
    ToProp := ASourceProp;
  end;
  // Both held across both calls: a getter or a setter may free either
  // component, or the link; the held class infos and their features stay
  // readable until the holds end.
  FromInfo.Hold;
  ToInfo.Hold;
  try
    Value := FromInfo.GetProperty(FromProp);
    if not AFrame.Gone and not ToInfo.Dying then
      ToInfo.SetProperty(ToProp, Value);
    if LinkTrace <> nil then
      LinkTrace(Self, @AFrame, tsTransfer, [AToTarget, Value]);
  finally
    ToInfo.Unhold;
    FromInfo.Unhold;
  end;
end;

function TorvP2PConnection.DescribeJoin: string;
begin
  Result := SideText(Source, FSourceProperty) + ' -> ' + SideText(Target, FTargetProperty);
end;

initialization
  // Form files are read by applications that never load the design package.
  RegisterClass(TorvP2PConnection);
end.
