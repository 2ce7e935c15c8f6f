{ Class infos that the benchmark declares: a root-sized one and an
  eight-level chain the size of an edit control's binding, built from
  descriptor strings made once at start-up.

  The chain's strings are generated rather than written out so that its
  size is one set of numbers; the generator is deterministic, so every run
  declares exactly the same features. }
unit Orvbenchinfos;

{$I orvdefines.inc}

interface

uses
  Classes, SysUtils,
  Orvcommon;

const
  ChainDepth = 8;

type
  { The root of the RTL tree, with the descriptors of a root binding. }
  TRootBenchInfo = class(TorvClassInfo)
  protected
    procedure DefineORVProperties(AList: TList); override;
    procedure DefineORVMethods(AList: TList); override;
    procedure DefineORVConstructors(AList: TList); override;
    procedure DefineORVEvents(AList: TList); override;
  end;

  { Level 1 of the chain. Each level below is a class of its own that
    reads its own strings after its parent's, as bindings that mirror a
    class tree do; TChain1Info does the reading for all of them. }
  TChain1Info = class(TorvClassInfo)
  private
    function Depth: Integer;
  protected
    procedure DefineORVProperties(AList: TList); override;
    procedure DefineORVMethods(AList: TList); override;
    procedure DefineORVConstructors(AList: TList); override;
    procedure DefineORVEvents(AList: TList); override;
  end;

  TChain2Info = class(TChain1Info);
  TChain3Info = class(TChain2Info);
  TChain4Info = class(TChain3Info);
  TChain5Info = class(TChain4Info);
  TChain6Info = class(TChain5Info);
  TChain7Info = class(TChain6Info);
  { The deepest level: the class the benchmark declares. }
  TChain8Info = class(TChain7Info);

  { The same chain, declared anew by every instance. Listing one feature of
    another class info first makes a run instance-specific, so the spine
    neither keeps nor reuses it: every InitMetaData parses all eight levels
    and makes every feature, which is what sharing saves. }
  TUnsharedChainInfo = class(TChain8Info)
  protected
    procedure DefineORVProperties(AList: TList); override;
  end;

{ Return the total number of parameters of AInfo's features; materialises
  them all. }
function ParameterCount(AInfo: TorvClassInfo): Integer;

{ Return the total number of features AInfo lists. }
function FeatureTotal(AInfo: TorvClassInfo): Integer;

implementation

const
  RootProperties = 'Define::Self::psReadable::pvPublic::0';
  RootMethods = 'Free::msProcedure::0::InitInstance::msFunction::1::Instance::CleanupInstance::' +
    'msProcedure::0::ClassType::msFunction::0::ClassName::msFunction::0::ClassNameIs::msFunction::' +
    '1::Name::ClassParent::msFunction::0::ClassInfo::msFunction::0::InstanceSize::msFunction::0::' +
    'InheritsFrom::msFunction::1::AClass::MethodAddress::msFunction::1::Name::MethodName::' +
    'msFunction::1::Address::FieldAddress::msFunction::1::Name::GetInterface::msFunction::2::IID::' +
    'Obj::GetInterfaceEntry::msFunction::1::IID::GetInterfaceTable::msFunction::0::' +
    'SafeCallException::msFunction::2::ExceptObject::ExceptAddr::AfterConstruction::msProcedure::' +
    '0::BeforeDestruction::msProcedure::0::Dispatch::msProcedure::1::Message::DefaultHandler::' +
    'msProcedure::1::Message::NewInstance::msFunction::0::FreeInstance::msProcedure::0';
  RootConstructors = 'Create::0';
  RootEvents = '';

  { Per level: 15 properties (every eighth one of the chain indexed), 10
    methods with 0-3 parameters (11 on the first three levels) and 4 events;
    one constructor at level 1. Eight levels: 236 features, 174 parameters. }
  PropertiesPerLevel = 15;
  MethodsPerLevel = 10;
  EventsPerLevel = 4;
  ExtraMethodLevels = 3;

var
  { Global, so that every instance reads the very same strings, as it reads
    constants in a real binding. }
  ChainProperties, ChainMethods, ChainEvents: array[1..ChainDepth] of string;
  ChainConstructors: string;
  { The feature the unshared chain borrows; its class info lives for the run. }
  Lender: TRootBenchInfo;

{ Join AEntry to a descriptor being built. }
procedure AddEntry(var ADescriptor: string; const AEntry: string);
begin
  if ADescriptor = '' then
    ADescriptor := AEntry
  else
    ADescriptor := ADescriptor + '::' + AEntry;
end;

procedure BuildChainDescriptors;
const
  Styles: array[0..2] of string = ('psReadable', 'psReadable..psWritable', 'psWritable');
  Visibilities: array[0..2] of string = ('pvPublished', 'pvPublic', 'pvProtected');
  MethodStyles: array[0..1] of string = ('msFunction', 'msProcedure');
  ArgNames: array[0..2] of string = ('AValue', 'AIndex', 'ACount');
