unit Orvtestp2p;

{$I orvdefines.inc}

interface

implementation

end.
