unit Orve2p;

{$I orvdefines.inc}

interface

implementation

end.
