{ The design-time integration outside the IDE: what the property editors
  offer and refuse, the index and parameter dialogs behind them, the
  component editors' menus and double-click, the order of the
  registrations, the classes the runtime package registers for streaming,
  and the about box. }
unit Orvtestdesign;

{$I orvdefines.inc}

interface

uses
  Classes, SysUtils, TypInfo, Variants, fpcunit, testregistry,
  Orvcommon, Orvsystem, Orvclasses, Orvconlist, Orvp2p, Orve2p, Orve2m, Orvvar,
  Orvdesigner, Orvverbs;

type
  { A component whose binding has a property of each style and visibility,
    an indexed property, a protected event and two methods. }
  TDesignProbe = class(TComponent);
  { Derived from a bound class without being bound itself. }
  TDesignProbeChild = class(TDesignProbe);

  TDesignProbeClassInfo = class(TComponentClassInfo);

  TNameRoutine = procedure(AInstance: TPersistent; const APropName: string;
    AProc: TGetStrProc);
  { The routines that refuse names, as one parameterised step. }
  TAttempt = (atPropertyNames, atCheckPropertyName, atPropertyOffered, atEventNames,
    atCheckEventName, atCheckParameterName, atMethodNames, atCheckMethodName, atIndexText);

  { One link of each kind, between two probes, on one root. }
  TDesignCase = class(TTestCase)
  protected
    FRoot: TComponent;
    FSource, FTarget: TDesignProbe;
    FP2P: TorvP2PConnection;
    FE2P: TorvE2PConnection;
    FE2M: TorvE2MConnection;
    FDesigner: TorvDesigner;
    FNames: TStringList;
    procedure SetUp; override;
    procedure TearDown; override;
    procedure Collect(const S: string);
    { Return what ARoutine offers for APropName of AInstance, comma-separated. }
    function Offered(ARoutine: TNameRoutine; AInstance: TPersistent; const APropName: string): string;
    { Return the first parameter connection of the event-to-method link. }
    function Parameter: TorvParameterConnection;
    { Run the routine AAttempt for APropName of AInstance with AValue. }
    procedure Attempt(AAttempt: TAttempt; AInstance: TPersistent; const APropName, AValue: string);
    { Run it; it must raise EPropertyError with AMessage. }
    procedure ExpectRefusal(const AMessage: string; AAttempt: TAttempt; AInstance: TPersistent;
      const APropName: string; const AValue: string = '');
  end;

  TTestDesignValueLists = class(TDesignCase)
  private
    { Check that the names offered for APropName are exactly the properties
      of AInfo that are not protected and have AStyle, in their order. }
    procedure CheckPropertyList(AInstance: TPersistent; const APropName: string;
      AInfo: TorvClassInfo; AStyle: TorvPropertyStyleFlag);
  published
    procedure TestPropertyNamesFollowStyleAndVisibility;
    procedure TestEmptySideOffersAndStoresNothing;
    procedure TestEventAndMethodNames;
    procedure TestEventParametersInDeclarationOrder;
    procedure TestBindableComponentsAndClassNames;
    procedure TestTypedNamesAreCheckedExactly;
    procedure TestUnknownPropertyIsRefused;
  end;

  TTestDesignDialogs = class(TDesignCase)
  private
    FSavedIndexFunc: Pointer;
    FSavedParamsProc: Pointer;
    FSavedConnectionsProc: Pointer;
  protected
    procedure SetUp; override;
    procedure TearDown; override;
  published
    procedure TestIndexListText;
    procedure TestIndexEditorValuesAreStored;
    procedure TestIndexEditorLeftWithoutValues;
    procedure TestMethodParameterWindowOfTheLink;
    procedure TestConnectionsEditorThroughTheHook;
    procedure TestMissingEditorIsReported;
  end;

  TTestDesignRegistration = class(TTestCase)
  private
    { Check AKind's menu against ACaptions (an empty caption: any text but
      empty) and the entries that do something. }
    procedure CheckMenu(AKind: TorvComponentEditorKind; const ACaptions: array of string;
      AAbout, AEdit: Integer);
  published
    procedure TestMenus;
    procedure TestCallsInOrder;
    procedure TestEditedPropertiesExist;
    procedure TestRuntimeRegistersStreamingClasses;
  end;

  TTestAboutBox = class(TTestCase)
  published
    procedure TestControls;
    procedure TestLinksOpenTheSite;
  end;

implementation

uses
  Math, Forms, Controls, Graphics, StdCtrls,
  Orvpropvalues, Orveditorhooks, Orvregistrar, Orvabout;

