{ Bindings of controls and action lists on a shown form: values of each
  kind, methods, events whose var parameters a listener changes, action
  links, and links read from a form file. }
unit Orvtestcontrols;

{$I orvdefines.inc}

interface

uses
  Classes, SysUtils, Variants, fpcunit, testregistry,
  Controls, Forms, ActnList, LMessages,
  Orvcommon, Orvtestclasses;

type
  { A control that answers one message with what it was given. }
  TEchoControl = class(TCustomControl)
  private
    FWParam, FLParam: PtrInt;
  public
    procedure WMEcho(var AMessage: TLMessage); message LM_USER + 7;
    { The parameters of the last message answered. }
    property WParam: PtrInt read FWParam;
    property LParam: PtrInt read FLParam;
  end;

  { Owns a shown form with two windowed controls; frees it when a test ends. }
  TControlsCase = class(TClassesCase)
  protected
    FForm: TForm;
    FFirst, FSecond: TEchoControl;
    procedure SetUp; override;
    procedure TearDown; override;
    procedure Own(Sender: TObject);
    procedure Heard(Sender: TObject; Event: TorvEventInfo);
  end;

  TTestControlBindings = class(TControlsCase)
  private
    procedure OwnKeyDown(Sender: TObject; var Key: Word; Shift: TShiftState);
    procedure OwnMouseDown(Sender: TObject; Button: TMouseButton; Shift: TShiftState;
      X, Y: Integer);
    procedure StopKey(Sender: TObject; Event: TorvEventInfo);
    procedure HeardMouse(Sender: TObject; Event: TorvEventInfo);
    procedure HeardContextPopup(Sender: TObject; Event: TorvEventInfo);
    procedure LimitWidth(Sender: TObject; Event: TorvEventInfo);
  published
    procedure TestValuesOfEachKind;
    procedure TestRectanglesAndPointsAsAddresses;
    procedure TestMethodsOnAShownForm;
    procedure TestFocusOnAShownForm;
    procedure TestKeyDownListenerStopsTheKey;
    procedure TestMouseDownAfterTheOwnHandler;
    procedure TestVarParametersReachTheHost;
    procedure TestTabOrderListOfEitherKind;
    procedure TestDragObjectsReachTheirControl;
    procedure TestHintWindowAndMouseRecords;
    procedure TestMembersTheHostLacks;
  end;

  TTestActionBindings = class(TControlsCase)
  private
    FActions: TActionList;
    FAction: TAction;
    procedure OwnHint(var HintStr: string; var CanShow: Boolean);
    procedure ChangeHint(Sender: TObject; Event: TorvEventInfo);
    procedure HandleAll(Sender: TObject; Event: TorvEventInfo);
  protected
    procedure SetUp; override;
  published
    procedure TestExecuteRunsOwnHandlerThenListeners;
    procedure TestControlFollowsItsAction;
    procedure TestListHandlesTheAction;
    procedure TestHintTextComesBack;
  end;

  TTestControlsFormFile = class(TTestCase)
  published
    procedure TestLinksWorkOnTheShownForm;
  end;

implementation

uses
  Types, Graphics, LCLType, LCLIntf,
  Orvvalues, Orvtestctrlform;

type
  TControlAccess = class(TControl);
  TWinControlAccess = class(TWinControl);
  PAnchors = ^TAnchors;
  PShiftState = ^TShiftState;

procedure ShowAndSettle(AForm: TCustomForm);
begin
  AForm.Show;
  Application.ProcessMessages;
end;

{ TEchoControl }

procedure TEchoControl.WMEcho(var AMessage: TLMessage);
begin
  FWParam := AMessage.WParam;
  FLParam := AMessage.LParam;
  AMessage.Result := AMessage.WParam xor AMessage.LParam;
end;

{ TControlsCase }

procedure TControlsCase.SetUp;
begin
  inherited SetUp;
  FForm := TForm.CreateNew(nil);
  FForm.SetBounds(50, 50, 320, 240);
  FFirst := TEchoControl.Create(FForm);
  FFirst.SetBounds(10, 10, 100, 50);
  FFirst.Parent := FForm;
  FSecond := TEchoControl.Create(FForm);
  FSecond.SetBounds(50, 30, 100, 50);
  FSecond.Parent := FForm;
  ShowAndSettle(FForm);
