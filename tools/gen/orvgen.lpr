{ The binding generator: reads binding tables and writes binding units.

    orvgen --types=tools/gen/types.tbl --out=bindings TABLE...
    orvgen --check --types=... --out=... TABLE...

  A unit goes to the folder given by --out, named after its unit line in
  lower case, unless its table names an output file (relative to the
  table's folder). With --check nothing is written: every unit that differs
  from what its table makes is named, and the exit code is 1. }
program orvgen;

{$I ../../package/orvdefines.inc}

uses
  Classes, SysUtils,
  Orvgentable, Orvgenwrite;

type
  TOptions = record
    Check: Boolean;
    TypesFile: string;
    OutDir: string;
    Tables: TStringList;
  end;

function ReadOptions: TOptions;
var
  I: Integer;
  A: string;
begin
  Result.Check := False;
  Result.TypesFile := '';
  Result.OutDir := '.';
  Result.Tables := TStringList.Create;
  for I := 1 to ParamCount do
  begin
    A := ParamStr(I);
    if A = '--check' then
      Result.Check := True
    else if Copy(A, 1, 8) = '--types=' then
      Result.TypesFile := Copy(A, 9, MaxInt)
    else if Copy(A, 1, 6) = '--out=' then
      Result.OutDir := Copy(A, 7, MaxInt)
    else if Copy(A, 1, 2) = '--' then
      raise EgenError.CreateFmt('unknown option %s', [A])
    else
      Result.Tables.Add(A);
  end;
  if Result.Tables.Count = 0 then
    raise EgenError.Create('usage: orvgen [--check] [--types=FILE] [--out=DIR] TABLE...');
end;

function ReadText(const AFileName: string): string;
var
  Stream: TStringStream;
begin
  Stream := TStringStream.Create('');
  try
    Stream.LoadFromFile(AFileName);
    Result := Stream.DataString;
  finally
    Stream.Free;
  end;
end;

procedure WriteText(const AFileName, AText: string);
var
  Stream: TStringStream;
begin
  Stream := TStringStream.Create(AText);
  try
    Stream.SaveToFile(AFileName);
  finally
    Stream.Free;
  end;
end;

function OutputOf(ATable: TgenTable; const AOutDir: string): string;
begin
  if ATable.Output <> '' then
    Result := ConcatPaths([ExtractFileDir(ATable.FileName), ATable.Output])
  else
    Result := ConcatPaths([AOutDir, LowerCase(ATable.UnitLine) + '.pas']);
end;

{ Make one table's unit; answer False when checking finds it differs. }
function MakeUnit(const ATableFile: string; const AOptions: TOptions; ATypes: TStrings): Boolean;
var
  Table: TgenTable;
  Target, Text, Hand, HandText: string;
begin
  Table := LoadTable(ATableFile, ATypes);
  try
    Target := OutputOf(Table, AOptions.OutDir);
    Hand := ConcatPaths([ExtractFileDir(Target), LowerCase(Table.UnitLine) + 'hand.inc']);
    if Table.Hand and not FileExists(Hand) then
      raise EgenError.CreateFmt('%s: the table says hand, and %s is missing', [ATableFile, Hand]);
    HandText := '';
    if Table.Hand then
      HandText := ReadText(Hand);
    Text := WriteUnit(Table, ATableFile, HandText);
  finally
    Table.Free;
  end;
  Result := True;
  if AOptions.Check then
  begin
    if not FileExists(Target) or (ReadText(Target) <> Text) then
    begin
      WriteLn(ErrOutput, Format('%s differs from what %s makes: run make generate, and edit ' +
        'the table, not the generated unit', [Target, ATableFile]));
      Result := False;
    end;
  end
  else if not FileExists(Target) or (ReadText(Target) <> Text) then
    WriteText(Target, Text);
end;

var
  Options: TOptions;
  Types: TStringList;
  I: Integer;
  Clean: Boolean;
begin
  Options.Tables := nil;
  Types := TStringList.Create;
  try
    try
      Options := ReadOptions;
      if Options.TypesFile <> '' then
        LoadTypes(Options.TypesFile, Types);
      Clean := True;
      for I := 0 to Options.Tables.Count - 1 do
        if not MakeUnit(Options.Tables[I], Options, Types) then
          Clean := False;
      if not Clean then
        ExitCode := 1;
    except
      on E: Exception do
      begin
        WriteLn(ErrOutput, 'orvgen: ', E.Message);
        ExitCode := 2;
      end;
    end;
  finally
    Types.Free;
    Options.Tables.Free;
  end;
end.