const
  ProbeDescriptors: TorvDescriptors = (
    Properties: 'Define::Both::psReadable..psWritable::pvPublished::0::' +
      'Define::ReadOnly::psReadable::pvPublic::0::' +
      'Define::WriteOnly::psWritable::pvPublished::0::' +
      'Define::Hidden::psReadable..psWritable::pvProtected::0::' +
      'Define::Items::psReadable..psWritable..psIndexed::pvPublic::2::Index::Name';
    Methods: 'Ping::msProcedure::0::Sum::msFunction::2::A::B';
    Constructors: '';
    Events: 'Define::OnPing::pvPublished::2::Sender::Value::' +
      'Define::OnSecret::pvProtected::1::Sender');

type
  TVariantArray = array of Variant;

{ The dialogs the fakes below stand in for report here. }
var
  Called: string;
  SlotValues: TVariantArray;
  AnswerEdited: Boolean;

function VarSlots(const AFirst, ASecond: Variant): TVariantArray;
begin
  Result := nil;
  SetLength(Result, 2);
  Result[0] := AFirst;
  Result[1] := ASecond;
end;

function FakeIndexEditor(ADesigner: TorvDesigner; AInstance: TObject;
  const AIndex: Variant; APropertyInfo: TorvPropertyInfo): Boolean;
var
  I: Integer;
begin
  Called := Format('index %s %s %d', [TComponent(AInstance).Name, APropertyInfo.Name,
    VarArrayHighBound(AIndex, 1) + 1]);
  for I := 0 to High(SlotValues) do
    APropertyInfo.GetIndexes(I).Value := SlotValues[I];
  Result := AnswerEdited;
end;

procedure FakeParameterWindow(ADesigner: TorvDesigner; AConnection: TorvE2MConnection);
begin
  Called := 'parameters ' + AConnection.Name;
end;

procedure FakeConnectionsEditor(ADesigner: TorvDesigner; AConnectionList: TComponent);
begin
  Called := 'connections ' + AConnectionList.Name + ' of ' + ADesigner.Root.Name;
end;

{ TDesignCase }

procedure TDesignCase.SetUp;
begin
  FRoot := TComponent.Create(nil);
  FRoot.Name := 'Root';
  FSource := TDesignProbe.Create(FRoot);
  FSource.Name := 'Src';
  FTarget := TDesignProbe.Create(FRoot);
  FTarget.Name := 'Dst';
  FP2P := TorvP2PConnection.Create(FRoot);
  FP2P.Name := 'P2P';
  FE2P := TorvE2PConnection.Create(FRoot);
  FE2P.Name := 'E2P';
  FE2M := TorvE2MConnection.Create(FRoot);
  FE2M.Name := 'E2M';
  FDesigner := TorvRootDesigner.Create(FRoot);
  FNames := TStringList.Create;
end;

procedure TDesignCase.TearDown;
begin
  FreeAndNil(FNames);
  FreeAndNil(FDesigner);
  FreeAndNil(FRoot);
end;

procedure TDesignCase.Collect(const S: string);
begin
  FNames.Add(S);
end;

function TDesignCase.Offered(ARoutine: TNameRoutine; AInstance: TPersistent;
  const APropName: string): string;
begin
  FNames.Clear;
  ARoutine(AInstance, APropName, @Collect);
  Result := FNames.CommaText;
end;

function TDesignCase.Parameter: TorvParameterConnection;
begin
  Result := FE2M.TargetMethodParameters[0];
end;

procedure TDesignCase.Attempt(AAttempt: TAttempt; AInstance: TPersistent;
  const APropName, AValue: string);
begin
  case AAttempt of
    atPropertyNames: Offered(@orvGetPropertyNames, AInstance, APropName);
    atCheckPropertyName: orvCheckPropertyName(AInstance, APropName, AValue);
    atPropertyOffered:
      orvIsPropertyOffered(APropName, TorvClassRegistry.GetInfo(FSource).FindProperty(AValue));
    atEventNames: Offered(@orvGetEventNames, AInstance, APropName);
    atCheckEventName: orvCheckEventName(AInstance, APropName, AValue);
    atCheckParameterName: orvCheckEventParameterName(AInstance, AValue);
    atMethodNames: Offered(@orvGetMethodNames, AInstance, APropName);
    atCheckMethodName: orvCheckMethodName(AInstance, APropName, AValue);
    atIndexText: orvIndexListText(AInstance, APropName);
  end;
end;

procedure TDesignCase.ExpectRefusal(const AMessage: string; AAttempt: TAttempt;
  AInstance: TPersistent; const APropName: string; const AValue: string);
var
  What: string;
begin
  What := Format('%s %s of %s with "%s"', [GetEnumName(TypeInfo(TAttempt), Ord(AAttempt)),
    APropName, AInstance.ClassName, AValue]);
  try
    Attempt(AAttempt, AInstance, APropName, AValue);
  except
    on E: EPropertyError do
    begin
      AssertEquals(What, AMessage, E.Message);
      Exit;
    end;
  end;
  Fail(What + ': no refusal');
end;

{ Adapters so that every routine can be handed to Offered. }

procedure EventParameterNames(AInstance: TPersistent; const APropName: string; AProc: TGetStrProc);
begin
  orvGetEventParameterNames(AInstance, AProc);
