unit Orvtestclasses;

{$I orvdefines.inc}

interface

implementation

end.