end;

procedure TControlsCase.TearDown;
begin
  // The class infos let go of the controls before the form frees them.
  inherited TearDown;
  FreeAndNil(FForm);
end;

procedure TControlsCase.Own(Sender: TObject);
begin
  FLog := FLog + 'own ';
end;

procedure TControlsCase.Heard(Sender: TObject; Event: TorvEventInfo);
begin
  FLog := FLog + Event.Name + ' ';
end;

{ TTestControlBindings }

procedure TTestControlBindings.OwnKeyDown(Sender: TObject; var Key: Word; Shift: TShiftState);
begin
  FLog := FLog + Format('own %d ', [Key]);
end;

procedure TTestControlBindings.OwnMouseDown(Sender: TObject; Button: TMouseButton;
  Shift: TShiftState; X, Y: Integer);
begin
  FLog := FLog + 'own ';
end;

procedure TTestControlBindings.StopKey(Sender: TObject; Event: TorvEventInfo);
begin
  AssertTrue('the shift state at its address',
    PShiftState(VarToPointer(Event.Find('Shift').Value))^ = [ssCtrl]);
  FLog := FLog + Format('listener %d ', [Integer(Event.Find('Key').Value)]);
  Event.Find('Key').Value := 0;
end;

procedure TTestControlBindings.HeardMouse(Sender: TObject; Event: TorvEventInfo);
begin
  FLog := FLog + Format('%s %d %d,%d shift=%s ', [Event.Name,
    Integer(Event.Find('Button').Value), Integer(Event.Find('X').Value),
    Integer(Event.Find('Y').Value),
    BoolToStr(ssShift in PShiftState(VarToPointer(Event.Find('Shift').Value))^, True)]);
end;

procedure TTestControlBindings.HeardContextPopup(Sender: TObject; Event: TorvEventInfo);
var
  At: PPoint;
begin
  At := VarToPointer(Event.Find('MousePos').Value);
  FLog := FLog + Format('popup at %d,%d ', [At^.X, At^.Y]);
  Event.Find('Handled').Value := True;
end;

procedure TTestControlBindings.LimitWidth(Sender: TObject; Event: TorvEventInfo);
begin
  Event.Find('MaxWidth').Value := 70;
end;

procedure TTestControlBindings.TestValuesOfEachKind;
var
  Info: TorvClassInfo;
begin
  Info := InfoOf(FFirst, 'TCustomControl');
  Put(Info, 'Caption', 'First', []);
  AssertEquals('a protected string', 'First', FFirst.Caption);
  AssertEquals('Text is the same text', 'First', string(Get(Info, 'Text', [])));
  Put(Info, 'Align', Ord(alBottom), []);
  AssertEquals('an enumeration', Ord(alBottom), Ord(FFirst.Align));
  Put(Info, 'Align', Ord(alNone), []);
  Put(Info, 'Visible', False, []);
  AssertFalse('a boolean', FFirst.Visible);
  Put(Info, 'Visible', True, []);
  Put(Info, 'Cursor', crHandPoint, []);
  AssertEquals(crHandPoint, FFirst.Cursor);
  AssertEquals('an object as its address', PtrInt(FForm), PtrInt(Get(Info, 'Parent', [])));
  Put(Info, 'Parent', ObjectToVar(FSecond), []);
  AssertSame('written from an address', FSecond, FFirst.Parent);
  Put(Info, 'Parent', ObjectToVar(FForm), []);
  AssertEquals('an indexed object', PtrInt(FForm.Controls[1]),
    PtrInt(Get(InfoOf(FForm, 'TWinControl'), 'Controls', [1])));
  AssertEquals('a window handle keeps its 8 bytes', PtrUInt(FFirst.Handle),
    PPtrUInt(VarToPointer(Get(Info, 'Handle', [])))^);
end;

procedure TTestControlBindings.TestRectanglesAndPointsAsAddresses;
var
  Info: TorvClassInfo;
  Address: PtrInt;
  Moved: TRect;
  Anchors: TAnchors;
