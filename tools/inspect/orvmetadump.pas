{ What a registered class offers, in words: the features of a class info in
  declaration order with the class that declared each, and counts per
  registered class. Used by the orvinspect tool and by the tests that check
  the bindings against their published totals. }
unit Orvmetadump;

{$I orvdefines.inc}

interface

uses
  Classes, SysUtils,
  Orvcommon;

type
  { Number of features of each kind, and how many methods are functions. }
  TorvFeatureCounts = record
    Properties, Methods, Functions, Constructors, Events: Integer;
  end;

{ Return a fresh class info of AInfoClass with its features declared and no
  owner; the caller frees it. }
function DeclaredInfo(AInfoClass: TorvClassInfoClass): TorvClassInfo;
{ Count the features of a declared class info. }
function CountFeatures(AInfo: TorvClassInfo): TorvFeatureCounts;
{ Count the features AInfoClass declares itself: its total less its parent's
  (Override entries change features and add none). }
function OwnFeatures(AInfoClass: TorvClassInfoClass): TorvFeatureCounts;
{ Describe every feature of the class registered as AClassName, one line
  each: kind, name, styles, visibility, parameters, declaring class. Raise
  the registry's error for a name that is not registered. }
procedure DescribeClass(const AClassName: string; ALines: TStrings);
{ One line per registered class with its own and total counts, then totals. }
procedure DescribeAll(ALines: TStrings);

resourcestring
  rsUnknownClassName = 'Class %s is not registered!';

implementation

uses
  TypInfo;

function DeclaredInfo(AInfoClass: TorvClassInfoClass): TorvClassInfo;
begin
  Result := AInfoClass.Create;
  try
    Result.InitMetaData;
  except
    Result.Free;
    raise;
  end;
end;

function CountFeatures(AInfo: TorvClassInfo): TorvFeatureCounts;
var
  I: Integer;
begin
  Result := Default(TorvFeatureCounts);
  Result.Properties := AInfo.GetPropertyCount;
  Result.Methods := AInfo.GetMethodCount;
  Result.Constructors := AInfo.GetConstructorCount;
  Result.Events := AInfo.GetEventCount;
  for I := 0 to AInfo.GetMethodCount - 1 do
    if AInfo.GetMethods(I).MethodStyle = msFunction then
      Inc(Result.Functions);
end;

function TotalFeatures(AInfoClass: TClass): TorvFeatureCounts;
var
  Info: TorvClassInfo;
begin
  if (AInfoClass = nil) or not AInfoClass.InheritsFrom(TorvClassInfo) then
    Exit(Default(TorvFeatureCounts));
  Info := DeclaredInfo(TorvClassInfoClass(AInfoClass));
  try
    Result := CountFeatures(Info);
  finally
    Info.Free;
  end;
end;

function OwnFeatures(AInfoClass: TorvClassInfoClass): TorvFeatureCounts;
var
  Parent: TorvFeatureCounts;
begin
  Result := TotalFeatures(AInfoClass);
  Parent := TotalFeatures(AInfoClass.ClassParent);
  Dec(Result.Properties, Parent.Properties);
  Dec(Result.Methods, Parent.Methods);
  Dec(Result.Functions, Parent.Functions);
  Dec(Result.Constructors, Parent.Constructors);
  Dec(Result.Events, Parent.Events);
end;

{ Description of one class }

type
  { The classes of a chain, root first, with their total counts, so that
    each position can be traced to the class that declared it. }
  TChainLevel = record
    InfoClass: TClass;
    Counts: TorvFeatureCounts;
  end;
  TChain = array of TChainLevel;

function ChainOf(AInfoClass: TClass): TChain;
var
  C: TClass;
  N, I: Integer;
begin
  N := 0;
  C := AInfoClass;
  while (C <> nil) and (C <> TorvClassInfo) and C.InheritsFrom(TorvClassInfo) do
  begin
    Inc(N);
    C := C.ClassParent;
  end;
  SetLength(Result, N);
  C := AInfoClass;
  for I := N - 1 downto 0 do
  begin
    Result[I].InfoClass := C;
    Result[I].Counts := TotalFeatures(C);
    C := C.ClassParent;
  end;
end;

function DeclaredBy(const AChain: TChain; AKind: TorvFeatureKind; APosition: Integer): string;
var
  I, Count: Integer;
begin
  for I := 0 to High(AChain) do
  begin
    case AKind of
      fkProperty: Count := AChain[I].Counts.Properties;
      fkMethod: Count := AChain[I].Counts.Methods;
      fkConstructor: Count := AChain[I].Counts.Constructors;
    else
      Count := AChain[I].Counts.Events;
    end;
    if APosition < Count then
      Exit(AChain[I].InfoClass.ClassName);
  end;
  Result := '?';
end;

function ParamList(const AArgs: TorvArguments): string;
var
  I: Integer;
begin
  Result := '';
  for I := 0 to High(AArgs) do
  begin
    if I > 0 then
      Result := Result + ', ';
    Result := Result + AArgs[I].Name;
  end;
  Result := '(' + Result + ')';
end;

function StyleText(AStyles: TorvPropertyStyle): string;
var
  Flag: TorvPropertyStyleFlag;
begin
  Result := '';
  for Flag := Low(Flag) to High(Flag) do
    if Flag in AStyles then
    begin
      if Result <> '' then
        Result := Result + ',';
      Result := Result + GetEnumName(TypeInfo(TorvPropertyStyleFlag), Ord(Flag));
    end;
  Result := '[' + Result + ']';
end;

function VisibilityText(AVisibility: TorvPropertyVisibility): string;
begin
  Result := GetEnumName(TypeInfo(TorvPropertyVisibility), Ord(AVisibility));
end;

{ Rows of cells, laid out in columns as wide as their widest cell: names of
  user classes and parameter lists have no fixed length. }
type
  TRows = array of TStringArray;

procedure AddRow(var ARows: TRows; const ACells: array of string);
var
  Row: TStringArray;
  I: Integer;
begin
  SetLength(Row, Length(ACells));
  for I := 0 to High(ACells) do
    Row[I] := ACells[I];
  SetLength(ARows, Length(ARows) + 1);
  ARows[High(ARows)] := Row;
end;

{ Append ARows to ALines; the columns from ARightFrom on are aligned right. }
procedure AddColumns(const ARows: TRows; ALines: TStrings; ARightFrom: Integer = MaxInt);
var
  Widths: array of Integer;
  Line: string;
  R, C: Integer;
begin
  Widths := nil;
  for R := 0 to High(ARows) do
  begin
    if Length(ARows[R]) > Length(Widths) then
      SetLength(Widths, Length(ARows[R]));
    for C := 0 to High(ARows[R]) do
      if Length(ARows[R][C]) > Widths[C] then
        Widths[C] := Length(ARows[R][C]);
  end;
  for R := 0 to High(ARows) do
  begin
    Line := '';
    for C := 0 to High(ARows[R]) do
    begin
      if C > 0 then
        Line := Line + '  ';
      if C >= ARightFrom then
        Line := Line + StringOfChar(' ', Widths[C] - Length(ARows[R][C])) + ARows[R][C]
      else if C < High(ARows[R]) then
        Line := Line + ARows[R][C] + StringOfChar(' ', Widths[C] - Length(ARows[R][C]))
      else
        Line := Line + ARows[R][C];
    end;
    ALines.Add(Line);
  end;
end;

procedure DescribeClass(const AClassName: string; ALines: TStrings);
var
  InfoClass: TorvClassInfoClass;
  Info: TorvClassInfo;
  Chain: TChain;
  Rows: TRows;
  I: Integer;
  Prop: TorvPropertyInfo;
  Method: TorvMethodInfo;
  Event: TorvEventInfo;
begin
  InfoClass := TorvClassRegistry.FindClass(AClassName);
  if InfoClass = nil then
    raise Exception.CreateFmt(rsUnknownClassName, [AClassName]);
  Chain := ChainOf(InfoClass);
  Rows := nil;
  Info := DeclaredInfo(InfoClass);
  try
    for I := 0 to Info.GetPropertyCount - 1 do
    begin
      Prop := Info.GetProperties(I);
      AddRow(Rows, ['property', Prop.Name + ParamList(Prop.Indexes), StyleText(Prop.Styles),
        VisibilityText(Prop.Visibility), DeclaredBy(Chain, fkProperty, I)]);
    end;
    for I := 0 to Info.GetMethodCount - 1 do
    begin
      Method := Info.GetMethods(I);
      AddRow(Rows, [LowerCase(Copy(GetEnumName(TypeInfo(TorvMethodStyle),
        Ord(Method.MethodStyle)), 3, 20)), Method.Name + ParamList(Method.Args), '', '',
        DeclaredBy(Chain, fkMethod, I)]);
    end;
    for I := 0 to Info.GetConstructorCount - 1 do
      AddRow(Rows, ['constructor', Info.GetConstructors(I).Name +
        ParamList(Info.GetConstructors(I).Args), '', '', DeclaredBy(Chain, fkConstructor, I)]);
    for I := 0 to Info.GetEventCount - 1 do
    begin
      Event := Info.GetEvents(I);
      AddRow(Rows, ['event', Event.Name + ParamList(Event.Args), '',
        VisibilityText(Event.Visibility), DeclaredBy(Chain, fkEvent, I)]);
    end;
  finally
    Info.Free;
  end;
  ALines.Add(Format('%s (%s)', [AClassName, InfoClass.ClassName]));
  AddColumns(Rows, ALines);
end;

{ Description of every class }

procedure DescribeAll(ALines: TStrings);
var
  Names: TStringList;
  Own, Total, Sum: TorvFeatureCounts;
  InfoClass: TorvClassInfoClass;
  Rows: TRows;
  I: Integer;
begin
  Sum := Default(TorvFeatureCounts);
  Rows := nil;
  Names := TStringList.Create;
  try
    TorvClassRegistry.GetClassNames(Names);
    AddRow(Rows, ['class', 'prop', 'meth', 'func', 'ctor', 'event', 'props', 'meths', 'ctors',
      'evts']);
    for I := 0 to Names.Count - 1 do
    begin
      InfoClass := TorvClassRegistry.FindClass(Names[I]);
      Own := OwnFeatures(InfoClass);
      Total := TotalFeatures(InfoClass);
      Inc(Sum.Properties, Own.Properties);
      Inc(Sum.Methods, Own.Methods);
      Inc(Sum.Functions, Own.Functions);
      Inc(Sum.Constructors, Own.Constructors);
      Inc(Sum.Events, Own.Events);
      AddRow(Rows, [Names[I], IntToStr(Own.Properties), IntToStr(Own.Methods),
        IntToStr(Own.Functions), IntToStr(Own.Constructors), IntToStr(Own.Events),
        IntToStr(Total.Properties), IntToStr(Total.Methods), IntToStr(Total.Constructors),
        IntToStr(Total.Events)]);
    end;
    AddColumns(Rows, ALines, 1);
    ALines.Add(Format('%d classes; own features: %d properties, %d methods (%d functions), ' +
      '%d constructors, %d events', [Names.Count, Sum.Properties, Sum.Methods,
      Sum.Functions, Sum.Constructors, Sum.Events]));
  finally
    Names.Free;
  end;
end;

end.
