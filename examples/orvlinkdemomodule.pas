{ The link demo's data module. Everything it does is in its form file,
  orvlinkdemomodule.lfm: a thermostat, a display, and a connection list
  whose links tie them together. Reading the form file connects the links;
  there is no code here to run.

  CountChanges is the first link in the list because the list connects its
  links in order: it already listens when ShowTarget makes its first copy. }
unit Orvlinkdemomodule;

{$I orvdefines.inc}

interface

uses
  Classes,
  Orvconlist, Orvp2p, Orve2p, Orve2m, Orvdemodevices;

type
  { TLinkDemoModule }

  TLinkDemoModule = class(TDataModule)
    Thermostat1: TThermostat;
    Display1: TDisplay;
    Links: TorvConnectionList;
    CountChanges: TorvE2MConnection;
    ShowTarget: TorvP2PConnection;
    WarnOnAlarm: TorvE2PConnection;
    ConfirmAlarm: TorvE2MConnection;
  end;

implementation

{$R *.lfm}

end.
