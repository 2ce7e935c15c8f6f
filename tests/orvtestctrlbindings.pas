{ The bindings of the standard and extra controls on a shown form: values of
  every kind there and back, the members the LCL lacks, calls, the events
  their setters fire, var parameters written back, and handlers restored. }
unit Orvtestctrlbindings;

{$I orvdefines.inc}

interface

uses
  Classes, SysUtils, Variants, TypInfo, fpcunit, testregistry,
  Types, Controls, StdCtrls, ExtCtrls, Forms, Graphics, LCLType,
  Orvcommon, Orvstandins, Orvtestctrlfixture;

type
  TTestControlBindings = class(TControlsTestCase)
  private
    FAnswerName: string;
    FAnswer: Variant;
    FSeen: TStringList;
    FSeenRect: TRect;
    FSeenState: TOwnerDrawState;
    { Log the event, keep its parameter values, and set the parameter
      FAnswerName to FAnswer when one is named. }
    procedure Heard(Sender: TObject; Event: TorvEventInfo);
    { The scroll bar's own handler: it moves the position to 7. }
    procedure UserScroll(Sender: TObject; ScrollCode: TScrollCode; var ScrollPos: Integer);
    { The edit's own key handler: it turns the key into 'k'. }
    procedure UserKeyPress(Sender: TObject; var Key: Char);
    { Log the event and free its sender. }
    procedure FreeSender(Sender: TObject; Event: TorvEventInfo);
    procedure Answer(const AName: string; const AValue: Variant);
    function CountOf(const AEntry: string): Integer;
    { Write AValue (unless empty) to AName of AComponent by name, and check
      that the declaration found by name and the binding's own last one
      read the same. }
    procedure CheckByName(AComponent: TComponent; const AName: string; const AValue: Variant);
    procedure ExpectNotProvided(AComponent: TComponent; const AName, AClassName: string);
  protected
    procedure SetUp; override;
    procedure TearDown; override;
  published
    procedure TestValuesRoundTrip;
    procedure TestRedeclaredMembersAgreeByName;
    procedure TestValuesAtAddresses;
    procedure TestStringsThroughTheirObjects;
    procedure TestPagesByNameAndHeaderSections;
    procedure TestMembersTheHostLacks;
    procedure TestSettersFireWhatTheHostFires;
    procedure TestVarParametersAreWrittenBack;
    procedure TestRecordParametersArriveAsAddresses;
    procedure TestUserHandlerRunsFirst;
    procedure TestSavedHandlersStayWithTheirEvents;
    procedure TestListenerMayFreeTheControl;
    procedure TestHandlersAreHookedAndRestored;
  end;

implementation

uses
  Orvvalues, Orvmetadump, Orvtestfixtures;

type
  TEditAccess = class(TEdit);
  TComboAccess = class(TComboBox);
  TScrollAccess = class(TScrollBar);
  TSplitterAccess = class(TSplitter);
  TBarAccess = class(TControlBar);
  TTimerAccess = class(TTimer);
  TPaintBoxAccess = class(TPaintBox);
  TListAccess = class(TListBox);

function Unquoted(ALog: TStrings): string;
begin
  Result := StringReplace(ALog.CommaText, '"', '', [rfReplaceAll]);
end;

{ TTestControlBindings }

procedure TTestControlBindings.SetUp;
begin
  inherited SetUp;
  FSeen := TStringList.Create;
  FAnswerName := '';
end;

procedure TTestControlBindings.TearDown;
begin
  FreeAndNil(FSeen);
  inherited TearDown;
end;

procedure TTestControlBindings.Heard(Sender: TObject; Event: TorvEventInfo);
var
  I: Integer;
begin
  FLog.Add('listener ' + (Sender as TComponent).Name + '.' + Event.Name);
  for I := 0 to Event.GetArgCount - 1 do
    FSeen.Values[Event.GetArgs(I).Name] := VarToStr(Event.GetArgs(I).Value);
  // The copies of a value rectangle and of a set live while listeners run.
  if Event.Find('Rect') <> nil then
    FSeenRect := PRect(VarToPointer(Event.Find('Rect').Value))^;
  if Event.Find('State') <> nil then
    FSeenState := TOwnerDrawState(VarToPointer(Event.Find('State').Value)^);
  if (FAnswerName <> '') and (Event.Find(FAnswerName) <> nil) then
    Event.Find(FAnswerName).Value := FAnswer;
end;

procedure TTestControlBindings.FreeSender(Sender: TObject; Event: TorvEventInfo);
begin
  FLog.Add('freed ' + (Sender as TComponent).Name + '.' + Event.Name);
  Sender.Free;
end;

procedure TTestControlBindings.UserScroll(Sender: TObject; ScrollCode: TScrollCode;
  var ScrollPos: Integer);
begin
  FLog.Add('user ' + (Sender as TComponent).Name);
  ScrollPos := 7;
end;

procedure TTestControlBindings.UserKeyPress(Sender: TObject; var Key: Char);
begin
  FLog.Add('key ' + (Sender as TComponent).Name);
  Key := 'k';
end;

procedure TTestControlBindings.Answer(const AName: string; const AValue: Variant);
begin
  FAnswerName := AName;
  FAnswer := AValue;
end;

function TTestControlBindings.CountOf(const AEntry: string): Integer;
var
  I: Integer;
begin
  Result := 0;
  for I := 0 to FLog.Count - 1 do
    if FLog[I] = AEntry then
      Inc(Result);
end;

{ The published host property, read by the host's own type information: a
  view of the control that the bindings never use. }
function HostValue(AControl: TComponent; const AName: string): Variant;
begin
  case PropType(AControl, AName) of
    tkChar: Result := string(Chr(GetOrdProp(AControl, AName)));
    tkClass: Result := ObjectToVar(GetObjectProp(AControl, AName));
    tkBool: Result := GetOrdProp(AControl, AName) <> 0;
  else
    Result := GetPropValue(AControl, AName, False);
  end;
end;

procedure TTestControlBindings.TestValuesRoundTrip;
var
  Cases: array of Variant;
  Failures: TStringList;
  I: Integer;
  Control: TComponent;
  Name, Written: string;
  Back: Variant;
begin
  // Triples of control, published property and value, one or more of each
  // kind: integers, enumerations, booleans, strings, characters, objects.
  Cases := [
    'Edit1', 'CharCase', Ord(ecUppercase), 'Edit1', 'MaxLength', 12, 'Edit1', 'ReadOnly', True,
    'Edit1', 'Text', 'BINDING', 'Edit1', 'PasswordChar', '*',
    'Memo1', 'ScrollBars', Ord(ssVertical), 'Memo1', 'WordWrap', False,
    'Memo1', 'WantTabs', True, 'Memo1', 'Alignment', Ord(taCenter),
    'Combo1', 'Style', Ord(csDropDownList), 'Combo1', 'DropDownCount', 5,
    'Combo1', 'Sorted', True, 'Combo1', 'MaxLength', 9,
    'List1', 'MultiSelect', True, 'List1', 'Columns', 2, 'List1', 'Style', Ord(lbOwnerDrawFixed),
    'Check1', 'AllowGrayed', True, 'Check1', 'State', Ord(cbGrayed),
    'Check1', 'Alignment', Ord(taLeftJustify),
    'Scroll1', 'Kind', Ord(sbVertical), 'Scroll1', 'Max', 250, 'Scroll1', 'LargeChange', 7,
    'Scroll1', 'Position', 40, 'Scroll1', 'PageSize', 10,
    'Label1', 'Layout', Ord(tlCenter), 'Label1', 'WordWrap', True,
    'Label1', 'FocusControl', ObjectToVar(FEdit),
    'Button1', 'ModalResult', 1, 'Button1', 'Cancel', True,
    'Shape1', 'Shape', Ord(stCircle), 'Image1', 'Stretch', True, 'Image1', 'Center', True,
    'Panel1', 'Alignment', Ord(taLeftJustify), 'Panel1', 'FullRepaint', False,
    'Splitter1', 'MinSize', 40, 'Splitter1', 'ResizeStyle', Ord(rsLine),
    'Splitter1', 'Beveled', True,
    'Radios1', 'Columns', 2, 'Radios1', 'ItemIndex', 1,
    'Bar1', 'RowSize', 30, 'Bar1', 'RowSnap', False,
    'Header1', 'AllowResize', False, 'Header1', 'BorderStyle', Ord(bsNone),
    'Notebook1', 'PageIndex', 1, 'Timer1', 'Enabled', True];
  Failures := TStringList.Create;
  try
    for I := 0 to High(Cases) div 3 do
    begin
      Control := FForm.FindComponent(Cases[I * 3]);
      Name := Cases[I * 3 + 1];
      Written := VarToStr(Cases[I * 3 + 2]);
      try
        Put(Control, Name, [], Cases[I * 3 + 2]);
        Back := Get(Control, Name, []);
        if VarToStr(Back) <> Written then
          Failures.Add(Format('%s.%s: wrote %s, read %s', [Control.Name, Name, Written, VarToStr(Back)]))
        else if VarToStr(HostValue(Control, Name)) <> Written then
          Failures.Add(Format('%s.%s: wrote %s, the host has %s', [Control.Name, Name, Written,
            VarToStr(HostValue(Control, Name))]));
      except
        on E: Exception do
          Failures.Add(Format('%s.%s: %s', [Control.Name, Name, E.Message]));
      end;
    end;
    if Failures.Count > 0 then
      Fail(Failures.Text);
  finally
    Failures.Free;
  end;
  FTimer.Enabled := False;
  // A character property takes the first character; no character at all
  // leaves the text unmasked.
  Put(FEdit, 'PasswordChar', [], '#-');
  AssertEquals('#', FEdit.PasswordChar);
  Put(FEdit, 'PasswordChar', [], '');
  AssertEquals(Ord(#0), Ord(FEdit.PasswordChar));
  AssertEquals('the protected Checked of a button control is the check box''s state',
    False, Get(FCheck, 'Checked', []));
  Put(FCheck, 'Checked', [], True);
  AssertEquals(Ord(cbChecked), Ord(FCheck.State));
end;

procedure TTestControlBindings.CheckByName(AComponent: TComponent; const AName: string;
  const AValue: Variant);
var
  Info: TorvClassInfo;
  Own: TorvPropertyInfo;
  I: Integer;
begin
  // The name finds the first declaration in the chain; the last is the
  // binding's own (the same one where the binding only overrides it). Both
  // must reach the same host member.
  Info := InfoOf(AComponent);
  Own := nil;
  for I := Info.GetPropertyCount - 1 downto 0 do
    if Info.GetProperties(I).Name = AName then
    begin
      Own := Info.GetProperties(I);
      Break;
    end;
  if not VarIsEmpty(AValue) then
  begin
    Put(AComponent, AName, [], AValue);
    AssertTrue(AComponent.Name + '.' + AName + ' written by name',
      AValue = Info.GetProperty(Own));
  end;
  AssertTrue(AComponent.Name + '.' + AName + ' read by name as the own one',
    Get(AComponent, AName, []) = Info.GetProperty(Own));
end;

procedure TTestControlBindings.TestRedeclaredMembersAgreeByName;
begin
  CheckByName(FPanel, 'BevelOuter', Ord(bvLowered));
  AssertEquals(Ord(bvLowered), Ord(FPanel.BevelOuter));
  CheckByName(FPanel, 'BevelInner', Ord(bvRaised));
  AssertEquals(Ord(bvRaised), Ord(FPanel.BevelInner));
  CheckByName(FPanel, 'BevelWidth', 3);
  AssertEquals(3, FPanel.BevelWidth);
  CheckByName(FPanel, 'BorderWidth', 2);
  AssertEquals(2, FPanel.BorderWidth);
  CheckByName(FBar, 'BevelOuter', Ord(bvNone));
  AssertEquals(Ord(bvNone), Ord(FBar.BevelOuter));
  CheckByName(FBar, 'BevelWidth', 2);
  CheckByName(FLabel, 'AutoSize', False);
  AssertFalse(FLabel.AutoSize);
  CheckByName(FImage, 'Canvas', Unassigned);
  AssertEquals('an image''s canvas is its picture''s', PtrInt(FImage.Canvas),
    Int64(Get(FImage, 'Canvas', [])));
  AssertEquals('any other control''s is its own', PtrInt(FPaintBox.Canvas),
    Int64(Get(FPaintBox, 'Canvas', [])));
  // Controls that are no panels have no bevels in the LCL, nor has any
  // control a bevel kind.
  ExpectNotProvided(FEdit, 'BevelOuter', 'TEdit');
  ExpectNotProvided(FBar, 'BevelKind', 'TWinControl');
end;

procedure TTestControlBindings.ExpectNotProvided(AComponent: TComponent; const AName,
  AClassName: string);
begin
  try
    Get(AComponent, AName, []);
    Fail(AName + ' is not provided');
  except
    on E: EAssertionFailedError do
      raise;
    on E: Exception do
      AssertEquals(Format(rsNotInHost, [AClassName, AName]), E.Message);
  end;
end;

procedure TTestControlBindings.TestValuesAtAddresses;
const
  AddressValued: array[0..2] of string = ('BoundsRect', 'Anchors', 'ControlStyle');
var
  Address: Variant;
  Interval: Cardinal;
  Expected: TRect;
  Middle: TPoint;
  Name: string;
begin
  FMemo.Lines.Text := 'first' + LineEnding + 'second';
  FMemo.SelStart := 8;
  Address := Get(FMemo, 'CaretPos', []);
  AssertEquals('the caret as the host has it', FMemo.CaretPos.Y, PPoint(VarToPointer(Address))^.Y);
  AssertEquals(FMemo.CaretPos.X, PPoint(VarToPointer(Address))^.X);
  AssertTrue('a second read fills the same buffer', Address = Get(FMemo, 'CaretPos', []));

  // The timer's interval is a Cardinal: 4 bytes at an address both ways.
  Interval := 250;
  Put(FTimer, 'Interval', [], PointerToVar(@Interval));
  AssertEquals(250, FTimer.Interval);
  Address := Get(FTimer, 'Interval', []);
  AssertEquals(250, PCardinal(VarToPointer(Address))^);
  try
    Put(FTimer, 'Interval', [], 0);
    Fail('no address is refused');
  except
    on E: Exception do
      AssertEquals('TTimer.Interval cannot take an empty value!', E.Message);
  end;
  AssertEquals('a refused write leaves the interval', 250, FTimer.Interval);
  // Every value read at an address refuses 0, and the control keeps its own.
  Expected := FPanel.BoundsRect;
  for Name in AddressValued do
    try
      Put(FPanel, Name, [], 0);
      Fail(Name + ' at no address is refused');
    except
      on E: Exception do
        AssertEquals(Format('TControl.%s cannot take an empty value!', [Name]), E.Message);
    end;
  AssertTrue('the panel keeps its bounds', EqualRect(Expected, FPanel.BoundsRect));

  Expected := FList.ItemRect(1);
  Address := Call(FList, 'ItemRect', [1]);
  AssertTrue('ItemRect hands out the rectangle of item 1',
    CompareMem(@Expected, VarToPointer(Address), SizeOf(TRect)));
  Middle := CenterPoint(Expected);
  AssertEquals('ItemAtPos reads the point at the address given', 1,
    Call(FList, 'ItemAtPos', [PointerToVar(@Middle), True]));
  try
    Call(FList, 'ItemAtPos', [0, True]);
    Fail('a point at no address is refused');
  except
    on E: Exception do
      AssertEquals('TCustomListBox.ItemAtPos cannot take an empty Pos!', E.Message);
  end;

  FScroll.Max := 100;
  Call(FScroll, 'SetParams', [30, 10, 90]);
  AssertEquals(30, FScroll.Position);
  AssertEquals(10, FScroll.Min);
  AssertEquals(90, FScroll.Max);
end;

procedure TTestControlBindings.TestStringsThroughTheirObjects;
var
  Lines: TObject;
  Strings: TorvClassInfo;
  Given: TStringList;

  procedure AddThrough(AStrings: TObject; const AText: string);
  var
    Add: TorvMethodInfo;
  begin
    // The object a property hands out is reached through the binding of
    // the class it is taken as: the LCL's own strings classes are not bound.
    Strings := DeclaredInfo(TorvClassRegistry.FindClass('TStrings'));
    try
      Strings.SetOwnerWithoutEvents(AStrings);
      Add := Strings.FindMethod('Add');
      Add.GetArgs(0).Value := AText;
      Strings.InvokeMethod(Add);
    finally
      FreeAndNil(Strings);
    end;
  end;

begin
  Lines := VarToObject(Get(FMemo, 'Lines', []));
  AssertSame('Lines is the memo''s own strings object', FMemo.Lines, Lines);
  AddThrough(Lines, 'added');
  AssertEquals('added', FMemo.Lines[FMemo.Lines.Count - 1]);
  AddThrough(VarToObject(Get(FList, 'Items', [])), 'four');
  AssertEquals(4, FList.Items.Count);
  AssertEquals('four', FList.Items[3]);

  Given := TStringList.Create;
  try
    Given.CommaText := 'alpha,beta';
    Put(FMemo, 'Lines', [], ObjectToVar(Given));
    Put(FCombo, 'Items', [], ObjectToVar(Given));
    AssertEquals('writing Lines assigns the strings', Given.Text, FMemo.Lines.Text);
    AssertTrue('and keeps the memo''s own object', FMemo.Lines <> TStrings(Given));
    AssertEquals(2, FCombo.Items.Count);
    Put(FCombo, 'ItemIndex', [], 1);
    AssertEquals('beta', FCombo.Text);
    Put(FList, 'MultiSelect', [], True);
    Put(FList, 'Selected', [2], True);
    AssertTrue(FList.Selected[2]);
    AssertEquals(True, Get(FList, 'Selected', [2]));
    AssertEquals(False, Get(FList, 'Selected', [0]));
    AssertEquals(1, Get(FList, 'SelCount', []));
  finally
    Given.Free;
  end;
end;

procedure TTestControlBindings.TestPagesByNameAndHeaderSections;
var
  Message: string;
begin
  AssertEquals('First', Get(FNotebook, 'ActivePage', []));
  Put(FNotebook, 'ActivePage', [], 'Second');
  AssertEquals(1, FNotebook.PageIndex);
  Message := '';
  try
    Put(FNotebook, 'ActivePage', [], 'Third');
  except
    on E: Exception do
      Message := E.Message;
  end;
  AssertEquals('Notebook Notebook1 has no page named Third!', Message);
  AssertEquals('a refused page leaves the page shown', 1, FNotebook.PageIndex);
  AssertEquals('First'#10'Second'#10, StringReplace(
    TStrings(VarToObject(Get(FNotebook, 'Pages', []))).Text, LineEnding, #10, [rfReplaceAll]));

  Put(FHeader, 'SectionWidth', [1], 80);
  AssertEquals(80, FHeader.SectionWidth[1]);
  AssertEquals(80, Get(FHeader, 'SectionWidth', [1]));
  AssertEquals(0, Get(FHeader, 'SectionWidth', [0]));
  AssertSame(FHeader.Sections, VarToObject(Get(FHeader, 'Sections', [])));
end;

procedure TTestControlBindings.TestMembersTheHostLacks;
var
  Cases: array of Variant;
  Failures: TStringList;
  I: Integer;
  Control: TComponent;
  Kind, Name, Message: string;
begin
  // Control, p (read a property) or m (call a method), name: each is still
  // declared, and each answers the one error for what the LCL lacks.
  Cases := ['Edit1', 'p', 'OEMConvert', 'Edit1', 'm', 'ClearUndo', 'Edit1', 'm', 'GetSelTextBuf',
    'Edit1', 'm', 'SetSelTextBuf', 'Combo1', 'p', 'EditHandle', 'Combo1', 'p', 'ListHandle',
    'List1', 'p', 'TabWidth', 'Image1', 'p', 'IncrementalDisplay', 'Panel1', 'p', 'Locked',
    'Radios1', 'p', 'Canvas'];
  Failures := TStringList.Create;
  try
    for I := 0 to High(Cases) div 3 do
    begin
      Control := FForm.FindComponent(Cases[I * 3]);
      Kind := Cases[I * 3 + 1];
      Name := Cases[I * 3 + 2];
      Message := '';
      try
        if Kind = 'p' then
          Get(Control, Name, [])
        else
          case InfoOf(Control).FindMethod(Name).GetArgCount of
            0: Call(Control, Name, []);
            1: Call(Control, Name, [0]);
          else
            Call(Control, Name, [0, 0]);
          end;
      except
        on E: Exception do
          Message := E.Message;
      end;
      if (Pos(Name, Message) = 0) or (Pos('is not provided by the host library!', Message) = 0) then
        Failures.Add(Format('%s.%s: "%s"', [Control.Name, Name, Message]));
    end;
    if Failures.Count > 0 then
      Fail(Failures.Text);
  finally
    Failures.Free;
  end;
  AssertNotNull('events the LCL lacks stay declared', InfoOf(FImage).FindEvent('OnProgress'));
  AssertNotNull(InfoOf(FNotebook).FindEvent('OnPageChanged'));
end;

procedure TTestControlBindings.TestSettersFireWhatTheHostFires;
type
  TSetter = (stEditText, stMemoLines, stComboText, stComboItemIndex, stComboByUser,
    stCheckChecked, stScrollPosition);
const
  // What a link listening to the event hears of each setter: the count of
  // firings when the host sets the value, and the event it listens to.
  Expected: array[TSetter] of Integer = (1, 1, 0, 0, 1, 1, 1);
  Events: array[TSetter] of string = ('Edit1.OnChange', 'Memo1.OnChange', 'Combo1.OnChange',
    'Combo1.OnChange', 'Combo1.OnChange', 'Check1.OnClick', 'Scroll1.OnChange');
var
  Setter: TSetter;
  Failures: TStringList;
  Count: Integer;
begin
  Listen(FEdit, 'OnChange', @Heard);
  Listen(FMemo, 'OnChange', @Heard);
  Listen(FCombo, 'OnChange', @Heard);
  Listen(FCheck, 'OnClick', @Heard);
  Listen(FScroll, 'OnChange', @Heard);
  Failures := TStringList.Create;
  try
    for Setter := Low(Setter) to High(Setter) do
    begin
      FLog.Clear;
      case Setter of
        stEditText: FEdit.Text := 'typed';
        // Only once the memo has its window: the form is shown.
        stMemoLines: FMemo.Lines.Text := 'typed';
        stComboText: FCombo.Text := 'green';
        stComboItemIndex: FCombo.ItemIndex := 2;
        // What the widget calls when the user picks an item.
        stComboByUser: TComboAccess(FCombo).Change;
        stCheckChecked: FCheck.Checked := not FCheck.Checked;
        stScrollPosition: FScroll.Position := FScroll.Position + 5;
      end;
      Count := CountOf('listener ' + Events[Setter]);
      if (Count <> Expected[Setter]) or (FLog.Count <> Count) then
        Failures.Add(Format('%s: heard %d times, expected %d (%s)',
          [GetEnumName(TypeInfo(TSetter), Ord(Setter)), Count, Expected[Setter], FLog.CommaText]));
    end;
    // Written through the bindings, as a link writes: the same events.
    FLog.Clear;
    Put(FEdit, 'Text', [], 'linked');
    Put(FCombo, 'ItemIndex', [], 0);
    Put(FScroll, 'Position', [], 3);
    Put(FCheck, 'Checked', [], not FCheck.Checked);
    if Unquoted(FLog) <> 'listener Edit1.OnChange,listener Scroll1.OnChange,listener Check1.OnClick' then
      Failures.Add('through the bindings: ' + Unquoted(FLog));
    if Failures.Count > 0 then
      Fail(Failures.Text);
  finally
    Failures.Free;
  end;
end;

procedure TTestControlBindings.TestVarParametersAreWrittenBack;
var
  Key: Char;
  Height, Position, NewSize: Integer;
  Band, Other: TRect;
begin
  Listen(FEdit, 'OnKeyPress', @Heard);
  Answer('Key', 'A');
  Key := 'a';
  TEditAccess(FEdit).KeyPress(Key);
  AssertEquals('the listener''s key reaches the edit', 'A', Key);
  AssertEquals('a', FSeen.Values['Key']);

  Listen(FList, 'OnMeasureItem', @Heard);
  Answer('Height', 30);
  Height := 13;
  FList.MeasureItem(0, Height);
  AssertEquals(30, Height);
  AssertEquals('13', FSeen.Values['Height']);

  // The scroll bar's own handler runs first; what it leaves, the listener
  // sees, and the host keeps unless the listener changes it.
  FScroll.OnScroll := @UserScroll;
  Listen(FScroll, 'OnScroll', @Heard);
  FAnswerName := '';
  Position := 5;
  TScrollAccess(FScroll).Scroll(scLineDown, Position);
  AssertEquals('7', FSeen.Values['ScrollPos']);
  AssertEquals(7, Position);
  AssertEquals(IntToStr(Ord(scLineDown)), FSeen.Values['ScrollCode']);
  Answer('ScrollPos', 42);
  TScrollAccess(FScroll).Scroll(scLineDown, Position);
  AssertEquals(42, Position);

  Listen(FSplitter, 'OnCanResize', @Heard);
  Answer('Accept', False);
  NewSize := 60;
  AssertFalse('the listener refuses the new size', TSplitterAccess(FSplitter).CheckNewSize(NewSize));
  AssertEquals('60', FSeen.Values['NewSize']);

  // A var rectangle: the listener gives the address of another one, whose
  // value the host then receives.
  Listen(FBar, 'OnBandMove', @Heard);
  Band := Rect(1, 2, 3, 4);
  Other := Rect(10, 20, 30, 40);
  Answer('ARect', PointerToVar(@Other));
  TBarAccess(FBar).DoBandMove(FLabel, Band);
  AssertTrue('the rectangle at the listener''s address is copied back',
    CompareMem(@Band, @Other, SizeOf(TRect)));
  AssertEquals('the host''s own rectangle was handed out', IntToStr(PtrInt(@Band)),
    FSeen.Values['ARect']);
  AssertEquals(IntToStr(PtrInt(FLabel)), FSeen.Values['Control']);
end;

procedure TTestControlBindings.TestRecordParametersArriveAsAddresses;
var
  R: TRect;
  State: TOwnerDrawState;
begin
  // A value rectangle and a set are copied; listeners get the copies'
  // addresses, valid while they run.
  Listen(FList, 'OnDrawItem', @Heard);
  R := Rect(5, 6, 70, 80);
  State := [odSelected, odFocused];
  FAnswerName := '';
  FList.Style := lbOwnerDrawFixed;
  TListAccess(FList).DrawItem(1, R, State);
  AssertEquals('1', FSeen.Values['Index']);
  AssertEquals(IntToStr(PtrInt(FList)), FSeen.Values['Control']);
  AssertTrue('the rectangle, read at its address', CompareMem(@R, @FSeenRect, SizeOf(TRect)));
  AssertTrue('the state, read at its address', State = FSeenState);

  Listen(FHeader, 'OnSizing', @Heard);
  Listen(FHeader, 'OnSized', @Heard);
  // The list box paints its items through the same event meanwhile.
  FLog.Clear;
  FList.Style := lbStandard;
  FHeader.ResizeSection(1, 55);
  AssertEquals('listener Header1.OnSizing,listener Header1.OnSized', Unquoted(FLog));
  AssertEquals('55', FSeen.Values['AWidth']);
  AssertEquals('1', FSeen.Values['ASection']);
end;

procedure TTestControlBindings.TestUserHandlerRunsFirst;
begin
  FEdit.OnChange := @UserHandler;
  FTimer.OnTimer := @UserHandler;
  FPaintBox.OnPaint := @UserHandler;
  Listen(FEdit, 'OnChange', @Heard);
  Listen(FTimer, 'OnTimer', @Heard);
  Listen(FPaintBox, 'OnPaint', @Heard);
  FEdit.Text := 'both';
  // What the timer runs when its time comes.
  TTimerAccess(FTimer).DoOnTimer;
  TPaintBoxAccess(FPaintBox).Paint;
  AssertEquals('user Edit1,listener Edit1.OnChange,user Timer1,listener Timer1.OnTimer,' +
    'user PaintBox1,listener PaintBox1.OnPaint', Unquoted(FLog));
end;

procedure TTestControlBindings.TestSavedHandlersStayWithTheirEvents;
const
  Fired: array[0..3] of string = ('OnChange', 'OnKeyPress', 'OnKeyDown', 'OnEnter');
  Expected: array[Boolean] of string = ('key Edit9,user Edit9',
    'listener Edit9.OnChange,key Edit9,listener Edit9.OnKeyPress,listener Edit9.OnKeyDown,' +
    'user Edit9,listener Edit9.OnEnter');
var
  Edit: TEdit;
  Info: TorvClassInfo;
  Listener: TorvListener;
  Heard_: Boolean;
  I: Integer;
  Key: Char;
  Code: Word;
  Mine: TMethod;
begin
  // Two of the four events fired have a handler of their own: each firing
  // runs its own event's handler or none, heard or not, and each event gets
  // exactly its own handler back.
  Edit := TEdit.Create(nil);
  Info := nil;
  try
    Edit.Name := 'Edit9';
    Edit.OnKeyPress := @UserKeyPress;
    Edit.OnEnter := @UserHandler;
    Info := DeclaredInfo(TorvClassRegistry.FindClass('TEdit'));
    Info.SetOwner(Edit);
    for Heard_ := False to True do
    begin
      if Heard_ then
        for I := 0 to High(Fired) do
        begin
          Listener := TorvListener.Create;
          FListeners.Add(Listener);
          Listener.EventName := Fired[I];
          Listener.OnEvent := @Heard;
          Info.AddListener(Listener);
        end;
      FLog.Clear;
      Edit.Text := 'changed ' + BoolToStr(Heard_, True);
      Key := 'a';
      TEditAccess(Edit).KeyPress(Key);
      AssertEquals('the key handler''s key', 'k', Key);
      Code := VK_A;
      TEditAccess(Edit).KeyDown(Code, []);
      TEditAccess(Edit).DoEnter;
      AssertEquals(Expected[Heard_], Unquoted(FLog));
    end;
    Info.SetOwner(nil);
    AssertNull('OnChange had none', TMethod(Edit.OnChange).Code);
    AssertNull('OnKeyDown had none', TMethod(Edit.OnKeyDown).Code);
    Mine := TMethod(TKeyPressEvent(@UserKeyPress));
    AssertTrue('OnKeyPress', CompareMem(@Mine, @Edit.OnKeyPress, SizeOf(TMethod)));
    Mine := TMethod(TNotifyEvent(@UserHandler));
    AssertTrue('OnEnter', CompareMem(@Mine, @Edit.OnEnter, SizeOf(TMethod)));
  finally
    Info.Free;
    Edit.Free;
  end;
end;

procedure TTestControlBindings.TestListenerMayFreeTheControl;
var
  NewSize: Integer;
begin
  // The header frees itself in OnSizing: no OnSized, no width written.
  Listen(FHeader, 'OnSizing', @FreeSender);
  Listen(FHeader, 'OnSized', @Heard);
  FHeader.ResizeSection(0, 30);
  FHeader := nil;
  AssertNull('gone from the form', FForm.FindComponent('Header1'));
  // The splitter goes while its hand-written handler runs.
  Listen(FSplitter, 'OnCanResize', @FreeSender);
  NewSize := 50;
  AssertTrue(TSplitterAccess(FSplitter).CheckNewSize(NewSize));
  FSplitter := nil;
  AssertEquals(50, NewSize);
  AssertEquals('freed Header1.OnSizing,freed Splitter1.OnCanResize', Unquoted(FLog));
end;

procedure TTestControlBindings.TestHandlersAreHookedAndRestored;
const
  Names: array[0..35] of string = ('TCustomGroupBox', 'TGroupBox', 'TCustomLabel', 'TLabel',
    'TCustomEdit', 'TEdit', 'TCustomMemo', 'TMemo', 'TCustomComboBox', 'TComboBox',
    'TButtonActionLink', 'TButtonControl', 'TButton', 'TCustomCheckBox', 'TCheckBox',
    'TRadioButton', 'TCustomListBox', 'TListBox', 'TScrollBar', 'TCustomStaticText',
    'TStaticText', 'TShape', 'TPaintBox', 'TImage', 'TBevel', 'TTimer', 'TCustomPanel', 'TPanel',
    'TPage', 'TNotebook', 'THeader', 'TCustomRadioGroup', 'TRadioGroup', 'TSplitter',
    'TCustomControlBar', 'TControlBar');
var
  I, J, Hooked: Integer;
  Host: TObject;
  Info: TorvClassInfo;
  Events: PPropList;
  Count: Integer;
  Mine: TMethod;
  Failures: TStringList;

  function Holds(AIndex: Integer): Boolean;
  var
    M: TMethod;
  begin
    M := GetMethodProp(Host, Events^[AIndex]);
    Result := (M.Code = Mine.Code) and (M.Data = Mine.Data);
  end;

begin
  // Every published event of every host starts with a handler of its own;
  // the class info takes over the ones it declares and gives each back.
  Mine := TMethod(TNotifyEvent(@UserHandler));
  Failures := TStringList.Create;
  try
    for I := 0 to High(Names) do
    begin
      Host := MakeControlHost(Names[I]);
      Info := nil;
      Events := nil;
      try
        Count := 0;
        if Host.ClassInfo <> nil then
          Count := GetPropList(Host.ClassInfo, [tkMethod], nil);
        Events := GetMem(Count * SizeOf(PPropInfo));
        if Count > 0 then
          GetPropList(Host.ClassInfo, [tkMethod], Events);
        for J := 0 to Count - 1 do
          SetMethodProp(Host, Events^[J], Mine);
        Info := DeclaredInfo(TorvClassRegistry.FindClass(Names[I]));
        Info.SetOwner(Host);
        Hooked := 0;
        for J := 0 to Count - 1 do
          if not Holds(J) then
          begin
            Inc(Hooked);
            if Info.FindEvent(Events^[J]^.Name) = nil then
              Failures.Add(Names[I] + ': took over the undeclared ' + Events^[J]^.Name);
          end;
        if (Count > 0) and (Hooked = 0) and (Host is TControl) then
          Failures.Add(Names[I] + ': hooks none of its events');
        Info.SetOwner(nil);
        for J := 0 to Count - 1 do
          if not Holds(J) then
            Failures.Add(Names[I] + ': ' + Events^[J]^.Name + ' not given back');
      finally
        FreeMem(Events);
        Info.Free;
        Host.Free;
      end;
    end;
    if Failures.Count > 0 then
      Fail(Failures.Text);
  finally
    Failures.Free;
  end;
end;

initialization
  RegisterTest('Bindings', TTestControlBindings);
end.
