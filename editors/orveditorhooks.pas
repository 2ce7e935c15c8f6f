{ Where the design-time integration reaches the editor windows.

  The property and component editors open the connections editor, the
  property index editor and the parameter list window, but must not depend
  on the units of those windows: the windows are LCL forms that also open at
  run time, while the editors live with the IDE. Each window's unit assigns
  its entry routine to one of the variables below in its initialization;
  until then, asking for the window raises a clear error instead of doing
  nothing. Nothing here uses IDEIntf. }
unit Orveditorhooks;

{$I orvdefines.inc}

interface

uses
  Classes, SysUtils,
  Orvcommon, Orve2m, Orvdesigner;

type
  { Open, or bring to the front, the connections editor of AConnectionList. }
  TorvEditConnectionsProc = procedure(ADesigner: TorvDesigner; AConnectionList: TComponent);
  { Show the property index editor modally for the index parameters of
    APropertyInfo, starting from AIndex. Answer True when the value slots of
    the index parameters hold the values to store. }
  TorvEditPropertyIndexFunc = function(ADesigner: TorvDesigner; AInstance: TObject;
    const AIndex: Variant; APropertyInfo: TorvPropertyInfo): Boolean;
  { Open, or bring to the front, the parameter list window of AConnection. }
  TorvEditMethodParametersProc = procedure(ADesigner: TorvDesigner; AConnection: TorvE2MConnection);

var
  { Set by the connections editor's unit. }
  orvEditConnectionsProc: TorvEditConnectionsProc = nil;
  { Set by the property index editor's unit. }
  orvEditPropertyIndexFunc: TorvEditPropertyIndexFunc = nil;
  { Set by the unit of the event-to-method editor's parameter list window. }
  orvEditMethodParametersProc: TorvEditMethodParametersProc = nil;

{ Open the connections editor of AConnectionList. }
procedure orvEditConnections(ADesigner: TorvDesigner; AConnectionList: TComponent);
{ Show the property index editor; see TorvEditPropertyIndexFunc. }
function orvEditPropertyIndex(ADesigner: TorvDesigner; AInstance: TObject;
  const AIndex: Variant; APropertyInfo: TorvPropertyInfo): Boolean;
{ Open the parameter list window of AConnection. }
procedure orvEditMethodParameters(ADesigner: TorvDesigner; AConnection: TorvE2MConnection);

resourcestring
  rsEditorNotInstalled = 'The %s is not installed.';
  rsConnectionsEditorName = 'connections editor';
  rsPropertyIndexEditorName = 'property index editor';
  rsMethodParameterEditorName = 'parameter list window';

implementation

procedure NotInstalled(const AWhat: string);
begin
  raise Exception.CreateFmt(rsEditorNotInstalled, [AWhat]);
end;

procedure orvEditConnections(ADesigner: TorvDesigner; AConnectionList: TComponent);
begin
  if not Assigned(orvEditConnectionsProc) then
    NotInstalled(rsConnectionsEditorName);
  orvEditConnectionsProc(ADesigner, AConnectionList);
end;

function orvEditPropertyIndex(ADesigner: TorvDesigner; AInstance: TObject;
  const AIndex: Variant; APropertyInfo: TorvPropertyInfo): Boolean;
begin
  if not Assigned(orvEditPropertyIndexFunc) then
    NotInstalled(rsPropertyIndexEditorName);
  Result := orvEditPropertyIndexFunc(ADesigner, AInstance, AIndex, APropertyInfo);
end;

procedure orvEditMethodParameters(ADesigner: TorvDesigner; AConnection: TorvE2MConnection);
begin
  if not Assigned(orvEditMethodParametersProc) then
    NotInstalled(rsMethodParameterEditorName);
  orvEditMethodParametersProc(ADesigner, AConnection);
end;

end.
