{ Class infos: base operations, owners, shared declarations and listeners. }
unit Orvtestclassinfo;

{$I orvdefines.inc}

interface

uses
  Classes, SysUtils, Variants, fpcunit, testregistry,
  Orvcommon, Orvtestdescriptors;

type
  TTestClassInfo = class(TTestCase)
  published
    procedure TestBaseOperationsFailWithTheirMessages;
    procedure TestSetOwnerDetachesAndAttaches;
    procedure TestEnumerationOutOfRange;
    procedure TestInstancesHaveTheirOwnFeatures;
    procedure TestInstanceSpecificDeclarations;
    procedure TestRebuildKeepsListenersAndOldFeatures;
    procedure TestListingAnotherClassInfosFeatures;
    procedure TestReadingOutsideInitMetaDataAppends;
  end;

  TTestListeners = class(TTestCase)
  private
    FLog: string;
    FInfo: TDescribedInfo;
    FEvent: TorvEventInfo;
    FListeners: array of TorvListener;
    function Listen(const AEventName: string; AHandler: TNotifyORVEvent): TorvListener;
    procedure LogA(Sender: TObject; Event: TorvEventInfo);
    procedure LogB(Sender: TObject; Event: TorvEventInfo);
    procedure AddsAnother(Sender: TObject; Event: TorvEventInfo);
    procedure RemovesNext(Sender: TObject; Event: TorvEventInfo);
    procedure Raises(Sender: TObject; Event: TorvEventInfo);
    procedure ReleasesInfo(Sender: TObject; Event: TorvEventInfo);
  protected
    procedure SetUp; override;
    procedure TearDown; override;
  published
    procedure TestOrderDuplicatesAndNames;
    procedure TestRemoveAndEmptyArguments;
    procedure TestAddedDuringFiringIsNotCalled;
    procedure TestRemovedDuringFiringIsSkipped;
    procedure TestListenerErrorStopsTheFiring;
    procedure TestReleaseDuringFiringWaits;
    procedure TestListenerAndClassInfoForgetEachOther;
  end;

implementation

