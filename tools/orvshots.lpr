{ Save a picture of each editor window, filled with a realistic link, into
  a folder (make screenshots writes docs/): the windows are opened on a
  small designed module through the standalone designer and grabbed from
  the screen once they have painted.

    xvfb-run -a ./tools/orvshots docs }
program orvshots;

{$I ../package/orvdefines.inc}

uses
  {$IFDEF UNIX}cthreads,{$ENDIF}
  Interfaces, Classes, SysUtils, Variants, Forms, Graphics, LCLIntf, LCLType, Controls,
  orvane_d5, Orvconlist, Orvp2p, Orve2p, Orve2m, Orvvar, Orvdesigner,
  Orvcsdlg, Orvp2peditor, Orve2peditor, Orve2meditor, Orvmpeditor, Orvlinksedit, Orvpropindex,
  Orvtestdriver;

type
  { The module and the scripts that photograph each window. }
  TShots = class(TComponent)
  private
    FFolder: string;
    FRoot: TComponent;
    FDesigner: TorvRootDesigner;
    FDriver: TModalDriver;
    FList: TorvConnectionList;
    FP2P: TorvP2PConnection;
    FE2P: TorvE2PConnection;
    FE2M: TorvE2MConnection;
    procedure Build;
    procedure Grab(AForm: TForm; const AName: string);
    procedure ShootP2P(AForm: TForm);
    procedure ShootE2P(AForm: TForm);
    procedure ShootE2M(AForm: TForm);
    procedure ShootMP(AForm: TForm);
    procedure ShootIndex(AForm: TForm);
  public
    destructor Destroy; override;
    procedure Run(const AFolder: string);
  end;

function Variable(AOwner: TComponent; const AName, AClass: string): TorvVariable;
begin
  Result := TorvVariable.Create(AOwner);
  Result.Name := AName;
  Result.ClassTypeName := AClass;
end;

procedure TShots.Build;
begin
  FRoot := TDataModule.Create(nil);
  FRoot.Name := 'Settings';
  Variable(FRoot, 'Names', 'TStringList');
  Variable(FRoot, 'Shown', 'TStringList');
  TBasicAction.Create(FRoot).Name := 'Refresh';
  FList := TorvConnectionList.Create(FRoot);
  FList.Name := 'Wiring';
  FDesigner := TorvRootDesigner.Create(FRoot);

  FP2P := TorvP2PConnection.Create(FRoot);
  FP2P.Name := 'CopyNames';
  FP2P.SetConnectionList(FList);
  FP2P.Source := FRoot.FindComponent('Names');
  FP2P.SourceProperty := 'Text';
  FP2P.SourceEvent := 'OnChange';
  FP2P.Target := FRoot.FindComponent('Shown');
  FP2P.TargetProperty := 'Strings';
  FP2P.TargetPropertyIndex := VarArrayOf(['0']);

  FE2P := TorvE2PConnection.Create(FRoot);
  FE2P.Name := 'SortOnRefresh';
  FE2P.SetConnectionList(FList);
  FE2P.Source := FRoot.FindComponent('Refresh');
  FE2P.SourceEvent := 'OnExecute';
  FE2P.Target := FRoot.FindComponent('Shown');
  FE2P.TargetProperty := 'Sorted';
  FE2P.ValueConstant := 'True';

  FE2M := TorvE2MConnection.Create(FRoot);
  FE2M.Name := 'AddOnRefresh';
  FE2M.SetConnectionList(FList);
  FE2M.Source := FRoot.FindComponent('Refresh');
  FE2M.SourceEvent := 'OnExecute';
  FE2M.Target := FRoot.FindComponent('Names');
  FE2M.TargetMethod := 'Add';
  FE2M.TargetMethodParameters[0].Constant := 'refreshed';
end;

destructor TShots.Destroy;
begin
  FRoot.Free;
  FDesigner.Free;
  inherited Destroy;
end;

