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
  Orve2m, Orvdesigner, Orvlinkform;

{ Show the parameter list window of AConnection in the form ADesigner
  designs: the one already open for them, brought to the front, or a new
  one. }
procedure orvShowMethodParameterEditor(ADesigner: TorvDesigner; AConnection: TorvE2MConnection);

type
  { TorvMethodParameterEditor }

  TorvMethodParameterEditor = class(TorvToolWindow)
    lvParameters: TListView;
    procedure lvParametersSelectItem(Sender: TObject; Item: TListItem; Selected: Boolean);
  private
    function GetConnection: TorvE2MConnection;
  protected
    function KeyName: string; override;
    procedure UpdateListBox; override;
    procedure Notification(AComponent: TComponent; Operation: TOperation); override;
  public
    { The link whose parameters are listed; nil once it has gone. }
    property Connection: TorvE2MConnection read GetConnection;
  end;

implementation

uses
  Orveditorhooks;

{$R *.lfm}

procedure orvShowMethodParameterEditor(ADesigner: TorvDesigner; AConnection: TorvE2MConnection);
begin
  orvShowToolWindow(TorvMethodParameterEditor, ADesigner, AConnection);
end;

{ TorvMethodParameterEditor }

function TorvMethodParameterEditor.GetConnection: TorvE2MConnection;
begin
  Result := TorvE2MConnection(FSubject);
end;

function TorvMethodParameterEditor.KeyName: string;
begin
  Result := 'Method Parameter Editor';
end;

procedure TorvMethodParameterEditor.UpdateListBox;
var
  Item: TListItem;
  I: Integer;
begin
  lvParameters.Items.BeginUpdate;
  try
    lvParameters.Items.Clear;
    if Connection <> nil then
      for I := 0 to Connection.TargetMethodParameters.Count - 1 do
      begin
        Item := lvParameters.Items.Add;
        Item.Caption := Connection.TargetMethodParameters[I].ParameterName;
        Item.Data := Connection.TargetMethodParameters[I];
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
  if not Selected or (Connection = nil) or (Item.Index >= Connection.TargetMethodParameters.Count) or
    (Connection.TargetMethodParameters[Item.Index] <> TorvParameterConnection(Item.Data)) then
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
  if (Operation = opRemove) and (AComponent = FSubject) and (FSubject <> nil) then
    SubjectGone;
end;

initialization
  orvEditMethodParametersProc := @orvShowMethodParameterEditor;

end.