end;

{ TTestDesignValueLists }

procedure TTestDesignValueLists.CheckPropertyList(AInstance: TPersistent;
  const APropName: string; AInfo: TorvClassInfo; AStyle: TorvPropertyStyleFlag);
var
  Expected: TStringList;
  Prop: TorvPropertyInfo;
  I: Integer;
begin
  Expected := TStringList.Create;
  try
    for I := 0 to AInfo.GetPropertyCount - 1 do
    begin
      Prop := AInfo.GetProperties(I);
      if (Prop.Visibility <> pvProtected) and (AStyle in Prop.Styles) then
        Expected.Add(Prop.Name);
    end;
    AssertEquals(APropName, Expected.CommaText, Offered(@orvGetPropertyNames, AInstance, APropName));
  finally
    Expected.Free;
  end;
end;

procedure TTestDesignValueLists.TestPropertyNamesFollowStyleAndVisibility;
var
  Info: TorvClassInfo;
  Source, Target: string;
begin
  FP2P.Source := FSource;
  FP2P.Target := FTarget;
  FE2P.Target := FTarget;
  FE2P.ValueComponent := FSource;
  FE2M.Source := FSource;
  FE2M.Target := FTarget;
  FE2M.TargetMethod := 'Sum';
  Parameter.Component := FSource;
  Info := TorvClassRegistry.GetInfo(FSource);
  CheckPropertyList(FP2P, 'SourceProperty', Info, psReadable);
  CheckPropertyList(FP2P, 'TargetProperty', Info, psWritable);
  CheckPropertyList(FE2P, 'TargetProperty', Info, psWritable);
  CheckPropertyList(FE2P, 'ValueComponentProperty', Info, psReadable);
  CheckPropertyList(Parameter, 'ComponentProperty', Info, psReadable);

  Source := ',' + Offered(@orvGetPropertyNames, FP2P, 'SourceProperty') + ',';
  Target := ',' + Offered(@orvGetPropertyNames, FP2P, 'TargetProperty') + ',';
  AssertTrue('read-only offered as source', Pos(',ReadOnly,', Source) > 0);
  AssertFalse('read-only offered as target', Pos(',ReadOnly,', Target) > 0);
  AssertTrue('write-only offered as target', Pos(',WriteOnly,', Target) > 0);
  AssertFalse('write-only offered as source', Pos(',WriteOnly,', Source) > 0);
  AssertFalse('protected offered', Pos(',Hidden,', Source + Target) > 0);
  AssertTrue('indexed offered', Pos(',Items,', Source) > 0);
end;

procedure TTestDesignValueLists.TestEmptySideOffersAndStoresNothing;
begin
  AssertEquals('no source', '', Offered(@orvGetPropertyNames, FP2P, 'SourceProperty'));
  AssertEquals('no selection', '', Offered(@orvGetPropertyNames, nil, 'SourceProperty'));
  AssertEquals('no event side', '', Offered(@orvGetEventNames, FE2P, 'SourceEvent'));
  AssertEquals('no target', '', Offered(@orvGetMethodNames, FE2M, 'TargetMethod'));
  AssertEquals('no event', '', Offered(@EventParameterNames, FE2P, 'ValueEventParameter'));
  AssertEquals('typed name without source', '', orvCheckPropertyName(FP2P, 'SourceProperty', 'Both'));
  AssertEquals('typed event without source', '', orvCheckEventName(FP2P, 'SourceEvent', 'OnPing'));
  AssertEquals('typed method without target', '', orvCheckMethodName(FE2M, 'TargetMethod', 'Ping'));
  AssertEquals('typed parameter without event', '',
    orvCheckEventParameterName(FE2P, 'Sender'));
end;

procedure TTestDesignValueLists.TestEventAndMethodNames;
var
  Info: TorvClassInfo;
  Events, Methods: TStringList;
  I: Integer;
begin
  FP2P.Source := FSource;
  FE2M.Target := FTarget;
  Info := TorvClassRegistry.GetInfo(FSource);
  Events := TStringList.Create;
  Methods := TStringList.Create;
  try
    for I := 0 to Info.GetEventCount - 1 do
      if Info.GetEvents(I).Visibility <> pvProtected then
        Events.Add(Info.GetEvents(I).Name);
    for I := 0 to Info.GetMethodCount - 1 do
      Methods.Add(Info.GetMethods(I).Name);
    AssertEquals('events', Events.CommaText, Offered(@orvGetEventNames, FP2P, 'SourceEvent'));
    AssertEquals('methods', Methods.CommaText, Offered(@orvGetMethodNames, FE2M, 'TargetMethod'));
    AssertTrue('own event offered', Events.IndexOf('OnPing') >= 0);
    AssertTrue('protected event offered', Events.IndexOf('OnSecret') < 0);
    AssertTrue('own methods offered', (Methods.IndexOf('Ping') >= 0) and (Methods.IndexOf('Sum') >= 0));
  finally
    Methods.Free;
    Events.Free;
  end;
  AssertEquals('target of nothing', '', Offered(@orvGetEventNames, FP2P, 'TargetEvent'));
