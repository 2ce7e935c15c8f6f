{ The editor windows driven as a person would: the connections editor on a
  list of a designed root, each link editor choosing its components and
  features through its controls, the parameter editors, the index editor,
  and what happens when the list, a link or a side component goes while a
  window is open. The links are checked afterwards, also in the form-file
  text and after reading that text back. }
unit Orvtesteditors;

{$I orvdefines.inc}

interface

uses
  Classes, SysUtils, Variants, fpcunit, testregistry,
  Forms, Controls, StdCtrls, ComCtrls, Menus, ActnList, LCLType, LMessages,
  Orvcommon, Orvsystem, Orvclasses, Orvconlist, Orvp2p, Orve2p, Orve2m,
  Orvdesigner, Orvcsdlg, Orvp2peditor, Orve2peditor, Orve2meditor, Orvmpeditor,
  Orvlinksedit, Orvpropindex,
  Orvtestfixtures, Orvtestconlist, Orvtestdriver;

type
  { A bound component with what the pickers must hide: a protected
    property and event, a write-only and a read-only property. }
  TTestPanel = class(TComponent);

  TTestPanelClassInfo = class(TComponentClassInfo);

  { TTestEditorWindows }

  TTestEditorWindows = class(TTestCase)
  private
    FRoot: TTestRoot;
    FDesigner: TorvRootDesigner;
    FDriver: TModalDriver;
    FList: TorvConnectionList;
    FLink: TorvConnection;
    function Component(const AName: string): TComponent;
    function NewLink(AClass: TorvConnectionClass): TorvConnection;
    function EditorOf(AList: TorvConnectionList): TorvConnectionEditor;
    function FormText(ARoot: TComponent): string;
    function ReadBack(const AText: string): TTestRoot;
    procedure CloseWindows;
    procedure AnswerNo(AForm: TForm);
    procedure AnswerYes(AForm: TForm);
    procedure DriveP2P(AForm: TForm);
    procedure DriveP2PEdges(AForm: TForm);
    procedure DriveE2P(AForm: TForm);
    procedure DriveE2M(AForm: TForm);
    procedure DriveMP(AForm: TForm);
    procedure ChooseEventParameterAgain(AForm: TForm);
    procedure FreeLinkInIndexEditor(AForm: TForm);
    procedure ChangeE2PSource(AForm: TForm);
    procedure TypeSecondIndex(AForm: TForm);
    procedure TypeThirdItem(AForm: TForm);
    procedure CheckIndexRows(AForm: TForm);
    procedure FreeSourceThenLink(AForm: TForm);
    procedure FreeSideInIndexEditor(AForm: TForm);
    procedure CloseAtOnce(AForm: TForm);
  protected
    procedure SetUp; override;
    procedure TearDown; override;
  published
    procedure TestConnectionsEditorAddsDeletesAndMoves;
    procedure TestConnectionsEditorFollowsItsList;
    procedure TestP2PEditorEndToEnd;
    procedure TestP2PEditorRefusalsAndReverts;
    procedure TestE2PEditorEndToEnd;
    procedure TestE2MEditorAndParameters;
    procedure TestPropertyIndexEditorRows;
    procedure TestComponentsGoingWhileOpen;
    procedure TestParameterListWindow;
  end;

implementation

type
  TComponentAccess = class(TComponent);

const
  PanelDescriptors: TorvDescriptors = (
    Properties: 'Define::Caption::psReadable..psWritable::pvPublished::0::' +
      'Define::Secret::psReadable..psWritable::pvProtected::0::' +
      'Define::Sink::psWritable::pvPublic::0::Define::Total::psReadable::pvPublic::0';
    Methods: 'Clear::msProcedure::0';
    Constructors: 'Create::1::AOwner';
    Events: 'Define::OnClick::pvPublished::1::Sender::Define::OnHidden::pvProtected::1::Sender');

{ TTestEditorWindows }

procedure TTestEditorWindows.SetUp;

  procedure Add(AClass: TComponentClass; const AName: string);
  begin
    AClass.Create(FRoot).Name := AName;
  end;

begin
  FRoot := TTestRoot.Create(nil);
  FRoot.Name := 'Form1';
  TComponentAccess(FRoot).SetDesigning(True);
  Add(TTestEdit, 'Edit1');
  Add(TTestEdit, 'Edit2');
  Add(TTestEdit, 'Edit3');
  Add(TTestPanel, 'Panel1');
  FList := TorvConnectionList.Create(FRoot);
  FList.Name := 'List1';
  FDesigner := TorvRootDesigner.Create(FRoot);
  FDriver := TModalDriver.Create(nil);
end;

