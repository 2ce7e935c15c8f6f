{ This file was automatically created by Lazarus. Do not edit!
  This source is only used to compile and install the package.
 }

unit orvane_d5;

{$warn 5023 off : no warning about unused units}
interface

uses
  Orvnameindex, Orvpointermap, Orvfeatureids, Orvcommon, Orvvalues, Orvsystem, 
  Orvclasses, Orvconlist, Orvp2p, Orve2p, Orve2m, Orvvar, Orvlinknames;

implementation

end.
