{ What happens when user code called by the system frees things, loops or is
  handed nonsense: components freed by their own handlers, links freed in
  their own firings, loops of links, empty arguments of by-name calls, bad
  addresses written to a variable's Self, class infos given another owner,
  and faults of the program inside a transfer. Every case here also runs
  under heaptrc (keeping freed blocks) and valgrind, which catch a read of
  freed memory that a plain run survives. }
unit Orvtestrobust;

{$I orvdefines.inc}

interface

uses
  Classes, SysUtils, Variants, fpcunit, testregistry,
  Orvcommon, Orvsystem, Orvcallguard, Orvconlist, Orvp2p, Orve2p, Orve2m, Orvvar,
  Orvtestfixtures, Orvtestinfos;

type
  { An edit with a method that changes it, a property whose setter always
    fires OnChange, a method that calls back (OnKill) after it stored its
    argument, and a property whose setter raises what it is told to. }
  TPokeEdit = class(TTestEdit)
  private
    FOnKill: TNotifyEvent;
    FFault: ExceptClass;
    function GetAlwaysValue: Integer;
    procedure SetAlways(AValue: Integer);
    procedure SetFault(AValue: Integer);
  public
    procedure Poke;
    procedure Store(const AValue: string);
    property OnKill: TNotifyEvent read FOnKill write FOnKill;
    property Fault: ExceptClass read FFault write FFault;
  published
    property Always: Integer read GetAlwaysValue write SetAlways;
    property Faulty: Integer read GetAlwaysValue write SetFault;
  end;

  TPokeEditClassInfo = class(TTestEditClassInfo)
  public
    function GetProperty(AProp: TorvPropertyInfo): Variant; override;
    procedure SetProperty(AProp: TorvPropertyInfo; const AValue: Variant); override;
    procedure InvokeMethod(AMethod: TorvMethodInfo); override;
  end;

  { A root with components, frees one chosen component at a chosen moment. }
  TTestRobustBase = class(TTestCase)
  protected
    FRoot: TComponent;
    FVictim: TComponent;
    FGone: TStringList;
    FWatcher: TComponent;
    procedure SetUp; override;
    procedure TearDown; override;
    function NewEdit(const AName: string): TPokeEdit;
    function NewList: TorvConnectionList;
    { Free the victim once, wherever this runs from. }
    procedure KillVictim(Sender: TObject);
    procedure KillVictimListener(Sender: TObject; Event: TorvEventInfo);
    procedure KillVictimValidate(Sender: TObject; var AText: string; var AAccept: Boolean);
  end;

  { Every way of freeing a component around a firing, for every kind of link. }
  TTestDestructionOrder = class(TTestRobustBase)
  published
    procedure TestMatrix;
  end;

  TTestCallingOut = class(TTestRobustBase)
  private
    FLink: TorvConnection;
    procedure KillLinkAndRaise(Sender: TObject);
    procedure CheckSavedHandlerFreeing(AValidate, AFreeRoot: Boolean);
  published
    procedure TestSavedHandlerFreesItsComponent;
    procedure TestSavedHandlerFreesTheRoot;
    procedure TestVarParameterHandlerFreesItsComponent;
    procedure TestVarParameterHandlerFreesTheRoot;
    procedure TestTransferErrorAfterTheLinkWasFreed;
    procedure TestMethodFreesTheRootThatOwnsTheLink;
    procedure TestInstanceChangeFreesTheRoot;
    procedure TestFaultInsideTransferPassesUnchanged;
    procedure TestFirstCopyFreesWhatHoldsTheLinks;
    procedure TestHeldObjectsMethodFreesTheVariable;
  end;

  TTestReentry = class(TTestRobustBase)
  private
    FPoked: TPokeEdit;
    function E2M(const AName: string; ASource, ATarget: TComponent; const AMethod: string): TorvE2MConnection;
    function E2P(const AName: string; ASource, ATarget: TComponent; const AProp: string): TorvE2PConnection;
    { Fire ASource's OnChange, which must be stopped by the re-entry error;
      answer its message. Twice: the counts must be back to zero after the
      first error. }
    function LoopError(ASource: TPokeEdit): string;
    procedure PokeHeld(Sender: TObject; Event: TorvEventInfo);
  published
    procedure TestMethodChangingItsSource;
    procedure TestTwoEventToPropertyLinks;
    procedure TestTwoEventToMethodLinks;
    procedure TestSetterFiringItsOwnEvent;
    procedure TestEchoIsStillDropped;
    procedure TestForwardingThroughAVariable;
  end;

  TTestMisuse = class(TTestRobustBase)
  private
    { Call AMethod of a fresh AHost by name with AEmpty as argument AIndex;
      answer '' when it is refused naming AClassName, the method and the
      argument, or what happened instead. }
    function Invoke(const AHost, AClassName, AMethod: string; AIndex: Integer;
      const AEmpty: Variant): string;
    function WriteSelf(AVariable: TorvVariable; AAddress: PtrInt): string;
  published
    procedure TestEmptyArgumentsAreRefused;
    procedure TestVariableRefusesAddressesWithoutObject;
    procedure TestClassInfoGivenAnotherOwner;
    procedure TestClassInfoGivenAnOwnerThatGoesFirst;
    procedure TestStraysGoEachWithTheirOwnComponents;
  end;

