{ This file was automatically created by Lazarus. Do not edit!
  This source is only used to compile and install the package.
 }

unit orvane_d5;

{$warn 5023 off : no warning about unused units}
interface

uses
  Orvnameindex, Orvpointermap, Orvcommon, Orvvalues, Orvsystem, Orvclasses,
  Orvstandins, Orvimglist, Orvactnlist, Orvgraphics, Orvcontrols,
  Orvstdctrls, Orvmenus, Orvforms, Orvextctrls, Orvlinknames, Orvconlist,
  Orvp2p, Orve2p, Orve2m, Orvdesigner, Orvwinpos, Orvlinkform, Orvpickers,
  Orvpropindex, Orvp2peditor, Orve2peditor, Orvmpeditor, Orve2meditor,
  Orvlinksedit, Orvcsdlg, Orveditorhooks, Orvvar, Orvcallguard, Orvprobe,
  Orvpolicy, Orvtrace;

implementation

end.