begin
  Info := InfoOf(FFirst, 'TCustomControl');
  Address := Get(Info, 'BoundsRect', []);
  AssertTrue(FFirst.BoundsRect = PRect(Address)^);
  Put(Info, 'BoundsRect', Address, []);
  AssertTrue('written back, the control stays', Rect(10, 10, 110, 60) = FFirst.BoundsRect);
  Moved := Rect(20, 25, 90, 75);
  Put(Info, 'BoundsRect', PtrInt(@Moved), []);
  AssertTrue('moved to the rectangle given', Moved = FFirst.BoundsRect);
  AssertTrue(FFirst.ClientRect = PRect(VarToPointer(Get(Info, 'ClientRect', [])))^);
  AssertEquals(70, PRect(VarToPointer(Get(Info, 'ClientRect', [])))^.Right);

  Address := Get(Info, 'Anchors', []);
  AssertEquals('the same buffer each time', Address, PtrInt(Get(Info, 'Anchors', [])));
  AssertTrue([akLeft, akTop] = PAnchors(Address)^);
  Anchors := [akRight, akBottom];
  Put(Info, 'Anchors', PtrInt(@Anchors), []);
  AssertTrue('a 4-byte set', FFirst.Anchors = [akRight, akBottom]);
end;

procedure TTestControlBindings.TestMethodsOnAShownForm;
var
  Info: TorvClassInfo;
  Screen_, Client: TPoint;
  Answer: TorvMethodInfo;
  Message: Cardinal;
  Broadcast: TLMessage;
begin
  Info := InfoOf(FFirst, 'TCustomControl');
  Call(Info, 'SetBounds', [5, 6, 70, 40]);
  AssertTrue(Rect(5, 6, 75, 46) = FFirst.BoundsRect);
  AssertSame('the first is under the second', FSecond, FForm.Controls[1]);
  Call(Info, 'BringToFront', []);
  AssertSame('and now on top', FFirst, FForm.Controls[1]);
  Screen_ := FFirst.ClientToScreen(Point(4, 9));
  Client := PPoint(VarToPointer(Call(Info, 'ScreenToClient', [PtrInt(@Screen_)]).Result))^;
  AssertEquals(4, Client.X);
  AssertEquals(9, Client.Y);

  Message := LM_USER + 7;
  Answer := Call(Info, 'Perform', [PtrInt(@Message), Int64($123456789AB), Int64(-$7000000001)]);
  AssertEquals('the whole first parameter', Int64($123456789AB), Int64(FFirst.WParam));
  AssertEquals('the whole second parameter', Int64(-$7000000001), Int64(FFirst.LParam));
  AssertEquals('the whole result', Int64($123456789AB) xor Int64(-$7000000001), Int64(Answer.Result));

  Broadcast := Default(TLMessage);
  Broadcast.Msg := LM_USER + 7;
  Broadcast.WParam := 3;
  Call(InfoOf(FForm, 'TWinControl'), 'Broadcast', [PtrInt(@Broadcast)]);
  AssertEquals('the first child answered', 3, Int64(Broadcast.Result));
  AssertEquals(3, Int64(FSecond.WParam));
  AssertEquals('and the answer stopped it there', Int64($123456789AB), Int64(FFirst.WParam));
  ExpectError('TWinControl.Broadcast cannot take an empty Message!', InfoOf(FForm, 'TWinControl'),
    stCall, 'Broadcast', [0]);
  ExpectError('TControl.GetTextBuf cannot take an empty Buffer!', InfoOf(FForm, 'TWinControl'),
    stCall, 'GetTextBuf', [0, 8]);
end;

procedure TTestControlBindings.TestFocusOnAShownForm;
var
  Info: TorvClassInfo;
