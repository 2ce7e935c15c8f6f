{ Window places in the current user's registry: the integer calls with an
  empty section round-trip on this platform's registry file, and each
  editor window reads and writes the values it keeps. The test program runs
  with its configuration folder in a temporary directory. }
unit Orvtestwinpos;

{$I orvdefines.inc}

interface

uses
  Classes, SysUtils, fpcunit, testregistry,
  Forms, Controls,
  Orvconlist, Orvp2p, Orve2p, Orvdesigner, Orvwinpos, Orvp2peditor, Orve2peditor,
  Orvtestconlist, Orvtestdriver;

type
  { TTestWindowPlaces }

  TTestWindowPlaces = class(TTestCase)
  private
    FDriver: TModalDriver;
    FRoot: TTestRoot;
    FDesigner: TorvRootDesigner;
    FList: TorvConnectionList;
    procedure MoveAndClose(AForm: TForm);
    procedure RecordPlace(AForm: TForm);
  protected
    procedure SetUp; override;
    procedure TearDown; override;
  published
    procedure TestEmptySectionRoundTrips;
    procedure TestMissingValuesKeepTheDesign;
    procedure TestLinkEditorsKeepTheirPlace;
  end;

implementation

var
  Seen: TRect;

{ TTestWindowPlaces }

procedure TTestWindowPlaces.SetUp;
begin
  FDriver := TModalDriver.Create(nil);
  FRoot := TTestRoot.Create(nil);
  FRoot.Name := 'Form1';
  FList := TorvConnectionList.Create(FRoot);
  FDesigner := TorvRootDesigner.Create(FRoot);
end;

procedure TTestWindowPlaces.TearDown;
begin
  FreeAndNil(FRoot);
  FreeAndNil(FDesigner);
  FreeAndNil(FDriver);
end;

procedure TTestWindowPlaces.TestEmptySectionRoundTrips;
var
  Ini: TorvRegIniFile;
  FileText: TStringList;
  FileName: string;
begin
  Ini := TorvRegIniFile.Create(orvRegistryKey + 'Round Trip');
  try
    Ini.WriteInteger('', 'Left', 123);
    Ini.WriteInteger('', 'Height', -4);
  finally
    Ini.Free;
  end;
  Ini := TorvRegIniFile.Create(orvRegistryKey + 'Round Trip');
  try
    AssertEquals(123, Ini.ReadInteger('', 'Left', 0));
    AssertEquals(-4, Ini.ReadInteger('', 'Height', 0));
    AssertEquals('a missing value answers the default', 77, Ini.ReadInteger('', 'Top', 77));
  finally
    Ini.Free;
  end;
  {$IFDEF UNIX}
  FileName := IncludeTrailingPathDelimiter(GetAppConfigDir(False)) + 'reg.xml';
  AssertTrue('kept in the user''s configuration folder: ' + FileName, FileExists(FileName));
  FileText := TStringList.Create;
  try
    FileText.LoadFromFile(FileName);
    AssertTrue('under the suite''s key', (Pos('<Key Name="Orvane Soft">', FileText.Text) > 0) and
      (Pos('<Key Name="Round Trip">', FileText.Text) > 0) and (Pos('Name="Left"', FileText.Text) > 0));
  finally
    FileText.Free;
  end;
  {$ENDIF}
end;

procedure TTestWindowPlaces.TestMissingValuesKeepTheDesign;
var
  Form: TForm;
begin
  Form := TForm.CreateNew(nil);
  try
    Form.SetBounds(10, 20, 300, 200);
    orvSaveBounds(Form, 'Partial', [bpLeft, bpTop]);
    Form.SetBounds(50, 60, 310, 210);
    orvLoadBounds(Form, 'Partial', orvAllBounds);
    AssertEquals(10, Form.Left);
    AssertEquals(20, Form.Top);
    AssertEquals('no stored width: the form''s own stays', 310, Form.Width);
    AssertEquals(210, Form.Height);
  finally
    Form.Free;
  end;
end;

procedure TTestWindowPlaces.MoveAndClose(AForm: TForm);
begin
  AForm.SetBounds(31, 42, 690, AForm.Height);
  AForm.ModalResult := mrOK;
end;

procedure TTestWindowPlaces.RecordPlace(AForm: TForm);
begin
  Seen := AForm.BoundsRect;
  AForm.ModalResult := mrOK;
end;

procedure TTestWindowPlaces.TestLinkEditorsKeepTheirPlace;
var
  P2P: TorvP2PConnection;
  E2P: TorvE2PConnection;
begin
  P2P := TorvP2PConnection.Create(FRoot);
  P2P.SetConnectionList(FList);
  FDriver.Expect(TorvP2PForm, @MoveAndClose);
  orvShowP2PEditor(FDesigner, P2P);
  FDriver.Expect(TorvP2PForm, @RecordPlace);
  orvShowP2PEditor(FDesigner, P2P);
  FDriver.Check;
  AssertEquals('the property-to-property editor opens where it was closed', 31, Seen.Left);
  AssertEquals(42, Seen.Top);
  E2P := TorvE2PConnection.Create(FRoot);
  E2P.SetConnectionList(FList);
  FDriver.Expect(TorvE2PForm, @MoveAndClose);
  orvShowE2PEditor(FDesigner, E2P);
  FDriver.Expect(TorvE2PForm, @RecordPlace);
  orvShowE2PEditor(FDesigner, E2P);
  FDriver.Check;
  AssertEquals('the event-to-property editor too', 31, Seen.Left);
  AssertEquals('but always narrow', 400, Seen.Right - Seen.Left);
end;

initialization
  RegisterTest('Editors', TTestWindowPlaces);
end.