implementation

const
  PokeEditDescriptors: TorvDescriptors = (
    Properties: 'Define::Always::psReadable..psWritable::pvPublished::0::' +
      'Define::Faulty::psReadable..psWritable::pvPublished::0';
    Methods: 'Poke::msProcedure::0::Store::msProcedure::1::Value';
    Constructors: '';
    Events: '');

{ TPokeEdit }

function TPokeEdit.GetAlwaysValue: Integer;
begin
  Result := Number;
end;

procedure TPokeEdit.SetAlways(AValue: Integer);
begin
  Number := AValue;
  if Assigned(OnChange) then
    OnChange(Self);
end;

procedure TPokeEdit.SetFault(AValue: Integer);
begin
  if FFault <> nil then
    raise FFault.Create('fault in setter');
  Number := AValue;
end;

procedure TPokeEdit.Poke;
begin
  Number := Number + 1;
end;

procedure TPokeEdit.Store(const AValue: string);
var
  Kill: TNotifyEvent;
begin
  // Read first: the change may run a handler that frees this edit.
  Kill := FOnKill;
  Text := AValue;
  if Assigned(Kill) then
    Kill(Self);
end;

{ TPokeEditClassInfo }

function TPokeEditClassInfo.GetProperty(AProp: TorvPropertyInfo): Variant;
begin
  case AProp.Name of
    'Always', 'Faulty': Result := TPokeEdit(Owner).Always;
  else
    Result := inherited GetProperty(AProp);
  end;
end;

procedure TPokeEditClassInfo.SetProperty(AProp: TorvPropertyInfo; const AValue: Variant);
begin
  case AProp.Name of
    'Always': TPokeEdit(Owner).Always := AValue;
    'Faulty': TPokeEdit(Owner).Faulty := AValue;
  else
    inherited SetProperty(AProp, AValue);
  end;
end;

procedure TPokeEditClassInfo.InvokeMethod(AMethod: TorvMethodInfo);
begin
  case AMethod.Name of
    'Poke': TPokeEdit(Owner).Poke;
    'Store': TPokeEdit(Owner).Store(AMethod.GetArgs(0).Value);
  else
    inherited InvokeMethod(AMethod);
  end;
end;

type
  { Notes the names of the components that go. }
  TGoneWatcher = class(TComponent)
  private
    FGone: TStringList;
  protected
    procedure Notification(AComponent: TComponent; Operation: TOperation); override;
  end;

procedure TGoneWatcher.Notification(AComponent: TComponent; Operation: TOperation);
begin
  if Operation = opRemove then
    FGone.Add(AComponent.Name);
  inherited Notification(AComponent, Operation);
end;

{ TTestRobustBase }

procedure TTestRobustBase.SetUp;
begin
  FGone := TStringList.Create;
  FWatcher := TGoneWatcher.Create(nil);
  TGoneWatcher(FWatcher).FGone := FGone;
  FRoot := TComponent.Create(nil);
  FRoot.Name := 'Root';
  FRoot.FreeNotification(FWatcher);
end;

procedure TTestRobustBase.TearDown;
begin
  if FGone.IndexOf('Root') < 0 then
    FRoot.Free;
  FRoot := nil;
  FWatcher.Free;
  FGone.Free;
end;

function TTestRobustBase.NewEdit(const AName: string): TPokeEdit;
begin
  Result := TPokeEdit.Create(FRoot);
  Result.Name := AName;
  Result.FreeNotification(FWatcher);
end;

function TTestRobustBase.NewList: TorvConnectionList;
begin
  Result := TorvConnectionList.Create(FRoot);
  Result.Name := 'List';
  Result.FreeNotification(FWatcher);
end;

procedure TTestRobustBase.KillVictim(Sender: TObject);
var
  Victim: TComponent;
begin
  Victim := FVictim;
  FVictim := nil;
  Victim.Free;
end;

procedure TTestRobustBase.KillVictimListener(Sender: TObject; Event: TorvEventInfo);
begin
  KillVictim(Sender);
end;

procedure TTestRobustBase.KillVictimValidate(Sender: TObject; var AText: string;
  var AAccept: Boolean);
begin
  KillVictim(Sender);
end;


{ TTestDestructionOrder }

type
  TLinkKind = (lkP2P, lkE2P, lkE2M);
  TVictimKind = (vkSource, vkTarget, vkValue, vkParameter, vkLink, vkList, vkRoot);
  TKillerKind = (kkOutside, kkSourceHandler, kkListener, kkTargetHandler, kkMethod);

const
  LinkKindNames: array[TLinkKind] of string = ('P2P', 'E2P', 'E2M');
  VictimNames: array[TVictimKind] of string = ('Src', 'Dst', 'Value', 'Param', 'Link', 'List', 'Root');
  KillerNames: array[TKillerKind] of string = ('outside', 'source handler', 'listener',
    'target handler', 'invoked method');

