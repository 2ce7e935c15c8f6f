{ The about box of the component editors' "About..." command. An LCL form
  with no IDE dependency, so that it can be shown and checked anywhere. }
unit Orvabout;

{$I orvdefines.inc}

interface

uses
  Classes, SysUtils,
  Forms, Controls, Graphics, StdCtrls, ExtCtrls, LCLIntf;

type
  { Open AURL in the user's web browser; answer whether one was started. }
  TorvOpenURLFunc = function(AURL: string): Boolean;

  { TorvAboutForm }

  { The product's name and version, the maker's notice and two links to the
    maker's web site. }
  TorvAboutForm = class(TForm)
    Image1: TImage;
    Bevel1: TBevel;
    Label1: TLabel;
    Label2: TLabel;
    Label3: TLabel;
    Label4: TLabel;
    lbSite: TLabel;
    lbMail: TLabel;
    btOk: TButton;
    procedure lbSiteClick(Sender: TObject);
    procedure lbMailClick(Sender: TObject);
  end;

{ Show the about box modally; it is freed when closed. }
procedure orvShowAbout;

const
  { Where both links of the about box lead. }
  orvSiteAddress = 'http://www.orvane.example/';

var
  { How the links open the site. The host has no browser control to embed,
    so the user's own browser is started through the LCL; tests replace it. }
  orvOpenURL: TorvOpenURLFunc = @OpenURL;

implementation

{$R *.lfm}

procedure orvShowAbout;
var
  Form: TorvAboutForm;
begin
  Form := TorvAboutForm.Create(Application);
  try
    Form.ShowModal;
  finally
    Form.Free;
  end;
end;

{ TorvAboutForm }

procedure TorvAboutForm.lbSiteClick(Sender: TObject);
begin
  orvOpenURL(orvSiteAddress);
end;

procedure TorvAboutForm.lbMailClick(Sender: TObject);
begin
  // The mail label shows the address but leads to the site too, whose
  // contact page takes messages: a mail client is not always set up.
  orvOpenURL(orvSiteAddress);
end;

end.
