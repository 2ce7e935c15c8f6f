{ The context-menu commands of the component editors.

  The IDE's component editors only pass these on; keeping the captions and
  what each entry does here, free of IDEIntf, lets them be checked outside
  the IDE. }
unit Orvverbs;

{$I orvdefines.inc}

interface

type
  { The components that have a component editor. }
  TorvComponentEditorKind = (cekConnectionList, cekVariable);

  { What choosing a menu entry does. }
  TorvVerbAction = (vaNone, vaAbout, vaEditConnections);

{ Return the number of menu entries of AKind's component editor. }
function orvVerbCount(AKind: TorvComponentEditorKind): Integer;
{ Return the caption of entry AIndex; empty outside the menu. A caption
  "-" is shown by the IDE as a separator. }
function orvVerb(AKind: TorvComponentEditorKind; AIndex: Integer): string;
{ Return what entry AIndex does; vaNone outside the menu. }
function orvVerbAction(AKind: TorvComponentEditorKind; AIndex: Integer): TorvVerbAction;

resourcestring
  rsProductLine = 'Orvane Suite 1.1';
  rsCopyrightLine = 'Copyright (c) 2000-2026 Orvane Soft';
  rsAboutVerb = 'About...';
  rsEditConnectionsVerb = 'Edit connections...';

implementation

const
  SharedVerbCount = 4; // product, copyright, separator, about
  Separator = '-';

function orvVerbCount(AKind: TorvComponentEditorKind): Integer;
begin
  Result := SharedVerbCount;
  if AKind = cekConnectionList then
    Inc(Result);
end;

function orvVerb(AKind: TorvComponentEditorKind; AIndex: Integer): string;
begin
  if (AIndex < 0) or (AIndex >= orvVerbCount(AKind)) then
    Exit('');
  case AIndex of
    0: Result := rsProductLine;
    1: Result := rsCopyrightLine;
    2: Result := Separator;
    3: Result := rsAboutVerb;
  else
    Result := rsEditConnectionsVerb;
  end;
end;

function orvVerbAction(AKind: TorvComponentEditorKind; AIndex: Integer): TorvVerbAction;
begin
  Result := vaNone;
  if (AIndex < 0) or (AIndex >= orvVerbCount(AKind)) then
    Exit;
  case AIndex of
    3: Result := vaAbout;
    4: Result := vaEditConnections;
  end;
end;

end.
