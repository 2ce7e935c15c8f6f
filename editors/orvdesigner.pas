{ The designer as the editor windows and property editors see it.

  Lazarus has no single form-designer interface to hand to a window, so the
  package defines the few operations its editors need here. The design-time
  package implements them over the IDE (Orvidedesigner, in design/); this
  unit also gives a standalone implementation over a plain root component,
  for tests, tools and applications that open the wiring windows at run
  time. Nothing here uses IDEIntf. }
unit Orvdesigner;

{$I orvdefines.inc}

interface

uses
  Classes, SysUtils;

type
  { Receive one component name; see TorvDesigner.GetComponentNames. }
  TorvGetNameProc = procedure(const AName: string) of object;

  { TorvDesigner }

  { The designed form: its root component and the operations the editors
    perform on it. }
  TorvDesigner = class
  public
    { Return the component the designed form is made of (a form, frame or
      data module). }
    function Root: TComponent; virtual; abstract;
    { Mark the designed form changed and refresh what shows its properties. }
    procedure Modified; virtual; abstract;
    { Return a component name not yet used on the designed form, from
      ABaseName (a class name loses its leading T). }
    function UniqueName(const ABaseName: string): string; virtual; abstract;
    { Create a component of AClass owned by the root, placed in AParent at the
      given bounds where the class is a control; name it uniquely. }
    function CreateComponent(AClass: TComponentClass; AParent: TComponent;
      ALeft, ATop, AWidth, AHeight: Integer): TComponent; virtual; abstract;
    { Make APersistent (a component or another persistent object, such as a
      link's parameter) the designer's selection. }
    procedure SelectComponent(APersistent: TPersistent); virtual; abstract;
    { Make the objects of AList the designer's selection. }
    procedure SetSelections(AList: TList); virtual; abstract;
    { Call AProc with the name of every component of the designed form that
      is an AClass (the root included). }
    procedure GetComponentNames(AClass: TClass; AProc: TorvGetNameProc); virtual; abstract;
    { Return the component of the designed form named AName (case-insensitive),
      or nil. }
    function GetComponent(const AName: string): TComponent; virtual; abstract;
    { Return AComponent's name as the designed form knows it; empty for nil. }
    function GetComponentName(AComponent: TComponent): string; virtual; abstract;
  end;

  { TorvRootDesigner }

  { A designer over a root component of a running program: a form or data
    module whose components the wiring windows list and change. }
  TorvRootDesigner = class(TorvDesigner)
  private
    FRoot: TComponent;
    FModifiedCount: Integer;
    FSelection: TList;
    FOnModified: TNotifyEvent;
  public
    constructor Create(ARoot: TComponent);
    destructor Destroy; override;
    function Root: TComponent; override;
    procedure Modified; override;
    function UniqueName(const ABaseName: string): string; override;
    function CreateComponent(AClass: TComponentClass; AParent: TComponent;
      ALeft, ATop, AWidth, AHeight: Integer): TComponent; override;
    procedure SelectComponent(APersistent: TPersistent); override;
    procedure SetSelections(AList: TList); override;
    procedure GetComponentNames(AClass: TClass; AProc: TorvGetNameProc); override;
    function GetComponent(const AName: string): TComponent; override;
    function GetComponentName(AComponent: TComponent): string; override;
    { How often Modified was called. }
    property ModifiedCount: Integer read FModifiedCount;
    { The objects last selected, in order; owned by the designer. }
    property Selection: TList read FSelection;
    { Told after each Modified. }
    property OnModified: TNotifyEvent read FOnModified write FOnModified;
  end;

implementation

{ TorvRootDesigner }

constructor TorvRootDesigner.Create(ARoot: TComponent);
begin
  inherited Create;
  FRoot := ARoot;
  FSelection := TList.Create;
end;

destructor TorvRootDesigner.Destroy;
begin
  FSelection.Free;
  inherited Destroy;
end;

function TorvRootDesigner.Root: TComponent;
begin
  Result := FRoot;
end;

procedure TorvRootDesigner.Modified;
begin
  Inc(FModifiedCount);
  if Assigned(FOnModified) then
    FOnModified(Self);
end;

function TorvRootDesigner.UniqueName(const ABaseName: string): string;
var
  Base: string;
  I: Integer;
begin
  Base := ABaseName;
  if (Length(Base) > 1) and (UpCase(Base[1]) = 'T') then
    Delete(Base, 1, 1);
  I := 1;
  repeat
    Result := Base + IntToStr(I);
    Inc(I);
  until GetComponent(Result) = nil;
end;

function TorvRootDesigner.CreateComponent(AClass: TComponentClass; AParent: TComponent;
  ALeft, ATop, AWidth, AHeight: Integer): TComponent;
begin
  // Placement matters only to controls, which this runtime unit does not
  // know; a caller that creates controls sets Parent and bounds itself.
  Result := AClass.Create(FRoot);
  try
    Result.Name := UniqueName(AClass.ClassName);
  except
    Result.Free;
    raise;
  end;
end;

procedure TorvRootDesigner.SelectComponent(APersistent: TPersistent);
begin
  FSelection.Clear;
  if APersistent <> nil then
    FSelection.Add(APersistent);
end;

procedure TorvRootDesigner.SetSelections(AList: TList);
begin
  FSelection.Assign(AList);
end;

procedure TorvRootDesigner.GetComponentNames(AClass: TClass; AProc: TorvGetNameProc);
var
  I: Integer;
begin
  if FRoot.InheritsFrom(AClass) and (FRoot.Name <> '') then
    AProc(FRoot.Name);
  for I := 0 to FRoot.ComponentCount - 1 do
    if FRoot.Components[I].InheritsFrom(AClass) and (FRoot.Components[I].Name <> '') then
      AProc(FRoot.Components[I].Name);
end;

function TorvRootDesigner.GetComponent(const AName: string): TComponent;
begin
  if AName = '' then
    Exit(nil);
  if SameText(FRoot.Name, AName) then
    Exit(FRoot);
  Result := FRoot.FindComponent(AName);
end;

function TorvRootDesigner.GetComponentName(AComponent: TComponent): string;
begin
  if AComponent = nil then
    Result := ''
  else
    Result := AComponent.Name;
end;

end.
