{ The variable component: the class it stands for and how it is declared,
  the object it holds and how long, and the events it passes on. }
unit Orvtestvar;

{$I orvdefines.inc}

interface

uses
  Classes, SysUtils, Variants, fpcunit, testregistry,
  Orvcommon, Orvvar, Orvtestfixtures;

type
  TEventAction = procedure of object;

  { A variable and its class info, with the case itself as its listener:
    every event heard is written down as "name sender first-parameter". }
  TVariableCase = class(TTestCase)
  protected
    FVariable: TorvVariable;
    FInfo: TorvClassInfo;
    FHeard: TStringList;
    FListeners: TList;
    FReject: Boolean;       // answer OnValidate with Accept False and a text of its own
    FAction: TEventAction;  // run after each event is written down
    procedure SetUp; override;
    procedure TearDown; override;
    procedure Hear(Sender: TObject; Event: TorvEventInfo);
    procedure Listen(const AEventName: string);
    function Read(const AName: string): Variant;
    procedure Write(const AName: string; const AValue: Variant);
    function Invoke(const AName: string; const AArgs: array of Variant): Variant;
    procedure Hold(AObject: TObject);
    { Run AStep, which must fail with a message ending in AMessageEnd. }
    procedure ExpectError(const AMessageEnd: string; AStep: TEventAction);
    { Expect every use of the feature AName to fail for want of an object. }
    procedure ExpectNothingHeld(const AName: string);
  end;

  TTestVariableClass = class(TVariableCase)
  private
    procedure NameUnknownClass;
    procedure ReadUnknownClassFromText;
  published
    procedure TestSameNameChangesNothing;
    procedure TestOtherLetterCaseRebuilds;
    procedure TestUnknownClassChangesNothing;
    procedure TestInterfacedObjectFeatures;
    procedure TestSuppliesItsOwnClassInfo;
    procedure TestClassTypeNameIsStreamed;
  end;

  TTestVariableInstance = class(TVariableCase)
  private
    FEdit: TTestEdit;
    FEditChanges: Integer;
    procedure EditChanged(Sender: TObject);
    procedure HoldComponent;
    procedure ChangeClass;
    procedure FreeVariable;
  protected
    procedure SetUp; override;
    procedure TearDown; override;
  published
    procedure TestSelfWritesFireInstanceChange;
    procedure TestHeldObjectFeatures;
    procedure TestNothingHeldFailsClearly;
    procedure TestRefusesObjectsOfOtherClasses;
    procedure TestReplacingTheClassLetsGo;
    procedure TestHeldComponentDestroyed;
    procedure TestFreeThroughTheVariable;
    procedure TestEventsArePassedOn;
    procedure TestListenersMayChangeTheVariable;
    procedure TestComponentAlsoLinkedDirectly;
  end;

implementation

uses
  Orvmetadump;

{ TVariableCase }

procedure TVariableCase.SetUp;
begin
  FVariable := TorvVariable.Create(nil);
  FInfo := FVariable.GetORVClassInfo;
  FHeard := TStringList.Create;
  FListeners := TList.Create;
end;

procedure TVariableCase.TearDown;
var
  I: Integer;
begin
  FVariable.Free;
  for I := 0 to FListeners.Count - 1 do
    TorvListener(FListeners[I]).Free;
  FListeners.Free;
  FHeard.Free;
end;

procedure TVariableCase.Hear(Sender: TObject; Event: TorvEventInfo);
begin
  FHeard.Add(Format('%s %d %s', [Event.Name, PtrInt(Sender), VarToStr(Event.GetArgs(0).Value)]));
  if FReject and (Event.Name = 'OnValidate') then
  begin
    Event.GetArgs(1).Value := 'fixed';
    Event.GetArgs(2).Value := False;
  end;
  if Assigned(FAction) then
    FAction();
end;

procedure TVariableCase.Listen(const AEventName: string);
var
  Listener: TorvListener;
begin
  Listener := TorvListener.Create;
  FListeners.Add(Listener);
  Listener.EventName := AEventName;
  Listener.OnEvent := @Hear;
  FInfo.AddListener(Listener);
end;

function TVariableCase.Read(const AName: string): Variant;
var
  Prop: TorvPropertyInfo;
begin
  Prop := FInfo.FindProperty(AName);
  AssertNotNull(AName + ' is listed', Prop);
  Result := FInfo.GetProperty(Prop);
end;

procedure TVariableCase.Write(const AName: string; const AValue: Variant);
var
  Prop: TorvPropertyInfo;