end;

procedure TTestDesignValueLists.TestEventParametersInDeclarationOrder;
var
  Orphan: TorvParameterConnection;
  Collection: TCollection;
begin
  FE2P.Source := FSource;
  FE2P.SourceEvent := 'OnPing';
  AssertEquals('event-to-property', 'Sender,Value',
    Offered(@EventParameterNames, FE2P, 'ValueEventParameter'));
  FE2M.Source := FSource;
  FE2M.Target := FTarget;
  FE2M.SourceEvent := 'OnPing';
  FE2M.TargetMethod := 'Sum';
  AssertEquals('parameter connection', 'Sender,Value',
    Offered(@EventParameterNames, Parameter, 'EventParameter'));
  AssertEquals('stored', 'Value', orvCheckEventParameterName(Parameter, 'Value'));

  Collection := TCollection.Create(TorvParameterConnection);
  try
    Orphan := TorvParameterConnection(Collection.Add);
    AssertEquals('without link', '', Offered(@EventParameterNames, Orphan, 'EventParameter'));
    AssertEquals('typed without link', '', orvCheckEventParameterName(Orphan, 'Value'));
  finally
    Collection.Free;
  end;
end;

procedure TTestDesignValueLists.TestBindableComponentsAndClassNames;
var
  Child: TDesignProbeChild;
  Registered: string;
begin
  Child := TDesignProbeChild.Create(FRoot);
  AssertTrue('bound class', orvIsBindable(FSource));
  AssertFalse('derived from a bound class', orvIsBindable(Child));
  AssertFalse('nothing', orvIsBindable(nil));
  FNames.Clear;
  orvGetClassTypeNames(@Collect);
  Registered := ',' + FNames.CommaText + ',';
  AssertTrue('probe listed', Pos(',TDesignProbe,', Registered) > 0);
  AssertTrue('variable listed', Pos(',TorvVariable,', Registered) > 0);
  AssertFalse('unbound listed', Pos(',TDesignProbeChild,', Registered) > 0);
end;

procedure TTestDesignValueLists.TestTypedNamesAreCheckedExactly;
begin
  FP2P.Source := FSource;
  FP2P.Target := FTarget;
  FE2P.Source := FSource;
  FE2P.SourceEvent := 'OnPing';
  FE2M.Target := FTarget;
  AssertEquals('property', 'ReadOnly', orvCheckPropertyName(FP2P, 'SourceProperty', 'ReadOnly'));
  AssertEquals('event', 'OnPing', orvCheckEventName(FP2P, 'TargetEvent', 'OnPing'));
  AssertEquals('method', 'Sum', orvCheckMethodName(FE2M, 'TargetMethod', 'Sum'));
  AssertEquals('empty', '', orvCheckPropertyName(FP2P, 'SourceProperty', ''));
  ExpectRefusal(rsUnknownPropertyName, atCheckPropertyName, FP2P, 'SourceProperty', 'readonly');
  ExpectRefusal(rsUnknownPropertyName, atCheckPropertyName, FP2P, 'TargetProperty', 'Missing');
  ExpectRefusal(rsUnknownPropertyName, atCheckEventName, FP2P, 'SourceEvent', 'onPing');
  ExpectRefusal(rsUnknownPropertyName, atCheckMethodName, FE2M, 'TargetMethod', 'sum');
  ExpectRefusal(rsUnknownPropertyName, atCheckParameterName, FE2P, 'ValueEventParameter', 'value');
end;

procedure TTestDesignValueLists.TestUnknownPropertyIsRefused;
begin
  FP2P.Source := FSource;
  FE2M.Target := FTarget;
  FE2M.TargetMethod := 'Sum';
  ExpectRefusal(rsUnknownProperty, atPropertyNames, FP2P, 'SourceEvent');
  ExpectRefusal(rsUnknownProperty, atCheckPropertyName, FP2P, 'ValueComponentProperty', 'Both');
  ExpectRefusal(rsUnknownProperty, atCheckPropertyName, Parameter, 'SourceProperty', 'Both');
  ExpectRefusal(rsUnknownProperty, atPropertyOffered, FP2P, 'Caption', 'Both');
  ExpectRefusal(rsUnknownProperty, atEventNames, FP2P, 'SourceProperty');
  ExpectRefusal(rsUnknownProperty, atEventNames, Parameter, 'SourceEvent');
  ExpectRefusal(rsUnknownProperty, atCheckMethodName, FP2P, 'TargetMethod', 'Ping');
  ExpectRefusal(rsUnknownProperty, atMethodNames, FE2M, 'SourceEvent');
  ExpectRefusal(rsUnknownProperty, atCheckParameterName, FP2P, 'ValueEventParameter', 'Sender');
  ExpectRefusal(rsUnknownProperty, atIndexText, FE2M, 'TargetPropertyIndex');
  ExpectRefusal(rsUnknownProperty, atIndexText, FP2P, 'SourceProperty');
  ExpectRefusal(rsUnknownProperty, atIndexText, FE2P, 'SourcePropertyIndex');
