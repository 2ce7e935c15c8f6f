{ The link application: a window whose controls are wired together only by
  the links in its form file (see orvlinkappform.lfm); it has no event
  handler of its own.

  Run plainly, it opens the window for a person to try. Run with
  --self-check (make example does so when there is no display or CI is
  set, under xvfb-run), it works the window as a person would, checks every
  outcome, saves a picture of the window to docs/orvlinkapp.png, prints
  what happened and exits with 0 only when everything held. }
program orvlinkapp;

{$I ../package/orvdefines.inc}

uses
  Interfaces, Classes, SysUtils, Forms,
  orvane_d5, // links and starts every binding, as the IDE does for a project
  Orvlinkappform, Orvlinkappcheck;

const
  ScreenshotFile = 'docs/orvlinkapp.png';

function SelfCheckWanted: Boolean;
var
  I: Integer;
begin
  for I := 1 to ParamCount do
    if ParamStr(I) = '--self-check' then
      Exit(True);
  Result := False;
end;

{ Work the shown window, print the log and answer whether all held. }
function SelfCheck: Boolean;
var
  Log: TStringList;
  Check: TorvLinkAppCheck;
  Line: string;
begin
  Log := TStringList.Create;
  try
    Check := TorvLinkAppCheck.Create(LinkAppForm, Log);
    try
      Result := Check.Run;
      for Line in Log do
        WriteLn(Line);
      SaveScreenshot(LinkAppForm, ScreenshotFile);
      WriteLn('Saved a picture of the window to ', ScreenshotFile);
      if Result then
        WriteLn('Self-check passed: every link did what it should.')
      else
        WriteLn(Format('Self-check FAILED: %d outcomes did not hold.', [Check.Failures]));
    finally
      Check.Free;
    end;
  finally
    Log.Free;
  end;
end;

begin
  Application.Scaled := True;
  Application.Initialize;
  Application.CreateForm(TLinkAppForm, LinkAppForm);
  if not SelfCheckWanted then
  begin
    Application.Run;
    Exit;
  end;
  LinkAppForm.Show;
  if not SelfCheck then
    ExitCode := 1;
  // Freed here, not when the application object goes, so that the form is
  // gone before the package's units are finalized.
  FreeAndNil(LinkAppForm);
end.