begin
  Prop := FInfo.FindProperty(AName);
  AssertNotNull(AName + ' is listed', Prop);
  FInfo.SetProperty(Prop, AValue);
end;

function TVariableCase.Invoke(const AName: string; const AArgs: array of Variant): Variant;
var
  Method: TorvMethodInfo;
  I: Integer;
begin
  Method := FInfo.FindMethod(AName);
  AssertNotNull(AName + ' is listed', Method);
  for I := 0 to High(AArgs) do
    Method.GetArgs(I).Value := AArgs[I];
  FInfo.InvokeMethod(Method);
  Result := Method.Result;
end;

procedure TVariableCase.Hold(AObject: TObject);
begin
  Write('Self', PtrInt(AObject));
end;

procedure TVariableCase.ExpectError(const AMessageEnd: string; AStep: TEventAction);
begin
  try
    AStep();
    Fail('expected: ' + AMessageEnd);
  except
    on E: EAssertionFailedError do
      raise;
    on E: Exception do
      AssertTrue('expected: ' + AMessageEnd + ', was: ' + E.Message,
        E.Message.EndsWith(AMessageEnd));
  end;
end;

procedure TVariableCase.ExpectNothingHeld(const AName: string);
var
  Prop: TorvPropertyInfo;
  Step: Integer;
begin
  // A property is read, then written; a method is invoked twice.
  Prop := FInfo.FindProperty(AName);
  for Step := 0 to 1 do
    try
      if Prop = nil then
        Invoke(AName, [])
      else if Step = 0 then
        FInfo.GetProperty(Prop)
      else
        FInfo.SetProperty(Prop, 1);
      Fail(AName + ' is used without an object');
    except
      on E: EAssertionFailedError do
        raise;
      on E: Exception do
        AssertEquals(Format('The variable holds no object to use %s on!', [AName]), E.Message);
    end;
end;

{ TTestVariableClass }

procedure TTestVariableClass.NameUnknownClass;
begin
  FVariable.ClassTypeName := 'TNoSuchClass';
end;

procedure TTestVariableClass.ReadUnknownClassFromText;
var
  Text, Binary: TStringStream;
begin
  Text := TStringStream.Create('object Broken: TorvVariable' + LineEnding +
    '  ClassTypeName = ''TNoSuchClass''' + LineEnding + 'end' + LineEnding);
  Binary := TStringStream.Create('');
  try
    ObjectTextToBinary(Text, Binary);
    Binary.Position := 0;
    Binary.ReadComponent(nil).Free;
  finally
    Binary.Free;
    Text.Free;
  end;
end;

procedure TTestVariableClass.TestSameNameChangesNothing;
var
  SelfProp: TorvPropertyInfo;
  Held: TObject;
begin
  Held := TObject.Create;
  try
    Hold(Held);
    SelfProp := FInfo.FindProperty('Self');
    FVariable.ClassTypeName := 'TObject';
    AssertSame('features are not declared anew', SelfProp, FInfo.FindProperty('Self'));
    AssertEquals('the object stays held', 'TObject', string(Invoke('ClassName', [])));
    Hold(nil);
  finally
    Held.Free;
  end;
end;

procedure TTestVariableClass.TestOtherLetterCaseRebuilds;
var
  SelfProp: TorvPropertyInfo;
  Held: TObject;
begin
  Held := TObject.Create;
  try
    Hold(Held);
    SelfProp := FInfo.FindProperty('Self');
    FVariable.ClassTypeName := 'tobject';
    AssertEquals('tobject', FVariable.ClassTypeName);
    AssertTrue('features are declared anew', SelfProp <> FInfo.FindProperty('Self'));
    AssertTrue('the new Self is writable', psWritable in FInfo.FindProperty('Self').Styles);
    AssertEquals('the object is kept', PtrInt(Held), Int64(Read('Self')));
    ExpectNothingHeld('ClassName');
    Hold(Held);
    AssertEquals('TObject', string(Invoke('ClassName', [])));
    Hold(nil);
  finally
    Held.Free;
  end;
end;

procedure TTestVariableClass.TestUnknownClassChangesNothing;
var
  SelfProp: TorvPropertyInfo;
begin
  FVariable.ClassTypeName := 'TTestEdit';
  SelfProp := FInfo.FindProperty('Self');
  ExpectError('Unknown class!', @NameUnknownClass);
  AssertEquals('TTestEdit', FVariable.ClassTypeName);
  AssertSame(SelfProp, FInfo.FindProperty('Self'));
  AssertEquals('TTestEditClassInfo', TorvVariableClassInfo(FInfo).InnerClassInfo.ClassName);
end;