end;

{ TTestDesignDialogs }

procedure TTestDesignDialogs.SetUp;
begin
  inherited SetUp;
  FSavedIndexFunc := Pointer(orvEditPropertyIndexFunc);
  FSavedParamsProc := Pointer(orvEditMethodParametersProc);
  FSavedConnectionsProc := Pointer(orvEditConnectionsProc);
  orvEditPropertyIndexFunc := @FakeIndexEditor;
  orvEditMethodParametersProc := @FakeParameterWindow;
  orvEditConnectionsProc := @FakeConnectionsEditor;
  Called := '';
  SlotValues := nil;
  AnswerEdited := True;
end;

procedure TTestDesignDialogs.TearDown;
begin
  orvEditPropertyIndexFunc := TorvEditPropertyIndexFunc(FSavedIndexFunc);
  orvEditMethodParametersProc := TorvEditMethodParametersProc(FSavedParamsProc);
  orvEditConnectionsProc := TorvEditConnectionsProc(FSavedConnectionsProc);
  SlotValues := nil;
  inherited TearDown;
end;

procedure TTestDesignDialogs.TestIndexListText;
begin
  FP2P.Source := FSource;
  FP2P.Target := FTarget;
  FP2P.SourceProperty := 'Items';
  FP2P.TargetProperty := 'Both';
  AssertEquals('indexed', '[Index, Name]', orvIndexListText(FP2P, 'SourcePropertyIndex'));
  AssertTrue('indexed has a dialog', orvHasIndexParameters(FP2P, 'SourcePropertyIndex'));
  AssertEquals('not indexed', rsNoIndexes, orvIndexListText(FP2P, 'TargetPropertyIndex'));
  AssertFalse('not indexed has no dialog', orvHasIndexParameters(FP2P, 'TargetPropertyIndex'));
  AssertEquals('nothing selected', rsNoIndexes, orvIndexListText(nil, 'SourcePropertyIndex'));
  AssertFalse('nothing selected has no dialog', orvHasIndexParameters(nil, 'SourcePropertyIndex'));
  FE2P.Target := FTarget;
  FE2P.TargetProperty := 'Items';
  AssertEquals('event link target', '[Index, Name]', orvIndexListText(FE2P, 'TargetPropertyIndex'));
  AssertEquals('no value component', rsNoIndexes, orvIndexListText(FE2P, 'ValueComponentPropertyIndex'));
  FE2M.Target := FTarget;
  FE2M.TargetMethod := 'Sum';
  Parameter.Component := FSource;
  Parameter.ComponentProperty := 'Items';
  AssertEquals('parameter component', '[Index, Name]', orvIndexListText(Parameter, 'ComponentPropertyIndex'));
end;

procedure TTestDesignDialogs.TestIndexEditorValuesAreStored;
var
  Indexes: Variant;
begin
  FP2P.Source := FSource;
  FP2P.SourceProperty := 'Items';
  FP2P.SourcePropertyIndex := VarArrayOf([1, 'first']);
  SlotValues := VarSlots(3, 'third');
  Indexes := FP2P.SourcePropertyIndex;
  AssertTrue('edited', orvEditIndexList(FDesigner, FP2P, 'SourcePropertyIndex', Indexes));
  AssertEquals('dialog shown', 'index P2P Items 2', Called);
  FP2P.SourcePropertyIndex := Indexes;
  AssertEquals('first value', 3, FP2P.SourcePropertyIndex[0]);
  AssertEquals('second value', 'third', FP2P.SourcePropertyIndex[1]);
end;

procedure TTestDesignDialogs.TestIndexEditorLeftWithoutValues;
var
  Indexes: Variant;
begin
  FP2P.Source := FSource;
  FP2P.SourceProperty := 'Items';
  FP2P.SourcePropertyIndex := VarArrayOf([1, 'first']);
  SlotValues := VarSlots(3, 'third');
  AnswerEdited := False;
  Indexes := FP2P.SourcePropertyIndex;
  AssertFalse('not edited', orvEditIndexList(FDesigner, FP2P, 'SourcePropertyIndex', Indexes));
  AssertEquals('list kept', 1, Indexes[0]);

  Called := '';
  FP2P.SourceProperty := 'Both';
  AssertFalse('nothing to edit', orvEditIndexList(FDesigner, FP2P, 'SourcePropertyIndex', Indexes));
  AssertEquals('no dialog without index parameters', '', Called);
end;

procedure TTestDesignDialogs.TestMethodParameterWindowOfTheLink;
var
  Other: TCollection;
