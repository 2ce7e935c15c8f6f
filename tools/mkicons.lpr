{ Draw the package's pictures: the two palette icons (24 by 24) and the
  about box's product icon (36 by 36), as PNG files in design/images, with
  a handful of colours on a transparent ground.

    tools/mkicons design/images             write the three PNG files
    tools/mkicons design/images --lfm       also print the about box's
                                            Picture.Data block for its .lfm

  make palette-icons runs it and turns the palette icons into the design package's
  resource file. }
program mkicons;

{$I ../package/orvdefines.inc}

uses
  Classes, SysUtils, FPImage, FPWritePNG;

const
  Clear: TFPColor = (Red: 0; Green: 0; Blue: 0; Alpha: 0);
  Navy: TFPColor = (Red: $1000; Green: $2000; Blue: $6000; Alpha: $FFFF);
  Sky: TFPColor = (Red: $5000; Green: $9000; Blue: $E000; Alpha: $FFFF);
  Paper: TFPColor = (Red: $FF00; Green: $F800; Blue: $D800; Alpha: $FFFF);
  Leaf: TFPColor = (Red: $2000; Green: $A000; Blue: $4000; Alpha: $FFFF);
  Ember: TFPColor = (Red: $F000; Green: $7000; Blue: $1000; Alpha: $FFFF);
  Ink: TFPColor = (Red: $2800; Green: $2800; Blue: $2800; Alpha: $FFFF);

type
  TPicture = TFPMemoryImage;

function NewPicture(ASize: Integer): TPicture;
var
  X, Y: Integer;
begin
  Result := TFPMemoryImage.Create(ASize, ASize);
  for Y := 0 to ASize - 1 do
    for X := 0 to ASize - 1 do
      Result.Colors[X, Y] := Clear;
end;

procedure Fill(APicture: TPicture; ALeft, ATop, ARight, ABottom: Integer; const AColor: TFPColor);
var
  X, Y: Integer;
begin
  for Y := ATop to ABottom do
    for X := ALeft to ARight do
      APicture.Colors[X, Y] := AColor;
end;

procedure Frame(APicture: TPicture; ALeft, ATop, ARight, ABottom: Integer;
  const AEdge, AInside: TFPColor);
begin
  Fill(APicture, ALeft, ATop, ARight, ABottom, AEdge);
  Fill(APicture, ALeft + 1, ATop + 1, ARight - 1, ABottom - 1, AInside);
end;

{ A line of thickness one, end points included. }
procedure Line(APicture: TPicture; X0, Y0, X1, Y1: Integer; const AColor: TFPColor);
var
  DX, DY, SX, SY, Err, E2: Integer;
begin
  DX := Abs(X1 - X0);
  DY := -Abs(Y1 - Y0);
  SX := 1;
  if X0 > X1 then
    SX := -1;
  SY := 1;
  if Y0 > Y1 then
    SY := -1;
  Err := DX + DY;
  repeat
    APicture.Colors[X0, Y0] := AColor;
    if (X0 = X1) and (Y0 = Y1) then
      Break;
    E2 := 2 * Err;
    if E2 >= DY then
    begin
      Inc(Err, DY);
      Inc(X0, SX);
    end;
    if E2 <= DX then
    begin
      Inc(Err, DX);
      Inc(Y0, SY);
    end;
  until False;
end;

procedure Disc(APicture: TPicture; CX, CY, R: Integer; const AEdge, AInside: TFPColor);
var
  X, Y, D: Integer;
begin
  for Y := CY - R to CY + R do
    for X := CX - R to CX + R do
    begin
      D := Sqr(X - CX) + Sqr(Y - CY);
      if D <= Sqr(R) then
        if D > Sqr(R - 1) then
          APicture.Colors[X, Y] := AEdge
        else
          APicture.Colors[X, Y] := AInside;
    end;
end;

{ The variable: a box that holds an object, drawn as a blue diamond. }
function DrawVariable: TPicture;
var
  I: Integer;
begin
  Result := NewPicture(24);
  Frame(Result, 2, 4, 21, 20, Navy, Paper);
  Fill(Result, 3, 5, 20, 7, Sky);
  for I := 0 to 5 do
  begin
    Line(Result, 11 - I, 10 + I, 12 + I, 10 + I, Navy);
    Line(Result, 11 - I, 19 - I, 12 + I, 19 - I, Navy);
  end;
  Fill(Result, 11, 12, 12, 17, Sky);
