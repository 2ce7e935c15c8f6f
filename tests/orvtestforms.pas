unit Orvtestforms;

{$I orvdefines.inc}

interface

implementation

end.