{ Answer whether the case exists: a value component only for the
  event-to-property link, a parameter component and a method only for the
  event-to-method link. }
function CaseExists(ALink: TLinkKind; AVictim: TVictimKind; AKiller: TKillerKind): Boolean;
begin
  Result := ((AVictim <> vkValue) or (ALink = lkE2P)) and
    ((AVictim <> vkParameter) or (ALink = lkE2M)) and
    ((AKiller <> kkMethod) or (ALink = lkE2M));
end;

procedure TTestDestructionOrder.TestMatrix;
var
  Failures: TStringList;
  LinkKind: TLinkKind;
  Victim: TVictimKind;
  Killer: TKillerKind;
  Source, Target, Value, Param: TPokeEdit;
  List: TorvConnectionList;
  Link: TorvConnection;
  Listener: TorvListener;
  Title: string;

  function Build: TorvConnection;
  var
    P2P: TorvP2PConnection;
    E2P: TorvE2PConnection;
    E2M: TorvE2MConnection;
  begin
    case LinkKind of
      lkP2P:
        begin
          P2P := TorvP2PConnection.Create(FRoot);
          P2P.Source := Source;
          P2P.Target := Target;
          P2P.SourceProperty := 'Text';
          P2P.TargetProperty := 'Text';
          P2P.SourceEvent := 'OnChange';
          Result := P2P;
        end;
      lkE2P:
        begin
          E2P := TorvE2PConnection.Create(FRoot);
          E2P.Source := Source;
          E2P.Target := Target;
          E2P.SourceEvent := 'OnChange';
          E2P.TargetProperty := 'Text';
          E2P.ValueComponent := Value;
          E2P.ValueComponentProperty := 'Text';
          E2P.ValueOptions := voComponentProperty;
          Result := E2P;
        end;
    else
      E2M := TorvE2MConnection.Create(FRoot);
      E2M.Source := Source;
      E2M.Target := Target;
      E2M.SourceEvent := 'OnChange';
      E2M.TargetMethod := 'Store';
      E2M.TargetMethodParameters[0].Component := Param;
      E2M.TargetMethodParameters[0].ComponentProperty := 'Text';
      E2M.TargetMethodParameters[0].Options := voComponentProperty;
      Result := E2M;
    end;
    Result.Name := 'Link';
    Result.FreeNotification(FWatcher);
    Result.SetConnectionList(List);
  end;

  procedure ChooseVictim;
  begin
    case Victim of
      vkSource: FVictim := Source;
      vkTarget: FVictim := Target;
      vkValue: FVictim := Value;
      vkParameter: FVictim := Param;
      vkLink: FVictim := Link;
      vkList: FVictim := List;
      vkRoot: FVictim := FRoot;
    end;
  end;

  { Fire the source, when it is still there. A parameter component that is
    gone leaves its item unresolved, which the link reports. }
  procedure Fire(const AText: string);
  begin
    if FGone.IndexOf('Src') >= 0 then
      Exit;
    try
      Source.Text := AText;
    except
      on E: EorvInvalidFeature do
        if (Victim <> vkParameter) or (FGone.IndexOf('Param') < 0) then
          raise;
    end;
  end;

  procedure RunCase;
  begin
    FGone.Clear;
    Source := NewEdit('Src');
    Target := NewEdit('Dst');
    Value := NewEdit('Value');
    Param := NewEdit('Param');
    Value.Text := 'from value';
    Param.Text := 'from param';
    List := NewList;
    // Saved handlers are set before the class infos exist: the bindings
    // take them over as the handlers they run first.
    case Killer of
      kkSourceHandler: Source.OnChange := @KillVictim;
      kkTargetHandler: Target.OnChange := @KillVictim;
      kkMethod: Target.OnKill := @KillVictim;
    end;
    Listener := nil;
    if Killer = kkListener then
    begin
      // Added before the link's, so it runs first in the firing.
      Listener := TorvListener.Create;
      Listener.EventName := 'OnChange';
      Listener.OnEvent := @KillVictimListener;
      InfoOf(Source).AddListener(Listener);
    end;
    try
      Link := Build;
      if not Link.Connect then
        raise Exception.Create('did not connect');
      ChooseVictim;
      if Killer = kkOutside then
      begin
        // Between two firings, by whoever holds the component.
        Fire('before');
        KillVictim(nil);
      end;
      Fire('fired');
    finally
      Listener.Free;
    end;
    if FVictim <> nil then
      raise Exception.Create('the victim was not freed');
    if FGone.IndexOf(VictimNames[Victim]) < 0 then
      raise Exception.Create('the victim is not gone');
    // Whatever is left fires once more, harmlessly.
    Fire('fired again');
  end;

