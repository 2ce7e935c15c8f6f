{ Drives modal windows from a test: a script for a window class runs once a
  modal window of that class is showing, inside its modal loop, and does
  what a person would (pick, type, click). A script may open a further
  modal window and drive it with a script of its own.

  Each script has its own timer, so that a script running inside another
  script's modal loop still fires; a heartbeat timer keeps every loop
  waking up, and a watchdog closes windows nobody drives. A failure inside
  a script closes its window and is raised again where the window was
  opened. }
unit Orvtestdriver;

{$I orvdefines.inc}

interface

uses
  Classes, SysUtils, Forms, Controls, ExtCtrls, StdCtrls, ComCtrls, LCLType, LMessages;

type
  TDriverScript = procedure(AForm: TForm) of object;

  { TModalDriver }

  TModalDriver = class(TComponent)
  private
    FHeartbeat: TTimer;
    FError: string;
    FWaited: Integer;
    procedure Beat(Sender: TObject);
    procedure Fire(Sender: TObject);
  public
    constructor Create(AOwner: TComponent); override;
    { Run AScript on the next modal window of AClass. }
    procedure Expect(AClass: TFormClass; AScript: TDriverScript);
    { Raise the first failure a script met since the last check. }
    procedure Check;
  end;

{ Return the showing modal window of AClass, or nil. }
function ModalForm(AClass: TFormClass): TForm;
{ Return the open window of AClass, modal or not, or nil. }
function OpenForm(AClass: TFormClass): TForm;

{ Choose AText from ACombo's drop-down list; fail when it is not offered. }
procedure Pick(ACombo: TComboBox; const AText: string);
{ Type AText into ACombo and press Enter. }
procedure TypeEnter(ACombo: TComboBox; const AText: string);
{ Type AText into ACombo and leave it. }
procedure TypeLeave(ACombo: TComboBox; const AText: string);
{ Click the row AText of AList; fail when there is none. }
procedure ClickRow(AList: TListBox; const AText: string);
{ Click the page tab AIndex of APages. }
procedure ClickPage(APages: TPageControl; AIndex: Integer);
{ Answer the rows of AList joined by commas. }
function Rows(AList: TStrings): string;

implementation

type
  TComboAccess = class(TComboBox);
  TListAccess = class(TListBox);
  TPagesAccess = class(TPageControl);

  { One script waiting for its window. }
  TPending = class(TTimer)
  public
    FormClass: TFormClass;
    Script: TDriverScript;
  end;

const
  WatchdogTicks = 1500; // about 15 seconds without any script firing

function ModalForm(AClass: TFormClass): TForm;
var
  I: Integer;
begin
  for I := Screen.CustomFormCount - 1 downto 0 do
    if (Screen.CustomForms[I] is AClass) and (fsModal in Screen.CustomForms[I].FormState) and
      Screen.CustomForms[I].Visible then
      Exit(TForm(Screen.CustomForms[I]));
  Result := nil;
end;

function OpenForm(AClass: TFormClass): TForm;
var
  I: Integer;
begin
  for I := Screen.CustomFormCount - 1 downto 0 do
    if (Screen.CustomForms[I] is AClass) and Screen.CustomForms[I].Visible and
      not (csDestroying in Screen.CustomForms[I].ComponentState) then
      Exit(TForm(Screen.CustomForms[I]));
  Result := nil;
end;

procedure Pick(ACombo: TComboBox; const AText: string);
var
  Row: Integer;
begin
  Row := ACombo.Items.IndexOf(AText);
  if Row < 0 then
    raise Exception.CreateFmt('%s does not offer %s (it offers %s)', [ACombo.Name, AText, Rows(ACombo.Items)]);
  ACombo.ItemIndex := Row;
  ACombo.Text := AText;
  TComboAccess(ACombo).Select;
end;

procedure TypeEnter(ACombo: TComboBox; const AText: string);
var
  Key: Word;
begin
  ACombo.Text := AText;
  Key := VK_RETURN;
  TComboAccess(ACombo).KeyDown(Key, []);
end;

procedure TypeLeave(ACombo: TComboBox; const AText: string);
begin
  ACombo.Text := AText;
  TComboAccess(ACombo).DoExit;
end;

procedure ClickRow(AList: TListBox; const AText: string);
var
  Row: Integer;
begin
  Row := AList.Items.IndexOf(AText);
  if Row < 0 then
    raise Exception.CreateFmt('%s has no row %s (it has %s)', [AList.Name, AText, Rows(AList.Items)]);
  AList.ItemIndex := Row;
  TListAccess(AList).Click;
end;

procedure ClickPage(APages: TPageControl; AIndex: Integer);
begin
  APages.PageIndex := AIndex;
  TPagesAccess(APages).Change;
end;

function Rows(AList: TStrings): string;
var
  I: Integer;
begin
  Result := '';
  for I := 0 to AList.Count - 1 do
  begin
    if I > 0 then
      Result := Result + ',';
    Result := Result + AList[I];
  end;
end;

{ TModalDriver }

constructor TModalDriver.Create(AOwner: TComponent);
begin
  inherited Create(AOwner);
  FHeartbeat := TTimer.Create(Self);
  FHeartbeat.Interval := 10;
  FHeartbeat.OnTimer := @Beat;
end;

procedure TModalDriver.Expect(AClass: TFormClass; AScript: TDriverScript);
var
  Pending: TPending;
begin
  Pending := TPending.Create(Self);
  Pending.FormClass := AClass;
  Pending.Script := AScript;
  Pending.Interval := 10;
  Pending.OnTimer := @Fire;
  FWaited := 0;
end;

procedure TModalDriver.Fire(Sender: TObject);
var
  Pending: TPending;
  Form: TForm;
begin
  Pending := TPending(Sender);
  Form := ModalForm(Pending.FormClass);
  if Form = nil then
    Exit;
  Pending.Enabled := False;
  FWaited := 0;
  try
    Pending.Script(Form);
  except
    on E: Exception do
    begin
      if FError = '' then
        FError := E.ClassName + ': ' + E.Message;
      if ModalForm(Pending.FormClass) = Form then
        Form.ModalResult := mrCancel;
    end;
  end;
  Application.ReleaseComponent(Pending);
end;

procedure TModalDriver.Beat(Sender: TObject);
var
  I: Integer;
begin
  Inc(FWaited);
  if FWaited < WatchdogTicks then
    Exit;
  FWaited := 0;
  for I := 0 to Screen.CustomFormCount - 1 do
    if fsModal in Screen.CustomForms[I].FormState then
    begin
      if FError = '' then
        FError := 'a modal window was left open with nobody to drive it';
      Screen.CustomForms[I].ModalResult := mrCancel;
    end;
end;

procedure TModalDriver.Check;
var
  Error: string;
  I: Integer;
begin
  for I := ComponentCount - 1 downto 0 do
    if Components[I] is TPending then
      Components[I].Free;
  Error := FError;
  FError := '';
  if Error <> '' then
    raise Exception.Create(Error);
end;

end.
