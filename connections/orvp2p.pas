unit Orvp2p;

{$I orvdefines.inc}

interface

implementation

end.
