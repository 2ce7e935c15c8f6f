{ What the editor windows share. The three modal link editors and the
  method parameters editor: the designer, the edited link, and staying right
  while components go. The two modeless list windows: one window per
  designer and listed component, and their places.

  A link editor shows names only, but the link it edits, and the components
  on its sides, may be destroyed while it is open (by code the link calls,
  or by the program that opened it). The window hears of each: the link
  going closes it, a component going refills it, and a component that is
  being destroyed is shown as absent. }
unit Orvlinkform;

{$I orvdefines.inc}

interface

uses
  Classes, SysUtils,
  Forms, Controls, StdCtrls,
  Orvcommon, Orvconlist, Orvdesigner, Orvwinpos;

type
  { The component places of a link a picker can fill. }
  TorvSide = (sdSource, sdTarget, sdValue);

  { Refills the controls that show one side of a link. }
  TorvRefresh = procedure of object;

  { TorvLinkForm }

  { A modal dialog that edits one link in place. The form files of the
    windows wire the shared handlers below by name. }
  TorvLinkForm = class(TForm)
  published
    { Place the window where it was last. }
    procedure FormCreate(Sender: TObject); virtual;
    { Refill from the link, which may have changed while another window
      was in front. }
    procedure FormActivate(Sender: TObject);
    { Keep the window's place and free it. }
    procedure FormClose(Sender: TObject; var CloseAction: TCloseAction);
    { Commit a combo box on Enter as on choosing an item. }
    procedure ComboKeyDown(Sender: TObject; var Key: Word; Shift: TShiftState);
  private
    FLink: TorvConnection;
    FFilling: Integer;
  protected
    FDesigner: TorvDesigner;
    { Hold ALink and hear of its destruction. }
    procedure SetLink(ALink: TorvConnection);
    { Hear of AComponent's destruction, to refill then; nil is ignored. }
    procedure Watch(AComponent: TComponent);
    { Fill every control from the link, as on activation. }
    procedure UpdateAll; virtual; abstract;
    { Run UpdateAll with change handlers silenced. }
    procedure Refill;
    procedure BeginFilling;
    procedure EndFilling;
    { Answer whether a change handler should act: the link is there, the
      window is not filling itself or being destroyed. }
    function Acting: Boolean;
    { Answer the registry key of the window's place, the parts of it read
      on creation, and those kept on closing. }
    procedure GetPlacement(out AKeyName: string; out ALoaded, ASaved: TorvBoundsParts); virtual;
    { Answer the component on ASide of the link: its source or target; a
      link with a value component answers that for sdValue. }
    function SideOf(ASide: TorvSide): TComponent; virtual;
    { Put AValue on ASide of the link. }
    procedure SetSide(ASide: TorvSide; AValue: TComponent); virtual;
    { Fill ACombo with the components to pick and watch the one on ASide. }
    procedure ShowSide(ACombo: TCustomComboBox; ASide: TorvSide);
    { Put the component ACombo names on ASide; unless that took the link
      with it, show the side as it now is, run ARefresh and tell the
      designer. }
    procedure CommitSide(ACombo: TCustomComboBox; ASide: TorvSide; ARefresh: TorvRefresh);
    { Answer whether a click on AList should be stored: the window acts and
      a row is selected, whose text is then AName. }
    function ListPicked(AList: TCustomListBox; out AName: string): Boolean;
    { Tell the designer of a change; answer whether the link is still
      there. }
    function ModifiedLinkAlive: Boolean;
    { Let the designer edit the index list AIndex of AProp for AInstance;
      answer True with the new list in AValue when that was done and the
      link is still there. }
    function EditIndex(AInstance: TObject; const AIndex: Variant; AProp: TorvPropertyInfo;
      out AValue: Variant): Boolean;
    procedure Notification(AComponent: TComponent; Operation: TOperation); override;
    { The edited link; nil once it has gone. }
    property Link: TorvConnection read FLink;
  public
    property Designer: TorvDesigner read FDesigner;
  end;

  TorvLinkFormClass = class of TorvLinkForm;

  { TorvToolWindow }

  { A modeless window beside the designed form that lists the parts of one
    component, its subject; at most one is open per designer and subject. }
  TorvToolWindow = class(TForm)
  published
    { Place the window where it was last and count it as open. }
    procedure FormCreate(Sender: TObject);
    procedure FormDestroy(Sender: TObject);
    procedure FormActivate(Sender: TObject);
    { Select the subject in the designer, keep the window's place and free
      it. }
    procedure FormClose(Sender: TObject; var CloseAction: TCloseAction);
  private
    FClosed: Boolean;
  protected
    FDesigner: TorvDesigner;
    FSubject: TComponent;
    { Return the subject a window of this class shows for ASubject, or
      raise the error that refuses it. }
    class function AcceptedSubject(ASubject: TComponent): TComponent; virtual;
    { Return the registry key of the window's place. }
    function KeyName: string; virtual; abstract;
    { Fill the list from the subject; empty it without one. }
    procedure UpdateListBox; virtual; abstract;
    { Forget the subject, which has gone, and close. }
    procedure SubjectGone;
  public
    property Designer: TorvDesigner read FDesigner;
  end;

  TorvToolWindowClass = class of TorvToolWindow;

{ Return AComponent, or nil when it is being destroyed. }
function Alive(AComponent: TComponent): TComponent;
{ Edit ALink of the form ADesigner designs in a modal window of AClass;
  return when it closes. }
procedure orvShowLinkForm(AClass: TorvLinkFormClass; ADesigner: TorvDesigner; ALink: TorvConnection);
{ Show the window of AClass for ASubject in the form ADesigner designs: the
  one already open for them, brought to the front, or a new one. }
procedure orvShowToolWindow(AClass: TorvToolWindowClass; ADesigner: TorvDesigner; ASubject: TComponent);

implementation

uses
  LCLType,
  Orvpickers;

function Alive(AComponent: TComponent): TComponent;
begin
  if (AComponent <> nil) and (csDestroying in AComponent.ComponentState) then
    Result := nil
  else
    Result := AComponent;
end;

procedure orvShowLinkForm(AClass: TorvLinkFormClass; ADesigner: TorvDesigner; ALink: TorvConnection);
var
  Editor: TorvLinkForm;
begin
  Editor := AClass.Create(Application);
  try
    Editor.FDesigner := ADesigner;
    Editor.SetLink(ALink);
    Editor.Refill;
    Editor.ShowModal;
  finally
    Editor.Free;
  end;
end;

var
  OpenWindows: TList;

function FindToolWindow(AClass: TorvToolWindowClass; ADesigner: TorvDesigner;
  ASubject: TComponent): TorvToolWindow;
var
  I: Integer;
begin
  for I := 0 to OpenWindows.Count - 1 do
  begin
    Result := TorvToolWindow(OpenWindows[I]);
    if (Result.ClassType = AClass) and (Result.FDesigner = ADesigner) and
      (Result.FSubject = ASubject) and not Result.FClosed then
      Exit;
  end;
  Result := nil;
end;

procedure orvShowToolWindow(AClass: TorvToolWindowClass; ADesigner: TorvDesigner; ASubject: TComponent);
var
  Window: TorvToolWindow;
  Subject: TComponent;
begin
  if OpenWindows = nil then
    OpenWindows := TList.Create;
  Window := FindToolWindow(AClass, ADesigner, ASubject);
  if Window <> nil then
  begin
    Window.Show;
    Window.BringToFront;
    Exit;
  end;
  // Checked before a window exists, so that a refused object leaves none.
  Subject := AClass.AcceptedSubject(ASubject);
  Window := AClass.Create(Application);
  try
    Window.FDesigner := ADesigner;
    Window.FSubject := Subject;
    Subject.FreeNotification(Window);
    Window.UpdateListBox;
  except
    Window.Free;
    raise;
  end;
  Window.Show;
end;

{ TorvToolWindow }

class function TorvToolWindow.AcceptedSubject(ASubject: TComponent): TComponent;
begin
  Result := ASubject;
end;

procedure TorvToolWindow.FormCreate(Sender: TObject);
begin
  orvLoadBounds(Self, KeyName, orvAllBounds);
  if OpenWindows <> nil then
    OpenWindows.Add(Self);
end;

procedure TorvToolWindow.FormDestroy(Sender: TObject);
begin
  if OpenWindows <> nil then
    OpenWindows.Remove(Self);
end;

procedure TorvToolWindow.FormActivate(Sender: TObject);
begin
  UpdateListBox;
end;

procedure TorvToolWindow.FormClose(Sender: TObject; var CloseAction: TCloseAction);
begin
  FClosed := True;
  if FSubject <> nil then
    FDesigner.SelectComponent(FSubject);
  orvSaveBounds(Self, KeyName, orvAllBounds);
  CloseAction := caFree;
end;

procedure TorvToolWindow.SubjectGone;
begin
  FSubject := nil;
  UpdateListBox;
  Close;
end;

{ TorvLinkForm }

procedure TorvLinkForm.FormCreate(Sender: TObject);
var
  KeyName: string;
  LoadParts, SaveParts: TorvBoundsParts;
begin
  GetPlacement(KeyName, LoadParts, SaveParts);
  orvLoadBounds(Self, KeyName, LoadParts);
end;

procedure TorvLinkForm.FormActivate(Sender: TObject);
begin
  if FLink <> nil then
    Refill;
end;

procedure TorvLinkForm.FormClose(Sender: TObject; var CloseAction: TCloseAction);
var
  KeyName: string;
  LoadParts, SaveParts: TorvBoundsParts;
begin
  GetPlacement(KeyName, LoadParts, SaveParts);
  orvSaveBounds(Self, KeyName, SaveParts);
  CloseAction := caFree;
end;

procedure TorvLinkForm.ComboKeyDown(Sender: TObject; var Key: Word; Shift: TShiftState);
begin
  if (Key = VK_RETURN) and Assigned(TComboBox(Sender).OnSelect) then
    TComboBox(Sender).OnSelect(Sender);
end;

procedure TorvLinkForm.SetLink(ALink: TorvConnection);
begin
  FLink := ALink;
  if ALink <> nil then
    ALink.FreeNotification(Self);
end;

procedure TorvLinkForm.Watch(AComponent: TComponent);
begin
  if Alive(AComponent) <> nil then
    AComponent.FreeNotification(Self);
end;

procedure TorvLinkForm.Refill;
begin
  BeginFilling;
  try
    UpdateAll;
  finally
    EndFilling;
  end;
end;

procedure TorvLinkForm.BeginFilling;
begin
  Inc(FFilling);
end;

procedure TorvLinkForm.EndFilling;
begin
  Dec(FFilling);
end;

function TorvLinkForm.Acting: Boolean;
begin
  Result := (FLink <> nil) and (FFilling = 0) and not (csDestroying in ComponentState);
end;

procedure TorvLinkForm.GetPlacement(out AKeyName: string; out ALoaded, ASaved: TorvBoundsParts);
begin
  AKeyName := ClassName;
  ALoaded := [];
  ASaved := [];
end;

function TorvLinkForm.SideOf(ASide: TorvSide): TComponent;
begin
  case ASide of
    sdSource: Result := FLink.Source;
    sdTarget: Result := FLink.Target;
  else
    Result := nil;
  end;
end;

procedure TorvLinkForm.SetSide(ASide: TorvSide; AValue: TComponent);
begin
  case ASide of
    sdSource: FLink.Source := AValue;
    sdTarget: FLink.Target := AValue;
  end;
end;

procedure TorvLinkForm.ShowSide(ACombo: TCustomComboBox; ASide: TorvSide);
begin
  FillComponentPicker(FDesigner, ACombo, Alive(SideOf(ASide)));
  Watch(SideOf(ASide));
end;

procedure TorvLinkForm.CommitSide(ACombo: TCustomComboBox; ASide: TorvSide; ARefresh: TorvRefresh);
var
  Picked: TComponent;
begin
  if not Acting or not PickedComponent(FDesigner, ACombo, SideOf(ASide), Picked) then
    Exit;
  SetSide(ASide, Picked);
  // The setter may free the link.
  if FLink = nil then
    Exit;
  ShowComponentName(FDesigner, ACombo, SideOf(ASide));
  Watch(SideOf(ASide));
  ARefresh;
  FDesigner.Modified;
end;

function TorvLinkForm.ListPicked(AList: TCustomListBox; out AName: string): Boolean;
begin
  Result := Acting and (AList.ItemIndex >= 0);
  if Result then
    AName := AList.Items[AList.ItemIndex];
end;

function TorvLinkForm.ModifiedLinkAlive: Boolean;
begin
  FDesigner.Modified;
  Result := FLink <> nil;
end;

function TorvLinkForm.EditIndex(AInstance: TObject; const AIndex: Variant; AProp: TorvPropertyInfo;
  out AValue: Variant): Boolean;
begin
  Result := EditIndexList(FDesigner, AInstance, AIndex, AProp, AValue) and
    (FLink <> nil);
end;

procedure TorvLinkForm.Notification(AComponent: TComponent; Operation: TOperation);
begin
  inherited Notification(AComponent, Operation);
  if (Operation <> opRemove) or (csDestroying in ComponentState) then
    Exit;
  if AComponent = FLink then
  begin
    FLink := nil;
    Close;
  end
  else if (FLink <> nil) and (AComponent.Owner <> Self) then
    Refill;
end;

finalization
  FreeAndNil(OpenWindows);
end.
