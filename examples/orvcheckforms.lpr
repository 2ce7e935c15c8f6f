{ How an application checks the links in its own form files: a small test
  program that links the application's own bound components (here the
  demo's thermostat and display, registered by Orvdemodevices) and runs the
  form checker with them, so it knows every class the forms use.

    orvcheckforms [FILE.lfm ...]     (default: the link demo's form file)

  Prints the checker's report; exit code 1 when a link is broken. The
  stand-alone tools/check/orvcheck knows only the package's classes and
  would report the demo's thermostat and display as unknown. }
program orvcheckforms;

{$I ../package/orvdefines.inc}

uses
  Classes, SysUtils,
  Interfaces,     // the widgetset that the bound control classes need linked
  orvane_d5,      // the package's bindings
  Orvdemodevices, // the application's own: registers TThermostat and TDisplay
  Orvlinkcheck;   // the checker, from tools/check

var
  Report: TStringList;
  Total: TorvCheckCounts;
  I: Integer;
begin
  Report := TStringList.Create;
  try
    Total := Default(TorvCheckCounts);
    if ParamCount = 0 then
      AddCounts(Total, CheckFormFile(ExtractFilePath(ParamStr(0)) + 'orvlinkdemomodule.lfm', Report))
    else
      for I := 1 to ParamCount do
        AddCounts(Total, CheckFormFile(ParamStr(I), Report));
    Write(Report.Text);
    WriteLn(SummaryLine(Total));
  finally
    Report.Free;
  end;
  if Total.Broken > 0 then
    ExitCode := 1;
end.