procedure TTestVariableClass.TestInterfacedObjectFeatures;
var
  Held: TInterfacedObject;
  Plain: TorvClassInfo;
  SelfProp: TorvPropertyInfo;
begin
  FVariable.ClassTypeName := 'TInterfacedObject';
  AssertEquals(2, FInfo.GetPropertyCount);
  AssertEquals('Self', FInfo.GetProperties(0).Name);
  AssertEquals('RefCount', FInfo.GetProperties(1).Name);
  SelfProp := FInfo.FindProperty('Self');
  AssertTrue('Self is readable and writable', SelfProp.Styles = [psReadable, psWritable]);
  AssertTrue('Self is published', SelfProp.Visibility = pvPublished);
  AssertSame('the inner feature itself is listed', SelfProp,
    TorvVariableClassInfo(FInfo).InnerClassInfo.FindProperty('Self'));
  AssertEquals('no constructors', 0, FInfo.GetConstructorCount);
  AssertEquals(1, FInfo.GetEventCount);
  AssertEquals('OnInstanceChange(Instance)', FInfo.GetEvents(0).Name + '(' +
    FInfo.GetEvents(0).GetArgs(0).Name + ')');

  // Other class infos of the class share one declaration: the change to
  // Self must stay with this variable.
  Plain := DeclaredInfo(TorvClassRegistry.FindClass('TInterfacedObject'));
  try
    AssertEquals(Plain.GetMethodCount, FInfo.GetMethodCount);
    AssertTrue('a plain Self stays read-only', Plain.FindProperty('Self').Styles = [psReadable]);
    AssertTrue(Plain.FindProperty('Self').Visibility = pvPublic);
  finally
    Plain.Free;
  end;

  Held := TInterfacedObject.Create;
  try
    Hold(Held);
    AssertEquals(0, Integer(Read('RefCount')));
    Hold(nil);
  finally
    Held.Free;
  end;
end;

procedure TTestVariableClass.TestSuppliesItsOwnClassInfo;
var
  Other: TorvVariable;
  I: Integer;
begin
  AssertSame(TorvVariableClassInfo, TorvClassRegistry.FindClass('torvvariable'));
  AssertSame(FInfo, TorvClassRegistry.GetInfo(FVariable));
  AssertSame(FInfo, TorvClassRegistry.GetInfo(FVariable));
  AssertNull('the registry attaches nothing', FInfo.Owner);
  // A variable made where an earlier one was must not get the earlier one's.
  for I := 1 to 5 do
  begin
    Other := TorvVariable.Create(nil);
    try
      AssertSame(Other.GetORVClassInfo, TorvClassRegistry.GetInfo(Other));
    finally
      Other.Free;
    end;
  end;
end;

procedure TTestVariableClass.TestClassTypeNameIsStreamed;
var
  Stream: TMemoryStream;
  Copy: TComponent;
begin
  FVariable.Name := 'Held';
  FVariable.ClassTypeName := 'TTestEdit';
  Stream := TMemoryStream.Create;
  try
    Stream.WriteComponent(FVariable);
    Stream.Position := 0;
    Copy := Stream.ReadComponent(nil);
    try
      AssertEquals(TorvVariable.ClassName, Copy.ClassName);
      AssertEquals('TTestEdit', TorvVariable(Copy).ClassTypeName);
      AssertNotNull('the features follow the name',
        TorvClassRegistry.GetInfo(Copy).FindProperty('Text'));
    finally
      Copy.Free;
    end;
  finally
    Stream.Free;
  end;
  // The reader puts where it was in front of the message.
  ExpectError(': Unknown class!', @ReadUnknownClassFromText);
end;

{ TTestVariableInstance }

procedure TTestVariableInstance.SetUp;
begin
  inherited SetUp;
  FEdit := TTestEdit.Create(nil);
  FEdit.OnChange := @EditChanged;
  FVariable.ClassTypeName := 'TTestEdit';
end;

procedure TTestVariableInstance.TearDown;
begin
  inherited TearDown;
  FEdit.Free;
end;

procedure TTestVariableInstance.EditChanged(Sender: TObject);
begin
  Inc(FEditChanges);
end;

procedure TTestVariableInstance.HoldComponent;
var
  Component: TComponent;
begin
  Component := TComponent.Create(nil);
  try
    Hold(Component);
  finally
    Component.Free;
  end;
end;

procedure TTestVariableInstance.ChangeClass;
begin
  FVariable.ClassTypeName := 'TComponent';
end;

procedure TTestVariableInstance.FreeVariable;
begin
  FreeAndNil(FVariable);
end;

