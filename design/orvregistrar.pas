{ What the package registers with the IDE, and in which order.

  Register in Orvreg hands an IDE registrar to orvRegisterDesignTime, which
  makes every call through it. The calls are written down here, without
  IDEIntf, naming the editors by kind rather than by class, so that a
  registrar which only records them can check the whole registration
  outside the IDE. }
unit Orvregistrar;

{$I orvdefines.inc}

interface

uses
  Classes, SysUtils, TypInfo,
  Orvverbs;

type
  { The property editors, by what they edit. }
  TorvPropertyEditorKind = (
    pekClassTypeName,   // registered class names
    pekComponent,       // bindable components only
    pekPropertyInfo,    // property names of a side
    pekPropertyIndexes, // index lists, with the index editor
    pekEventInfo,       // event names of a side
    pekEventParam,      // parameter names of the source event
    pekMethodInfo,      // method names of the target
    pekMethodParam,     // read-only parameter name
    pekMethodParams);   // the parameter list window

  { TorvRegistrar }

  { The IDE's registration routines, as the package calls them. }
  TorvRegistrar = class
  public
    { Attach the editor AEditor to the properties of type APropertyType named
      APropertyName (all of them when empty) of AClass and its descendants. }
    procedure RegisterPropertyEditor(APropertyType: PTypeInfo; AClass: TClass;
      const APropertyName: string; AEditor: TorvPropertyEditorKind); virtual; abstract;
    procedure RegisterComponentEditor(AClass: TComponentClass;
      AEditor: TorvComponentEditorKind); virtual; abstract;
    { Make AClasses known to the designer without a palette button. }
    procedure RegisterNoIcon(const AClasses: array of TComponentClass); virtual; abstract;
    { Put AClasses on the palette page APage, in this order. }
    procedure RegisterComponents(const APage: string;
      const AClasses: array of TComponentClass); virtual; abstract;
  end;

const
  { The palette page of the placeable components. }
  orvPalettePage = 'Orvane';

{ Make every design-time registration through ARegistrar: the property
  editors, the component editors, the links without icon, the palette. }
procedure orvRegisterDesignTime(ARegistrar: TorvRegistrar);
{ Register the classes the form reader must find by name. }
procedure orvRegisterStreamingClasses;

implementation

uses
  Orvconlist, Orvp2p, Orve2p, Orve2m, Orvvar;

procedure RegisterPropertyEditors(ARegistrar: TorvRegistrar);
begin
  ARegistrar.RegisterPropertyEditor(TypeInfo(TComponent), TorvConnection, '', pekComponent);
  ARegistrar.RegisterPropertyEditor(TypeInfo(string), TorvP2PConnection, 'SourceProperty', pekPropertyInfo);
  ARegistrar.RegisterPropertyEditor(TypeInfo(Variant), TorvP2PConnection, 'SourcePropertyIndex', pekPropertyIndexes);
  ARegistrar.RegisterPropertyEditor(TypeInfo(string), TorvP2PConnection, 'SourceEvent', pekEventInfo);
  ARegistrar.RegisterPropertyEditor(TypeInfo(string), TorvP2PConnection, 'TargetProperty', pekPropertyInfo);
  ARegistrar.RegisterPropertyEditor(TypeInfo(Variant), TorvP2PConnection, 'TargetPropertyIndex', pekPropertyIndexes);
  ARegistrar.RegisterPropertyEditor(TypeInfo(string), TorvP2PConnection, 'TargetEvent', pekEventInfo);
  ARegistrar.RegisterPropertyEditor(TypeInfo(string), TorvE2PConnection, 'SourceEvent', pekEventInfo);
  ARegistrar.RegisterPropertyEditor(TypeInfo(string), TorvE2PConnection, 'TargetProperty', pekPropertyInfo);
  ARegistrar.RegisterPropertyEditor(TypeInfo(Variant), TorvE2PConnection, 'TargetPropertyIndex', pekPropertyIndexes);
  ARegistrar.RegisterPropertyEditor(TypeInfo(string), TorvE2PConnection, 'ValueComponentProperty', pekPropertyInfo);
  ARegistrar.RegisterPropertyEditor(TypeInfo(Variant), TorvE2PConnection, 'ValueComponentPropertyIndex', pekPropertyIndexes);
  ARegistrar.RegisterPropertyEditor(TypeInfo(string), TorvE2PConnection, 'ValueEventParameter', pekEventParam);
  ARegistrar.RegisterPropertyEditor(TypeInfo(string), TorvE2MConnection, 'SourceEvent', pekEventInfo);
  ARegistrar.RegisterPropertyEditor(TypeInfo(string), TorvE2MConnection, 'TargetMethod', pekMethodInfo);
  ARegistrar.RegisterPropertyEditor(TypeInfo(TorvParameterConnections), TorvE2MConnection, 'TargetMethodParameters', pekMethodParams);
  ARegistrar.RegisterPropertyEditor(TypeInfo(TComponent), TorvParameterConnection, 'Component', pekComponent);
  ARegistrar.RegisterPropertyEditor(TypeInfo(string), TorvParameterConnection, 'ParameterName', pekMethodParam);
  ARegistrar.RegisterPropertyEditor(TypeInfo(string), TorvParameterConnection, 'ComponentProperty', pekPropertyInfo);
  ARegistrar.RegisterPropertyEditor(TypeInfo(Variant), TorvParameterConnection, 'ComponentPropertyIndex', pekPropertyIndexes);
  ARegistrar.RegisterPropertyEditor(TypeInfo(string), TorvParameterConnection, 'EventParameter', pekEventParam);
  ARegistrar.RegisterPropertyEditor(TypeInfo(string), TorvVariable, 'ClassTypeName', pekClassTypeName);
end;

procedure orvRegisterDesignTime(ARegistrar: TorvRegistrar);
begin
  RegisterPropertyEditors(ARegistrar);
  ARegistrar.RegisterComponentEditor(TorvConnectionList, cekConnectionList);
  ARegistrar.RegisterComponentEditor(TorvVariable, cekVariable);
  ARegistrar.RegisterNoIcon([TorvP2PConnection, TorvE2PConnection, TorvE2MConnection]);
  ARegistrar.RegisterComponents(orvPalettePage, [TorvVariable, TorvConnectionList]);
end;

procedure orvRegisterStreamingClasses;
begin
  RegisterClasses([TorvConnectionList, TorvConnection, TorvP2PConnection, TorvE2PConnection,
    TorvE2MConnection]);
end;

end.