procedure TTestEditorWindows.TearDown;
begin
  CloseWindows;
  FreeAndNil(FRoot);
  Application.ProcessMessages;
  FreeAndNil(FDesigner);
  FreeAndNil(FDriver);
end;

procedure TTestEditorWindows.CloseWindows;
var
  I: Integer;
begin
  for I := Screen.CustomFormCount - 1 downto 0 do
    if (Screen.CustomForms[I] is TorvConnectionEditor) or
      (Screen.CustomForms[I] is TorvMethodParameterEditor) then
      Screen.CustomForms[I].Close;
  Application.ProcessMessages;
end;

function TTestEditorWindows.Component(const AName: string): TComponent;
begin
  Result := FRoot.FindComponent(AName);
end;

function TTestEditorWindows.NewLink(AClass: TorvConnectionClass): TorvConnection;
begin
  Result := FDesigner.CreateComponent(AClass, nil, 0, 0, 0, 0) as TorvConnection;
  Result.SetConnectionList(FList);
  FLink := Result;
end;

function TTestEditorWindows.EditorOf(AList: TorvConnectionList): TorvConnectionEditor;
var
  I: Integer;
begin
  for I := 0 to Screen.CustomFormCount - 1 do
    if (Screen.CustomForms[I] is TorvConnectionEditor) and
      (TorvConnectionEditor(Screen.CustomForms[I]).ConnectionList = AList) and
      not (csDestroying in Screen.CustomForms[I].ComponentState) then
      Exit(TorvConnectionEditor(Screen.CustomForms[I]));
  Result := nil;
end;

function TTestEditorWindows.FormText(ARoot: TComponent): string;
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

function TTestEditorWindows.ReadBack(const AText: string): TTestRoot;
var
  Binary, Text: TMemoryStream;
begin
  Binary := TMemoryStream.Create;
  Text := TStringStream.Create(AText);
  Result := TTestRoot.Create(nil);
  try
    try
      ObjectTextToBinary(Text, Binary);
      Binary.Position := 0;
      TComponentAccess(Result).SetDesigning(True);
      Binary.ReadComponent(Result);
    except
      FreeAndNil(Result);
      raise;
    end;
  finally
    Text.Free;
    Binary.Free;
  end;
end;

procedure TTestEditorWindows.AnswerNo(AForm: TForm);
begin
  AForm.ModalResult := mrNo;
end;

procedure TTestEditorWindows.AnswerYes(AForm: TForm);
begin
  AForm.ModalResult := mrYes;
end;

procedure TTestEditorWindows.TestConnectionsEditorAddsDeletesAndMoves;
var
  Editor: TorvConnectionEditor;
  Other: TorvConnectionList;
  Key: TLMKey;
  Modified: Integer;

  function Names: string;
  var
    I: Integer;
  begin
    Result := '';
    for I := 0 to Editor.lvConnections.Items.Count - 1 do
      Result := Result + Editor.lvConnections.Items[I].Caption + '/' +
        IntToStr(Editor.lvConnections.Items[I].ImageIndex) + ' ';
  end;

  function Enabled(AAction: TBasicAction): Boolean;
  begin
    AAction.Update;
    Result := (AAction as TCustomAction).Enabled;
  end;

