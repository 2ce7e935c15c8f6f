{ The bindings of the standard and extra controls against their tables:
  registered in table order under their host names, the totals of own
  features and Override entries of each unit, and every Override entry in
  effect in the metadata of its binding. }
unit Orvtestctrltables;

{$I orvdefines.inc}

interface

uses
  Classes, SysUtils, TypInfo, fpcunit, testregistry,
  Orvcommon, Orvgentable;

type
  TTestControlTables = class(TTestCase)
  private
    FNames: TStringList;
    FFailures: TStringList;
    procedure AddName(const AClassName: string);
    procedure CheckOverrides(ABinding: TgenBinding; AInfo: TorvClassInfo;
      var AProperties, AEvents: Integer);
    { Check the unit made from the table ATable: its bindings registered in
      order, and the totals of its own features and Override entries. }
    procedure CheckUnit(const ATable: string; ABindings, AProperties, AMethods, AFunctions,
      AConstructors, AEvents, APropertyOverrides, AEventOverrides: Integer);
  protected
    procedure SetUp; override;
    procedure TearDown; override;
  published
    procedure TestStandardControls;
    procedure TestExtraControls;
  end;

implementation

uses
  Orvmetadump;

{ The generator's folder, found from the test program in tests/. }
function GenDir: string;
begin
  Result := ExpandFileName(ExtractFilePath(ParamStr(0)) + '../tools/gen/');
end;

procedure TTestControlTables.SetUp;
begin
  FNames := TStringList.Create;
  FFailures := TStringList.Create;
  TorvClassRegistry.Iterate(@AddName);
end;

procedure TTestControlTables.TearDown;
begin
  FreeAndNil(FFailures);
  FreeAndNil(FNames);
end;

procedure TTestControlTables.AddName(const AClassName: string);
begin
  FNames.Add(AClassName);
end;

function VisibilityName(AVisibility: TorvPropertyVisibility): string;
begin
  Result := GetEnumName(TypeInfo(TorvPropertyVisibility), Ord(AVisibility));
end;

function StylesText(AStyles: TorvPropertyStyle): string;
begin
  Result := '';
  if psReadable in AStyles then
    Result := 'psReadable';
  if psWritable in AStyles then
    if Result = '' then
      Result := 'psWritable'
    else
      Result := Result + '..psWritable';
end;

procedure TTestControlTables.CheckOverrides(ABinding: TgenBinding; AInfo: TorvClassInfo;
  var AProperties, AEvents: Integer);
var
  I: Integer;
  Member: TgenMember;
  Prop: TorvPropertyInfo;
  Event: TorvEventInfo;
  Where: string;
begin
  // The binding's own Override entry is the last one its declarations read,
  // so the feature shows exactly what the entry says.
  for I := 0 to ABinding.Members.Count - 1 do
  begin
    Member := ABinding.Member(I);
    Where := ABinding.HostName + '.' + Member.Name;
    case Member.Kind of
      mkOverProp:
        begin
          Inc(AProperties);
          Prop := AInfo.FindProperty(Member.Name);
          if Prop = nil then
            FFailures.Add(Where + ': no such property')
          else if (VisibilityName(Prop.Visibility) <> Member.Visibility) or
            ((Member.OverStyle <> '') and (StylesText(Prop.Styles) <> Member.OverStyle)) then
            FFailures.Add(Where + ': ' + VisibilityName(Prop.Visibility) + ' ' +
              StylesText(Prop.Styles));
        end;
      mkOverEvent:
        begin
          Inc(AEvents);
          Event := AInfo.FindEvent(Member.Name);
          if Event = nil then
            FFailures.Add(Where + ': no such event')
          else if VisibilityName(Event.Visibility) <> Member.Visibility then
            FFailures.Add(Where + ': ' + VisibilityName(Event.Visibility));
        end;
    end;
  end;
end;

procedure TTestControlTables.CheckUnit(const ATable: string; ABindings, AProperties, AMethods,
  AFunctions, AConstructors, AEvents, APropertyOverrides, AEventOverrides: Integer);
var
  Types: TStringList;
  Table: TgenTable;
  Binding: TgenBinding;
  InfoClass: TorvClassInfoClass;
  Info: TorvClassInfo;
  Sum, Own: TorvFeatureCounts;
  PropertyOverrides, EventOverrides, I, First: Integer;
begin
  Types := TStringList.Create;
  Table := nil;
  try
    LoadTypes(GenDir + 'types.tbl', Types);
    Table := LoadTable(GenDir + 'tables/' + ATable, Types);
    AssertEquals(ATable + ' bindings', ABindings, Table.Bindings.Count);
    Sum := Default(TorvFeatureCounts);
    PropertyOverrides := 0;
    EventOverrides := 0;
    First := FNames.IndexOf(Table.Binding(0).HostName);
    for I := 0 to Table.Bindings.Count - 1 do
    begin
      Binding := Table.Binding(I);
      InfoClass := TorvClassRegistry.FindClass(Binding.HostName);
      if (InfoClass = nil) or (InfoClass.ClassName <> Binding.InfoName) then
      begin
        FFailures.Add(Binding.HostName + ' is not registered with ' + Binding.InfoName);
        Continue;
      end;
      if FNames.IndexOf(Binding.HostName) <> First + I then
        FFailures.Add(Binding.HostName + ' is not registered in table order');
      if InfoClass.ClassParent.ClassName <> Binding.ParentInfoName then
        FFailures.Add(Binding.HostName + ' rests on ' + InfoClass.ClassParent.ClassName);
      Own := OwnFeatures(InfoClass);
      Inc(Sum.Properties, Own.Properties);
      Inc(Sum.Methods, Own.Methods);
      Inc(Sum.Functions, Own.Functions);
      Inc(Sum.Constructors, Own.Constructors);
      Inc(Sum.Events, Own.Events);
      Info := DeclaredInfo(InfoClass);
      try
        CheckOverrides(Binding, Info, PropertyOverrides, EventOverrides);
      finally
        Info.Free;
      end;
    end;
    if FFailures.Count > 0 then
      Fail(FFailures.Text);
    AssertEquals(ATable + ' properties', AProperties, Sum.Properties);
    AssertEquals(ATable + ' methods', AMethods, Sum.Methods);
    AssertEquals(ATable + ' functions', AFunctions, Sum.Functions);
    AssertEquals(ATable + ' constructors', AConstructors, Sum.Constructors);
    AssertEquals(ATable + ' events', AEvents, Sum.Events);
    AssertEquals(ATable + ' property overrides', APropertyOverrides, PropertyOverrides);
    AssertEquals(ATable + ' event overrides', AEventOverrides, EventOverrides);
  finally
    Table.Free;
    Types.Free;
  end;
end;

procedure TTestControlTables.TestStandardControls;
const
  // The LCL's group box is no TCustomControl: its binding declares the
  // Canvas that TCustomControlClassInfo would have given it.
  GroupBoxCanvas = 1;
begin
  CheckUnit('orvstdctrls.tbl', 21, 79 + GroupBoxCanvas, 16, 3, 0, 9, 294, 176);
end;

procedure TTestControlTables.TestExtraControls;
begin
  CheckUnit('orvextctrls.tbl', 15, 40, 2, 0, 0, 14, 181, 106);
end;

initialization
  RegisterTest('Bindings', TTestControlTables);
end.
