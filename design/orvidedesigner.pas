{ The designer of the editor windows, over the Lazarus IDE.

  The IDE has no one form-designer object to hand to a window: its designer
  (a TComponentEditorDesigner, found from the designed root) marks the form
  changed and names components, while its property editor hook selects,
  announces new components and refreshes the Object Inspector. A
  TorvIDEDesigner puts the two together for one designed root.

  There is one per root, so that a window opened twice for the same form is
  found again by its designer. The designers outlive their roots: a window
  may still hold one after the form is closed, so a designer only forgets
  its root then, and all of them are freed when the package is unloaded. }
unit Orvidedesigner;

{$I orvdefines.inc}

interface

uses
  Classes, SysUtils,
  Forms, Controls,
  PropEdits, PropEditUtils, ComponentEditors,
  Orvdesigner;

type
  { TorvIDEDesigner }

  { The designed form with the root ARoot, as the IDE designs it. }
  TorvIDEDesigner = class(TorvDesigner)
  private
    FRoot: TComponent;
    FWatcher: TComponent;
    function Designer: TComponentEditorDesigner;
    function Hook: TPropertyEditorHook;
    function LiveRoot: TComponent;
    procedure RootGone;
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
  end;

{ Return the designer of the form whose root is ARoot; nil for no root. }
function orvIDEDesigner(ARoot: TComponent): TorvDesigner;
{ Return the designer of the form APersistent (a component or a collection
  item of one) is designed on; nil when it is on none. }
function orvIDEDesignerOf(APersistent: TPersistent): TorvDesigner;

resourcestring
  rsFormClosed = 'The designed form has been closed.';

implementation

type
  { Tells its designer when the root is destroyed. }
  TRootWatcher = class(TComponent)
  private
    FDesigner: TorvIDEDesigner;
  protected
    procedure Notification(AComponent: TComponent; Operation: TOperation); override;
  end;

var
  Designers: TFPList; // TorvIDEDesigner, every one made

{ TRootWatcher }

procedure TRootWatcher.Notification(AComponent: TComponent; Operation: TOperation);
begin
  inherited Notification(AComponent, Operation);
  if (Operation = opRemove) and (AComponent = FDesigner.FRoot) then
    FDesigner.RootGone;
end;

{ TorvIDEDesigner }

constructor TorvIDEDesigner.Create(ARoot: TComponent);
begin
  inherited Create;
  FRoot := ARoot;
  FWatcher := TRootWatcher.Create(nil);
  TRootWatcher(FWatcher).FDesigner := Self;
  FRoot.FreeNotification(FWatcher);
end;

destructor TorvIDEDesigner.Destroy;
begin
  if FRoot <> nil then
    FRoot.RemoveFreeNotification(FWatcher);
  FWatcher.Free;
  inherited Destroy;
end;

procedure TorvIDEDesigner.RootGone;
begin
  FRoot := nil;
end;

function TorvIDEDesigner.LiveRoot: TComponent;
begin
  if FRoot = nil then
    raise Exception.Create(rsFormClosed);
  Result := FRoot;
end;

function TorvIDEDesigner.Designer: TComponentEditorDesigner;
var
  Found: TIDesigner;
begin
  Result := nil;
  if FRoot = nil then
    Exit;
  Found := FindRootDesigner(FRoot);
  if Found is TComponentEditorDesigner then
    Result := TComponentEditorDesigner(Found);
end;

function TorvIDEDesigner.Hook: TPropertyEditorHook;
var
  D: TComponentEditorDesigner;
begin
  D := Designer;
  if D <> nil then
    Result := D.PropertyEditorHook
  else
    Result := nil;
  if Result = nil then
    Result := GlobalDesignHook;
end;

function TorvIDEDesigner.Root: TComponent;
begin
  Result := FRoot;
end;

procedure TorvIDEDesigner.Modified;
var
  D: TComponentEditorDesigner;
begin
  D := Designer;
  if D <> nil then
    D.Modified;
  if Hook <> nil then
    Hook.RefreshPropertyValues;