begin
  orvShowConnectionsEditor(FDesigner, FList);
  Editor := EditorOf(FList);
  AssertNotNull('the window is open', Editor);
  AssertEquals('Connections', Editor.Caption);
  AssertEquals('link icons', 3, Editor.ilConnectors.Count);
  AssertEquals('command icons', 5, Editor.ilButtons.Count);
  AssertEquals('the drop-down button adds a property-to-property link', 'pmAdd',
    Editor.tbAdd.DropdownMenu.Name);
  orvShowConnectionsEditor(FDesigner, FList);
  AssertSame('a second call raises the same window', Editor, EditorOf(FList));
  Other := TorvConnectionList.Create(FRoot);
  Other.Name := 'List2';
  orvShowConnectionsEditor(FDesigner, Other);
  AssertTrue('another list has a window of its own',
    (EditorOf(Other) <> nil) and (EditorOf(Other) <> Editor));

  AssertTrue('only the add command works on an empty list', Enabled(Editor.cmAdd) and
    not Enabled(Editor.cmDelete) and not Enabled(Editor.cmMoveUp) and
    not Enabled(Editor.cmMoveDown) and not Enabled(Editor.cmProperties));

  // The tool button, the drop-down entry and the list's shortcuts.
  Editor.tbAdd.Click;
  AssertEquals('the new row is selected and handed to the designer',
    'P2PConnection1', TComponent(FDesigner.Selection[0]).Name);
  Editor.pmAdd.Items[1].Click;
  FillChar(Key, SizeOf(Key), 0);
  Key.Msg := LM_KEYDOWN;
  Key.CharCode := VK_INSERT;
  AssertTrue('Ins adds', Editor.ListMenu.IsShortcut(Key));
  Editor.ListMenu.FindItem(ShortCut(VK_INSERT, [ssCtrl]), fkShortcut).Click;
  Editor.ListMenu.FindItem(ShortCut(VK_INSERT, [ssShift]), fkShortcut).Click;
  AssertEquals('rows in list order with the icon of their kind',
    'P2PConnection1/0 E2PConnection1/1 P2PConnection2/0 E2MConnection1/2 E2PConnection2/1 ', Names);
  AssertEquals(5, FList.GetConnectionCount);
  AssertTrue('the new link is in the list', FList.Connections[4] = Component('E2PConnection2'));

  Editor.lvConnections.Selected := Editor.lvConnections.Items[0];
  AssertFalse('Move Up is off on the first row', Enabled(Editor.cmMoveUp));
  AssertTrue(Enabled(Editor.cmMoveDown) and Enabled(Editor.cmDelete) and Enabled(Editor.cmProperties));
  Editor.cmMoveDown.Execute;
  AssertEquals('E2PConnection1/1 P2PConnection1/0 P2PConnection2/0 E2MConnection1/2 E2PConnection2/1 ', Names);
  AssertEquals('the moved link is second in the list', 1, (Component('P2PConnection1') as TorvConnection).Index);
  AssertEquals('and its row stays selected', 1, Editor.lvConnections.Selected.Index);
  Editor.lvConnections.Selected := Editor.lvConnections.Items[4];
  AssertFalse('Move Down is off on the last row', Enabled(Editor.cmMoveDown));
  Editor.cmMoveUp.Execute;
  AssertEquals('E2PConnection1/1 P2PConnection1/0 P2PConnection2/0 E2PConnection2/1 E2MConnection1/2 ', Names);

  Modified := FDesigner.ModifiedCount;
  FDriver.Expect(TForm, @AnswerNo);
  Editor.cmDelete.Execute;
  FDriver.Check;
  AssertEquals('No deletes nothing', 5, FList.GetConnectionCount);
  AssertEquals('and leaves the form unmodified', Modified, FDesigner.ModifiedCount);
  FDriver.Expect(TForm, @AnswerYes);
  AssertEquals('the row stays selected after No', 'E2PConnection2', Editor.lvConnections.Selected.Caption);
  Editor.cmDelete.Execute;
  FDriver.Check;
  AssertNull('Yes frees the link', Component('E2PConnection2'));
  AssertEquals('E2PConnection1/1 P2PConnection1/0 P2PConnection2/0 E2MConnection1/2 ', Names);
  AssertTrue(FDesigner.ModifiedCount > Modified);

  // Changes made elsewhere: a rename shows on activation, a freed link at once.
  Component('P2PConnection2').Name := 'Renamed';
  Editor.FormActivate(Editor);
  AssertEquals('E2PConnection1/1 P2PConnection1/0 Renamed/0 E2MConnection1/2 ', Names);
  Component('E2PConnection1').Free;
  AssertEquals('P2PConnection1/0 Renamed/0 E2MConnection1/2 ', Names);
  Component('Renamed').Name := 'Again';
  Editor.lvConnections.Selected := Editor.lvConnections.Items[1];
  try
    Editor.cmPropertiesExecute(Editor);
    Fail('a row naming no link');
  except
    on E: Exception do
      AssertEquals('Internal Error. Unknown connection', E.Message);
  end;
end;

procedure TTestEditorWindows.CloseAtOnce(AForm: TForm);
begin
  AForm.ModalResult := mrOK;
end;

procedure TTestEditorWindows.TestConnectionsEditorFollowsItsList;
var
  Editor: TorvConnectionEditor;
begin
  NewLink(TorvP2PConnection);
  orvShowConnectionsEditor(FDesigner, FList);
  Editor := EditorOf(FList);
  AssertEquals(1, Editor.lvConnections.Items.Count);
  // The editor of a link opens from the selected row, modally.
  Editor.lvConnections.Selected := Editor.lvConnections.Items[0];
  FDriver.Expect(TorvP2PForm, @CloseAtOnce);
  Editor.cmProperties.Execute;
  FDriver.Check;
  FDesigner.SelectComponent(nil);
  FList.Free;
  FList := nil;
  Application.ProcessMessages;
  AssertNull('the window closes with its list', EditorOf(nil));
  AssertEquals('and does not select the list it lost', 0, FDesigner.Selection.Count);
  try
    orvShowConnectionsEditor(FDesigner, Component('Edit1'));
    Fail('a component that is not a connection list');
  except
    on E: EInvalidCast do ;
  end;
end;

