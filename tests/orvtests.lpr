{ Run every registered test case: orvtests --all --format=plain,
  or one subsystem: orvtests --suite=Metadata --format=plain. }
program orvtests;

{$I ../package/orvdefines.inc}

uses
  // Under valgrind the C allocator lets it see every block.
  {$IFDEF ORV_VALGRIND}cmem,{$ENDIF}
  {$IFDEF UNIX}cthreads,{$ENDIF}
  Interfaces, Forms, consoletestrunner,
  orvane_d5, // links and starts every binding, as the IDE does for a project
  { test units, one per line; each registers its cases in its initialization }
  orvtestdescriptors,
  orvtestclassinfo,
  orvtestregistry,
  orvtestwalk,
  orvtestclasses,
  orvtestgen,
  orvtestfixtures,
  orvtestconlist,
  orvtestp2p,
  orvteste2p,
  orvteste2m,
  orvtestvar,
  orvtestcheck,
  orvtestgraph,
  orvtestforms,
  orvtestctrlwalk,
  orvtestgraphics,
  orvtestcontrols,
  orvtestrobust,
  orvtestctrltables,
  orvtestctrlbindings,
  orvtestctrllinks,
  orvtesteditors,
  orvtestwinpos,
  orvtestdesign,
  orvtestformsmenus,
  orvtestlinkapp,
  orvtestdiagnostics,
  orvtesttrace,
  orvtestderived,
  orvtestpolicy;

var
  Runner: TTestRunner;
begin
  Application.Initialize;
  Runner := TTestRunner.Create(nil);
  try
    Runner.Initialize;
    Runner.Title := 'Orvane Suite tests';
    Runner.Run;
  finally
    Runner.Free;
  end;
end.