procedure TTestVariableInstance.TestSelfWritesFireInstanceChange;
begin
  Listen('OnInstanceChange');
  AssertEquals('nothing held yet', 0, Int64(Read('Self')));
  Hold(FEdit);
  Hold(FEdit);
  Hold(nil);
  AssertEquals(Format('OnInstanceChange 0 %0:d' + LineEnding + 'OnInstanceChange 0 %0:d' +
    LineEnding + 'OnInstanceChange 0 0' + LineEnding, [PtrInt(FEdit)]), FHeard.Text);
  Hold(FEdit);
  AssertEquals(PtrInt(FEdit), Int64(Read('Self')));
  AssertSame(FEdit, TorvVariableClassInfo(FInfo).Instance);
end;

procedure TTestVariableInstance.TestHeldObjectFeatures;
var
  List: TStringList;
begin
  Hold(FEdit);
  Write('Text', 'abc');
  AssertEquals('abc', FEdit.Text);
  FEdit.Number := 5;
  AssertEquals(5, Integer(Read('Number')));
  FInfo.FindProperty('Items').GetIndexes(0).Value := 2;
  Write('Items', 'two');
  AssertEquals('two', FEdit.Items[2]);
  AssertEquals('x3', string(Invoke('Combine', ['x', 3])));
  Invoke('Bump', [41]);
  AssertEquals('a var parameter comes back', 42, Integer(FInfo.FindMethod('Bump').GetArgs(0).Value));

  FVariable.ClassTypeName := 'TStringList';
  List := TStringList.Create;
  try
    Hold(List);
    Invoke('Add', ['first']);
    Write('CommaText', 'a,b,c');
    AssertEquals(3, Integer(Read('Count')));
    AssertEquals('a,b,c', List.CommaText);
    // A list cannot announce its end: let go of it first.
    Hold(nil);
  finally
    List.Free;
  end;
end;

procedure TTestVariableInstance.TestNothingHeldFailsClearly;
begin
  ExpectNothingHeld('Text');
  ExpectNothingHeld('Combine');
  Hold(FEdit);
  Hold(nil);
  ExpectNothingHeld('Number');
  Hold(FEdit);
  FVariable.ClassTypeName := 'TComponent';
  AssertEquals('Self still answers the object', PtrInt(FEdit), Int64(Read('Self')));
  ExpectNothingHeld('Tag');
  ExpectNothingHeld('ClassName');
end;

procedure TTestVariableInstance.TestRefusesObjectsOfOtherClasses;
var
  List: TStringList;
begin
  Listen('OnInstanceChange');
  FVariable.ClassTypeName := 'TStrings';
  List := TStringList.Create;
  try
    Hold(List);
    ExpectError('The variable holds objects of class TStrings: a TComponent cannot be held!',
      @HoldComponent);
    AssertEquals('the held object stays', PtrInt(List), Int64(Read('Self')));
    AssertEquals('a refused object fires nothing', 1, FHeard.Count);
    Hold(nil);
  finally
    List.Free;
  end;
  FVariable.ClassTypeName := 'TObject';
  Hold(FEdit);
  AssertEquals('TTestEdit', string(Invoke('ClassName', [])));
end;

procedure TTestVariableInstance.TestReplacingTheClassLetsGo;
begin
  Listen('OnChange');
  Listen('OnInstanceChange');
  Hold(FEdit);
  FVariable.ClassTypeName := 'TComponent';
  // The registry's class info keeps the edit's events; the variable's own
  // class infos never took them over.
  AssertSame('the events stay with the registry''s class info',
    TorvClassRegistry.GetInfo(FEdit), TObject(TMethod(FEdit.OnChange).Data));
  FEdit.Text := 'changed';
  AssertEquals(1, FEditChanges);
  AssertEquals('the old class info hears nothing', 1, FHeard.Count);
  AssertNull(FInfo.FindProperty('Text'));
  // The same listeners hear the variable of the new class.
  Hold(FEdit);
  Write('Tag', 3);
  AssertEquals(3, FEdit.Tag);
  FVariable.ClassTypeName := 'TTestEdit';
  Hold(FEdit);
  FEdit.Text := 'again';
  AssertEquals(4, FHeard.Count);
  AssertEquals('OnChange 0 ' + IntToStr(PtrInt(FEdit)), FHeard[3]);
end;

procedure TTestVariableInstance.TestHeldComponentDestroyed;
var
  Other: TTestEdit;