procedure TTestEditorWindows.DriveP2P(AForm: TForm);
var
  Editor: TorvP2PForm;
begin
  Editor := AForm as TorvP2PForm;
  AssertEquals('P2PConnection editor', Editor.Caption);
  AssertEquals('bound components only, in the designer''s order',
    'Edit1,Edit2,Edit3,Panel1', Rows(Editor.cbSource.Items));
  Pick(Editor.cbSource, 'Panel1');
  AssertTrue('readable and not protected, of the whole chain',
    (Editor.lbSourceProperty.Items.IndexOf('Caption') >= 0) and
    (Editor.lbSourceProperty.Items.IndexOf('Total') >= 0) and
    (Editor.lbSourceProperty.Items.IndexOf('Tag') >= 0) and
    (Editor.lbSourceProperty.Items.IndexOf('Self') >= 0) and
    (Editor.lbSourceProperty.Items.IndexOf('Secret') < 0) and
    (Editor.lbSourceProperty.Items.IndexOf('Sink') < 0));
  AssertTrue('sorted', Editor.lbSourceProperty.Items.IndexOf('Caption') <
    Editor.lbSourceProperty.Items.IndexOf('Total'));
  AssertEquals('events not protected', 'OnClick', Rows(Editor.cbSourceEvent.Items));
  Pick(Editor.cbSource, 'Edit1');
  ClickRow(Editor.lbSourceProperty, 'Text');
  AssertEquals('(None)', Editor.edSourcePropertyIndex.Text);
  AssertFalse(Editor.btSourcePropertyIndex.Enabled);
  Pick(Editor.cbSourceEvent, 'OnChange');
  TypeEnter(Editor.cbTarget, 'panel1');
  AssertTrue('writable only: Total is read-only, Sink write-only',
    (Editor.lbTargetProperty.Items.IndexOf('Sink') >= 0) and
    (Editor.lbTargetProperty.Items.IndexOf('Total') < 0) and
    (Editor.lbTargetProperty.Items.IndexOf('Secret') < 0));
  TypeEnter(Editor.cbTarget, 'edit2');
  AssertEquals('the designer''s spelling is shown', 'Edit2', Editor.cbTarget.Text);
  ClickRow(Editor.lbTargetProperty, 'Cells');
  AssertEquals('[Row, Col]', Editor.edTargetPropertyIndex.Text);
  AssertTrue(Editor.btTargetPropertyIndex.Enabled);
  FDriver.Expect(TorvPropertyIndexEditor, @TypeSecondIndex);
  Editor.btTargetPropertyIndex.Click;
  TypeLeave(Editor.cbTargetEvent, 'OnNothing');
  AssertEquals('an unknown event reverts', '', Editor.cbTargetEvent.Text);
  Pick(Editor.cbTargetEvent, 'OnChange');
  Editor.btClose.Click;
end;

procedure TTestEditorWindows.TypeSecondIndex(AForm: TForm);
var
  Editor: TorvPropertyIndexEditor;
begin
  Editor := AForm as TorvPropertyIndexEditor;
  AssertEquals('Property Index', Editor.Caption);
  AssertEquals('one row per index parameter', 2, Editor.sgIndexes.RowCount);
  AssertEquals('Row', Editor.sgIndexes.Cells[0, 0]);
  AssertEquals('Col', Editor.sgIndexes.Cells[0, 1]);
  Editor.sgIndexes.Col := 1;
  Editor.sgIndexes.Row := 1;
  Editor.sgIndexes.EditorMode := True;
  Editor.sgIndexes.Editor.Caption := '2';
  Editor.btClose.Click;
end;

procedure TTestEditorWindows.TestP2PEditorEndToEnd;
var
  Link, Copy: TorvP2PConnection;
  Text: string;
  Root: TTestRoot;
begin
  Link := NewLink(TorvP2PConnection) as TorvP2PConnection;
  Link.Name := 'CopyText';
  FDriver.Expect(TorvP2PForm, @DriveP2P);
  orvShowP2PEditor(FDesigner, Link);
  FDriver.Check;
  AssertTrue('each choice marked the form modified', FDesigner.ModifiedCount >= 8);
  AssertSame(Component('Edit1'), Link.Source);
  AssertEquals('Text', Link.SourceProperty);
  AssertEquals('OnChange', Link.SourceEvent);
  AssertSame(Component('Edit2'), Link.Target);
  AssertEquals('Cells', Link.TargetProperty);
  AssertEquals('OnChange', Link.TargetEvent);
  AssertEquals('the untouched index stays empty', '', VarToStr(Link.TargetPropertyIndex[0]));
  AssertTrue('a typed index is text', VarIsStr(Link.TargetPropertyIndex[1]));
  AssertEquals('2', Link.TargetPropertyIndex[1]);
  Text := FormText(FRoot);
  AssertTrue('stored in the form file', (Pos('SourceProperty = ''Text''', Text) > 0) and
    (Pos('TargetProperty = ''Cells''', Text) > 0) and (Pos('TargetEvent = ''OnChange''', Text) > 0));
  Root := ReadBack(Text);
  try
    Copy := Root.FindComponent('CopyText') as TorvP2PConnection;
    AssertEquals('Edit2', Copy.Target.Name);
    AssertEquals('2', Copy.TargetPropertyIndex[1]);
    Root.Name := FRoot.Name;
    AssertEquals('read back in the designer, written again the same', Text, FormText(Root));
  finally
    Root.Free;
  end;