begin
  FSecond.TabStop := True;
  Info := InfoOf(FSecond, 'TCustomControl');
  AssertTrue('a shown control can take the focus', Call(Info, 'CanFocus', []).Result);
  Call(Info, 'SetFocus', []);
  Application.ProcessMessages;
  AssertSame('the form''s active control', FSecond, FForm.ActiveControl);
  FFirst.Visible := False;
  AssertFalse(Call(InfoOf(FFirst, 'TCustomControl'), 'CanFocus', []).Result);
  // The host's own error passes through.
  try
    Call(InfoOf(FFirst, 'TCustomControl'), 'SetFocus', []);
    Fail('a hidden control took the focus');
  except
    on E: EInvalidOperation do
      AssertTrue(E.Message <> '');
  end;
end;

procedure TTestControlBindings.TestKeyDownListenerStopsTheKey;
var
  Info: TorvClassInfo;
  Key: Word;
begin
  FFirst.OnKeyDown := @OwnKeyDown;
  Info := InfoOf(FFirst, 'TCustomControl');
  Listen(Info, 'OnKeyDown', @StopKey);
  Key := VK_A;
  TWinControlAccess(FFirst).KeyDown(Key, [ssCtrl]);
  AssertEquals(Format('own %d listener %0:d ', [VK_A]), FLog);
  AssertEquals('the host sees the key stopped', 0, Key);
  DropInfo(Info);
  AssertTrue('the own handler is back',
    TMethod(FFirst.OnKeyDown).Code = Pointer(@TTestControlBindings.OwnKeyDown));
end;

procedure TTestControlBindings.TestMouseDownAfterTheOwnHandler;
var
  Info: TorvClassInfo;
begin
  FFirst.OnMouseDown := @OwnMouseDown;
  Info := InfoOf(FFirst, 'TCustomControl');
  Listen(Info, 'OnMouseDown', @HeardMouse);
  Listen(Info, 'OnClick', @Heard);
  FFirst.Perform(LM_RBUTTONDOWN, MK_RBUTTON or MK_SHIFT, MakeLParam(12, 34));
  AssertEquals(Format('own OnMouseDown %d 12,34 shift=True ', [Ord(mbRight)]), FLog);
  FLog := '';
  DropInfo(Info);
  FFirst.OnClick := @Own;
  Info := InfoOf(FFirst, 'TCustomControl');
  Listen(Info, 'OnClick', @Heard);
  TControlAccess(FFirst).Click;
  AssertEquals('own OnClick ', FLog);
end;

procedure TTestControlBindings.TestVarParametersReachTheHost;
var
  Info: TorvClassInfo;
  Handled: Boolean;
begin
  Info := InfoOf(FFirst, 'TCustomControl');
  Listen(Info, 'OnContextPopup', @HeardContextPopup);
  Listen(Info, 'OnConstrainedResize', @LimitWidth);
  Listen(Info, 'OnResize', @Heard);
  Handled := False;
  TControlAccess(FFirst).DoContextPopup(Point(7, 8), Handled);
  AssertEquals('a point by its address', 'popup at 7,8 ', FLog);
  AssertTrue('and Handled back', Handled);
  FLog := '';
  FFirst.SetBounds(10, 10, 200, 50);
  Application.ProcessMessages;
  AssertEquals('the listener''s maximum width holds', 70, FFirst.Width);
  AssertTrue('the control told of its new size', Pos('OnResize', FLog) > 0);
  AssertTrue('the canResize the LCL lacks is declared and never heard',
    (Info.FindEvent('OnCanResize') <> nil));
end;

procedure TTestControlBindings.TestTabOrderListOfEitherKind;
var
  Info: TorvClassInfo;
  Fast: TFPList;
  Slow: TList;
begin
  FFirst.TabStop := True;
  FSecond.TabStop := True;
  Info := InfoOf(FForm, 'TWinControl');
  Fast := TFPList(Keep(TFPList.Create));
  Call(Info, 'GetTabOrderList', [ObjectToVar(Fast)]);
  Slow := TList(Keep(TList.Create));
  Slow.Add(Self);
  Call(Info, 'GetTabOrderList', [ObjectToVar(Slow)]);
  AssertEquals('the LCL''s list', 2, Fast.Count);
  AssertEquals('a TList keeps what it held and gets the same', 3, Slow.Count);
  AssertTrue(Slow[1] = Fast[0]);
  ExpectError('TWinControl.GetTabOrderList: the List given is not a list!', Info, stCall,
    'GetTabOrderList', [ObjectToVar(FForm)]);
