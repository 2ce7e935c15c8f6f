{ Check the links stored in text form files, without running the
  application they belong to.

    orvcheck FILE.lfm [FILE2.lfm ...]

  One line per link ("ok" or "broken: why"), a line per warning, and a last
  line "N links checked: K ok, B broken, W warnings". Exit code 0 when no
  link is broken, 1 when one is, 2 when a file cannot be read or is not a
  form file (the message names file and line) or the command line is wrong. }
program orvcheck;

{$I ../../metadata/orvdefines.inc}

uses
  Classes, SysUtils,
  orvane_d5, // links and starts every binding, so every registered class is known
  Orvlfm, Orvlinkcheck;

resourcestring
  rsUsage = 'usage: orvcheck FILE.lfm [FILE2.lfm ...]';
  rsFileFailed = '%s: %s';

{ Answer whether the command line is not a list of files. There are no
  options: anything that looks like one is a mistake. }
function Misused: Boolean;
var
  I: Integer;
begin
  Result := ParamCount = 0;
  for I := 1 to ParamCount do
    if Copy(ParamStr(I), 1, 1) = '-' then
      Result := True;
end;

function Run: Integer;
var
  Lines: TStringList;
  Total: TorvCheckCounts;
  I: Integer;
  Unreadable: Boolean;
begin
  if Misused then
  begin
    WriteLn(ErrOutput, rsUsage);
    Exit(2);
  end;
  Total := Default(TorvCheckCounts);
  Unreadable := False;
  Lines := TStringList.Create;
  try
    for I := 1 to ParamCount do
    begin
      Lines.Clear;
      // One bad file does not keep the others from being checked.
      try
        AddCounts(Total, CheckFormFile(ParamStr(I), Lines));
      except
        on E: EorvFormFileError do
        begin
          WriteLn(ErrOutput, E.Message);
          Unreadable := True;
        end;
        on E: Exception do
        begin
          WriteLn(ErrOutput, Format(rsFileFailed, [ParamStr(I), E.Message]));
          Unreadable := True;
        end;
      end;
      Write(Lines.Text);
    end;
    WriteLn(SummaryLine(Total));
  finally
    Lines.Free;
  end;
  if Unreadable then
    Result := 2
  else if Total.Broken > 0 then
    Result := 1
  else
    Result := 0;
end;

begin
  ExitCode := Run;
end.