begin
  orvEditMethodParameterList(FDesigner, FE2M.TargetMethodParameters);
  AssertEquals('window of the owning link', 'parameters E2M', Called);
  Called := '';
  Other := TCollection.Create(TorvParameterConnection);
  try
    orvEditMethodParameterList(FDesigner, Other);
    orvEditMethodParameterList(FDesigner, nil);
  finally
    Other.Free;
  end;
  AssertEquals('no window without a link', '', Called);
end;

procedure TTestDesignDialogs.TestConnectionsEditorThroughTheHook;
var
  List: TorvConnectionList;
begin
  List := TorvConnectionList.Create(FRoot);
  List.Name := 'Links';
  // Double-click and the menu entry both end here, in the editor's Edit.
  orvEditConnections(FDesigner, List);
  AssertEquals('editor opened', 'connections Links of Root', Called);
end;

procedure TTestDesignDialogs.TestMissingEditorIsReported;
var
  Indexes: Variant;
begin
  orvEditConnectionsProc := nil;
  orvEditPropertyIndexFunc := nil;
  FP2P.Source := FSource;
  FP2P.SourceProperty := 'Items';
  Indexes := FP2P.SourcePropertyIndex;
  try
    orvEditConnections(FDesigner, FP2P);
    Fail('connections editor missing');
  except
    on E: Exception do
      AssertEquals(Format(rsEditorNotInstalled, [rsConnectionsEditorName]), E.Message);
  end;
  try
    orvEditIndexList(FDesigner, FP2P, 'SourcePropertyIndex', Indexes);
    Fail('index editor missing');
  except
    on E: Exception do
      AssertEquals(Format(rsEditorNotInstalled, [rsPropertyIndexEditorName]), E.Message);
  end;
end;

{ TTestDesignRegistration }

type
  TRegisteredRow = record
    PropertyType: PTypeInfo;
    ComponentClass: TClass;
    PropertyName: string;
  end;

  { Writes down every registration as one line. }
  TRecordingRegistrar = class(TorvRegistrar)
  public
    Lines: TStringList;
    Rows: array of TRegisteredRow;
    constructor Create;
    destructor Destroy; override;
    procedure RegisterPropertyEditor(APropertyType: PTypeInfo; AClass: TClass;
      const APropertyName: string; AEditor: TorvPropertyEditorKind); override;
    procedure RegisterComponentEditor(AClass: TComponentClass;
      AEditor: TorvComponentEditorKind); override;
    procedure RegisterNoIcon(const AClasses: array of TComponentClass); override;
    procedure RegisterComponents(const APage: string;
      const AClasses: array of TComponentClass); override;
  end;

function ClassNames(const AClasses: array of TComponentClass): string;
var
  I: Integer;
begin
  Result := '';
  for I := 0 to High(AClasses) do
    Result := Result + ' ' + AClasses[I].ClassName;
end;

constructor TRecordingRegistrar.Create;
begin
  inherited Create;
  Lines := TStringList.Create;
end;

destructor TRecordingRegistrar.Destroy;
begin
  Lines.Free;
  inherited Destroy;
end;

procedure TRecordingRegistrar.RegisterPropertyEditor(APropertyType: PTypeInfo; AClass: TClass;
  const APropertyName: string; AEditor: TorvPropertyEditorKind);
begin
  Lines.Add(Format('%s %s %s %s', [APropertyType^.Name, AClass.ClassName, APropertyName,
    GetEnumName(TypeInfo(TorvPropertyEditorKind), Ord(AEditor))]));
  SetLength(Rows, Length(Rows) + 1);
  Rows[High(Rows)].PropertyType := APropertyType;
  Rows[High(Rows)].ComponentClass := AClass;
  Rows[High(Rows)].PropertyName := APropertyName;
end;

procedure TRecordingRegistrar.RegisterComponentEditor(AClass: TComponentClass;
  AEditor: TorvComponentEditorKind);
begin
  Lines.Add(Format('editor %s %s', [AClass.ClassName,
    GetEnumName(TypeInfo(TorvComponentEditorKind), Ord(AEditor))]));
end;

procedure TRecordingRegistrar.RegisterNoIcon(const AClasses: array of TComponentClass);
begin
  Lines.Add('noicon' + ClassNames(AClasses));
end;

procedure TRecordingRegistrar.RegisterComponents(const APage: string;
  const AClasses: array of TComponentClass);
begin
  Lines.Add('palette ' + APage + ClassNames(AClasses));
end;

procedure TTestDesignRegistration.CheckMenu(AKind: TorvComponentEditorKind;
  const ACaptions: array of string; AAbout, AEdit: Integer);
var
  Kind: string;
  I: Integer;
  Expected: TorvVerbAction;
