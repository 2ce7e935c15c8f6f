{ Find pictures on a screen: read the frame buffer an X server keeps in a
  file (Xvfb -fbdir, window dump format), save it as a PNG and report where
  each given icon is shown, pixel for pixel (transparent pixels of an icon
  match anything).

    orvscreencheck SCREENFILE OUT.png ICON.png...

  Prints "NAME X Y" for each icon found, "NAME missing" otherwise, and exits
  with status 1 when an icon is missing. }
program orvscreencheck;

{$I ../package/orvdefines.inc}

uses
  Classes, SysUtils, FPImage, FPReadPNG, FPWritePNG;

type
  EScreenFile = class(Exception);

function BigEndian(const AHeader: array of LongWord; AIndex: Integer): LongWord;
begin
  Result := BEtoN(AHeader[AIndex]);
end;

{ Read a 24- or 32-bit ZPixmap window dump. }
function ReadScreen(const AFileName: string): TFPMemoryImage;
const
  HeaderSize = 0; Format = 2; Width = 4; Height = 5; ByteOrder = 7; BitsPerPixel = 11;
  BytesPerLine = 12; ColourCount = 19;
var
  Stream: TFileStream;
  Header: array[0..24] of LongWord;
  Line: array of Byte;
  X, Y, Bpp, Stride: Integer;
  Pixel: LongWord;
  Colour: TFPColor;
begin
  Stream := TFileStream.Create(AFileName, fmOpenRead or fmShareDenyNone);
  try
    Stream.ReadBuffer(Header, SizeOf(Header));
    if BigEndian(Header, Format) <> 2 then
      raise EScreenFile.Create('not a ZPixmap dump');
    Bpp := BigEndian(Header, BitsPerPixel);
    if (Bpp <> 32) and (Bpp <> 24) then
      raise EScreenFile.CreateFmt('%d bits per pixel are not read', [Bpp]);
    Stride := BigEndian(Header, BytesPerLine);
    Stream.Position := BigEndian(Header, HeaderSize) + 12 * BigEndian(Header, ColourCount);
    Result := TFPMemoryImage.Create(BigEndian(Header, Width), BigEndian(Header, Height));
    try
      SetLength(Line, Stride);
      Colour.Alpha := alphaOpaque;
      for Y := 0 to Result.Height - 1 do
      begin
        Stream.ReadBuffer(Line[0], Stride);
        for X := 0 to Result.Width - 1 do
        begin
          Pixel := Line[X * (Bpp div 8)] or (Line[X * (Bpp div 8) + 1] shl 8) or
            (Line[X * (Bpp div 8) + 2] shl 16);
          if BigEndian(Header, ByteOrder) = 1 then
            Pixel := ((Pixel and $FF) shl 16) or (Pixel and $FF00) or (Pixel shr 16);
          Colour.Red := ((Pixel shr 16) and $FF) * $101;
          Colour.Green := ((Pixel shr 8) and $FF) * $101;
          Colour.Blue := (Pixel and $FF) * $101;
          Result.Colors[X, Y] := Colour;
        end;
      end;
    except
      Result.Free;
      raise;
    end;
  finally
    Stream.Free;
  end;
end;

function SameColour(const A, B: TFPColor): Boolean;
begin
  Result := (A.Red shr 8 = B.Red shr 8) and (A.Green shr 8 = B.Green shr 8) and
    (A.Blue shr 8 = B.Blue shr 8);
end;

function Matches(AScreen, AIcon: TFPMemoryImage; ALeft, ATop: Integer): Boolean;
var
  X, Y: Integer;
  Colour: TFPColor;
begin
  for Y := 0 to AIcon.Height - 1 do
    for X := 0 to AIcon.Width - 1 do
    begin
      Colour := AIcon.Colors[X, Y];
      if (Colour.Alpha > $8000) and not SameColour(Colour, AScreen.Colors[ALeft + X, ATop + Y]) then
        Exit(False);
    end;
  Result := True;
end;

function Find(AScreen, AIcon: TFPMemoryImage; out ALeft, ATop: Integer): Boolean;
var
  X, Y: Integer;
begin
  ALeft := -1;
  ATop := -1;
  for Y := 0 to AScreen.Height - AIcon.Height do
    for X := 0 to AScreen.Width - AIcon.Width do
      if Matches(AScreen, AIcon, X, Y) then
      begin
        ALeft := X;
        ATop := Y;
        Exit(True);
      end;
  Result := False;
end;

var
  Screen, Icon: TFPMemoryImage;
  Writer: TFPWriterPNG;
  I, Left, Top: Integer;
  Missing: Boolean;
begin
  if ParamCount < 3 then
  begin
    WriteLn(StdErr, 'usage: orvscreencheck SCREENFILE OUT.png ICON.png...');
    Halt(2);
  end;
  Missing := False;
  Screen := ReadScreen(ParamStr(1));
  try
    Writer := TFPWriterPNG.Create;
    try
      Writer.WordSized := False;
      Screen.SaveToFile(ParamStr(2), Writer);
    finally
      Writer.Free;
    end;
    for I := 3 to ParamCount do
    begin
      Icon := TFPMemoryImage.Create(0, 0);
      try
        Icon.LoadFromFile(ParamStr(I));
        if Find(Screen, Icon, Left, Top) then
          WriteLn(ChangeFileExt(ExtractFileName(ParamStr(I)), ''), ' ', Left, ' ', Top)
        else
        begin
          WriteLn(ChangeFileExt(ExtractFileName(ParamStr(I)), ''), ' missing');
          Missing := True;
        end;
      finally
        Icon.Free;
      end;
    end;
  finally
    Screen.Free;
  end;
  if Missing then
    Halt(1);
end.
