{ Where the editor windows were last: their place and size in the current
  user's registry, one key per window under the suite's own key.

  On Windows TRegIniFile reaches the system registry. Elsewhere the host
  keeps the registry in an XML file under the user's configuration folder,
  and there its section calls never find the key itself: an empty section
  makes them look the key up by a handle that the XML registry never gives
  out, so nothing is written and every read answers the default. The
  windows use the empty section, so the integer calls act on the opened key
  directly in that case, which is what the empty section means. }
unit Orvwinpos;

{$I orvdefines.inc}

interface

uses
  Classes, SysUtils, Registry, Forms;

type
  { One of the values a window keeps. }
  TorvBoundsPart = (bpLeft, bpTop, bpWidth, bpHeight);
  TorvBoundsParts = set of TorvBoundsPart;

  { TorvRegIniFile }

  { TRegIniFile whose empty section is the opened key on every platform. }
  TorvRegIniFile = class(TRegIniFile)
  public
    { Return the integer AIdent of ASection, or ADefault when it is missing. }
    function ReadInteger(const ASection, AIdent: string; ADefault: Longint): Longint; reintroduce;
    { Store AValue as the integer AIdent of ASection. }
    procedure WriteInteger(const ASection, AIdent: string; AValue: Longint); reintroduce;
  end;

const
  { The key every editor window's own key lies under. }
  orvRegistryKey = 'Software\Orvane Soft\Orvane Suite\1.1\';
  orvAllBounds = [bpLeft, bpTop, bpWidth, bpHeight];

{ Apply to AForm the values AParts stored under AKeyName; a missing value
  keeps the form's own. }
procedure orvLoadBounds(AForm: TCustomForm; const AKeyName: string; AParts: TorvBoundsParts);
{ Store AForm's values AParts under AKeyName. }
procedure orvSaveBounds(AForm: TCustomForm; const AKeyName: string; AParts: TorvBoundsParts);

implementation

const
  PartNames: array[TorvBoundsPart] of string = ('Left', 'Top', 'Width', 'Height');

{ TorvRegIniFile }

function TorvRegIniFile.ReadInteger(const ASection, AIdent: string; ADefault: Longint): Longint;
begin
  if ASection <> '' then
    Exit(inherited ReadInteger(ASection, AIdent, ADefault));
  Result := ADefault;
  if not ValueExists(AIdent) then
    Exit;
  // Written as text where the ini-file conventions prefer strings.
  if GetDataType(AIdent) = rdInteger then
    Result := TRegistry(Self).ReadInteger(AIdent)
  else
    Result := StrToIntDef(TRegistry(Self).ReadString(AIdent), ADefault);
end;

procedure TorvRegIniFile.WriteInteger(const ASection, AIdent: string; AValue: Longint);
begin
  if ASection <> '' then
    inherited WriteInteger(ASection, AIdent, AValue)
  else
    TRegistry(Self).WriteInteger(AIdent, AValue);
end;

{ Bounds }

function PartOf(AForm: TCustomForm; APart: TorvBoundsPart): Integer;
begin
  case APart of
    bpLeft: Result := AForm.Left;
    bpTop: Result := AForm.Top;
    bpWidth: Result := AForm.Width;
  else
    Result := AForm.Height;
  end;
end;

procedure orvLoadBounds(AForm: TCustomForm; const AKeyName: string; AParts: TorvBoundsParts);
var
  Ini: TorvRegIniFile;
  Values: array[TorvBoundsPart] of Integer;
  Part: TorvBoundsPart;
begin
  Ini := TorvRegIniFile.Create(orvRegistryKey + AKeyName);
  try
    for Part := Low(Part) to High(Part) do
    begin
      Values[Part] := PartOf(AForm, Part);
      if Part in AParts then
        Values[Part] := Ini.ReadInteger('', PartNames[Part], Values[Part]);
    end;
  finally
    Ini.Free;
  end;
  AForm.SetBounds(Values[bpLeft], Values[bpTop], Values[bpWidth], Values[bpHeight]);
end;

procedure orvSaveBounds(AForm: TCustomForm; const AKeyName: string; AParts: TorvBoundsParts);
var
  Ini: TorvRegIniFile;
  Part: TorvBoundsPart;
begin
  Ini := TorvRegIniFile.Create(orvRegistryKey + AKeyName);
  try
    for Part := Low(Part) to High(Part) do
      if Part in AParts then
        Ini.WriteInteger('', PartNames[Part], PartOf(AForm, Part));
  finally
    Ini.Free;
  end;
end;

end.
