{ What the three modal link editors and the method parameters editor share:
  the designer, the edited link, and staying right while components go.

  A link editor shows names only, but the link it edits, and the components
  on its sides, may be destroyed while it is open (by code the link calls,
  or by the program that opened it). The window hears of each: the link
  going closes it, a component going refills it, and a component that is
  being destroyed is shown as absent. }
unit Orvlinkform;

{$I orvdefines.inc}

interface

uses
  Classes, SysUtils,
  Forms, Controls,
  Orvdesigner;

type
  { TorvLinkForm }

  { A modal dialog that edits one link in place. }
  TorvLinkForm = class(TForm)
  private
    FLink: TComponent;
    FFilling: Integer;
  protected
    FDesigner: TorvDesigner;
    { Hold ALink and hear of its destruction. }
    procedure SetLink(ALink: TComponent);
    { Hear of AComponent's destruction, to refill then; nil is ignored. }
    procedure Watch(AComponent: TComponent);
    { Forget the link: it has gone. }
    procedure LinkGone; virtual; abstract;
    { Fill every control from the link, as on activation. }
    procedure UpdateAll; virtual; abstract;
    { Run UpdateAll with change handlers silenced. }
    procedure Refill;
    procedure BeginFilling;
    procedure EndFilling;
    { Answer whether a change handler should act: the link is there, the
      window is not filling itself or being destroyed. }
    function Acting: Boolean;
    procedure Notification(AComponent: TComponent; Operation: TOperation); override;
  public
    property Designer: TorvDesigner read FDesigner;
  end;

{ Return AComponent, or nil when it is being destroyed. }
function Alive(AComponent: TComponent): TComponent;

implementation

function Alive(AComponent: TComponent): TComponent;
begin
  if (AComponent <> nil) and (csDestroying in AComponent.ComponentState) then
    Result := nil
  else
    Result := AComponent;
end;

{ TorvLinkForm }

procedure TorvLinkForm.SetLink(ALink: TComponent);
begin
  FLink := ALink;
  if ALink <> nil then
    ALink.FreeNotification(Self);
end;

procedure TorvLinkForm.Watch(AComponent: TComponent);
begin
  if Alive(AComponent) <> nil then
    AComponent.FreeNotification(Self);
end;

procedure TorvLinkForm.Refill;
begin
  BeginFilling;
  try
    UpdateAll;
  finally
    EndFilling;
  end;
end;

procedure TorvLinkForm.BeginFilling;
begin
  Inc(FFilling);
end;

procedure TorvLinkForm.EndFilling;
begin
  Dec(FFilling);
end;

function TorvLinkForm.Acting: Boolean;
begin
  Result := (FLink <> nil) and (FFilling = 0) and not (csDestroying in ComponentState);
end;

procedure TorvLinkForm.Notification(AComponent: TComponent; Operation: TOperation);
begin
  inherited Notification(AComponent, Operation);
  if (Operation <> opRemove) or (csDestroying in ComponentState) then
    Exit;
  if AComponent = FLink then
  begin
    FLink := nil;
    LinkGone;
    Close;
  end
  else if (FLink <> nil) and (AComponent.Owner <> Self) then
    Refill;
end;

end.
