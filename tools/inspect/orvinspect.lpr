{ Show what can be reached by name through the registered class infos.

    orvinspect TStringList     the class's features in declaration order
    orvinspect --all           one line per registered class, with totals
    orvinspect --help | --version

  A name that is not registered gets the registry's answer and exit code 1;
  a command line it does not understand, its usage and exit code 2. }
program orvinspect;

{$I ../../package/orvdefines.inc}

uses
  Classes, SysUtils,
  Interfaces, // the widgetset that the bound control classes need linked
  orvane_d5, // links and starts every binding, as the IDE does for a project
  Orvmetadump;

resourcestring
  rsUsage =
    'usage: orvinspect CLASSNAME... | --all | --help | --version' + LineEnding +
    LineEnding +
    '  CLASSNAME   list the features of a registered class in declaration order:' + LineEnding +
    '              kind, name(parameters), styles, visibility, declaring binding' + LineEnding +
    '  --all       one line per registered class: own and total feature counts' + LineEnding +
    '  --help      show this text' + LineEnding +
    '  --version   show the version' + LineEnding +
    LineEnding +
    'Class names are those registered by the orvane_d5 package (the RTL and LCL' + LineEnding +
    'classes it binds, TObject, TInterfacedObject, TorvVariable), compared' + LineEnding +
    'ignoring letter case. An application''s own bindings are not linked here.';
  rsVersion = 'orvinspect (Orvane Suite, orvane_d5 %s)';
  rsUnknownOption = 'orvinspect: unknown option %s';

const
  PackageVersion = '1.1';

{ Answer the exit code of a command line made of options only, or -1 when
  it names classes to describe. }
function RunOptions: Integer;
var
  I: Integer;
begin
  Result := -1;
  if ParamCount = 0 then
  begin
    WriteLn(ErrOutput, rsUsage);
    Exit(2);
  end;
  for I := 1 to ParamCount do
    if (ParamStr(I) = '--help') or (ParamStr(I) = '-h') then
    begin
      WriteLn(rsUsage);
      Exit(0);
    end
    else if ParamStr(I) = '--version' then
    begin
      WriteLn(Format(rsVersion, [PackageVersion]));
      Exit(0);
    end
    else if (Copy(ParamStr(I), 1, 1) = '-') and (ParamStr(I) <> '--all') then
    begin
      WriteLn(ErrOutput, Format(rsUnknownOption, [ParamStr(I)]));
      WriteLn(ErrOutput, rsUsage);
      Exit(2);
    end;
end;

procedure Describe;
var
  Lines: TStringList;
  I: Integer;
begin
  Lines := TStringList.Create;
  try
    for I := 1 to ParamCount do
      if ParamStr(I) = '--all' then
        DescribeAll(Lines)
      else
        DescribeClass(ParamStr(I), Lines);
    Write(Lines.Text);
  finally
    Lines.Free;
  end;
end;

begin
  ExitCode := RunOptions;
  if ExitCode >= 0 then
    Exit;
  ExitCode := 0;
  try
    Describe;
  except
    on E: Exception do
    begin
      WriteLn(ErrOutput, E.Message);
      ExitCode := 1;
    end;
  end;
end.
