{ An application's own edit, derived from TEdit without a binding of its own.

  Links refuse it unless the application sets
  TorvClassRegistry.DerivedClasses to True, once, before its first form is
  read; then it gets TEdit's binding, its nearest bound ancestor's, and
  links, the editors and the form checker take it for a TEdit. The tests
  (tests/orvtestderived.pas) use it. }
unit Orvderivededit;

{$I orvdefines.inc}

interface

uses
  Classes, SysUtils, StdCtrls,
  Orvp2p;

type
  { Counts its changes, then fires OnChange through the inherited dispatch,
    which the TEdit binding hooks. }
  TMyEdit = class(TEdit)
  private
    FChanges: Integer;
  protected
    procedure Change; override;
  public
    property Changes: Integer read FChanges;
  end;

{ Copy AEdit's text to ALabel's caption now and at every change, through a
  link owned by the edit's owner; raise when the link cannot connect. }
function ShowTextIn(AEdit: TMyEdit; ALabel: TLabel): TorvP2PConnection;

implementation

resourcestring
  rsNotConnected = 'The text of %s cannot be shown in %s!';

procedure TMyEdit.Change;
begin
  // Counted first: a handler called by the inherited dispatch may free us.
  Inc(FChanges);
  inherited Change;
end;

function ShowTextIn(AEdit: TMyEdit; ALabel: TLabel): TorvP2PConnection;
begin
  Result := TorvP2PConnection.Create(AEdit.Owner);
  try
    Result.Source := AEdit; // "This is a not Orvane component!" unless DerivedClasses
    Result.SourceProperty := 'Text';
    Result.SourceEvent := 'OnChange';
    Result.Target := ALabel;
    Result.TargetProperty := 'Caption';
    if not Result.Connect then
      raise Exception.CreateFmt(rsNotConnected, [AEdit.Name, ALabel.Name]);
  except
    Result.Free;
    raise;
  end;
end;

end.