begin
  Kind := GetEnumName(TypeInfo(TorvComponentEditorKind), Ord(AKind));
  AssertEquals(Kind + ' entries', Length(ACaptions), orvVerbCount(AKind));
  for I := -1 to High(ACaptions) + 1 do
  begin
    if (I < 0) or (I > High(ACaptions)) then
      AssertEquals(Kind + ' outside', '', orvVerb(AKind, I))
    else if ACaptions[I] = '' then
      AssertTrue(Kind + ' entry ' + IntToStr(I), orvVerb(AKind, I) <> '')
    else
      AssertEquals(Kind + ' entry ' + IntToStr(I), ACaptions[I], orvVerb(AKind, I));
    Expected := vaNone;
    if I = AAbout then
      Expected := vaAbout
    else if I = AEdit then
      Expected := vaEditConnections;
    AssertEquals(Kind + ' action ' + IntToStr(I), Ord(Expected), Ord(orvVerbAction(AKind, I)));
  end;
end;

procedure TTestDesignRegistration.TestMenus;
begin
  CheckMenu(cekConnectionList, ['Orvane Suite 1.1', '', '-', 'About...', 'Edit connections...'], 3, 4);
  CheckMenu(cekVariable, ['Orvane Suite 1.1', '', '-', 'About...'], 3, -2);
end;

procedure TTestDesignRegistration.TestCallsInOrder;
const
  Expected: array[0..25] of string = (
    'TComponent TorvConnection  pekComponent',
    'AnsiString TorvP2PConnection SourceProperty pekPropertyInfo',
    'Variant TorvP2PConnection SourcePropertyIndex pekPropertyIndexes',
    'AnsiString TorvP2PConnection SourceEvent pekEventInfo',
    'AnsiString TorvP2PConnection TargetProperty pekPropertyInfo',
    'Variant TorvP2PConnection TargetPropertyIndex pekPropertyIndexes',
    'AnsiString TorvP2PConnection TargetEvent pekEventInfo',
    'AnsiString TorvE2PConnection SourceEvent pekEventInfo',
    'AnsiString TorvE2PConnection TargetProperty pekPropertyInfo',
    'Variant TorvE2PConnection TargetPropertyIndex pekPropertyIndexes',
    'AnsiString TorvE2PConnection ValueComponentProperty pekPropertyInfo',
    'Variant TorvE2PConnection ValueComponentPropertyIndex pekPropertyIndexes',
    'AnsiString TorvE2PConnection ValueEventParameter pekEventParam',
    'AnsiString TorvE2MConnection SourceEvent pekEventInfo',
    'AnsiString TorvE2MConnection TargetMethod pekMethodInfo',
    'TorvParameterConnections TorvE2MConnection TargetMethodParameters pekMethodParams',
    'TComponent TorvParameterConnection Component pekComponent',
    'AnsiString TorvParameterConnection ParameterName pekMethodParam',
    'AnsiString TorvParameterConnection ComponentProperty pekPropertyInfo',
    'Variant TorvParameterConnection ComponentPropertyIndex pekPropertyIndexes',
    'AnsiString TorvParameterConnection EventParameter pekEventParam',
    'AnsiString TorvVariable ClassTypeName pekClassTypeName',
    'editor TorvConnectionList cekConnectionList',
    'editor TorvVariable cekVariable',
    'noicon TorvP2PConnection TorvE2PConnection TorvE2MConnection',
    'palette Orvane TorvVariable TorvConnectionList');
var
  Registrar: TRecordingRegistrar;
  I: Integer;
begin
  Registrar := TRecordingRegistrar.Create;
  try
    orvRegisterDesignTime(Registrar);
    for I := 0 to Min(High(Expected), Registrar.Lines.Count - 1) do
      AssertEquals('call ' + IntToStr(I + 1), Expected[I], Registrar.Lines[I]);
    AssertEquals('calls', Length(Expected), Registrar.Lines.Count);
  finally
    Registrar.Free;
  end;
end;

procedure TTestDesignRegistration.TestEditedPropertiesExist;
var
  Registrar: TRecordingRegistrar;
  Problems: TStringList;
  Row: TRegisteredRow;
  Info: PPropInfo;
  List: PPropList;
  Count, I, J: Integer;
  Found: Boolean;
begin
  // The IDE silently leaves a property with its own editor when a name or
  // type does not match; every row must reach a published property.
  Registrar := TRecordingRegistrar.Create;
  Problems := TStringList.Create;
  try
    orvRegisterDesignTime(Registrar);
    for I := 0 to High(Registrar.Rows) do
    begin
      Row := Registrar.Rows[I];
      if Row.PropertyName <> '' then
      begin
        Info := GetPropInfo(Row.ComponentClass, Row.PropertyName);
        if Info = nil then
          Problems.Add(Row.ComponentClass.ClassName + '.' + Row.PropertyName + ' is not published')
        else if Info^.PropType <> Row.PropertyType then
          Problems.Add(Row.ComponentClass.ClassName + '.' + Row.PropertyName + ' is no ' +
            Row.PropertyType^.Name);
      end
      else
      begin
        Count := GetPropList(Row.ComponentClass, List);
        try
          Found := False;
          for J := 0 to Count - 1 do
            Found := Found or (List^[J]^.PropType = Row.PropertyType);
        finally
          FreeMem(List);
        end;
        if not Found then
          Problems.Add(Row.ComponentClass.ClassName + ' has no ' + Row.PropertyType^.Name + ' property');
      end;
    end;
    AssertEquals('', Problems.Text);
  finally
    Problems.Free;
    Registrar.Free;
  end;
