unit Orvvar;

{$I orvdefines.inc}

interface

implementation

end.
