{ The host's form reader alone, without any link or class info: a component
  with a component reference read before a bad value (an integer for a
  string property, a second component of the same name, an index list that
  is not a list) leaves the reader's unresolved reference behind. Shows that
  the blocks the fuzz run counts as left memory for such form files are the
  runtime library's own.

    fpc -gh tools/fuzz/orvreaderleak.lpr
    HEAPTRC=log=leak.log tools/fuzz/orvreaderleak N    (N = 0 to 5)

  Cases 0 to 2 hold a reference and leave blocks; 3 to 5 are the same
  damage without a reference and leave none. }
program orvreaderleak;

{$mode objfpc}{$H+}

uses
  Classes, SysUtils;

type
  { A component with a string, a reference and a list read by hand, as the
    links' index lists are. }
  TPlain = class(TComponent)
  private
    FCaption: string;
    FPartner: TComponent;
    procedure ReadIndexes(AReader: TReader);
    procedure WriteIndexes(AWriter: TWriter);
  protected
    procedure DefineProperties(Filer: TFiler); override;
  published
    property Caption: string read FCaption write FCaption;
    property Partner: TComponent read FPartner write FPartner;
  end;

  TPlainRoot = class(TComponent);

procedure TPlain.ReadIndexes(AReader: TReader);
var
  Items: TStringList;
begin
  Items := TStringList.Create;
  try
    AReader.ReadListBegin;
    while not AReader.EndOfList do
      Items.Add(AReader.ReadString);
    AReader.ReadListEnd;
  finally
    Items.Free;
  end;
end;

procedure TPlain.WriteIndexes(AWriter: TWriter);
begin
end;

procedure TPlain.DefineProperties(Filer: TFiler);
begin
  inherited DefineProperties(Filer);
  Filer.DefineProperty('Indexes', @ReadIndexes, @WriteIndexes, False);
end;

const
  Head = 'object Root: TPlainRoot'#10'  object B: TPlain'#10'  end'#10'  object A: TPlain'#10;
  Reference = '    Partner = B'#10;
  Damage: array[0..2] of string = (
    '    Caption = 5'#10'  end'#10,
    '  end'#10'  object A: TPlain'#10'  end'#10,
    '    Indexes = ''x'''#10'  end'#10);

var
  Text, Binary: TMemoryStream;
  Root: TComponent;
  Form: string;
  Index: Integer;
begin
  RegisterClasses([TPlain, TPlainRoot]);
  Index := StrToInt(ParamStr(1));
  if Index < 3 then
    Form := Head + Reference + Damage[Index] + 'end'#10
  else
    Form := Head + Damage[Index - 3] + 'end'#10;
  Text := TMemoryStream.Create;
  Binary := TMemoryStream.Create;
  Root := TPlainRoot.Create(nil);
  try
    Text.WriteBuffer(Form[1], Length(Form));
    Text.Position := 0;
    ObjectTextToBinary(Text, Binary);
    Binary.Position := 0;
    try
      Binary.ReadComponent(Root);
    except
      on E: Exception do
        WriteLn(E.ClassName, ': ', E.Message);
    end;
  finally
    Root.Free;
    Binary.Free;
    Text.Free;
  end;
end.
