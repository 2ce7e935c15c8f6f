unit Orvtestvar;

{$I orvdefines.inc}

interface

implementation

end.
