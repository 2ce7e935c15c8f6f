{ The parameter list window: a small modeless window beside the designed
  form listing the parameter connections of one event-to-method link, so
  that each can be selected and edited where the designer edits properties.
  There is at most one such window per designer and link. }
unit Orvlinksedit;

{$I orvdefines.inc}

interface

uses
  Classes, SysUtils,
  Forms, Controls, ComCtrls,
  Orve2m, Orvdesigner;

{ Show the parameter list window of AConnection in the form ADesigner
  designs: the one already open for them, brought to the front, or a new
  one. }
procedure orvShowMethodParameterEditor(ADesigner: TorvDesigner; AConnection: TorvE2MConnection);

type
  { TorvMethodParameterEditor }

  TorvMethodParameterEditor = class(TForm)
    lvParameters: TListView;
    procedure FormCreate(Sender: TObject);
    procedure FormDestroy(Sender: TObject);
    procedure FormActivate(Sender: TObject);
    procedure FormClose(Sender: TObject; var CloseAction: TCloseAction);
    procedure lvParametersSelectItem(Sender: TObject; Item: TListItem; Selected: Boolean);
  private
    FDesigner: TorvDesigner;
    FConnection: TorvE2MConnection;
    FClosed: Boolean;
    procedure UpdateListBox;
  protected
    procedure Notification(AComponent: TComponent; Operation: TOperation); override;
  public
    property Designer: TorvDesigner read FDesigner;
    { The link whose parameters are listed; nil once it has gone. }
    property Connection: TorvE2MConnection read FConnection;
  end;

implementation

uses
  Orvwinpos, Orveditorhooks;

{$R *.lfm}

const
  KeyName = 'Method Parameter Editor';

var
  OpenWindows: TList;

function FindWindow(ADesigner: TorvDesigner; AConnection: TorvE2MConnection): TorvMethodParameterEditor;
var
  I: Integer;
begin
  for I := 0 to OpenWindows.Count - 1 do
  begin
    Result := TorvMethodParameterEditor(OpenWindows[I]);
    if (Result.FDesigner = ADesigner) and (Result.FConnection = AConnection) and not Result.FClosed then
      Exit;
  end;
  Result := nil;
end;

procedure orvShowMethodParameterEditor(ADesigner: TorvDesigner; AConnection: TorvE2MConnection);
var
  Window: TorvMethodParameterEditor;
begin
  if OpenWindows = nil then
    OpenWindows := TList.Create;
  Window := FindWindow(ADesigner, AConnection);
  if Window <> nil then
  begin
    Window.Show;
    Window.BringToFront;
    Exit;
  end;
  Window := TorvMethodParameterEditor.Create(Application);
  try
    Window.FDesigner := ADesigner;
    Window.FConnection := AConnection;
    AConnection.FreeNotification(Window);
    Window.UpdateListBox;
  except
    Window.Free;
    raise;
  end;
  Window.Show;
end;

{ TorvMethodParameterEditor }

procedure TorvMethodParameterEditor.FormCreate(Sender: TObject);
begin
  orvLoadBounds(Self, KeyName, orvAllBounds);
  if OpenWindows <> nil then
    OpenWindows.Add(Self);
end;

procedure TorvMethodParameterEditor.FormDestroy(Sender: TObject);
begin
  if OpenWindows <> nil then
    OpenWindows.Remove(Self);
end;

procedure TorvMethodParameterEditor.FormActivate(Sender: TObject);
begin
  UpdateListBox;
end;

procedure TorvMethodParameterEditor.FormClose(Sender: TObject; var CloseAction: TCloseAction);
begin
  FClosed := True;
  if FConnection <> nil then
    FDesigner.SelectComponent(FConnection);
  orvSaveBounds(Self, KeyName, orvAllBounds);
  CloseAction := caFree;
end;

procedure TorvMethodParameterEditor.UpdateListBox;
var
  Item: TListItem;
  I: Integer;
begin
  lvParameters.Items.BeginUpdate;
  try
    lvParameters.Items.Clear;
    if FConnection <> nil then
      for I := 0 to FConnection.TargetMethodParameters.Count - 1 do
      begin
        Item := lvParameters.Items.Add;
        Item.Caption := FConnection.TargetMethodParameters[I].ParameterName;
        Item.Data := FConnection.TargetMethodParameters[I];
      end;
  finally
    lvParameters.Items.EndUpdate;
  end;
end;

procedure TorvMethodParameterEditor.lvParametersSelectItem(Sender: TObject; Item: TListItem;
  Selected: Boolean);
var
  Selection: TList;
begin
  // A row outlives its parameter connection when the link rebuilt them
  // for another method meanwhile: only a connection the link still has is
  // handed on.
  if not Selected or (FConnection = nil) or (Item.Index >= FConnection.TargetMethodParameters.Count) or
    (FConnection.TargetMethodParameters[Item.Index] <> TorvParameterConnection(Item.Data)) then
    Exit;
  Selection := TList.Create;
  try
    Selection.Add(Item.Data);
    FDesigner.SetSelections(Selection);
  finally
    Selection.Free;
  end;
end;

procedure TorvMethodParameterEditor.Notification(AComponent: TComponent; Operation: TOperation);
begin
  inherited Notification(AComponent, Operation);
  if (Operation = opRemove) and (AComponent = FConnection) and (FConnection <> nil) then
  begin
    FConnection := nil;
    lvParameters.Items.Clear;
    Close;
  end;
end;

initialization
  orvEditMethodParametersProc := @orvShowMethodParameterEditor;

finalization
  FreeAndNil(OpenWindows);
end.
