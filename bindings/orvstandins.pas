{ Classes that the bindings name but the LCL does not have.

  A stand-in carries exactly the registered class name, since the registry
  matches class names, and descends from the LCL class nearest to what it
  stands for. It has the members its binding declares and nothing more. }
unit Orvstandins;

{$I orvdefines.inc}

interface

uses
  Classes, SysUtils,
  Controls, Graphics;

{ ---- Header (ExtCtrls) ---------------------------------------------------- }

type
  { Tell that section ASection is being, or has been, resized to AWidth. }
  TSectionEvent = procedure(Sender: TObject; ASection, AWidth: Integer) of object;

  { THeader }

  { A row of captioned sections whose widths can be changed; the LCL has only
    the header control of ComCtrls, with a collection of sections. Each
    section's width rides in its entry of Sections, as an integer object.
    It draws the sections; a program resizes them with ResizeSection, which
    fires OnSizing and OnSized as a drag would. }
  THeader = class(TCustomControl)
  private
    FAllowResize: Boolean;
    FSections: TStrings;
    FOnSizing: TSectionEvent;
    FOnSized: TSectionEvent;
    function GetSectionWidth(X: Integer): Integer;
    procedure SetSectionWidth(X: Integer; AValue: Integer);
    procedure SetSections(AValue: TStrings);
    procedure SectionsChanged(Sender: TObject);
  protected
    procedure Paint; override;
  public
    constructor Create(AOwner: TComponent); override;
    destructor Destroy; override;
    { Resize section ASection to AWidth as a drag would: OnSizing, the new
      width, then OnSized. Does nothing when AllowResize is off. }
    procedure ResizeSection(ASection, AWidth: Integer);
    { The width of section X, in pixels; an index out of range is the
      string list's error. }
    property SectionWidth[X: Integer]: Integer read GetSectionWidth write SetSectionWidth;
  published
    property Align;
    property AllowResize: Boolean read FAllowResize write FAllowResize default True;
    property Anchors;
    property BorderStyle default bsSingle;
    property Constraints;
    property Enabled;
    property Font;
    property ParentFont;
    property ParentShowHint;
    property PopupMenu;
    property Sections: TStrings read FSections write SetSections;
    property ShowHint;
    property TabOrder;
    property TabStop;
    property Visible;
    property OnContextPopup;
    property OnSizing: TSectionEvent read FOnSizing write FOnSizing;
    property OnSized: TSectionEvent read FOnSized write FOnSized;
  end;

implementation

{ ---- Header (ExtCtrls) ---------------------------------------------------- }

type
  { Hears whether a component is destroyed while a handler of it runs. }
  TLivenessWatch = class(TComponent)
  private
    FGone: Boolean;
  protected
    procedure Notification(AComponent: TComponent; Operation: TOperation); override;
  public
    constructor Create(AWatched: TComponent); reintroduce;
    property Gone: Boolean read FGone;
  end;

constructor TLivenessWatch.Create(AWatched: TComponent);
begin
  inherited Create(nil);
  FreeNotification(AWatched);
end;

procedure TLivenessWatch.Notification(AComponent: TComponent; Operation: TOperation);
begin
  inherited Notification(AComponent, Operation);
  if Operation = opRemove then
    FGone := True;
end;

{ THeader }

constructor THeader.Create(AOwner: TComponent);
begin
  inherited Create(AOwner);
  FAllowResize := True;
  BorderStyle := bsSingle;
  FSections := TStringList.Create;
  TStringList(FSections).OnChange := @SectionsChanged;
  SetInitialBounds(0, 0, 240, 22);
end;

destructor THeader.Destroy;
begin
  FreeAndNil(FSections);
  inherited Destroy;
end;

function THeader.GetSectionWidth(X: Integer): Integer;
begin
  Result := PtrInt(FSections.Objects[X]);
end;

procedure THeader.SetSectionWidth(X: Integer; AValue: Integer);
begin
  FSections.Objects[X] := TObject(PtrInt(AValue));
end;

procedure THeader.SetSections(AValue: TStrings);
begin
  FSections.Assign(AValue);
end;

procedure THeader.SectionsChanged(Sender: TObject);
begin
  Invalidate;
end;

procedure THeader.Paint;
var
  I, X, W: Integer;
  R: TRect;
begin
  X := 0;
  for I := 0 to FSections.Count - 1 do
  begin
    W := SectionWidth[I];
    R := Rect(X, 0, X + W, ClientHeight);
    Canvas.Frame3D(R, 1, bvRaised);
    Canvas.TextRect(R, R.Left + 2, R.Top, FSections[I]);
    Inc(X, W);
  end;
end;

procedure THeader.ResizeSection(ASection, AWidth: Integer);
var
  Watch: TLivenessWatch;
begin
  if not FAllowResize then
    Exit;
  GetSectionWidth(ASection); // an index out of range fails before any handler runs
  Watch := TLivenessWatch.Create(Self);
  try
    if Assigned(FOnSizing) then
      FOnSizing(Self, ASection, AWidth);
    // The handler may have freed the header.
    if Watch.Gone then
      Exit;
    SectionWidth[ASection] := AWidth;
    if Assigned(FOnSized) then
      FOnSized(Self, ASection, AWidth);
  finally
    Watch.Free;
  end;
end;

initialization
  // Header: form files name the stand-in as they would the original.
  RegisterClass(THeader);
end.
