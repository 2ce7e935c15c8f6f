{ Draw the icons of the connections editor and write them out twice: as
  PNG files in editors/icons, and as the form-file text of the editor's two
  image lists, which replaces those objects in editors/orvcsdlg.lfm.

    orvicons editors/icons editors/orvcsdlg.lfm

  The pictures are simple shapes on a 16 by 16 grid, drawn here so that the
  package carries no image from elsewhere. }
program orvicons;

{$I ../package/orvdefines.inc}

uses
  {$IFDEF UNIX}cthreads,{$ENDIF}
  Interfaces, Classes, SysUtils, Graphics, Controls, ImgList, Forms;

const
  Size = 16;
  Back = clFuchsia;

type
  TPainter = procedure(ACanvas: TCanvas);

procedure Box(ACanvas: TCanvas; X, Y: Integer; AColor: TColor);
begin
  ACanvas.Pen.Color := clBlack;
  ACanvas.Brush.Color := AColor;
  ACanvas.Rectangle(X, Y, X + 6, Y + 6);
end;

procedure Spark(ACanvas: TCanvas; X, Y: Integer);
begin
  ACanvas.Pen.Color := clMaroon;
  ACanvas.Brush.Color := clYellow;
  ACanvas.Polygon([Point(X + 3, Y), Point(X, Y + 4), Point(X + 3, Y + 4), Point(X + 1, Y + 8),
    Point(X + 6, Y + 3), Point(X + 3, Y + 3), Point(X + 5, Y)]);
end;

procedure Wire(ACanvas: TCanvas; X1, Y1, X2, Y2: Integer);
begin
  ACanvas.Pen.Color := clNavy;
  ACanvas.Line(X1, Y1, X2, Y2);
end;

procedure DrawP2P(ACanvas: TCanvas);
begin
  Box(ACanvas, 0, 5, clSkyBlue);
  Box(ACanvas, 10, 5, clSkyBlue);
  Wire(ACanvas, 6, 7, 10, 7);
  Wire(ACanvas, 6, 9, 10, 9);
end;

procedure DrawE2P(ACanvas: TCanvas);
begin
  Spark(ACanvas, 0, 4);
  Wire(ACanvas, 6, 8, 10, 8);
  Box(ACanvas, 10, 5, clLime);
end;

procedure DrawE2M(ACanvas: TCanvas);
begin
  Spark(ACanvas, 0, 4);
  Wire(ACanvas, 6, 8, 9, 8);
  ACanvas.Pen.Color := clMaroon;
  ACanvas.Brush.Color := clRed;
  ACanvas.Ellipse(9, 5, 16, 12);
end;

procedure DrawNew(ACanvas: TCanvas);
begin
  ACanvas.Pen.Color := clGreen;
  ACanvas.Brush.Color := clLime;
  ACanvas.Rectangle(6, 2, 10, 14);
  ACanvas.Rectangle(2, 6, 14, 10);
  ACanvas.Pen.Color := clLime;
  ACanvas.Line(7, 7, 9, 7);
  ACanvas.Line(7, 8, 9, 8);
end;

procedure DrawDelete(ACanvas: TCanvas);
var
  I: Integer;
begin
  ACanvas.Pen.Color := clRed;
  for I := -1 to 1 do
  begin
    ACanvas.Line(3 + I, 3, 13 + I, 13);
    ACanvas.Line(13 + I, 3, 3 + I, 13);
  end;
end;

procedure Arrow(ACanvas: TCanvas; AUp: Boolean);
begin
  ACanvas.Pen.Color := clNavy;
  ACanvas.Brush.Color := clBlue;
  if AUp then
    ACanvas.Polygon([Point(8, 2), Point(14, 9), Point(10, 9), Point(10, 14), Point(6, 14),
      Point(6, 9), Point(2, 9)])
  else
    ACanvas.Polygon([Point(8, 14), Point(14, 7), Point(10, 7), Point(10, 2), Point(6, 2),
      Point(6, 7), Point(2, 7)]);
end;

procedure DrawUp(ACanvas: TCanvas);
begin
  Arrow(ACanvas, True);
end;

procedure DrawDown(ACanvas: TCanvas);
begin
  Arrow(ACanvas, False);
end;

procedure DrawProperties(ACanvas: TCanvas);
var
  Y: Integer;
