{ The component editors of the connection list and of the variable: the
  entries they add to the designer's context menu, and the connection
  list's double-click, which opens its connections editor. }
unit Orvcompedits;

{$I orvdefines.inc}

interface

uses
  Classes, SysUtils,
  ComponentEditors;

type
  { TorvConnectionListEditor }

  TorvConnectionListEditor = class(TComponentEditor)
  public
    { Open the connections editor; also what double-clicking does. }
    procedure Edit; override;
    procedure ExecuteVerb(Index: Integer); override;
    function GetVerb(Index: Integer): string; override;
    function GetVerbCount: Integer; override;
  end;

  { TorvVariableEditor }

  TorvVariableEditor = class(TComponentEditor)
  public
    procedure ExecuteVerb(Index: Integer); override;
    function GetVerb(Index: Integer): string; override;
    function GetVerbCount: Integer; override;
  end;

implementation

uses
  Orvverbs, Orvabout, Orveditorhooks, Orvidedesigner;

{ Do what entry AIndex of AKind's menu says; AEditor edits. }
procedure RunVerb(AEditor: TComponentEditor; AKind: TorvComponentEditorKind; AIndex: Integer);
begin
  case orvVerbAction(AKind, AIndex) of
    vaAbout: orvShowAbout;
    vaEditConnections: AEditor.Edit;
    vaNone: ;
  end;
end;

{ TorvConnectionListEditor }

procedure TorvConnectionListEditor.Edit;
begin
  orvEditConnections(orvIDEDesignerOf(Component), Component);
end;

procedure TorvConnectionListEditor.ExecuteVerb(Index: Integer);
begin
  RunVerb(Self, cekConnectionList, Index);
end;

function TorvConnectionListEditor.GetVerb(Index: Integer): string;
begin
  Result := orvVerb(cekConnectionList, Index);
end;

function TorvConnectionListEditor.GetVerbCount: Integer;
begin
  Result := orvVerbCount(cekConnectionList);
end;

{ TorvVariableEditor }

procedure TorvVariableEditor.ExecuteVerb(Index: Integer);
begin
  RunVerb(Self, cekVariable, Index);
end;

function TorvVariableEditor.GetVerb(Index: Integer): string;
begin
  Result := orvVerb(cekVariable, Index);
end;

function TorvVariableEditor.GetVerbCount: Integer;
begin
  Result := orvVerbCount(cekVariable);
end;

end.
