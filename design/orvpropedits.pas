{ The Object Inspector's editors for the properties of the links and of the
  variable: drop-down lists of the names the metadata allows, a read-only
  index display with the index editor behind its button, and the parameter
  list window behind the parameter collection.

  Each editor works on the first selected object only. What it offers and
  accepts is worked out in Orvpropvalues; the classes here only hand the
  IDE's calls on. }
unit Orvpropedits;

{$I orvdefines.inc}

interface

uses
  Classes, SysUtils,
  PropEdits,
  Orvcommon;

type
  { TorvClassTypeNameProperty }

  { ClassTypeName of the variable: the registered class names. }
  TorvClassTypeNameProperty = class(TStringProperty)
  public
    function GetAttributes: TPropertyAttributes; override;
    procedure GetValues(Proc: TGetStrProc); override;
  end;

  { TorvComponentProperty }

  { A component-valued link property: only components whose own class is
    bound are offered. }
  TorvComponentProperty = class(TComponentProperty)
  private
    FProc: TGetStrProc;
  public
    procedure GetValues(Proc: TGetStrProc); override;
    { Pass S on to the list when it names a bindable component. }
    procedure CheckComponent(const S: string);
  end;

  { TorvPropertyInfoProperty }

  { A property-name property: the readable (for a source) or writable (for a
    target) properties of its side. }
  TorvPropertyInfoProperty = class(TStringProperty)
  public
    function GetAttributes: TPropertyAttributes; override;
    procedure GetValues(Proc: TGetStrProc); override;
    procedure SetValue(const NewValue: ansistring); override;
    { Return the class info of the side the edited property names. }
    function GetORVClassInfo: TorvClassInfo;
    { Answer whether APropertyInfo may be chosen for the edited property. }
    function IsPropertyVisible(APropertyInfo: TorvPropertyInfo): Boolean;
  end;

  { TorvPropertyIndexesProperty }

  { An index list: its parameter names, and the index editor. }
  TorvPropertyIndexesProperty = class(TPropertyEditor)
  public
    procedure Edit; override;
    function GetAttributes: TPropertyAttributes; override;
    function GetValue: ansistring; override;
    { Return the property whose index list is edited, or nil. }
    function GetPropertyInfo: TorvPropertyInfo;
  end;

  { TorvEventInfoProperty }

  { An event-name property: the events of its side. }
  TorvEventInfoProperty = class(TStringProperty)
  public
    function GetAttributes: TPropertyAttributes; override;
    procedure GetValues(Proc: TGetStrProc); override;
    procedure SetValue(const NewValue: ansistring); override;
    function GetORVClassInfo: TorvClassInfo;
  end;

  { TorvEventParamProperty }

  { An event-parameter property: the source event's parameters, in order. }
  TorvEventParamProperty = class(TStringProperty)
  public
    function GetAttributes: TPropertyAttributes; override;
    procedure GetValues(Proc: TGetStrProc); override;
    procedure SetValue(const NewValue: ansistring); override;
    function GetEventInfo: TorvEventInfo;
  end;

  { TorvMethodInfoProperty }

  { TargetMethod: the methods of the target. }
  TorvMethodInfoProperty = class(TStringProperty)
  public
    function GetAttributes: TPropertyAttributes; override;
    procedure GetValues(Proc: TGetStrProc); override;
    procedure SetValue(const NewValue: ansistring); override;
  end;

  { TorvMethodParamProperty }

  { ParameterName: set by the link when its method changes. }
  TorvMethodParamProperty = class(TStringProperty)
  public
    function GetAttributes: TPropertyAttributes; override;
  end;

  { TorvMethodParamsProperty }

  { TargetMethodParameters: opens the parameter list window. }
  TorvMethodParamsProperty = class(TClassProperty)
  public
    procedure Edit; override;
    function GetAttributes: TPropertyAttributes; override;
  end;

implementation

uses
  ObjInspStrConsts,
  Orvpropvalues, Orvidedesigner;

const
  NameListAttributes = [paValueList, paSortList, paRevertable];

{ The first selected object, or nil. }
function Edited(AEditor: TPropertyEditor): TPersistent;
begin
  if AEditor.PropCount > 0 then
    Result := AEditor.GetComponent(0)
  else
    Result := nil;
end;

{ TorvClassTypeNameProperty }

function TorvClassTypeNameProperty.GetAttributes: TPropertyAttributes;
begin
  Result := NameListAttributes;
end;

procedure TorvClassTypeNameProperty.GetValues(Proc: TGetStrProc);
begin
  orvGetClassTypeNames(Proc);
end;

{ TorvComponentProperty }

procedure TorvComponentProperty.GetValues(Proc: TGetStrProc);
begin
  FProc := Proc;
  try
    inherited GetValues(@CheckComponent);
  finally
    FProc := nil;
  end;
end;

procedure TorvComponentProperty.CheckComponent(const S: string);
begin
  // The IDE lists "(none)" first, its way of clearing a reference: keep it.
  if (S = oisNone) or orvIsBindable(PropertyHook.GetComponent(S)) then
    FProc(S);
end;

{ TorvPropertyInfoProperty }

function TorvPropertyInfoProperty.GetAttributes: TPropertyAttributes;
begin
  Result := NameListAttributes;
end;

procedure TorvPropertyInfoProperty.GetValues(Proc: TGetStrProc);
begin
  orvGetPropertyNames(Edited(Self), GetName, Proc);
end;

procedure TorvPropertyInfoProperty.SetValue(const NewValue: ansistring);
begin
  inherited SetValue(orvCheckPropertyName(Edited(Self), GetName, NewValue));
end;

function TorvPropertyInfoProperty.GetORVClassInfo: TorvClassInfo;
begin
  Result := orvPropertySideInfo(Edited(Self), GetName);
end;

function TorvPropertyInfoProperty.IsPropertyVisible(APropertyInfo: TorvPropertyInfo): Boolean;
begin
  Result := orvIsPropertyOffered(GetName, APropertyInfo);
end;

{ TorvPropertyIndexesProperty }

procedure TorvPropertyIndexesProperty.Edit;
var
  Instance: TPersistent;
  Indexes: Variant;
begin
  Instance := Edited(Self);
  Indexes := GetVarValue;
  if orvEditIndexList(orvIDEDesignerOf(Instance), Instance, GetName, Indexes) then
  begin
    SetVarValue(Indexes);
    Modified;
  end;
end;

function TorvPropertyIndexesProperty.GetAttributes: TPropertyAttributes;
begin
  Result := [paReadOnly];
  if orvHasIndexParameters(Edited(Self), GetName) then
    Include(Result, paDialog);
end;

function TorvPropertyIndexesProperty.GetValue: ansistring;
begin
  Result := orvIndexListText(Edited(Self), GetName);
end;

function TorvPropertyIndexesProperty.GetPropertyInfo: TorvPropertyInfo;
begin
  Result := orvIndexedPropertyInfo(Edited(Self), GetName);
end;

{ TorvEventInfoProperty }

function TorvEventInfoProperty.GetAttributes: TPropertyAttributes;
begin
  Result := NameListAttributes;
end;

procedure TorvEventInfoProperty.GetValues(Proc: TGetStrProc);
begin
  orvGetEventNames(Edited(Self), GetName, Proc);
end;

procedure TorvEventInfoProperty.SetValue(const NewValue: ansistring);
begin
  inherited SetValue(orvCheckEventName(Edited(Self), GetName, NewValue));
end;

function TorvEventInfoProperty.GetORVClassInfo: TorvClassInfo;
begin
  Result := orvEventSideInfo(Edited(Self), GetName);
end;

{ TorvEventParamProperty }

function TorvEventParamProperty.GetAttributes: TPropertyAttributes;
begin
  // Not sorted: parameters keep their declaration order.
  Result := [paValueList, paRevertable];
end;

procedure TorvEventParamProperty.GetValues(Proc: TGetStrProc);
begin
  orvGetEventParameterNames(Edited(Self), Proc);
end;

procedure TorvEventParamProperty.SetValue(const NewValue: ansistring);
begin
  inherited SetValue(orvCheckEventParameterName(Edited(Self), NewValue));
end;

function TorvEventParamProperty.GetEventInfo: TorvEventInfo;
begin
  Result := orvParameterEventInfo(Edited(Self));
end;

{ TorvMethodInfoProperty }

function TorvMethodInfoProperty.GetAttributes: TPropertyAttributes;
begin
  Result := NameListAttributes;
end;

procedure TorvMethodInfoProperty.GetValues(Proc: TGetStrProc);
begin
  orvGetMethodNames(Edited(Self), GetName, Proc);
end;

procedure TorvMethodInfoProperty.SetValue(const NewValue: ansistring);
begin
  inherited SetValue(orvCheckMethodName(Edited(Self), GetName, NewValue));
end;

{ TorvMethodParamProperty }

function TorvMethodParamProperty.GetAttributes: TPropertyAttributes;
begin
  Result := [paReadOnly];
end;

{ TorvMethodParamsProperty }

procedure TorvMethodParamsProperty.Edit;
begin
  // The collection is read as an object: an ordinal value would cut a
  // 64-bit address in half.
  orvEditMethodParameterList(orvIDEDesignerOf(Edited(Self)), GetObjectValue);
end;

function TorvMethodParamsProperty.GetAttributes: TPropertyAttributes;
begin
  Result := [paDialog, paReadOnly];
end;

end.
