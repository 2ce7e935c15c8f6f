unit Orvteste2p;

{$I orvdefines.inc}

interface

implementation

end.
