{ The link demo's data module. What it does is in its form file,
  orvlinkdemomodule.lfm: a thermostat, two displays, a variable, and a
  connection list whose links tie them together. Reading the form file
  connects the links; the only code hands the variable its object.

  CountChanges is the first link in the list because the list connects its
  links in order: it already listens when ShowTarget makes its first copy.

  Log1 is a variable for a TStringList. The object it stands for, the log of
  Display1, exists only once the module is made, so OnCreate hands it over
  (Log1.Instance); ShowLogSize, connected before that, waits for the object
  and makes its first copy then. OnDestroy takes it back before Display1
  frees its log: a variable cannot hear of the end of an object that is not
  a component.

  Links.OnConnectFailure is LinkFailed: a link that cannot connect is
  reported there, with form, link, side and class, and the rest of the
  module loads. }
unit Orvlinkdemomodule;

{$I orvdefines.inc}

interface

uses
  Classes,
  Orvconlist, Orvp2p, Orve2p, Orve2m, Orvvar, Orvdemodevices;

type
  { TLinkDemoModule }

  TLinkDemoModule = class(TDataModule)
    Thermostat1: TThermostat;
    Display1: TDisplay;
    Summary1: TDisplay;
    Log1: TorvVariable;
    Links: TorvConnectionList;
    CountChanges: TorvE2MConnection;
    ShowTarget: TorvP2PConnection;
    WarnOnAlarm: TorvE2PConnection;
    ConfirmAlarm: TorvE2MConnection;
    ShowLogSize: TorvP2PConnection;
    procedure DataModuleCreate(Sender: TObject);
    procedure DataModuleDestroy(Sender: TObject);
    procedure LinkFailed(Sender: TorvConnectionList; AConnection: TorvConnection;
      AError: EorvLinkError);
  end;

implementation

{$R *.lfm}

procedure TLinkDemoModule.DataModuleCreate(Sender: TObject);
begin
  Log1.Instance := Display1.Lines;
end;

procedure TLinkDemoModule.DataModuleDestroy(Sender: TObject);
begin
  Log1.Instance := nil;
end;

procedure TLinkDemoModule.LinkFailed(Sender: TorvConnectionList; AConnection: TorvConnection;
  AError: EorvLinkError);
begin
  WriteLn(ErrOutput, 'link not connected: ', AError.Describe);
end;

end.
