{ The link application's window. Everything it does is in its form file,
  orvlinkappform.lfm: the controls, and a connection list whose links tie
  them together. There is no event handler here, and none is needed.

  How adding works without code: the list box's Items is a list, not a
  component, so no link can name it directly; the variable ListItems stands
  for it. ListBox1 replaces its Items object when its window is made, so the
  first link on AddAction.OnExecute points ListItems at the current Items
  each time, before AddText calls Add on it and ClearEdit empties the edit.
  The button, the menu item and the action itself all run AddAction. }
unit Orvlinkappform;

{$I orvdefines.inc}

interface

uses
  Classes, SysUtils,
  Forms, Controls, StdCtrls, Menus, ActnList,
  Orvconlist, Orvp2p, Orve2p, Orve2m, Orvvar;

type
  { TLinkAppForm }

  TLinkAppForm = class(TForm)
    LabelType: TLabel;
    Edit1: TEdit;
    Label1: TLabel;
    LabelNumber: TLabel;
    ScrollBar1: TScrollBar;
    Edit2: TEdit;
    CheckBox1: TCheckBox;
    Button1: TButton;
    ListBox1: TListBox;
    MainMenu1: TMainMenu;
    MenuList: TMenuItem;
    MenuAdd: TMenuItem;
    ActionList1: TActionList;
    AddAction: TAction;
    ListItems: TorvVariable;
    Links: TorvConnectionList;
    FollowText: TorvP2PConnection;
    ScrollAndNumber: TorvP2PConnection;
    AllowButton: TorvP2PConnection;
    AllowAction: TorvP2PConnection;
    ButtonRunsAction: TorvE2MConnection;
    FindListItems: TorvE2PConnection;
    AddText: TorvE2MConnection;
    ClearEdit: TorvE2PConnection;
  end;

var
  LinkAppForm: TLinkAppForm;

implementation

{$R *.lfm}

end.