end;

procedure TTestEditorWindows.DriveP2PEdges(AForm: TForm);
var
  Editor: TorvP2PForm;
  Modified: Integer;
begin
  Editor := AForm as TorvP2PForm;
  AssertEquals('Edit1', Editor.cbSource.Text);
  AssertEquals('the link''s property is the selected row', 'Text',
    Editor.lbSourceProperty.Items[Editor.lbSourceProperty.ItemIndex]);
  Modified := FDesigner.ModifiedCount;
  TypeEnter(Editor.cbSource, 'EDIT1');
  AssertEquals('retyping the name in other case changes nothing', Modified, FDesigner.ModifiedCount);
  try
    TypeEnter(Editor.cbSource, 'List1');
    Fail('an unbound component');
  except
    on E: Exception do
      AssertEquals('This is a not Orvane component!', E.Message);
  end;
  AssertSame('the refused setter keeps the link', Component('Edit1'), (FLink as TorvP2PConnection).Source);
  TypeLeave(Editor.cbSource, '');
  AssertNull('an empty picker clears the side', FLink.Source);
  AssertEquals(0, Editor.lbSourceProperty.Items.Count);
  AssertEquals(0, Editor.cbSourceEvent.Items.Count);
  AssertEquals('(None)', Editor.edSourcePropertyIndex.Text);
  AssertFalse(Editor.btSourcePropertyIndex.Enabled);
  TypeLeave(Editor.cbSource, 'Nobody');
  AssertEquals('a name of no component clears the text', '', Editor.cbSource.Text);
  Editor.ModalResult := mrOK;
end;

procedure TTestEditorWindows.TestP2PEditorRefusalsAndReverts;
var
  Link: TorvP2PConnection;
begin
  Link := NewLink(TorvP2PConnection) as TorvP2PConnection;
  Link.Source := Component('Edit1');
  Link.SourceProperty := 'Text';
  FDriver.Expect(TorvP2PForm, @DriveP2PEdges);
  orvShowP2PEditor(FDesigner, Link);
  FDriver.Check;
end;

procedure TTestEditorWindows.DriveE2P(AForm: TForm);
var
  Editor: TorvE2PForm;
  Link: TorvE2PConnection;
  Modified: Integer;
begin
  Editor := AForm as TorvE2PForm;
  Link := FLink as TorvE2PConnection;
  AssertEquals('E2PConnection editor', Editor.Caption);
  AssertEquals('opens narrow', 400, Editor.Width);
  Editor.btExplore.Click;
  AssertEquals(690, Editor.Width);
  AssertEquals('<< Set value as', Editor.btExplore.Caption);
  AssertEquals('the page of the stored value source', 2, Editor.pcValue.PageIndex);
  AssertEquals('the source event''s parameters in their order', 'Sender,Text,Accept',
    Rows(Editor.lbEventParameter.Items));
  ClickRow(Editor.lbEventParameter, 'Text');
  TypeLeave(Editor.cbSourceEvent, 'OnNothing');
  AssertEquals('an unknown event keeps the previous one', 'OnValidate', Link.SourceEvent);
  AssertEquals('and its parameters', 3, Editor.lbEventParameter.Items.Count);
  Pick(Editor.cbTarget, 'Edit3');
  ClickRow(Editor.lbTargetProperty, 'Number');
  Modified := FDesigner.ModifiedCount;
  ClickPage(Editor.pcValue, 1);
  AssertTrue('a page is a value source', Link.ValueOptions = voComponentProperty);
  AssertEquals(Modified + 1, FDesigner.ModifiedCount);
  Pick(Editor.cbComponent, 'Edit2');
  ClickRow(Editor.lbComponentProperty, 'Items');
  AssertEquals('[Index]', Editor.edComponentPropertyIndex.Text);
  FDriver.Expect(TorvPropertyIndexEditor, @TypeThirdItem);
  Editor.btComponentPropertyIndex.Click;
  ClickPage(Editor.pcValue, 0);
  Editor.edConstant.Text := '4';
  AssertEquals('the constant is written as it is typed', '4', Link.ValueConstant);
  ClickPage(Editor.pcValue, 1);
  AssertEquals('other sources are kept', 'Text', Link.ValueEventParameter);
  Editor.btExplore.Click;
  AssertEquals('Set value as >>', Editor.btExplore.Caption);
  Editor.btClose.Click;
