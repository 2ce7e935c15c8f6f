{ The event-to-property link: refusals, the three value sources, what
  Connect requires, components that go away while it is connected; and both
  kinds of link read back from a form file. }
unit Orvteste2p;

{$I orvdefines.inc}

interface

uses
  Classes, SysUtils, Variants, fpcunit, testregistry,
  Orvconlist, Orvp2p, Orve2p, Orvtestfixtures, Orvtestp2p;

type
  TTestE2PConnection = class(TLinkTestCase)
  private
    function NewLink(const ASourceEvent, ATargetProperty: string): TorvE2PConnection;
    procedure Fire(const AText: string);
  published
    procedure TestRefusalsKeepTheOldValue;
    procedure TestValueSources;
    procedure TestConnectAndTheEventParameter;
    procedure TestComponentsDestroyedWhileConnected;
    procedure TestLinksReadFromAFormFile;
  end;

implementation

type
  TLinkAccess = class(TorvE2PConnection);
  TUnboundEdit = class(TTestEdit);

{ TTestE2PConnection }

function TTestE2PConnection.NewLink(const ASourceEvent, ATargetProperty: string): TorvE2PConnection;
begin
  Result := TorvE2PConnection.Create(FRoot);
  Result.Source := FA;
  Result.Target := FB;
  Result.SourceEvent := ASourceEvent;
  Result.TargetProperty := ATargetProperty;
end;

procedure TTestE2PConnection.Fire(const AText: string);
var
  Text: string;
begin
  Text := AText;
  FA.Validate(Text);
end;

procedure TTestE2PConnection.TestRefusalsKeepTheOldValue;
var
  Link: TorvE2PConnection;
begin
  Link := TorvE2PConnection.Create(FRoot);
  ExpectRefusals(Link, [
    'SourceEvent', 'OnChange', 'Invalid SourceEvent value. Unknown Source component',
    'TargetProperty', 'Text', 'Invalid TargetProperty value. Unknown Target component',
    'ValueComponentProperty', 'Text',
    'Invalid ValueComponentProperty value. Unknown ValueComponent component',
    'ValueEventParameter', 'Text', 'Invalid ValueEventParameter value. Unknown source component',
    'ValueComponentPropertyIndex', IndexArray([0]),
    'Invalid ValueComponentPropertyIndex value. Unknown ValueComponent component']);
  Link.Free;

  Link := NewLink('OnValidate', 'Text');
  Link.ValueComponent := FC;
  Link.ValueComponentProperty := 'Number';
  Link.ValueEventParameter := 'Accept';
  ExpectRefusals(Link, [
    'SourceEvent', 'OnExit', 'Invalid SourceEvent value. Unknown source event',
    'TargetProperty', 'text', 'Invalid TargetProperty value. Unknown target property',
    'ValueComponentProperty', 'Caption', 'Invalid ValueComponentProperty value. Unknown source property',
    'ValueComponentPropertyIndex', IndexArray([0]),
    'Invalid ValueComponentPropertyIndex value. Invalid dimension size']);
  AssertEquals('a refused event still drops the parameter', '', Link.ValueEventParameter);
  ExpectRefusals(Link, [
    'ValueEventParameter', 'Sender ', 'Invalid ValueEventParameter value. Unknown event parameter name']);
  Link.SourceEvent := '';
  ExpectRefusals(Link, [
    'ValueEventParameter', 'Text', 'Invalid ValueEventParameter value. Unknown SourceEvent']);
  try
    Link.ValueComponent := TUnboundEdit.Create(FRoot);
    Fail('only a class registered by its own name is accepted');
  except
    on E: EAssertionFailedError do
      raise;
    on E: Exception do
      AssertEquals('This is a not Orvane component!', E.Message);
  end;
  AssertEquals('the value side is kept', 'Number', Link.ValueComponentProperty);
end;

procedure TTestE2PConnection.TestValueSources;
var
  Link: TorvE2PConnection;
begin
  FB.Text := 'before';
  Link := NewLink('OnChange', 'Text');
  Link.Name := 'Assign';
  AssertTrue(Link.Connect);
  AssertEquals('connecting assigns nothing', 'before', FB.Text);
  FA.Text := 'x';
  AssertEquals('the empty constant', '', FB.Text);
  Link.TargetProperty := 'Cells';
  Link.TargetPropertyIndex := IndexArray([2, 1]);
  Link.ValueConstant := '5';
  FA.Text := 'y';
  AssertEquals('converted by the class info', 5, FB.Cells[2, 1]);

  Link.TargetProperty := 'Items';
  Link.TargetPropertyIndex := IndexArray([1]);
  Link.ValueOptions := voComponentProperty;
  Link.ValueComponent := FC;
  Link.ValueComponentProperty := 'Items';
  Link.ValueComponentPropertyIndex := IndexArray([3]);
  AssertTrue(Link.Connect);
  FC.Items[3] := 'from C';
  FA.Text := 'z';
  AssertEquals('read at the firing', 'from C', FB.Items[1]);

  Link.SourceEvent := 'OnValidate';
  Link.ValueOptions := voEventProperty;
  Link.ValueEventParameter := 'Text';
  AssertTrue(Link.Connect);
  Fire('first');
  Fire('second');
  AssertEquals('the parameter of the current firing', 'second', FB.Items[1]);
  Link.ValueEventParameter := '';
  try
    Fire('third');
    Fail('a value source emptied after Connect is reported, not read');
  except
    on E: EorvInvalidFeature do
      AssertEquals('Unknown ValueEventParameter "" in connection Assign', E.Message);
  end;