end;

{ The connection list: three wires from the components on the left to the
  components on the right, one of them crossing. }
function DrawConnectionList: TPicture;
begin
  Result := NewPicture(24);
  Line(Result, 5, 5, 18, 5, Ink);
  Line(Result, 5, 12, 18, 19, Ink);
  Line(Result, 5, 19, 18, 12, Ink);
  Frame(Result, 1, 2, 6, 7, Navy, Sky);
  Frame(Result, 1, 9, 6, 14, Navy, Sky);
  Frame(Result, 1, 16, 6, 21, Navy, Sky);
  Frame(Result, 17, 2, 22, 7, Navy, Leaf);
  Frame(Result, 17, 9, 22, 14, Navy, Leaf);
  Frame(Result, 17, 16, 22, 21, Navy, Leaf);
end;

{ The product: two components joined by a link. }
function DrawProduct: TPicture;
begin
  Result := NewPicture(36);
  Line(Result, 10, 12, 25, 23, Ink);
  Line(Result, 10, 13, 25, 24, Ink);
  Line(Result, 11, 12, 26, 23, Ink);
  Frame(Result, 2, 3, 15, 16, Navy, Sky);
  Frame(Result, 20, 19, 33, 32, Navy, Leaf);
  Disc(Result, 18, 18, 4, Navy, Ember);
end;

function PngBytes(APicture: TPicture): TBytes;
var
  Stream: TBytesStream;
  Writer: TFPWriterPNG;
begin
  Stream := TBytesStream.Create;
  Writer := TFPWriterPNG.Create;
  try
    // Sixteen colours at most, as palette icons are; the ground is the
    // palette's transparent entry.
    Writer.Indexed := True;
    Writer.WordSized := False;
    Writer.UseAlpha := True;
    APicture.SaveToStream(Stream, Writer);
    Result := Copy(Stream.Bytes, 0, Stream.Size);
  finally
    Writer.Free;
    Stream.Free;
  end;
end;

procedure Save(APicture: TPicture; const AFileName: string);
var
  Bytes: TBytes;
  Stream: TFileStream;
begin
  try
    Bytes := PngBytes(APicture);
    Stream := TFileStream.Create(AFileName, fmCreate);
    try
      Stream.WriteBuffer(Bytes[0], Length(Bytes));
    finally
      Stream.Free;
    end;
  finally
    APicture.Free;
  end;
end;

{ Print APicture as the .lfm text of a picture property: the graphic class
  name, the PNG's size and the PNG, in hexadecimal lines. }
procedure PrintPictureData(APicture: TPicture);
const
  GraphicClass = 'TPortableNetworkGraphic';
var
  Bytes, Data: TBytes;
  Size: LongWord;
  I: Integer;
  Row: string;
begin
  try
    Bytes := PngBytes(APicture);
  finally
    APicture.Free;
  end;
  SetLength(Data, 1 + Length(GraphicClass) + 4 + Length(Bytes));
  Data[0] := Length(GraphicClass);
  Move(GraphicClass[1], Data[1], Length(GraphicClass));
  Size := NtoLE(LongWord(Length(Bytes)));
  Move(Size, Data[1 + Length(GraphicClass)], 4);
  Move(Bytes[0], Data[5 + Length(GraphicClass)], Length(Bytes));
  WriteLn('    Picture.Data = {');
  Row := '';
  for I := 0 to High(Data) do
  begin
    Row := Row + IntToHex(Data[I], 2);
    if (Length(Row) = 64) or (I = High(Data)) then
    begin
      if I = High(Data) then
        Row := Row + '}';
      WriteLn('      ', Row);
      Row := '';
    end;
  end;
end;

var
  Folder: string;
begin
  if ParamCount < 1 then
  begin
    WriteLn(StdErr, 'usage: mkicons FOLDER [--lfm]');
    Halt(2);
  end;
  Folder := IncludeTrailingPathDelimiter(ParamStr(1));
  ForceDirectories(Folder);
  Save(DrawVariable, Folder + 'torvvariable.png');
  Save(DrawConnectionList, Folder + 'torvconnectionlist.png');
  Save(DrawProduct, Folder + 'orvproduct.png');
  if (ParamCount > 1) and (ParamStr(2) = '--lfm') then
    PrintPictureData(DrawProduct);
end.
