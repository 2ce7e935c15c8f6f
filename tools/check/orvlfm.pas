{ A text form file read into a tree, without creating any
  component: objects with their names, classes and properties, and property
  values kept in their written shape.

  The grammar is the one the RTL's ObjectTextToBinary reads. Values are not
  converted to the types of the properties, since the classes that give
  those types belong to the application and are not linked here: a string
  is decoded (quotes, #nn codes and + continuations joined), everything else
  keeps its text. }
unit Orvlfm;

{$I orvdefines.inc}

interface

uses
  Classes, SysUtils, Contnrs;

type
  { A form file that does not follow the grammar; the message begins with
    "file:line:". }
  EorvFormFileError = class(Exception);

  TorvFormValueKind = (fvString, fvNumber, fvIdent, fvSet, fvList, fvCollection, fvBinary);

  TorvFormProperties = class;

  { TorvFormValue }

  { One property value. Text is the decoded string of fvString, the
    written number, the identifier (True, nil and dotted component
    references included) or the hex digits of binary data. }
  TorvFormValue = class
  private
    FKind: TorvFormValueKind;
    FText: string;
    FLine: Integer;
    FElements: TFPObjectList;
    FItems: TFPObjectList;
    procedure AddElement(AValue: TorvFormValue);
    procedure AddItem(AItem: TorvFormProperties);
  public
    constructor Create(AKind: TorvFormValueKind; const AText: string; ALine: Integer);
    destructor Destroy; override;
    { The members of a set or the values of a list, in order. }
    function ElementCount: Integer;
    function Elements(AIndex: Integer): TorvFormValue;
    { The items of a collection, each with its own properties. }
    function ItemCount: Integer;
    function Items(AIndex: Integer): TorvFormProperties;
    property Kind: TorvFormValueKind read FKind;
    property Text: string read FText;
    property Line: Integer read FLine;
  end;

  { TorvFormProperty }

  TorvFormProperty = class
  private
    FName: string;
    FLine: Integer;
    FValue: TorvFormValue;
  public
    { Take ownership of AValue. }
    constructor Create(const AName: string; ALine: Integer; AValue: TorvFormValue);
    destructor Destroy; override;
    { The name as written, dotted for a property of a property (Font.Style). }
    property Name: string read FName;
    property Line: Integer read FLine;
    property Value: TorvFormValue read FValue;
  end;

  { TorvFormProperties }

  { The properties of an object or of a collection item, in file order. }
  TorvFormProperties = class
  private
    FList: TFPObjectList;
    FLine: Integer;
    procedure Add(AProperty: TorvFormProperty);
  public
    constructor Create(ALine: Integer);
    destructor Destroy; override;
    function Count: Integer;
    function Items(AIndex: Integer): TorvFormProperty;
    { Return the position of the property AName (letter case ignored, as the
      reader does), or -1. A name written twice is read twice, so the last
      one counts. }
    function IndexOf(const AName: string): Integer;
    { Return the value of the property AName, or nil when it is not written. }
    function Value(const AName: string): TorvFormValue;
    { The line of the object header or of the collection item. }
    property Line: Integer read FLine;
  end;

  TorvFormObjectKind = (foObject, foInherited, foInline);

  { TorvFormObject }

  { An object block: "object", "inherited" or "inline" NAME: CLASS. }
  TorvFormObject = class
  private
    FKind: TorvFormObjectKind;
    FName: string;
    FTypeName: string;
    FLine: Integer;
    FChildPos: Integer;
    FParent: TorvFormObject;
    FProperties: TorvFormProperties;
    FChildren: TFPObjectList;
  public
    constructor Create(AParent: TorvFormObject; AKind: TorvFormObjectKind;
      const AName, ATypeName: string; ALine: Integer);
    destructor Destroy; override;
    function ChildCount: Integer;
    function Children(AIndex: Integer): TorvFormObject;
    property Kind: TorvFormObjectKind read FKind;
    { The component name; empty when the block names only a class. }
    property Name: string read FName;
    { The class name as written. }
    property TypeName: string read FTypeName;
    property Line: Integer read FLine;
    { The position given as [n] after the class, or -1. }
    property ChildPos: Integer read FChildPos;
    property Parent: TorvFormObject read FParent;
    property Properties: TorvFormProperties read FProperties;
  end;

{ Read the text of a form file; AFileName only names it in error messages.
  Return the root object, which the caller frees. }
function ParseFormText(const AText, AFileName: string): TorvFormObject;

implementation

resourcestring
  rsFormFileError = '%s:%d: %s';
  rsBinaryFormFile = 'binary form file; convert it to text first';
  rsExpectedFound = '%s expected but %s found';
  rsEndOfFile = 'end of file';
  rsObjectNotClosed = 'end of file inside object %s, which starts on line %d';
  rsUnterminatedString = 'unterminated string';
  rsInvalidCharCode = 'invalid character code #%s';
  rsInvalidNumber = 'invalid number %s';
  rsInvalidValue = 'invalid property value %s';
  rsInvalidBinary = 'invalid character %s in binary data';
  rsOddBinary = 'binary data with an odd number of hex digits';
  rsTextAfterRoot = 'text after the end of the root object';

{ TorvFormValue }

constructor TorvFormValue.Create(AKind: TorvFormValueKind; const AText: string; ALine: Integer);
begin
  inherited Create;
  FKind := AKind;
  FText := AText;
  FLine := ALine;
  FElements := TFPObjectList.Create(True);
  FItems := TFPObjectList.Create(True);
end;

destructor TorvFormValue.Destroy;
begin
  FItems.Free;
  FElements.Free;
  inherited Destroy;
end;

function TorvFormValue.ElementCount: Integer;
begin
  Result := FElements.Count;
end;

function TorvFormValue.Elements(AIndex: Integer): TorvFormValue;
begin
  Result := TorvFormValue(FElements[AIndex]);
end;

function TorvFormValue.ItemCount: Integer;
begin
  Result := FItems.Count;
end;

function TorvFormValue.Items(AIndex: Integer): TorvFormProperties;
begin
  Result := TorvFormProperties(FItems[AIndex]);
end;

procedure TorvFormValue.AddElement(AValue: TorvFormValue);
begin
  FElements.Add(AValue);
end;

procedure TorvFormValue.AddItem(AItem: TorvFormProperties);
begin
  FItems.Add(AItem);
end;

{ TorvFormProperty }

constructor TorvFormProperty.Create(const AName: string; ALine: Integer; AValue: TorvFormValue);
begin
  inherited Create;
  FName := AName;
  FLine := ALine;
  FValue := AValue;
end;

destructor TorvFormProperty.Destroy;
begin
  FValue.Free;
  inherited Destroy;
end;

{ TorvFormProperties }

constructor TorvFormProperties.Create(ALine: Integer);
begin
  inherited Create;
  FLine := ALine;
  FList := TFPObjectList.Create(True);
end;

destructor TorvFormProperties.Destroy;
begin
  FList.Free;
  inherited Destroy;
end;

procedure TorvFormProperties.Add(AProperty: TorvFormProperty);
begin
  FList.Add(AProperty);
end;

function TorvFormProperties.Count: Integer;
begin
  Result := FList.Count;
end;

function TorvFormProperties.Items(AIndex: Integer): TorvFormProperty;
begin
  Result := TorvFormProperty(FList[AIndex]);
end;

function TorvFormProperties.IndexOf(const AName: string): Integer;
begin
  for Result := Count - 1 downto 0 do
    if SameText(Items(Result).Name, AName) then
      Exit;
  Result := -1;
end;

function TorvFormProperties.Value(const AName: string): TorvFormValue;
var
  I: Integer;
begin
  I := IndexOf(AName);
  if I < 0 then
    Result := nil
  else
    Result := Items(I).Value;
end;

{ TorvFormObject }

constructor TorvFormObject.Create(AParent: TorvFormObject; AKind: TorvFormObjectKind;
  const AName, ATypeName: string; ALine: Integer);
begin
  inherited Create;
  FParent := AParent;
  FKind := AKind;
  FName := AName;
  FTypeName := ATypeName;
  FLine := ALine;
  FChildPos := -1;
  FProperties := TorvFormProperties.Create(ALine);
  FChildren := TFPObjectList.Create(True);
  if AParent <> nil then
    AParent.FChildren.Add(Self);
end;

destructor TorvFormObject.Destroy;
begin
  FChildren.Free;
  FProperties.Free;
  inherited Destroy;
end;

function TorvFormObject.ChildCount: Integer;
begin
  Result := FChildren.Count;
end;

function TorvFormObject.Children(AIndex: Integer): TorvFormObject;
begin
  Result := TorvFormObject(FChildren[AIndex]);
end;

{ The lexer }

type
  TTokenKind = (tkEndOfFile, tkSymbol, tkString, tkNumber, tkChar);

  { The tokens of the grammar. A symbol takes in ".Name" parts that follow
    it without a space, as component references are written; a string is
    already decoded and joined with the strings glued to it. }
  TFormLexer = class
  private
    FText: string;
    FFileName: string;
    FPos: Integer;
    FLine: Integer;
    FKind: TTokenKind;
    FToken: string;
    FTokenLine: Integer;
    function Current: Char; inline;
    procedure SkipWhitespace;
    procedure ReadSymbol;
    procedure ReadNumber;
    procedure ReadString;
  public
    constructor Create(const AText, AFileName: string);
    procedure Next;
    procedure Fail(const AMessage: string; ALine: Integer = 0);
    function Describe: string;
    function IsSymbol(const AWord: string): Boolean;
    function IsChar(AChar: Char): Boolean;
    procedure Expect(AChar: Char);
    function ExpectSymbol: string;
    // Read the hex digits of binary data up to its closing brace (the lexer
    // stands after the opening one), then move on.
    function ReadBinary: string;
    property Kind: TTokenKind read FKind;
    property Token: string read FToken;
    property TokenLine: Integer read FTokenLine;
  end;

const
  SymbolStart = ['A'..'Z', 'a'..'z', '_'];
  SymbolChars = SymbolStart + ['0'..'9'];
  HexDigits = ['0'..'9', 'A'..'F', 'a'..'f'];
  Utf8Bom = #$EF#$BB#$BF;

constructor TFormLexer.Create(const AText, AFileName: string);
begin
  inherited Create;
  FText := AText;
  FFileName := AFileName;
  FPos := 1;
  FLine := 1;
  if Copy(FText, 1, Length(Utf8Bom)) = Utf8Bom then
    FPos := Length(Utf8Bom) + 1;
  Next;
end;

function TFormLexer.Current: Char;
begin
  if FPos <= Length(FText) then
    Result := FText[FPos]
  else
    Result := #0;
end;

procedure TFormLexer.Fail(const AMessage: string; ALine: Integer);
begin
  if ALine = 0 then
    ALine := FTokenLine;
  raise EorvFormFileError.CreateFmt(rsFormFileError, [FFileName, ALine, AMessage]);
end;

procedure TFormLexer.SkipWhitespace;
begin
  while FPos <= Length(FText) do
    case FText[FPos] of
      ' ', #9:
        Inc(FPos);
      #13:
        begin
          Inc(FPos);
          if Current = #10 then
            Inc(FPos);
          Inc(FLine);
        end;
      #10:
        begin
          Inc(FPos);
          Inc(FLine);
        end;
    else
      Break;
    end;
end;

procedure TFormLexer.ReadSymbol;
var
  Start: Integer;
begin
  Start := FPos;
  while Current in SymbolChars do
  begin
    Inc(FPos);
    // A reference to a component of another form or frame: Form2.Edit1.
    if (Current = '.') and (FPos < Length(FText)) and (FText[FPos + 1] in SymbolStart) then
      Inc(FPos);
  end;
  FKind := tkSymbol;
  FToken := Copy(FText, Start, FPos - Start);
end;

procedure TFormLexer.ReadNumber;
var
  Start: Integer;
begin
  Start := FPos;
  if Current = '-' then
    Inc(FPos);
  if Current = '$' then
  begin
    Inc(FPos);
    if not (Current in HexDigits) then
      Fail(Format(rsInvalidNumber, [Copy(FText, Start, FPos - Start)]));
    while Current in HexDigits do
      Inc(FPos);
  end
  else
  begin
    while Current in ['0'..'9'] do
      Inc(FPos);
    if Current = '.' then
    begin
      Inc(FPos);
      while Current in ['0'..'9'] do
        Inc(FPos);
    end;
    if Current in ['e', 'E'] then
    begin
      Inc(FPos);
      if Current in ['+', '-'] then
        Inc(FPos);
      if not (Current in ['0'..'9']) then
        Fail(Format(rsInvalidNumber, [Copy(FText, Start, FPos - Start)]));
      while Current in ['0'..'9'] do
        Inc(FPos);
    end;
    // The type letter of a single, date or currency value.
    if Current in ['s', 'S', 'd', 'D', 'c', 'C'] then
      Inc(FPos);
  end;
  FKind := tkNumber;
  FToken := Copy(FText, Start, FPos - Start);
end;

procedure TFormLexer.ReadString;
var
  Start, Code: Integer;
  Digits: string;
begin
  FToken := '';
  // Quoted parts and #nn codes with nothing between them are one string.
  while Current in ['''', '#'] do
    if Current = '''' then
    begin
      Inc(FPos);
      repeat
        Start := FPos;
        while not (Current in ['''', #0, #10, #13]) do
          Inc(FPos);
        if Current <> '''' then
          Fail(rsUnterminatedString);
        FToken := FToken + Copy(FText, Start, FPos - Start);
        Inc(FPos);
        // A doubled quote stands for one quote and the string goes on.
        if Current = '''' then
        begin
          FToken := FToken + '''';
          Inc(FPos);
        end
        else
          Break;
      until False;
    end
    else
    begin
      Inc(FPos);
      Start := FPos;
      while Current in ['0'..'9'] do
        Inc(FPos);
      Digits := Copy(FText, Start, FPos - Start);
      Code := StrToIntDef(Digits, -1);
      if (Code < 0) or (Code > $FFFF) then
        Fail(Format(rsInvalidCharCode, [Digits]));
      // Codes below 256 are bytes, as the RTL reads them; larger ones are
      // characters, kept as UTF-8 like the rest of the text.
      if Code < 256 then
        FToken := FToken + Chr(Code)
      else
        FToken := FToken + UTF8Encode(UnicodeString(WideChar(Code)));
    end;
  FKind := tkString;
end;

procedure TFormLexer.Next;
begin
  SkipWhitespace;
  FTokenLine := FLine;
  case Current of
    #0:
      if FPos > Length(FText) then
      begin
        FKind := tkEndOfFile;
        FToken := '';
      end
      else
      begin
        FKind := tkChar;
        FToken := #0;
        Inc(FPos);
      end;
    'A'..'Z', 'a'..'z', '_':
      ReadSymbol;
    '0'..'9', '$':
      ReadNumber;
    '-':
      if (FPos < Length(FText)) and (FText[FPos + 1] in ['0'..'9', '$']) then
        ReadNumber
      else
      begin
        FKind := tkChar;
        FToken := '-';
        Inc(FPos);
      end;
    '''', '#':
      ReadString;
  else
    FKind := tkChar;
    FToken := Current;
    Inc(FPos);
  end;
end;

function TFormLexer.Describe: string;
begin
  case FKind of
    tkEndOfFile: Result := rsEndOfFile;
    tkString: Result := QuotedStr(FToken);
  else
    Result := '"' + FToken + '"';
  end;
end;

function TFormLexer.IsSymbol(const AWord: string): Boolean;
begin
  Result := (FKind = tkSymbol) and SameText(FToken, AWord);
end;

function TFormLexer.IsChar(AChar: Char): Boolean;
begin
  Result := (FKind = tkChar) and (FToken = AChar);
end;

procedure TFormLexer.Expect(AChar: Char);
begin
  if not IsChar(AChar) then
    Fail(Format(rsExpectedFound, ['"' + AChar + '"', Describe]));
  Next;
end;

function TFormLexer.ExpectSymbol: string;
begin
  if FKind <> tkSymbol then
    Fail(Format(rsExpectedFound, ['identifier', Describe]));
  Result := FToken;
  Next;
end;

function TFormLexer.ReadBinary: string;
var
  StartLine: Integer;
begin
  Result := '';
  StartLine := FTokenLine;
  repeat
    SkipWhitespace;
    if Current in HexDigits then
    begin
      Result := Result + Current;
      Inc(FPos);
    end
    else if Current = '}' then
      Break
    else if FPos > Length(FText) then
      Fail(Format(rsExpectedFound, ['"}"', rsEndOfFile]), FLine)
    else
      Fail(Format(rsInvalidBinary, ['"' + Current + '"']), FLine);
  until False;
  if Odd(Length(Result)) then
    Fail(rsOddBinary, StartLine);
  Inc(FPos);
  Next;
end;

{ The parser }

type
  TFormParser = class
  private
    FLexer: TFormLexer;
    function ParseValue: TorvFormValue;
    function ParseString: TorvFormValue;
    procedure ParseProperty(AProperties: TorvFormProperties);
    procedure ParseCollection(AValue: TorvFormValue);
    function IsObjectStart: Boolean;
    function ParseObject(AParent: TorvFormObject): TorvFormObject;
  public
    constructor Create(ALexer: TFormLexer);
    function Parse: TorvFormObject;
  end;

constructor TFormParser.Create(ALexer: TFormLexer);
begin
  inherited Create;
  FLexer := ALexer;
end;

function TFormParser.ParseString: TorvFormValue;
var
  Text: string;
  Line: Integer;
begin
  Line := FLexer.TokenLine;
  Text := FLexer.Token;
  FLexer.Next;
  while FLexer.IsChar('+') do
  begin
    FLexer.Next;
    if FLexer.Kind <> tkString then
      FLexer.Fail(Format(rsExpectedFound, ['string', FLexer.Describe]));
    Text := Text + FLexer.Token;
    FLexer.Next;
  end;
  Result := TorvFormValue.Create(fvString, Text, Line);
end;

procedure TFormParser.ParseCollection(AValue: TorvFormValue);
var
  Item: TorvFormProperties;
begin
  while not FLexer.IsChar('>') do
  begin
    if not FLexer.IsSymbol('item') then
      FLexer.Fail(Format(rsExpectedFound, ['"item"', FLexer.Describe]));
    Item := TorvFormProperties.Create(FLexer.TokenLine);
    AValue.AddItem(Item);
    FLexer.Next;
    // Some writers give the item's position as [n].
    if FLexer.IsChar('[') then
    begin
      FLexer.Next;
      if FLexer.Kind <> tkNumber then
        FLexer.Fail(Format(rsExpectedFound, ['number', FLexer.Describe]));
      FLexer.Next;
      FLexer.Expect(']');
    end;
    while not FLexer.IsSymbol('end') do
      ParseProperty(Item);
    FLexer.Next;
  end;
  FLexer.Next;
end;

function TFormParser.ParseValue: TorvFormValue;
var
  Line: Integer;
begin
  Line := FLexer.TokenLine;
  case FLexer.Kind of
    tkString:
      Exit(ParseString);
    tkNumber:
      Result := TorvFormValue.Create(fvNumber, FLexer.Token, Line);
    tkSymbol:
      Result := TorvFormValue.Create(fvIdent, FLexer.Token, Line);
    tkChar:
      case FLexer.Token[1] of
        '[':
          begin
            Result := TorvFormValue.Create(fvSet, '', Line);
            try
              FLexer.Next;
              while not FLexer.IsChar(']') do
              begin
                if not (FLexer.Kind in [tkSymbol, tkNumber]) then
                  FLexer.Fail(Format(rsExpectedFound, ['identifier', FLexer.Describe]));
                Result.AddElement(TorvFormValue.Create(fvIdent, FLexer.Token, FLexer.TokenLine));
                FLexer.Next;
                if not FLexer.IsChar(']') then
                  FLexer.Expect(',');
              end;
            except
              Result.Free;
              raise;
            end;
          end;
        '(':
          begin
            Result := TorvFormValue.Create(fvList, '', Line);
            try
              FLexer.Next;
              while not FLexer.IsChar(')') do
                Result.AddElement(ParseValue());  // the bare name would be the result
            except
              Result.Free;
              raise;
            end;
          end;
        '<':
          begin
            Result := TorvFormValue.Create(fvCollection, '', Line);
            try
              FLexer.Next;
              ParseCollection(Result);
            except
              Result.Free;
              raise;
            end;
            Exit;
          end;
        '{':
          Exit(TorvFormValue.Create(fvBinary, FLexer.ReadBinary, Line));
      else
        FLexer.Fail(Format(rsInvalidValue, [FLexer.Describe]));
      end;
  else
    FLexer.Fail(Format(rsInvalidValue, [FLexer.Describe]));
  end;
  // The token after the value may already be malformed.
  try
    FLexer.Next;
  except
    Result.Free;
    raise;
  end;
end;

procedure TFormParser.ParseProperty(AProperties: TorvFormProperties);
var
  Name: string;
  Line: Integer;
begin
  Line := FLexer.TokenLine;
  if FLexer.Kind = tkEndOfFile then
    FLexer.Fail(Format(rsExpectedFound, ['"end"', rsEndOfFile]));
  Name := FLexer.ExpectSymbol;
  while FLexer.IsChar('.') do
  begin
    FLexer.Next;
    Name := Name + '.' + FLexer.ExpectSymbol;
  end;
  FLexer.Expect('=');
  AProperties.Add(TorvFormProperty.Create(Name, Line, ParseValue));
end;

function TFormParser.IsObjectStart: Boolean;
begin
  Result := FLexer.IsSymbol('object') or FLexer.IsSymbol('inherited') or FLexer.IsSymbol('inline');
end;

function TFormParser.ParseObject(AParent: TorvFormObject): TorvFormObject;
var
  Kind: TorvFormObjectKind;
  Line: Integer;
  First, Name, TypeName: string;
begin
  Line := FLexer.TokenLine;
  Kind := foObject;
  if FLexer.IsSymbol('inherited') then
    Kind := foInherited
  else if FLexer.IsSymbol('inline') then
    Kind := foInline
  else if not FLexer.IsSymbol('object') then
    FLexer.Fail(Format(rsExpectedFound, ['"object"', FLexer.Describe]));
  FLexer.Next;
  First := FLexer.ExpectSymbol;
  // "object TFoo" without a name is allowed; the class then comes first.
  if FLexer.IsChar(':') then
  begin
    FLexer.Next;
    Name := First;
    TypeName := FLexer.ExpectSymbol;
  end
  else
  begin
    Name := '';
    TypeName := First;
  end;
  Result := TorvFormObject.Create(AParent, Kind, Name, TypeName, Line);
  try
    if FLexer.IsChar('[') then
    begin
      FLexer.Next;
      if FLexer.Kind <> tkNumber then
        FLexer.Fail(Format(rsExpectedFound, ['number', FLexer.Describe]));
      Result.FChildPos := StrToIntDef(FLexer.Token, -1);
      FLexer.Next;
      FLexer.Expect(']');
    end;
    while not (FLexer.IsSymbol('end') or IsObjectStart) do
    begin
      if FLexer.Kind = tkEndOfFile then
        FLexer.Fail(Format(rsObjectNotClosed, [First, Line]));
      ParseProperty(Result.Properties);
    end;
    while not FLexer.IsSymbol('end') do
    begin
      if FLexer.Kind = tkEndOfFile then
        FLexer.Fail(Format(rsObjectNotClosed, [First, Line]));
      ParseObject(Result);
    end;
    FLexer.Next;
  except
    // A child is freed with its parent; only the root is freed here.
    if AParent = nil then
      Result.Free;
    raise;
  end;
end;

function TFormParser.Parse: TorvFormObject;
begin
  Result := ParseObject(nil);
  if FLexer.Kind <> tkEndOfFile then
  begin
    Result.Free;
    FLexer.Fail(rsTextAfterRoot);
  end;
end;

function ParseFormText(const AText, AFileName: string): TorvFormObject;
var
  Lexer: TFormLexer;
  Parser: TFormParser;
begin
  if Copy(AText, 1, 4) = 'TPF0' then
    raise EorvFormFileError.CreateFmt(rsFormFileError, [AFileName, 1, rsBinaryFormFile]);
  Lexer := TFormLexer.Create(AText, AFileName);
  try
    Parser := TFormParser.Create(Lexer);
    try
      Result := Parser.Parse;
    finally
      Parser.Free;
    end;
  finally
    Lexer.Free;
  end;
end;

end.
