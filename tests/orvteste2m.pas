unit Orvteste2m;

{$I orvdefines.inc}

interface

implementation

end.