end;

procedure TTestControlBindings.TestDragObjectsReachTheirControl;
var
  Dock: TDragDockObject;
  Info: TorvClassInfo;
  At: TPoint;
begin
  Dock := TDragDockObject(Keep(TDragDockObject.Create(FFirst)));
  Dock.DockRect := Rect(1, 2, 3, 4);
  Info := InfoOf(Dock);
  // Control is declared by the binding of a class the LCL lacks, which
  // takes the owner as the TDragObject it is.
  AssertEquals(PtrInt(FFirst), PtrInt(Get(Info, 'Control', [])));
  At := Point(11, 12);
  Put(Info, 'DragPos', PtrInt(@At), []);
  AssertEquals(12, Dock.DragPos.Y);
  AssertTrue(Rect(1, 2, 3, 4) = PRect(VarToPointer(Get(Info, 'DockRect', [])))^);
end;

procedure TTestControlBindings.TestHintWindowAndMouseRecords;
var
  Hint: THintWindow;
  Info: TorvClassInfo;
  Bounds: TRect;
  At: TPoint;
begin
  Hint := THintWindow(Keep(THintWindow.Create(nil)));
  Info := InfoOf(Hint);
  Bounds := PRect(VarToPointer(Call(Info, 'CalcHintRect', [300, 'a hint', 0]).Result))^;
  AssertTrue('a rectangle result', Hint.CalcHintRect(300, 'a hint', nil) = Bounds);
  Types.OffsetRect(Bounds, 30, 40);
  Call(Info, 'ActivateHint', [PtrInt(@Bounds), 'a hint']);
  AssertTrue('shown where the rectangle given says', Hint.Visible and (Hint.Left = 30));
  AssertEquals('an override makes the protected caption public', Ord(pvPublic),
    Ord(Info.FindProperty('Caption').Visibility));
  AssertEquals('a hint', string(Get(Info, 'Caption', [])));
  Call(Info, 'ReleaseHandle', []);
  AssertFalse(Hint.HandleAllocated);

  At := Point(40, 50);
  Info := InfoOf(Mouse);
  Put(Info, 'CursorPos', PtrInt(@At), []);
  AssertEquals('the pointer moved', 50, Mouse.CursorPos.Y);
  AssertEquals(40, PPoint(VarToPointer(Get(Info, 'CursorPos', [])))^.X);
end;

procedure TTestControlBindings.TestMembersTheHostLacks;
begin
  ExpectError(Format(rsNotInHost, ['TWinControl', 'Ctl3D']), InfoOf(FFirst, 'TCustomControl'),
    stPut, 'Ctl3D', [True]);
  ExpectError(Format(rsNotInHost, ['TControl', 'GetControlsAlignment']),
    InfoOf(FFirst, 'TCustomControl'), stCall, 'GetControlsAlignment', []);
  ExpectError(Format(rsNotInHost, ['TMouse', 'WheelPresent']), InfoOf(Mouse), stGet,
    'WheelPresent', []);
  ExpectError(Format(rsNotInHost, ['TDragObject', 'MouseDeltaX']),
    InfoOf(Keep(TDragDockObject.Create(FFirst))), stGet, 'MouseDeltaX', []);
end;

{ TTestActionBindings }

procedure TTestActionBindings.SetUp;
begin
  inherited SetUp;
  FActions := TActionList.Create(FForm);
  FAction := TAction.Create(FForm);
  FAction.ActionList := FActions;
  FAction.Caption := 'Go';
end;

procedure TTestActionBindings.OwnHint(var HintStr: string; var CanShow: Boolean);
begin
  FLog := FLog + 'own:' + HintStr + ' ';
  HintStr := HintStr + '!';
end;

procedure TTestActionBindings.ChangeHint(Sender: TObject; Event: TorvEventInfo);
begin
  FLog := FLog + 'listener:' + string(Event.Find('HintStr').Value) + ' ';
  Event.Find('HintStr').Value := 'changed';
end;

procedure TTestActionBindings.HandleAll(Sender: TObject; Event: TorvEventInfo);
begin
  FLog := FLog + Event.Name + ' ';
  Event.Find('Handled').Value := True;
