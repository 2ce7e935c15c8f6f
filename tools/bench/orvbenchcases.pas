{ The operations the benchmark times, each beside what it is compared with.

  Every bench object owns the objects its cases work on and adds its cases
  to a group (see Orvbenchsampler). A case's run function does ACount
  operations and returns the nanoseconds that count: where an operation
  has to make or free something that is not part of what is measured, that
  happens outside the clock. Results go to fields, so that the compiler
  cannot drop the work. }
unit Orvbenchcases;

{$I orvdefines.inc}

interface

uses
  Classes, SysUtils, Variants,
  Controls,
  Orvcommon, Orvconlist, Orvbenchsampler, Orvbenchfixtures;

type
  { TTransferBench }

  { A copy of Text from one edit to another whenever the first changes:
    by a link, by a handler written for it, and by a handler that goes by
    name through TypInfo. Each way has its own pair of edits. }
  TTransferBench = class
  private
    FRoot: TComponent;
    FHand: array[0..1] of TBenchEdit;
    FTyp: array[0..1] of TBenchEdit;
    FLinked: array[0..1] of TBenchEdit;
    FValues: array[0..1] of string;
    procedure HandChanged(Sender: TObject);
    procedure TypChanged(Sender: TObject);
    function Transfer(AEdits: array of TBenchEdit; ACount: Integer): Int64;
    function RunHand(ACount: Integer): Int64;
    function RunLink(ACount: Integer): Int64;
    function RunTypInfo(ACount: Integer): Int64;
  public
    constructor Create;
    destructor Destroy; override;
    procedure AddCases(AGroup: TBenchGroup);
    { Return '' when every way copies, else what does not. }
    function Check: string;
  end;

  { TInfoBench }

  { Class infos made and used, beside the same work done in code. }
  TInfoBench = class
  private
    FEdit: TBenchEdit;
    FEditInfo: TorvClassInfo;
    FList: TStringList;
    FListInfo: TorvClassInfo;
    FValues: array[0..1] of string;
    FVarValues: array[0..1] of Variant;
    FText: string;
    FValue: Variant;
    FCount: Integer;
    function RunComponent(ACount: Integer): Int64;
    function RunComponentInfo(ACount: Integer): Int64;
    function RunStringList(ACount: Integer): Int64;
    function RunStringListInfo(ACount: Integer): Int64;
    function RunGetDirect(ACount: Integer): Int64;
    function RunGetByName(ACount: Integer): Int64;
    function RunSetDirect(ACount: Integer): Int64;
    function RunSetByName(ACount: Integer): Int64;
    function RunCountDirect(ACount: Integer): Int64;
    function RunCountByName(ACount: Integer): Int64;
  public
    constructor Create;
    destructor Destroy; override;
    procedure AddCases(AGroup: TBenchGroup);
    { Return the heap one live TComponent holds, and what its class info
      adds: the class info, its place in the registry's cache and the free
      notifications between component and registry. Averages over ACount
      live components. }
    procedure MeasureHeap(ACount: Integer; out AComponentBytes, AInfoBytes: Double);
    { Return the heap the class info of one live component holds once a
      link found the two features it uses, Text and OnChange: of a
      TBenchEdit, or with ALarge of an LCL TEdit (no parent), whose class
      has many properties; AProperties is that class's property count.
      Averages over ACount live components; the component's own heap is
      not counted. }
    procedure MeasureLinkedHeap(ACount: Integer; ALarge: Boolean; out ABytes: Double;
      out AProperties: Integer);
  end;

  { TEventBench }

  { An event with a host handler and no listener, fired by an edit alone
    and by an edit whose class info hooks the event; likewise a control's
    OnClick and a windowed control's OnKeyDown, which a class info hooks
    among all the events of a control. }
  TEventBench = class
  private
    FPlain: TBenchEdit;
    FHooked: TBenchEdit;
    FChanges: Integer;
    FClicked: array[Boolean] of TCustomControl; // [True]: hooked
    FKeyed: array[Boolean] of TWinControl;
    procedure HostChanged(Sender: TObject);
    procedure HostKeyDown(Sender: TObject; var Key: Word; Shift: TShiftState);
    function RunPlain(ACount: Integer): Int64;
    function RunHooked(ACount: Integer): Int64;
    function Click(AHooked: Boolean; ACount: Integer): Int64;
    function KeyDown(AHooked: Boolean; ACount: Integer): Int64;
    function RunClickPlain(ACount: Integer): Int64;
    function RunClickHooked(ACount: Integer): Int64;
    function RunKeyDownPlain(ACount: Integer): Int64;
    function RunKeyDownHooked(ACount: Integer): Int64;
  public
    constructor Create;
    destructor Destroy; override;
    procedure AddCases(AGroup: TBenchGroup);
  end;

  { TFindBench }

  { TorvClassRegistry.FindClass in a registry of RegistrySize names, for
    the first ten registered names and for names from the whole registry.

    The registry cannot be emptied to ten names, so the size is compared
    within one registry, padded with synthetic names to RegistrySize: the
    first ten names, which every layout reaches first, against names spread
    over all of it. The spread names have the same lengths as the first ten,
    so both sides hash and compare the same number of characters. Padding
    stays registered for the rest of the run, so it is done at the first
    lookup: measure this group last. }
  TFindBench = class
  private
    FFirst: array of string;
    FSpread: array of string;
    FReal: array of string;
    FPadded: Integer;
    FFound: TorvClassInfoClass;
    procedure Pad;
    function Lookup(const ANames: array of string; ACount: Integer): Int64;
    function RunFirst(ACount: Integer): Int64;
    function RunSpread(ACount: Integer): Int64;
    function RunReal(ACount: Integer): Int64;
  public
    const
      RegistrySize = 10000;
    procedure AddCases(AGroup: TBenchGroup);
    { Return how many names were registered before padding. }
    property Padded: Integer read FPadded;
  end;

  { Declaring class infos, beside making the objects they describe: a
    TComponent and a TEdit without parent (no widget) as yardsticks, a
    root-sized class info, an eight-level chain the size of an edit
    control's binding with a shared declaration, asked for three properties
    and for every feature, and declared anew by every instance. }
  TDeclarationKind = (dkComponent, dkEdit, dkRoot, dkChain, dkChainFind, dkChainAll, dkUnshared);

  { TDeclarationBench }

  TDeclarationBench = class
  private
    FAdapters: array[TDeclarationKind] of TObject;
    FFirstNs: Int64;
    FPrototypeBytes: Int64;
  public
    constructor Create;
    destructor Destroy; override;
    { Declare the chain class for the first time, which makes the prototype
      its later instances share: a one-off, timed once. Call before any
      other use of the chain. }
    procedure MeasureFirst;
    procedure AddCases(AGroup: TBenchGroup);
    { Return the heap one live object of AKind holds, over ACount of them. }
    function HeapPerObject(AKind: TDeclarationKind; ACount: Integer): Double;
    { Return the features the class info of AKind lists, 0 for the
      yardsticks. }
    function Features(AKind: TDeclarationKind): Integer;
    { Return a line that gives the size of the chain. }
    function DescribeChain: string;
    class function CaseName(AKind: TDeclarationKind): string;
    property FirstNs: Int64 read FFirstNs;
    property PrototypeBytes: Int64 read FPrototypeBytes;
  end;

  { TFormBench }

  { Reading a form with links, the same form without them, or with inert
    stand-ins, for a number of link pairs. The read includes the connection
    list connecting its links in Loaded; freeing the form is outside the
    clock and timed on its own. }
  TFormBench = class
  private
    FPairs: Integer;
    FKind: TBenchFormKind;
    FStream: TMemoryStream;
    FFreeNs: Int64;
    FFrees: Integer;
    FChecked: string;
    function RunRead(ACount: Integer): Int64;
  public
    constructor Create(APairs: Integer; AKind: TBenchFormKind);
    destructor Destroy; override;
    { Add this form's case, named by CaseName. }
    procedure AddCase(AGroup: TBenchGroup);
    { Return "form-<pairs>-links", "-plain", "-inert" or "-tedit". }
    class function CaseName(APairs: Integer; AKind: TBenchFormKind): string;
    { Return the mean nanoseconds of freeing a read form. }
    function FreeNs: Double;
    { Return '' when the last form read copied what its links should. }
    property Checked: string read FChecked;
    property Pairs: Integer read FPairs;
    property Kind: TBenchFormKind read FKind;
  end;

{ Read the form in AStream into ARoot. A routine of its own so that
  callgrind can collect the reading alone (--toggle-collect='*READFORM*'):
  an operation of a form case also frees the form it read. }
procedure ReadForm(AStream: TStream; ARoot: TComponent);

implementation

uses
  TypInfo, StdCtrls,
  Orvclasses, Orvp2p, Orvbenchinfos, Orvbenchbinding;

const
  TextName = 'Text';

function NewEdit(AOwner: TComponent; const AName: string): TBenchEdit;
begin
  Result := TBenchEdit.Create(AOwner);
  Result.Name := AName;
end;

{ TTransferBench }

constructor TTransferBench.Create;
var
  Link: TorvP2PConnection;
begin
  inherited Create;
  FValues[0] := 'first value';
  FValues[1] := 'second value';
  FRoot := TComponent.Create(nil);
  FHand[0] := NewEdit(FRoot, 'HandSource');
  FHand[1] := NewEdit(FRoot, 'HandTarget');
  FHand[0].OnChange := @HandChanged;
  FTyp[0] := NewEdit(FRoot, 'TypSource');
  FTyp[1] := NewEdit(FRoot, 'TypTarget');
  FTyp[0].OnChange := @TypChanged;
  FLinked[0] := NewEdit(FRoot, 'LinkSource');
  FLinked[1] := NewEdit(FRoot, 'LinkTarget');
  // Owned by the root, which frees it with the edits.
  Link := TorvP2PConnection.Create(FRoot);
  Link.Source := FLinked[0];
  Link.SourceProperty := TextName;
  Link.SourceEvent := 'OnChange';
  Link.Target := FLinked[1];
  Link.TargetProperty := TextName;
  Link.Connect;
end;

destructor TTransferBench.Destroy;
begin
  FRoot.Free;
  inherited Destroy;
end;

procedure TTransferBench.HandChanged(Sender: TObject);
begin
  FHand[1].Text := FHand[0].Text;
end;

procedure TTransferBench.TypChanged(Sender: TObject);
begin
  // By name at every call, as a generic copier that knows only names does.
  SetStrProp(FTyp[1], TextName, GetStrProp(FTyp[0], TextName));
end;

function TTransferBench.Transfer(AEdits: array of TBenchEdit; ACount: Integer): Int64;
var
  Source: TBenchEdit;
  I: Integer;
begin
  Source := AEdits[0];
  Result := NowNs;
  // Two values in turn, so that every assignment is a change and fires.
  for I := 1 to ACount do
    Source.Text := FValues[I and 1];
  Result := NowNs - Result;
end;

function TTransferBench.RunHand(ACount: Integer): Int64;
begin
  Result := Transfer(FHand, ACount);
end;

function TTransferBench.RunLink(ACount: Integer): Int64;
begin
  Result := Transfer(FLinked, ACount);
end;

function TTransferBench.RunTypInfo(ACount: Integer): Int64;
begin
  Result := Transfer(FTyp, ACount);
end;

procedure TTransferBench.AddCases(AGroup: TBenchGroup);
begin
  AGroup.Add('transfer-hand', 'Source.Text := s; OnChange handler: Target.Text := Source.Text',
    @RunHand);
  AGroup.Add('transfer-link', 'Source.Text := s; p2p link on OnChange copies Text to Target',
    @RunLink);
  AGroup.Add('transfer-typinfo', 'Source.Text := s; handler: SetStrProp(Target, ''Text'', ' +
    'GetStrProp(Source, ''Text''))', @RunTypInfo);
end;

function TTransferBench.Check: string;
const
  Names: array[0..2] of string = ('hand', 'link', 'typinfo');
var
  Pairs: array[0..2] of TBenchEdit;
  I: Integer;
begin
  Result := '';
  Pairs[0] := FHand[0];
  Pairs[1] := FLinked[0];
  Pairs[2] := FTyp[0];
  for I := 0 to 2 do
    Pairs[I].Text := 'check ' + Names[I];
  if FHand[1].Text <> 'check hand' then
    Result := Result + ' hand';
  if FLinked[1].Text <> 'check link' then
    Result := Result + ' link';
  if FTyp[1].Text <> 'check typinfo' then
    Result := Result + ' typinfo';
end;

{ TInfoBench }

constructor TInfoBench.Create;
var
  Info: TorvClassInfo;
begin
  inherited Create;
  FValues[0] := 'first value';
  FValues[1] := 'second value';
  FVarValues[0] := FValues[0];
  FVarValues[1] := FValues[1];
  FEdit := TBenchEdit.Create(nil);
  FEditInfo := TorvClassRegistry.GetInfo(FEdit);
  FList := TStringList.Create;
  FList.Add('one');
  FList.Add('two');
  // A string list is no component, so the registry keeps no class info for
  // it: this one is the bench's own.
  Info := TStringListClassInfo.Create;
  try
    Info.InitMetaData;
    Info.SetOwner(FList);
  except
    Info.Free;
    raise;
  end;
  FListInfo := Info;
end;

destructor TInfoBench.Destroy;
begin
  if FListInfo <> nil then
    FListInfo.SetOwner(nil);
  FreeAndNil(FListInfo);
  FList.Free;
  // The registry drops the edit's class info when the edit goes.
  FEdit.Free;
  inherited Destroy;
end;

function TInfoBench.RunComponent(ACount: Integer): Int64;
var
  I: Integer;
begin
  Result := NowNs;
  for I := 1 to ACount do
    TComponent.Create(nil).Free;
  Result := NowNs - Result;
end;

function TInfoBench.RunComponentInfo(ACount: Integer): Int64;
var
  Component: TComponent;
  I: Integer;
begin
  Result := NowNs;
  for I := 1 to ACount do
  begin
    Component := TComponent.Create(nil);
    TorvClassRegistry.GetInfo(Component);
    Component.Free;
  end;
  Result := NowNs - Result;
end;

function TInfoBench.RunStringList(ACount: Integer): Int64;
var
  I: Integer;
begin
  Result := NowNs;
  for I := 1 to ACount do
    TStringList.Create.Free;
  Result := NowNs - Result;
end;

function TInfoBench.RunStringListInfo(ACount: Integer): Int64;
var
  Info: TorvClassInfo;
  I: Integer;
begin
  Result := NowNs;
  for I := 1 to ACount do
  begin
    Info := TStringListClassInfo.Create;
    Info.InitMetaData;
    Info.SetOwner(FList);
    // Giving the list its handlers back is part of letting go of it.
    Info.SetOwner(nil);
    Info.Free;
  end;
  Result := NowNs - Result;
end;

function TInfoBench.RunGetDirect(ACount: Integer): Int64;
var
  I: Integer;
begin
  Result := NowNs;
  for I := 1 to ACount do
    FText := FEdit.Text;
  Result := NowNs - Result;
end;

function TInfoBench.RunGetByName(ACount: Integer): Int64;
var
  I: Integer;
begin
  Result := NowNs;
  for I := 1 to ACount do
    FValue := FEditInfo.GetProperty(FEditInfo.FindProperty(TextName));
  Result := NowNs - Result;
end;

function TInfoBench.RunSetDirect(ACount: Integer): Int64;
var
  I: Integer;
begin
  Result := NowNs;
  for I := 1 to ACount do
    FEdit.Text := FValues[I and 1];
  Result := NowNs - Result;
end;

function TInfoBench.RunSetByName(ACount: Integer): Int64;
var
  I: Integer;
begin
  Result := NowNs;
  for I := 1 to ACount do
    FEditInfo.SetProperty(FEditInfo.FindProperty(TextName), FVarValues[I and 1]);
  Result := NowNs - Result;
end;

function TInfoBench.RunCountDirect(ACount: Integer): Int64;
var
  I: Integer;
begin
  Result := NowNs;
  for I := 1 to ACount do
    FCount := FList.Count;
  Result := NowNs - Result;
end;

function TInfoBench.RunCountByName(ACount: Integer): Int64;
var
  I: Integer;
begin
  Result := NowNs;
  for I := 1 to ACount do
    FValue := FListInfo.GetProperty(FListInfo.FindProperty('Count'));
  Result := NowNs - Result;
end;

procedure TInfoBench.AddCases(AGroup: TBenchGroup);
begin
  AGroup.Add('component-bare', 'TComponent.Create(nil) + Free', @RunComponent);
  AGroup.Add('component-info', 'TComponent.Create(nil) + TorvClassRegistry.GetInfo + Free ' +
    '(which drops the class info)', @RunComponentInfo);
  AGroup.Add('stringlist', 'TStringList.Create + Free', @RunStringList);
  AGroup.Add('stringlist-info', 'TStringListClassInfo.Create + InitMetaData + SetOwner(list) + ' +
    'SetOwner(nil) + Free', @RunStringListInfo);
  AGroup.Add('text-get', 'S := Edit.Text', @RunGetDirect);
  AGroup.Add('text-get-name', 'V := Info.GetProperty(Info.FindProperty(''Text''))', @RunGetByName);
  AGroup.Add('text-set', 'Edit.Text := S (a change: fires the hooked OnChange)', @RunSetDirect);
  AGroup.Add('text-set-name', 'Info.SetProperty(Info.FindProperty(''Text''), V) (the same change)',
    @RunSetByName);
  AGroup.Add('count-get', 'N := List.Count (TStringList)', @RunCountDirect);
  AGroup.Add('count-get-name', 'V := Info.GetProperty(Info.FindProperty(''Count''))',
    @RunCountByName);
end;

procedure TInfoBench.MeasureHeap(ACount: Integer; out AComponentBytes, AInfoBytes: Double);
var
  Components: array of TComponent;
  Before, Made: Int64;
  I: Integer;
begin
  Components := nil;
  SetLength(Components, ACount);
  Before := HeapUsed;
  try
    for I := 0 to ACount - 1 do
      Components[I] := TComponent.Create(nil);
    Made := HeapUsed;
    for I := 0 to ACount - 1 do
      TorvClassRegistry.GetInfo(Components[I]);
    AComponentBytes := (Made - Before) / ACount;
    AInfoBytes := (HeapUsed - Made) / ACount;
  finally
    for I := ACount - 1 downto 0 do
      Components[I].Free;
  end;
end;

procedure TInfoBench.MeasureLinkedHeap(ACount: Integer; ALarge: Boolean; out ABytes: Double;
  out AProperties: Integer);
var
  Components: array of TComponent;
  Info: TorvClassInfo;
  Made: Int64;
  I: Integer;
begin
  Components := nil;
  SetLength(Components, ACount);
  AProperties := 0;
  try
    for I := 0 to ACount - 1 do
      if ALarge then
        Components[I] := TEdit.Create(nil)
      else
        Components[I] := TBenchEdit.Create(nil);
    Made := HeapUsed;
    for I := 0 to ACount - 1 do
    begin
      Info := TorvClassRegistry.GetInfo(Components[I]);
      if (Info.FindProperty(TextName) = nil) or (Info.FindEvent('OnChange') = nil) then
        raise Exception.Create('no Text or OnChange');
      AProperties := Info.GetPropertyCount;
    end;
    ABytes := (HeapUsed - Made) / ACount;
  finally
    for I := ACount - 1 downto 0 do
      Components[I].Free;
  end;
end;

{ TEventBench }

type
  TControlAccess = class(TControl);
  TWinControlAccess = class(TWinControl);

constructor TEventBench.Create;
var
  Hooked: Boolean;
begin
  inherited Create;
  FPlain := TBenchEdit.Create(nil);
  FPlain.OnChange := @HostChanged;
  FHooked := TBenchEdit.Create(nil);
  FHooked.OnChange := @HostChanged;
  // The class info hooks OnChange; nothing listens to it.
  TorvClassRegistry.GetInfo(FHooked);
  for Hooked := False to True do
  begin
    FClicked[Hooked] := TCustomControl.Create(nil);
    FClicked[Hooked].OnClick := @HostChanged;
    FKeyed[Hooked] := TWinControl.Create(nil);
    FKeyed[Hooked].OnKeyDown := @HostKeyDown;
  end;
  TorvClassRegistry.GetInfo(FClicked[True]);
  TorvClassRegistry.GetInfo(FKeyed[True]);
end;

destructor TEventBench.Destroy;
var
  Hooked: Boolean;
begin
  for Hooked := False to True do
  begin
    FKeyed[Hooked].Free;
    FClicked[Hooked].Free;
  end;
  FHooked.Free;
  FPlain.Free;
  inherited Destroy;
end;

procedure TEventBench.HostChanged(Sender: TObject);
begin
  Inc(FChanges);
end;

procedure TEventBench.HostKeyDown(Sender: TObject; var Key: Word; Shift: TShiftState);
begin
  Inc(FChanges);
end;

function TEventBench.Click(AHooked: Boolean; ACount: Integer): Int64;
var
  I: Integer;
  Control: TControlAccess;
begin
  Control := TControlAccess(FClicked[AHooked]);
  Result := NowNs;
  for I := 1 to ACount do
    Control.Click;
  Result := NowNs - Result;
end;

function TEventBench.KeyDown(AHooked: Boolean; ACount: Integer): Int64;
var
  I: Integer;
  Key: Word;
  Control: TWinControlAccess;
begin
  Control := TWinControlAccess(FKeyed[AHooked]);
  Result := NowNs;
  for I := 1 to ACount do
  begin
    Key := 65;
    Control.KeyDown(Key, []);
  end;
  Result := NowNs - Result;
end;

function TEventBench.RunClickPlain(ACount: Integer): Int64;
begin
  Result := Click(False, ACount);
end;

function TEventBench.RunClickHooked(ACount: Integer): Int64;
begin
  Result := Click(True, ACount);
end;

function TEventBench.RunKeyDownPlain(ACount: Integer): Int64;
begin
  Result := KeyDown(False, ACount);
end;

function TEventBench.RunKeyDownHooked(ACount: Integer): Int64;
begin
  Result := KeyDown(True, ACount);
end;

function TEventBench.RunPlain(ACount: Integer): Int64;
var
  I: Integer;
begin
  Result := NowNs;
  for I := 1 to ACount do
    FPlain.Change;
  Result := NowNs - Result;
end;

function TEventBench.RunHooked(ACount: Integer): Int64;
var
  I: Integer;
begin
  Result := NowNs;
  for I := 1 to ACount do
    FHooked.Change;
  Result := NowNs - Result;
end;

procedure TEventBench.AddCases(AGroup: TBenchGroup);
begin
  AGroup.Add('event-plain', 'OnChange fired, host handler only', @RunPlain);
  AGroup.Add('event-hooked', 'OnChange fired, hooked by the class info, host handler, ' +
    'no listener', @RunHooked);
  AGroup.Add('click-plain', 'a TCustomControl''s OnClick fired, host handler only',
    @RunClickPlain);
  AGroup.Add('click-hooked', 'the same, hooked by the class info, no listener', @RunClickHooked);
  AGroup.Add('keydown-plain', 'a TWinControl''s OnKeyDown fired, host handler only',
    @RunKeyDownPlain);
  AGroup.Add('keydown-hooked', 'the same, hooked by the class info, no listener',
    @RunKeyDownHooked);
end;

{ TFindBench }

const
  LookupSlots = 1024; // a power of two: the index is masked, not divided

procedure TFindBench.Pad;
const
  Letters = 'abcdefghijklmnopqrstuvwxyz';
var
  Names: TStringList;
  Serial, I, J, N, Len, Found: Integer;
  Name: string;
begin
  Names := TStringList.Create;
  try
    TorvClassRegistry.GetClassNames(Names);
    FPadded := Names.Count;
    // Synthetic names take the lengths of the first ten in turn, so that
    // every length of the first ten is found all over the registry.
    Serial := 0;
    I := 0;
    while Names.Count < RegistrySize do
    begin
      Len := Length(Names[I mod 10]);
      Name := 'T';
      N := Serial;
      for J := 2 to Len do
      begin
        Name := Name + Letters[N mod 26 + 1];
        N := N div 26;
      end;
      Inc(Serial);
      if TorvClassRegistry.FindClass(Name) <> nil then
        Continue;
      TorvClassRegistry.RegisterClass(Name, TBenchEditClassInfo);
      Names.Add(Name);
      Inc(I);
    end;
    SetLength(FFirst, LookupSlots);
    SetLength(FSpread, LookupSlots);
    for I := 0 to LookupSlots - 1 do
      FFirst[I] := Names[I mod 10];
    // Walk the registry from a different start for each slot, taking the
    // next name of the length the first-ten side has in that slot.
    for I := 0 to LookupSlots - 1 do
    begin
      Len := Length(FFirst[I]);
      J := (I * 997) mod Names.Count;
      Found := -1;
      for N := 0 to Names.Count - 1 do
        if (Length(Names[(J + N) mod Names.Count]) = Len) and ((J + N) mod Names.Count >= 10) then
        begin
          Found := (J + N) mod Names.Count;
          Break;
        end;
      FSpread[I] := Names[Found];
    end;
  finally
    Names.Free;
  end;
end;

function TFindBench.Lookup(const ANames: array of string; ACount: Integer): Int64;
var
  I: Integer;
begin
  Result := NowNs;
  for I := 1 to ACount do
    FFound := TorvClassRegistry.FindClass(ANames[I and (LookupSlots - 1)]);
  Result := NowNs - Result;
end;

function TFindBench.RunFirst(ACount: Integer): Int64;
begin
  if FFirst = nil then
    Pad;
  Result := Lookup(FFirst, ACount);
end;

function TFindBench.RunSpread(ACount: Integer): Int64;
begin
  if FFirst = nil then
    Pad;
  Result := Lookup(FSpread, ACount);
end;

function TFindBench.RunReal(ACount: Integer): Int64;
var
  Names: TStringList;
  I: Integer;
begin
  // Padded or not, whichever came first: alone (as callgrind runs it) the
  // registry holds only the real registrations.
  if FReal = nil then
  begin
    Names := TStringList.Create;
    try
      TorvClassRegistry.GetClassNames(Names);
      SetLength(FReal, LookupSlots);
      for I := 0 to LookupSlots - 1 do
        FReal[I] := Names[I mod 10];
    finally
      Names.Free;
    end;
  end;
  Result := Lookup(FReal, ACount);
end;

procedure TFindBench.AddCases(AGroup: TBenchGroup);
begin
  AGroup.Add('find-real', 'FindClass of the first 10 registered names, in turn, before any ' +
    'padding', @RunReal);
  AGroup.Add('find-first10', 'FindClass of the first 10 registered names, in turn', @RunFirst);
  AGroup.Add('find-spread', Format('FindClass of %d names from all over the registry of %d, ' +
    'lengths as the first 10', [LookupSlots, RegistrySize]), @RunSpread);
end;

{ TDeclarationBench }

const
  DeclarationNames: array[TDeclarationKind] of string =
    ('component', 'edit', 'root', 'chain', 'chain-find', 'chain-all', 'unshared');
  DeclarationNotes: array[TDeclarationKind] of string = (
    'TComponent.Create(nil) + Free',
    'TEdit.Create(nil) without parent + Free',
    'root class info: Create + InitMetaData + Free',
    'chain of 8 levels, shared declaration',
    'chain + FindProperty of 3 names',
    'chain + FindProperty x3 + every feature enumerated',
    'chain declared anew by this instance (+1 borrowed feature)');
  { One name from the first, a middle and the last level. }
  FoundNames: array[0..2] of string = ('L1Prop1', 'L4Prop5', 'L8Prop14');

procedure FindSome(AInfo: TorvClassInfo);
var
  I: Integer;
begin
  for I := 0 to High(FoundNames) do
    if AInfo.FindProperty(FoundNames[I]) = nil then
      raise Exception.CreateFmt(rsPropertyNotFound, [FoundNames[I]]);
end;

{ Ask for every feature, which makes each instance's feature objects. }
procedure EnumerateAll(AInfo: TorvClassInfo);
var
  I: Integer;
begin
  for I := 0 to AInfo.GetPropertyCount - 1 do
    AInfo.GetProperties(I);
  for I := 0 to AInfo.GetMethodCount - 1 do
    AInfo.GetMethods(I);
  for I := 0 to AInfo.GetConstructorCount - 1 do
    AInfo.GetConstructors(I);
  for I := 0 to AInfo.GetEventCount - 1 do
    AInfo.GetEvents(I);
end;

function Declared(AClass: TorvClassInfoClass; AFind, AEnumerate: Boolean): TorvClassInfo;
begin
  Result := AClass.Create;
  try
    Result.InitMetaData;
    if AFind then
      FindSome(Result);
    if AEnumerate then
      EnumerateAll(Result);
  except
    Result.Free;
    raise;
  end;
end;

{ Make the object that one operation of AKind makes, and leave it alive. }
function MakeObject(AKind: TDeclarationKind): TObject;
begin
  case AKind of
    dkComponent: Result := TComponent.Create(nil);
    dkEdit: Result := TEdit.Create(nil);
    dkRoot: Result := Declared(TRootBenchInfo, False, False);
    dkChain: Result := Declared(TChain8Info, False, False);
    dkChainFind: Result := Declared(TChain8Info, True, False);
    dkChainAll: Result := Declared(TChain8Info, True, True);
    dkUnshared: Result := Declared(TUnsharedChainInfo, False, False);
  end;
end;

type
  { The run function of one kind: a group takes methods, one per case. }
  TDeclarationAdapter = class
  public
    Kind: TDeclarationKind;
    function Run(ACount: Integer): Int64;
  end;

function TDeclarationAdapter.Run(ACount: Integer): Int64;
var
  I: Integer;
begin
  Result := NowNs;
  for I := 1 to ACount do
    MakeObject(Kind).Free;
  Result := NowNs - Result;
end;

constructor TDeclarationBench.Create;
var
  Kind: TDeclarationKind;
  Adapter: TDeclarationAdapter;
begin
  inherited Create;
  for Kind := Low(Kind) to High(Kind) do
  begin
    Adapter := TDeclarationAdapter.Create;
    Adapter.Kind := Kind;
    FAdapters[Kind] := Adapter;
  end;
end;

destructor TDeclarationBench.Destroy;
var
  Kind: TDeclarationKind;
begin
  for Kind := Low(Kind) to High(Kind) do
    FAdapters[Kind].Free;
  inherited Destroy;
end;

procedure TDeclarationBench.MeasureFirst;
var
  Before: Int64;
  Info: TorvClassInfo;
begin
  Before := HeapUsed;
  FFirstNs := NowNs;
  Info := Declared(TChain8Info, False, False);
  FFirstNs := NowNs - FFirstNs;
  Info.Free;
  FPrototypeBytes := HeapUsed - Before;
end;

class function TDeclarationBench.CaseName(AKind: TDeclarationKind): string;
begin
  Result := DeclarationNames[AKind];
end;

procedure TDeclarationBench.AddCases(AGroup: TBenchGroup);
var
  Kind: TDeclarationKind;
begin
  for Kind := Low(Kind) to High(Kind) do
    AGroup.Add(DeclarationNames[Kind], DeclarationNotes[Kind],
      @TDeclarationAdapter(FAdapters[Kind]).Run);
end;

function TDeclarationBench.HeapPerObject(AKind: TDeclarationKind; ACount: Integer): Double;
var
  Objects: array of TObject;
  Before: Int64;
  I: Integer;
begin
  Objects := nil;
  SetLength(Objects, ACount);
  Before := HeapUsed;
  try
    for I := 0 to High(Objects) do
      Objects[I] := MakeObject(AKind);
    Result := (HeapUsed - Before) / ACount;
  finally
    for I := High(Objects) downto 0 do
      Objects[I].Free;
  end;
end;

function TDeclarationBench.Features(AKind: TDeclarationKind): Integer;
var
  Info: TObject;
begin
  if AKind in [dkComponent, dkEdit] then
    Exit(0);
  Info := MakeObject(AKind);
  try
    Result := FeatureTotal(TorvClassInfo(Info));
  finally
    Info.Free;
  end;
end;

function TDeclarationBench.DescribeChain: string;
var
  Info: TorvClassInfo;
begin
  Info := Declared(TChain8Info, True, False);
  try
    Result := Format('chain: %d levels; features %d (properties %d, methods %d, constructors %d, ' +
      'events %d); parameters %d', [ChainDepth, FeatureTotal(Info), Info.GetPropertyCount,
      Info.GetMethodCount, Info.GetConstructorCount, Info.GetEventCount, ParameterCount(Info)]);
  finally
    Info.Free;
  end;
end;

{ TFormBench }

procedure ReadForm(AStream: TStream; ARoot: TComponent);
begin
  AStream.Position := 0;
  AStream.ReadComponent(ARoot);
end;

constructor TFormBench.Create(APairs: Integer; AKind: TBenchFormKind);
begin
  inherited Create;
  FPairs := APairs;
  FKind := AKind;
end;

destructor TFormBench.Destroy;
begin
  FStream.Free;
  inherited Destroy;
end;

class function TFormBench.CaseName(APairs: Integer; AKind: TBenchFormKind): string;
const
  Suffixes: array[TBenchFormKind] of string = ('plain', 'links', 'inert', 'tedit');
begin
  Result := Format('form-%d-%s', [APairs, Suffixes[AKind]]);
end;

function TFormBench.RunRead(ACount: Integer): Int64;
var
  Root: TBenchForm;
  Start, Stop: Int64;
  I: Integer;
  Edit: TComponent;
begin
  if FStream = nil then
    FStream := FormStream(FPairs, FKind);
  Result := 0;
  for I := 1 to ACount do
  begin
    Root := TBenchForm.Create(nil);
    try
      Start := NowNs;
      ReadForm(FStream, Root);
      Inc(Result, NowNs - Start);
      if (FKind = bfLinked) and (FPairs > 0) then
      begin
        // Connecting copied the first edit's text to the second.
        Edit := Root.FindComponent('Edit2');
        if (Edit = nil) or (TBenchEdit(Edit).Text <> 'Value 1') then
          FChecked := 'the links of the read form did not copy'
        else
          FChecked := '';
      end;
    finally
      Start := NowNs;
      Root.Free;
      Stop := NowNs;
    end;
    Inc(FFreeNs, Stop - Start);
    Inc(FFrees);
  end;
end;

procedure TFormBench.AddCase(AGroup: TBenchGroup);
var
  Note: string;
begin
  case FKind of
    bfPlain: Note := Format('read %d edits, an empty connection list', [2 * FPairs]);
    bfLinked: Note := Format('read %d edits and %d p2p links, connect', [2 * FPairs, FPairs]);
    bfInert: Note := Format('read %d edits and %d inert stand-ins for links', [2 * FPairs,
      FPairs]);
    bfControls: Note := Format('read %d LCL TEdit controls (no parent), an empty connection list',
      [2 * FPairs]);
  end;
  AGroup.Add(CaseName(FPairs, FKind), Note, @RunRead);
end;

function TFormBench.FreeNs: Double;
begin
  if FFrees = 0 then
    Result := 0
  else
    Result := FFreeNs / FFrees;
end;

end.