begin
  // Each case makes a root of its own.
  FRoot.Free;
  FGone.Add('Root');
  Failures := TStringList.Create;
  try
    for LinkKind := Low(LinkKind) to High(LinkKind) do
      for Victim := Low(Victim) to High(Victim) do
        for Killer := Low(Killer) to High(Killer) do
        begin
          if not CaseExists(LinkKind, Victim, Killer) then
            Continue;
          Title := Format('%s, %s freed from %s', [LinkKindNames[LinkKind], VictimNames[Victim],
            KillerNames[Killer]]);
          FRoot := TComponent.Create(nil);
          FRoot.Name := 'Root';
          FRoot.FreeNotification(FWatcher);
          try
            try
              RunCase;
            except
              on E: Exception do
                Failures.Add(Title + ': ' + E.ClassName + ': ' + E.Message);
            end;
          finally
            if FGone.IndexOf('Root') < 0 then
              FRoot.Free;
            FGone.Add('Root');
          end;
        end;
    AssertEquals(Failures.Text, 0, Failures.Count);
  finally
    Failures.Free;
  end;
end;

{ TTestCallingOut }

procedure TTestCallingOut.CheckSavedHandlerFreeing(AValidate, AFreeRoot: Boolean);
var
  Edit: TPokeEdit;
  Listener: TorvListener;
  Text: string;
begin
  Edit := NewEdit('Edit');
  if AFreeRoot then
    FVictim := FRoot
  else
    FVictim := Edit;
  if AValidate then
    Edit.OnValidate := @KillVictimValidate
  else
    Edit.OnChange := @KillVictim;
  // A listener makes the binding go on to fire the event after the saved
  // handler, where it used to read its freed class info.
  Listener := TorvListener.Create;
  try
    Listener.EventName := 'OnChange';
    InfoOf(Edit).AddListener(Listener);
    if AValidate then
    begin
      Listener.EventName := 'OnValidate';
      Text := 'x';
      Edit.Validate(Text);
    end
    else
      Edit.Text := 'x';
    AssertNull('nothing left to free', FVictim);
    AssertTrue('edit gone', FGone.IndexOf('Edit') >= 0);
    AssertNull('the listener has left the freed class info', Listener.AttachedTo);
  finally
    Listener.Free;
  end;
end;

procedure TTestCallingOut.TestSavedHandlerFreesItsComponent;
begin
  CheckSavedHandlerFreeing(False, False);
end;

procedure TTestCallingOut.TestSavedHandlerFreesTheRoot;
begin
  CheckSavedHandlerFreeing(False, True);
end;

procedure TTestCallingOut.TestVarParameterHandlerFreesItsComponent;
begin
  CheckSavedHandlerFreeing(True, False);
end;

procedure TTestCallingOut.TestVarParameterHandlerFreesTheRoot;
begin
  CheckSavedHandlerFreeing(True, True);
end;

procedure TTestCallingOut.KillLinkAndRaise(Sender: TObject);
begin
  FreeAndNil(FLink);
  raise Exception.Create('boom');
end;

procedure TTestCallingOut.TestTransferErrorAfterTheLinkWasFreed;
var
  Source, Target: TPokeEdit;
  Link: TorvP2PConnection;
  Message: string;
begin
  Source := NewEdit('Src');
  Target := NewEdit('Dst');
  Link := TorvP2PConnection.Create(FRoot);
  Link.Name := 'Doomed';
  Link.Source := Source;
  Link.Target := Target;
  Link.SourceProperty := 'Text';
  Link.TargetProperty := 'Text';
  Link.SourceEvent := 'OnChange';
  Target.OnChange := @KillLinkAndRaise;
  Link.Connect;
  // The first copy at Connect changed nothing in the target.
  FLink := Link;
  Message := '';
  try
    Source.Text := 'x';
  except
    on E: Exception do
      Message := E.Message;
  end;
  AssertNull('link freed', FLink);
  AssertEquals('Exception "boom" occured in connection Doomed', Message);
end;

procedure TTestCallingOut.TestMethodFreesTheRootThatOwnsTheLink;
var
  Source: TPokeEdit;
  Link: TorvE2MConnection;
begin
  Source := NewEdit('Src');
  Link := TorvE2MConnection.Create(FRoot);
  Link.Source := Source;
  Link.Target := FRoot;
  Link.SourceEvent := 'OnChange';
  Link.TargetMethod := 'Free';
  AssertTrue('connects', Link.Connect);
  Source.Text := 'x';
  AssertTrue('root gone', FGone.IndexOf('Root') >= 0);
end;

procedure TTestCallingOut.TestInstanceChangeFreesTheRoot;
var
  A, B: TPokeEdit;
  Variable: TorvVariable;
  Store: TorvE2MConnection;
  Assign: TorvE2PConnection;
  Finish: TorvE2MConnection;