end;

procedure TTestActionBindings.TestExecuteRunsOwnHandlerThenListeners;
var
  Info: TorvClassInfo;
begin
  FAction.OnExecute := @Own;
  Info := InfoOf(FAction);
  Listen(Info, 'OnExecute', @Heard);
  AssertTrue(Call(Info, 'Execute', []).Result);
  AssertEquals('own OnExecute ', FLog);
end;

procedure TTestActionBindings.TestControlFollowsItsAction;
var
  ActionInfo, ControlInfo: TorvClassInfo;
begin
  ActionInfo := InfoOf(FAction);
  Listen(ActionInfo, 'OnExecute', @Heard);
  ControlInfo := InfoOf(FFirst, 'TCustomControl');
  Put(ControlInfo, 'Action', ObjectToVar(FAction), []);
  AssertSame(FAction, FFirst.Action);
  AssertEquals('the control took the caption', 'Go', FFirst.Caption);
  AssertTrue('through its action link', TObject(PtrInt(Get(ControlInfo, 'ActionLink', [])))
    is TControlActionLink);
  Put(ActionInfo, 'Caption', 'Went', []);
  AssertEquals('and follows it', 'Went', FFirst.Caption);
  TControlAccess(FFirst).Click;
  AssertEquals('a click runs the action', 'OnExecute ', FLog);
end;

procedure TTestActionBindings.TestListHandlesTheAction;
var
  Info: TorvClassInfo;
  Key: TLMKey;
begin
  FAction.OnExecute := @Own;
  FAction.ShortCut := VK_F5;
  Info := InfoOf(FActions);
  Listen(Info, 'OnExecute', @HandleAll);
  AssertEquals('a listed action', PtrInt(FAction), PtrInt(Get(Info, 'Actions', [0])));
  Key := Default(TLMKey);
  Key.Msg := LM_KEYDOWN;
  Key.CharCode := VK_F5;
  AssertTrue('the key message by its address',
    Call(Info, 'IsShortCut', [PtrInt(@Key)]).Result);
  AssertEquals('handled by the list, so the action''s own handler did not run',
    'OnExecute ', FLog);
end;

procedure TTestActionBindings.TestHintTextComesBack;
var
  Info: TorvClassInfo;
  Hint: TorvMethodInfo;
begin
  FAction.OnHint := @OwnHint;
  Info := InfoOf(FAction);
  Listen(Info, 'OnHint', @ChangeHint);
  Hint := Call(Info, 'DoHint', ['tip']);
  AssertEquals('own:tip listener:tip! ', FLog);
  AssertEquals('the var string comes back', 'changed', string(Hint.GetArgs(0).Value));
  AssertTrue(Hint.Result);
end;

{ TTestControlsFormFile }

procedure TTestControlsFormFile.TestLinksWorkOnTheShownForm;
var
  Form: TTestControlsForm;
  Image: TBitmap;
begin
  Image := nil;
  Form := TTestControlsForm.Create(nil);
  try
    ShowAndSettle(Form);
    AssertEquals('the first copy when the form was read', 60, Form.CustomControl2.Height);
    Form.Action1.Execute;
    Application.ProcessMessages;
    AssertTrue('the action moved the control', Rect(10, 20, 140, 60) = Form.CustomControl1.BoundsRect);
    AssertEquals('the other control followed on OnResize', 130, Form.CustomControl2.Height);
    Image := TBitmap.Create;
    Image.SetSize(16, 16);
    Form.ImageList1.Add(Image, nil);
    Form.ImageList1.Add(Image, nil);
    Form.ImageList1.Add(Image, nil);
    // The LCL's list tells of deleted images, not of added ones.
    Form.ImageList1.Delete(0);
    AssertEquals('the count followed on OnChange', 2, Form.Counter.Tag);
  finally
    Image.Free;
    Form.Free;
  end;
end;

initialization
  RegisterTest('Controls', TTestControlBindings);
  RegisterTest('Controls', TTestActionBindings);
  RegisterTest('Controls', TTestControlsFormFile);
end.
