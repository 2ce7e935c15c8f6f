{ The link application's self-check: it works the window as a person
  would, step by step, and checks after each step what the links did.

  A person's actions reach the program through the widgetset as the same
  calls made here: typing ends in the edit's Text changing (and its
  OnChange), a click on a button or a check box in Click, moving the scroll
  bar in Position changing, choosing a menu item in its Click. What a
  person cannot do is refused here too: a disabled button is not pressed.

  Used by the application (--self-check) and by the test suite. }
unit Orvlinkappcheck;

{$I orvdefines.inc}

interface

uses
  Classes, SysUtils,
  Forms, Controls, StdCtrls, Menus, Graphics,
  Orvlinkappform;

type
  { TorvLinkAppCheck }

  { One run of the self-check on a shown window. Each step adds a line to
    the log: "ok" and what held, or "FAILED" and what was found instead. }
  TorvLinkAppCheck = class
  private
    FForm: TLinkAppForm;
    FLog: TStrings;
    FFailures: Integer;
    FErrors: TStringList;
    procedure Settle;
    procedure Expect(ACondition: Boolean; const AText: string);
    procedure ExpectText(const AWhat, AExpected, AFound: string);
    procedure CatchError(Sender: TObject; E: Exception);
    procedure TypeInto(AEdit: TEdit; const AText: string);
    function Press(AButton: TButton): Boolean;
    procedure Toggle(ACheckBox: TCheckBox);
    procedure ScrollTo(AScrollBar: TScrollBar; APosition: Integer);
    procedure Choose(AItem: TMenuItem);
    procedure CheckStart;
    procedure CheckLabelFollows;
    procedure CheckScrollAndNumber;
    procedure CheckBadNumber;
    procedure CheckDisabling;
    procedure CheckAdding;
    procedure CheckNewListWindow;
  public
    { Check AForm, which must be shown, and log to ALog. }
    constructor Create(AForm: TLinkAppForm; ALog: TStrings);
    destructor Destroy; override;
    { Run every step; answer True when everything held. }
    function Run: Boolean;
    property Failures: Integer read FFailures;
  end;