type
  { Counts the hooks that SetOwner calls. }
  THookedInfo = class(TorvClassInfo)
  public
    Log: string;
  protected
    procedure ConnectEventHandlers; override;
    procedure UnConnectEventHandlers; override;
  end;

  TRecorder = class
    Log: string;
    procedure Hear(Sender: TObject; Event: TorvEventInfo);
  end;

  { Lists another class info's properties as its own, as a variable does. }
  TViewerInfo = class(TorvClassInfo)
  public
    Inner: TorvClassInfo;
  protected
    procedure DefineORVProperties(AList: TList); override;
  end;

procedure THookedInfo.ConnectEventHandlers;
begin
  Log := Log + '+' + TComponent(Owner).Name;
end;

procedure THookedInfo.UnConnectEventHandlers;
begin
  Log := Log + '-' + TComponent(Owner).Name;
end;

procedure TRecorder.Hear(Sender: TObject; Event: TorvEventInfo);
begin
  Log := Log + Event.Name + ' ';
end;

procedure TViewerInfo.DefineORVProperties(AList: TList);
var
  I: Integer;
begin
  for I := 0 to Inner.GetPropertyCount - 1 do
    AList.Add(Inner.GetProperties(I));
  ReadORVProperties('Override::Self::psReadable..psWritable::pvPublished::0');
end;

const
  SampleProps = 'Define::Self::psReadable::pvPublic::0::Define::Items::psReadable..psIndexed::pvPublic::1::Index';
  SampleMethods = 'Add::msFunction::1::S';
  SampleEvents = 'Define::OnChange::pvPublished::1::Sender::Define::OnOther::pvPublic::0';

{ TTestClassInfo }

procedure TTestClassInfo.TestBaseOperationsFailWithTheirMessages;
var
  Decl: TDescribedInfo;
  Base: TorvClassInfo;

  procedure Expect(const AMessage: string; AStep: Integer);
  begin
    try
      case AStep of
        0: Base.GetProperty(Decl.GetProperties(0));
        1: Base.SetProperty(Decl.GetProperties(0), 1);
        2: Base.InvokeMethod(Decl.GetMethods(0));
        3: Base.InvokeConstructor(Decl.GetConstructors(0));
      end;
      Fail('expected: ' + AMessage);
    except
      on E: EAssertionFailedError do
        raise;
      on E: Exception do
      begin
        AssertEquals(AMessage, E.Message);
        AssertEquals('Exception', E.ClassName);
      end;
    end;
  end;

begin
  Decl := Declare('Define::Caption::psReadable::pvPublic::0', 'Clear::msProcedure::0', 'CreateNew::0');
  Base := TorvClassInfo.Create;
  try
    Base.InitMetaData;
    AssertEquals(0, Base.GetPropertyCount);
    Expect('Property Caption not found!', 0);
    Expect('Property Caption not found!', 1);
    Expect('Method Clear not found!', 2);
    Expect('Constructor CreateNew not found!', 3);
  finally
    Base.Free;
    Decl.Free;
  end;
end;

procedure TTestClassInfo.TestSetOwnerDetachesAndAttaches;
var
  Info: THookedInfo;
  A, B: TComponent;
begin
  A := TComponent.Create(nil);
  B := TComponent.Create(nil);
  Info := THookedInfo.Create;
  try
    A.Name := 'A';
    B.Name := 'B';
    Info.SetOwner(nil);
    AssertEquals('no owner: no hook', '', Info.Log);
    Info.SetOwner(A);
    Info.SetOwner(A);
    Info.SetOwner(B);
    Info.SetOwner(nil);
    AssertEquals('+A-A+A-A+B-B', Info.Log);
    AssertNull(Info.Owner);
  finally
    Info.Free;
    B.Free;
    A.Free;
  end;
end;

procedure TTestClassInfo.TestEnumerationOutOfRange;
var
  Info: TDescribedInfo;
begin
  Info := Declare(SampleProps);
  try
    AssertNotNull(Info.GetProperties(1));
    try
      Info.GetProperties(2);
      Fail('position past the end');
    except
      on E: EListError do
        AssertEquals('List index (2) out of bounds', E.Message);
    end;
    try
      Info.GetEvents(-1);
      Fail('negative position');
    except
      on E: EListError do
        AssertEquals('List index (-1) out of bounds', E.Message);
    end;
  finally
    Info.Free;
  end;
end;

procedure TTestClassInfo.TestInstancesHaveTheirOwnFeatures;
var
  A, B: TDescribedInfo;
  PA, PB: TorvPropertyInfo;
  I: Integer;
begin
  A := Declare(SampleProps, SampleMethods, '', SampleEvents);
  B := Declare(SampleProps, SampleMethods, '', SampleEvents);
  try
    AssertEquals(A.GetPropertyCount, B.GetPropertyCount);
    for I := 0 to A.GetEventCount - 1 do
      AssertEquals(A.GetEvents(I).Name, B.GetEvents(I).Name);
    PA := A.FindProperty('Items');
    PB := B.FindProperty('Items');
    AssertTrue('each instance has its own objects', PA <> PB);
    AssertSame('a feature stays the same object', PA, A.GetProperties(1));
    AssertSame(A, PA.ClassInfo);
    AssertSame(B, PB.GetIndexes(0).ClassInfo);
    PA.GetIndexes(0).Value := 7;
    A.FindMethod('Add').Result := 'x';
    AssertTrue('values do not leak between instances', VarIsEmpty(PB.GetIndexes(0).Value));
    AssertTrue(VarIsEmpty(B.FindMethod('Add').Result));
    AssertTrue(PB.Styles = [psReadable, psIndexed]);
  finally
    B.Free;
    A.Free;
  end;
end;

procedure TTestClassInfo.TestInstanceSpecificDeclarations;
var
  A, B, C: TDescribedInfo;
begin
  A := Declare(SampleProps);
  B := Declare('Define::Other::psReadable::pvPublic::0');
  C := Declare(SampleProps, SampleMethods);
  try
    AssertEquals(2, A.GetPropertyCount);
    AssertEquals('what an instance declares is what it lists', 'Other', B.GetProperties(0).Name);
    AssertEquals(1, B.GetPropertyCount);
    AssertEquals(1, C.GetMethodCount);
    AssertEquals(0, A.GetMethodCount);
  finally
    C.Free;
    B.Free;
    A.Free;
  end;
end;

procedure TTestClassInfo.TestRebuildKeepsListenersAndOldFeatures;
var
  Info: TDescribedInfo;
  Old, New: TorvEventInfo;
  Listener: TorvListener;
  Hits: TRecorder;
begin
  Info := Declare('', '', '', SampleEvents);
  Listener := TorvListener.Create;
  Hits := TRecorder.Create;
  try
    Listener.EventName := 'OnChange';
    Listener.OnEvent := @Hits.Hear;
    Info.AddListener(Listener);
    Old := Info.FindEvent('OnChange');
    Info.InitMetaData;
    New := Info.FindEvent('OnChange');
    AssertTrue('rebuilt features are new objects', Old <> New);
    AssertEquals('an old feature stays usable', 'OnChange', Old.Name);
    Info.FireEvent(New);
    AssertEquals('listeners survive a rebuild', 'OnChange ', Hits.Log);
  finally
    Hits.Free;
    Listener.Free;
    Info.Free;
  end;
end;

procedure TTestClassInfo.TestListingAnotherClassInfosFeatures;
var
  Inner1, Inner2: TDescribedInfo;
  View1, View2: TViewerInfo;
begin
  Inner1 := Declare(SampleProps);
  Inner2 := Declare('Define::Self::psReadable::pvPublic::0::Define::Tag::psReadable::pvPublic::0');
  View1 := TViewerInfo.Create;
  View2 := TViewerInfo.Create;
  try
    View1.Inner := Inner1;
    View1.InitMetaData;
    View2.Inner := Inner2;
    View2.InitMetaData;
    AssertSame('the same feature objects are listed', Inner1.GetProperties(1), View1.GetProperties(1));
    AssertTrue('the override reaches the listed feature',
      Inner1.FindProperty('Self').Styles = [psReadable, psWritable]);
    AssertTrue(Inner1.FindProperty('Self').Visibility = pvPublished);
    AssertEquals('a second viewer lists its own inner features', 'Tag', View2.GetProperties(1).Name);
    AssertSame(Inner2, View2.GetProperties(0).ClassInfo);
  finally
    View2.Free;
    View1.Free;
    Inner2.Free;
    Inner1.Free;
  end;
end;

procedure TTestClassInfo.TestReadingOutsideInitMetaDataAppends;
var
  Info: TDescribedInfo;
  Kept: TorvPropertyInfo;
begin
  Info := Declare(SampleProps);
  try
    Kept := Info.FindProperty('Items');
    Info.ReadORVProperties('Define::Extra::psWritable::pvPublic::0::Override::Items::::pvPublished');
    AssertEquals(3, Info.GetPropertyCount);
    AssertSame('existing features are kept', Kept, Info.FindProperty('Items'));
    AssertTrue(Kept.Visibility = pvPublished);
    AssertEquals('Extra', Info.GetProperties(2).Name);
  finally
    Info.Free;
  end;
end;

{ TTestListeners }

procedure TTestListeners.SetUp;
begin
  FLog := '';
  FInfo := Declare('', '', '', SampleEvents);
  FEvent := FInfo.FindEvent('OnChange');
end;

procedure TTestListeners.TearDown;
var
  I: Integer;
begin
  FInfo.Free;
  for I := 0 to High(FListeners) do
    FListeners[I].Free;
  FListeners := nil;
end;

function TTestListeners.Listen(const AEventName: string; AHandler: TNotifyORVEvent): TorvListener;
begin
  Result := TorvListener.Create;
  Result.EventName := AEventName;
  Result.OnEvent := AHandler;
  SetLength(FListeners, Length(FListeners) + 1);
  FListeners[High(FListeners)] := Result;
end;

procedure TTestListeners.LogA(Sender: TObject; Event: TorvEventInfo);
begin
  FLog := FLog + 'A:' + Event.Name + ' ';
end;

procedure TTestListeners.LogB(Sender: TObject; Event: TorvEventInfo);
begin
  FLog := FLog + 'B ';
end;

procedure TTestListeners.AddsAnother(Sender: TObject; Event: TorvEventInfo);
begin
  FLog := FLog + 'adds ';
  FInfo.AddListener(Listen('OnChange', @LogB));
end;

procedure TTestListeners.RemovesNext(Sender: TObject; Event: TorvEventInfo);
begin
  FLog := FLog + 'removes ';
  FInfo.RemoveListener(FListeners[1]);
end;

procedure TTestListeners.Raises(Sender: TObject; Event: TorvEventInfo);
begin
  raise Exception.Create('listener failed');
end;

procedure TTestListeners.ReleasesInfo(Sender: TObject; Event: TorvEventInfo);
begin
  FLog := FLog + 'release ';
  FInfo.Release;
  AssertEquals('not destroyed while its event runs', 'OnChange', Event.Name);
  FInfo := nil;
end;

procedure TTestListeners.TestOrderDuplicatesAndNames;
var
  A: TorvListener;
begin
  A := Listen('OnChange', @LogA);
  FInfo.AddListener(A);
  FInfo.AddListener(Listen('onchange', @LogB));
  FInfo.AddListener(Listen('OnChange', @LogB));
  FInfo.AddListener(Listen('OnChange', nil));
  FInfo.AddListener(A);
  FInfo.FireEvent(FEvent);
  AssertEquals('in order, twice when added twice, exact names only', 'A:OnChange B A:OnChange ', FLog);
  FLog := '';
  FInfo.FireEvent(FInfo.FindEvent('OnOther'));
  AssertEquals('', FLog);
end;

procedure TTestListeners.TestRemoveAndEmptyArguments;
var
  A, B: TorvListener;
begin
  A := Listen('OnChange', @LogA);
  B := Listen('OnChange', @LogB);
  FInfo.AddListener(nil);
  FInfo.AddListener(A);
  FInfo.AddListener(B);
  FInfo.AddListener(A);
  FInfo.RemoveListener(nil);
  FInfo.RemoveListener(Listen('OnChange', @LogA));
  FInfo.RemoveListener(A);
  FInfo.FireEvent(FEvent);
  AssertEquals('only the first occurrence goes', 'B A:OnChange ', FLog);
end;

procedure TTestListeners.TestAddedDuringFiringIsNotCalled;
begin
  FInfo.AddListener(Listen('OnChange', @AddsAnother));
  FInfo.FireEvent(FEvent);
  AssertEquals('adds ', FLog);
  FLog := '';
  FInfo.FireEvent(FEvent);
  AssertEquals('called from the next firing on', 'adds B ', FLog);
end;

procedure TTestListeners.TestRemovedDuringFiringIsSkipped;
begin
  FInfo.AddListener(Listen('OnChange', @RemovesNext));
  FInfo.AddListener(Listen('OnChange', @LogB));
  FInfo.AddListener(Listen('OnChange', @LogA));
  FInfo.FireEvent(FEvent);
  AssertEquals('removes A:OnChange ', FLog);
end;

procedure TTestListeners.TestListenerErrorStopsTheFiring;
begin
  FInfo.AddListener(Listen('OnChange', @LogA));
  FInfo.AddListener(Listen('OnChange', @Raises));
  FInfo.AddListener(Listen('OnChange', @LogB));
  try
    FInfo.FireEvent(FEvent);
    Fail('the error reaches the firer');
  except
    on E: EAssertionFailedError do
      raise;
    on E: Exception do
      AssertEquals('listener failed', E.Message);
  end;
  AssertEquals('A:OnChange ', FLog);
end;

procedure TTestListeners.TestReleaseDuringFiringWaits;
begin
  FInfo.AddListener(Listen('OnChange', @ReleasesInfo));
  FInfo.AddListener(Listen('OnChange', @LogB));
  FInfo.FireEvent(FEvent);
  AssertEquals('no listener runs after the release', 'release ', FLog);
  AssertNull(FInfo);
end;

procedure TTestListeners.TestListenerAndClassInfoForgetEachOther;
var
  Doomed, Kept: TorvListener;
  Other: TDescribedInfo;
begin
  Doomed := TorvListener.Create;
  Doomed.EventName := 'OnChange';
  Doomed.OnEvent := @LogA;
  FInfo.AddListener(Doomed);
  FInfo.AddListener(Doomed);
  AssertSame(FInfo, Doomed.AttachedTo);
  FInfo.RemoveListener(Doomed);
  AssertSame('still listed once', FInfo, Doomed.AttachedTo);
  Doomed.Free;
  FInfo.FireEvent(FEvent);
  AssertEquals('a freed listener leaves its class info', '', FLog);

  Kept := Listen('OnChange', @LogA);
  Other := Declare('', '', '', SampleEvents);
  Other.AddListener(Kept);
  Other.Free;
  AssertNull('a freed class info lets its listeners go', Kept.AttachedTo);
end;

initialization
  RegisterTest('Metadata', TTestClassInfo);
  RegisterTest('Metadata', TTestListeners);
end.