end;

procedure TTestEditorWindows.ChangeE2PSource(AForm: TForm);
var
  Editor: TorvE2PForm;
begin
  Editor := AForm as TorvE2PForm;
  AssertEquals('OnValidate', Editor.cbSourceEvent.Text);
  Pick(Editor.cbSource, 'Edit2');
  AssertEquals('another source has no event chosen', '', Editor.cbSourceEvent.Text);
  AssertEquals('OnChange,OnValidate', Rows(Editor.cbSourceEvent.Items));
  AssertEquals('and no event parameters', 0, Editor.lbEventParameter.Items.Count);
  Editor.btClose.Click;
end;

procedure TTestEditorWindows.TypeThirdItem(AForm: TForm);
var
  Editor: TorvPropertyIndexEditor;
begin
  Editor := AForm as TorvPropertyIndexEditor;
  Editor.sgIndexes.Col := 1;
  Editor.sgIndexes.Row := 0;
  Editor.sgIndexes.EditorMode := True;
  Editor.sgIndexes.Editor.Caption := '3';
  Editor.btClose.Click;
end;

procedure TTestEditorWindows.TestE2PEditorEndToEnd;
var
  Link: TorvE2PConnection;
  Text: string;
  Root: TTestRoot;
begin
  Link := NewLink(TorvE2PConnection) as TorvE2PConnection;
  Link.Name := 'Assign';
  Link.Source := Component('Edit1');
  Link.SourceEvent := 'OnValidate';
  Link.ValueOptions := voEventProperty;
  FDriver.Expect(TorvE2PForm, @DriveE2P);
  orvShowE2PEditor(FDesigner, Link);
  FDriver.Check;
  AssertSame(Component('Edit3'), Link.Target);
  AssertEquals('Number', Link.TargetProperty);
  AssertSame(Component('Edit2'), Link.ValueComponent);
  AssertEquals('Items', Link.ValueComponentProperty);
  AssertEquals('3', Link.ValueComponentPropertyIndex[0]);
  AssertTrue(Link.ValueOptions = voComponentProperty);
  Text := FormText(FRoot);
  AssertTrue('stored in the form file', (Pos('ValueComponentPropertyIndexes = (', Text) > 0) and
    (Pos('ValueEventParameter = ''Text''', Text) > 0) and (Pos('ValueConstant = ''4''', Text) > 0));
  Root := ReadBack(Text);
  try
    AssertEquals('Items', (Root.FindComponent('Assign') as TorvE2PConnection).ValueComponentProperty);
  finally
    Root.Free;
  end;
  FDriver.Expect(TorvE2PForm, @ChangeE2PSource);
  orvShowE2PEditor(FDesigner, Link);
  FDriver.Check;
  AssertEquals('', Link.SourceEvent);
  AssertEquals('', Link.ValueEventParameter);
end;

procedure TTestEditorWindows.DriveE2M(AForm: TForm);
var
  Editor: TorvE2MForm;
begin
  Editor := AForm as TorvE2MForm;
  AssertEquals('E2MConnection editor', Editor.Caption);
  Pick(Editor.cbSource, 'Edit1');
  Pick(Editor.cbSourceEvent, 'OnValidate');
  AssertFalse('no method, no parameters', Editor.btSetParameters.Enabled);
  Pick(Editor.cbTarget, 'Edit2');
  AssertTrue('every method of the target',
    (Editor.lbTargetMethod.Items.IndexOf('Combine') >= 0) and
    (Editor.lbTargetMethod.Items.IndexOf('FindComponent') >= 0) and
    (Editor.lbTargetMethod.Items.IndexOf('Free') >= 0));
  ClickRow(Editor.lbTargetMethod, 'Combine');
  AssertTrue('a method with parameters enables the button', Editor.btSetParameters.Enabled);
  FDriver.Expect(TorvMPForm, @DriveMP);
  Editor.btSetParameters.Click;
  AssertEquals('Text', (FLink as TorvE2MConnection).TargetMethodParameters[1].EventParameter);
  Pick(Editor.cbSourceEvent, 'OnChange');
  AssertEquals('another event clears the parameters'' event parameters', '',
    (FLink as TorvE2MConnection).TargetMethodParameters[1].EventParameter);
  Pick(Editor.cbSourceEvent, 'OnValidate');
  FDriver.Expect(TorvMPForm, @ChooseEventParameterAgain);
  Editor.btSetParameters.Click;
  Editor.btClose.Click;