begin
  ACanvas.Pen.Color := clGray;
  ACanvas.Brush.Color := clWhite;
  ACanvas.Rectangle(2, 1, 14, 15);
  ACanvas.Pen.Color := clNavy;
  for Y := 0 to 3 do
    ACanvas.Line(4, 4 + Y * 3, 12, 4 + Y * 3);
end;

function Picture(APainter: TPainter): TBitmap;
begin
  Result := TBitmap.Create;
  Result.SetSize(Size, Size);
  Result.Canvas.Brush.Color := Back;
  Result.Canvas.FillRect(0, 0, Size, Size);
  APainter(Result.Canvas);
end;

procedure SavePng(ABitmap: TBitmap; const AFileName: string);
var
  Png: TPortableNetworkGraphic;
begin
  Png := TPortableNetworkGraphic.Create;
  try
    Png.Assign(ABitmap);
    Png.TransparentColor := Back;
    Png.Transparent := True;
    Png.SaveToFile(AFileName);
  finally
    Png.Free;
  end;
end;

{ Make the image list AName from APainters, saving each picture as PNG. }
function MakeList(const AName, AFolder: string; const AFiles: array of string;
  const APainters: array of TPainter): string;
var
  List: TImageList;
  Bitmap: TBitmap;
  Binary, Text: TMemoryStream;
  I: Integer;
begin
  List := TImageList.Create(nil);
  Binary := TMemoryStream.Create;
  Text := TMemoryStream.Create;
  try
    List.Name := AName;
    for I := 0 to High(APainters) do
    begin
      Bitmap := Picture(APainters[I]);
      try
        SavePng(Bitmap, IncludeTrailingPathDelimiter(AFolder) + AFiles[I] + '.png');
        List.AddMasked(Bitmap, Back);
      finally
        Bitmap.Free;
      end;
    end;
    Binary.WriteComponent(List);
    Binary.Position := 0;
    ObjectBinaryToText(Binary, Text);
    SetString(Result, PChar(Text.Memory), Text.Size);
  finally
    Text.Free;
    Binary.Free;
    List.Free;
  end;
end;

{ Return the object text AObject indented by two spaces a line, with the
  designed place APlace (its Left and Top lines) of the object it replaces. }
function Indented(const AObject: string; APlace: TStrings): string;
var
  Lines: TStringList;
  I: Integer;
begin
  Lines := TStringList.Create;
  try
    Lines.Text := AObject;
    for I := APlace.Count - 1 downto 0 do
      Lines.Insert(1, APlace[I]);
    for I := 0 to Lines.Count - 1 do
      Lines[I] := '  ' + Lines[I];
    Result := TrimRight(Lines.Text);
  finally
    Lines.Free;
  end;
end;

{ Replace the image list AName in the form text AForm by AObject. }
function Replace(const AForm, AName, AObject: string): string;
var
  Lines, Place: TStringList;
  First: Integer;
begin
  Lines := TStringList.Create;
  Place := TStringList.Create;
  try
    Lines.Text := AForm;
    First := Lines.IndexOf('  object ' + AName + ': TImageList');
    if First < 0 then
      raise Exception.CreateFmt('%s is not in the form', [AName]);
    Lines.Delete(First);
    while Lines[First] <> '  end' do
    begin
      if (Pos('    Left = ', Lines[First]) = 1) or (Pos('    Top = ', Lines[First]) = 1) then
        Place.Add('  ' + Trim(Lines[First]));
      Lines.Delete(First);
    end;
    Lines.Delete(First);
    Lines.Insert(First, Indented(AObject, Place));
    Result := Lines.Text;
  finally
    Place.Free;
    Lines.Free;
  end;
end;

var
  Form: TStringList;
  Folder: string;
begin
  Application.Initialize;
  if ParamCount <> 2 then
  begin
    WriteLn('usage: orvicons ICON-FOLDER FORM-FILE');
    Halt(2);
  end;
  Folder := ParamStr(1);
  Form := TStringList.Create;
  try
    Form.LoadFromFile(ParamStr(2));
    Form.Text := Replace(Form.Text, 'ilConnectors', MakeList('ilConnectors', Folder,
      ['p2p', 'e2p', 'e2m'], [@DrawP2P, @DrawE2P, @DrawE2M]));
    Form.Text := Replace(Form.Text, 'ilButtons', MakeList('ilButtons', Folder,
      ['new', 'delete', 'moveup', 'movedown', 'properties'],
      [@DrawNew, @DrawDelete, @DrawUp, @DrawDown, @DrawProperties]));
    Form.SaveToFile(ParamStr(2));
  finally
    Form.Free;
  end;
end.
