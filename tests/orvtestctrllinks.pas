{ A real form whose form file links standard controls: a property copied
  from an edit to a label, properties set from a check box and a scroll bar,
  and a scroll bar's method called from a button. }
unit Orvtestctrllinks;

{$I orvdefines.inc}

interface

uses
  Classes, SysUtils, fpcunit, testregistry,
  Controls, StdCtrls, Forms,
  Orvconlist, Orvp2p, Orve2p, Orve2m;

type
  { TCtrlLinksForm }

  TCtrlLinksForm = class(TForm)
    Edit1: TEdit;
    Label1: TLabel;
    Check1: TCheckBox;
    Edit2: TEdit;
    Scroll1: TScrollBar;
    Static1: TStaticText;
    Label2: TLabel;
    Button1: TButton;
    Scroll2: TScrollBar;
    Links: TorvConnectionList;
    CopyText: TorvP2PConnection;
    MarkChecked: TorvE2PConnection;
    ShowPosition: TorvE2PConnection;
    ShowScroll: TorvE2PConnection;
    Rescale: TorvE2MConnection;
  end;

  TTestControlLinks = class(TTestCase)
  private
    FForm: TCtrlLinksForm;
  protected
    procedure SetUp; override;
    procedure TearDown; override;
  published
    procedure TestPropertyToProperty;
    procedure TestEventToProperty;
    procedure TestEventToMethod;
  end;

implementation

{$R *.lfm}

type
  TScrollAccess = class(TScrollBar);

{ TTestControlLinks }

procedure TTestControlLinks.SetUp;
begin
  FForm := TCtrlLinksForm.Create(nil);
  FForm.Show;
  Application.ProcessMessages;
end;

procedure TTestControlLinks.TearDown;
begin
  FreeAndNil(FForm);
end;

procedure TTestControlLinks.TestPropertyToProperty;
begin
  AssertEquals('the first copy is made when the form is loaded', 'first', FForm.Label1.Caption);
  FForm.Edit1.Text := 'second';
  AssertEquals('the edit''s OnChange copies again', 'second', FForm.Label1.Caption);
  FForm.Edit1.Clear;
  AssertEquals('', FForm.Label1.Caption);
end;

procedure TTestControlLinks.TestEventToProperty;
var
  Position: Integer;
begin
  AssertEquals('', FForm.Edit2.Text);
  FForm.Check1.Checked := True;
  AssertEquals('a constant, on the check box''s OnClick', 'checked', FForm.Edit2.Text);
  FForm.Scroll1.Position := 37;
  AssertEquals('another component''s property', '37', FForm.Static1.Caption);
  Position := 42;
  TScrollAccess(FForm.Scroll1).Scroll(scTrack, Position);
  AssertEquals('a parameter of the event', '42', FForm.Label2.Caption);
  AssertEquals('the parameter is the host''s again', 42, Position);
end;

procedure TTestControlLinks.TestEventToMethod;
begin
  FForm.Scroll1.Position := 20;
  FForm.Button1.Click;
  AssertEquals(0, FForm.Scroll2.Min);
  AssertEquals(500, FForm.Scroll2.Max);
  AssertEquals('the position taken from the other scroll bar', 20, FForm.Scroll2.Position);
end;

initialization
  RegisterTest('Links', TTestControlLinks);
end.
