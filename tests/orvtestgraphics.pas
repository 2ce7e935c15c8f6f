{ Bindings of graphics and image lists: values of each kind through fonts,
  pens, brushes, canvases, image lists and the stand-in metafile, their
  OnChange events after the owner's own handlers, and the members the LCL
  lacks. }
unit Orvtestgraphics;

{$I orvdefines.inc}

interface

uses
  Classes, SysUtils, Variants, fpcunit, testregistry,
  Graphics, ImgList, LCLType, FPImage,
  Orvcommon, Orvtestclasses;

type
  TTestGraphicsBindings = class(TClassesCase)
  private
    FStopProgress: Boolean;
    procedure Own(Sender: TObject);
    procedure OwnProgress(Sender: TObject; Stage: TFPImgProgressStage; PercentDone: Byte;
      RedrawNow: Boolean; const R: TRect; const Msg: string; var Continue: Boolean);
    procedure Heard(Sender: TObject; Event: TorvEventInfo);
    procedure HeardProgress(Sender: TObject; Event: TorvEventInfo);
    { Write AValue to AName of AObject's binding and check that the owner's
      own OnChange ran, then a listener's, once each. }
    procedure CheckChangeFollows(AObject: TPersistent; const AClassName, AName: string;
      const AValue: Variant);
  published
    procedure TestFontValuesOfEachKind;
    procedure TestGraphicsObjectsReportChanges;
    procedure TestCanvasDrawsAtTheAddressesGiven;
    procedure TestProgressListenerStopsTheWork;
    procedure TestImageListAndItsChangeLinks;
    procedure TestMetafileStandIns;
    procedure TestClipboardFormatsGiveNoHandles;
    procedure TestMembersTheHostLacks;
  end;

implementation

uses
  Types, Controls, Clipbrd,
  Orvvalues, Orvstandins;

type
  PFontStyles = ^TFontStyles;
  PLCLHandle = ^PtrUInt;
  TGraphicAccess = class(TGraphic);
  TGraphicsObjectAccess = class(TGraphicsObject);

{ TTestGraphicsBindings }

procedure TTestGraphicsBindings.Own(Sender: TObject);
begin
  FLog := FLog + 'own ';
end;

procedure TTestGraphicsBindings.OwnProgress(Sender: TObject; Stage: TFPImgProgressStage;
  PercentDone: Byte; RedrawNow: Boolean; const R: TRect; const Msg: string;
  var Continue: Boolean);
begin
  FLog := FLog + 'own ';
end;

procedure TTestGraphicsBindings.Heard(Sender: TObject; Event: TorvEventInfo);
begin
  FLog := FLog + Event.Name + ' ';
end;

procedure TTestGraphicsBindings.HeardProgress(Sender: TObject; Event: TorvEventInfo);
var
  R: PRect;
begin
  R := VarToPointer(Event.Find('R').Value);
  FLog := FLog + Format('%s %d%% %d,%d,%d,%d ', [string(Event.Find('Msg').Value),
    Integer(Event.Find('PercentDone').Value), R^.Left, R^.Top, R^.Right, R^.Bottom]);
  if FStopProgress then
    Event.Find('Continue').Value := False;
end;

procedure TTestGraphicsBindings.CheckChangeFollows(AObject: TPersistent;
  const AClassName, AName: string; const AValue: Variant);
var
  Info: TorvClassInfo;
begin
  FLog := '';
  Info := InfoOf(AObject, AClassName);
  Listen(Info, 'OnChange', @Heard);
  Put(Info, AName, AValue, []);
  AssertEquals(AClassName + '.' + AName, 'own OnChange ', FLog);
  DropInfo(Info);
end;

procedure TTestGraphicsBindings.TestFontValuesOfEachKind;
var
  Font: TFont;
  Info: TorvClassInfo;
  Address: PtrInt;
  Bold: TFontStyles;
begin
  Font := TFont(Keep(TFont.Create));
  Info := InfoOf(Font);
  Put(Info, 'Name', 'Serif', []);
  AssertEquals('a string', 'Serif', string(Get(Info, 'Name', [])));
  Put(Info, 'Size', 17, []);
  AssertEquals('an integer', 17, Font.Size);
  Put(Info, 'Pitch', Ord(fpFixed), []);
  AssertEquals('an enumeration', Ord(fpFixed), Integer(Get(Info, 'Pitch', [])));
  Put(Info, 'Color', clRed, []);
  AssertEquals(clRed, Font.Color);

  Font.Style := [fsItalic];
  Address := Get(Info, 'Style', []);
  AssertTrue('a set crosses as an address', [fsItalic] = PFontStyles(Address)^);
  AssertEquals('the same buffer each time', Address, PtrInt(Get(Info, 'Style', [])));
  Bold := [fsBold];
  DropInfo(Info);
  Font.OnChange := @Own;
  Info := InfoOf(Font);
  Listen(Info, 'OnChange', @Heard);
  FLog := '';
  Put(Info, 'Style', PtrInt(@Bold), []);
  AssertTrue('written from the address given', Font.Style = [fsBold]);
  AssertEquals('the owner''s handler first, then the listener', 'own OnChange ', FLog);

  Address := Get(Info, 'Handle', []);
  AssertEquals('the handle keeps all its bytes', PtrUInt(Font.Handle), PLCLHandle(Address)^);
  AssertEquals(Address, PtrInt(Get(Info, 'Handle', [])));
end;

procedure TTestGraphicsBindings.TestGraphicsObjectsReportChanges;
var
  Pen: TPen;
  Brush: TBrush;
  Plain: TGraphicsObject;
  Bitmap: TBitmap;
  Info: TorvClassInfo;
begin
  Pen := TPen(Keep(TPen.Create));
  Pen.OnChange := @Own;
  CheckChangeFollows(Pen, 'TPen', 'Width', 4);
  CheckChangeFollows(Pen, 'TPen', 'Style', Ord(psDash));
  AssertEquals(4, Pen.Width);
  Brush := TBrush(Keep(TBrush.Create));
  Brush.OnChange := @Own;
  CheckChangeFollows(Brush, 'TBrush', 'Color', clLime);
  AssertEquals(clLime, Brush.Color);
  Bitmap := TBitmap(Keep(TBitmap.Create));
  Bitmap.SetSize(8, 8);
  CheckChangeFollows(Brush, 'TBrush', 'Bitmap', ObjectToVar(Bitmap));
  Info := InfoOf(Brush);
  AssertEquals('an object crosses as its address', PtrInt(Brush.Bitmap),
    PtrInt(Get(Info, 'Bitmap', [])));
  AssertEquals('8 bytes', SizeOf(Int64), SizeOf(PtrInt(Get(Info, 'Handle', []))));

  // The LCL's own graphics objects keep OnChange in another class.
  Plain := TGraphicsObject(Keep(TGraphicsObject.Create));
  Plain.OnChange := @Own;
  Info := InfoOf(Plain);
  Listen(Info, 'OnChange', @Heard);
  FLog := '';
  TGraphicsObjectAccess(Plain).Changed;
  AssertEquals('own OnChange ', FLog);
  DropInfo(Info);
  AssertTrue('given back', TMethod(Plain.OnChange).Code = Pointer(@TTestGraphicsBindings.Own));
end;

procedure TTestGraphicsBindings.TestCanvasDrawsAtTheAddressesGiven;
var
  Bitmap: TBitmap;
  Canvas: TCanvas;
  Info: TorvClassInfo;
  R: TRect;
  P: TPoint;
  Size: TSize;
begin
  Bitmap := TBitmap(Keep(TBitmap.Create));
  Bitmap.SetSize(10, 10);
  Canvas := Bitmap.Canvas;
  Canvas.Brush.Color := clWhite;
  Canvas.FillRect(0, 0, 10, 10);
  Info := InfoOf(Canvas, 'TCanvas');
  Listen(Info, 'OnChanging', @Heard);
  Listen(Info, 'OnChange', @Heard);
  AssertEquals('the brush object', PtrInt(Canvas.Brush), PtrInt(Get(Info, 'Brush', [])));
  Canvas.Brush.Color := clRed;
  R := Rect(2, 2, 5, 5);
  FLog := '';
  Call(Info, 'FillRect', [PtrInt(@R)]);
  AssertTrue('the canvas told of the drawing', Pos('OnChanging OnChange', FLog) = 1);
  AssertEquals('inside the rectangle', clRed, Integer(Get(Info, 'Pixels', [2, 2])));
  AssertEquals('its right edge is outside', clWhite, Integer(Get(Info, 'Pixels', [5, 2])));
  Put(Info, 'Pixels', clBlue, [9, 9]);
  AssertEquals('two indexes', clBlue, Canvas.Pixels[9, 9]);

  P := Point(3, 7);
  Put(Info, 'PenPos', PtrInt(@P), []);
  AssertEquals(7, Canvas.PenPos.Y);
  AssertEquals(3, PPoint(VarToPointer(Get(Info, 'PenPos', [])))^.X);
  Size := PSize(VarToPointer(Call(Info, 'TextExtent', ['Wide text']).Result))^;
  AssertEquals('a record result', Canvas.TextWidth('Wide text'), Size.cx);
  AssertEquals(Canvas.TextWidth('Wide text'), Integer(Call(Info, 'TextWidth', ['Wide text']).Result));
  AssertTrue(Canvas.ClipRect = PRect(VarToPointer(Get(Info, 'ClipRect', [])))^);
end;

procedure TTestGraphicsBindings.TestProgressListenerStopsTheWork;
var
  Bitmap: TBitmap;
  Info: TorvClassInfo;
  Continue: Boolean;
  Done: TRect;
begin
  Bitmap := TBitmap(Keep(TBitmap.Create));
  Bitmap.OnProgress := @OwnProgress;
  Info := InfoOf(Bitmap);
  Listen(Info, 'OnProgress', @HeardProgress);
  Done := Rect(0, 0, 4, 3);
  FLog := '';
  TGraphicAccess(Bitmap).Progress(Bitmap, psRunning, 40, False, Done, 'reading', Continue);
  AssertEquals('own reading 40% 0,0,4,3 ', FLog);
  AssertTrue('nobody stopped it', Continue);
  FStopProgress := True;
  TGraphicAccess(Bitmap).Progress(Bitmap, psRunning, 80, False, Done, 'reading', Continue);
  AssertFalse('the listener''s answer reaches the host', Continue);
end;

procedure TTestGraphicsBindings.TestImageListAndItsChangeLinks;
var
  List: TImageList;
  Link: TChangeLink;
  Image, Taken: TBitmap;
  Info, LinkInfo: TorvClassInfo;
begin
  List := TImageList(Keep(TImageList.Create(nil)));
  Link := TChangeLink(Keep(TChangeLink.Create));
  Image := TBitmap(Keep(TBitmap.Create));
  Image.SetSize(16, 16);
  Image.Canvas.Brush.Color := clYellow;
  Image.Canvas.FillRect(0, 0, 16, 16);
  Info := InfoOf(List);
  Listen(Info, 'OnChange', @Heard);
  LinkInfo := InfoOf(Link);
  Listen(LinkInfo, 'OnChange', @Heard);
  Call(Info, 'RegisterChanges', [ObjectToVar(Link)]);
  AssertEquals('the link knows its list', PtrInt(List), PtrInt(Get(LinkInfo, 'Sender', [])));
  FLog := '';
  AssertEquals('the new index', 0, Integer(Call(Info, 'Add', [ObjectToVar(Image), 0]).Result));
  AssertEquals(1, Integer(Call(Info, 'Add', [ObjectToVar(Image), 0]).Result));
  AssertEquals(2, Integer(Get(Info, 'Count', [])));
  // The LCL tells of deleted and replaced images, not of added ones.
  AssertEquals('', FLog);
  Call(Info, 'Delete', [1]);
  AssertEquals('the link and the list told of it', 'OnChange OnChange ', FLog);
  Taken := TBitmap(Keep(TBitmap.Create));
  Call(Info, 'GetBitmap', [0, ObjectToVar(Taken)]);
  AssertEquals('the image comes out', 16, Taken.Width);
  AssertEquals(ColorToRGB(clYellow), ColorToRGB(Taken.Canvas.Pixels[3, 3]));
  AssertTrue('the LCL''s procedure answers True', Call(Info, 'Overlay', [0, 1]).Result);
  AssertEquals(List.GetHotSpot.X, PPoint(VarToPointer(Call(Info, 'GetHotSpot', []).Result))^.X);
  Call(Info, 'UnRegisterChanges', [ObjectToVar(Link)]);
  FLog := '';
  Call(Info, 'Clear', []);
  AssertEquals('only the list tells now', 'OnChange ', FLog);
end;

procedure TTestGraphicsBindings.TestMetafileStandIns;
var
  Metafile, Loaded: TMetafile;
  Info: TorvClassInfo;
  Handle: THandle;
  Stream: TMemoryStream;
  Picture: TPicture;
begin
  Metafile := TMetafile(Keep(TMetafile.Create));
  Metafile.OnChange := @Own;
  Info := InfoOf(Metafile);
  Listen(Info, 'OnChange', @Heard);
  FLog := '';
  Put(Info, 'Width', 120, []);
  AssertEquals('through the graphic''s binding', 'own OnChange ', FLog);
  Put(Info, 'MMWidth', 3175, []);
  Put(Info, 'Inch', 600, []);
  Handle := THandle($1122334455);
  Put(Info, 'Handle', PtrInt(@Handle), []);
  AssertTrue('all 8 bytes of the handle', Metafile.Handle = Handle);
  AssertTrue('released to the caller',
    THandle(PLCLHandle(VarToPointer(Call(Info, 'ReleaseHandle', []).Result))^) = Handle);
  AssertEquals(0, Int64(Metafile.Handle));
  Keep(TMetafileCanvas.CreateWithComment(Metafile, 0, 'Orvane', 'a test'));
  AssertEquals('Orvane', string(Get(Info, 'CreatedBy', [])));

  Stream := TMemoryStream(Keep(TMemoryStream.Create));
  Call(Info, 'SaveToStream', [ObjectToVar(Stream)]);
  Stream.Position := 0;
  Loaded := TMetafile(Keep(TMetafile.Create));
  Call(InfoOf(Loaded), 'LoadFromStream', [ObjectToVar(Stream)]);
  AssertEquals(3175, Loaded.MMWidth);
  AssertEquals(600, Loaded.Inch);
  AssertEquals('a test', Loaded.Description);
  Stream.Size := Stream.Size - 3;
  Stream.Position := 0;
  Loaded.MMWidth := 7;
  try
    Call(InfoOf(Loaded), 'LoadFromStream', [ObjectToVar(Stream)]);
    Fail('a cut stream was read');
  except
    on E: EReadError do
      AssertEquals('a cut stream changes nothing', 7, Loaded.MMWidth);
  end;

  Picture := TPicture(Keep(TPicture.Create));
  Put(InfoOf(Picture), 'Graphic', ObjectToVar(Metafile), []);
  AssertTrue('a picture holds a copy', (Picture.Graphic is TMetafile) and
    (Picture.Graphic <> Metafile) and (Picture.Width = 120));

  AssertEquals('a stand-in shared image counts', 0,
    Integer(Get(InfoOf(Keep(TBitmapImage.Create)), 'RefCount', [])));
  ExpectError(Format(rsNotInHost, ['TIconImage', 'RefCount']),
    InfoOf(Keep(TIconImage.Create(pf32bit, 4, 4))), stGet, 'RefCount', []);
end;

procedure TTestGraphicsBindings.TestClipboardFormatsGiveNoHandles;
var
  Bitmap: TBitmap;
  Info: TorvClassInfo;
  Data, Palette: PtrUInt;
  Saved: TorvMethodInfo;
  Format_: TClipboardFormat;
begin
  Bitmap := TBitmap(Keep(TBitmap.Create));
  Bitmap.SetSize(5, 6);
  Info := InfoOf(Bitmap);
  Format_ := CF_Bitmap;
  Data := 77;
  Palette := 88;
  Saved := Call(Info, 'SaveToClipboardFormat', [Int64(Format_), PtrInt(@Data), PtrInt(@Palette)]);
  AssertEquals('the format as given', Int64(Format_), Int64(Saved.GetArgs(0).Value));
  AssertEquals('no data handle', 0, Int64(Data));
  AssertEquals('no palette', 0, Int64(Palette));
  AssertTrue(Clipboard.HasFormat(Format_));
  Bitmap := TBitmap(Keep(TBitmap.Create));
  Call(InfoOf(Bitmap), 'LoadFromClipboardFormat', [Int64(Format_), 0, 0]);
  AssertEquals('read back from the clipboard', 6, Bitmap.Height);
end;

procedure TTestGraphicsBindings.TestMembersTheHostLacks;

  procedure Check(AObject: TObject; const AClassName: string; AStep: TorvStep;
    const AName: string; const AValues: array of Variant);
  begin
    ExpectError(Format(rsNotInHost, [AClassName, AName]), InfoOf(AObject, AClassName), AStep,
      AName, AValues);
  end;

var
  Bitmap: TBitmap;
begin
  Bitmap := TBitmap(Keep(TBitmap.Create));
  Check(Keep(TFont.Create), 'TFont', stGet, 'FontAdapter', []);
  Check(Keep(TFont.Create), 'TGraphicsObject', stGet, 'OwnerCriticalSection', []);
  Check(Bitmap.Canvas, 'TCanvas', stGet, 'CanvasOrientation', []);
  Check(Bitmap.Canvas, 'TCanvas', stPut, 'TextFlags', [0]);
  Check(Bitmap, 'TBitmap', stPut, 'IgnorePalette', [True]);
  Check(Bitmap, 'TBitmap', stCall, 'Dormant', []);
  Check(Keep(TPicture.Create), 'TPicture', stGet, 'Metafile', []);
  Check(Keep(TPicture.Create), 'TPicture', stCall, 'RegisterFileFormatRes', ['x', 1, 0]);
  Check(Keep(TImageList.Create(nil)), 'TCustomImageList', stGet, 'Handle', []);
  Check(Keep(TImageList.Create(nil)), 'TCustomImageList', stCall, 'FileLoad', [0, 'x', 0]);
end;

initialization
  RegisterTest('Bindings', TTestGraphicsBindings);
end.
