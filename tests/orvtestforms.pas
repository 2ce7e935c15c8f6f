{ Links in real form files: written by the host's writer, converted to the
  text form and back, read by the host's reader, at run time and in the
  designer. }
unit Orvtestforms;

{$I orvdefines.inc}

interface

uses
  Classes, SysUtils, Variants, fpcunit, testregistry,
  Orvcommon, Orvconlist, Orvp2p, Orve2p, Orve2m, Orvvar,
  Orvtestfixtures, Orvtestconlist;

type
  TTestFormFiles = class(TTestCase)
  private
    FRoot: TTestRoot;
    function Edit(ARoot: TComponent; const AName: string): TTestEdit;
    procedure BuildForm;
    function FormText(ARoot: TComponent): string;
    function ReadForm(const AText: string; ADesigning: Boolean): TTestRoot;
  protected
    procedure SetUp; override;
    procedure TearDown; override;
  published
    procedure TestTextRoundTripIsExact;
    procedure TestPseudoPropertiesInTheText;
    procedure TestRunTimeReadConnectsAndWorks;
    procedure TestDesignTimeReadConnectsNothing;
  end;

implementation

type
  TComponentAccess = class(TComponent);

{ TTestFormFiles }

procedure TTestFormFiles.SetUp;
begin
  FRoot := nil;
end;

procedure TTestFormFiles.TearDown;
begin
  FreeAndNil(FRoot);
end;

function TTestFormFiles.Edit(ARoot: TComponent; const AName: string): TTestEdit;
begin
  Result := ARoot.FindComponent(AName) as TTestEdit;
end;

procedure TTestFormFiles.BuildForm;
var
  List: TorvConnectionList;
  P2P: TorvP2PConnection;
  E2P: TorvE2PConnection;
  E2M: TorvE2MConnection;
  Variable: TorvVariable;

  function NewEdit(const AName, AText: string): TTestEdit;
  begin
    Result := TTestEdit.Create(FRoot);
    Result.Name := AName;
    Result.Text := AText;
  end;

begin
  // Made as in the designer: every setter checks its names.
  FRoot := TTestRoot.Create(nil);
  FRoot.Name := 'Form1';
  TComponentAccess(FRoot).SetDesigning(True);
  NewEdit('Edit1', 'hello');
  NewEdit('Edit2', '');
  NewEdit('Edit3', 'x');
  Variable := TorvVariable.Create(FRoot);
  Variable.Name := 'Var1';
  Variable.ClassTypeName := 'TTestEdit';
  List := TorvConnectionList.Create(FRoot);
  List.Name := 'List1';

  P2P := TorvP2PConnection.Create(FRoot);
  P2P.Name := 'CopyText';
  P2P.SetConnectionList(List);
  P2P.Source := Edit(FRoot, 'Edit1');
  P2P.SourceProperty := 'Text';
  P2P.SourceEvent := 'OnChange';
  P2P.Target := Edit(FRoot, 'Edit2');
  P2P.TargetProperty := 'Items';
  P2P.TargetPropertyIndex := IndexArray([2]);

  E2P := TorvE2PConnection.Create(FRoot);
  E2P.Name := 'SetNumber';
  E2P.SetConnectionList(List);
  E2P.Source := Edit(FRoot, 'Edit1');
  E2P.SourceEvent := 'OnChange';
  E2P.Target := Edit(FRoot, 'Edit3');
  E2P.TargetProperty := 'Number';
  E2P.ValueConstant := '7';

  E2M := TorvE2MConnection.Create(FRoot);
  E2M.Name := 'Combine';
  E2M.SetConnectionList(List);
  E2M.Source := Edit(FRoot, 'Edit3');
  E2M.SourceEvent := 'OnChange';
  E2M.Target := Edit(FRoot, 'Edit3');
  E2M.TargetMethod := 'Bump';
  E2M.TargetMethodParameters.Items[0].Options := voComponentProperty;
  E2M.TargetMethodParameters.Items[0].Component := Edit(FRoot, 'Edit2');
  E2M.TargetMethodParameters.Items[0].ComponentProperty := 'Tag';
  // The list reads links back in list order, not in creation order.
  E2M.Index := 0;
end;

function TTestFormFiles.FormText(ARoot: TComponent): string;
var
  Binary, Text: TMemoryStream;
begin
  Binary := TMemoryStream.Create;
  Text := TMemoryStream.Create;
  try
    Binary.WriteComponent(ARoot);
    Binary.Position := 0;
    ObjectBinaryToText(Binary, Text);
    SetString(Result, PChar(Text.Memory), Text.Size);
  finally
    Text.Free;
    Binary.Free;
  end;