end;

function TorvIDEDesigner.UniqueName(const ABaseName: string): string;
var
  D: TComponentEditorDesigner;
begin
  LiveRoot;
  D := Designer;
  if D = nil then
    raise Exception.Create(rsFormClosed);
  // The IDE drops a class name's leading T and counts up from 1.
  Result := D.UniqueName(ABaseName);
end;

function TorvIDEDesigner.CreateComponent(AClass: TComponentClass; AParent: TComponent;
  ALeft, ATop, AWidth, AHeight: Integer): TComponent;
begin
  Result := AClass.Create(LiveRoot);
  try
    Result.Name := UniqueName(AClass.ClassName);
    if (Result is TControl) and (AParent is TWinControl) then
    begin
      TControl(Result).SetBounds(ALeft, ATop, AWidth, AHeight);
      TControl(Result).Parent := TWinControl(AParent);
    end;
  except
    Result.Free;
    raise;
  end;
  // Announced as the IDE's own editors do: the form's source gets its
  // field, and the Object Inspector lists it.
  if Hook <> nil then
    Hook.PersistentAdded(Result, False);
end;

procedure TorvIDEDesigner.SelectComponent(APersistent: TPersistent);
begin
  if Hook <> nil then
    Hook.SelectOnlyThis(APersistent);
end;

procedure TorvIDEDesigner.SetSelections(AList: TList);
var
  Selection: TPersistentSelectionList;
  I: Integer;
begin
  if Hook = nil then
    Exit;
  Selection := TPersistentSelectionList.Create;
  try
    for I := 0 to AList.Count - 1 do
      Selection.Add(TPersistent(AList[I]));
    Hook.SetSelection(Selection);
  finally
    Selection.Free;
  end;
end;

procedure TorvIDEDesigner.GetComponentNames(AClass: TClass; AProc: TorvGetNameProc);
var
  I: Integer;
  Item: TComponent;
begin
  if FRoot = nil then
    Exit;
  if FRoot.InheritsFrom(AClass) and (FRoot.Name <> '') then
    AProc(FRoot.Name);
  for I := 0 to FRoot.ComponentCount - 1 do
  begin
    Item := FRoot.Components[I];
    if Item.InheritsFrom(AClass) and (Item.Name <> '') then
      AProc(Item.Name);
  end;
end;

function TorvIDEDesigner.GetComponent(const AName: string): TComponent;
begin
  if (FRoot = nil) or (AName = '') then
    Exit(nil);
  if SameText(FRoot.Name, AName) then
    Exit(FRoot);
  Result := FRoot.FindComponent(AName);
end;

function TorvIDEDesigner.GetComponentName(AComponent: TComponent): string;
begin
  if AComponent = nil then
    Result := ''
  else
    Result := AComponent.Name;
end;

{ Designers }

function orvIDEDesigner(ARoot: TComponent): TorvDesigner;
var
  I: Integer;
begin
  if ARoot = nil then
    Exit(nil);
  for I := 0 to Designers.Count - 1 do
    if TorvIDEDesigner(Designers[I]).FRoot = ARoot then
      Exit(TorvIDEDesigner(Designers[I]));
  Result := TorvIDEDesigner.Create(ARoot);
  Designers.Add(Result);
end;

function orvIDEDesignerOf(APersistent: TPersistent): TorvDesigner;
var
  Root: TPersistent;
begin
  if APersistent = nil then
    Exit(nil);
  Root := GetLookupRootForComponent(APersistent);
  if Root is TComponent then
    Result := orvIDEDesigner(TComponent(Root))
  else
    Result := nil;
end;

procedure FreeDesigners;
var
  I: Integer;
begin
  for I := Designers.Count - 1 downto 0 do
    TorvIDEDesigner(Designers[I]).Free;
  FreeAndNil(Designers);
end;

initialization
  Designers := TFPList.Create;

finalization
  FreeDesigners;

end.
