{ Show what can be reached by name through the registered class infos.

    orvinspect TStringList     the class's features in declaration order
    orvinspect --all           one line per registered class, with totals

  A name that is not registered gets the registry's answer and exit code 1. }
program orvinspect;

{$I ../../metadata/orvdefines.inc}

uses
  Classes, SysUtils,
  orvane_d5, // links and starts every binding, as the IDE does for a project
  Orvmetadump;

procedure Run;
var
  Lines: TStringList;
  I: Integer;
begin
  if ParamCount = 0 then
  begin
    WriteLn('usage: orvinspect CLASSNAME... | --all');
    Halt(2);
  end;
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
  try
    Run;
  except
    on E: Exception do
    begin
      WriteLn(ErrOutput, E.Message);
      ExitCode := 1;
    end;
  end;
end.