end;

function TTestFormFiles.ReadForm(const AText: string; ADesigning: Boolean): TTestRoot;
var
  Binary, Text: TMemoryStream;
begin
  Binary := TMemoryStream.Create;
  Text := TMemoryStream.Create;
  Result := TTestRoot.Create(nil);
  try
    Text.WriteBuffer(PChar(AText)^, Length(AText));
    Text.Position := 0;
    ObjectTextToBinary(Text, Binary);
    Binary.Position := 0;
    if ADesigning then
      TComponentAccess(Result).SetDesigning(True);
    Binary.ReadComponent(Result);
  except
    Result.Free;
    Binary.Free;
    Text.Free;
    raise;
  end;
  Text.Free;
  Binary.Free;
end;

procedure TTestFormFiles.TestTextRoundTripIsExact;
var
  First: string;
  Copy: TTestRoot;
begin
  BuildForm;
  First := FormText(FRoot);
  Copy := ReadForm(First, True);
  try
    // The designer names the root itself; the reader leaves it to it.
    Copy.Name := FRoot.Name;
    AssertEquals('written, read in the designer and written again', First, FormText(Copy));
  finally
    Copy.Free;
  end;
end;

procedure TTestFormFiles.TestPseudoPropertiesInTheText;
var
  Text: string;
  Copy: TTestRoot;
  P2P: TorvP2PConnection;
begin
  BuildForm;
  Text := FormText(FRoot);
  AssertTrue('both index lists of a property-to-property link are written',
    (Pos('SourcePropertyIndexes', Text) > 0) and (Pos('TargetPropertyIndexes', Text) > 0));
  AssertEquals('an event-to-property link writes no list for a value it does not use',
    0, Pos('ValueComponentPropertyIndexes', Text));
  AssertTrue('the list holds its links as children, in list order',
    (Pos('object List1: TorvConnectionList', Text) < Pos('object Combine: TorvE2MConnection', Text)) and
    (Pos('object Combine: TorvE2MConnection', Text) < Pos('object CopyText: TorvP2PConnection', Text)));
  AssertTrue(Pos('ClassTypeName = ''TTestEdit''', Text) > 0);
  Copy := ReadForm(Text, True);
  try
    P2P := Copy.FindComponent('CopyText') as TorvP2PConnection;
    AssertTrue('read back as an array of strings', VarIsStr(P2P.TargetPropertyIndex[0]));
    AssertEquals('2', P2P.TargetPropertyIndex[0]);
    AssertEquals(-1, VarArrayHighBound(P2P.SourcePropertyIndex, 1));
    AssertEquals('items are read into the collection the link made',
      'Tag', (Copy.FindComponent('Combine') as TorvE2MConnection).TargetMethodParameters.Items[0].ComponentProperty);
  finally
    Copy.Free;
  end;
end;

procedure TTestFormFiles.TestRunTimeReadConnectsAndWorks;
var
  Copy: TTestRoot;
begin
  BuildForm;
  Edit(FRoot, 'Edit2').Tag := 41;
  Copy := ReadForm(FormText(FRoot), False);
  try
    AssertEquals('the first copy is made when the form is loaded', 'hello', Edit(Copy, 'Edit2').Items[2]);
    Edit(Copy, 'Edit1').Text := 'world';
    AssertEquals('and again when the source changes', 'world', Edit(Copy, 'Edit2').Items[2]);
    AssertEquals('a constant is converted for the target', 7, Edit(Copy, 'Edit3').Number);
    AssertEquals('Edit3 changed, so Bump ran and wrote Tag back', 42, Edit(Copy, 'Edit2').Tag);
    // Destroying a component the links use leaves them safe.
    Edit(Copy, 'Edit3').Free;
    Edit(Copy, 'Edit1').Text := 'again';
    AssertEquals('again', Edit(Copy, 'Edit2').Items[2]);
  finally
    Copy.Free;
  end;
end;

procedure TTestFormFiles.TestDesignTimeReadConnectsNothing;
var
  Copy: TTestRoot;
begin
  BuildForm;
  Copy := ReadForm(FormText(FRoot), True);
  try
    AssertEquals('no first copy in the designer', '', Edit(Copy, 'Edit2').Items[2]);
    Edit(Copy, 'Edit1').Text := 'typed';
    AssertEquals('nothing listens in the designer', '', Edit(Copy, 'Edit2').Items[2]);
    AssertEquals(0, Edit(Copy, 'Edit3').Number);
  finally
    Copy.Free;
  end;
end;

initialization
  RegisterTest('Links', TTestFormFiles);
end.
