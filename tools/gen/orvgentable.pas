{ What a binding table says, read into a model that the writer walks.

  The model keeps every member's host type and conversion kind, not only the
  text to emit: the writer derives the descriptor strings, the dispatch and
  the event handlers from the same record, and typed accessors can be
  derived from it later without reading the tables again. }
unit Orvgentable;

{$I ../../package/orvdefines.inc}

interface

uses
  Classes, SysUtils, Contnrs;

type
  { How a host type crosses into and out of a variant. }
  TgenKind = (tkUnknown, tkInt, tkInt64, tkEnum, tkBool, tkStr, tkWideStr, tkChar, tkFloat,
    tkCurrency, tkObject, tkClass, tkPointer, tkIntf, tkBuffer, tkUntyped);

  TgenParamMode = (pmValue, pmConst, pmVar, pmOut);

  { One Pascal parameter with its conversion kind. }
  TgenParam = record
    Name: string;
    TypeName: string;
    Kind: TgenKind;
    Mode: TgenParamMode;
  end;
  TgenParams = array of TgenParam;

  TgenMemberKind = (mkProp, mkOverProp, mkMeth, mkCtor, mkEvent, mkOverEvent, mkField);

  { One line of a binding: a feature, an Override entry or a field. }
  TgenMember = class
  public
    Kind: TgenMemberKind;
    Name: string;
    Params: TgenParams;     // indexes, arguments or event parameters
    Readable, Writable: Boolean;
    Visibility: string;     // pvPublic, pvProtected, pvPublished
    OverStyle: string;      // the style text of an Override entry
    TypeName: string;       // property type, function result or event type
    Kind_: TgenKind;        // conversion kind of TypeName
    IsFunction: Boolean;
    Hand, HandHook, Missing: Boolean;
    Why: string;            // of a missing member
    AsExpr: string;         // a different host expression
    Required: string;       // ",A,B," arguments that must not be empty
    Comment: string;        // goes beside the member in the code
    FieldDecl: string;      // of a field line: "FName: Type"
    ResultType: string;     // what an event of a function type answers
    Doc: string;            // the table's comment lines just above
    Line: Integer;
    { Position among the binding's own features of its kind: the feature's
      local id. }
    Ordinal: Integer;
    function HasVarParams: Boolean;
    function IsIndexed: Boolean;
  end;

  { One binding: a host class, its parent binding and its members. }
  TgenBinding = class
  public
    HostName: string;       // TList
    ParentName: string;     // TObject
    CastName: string;       // the class the owner is taken as
    Members: TObjectList;
    Line: Integer;
    Doc: string;            // the table's comment lines just above
    constructor Create;
    destructor Destroy; override;
    function Member(AIndex: Integer): TgenMember;
    function Count(AKind: TgenMemberKind): Integer;
    { TList -> List: the stem of the binding's own identifiers. }
    function Stem: string;
    function InfoName: string;
    function ParentInfoName: string;
    function HostType: string;
  end;

  { A table: one generated unit. }
  TgenTable = class
  public
    FileName: string;
    UnitLine: string;
    Comment: TStringList;   // the unit's leading comment lines
    Uses_: string;
    ImplUses: string;
    Hand: Boolean;
    Output: string;         // where the unit goes, when the table says
    Bindings: TObjectList;
    Types: TStringList;     // lower-case name=kind, global and local
    constructor Create;
    destructor Destroy; override;
    function Binding(AIndex: Integer): TgenBinding;
    function KindOf(const ATypeName: string): TgenKind;
  end;

  EgenError = class(Exception);

{ Return the kind named by a kind word of a table, or tkUnknown. }
function KindOfWord(const AWord: string): TgenKind;
{ Read the global type map AFileName into ATypes (name=kind lines). }
procedure LoadTypes(const AFileName: string; ATypes: TStrings);
{ Read the table AFileName, resolving host types through AGlobalTypes. }
function LoadTable(const AFileName: string; AGlobalTypes: TStrings): TgenTable;

implementation

const
  KindWords: array[TgenKind] of string = ('', 'int', 'int64', 'enum', 'bool', 'str', 'widestr',
    'char', 'float', 'currency', 'object', 'class', 'pointer', 'intf', 'buffer', 'untyped');

function KindOfWord(const AWord: string): TgenKind;
var
  K: TgenKind;
begin
  for K := Succ(tkUnknown) to High(K) do
    if KindWords[K] = AWord then
      Exit(K);
  Result := tkUnknown;
end;

{ TgenMember }

function TgenMember.HasVarParams: Boolean;
var
  I: Integer;
begin
  for I := 0 to High(Params) do
    if Params[I].Mode in [pmVar, pmOut] then
      Exit(True);
  Result := False;
end;

function TgenMember.IsIndexed: Boolean;
begin
  Result := Length(Params) > 0;
end;

{ TgenBinding }

constructor TgenBinding.Create;
begin
  inherited Create;
  Members := TObjectList.Create(True);
end;

destructor TgenBinding.Destroy;
begin
  Members.Free;
  inherited Destroy;
end;

function TgenBinding.Member(AIndex: Integer): TgenMember;
begin
  Result := TgenMember(Members[AIndex]);
end;

function TgenBinding.Count(AKind: TgenMemberKind): Integer;
var
  I: Integer;
begin
  Result := 0;
  for I := 0 to Members.Count - 1 do
    if Member(I).Kind = AKind then
      Inc(Result);
end;

function TgenBinding.Stem: string;
begin
  Result := HostName;
  if (Length(Result) > 1) and (Result[1] = 'T') then
    Delete(Result, 1, 1);
end;

function TgenBinding.InfoName: string;
begin
  Result := HostName + 'ClassInfo';
end;

function TgenBinding.ParentInfoName: string;
begin
  Result := ParentName + 'ClassInfo';
end;

function TgenBinding.HostType: string;
begin
  if CastName <> '' then
    Result := CastName
  else
    Result := HostName;
end;

{ TgenTable }

constructor TgenTable.Create;
begin
  inherited Create;
  Bindings := TObjectList.Create(True);
  Types := TStringList.Create;
  Comment := TStringList.Create;
end;

destructor TgenTable.Destroy;
begin
  Bindings.Free;
  Types.Free;
  Comment.Free;
  inherited Destroy;
end;

function TgenTable.Binding(AIndex: Integer): TgenBinding;
begin
  Result := TgenBinding(Bindings[AIndex]);
end;

function TgenTable.KindOf(const ATypeName: string): TgenKind;
var
  S: string;
begin
  S := Types.Values[LowerCase(ATypeName)];
  if S = '' then
    Result := tkUnknown
  else
    Result := KindOfWord(S);
end;

{ Reading }

type
  { The words of one table line, with what followed "//" and quoted texts
    kept whole. }
  TLineReader = class
  private
    FText: string;
    FPos: Integer;
    FFile: string;
    FLine: Integer;
  public
    constructor Create(const AText, AFile: string; ALine: Integer);
    procedure Fail(const AMessage: string);
    procedure SkipBlanks;
    function AtEnd: Boolean;
    function Peek: Char;
    { The next word: letters, digits and the characters of a type or an
      expression, up to a blank, "(" or ":". }
    function Word: string;
    function Quoted: string;
    function Rest: string;
    procedure Expect(AChar: Char);
    function TryChar(AChar: Char): Boolean;
    function Upto(AChar: Char): string;
    { The text up to the next blank. }
    function ToBlank: string;
  end;

constructor TLineReader.Create(const AText, AFile: string; ALine: Integer);
begin
  inherited Create;
  FText := AText;
  FPos := 1;
  FFile := AFile;
  FLine := ALine;
end;

procedure TLineReader.Fail(const AMessage: string);
begin
  raise EgenError.CreateFmt('%s:%d: %s', [FFile, FLine, AMessage]);
end;

procedure TLineReader.SkipBlanks;
begin
  while (FPos <= Length(FText)) and (FText[FPos] in [' ', #9]) do
    Inc(FPos);
end;

function TLineReader.AtEnd: Boolean;
begin
  SkipBlanks;
  Result := FPos > Length(FText);
end;

function TLineReader.Peek: Char;
begin
  SkipBlanks;
  if FPos > Length(FText) then
    Result := #0
  else
    Result := FText[FPos];
end;

function TLineReader.Word: string;
var
  Start: Integer;
begin
  SkipBlanks;
  Start := FPos;
  while (FPos <= Length(FText)) and not (FText[FPos] in [' ', #9, '(', ')', ':', ';', ',']) do
    Inc(FPos);
  Result := Copy(FText, Start, FPos - Start);
end;

function TLineReader.Quoted: string;
var
  Start: Integer;
begin
  Expect('"');
  Start := FPos;
  while (FPos <= Length(FText)) and (FText[FPos] <> '"') do
    Inc(FPos);
  if FPos > Length(FText) then
    Fail('unterminated quoted text');
  Result := Copy(FText, Start, FPos - Start);
  Inc(FPos);
end;

function TLineReader.Rest: string;
begin
  SkipBlanks;
  Result := Trim(Copy(FText, FPos, MaxInt));
  FPos := Length(FText) + 1;
end;

procedure TLineReader.Expect(AChar: Char);
begin
  if not TryChar(AChar) then
    Fail(Format('"%s" expected', [AChar]));
end;

function TLineReader.TryChar(AChar: Char): Boolean;
begin
  Result := Peek = AChar;
  if Result then
    Inc(FPos);
end;

function TLineReader.Upto(AChar: Char): string;
var
  Start: Integer;
begin
  Start := FPos;
  while (FPos <= Length(FText)) and (FText[FPos] <> AChar) do
    Inc(FPos);
  if FPos > Length(FText) then
    Fail(Format('"%s" expected', [AChar]));
  Result := Copy(FText, Start, FPos - Start);
  Inc(FPos);
end;

function TLineReader.ToBlank: string;
var
  Start: Integer;
begin
  SkipBlanks;
  Start := FPos;
  while (FPos <= Length(FText)) and not (FText[FPos] in [' ', #9]) do
    Inc(FPos);
  Result := Copy(FText, Start, FPos - Start);
end;

{ Split off a "#" comment (outside quotes) and a "//" comment. }
procedure SplitComment(const ALine: string; out ACode, AComment: string);
var
  I: Integer;
  Quoted: Boolean;
begin
  Quoted := False;
  ACode := ALine;
  AComment := '';
  for I := 1 to Length(ALine) do
  begin
    if ALine[I] = '"' then
      Quoted := not Quoted
    else if not Quoted and (ALine[I] = '#') then
    begin
      ACode := Copy(ALine, 1, I - 1);
      Break;
    end
    else if not Quoted and (ALine[I] = '/') and (I < Length(ALine)) and (ALine[I + 1] = '/') then
    begin
      ACode := Copy(ALine, 1, I - 1);
      AComment := Trim(Copy(ALine, I + 2, MaxInt));
      Break;
    end;
  end;
  ACode := Trim(ACode);
end;

procedure LoadTypes(const AFileName: string; ATypes: TStrings);
var
  Lines: TStringList;
  I: Integer;
  Code, Comment, Name, KindWord: string;
  Reader: TLineReader;
begin
  Lines := TStringList.Create;
  try
    Lines.LoadFromFile(AFileName);
    for I := 0 to Lines.Count - 1 do
    begin
      SplitComment(Lines[I], Code, Comment);
      if Code = '' then
        Continue;
      Reader := TLineReader.Create(Code, AFileName, I + 1);
      try
        Name := Reader.Word;
        KindWord := Reader.Word;
        if (KindOfWord(KindWord) = tkUnknown) or not Reader.AtEnd then
          Reader.Fail('expected: TypeName kind');
        if (ATypes.IndexOfName(LowerCase(Name)) >= 0) and
          (ATypes.Values[LowerCase(Name)] <> KindWord)
        then
          Reader.Fail(Format('%s is listed twice, as %s and as %s', [Name,
            ATypes.Values[LowerCase(Name)], KindWord]));
        ATypes.Values[LowerCase(Name)] := KindWord;
      finally
        Reader.Free;
      end;
    end;
  finally
    Lines.Free;
  end;
end;

type
  { Reads one table into a TgenTable. }
  TTableReader = class
  private
    FTable: TgenTable;
    FBinding: TgenBinding;
    FReader: TLineReader;
    FComment: string;
    FLine: Integer;
    FPending: string;       // comment lines since the last line of code
    procedure NeedBinding;
    function ResolveKind(const ATypeName: string): TgenKind;
    function ReadVisibility(ADefault: string): string;
    function ReadParams: TgenParams;
    procedure ReadFlags(AMember: TgenMember);
    function NewMember(AKind: TgenMemberKind): TgenMember;
    procedure CheckUnique(AMember: TgenMember);
    procedure ReadBinding;
    procedure ReadProp;
    procedure ReadOver;
    procedure ReadMeth;
    procedure ReadCtor;
    procedure ReadEvent;
    procedure ReadField;
    procedure ReadType;
  public
    procedure ReadLine(const ALine: string; ALineNo: Integer);
    property Table: TgenTable read FTable write FTable;
  end;

procedure TTableReader.NeedBinding;
begin
  if FBinding = nil then
    FReader.Fail('a member line before the first binding line');
end;

function TTableReader.ResolveKind(const ATypeName: string): TgenKind;
begin
  Result := FTable.KindOf(ATypeName);
  if Result = tkUnknown then
    FReader.Fail(Format('no kind for the type %s: add it to tools/gen/types.tbl or a type line',
      [ATypeName]));
end;

function TTableReader.ReadVisibility(ADefault: string): string;
var
  Save: Integer;
  W: string;
begin
  Save := FReader.FPos;
  W := FReader.Word;
  if W = 'pub' then
    Result := 'pvPublic'
  else if W = 'prot' then
    Result := 'pvProtected'
  else if W = 'publ' then
    Result := 'pvPublished'
  else
  begin
    FReader.FPos := Save;
    Result := ADefault;
  end;
end;

function TTableReader.ReadParams: TgenParams;
var
  Group: TStringList;
  Mode: TgenParamMode;
  W, TypeName: string;
  I, N: Integer;
begin
  Result := nil;
  if not FReader.TryChar('(') then
    Exit;
  if FReader.TryChar(')') then
    Exit;
  Group := TStringList.Create;
  try
    repeat
      Mode := pmValue;
      W := FReader.Word;
      if W = 'const' then
        Mode := pmConst
      else if W = 'var' then
        Mode := pmVar
      else if W = 'out' then
        Mode := pmOut
      else if W = 'constref' then
        Mode := pmConst;
      if Mode <> pmValue then
        W := FReader.Word;
      Group.Clear;
      Group.Add(W);
      while FReader.TryChar(',') do
        Group.Add(FReader.Word);
      if FReader.TryChar(':') then
        TypeName := FReader.Word
      else
        // An untyped parameter of the host, written without a type.
        TypeName := 'untyped';
      if (Group[0] = '') or (TypeName = '') then
        FReader.Fail('a parameter list in Pascal form expected');
      for I := 0 to Group.Count - 1 do
      begin
        N := Length(Result);
        SetLength(Result, N + 1);
        Result[N].Name := Group[I];
        Result[N].TypeName := TypeName;
        Result[N].Mode := Mode;
        if TypeName = 'untyped' then
          Result[N].Kind := tkUntyped
        else
          Result[N].Kind := ResolveKind(TypeName);
      end;
    until not FReader.TryChar(';');
    FReader.Expect(')');
  finally
    Group.Free;
  end;
end;

procedure TTableReader.ReadFlags(AMember: TgenMember);
var
  W: string;
begin
  while not FReader.AtEnd do
  begin
    W := FReader.Word;
    if W = 'hand' then
      AMember.Hand := True
    else if W = 'hand-hook' then
      AMember.HandHook := True
    else if W = 'missing' then
    begin
      AMember.Missing := True;
      if FReader.Peek = '"' then
        AMember.Why := FReader.Quoted;
    end
    else if W = 'required' then
    begin
      AMember.Required := ',' + StringReplace(FReader.ToBlank, ' ', '', [rfReplaceAll]) + ',';
      if AMember.Required = ',,' then
        FReader.Fail('argument names expected after "required"');
    end
    else if W = 'kind' then
    begin
      AMember.Kind_ := KindOfWord(FReader.Word);
      if AMember.Kind_ = tkUnknown then
        FReader.Fail('a kind expected after "kind"');
    end
    else if W = 'as' then
    begin
      AMember.AsExpr := FReader.ToBlank;
      if AMember.AsExpr = '' then
        FReader.Fail('an expression expected after "as"');
    end
    else
      FReader.Fail(Format('unknown flag "%s"', [W]));
  end;
end;

function TTableReader.NewMember(AKind: TgenMemberKind): TgenMember;
begin
  NeedBinding;
  Result := TgenMember.Create;
  Result.Kind := AKind;
  Result.Line := FLine;
  Result.Comment := FComment;
  Result.Visibility := 'pvPublic';
  Result.Ordinal := FBinding.Count(AKind);
  Result.Doc := FPending;
  FBinding.Members.Add(Result);
end;

procedure TTableReader.CheckUnique(AMember: TgenMember);
var
  I: Integer;
  Other: TgenMember;
begin
  for I := 0 to FBinding.Members.Count - 2 do
  begin
    Other := FBinding.Member(I);
    if (Other.Kind = AMember.Kind) and SameText(Other.Name, AMember.Name) then
      FReader.Fail(Format('%s is declared twice in %s (line %d)', [AMember.Name,
        FBinding.HostName, Other.Line]));
  end;
end;

procedure TTableReader.ReadBinding;
var
  B: TgenBinding;
begin
  B := TgenBinding.Create;
  FTable.Bindings.Add(B);
  B.Line := FLine;
  B.Doc := FPending;
  B.HostName := FReader.Word;
  FReader.Expect(':');
  B.ParentName := FReader.Word;
  if B.ParentName = '' then
    FReader.Fail('binding Name : Parent expected');
  if not FReader.AtEnd then
  begin
    if FReader.Word <> 'cast' then
      FReader.Fail('"cast Class" expected');
    B.CastName := FReader.Word;
  end;
  if not FReader.AtEnd then
    FReader.Fail('unexpected text after the binding line');
  FBinding := B;
end;

procedure TTableReader.ReadProp;
var
  M: TgenMember;
  Access: string;
begin
  M := NewMember(mkProp);
  M.Name := FReader.Word;
  M.Params := ReadParams;
  Access := FReader.Word;
  if Access = 'r' then
    M.Readable := True
  else if Access = 'w' then
    M.Writable := True
  else if Access = 'rw' then
  begin
    M.Readable := True;
    M.Writable := True;
  end
  else
    FReader.Fail('r, rw or w expected');
  M.Visibility := ReadVisibility('pvPublic');
  M.TypeName := FReader.Word;
  if M.TypeName = '' then
    FReader.Fail('the property''s type expected');
  M.Kind_ := ResolveKind(M.TypeName);
  ReadFlags(M);
  CheckUnique(M);
end;

procedure TTableReader.ReadOver;
var
  What, Style: string;
  M: TgenMember;
begin
  What := FReader.Word;
  if What = 'prop' then
  begin
    M := NewMember(mkOverProp);
    M.Name := FReader.Word;
    M.Visibility := ReadVisibility('');
    if M.Visibility = '' then
      FReader.Fail('pub, prot or publ expected');
    Style := '-';
    if not FReader.AtEnd then
      Style := FReader.Word;
    if Style = '-' then
      M.OverStyle := ''
    else if Style = 'w' then
      M.OverStyle := 'psWritable'
    else if Style = 'rw' then
      M.OverStyle := 'psReadable..psWritable'
    else if Style = 'r' then
      M.OverStyle := 'psReadable'
    else
      FReader.Fail('-, r, w or rw expected');
  end
  else if What = 'event' then
  begin
    M := NewMember(mkOverEvent);
    M.Name := FReader.Word;
    M.Visibility := ReadVisibility('');
    if M.Visibility = '' then
      FReader.Fail('pub, prot or publ expected');
  end
  else
    FReader.Fail('over prop or over event expected');
  if not FReader.AtEnd then
    FReader.Fail('unexpected text after an Override entry');
end;

procedure TTableReader.ReadMeth;
var
  M: TgenMember;
begin
  M := NewMember(mkMeth);
  M.Name := FReader.Word;
  M.Params := ReadParams;
  if FReader.TryChar(':') then
  begin
    M.IsFunction := True;
    M.TypeName := FReader.Word;
    M.Kind_ := ResolveKind(M.TypeName);
  end;
  ReadFlags(M);
  CheckUnique(M);
end;

procedure TTableReader.ReadCtor;
var
  M: TgenMember;
  N: Integer;
begin
  M := NewMember(mkCtor);
  M.Name := FReader.Word;
  if FReader.TryChar('(') and not FReader.TryChar(')') then
  begin
    repeat
      N := Length(M.Params);
      SetLength(M.Params, N + 1);
      M.Params[N].Name := FReader.Word;
    until not FReader.TryChar(',');
    FReader.Expect(')');
  end;
  if not FReader.AtEnd then
    FReader.Fail('a constructor lists names only');
end;

procedure TTableReader.ReadEvent;
var
  M: TgenMember;
begin
  M := NewMember(mkEvent);
  M.Name := FReader.Word;
  M.Params := ReadParams;
  if FReader.TryChar(':') then
  begin
    // An event that answers the host (a function type).
    M.IsFunction := True;
    M.Kind_ := tkUnknown;
    M.ResultType := FReader.Word;
  end;
  M.Visibility := ReadVisibility('pvPublic');
  M.TypeName := FReader.Word;
  if M.TypeName = '' then
    FReader.Fail('the event''s host type expected');
  ReadFlags(M);
  CheckUnique(M);
end;

procedure TTableReader.ReadField;
var
  M: TgenMember;
begin
  M := NewMember(mkField);
  M.FieldDecl := FReader.Rest;
  M.Name := Trim(Copy(M.FieldDecl, 1, Pos(':', M.FieldDecl + ':') - 1));
  if (M.Name = '') or (Pos(':', M.FieldDecl) = 0) then
    FReader.Fail('field FName: Type expected');
  CheckUnique(M);
end;

procedure TTableReader.ReadType;
var
  Name, KindWord: string;
begin
  Name := FReader.Word;
  KindWord := FReader.Word;
  if KindOfWord(KindWord) = tkUnknown then
    FReader.Fail('type Name kind expected');
  FTable.Types.Values[LowerCase(Name)] := KindWord;
end;

procedure TTableReader.ReadLine(const ALine: string; ALineNo: Integer);
var
  Code, Keyword: string;
begin
  SplitComment(ALine, Code, FComment);
  if Code = '' then
  begin
    // A leading comment of the table before the unit line goes on top of
    // the generated unit; one just above a binding or a field goes above it.
    if (Trim(ALine) <> '') and (Trim(ALine)[1] = '#') then
    begin
      if FTable.UnitLine = '' then
        FTable.Comment.Add(Trim(Copy(Trim(ALine), 2, MaxInt)))
      else
        FPending := Trim(FPending + ' ' + Trim(Copy(Trim(ALine), 2, MaxInt)));
    end
    else
      FPending := '';
    Exit;
  end;
  FLine := ALineNo;
  FReader := TLineReader.Create(Code, FTable.FileName, ALineNo);
  try
    Keyword := FReader.Word;
    if Keyword = 'unit' then
      FTable.UnitLine := FReader.Word
    else if Keyword = 'uses' then
      FTable.Uses_ := FReader.Rest
    else if Keyword = 'impl-uses' then
      FTable.ImplUses := FReader.Rest
    else if Keyword = 'hand' then
      FTable.Hand := True
    else if Keyword = 'output' then
      FTable.Output := FReader.Rest
    else if Keyword = 'type' then
      ReadType
    else if Keyword = 'binding' then
      ReadBinding
    else if Keyword = 'prop' then
      ReadProp
    else if Keyword = 'over' then
      ReadOver
    else if Keyword = 'meth' then
      ReadMeth
    else if Keyword = 'ctor' then
      ReadCtor
    else if Keyword = 'event' then
      ReadEvent
    else if Keyword = 'field' then
      ReadField
    else
      FReader.Fail(Format('unknown line "%s"', [Keyword]));
  finally
    FreeAndNil(FReader);
    FPending := '';
  end;
end;

function LoadTable(const AFileName: string; AGlobalTypes: TStrings): TgenTable;
var
  Lines: TStringList;
  Reader: TTableReader;
  I: Integer;
begin
  Result := TgenTable.Create;
  Lines := TStringList.Create;
  Reader := TTableReader.Create;
  try
    Result.FileName := AFileName;
    Result.Types.Assign(AGlobalTypes);
    Lines.LoadFromFile(AFileName);
    Reader.Table := Result;
    for I := 0 to Lines.Count - 1 do
      Reader.ReadLine(Lines[I], I + 1);
    if Result.UnitLine = '' then
      raise EgenError.CreateFmt('%s: no unit line', [AFileName]);
  except
    Reader.Free;
    Lines.Free;
    Result.Free;
    raise;
  end;
  Reader.Free;
  Lines.Free;
end;

end.
