{ Classes that the bindings name but the host library lacks, kept small:
  each has the registered class name, descends from the host class that its
  parent binding takes the owner as, and adds only what its binding reads,
  writes or calls. Nothing creates them but an application or a test that
  wants the binding on a live object. }
unit Orvstandins;

{$I orvdefines.inc}

interface

uses
  Classes, SysUtils,
  Forms, Menus, LCLType;

{ ---- Forms and Menus ---- }

type
  { The border styles of an embeddable form. }
  TActiveFormBorderStyle = (afbNone, afbSingle, afbSunken, afbRaised);

  { TCustomActiveForm }

  { A form meant to be embedded in another application. The host has no such
    form; this one only keeps its border style. Make it with CreateNew:
    Create looks for a form resource that a stand-in does not have. }
  TCustomActiveForm = class(TCustomForm)
  private
    FAxBorderStyle: TActiveFormBorderStyle;
  published
    property AxBorderStyle: TActiveFormBorderStyle read FAxBorderStyle write FAxBorderStyle
      default afbNone;
  end;

  { TPopupList }

  { The popup menus that share one window for their commands. The host keeps
    no such list (its widgetset shows popups itself), so the window is the
    one the list is made for, 0 by default. }
  TPopupList = class(TList)
  private
    FWindow: HWND;
  public
    { Make a list whose commands go to AWindow. }
    constructor CreateFor(AWindow: HWND);
    { Add APopup; unlike the list's own Add it answers nothing. }
    procedure Add(APopup: TPopupMenu); reintroduce;
    { Remove APopup if it is there. }
    procedure Remove(APopup: TPopupMenu); reintroduce;
    property Window: HWND read FWindow;
  end;

implementation

{ ---- Forms and Menus ---- }

{ TPopupList }

constructor TPopupList.CreateFor(AWindow: HWND);
begin
  inherited Create;
  FWindow := AWindow;
end;

procedure TPopupList.Add(APopup: TPopupMenu);
begin
  inherited Add(APopup);
end;

procedure TPopupList.Remove(APopup: TPopupMenu);
begin
  inherited Remove(APopup);
end;

end.
