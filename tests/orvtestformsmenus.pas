{ The bindings of forms and menus: their registration and totals, and the
  members that do more than read or write one host member: closing a form
  that a listener refuses to close, the help events that answer the host,
  var parameters and records written back, menu items worked through their
  binding, members the host lacks, and the stand-ins. }
unit Orvtestformsmenus;

{$I orvdefines.inc}

interface

uses
  Classes, SysUtils, Variants, fpcunit, testregistry,
  Forms, Controls, Graphics, Menus, ActnList, LCLType, LMessages,
  Orvcommon;

type
  { What the previous handler or a listener does with a var Boolean. }
  TAnswer = (anLeave, anNo, anYes);

  { TFormsMenusCase }

  { Owners, class infos and listeners made by a test, freed after it. }
  TFormsMenusCase = class(TTestCase)
  private
    FHosts: TFPList;
    FInfos: TFPList;
    FListeners: TFPList;
  protected
    FLog: string;
    procedure SetUp; override;
    procedure TearDown; override;
    function Keep(AObject: TObject): TObject;
    function InfoOf(AObject: TObject): TorvClassInfo;
    procedure DropInfo(AInfo: TorvClassInfo);
    procedure Listen(AInfo: TorvClassInfo; const AEventName: string; AHandler: TNotifyORVEvent);
    function Get(AInfo: TorvClassInfo; const AName: string; const AIndexes: array of Variant): Variant;
    procedure Put(AInfo: TorvClassInfo; const AName: string; const AValue: Variant);
    function Call(AInfo: TorvClassInfo; const AName: string; const AArgs: array of Variant): Variant;
    { Run AStep (Get, Put or Call of AName with AValues) and expect AMessage. }
    procedure ExpectError(const AMessage: string; AInfo: TorvClassInfo; const AStep, AName: string;
      const AValues: array of Variant);
    procedure Logged(const AText: string);
  end;

  { TTestFormsMenusWalk }

  TTestFormsMenusWalk = class(TTestCase)
  private
    FNames: TStringList;
    procedure AddName(const AClassName: string);
  published
    procedure TestNamesAreRegisteredInTableOrder;
    procedure TestTotalsOfEachUnit;
  end;

  { TTestFormBindings }

  TTestFormBindings = class(TFormsMenusCase)
  private
    FPreviousAnswer, FListenerAnswer: TAnswer;
    FSeen: Variant;
    FHelpResult: Boolean;
    function ShownForm: TForm;
    procedure PreviousCloseQuery(Sender: TObject; var CanClose: Boolean);
    procedure HeardCloseQuery(Sender: TObject; Event: TorvEventInfo);
    procedure HeardClose(Sender: TObject; Event: TorvEventInfo);
    function PreviousHelp(Command: Word; Data: PtrInt; var CallHelp: Boolean): Boolean;
    procedure HeardHelp(Sender: TObject; Event: TorvEventInfo);
    procedure HeardActionExecute(Sender: TObject; Event: TorvEventInfo);
    procedure HeardShortCut(Sender: TObject; Event: TorvEventInfo);
    procedure HeardShowHint(Sender: TObject; Event: TorvEventInfo);
    { Leave 0 for the record parameter named in FSeen, and another hint
      text. }
    procedure LeaveNoRecord(Sender: TObject; Event: TorvEventInfo);
    { Close a shown form whose previous OnCloseQuery handler and listener
      answer as given; check whether it stays open and what the listener saw. }
    procedure CheckClose(APrevious, AListener: TAnswer; AStaysOpen: Boolean);
  published
    procedure TestNobodyRefusingCloses;
    procedure TestListenerRefusingKeepsTheFormOpen;
    procedure TestPreviousRefusalStandsWhenListenersLeaveIt;
    procedure TestListenerOverridesThePreviousRefusal;
    procedure TestCloseQueryAnswersTheListener;
    procedure TestCloseActionFromAListener;
    procedure TestHelpAnswersWithThePreviousHandlersResult;
    procedure TestHelpWithoutPreviousHandler;
    procedure TestBuffersAndWriteOnlyMembers;
    procedure TestScreensMonitor;
    procedure TestMembersTheHostLacks;
    procedure TestCreateFormHandsBackTheNewComponent;
    procedure TestApplicationExecuteActionHearsListeners;
    procedure TestShortCutWorksOnTheCallersMessage;
    procedure TestShowHintTakesTheRecordAListenerGives;
    procedure TestListenerLeavingNoRecordIsRefused;
  end;

  { TTestMenuBindings }

  TTestMenuBindings = class(TFormsMenusCase)
  private
    FWidth, FHeight: Variant;
    FState: TOwnerDrawState;
    procedure PreviousClick(Sender: TObject);
    procedure HeardClick(Sender: TObject; Event: TorvEventInfo);
    procedure PreviousMeasure(Sender: TObject; ACanvas: TCanvas; var AWidth, AHeight: Integer);
    procedure HeardMeasure(Sender: TObject; Event: TorvEventInfo);
    procedure HeardDraw(Sender: TObject; Event: TorvEventInfo);
  published
    procedure TestItemsThroughTheBinding;
    procedure TestClickRunsThePreviousHandlerFirst;
    procedure TestMeasureItemWritesSizesBack;
    procedure TestDrawItemGivesTheStateAsAnAddress;
    procedure TestWindowHandleOnlyOnMainMenus;
    procedure TestStandIns;
  end;

