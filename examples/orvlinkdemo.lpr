{ The link demo: a data module whose form file wires a thermostat to a
  display with links of all three kinds (see orvlinkdemomodule.lfm).

  The program only turns the thermostat up, twice; everything the display
  shows is the links' work:
    ShowTarget    copies Thermostat1.Target to Display1.Caption, when the
                  module is read and on each Thermostat1.OnChange;
    CountChanges  on Display1.OnChange calls Display1.Log(Caption, Count),
                  and writes the var parameter Count back to Display1.Count;
    WarnOnAlarm   on Thermostat1.OnAlarm sets Display1.Caption to 'ALARM';
    ConfirmAlarm  on Thermostat1.OnAlarm calls Display1.Confirm(Temperature,
                  Handled), and writes Handled back to the event, so the
                  thermostat takes a target above its limit;
    ShowLogSize   copies Log1.Count to Summary1.Caption on each change of the
                  list Log1 stands for, Display1's log, which the module's
                  OnCreate hands to Log1.
  Prints to the console and exits by itself; with --trace, every step of
  every link goes to the error output as well, one line each. }
program orvlinkdemo;

{$I ../package/orvdefines.inc}

uses
  Interfaces, Forms, Classes, SysUtils,
  orvane_d5, // links and starts every binding, as the IDE does for a project
  Orvtrace, Orvlinkdemomodule;

var
  Module: TLinkDemoModule;
  Trace: TorvTraceLog = nil;
  LinesShown: Integer = 0;

{ Print AStep and what the display shows now, with the lines logged since
  the last report. }
procedure Report(const AStep: string);
begin
  WriteLn(AStep);
  WriteLn(Format('  Thermostat1.Target = %g, Display1.Caption = ''%s'', Display1.Count = %d, ' +
    'Summary1.Caption = ''%s''', [Module.Thermostat1.Target, Module.Display1.Caption,
    Module.Display1.Count, Module.Summary1.Caption]));
  while LinesShown < Module.Display1.Lines.Count do
  begin
    WriteLn('  logged: ', Module.Display1.Lines[LinesShown]);
    Inc(LinesShown);
  end;
end;

begin
  // The widgetset opens a display here: without one, run under xvfb-run -a.
  Application.Initialize;
  // Started before the module is read, so that the connects are traced too.
  if Application.HasOption('trace') then
  begin
    Trace := TorvTraceLog.CreateStream(THandleStream.Create(StdErrorHandle), True);
    Trace.Start;
  end;
  // Reading the form file creates the components and the links; the
  // connection list connects the links once everything is read. Owned here,
  // not by Application, so that it is gone before the package's units are
  // finalized.
  Module := TLinkDemoModule.Create(nil);
  try
    Report(Format('Read %s with %d links: ShowTarget made its first copy, CountChanges logged it,' +
      LineEnding + '  ShowLogSize copied the log''s size when OnCreate gave Log1 the log',
      [Module.Name, Module.Links.GetConnectionCount]));
    Module.Thermostat1.Target := 22.5;
    Report('Target := 22.5: ShowTarget copied it on OnChange, CountChanges logged it');
    Module.Thermostat1.Target := 27;
    Report(Format('Target := 27, above Limit %0:g: WarnOnAlarm showed ALARM, ConfirmAlarm wrote' +
      LineEnding + '  Handled back (an unhandled alarm would have capped Target at %0:g)',
      [Module.Thermostat1.Limit]));
  finally
    Module.Free;
    // Freeing the log stops the trace.
    Trace.Free;
  end;
end.
