{ This file was automatically created by Lazarus. Do not edit!
  This source is only used to compile and install the package.
 }

unit orvane_d5_dsgn;

{$warn 5023 off : no warning about unused units}
interface

uses
  Orvpropvalues, Orvverbs, Orvregistrar, Orvabout, Orvidedesigner, Orvpropedits, 
  Orvcompedits, Orvreg, LazarusPackageIntf;

implementation

procedure Register;
begin
  RegisterUnit('Orvreg', @Orvreg.Register);
end;

initialization
  RegisterPackage('orvane_d5_dsgn', @Register);
end.
