{ The wiring demo's window: an application that lets its user wire two
  devices together at run time, with the same windows the designer uses.

  The devices and their connection list live on a data module, the root
  that the standalone designer (TorvRootDesigner) shows to the editor
  windows; the window's own buttons are not offered for wiring. Links made
  at run time are not connected by a form file being read, so Apply
  connects them. }
unit Orvwiringform;

{$I orvdefines.inc}

interface

uses
  Classes, SysUtils,
  Forms, Controls, StdCtrls, ExtCtrls,
  Orvconlist, Orvdesigner, Orvdemodevices;

type
  { TWiringForm }

  TWiringForm = class(TForm)
    btWire: TButton;
    btApply: TButton;
    btTurnUp: TButton;
    lbDisplay: TLabel;
    procedure FormCreate(Sender: TObject);
    procedure FormDestroy(Sender: TObject);
    procedure btWireClick(Sender: TObject);
    procedure btApplyClick(Sender: TObject);
    procedure btTurnUpClick(Sender: TObject);
  private
    FDevices: TDataModule;
    FDesigner: TorvRootDesigner;
    FLinks: TorvConnectionList;
    FThermostat: TThermostat;
    FDisplay: TDisplay;
    procedure DisplayChange(Sender: TObject);
  public
    property Links: TorvConnectionList read FLinks;
    property Thermostat: TThermostat read FThermostat;
    property Display: TDisplay read FDisplay;
  end;

implementation

uses
  Orvcsdlg;

{$R *.lfm}

{ TWiringForm }

procedure TWiringForm.FormCreate(Sender: TObject);
begin
  FDevices := TDataModule.Create(nil);
  FDevices.Name := 'Devices';
  FThermostat := TThermostat.Create(FDevices);
  FThermostat.Name := 'Thermostat1';
  FThermostat.Limit := 30;
  FThermostat.Target := 20;
  FDisplay := TDisplay.Create(FDevices);
  FDisplay.Name := 'Display1';
  FDisplay.OnChange := @DisplayChange;
  FLinks := TorvConnectionList.Create(FDevices);
  FLinks.Name := 'Links';
  FDesigner := TorvRootDesigner.Create(FDevices);
end;

procedure TWiringForm.FormDestroy(Sender: TObject);
begin
  // The devices go first: an open connections editor closes with its list
  // and still finds the designer.
  FreeAndNil(FDevices);
  Application.ProcessMessages;
  FreeAndNil(FDesigner);
end;

procedure TWiringForm.btWireClick(Sender: TObject);
begin
  orvShowConnectionsEditor(FDesigner, FLinks);
end;

procedure TWiringForm.btApplyClick(Sender: TObject);
var
  I: Integer;
begin
  for I := 0 to FLinks.GetConnectionCount - 1 do
    FLinks.Connections[I].Connect;
end;

procedure TWiringForm.btTurnUpClick(Sender: TObject);
begin
  FThermostat.Target := FThermostat.Target + 1;
end;

procedure TWiringForm.DisplayChange(Sender: TObject);
begin
  lbDisplay.Caption := FDisplay.Caption;
end;

end.