implementation

uses
  Orvvalues, Orvmetadump, Orvstandins, Orvtestwalk;

type
  PBorderIcons = ^TBorderIcons;
  PFormState = ^TFormState;
  POwnerDrawState = ^TOwnerDrawState;
  TLMKeyPointer = ^TLMKey;

var
  { The hint a listener of OnShowHint hands over instead of the host's. }
  OtherHint: THintInfo;

const
  MenusNames: array[0..5] of string = ('TMenuActionLink', 'TMenuItem', 'TMenu', 'TMainMenu',
    'TPopupMenu', 'TPopupList');
  FormsNames: array[0..12] of string = ('TControlScrollBar', 'TScrollingWinControl',
    'TScrollBox', 'TCustomFrame', 'TFrame', 'TCustomForm', 'TCustomActiveForm', 'TForm',
    'TCustomDockForm', 'TDataModule', 'TMonitor', 'TScreen', 'TApplication');

{ Host objects of these units for the registry walks; the application is
  the program's own and is not made again. }
function MakeFormsHost(const AName: string; out ASubject: TObject; AKeep: TFPList): Boolean;
var
  Form: TForm;
begin
  ASubject := nil;
  Result := True;
  case AName of
    'TControlScrollBar':
      begin
        Form := TForm.CreateNew(nil);
        AKeep.Add(Form);
        ASubject := TControlScrollBar.Create(Form, sbVertical);
      end;
    'TScrollingWinControl': ASubject := TScrollingWinControl.Create(nil);
    'TScrollBox': ASubject := TScrollBox.Create(nil);
    // The host makes a frame of any class but TFrame from a form resource.
    'TCustomFrame', 'TFrame': ASubject := TFrame.Create(nil);
    'TCustomForm': ASubject := TCustomForm.CreateNew(nil);
    'TCustomActiveForm': ASubject := TCustomActiveForm.CreateNew(nil);
    'TForm': ASubject := TForm.CreateNew(nil);
    'TCustomDockForm': ASubject := TCustomDockForm.CreateNew(nil);
    'TDataModule': ASubject := TDataModule.Create(nil);
    // A screen of its own: the program's keeps its forms and handlers.
    'TScreen': ASubject := TScreen.Create(nil);
    'TMenuActionLink': ASubject := TMenuActionLink.Create(nil);
    'TMenuItem': ASubject := TMenuItem.Create(nil);
    // The widgetset makes a menu's handle only for the main menu of a form.
    'TMenu', 'TMainMenu':
      begin
        Form := TForm.CreateNew(nil);
        AKeep.Add(Form);
        ASubject := TMainMenu.Create(Form);
        Form.Menu := TMainMenu(ASubject);
      end;
    'TPopupMenu': ASubject := TPopupMenu.Create(nil);
    'TPopupList': ASubject := TPopupList.Create;
  else
    Result := False;
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

procedure CheckUnitTotals(ACase: TTestCase; const AUnit: string; const ANames: array of string;
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
  ACase.AssertEquals(AUnit + ' properties', AProperties, Sum.Properties);
  ACase.AssertEquals(AUnit + ' methods', AMethods, Sum.Methods);
  ACase.AssertEquals(AUnit + ' functions', AFunctions, Sum.Functions);
  ACase.AssertEquals(AUnit + ' constructors', AConstructors, Sum.Constructors);
  ACase.AssertEquals(AUnit + ' events', AEvents, Sum.Events);
  ACase.AssertEquals(AUnit + ' property overrides', APropertyOverrides, PropertyOverrides);
  ACase.AssertEquals(AUnit + ' event overrides', AEventOverrides, EventOverrides);
end;

{ TFormsMenusCase }

procedure TFormsMenusCase.SetUp;
begin
  FHosts := TFPList.Create;
  FInfos := TFPList.Create;
  FListeners := TFPList.Create;
  FLog := '';
end;

procedure TFormsMenusCase.TearDown;
var
  I: Integer;
begin
  for I := FInfos.Count - 1 downto 0 do
    DropInfo(TorvClassInfo(FInfos[I]));
  for I := FHosts.Count - 1 downto 0 do
    TObject(FHosts[I]).Free;
  for I := 0 to FListeners.Count - 1 do
    TObject(FListeners[I]).Free;
  FListeners.Free;
  FInfos.Free;
  FHosts.Free;
end;

function TFormsMenusCase.Keep(AObject: TObject): TObject;
begin
  FHosts.Add(AObject);
  Result := AObject;
end;

function TFormsMenusCase.InfoOf(AObject: TObject): TorvClassInfo;
begin
  Result := TorvClassRegistry.FindClass(AObject.ClassName).Create;
  FInfos.Add(Result);
  Result.InitMetaData;
  Result.SetOwner(AObject);
end;

procedure TFormsMenusCase.DropInfo(AInfo: TorvClassInfo);
begin
  FInfos.Remove(AInfo);
  AInfo.SetOwner(nil);
  AInfo.Free;
end;

procedure TFormsMenusCase.Listen(AInfo: TorvClassInfo; const AEventName: string;
  AHandler: TNotifyORVEvent);
var
  Listener: TorvListener;
begin
  Listener := TorvListener.Create;
  FListeners.Add(Listener);
  Listener.EventName := AEventName;
  Listener.OnEvent := AHandler;
  AInfo.AddListener(Listener);
end;

function TFormsMenusCase.Get(AInfo: TorvClassInfo; const AName: string;
  const AIndexes: array of Variant): Variant;
var
  Prop: TorvPropertyInfo;
  I: Integer;
begin
  Prop := AInfo.FindProperty(AName);
  AssertNotNull('property ' + AName, Prop);
  for I := 0 to High(AIndexes) do
    Prop.GetIndexes(I).Value := AIndexes[I];
  Result := AInfo.GetProperty(Prop);
end;

procedure TFormsMenusCase.Put(AInfo: TorvClassInfo; const AName: string; const AValue: Variant);
var
  Prop: TorvPropertyInfo;
begin
  Prop := AInfo.FindProperty(AName);
  AssertNotNull('property ' + AName, Prop);
  AInfo.SetProperty(Prop, AValue);
end;

function TFormsMenusCase.Call(AInfo: TorvClassInfo; const AName: string;
  const AArgs: array of Variant): Variant;
var
  Method: TorvMethodInfo;
  I: Integer;
begin
  Method := AInfo.FindMethod(AName);
  AssertNotNull('method ' + AName, Method);
  AssertEquals('arguments of ' + AName, Method.GetArgCount, Length(AArgs));
  for I := 0 to High(AArgs) do
    Method.GetArgs(I).Value := AArgs[I];
  Method.Result := Unassigned;
  AInfo.InvokeMethod(Method);
  Result := Method.Result;
end;

procedure TFormsMenusCase.ExpectError(const AMessage: string; AInfo: TorvClassInfo;
  const AStep, AName: string; const AValues: array of Variant);
begin
  try
    case AStep of
      'Get': Get(AInfo, AName, AValues);
      'Put': Put(AInfo, AName, AValues[0]);
      'Call': Call(AInfo, AName, AValues);
    end;
  except
    on E: EAssertionFailedError do
      raise;
    on E: Exception do
    begin
      AssertEquals(AStep + ' ' + AName, AMessage, E.Message);
      Exit;
    end;
  end;
  Fail(AStep + ' ' + AName + ' should raise: ' + AMessage);
end;

procedure TFormsMenusCase.Logged(const AText: string);
begin
  FLog := Trim(FLog + ' ' + AText);
end;

{ TTestFormsMenusWalk }

procedure TTestFormsMenusWalk.AddName(const AClassName: string);
begin
  FNames.Add(AClassName);
end;

procedure TTestFormsMenusWalk.TestNamesAreRegisteredInTableOrder;

  procedure CheckRun(const ARun: array of string);
  var
    I, First: Integer;
  begin
    First := FNames.IndexOf(ARun[0]);
    AssertTrue(ARun[0] + ' is registered', First >= 0);
    for I := 0 to High(ARun) do
    begin
      AssertEquals(ARun[I] + ' in table order', First + I, FNames.IndexOf(ARun[I]));
      AssertEquals(ARun[I] + 'ClassInfo', TorvClassRegistry.FindClass(ARun[I]).ClassName);
      // The registry ignores letter case.
      AssertSame(ARun[I], TorvClassRegistry.FindClass(ARun[I]),
        TorvClassRegistry.FindClass(LowerCase(ARun[I])));
    end;
  end;

begin
  FNames := TStringList.Create;
  try
    TorvClassRegistry.Iterate(@AddName);
    CheckRun(MenusNames);
    CheckRun(FormsNames);
    // The units start in this order: action lists, controls, menus, forms.
    AssertTrue('menus after controls', FNames.IndexOf('TMenuActionLink') > FNames.IndexOf('TControl'));
    AssertTrue('menus after action lists',
      FNames.IndexOf('TMenuActionLink') > FNames.IndexOf('TActionLink'));
    AssertTrue('forms after menus', FNames.IndexOf('TControlScrollBar') > FNames.IndexOf('TPopupList'));
  finally
    FreeAndNil(FNames);
  end;
end;

procedure TTestFormsMenusWalk.TestTotalsOfEachUnit;
begin
  // Some overrides give a feature the visibility it has already, which
  // leaves no trace to count: six of the 139 for properties (TCustomForm's
  // ParentFont, PopupMenu, Action, Ctl3D and AutoScroll, TCustomDockForm's
  // BorderStyle) and TCustomForm's twelve for events, all protected before.
  CheckUnitTotals(Self, 'Orvforms', FormsNames, 111, 58, 17, 2, 28, 139 - 6, 110 - 12);
  CheckUnitTotals(Self, 'Orvmenus', MenusNames, 42, 30, 17, 0, 6, 12, 2);
end;

{ TTestFormBindings }

function TTestFormBindings.ShownForm: TForm;
begin
  Result := TForm(Keep(TForm.CreateNew(nil)));
  Result.SetBounds(10, 10, 200, 120);
  Result.Show;
  Application.ProcessMessages;
end;

procedure SetAnswer(var AValue: Boolean; AAnswer: TAnswer);
begin
  case AAnswer of
    anNo: AValue := False;
    anYes: AValue := True;
  end;
end;

procedure TTestFormBindings.PreviousCloseQuery(Sender: TObject; var CanClose: Boolean);
begin
  Logged('previous');
  SetAnswer(CanClose, FPreviousAnswer);
end;

procedure TTestFormBindings.HeardCloseQuery(Sender: TObject; Event: TorvEventInfo);
var
  CanClose: Boolean;
begin
  Logged('listener');
  FSeen := Event.GetArgs(1).Value;
  CanClose := FSeen;
  SetAnswer(CanClose, FListenerAnswer);
  Event.GetArgs(1).Value := CanClose;
end;

procedure TTestFormBindings.CheckClose(APrevious, AListener: TAnswer; AStaysOpen: Boolean);
var
  Form: TForm;
begin
  Form := ShownForm;
  FPreviousAnswer := APrevious;
  FListenerAnswer := AListener;
  Form.OnCloseQuery := @PreviousCloseQuery;
  Listen(InfoOf(Form), 'OnCloseQuery', @HeardCloseQuery);
  Form.Close;
  Application.ProcessMessages;
  AssertEquals('previous handler first, then the listener', 'previous listener', FLog);
  AssertEquals('the listener saw what the previous handler left', APrevious <> anNo,
    Boolean(FSeen));
  AssertEquals('the form stays open', AStaysOpen, Form.Visible);
end;

procedure TTestFormBindings.TestNobodyRefusingCloses;
begin
  CheckClose(anLeave, anLeave, False);
end;

procedure TTestFormBindings.TestListenerRefusingKeepsTheFormOpen;
begin
  CheckClose(anLeave, anNo, True);
end;

procedure TTestFormBindings.TestPreviousRefusalStandsWhenListenersLeaveIt;
begin
  CheckClose(anNo, anLeave, True);
end;

procedure TTestFormBindings.TestListenerOverridesThePreviousRefusal;
begin
  CheckClose(anNo, anYes, False);
end;

procedure TTestFormBindings.TestCloseQueryAnswersTheListener;
var
  Info: TorvClassInfo;
begin
  Info := InfoOf(ShownForm);
  FPreviousAnswer := anLeave;
  FListenerAnswer := anNo;
  Listen(Info, 'OnCloseQuery', @HeardCloseQuery);
  AssertFalse('CloseQuery through the binding', Call(Info, 'CloseQuery', []));
  FListenerAnswer := anYes;
  AssertTrue('CloseQuery through the binding', Call(Info, 'CloseQuery', []));
  // Close through the binding too: the form goes.
  Call(Info, 'Close', []);
  AssertFalse('closed through the binding', TForm(Info.Owner).Visible);
end;

procedure TTestFormBindings.HeardClose(Sender: TObject; Event: TorvEventInfo);
begin
  FSeen := Event.GetArgs(1).Value;
  Event.GetArgs(1).Value := Ord(caNone);
end;

procedure TTestFormBindings.TestCloseActionFromAListener;
var
  Form: TForm;
begin
  Form := ShownForm;
  Listen(InfoOf(Form), 'OnClose', @HeardClose);
  Form.Close;
  Application.ProcessMessages;
  AssertEquals('the listener saw the host''s action', Ord(caHide), Integer(FSeen));
  AssertTrue('caNone from the listener keeps the form shown', Form.Visible);
end;

function TTestFormBindings.PreviousHelp(Command: Word; Data: PtrInt;
  var CallHelp: Boolean): Boolean;
begin
  Logged(Format('previous %d %d', [Command, Data]));
  CallHelp := False;
  Result := FHelpResult;
end;

procedure TTestFormBindings.HeardHelp(Sender: TObject; Event: TorvEventInfo);
begin
  Logged(Format('listener %d %d', [Integer(Event.GetArgs(0).Value), Int64(Event.GetArgs(1).Value)]));
  FSeen := Event.GetArgs(2).Value;
  Event.GetArgs(2).Value := True;
end;

procedure TTestFormBindings.TestHelpAnswersWithThePreviousHandlersResult;
var
  Form: TForm;
  Info: TorvClassInfo;
  CallHelp: Boolean;
  Previous: THelpEvent;
begin
  Form := ShownForm;
  Previous := @PreviousHelp;
  Form.OnHelp := Previous;
  Info := InfoOf(Form);
  Listen(Info, 'OnHelp', @HeardHelp);
  FHelpResult := True;
  CallHelp := True;
  // The host calls whatever handler the form has now: the binding's.
  AssertTrue('the previous handler''s answer', Form.OnHelp(7, High(PtrInt), CallHelp));
  AssertEquals(Format('previous 7 %0:d listener 7 %0:d', [High(PtrInt)]), FLog);
  AssertFalse('the listener saw CallHelp as the previous handler left it', FSeen);
  AssertTrue('the listener''s CallHelp reaches the host', CallHelp);
  FHelpResult := False;
  AssertFalse('the previous handler''s answer', Form.OnHelp(1, 0, CallHelp));
  DropInfo(Info);
  AssertTrue('the previous handler is back',
    TMethod(Form.OnHelp).Code = TMethod(Previous).Code);
  AssertTrue('the previous handler is back', TMethod(Form.OnHelp).Data = Pointer(Self));
end;

procedure TTestFormBindings.TestHelpWithoutPreviousHandler;
var
  Form: TForm;
  CallHelp: Boolean;
begin
  Form := ShownForm;
  Listen(InfoOf(Form), 'OnHelp', @HeardHelp);
  CallHelp := False;
  AssertFalse('no handler answers that help was not handled', Form.OnHelp(3, 4, CallHelp));
  AssertTrue('CallHelp from the listener', CallHelp);
  AssertEquals('listener 3 4', FLog);
end;

procedure TTestFormBindings.TestBuffersAndWriteOnlyMembers;
var
  Form: TForm;
  Info: TorvClassInfo;
  Address: Variant;
begin
  Form := ShownForm;
  Form.BorderIcons := [biSystemMenu, biHelp];
  Info := InfoOf(Form);
  Address := Get(Info, 'BorderIcons', []);
  AssertTrue('the border icons at the address',
    PBorderIcons(VarToPointer(Address))^ = [biSystemMenu, biHelp]);
  AssertEquals('the same buffer on the next read', Int64(Address), Int64(Get(Info, 'BorderIcons', [])));
  // Write through an address of the caller's.
  Form.BorderIcons := [];
  Put(Info, 'BorderIcons', BufferToVar(PBorderIcons(VarToPointer(Address))^));
  AssertTrue('written from the address', Form.BorderIcons = [biSystemMenu, biHelp]);
  AssertTrue('ClientHeight is listed as write-only', Info.FindProperty('ClientHeight').Styles = [psWritable]);
  AssertEquals('yet it reads', Form.ClientHeight, Integer(Get(Info, 'ClientHeight', [])));
  AssertTrue('FormState at its address',
    PFormState(VarToPointer(Get(Info, 'FormState', [])))^ = Form.FormState);
  Put(Info, 'Caption', 'Bound');
  AssertEquals('Bound', Form.Caption);
end;

procedure TTestFormBindings.TestScreensMonitor;
var
  Monitor: TMonitor;
  Info: TorvClassInfo;
begin
  // Only the screen makes monitors with the widgetset's handles, so the
  // walks leave TMonitor out and its binding is tried on the screen's own.
  Monitor := Screen.Monitors[0];
  Info := InfoOf(Monitor);
  AssertEquals('Width', Monitor.Width, Integer(Get(Info, 'Width', [])));
  AssertEquals('Height', Monitor.Height, Integer(Get(Info, 'Height', [])));
  AssertEquals('Top', Monitor.Top, Integer(Get(Info, 'Top', [])));
  AssertEquals('Left', Monitor.Left, Integer(Get(Info, 'Left', [])));
  AssertEquals('MonitorNum', Monitor.MonitorNum, Integer(Get(Info, 'MonitorNum', [])));
  AssertTrue('the handle at its address',
    PHandle(VarToPointer(Get(Info, 'Handle', [])))^ = Monitor.Handle);
  DropInfo(Info);
end;

procedure TTestFormBindings.TestMembersTheHostLacks;
const
  Missing: array[0..5] of string = ('OldCreateOrder', 'ObjectMenuItem', 'PrintScale',
    'TileMode', 'WindowMenu', 'OleFormObject');
var
  Form: TForm;
  Info, BarInfo: TorvClassInfo;
  Name: string;
begin
  Form := ShownForm;
  Info := InfoOf(Form);
  for Name in Missing do
  begin
    ExpectError(Format(rsNotInHost, ['TCustomForm', Name]), Info, 'Get', Name, []);
    ExpectError(Format(rsNotInHost, ['TCustomForm', Name]), Info, 'Put', Name, [0]);
  end;
  ExpectError(Format(rsNotInHost, ['TCustomForm', 'Print']), Info, 'Call', 'Print', []);
  BarInfo := InfoOf(Form.VertScrollBar);
  AssertEquals('Size reads', Form.VertScrollBar.Size, Integer(Get(BarInfo, 'Size', [])));
  ExpectError(Format(rsNotInHost, ['TControlScrollBar', 'Size']), BarInfo, 'Put', 'Size', [5]);
  ExpectError(Format(rsNotInHost, ['TControlScrollBar', 'Color']), BarInfo, 'Get', 'Color', []);
  // Arguments the host would use without looking are refused when empty.
  ExpectError(Format(rsEmptyArgument, ['TCustomForm', 'IsShortCut', 'Message']), Info, 'Call',
    'IsShortCut', [0]);
  ExpectError(Format(rsEmptyArgument, ['TCustomForm', 'DefocusControl', 'Control']), Info,
    'Call', 'DefocusControl', [0, True]);
  ExpectError(Format(rsEmptyArgument, ['TApplication', 'ShowException', 'E']),
    InfoOf(Application), 'Call', 'ShowException', [0]);
end;

procedure TTestFormBindings.TestCreateFormHandsBackTheNewComponent;
var
  Info: TorvClassInfo;
  Method: TorvMethodInfo;
  Made: TObject;
begin
  Info := InfoOf(Application);
  Call(Info, 'CreateForm', [ClassToVar(TDataModule), 0]);
  Method := Info.FindMethod('CreateForm');
  Made := VarToObject(Method.GetArgs(1).Value);
  AssertNotNull('a new component', Made);
  Keep(Made);
  AssertEquals(TDataModule.ClassName, Made.ClassName);
  AssertSame('owned by the application', Application, TComponent(Made).Owner);
  ExpectError('TStringList is not a component class!', Info, 'Call', 'CreateForm',
    [ClassToVar(TStringList), 0]);
  ExpectError('CreateForm needs a component class!', Info, 'Call', 'CreateForm', [0, 0]);
end;

procedure TTestFormBindings.HeardActionExecute(Sender: TObject; Event: TorvEventInfo);
begin
  FSeen := Event.GetArgs(0).Value;
  Event.GetArgs(1).Value := True;
end;

procedure TTestFormBindings.TestApplicationExecuteActionHearsListeners;
var
  Info: TorvClassInfo;
  Action: TAction;
begin
  Action := TAction(Keep(TAction.Create(nil)));
  Info := InfoOf(Application);
  AssertFalse('nobody handles it', Call(Info, 'ExecuteAction', [ObjectToVar(Action)]));
  Listen(Info, 'OnActionExecute', @HeardActionExecute);
  AssertTrue('the listener handled it', Call(Info, 'ExecuteAction', [ObjectToVar(Action)]));
  AssertSame('the listener got the action', Action, VarToObject(FSeen));
end;

procedure TTestFormBindings.HeardShortCut(Sender: TObject; Event: TorvEventInfo);
begin
  // The message is the caller's record itself: change it in place.
  FSeen := Event.GetArgs(0).Value;
  TLMKeyPointer(VarToPointer(FSeen))^.CharCode := 77;
  Event.GetArgs(1).Value := True;
end;

procedure TTestFormBindings.TestShortCutWorksOnTheCallersMessage;
var
  Info: TorvClassInfo;
  Message: TLMKey;
begin
  Info := InfoOf(ShownForm);
  Listen(Info, 'OnShortCut', @HeardShortCut);
  Message := Default(TLMKey);
  Message.CharCode := 65;
  AssertTrue('handled by the listener', Call(Info, 'IsShortCut', [BufferToVar(Message)]));
  AssertEquals('the listener had the caller''s record', PtrInt(@Message), Int64(FSeen));
  AssertEquals('and changed it in place', 77, Message.CharCode);
end;

procedure TTestFormBindings.HeardShowHint(Sender: TObject; Event: TorvEventInfo);
begin
  FSeen := PHintInfo(VarToPointer(Event.GetArgs(2).Value))^.HintStr;
  Event.GetArgs(2).Value := BufferToVar(OtherHint);
end;

procedure TTestFormBindings.TestShowHintTakesTheRecordAListenerGives;
var
  Info: TorvClassInfo;
  HintStr: string;
  CanShow: Boolean;
  Hint: THintInfo;
begin
  Info := InfoOf(Application);
  Listen(Info, 'OnShowHint', @HeardShowHint);
  OtherHint := Default(THintInfo);
  // Built at run time, so that the copy has a string of its own to count.
  OtherHint.HintStr := 'other ' + IntToStr(Random(10));
  OtherHint.HideTimeout := 1234;
  Hint := Default(THintInfo);
  Hint.HintStr := 'own';
  HintStr := 'own';
  CanShow := True;
  // What the host does when a hint is about to show: call the handler.
  Application.OnShowHint(HintStr, CanShow, Hint);
  AssertEquals('the listener saw the host''s hint', 'own', string(FSeen));
  AssertEquals('the host shows the other record''s hint', OtherHint.HintStr, Hint.HintStr);
  AssertEquals('all of the record', 1234, Hint.HideTimeout);
  OtherHint.HintStr := '';
end;

procedure TTestFormBindings.LeaveNoRecord(Sender: TObject; Event: TorvEventInfo);
var
  I: Integer;
begin
  for I := 0 to Event.GetArgCount - 1 do
    if Event.GetArgs(I).Name = string(FSeen) then
      Event.GetArgs(I).Value := 0
    else if Event.GetArgs(I).Name = 'HintStr' then
      Event.GetArgs(I).Value := 'changed';
end;

procedure TTestFormBindings.TestListenerLeavingNoRecordIsRefused;
var
  Info: TorvClassInfo;
  HintStr, Failed: string;
  CanShow, Handled: Boolean;
  Hint: THintInfo;
  Message: TLMKey;
begin
  Info := InfoOf(Application);
  Listen(Info, 'OnShowHint', @LeaveNoRecord);
  Listen(Info, 'OnShortCut', @LeaveNoRecord);
  FSeen := 'HintInfo';
  Hint := Default(THintInfo);
  Hint.HintStr := 'own';
  Hint.HideTimeout := 77;
  HintStr := 'own';
  CanShow := True;
  Failed := '';
  try
    Application.OnShowHint(HintStr, CanShow, Hint);
  except
    on E: Exception do
      Failed := E.Message;
  end;
  AssertEquals(Format(rsEmptyArgument, ['TApplication', 'OnShowHint', 'HintInfo']), Failed);
  AssertEquals('the host keeps its hint', 'own', Hint.HintStr);
  AssertEquals('and every other parameter', 'own', HintStr);
  AssertEquals('all of it', 77, Hint.HideTimeout);

  FSeen := 'Msg';
  Message := Default(TLMKey);
  Message.CharCode := 65;
  Handled := False;
  Failed := '';
  try
    Application.OnShortCut(Message, Handled);
  except
    on E: Exception do
      Failed := E.Message;
  end;
  AssertEquals(Format(rsEmptyArgument, ['TApplication', 'OnShortCut', 'Msg']), Failed);
  AssertEquals('the host keeps its message', 65, Message.CharCode);
end;

{ TTestMenuBindings }

procedure TTestMenuBindings.PreviousClick(Sender: TObject);
begin
  Logged('previous');
end;

procedure TTestMenuBindings.HeardClick(Sender: TObject; Event: TorvEventInfo);
begin
  Logged('listener:' + TMenuItem(VarToObject(Event.GetArgs(0).Value)).Caption);
end;

procedure TTestMenuBindings.TestItemsThroughTheBinding;
var
  Root, First, Second, Third: TMenuItem;
  Info, ItemInfo: TorvClassInfo;
begin
  Root := TMenuItem(Keep(TMenuItem.Create(nil)));
  First := TMenuItem.Create(Root);
  First.Caption := 'First';
  Second := TMenuItem.Create(Root);
  Second.Caption := 'Second';
  Third := TMenuItem.Create(Root);
  Third.Caption := 'Third';
  Info := InfoOf(Root);
  Root.Add(First);
  Call(Info, 'Insert', [0, ObjectToVar(Second)]);
  Call(Info, 'Insert', [2, ObjectToVar(Third)]);
  AssertEquals('Count', 3, Integer(Get(Info, 'Count', [])));
  AssertSame('Items(0)', Second, VarToObject(Get(Info, 'Items', [0])));
  AssertSame('Find', Third, VarToObject(Call(Info, 'Find', ['Third'])));
  AssertEquals('Find of a caption that is not there', 0, Int64(Call(Info, 'Find', ['Fourth'])));
  AssertEquals('IndexOf', 1, Integer(Call(Info, 'IndexOf', [ObjectToVar(First)])));
  ItemInfo := InfoOf(First);
  AssertSame('Parent', Root, VarToObject(Get(ItemInfo, 'Parent', [])));
  // Clear below frees the items, and this class info is not the registry's.
  DropInfo(ItemInfo);
  Call(Info, 'Remove', [ObjectToVar(Second)]);
  Root.Insert(0, Second);
  Call(Info, 'Delete', [2]);
  AssertEquals('Count after Delete', 2, Root.Count);
  Root.Add(Third);
  Call(Info, 'Clear', []);
  AssertEquals('Count after Clear', 0, Root.Count);
end;

procedure TTestMenuBindings.TestClickRunsThePreviousHandlerFirst;
var
  Item: TMenuItem;
  Info: TorvClassInfo;
begin
  Item := TMenuItem(Keep(TMenuItem.Create(nil)));
  Item.Caption := 'Go';
  Item.OnClick := @PreviousClick;
  Info := InfoOf(Item);
  Listen(Info, 'OnClick', @HeardClick);
  Call(Info, 'Click', []);
  AssertEquals('previous listener:Go', FLog);
  FLog := '';
  Item.Enabled := False;
  Item.Click;
  AssertEquals('a disabled item does nothing', '', FLog);
  DropInfo(Info);
  AssertTrue('the previous handler is back', TMethod(Item.OnClick).Data = Pointer(Self));
end;

procedure TTestMenuBindings.PreviousMeasure(Sender: TObject; ACanvas: TCanvas;
  var AWidth, AHeight: Integer);
begin
  AWidth := 10;
  AHeight := 20;
end;

procedure TTestMenuBindings.HeardMeasure(Sender: TObject; Event: TorvEventInfo);
begin
  FWidth := Event.GetArgs(2).Value;
  FHeight := Event.GetArgs(3).Value;
  Event.GetArgs(3).Value := 30;
end;

procedure TTestMenuBindings.TestMeasureItemWritesSizesBack;
var
  Item: TMenuItem;
  Width, Height: Integer;
begin
  Item := TMenuItem(Keep(TMenuItem.Create(nil)));
  Item.OnMeasureItem := @PreviousMeasure;
  Listen(InfoOf(Item), 'OnMeasureItem', @HeardMeasure);
  Width := 1;
  Height := 2;
  Item.OnMeasureItem(Item, nil, Width, Height);
  AssertEquals('the listener saw the previous width', 10, Integer(FWidth));
  AssertEquals('the listener saw the previous height', 20, Integer(FHeight));
  AssertEquals('width as the previous handler left it', 10, Width);
  AssertEquals('height from the listener', 30, Height);
end;

procedure TTestMenuBindings.HeardDraw(Sender: TObject; Event: TorvEventInfo);
begin
  AssertEquals('the parameters of the host''s shape', 'AState', Event.GetArgs(3).Name);
  FState := POwnerDrawState(VarToPointer(Event.GetArgs(3).Value))^;
  FWidth := PRect(VarToPointer(Event.GetArgs(2).Value))^.Right;
end;

procedure TTestMenuBindings.TestDrawItemGivesTheStateAsAnAddress;
var
  Item: TMenuItem;
begin
  Item := TMenuItem(Keep(TMenuItem.Create(nil)));
  Listen(InfoOf(Item), 'OnDrawItem', @HeardDraw);
  Item.OnDrawItem(Item, nil, Rect(1, 2, 33, 4), [odSelected, odChecked]);
  AssertTrue('the state at the address', FState = [odSelected, odChecked]);
  AssertEquals('the rectangle at the address', 33, Integer(FWidth));
end;

procedure TTestMenuBindings.TestWindowHandleOnlyOnMainMenus;
var
  Main: TMainMenu;
  Info: TorvClassInfo;
  Handle: HWND;
begin
  Main := TMainMenu(Keep(TMainMenu.Create(nil)));
  Info := InfoOf(Main);
  Handle := 4242;
  Put(Info, 'WindowHandle', BufferToVar(Handle));
  AssertEquals('written from the address', 4242, Int64(Main.WindowHandle));
  AssertEquals('read at the address', 4242,
    Int64(PHandle(VarToPointer(Get(Info, 'WindowHandle', [])))^));
  ExpectError(Format(rsNotInHost, ['TPopupMenu', 'WindowHandle']),
    InfoOf(Keep(TPopupMenu.Create(nil))), 'Get', 'WindowHandle', []);
end;

procedure TTestMenuBindings.TestStandIns;
var
  List: TPopupList;
  Popup: TPopupMenu;
  Info: TorvClassInfo;
  Form: TCustomActiveForm;
begin
  List := TPopupList(Keep(TPopupList.CreateFor(77)));
  Popup := TPopupMenu(Keep(TPopupMenu.Create(nil)));
  Info := InfoOf(List);
  AssertEquals('the window at the address', 77,
    Int64(PHandle(VarToPointer(Get(Info, 'Window', [])))^));
  Call(Info, 'Add', [ObjectToVar(Popup)]);
  AssertEquals(1, List.Count);
  Call(Info, 'Remove', [ObjectToVar(Popup)]);
  AssertEquals(0, List.Count);
  Form := TCustomActiveForm(Keep(TCustomActiveForm.CreateNew(nil)));
  Info := InfoOf(Form);
  Put(Info, 'AxBorderStyle', Ord(afbSunken));
  AssertEquals(Ord(afbSunken), Integer(Get(Info, 'AxBorderStyle', [])));
  AssertTrue('its own features come after the form''s',
    Info.FindProperty('AxBorderStyle').Visibility = pvPublished);
end;

initialization
  RegisterHostMaker(@MakeFormsHost);
  // The host declares these methods again, and so do the tables.
  RegisterRedeclared('TCustomForm', 'Show');
  RegisterRedeclared('TCustomForm', 'Hide');
  RegisterRedeclared('TPopupList', 'Add');
  RegisterRedeclared('TPopupList', 'Remove');
  RegisterRedeclared('TApplication', 'ExecuteAction');
  RegisterRedeclared('TApplication', 'UpdateAction');
  RegisterTest('Bindings', TTestFormsMenusWalk);
  RegisterTest('Bindings', TTestFormBindings);
  RegisterTest('Bindings', TTestMenuBindings);
end.
