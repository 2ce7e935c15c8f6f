{ Mutations of text and bytes for the fuzz runs, from a fixed seed, so that a
  run can be repeated input for input. }
unit Orvfuzzmutate;

{$I orvdefines.inc}

interface

uses
  SysUtils;

type
  { A small generator with a fixed sequence per seed (xorshift64*). }
  TorvRandom = record
  private
    FState: QWord;
  public
    procedure Init(ASeed: QWord);
    function Next: QWord;
    { Return a number from 0 to AMax - 1; 0 when AMax <= 0. }
    function Below(AMax: Integer): Integer;
  end;

{ Return AText changed by one to four random edits: bytes flipped, ranges
  deleted, doubled or cut short, words of ADictionary put in or put in place
  of a word, a word replaced by a word of ADonor (which keeps the syntax of
  a form file while it changes what is named), or a piece of ADonor spliced
  in. }
function Mutate(var ARandom: TorvRandom; const AText, ADonor: string;
  const ADictionary: array of string): string;

implementation

procedure TorvRandom.Init(ASeed: QWord);
begin
  FState := ASeed or 1;
end;

function TorvRandom.Next: QWord;
begin
  FState := FState xor (FState shr 12);
  FState := FState xor (FState shl 25);
  FState := FState xor (FState shr 27);
  {$push}{$overflowchecks off}{$rangechecks off}
  Result := FState * QWord($2545F4914F6CDD1D);
  {$pop}
end;

function TorvRandom.Below(AMax: Integer): Integer;
begin
  if AMax <= 0 then
    Result := 0
  else
    Result := Integer(Next mod QWord(AMax));
end;

const
  { Bytes that parsers treat specially. }
  Interesting: array[0..11] of Char = (#0, #1, #9, #10, #13, #32, '''', ':', '.', #127, #128, #255);

function WordBounds(const AText: string; APos: Integer; out AStart, AEnd: Integer): Boolean;
begin
  AStart := APos;
  while (AStart > 1) and (AText[AStart - 1] in ['A'..'Z', 'a'..'z', '0'..'9', '_']) do
    Dec(AStart);
  AEnd := APos;
  while (AEnd <= Length(AText)) and (AText[AEnd] in ['A'..'Z', 'a'..'z', '0'..'9', '_']) do
    Inc(AEnd);
  Result := AEnd > AStart;
end;

{ Return a random word of AText, or '' when none is found near the place
  picked. }
function WordOf(var ARandom: TorvRandom; const AText: string): string;
var
  WordStart, WordEnd: Integer;
begin
  Result := '';
  if AText = '' then
    Exit;
  if WordBounds(AText, ARandom.Below(Length(AText)) + 1, WordStart, WordEnd) then
    Result := Copy(AText, WordStart, WordEnd - WordStart);
end;

function MutateOnce(var ARandom: TorvRandom; const AText, ADonor: string;
  const ADictionary: array of string): string;
var
  Pos, Len, WordStart, WordEnd: Integer;
  Word: string;
begin
  Result := AText;
  Pos := ARandom.Below(Length(Result)) + 1;
  Len := ARandom.Below(16) + 1;
  Word := ADictionary[ARandom.Below(Length(ADictionary))];
  if ARandom.Below(3) = 0 then
  begin
    // A word of the donor in place of a word: most often still well formed.
    Word := WordOf(ARandom, ADonor);
    if (Word <> '') and WordBounds(Result, Pos, WordStart, WordEnd) then
    begin
      Delete(Result, WordStart, WordEnd - WordStart);
      Insert(Word, Result, WordStart);
    end;
    Exit;
  end;
  case ARandom.Below(9) of
    0:
      if Result <> '' then
        Result[Pos] := Chr(ARandom.Below(256));
    1:
      if Result <> '' then
        Result[Pos] := Interesting[ARandom.Below(Length(Interesting))];
    2: Delete(Result, Pos, Len);
    3: Insert(Copy(Result, Pos, Len), Result, Pos);
    4: Insert(Word, Result, Pos);
    5:
      if WordBounds(Result, Pos, WordStart, WordEnd) then
      begin
        Delete(Result, WordStart, WordEnd - WordStart);
        Insert(Word, Result, WordStart);
      end
      else
        Insert(Word, Result, Pos);
    6: SetLength(Result, Pos - 1);
    7:
      if ADonor <> '' then
        Insert(Copy(ADonor, ARandom.Below(Length(ADonor)) + 1, ARandom.Below(64) + 1), Result, Pos);
  else
    // A number made extreme.
    Insert(IntToStr(Int64(ARandom.Next)), Result, Pos);
  end;
end;

function Mutate(var ARandom: TorvRandom; const AText, ADonor: string;
  const ADictionary: array of string): string;
var
  I: Integer;
begin
  Result := AText;
  for I := 0 to ARandom.Below(4) do
    Result := MutateOnce(ARandom, Result, ADonor, ADictionary);
end;

end.