end;

procedure TTestEditorWindows.DriveMP(AForm: TForm);
var
  Editor: TorvMPForm;
  Link: TorvE2MConnection;
begin
  Editor := AForm as TorvMPForm;
  Link := FLink as TorvE2MConnection;
  AssertEquals('Method parameters editor', Editor.Caption);
  AssertEquals('A,B', Rows(Editor.lbParameters.Items));
  AssertEquals('opens on the first parameter', 0, Editor.lbParameters.ItemIndex);
  AssertEquals('on the page of its value source', 0, Editor.pcValue.PageIndex);
  AssertEquals('the source event''s parameters, unsorted', 'Sender,Text,Accept',
    Rows(Editor.lbEventParameter.Items));
  Editor.edConstant.Text := 'x';
  ClickRow(Editor.lbParameters, 'B');
  AssertEquals('the other parameter''s constant', '', Editor.edConstant.Text);
  ClickPage(Editor.pcValue, 1);
  Pick(Editor.cbComponent, 'Edit3');
  ClickRow(Editor.lbComponentProperty, 'Number');
  ClickPage(Editor.pcValue, 2);
  ClickRow(Editor.lbEventParameter, 'Text');
  ClickPage(Editor.pcValue, 1);
  ClickRow(Editor.lbParameters, 'A');
  AssertEquals('A keeps its own page', 0, Editor.pcValue.PageIndex);
  AssertEquals('x', Editor.edConstant.Text);
  AssertTrue(Link.TargetMethodParameters[0].Options = voConstant);
  Editor.btClose.Click;
end;

procedure TTestEditorWindows.ChooseEventParameterAgain(AForm: TForm);
var
  Editor: TorvMPForm;
begin
  Editor := AForm as TorvMPForm;
  ClickRow(Editor.lbParameters, 'B');
  AssertEquals('B''s page', 1, Editor.pcValue.PageIndex);
  AssertEquals('no event parameter chosen', -1, Editor.lbEventParameter.ItemIndex);
  ClickRow(Editor.lbEventParameter, 'Text');
  Editor.btClose.Click;
end;

procedure TTestEditorWindows.TestE2MEditorAndParameters;
var
  Link: TorvE2MConnection;
  Text: string;
  Root: TTestRoot;
  B: TorvParameterConnection;
begin
  Link := NewLink(TorvE2MConnection) as TorvE2MConnection;
  Link.Name := 'Call';
  FDriver.Expect(TorvE2MForm, @DriveE2M);
  orvShowE2MEditor(FDesigner, Link);
  FDriver.Check;
  AssertEquals('Combine', Link.TargetMethod);
  AssertEquals('x', Link.TargetMethodParameters[0].Constant);
  B := Link.TargetMethodParameters[1];
  AssertTrue(B.Options = voComponentProperty);
  AssertSame(Component('Edit3'), B.Component);
  AssertEquals('Number', B.ComponentProperty);
  AssertEquals('Text', B.EventParameter);
  Text := FormText(FRoot);
  AssertTrue('stored in the form file', (Pos('TargetMethod = ''Combine''', Text) > 0) and
    (Pos('ComponentProperty = ''Number''', Text) > 0) and (Pos('Constant = ''x''', Text) > 0));
  Root := ReadBack(Text);
  try
    B := (Root.FindComponent('Call') as TorvE2MConnection).TargetMethodParameters[1];
    AssertEquals('Edit3', B.Component.Name);
    AssertEquals('Text', B.EventParameter);
  finally
    Root.Free;
  end;
end;

procedure TTestEditorWindows.CheckIndexRows(AForm: TForm);
var
  Editor: TorvPropertyIndexEditor;
begin
  Editor := AForm as TorvPropertyIndexEditor;
  AssertEquals('5', Editor.sgIndexes.Cells[1, 0]);
  AssertEquals('6', Editor.sgIndexes.Cells[1, 1]);
  Editor.sgIndexes.Col := 1;
  Editor.sgIndexes.Row := 1;
  Editor.sgIndexes.EditorMode := True;
  Editor.sgIndexes.Editor.Caption := '7';
  Editor.FormActivate(Editor);
  AssertEquals('an edit survives a refill', '7', Editor.sgIndexes.Cells[1, 1]);
  Editor.btClose.Click;
end;

procedure TTestEditorWindows.FreeLinkInIndexEditor(AForm: TForm);
begin
  FreeAndNil(FLink);
end;

procedure TTestEditorWindows.FreeSideInIndexEditor(AForm: TForm);
begin
  Component('Edit2').Free;
end;

