{ Components of classes derived from a bound class without a binding of
  their own: refused by default, served by the nearest bound ancestor's
  binding once TorvClassRegistry.DerivedClasses is on, in the registry, the
  links, the editors' pickers, form files and the form checker. }
unit Orvtestderived;

{$I orvdefines.inc}

interface

uses
  Classes, SysUtils, fpcunit, testregistry,
  Forms, StdCtrls,
  Orvp2p;

type
  TTestDerivedClasses = class(TTestCase)
  private
    FForm: TForm;
    FChangeLog: string;
    function NewEdit(AClass: TComponentClass; const AName: string): TEdit;
    function NewLabel(const AName: string): TLabel;
    function CopyText(ASource: TEdit; ATarget: TLabel): TorvP2PConnection;
    procedure Changed(Sender: TObject);
    procedure ExpectRefused(AObject: TObject);
  protected
    procedure SetUp; override;
    procedure TearDown; override;
  published
    procedure TestDefaultRefusesDerivedClasses;
    procedure TestChainResolvesToNearestBoundAncestor;
    procedure TestSwitchingDecidesOnlyWhatIsMadeNext;
    procedure TestOwnClassInfoStillWins;
    procedure TestPropertyLinkFollowsOverriddenDispatch;
    procedure TestEventToMethodOnDerivedSides;
    procedure TestEventsUnhookWhenLinkOrComponentGoes;
    procedure TestVariableSharesTheRegistrysClassInfo;
    procedure TestPickersFollowTheSwitch;
    procedure TestFormFileWithDerivedComponent;
    procedure TestCheckerFindsAncestors;
    procedure TestLaterBindingServesNewObjects;
  end;

implementation

uses
  Variants,
  Orvcommon, Orvconlist, Orve2m,
  Orvderivededit, // TMyEdit, which overrides the dispatch of OnChange
  Orvsystem, Orvstdctrls, Orvvar, Orvlinknames, Orvpropvalues, Orvdesigner, Orvpickers,
  Orvlinkcheck, Orvmetadump;

type
  TMyEdit2 = class(TMyEdit);

  { Bound only by TestLaterBindingServesNewObjects, in the middle of it. }
  TLateEdit = class(TMyEdit);
  TLateEdit2 = class(TLateEdit);

  { The root of the forms read from text. }
  TDerivedForm = class(TForm)
  private
    FFailures: string;
  published
    procedure LinkFailed(Sender: TorvConnectionList; AConnection: TorvConnection;
      AError: EorvLinkError);
  end;

  { The later binding: TEdit's, and the count of changes. }
  TLateEditClassInfo = class(TEditClassInfo)
  public
    function GetProperty(AProp: TorvPropertyInfo): Variant; override;
  end;

  { Supplies its own class info although an ancestor is bound. }
  TSelfDescribingEdit = class(TMyEdit, IorvObject)
  private
    FInfo: TorvClassInfo;
  public
    constructor Create(AOwner: TComponent); override;
    destructor Destroy; override;
    function GetORVClassInfo: TorvClassInfo;
  end;

const
  LateDescriptors: TorvDescriptors = (
    Properties: 'Define::Changes::psReadable::pvPublic::0';
    Methods: '';
    Constructors: '';
    Events: '');

function TLateEditClassInfo.GetProperty(AProp: TorvPropertyInfo): Variant;
begin
  if SameFeatureName(AProp.Name, 'Changes') then
    Result := TMyEdit(Owner).Changes
  else
    Result := inherited GetProperty(AProp);
end;

constructor TSelfDescribingEdit.Create(AOwner: TComponent);
begin
  inherited Create(AOwner);
  FInfo := DeclaredInfo(TorvClassRegistry.FindClass('TObject'));
end;

destructor TSelfDescribingEdit.Destroy;
begin
  FInfo.Free;
  inherited Destroy;
end;

function TSelfDescribingEdit.GetORVClassInfo: TorvClassInfo;
begin
  Result := FInfo;
end;

procedure TDerivedForm.LinkFailed(Sender: TorvConnectionList; AConnection: TorvConnection;
  AError: EorvLinkError);
begin
  FFailures := FFailures + AConnection.Name + ': ' + AError.ComponentClass + ': ' +
    AError.Message + LineEnding;
end;

{ TTestDerivedClasses }

procedure TTestDerivedClasses.SetUp;
begin
  FForm := TForm.CreateNew(nil);
  FForm.Show;
  FChangeLog := '';
end;

procedure TTestDerivedClasses.TearDown;
begin
  FreeAndNil(FForm);
  // The switch is the whole process's: no other test may find it on.
  TorvClassRegistry.DerivedClasses := False;
  ClearClassParents;
end;

function TTestDerivedClasses.NewEdit(AClass: TComponentClass; const AName: string): TEdit;
begin
  Result := AClass.Create(FForm) as TEdit;
  Result.Name := AName;
  Result.Parent := FForm;
end;

function TTestDerivedClasses.NewLabel(const AName: string): TLabel;
begin
  Result := TLabel.Create(FForm);
  Result.Name := AName;
  Result.Parent := FForm;
end;

function TTestDerivedClasses.CopyText(ASource: TEdit; ATarget: TLabel): TorvP2PConnection;
begin
  Result := ShowTextIn(ASource as TMyEdit, ATarget);
  AssertSame(ASource, Result.Source);
end;

procedure TTestDerivedClasses.Changed(Sender: TObject);
begin
  FChangeLog := FChangeLog + TComponent(Sender).Name + ';';
end;

{ Expect the registry and a link to refuse AObject, each with its own
  message naming the object's own class. }
procedure TTestDerivedClasses.ExpectRefused(AObject: TObject);
var
  Link: TorvP2PConnection;
begin
  try
    TorvClassRegistry.GetInfo(AObject);
    Fail(AObject.ClassName + ' got a class info');
  except
    on E: EAssertionFailedError do
      raise;
    on E: Exception do
      AssertEquals(Format(rsNotRegistered, [AObject.ClassName]), E.Message);
  end;
  AssertFalse('not bindable', orvIsBindable(AObject as TComponent));
  Link := TorvP2PConnection.Create(nil);
  try
    try
      Link.Source := TComponent(AObject);
      Fail(AObject.ClassName + ' accepted by a link');
    except
      on E: EorvLinkError do
      begin
        AssertEquals(rsNotOrvaneComponent, E.Message);
        AssertEquals(AObject.ClassName, E.ComponentClass);
      end;
    end;
    AssertNull('the link keeps no source', Link.Source);
  finally
    Link.Free;
  end;
end;

procedure TTestDerivedClasses.TestDefaultRefusesDerivedClasses;
var
  Shown: TLabel;
  Count: Integer;
begin
  AssertFalse('off by default', TorvClassRegistry.DerivedClasses);
  AssertNull(TorvClassRegistry.FindClassOf(TMyEdit));
  AssertNull(TorvClassRegistry.BoundClassOf(TMyEdit2));
  AssertSame('a bound class is found either way', TEditClassInfo,
    TorvClassRegistry.FindClassOf(TEdit));
  ExpectRefused(NewEdit(TMyEdit, 'Mine'));
  ExpectRefused(NewEdit(TMyEdit2, 'Mine2'));
  Shown := NewLabel('Shown');
  Count := FForm.ComponentCount;
  try
    ShowTextIn(FForm.FindComponent('Mine') as TMyEdit, Shown);
    Fail('a link took TMyEdit');
  except
    on E: EorvLinkError do
      AssertEquals(rsNotOrvaneComponent, E.Message);
  end;
  AssertEquals('the refused link is gone', Count, FForm.ComponentCount);
end;

procedure TTestDerivedClasses.TestChainResolvesToNearestBoundAncestor;
const
  Classes: array[0..2] of TComponentClass = (TMyEdit, TMyEdit2, TLabel);
  Bound: array[0..2] of TClass = (TEdit, TEdit, TLabel);
var
  I: Integer;
  Subject: TComponent;
  Info: TorvClassInfo;
begin
  TorvClassRegistry.DerivedClasses := True;
  for I := 0 to High(Classes) do
  begin
    Subject := Classes[I].Create(FForm);
    AssertSame(Subject.ClassName, Bound[I], TorvClassRegistry.BoundClassOf(Subject.ClassType));
    Info := TorvClassRegistry.GetInfo(Subject);
    AssertEquals('the binding of ' + Bound[I].ClassName, Bound[I].ClassName + 'ClassInfo',
      Info.ClassName);
    AssertSame('made for the object itself', Subject, Info.Owner);
    AssertSame('kept for it', Info, TorvClassRegistry.GetInfo(Subject));
  end;
end;

procedure TTestDerivedClasses.TestSwitchingDecidesOnlyWhatIsMadeNext;
var
  Early, Late: TEdit;
  Caption: TLabel;
  Info: TorvClassInfo;
  Link: TorvP2PConnection;
begin
  Caption := NewLabel('Caption1');
  // Refused once, so the registry remembers the class as unbound.
  ExpectRefused(NewEdit(TMyEdit, 'Refused'));
  TorvClassRegistry.DerivedClasses := True;
  Early := NewEdit(TMyEdit, 'Early');
  Info := TorvClassRegistry.GetInfo(Early);
  AssertEquals('switching on forgets what was refused', 'TEditClassInfo', Info.ClassName);
  Link := CopyText(Early, Caption);
  TorvClassRegistry.DerivedClasses := False;
  Late := NewEdit(TMyEdit, 'Late');
  // Remembered as bound while the switch was on: switching off forgets it.
  ExpectRefused(Late);
  AssertSame('a class info made before stays', Info, TorvClassRegistry.GetInfo(Early));
  Early.Text := 'still linked';
  AssertEquals('and its link keeps working', 'still linked', Caption.Caption);
  FreeAndNil(Early);
  AssertNull('the link let go of the freed edit', Link.Source);
end;

procedure TTestDerivedClasses.TestOwnClassInfoStillWins;
var
  Own: TSelfDescribingEdit;
begin
  TorvClassRegistry.DerivedClasses := True;
  Own := TSelfDescribingEdit(NewEdit(TSelfDescribingEdit, 'Own'));
  AssertSame(Own.FInfo, TorvClassRegistry.GetInfo(Own));
  AssertSame(Own.FInfo, TorvClassRegistry.GetInfo(Own));
end;

procedure TTestDerivedClasses.TestPropertyLinkFollowsOverriddenDispatch;
var
  Edit: TMyEdit2;
  Caption: TLabel;
  Changes: Integer;
begin
  TorvClassRegistry.DerivedClasses := True;
  Edit := NewEdit(TMyEdit2, 'Edit2') as TMyEdit2;
  Edit.OnChange := @Changed;
  Caption := NewLabel('Caption1');
  CopyText(Edit, Caption);
  Changes := Edit.Changes;
  Edit.Text := 'typed';
  AssertEquals('copied on OnChange', 'typed', Caption.Caption);
  AssertEquals('the override ran', Changes + 1, Edit.Changes);
  AssertEquals('the edit''s own handler ran once', 'Edit2;', FChangeLog);
end;

procedure TTestDerivedClasses.TestEventToMethodOnDerivedSides;
var
  Source, Target: TEdit;
  Hidden: TLabel;
  Clear, Hide: TorvE2MConnection;

  function NewCall(ATarget: TComponent; const AMethod: string): TorvE2MConnection;
  begin
    Result := TorvE2MConnection.Create(FForm);
    Result.Source := Source;
    Result.SourceEvent := 'OnChange';
    Result.Target := ATarget;
    Result.TargetMethod := AMethod;
    AssertTrue(AMethod + ' connects', Result.Connect);
  end;

begin
  TorvClassRegistry.DerivedClasses := True;
  Source := NewEdit(TMyEdit2, 'Source');
  Target := NewEdit(TMyEdit, 'Target');
  Target.Text := 'full';
  Hidden := NewLabel('Hidden');
  Clear := NewCall(Target, 'Clear');
  Hide := NewCall(Hidden, 'Hide');
  Source.Text := 'go';
  AssertEquals('the derived target''s method ran', '', Target.Text);
  AssertFalse('the label''s method ran', Hidden.Visible);
  Clear.Free;
  Hidden.Show;
  Target.Text := 'full';
  Source.Text := 'again';
  AssertEquals('the freed link calls nothing', 'full', Target.Text);
  AssertFalse('the other one still calls', Hidden.Visible);
  Hide.Free;
end;

procedure TTestDerivedClasses.TestEventsUnhookWhenLinkOrComponentGoes;
var
  Edit: TMyEdit;
  Caption: TLabel;
  Link: TorvP2PConnection;
  Copied: string;
begin
  TorvClassRegistry.DerivedClasses := True;
  Edit := NewEdit(TMyEdit, 'Edit1') as TMyEdit;
  Edit.OnChange := @Changed;
  Caption := NewLabel('Caption1');
  Link := CopyText(Edit, Caption);
  Copied := Caption.Caption;
  Link.Free;
  Edit.Text := 'unlinked';
  AssertEquals('the freed link hears nothing', Copied, Caption.Caption);
  AssertEquals('the edit''s own handler still runs', 'Edit1;', FChangeLog);
  Link := CopyText(Edit, Caption);
  FreeAndNil(Edit);
  AssertNull('the link let go of the freed edit', Link.Source);
  Edit := NewEdit(TMyEdit, 'Edit1') as TMyEdit;
  Edit.Text := 'fresh';
  AssertEquals('nothing hooked the new edit at the old address', 'unlinked', Caption.Caption);
  AssertEquals('Edit1;', FChangeLog);
end;

procedure TTestDerivedClasses.TestVariableSharesTheRegistrysClassInfo;
var
  Edit: TEdit;
  Caption: TLabel;
  Variable: TorvVariable;
begin
  TorvClassRegistry.DerivedClasses := True;
  Edit := NewEdit(TMyEdit, 'Edit1');
  Caption := NewLabel('Caption1');
  Variable := TorvVariable.Create(FForm);
  Variable.ClassTypeName := 'TEdit';
  Variable.Instance := Edit;
  CopyText(Edit, Caption);
  // Had the variable hooked the edit itself, letting go would restore the
  // handler it found and cut the link off.
  Variable.Instance := nil;
  Edit.Text := 'heard';
  AssertEquals('heard', Caption.Caption);
end;

procedure TTestDerivedClasses.TestPickersFollowTheSwitch;
var
  Root: TComponent;
  Designer: TorvRootDesigner;
  Combo: TComboBox;

  function Offered(const AName: string): Boolean;
  begin
    FillComponentPicker(Designer, Combo, nil);
    Result := Combo.Items.IndexOf(AName) >= 0;
  end;

begin
  Root := TComponent.Create(nil);
  Designer := nil;
  Combo := TComboBox.Create(nil);
  try
    Root.Name := 'Form1';
    TMyEdit2.Create(Root).Name := 'Edit1';
    TLabel.Create(Root).Name := 'Label1';
    TorvConnectionList.Create(Root).Name := 'List1';
    TorvP2PConnection.Create(Root).Name := 'Copy1';
    Designer := TorvRootDesigner.Create(Root);
    AssertTrue(Offered('Label1'));
    AssertFalse('only registered classes by default', Offered('Edit1'));
    TorvClassRegistry.DerivedClasses := True;
    AssertTrue('derived ones too when asked', Offered('Edit1'));
    AssertTrue(orvIsBindable(Root.FindComponent('Edit1')));
    // Bindable through TComponent now, but wiring, not a side to offer.
    AssertFalse('a list', Offered('List1') or orvIsBindable(Root.FindComponent('List1')));
    AssertFalse('a link', Offered('Copy1') or orvIsBindable(Root.FindComponent('Copy1')));
  finally
    Combo.Free;
    Root.Free;
    Designer.Free;
  end;
end;

{ Read the form file text AText into ARoot, as the application does. }
procedure ReadFormText(const AText: string; ARoot: TComponent);
var
  Binary, Text: TMemoryStream;
begin
  Binary := TMemoryStream.Create;
  Text := TStringStream.Create(AText);
  try
    ObjectTextToBinary(Text, Binary);
    Binary.Position := 0;
    Binary.ReadComponent(ARoot);
  finally
    Text.Free;
    Binary.Free;
  end;
end;

const
  DerivedFormText =
    'object DerivedForm: TDerivedForm' + LineEnding +
    '  object Edit1: TMyEdit2' + LineEnding +
    '    Text = ''loaded''' + LineEnding +
    '  end' + LineEnding +
    '  object Label1: TLabel' + LineEnding +
    '  end' + LineEnding +
    '  object Links: TorvConnectionList' + LineEnding +
    '    OnConnectFailure = LinkFailed' + LineEnding +
    '    object CopyText: TorvP2PConnection' + LineEnding +
    '      Source = Edit1' + LineEnding +
    '      SourceProperty = ''Text''' + LineEnding +
    '      SourceEvent = ''OnChange''' + LineEnding +
    '      Target = Label1' + LineEnding +
    '      TargetProperty = ''Caption''' + LineEnding +
    '    end' + LineEnding +
    '  end' + LineEnding +
    'end';

procedure TTestDerivedClasses.TestFormFileWithDerivedComponent;
var
  Form: TDerivedForm;
  Edit: TEdit;
  Caption: TLabel;
  Mode: Boolean;
begin
  for Mode := False to True do
  begin
    TorvClassRegistry.DerivedClasses := Mode;
    Form := TDerivedForm.CreateNew(nil);
    try
      ReadFormText(DerivedFormText, Form);
      Form.Show;
      Edit := Form.FindComponent('Edit1') as TEdit;
      Caption := Form.FindComponent('Label1') as TLabel;
      Edit.Text := 'changed';
      if Mode then
      begin
        AssertEquals('no failure', '', Form.FFailures);
        AssertEquals('the link copies', 'changed', Caption.Caption);
      end
      else
      begin
        AssertEquals('the failure names the real class', 1,
          Pos('CopyText: TMyEdit2: ' + rsNotOrvaneComponent + LineEnding, Form.FFailures));
        AssertEquals('the link stays inert', '', Caption.Caption);
      end;
    finally
      Form.Free;
    end;
  end;
end;

procedure TTestDerivedClasses.TestCheckerFindsAncestors;
const
  Ok = 'ok';
  { Class of the source, --class parents, with the mode?, what the check says }
  Cases: array[0..6, 0..3] of string = (
    ('TMyEdit2', '', '', 'no binding of class TMyEdit2 is registered'),
    ('TMyEdit2', '', 'on', Ok),
    ('TVendorEdit', 'TVendorEdit=TMyEdit2', 'on', Ok),
    ('TVendorEdit', 'TVendorEdit=TVendorBase,TVendorBase=TEdit', 'on', Ok),
    ('TVendorEdit', '', 'on', 'nor of an ancestor the checker knows'),
    ('TVendorEdit', 'TVendorEdit=TLoop,TLoop=TVendorEdit', 'on', 'nor of an ancestor'),
    ('TVendorEdit', 'TVendorEdit=TMyEdit', '', 'no binding of class TVendorEdit'));
var
  I, J: Integer;
  Report, Parents: TStringList;
  Counts: TorvCheckCounts;
  Text: string;
begin
  Report := TStringList.Create;
  Parents := TStringList.Create;
  try
    for I := 0 to High(Cases) do
    begin
      TorvClassRegistry.DerivedClasses := Cases[I, 2] = 'on';
      ClearClassParents;
      Parents.CommaText := Cases[I, 1];
      for J := 0 to Parents.Count - 1 do
        AddClassParent(Parents.Names[J], Parents.ValueFromIndex[J]);
      Report.Clear;
      Text := StringReplace(DerivedFormText, 'TMyEdit2', Cases[I, 0], []);
      Counts := CheckFormText(Text, 'f.lfm', Report);
      AssertEquals(IntToStr(I) + ' one link', 1, Counts.Links);
      AssertTrue(IntToStr(I) + ': ' + Report.Text, Pos(Cases[I, 3], Report.Text) > 0);
      AssertEquals(IntToStr(I) + ' broken', Ord(Cases[I, 3] <> Ok), Counts.Broken);
    end;
    // A feature it lacks is described by the class whose features it has.
    TorvClassRegistry.DerivedClasses := True;
    Text := StringReplace(DerivedFormText, '''Text''', '''Txet''', []);
    Report.Clear;
    CheckFormText(Text, 'f.lfm', Report);
    AssertTrue(Report.Text, Pos('(TMyEdit2 has the features of TEdit)', Report.Text) > 0);
  finally
    Parents.Free;
    Report.Free;
  end;
end;

procedure TTestDerivedClasses.TestLaterBindingServesNewObjects;
var
  Before, After: TEdit;
  Caption: TLabel;
  Old, Info: TorvClassInfo;
begin
  AssertNull('bound by this test only', TorvClassRegistry.FindClass('TLateEdit'));
  TorvClassRegistry.DerivedClasses := True;
  AssertEquals('TEditClassInfo',
    TorvClassRegistry.GetInfo(NewEdit(TLateEdit2, 'Below1')).ClassName);
  Before := NewEdit(TLateEdit, 'Before');
  Caption := NewLabel('Caption1');
  Old := TorvClassRegistry.GetInfo(Before);
  AssertEquals('TEditClassInfo', Old.ClassName);
  CopyText(Before, Caption);
  RegisterBinding('TLateEdit', TLateEditClassInfo, LateDescriptors);
  After := NewEdit(TLateEdit, 'After');
  Info := TorvClassRegistry.GetInfo(After);
  AssertEquals('a new object gets the new binding', 'TLateEditClassInfo', Info.ClassName);
  AssertEquals('and so does a new one of a class below', 'TLateEditClassInfo',
    TorvClassRegistry.GetInfo(NewEdit(TLateEdit2, 'Below2')).ClassName);
  After.Text := 'one';
  AssertTrue(TMyEdit(After).Changes > 0);
  AssertEquals('with its own feature', TMyEdit(After).Changes,
    Integer(Info.GetProperty(Info.FindProperty('Changes'))));
  AssertSame('an object bound before keeps its class info', Old,
    TorvClassRegistry.GetInfo(Before));
  AssertNull(Old.FindProperty('Changes'));
  Before.Text := 'two';
  AssertEquals('and its link', 'two', Caption.Caption);
  FreeAndNil(Before);
  Before := NewEdit(TLateEdit, 'Before');
  AssertEquals('its successor gets the new one', 'TLateEditClassInfo',
    TorvClassRegistry.GetInfo(Before).ClassName);
  TorvClassRegistry.DerivedClasses := False;
  AssertEquals('registered by name, it needs no switch', 'TLateEditClassInfo',
    TorvClassRegistry.GetInfo(NewEdit(TLateEdit, 'Third')).ClassName);
end;

initialization
  // Found by the form reader, and by the checker through their real parents.
  RegisterClasses([TDerivedForm, TMyEdit, TMyEdit2, TLabel]);
  RegisterTest('Derived', TTestDerivedClasses);
end.
