{ The property index editor: the small modal window in which the designer
  types the index values of an indexed property, one row per index
  parameter.

  The window edits the value slots of the property's index parameters, not
  the link: the caller copies the slots into a new index list and stores it
  through the link's checking setter. The property belongs to the class info
  of a component, which the registry destroys with that component, so the
  window watches that component as well as the edited link, and tells the
  caller whether the slots are still there to be read. }
unit Orvpropindex;

{$I orvdefines.inc}

interface

uses
  Classes, SysUtils, Variants,
  Forms, Controls, Grids, ExtCtrls, StdCtrls,
  Orvcommon, Orvdesigner;

{ Let the designer edit the index values of APropertyInfo, starting from
  AIndex (one element per index parameter), for AInstance: a link or a
  parameter connection. Show the window modally. Answer True when it closed
  with the instance and the property still there: the value slots of the
  property's index parameters then hold the values shown in the window.
  Answer False when either went away meanwhile; read nothing then. }
function orvShowPropertyIndexEditor(ADesigner: TorvDesigner; AInstance: TObject;
  const AIndex: Variant; APropertyInfo: TorvPropertyInfo): Boolean;

type
  { TorvPropertyIndexEditor }

  { One row per index parameter: its name, and its value as typed. }
  TorvPropertyIndexEditor = class(TForm)
    sgIndexes: TStringGrid;
    Panel1: TPanel;
    btClose: TButton;
    procedure FormCreate(Sender: TObject);
    procedure FormActivate(Sender: TObject);
    procedure FormClose(Sender: TObject; var CloseAction: TCloseAction);
    procedure FormResize(Sender: TObject);
    procedure Panel1Resize(Sender: TObject);
    procedure sgIndexesSetEditText(Sender: TObject; ACol, ARow: Integer; const Value: string);
  private
    FDesigner: TorvDesigner;
    FInstance: TObject;
    FIndex: Variant;
    FPropertyInfo: TorvPropertyInfo;
    { The component whose class info made FPropertyInfo, and the link that
      holds FInstance; nil once gone. }
    FPropertyOwner: TComponent;
    FLink: TComponent;
    FSlotsLoaded: Boolean;
    procedure Watch(AInstance: TObject; APropertyInfo: TorvPropertyInfo);
    procedure LoadSlots;
    { Fill the grid from the window's copy of the index list. }
    procedure UpdateListBox;
  protected
    procedure Notification(AComponent: TComponent; Operation: TOperation); override;
  public
    property Designer: TorvDesigner read FDesigner;
    { The edited link or parameter connection; nil once it has gone. }
    property Instance: TObject read FInstance;
    property PropertyInfo: TorvPropertyInfo read FPropertyInfo;
  end;

implementation

uses
  Orve2m, Orvwinpos, Orveditorhooks;

{$R *.lfm}

const
  KeyName = 'Property Index Editor';

function orvShowPropertyIndexEditor(ADesigner: TorvDesigner; AInstance: TObject;
  const AIndex: Variant; APropertyInfo: TorvPropertyInfo): Boolean;
var
  Editor: TorvPropertyIndexEditor;
begin
  Editor := TorvPropertyIndexEditor.Create(Application);
  try
    Editor.FDesigner := ADesigner;
    Editor.FIndex := AIndex;
    Editor.Watch(AInstance, APropertyInfo);
    // Filled once before showing, so that a bad index list reaches the
    // caller instead of the message loop.
    Editor.UpdateListBox;
    Editor.ShowModal;
    Result := (Editor.FInstance <> nil) and (Editor.FPropertyInfo <> nil);
  finally
    Editor.Free;
  end;
end;

{ TorvPropertyIndexEditor }

procedure TorvPropertyIndexEditor.FormCreate(Sender: TObject);
begin
  orvLoadBounds(Self, KeyName, orvAllBounds);
end;

procedure TorvPropertyIndexEditor.FormActivate(Sender: TObject);
begin
  UpdateListBox;
end;

procedure TorvPropertyIndexEditor.FormClose(Sender: TObject; var CloseAction: TCloseAction);
begin
  orvSaveBounds(Self, KeyName, orvAllBounds);
  CloseAction := caFree;
end;

procedure TorvPropertyIndexEditor.FormResize(Sender: TObject);
begin
  sgIndexes.ColWidths[1] := sgIndexes.ClientWidth;
end;

procedure TorvPropertyIndexEditor.Panel1Resize(Sender: TObject);
begin
  btClose.Width := Panel1.ClientWidth;
end;

procedure TorvPropertyIndexEditor.Watch(AInstance: TObject; APropertyInfo: TorvPropertyInfo);
begin
  FInstance := AInstance;
  FPropertyInfo := APropertyInfo;
  if AInstance is TComponent then
    FLink := TComponent(AInstance)
  else if AInstance is TorvParameterConnection then
    FLink := TorvParameterConnection(AInstance).GetConnection;
  if FLink <> nil then
    FLink.FreeNotification(Self);
  if (APropertyInfo <> nil) and (APropertyInfo.ClassInfo <> nil) and
    (APropertyInfo.ClassInfo.Owner is TComponent) then
  begin
    FPropertyOwner := TComponent(APropertyInfo.ClassInfo.Owner);
    FPropertyOwner.FreeNotification(Self);
  end;
end;

procedure TorvPropertyIndexEditor.LoadSlots;
var
  I: Integer;
begin
  for I := 0 to FPropertyInfo.GetIndexCount - 1 do
    FPropertyInfo.GetIndexes(I).Value := FIndex[I];
  FSlotsLoaded := True;
end;

procedure TorvPropertyIndexEditor.UpdateListBox;
var
  I: Integer;
begin
  if FPropertyInfo = nil then
    Exit;
  if not FSlotsLoaded then
    LoadSlots;
  sgIndexes.RowCount := FPropertyInfo.GetIndexCount;
  for I := 0 to FPropertyInfo.GetIndexCount - 1 do
  begin
    sgIndexes.Cells[0, I] := FPropertyInfo.GetIndexes(I).Name;
    sgIndexes.Cells[1, I] := VarToStr(FIndex[I]);
  end;
end;

procedure TorvPropertyIndexEditor.sgIndexesSetEditText(Sender: TObject; ACol, ARow: Integer;
  const Value: string);
begin
  if (ACol <> 1) or (FPropertyInfo = nil) or (ARow >= FPropertyInfo.GetIndexCount) then
    Exit;
  FPropertyInfo.GetIndexes(ARow).Value := Value;
  FIndex[ARow] := Value;
end;

procedure TorvPropertyIndexEditor.Notification(AComponent: TComponent; Operation: TOperation);
var
  Gone: Boolean;
begin
  inherited Notification(AComponent, Operation);
  if Operation <> opRemove then
    Exit;
  Gone := False;
  if AComponent = FLink then
  begin
    FLink := nil;
    FInstance := nil;
    Gone := True;
  end;
  if AComponent = FPropertyOwner then
  begin
    FPropertyOwner := nil;
    FPropertyInfo := nil;
    Gone := True;
  end;
  if Gone then
    Close;
end;

initialization
  orvEditPropertyIndexFunc := @orvShowPropertyIndexEditor;

end.