procedure TTestEditorWindows.TestPropertyIndexEditorRows;
var
  Link: TorvP2PConnection;
  Prop: TorvPropertyInfo;
begin
  Link := NewLink(TorvP2PConnection) as TorvP2PConnection;
  Link.Target := Component('Edit2');
  Link.TargetProperty := 'Cells';
  Prop := Link.GetTargetPropertyInfo;
  FDriver.Expect(TorvPropertyIndexEditor, @CheckIndexRows);
  AssertTrue(orvShowPropertyIndexEditor(FDesigner, Link, IndexArray(['5', '6']), Prop));
  FDriver.Check;
  AssertEquals('the untouched row keeps its value', '5', Prop.GetIndexes(0).Value);
  AssertEquals('the edited row holds the typed text', '7', Prop.GetIndexes(1).Value);
  AssertTrue(VarIsStr(Prop.GetIndexes(1).Value));
  try
    orvShowPropertyIndexEditor(FDesigner, Link, Unassigned, Prop);
    Fail('an index list that is not an array');
  except
    on E: EVariantError do ;
  end;
  // The component whose class info made the property goes, or the link:
  // the window closes with nothing to read.
  FDriver.Expect(TorvPropertyIndexEditor, @FreeSideInIndexEditor);
  AssertFalse(orvShowPropertyIndexEditor(FDesigner, Link, IndexArray(['5', '6']), Prop));
  FDriver.Check;
  Link.Target := Component('Edit3');
  Link.TargetProperty := 'Cells';
  FDriver.Expect(TorvPropertyIndexEditor, @FreeLinkInIndexEditor);
  AssertFalse(orvShowPropertyIndexEditor(FDesigner, Link, IndexArray(['5', '6']),
    Link.GetTargetPropertyInfo));
  FDriver.Check;
  AssertEquals(0, FList.GetConnectionCount);
end;

procedure TTestEditorWindows.FreeSourceThenLink(AForm: TForm);
var
  Editor: TorvP2PForm;
begin
  Editor := AForm as TorvP2PForm;
  AssertEquals('Edit1', Editor.cbSource.Text);
  Component('Edit1').Free;
  AssertEquals('a side that goes is cleared', '', Editor.cbSource.Text);
  AssertEquals(0, Editor.lbSourceProperty.Items.Count);
  AssertEquals('(None)', Editor.edSourcePropertyIndex.Text);
  AssertEquals('and no longer offered', 'Edit2,Edit3,Panel1', Rows(Editor.cbTarget.Items));
  FLink.Free;
  FLink := nil;
  AssertNull('the link going leaves the window nothing to edit', Editor.Connection);
end;

procedure TTestEditorWindows.TestComponentsGoingWhileOpen;
var
  Link: TorvP2PConnection;
begin
  Link := NewLink(TorvP2PConnection) as TorvP2PConnection;
  Link.Source := Component('Edit1');
  Link.SourceProperty := 'Items';
  FDriver.Expect(TorvP2PForm, @FreeSourceThenLink);
  orvShowP2PEditor(FDesigner, Link);
  FDriver.Check;
  AssertEquals(0, FList.GetConnectionCount);
end;

procedure TTestEditorWindows.TestParameterListWindow;
var
  Link: TorvE2MConnection;
  Window: TorvMethodParameterEditor;
begin
  Link := NewLink(TorvE2MConnection) as TorvE2MConnection;
  Link.Target := Component('Edit1');
  Link.TargetMethod := 'Combine';
  orvShowMethodParameterEditor(FDesigner, Link);
  orvShowMethodParameterEditor(FDesigner, Link);
  Window := OpenForm(TorvMethodParameterEditor) as TorvMethodParameterEditor;
  AssertEquals('Parameters', Window.Caption);
  AssertEquals(2, Window.lvParameters.Items.Count);
  AssertEquals('B', Window.lvParameters.Items[1].Caption);
  Window.lvParametersSelectItem(Window.lvParameters, Window.lvParameters.Items[1], True);
  AssertSame('the parameter connection, not the link, is selected',
    Link.TargetMethodParameters[1], TObject(FDesigner.Selection[0]));
  Window.Close;
  Application.ProcessMessages;
  AssertSame('closing selects the link again', Link, TObject(FDesigner.Selection[0]));
  orvShowMethodParameterEditor(FDesigner, Link);
  Window := OpenForm(TorvMethodParameterEditor) as TorvMethodParameterEditor;
  Link.Free;
  Application.ProcessMessages;
  AssertNull('the window closes with its link', OpenForm(TorvMethodParameterEditor));
end;

initialization
  RegisterClass(TTestPanel);
  RegisterBinding('TTestPanel', TTestPanelClassInfo, PanelDescriptors);
  RegisterTest('Editors', TTestEditorWindows);
end.
