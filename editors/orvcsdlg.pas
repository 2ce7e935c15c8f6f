{ The connections editor: the small modeless window beside the designed form
  that lists the links of one connection list in list order, adds links of
  the three kinds, deletes and moves them, and opens each link's editor.
  There is at most one such window per designer and connection list. }
unit Orvcsdlg;

{$I orvdefines.inc}

interface

uses
  Classes, SysUtils,
  Forms, Controls, ComCtrls, ActnList, Menus, ImgList, Dialogs,
  Orvconlist, Orvdesigner, Orvlinkform;

{ Show the connections editor of AConnectionList (a TorvConnectionList; any
  other component raises the host's invalid cast error) in the form
  ADesigner designs: the one already open for them, brought to the front,
  or a new one. }
procedure orvShowConnectionsEditor(ADesigner: TorvDesigner; AConnectionList: TComponent);

type
  { TorvConnectionEditor }

  TorvConnectionEditor = class(TorvToolWindow)
    tbButtons: TToolBar;
    tbAdd: TToolButton;
    tbDelete: TToolButton;
    ToolButton1: TToolButton;
    tbMoveUp: TToolButton;
    tbMoveDown: TToolButton;
    ToolButton3: TToolButton;
    ToolButton2: TToolButton;
    { A one-column report without headers: the LCL's list style draws no
      row icons on gtk2, and this looks the same with them. }
    lvConnections: TListView;
    ilConnectors: TImageList;
    ilButtons: TImageList;
    ActionList1: TActionList;
    cmAdd: TAction;
    cmDelete: TAction;
    cmMoveUp: TAction;
    cmMoveDown: TAction;
    cmProperties: TAction;
    pmAdd: TPopupMenu;
    miAddP2P: TMenuItem;
    miAddE2P: TMenuItem;
    miAddE2M: TMenuItem;
    { The list's popup menu is the component "PopupMenu" of the form file; a
      field of that name would hide the form's own PopupMenu property, which
      this dialect refuses, so it is reached through the list view. }
    miNew: TMenuItem;
    miNewP2P: TMenuItem;
    miNewE2P: TMenuItem;
    miNewE2M: TMenuItem;
    miDelete: TMenuItem;
    N1: TMenuItem;
    miMoveUp: TMenuItem;
    miMoveDown: TMenuItem;
    N2: TMenuItem;
    miProperties: TMenuItem;
    procedure cmAddP2PExecute(Sender: TObject);
    procedure cmAddE2PExecute(Sender: TObject);
    procedure cmAddE2MExecute(Sender: TObject);
    procedure cmDeleteExecute(Sender: TObject);
    procedure cmDeleteUpdate(Sender: TObject);
    procedure cmMoveUpExecute(Sender: TObject);
    procedure cmMoveUpUpdate(Sender: TObject);
    procedure cmMoveDownExecute(Sender: TObject);
    procedure cmMoveDownUpdate(Sender: TObject);
    procedure cmPropertiesExecute(Sender: TObject);
    procedure cmPropertiesUpdate(Sender: TObject);
    procedure lvConnectionsDblClick(Sender: TObject);
    procedure lvConnectionsSelectItem(Sender: TObject; Item: TListItem; Selected: Boolean);
  private
    function GetConnectionList: TorvConnectionList;
    function AddRow(AConnection: TorvConnection): TListItem;
    procedure ShowRow(AItem: TListItem);
    procedure Add(AClass: TorvConnectionClass; const ABaseName: string);
    procedure Move(ADelta: Integer);
  protected
    class function AcceptedSubject(ASubject: TComponent): TComponent; override;
    function KeyName: string; override;
    procedure UpdateListBox; override;
    procedure Notification(AComponent: TComponent; Operation: TOperation); override;
  public
    { The popup menu of the list. }
    function ListMenu: TPopupMenu;
    { The list shown; nil once it has been destroyed. }
    property ConnectionList: TorvConnectionList read GetConnectionList;
  end;

resourcestring
  rsDeleteConnection = 'Delete %s connection?';
  rsUnknownConnection = 'Internal Error. Unknown connection';

implementation

uses
  Orvp2p, Orve2p, Orve2m, Orvp2peditor, Orve2peditor, Orve2meditor, Orveditorhooks;

{$R *.lfm}

procedure orvShowConnectionsEditor(ADesigner: TorvDesigner; AConnectionList: TComponent);
begin
  orvShowToolWindow(TorvConnectionEditor, ADesigner, AConnectionList);
end;

{ Return the image of a link's kind, or -1 for another kind. }
function ImageOf(AConnection: TorvConnection): Integer;
begin
  if AConnection is TorvP2PConnection then
    Result := 0
  else if AConnection is TorvE2PConnection then
    Result := 1
  else if AConnection is TorvE2MConnection then
    Result := 2
  else
    Result := -1;
end;

{ TorvConnectionEditor }

class function TorvConnectionEditor.AcceptedSubject(ASubject: TComponent): TComponent;
begin
  Result := ASubject as TorvConnectionList;
end;

function TorvConnectionEditor.KeyName: string;
begin
  Result := 'Connection Editor';
end;

function TorvConnectionEditor.GetConnectionList: TorvConnectionList;
begin
  Result := TorvConnectionList(FSubject);
end;

function TorvConnectionEditor.ListMenu: TPopupMenu;
begin
  Result := lvConnections.PopupMenu;
end;

function TorvConnectionEditor.AddRow(AConnection: TorvConnection): TListItem;
begin
  Result := lvConnections.Items.Add;
  Result.Caption := AConnection.Name;
  Result.Data := AConnection;
  Result.ImageIndex := ImageOf(AConnection);
  // A link deleted elsewhere takes its row with it.
  AConnection.FreeNotification(Self);
end;

procedure TorvConnectionEditor.UpdateListBox;
var
  I: Integer;
begin
  lvConnections.Items.BeginUpdate;
  try
    lvConnections.Items.Clear;
    if ConnectionList <> nil then
      for I := 0 to ConnectionList.GetConnectionCount - 1 do
        AddRow(ConnectionList.Connections[I]);
  finally
    lvConnections.Items.EndUpdate;
  end;
end;

procedure TorvConnectionEditor.ShowRow(AItem: TListItem);
begin
  lvConnections.Selected := AItem;
  lvConnections.ItemFocused := AItem;
  AItem.MakeVisible(False);
  // Not every widgetset reports a selection the program makes.
  lvConnectionsSelectItem(lvConnections, AItem, True);
end;

procedure TorvConnectionEditor.Add(AClass: TorvConnectionClass; const ABaseName: string);
var
  Link: TorvConnection;
begin
  if ConnectionList = nil then
    Exit;
  Link := FDesigner.CreateComponent(AClass, nil, 0, 0, 0, 0) as TorvConnection;
  Link.Name := FDesigner.UniqueName(ABaseName);
  Link.SetConnectionList(ConnectionList);
  FDesigner.Modified;
  ShowRow(AddRow(Link));
end;

procedure TorvConnectionEditor.cmAddP2PExecute(Sender: TObject);
begin
  Add(TorvP2PConnection, 'P2PConnection');
end;

procedure TorvConnectionEditor.cmAddE2PExecute(Sender: TObject);
begin
  Add(TorvE2PConnection, 'E2PConnection');
end;

procedure TorvConnectionEditor.cmAddE2MExecute(Sender: TObject);
begin
  Add(TorvE2MConnection, 'E2MConnection');
end;

procedure TorvConnectionEditor.cmDeleteExecute(Sender: TObject);
var
  Item: TListItem;
  Link: TComponent;
  Question: TForm;
  Answer: TModalResult;
begin
  Item := lvConnections.Selected;
  if Item = nil then
    Exit;
  Link := TComponent(Item.Data);
  // The host's message box is a native dialog on some widgetsets; this is
  // the same confirmation box made as an LCL form.
  Question := CreateMessageDialog(Format(rsDeleteConnection, [Item.Caption]), mtConfirmation,
    [mbYes, mbNo]);
  try
    Answer := Question.ShowModal;
  finally
    Question.Free;
  end;
  // The link may have gone while the question was asked.
  Item := lvConnections.Items.FindData(Link);
  if Item = nil then
    Exit;
  if Answer <> mrYes then
  begin
    // Some widgetsets drop the list's selection while the box is shown.
    lvConnections.Selected := Item;
    Exit;
  end;
  // Freeing the link removes its row through the free notification.
  Link.Free;
  FDesigner.Modified;
end;

procedure TorvConnectionEditor.Move(ADelta: Integer);
var
  Link: TorvConnection;
begin
  if lvConnections.Selected = nil then
    Exit;
  Link := TorvConnection(lvConnections.Selected.Data);
  Link.Index := Link.Index + ADelta;
  UpdateListBox;
  if (Link.Index >= 0) and (Link.Index < lvConnections.Items.Count) then
    ShowRow(lvConnections.Items[Link.Index]);
  FDesigner.SelectComponent(Link);
  FDesigner.Modified;
end;

procedure TorvConnectionEditor.cmMoveUpExecute(Sender: TObject);
begin
  Move(-1);
end;

procedure TorvConnectionEditor.cmMoveDownExecute(Sender: TObject);
begin
  Move(1);
end;

procedure TorvConnectionEditor.cmDeleteUpdate(Sender: TObject);
begin
  cmDelete.Enabled := lvConnections.SelCount > 0;
end;

procedure TorvConnectionEditor.cmMoveUpUpdate(Sender: TObject);
begin
  cmMoveUp.Enabled := (lvConnections.SelCount = 1) and (lvConnections.Selected.Index > 0);
end;

procedure TorvConnectionEditor.cmMoveDownUpdate(Sender: TObject);
begin
  cmMoveDown.Enabled := (lvConnections.SelCount = 1) and
    (lvConnections.Selected.Index < lvConnections.Items.Count - 1);
end;

procedure TorvConnectionEditor.cmPropertiesUpdate(Sender: TObject);
begin
  cmProperties.Enabled := lvConnections.SelCount > 0;
end;

procedure TorvConnectionEditor.cmPropertiesExecute(Sender: TObject);
var
  Link: TComponent;
begin
  if lvConnections.Selected = nil then
    Exit;
  Link := FDesigner.GetComponent(lvConnections.Selected.Caption);
  if Link is TorvP2PConnection then
    orvShowP2PEditor(FDesigner, TorvP2PConnection(Link))
  else if Link is TorvE2PConnection then
    orvShowE2PEditor(FDesigner, TorvE2PConnection(Link))
  else if Link is TorvE2MConnection then
    orvShowE2MEditor(FDesigner, TorvE2MConnection(Link))
  else
    raise Exception.Create(rsUnknownConnection);
end;

procedure TorvConnectionEditor.lvConnectionsDblClick(Sender: TObject);
begin
  if lvConnections.Selected <> nil then
    cmPropertiesExecute(Sender);
end;

procedure TorvConnectionEditor.lvConnectionsSelectItem(Sender: TObject; Item: TListItem;
  Selected: Boolean);
begin
  if Selected and (Item.Data <> nil) then
    FDesigner.SelectComponent(TorvConnection(Item.Data));
end;

procedure TorvConnectionEditor.Notification(AComponent: TComponent; Operation: TOperation);
var
  Item: TListItem;
begin
  inherited Notification(AComponent, Operation);
  if (Operation <> opRemove) or (csDestroying in ComponentState) then
    Exit;
  if AComponent = FSubject then
  begin
    SubjectGone;
    Exit;
  end;
  Item := lvConnections.Items.FindData(AComponent);
  if Item <> nil then
    Item.Delete;
end;

initialization
  orvEditConnectionsProc := @orvShowConnectionsEditor;

end.
