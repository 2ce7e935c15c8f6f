{ Write the binding unit of one table.

  Every feature selects its code by its id: the feature's position among its
  binding's own features of that kind, offset by the base the binding got
  when it registered. A case on that integer costs a jump, and the ids are
  the binding's own: no list of names outside the unit needs to grow. }
unit Orvgenwrite;

{$I ../../package/orvdefines.inc}

interface

uses
  Classes, SysUtils,
  Orvgentable;

{ Return the text of the unit that ATable makes; ASource is the table's
  path as the banner names it, AHandText the unit's hand-written include
  (what it names of the generated declarations is declared). }
function WriteUnit(ATable: TgenTable; const ASource, AHandText: string): string;

implementation

uses
  Orvgenconv;

const
  MaxLine = 100;

type
  { Collects the lines of the unit. }
  TWriter = class
  private
    FTable: TgenTable;
    FOut: TStringList;
    { The bodies and the hand-written include: what names the cracker
      classes and the bases that are declared. }
    FUsed: string;
    procedure Add(const ALine: string);
    procedure AddWrapped(const AIndent, AText: string);
    procedure Blank;
    procedure Fail(ABinding: TgenBinding; AMember: TgenMember; const AText: string);
    function HostVar(B: TgenBinding): string;
    function PropConst(B: TgenBinding; M: TgenMember): string;
    function MethConst(B: TgenBinding; M: TgenMember): string;
    function EventSlot(B: TgenBinding; M: TgenMember): string;
    function ParamName(B: TgenBinding; const AName: string): string;
    function HasDispatch(B: TgenBinding; AKind: TgenMemberKind; AWritable: Boolean): Boolean;
    function HookedEvents(B: TgenBinding): Integer;
    function BufferType(const ATypeName: string): string;
    function ToVar(AKind: TgenKind; const AType, AExpr: string): string;
    function FromVar(AKind: TgenKind; const AType, AExpr: string;
      const ANames: string = ''): string;
    function ErrorNames(B: TgenBinding; M: TgenMember; const AArgument: string): string;
    function IndexArgs(B: TgenBinding; M: TgenMember; const AFrom: string): string;
    function HostExpr(B: TgenBinding; M: TgenMember; AIndexed: Boolean): string;
    function VarField(M: TgenMember; AParam: Integer): string;
    function ResultField(M: TgenMember): string;
    function NeedsVarField(const P: TgenParam): Boolean;
    function CallArgs(B: TgenBinding; M: TgenMember): string;
    function CommentOf(M: TgenMember): string;
    function HandlerParams(B: TgenBinding; M: TgenMember): string;
    procedure EmitBanner(const ASource: string);
    procedure EmitUses(const ARtl, AOwn, AExtra: string);
    procedure EmitClass(B: TgenBinding);
    procedure EmitDescriptors(B: TgenBinding);
    procedure EmitIds(B: TgenBinding);
    procedure EmitAccessTypes;
    procedure EmitArms(ALines: TStrings; B: TgenBinding; M: TgenMember; const AConst: string;
      const ABody: array of string);
    procedure EmitCase(B: TgenBinding; const AHeader, AParamName, AInherited: string;
      AArms: TStrings; const ALocals: string = '');
    procedure EmitGetProperty(B: TgenBinding);
    procedure EmitSetProperty(B: TgenBinding);
    procedure EmitTypedGetter(B: TgenBinding; M: TgenMember; const AKind: string);
    procedure EmitTypedSetter(B: TgenBinding; M: TgenMember; const AKind: string);
    procedure EmitTypedAccess(B: TgenBinding);
    procedure EmitUntypedBefore(B: TgenBinding; M: TgenMember; ABody, ALocals: TStrings);
    procedure EmitUntypedCall(B: TgenBinding; M: TgenMember; ABody: TStrings;
      const ACall: string);
    procedure EmitInvokeMethod(B: TgenBinding);
    procedure CheckRequired(B: TgenBinding; M: TgenMember);
    procedure EmitConnect(B: TgenBinding);
    procedure EmitHandler(B: TgenBinding; M: TgenMember);
    procedure EmitBodies(B: TgenBinding);
  public
    constructor Create(ATable: TgenTable);
    destructor Destroy; override;
    function Run(const ASource, AHandText: string): string;
  end;

{ Identifiers a handler's parameter may not take: the members of TObject,
  TorvClassInfo and TObjectClassInfo that a binding sees, and the handler's
  own locals. }
const
  Reserved: array[0..88] of string = ('Create', 'Destroy', 'Free', 'InitInstance',
    'CleanupInstance', 'ClassType', 'ClassInfo', 'ClassName', 'ClassNameIs', 'ClassParent',
    'InstanceSize', 'InheritsFrom', 'StringMessageTable', 'MethodAddress', 'MethodName',
    'FieldAddress', 'AfterConstruction', 'BeforeDestruction', 'DefaultHandlerStr', 'Dispatch',
    'DispatchStr', 'GetInterface', 'GetInterfaceByStr', 'GetInterfaceWeak', 'GetInterfaceEntry',
    'GetInterfaceEntryByStr', 'GetInterfaceTable', 'UnitName', 'QualifiedClassName', 'Equals',
    'GetHashCode', 'ToString', 'SafeCallException', 'DefaultHandler', 'NewInstance',
    'FreeInstance', 'DeclarationsFixed', 'EnterEvent', 'LeaveEvent', 'ConnectEventHandlers',
    'UnConnectEventHandlers', 'DefineORVProperties', 'DefineORVMethods', 'DefineORVConstructors',
    'DefineORVEvents', 'IdBase', 'ReadORVProperties', 'ReadORVMethods', 'ReadORVConstructors',
    'ReadORVEvents', 'Release', 'Hold', 'Unhold', 'Dying', 'InitMetaData', 'SetOwner',
    'SetOwnerWithoutEvents', 'GetProperty', 'SetProperty', 'InvokeMethod', 'InvokeConstructor',
    'FindProperty', 'FindEvent', 'FindMethod', 'FindConstructor', 'GetPropertyCount',
    'GetProperties', 'GetMethodCount', 'GetMethods', 'GetConstructorCount', 'GetConstructors',
    'GetEventCount', 'GetEvents', 'HasListeners', 'AddListener', 'RemoveListener', 'FireEvent',
    'Owner', 'PrepareEvent', 'FireSender', 'Event', 'Host', 'Result', 'Self',
    'Heard', 'Previous', 'Saved', 'SaveHandler', 'SavedHandler');

{ TWriter }

constructor TWriter.Create(ATable: TgenTable);
begin
  inherited Create;
  FTable := ATable;
  FOut := TStringList.Create;
end;

destructor TWriter.Destroy;
begin
  FOut.Free;
  inherited Destroy;
end;

procedure TWriter.Add(const ALine: string);
begin
  FOut.Add(ALine);
end;

procedure TWriter.AddWrapped(const AIndent, AText: string);
var
  Rest, Indent: string;
  Cut, I: Integer;
begin
  Rest := AText;
  Indent := AIndent;
  while Length(Indent) + Length(Rest) > MaxLine do
  begin
    // The last break that fits, unless it would leave a stub of a line:
    // "Arg(AMethod," and "0)));" read worse than an earlier break.
    Cut := 0;
    for I := MaxLine - Length(Indent) downto 10 do
      if (I < Length(Rest)) and (Rest[I] in [',', ';']) and (Rest[I + 1] = ' ') then
      begin
        if Cut = 0 then
          Cut := I;
        if Length(Rest) - I > 16 then
        begin
          Cut := I;
          Break;
        end;
      end;
    if ((Cut = 0) or (Length(Rest) - Cut <= 16)) and (Pos(' := ', Rest) > 0) and
      (Pos(' := ', Rest) + 3 <= MaxLine - Length(Indent)) and (Indent = AIndent)
    then
      Cut := Pos(' := ', Rest) + 2;
    if Cut = 0 then
      Break;
    Add(Indent + Copy(Rest, 1, Cut));
    Rest := Copy(Rest, Cut + 2, MaxInt);
    if Indent = AIndent then
      Indent := AIndent + '  ';
  end;
  Add(Indent + Rest);
end;

{ Add AText as a braced comment, wrapped at the line length. }
procedure AddDoc(AOut: TStrings; const AIndent, AText: string);
var
  Words: TStringList;
  Line: string;
  I: Integer;
begin
  Words := TStringList.Create;
  try
    Words.Delimiter := ' ';
    Words.StrictDelimiter := True;
    Words.DelimitedText := AText;
    Line := AIndent + '{';
    for I := 0 to Words.Count - 1 do
    begin
      if Length(Line) + 1 + Length(Words[I]) > MaxLine - 2 then
      begin
        AOut.Add(Line);
        Line := AIndent + ' ';
      end;
      Line := Line + ' ' + Words[I];
    end;
    AOut.Add(Line + ' }');
  finally
    Words.Free;
  end;
end;

{ Add AText as line comments, wrapped at the line length. }
procedure AddSlashes(AOut: TStrings; const AIndent, AText: string);
var
  Words: TStringList;
  Line: string;
  I: Integer;
begin
  Words := TStringList.Create;
  try
    Words.Delimiter := ' ';
    Words.StrictDelimiter := True;
    Words.DelimitedText := AText;
    Line := AIndent + '//';
    for I := 0 to Words.Count - 1 do
    begin
      if (Length(Line) + 1 + Length(Words[I]) > MaxLine) and (Line <> AIndent + '//') then
      begin
        AOut.Add(Line);
        Line := AIndent + '//';
      end;
      Line := Line + ' ' + Words[I];
    end;
    AOut.Add(Line);
  finally
    Words.Free;
  end;
end;

procedure TWriter.Blank;
begin
  Add('');
end;

procedure TWriter.Fail(ABinding: TgenBinding; AMember: TgenMember; const AText: string);
begin
  raise EgenError.CreateFmt('%s:%d: %s.%s: %s', [FTable.FileName, AMember.Line,
    ABinding.HostName, AMember.Name, AText]);
end;

function TWriter.HostVar(B: TgenBinding): string;
begin
  Result := 'T' + B.Stem + 'Host';
end;

{ Answer whether the code AText names the local Host. }
function MentionsHost(const AText: string): Boolean;
begin
  Result := Mentions(AText, 'Host');
end;

function TWriter.PropConst(B: TgenBinding; M: TgenMember): string;
begin
  Result := B.Stem + 'Prop' + M.Name;
end;

{ The number under which the event's saved handler is kept: unique in the
  class info's whole chain, as each binding has a base of its own. }
function TWriter.EventSlot(B: TgenBinding; M: TgenMember): string;
begin
  Result := Format('%sBase + %sEvent%s', [B.Stem, B.Stem, M.Name]);
end;

function TWriter.MethConst(B: TgenBinding; M: TgenMember): string;
begin
  Result := B.Stem + 'Meth' + M.Name;
end;

function TWriter.ParamName(B: TgenBinding; const AName: string): string;
var
  I: Integer;
  M: TgenMember;
begin
  Result := AName;
  for I := 0 to High(Reserved) do
    if SameText(Reserved[I], AName) then
      Exit('A' + AName);
  // The binding's own Pascal members: handlers, fields and hand methods.
  for I := 0 to B.Members.Count - 1 do
  begin
    M := B.Member(I);
    if ((M.Kind = mkEvent) and SameText(M.Name, AName)) or SameText('F' + M.Name, AName) or
      ((M.Kind = mkField) and SameText(M.Name, AName)) or SameText('Get' + M.Name, AName) or
      SameText('Set' + M.Name, AName) or SameText('Call' + M.Name, AName) or
      SameText('Hook' + M.Name, AName) or SameText('Unhook' + M.Name, AName)
    then
      Exit('A' + AName);
  end;
end;

function TWriter.HasDispatch(B: TgenBinding; AKind: TgenMemberKind; AWritable: Boolean): Boolean;
var
  I: Integer;
  M: TgenMember;
begin
  for I := 0 to B.Members.Count - 1 do
  begin
    M := B.Member(I);
    if M.Kind <> AKind then
      Continue;
    if (AKind <> mkProp) or (AWritable and M.Writable) or (not AWritable and M.Readable) then
      Exit(True);
  end;
  Result := False;
end;

function TWriter.HookedEvents(B: TgenBinding): Integer;
var
  I: Integer;
begin
  Result := 0;
  for I := 0 to B.Members.Count - 1 do
    if (B.Member(I).Kind = mkEvent) and not B.Member(I).Missing then
      Inc(Result);
end;

function TWriter.BufferType(const ATypeName: string): string;
begin
  Result := BufferTypeName(ATypeName);
end;

function TWriter.ToVar(AKind: TgenKind; const AType, AExpr: string): string;
begin
  Result := ToVarExpr(AKind, AType, AExpr, FTable.FileName);
end;

function TWriter.FromVar(AKind: TgenKind; const AType, AExpr: string;
  const ANames: string): string;
begin
  Result := FromVarExpr(AKind, AType, AExpr, FTable.FileName, ANames);
end;

{ The quoted names that the empty-address error of a buffer read gives. }
function TWriter.ErrorNames(B: TgenBinding; M: TgenMember; const AArgument: string): string;
begin
  Result := Format('''%s'', ''%s'', ''%s''', [B.HostName, M.Name, AArgument]);
end;

function TWriter.IndexArgs(B: TgenBinding; M: TgenMember; const AFrom: string): string;
var
  I: Integer;
begin
  Result := '';
  for I := 0 to High(M.Params) do
  begin
    if I > 0 then
      Result := Result + ', ';
    Result := Result + FromVar(M.Params[I].Kind, M.Params[I].TypeName,
      Format('%s(%s, %d)', [AFrom, 'AProp', I]), ErrorNames(B, M, M.Params[I].Name));
  end;
end;

function TWriter.HostExpr(B: TgenBinding; M: TgenMember; AIndexed: Boolean): string;
begin
  if M.AsExpr <> '' then
    Result := M.AsExpr
  else
    Result := 'Host.' + M.Name;
  if AIndexed and M.IsIndexed then
    Result := Result + '[' + IndexArgs(B, M, 'IndexValue') + ']';
end;

function TWriter.VarField(M: TgenMember; AParam: Integer): string;
begin
  Result := 'F' + M.Name + M.Params[AParam].Name;
end;

function TWriter.ResultField(M: TgenMember): string;
begin
  Result := 'F' + M.Name + 'Result';
end;

function TWriter.NeedsVarField(const P: TgenParam): Boolean;
begin
  Result := (P.Mode in [pmVar, pmOut]) and not (P.Kind in [tkBuffer, tkUntyped]);
end;

function TWriter.CallArgs(B: TgenBinding; M: TgenMember): string;
var
  I: Integer;
  Arg, Value: string;
  P: TgenParam;
begin
  Result := '';
  for I := 0 to High(M.Params) do
  begin
    P := M.Params[I];
    Value := Format('ArgValue(AMethod, %d)', [I]);
    if NeedsVarField(P) or ((P.Kind = tkUntyped) and (P.Mode in [pmVar, pmOut])) then
      Arg := VarField(M, I)
    else if P.Kind = tkUntyped then
      Arg := Format('TVarData(Untyped%d)', [I])
    else if (Pos(',' + P.Name + ',', M.Required) = 0) or (P.Kind = tkBuffer) then
      Arg := FromVar(P.Kind, P.TypeName, Value, ErrorNames(B, M, P.Name))
    else if P.Kind = tkObject then
      Arg := Format('%s(VarToRequiredObject(%s, ''%s'', ''%s'', ''%s''))', [P.TypeName, Value,
        B.HostName, M.Name, P.Name])
    else
      Arg := Format('%s(VarToRequiredPointer(%s, ''%s'', ''%s'', ''%s''))', [P.TypeName, Value,
        B.HostName, M.Name, P.Name]);
    if I > 0 then
      Result := Result + ', ';
    Result := Result + Arg;
  end;
  if Result <> '' then
    Result := '(' + Result + ')';
end;

function TWriter.CommentOf(M: TgenMember): string;
begin
  Result := M.Comment;
  if (Result = '') and M.Missing and (M.Why <> '') then
    Result := M.Why;
end;

function TWriter.HandlerParams(B: TgenBinding; M: TgenMember): string;
var
  I: Integer;
  P: string;
begin
  Result := '';
  for I := 0 to High(M.Params) do
  begin
    case M.Params[I].Mode of
      pmConst: P := 'const ';
      pmVar: P := 'var ';
      pmOut: P := 'out ';
    else
      P := '';
    end;
    P := P + ParamName(B, M.Params[I].Name);
    if M.Params[I].Kind <> tkUntyped then
      P := P + ': ' + M.Params[I].TypeName;
    if I > 0 then
      Result := Result + '; ';
    Result := Result + P;
  end;
  if Result <> '' then
    Result := '(' + Result + ')';
end;

const
  { How every generated binding is made, repeated in each unit's header so
    that a reader of a binding need not look for it. }
  PatternText: array[0..31] of string = (
    '',
    '  The binding pattern. One class info per host class, derived from its',
    '  parent''s; the table says one line per feature, in descriptor order:',
    '  - a property: name, access (r, rw, w), type. Generated: its entry in',
    '    the descriptor string, its local id (position + the base the binding',
    '    got from RegisterBinding), its arms in GetProperty and SetProperty',
    '    (conversion to and from a variant by the type''s kind) and, for a',
    '    plain property of a simple kind (string, ordinal, boolean, float,',
    '    object; not indexed), compiled typed accessors in the table <Stem>Typed',
    '    that TypedAccess answers, so a link copies it without a variant;',
    '  - a method: name, parameters, result. Generated: its arm in',
    '    InvokeMethod, arguments converted from the parameters'' values, the',
    '    result left in Result, var parameters copied back;',
    '  - an event: name, parameters, host event type. Generated: its slot',
    '    (the base plus its position among the binding''s events), hooking in',
    '    ConnectEventHandlers, which saves the owner''s handler under the slot',
    '    with SaveHandler when there is one, unhooking in',
    '    UnConnectEventHandlers, which puts back SavedHandler (nil when none',
    '    was saved), and the handler: unheard, it runs only the saved handler;',
    '    heard, it holds the class info, runs the saved handler, fires the',
    '    listeners and copies var parameters back. A class info keeps only',
    '    the handlers that were set, in one list of its root.',
    '  What the author writes by hand is only what the table marks hand: the',
    '  Get<Name>/Set<Name>, Call<Name> or Hook<Name>/Unhook<Name> routines in',
    '  bindings/<unit>hand.inc (such a property is served by the variant path',
    '  only). Everything else comes for free: registration, ids local to the',
    '  binding, a declaration shared by all instances, features made on first',
    '  use, the typed link path, and the liveness checks around every call',
    '  out to user code. A hand-written class info that serves an inherited',
    '  property in GetProperty or SetProperty must answer nil for it in',
    '  TypedAccess.',
    '  See tools/gen/TABLES.md for the table format.');

procedure TWriter.EmitBanner(const ASource: string);
var
  I: Integer;
begin
  Add('{ generated by tools/gen from ' + ASource + ' - do not edit');
  if FTable.Comment.Count > 0 then
  begin
    Add('');
    for I := 0 to FTable.Comment.Count - 1 do
      Add('  ' + FTable.Comment[I]);
  end;
  for I := 0 to High(PatternText) do
    Add(PatternText[I]);
  FOut[FOut.Count - 1] := FOut[FOut.Count - 1] + ' }';
end;

procedure TWriter.EmitUses(const ARtl, AOwn, AExtra: string);
var
  Seen, Extra: TStringList;
  I: Integer;
  Line: string;
begin
  Seen := TStringList.Create;
  Extra := TStringList.Create;
  try
    Seen.CommaText := ARtl + ',' + AOwn;
    Extra.CommaText := StringReplace(AExtra, ';', '', [rfReplaceAll]);
    for I := Extra.Count - 1 downto 0 do
      if Seen.IndexOf(Extra[I]) >= 0 then
        Extra.Delete(I);
    Add('uses');
    Line := '';
    if ARtl <> '' then
      AddWrapped('  ', StringReplace(ARtl, ',', ', ', [rfReplaceAll]) + ',');
    if Extra.Count > 0 then
      AddWrapped('  ', StringReplace(Extra.CommaText, ',', ', ', [rfReplaceAll]) + ',');
    AddWrapped('  ', StringReplace(AOwn, ',', ', ', [rfReplaceAll]) + ';');
  finally
    Seen.Free;
    Extra.Free;
  end;
end;

{ Answer the kind a link copies M as without a variant, or tyNone: only a
  plain property, read and written as the host declares it, qualifies. }
function TypedKindOf(M: TgenMember): string;
begin
  Result := 'tyNone';
  if (M.Kind <> mkProp) or M.Missing or M.Hand or (M.AsExpr <> '') or M.IsIndexed then
    Exit;
  case M.Kind_ of
    tkStr: Result := 'tyString';
    tkInt, tkInt64, tkEnum: Result := 'tyOrdinal';
    tkBool: Result := 'tyBoolean';
    tkFloat: Result := 'tyFloat';
    tkObject: Result := 'tyObject';
  end;
end;

function HasTyped(B: TgenBinding): Boolean;
var
  I: Integer;
begin
  Result := False;
  for I := 0 to B.Members.Count - 1 do
    if TypedKindOf(B.Member(I)) <> 'tyNone' then
      Exit(True);
end;

procedure TWriter.EmitClass(B: TgenBinding);
var
  I, J: Integer;
  M: TgenMember;
  Private_: TStringList;
  Methods: TStringList;
  HasGet, HasSet, HasInvoke: Boolean;
begin
  Add('  { ' + B.InfoName + ' }');
  Blank;
  Private_ := TStringList.Create;
  Methods := TStringList.Create;
  try
    // Value buffers and the fields that var parameters go through.
    for I := 0 to B.Members.Count - 1 do
    begin
      M := B.Member(I);
      if M.Missing or M.Hand then
        Continue;
      if (M.Kind = mkProp) and M.Readable and (M.Kind_ = tkBuffer) then
        Private_.Add(Format('    F%s: %s;', [M.Name, M.TypeName]));
      if M.Kind = mkMeth then
      begin
        if M.IsFunction and (M.Kind_ = tkBuffer) then
          Private_.Add(Format('    %s: %s;', [ResultField(M), M.TypeName]));
        for J := 0 to High(M.Params) do
          if NeedsVarField(M.Params[J]) then
            Private_.Add(Format('    %s: %s;', [VarField(M, J), M.Params[J].TypeName]))
          else if (M.Params[J].Kind = tkUntyped) and (M.Params[J].Mode in [pmVar, pmOut]) then
          begin
            Private_.Add('    { What the host fills: the storage of one variant. }');
            Private_.Add(Format('    %s: Variant;', [VarField(M, J)]));
          end;
      end;
    end;
    for I := 0 to B.Members.Count - 1 do
      if B.Member(I).Kind = mkField then
      begin
        if B.Member(I).Doc <> '' then
          AddDoc(Private_, '    ', B.Member(I).Doc);
        if B.Member(I).Comment <> '' then
          AddDoc(Private_, '    ', B.Member(I).Comment);
        Private_.Add('    ' + B.Member(I).FieldDecl + ';');
      end;
    // Hand-written work, called from the generated dispatch.
    for I := 0 to B.Members.Count - 1 do
    begin
      M := B.Member(I);
      if M.Missing then
        Continue;
      if (M.Kind = mkProp) and M.Hand then
      begin
        if M.Readable then
          Methods.Add(Format('    function Get%s(AProp: TorvPropertyInfo): Variant;', [M.Name]));
        if M.Writable then
          Methods.Add(Format('    procedure Set%s(AProp: TorvPropertyInfo; const AValue: Variant);',
            [M.Name]));
      end
      else if (M.Kind = mkMeth) and M.Hand then
        Methods.Add(Format('    procedure Call%s(AMethod: TorvMethodInfo);', [M.Name]))
      else if (M.Kind = mkEvent) and M.HandHook then
      begin
        Methods.Add(Format('    procedure Hook%s;', [M.Name]));
        Methods.Add(Format('    procedure Unhook%s;', [M.Name]));
      end;
    end;
    if B.Doc <> '' then
    begin
      AddDoc(FOut, '  ', B.Doc);
    end;
    HasGet := HasDispatch(B, mkProp, False);
    HasSet := HasDispatch(B, mkProp, True);
    HasInvoke := HasDispatch(B, mkMeth, False);
    if (Private_.Count = 0) and (Methods.Count = 0) and not HasGet and not HasSet and
      not HasInvoke and (HookedEvents(B) = 0)
    then
    begin
      Add(Format('  %s = class(%s)', [B.InfoName, B.ParentInfoName]));
      Add('  end;');
      Blank;
      Exit;
    end;
    Add(Format('  %s = class(%s)', [B.InfoName, B.ParentInfoName]));
    if Private_.Count + Methods.Count > 0 then
    begin
      Add('  private');
      FOut.AddStrings(Private_);
      FOut.AddStrings(Methods);
    end;
    if HookedEvents(B) > 0 then
    begin
      Add('  protected');
      Add('    procedure ConnectEventHandlers; override;');
      Add('    procedure UnConnectEventHandlers; override;');
    end;
    if HasGet or HasSet or HasInvoke or (HookedEvents(B) > 0) then
      Add('  public');
    if HasGet then
      Add('    function GetProperty(AProp: TorvPropertyInfo): Variant; override;');
    if HasSet then
      Add('    procedure SetProperty(AProp: TorvPropertyInfo; const AValue: Variant); override;');
    if HasInvoke then
      Add('    procedure InvokeMethod(AMethod: TorvMethodInfo); override;');
    if HasTyped(B) then
      Add('    function TypedAccess(AProp: TorvPropertyInfo): PorvTypedAccess; override;');
    for I := 0 to B.Members.Count - 1 do
    begin
      M := B.Member(I);
      if (M.Kind = mkEvent) and not M.Missing then
        if M.IsFunction then
          AddWrapped('    ', Format('function %s%s: %s;', [M.Name, HandlerParams(B, M),
            M.ResultType]))
        else
          AddWrapped('    ', Format('procedure %s%s;', [M.Name, HandlerParams(B, M)]));
    end;
    Add('  end;');
    Blank;
  finally
    Private_.Free;
    Methods.Free;
  end;
end;

function StyleText(M: TgenMember): string;
begin
  Result := '';
  if M.Readable then
    Result := 'psReadable';
  if M.Writable then
  begin
    if Result <> '' then
      Result := Result + '..';
    Result := Result + 'psWritable';
  end;
  if M.IsIndexed then
    Result := Result + '..psIndexed';
end;

function ParamNames(M: TgenMember): string;
var
  I: Integer;
begin
  Result := IntToStr(Length(M.Params));
  for I := 0 to High(M.Params) do
    Result := Result + '::' + M.Params[I].Name;
end;

procedure TWriter.EmitDescriptors(B: TgenBinding);

  procedure Part(const ALabel: string; AEntries: TStrings; ALast: Boolean);
  var
    I: Integer;
    Tail: string;
  begin
    if ALast then
      Tail := ');'
    else
      Tail := ';';
    if AEntries.Count = 0 then
    begin
      Add(Format('    %s: ''''%s', [ALabel, Tail]));
      Exit;
    end;
    if Length(Format('    %s: ''%s''%s', [ALabel, AEntries[0], Tail])) <= MaxLine then
      if AEntries.Count = 1 then
      begin
        Add(Format('    %s: ''%s''%s', [ALabel, AEntries[0], Tail]));
        Exit;
      end;
    Add(Format('    %s:', [ALabel]));
    for I := 0 to AEntries.Count - 1 do
      if I < AEntries.Count - 1 then
        Add(Format('      ''%s::'' +', [AEntries[I]]))
      else
        Add(Format('      ''%s''%s', [AEntries[I], Tail]));
  end;

var
  Props, Meths, Ctors, Events: TStringList;
  I: Integer;
  M: TgenMember;
begin
  Props := TStringList.Create;
  Meths := TStringList.Create;
  Ctors := TStringList.Create;
  Events := TStringList.Create;
  try
    for I := 0 to B.Members.Count - 1 do
    begin
      M := B.Member(I);
      case M.Kind of
        mkProp:
          Props.Add(Format('Define::%s::%s::%s::%s', [M.Name, StyleText(M), M.Visibility,
            ParamNames(M)]));
        mkOverProp:
          Props.Add(Format('Override::%s::%s::%s', [M.Name, M.OverStyle, M.Visibility]));
        mkMeth:
          if M.IsFunction then
            Meths.Add(Format('%s::msFunction::%s', [M.Name, ParamNames(M)]))
          else
            Meths.Add(Format('%s::msProcedure::%s', [M.Name, ParamNames(M)]));
        mkCtor: Ctors.Add(Format('%s::%s', [M.Name, ParamNames(M)]));
        mkEvent:
          Events.Add(Format('Define::%s::%s::%s', [M.Name, M.Visibility, ParamNames(M)]));
        mkOverEvent: Events.Add(Format('Override::%s::%s', [M.Name, M.Visibility]));
      end;
    end;
    Add(Format('  %sDescriptors: TorvDescriptors = (', [B.Stem]));
    Part('Properties', Props, False);
    Part('Methods', Meths, False);
    Part('Constructors', Ctors, False);
    Part('Events', Events, True);
    Blank;
  finally
    Props.Free;
    Meths.Free;
    Ctors.Free;
    Events.Free;
  end;
end;

procedure TWriter.EmitIds(B: TgenBinding);
var
  I: Integer;
  M: TgenMember;
  Any: Boolean;
begin
  Any := False;
  for I := 0 to B.Members.Count - 1 do
  begin
    M := B.Member(I);
    if M.Kind = mkProp then
      Add(Format('  %s = %d;', [PropConst(B, M), M.Ordinal]))
    else if M.Kind = mkMeth then
      Add(Format('  %s = %d;', [MethConst(B, M), M.Ordinal]))
    else if (M.Kind = mkEvent) and not M.Missing then
      Add(Format('  %sEvent%s = %d;', [B.Stem, M.Name, M.Ordinal]))
    else
      Continue;
    Any := True;
  end;
  if Any then
    Blank;
end;

procedure TWriter.EmitAccessTypes;
var
  I, J, K: Integer;
  B: TgenBinding;
  M: TgenMember;
  Buffers: TStringList;

  procedure NoteBuffer(const ATypeName: string);
  begin
    if Buffers.IndexOf(ATypeName) < 0 then
      Buffers.Add(ATypeName);
  end;

begin
  Add('type');
  Add('  { The owner is reached through a subclass declared here, so that');
  Add('    protected members need nothing special. It is cast through an');
  Add('    untyped pointer: the owner is never one of these classes, and a');
  Add('    checked build (-CR) rejects the direct cast. }');
  Buffers := TStringList.Create;
  try
    for I := 0 to FTable.Bindings.Count - 1 do
    begin
      B := FTable.Binding(I);
      if Mentions(FUsed, HostVar(B)) then
        Add(Format('  %s = class(%s);', [HostVar(B), B.HostType]));
      for J := 0 to B.Members.Count - 1 do
      begin
        M := B.Member(J);
        if M.Missing or M.Hand or not (M.Kind in [mkProp, mkMeth, mkEvent]) then
          Continue;
        for K := 0 to High(M.Params) do
          if M.Params[K].Kind = tkBuffer then
            if (M.Kind <> mkEvent) or (M.Params[K].Mode = pmVar) then
              NoteBuffer(M.Params[K].TypeName);
        if (M.Kind = mkProp) and M.Writable and (M.Kind_ = tkBuffer) then
          NoteBuffer(M.TypeName);
      end;
    end;
    if Buffers.Count > 0 then
    begin
      Blank;
      Add('  { Values that travel as the address of a value of the host type. }');
      for I := 0 to Buffers.Count - 1 do
        Add(Format('  %s = ^%s;', [BufferType(Buffers[I]), Buffers[I]]));
    end;
  finally
    Buffers.Free;
  end;
  Blank;
end;

procedure TWriter.EmitArms(ALines: TStrings; B: TgenBinding; M: TgenMember;
  const AConst: string; const ABody: array of string);
var
  I: Integer;
  Line: string;
begin
  if CommentOf(M) <> '' then
    AddSlashes(ALines, '    ', CommentOf(M));
  if Length(ABody) = 1 then
  begin
    Line := Format('    %s: %s', [AConst, ABody[0]]);
    if Length(Line) <= MaxLine then
    begin
      ALines.Add(Line);
      Exit;
    end;
    ALines.Add(Format('    %s:', [AConst]));
    ALines.Add(#1 + '      ' + ABody[0]);
    Exit;
  end;
  ALines.Add(Format('    %s:', [AConst]));
  ALines.Add('      begin');
  for I := 0 to High(ABody) do
    ALines.Add(#1 + '        ' + ABody[I]);
  ALines.Add('      end;');
end;

procedure TWriter.EmitCase(B: TgenBinding; const AHeader, AParamName, AInherited: string;
  AArms: TStrings; const ALocals: string);
var
  I, Indent: Integer;
  UsesHost: Boolean;
  Line: string;
begin
  UsesHost := False;
  for I := 0 to AArms.Count - 1 do
    if MentionsHost(AArms[I]) then
      UsesHost := True;
  Add(AHeader);
  if UsesHost or (ALocals <> '') then
    Add('var');
  if UsesHost then
    Add(Format('  Host: %s;', [HostVar(B)]));
  if ALocals <> '' then
    FOut.Add(ALocals);
  Add('begin');
  if UsesHost then
    Add(Format('  Host := %s(Pointer(Owner));', [HostVar(B)]));
  Add(Format('  case %s.Id - %sBase of', [AParamName, B.Stem]));
  for I := 0 to AArms.Count - 1 do
  begin
    Line := AArms[I];
    if (Line <> '') and (Line[1] = #1) then
    begin
      Delete(Line, 1, 1);
      Indent := Length(Line) - Length(TrimLeft(Line));
      AddWrapped(StringOfChar(' ', Indent), TrimLeft(Line));
    end
    else
      Add(Line);
  end;
  Add('  else');
  Add('    ' + AInherited);
  Add('  end;');
  Add('end;');
  Blank;
end;

procedure TWriter.EmitGetProperty(B: TgenBinding);
var
  Arms: TStringList;
  I: Integer;
  M: TgenMember;
begin
  if not HasDispatch(B, mkProp, False) then
    Exit;
  Arms := TStringList.Create;
  try
    for I := 0 to B.Members.Count - 1 do
    begin
      M := B.Member(I);
      if (M.Kind <> mkProp) or not M.Readable then
        Continue;
      if M.Missing then
        EmitArms(Arms, B, M, PropConst(B, M),
          [Format('NotInHost(''%s'', ''%s'');', [B.HostName, M.Name])])
      else if M.Hand then
        EmitArms(Arms, B, M, PropConst(B, M), [Format('Result := Get%s(AProp);', [M.Name])])
      else if M.Kind_ = tkBuffer then
        EmitArms(Arms, B, M, PropConst(B, M),
          [Format('F%s := %s;', [M.Name, HostExpr(B, M, True)]),
           Format('Result := BufferToVar(F%s);', [M.Name])])
      else
        EmitArms(Arms, B, M, PropConst(B, M),
          [Format('Result := %s;', [ToVar(M.Kind_, M.TypeName, HostExpr(B, M, True))])]);
    end;
    EmitCase(B, Format('function %s.GetProperty(AProp: TorvPropertyInfo): Variant;',
      [B.InfoName]), 'AProp', 'Result := inherited GetProperty(AProp);', Arms);
  finally
    Arms.Free;
  end;
end;

{ The carrier type of a typed kind, as the accessor types of Orvcommon take it. }
function CarrierOf(const AKind: string): string;
begin
  if AKind = 'tyString' then
    Result := 'string'
  else if AKind = 'tyOrdinal' then
    Result := 'Int64'
  else if AKind = 'tyBoolean' then
    Result := 'Boolean'
  else if AKind = 'tyFloat' then
    Result := 'Double'
  else
    Result := 'TObject';
end;

procedure TWriter.EmitTypedGetter(B: TgenBinding; M: TgenMember; const AKind: string);
var
  Line: string;
begin
  Add(Format('function %sGet%s(AOwner: TObject): %s;', [B.Stem, M.Name, CarrierOf(AKind)]));
  Add('begin');
  Line := Format('%s(Pointer(AOwner)).%s', [HostVar(B), M.Name]);
  if M.Kind_ = tkEnum then
    Line := 'Ord(' + Line + ')'
  else if M.Kind_ <> tkObject then
    Line := CarrierOf(AKind) + '(' + Line + ')';
  AddWrapped('  ', 'Result := ' + Line + ';');
  Add('end;');
  Blank;
end;

procedure TWriter.EmitTypedSetter(B: TgenBinding; M: TgenMember; const AKind: string);
var
  Line: string;
begin
  if AKind = 'tyString' then
    Add(Format('procedure %sSet%s(AOwner: TObject; const AValue: string);', [B.Stem, M.Name]))
  else
    Add(Format('procedure %sSet%s(AOwner: TObject; AValue: %s);',
      [B.Stem, M.Name, CarrierOf(AKind)]));
  Add('begin');
  // The same conversion as SetProperty, from the carrier instead of a variant.
  if AKind = 'tyString' then
    Line := 'AValue'
  else if M.Kind_ in [tkInt, tkEnum] then
    Line := FromVar(M.Kind_, M.TypeName, 'Integer(AValue)')
  else if M.Kind_ = tkObject then
    Line := StringReplace(FromVar(M.Kind_, M.TypeName, 'AValue'), 'VarToObject(AValue)',
      'AValue', [])
  else
    Line := FromVar(M.Kind_, M.TypeName, 'AValue');
  AddWrapped('  ', Format('%s(Pointer(AOwner)).%s := %s;', [HostVar(B), M.Name, Line]));
  Add('end;');
  Blank;
end;

procedure TWriter.EmitTypedAccess(B: TgenBinding);
var
  I, Last: Integer;
  M: TgenMember;
  Kind, Getter, Setter: string;
  Entries: array of string;
begin
  if not HasTyped(B) then
    Exit;
  Entries := nil;
  Last := -1;
  for I := 0 to B.Members.Count - 1 do
    if B.Member(I).Kind = mkProp then
      Last := B.Member(I).Ordinal;
  SetLength(Entries, Last + 1);
  for I := 0 to Last do
    Entries[I] := '(Kind: tyNone; TypeName: ''''; Getter: nil; Setter: nil)';
  for I := 0 to B.Members.Count - 1 do
  begin
    M := B.Member(I);
    Kind := TypedKindOf(M);
    if Kind = 'tyNone' then
      Continue;
    Getter := 'nil';
    Setter := 'nil';
    if M.Readable then
    begin
      EmitTypedGetter(B, M, Kind);
      Getter := Format('@%sGet%s', [B.Stem, M.Name]);
    end;
    if M.Writable then
    begin
      EmitTypedSetter(B, M, Kind);
      Setter := Format('@%sSet%s', [B.Stem, M.Name]);
    end;
    Entries[M.Ordinal] := Format('(Kind: %s; TypeName: ''%s''; Getter: %s; Setter: %s)',
      [Kind, LowerCase(M.TypeName), Getter, Setter]);
  end;
  Add('const');
  Add('  { Each plain property read and written without a variant, by local id. }');
  Add(Format('  %sTyped: array[0..%d] of TorvTypedAccess = (', [B.Stem, Last]));
  for I := 0 to Last do
    if I < Last then
      AddWrapped('    ', Entries[I] + ',')
    else
      AddWrapped('    ', Entries[I] + ');');
  Blank;
  Add(Format('function %s.TypedAccess(AProp: TorvPropertyInfo): PorvTypedAccess;', [B.InfoName]));
  Add('var');
  Add('  N: Integer;');
  Add('begin');
  Add(Format('  N := AProp.Id - %sBase;', [B.Stem]));
  Add('  // One of its own properties is served here either way, as GetProperty and');
  Add('  // SetProperty serve them; only the others go on to the parent.');
  Add(Format('  if (N < 0) or (N > High(%sTyped)) then', [B.Stem]));
  Add('    Result := inherited TypedAccess(AProp)');
  Add('  else');
  Add(Format('    Result := FitTypedAccess(@%sTyped[N], AProp);', [B.Stem]));
  Add('end;');
  Blank;
end;

procedure TWriter.EmitSetProperty(B: TgenBinding);
var
  Arms: TStringList;
  I: Integer;
  M: TgenMember;
begin
  if not HasDispatch(B, mkProp, True) then
    Exit;
  Arms := TStringList.Create;
  try
    for I := 0 to B.Members.Count - 1 do
    begin
      M := B.Member(I);
      if (M.Kind <> mkProp) or not M.Writable then
        Continue;
      if M.Missing then
        EmitArms(Arms, B, M, PropConst(B, M),
          [Format('NotInHost(''%s'', ''%s'');', [B.HostName, M.Name])])
      else if M.Hand then
        EmitArms(Arms, B, M, PropConst(B, M), [Format('Set%s(AProp, AValue);', [M.Name])])
      else
        EmitArms(Arms, B, M, PropConst(B, M), [Format('%s := %s;', [HostExpr(B, M, True),
          FromVar(M.Kind_, M.TypeName, 'AValue', ErrorNames(B, M, 'value'))])]);
    end;
    EmitCase(B, Format(
      'procedure %s.SetProperty(AProp: TorvPropertyInfo; const AValue: Variant);',
      [B.InfoName]), 'AProp', 'inherited SetProperty(AProp, AValue);', Arms);
  finally
    Arms.Free;
  end;
end;

function HasUntyped(M: TgenMember): Boolean;
var
  J: Integer;
begin
  for J := 0 to High(M.Params) do
    if M.Params[J].Kind = tkUntyped then
      Exit(True);
  Result := False;
end;

{ Check a count before the host gets an untyped buffer, and copy in a
  buffer that the host fills. }
procedure TWriter.EmitUntypedBefore(B: TgenBinding; M: TgenMember; ABody, ALocals: TStrings);
var
  J: Integer;
  P: TgenParam;
begin
  for J := 0 to High(M.Params) do
  begin
    P := M.Params[J];
    // The count is checked as given, before it narrows to the host's type.
    if SameText(P.Name, 'Count') and (P.Kind in [tkInt, tkInt64]) and HasUntyped(M) then
      ABody.Add(Format('CheckBufferCount(''%s.%s'', Int64(ArgValue(AMethod, %d)));',
        [B.HostName, M.Name, J]));
  end;
  for J := 0 to High(M.Params) do
  begin
    P := M.Params[J];
    if P.Kind <> tkUntyped then
      Continue;
    if P.Mode in [pmVar, pmOut] then
    begin
      ABody.Add(Format('LoadBuffer(%s, ArgValue(AMethod, %d));', [VarField(M, J), J]));
      if ALocals.IndexOf('  Taken: Boolean;') < 0 then
        ALocals.Add('  Taken: Boolean;');
    end
    else
    begin
      ABody.Add(Format('Untyped%d := ArgValue(AMethod, %d);', [J, J]));
      if ALocals.IndexOf(Format('  Untyped%d: Variant;', [J])) < 0 then
        ALocals.Add(Format('  Untyped%d: Variant;', [J]));
    end;
  end;
end;

{ Make the host call; a buffer the host filled is copied back even when
  the host fails, and refused when its bytes form no value. }
procedure TWriter.EmitUntypedCall(B: TgenBinding; M: TgenMember; ABody: TStrings;
  const ACall: string);
var
  J: Integer;
  Filled: Integer;
begin
  Filled := -1;
  for J := 0 to High(M.Params) do
    if (M.Params[J].Kind = tkUntyped) and (M.Params[J].Mode in [pmVar, pmOut]) then
    begin
      if Filled >= 0 then
        Fail(B, M, 'more than one untyped var parameter needs hand-written work (flag hand)');
      Filled := J;
    end;
  if Filled < 0 then
  begin
    ABody.Add(ACall);
    Exit;
  end;
  ABody.Add('try');
  ABody.Add('  ' + ACall);
  ABody.Add('finally');
  ABody.Add(Format('  Taken := TakeBuffer(%s, AMethod.GetArgs(%d));', [VarField(M, Filled),
    Filled]));
  ABody.Add('end;');
  ABody.Add(Format('CheckTaken(Taken, ''%s.%s'');', [B.HostName, M.Name]));
end;

procedure TWriter.EmitInvokeMethod(B: TgenBinding);
var
  Locals: TStringList;
  Arms, Body: TStringList;
  I, J: Integer;
  M: TgenMember;
  Call: string;
  Lines: array of string;
begin
  if not HasDispatch(B, mkMeth, False) then
    Exit;
  Arms := TStringList.Create;
  Body := TStringList.Create;
  Locals := TStringList.Create;
  try
    for I := 0 to B.Members.Count - 1 do
    begin
      M := B.Member(I);
      if M.Kind <> mkMeth then
        Continue;
      if M.Missing then
      begin
        EmitArms(Arms, B, M, MethConst(B, M),
          [Format('NotInHost(''%s'', ''%s'');', [B.HostName, M.Name])]);
        Continue;
      end;
      if M.Hand then
      begin
        EmitArms(Arms, B, M, MethConst(B, M), [Format('Call%s(AMethod);', [M.Name])]);
        Continue;
      end;
      CheckRequired(B, M);
      Body.Clear;
      EmitUntypedBefore(B, M, Body, Locals);
      for J := 0 to High(M.Params) do
        if NeedsVarField(M.Params[J]) then
          Body.Add(Format('%s := %s;', [VarField(M, J), FromVar(M.Params[J].Kind,
            M.Params[J].TypeName, Format('ArgValue(AMethod, %d)', [J]))]));
      if M.AsExpr <> '' then
        Call := M.AsExpr + CallArgs(B, M)
      else
        Call := 'Host.' + M.Name + CallArgs(B, M);
      if not M.IsFunction then
        Call := Call + ';'
      else if M.Kind_ = tkBuffer then
        Call := Format('%s := %s;', [ResultField(M), Call])
      else
        Call := Format('AMethod.Result := %s;', [ToVar(M.Kind_, M.TypeName, Call)]);
      EmitUntypedCall(B, M, Body, Call);
      if M.IsFunction and (M.Kind_ = tkBuffer) then
        Body.Add(Format('AMethod.Result := BufferToVar(%s);', [ResultField(M)]));
      for J := 0 to High(M.Params) do
        if NeedsVarField(M.Params[J]) then
          Body.Add(Format('AMethod.GetArgs(%d).Value := %s;', [J,
            ToVar(M.Params[J].Kind, M.Params[J].TypeName, VarField(M, J))]));
      Lines := nil;
      SetLength(Lines, Body.Count);
      for J := 0 to Body.Count - 1 do
        Lines[J] := Body[J];
      EmitArms(Arms, B, M, MethConst(B, M), Lines);
    end;
    EmitCase(B, Format('procedure %s.InvokeMethod(AMethod: TorvMethodInfo);', [B.InfoName]),
      'AMethod', 'inherited InvokeMethod(AMethod);', Arms, TrimRight(Locals.Text));
  finally
    Arms.Free;
    Body.Free;
    Locals.Free;
  end;
end;

procedure TWriter.CheckRequired(B: TgenBinding; M: TgenMember);
var
  Names: TStringList;
  I, J: Integer;
  Found: Boolean;
begin
  if M.Required = '' then
    Exit;
  Names := TStringList.Create;
  try
    Names.CommaText := M.Required;
    for I := 0 to Names.Count - 1 do
    begin
      if Names[I] = '' then
        Continue;
      Found := False;
      for J := 0 to High(M.Params) do
        // A var buffer is handed over at its address, which is checked like
        // that of any buffer.
        if (M.Params[J].Name = Names[I]) and ((M.Params[J].Kind = tkBuffer) or
          (M.Params[J].Kind in [tkObject, tkPointer, tkClass]) and
          (M.Params[J].Mode in [pmValue, pmConst])) then
          Found := True;
      if not Found then
        Fail(B, M, Format('required: %s is no object, pointer or buffer argument', [Names[I]]));
    end;
  finally
    Names.Free;
  end;
end;

procedure TWriter.EmitConnect(B: TgenBinding);
var
  I: Integer;
  M: TgenMember;
  Plain: Boolean;
begin
  if HookedEvents(B) = 0 then
    Exit;
  Plain := False;
  for I := 0 to B.Members.Count - 1 do
    if (B.Member(I).Kind = mkEvent) and not B.Member(I).Missing and not B.Member(I).HandHook then
      Plain := True;
  Add(Format('procedure %s.ConnectEventHandlers;', [B.InfoName]));
  if Plain then
  begin
    Add('var');
    Add(Format('  Host: %s;', [HostVar(B)]));
  end;
  Add('begin');
  Add('  inherited ConnectEventHandlers;');
  if Plain then
    Add(Format('  Host := %s(Pointer(Owner));', [HostVar(B)]));
  for I := 0 to B.Members.Count - 1 do
  begin
    M := B.Member(I);
    if (M.Kind <> mkEvent) or M.Missing then
      Continue;
    if M.Comment <> '' then
      AddSlashes(FOut, '  ', M.Comment);
    if M.HandHook then
      Add(Format('  Hook%s;', [M.Name]))
    else
    begin
      AddWrapped('  ', Format('SaveHandler(%s, TMethod(Host.%s));', [EventSlot(B, M), M.Name]));
      Add(Format('  Host.%s := @%s;', [M.Name, M.Name]));
    end;
  end;
  Add('end;');
  Blank;
  Add(Format('procedure %s.UnConnectEventHandlers;', [B.InfoName]));
  if Plain then
  begin
    Add('var');
    Add(Format('  Host: %s;', [HostVar(B)]));
  end;
  Add('begin');
  if Plain then
    Add(Format('  Host := %s(Pointer(Owner));', [HostVar(B)]));
  for I := 0 to B.Members.Count - 1 do
  begin
    M := B.Member(I);
    if (M.Kind <> mkEvent) or M.Missing then
      Continue;
    if M.HandHook then
      Add(Format('  Unhook%s;', [M.Name]))
    else
      AddWrapped('  ', Format('Host.%s := %s(SavedHandler(%s));', [M.Name, M.TypeName,
        EventSlot(B, M)]));
  end;
  Add('  inherited UnConnectEventHandlers;');
  Add('end;');
  Blank;
end;

procedure TWriter.EmitHandler(B: TgenBinding; M: TgenMember);
var
  I: Integer;
  Args, Name, Saved, Answer: string;
  P: TgenParam;
  Pass: Boolean;
begin
  // An event of a function type answers what the saved handler answers, or
  // the type's empty value (False) without one: the listeners have no way
  // to answer the host.
  Answer := '';
  if M.IsFunction then
  begin
    Answer := 'Result := ';
    AddWrapped('', Format('function %s.%s%s: %s;', [B.InfoName, M.Name, HandlerParams(B, M),
      M.ResultType]));
  end
  else
    AddWrapped('', Format('procedure %s.%s%s;', [B.InfoName, M.Name, HandlerParams(B, M)]));
  if (Length(M.Params) = 1) and SameText(M.TypeName, 'TNotifyEvent') then
  begin
    Add('begin');
    AddWrapped('  ', Format('FireSender(TNotifyEvent(SavedHandler(%s)), ''%s'', %s);',
      [EventSlot(B, M), M.Name, ParamName(B, M.Params[0].Name)]));
    Add('end;');
    Blank;
    Exit;
  end;
  Args := '';
  Saved := '';
  for I := 0 to High(M.Params) do
  begin
    P := M.Params[I];
    Name := ParamName(B, P.Name);
    if I > 0 then
    begin
      Args := Args + ', ';
      Saved := Saved + ', ';
    end;
    Saved := Saved + Name;
    if P.Kind = tkBuffer then
      Args := Args + 'BufferToVar(' + Name + ')'
    else if P.Kind = tkUntyped then
      raise EgenError.CreateFmt('%s:%d: %s: an untyped event parameter needs hand',
        [FTable.FileName, M.Line, M.Name])
    else
      Args := Args + ToVar(P.Kind, P.TypeName, Name);
  end;
  Blank;
  Add('  // Somebody listens: held from the start, as the saved handler may free');
  Add('  // the owner and with it this class info.');
  if M.IsFunction then
    Add(Format('  function Heard: %s;', [M.ResultType]))
  else
    Add('  procedure Heard;');
  Add('  var');
  Add('    Event: TorvEventInfo;');
  Add('    Previous: TMethod;');
  Add('  begin');
  if M.IsFunction then
    Add(Format('    Result := Default(%s);', [M.ResultType]));
  Add('    EnterEvent;');
  Add('    try');
  Add(Format('      if Saved(%s, Previous) then', [EventSlot(B, M)]));
  AddWrapped('        ', Format('%s%s(Previous)(%s);', [Answer, M.TypeName, Saved]));
  AddWrapped('      ', Format('Event := PrepareEvent(''%s'', [%s]);', [M.Name, Args]));
  Add('      if Event = nil then');
  Add('        Exit;');
  Add('      FireEvent(Event);');
  // Records first: an address a listener left empty is refused before
  // any parameter of the host has changed.
  for Pass := False to True do
    for I := 0 to High(M.Params) do
    begin
      P := M.Params[I];
      if (P.Mode in [pmVar, pmOut]) and ((P.Kind = tkBuffer) <> Pass) then
        AddWrapped('      ', Format('%s := %s;', [ParamName(B, P.Name), FromVar(P.Kind,
          P.TypeName, Format('Event.GetArgs(%d).Value', [I]), ErrorNames(B, M, P.Name))]));
    end;
  Add('    finally');
  Add('      LeaveEvent;');
  Add('    end;');
  Add('  end;');
  Blank;
  Add('var');
  Add('  Previous: TMethod;');
  Add('begin');
  Add('  // Nobody listens: the saved handler is the last thing done, and nothing of');
  Add('  // this class info is touched after it, so it needs no hold (and the values');
  Add('  // need no copying).');
  Add('  if HasListeners then');
  Add(Format('    %sHeard', [Answer]));
  Add(Format('  else if Saved(%s, Previous) then', [EventSlot(B, M)]));
  if M.IsFunction then
  begin
    AddWrapped('    ', Format('Result := %s(Previous)(%s)', [M.TypeName, Saved]));
    Add('  else');
    Add(Format('    Result := Default(%s);', [M.ResultType]));
  end
  else
    AddWrapped('    ', Format('%s(Previous)(%s);', [M.TypeName, Saved]));
  Add('end;');
  Blank;
end;

procedure TWriter.EmitBodies(B: TgenBinding);
var
  I: Integer;
  M: TgenMember;
begin
  if not HasDispatch(B, mkProp, False) and not HasDispatch(B, mkProp, True) and
    not HasDispatch(B, mkMeth, False) and (HookedEvents(B) = 0)
  then
    Exit;
  Add('{ ' + B.InfoName + ' }');
  Blank;
  EmitConnect(B);
  EmitGetProperty(B);
  EmitSetProperty(B);
  EmitTypedAccess(B);
  EmitInvokeMethod(B);
  for I := 0 to B.Members.Count - 1 do
  begin
    M := B.Member(I);
    if (M.Kind = mkEvent) and not M.Missing and not M.Hand then
      EmitHandler(B, M);
  end;
end;

function TWriter.Run(const ASource, AHandText: string): string;
var
  I: Integer;
  Bases, Base: string;
  Bodies, Head: TStringList;
begin
  // The bodies first, to know which cracker classes and bases they name.
  Bodies := TStringList.Create;
  Head := FOut;
  FOut := Bodies;
  try
    for I := 0 to FTable.Bindings.Count - 1 do
      EmitBodies(FTable.Binding(I));
  finally
    FOut := Head;
  end;
  try
    FUsed := Bodies.Text + AHandText;
    EmitBanner(ASource);
    Add('unit ' + FTable.UnitLine + ';');
    Blank;
    Add('{$I orvdefines.inc}');
    Blank;
    Add('interface');
    Blank;
    EmitUses('Classes,SysUtils,Variants', 'Orvcommon,Orvsystem', FTable.Uses_);
    Blank;
    Add('type');
    for I := 0 to FTable.Bindings.Count - 1 do
      EmitClass(FTable.Binding(I));
    Add('implementation');
    Blank;
    Add('{ The owner is taken as a subclass declared here, which it never is: object');
    Add('  checks (-CR) would refuse every virtual call through it. }');
    Add('{$OBJECTCHECKS OFF}');
    Blank;
    EmitUses('', 'Orvvalues', FTable.ImplUses);
    Blank;
    Add('const');
    for I := 0 to FTable.Bindings.Count - 1 do
      EmitDescriptors(FTable.Binding(I));
    Add('  { Each feature''s id: its position among its binding''s own features of');
    Add('    its kind, offset by the base the binding was given when it registered. }');
    for I := 0 to FTable.Bindings.Count - 1 do
      EmitIds(FTable.Binding(I));
    EmitAccessTypes;
    Bases := '';
    for I := 0 to FTable.Bindings.Count - 1 do
    begin
      Base := FTable.Binding(I).Stem + 'Base';
      if not Mentions(FUsed, Base) then
        Continue;
      if Bases <> '' then
        Bases := Bases + ', ';
      Bases := Bases + Base;
    end;
    if Bases <> '' then
    begin
      Add('var');
      AddWrapped('  ', Bases + ': Integer;');
      Blank;
    end;
    if FTable.Hand then
    begin
      Add(Format('{$I %shand.inc}', [LowerCase(FTable.UnitLine)]));
      Blank;
    end;
    FOut.AddStrings(Bodies);
  finally
    Bodies.Free;
  end;
  Add('initialization');
  for I := 0 to FTable.Bindings.Count - 1 do
  begin
    Base := FTable.Binding(I).Stem + 'Base';
    if Mentions(FUsed, Base) then
      Base := Base + ' := '
    else
      Base := '';
    AddWrapped('  ', Format('%sRegisterBinding(''%s'', %s, %sDescriptors);',
      [Base, FTable.Binding(I).HostName, FTable.Binding(I).InfoName, FTable.Binding(I).Stem]));
  end;
  Add('end.');
  Result := FOut.Text;
end;

function WriteUnit(ATable: TgenTable; const ASource, AHandText: string): string;
var
  Writer: TWriter;
begin
  Writer := TWriter.Create(ATable);
  try
    Result := Writer.Run(ASource, AHandText);
  finally
    Writer.Free;
  end;
end;

end.
