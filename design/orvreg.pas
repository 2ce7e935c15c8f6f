{ Registration with the Lazarus IDE: the palette page, the links without
  palette buttons, the property editors and the component editors, made in
  the order Orvregistrar writes down; and, whenever the package is loaded,
  the classes the form reader must find. }
unit Orvreg;

{$I orvdefines.inc}

interface

{ Called by the IDE each time it loads the package. }
procedure Register;

implementation

// The palette icons, 24 by 24, named after their classes.
{$R orvpalette.res}

uses
  Classes, SysUtils, TypInfo,
  PropEdits, ComponentEditors,
  // The IDE links only what the design package's units use; the runtime
  // package is linked whole, as a program's uses clause links it, so that
  // every binding is registered while forms are designed.
  orvane_d5,
  Orvverbs, Orvregistrar, Orvpropedits, Orvcompedits;

type
  { TIDERegistrar }

  { Makes the registrations with the IDE's own routines. }
  TIDERegistrar = class(TorvRegistrar)
  public
    procedure RegisterPropertyEditor(APropertyType: PTypeInfo; AClass: TClass;
      const APropertyName: string; AEditor: TorvPropertyEditorKind); override;
    procedure RegisterComponentEditor(AClass: TComponentClass;
      AEditor: TorvComponentEditorKind); override;
    procedure RegisterNoIcon(const AClasses: array of TComponentClass); override;
    procedure RegisterComponents(const APage: string;
      const AClasses: array of TComponentClass); override;
  end;

const
  PropertyEditorClasses: array[TorvPropertyEditorKind] of TPropertyEditorClass = (
    TorvClassTypeNameProperty, TorvComponentProperty, TorvPropertyInfoProperty,
    TorvPropertyIndexesProperty, TorvEventInfoProperty, TorvEventParamProperty,
    TorvMethodInfoProperty, TorvMethodParamProperty, TorvMethodParamsProperty);
  ComponentEditorClasses: array[TorvComponentEditorKind] of TComponentEditorClass = (
    TorvConnectionListEditor, TorvVariableEditor);

{ TIDERegistrar }

procedure TIDERegistrar.RegisterPropertyEditor(APropertyType: PTypeInfo; AClass: TClass;
  const APropertyName: string; AEditor: TorvPropertyEditorKind);
begin
  PropEdits.RegisterPropertyEditor(APropertyType, AClass, APropertyName, PropertyEditorClasses[AEditor]);
end;

procedure TIDERegistrar.RegisterComponentEditor(AClass: TComponentClass;
  AEditor: TorvComponentEditorKind);
begin
  ComponentEditors.RegisterComponentEditor(AClass, ComponentEditorClasses[AEditor]);
end;

procedure TIDERegistrar.RegisterNoIcon(const AClasses: array of TComponentClass);
begin
  Classes.RegisterNoIcon(AClasses);
end;

procedure TIDERegistrar.RegisterComponents(const APage: string;
  const AClasses: array of TComponentClass);
begin
  Classes.RegisterComponents(APage, AClasses);
end;

procedure Register;
var
  Registrar: TIDERegistrar;
begin
  Registrar := TIDERegistrar.Create;
  try
    orvRegisterDesignTime(Registrar);
  finally
    Registrar.Free;
  end;
end;

initialization
  orvRegisterStreamingClasses;

end.
