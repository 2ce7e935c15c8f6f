{ The connection list: order, moving, ownership, sides, loading and
  streaming of links as children of the list. }
unit Orvtestconlist;

{$I orvdefines.inc}

interface

uses
  Classes, SysUtils, fpcunit, testregistry,
  Orvcommon, Orvconlist, Orvtestfixtures;

type
  { A root that writes its components without a parent, as a form does. }
  TTestRoot = class(TComponent)
  protected
    procedure GetChildren(Proc: TGetChildProc; Root: TComponent); override;
  end;

  { A link that only records what is asked of it. }
  TTestLink = class(TorvConnection)
  private
    FAnswer: Boolean;
    FFails: Boolean;
    FFreesItself: Boolean;
  public
    constructor Create(AOwner: TComponent); override;
    destructor Destroy; override;
    function Connect: Boolean; override;
    procedure Unconnect; override;
    property Answer: Boolean read FAnswer write FAnswer;
    property Fails: Boolean read FFails write FFails;
    { Connect frees the link first, as a first copy's setter may. }
    property FreesItself: Boolean read FFreesItself write FFreesItself;
  end;

  TTestConnectionList = class(TTestCase)
  private
    FRoot: TTestRoot;
    FList: TorvConnectionList;
    function NewLink(const AName: string): TTestLink;
    function Order: string;
  protected
    procedure SetUp; override;
    procedure TearDown; override;
  published
    procedure TestIndexClampsAndMoves;
    procedure TestMovingBetweenLists;
    procedure TestListFreesItsLinksLastFirst;
    procedure TestLoadedConnectsInOrderAtRunTimeOnly;
    procedure TestSidesRefuseUnregisteredClasses;
    procedure TestSideChangesAndDestruction;
    procedure TestStreamedAsChildrenInOrder;
  end;

{ The journal the test links write to. }
var
  LinkLog: string;

implementation

{ TTestRoot }

procedure TTestRoot.GetChildren(Proc: TGetChildProc; Root: TComponent);
var
  I: Integer;
begin
  for I := 0 to ComponentCount - 1 do
    if not Components[I].HasParent then
      Proc(Components[I]);
end;

{ TTestLink }

constructor TTestLink.Create(AOwner: TComponent);
begin
  inherited Create(AOwner);
  FAnswer := True;
end;

destructor TTestLink.Destroy;
begin
  LinkLog := LinkLog + 'free:' + Name + ' ';
  inherited Destroy;
end;

function TTestLink.Connect: Boolean;
var
  Raises: Boolean;
  Message: string;
begin
  LinkLog := LinkLog + 'connect:' + Name + ' ';
  // Read before a link that frees itself is gone.
  Raises := FFails;
  Message := 'cannot connect ' + Name;
  Result := FAnswer;
  if FFreesItself then
    Free;
  if Raises then
    raise Exception.Create(Message);
end;

procedure TTestLink.Unconnect;
begin
  LinkLog := LinkLog + 'unconnect:' + Name + ' ';
end;

type
  TLinkAccess = class(TTestLink);
  TListAccess = class(TorvConnectionList);
  TUnboundEdit = class(TTestEdit);
  TUnregistered = class(TComponent);

{ TTestConnectionList }

procedure TTestConnectionList.SetUp;
begin
  LinkLog := '';
  FRoot := TTestRoot.Create(nil);
  FRoot.Name := 'Root';
  FList := TorvConnectionList.Create(FRoot);
  FList.Name := 'List';
end;

procedure TTestConnectionList.TearDown;
begin
  FreeAndNil(FRoot);
end;

function TTestConnectionList.NewLink(const AName: string): TTestLink;
begin
  Result := TTestLink.Create(FRoot);
  Result.Name := AName;
  Result.SetConnectionList(FList);
end;

function TTestConnectionList.Order: string;
var
  I: Integer;
begin
  Result := '';
  for I := 0 to FList.GetConnectionCount - 1 do
    Result := Result + FList.Connections[I].Name + ' ';
end;

procedure TTestConnectionList.TestIndexClampsAndMoves;
var
  A, B, C: TTestLink;
  Loose: TTestLink;
begin
  A := NewLink('A');
  B := NewLink('B');
  C := NewLink('C');
  AssertEquals('A B C ', Order);
  C.Index := -5;
  AssertEquals('C A B ', Order);
  C.Index := 1000;
  AssertEquals('A B C ', Order);
  A.Index := 1;
  AssertEquals('B A C ', Order);
  AssertEquals(1, A.Index);
  Loose := TTestLink.Create(FRoot);
  Loose.Index := 2;
  AssertEquals('outside a list', -1, Loose.Index);
  AssertFalse(Loose.HasParent);
  AssertSame(FList, B.GetParentComponent);
  TListAccess(FList).SetChildOrder(B, 2);
  AssertEquals('A C B ', Order);
end;

procedure TTestConnectionList.TestMovingBetweenLists;
var
  Other: TorvConnectionList;
  A: TTestLink;
begin
  Other := TorvConnectionList.Create(FRoot);
  A := NewLink('A');
  NewLink('B');
  A.SetConnectionList(Other);
  AssertEquals('B ', Order);
  AssertSame(Other, A.ConnectionList);
  AssertEquals(0, A.Index);
  TLinkAccess(A).SetParentComponent(FList);
  AssertSame(FList, A.ConnectionList);
  AssertEquals(0, Other.GetConnectionCount);
  A.Free;
  AssertEquals('a freed link leaves its list', 'B ', Order);
end;

procedure TTestConnectionList.TestListFreesItsLinksLastFirst;
begin
  NewLink('A');
  NewLink('B');
  NewLink('C');
  LinkLog := '';
  FreeAndNil(FList);
  AssertEquals('free:C free:B free:A ', LinkLog);
  AssertEquals('the links were the root''s too', 0, FRoot.ComponentCount);
end;

procedure TTestConnectionList.TestLoadedConnectsInOrderAtRunTimeOnly;
var
  B: TTestLink;
begin
  NewLink('A');
  B := NewLink('B');
  NewLink('C');
  B.Answer := False;
  TListAccess(FList).Loaded;
  AssertEquals('a link that cannot connect does not stop the others',
    'connect:A connect:B connect:C ', LinkLog);

  LinkLog := '';
  B.Fails := True;
  try
    TListAccess(FList).Loaded;
    Fail('the error reaches the reader of the form');
  except
    on E: EAssertionFailedError do
      raise;
    on E: Exception do
      AssertEquals('cannot connect B', E.Message);
  end;
  AssertEquals('connect:A connect:B ', LinkLog);

  LinkLog := '';
  TListAccess(FList).SetDesigning(True);
  TListAccess(FList).Loaded;
  AssertEquals('nothing is connected in the designer', '', LinkLog);
end;

procedure TTestConnectionList.TestSidesRefuseUnregisteredClasses;
var
  Link: TTestLink;
  Edit: TTestEdit;
  Unbound: TUnboundEdit;
begin
  Link := NewLink('A');
  Edit := TTestEdit.Create(FRoot);
  Unbound := TUnboundEdit.Create(FRoot);
  Link.Source := Edit;
  try
    Link.Source := Unbound;
    Fail('a class derived from a bound one is not bound');
  except
    on E: EAssertionFailedError do
      raise;
    on E: Exception do
      AssertEquals('This is a not Orvane component!', E.Message);
  end;
  AssertSame('the side is unchanged', Edit, Link.Source);
  try
    Link.Target := TUnregistered.Create(FRoot);
    Fail('an unregistered class is refused');
  except
    on E: EAssertionFailedError do
      raise;
    on E: Exception do
      AssertEquals('This is a not Orvane component!', E.Message);
  end;
  AssertNull(Link.Target);
end;

procedure TTestConnectionList.TestSideChangesAndDestruction;
var
  Link: TTestLink;
  Edit, Other: TTestEdit;
begin
  Link := NewLink('A');
  Edit := TTestEdit.Create(FRoot);
  Other := TTestEdit.Create(FRoot);
  Link.Source := Edit;
  Link.Target := Edit;
  AssertSame(Edit, Link.GetSourceInfo.Owner);
  AssertEquals('setting a side first unconnects nothing', '', LinkLog);
  Link.Source := Edit;
  AssertEquals('the same component again still clears the side', 'unconnect:A ', LinkLog);
  Link.Source := Other;
  AssertSame('the cache follows the side', Other, Link.GetSourceInfo.Owner);
  Link.Source := Edit;
  LinkLog := '';
  Edit.Free;
  AssertEquals('both sides cleared, each with its Unconnect', 'unconnect:A unconnect:A ', LinkLog);
  AssertNull(Link.Source);
  AssertNull(Link.Target);
  AssertNull(Link.GetSourceInfo);
  AssertNull(Link.GetTargetInfo);
end;

procedure TTestConnectionList.TestStreamedAsChildrenInOrder;
var
  Stream: TMemoryStream;
  Copy: TTestRoot;
  List: TorvConnectionList;
  Stranger: TTestLink;
  Edit: TTestEdit;
  I: Integer;
  Names: string;
begin
  Edit := TTestEdit.Create(FRoot);
  Edit.Name := 'Edit1';
  NewLink('First').Source := Edit;
  NewLink('Second');
  NewLink('Third').Target := Edit;
  FList.Connections[0].Index := 2;
  // A link owned elsewhere is not written as a child of this list.
  Stranger := TTestLink.Create(nil);
  Stream := TMemoryStream.Create;
  Copy := TTestRoot.Create(nil);
  try
    Stranger.Name := 'Stranger';
    Stranger.SetConnectionList(FList);
    Stream.WriteComponent(FRoot);
    Stream.Position := 0;
    LinkLog := '';
    Stream.ReadComponent(Copy);
    List := Copy.FindComponent('List') as TorvConnectionList;
    Names := '';
    for I := 0 to List.GetConnectionCount - 1 do
      Names := Names + List.Connections[I].Name + ' ';
    AssertEquals('Second Third First ', Names);
    AssertSame('references are resolved', Copy.FindComponent('Edit1'), List.Connections[2].Source);
    AssertSame(Copy.FindComponent('Edit1'), List.Connections[1].Target);
    AssertEquals('read links are connected once, in order',
      'connect:Second connect:Third connect:First ', LinkLog);
  finally
    Copy.Free;
    Stream.Free;
    Stranger.Free;
  end;
end;

initialization
  RegisterClasses([TTestRoot, TTestLink]);
  RegisterTest('Links', TTestConnectionList);
end.
