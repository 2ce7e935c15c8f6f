{ What the benchmark's link figures work on: a bound non-visual component
  and the forms that hold such components and links between them.

  TBenchEdit stands for an edit control without a window: a Text that fires
  OnChange when it changes. Its binding is made from
  tools/bench/orvbenchfixtures.tbl like the package's own, so a transfer through
  it costs what one through a package binding costs. It is registered as
  "TBenchEdit". }
unit Orvbenchfixtures;

{$I orvdefines.inc}

interface

uses
  Classes, SysUtils, Variants,
  StdCtrls,
  Orvcommon, Orvclasses;

type
  { TBenchEdit }

  TBenchEdit = class(TComponent)
  private
    FText: string;
    FOnChange: TNotifyEvent;
    procedure SetText(const AValue: string);
  public
    { Fire OnChange, as a change of Text does; lets a case fire the event
      without the cost of changing a string. }
    procedure Change;
  published
    property Text: string read FText write SetText;
    property OnChange: TNotifyEvent read FOnChange write FOnChange;
  end;

  { TBenchInertLink }

  { What a property-to-property link stores, and nothing else: read in its
    place, it shows what streaming a link costs before the link does
    anything (no class infos, no connecting). }
  TBenchInertLink = class(TComponent)
  private
    FSource: TComponent;
    FTarget: TComponent;
    FSourceProperty: string;
    FSourceEvent: string;
    FTargetProperty: string;
  published
    property Source: TComponent read FSource write FSource;
    property SourceProperty: string read FSourceProperty write FSourceProperty;
    property SourceEvent: string read FSourceEvent write FSourceEvent;
    property Target: TComponent read FTarget write FTarget;
    property TargetProperty: string read FTargetProperty write FTargetProperty;
  end;

  { TBenchForm }

  { The root that forms are read into; it has no behaviour of its own, so
    a form costs what its components and links cost. }
  TBenchForm = class(TComponent)
  end;

  { What the connection list of a form holds: nothing, links, or inert
    stand-ins with the same properties; or, for scale, nothing in a form
    whose edits are LCL TEdit controls. }
  TBenchFormKind = (bfPlain, bfLinked, bfInert, bfControls);

{ Return the text form file of a form with 2 * APairs edits, each with a
  text of its own, and a connection list. Linked, link I of the list copies
  the Text of edit 2I - 1 to edit 2I whenever the first changes; inert, the
  list holds TBenchInertLink components with the same properties. Plain,
  the list is empty and the other components are the same; controls, the
  list is empty and the edits are TEdit controls (without parent, so
  without widgets). }
function FormText(APairs: Integer; AKind: TBenchFormKind): string;

{ Return the form of FormText converted to a binary form file, as the
  resources of a program hold it. }
function FormStream(APairs: Integer; AKind: TBenchFormKind): TMemoryStream;

implementation

uses
  // The binding, made from tools/bench/orvbenchfixtures.tbl.
  Orvbenchbinding;

{ TBenchEdit }

procedure TBenchEdit.SetText(const AValue: string);
begin
  if AValue = FText then
    Exit;
  FText := AValue;
  Change;
end;

procedure TBenchEdit.Change;
begin
  if Assigned(FOnChange) then
    FOnChange(Self);
end;

{ Forms }

function FormText(APairs: Integer; AKind: TBenchFormKind): string;
const
  LinkClasses: array[TBenchFormKind] of string = ('', 'TorvP2PConnection', 'TBenchInertLink', '');
  EditClasses: array[TBenchFormKind] of string = ('TBenchEdit', 'TBenchEdit', 'TBenchEdit',
    'TEdit');
var
  Lines: TStringList;
  I: Integer;
begin
  Lines := TStringList.Create;
  try
    Lines.Add('object BenchForm: TBenchForm');
    for I := 1 to 2 * APairs do
    begin
      Lines.Add(Format('  object Edit%d: %s', [I, EditClasses[AKind]]));
      Lines.Add(Format('    Text = ''Value %d''', [I]));
      Lines.Add('  end');
    end;
    Lines.Add('  object Links: TorvConnectionList');
    if LinkClasses[AKind] <> '' then
      for I := 1 to APairs do
      begin
        // What the designer writes for a property-to-property link.
        Lines.Add(Format('    object Link%d: %s', [I, LinkClasses[AKind]]));
        Lines.Add(Format('      Source = Edit%d', [2 * I - 1]));
        Lines.Add('      SourceProperty = ''Text''');
        Lines.Add('      SourceEvent = ''OnChange''');
        Lines.Add(Format('      Target = Edit%d', [2 * I]));
        Lines.Add('      TargetProperty = ''Text''');
        Lines.Add('    end');
      end;
    Lines.Add('  end');
    Lines.Add('end');
    Result := Lines.Text;
  finally
    Lines.Free;
  end;
end;

function FormStream(APairs: Integer; AKind: TBenchFormKind): TMemoryStream;
var
  Text: TStringStream;
begin
  Text := TStringStream.Create(FormText(APairs, AKind));
  try
    Result := TMemoryStream.Create;
    try
      ObjectTextToBinary(Text, Result);
    except
      Result.Free;
      raise;
    end;
  finally
    Text.Free;
  end;
end;

initialization
  RegisterClasses([TBenchEdit, TBenchInertLink, TBenchForm, TEdit]);
end.
