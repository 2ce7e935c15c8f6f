{ What the fuzz runs feed their inputs to, and the seeds they start from.

  Descriptors: one input is the four descriptor strings of a class info
  (properties, methods, constructors, events) on four lines. A class info
  declares from them, then every feature it lists is looked at and found
  again by name. The seeds are the declarations of every registered binding,
  written back as descriptor strings.

  Form files: one input is a form file, as text or in the binary form the
  host stores. It is read into a root, which connects the links of its
  connection lists; then every component it holds is made to fire its
  events, which runs the links. The seeds are forms with each kind of link,
  index lists, parameter connections and a variable. }
unit Orvfuzztargets;

{$I orvdefines.inc}

interface

uses
  Classes, SysUtils, Variants;

{ Return the seed inputs of the descriptor run. }
function DescriptorSeeds: TStringList;
{ Return the seed inputs of the form run, as text. }
function FormSeeds: TStringList;
{ Return the binary form of a text form file. }
function FormToBinary(const AText: string): string;

procedure RunDescriptors(const AInput: string);
procedure RunTextForm(const AInput: string);
procedure RunBinaryForm(const AInput: string);

const
  DescriptorWords: array[0..23] of string = ('Define', 'Override', '::', '..', 'psReadable',
    'psWritable', 'psIndexed', 'pvPublic', 'pvPublished', 'pvProtected', 'msFunction',
    'msProcedure', '0', '1', '2', '-1', '2147483648', '99999999999999999999', 'Self', ':', '.',
    'Define::X::psReadable::pvPublic::', 'Override::Self::', '::::');
  FormWords: array[0..61] of string = ('OnValidate', 'OnChange', 'Number', 'Items', 'Cells',
    'Combine', 'Bump', 'Validate', 'Log', 'Confirm', 'Caption', 'Target', 'Limit', 'OnAlarm',
    'Edit2', 'Edit3', 'Held', 'Display1', 'Thermostat1', 'Links', 'TorvP2PConnection',
    'TorvE2PConnection', 'TorvE2MConnection', 'TTestEdit','object ', 'end'#10, 'inherited ', 'item'#10, ' = ', '<',
    '>', '(', ')', '[', ']', '{', '}', '''', '#0', '''''', 'Source', 'Target', 'SourceProperty',
    'TargetProperty', 'SourceEvent', 'TargetEvent', 'SourcePropertyIndexes',
    'TargetPropertyIndexes', 'ValueComponentPropertyIndexes', 'ComponentPropertyIndexes',
    'ValueOptions', 'voComponentProperty', 'voEventProperty', 'TargetMethodParameters',
    'TargetMethod', 'ClassTypeName', 'Edit1', 'Free', 'Self', 'True', '1E308', '-2147483649');

implementation

uses
  Orvcommon, Orvconlist, Orvp2p, Orve2p, Orve2m, Orvvar, Orvmetadump,
  Orvtestfixtures, Orvdemodevices;

type
  { A class info that declares whatever the current input says. }
  TFuzzInfo = class(TorvClassInfo)
  protected
    procedure DefineORVProperties(AList: TList); override;
    procedure DefineORVMethods(AList: TList); override;
    procedure DefineORVConstructors(AList: TList); override;
    procedure DefineORVEvents(AList: TList); override;
  end;

  { The root a form file is read into. }
  TFuzzRoot = class(TComponent)
  protected
    procedure GetChildren(Proc: TGetChildProc; Root: TComponent); override;
  end;

  { Tells whether the root went while its links ran. }
  TRootWatcher = class(TComponent)
  public
    Gone: Boolean;
  protected
    procedure Notification(AComponent: TComponent; Operation: TOperation); override;
  end;

var
  Descriptors: array[TorvFeatureKind] of string;

{ TFuzzInfo }

procedure TFuzzInfo.DefineORVProperties(AList: TList);
begin
  ReadORVProperties(Descriptors[fkProperty]);
end;

procedure TFuzzInfo.DefineORVMethods(AList: TList);
begin
  ReadORVMethods(Descriptors[fkMethod]);
end;

procedure TFuzzInfo.DefineORVConstructors(AList: TList);
begin
  ReadORVConstructors(Descriptors[fkConstructor]);
end;

procedure TFuzzInfo.DefineORVEvents(AList: TList);
begin
  ReadORVEvents(Descriptors[fkEvent]);
end;

{ TFuzzRoot }

procedure TFuzzRoot.GetChildren(Proc: TGetChildProc; Root: TComponent);
var
  I: Integer;
begin
  for I := 0 to ComponentCount - 1 do
    if not Components[I].HasParent then
      Proc(Components[I]);
end;

procedure TRootWatcher.Notification(AComponent: TComponent; Operation: TOperation);
begin
  if Operation = opRemove then
    Gone := True;
  inherited Notification(AComponent, Operation);
end;

{ Descriptors }

function ParameterText(const AArgs: TorvArguments): string;
var
  I: Integer;
begin
  Result := IntToStr(Length(AArgs));
  for I := 0 to High(AArgs) do
    Result := Result + '::' + AArgs[I].Name;
end;

function Joined(const AText, APart: string): string;
begin
  if AText = '' then
    Result := APart
  else
    Result := AText + '::' + APart;
end;

function StyleText(AStyles: TorvPropertyStyle): string;
const
  Names: array[TorvPropertyStyleFlag] of string = ('psReadable', 'psWritable', 'psIndexed');
var
  Flag: TorvPropertyStyleFlag;
begin
  Result := '';
  for Flag := Low(Flag) to High(Flag) do
    if Flag in AStyles then
      if Result = '' then
        Result := Names[Flag]
      else
        Result := Result + '..' + Names[Flag];
end;

const
  VisibilityNames: array[TorvPropertyVisibility] of string = ('pvProtected', 'pvPublic', 'pvPublished');
  MethodStyleNames: array[TorvMethodStyle] of string = ('msFunction', 'msProcedure');

{ Write the declarations of AInfo back as the four descriptor strings. }
function DescriptorInput(AInfo: TorvClassInfo): string;
var
  Texts: array[TorvFeatureKind] of string;
  I: Integer;
  Prop: TorvPropertyInfo;
  Method: TorvMethodInfo;
  Event: TorvEventInfo;
begin
  Texts[fkProperty] := '';
  Texts[fkMethod] := '';
  Texts[fkConstructor] := '';
  Texts[fkEvent] := '';
  for I := 0 to AInfo.GetPropertyCount - 1 do
  begin
    Prop := AInfo.GetProperties(I);
    Texts[fkProperty] := Joined(Texts[fkProperty], 'Define::' + Prop.Name + '::' +
      StyleText(Prop.Styles) + '::' + VisibilityNames[Prop.Visibility] + '::' +
      ParameterText(Prop.Indexes));
  end;
  for I := 0 to AInfo.GetMethodCount - 1 do
  begin
    Method := AInfo.GetMethods(I);
    Texts[fkMethod] := Joined(Texts[fkMethod], Method.Name + '::' +
      MethodStyleNames[Method.MethodStyle] + '::' + ParameterText(Method.Args));
  end;
  for I := 0 to AInfo.GetConstructorCount - 1 do
    Texts[fkConstructor] := Joined(Texts[fkConstructor], AInfo.GetConstructors(I).Name + '::' +
      ParameterText(AInfo.GetConstructors(I).Args));
  for I := 0 to AInfo.GetEventCount - 1 do
  begin
    Event := AInfo.GetEvents(I);
    Texts[fkEvent] := Joined(Texts[fkEvent], 'Define::' + Event.Name + '::' +
      VisibilityNames[Event.Visibility] + '::' + ParameterText(Event.Args));
  end;
  // An Override entry of the same kind, so that the seeds reach that path.
  if AInfo.GetPropertyCount > 0 then
    Texts[fkProperty] := Texts[fkProperty] + '::Override::' + AInfo.GetProperties(0).Name +
      '::psReadable..psWritable::pvPublished::0';
  Result := Texts[fkProperty] + #10 + Texts[fkMethod] + #10 + Texts[fkConstructor] + #10 +
    Texts[fkEvent];
end;

function DescriptorSeeds: TStringList;
var
  Names: TStringList;
  Info: TorvClassInfo;
  I: Integer;
begin
  Result := TStringList.Create;
  Names := TStringList.Create;
  try
    TorvClassRegistry.GetClassNames(Names);
    for I := 0 to Names.Count - 1 do
    begin
      Info := DeclaredInfo(TorvClassRegistry.FindClass(Names[I]));
      try
        Result.Add(DescriptorInput(Info));
      finally
        Info.Free;
      end;
    end;
  finally
    Names.Free;
  end;
end;

procedure SplitDescriptors(const AInput: string);
var
  Kind: TorvFeatureKind;
  Rest: string;
  Cut: Integer;
begin
  Rest := AInput;
  for Kind := Low(Kind) to High(Kind) do
  begin
    Cut := Pos(#10, Rest);
    if (Cut = 0) or (Kind = High(Kind)) then
    begin
      Descriptors[Kind] := Rest;
      Rest := '';
    end
    else
    begin
      Descriptors[Kind] := Copy(Rest, 1, Cut - 1);
      Delete(Rest, 1, Cut);
    end;
  end;
end;

procedure RunDescriptors(const AInput: string);
var
  Info: TFuzzInfo;
  I, J: Integer;
  Prop: TorvPropertyInfo;
  Method: TorvMethodInfo;
  Event: TorvEventInfo;
begin
  SplitDescriptors(AInput);
  Info := TFuzzInfo.Create;
  try
    Info.InitMetaData;
    for I := 0 to Info.GetPropertyCount - 1 do
    begin
      Prop := Info.GetProperties(I);
      if Info.FindProperty(Prop.Name) = nil then
        raise Exception.Create('a listed property is not found');
      for J := 0 to Prop.GetIndexCount - 1 do
        Prop.GetIndexes(J).Value := J;
    end;
    for I := 0 to Info.GetMethodCount - 1 do
    begin
      Method := Info.GetMethods(I);
      if Info.FindMethod(Method.Name) = nil then
        raise Exception.Create('a listed method is not found');
      for J := 0 to Method.GetArgCount - 1 do
        Method.Find(Method.GetArgs(J).Name).Value := J;
    end;
    for I := 0 to Info.GetConstructorCount - 1 do
      Info.FindConstructor(Info.GetConstructors(I).Name);
    for I := 0 to Info.GetEventCount - 1 do
    begin
      Event := Info.GetEvents(I);
      if Info.FindEvent(Event.Name) = nil then
        raise Exception.Create('a listed event is not found');
      Info.FireEvent(Event);
    end;
  finally
    Info.Free;
    // Emptied, so that the memory count of the next input sees none of it.
    SplitDescriptors('');
  end;
end;

{ Form files }

function NewEdit(ARoot: TComponent; const AName: string): TTestEdit;
begin
  Result := TTestEdit.Create(ARoot);
  Result.Name := AName;
end;

function IndexList(const AValues: array of Variant): Variant;
var
  I: Integer;
begin
  Result := VarArrayCreate([0, High(AValues)], varVariant);
  for I := 0 to High(AValues) do
    Result[I] := AValues[I];
end;

procedure BuildEditForm(ARoot: TComponent);
var
  Edit1, Edit2, Edit3: TTestEdit;
  List: TorvConnectionList;
  P2P: TorvP2PConnection;
  E2P: TorvE2PConnection;
  E2M: TorvE2MConnection;
  Variable: TorvVariable;

  function Link(AClass: TorvConnectionClass; const AName: string): TorvConnection;
  begin
    Result := AClass.Create(ARoot);
    Result.Name := AName;
    Result.SetConnectionList(List);
  end;

begin
  Edit1 := NewEdit(ARoot, 'Edit1');
  Edit2 := NewEdit(ARoot, 'Edit2');
  Edit3 := NewEdit(ARoot, 'Edit3');
  Edit1.Text := 'one';
  Variable := TorvVariable.Create(ARoot);
  Variable.Name := 'Held';
  Variable.ClassTypeName := 'TTestEdit';
  List := TorvConnectionList.Create(ARoot);
  List.Name := 'Links';

  P2P := TorvP2PConnection(Link(TorvP2PConnection, 'ItemToText'));
  P2P.Source := Edit1;
  P2P.Target := Edit2;
  P2P.SourceProperty := 'Items';
  P2P.SourcePropertyIndex := IndexList([1]);
  P2P.TargetProperty := 'Text';
  P2P.SourceEvent := 'OnChange';
  P2P.TargetEvent := 'OnChange';

  P2P := TorvP2PConnection(Link(TorvP2PConnection, 'CellToNumber'));
  P2P.Source := Edit2;
  P2P.Target := Edit3;
  P2P.SourceProperty := 'Cells';
  P2P.SourcePropertyIndex := IndexList([1, 2]);
  P2P.TargetProperty := 'Number';
  P2P.SourceEvent := 'OnChange';

  P2P := TorvP2PConnection(Link(TorvP2PConnection, 'HoldEdit1'));
  P2P.Source := Edit1;
  P2P.Target := Variable;
  P2P.SourceProperty := 'Self';
  P2P.TargetProperty := 'Self';

  E2P := TorvE2PConnection(Link(TorvE2PConnection, 'ValidatedItem'));
  E2P.Source := Edit1;
  E2P.SourceEvent := 'OnValidate';
  E2P.Target := Edit3;
  E2P.TargetProperty := 'Items';
  E2P.TargetPropertyIndex := IndexList([2]);
  E2P.ValueEventParameter := 'Text';
  E2P.ValueOptions := voEventProperty;

  E2P := TorvE2PConnection(Link(TorvE2PConnection, 'CellToEdit1'));
  E2P.Source := Edit2;
  E2P.SourceEvent := 'OnChange';
  E2P.Target := Edit1;
  E2P.TargetProperty := 'Number';
  E2P.ValueComponent := Edit3;
  E2P.ValueComponentProperty := 'Cells';
  E2P.ValueComponentPropertyIndex := IndexList([0, 1]);
  E2P.ValueOptions := voComponentProperty;

  E2P := TorvE2PConnection(Link(TorvE2PConnection, 'HeldChange'));
  E2P.Source := Variable;
  E2P.SourceEvent := 'OnChange';
  E2P.Target := Edit3;
  E2P.TargetProperty := 'Text';
  E2P.ValueConstant := 'held';

  E2M := TorvE2MConnection(Link(TorvE2MConnection, 'Combine'));
  E2M.Source := Edit3;
  E2M.SourceEvent := 'OnChange';
  E2M.Target := Edit1;
  E2M.TargetMethod := 'Combine';
  E2M.TargetMethodParameters[0].Constant := 'x';
  E2M.TargetMethodParameters[1].Component := Edit2;
  E2M.TargetMethodParameters[1].ComponentProperty := 'Number';
  E2M.TargetMethodParameters[1].Options := voComponentProperty;

  E2M := TorvE2MConnection(Link(TorvE2MConnection, 'Revalidate'));
  E2M.Source := Edit1;
  E2M.SourceEvent := 'OnValidate';
  E2M.Target := Edit2;
  E2M.TargetMethod := 'Validate';
  E2M.TargetMethodParameters[0].EventParameter := 'Text';
  E2M.TargetMethodParameters[0].Options := voEventProperty;

  E2M := TorvE2MConnection(Link(TorvE2MConnection, 'BumpItem'));
  E2M.Source := Edit2;
  E2M.SourceEvent := 'OnChange';
  E2M.Target := Edit3;
  E2M.TargetMethod := 'Bump';
  E2M.TargetMethodParameters[0].Component := Edit1;
  E2M.TargetMethodParameters[0].ComponentProperty := 'Cells';
  E2M.TargetMethodParameters[0].ComponentPropertyIndex := IndexList([1, 1]);
  E2M.TargetMethodParameters[0].Options := voComponentProperty;
end;

procedure BuildDeviceForm(ARoot: TComponent);
var
  Thermostat: TThermostat;
  Display: TDisplay;
  List: TorvConnectionList;
  P2P: TorvP2PConnection;
  E2P: TorvE2PConnection;
  E2M: TorvE2MConnection;
begin
  Thermostat := TThermostat.Create(ARoot);
  Thermostat.Name := 'Thermostat1';
  Thermostat.Target := 20;
  Thermostat.Limit := 25;
  Display := TDisplay.Create(ARoot);
  Display.Name := 'Display1';
  List := TorvConnectionList.Create(ARoot);
  List.Name := 'Links';
  E2M := TorvE2MConnection.Create(ARoot);
  E2M.Name := 'CountChanges';
  E2M.SetConnectionList(List);
  E2M.Source := Display;
  E2M.Target := Display;
  E2M.SourceEvent := 'OnChange';
  E2M.TargetMethod := 'Log';
  E2M.TargetMethodParameters[0].Component := Display;
  E2M.TargetMethodParameters[0].ComponentProperty := 'Caption';
  E2M.TargetMethodParameters[0].Options := voComponentProperty;
  E2M.TargetMethodParameters[1].Component := Display;
  E2M.TargetMethodParameters[1].ComponentProperty := 'Count';
  E2M.TargetMethodParameters[1].Options := voComponentProperty;
  P2P := TorvP2PConnection.Create(ARoot);
  P2P.Name := 'ShowTarget';
  P2P.SetConnectionList(List);
  P2P.Source := Thermostat;
  P2P.Target := Display;
  P2P.SourceProperty := 'Target';
  P2P.SourceEvent := 'OnChange';
  P2P.TargetProperty := 'Caption';
  E2P := TorvE2PConnection.Create(ARoot);
  E2P.Name := 'WarnOnAlarm';
  E2P.SetConnectionList(List);
  E2P.Source := Thermostat;
  E2P.Target := Display;
  E2P.SourceEvent := 'OnAlarm';
  E2P.TargetProperty := 'Caption';
  E2P.ValueConstant := 'ALARM';
  E2M := TorvE2MConnection.Create(ARoot);
  E2M.Name := 'ConfirmAlarm';
  E2M.SetConnectionList(List);
  E2M.Source := Thermostat;
  E2M.Target := Display;
  E2M.SourceEvent := 'OnAlarm';
  E2M.TargetMethod := 'Confirm';
  E2M.TargetMethodParameters[0].EventParameter := 'Temperature';
  E2M.TargetMethodParameters[0].Options := voEventProperty;
  E2M.TargetMethodParameters[1].EventParameter := 'Handled';
  E2M.TargetMethodParameters[1].Options := voEventProperty;
end;

function FormText(ARoot: TComponent): string;
var
  Binary, Text: TMemoryStream;
begin
  Binary := TMemoryStream.Create;
  Text := TMemoryStream.Create;
  try
    Binary.WriteComponent(ARoot);
    Binary.Position := 0;
    ObjectBinaryToText(Binary, Text);
    SetString(Result, PChar(Text.Memory), Text.Size);
  finally
    Text.Free;
    Binary.Free;
  end;
end;

function FormSeeds: TStringList;
var
  Root: TComponent;
begin
  Result := TStringList.Create;
  Root := TFuzzRoot.Create(nil);
  try
    Root.Name := 'EditForm';
    BuildEditForm(Root);
    Result.Add(FormText(Root));
  finally
    Root.Free;
  end;
  Root := TFuzzRoot.Create(nil);
  try
    Root.Name := 'DeviceForm';
    BuildDeviceForm(Root);
    Result.Add(FormText(Root));
  finally
    Root.Free;
  end;
end;

function FormToBinary(const AText: string): string;
var
  Binary, Text: TMemoryStream;
begin
  Binary := TMemoryStream.Create;
  Text := TMemoryStream.Create;
  try
    Text.WriteBuffer(PChar(AText)^, Length(AText));
    Text.Position := 0;
    ObjectTextToBinary(Text, Binary);
    SetString(Result, PChar(Binary.Memory), Binary.Size);
  finally
    Text.Free;
    Binary.Free;
  end;
end;

{ Make every component left in ARoot fire, by name, since a link may free
  anything, the root included. }
procedure FireAll(ARoot: TComponent; AWatcher: TRootWatcher);
var
  Names: TStringList;
  I: Integer;
  Component: TComponent;
  Text: string;
begin
  Names := TStringList.Create;
  try
    for I := 0 to ARoot.ComponentCount - 1 do
      Names.Add(ARoot.Components[I].Name);
    for I := 0 to Names.Count - 1 do
    begin
      if AWatcher.Gone then
        Exit;
      Component := ARoot.FindComponent(Names[I]);
      if Component is TTestEdit then
      begin
        TTestEdit(Component).Text := 'fuzz' + IntToStr(I);
        if AWatcher.Gone or (ARoot.FindComponent(Names[I]) <> Component) then
          Continue;
        TTestEdit(Component).Number := I + 1;
        if AWatcher.Gone or (ARoot.FindComponent(Names[I]) <> Component) then
          Continue;
        Text := 'check';
        TTestEdit(Component).Validate(Text);
      end
      else if Component is TThermostat then
        TThermostat(Component).Target := 30
      else if Component is TDisplay then
        TDisplay(Component).Caption := 'fuzz';
    end;
  finally
    Names.Free;
  end;
end;

procedure ReadBinaryForm(const ABinary: string);
var
  Stream: TMemoryStream;
  Root: TComponent;
  Watcher: TRootWatcher;
begin
  Stream := TMemoryStream.Create;
  Watcher := TRootWatcher.Create(nil);
  Root := TFuzzRoot.Create(nil);
  try
    Root.FreeNotification(Watcher);
    Stream.WriteBuffer(PChar(ABinary)^, Length(ABinary));
    Stream.Position := 0;
    Stream.ReadComponent(Root);
    FireAll(Root, Watcher);
  finally
    if not Watcher.Gone then
      Root.Free;
    Watcher.Free;
    Stream.Free;
  end;
end;

procedure RunTextForm(const AInput: string);
begin
  ReadBinaryForm(FormToBinary(AInput));
end;

procedure RunBinaryForm(const AInput: string);
begin
  ReadBinaryForm(AInput);
end;

initialization
  RegisterClass(TFuzzRoot);
end.