{ Save a picture of AForm's window as a PNG file AFileName. }
procedure SaveScreenshot(AForm: TCustomForm; const AFileName: string);

implementation

uses
  LCLIntf, LCLType;

{ TorvLinkAppCheck }

constructor TorvLinkAppCheck.Create(AForm: TLinkAppForm; ALog: TStrings);
begin
  inherited Create;
  FForm := AForm;
  FLog := ALog;
  FErrors := TStringList.Create;
end;

destructor TorvLinkAppCheck.Destroy;
begin
  FErrors.Free;
  inherited Destroy;
end;

procedure TorvLinkAppCheck.Settle;
begin
  // Let the widgetset draw and deliver what the last step queued.
  Application.ProcessMessages;
end;

procedure TorvLinkAppCheck.Expect(ACondition: Boolean; const AText: string);
begin
  if ACondition then
    FLog.Add('  ok: ' + AText)
  else
  begin
    FLog.Add('  FAILED: ' + AText);
    Inc(FFailures);
  end;
end;

procedure TorvLinkAppCheck.ExpectText(const AWhat, AExpected, AFound: string);
begin
  if AExpected = AFound then
    Expect(True, Format('%s is ''%s''', [AWhat, AFound]))
  else
    Expect(False, Format('%s is ''%s'', expected ''%s''', [AWhat, AFound, AExpected]));
end;

procedure TorvLinkAppCheck.CatchError(Sender: TObject; E: Exception);
begin
  // An error of a link run from the widgetset's event loop comes here
  // instead of to a dialog that nobody would close.
  FErrors.Add(E.Message);
end;

procedure TorvLinkAppCheck.TypeInto(AEdit: TEdit; const AText: string);
begin
  FLog.Add(Format('Type ''%s'' into %s', [AText, AEdit.Name]));
  if AEdit.CanFocus then
    AEdit.SetFocus;
  AEdit.Text := AText;
  Settle;
end;

function TorvLinkAppCheck.Press(AButton: TButton): Boolean;
begin
  Result := AButton.Enabled;
  if not Result then
  begin
    FLog.Add(Format('Try to press %s: it is disabled, so nothing happens', [AButton.Name]));
    Exit;
  end;
  FLog.Add(Format('Press %s ''%s''', [AButton.Name, AButton.Caption]));
  AButton.Click;
  Settle;
end;

procedure TorvLinkAppCheck.Toggle(ACheckBox: TCheckBox);
begin
  FLog.Add(Format('Click %s ''%s'' (now %s)', [ACheckBox.Name, ACheckBox.Caption,
    BoolToStr(not ACheckBox.Checked, 'checked', 'unchecked')]));
  ACheckBox.Checked := not ACheckBox.Checked;
  Settle;
end;

procedure TorvLinkAppCheck.ScrollTo(AScrollBar: TScrollBar; APosition: Integer);
begin
  FLog.Add(Format('Move %s to %d', [AScrollBar.Name, APosition]));
  AScrollBar.Position := APosition;
  Settle;
end;

procedure TorvLinkAppCheck.Choose(AItem: TMenuItem);
begin
  FLog.Add(Format('Choose the menu item ''%s''%s', [StripHotkey(AItem.Caption),
    BoolToStr(AItem.Enabled, '', ' (disabled)')]));
  // A disabled item does nothing when chosen: the host checks that itself.
  AItem.Click;
  Settle;
end;

procedure TorvLinkAppCheck.CheckStart;
begin
  FLog.Add('The window is read and shown');
  ExpectText('Label1.Caption (first copy of Edit1.Text)', FForm.Edit1.Text, FForm.Label1.Caption);
  ExpectText('Edit2.Text (first copy of ScrollBar1.Position)', IntToStr(FForm.ScrollBar1.Position),
    FForm.Edit2.Text);
  Expect(FForm.Button1.Enabled and FForm.AddAction.Enabled,
    'Button1 and AddAction are enabled, as CheckBox1 is checked');
end;

procedure TorvLinkAppCheck.CheckLabelFollows;
begin
  TypeInto(FForm.Edit1, 'Orvane');
  ExpectText('Label1.Caption', 'Orvane', FForm.Label1.Caption);
  TypeInto(FForm.Edit1, 'Orvane links');
  ExpectText('Label1.Caption', 'Orvane links', FForm.Label1.Caption);
end;

procedure TorvLinkAppCheck.CheckScrollAndNumber;
begin
  ScrollTo(FForm.ScrollBar1, 42);
  ExpectText('Edit2.Text', '42', FForm.Edit2.Text);
  TypeInto(FForm.Edit2, '17');
  Expect(FForm.ScrollBar1.Position = 17,
    Format('ScrollBar1.Position is %d, expected 17', [FForm.ScrollBar1.Position]));
  ExpectText('Edit2.Text (the echo of the copy back was dropped)', '17', FForm.Edit2.Text);
end;

procedure TorvLinkAppCheck.CheckBadNumber;
var
  Message: string;
begin
  // Edit2 takes digits only, but a person may empty it: that is no number
  // for the scroll bar, and the link says so.
  FErrors.Clear;
  try
    TypeInto(FForm.Edit2, '');
  except
    on E: Exception do
      FErrors.Add(E.Message);
  end;
  Message := Trim(FErrors.Text);
  Expect(Pos('occured in connection ScrollAndNumber', Message) > 0,
    'the link reports that an empty edit is no number: ' + Message);
  Expect(FForm.ScrollBar1.Position = 17,
    Format('ScrollBar1.Position kept 17 (it is %d)', [FForm.ScrollBar1.Position]));
  TypeInto(FForm.Edit2, '17');
end;

procedure TorvLinkAppCheck.CheckDisabling;
var
  Count: Integer;
begin
  Count := FForm.ListBox1.Items.Count;
  Toggle(FForm.CheckBox1);
  Expect(not FForm.Button1.Enabled, 'Button1 is disabled');
  Expect(not FForm.AddAction.Enabled and not FForm.MenuAdd.Enabled,
    'AddAction and with it the menu item are disabled');
  Expect(not Press(FForm.Button1), 'Button1 cannot be pressed');
  Choose(FForm.MenuAdd);
  Expect(FForm.ListBox1.Items.Count = Count, 'nothing was added');
  Toggle(FForm.CheckBox1);
  Expect(FForm.Button1.Enabled and FForm.AddAction.Enabled and FForm.MenuAdd.Enabled,
    'Button1, AddAction and the menu item are enabled again');
end;

procedure TorvLinkAppCheck.CheckAdding;

  procedure ExpectAdded(const AText: string; ACount: Integer);
  var
    Items: TStrings;
  begin
    Items := FForm.ListBox1.Items;
    Expect((Items.Count = ACount) and (Items[ACount - 1] = AText),
      Format('ListBox1 has %d lines, the last ''%s''', [Items.Count, Items[Items.Count - 1]]));
    ExpectText('Edit1.Text (cleared after adding)', '', FForm.Edit1.Text);
    ExpectText('Label1.Caption (follows the cleared edit)', '', FForm.Label1.Caption);
  end;

var
  Count: Integer;
begin
  Count := FForm.ListBox1.Items.Count;
  TypeInto(FForm.Edit1, 'pressed the button');
  Expect(Press(FForm.Button1), 'Button1 can be pressed');
  ExpectAdded('pressed the button', Count + 1);
  TypeInto(FForm.Edit1, 'chose the menu item');
  Choose(FForm.MenuAdd);
  ExpectAdded('chose the menu item', Count + 2);
  TypeInto(FForm.Edit1, 'ran the action');
  FLog.Add('Run AddAction (as its shortcut would)');
  FForm.AddAction.Execute;
  Settle;
  ExpectAdded('ran the action', Count + 3);
end;

procedure TorvLinkAppCheck.CheckNewListWindow;
var
  Before: TStrings;
  Count: Integer;
begin
  // The list box hands its lines to a new list object whenever its window
  // is made anew; the variable must not keep the old one.
  FLog.Add('ListBox1 makes its window anew (as a change of style would)');
  Before := FForm.ListBox1.Items;
  Count := Before.Count;
  RecreateWnd(FForm.ListBox1);
  FForm.ListBox1.HandleNeeded;
  Settle;
  TypeInto(FForm.Edit1, 'after a new window');
  Press(FForm.Button1);
  Expect((FForm.ListBox1.Items.Count = Count + 1) and
    (FForm.ListBox1.Items[Count] = 'after a new window'),
    Format('ListBox1 has %d lines, the last ''%s''', [FForm.ListBox1.Items.Count,
    FForm.ListBox1.Items[FForm.ListBox1.Items.Count - 1]]));
end;

function TorvLinkAppCheck.Run: Boolean;
var
  SavedHandler: TExceptionEvent;
begin
  FFailures := 0;
  SavedHandler := Application.OnException;
  Application.OnException := @CatchError;
  try
    Settle;
    CheckStart;
    CheckLabelFollows;
    CheckScrollAndNumber;
    CheckBadNumber;
    CheckDisabling;
    CheckAdding;
    CheckNewListWindow;
    TypeInto(FForm.Edit1, 'Hello from the links');
  finally
    Application.OnException := SavedHandler;
  end;
  Result := FFailures = 0;
end;

procedure SaveScreenshot(AForm: TCustomForm; const AFileName: string);
var
  Bounds: TRect;
  Origin: TPoint;
  Bitmap: TBitmap;
  Picture: TPortableNetworkGraphic;
begin
  // The widgetset paints an area of the client's size from the top of the
  // window, menu bar included; the bottom of the client area, as tall as
  // the menu bar, is left out (the form keeps that much margin there).
  GetWindowRect(AForm.Handle, Bounds);
  Origin := AForm.ClientOrigin;
  Bitmap := TBitmap.Create;
  try
    Bitmap.SetSize(AForm.ClientWidth, AForm.ClientHeight);
    AForm.PaintTo(Bitmap.Canvas, Bounds.Left - Origin.X, Bounds.Top - Origin.Y);
    Picture := TPortableNetworkGraphic.Create;
    try
      Picture.Assign(Bitmap);
      Picture.SaveToFile(AFileName);
    finally
      Picture.Free;
    end;
  finally
    Bitmap.Free;
  end;
end;

end.
