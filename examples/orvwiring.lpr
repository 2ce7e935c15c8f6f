{ The wiring demo: an application that opens the connections editor at run
  time on its own components, so that its user wires a thermostat to a
  display (see orvwiringform.pas).

    orvwiring              the window, for a person to use
    orvwiring --selftest   wires Thermostat1.Target to Display1.Caption
                           through the windows, as a person would, turns
                           the thermostat up, prints what the display
                           shows and exits (make example-wiring) }
program orvwiring;

{$I ../package/orvdefines.inc}

uses
  {$IFDEF UNIX}cthreads,{$ENDIF}
  Interfaces, Classes, SysUtils, Forms, Controls, StdCtrls, ExtCtrls,
  orvane_d5, // links and starts every binding
  Orvp2p, Orvcsdlg, Orvp2peditor, Orvwiringform;

type
  { Clicks through the windows once they show. The link editor is modal:
    its loop runs inside the click that opens it, so a second timer drives
    it from there. }
  TSelfTest = class(TComponent)
  private
    FForm: TWiringForm;
    FStart: TTimer;
    FEditorDriver: TTimer;
    procedure Start(Sender: TObject);
    procedure DriveEditor(Sender: TObject);
    procedure Report;
  public
    constructor Create(AForm: TWiringForm); reintroduce;
  end;

  TComboAccess = class(TComboBox);
  TListAccess = class(TListBox);

function FindForm(AClass: TFormClass): TForm;
var
  I: Integer;
begin
  for I := 0 to Screen.FormCount - 1 do
    if Screen.Forms[I] is AClass then
      Exit(Screen.Forms[I]);
  Result := nil;
end;

procedure Pick(ACombo: TComboBox; const AText: string);
begin
  ACombo.ItemIndex := ACombo.Items.IndexOf(AText);
  ACombo.Text := AText;
  TComboAccess(ACombo).Select;
end;

procedure ClickRow(AList: TListBox; const AText: string);
begin
  AList.ItemIndex := AList.Items.IndexOf(AText);
  TListAccess(AList).Click;
end;

constructor TSelfTest.Create(AForm: TWiringForm);
begin
  inherited Create(AForm);
  FForm := AForm;
  FStart := TTimer.Create(Self);
  FStart.Interval := 100;
  FStart.OnTimer := @Start;
  FEditorDriver := TTimer.Create(Self);
  FEditorDriver.Interval := 50;
  FEditorDriver.OnTimer := @DriveEditor;
end;

procedure TSelfTest.DriveEditor(Sender: TObject);
var
  Editor: TForm;
begin
  Editor := FindForm(TorvP2PForm);
  if (Editor = nil) or not (fsModal in Editor.FormState) then
    Exit;
  FEditorDriver.Enabled := False;
  Pick(TorvP2PForm(Editor).cbSource, 'Thermostat1');
  ClickRow(TorvP2PForm(Editor).lbSourceProperty, 'Target');
  Pick(TorvP2PForm(Editor).cbSourceEvent, 'OnChange');
  Pick(TorvP2PForm(Editor).cbTarget, 'Display1');
  ClickRow(TorvP2PForm(Editor).lbTargetProperty, 'Caption');
  TorvP2PForm(Editor).btClose.Click;
end;

procedure TSelfTest.Start(Sender: TObject);
var
  Editor: TorvConnectionEditor;
begin
  FStart.Enabled := False;
  FForm.btWire.Click;
  Editor := FindForm(TorvConnectionEditor) as TorvConnectionEditor;
  Editor.tbAdd.Click;            // a new property-to-property link, selected
  Editor.cmProperties.Execute;   // its editor, filled by DriveEditor
  Editor.Close;
  FForm.btApply.Click;
  FForm.btTurnUp.Click;
  FForm.btTurnUp.Click;
  Report;
  Application.Terminate;
end;

procedure TSelfTest.Report;
var
  Link: TorvP2PConnection;
begin
  Link := FForm.Links.Connections[0] as TorvP2PConnection;
  WriteLn(Format('%s copies %s.%s to %s.%s on %s', [Link.Name, Link.Source.Name,
    Link.SourceProperty, Link.Target.Name, Link.TargetProperty, Link.SourceEvent]));
  WriteLn(Format('Thermostat1.Target = %g, the window shows "%s"',
    [FForm.Thermostat.Target, FForm.lbDisplay.Caption]));
end;

var
  Form: TWiringForm;
begin
  Application.Initialize;
  Application.CreateForm(TWiringForm, Form);
  if ParamStr(1) = '--selftest' then
    TSelfTest.Create(Form);
  Application.Run;
end.
