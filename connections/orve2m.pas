unit Orve2m;

{$I orvdefines.inc}

interface

implementation

end.