begin
  // A's change pokes B; B's change makes the variable hold A; the
  // variable's OnInstanceChange frees the root, while the first link's
  // call is still running.
  A := NewEdit('A');
  B := NewEdit('B');
  Variable := TorvVariable.Create(FRoot);
  Variable.Name := 'Held';
  Variable.ClassTypeName := 'TPokeEdit';
  Store := TorvE2MConnection.Create(FRoot);
  Store.Source := A;
  Store.Target := B;
  Store.SourceEvent := 'OnChange';
  Store.TargetMethod := 'Poke';
  Assign := TorvE2PConnection.Create(FRoot);
  Assign.Source := B;
  Assign.SourceEvent := 'OnChange';
  Assign.Target := Variable;
  Assign.TargetProperty := 'Self';
  Assign.ValueComponent := A;
  Assign.ValueComponentProperty := 'Self';
  Assign.ValueOptions := voComponentProperty;
  Finish := TorvE2MConnection.Create(FRoot);
  Finish.Source := Variable;
  Finish.SourceEvent := 'OnInstanceChange';
  Finish.Target := FRoot;
  Finish.TargetMethod := 'Free';
  AssertTrue('store connects', Store.Connect);
  AssertTrue('assign connects', Assign.Connect);
  AssertTrue('finish connects', Finish.Connect);
  A.Text := 'x';
  AssertTrue('root gone', FGone.IndexOf('Root') >= 0);
end;

procedure TTestCallingOut.TestFaultInsideTransferPassesUnchanged;
var
  Source, Target: TPokeEdit;
  Link: TorvP2PConnection;

  function Outcome(AFault: ExceptClass): string;
  begin
    Target.Fault := AFault;
    Result := '';
    try
      Source.Text := Source.Text + 'x';
    except
      on E: Exception do
        Result := E.ClassName + ': ' + E.Message;
    end;
  end;

begin
  Source := NewEdit('Src');
  Target := NewEdit('Dst');
  Link := TorvP2PConnection.Create(FRoot);
  Link.Name := 'Faulty';
  Link.Source := Source;
  Link.Target := Target;
  Link.SourceProperty := 'Number';
  Link.TargetProperty := 'Faulty';
  Link.SourceEvent := 'OnChange';
  AssertTrue('connects', Link.Connect);
  AssertEquals('EAccessViolation: fault in setter', Outcome(EAccessViolation));
  AssertEquals('EPrivilege: fault in setter', Outcome(EPrivilege));
  AssertEquals('Exception: Exception "fault in setter" occured in connection Faulty',
    Outcome(EConvertError));
  AssertEquals('after the faults the link transfers again', '', Outcome(nil));
end;