var
  Level, I, J, Count, PropertyNo: Integer;
  Entry: string;
begin
  PropertyNo := 0;
  for Level := 1 to ChainDepth do
  begin
    for I := 1 to PropertiesPerLevel do
    begin
      Inc(PropertyNo);
      if PropertyNo mod 8 = 0 then
        Entry := Format('Define::L%dItems%d::psReadable..psWritable..psIndexed::pvPublic::1::Index',
          [Level, I])
      else
        Entry := Format('Define::L%dProp%d::%s::%s::0',
          [Level, I, Styles[I mod 3], Visibilities[I mod 3]]);
      AddEntry(ChainProperties[Level], Entry);
    end;
    Count := MethodsPerLevel;
    if Level <= ExtraMethodLevels then
      Inc(Count);
    for I := 0 to Count - 1 do
    begin
      Entry := Format('L%dMethod%d::%s::%d', [Level, I, MethodStyles[I mod 2], I mod 4]);
      for J := 0 to I mod 4 - 1 do
        Entry := Entry + '::' + ArgNames[J];
      AddEntry(ChainMethods[Level], Entry);
    end;
    for I := 0 to EventsPerLevel - 1 do
      if I mod 2 = 0 then
        AddEntry(ChainEvents[Level], Format('Define::OnL%dEvent%d::pvPublished::1::Sender', [Level, I]))
      else
        AddEntry(ChainEvents[Level], Format('Define::OnL%dEvent%d::pvPublished::2::Sender::AValue',
          [Level, I]));
  end;
  ChainConstructors := 'Create::1::AOwner';
end;

function ParameterCount(AInfo: TorvClassInfo): Integer;
var
  I: Integer;
begin
  Result := 0;
  for I := 0 to AInfo.GetPropertyCount - 1 do
    Inc(Result, AInfo.GetProperties(I).GetIndexCount);
  for I := 0 to AInfo.GetMethodCount - 1 do
    Inc(Result, AInfo.GetMethods(I).GetArgCount);
  for I := 0 to AInfo.GetConstructorCount - 1 do
    Inc(Result, AInfo.GetConstructors(I).GetArgCount);
  for I := 0 to AInfo.GetEventCount - 1 do
    Inc(Result, AInfo.GetEvents(I).GetArgCount);
end;

function FeatureTotal(AInfo: TorvClassInfo): Integer;
begin
  Result := AInfo.GetPropertyCount + AInfo.GetMethodCount + AInfo.GetConstructorCount +
    AInfo.GetEventCount;
end;

{ TRootBenchInfo }

procedure TRootBenchInfo.DefineORVProperties(AList: TList);
begin
  inherited DefineORVProperties(AList);
  ReadORVProperties(RootProperties);
end;

procedure TRootBenchInfo.DefineORVMethods(AList: TList);
begin
  inherited DefineORVMethods(AList);
  ReadORVMethods(RootMethods);
end;

procedure TRootBenchInfo.DefineORVConstructors(AList: TList);
begin
  inherited DefineORVConstructors(AList);
  ReadORVConstructors(RootConstructors);
end;

procedure TRootBenchInfo.DefineORVEvents(AList: TList);
begin
  inherited DefineORVEvents(AList);
  ReadORVEvents(RootEvents);
end;

{ TChain1Info }

function TChain1Info.Depth: Integer;
var
  C: TClass;
begin
  // The unshared chain derives from the deepest level and adds no strings.
  Result := 0;
  C := ClassType;
  while C <> TorvClassInfo do
  begin
    Inc(Result);
    C := C.ClassParent;
  end;
  if Result > ChainDepth then
    Result := ChainDepth;
end;

procedure TChain1Info.DefineORVProperties(AList: TList);
var
  Level: Integer;
begin
  inherited DefineORVProperties(AList);
  for Level := 1 to Depth do
    ReadORVProperties(ChainProperties[Level]);
end;

procedure TChain1Info.DefineORVMethods(AList: TList);
var
  Level: Integer;
begin
  inherited DefineORVMethods(AList);
  for Level := 1 to Depth do
    ReadORVMethods(ChainMethods[Level]);
end;

procedure TChain1Info.DefineORVConstructors(AList: TList);
begin
  inherited DefineORVConstructors(AList);
  ReadORVConstructors(ChainConstructors);
end;

procedure TChain1Info.DefineORVEvents(AList: TList);
var
  Level: Integer;
begin
  inherited DefineORVEvents(AList);
  for Level := 1 to Depth do
    ReadORVEvents(ChainEvents[Level]);
end;

{ TUnsharedChainInfo }

procedure TUnsharedChainInfo.DefineORVProperties(AList: TList);
begin
  // First, so that the spine's check for borrowed features stops at once
  // and the figure is the parsing alone.
  AList.Add(Lender.GetProperties(0));
  inherited DefineORVProperties(AList);
end;

initialization
  BuildChainDescriptors;
  Lender := TRootBenchInfo.Create;
  Lender.InitMetaData;
finalization
  FreeAndNil(Lender);
end.