procedure TShots.Grab(AForm: TForm; const AName: string);
var
  Screen: TBitmap;
  Shot: TBitmap;
  Png: TPortableNetworkGraphic;
  ScreenDC: HDC;
  Origin: TPoint;
  I: Integer;
begin
  for I := 1 to 20 do
  begin
    Application.ProcessMessages;
    Sleep(10);
  end;
  Origin := AForm.ClientToScreen(Point(0, 0));
  Screen := TBitmap.Create;
  Shot := TBitmap.Create;
  Png := TPortableNetworkGraphic.Create;
  ScreenDC := GetDC(0);
  try
    Screen.LoadFromDevice(ScreenDC);
    Shot.SetSize(AForm.ClientWidth, AForm.ClientHeight);
    Shot.Canvas.CopyRect(Rect(0, 0, Shot.Width, Shot.Height), Screen.Canvas,
      Rect(Origin.X, Origin.Y, Origin.X + Shot.Width, Origin.Y + Shot.Height));
    Png.Assign(Shot);
    Png.SaveToFile(IncludeTrailingPathDelimiter(FFolder) + AName + '.png');
  finally
    ReleaseDC(0, ScreenDC);
    Png.Free;
    Shot.Free;
    Screen.Free;
  end;
  WriteLn(AName);
end;

procedure TShots.ShootP2P(AForm: TForm);
begin
  TorvP2PForm(AForm).lbTargetProperty.ItemIndex :=
    TorvP2PForm(AForm).lbTargetProperty.Items.IndexOf('Strings');
  Grab(AForm, 'p2peditor');
  FDriver.Expect(TorvPropertyIndexEditor, @ShootIndex);
  TorvP2PForm(AForm).btTargetPropertyIndex.Click;
  AForm.ModalResult := mrOK;
end;

procedure TShots.ShootIndex(AForm: TForm);
begin
  Grab(AForm, 'propindex');
  AForm.ModalResult := mrOK;
end;

procedure TShots.ShootE2P(AForm: TForm);
begin
  TorvE2PForm(AForm).btExplore.Click;
  Grab(AForm, 'e2peditor');
  AForm.ModalResult := mrOK;
end;

procedure TShots.ShootE2M(AForm: TForm);
begin
  Grab(AForm, 'e2meditor');
  FDriver.Expect(TorvMPForm, @ShootMP);
  TorvE2MForm(AForm).btSetParameters.Click;
  AForm.ModalResult := mrOK;
end;

procedure TShots.ShootMP(AForm: TForm);
begin
  Grab(AForm, 'mpeditor');
  AForm.ModalResult := mrOK;
end;

procedure TShots.Run(const AFolder: string);
var
  I: Integer;
begin
  FFolder := AFolder;
  FDriver := TModalDriver.Create(Self);
  Build;
  orvShowConnectionsEditor(FDesigner, FList);
  for I := 0 to Screen.FormCount - 1 do
    if Screen.Forms[I] is TorvConnectionEditor then
    begin
      TorvConnectionEditor(Screen.Forms[I]).lvConnections.Selected :=
        TorvConnectionEditor(Screen.Forms[I]).lvConnections.Items[0];
      Grab(Screen.Forms[I], 'connections');
    end;
  orvShowMethodParameterEditor(FDesigner, FE2M);
  for I := 0 to Screen.FormCount - 1 do
    if Screen.Forms[I] is TorvMethodParameterEditor then
      Grab(Screen.Forms[I], 'parameters');
  FDriver.Expect(TorvP2PForm, @ShootP2P);
  orvShowP2PEditor(FDesigner, FP2P);
  FDriver.Expect(TorvE2PForm, @ShootE2P);
  orvShowE2PEditor(FDesigner, FE2P);
  FDriver.Expect(TorvE2MForm, @ShootE2M);
  orvShowE2MEditor(FDesigner, FE2M);
  FDriver.Check;
end;

var
  Shots: TShots;
begin
  Application.Initialize;
  Shots := TShots.Create(nil);
  try
    Shots.Run(ParamStr(1));
  finally
    Shots.Free;
  end;
end.