end;

procedure TTestDesignRegistration.TestRuntimeRegistersStreamingClasses;
const
  Streamed: array[0..4] of TPersistentClass = (TorvConnectionList, TorvConnection,
    TorvP2PConnection, TorvE2PConnection, TorvE2MConnection);
var
  I: Integer;
begin
  // Nothing of the design package has registered anything here: a program
  // that only requires the runtime package reads its forms all the same.
  for I := 0 to High(Streamed) do
    AssertTrue(Streamed[I].ClassName, GetClass(Streamed[I].ClassName) = Streamed[I]);
  AssertTrue('TorvVariable', GetClass('TorvVariable') = TorvVariable);
end;

{ TTestAboutBox }

var
  OpenedURLs: string;

function FakeOpenURL(AURL: string): Boolean;
begin
  OpenedURLs := OpenedURLs + AURL + ' ';
  Result := True;
end;

procedure CheckLinkStyle(ALabel: TLabel);
begin
  TAssert.AssertEquals(ALabel.Name + ' colour', clNavy, ALabel.Font.Color);
  TAssert.AssertTrue(ALabel.Name + ' style', ALabel.Font.Style = [fsBold, fsUnderline]);
  TAssert.AssertEquals(ALabel.Name + ' cursor', crHandPoint, ALabel.Cursor);
  TAssert.AssertTrue(ALabel.Name + ' click', Assigned(ALabel.OnClick));
end;

procedure CheckTopToBottom(const AControls: array of TControl);
var
  I: Integer;
begin
  for I := 1 to High(AControls) do
    TAssert.AssertTrue(AControls[I].Name + ' below ' + AControls[I - 1].Name,
      AControls[I].Top > AControls[I - 1].Top);
end;

procedure TTestAboutBox.TestControls;
var
  Form: TorvAboutForm;
begin
  Form := TorvAboutForm.Create(nil);
  try
    AssertEquals('caption', 'About', Form.Caption);
    AssertTrue('dialog border', Form.BorderStyle = bsDialog);
    AssertTrue('centred', Form.Position = poScreenCenter);
    AssertEquals('client width', 257, Form.ClientWidth);
    AssertEquals('client height', 175, Form.ClientHeight);
    AssertEquals('icon width', 36, Form.Image1.Width);
    AssertEquals('icon height', 36, Form.Image1.Height);
    AssertEquals('icon picture', 36, Form.Image1.Picture.Width);
    AssertTrue('line right of the icon', Form.Bevel1.Left >= Form.Image1.Left + Form.Image1.Width);
    AssertEquals('product', 'Orvane Suite', Form.Label1.Caption);
    AssertTrue('product bold', fsBold in Form.Label1.Font.Style);
    AssertEquals('product size', 19, Abs(Form.Label1.Font.Height));
    AssertEquals('version', 'version 1.1.0', Form.Label2.Caption);
    AssertTrue('notice', (Form.Label3.Caption <> '') and (Form.Label4.Caption <> ''));
    CheckLinkStyle(Form.lbSite);
    CheckLinkStyle(Form.lbMail);
    AssertEquals('button', 'Ok', Form.btOk.Caption);
    AssertTrue('default button', Form.btOk.Default);
    AssertEquals('closes with OK', mrOK, Form.btOk.ModalResult);
    CheckTopToBottom([Form.Label1, Form.Label2, Form.Label3, Form.Label4, Form.lbSite,
      Form.lbMail, Form.btOk]);
  finally
    Form.Free;
  end;
end;

procedure TTestAboutBox.TestLinksOpenTheSite;
var
  Form: TorvAboutForm;
  Saved: TorvOpenURLFunc;
begin
  Saved := orvOpenURL;
  orvOpenURL := @FakeOpenURL;
  OpenedURLs := '';
  Form := TorvAboutForm.Create(nil);
  try
    Form.lbSite.OnClick(Form.lbSite);
    Form.lbMail.OnClick(Form.lbMail);
    AssertEquals(orvSiteAddress + ' ' + orvSiteAddress + ' ', OpenedURLs);
  finally
    Form.Free;
    orvOpenURL := Saved;
  end;
end;

initialization
  RegisterBinding('TDesignProbe', TDesignProbeClassInfo, ProbeDescriptors);
  RegisterTest('Design', TTestDesignValueLists);
  RegisterTest('Design', TTestDesignDialogs);
  RegisterTest('Design', TTestDesignRegistration);
  RegisterTest('Design', TTestAboutBox);
end.
