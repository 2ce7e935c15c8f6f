{ Stand-ins for host classes that the bindings name but the LCL lacks.

  A binding is found by the exact class name of its owner, so a class the
  host library does not have can only be bound through a class of that name.
  Each stand-in descends from the LCL class its parent binding takes the
  owner as, and carries no more than its binding reaches. }
unit Orvstandins;

{$I orvdefines.inc}

interface

uses
  Classes, SysUtils,
  LCLType, Graphics, Controls;

type
  { Stand-ins for the bindings of graphics and controls }

  TMetafile = class;

  { TMetafileCanvas }

  { A canvas made for a metafile. The LCL records no drawing, so the canvas
    draws on the reference device when one is given and nowhere otherwise. }
  TMetafileCanvas = class(TCanvas)
  private
    FMetafile: TMetafile;
  public
    { Make a canvas for AMetafile, drawing on AReferenceDevice when it is
      not 0; the device stays the caller's. }
    constructor Create(AMetafile: TMetafile; AReferenceDevice: HDC);
    { Make the canvas and give AMetafile the comment texts. }
    constructor CreateWithComment(AMetafile: TMetafile; AReferenceDevice: HDC;
      const ACreatedBy, ADescription: string);
    property Metafile: TMetafile read FMetafile;
  end;

  { TMetafileImage }

  { The shared image of a metafile: it holds no system resource. }
  TMetafileImage = class(TSharedImage)
  protected
    procedure FreeHandle; override;
  public
    function HandleAllocated: Boolean; override;
  end;

  { TMetafile }

  { A vector graphic with no drawing records: its size, its comment and a
    handle that the caller may set and take back. Each setter reports the
    change, so the graphic's OnChange fires as for the LCL's graphics. }
  TMetafile = class(TGraphic)
  private
    FCreatedBy: string;
    FDescription: string;
    FEnhanced: Boolean;
    FHandle: THandle;
    FWidth: Integer;
    FHeight: Integer;
    FMMWidth: Integer;
    FMMHeight: Integer;
    FInch: Word;
    FTransparent: Boolean;
    procedure SetEnhanced(AValue: Boolean);
    procedure SetHandle(AValue: THandle);
    procedure SetMMWidth(AValue: Integer);
    procedure SetMMHeight(AValue: Integer);
    procedure SetInch(AValue: Word);
  protected
    procedure Draw(ACanvas: TCanvas; const ARect: TRect); override;
    function GetEmpty: Boolean; override;
    function GetHeight: Integer; override;
    function GetTransparent: Boolean; override;
    function GetWidth: Integer; override;
    procedure SetHeight(AValue: Integer); override;
    procedure SetTransparent(AValue: Boolean); override;
    procedure SetWidth(AValue: Integer); override;
  public
    constructor Create; override;
    { Copy another metafile's size and comment; the handle stays the
      source's. }
    procedure Assign(ASource: TPersistent); override;
    { Forget the size, the comment and the handle. }
    procedure Clear; override;
    procedure LoadFromStream(AStream: TStream); override;
    procedure SaveToStream(AStream: TStream); override;
    { Return the handle and forget it: it is the caller's from then on. }
    function ReleaseHandle: THandle;
    property CreatedBy: string read FCreatedBy;
    property Description: string read FDescription;
    property Enhanced: Boolean read FEnhanced write SetEnhanced;
    property Handle: THandle read FHandle write SetHandle;
    property MMWidth: Integer read FMMWidth write SetMMWidth;
    property MMHeight: Integer read FMMHeight write SetMMHeight;
    property Inch: Word read FInch write SetInch;
  end;

  { TBitmapImage }

  { The shared image of a bitmap, without a system resource of its own. }
  TBitmapImage = class(TSharedImage)
  protected
    procedure FreeHandle; override;
  public
    function HandleAllocated: Boolean; override;
  end;

  { TBaseDragControlObject }

  { The common base of control drag objects. The LCL's own drag and dock
    objects descend from TDragObject directly, so nothing may be taken as
    this class but an object made as one. }
  TBaseDragControlObject = class(TDragObject)
  end;

  { TWinControlActionLink }

  { The LCL's TWinControlActionLink is another name of TControlActionLink,
    whose objects are named so; this class answers to the name. }
  TWinControlActionLink = class(TControlActionLink)
  end;

resourcestring
  rsNotAMetafile = 'The stream holds no metafile!';

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

const
  { What a stored metafile begins with. }
  MetafileSignature: array[0..3] of Char = 'OVMF';

{ TMetafileCanvas }

constructor TMetafileCanvas.Create(AMetafile: TMetafile; AReferenceDevice: HDC);
begin
  inherited Create;
  FMetafile := AMetafile;
  if AReferenceDevice <> 0 then
    Handle := AReferenceDevice;
end;

constructor TMetafileCanvas.CreateWithComment(AMetafile: TMetafile; AReferenceDevice: HDC;
  const ACreatedBy, ADescription: string);
begin
  Create(AMetafile, AReferenceDevice);
  if AMetafile <> nil then
  begin
    AMetafile.FCreatedBy := ACreatedBy;
    AMetafile.FDescription := ADescription;
  end;
end;

{ TMetafileImage }

procedure TMetafileImage.FreeHandle;
begin
  // Nothing is allocated.
end;

function TMetafileImage.HandleAllocated: Boolean;
begin
  Result := False;
end;

{ TMetafile }

constructor TMetafile.Create;
begin
  inherited Create;
  FEnhanced := True;
  FInch := 96;
end;

procedure TMetafile.Assign(ASource: TPersistent);
var
  Source: TMetafile;
begin
  if not (ASource is TMetafile) then
  begin
    inherited Assign(ASource);
    Exit;
  end;
  Source := TMetafile(ASource);
  FCreatedBy := Source.FCreatedBy;
  FDescription := Source.FDescription;
  FEnhanced := Source.FEnhanced;
  FWidth := Source.FWidth;
  FHeight := Source.FHeight;
  FMMWidth := Source.FMMWidth;
  FMMHeight := Source.FMMHeight;
  FInch := Source.FInch;
  FTransparent := Source.FTransparent;
  Changed(Self);
end;

procedure TMetafile.SetEnhanced(AValue: Boolean);
begin
  if FEnhanced = AValue then
    Exit;
  FEnhanced := AValue;
  Changed(Self);
end;

procedure TMetafile.SetHandle(AValue: THandle);
begin
  if FHandle = AValue then
    Exit;
  FHandle := AValue;
  Changed(Self);
end;

procedure TMetafile.SetMMWidth(AValue: Integer);
begin
  if FMMWidth = AValue then
    Exit;
  FMMWidth := AValue;
  Changed(Self);
end;

procedure TMetafile.SetMMHeight(AValue: Integer);
begin
  if FMMHeight = AValue then
    Exit;
  FMMHeight := AValue;
  Changed(Self);
end;

procedure TMetafile.SetInch(AValue: Word);
begin
  if FInch = AValue then
    Exit;
  FInch := AValue;
  Changed(Self);
end;

procedure TMetafile.Draw(ACanvas: TCanvas; const ARect: TRect);
begin
  // There are no drawing records to play back.
end;

function TMetafile.GetEmpty: Boolean;
begin
  Result := (FWidth = 0) or (FHeight = 0);
end;

function TMetafile.GetHeight: Integer;
begin
  Result := FHeight;
end;

function TMetafile.GetTransparent: Boolean;
begin
  Result := FTransparent;
end;

function TMetafile.GetWidth: Integer;
begin
  Result := FWidth;
end;

procedure TMetafile.SetHeight(AValue: Integer);
begin
  if FHeight = AValue then
    Exit;
  FHeight := AValue;
  Changed(Self);
end;

procedure TMetafile.SetTransparent(AValue: Boolean);
begin
  if FTransparent = AValue then
    Exit;
  FTransparent := AValue;
  Changed(Self);
end;

procedure TMetafile.SetWidth(AValue: Integer);
begin
  if FWidth = AValue then
    Exit;
  FWidth := AValue;
  Changed(Self);
end;

procedure TMetafile.Clear;
begin
  FCreatedBy := '';
  FDescription := '';
  FHandle := 0;
  FWidth := 0;
  FHeight := 0;
  FMMWidth := 0;
  FMMHeight := 0;
  inherited Clear;
  Changed(Self);
end;

procedure TMetafile.LoadFromStream(AStream: TStream);
var
  Signature: array[0..3] of Char;
  Loaded: TMetafile;
begin
  Signature := '';
  AStream.ReadBuffer(Signature, SizeOf(Signature));
  if Signature <> MetafileSignature then
    raise EInvalidGraphic.Create(rsNotAMetafile);
  // Read into another metafile first: a stream that ends early leaves this
  // one as it was.
  Loaded := TMetafile.Create;
  try
    Loaded.FWidth := Integer(AStream.ReadDWord);
    Loaded.FHeight := Integer(AStream.ReadDWord);
    Loaded.FMMWidth := Integer(AStream.ReadDWord);
    Loaded.FMMHeight := Integer(AStream.ReadDWord);
    Loaded.FInch := AStream.ReadWord;
    Loaded.FEnhanced := AStream.ReadByte <> 0;
    Loaded.FCreatedBy := AStream.ReadAnsiString;
    Loaded.FDescription := AStream.ReadAnsiString;
    // Transparency is not stored.
    Loaded.FTransparent := FTransparent;
    Assign(Loaded);
  finally
    Loaded.Free;
  end;
end;

procedure TMetafile.SaveToStream(AStream: TStream);
begin
  AStream.WriteBuffer(MetafileSignature, SizeOf(MetafileSignature));
  AStream.WriteDWord(DWord(FWidth));
  AStream.WriteDWord(DWord(FHeight));
  AStream.WriteDWord(DWord(FMMWidth));
  AStream.WriteDWord(DWord(FMMHeight));
  AStream.WriteWord(FInch);
  AStream.WriteByte(Ord(FEnhanced));
  AStream.WriteAnsiString(FCreatedBy);
  AStream.WriteAnsiString(FDescription);
end;

function TMetafile.ReleaseHandle: THandle;
begin
  Result := FHandle;
  FHandle := 0;
end;

{ TBitmapImage }

procedure TBitmapImage.FreeHandle;
begin
  // Nothing is allocated.
end;

function TBitmapImage.HandleAllocated: Boolean;
begin
  Result := False;
end;

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
