{ Walks over the bindings of graphics, image lists, action lists and
  controls: their registration, their totals, and, for every registered
  binding, that a handler the owner had before is run while the binding is
  attached and is the owner's again after it lets go. }
unit Orvtestctrlwalk;

{$I orvdefines.inc}

interface

uses
  Classes, SysUtils, fpcunit, testregistry,
  Orvcommon;

type
  TTestControlsWalk = class(TTestCase)
  private
    FNames: TStringList;
    FFailures: TStringList;
    procedure AddName(const AClassName: string);
    procedure CheckUnitTotals(const AUnit: string; const ANames: array of string;
      AProperties, AMethods, AFunctions, AConstructors, AEvents, APropertyOverrides,
      AEventOverrides: Integer);
  protected
    procedure SetUp; override;
    procedure TearDown; override;
  published
    procedure TestNamesAreRegisteredInTableOrder;
    procedure TestTotalsOfEachUnit;
    procedure TestUserHandlersRunAndComeBack;
  end;

implementation

uses
  Graphics, ImgList, Controls, StdCtrls, Forms, ActnList, LCLType,
  Orvstandins, Orvmetadump, Orvtestwalk;

const
  ImgListNames: array[0..1] of string = ('TChangeLink', 'TCustomImageList');
  ActnListNames: array[0..5] of string = ('TContainedAction', 'TCustomActionList', 'TActionList',
    'TCustomAction', 'TAction', 'TActionLink');
  GraphicsNames: array[0..14] of string = ('TGraphicsObject', 'TFont', 'TPen', 'TBrush',
    'TCanvas', 'TGraphic', 'TPicture', 'TMetafileCanvas', 'TSharedImage', 'TMetafileImage',
    'TMetafile', 'TBitmapImage', 'TBitmap', 'TIconImage', 'TIcon');
  ControlsNames: array[0..17] of string = ('TDragObject', 'TBaseDragControlObject',
    'TDragControlObject', 'TDragDockObject', 'TControlCanvas', 'TControlActionLink',
    'TSizeConstraints', 'TControl', 'TWinControlActionLink', 'TWinControl', 'TGraphicControl',
    'TCustomControl', 'THintWindow', 'TDragImageList', 'TImageList', 'TDockZone', 'TDockTree',
    'TMouse');

{ Host objects of these units for the walks }

function MakeControlsHost(const AName: string; out ASubject: TObject; AKeep: TFPList): Boolean;
var
  Site: TWinControl;
  Tree: TDockTree;
  Control: TControl;
begin
  ASubject := nil;
  Result := True;
  case AName of
    'TGraphicsObject': ASubject := TGraphicsObject.Create;
    'TFont': ASubject := TFont.Create;
    'TPen': ASubject := TPen.Create;
    'TBrush': ASubject := TBrush.Create;
    'TCanvas': ASubject := TCanvas.Create;
    // The host's TGraphic and TSharedImage are abstract.
    'TGraphic', 'TBitmap': ASubject := TBitmap.Create;
    'TSharedImage', 'TBitmapImage': ASubject := TBitmapImage.Create;
    'TPicture': ASubject := TPicture.Create;
    'TMetafileCanvas': ASubject := TMetafileCanvas.Create(nil, 0);
    'TMetafileImage': ASubject := TMetafileImage.Create;
    'TMetafile': ASubject := TMetafile.Create;
    'TIconImage': ASubject := TIconImage.Create(pf32bit, 16, 16);
    'TIcon': ASubject := TIcon.Create;
    'TChangeLink': ASubject := TChangeLink.Create;
    'TCustomImageList': ASubject := TCustomImageList.Create(nil);
    'TContainedAction': ASubject := TContainedAction.Create(nil);
    'TCustomActionList': ASubject := TCustomActionList.Create(nil);
    'TActionList': ASubject := TActionList.Create(nil);
    'TCustomAction': ASubject := TCustomAction.Create(nil);
    'TAction': ASubject := TAction.Create(nil);
    'TActionLink': ASubject := TActionLink.Create(nil);
    'TDragObject': ASubject := TDragObject.Create(nil);
    'TBaseDragControlObject', 'TDragControlObject', 'TDragDockObject':
      begin
        // The LCL's control drag objects reach their control unchecked.
        Control := TControl.Create(nil);
        AKeep.Add(Control);
        case AName of
          'TBaseDragControlObject': ASubject := TBaseDragControlObject.Create(Control);
          'TDragControlObject': ASubject := TDragControlObject.Create(Control);
        else
          ASubject := TDragDockObject.Create(Control);
        end;
      end;
    'TControlCanvas': ASubject := TControlCanvas.Create;
    'TControlActionLink': ASubject := TControlActionLink.Create(nil);
    'TWinControlActionLink': ASubject := TWinControlActionLink.Create(nil);
    'TSizeConstraints':
      begin
        Control := TControl.Create(nil);
        AKeep.Add(Control);
        ASubject := TSizeConstraints.Create(Control);
      end;
    'TControl': ASubject := TControl.Create(nil);
    'TWinControl': ASubject := TWinControl.Create(nil);
    'TGraphicControl': ASubject := TGraphicControl.Create(nil);
    'TCustomControl': ASubject := TCustomControl.Create(nil);
    'THintWindow': ASubject := THintWindow.Create(nil);
    'TDragImageList': ASubject := TDragImageList.Create(nil);
    'TImageList': ASubject := TImageList.Create(nil);
    'TDockZone', 'TDockTree':
      begin
        Site := TWinControl.Create(nil);
        Tree := TDockTree.Create(Site);
        if AName = 'TDockTree' then
          ASubject := Tree
        else
        begin
          ASubject := TDockZone.Create(Tree, nil);
          AKeep.Add(Tree);
        end;
        AKeep.Add(Site);
      end;
    'TMouse': ASubject := TMouse.Create;
  else
    Result := False;
  end;
end;

{ Handlers of the owner's own }

type
  { A handler that any event type may call: it only counts, and never looks
    at what it is given, so it is safe whatever the event passes. }
  TSink = class
  public
    Calls: Integer;
    procedure Heard(Sender: TObject);
  end;

  TSlots = array of PtrInt;

  TControlAccess = class(TControl);
  TCheckBoxAccess = class(TCustomCheckBox);
  TGraphicAccess = class(TGraphic);
  TPictureAccess = class(TPicture);
  TSizeConstraintsAccess = class(TSizeConstraints);
  TCustomActionListAccess = class(TCustomActionList);

procedure TSink.Heard(Sender: TObject);
begin
  Inc(Calls);
end;

{ Return the offsets of the method fields of AHost that AInfo hooks: those
  whose object half is AInfo while it is attached. }
function HookedSlots(AHost: TObject; AInfo: TorvClassInfo): TSlots;
var
  Offset: PtrInt;
  Base: PByte;
begin
  Result := nil;
  AInfo.SetOwner(AHost);
  try
    Base := PByte(AHost);
    Offset := SizeOf(Pointer);
    while Offset + SizeOf(TMethod) <= AHost.InstanceSize do
    begin
      if PPointer(Base + Offset + SizeOf(Pointer))^ = Pointer(AInfo) then
      begin
        SetLength(Result, Length(Result) + 1);
        Result[High(Result)] := Offset;
      end;
      Inc(Offset, SizeOf(Pointer));
    end;
  finally
    AInfo.SetOwner(nil);
  end;
end;

function SlotOf(AHost: TObject; AOffset: PtrInt): PMethod; inline;
begin
  Result := PMethod(PByte(AHost) + AOffset);
end;

{ Make the host fire one of its events as it does when used, where a way is
  known; answer False where none is. }
function FireOne(AHost: TObject): Boolean;
begin
  Result := True;
  // The LCL's check boxes ignore Click: a change of state fires OnClick.
  if AHost is TCustomCheckBox then
    TCheckBoxAccess(AHost).Checked := not TCheckBoxAccess(AHost).Checked
  else if AHost is TControl then
    TControlAccess(AHost).Click
  else if AHost is TFont then
    TFont(AHost).Size := TFont(AHost).Size + 3
  else if AHost is TPen then
    TPen(AHost).Width := TPen(AHost).Width + 2
  else if AHost is TBrush then
    TBrush(AHost).Color := TBrush(AHost).Color xor $FF
  else if AHost is TCanvas then
    TCanvas(AHost).Changed
  else if AHost is TGraphic then
    TGraphicAccess(AHost).Changed(AHost)
  else if AHost is TPicture then
    TPictureAccess(AHost).Changed(AHost)
  else if AHost is TBasicAction then
    TBasicAction(AHost).Execute
  else if AHost is TCustomImageList then
    // The LCL's list tells of a change only when it has one to tell.
    TCustomImageList(AHost).Clear
  else if AHost is TChangeLink then
    TChangeLink(AHost).Change
  else if AHost is TSizeConstraints then
    TSizeConstraints(AHost).MaxWidth := TSizeConstraints(AHost).MaxWidth + 50
  else if AHost is TCustomActionList then
    TCustomActionListAccess(AHost).Change
  else
    Result := False;
end;

{ TTestControlsWalk }

procedure TTestControlsWalk.SetUp;
begin
  FNames := TStringList.Create;
  FFailures := TStringList.Create;
  TorvClassRegistry.Iterate(@AddName);
end;

procedure TTestControlsWalk.TearDown;
begin
  FFailures.Free;
  FNames.Free;
end;

procedure TTestControlsWalk.AddName(const AClassName: string);
begin
  if not IsTestOnly(AClassName) then
    FNames.Add(AClassName);
end;

procedure TTestControlsWalk.TestNamesAreRegisteredInTableOrder;
var
  Names: TStringList;
  I, Last: Integer;

  procedure Add(const AUnitNames: array of string);
  var
    J: Integer;
  begin
    for J := 0 to High(AUnitNames) do
      Names.Add(AUnitNames[J]);
  end;

begin
  Names := TStringList.Create;
  try
    // The units start in this order, each registering in its table's order.
    Add(ImgListNames);
    Add(ActnListNames);
    Add(GraphicsNames);
    Add(ControlsNames);
    AssertEquals(41, Names.Count);
    Last := -1;
    for I := 0 to Names.Count - 1 do
    begin
      AssertNotNull(Names[I] + ' is registered', TorvClassRegistry.FindClass(Names[I]));
      AssertEquals(Names[I] + 'ClassInfo', TorvClassRegistry.FindClass(Names[I]).ClassName);
      AssertTrue(Names[I] + ' comes after ' + Names[I - Ord(I > 0)],
        FNames.IndexOf(Names[I]) > Last);
      Last := FNames.IndexOf(Names[I]);
    end;
    AssertEquals('registered one after the other', Names.Count - 1,
      FNames.IndexOf(Names[Names.Count - 1]) - FNames.IndexOf(Names[0]));
  finally
    Names.Free;
  end;
end;

{ Count the Override entries that AInfoClass makes: the inherited features
  whose visibility or style it changes. }
procedure CountOverrides(AInfoClass: TorvClassInfoClass; var AProperties, AEvents: Integer);
var
  Info, Parent: TorvClassInfo;
  I: Integer;
  Prop, Inherited_: TorvPropertyInfo;
begin
  Info := DeclaredInfo(AInfoClass);
  Parent := DeclaredInfo(TorvClassInfoClass(AInfoClass.ClassParent));
  try
    for I := 0 to Parent.GetPropertyCount - 1 do
    begin
      Prop := Info.GetProperties(I);
      Inherited_ := Parent.GetProperties(I);
      if (Prop.Visibility <> Inherited_.Visibility) or (Prop.Styles <> Inherited_.Styles) then
        Inc(AProperties);
    end;
    for I := 0 to Parent.GetEventCount - 1 do
      if Info.GetEvents(I).Visibility <> Parent.GetEvents(I).Visibility then
        Inc(AEvents);
  finally
    Parent.Free;
    Info.Free;
  end;
end;

procedure TTestControlsWalk.CheckUnitTotals(const AUnit: string; const ANames: array of string;
  AProperties, AMethods, AFunctions, AConstructors, AEvents, APropertyOverrides,
  AEventOverrides: Integer);
var
  Sum, Own: TorvFeatureCounts;
  PropertyOverrides, EventOverrides, I: Integer;
begin
  Sum := Default(TorvFeatureCounts);
  PropertyOverrides := 0;
  EventOverrides := 0;
  for I := 0 to High(ANames) do
  begin
    Own := OwnFeatures(TorvClassRegistry.FindClass(ANames[I]));
    Inc(Sum.Properties, Own.Properties);
    Inc(Sum.Methods, Own.Methods);
    Inc(Sum.Functions, Own.Functions);
    Inc(Sum.Constructors, Own.Constructors);
    Inc(Sum.Events, Own.Events);
    CountOverrides(TorvClassRegistry.FindClass(ANames[I]), PropertyOverrides, EventOverrides);
  end;
  AssertEquals(AUnit + ' properties', AProperties, Sum.Properties);
  AssertEquals(AUnit + ' methods', AMethods, Sum.Methods);
  AssertEquals(AUnit + ' functions', AFunctions, Sum.Functions);
  AssertEquals(AUnit + ' constructors', AConstructors, Sum.Constructors);
  AssertEquals(AUnit + ' events', AEvents, Sum.Events);
  AssertEquals(AUnit + ' property overrides', APropertyOverrides, PropertyOverrides);
  AssertEquals(AUnit + ' event overrides', AEventOverrides, EventOverrides);
end;

procedure TTestControlsWalk.TestTotalsOfEachUnit;
begin
  CheckUnitTotals('Orvgraphics', GraphicsNames, 64, 49, 10, 7, 7, 0, 0);
  CheckUnitTotals('Orvimglist', ImgListNames, 12, 30, 13, 1, 2, 0, 0);
  // Of the 14 property overrides, THintWindow's BiDiMode gives the property
  // the public visibility it has already, which leaves no trace to count.
  CheckUnitTotals('Orvcontrols', ControlsNames, 118, 78, 32, 6, 28, 14 - 1, 1);
  CheckUnitTotals('Orvactnlist', ActnListNames, 15, 2, 2, 0, 4, 9, 6);
end;

procedure TTestControlsWalk.TestUserHandlersRunAndComeBack;
var
  I, J, Fired, Walked, Calls: Integer;
  Host: THost;
  Info: TorvClassInfo;
  Slots: TSlots;
  Sinks: array of TSink;
  Before: TBytes;

  procedure Failure(const AText: string);
  begin
    FFailures.Add(FNames[I] + ': ' + AText);
  end;

  function SinkCalls: Integer;
  var
    K: Integer;
  begin
    Result := 0;
    for K := 0 to High(Sinks) do
      Inc(Result, Sinks[K].Calls);
  end;

begin
  Walked := 0;
  Fired := 0;
  for I := 0 to FNames.Count - 1 do
  begin
    Host := MakeHost(FNames[I]);
    if Host.Subject = nil then
      Continue;
    Info := nil;
    Sinks := nil;
    try
      Info := DeclaredInfo(TorvClassRegistry.FindClass(FNames[I]));
      Slots := HookedSlots(Host.Subject, Info);
      if Length(Slots) = 0 then
        Continue;
      SetLength(Before, Host.Subject.InstanceSize);
      Move(Pointer(Host.Subject)^, Before[0], Length(Before));
      // The owner's own handlers, one sink for each event field.
      SetLength(Sinks, Length(Slots));
      for J := 0 to High(Slots) do
      begin
        Sinks[J] := TSink.Create;
        SlotOf(Host.Subject, Slots[J])^.Code := Pointer(@TSink.Heard);
        SlotOf(Host.Subject, Slots[J])^.Data := Sinks[J];
      end;
      Info.SetOwner(Host.Subject);
      for J := 0 to High(Slots) do
        if SlotOf(Host.Subject, Slots[J])^.Data <> Pointer(Info) then
          Failure(Format('the field at %d is not hooked over a handler', [Slots[J]]));
      // Hooking may fire events already (an action's OnChange).
      Calls := SinkCalls;
      if FireOne(Host.Subject) then
      begin
        Inc(Fired);
        if SinkCalls = Calls then
          Failure('the owner''s handler did not run');
      end;
      Info.SetOwner(nil);
      for J := 0 to High(Slots) do
        if SlotOf(Host.Subject, Slots[J])^.Data <> Pointer(Sinks[J]) then
          Failure(Format('the field at %d did not get its handler back', [Slots[J]]));
      Inc(Walked);
      // The host goes with the handlers it was made with.
      for J := 0 to High(Slots) do
        SlotOf(Host.Subject, Slots[J])^ := PMethod(@Before[Slots[J]])^;
    finally
      Info.Free;
      FreeHost(Host);
      for J := 0 to High(Sinks) do
        Sinks[J].Free;
    end;
  end;
  AssertTrue('bindings with events were walked', Walked > 20);
  AssertTrue('hosts fired events', Fired > 15);
  if FFailures.Count > 0 then
    Fail(IntToStr(FFailures.Count) + ' problem(s):' + LineEnding + FFailures.Text);
end;

initialization
  RegisterHostMaker(@MakeControlsHost);
  RegisterTest('Bindings', TTestControlsWalk);
end.
