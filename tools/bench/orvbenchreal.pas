{ Benchmark cases on real LCL controls: an edit whose text a label follows,
  by a property-to-property link or by a hand-written OnChange handler, on
  a shown form (every change goes through the widgets) and on a form never
  shown (no widgets); and reading a form of edit and label pairs with and
  without a link per pair. }
unit Orvbenchreal;

{$I orvdefines.inc}

interface

uses
  Classes, SysUtils,
  Forms, StdCtrls,
  Orvbenchsampler;

type
  { TRealTransferBench }

  { Two forms, one shown and one never shown, each with two edit and label
    pairs: in one pair a link makes the label follow the edit, in the other
    the edit's OnChange handler does. }
  TRealTransferBench = class
  private
    FValues: array[0..1] of string;
    FShown, FHidden: TForm;
    FHandEdit, FLinkEdit: array[Boolean] of TEdit;  // by shown
    FHandLabel, FLinkLabel: array[Boolean] of TLabel;
    procedure MakePairs(AForm: TForm; AShown: Boolean);
    procedure HandChanged(Sender: TObject);
    function Transfer(AEdit: TEdit; ACount: Integer): Int64;
    function RunShownHand(ACount: Integer): Int64;
    function RunShownLink(ACount: Integer): Int64;
    function RunHiddenHand(ACount: Integer): Int64;
    function RunHiddenLink(ACount: Integer): Int64;
  public
    constructor Create;
    destructor Destroy; override;
    procedure AddCases(AGroup: TBenchGroup);
    { Return '' when every way made its label follow its edit, else the
      ways that did not. }
    function Check: string;
  end;

  { TRealFormBench }

  { Reading a form of APairs edit and label pairs, with a link per pair
    that makes the label follow the edit, or without links and with the
    labels' captions in the form file instead. The form is not
    shown, as a form is read before it is shown; freeing it is outside the
    clock. }
  TRealFormBench = class
  private
    FPairs: Integer;
    FLinked: Boolean;
    FStream: TMemoryStream;
    FChecked: string;
    function RunRead(ACount: Integer): Int64;
  public
    constructor Create(APairs: Integer; ALinked: Boolean);
    destructor Destroy; override;
    procedure AddCase(AGroup: TBenchGroup);
    { Return "realform-<pairs>-links" or "realform-<pairs>-plain". }
    class function CaseName(APairs: Integer; ALinked: Boolean): string;
    { Return '' when the last form read had its labels follow. }
    property Checked: string read FChecked;
  end;

implementation

uses
  Orvconlist, Orvp2p;

{ TRealTransferBench }

constructor TRealTransferBench.Create;
begin
  inherited Create;
  FValues[0] := 'first value';
  FValues[1] := 'second value';
  FShown := TForm.CreateNew(nil);
  FShown.SetBounds(20, 20, 320, 160);
  MakePairs(FShown, True);
  FShown.Show;
  Application.ProcessMessages;
  FHidden := TForm.CreateNew(nil);
  MakePairs(FHidden, False);
end;

destructor TRealTransferBench.Destroy;
begin
  FHidden.Free;
  FShown.Free;
  inherited Destroy;
end;

procedure TRealTransferBench.MakePairs(AForm: TForm; AShown: Boolean);

  function NewEdit(ATop: Integer): TEdit;
  begin
    Result := TEdit.Create(AForm);
    Result.SetBounds(10, ATop, 140, 24);
    Result.Parent := AForm;
  end;

  function NewLabel(ATop: Integer): TLabel;
  begin
    Result := TLabel.Create(AForm);
    Result.SetBounds(160, ATop, 140, 24);
    Result.Parent := AForm;
  end;

var
  Link: TorvP2PConnection;
begin
  FHandEdit[AShown] := NewEdit(10);
  FHandLabel[AShown] := NewLabel(10);
  FHandEdit[AShown].OnChange := @HandChanged;
  FLinkEdit[AShown] := NewEdit(50);
  FLinkLabel[AShown] := NewLabel(50);
  // Owned by the form, which frees it with the controls.
  Link := TorvP2PConnection.Create(AForm);
  Link.Source := FLinkEdit[AShown];
  Link.SourceProperty := 'Text';
  Link.SourceEvent := 'OnChange';
  Link.Target := FLinkLabel[AShown];
  Link.TargetProperty := 'Caption';
  Link.Connect;
end;

procedure TRealTransferBench.HandChanged(Sender: TObject);
var
  Shown: Boolean;
begin
  Shown := Sender = FHandEdit[True];
  FHandLabel[Shown].Caption := FHandEdit[Shown].Text;
end;

function TRealTransferBench.Transfer(AEdit: TEdit; ACount: Integer): Int64;
var
  I: Integer;
begin
  Result := NowNs;
  // Two values in turn, so that every assignment is a change and fires.
  for I := 1 to ACount do
    AEdit.Text := FValues[I and 1];
  Result := NowNs - Result;
end;

function TRealTransferBench.RunShownHand(ACount: Integer): Int64;
begin
  Result := Transfer(FHandEdit[True], ACount);
end;

function TRealTransferBench.RunShownLink(ACount: Integer): Int64;
begin
  Result := Transfer(FLinkEdit[True], ACount);
end;

function TRealTransferBench.RunHiddenHand(ACount: Integer): Int64;
begin
  Result := Transfer(FHandEdit[False], ACount);
end;

function TRealTransferBench.RunHiddenLink(ACount: Integer): Int64;
begin
  Result := Transfer(FLinkEdit[False], ACount);
end;

procedure TRealTransferBench.AddCases(AGroup: TBenchGroup);
begin
  AGroup.Add('real-shown-hand', 'shown form: Edit.Text := s; OnChange handler: ' +
    'Label.Caption := Edit.Text', @RunShownHand);
  AGroup.Add('real-shown-link', 'shown form: Edit.Text := s; p2p link on OnChange copies Text ' +
    'to Label.Caption', @RunShownLink);
  AGroup.Add('real-hidden-hand', 'form never shown (no widgets): the same by handler',
    @RunHiddenHand);
  AGroup.Add('real-hidden-link', 'form never shown (no widgets): the same by link',
    @RunHiddenLink);
end;

function TRealTransferBench.Check: string;
const
  Ways: array[Boolean] of string = ('hidden', 'shown');
var
  Shown: Boolean;
begin
  Result := '';
  for Shown := False to True do
  begin
    FHandEdit[Shown].Text := 'check hand';
    if FHandLabel[Shown].Caption <> 'check hand' then
      Result := Result + ' ' + Ways[Shown] + '-hand';
    FLinkEdit[Shown].Text := 'check link';
    if FLinkLabel[Shown].Caption <> 'check link' then
      Result := Result + ' ' + Ways[Shown] + '-link';
  end;
end;

{ TRealFormBench }

function RealFormText(APairs: Integer; ALinked: Boolean): string;
var
  Lines: TStringList;
  I: Integer;
begin
  Lines := TStringList.Create;
  try
    Lines.Add('object RealForm: TForm');
    for I := 1 to APairs do
    begin
      Lines.Add(Format('  object Edit%d: TEdit', [I]));
      Lines.Add(Format('    Left = 10'#10'    Top = %d'#10'    Width = 140', [I * 30]));
      Lines.Add(Format('    Text = ''Value %d''', [I]));
      Lines.Add('  end');
      Lines.Add(Format('  object Label%d: TLabel', [I]));
      Lines.Add(Format('    Left = 160'#10'    Top = %d', [I * 30]));
      // Without links the form file holds what the links would copy, so
      // that both forms end up showing the same.
      if not ALinked then
        Lines.Add(Format('    Caption = ''Value %d''', [I]));
      Lines.Add('  end');
    end;
    Lines.Add('  object Links: TorvConnectionList');
    if ALinked then
      for I := 1 to APairs do
      begin
        // What the designer writes for a property-to-property link.
        Lines.Add(Format('    object Link%d: TorvP2PConnection', [I]));
        Lines.Add(Format('      Source = Edit%d', [I]));
        Lines.Add('      SourceProperty = ''Text''');
        Lines.Add('      SourceEvent = ''OnChange''');
        Lines.Add(Format('      Target = Label%d', [I]));
        Lines.Add('      TargetProperty = ''Caption''');
        Lines.Add('    end');
      end;
    Lines.Add('  end');
    Lines.Add('end');
    Result := Lines.Text;
  finally
    Lines.Free;
  end;
end;

constructor TRealFormBench.Create(APairs: Integer; ALinked: Boolean);
var
  Text: TStringStream;
begin
  inherited Create;
  FPairs := APairs;
  FLinked := ALinked;
  Text := TStringStream.Create(RealFormText(APairs, ALinked));
  try
    FStream := TMemoryStream.Create;
    ObjectTextToBinary(Text, FStream);
  finally
    Text.Free;
  end;
end;

destructor TRealFormBench.Destroy;
begin
  FStream.Free;
  inherited Destroy;
end;

class function TRealFormBench.CaseName(APairs: Integer; ALinked: Boolean): string;
const
  Suffixes: array[Boolean] of string = ('plain', 'links');
begin
  Result := Format('realform-%d-%s', [APairs, Suffixes[ALinked]]);
end;

function TRealFormBench.RunRead(ACount: Integer): Int64;
var
  Form: TForm;
  Start: Int64;
  I: Integer;
  Caption: TComponent;
begin
  Result := 0;
  for I := 1 to ACount do
  begin
    Form := TForm.CreateNew(nil);
    try
      Start := NowNs;
      FStream.Position := 0;
      FStream.ReadComponent(Form);
      Inc(Result, NowNs - Start);
      if FLinked then
      begin
        // Connecting copied each edit's text to its label.
        Caption := Form.FindComponent('Label1');
        if (Caption = nil) or (TLabel(Caption).Caption <> 'Value 1') then
          FChecked := 'the links of the read form did not copy'
        else
          FChecked := '';
      end;
    finally
      Form.Free;
    end;
  end;
end;

procedure TRealFormBench.AddCase(AGroup: TBenchGroup);
const
  Notes: array[Boolean] of string = ('read %d TEdit and TLabel pairs, an empty connection list',
    'read %d TEdit and TLabel pairs and a p2p link per pair, connect');
begin
  AGroup.Add(CaseName(FPairs, FLinked), Format(Notes[FLinked], [FPairs]), @RunRead);
end;

initialization
  // The forms read here have no fields naming their classes.
  RegisterClasses([TEdit, TLabel]);
end.