begin
  Listen('OnInstanceChange');
  Hold(FEdit);
  FreeAndNil(FEdit);
  AssertEquals('the variable lets go', 0, Int64(Read('Self')));
  ExpectNothingHeld('Text');
  AssertEquals('nothing wrote Self', 1, FHeard.Count);
  Other := TTestEdit.Create(nil);
  try
    Hold(Other);
    Write('Text', 'next');
    AssertEquals('next', Other.Text);
    // Also while the class was changed and nothing is attached.
    FVariable.ClassTypeName := 'TComponent';
  finally
    Other.Free;
  end;
  AssertEquals(0, Int64(Read('Self')));
end;

procedure TTestVariableInstance.TestFreeThroughTheVariable;
begin
  FVariable.ClassTypeName := 'TStringList';
  Hold(TStringList.Create);
  Invoke('Free', []);
  AssertEquals('the list is let go', 0, Int64(Read('Self')));
  ExpectNothingHeld('Count');
end;

procedure TTestVariableInstance.TestEventsArePassedOn;
var
  Other: TTestEdit;
  Text: string;
begin
  Listen('OnChange');
  Listen('OnValidate');
  Hold(FEdit);
  FEdit.Text := 'x';
  AssertEquals('the host''s own handler still runs', 1, FEditChanges);
  AssertEquals('OnChange 0 ' + IntToStr(PtrInt(FEdit)), Trim(FHeard.Text));
  FReject := True;
  Text := 'typed';
  AssertFalse('what listeners leave reaches the host', FEdit.Validate(Text));
  AssertEquals('fixed', Text);

  FHeard.Clear;
  Other := TTestEdit.Create(nil);
  try
    Hold(Other);
    FEdit.Text := 'y';
    AssertEquals('the object let go is not heard', 0, FHeard.Count);
    Other.Text := 'z';
    AssertEquals('OnChange 0 ' + IntToStr(PtrInt(Other)), Trim(FHeard.Text));
    Hold(nil);
  finally
    Other.Free;
  end;
end;

procedure TTestVariableInstance.TestListenersMayChangeTheVariable;
begin
  // Both replace class infos that are still delivering the edit's event;
  // a class info freed too early shows under heaptrc's keepreleased.
  Listen('OnChange');
  Hold(FEdit);
  FAction := @ChangeClass;
  FEdit.Text := 'a';
  FAction := nil;
  FEdit.Text := 'b';
  AssertEquals('heard before the change only', 1, FHeard.Count);
  AssertEquals(2, FEditChanges);

  FVariable.ClassTypeName := 'TTestEdit';
  Hold(FEdit);
  FAction := @FreeVariable;
  FEdit.Text := 'c';
  AssertNull(FVariable);
  FEdit.Text := 'd';
  AssertEquals(2, FHeard.Count);
  AssertEquals('the edit has its own handler back', 4, FEditChanges);
end;

procedure TTestVariableInstance.TestComponentAlsoLinkedDirectly;
var
  Direct: TorvListener;
  Order: Integer;
begin
  // Linked directly and held by a variable, taken up and let go in every
  // order: the component's events keep reaching its own handler and the
  // listeners still there, and nothing reaches a class info that is gone.
  Listen('OnChange');
  for Order := 0 to 2 do
  begin
    FHeard.Clear;
    FEditChanges := 0;
    Direct := TorvListener.Create;
    try
      Direct.EventName := 'OnChange';
      Direct.OnEvent := @Hear;
      if Order = 2 then
        Hold(FEdit);
      TorvClassRegistry.GetInfo(FEdit).AddListener(Direct);
      Hold(FEdit);
      FEdit.Text := 'both' + IntToStr(Order);
      AssertEquals('heard directly and through the variable', 2, FHeard.Count);
      case Order of
        0: FVariable.ClassTypeName := 'TComponent';
        1: FreeAndNil(Direct);
        2: Hold(nil);
      end;
      FEdit.Text := 'after' + IntToStr(Order);
      if Order = 1 then
        AssertEquals('only the variable hears', 3, FHeard.Count)
      else
        AssertEquals('only the direct listener hears', 3, FHeard.Count);
      AssertEquals('the edit''s own handler ran each time', 2, FEditChanges);
      // Destroyed while still linked: whatever order its free notifications
      // take, nothing it fires on the way reaches a class info that is gone.
      FreeAndNil(FEdit);
    finally
      Direct.Free;
    end;
    FEdit := TTestEdit.Create(nil);
    FEdit.OnChange := @EditChanged;
    FVariable.ClassTypeName := 'TTestEdit';
  end;
end;

initialization
  RegisterTest('Variable', TTestVariableClass);
  RegisterTest('Variable', TTestVariableInstance);
end.