type
  { Reaches the list's Loaded, which connects its links. }
  TListAccess = class(TorvConnectionList);

procedure TTestCallingOut.TestFirstCopyFreesWhatHoldsTheLinks;
const
  Victims: array[0..2] of string = ('First', 'List', 'Root');
var
  Victim: string;
  Source, Target: TPokeEdit;
  List: TorvConnectionList;
  I: Integer;

  function Copier(const AName: string): TorvP2PConnection;
  begin
    Result := TorvP2PConnection.Create(FRoot);
    Result.Name := AName;
    Result.FreeNotification(FWatcher);
    Result.Source := Source;
    Result.Target := Target;
    Result.SourceProperty := 'Text';
    Result.TargetProperty := 'Text';
    Result.SetConnectionList(List);
  end;

begin
  for Victim in Victims do
  begin
    if FGone.IndexOf('Root') >= 0 then
    begin
      FRoot := TComponent.Create(nil);
      FRoot.Name := 'Root';
      FRoot.FreeNotification(FWatcher);
    end;
    FGone.Clear;
    Source := NewEdit('Src');
    Source.Text := 'copied';
    Target := NewEdit('Dst');
    // The first link's first copy changes the target, whose handler frees
    // the victim while the list is still connecting its links.
    Target.OnChange := @KillVictim;
    List := NewList;
    Copier('First');
    Copier('Second');
    FVictim := FRoot.FindComponent(Victim);
    if Victim = 'Root' then
      FVictim := FRoot;
    TListAccess(List).Loaded;
    AssertTrue(Victim + ' gone', FGone.IndexOf(Victim) >= 0);
    if FGone.IndexOf('Root') < 0 then
    begin
      for I := FRoot.ComponentCount - 1 downto 0 do
        FRoot.Components[I].Free;
    end;
  end;
end;

procedure TTestCallingOut.TestHeldObjectsMethodFreesTheVariable;
var
  Held: TPokeEdit;
  Variable: TorvVariable;
  Info: TorvClassInfo;
  Method: TorvMethodInfo;
begin
  Held := NewEdit('Held');
  // The held edit's own handler frees the variable while the variable's
  // class info is invoking the edit's method, which then hands back its
  // result and its var parameter.
  Held.OnValidate := @KillVictimValidate;
  Variable := TorvVariable.Create(FRoot);
  Variable.Name := 'Var';
  Variable.FreeNotification(FWatcher);
  Variable.ClassTypeName := 'TPokeEdit';
  Info := InfoOf(Variable);
  Info.SetProperty(Info.FindProperty('Self'), PtrInt(Held));
  FVictim := Variable;
  Method := Info.FindMethod('Validate');
  Method.GetArgs(0).Value := 'text';
  // Not held here: the variable must keep itself for the rest of the call.
  Info.InvokeMethod(Method);
  AssertTrue('variable gone', FGone.IndexOf('Var') >= 0);
end;

{ TTestReentry }

function TTestReentry.E2M(const AName: string; ASource, ATarget: TComponent;
  const AMethod: string): TorvE2MConnection;
begin
  Result := TorvE2MConnection.Create(FRoot);
  Result.Name := AName;
  Result.Source := ASource;
  Result.Target := ATarget;
  Result.SourceEvent := 'OnChange';
  Result.TargetMethod := AMethod;
  AssertTrue(AName + ' connects', Result.Connect);
end;

function TTestReentry.E2P(const AName: string; ASource, ATarget: TComponent;
  const AProp: string): TorvE2PConnection;
begin
  Result := TorvE2PConnection.Create(FRoot);
  Result.Name := AName;
  Result.Source := ASource;
  Result.Target := ATarget;
  Result.SourceEvent := 'OnChange';
  Result.TargetProperty := AProp;
  Result.ValueConstant := '1';
  AssertTrue(AName + ' connects', Result.Connect);
end;

function TTestReentry.LoopError(ASource: TPokeEdit): string;
var
  Attempt: Integer;
  Text: string;
begin
  Result := '';
  for Attempt := 1 to 2 do
  begin
    Text := '';
    try
      ASource.Text := ASource.Text + 'x';
    except
      on E: Exception do
        Text := E.Message;
    end;
    AssertTrue('the loop was stopped, attempt ' + IntToStr(Attempt),
      Pos(Format('re-entered itself %d times', [MaxReentry]), Text) > 0);
    if Attempt = 1 then
      Result := Text
    else
      AssertEquals('the second attempt meets the same limit', Result, Text);
  end;
end;

procedure TTestReentry.TestMethodChangingItsSource;
var
  A: TPokeEdit;
begin
  A := NewEdit('A');
  E2M('Poker', A, A, 'Poke');
  AssertEquals('connection Poker (A.OnChange -> A.Poke) re-entered itself 64 times and was ' +
    'stopped: connection Poker (A.OnChange -> A.Poke) -> connection Poker (A.OnChange -> A.Poke)',
    LoopError(A));
  // Each attempt: the first change of Text, then 64 pokes that each fire.
  AssertEquals('pokes before the stop', 2 * MaxReentry, A.Number);
end;

procedure TTestReentry.TestTwoEventToPropertyLinks;
var
  A, B: TPokeEdit;
  Message: string;
begin
  A := NewEdit('A');
  B := NewEdit('B');
  E2P('AtoB', A, B, 'Always');
  E2P('BtoA', B, A, 'Always');
  Message := LoopError(A);
  AssertTrue(Message, Pos('connection AtoB (A.OnChange -> B.Always) -> ' +
    'connection BtoA (B.OnChange -> A.Always) -> connection AtoB', Message) > 0);
end;

procedure TTestReentry.TestTwoEventToMethodLinks;
var
  A, B: TPokeEdit;
  Message: string;
begin
  A := NewEdit('A');
  B := NewEdit('B');
  E2M('AtoB', A, B, 'Poke');
  E2M('BtoA', B, A, 'Poke');
  Message := LoopError(A);
  AssertTrue(Message, Pos('connection AtoB (A.OnChange -> B.Poke) -> ' +
    'connection BtoA (B.OnChange -> A.Poke) -> connection AtoB', Message) > 0);
end;

procedure TTestReentry.TestSetterFiringItsOwnEvent;
var
  A: TPokeEdit;
begin
  A := NewEdit('A');
  E2P('Echo', A, A, 'Always');
  AssertTrue(Pos('connection Echo (A.OnChange -> A.Always)', LoopError(A)) = 1);
end;

procedure TTestReentry.TestEchoIsStillDropped;
var
  A, B: TPokeEdit;
  Link: TorvP2PConnection;
begin
  A := NewEdit('A');
  B := NewEdit('B');
  Link := TorvP2PConnection.Create(FRoot);
  Link.Source := A;
  Link.Target := B;
  Link.SourceProperty := 'Always';
  Link.TargetProperty := 'Always';
  Link.SourceEvent := 'OnChange';
  Link.TargetEvent := 'OnChange';
  AssertTrue('connects', Link.Connect);
  A.Always := 7;
  AssertEquals('copied', 7, B.Number);
  B.Always := 9;
  AssertEquals('copied back', 9, A.Number);
end;

procedure TTestReentry.PokeHeld(Sender: TObject; Event: TorvEventInfo);
begin
  FPoked.Poke;
end;

procedure TTestReentry.TestForwardingThroughAVariable;
var
  Variable: TorvVariable;
  Info: TorvClassInfo;
  Listener: TorvListener;
  Message: string;
begin
  FPoked := NewEdit('A');
  Variable := TorvVariable.Create(FRoot);
  Variable.Name := 'Held';
  Variable.ClassTypeName := 'TPokeEdit';
  Info := InfoOf(Variable);
  Info.SetProperty(Info.FindProperty('Self'), PtrInt(FPoked));
  Listener := TorvListener.Create;
  try
    Listener.EventName := 'OnChange';
    Listener.OnEvent := @PokeHeld;
    Info.AddListener(Listener);
    Message := LoopError(FPoked);
    AssertEquals('variable Held re-entered itself 64 times and was stopped: variable Held -> ' +
      'variable Held', Message);
  finally
    Listener.Free;
  end;
end;

{ TTestMisuse }

function TTestMisuse.Invoke(const AHost, AClassName, AMethod: string; AIndex: Integer;
  const AEmpty: Variant): string;
var
  Stream: TMemoryStream;
  Host: TObject;
  Info: TorvClassInfo;
  Method: TorvMethodInfo;
  I: Integer;
begin
  // Answers '' when the call was refused with the expected message.
  Stream := TMemoryStream.Create;
  Info := nil;
  case AHost of
    'TComponent': Host := TComponent.Create(nil);
    'TBasicAction': Host := TBasicAction.Create(nil);
    'TStringList': Host := TStringList.Create;
    'TMemoryStream': Host := TMemoryStream.Create;
    'TReader': Host := TReader.Create(Stream, 256);
  else
    Host := TWriter.Create(Stream, 256);
  end;
  try
    Info := TorvClassRegistry.FindClass(AHost).Create;
    Info.InitMetaData;
    Info.SetOwner(Host);
    Method := Info.FindMethod(AMethod);
    if Method = nil then
      Exit('no such method');
    // The other arguments may be empty (an ancestor) or are numbers and
    // names that take 0; an address that is not an object would be read by
    // the checked casts of the test build.
    for I := 0 to Method.GetArgCount - 1 do
      Method.GetArgs(I).Value := 0;
    Method.GetArgs(AIndex).Value := AEmpty;
    Result := 'not refused';
    try
      Info.InvokeMethod(Method);
    except
      on E: Exception do
        if E.Message = Format('%s.%s cannot take an empty %s!', [AClassName, AMethod,
          Method.GetArgs(AIndex).Name]) then
          Result := ''
        else
          Result := E.ClassName + ': ' + E.Message;
    end;
  finally
    if Info <> nil then
      Info.SetOwner(nil);
    Info.Free;
    Host.Free;
    Stream.Free;
  end;
end;

procedure TTestMisuse.TestEmptyArgumentsAreRefused;
const
  // Host to make, class named in the message, method, argument position.
  Cases: array[0..24, 0..3] of string = (
    ('TComponent', 'TObject', 'GetInterface', '0'),
    ('TComponent', 'TObject', 'GetInterfaceEntry', '0'),
    ('TComponent', 'TObject', 'Dispatch', '0'),
    ('TComponent', 'TObject', 'DefaultHandler', '0'),
    ('TComponent', 'TComponent', 'ExecuteAction', '0'),
    ('TComponent', 'TComponent', 'UpdateAction', '0'),
    ('TComponent', 'TComponent', 'FreeNotification', '0'),
    ('TComponent', 'TComponent', 'RemoveFreeNotification', '0'),
    ('TComponent', 'TComponent', 'InsertComponent', '0'),
    ('TComponent', 'TComponent', 'RemoveComponent', '0'),
    ('TStringList', 'TStrings', 'AddStrings', '0'),
    ('TStringList', 'TStrings', 'Equals', '0'),
    ('TStringList', 'TStrings', 'LoadFromStream', '0'),
    ('TMemoryStream', 'TStream', 'CopyFrom', '0'),
    ('TMemoryStream', 'TStream', 'WriteComponent', '0'),
    ('TMemoryStream', 'TStream', 'WriteComponentRes', '1'),
    ('TMemoryStream', 'TStream', 'WriteDescendent', '0'),
    ('TMemoryStream', 'TStream', 'WriteDescendentRes', '1'),
    ('TMemoryStream', 'TMemoryStream', 'LoadFromStream', '0'),
    ('TReader', 'TReader', 'ReadCollection', '0'),
    ('TWriter', 'TWriter', 'WriteComponent', '0'),
    ('TWriter', 'TWriter', 'WriteDescendent', '0'),
    ('TWriter', 'TWriter', 'WriteRootComponent', '0'),
    ('TBasicAction', 'TBasicAction', 'RegisterChanges', '0'),
    ('TBasicAction', 'TComponent', 'ExecuteAction', '0'));
var
  I, J: Integer;
  Empties: array[0..2] of Variant;
  Failures: string;
  Got: string;
begin
  Empties[0] := 0;
  Empties[1] := Unassigned;
  Empties[2] := '';
  Failures := '';
  for I := 0 to High(Cases) do
    for J := 0 to High(Empties) do
    begin
      Got := Invoke(Cases[I, 0], Cases[I, 1], Cases[I, 2], StrToInt(Cases[I, 3]), Empties[J]);
      if Got <> '' then
        Failures := Failures + Format('%s.%s with %s: "%s"' + LineEnding,
          [Cases[I, 0], Cases[I, 2], VarTypeAsText(VarType(Empties[J])), Got]);
    end;
  AssertEquals(Failures, '', Failures);
end;

var
  NotAnObject: array[0..3] of PtrInt = (0, 0, 0, 0);

function TTestMisuse.WriteSelf(AVariable: TorvVariable; AAddress: PtrInt): string;
var
  Info: TorvClassInfo;
begin
  Info := InfoOf(AVariable);
  Result := '';
  try
    Info.SetProperty(Info.FindProperty('Self'), AAddress);
  except
    on E: Exception do
      Result := E.Message;
  end;
end;

procedure TTestMisuse.TestVariableRefusesAddressesWithoutObject;
var
  Variable: TorvVariable;
  Held, Freed: TPokeEdit;
  Address: PtrInt;
  Addresses: array of PtrInt;
  I: Integer;
begin
  Held := NewEdit('Held');
  Variable := TorvVariable.Create(FRoot);
  Variable.ClassTypeName := 'TPokeEdit';
  AssertEquals('a live object is taken', '', WriteSelf(Variable, PtrInt(Held)));
  SetLength(Addresses, 6);
  Addresses[0] := 12345;
  Addresses[1] := -1;
  Addresses[2] := 4096;
  Addresses[3] := PtrInt(@NotAnObject[0]);
  Addresses[4] := PtrInt(@NotAnObject[1]) + 1;
  // A memory checker reports the look at a freed block itself, harmless as
  // it is; the freed object is tried on the test heap only.
  Addresses[5] := 0;
  {$IFNDEF ORV_VALGRIND}
  Freed := NewEdit('Freed');
  Addresses[5] := PtrInt(Freed);
  Freed.Free;
  {$ENDIF}
  for I := 0 to High(Addresses) do
  begin
    Address := Addresses[I];
    if Address = 0 then
      Continue;
    AssertEquals(IntToStr(Address), Format('The variable cannot hold address %d: there is no ' +
      'live object of class TPokeEdit there!', [Address]), WriteSelf(Variable, Address));
    AssertEquals('the held object stays', PtrInt(Held),
      PtrInt(TorvVariableClassInfo(InfoOf(Variable)).Instance));
  end;
  AssertEquals('letting go is still allowed', '', WriteSelf(Variable, 0));
end;

procedure TTestMisuse.TestClassInfoGivenAnotherOwner;
var
  A, B: TPokeEdit;
  First, Again: TorvClassInfo;
  NewOwners: array[0..1] of TComponent;
  NewOwner: TComponent;
  I: Integer;
begin
  NewOwners[0] := nil;
  NewOwners[1] := NewEdit('B');
  for I := 0 to High(NewOwners) do
  begin
    NewOwner := NewOwners[I];
    A := NewEdit('A');
    First := InfoOf(A);
    First.SetOwner(NewOwner);
    Again := InfoOf(A);
    AssertTrue('a fresh class info', First <> Again);
    AssertSame('owned by the object asked for', A, Again.Owner);
    AssertSame('the same one while it keeps its owner', Again, InfoOf(A));
    A.Text := 'events still reach the fresh class info';
    A.Free;
  end;
  B := TPokeEdit(FRoot.FindComponent('B'));
  B.Text := 'the stray still acts on B until B goes';
  B.Free;
end;

procedure TTestMisuse.TestClassInfoGivenAnOwnerThatGoesFirst;
var
  A, B: TPokeEdit;
  Stray: TorvClassInfo;
begin
  A := NewEdit('A');
  B := NewEdit('B');
  Stray := InfoOf(A);
  InfoOf(B);
  Stray.SetOwner(B);
  // B goes first: the stray lets go of it and is freed with it.
  B.Free;
  A.Text := 'A still fires through its own fresh class info';
  AssertSame(A, InfoOf(A).Owner);
end;

procedure TTestMisuse.TestStraysGoEachWithTheirOwnComponents;
var
  A, B, C, D, E, F: TPokeEdit;
  FromA, FromC, FromE: TorvClassInfo;
begin
  A := NewEdit('A');
  B := NewEdit('B');
  C := NewEdit('C');
  D := NewEdit('D');
  E := NewEdit('E');
  F := NewEdit('F');
  FromA := InfoOf(A);
  FromC := InfoOf(C);
  FromE := InfoOf(E);
  FromA.SetOwner(B);
  FromC.SetOwner(D);
  FromE.SetOwner(F);
  FromA.SetOwner(A);
  // Each stray goes with the component it was made for, whichever of them
  // goes first, and gives its owner now the handler it found there.
  C.Free;
  AssertFalse('D has its own handler back', Assigned(D.OnChange));
  AssertTrue('F is still hooked', Assigned(F.OnChange));
  E.Free;
  AssertFalse('F has its own handler back', Assigned(F.OnChange));
  A.Text := 'A fires through FromA until A goes';
  A.Free;
  B.Text := 'B was let go before';
  AssertSame('B gets a class info of its own', B, InfoOf(B).Owner);
end;

initialization
  RegisterClass(TPokeEdit);
  RegisterBinding('TPokeEdit', TPokeEditClassInfo, PokeEditDescriptors);
  RegisterTest('Robustness', TTestDestructionOrder);
  RegisterTest('Robustness', TTestCallingOut);
  RegisterTest('Robustness', TTestReentry);
  RegisterTest('Robustness', TTestMisuse);
end.
