{ Features by name from code: a component through the class info the
  registry keeps for it, and an object that is not a component (here a
  TStringList) through a variable that holds it. }
program orvbyname;

{$mode objfpc}{$H+}

uses
  Classes, SysUtils, Variants,
  Interfaces, // the widgetset that the bound control classes need linked
  orvane_d5, // every binding of the package, as in any application using it
  Orvcommon, // TorvClassRegistry, TorvClassInfo
  Orvvar;    // TorvVariable

var
  Owner: TComponent;
  List: TStringList;
  Variable: TorvVariable;
  Info: TorvClassInfo;
begin
  Owner := TComponent.Create(nil);
  List := TStringList.Create;
  try
    Owner.Tag := 7;
    Info := TorvClassRegistry.GetInfo(Owner); // kept by the registry: never freed here
    WriteLn('Tag = ', VarToStr(Info.GetProperty(Info.FindProperty('Tag'))));

    List.Add('one');
    Variable := TorvVariable.Create(Owner);
    Variable.ClassTypeName := 'TStringList';
    Variable.Instance := List;
    Info := TorvClassRegistry.GetInfo(Variable); // the list's features, and the variable's
    Info.SetProperty(Info.FindProperty('CommaText'), 'two,three');
    WriteLn('Count = ', VarToStr(Info.GetProperty(Info.FindProperty('Count'))));
    // A list cannot announce its end to the variable: let go of it first.
    Variable.Instance := nil;
  finally
    Owner.Free;
    List.Free;
  end;
end.