end;

procedure TTestE2PConnection.TestConnectAndTheEventParameter;
var
  Link: TorvE2PConnection;
begin
  Link := NewLink('', 'Text');
  AssertFalse('the source event is required', Link.Connect);
  Link.SourceEvent := 'OnValidate';
  Link.ValueOptions := voComponentProperty;
  Link.ValueComponent := FC;
  AssertFalse('no value component property', Link.Connect);
  Link.ValueOptions := voEventProperty;
  AssertFalse('no event parameter', Link.Connect);
  Link.ValueEventParameter := 'Text';
  Link.SourceEvent := 'OnValidate';
  AssertEquals('the same event keeps the parameter', 'Text', Link.ValueEventParameter);
  TLinkAccess(Link).SetDesigning(True);
  AssertTrue(Link.Connect);
  Fire('typed');
  AssertEquals('the designer subscribes to nothing', '', FB.Text);
  TLinkAccess(Link).Loading;
  Link.SourceEvent := 'OnAnything';
  TLinkAccess(Link).Loaded;
  AssertEquals('loading drops the parameter too', '', Link.ValueEventParameter);
end;

procedure TTestE2PConnection.TestComponentsDestroyedWhileConnected;
var
  Link, Shared: TorvE2PConnection;
begin
  FB.Text := 'kept';
  Link := NewLink('OnValidate', 'Text');
  Link.ValueComponent := FC;
  Link.ValueComponentProperty := 'Text';
  Link.ValueEventParameter := 'Text';
  AssertTrue(Link.Connect);
  FreeAndNil(FC);
  AssertEquals('', Link.ValueComponentProperty);
  AssertEquals(0, VarArrayHighBound(Link.ValueComponentPropertyIndex, 1));
  AssertEquals('the event side is kept', 'Text', Link.ValueEventParameter);
  Fire('after');
  AssertEquals('even with a constant the link has stopped', 'kept', FB.Text);

  Shared := NewLink('OnChange', 'Number');
  Shared.ValueComponent := FA;
  Shared.ValueComponentProperty := 'Number';
  Shared.ValueOptions := voComponentProperty;
  Shared.ValueConstant := 'c';
  AssertTrue(Link.Connect and Shared.Connect);
  FreeAndNil(FB);
  AssertEquals('', Link.TargetProperty + Shared.TargetProperty);
  Fire('no target');
  FreeAndNil(FA);
  AssertEquals('', Link.SourceEvent + Link.ValueEventParameter + Shared.ValueComponentProperty);
  AssertTrue('Unconnect keeps the value options', Shared.ValueOptions = voComponentProperty);
  AssertEquals('and the constant', 'c', Shared.ValueConstant);
end;

procedure TTestE2PConnection.TestLinksReadFromAFormFile;
var
  Form, ReadBack: TDataModule;
  List: TorvConnectionList;
  Copier: TorvP2PConnection;
  Edit: TTestEdit;
  Stream: TMemoryStream;
begin
  Form := TDataModule.CreateNew(nil);
  ReadBack := TDataModule.CreateNew(nil);
  Stream := TMemoryStream.Create;
  try
    Edit := TTestEdit.Create(Form);
    Edit.Name := 'Edit1';
    Edit.Number := 7;
    List := TorvConnectionList.Create(Form);
    Copier := TorvP2PConnection.Create(Form);
    Copier.Name := 'Copier';
    Copier.SetConnectionList(List);
    Copier.Source := Edit;
    Copier.Target := Edit;
    Copier.SourceProperty := 'Number';
    Copier.TargetProperty := 'Cells';
    Copier.TargetPropertyIndex := IndexArray([1, 2]);
    TorvE2PConnection.Create(Form).Name := 'Assign';
    Stream.WriteComponent(Form);
    Stream.Position := 0;
    Stream.ReadComponent(ReadBack);
    Edit := ReadBack.FindComponent('Edit1') as TTestEdit;
    AssertEquals('connected after reading, with its lists', 7, Edit.Cells[1, 2]);
    Copier := ReadBack.FindComponent('Copier') as TorvP2PConnection;
    AssertEquals('an empty list comes back empty', -1, VarArrayHighBound(Copier.SourcePropertyIndex, 1));
    AssertTrue('index values come back as text', VarIsStr(Copier.TargetPropertyIndex[1]));
    AssertTrue('a new event-to-property link writes no index list',
      VarIsEmpty((ReadBack.FindComponent('Assign') as TorvE2PConnection).TargetPropertyIndex));
  finally
    Stream.Free;
    ReadBack.Free;
    Form.Free;
  end;
end;

initialization
  RegisterTest('Links', TTestE2PConnection);
end.
