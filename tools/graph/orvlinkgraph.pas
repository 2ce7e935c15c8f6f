{ The links of text form files as a graph, read without creating the form,
  its components or its links: which component each link listens to and
  which one it writes or calls, what can feed back into itself, what is
  written twice, and what never fires; drawn in Graphviz DOT.

  The rule for feedback, kept simple because nothing here knows the classes:
  a link fires on (component, event) and writes (component, property) or
  calls (component, method). Calling a method of C may fire every event of
  C. Writing a property of C may fire every event of C except those that
  only a user's action or a method call raises (OnClick, OnDblClick,
  OnExecute, OnKey..., OnMouse..., OnEnter, OnExit, OnDrag..., OnTimer);
  writing Checked or State still fires OnClick, as check boxes and radio
  buttons click when their state is set in code. A chain of such steps that
  comes back to where it started is a loop, except when every step belongs
  to one property-to-property link: that link sets its updating flag while
  it copies, so the copy's own echo (both ways, or back onto its source) is
  dropped. That flag also ends, after one round, a loop that has a P2P link
  in it; a loop of event links only runs until the call guard's re-entry
  limit stops it. Both are loops: values bounce and handlers run again.
  A method parameter taken from a property is written back after
  the call, but only a var parameter changes it, which cannot be seen
  without the classes: it is drawn as read, not counted as a write. }
unit Orvlinkgraph;

{$I orvdefines.inc}

interface

uses
  Classes, SysUtils, Contnrs;

type
  { What an analysis found, over all files added. }
  TorvGraphCounts = record
    Links, Loops, Conflicts, Notes: Integer;
  end;

  { TorvLinkGraph }

  { The links of one or more form files with what follows from them. Each
    file is a scope of its own: components of different files are
    different components even when their names are alike. }
  TorvLinkGraph = class
  private
    FFiles: TFPObjectList;
    FReport: TStringList;
    FCounts: TorvGraphCounts;
    FAnalysed: Boolean;
    procedure Analyse;
    function GetReport: TStrings;
    function GetCounts: TorvGraphCounts;
  public
    constructor Create;
    destructor Destroy; override;
    { Add the links of the form file text AText; AFileName names it in the
      report and the drawing. Raise EorvFormFileError when the text is not a
      form file; nothing is added then. }
    procedure AddFormText(const AText, AFileName: string);
    { Read AFileName and add it as AddFormText does; a file that cannot be
      read raises EorvFormFileError too. }
    procedure AddFormFile(const AFileName: string);
    { Append the drawing in DOT to ADot: one node per component a link names,
      one edge per link, a dashed edge from each component a link reads. }
    procedure WriteDot(ADot: TStrings);
    { One line per finding, each beginning with its file name and then
      "loop:", "conflict:" or "note:". }
    property Report: TStrings read GetReport;
    property Counts: TorvGraphCounts read GetCounts;
  end;

{ The last line of a report: "N links: L loops, C conflicts, K notes". }
function SummaryLine(const ACounts: TorvGraphCounts): string;

implementation

uses
  Orvlfm;

resourcestring
  rsCannotReadFile = '%s: cannot be read: %s';
  rsLoop = '%s: loop: %s (%s)';
  rsLoopAlso = '; also in this loop: %s';
  rsLoopEnds = '; it ends after one round, as a P2P link drops what comes back while it copies (%s)';
  rsLoopRuns = '; no P2P link in it drops what comes back: it runs until the re-entry limit stops it with an error';
  rsWriteFires = '%s.%s fires %s.%s';
  rsCallFires = '%s.%s() fires %s.%s';
  rsConflict = '%s: conflict: %s.%s is written by %s';
  rsCopiesOnce = '%s: note: %s copies once, at connect (no SourceEvent, no TargetEvent)';
  rsNeverFires = '%s: note: %s never fires (no SourceEvent)';
  rsNotInList = '%s: note: %s is not in a connection list: it is never connected';
  rsSummary = '%d links: %d loops, %d conflicts, %d notes';
  rsBackName = '%s (back)';
  rsCopiesOnceLabel = 'copies once';
  rsNeverFiresLabel = 'never fires';
  rsReadsLabel = '%s reads %s';

type
  TLinkKind = (lkP2P, lkE2P, lkE2M);

  { A component and property a link takes a value from. }
  TGraphRead = record
    Component, PropName: string;
  end;

  { One link with the names it was written with. }
  TGraphLink = record
    Name: string;
    Kind: TLinkKind;
    Source, Target: string;
    SourceProperty, SourceEvent, TargetProperty, TargetEvent, TargetMethod: string;
    Reads: array of TGraphRead;
    { Written as "inherited": what the ancestor form sets is not seen. }
    FromAncestor: Boolean;
    InLoop, InConflict: Boolean;
  end;

  { What a link does when the event it listens to fires: a P2P link that
    copies both ways has two, the second one Back. OnEvent is empty when
    nothing fires it. Link indexes the file's links. }
  TFiring = record
    Link: Integer;
    Back: Boolean;
    OnComponent, OnEvent: string;
    Component, Feature: string;
    IsCall: Boolean;
  end;

  TIntArray = array of Integer;

  { TGraphFile }

  { The links of one form file, what they fire and do, and what that makes. }
  TGraphFile = class
  private
    FFileName: string;
    FClassNames: TStringList;
    FLinks: array of TGraphLink;
    FUnlisted: TStringList;
    FFirings: array of TFiring;
    FEdges: array of TIntArray;
    procedure Walk(AObject: TorvFormObject);
    procedure AddLink(AObject: TorvFormObject; AKind: TLinkKind);
    procedure AddFiring(ALink: Integer; ABack: Boolean; const AOnComponent, AOnEvent, AComponent,
      AFeature: string; AIsCall: Boolean);
    procedure BuildFirings;
    procedure BuildEdges;
    function FiringName(AFiring: Integer): string;
    function ShortestCycle(const APart: TIntArray; AStart: Integer; AOtherLink: Boolean): TIntArray;
    function CycleText(const ACycle: TIntArray; out ASteps: string): string;
    function EndingText(const ACycle: TIntArray): string;
    function ReportPart(const APart: TIntArray; AFirst: Integer; AReport: TStrings): Boolean;
    function FindLoops(AReport: TStrings): Integer;
    function FindConflicts(AReport: TStrings): Integer;
    function FindNotes(AReport: TStrings): Integer;
    procedure AddNode(AFileIndex: Integer; const AComponent: string; ASeen, ADot: TStrings);
  public
    { Read the links of the form whose root is ARoot. }
    constructor Create(const AFileName: string; ARoot: TorvFormObject);
    destructor Destroy; override;
    { The links in connection lists and those outside any. }
    function LinkCount: Integer;
    { Append the findings to AReport and count them in ACounts. }
    procedure Analyse(AReport: TStrings; var ACounts: TorvGraphCounts);
    { Append the file's cluster of the drawing; AFileIndex keeps node names
      apart from those of other files. }
    procedure WriteDot(AFileIndex: Integer; ADot: TStrings);
  end;

  { TPartsFinder }

  { Strongly connected parts of a graph (Tarjan): Part[V] is the number of
    V's part. }
  TPartsFinder = class
  private
    FEdges: array of TIntArray;
    FIndex, FLow, FStack, FPart: TIntArray;
    FOnStack: array of Boolean;
    FCounter, FTop, FParts: Integer;
    procedure Visit(V: Integer);
  public
    procedure Run(const AEdges: array of TIntArray);
    property Part: TIntArray read FPart;
  end;

const
  LinkClassNames: array[TLinkKind] of string =
    ('TorvP2PConnection', 'TorvE2PConnection', 'TorvE2MConnection');
  LinkKindLabels: array[TLinkKind] of string = ('P2P', 'E2P', 'E2M');
  ListClassName = 'TorvConnectionList';
  { Events that a user's action or a method call raises, not a property
    being set; the prefixes cover their families. }
  ActionEvents: array[0..4] of string = ('OnClick', 'OnDblClick', 'OnExecute', 'OnEnter', 'OnExit');
  ActionEventPrefixes: array[0..3] of string = ('OnKey', 'OnMouse', 'OnDrag', 'OnTimer');
  ClickingProperties: array[0..1] of string = ('Checked', 'State');

{ Links }

function TwoWay(const ALink: TGraphLink): Boolean;
begin
  Result := (ALink.Kind = lkP2P) and (ALink.TargetEvent <> '');
end;

function Contains(const AList: array of Integer; AValue: Integer): Boolean;
var
  I: Integer;
begin
  for I := 0 to High(AList) do
    if AList[I] = AValue then
      Exit(True);
  Result := False;
end;

{ Answer whether ALink never acts after connect. }
function Silent(const ALink: TGraphLink): Boolean;
begin
  Result := (ALink.SourceEvent = '') and not TwoWay(ALink);
end;

function LinkKindOf(AObject: TorvFormObject; out AKind: TLinkKind): Boolean;
var
  Kind: TLinkKind;
begin
  for Kind := Low(TLinkKind) to High(TLinkKind) do
    if SameText(AObject.TypeName, LinkClassNames[Kind]) then
    begin
      AKind := Kind;
      Exit(True);
    end;
  AKind := lkP2P;
  Result := False;
end;

{ Return the text of a name or a component reference; empty when it is not
  written or is nil. }
function TextOf(AProps: TorvFormProperties; const AName: string): string;
var
  Value: TorvFormValue;
begin
  Value := AProps.Value(AName);
  if (Value = nil) or not (Value.Kind in [fvString, fvIdent, fvNumber]) then
    Exit('');
  Result := Value.Text;
  if (Value.Kind = fvIdent) and SameText(Result, 'nil') then
    Result := '';
end;

procedure AddRead(var ALink: TGraphLink; AProps: TorvFormProperties;
  const AComponent, AProperty: string);
var
  N: Integer;
begin
  if TextOf(AProps, AComponent) = '' then
    Exit;
  N := Length(ALink.Reads);
  SetLength(ALink.Reads, N + 1);
  ALink.Reads[N].Component := TextOf(AProps, AComponent);
  ALink.Reads[N].PropName := TextOf(AProps, AProperty);
end;

{ The rule of feedback }

function IsActionEvent(const AEvent: string): Boolean;
var
  I: Integer;
begin
  for I := 0 to High(ActionEvents) do
    if AEvent = ActionEvents[I] then
      Exit(True);
  for I := 0 to High(ActionEventPrefixes) do
    if Copy(AEvent, 1, Length(ActionEventPrefixes[I])) = ActionEventPrefixes[I] then
      Exit(True);
  Result := False;
end;

function IsClickingProperty(const AProperty: string): Boolean;
var
  I: Integer;
begin
  for I := 0 to High(ClickingProperties) do
    if AProperty = ClickingProperties[I] then
      Exit(True);
  Result := False;
end;

{ Answer whether what AFiring does to its component may fire that
  component's event AEvent. }
function MayFire(const AFiring: TFiring; const AEvent: string): Boolean;
begin
  Result := AFiring.IsCall or not IsActionEvent(AEvent) or
    ((AEvent = 'OnClick') and IsClickingProperty(AFiring.Feature));
end;

{ TPartsFinder }

procedure TPartsFinder.Visit(V: Integer);
var
  I, W: Integer;
begin
  FIndex[V] := FCounter;
  FLow[V] := FCounter;
  Inc(FCounter);
  FStack[FTop] := V;
  Inc(FTop);
  FOnStack[V] := True;
  for I := 0 to High(FEdges[V]) do
  begin
    W := FEdges[V][I];
    if FIndex[W] < 0 then
    begin
      Visit(W);
      if FLow[W] < FLow[V] then
        FLow[V] := FLow[W];
    end
    else if FOnStack[W] and (FIndex[W] < FLow[V]) then
      FLow[V] := FIndex[W];
  end;
  if FLow[V] <> FIndex[V] then
    Exit;
  repeat
    Dec(FTop);
    W := FStack[FTop];
    FOnStack[W] := False;
    FPart[W] := FParts;
  until W = V;
  Inc(FParts);
end;

procedure TPartsFinder.Run(const AEdges: array of TIntArray);
var
  N, V: Integer;
begin
  N := Length(AEdges);
  SetLength(FEdges, N);
  for V := 0 to N - 1 do
    FEdges[V] := AEdges[V];
  SetLength(FIndex, N);
  SetLength(FLow, N);
  SetLength(FStack, N);
  SetLength(FOnStack, N);
  SetLength(FPart, N);
  for V := 0 to N - 1 do
  begin
    FIndex[V] := -1;
    FOnStack[V] := False;
  end;
  FCounter := 0;
  FTop := 0;
  FParts := 0;
  for V := 0 to N - 1 do
    if FIndex[V] < 0 then
      Visit(V);
end;

{ TGraphFile }

constructor TGraphFile.Create(const AFileName: string; ARoot: TorvFormObject);
begin
  inherited Create;
  FFileName := AFileName;
  FClassNames := TStringList.Create;
  FClassNames.CaseSensitive := False;
  FUnlisted := TStringList.Create;
  if ARoot.Name <> '' then
    FClassNames.Add(ARoot.Name + '=' + ARoot.TypeName);
  Walk(ARoot);
end;

destructor TGraphFile.Destroy;
begin
  FUnlisted.Free;
  FClassNames.Free;
  inherited Destroy;
end;

function TGraphFile.LinkCount: Integer;
begin
  Result := Length(FLinks) + FUnlisted.Count;
end;

procedure TGraphFile.AddLink(AObject: TorvFormObject; AKind: TLinkKind);
var
  Props: TorvFormProperties;
  Items: TorvFormValue;
  I, N: Integer;
begin
  Props := AObject.Properties;
  N := Length(FLinks);
  SetLength(FLinks, N + 1);
  FLinks[N].Name := AObject.Name;
  FLinks[N].Kind := AKind;
  FLinks[N].FromAncestor := AObject.Kind = foInherited;
  FLinks[N].Source := TextOf(Props, 'Source');
  FLinks[N].Target := TextOf(Props, 'Target');
  FLinks[N].SourceProperty := TextOf(Props, 'SourceProperty');
  FLinks[N].SourceEvent := TextOf(Props, 'SourceEvent');
  FLinks[N].TargetProperty := TextOf(Props, 'TargetProperty');
  FLinks[N].TargetEvent := TextOf(Props, 'TargetEvent');
  FLinks[N].TargetMethod := TextOf(Props, 'TargetMethod');
  AddRead(FLinks[N], Props, 'ValueComponent', 'ValueComponentProperty');
  Items := Props.Value('TargetMethodParameters');
  if (Items <> nil) and (Items.Kind = fvCollection) then
    for I := 0 to Items.ItemCount - 1 do
      AddRead(FLinks[N], Items.Items(I), 'Component', 'ComponentProperty');
end;

procedure TGraphFile.Walk(AObject: TorvFormObject);
var
  I: Integer;
  Child: TorvFormObject;
  Kind: TLinkKind;
begin
  for I := 0 to AObject.ChildCount - 1 do
  begin
    Child := AObject.Children(I);
    if (Child.Name <> '') and (FClassNames.IndexOfName(Child.Name) < 0) then
      FClassNames.Add(Child.Name + '=' + Child.TypeName);
    if LinkKindOf(Child, Kind) then
    begin
      // Only a connection list connects its links.
      if SameText(AObject.TypeName, ListClassName) then
        AddLink(Child, Kind)
      else
        FUnlisted.Add(Child.Name);
    end;
    Walk(Child);
  end;
end;

procedure TGraphFile.AddFiring(ALink: Integer; ABack: Boolean; const AOnComponent, AOnEvent,
  AComponent, AFeature: string; AIsCall: Boolean);
var
  N: Integer;
begin
  N := Length(FFirings);
  SetLength(FFirings, N + 1);
  FFirings[N].Link := ALink;
  FFirings[N].Back := ABack;
  FFirings[N].OnComponent := AOnComponent;
  FFirings[N].OnEvent := AOnEvent;
  FFirings[N].Component := AComponent;
  FFirings[N].Feature := AFeature;
  FFirings[N].IsCall := AIsCall;
end;

procedure TGraphFile.BuildFirings;
var
  I: Integer;
begin
  FFirings := nil;
  for I := 0 to High(FLinks) do
    case FLinks[I].Kind of
      lkP2P:
        begin
          AddFiring(I, False, FLinks[I].Source, FLinks[I].SourceEvent, FLinks[I].Target,
            FLinks[I].TargetProperty, False);
          if TwoWay(FLinks[I]) then
            AddFiring(I, True, FLinks[I].Target, FLinks[I].TargetEvent, FLinks[I].Source,
              FLinks[I].SourceProperty, False);
        end;
      lkE2P:
        AddFiring(I, False, FLinks[I].Source, FLinks[I].SourceEvent, FLinks[I].Target,
          FLinks[I].TargetProperty, False);
      lkE2M:
        AddFiring(I, False, FLinks[I].Source, FLinks[I].SourceEvent, FLinks[I].Target,
          FLinks[I].TargetMethod, True);
    end;
end;

procedure TGraphFile.BuildEdges;
var
  I, J: Integer;
begin
  SetLength(FEdges, Length(FFirings));
  for I := 0 to High(FFirings) do
  begin
    FEdges[I] := nil;
    for J := 0 to High(FFirings) do
      if (FFirings[J].OnEvent <> '') and (FFirings[I].Component <> '') and
        SameText(FFirings[I].Component, FFirings[J].OnComponent) and
        MayFire(FFirings[I], FFirings[J].OnEvent) then
        Insert(J, FEdges[I], Length(FEdges[I]));
  end;
end;

function TGraphFile.FiringName(AFiring: Integer): string;
begin
  Result := FLinks[FFirings[AFiring].Link].Name;
  if FFirings[AFiring].Back then
    Result := Format(rsBackName, [Result]);
end;

{ Return the shortest cycle from AStart back to it inside part APart, one
  that passes through another link than AStart's when AOtherLink is set:
  a search over (firing, other link seen yet) pairs. }
function TGraphFile.ShortestCycle(const APart: TIntArray; AStart: Integer;
  AOtherLink: Boolean): TIntArray;
var
  Prev: TIntArray = nil;
  Queue: TIntArray = nil;
  Head, Tail, State, Node, Next, NextState, I, Found: Integer;
  Seen: Boolean;
begin
  SetLength(Prev, 2 * Length(FFirings));
  for I := 0 to High(Prev) do
    Prev[I] := -2;
  SetLength(Queue, Length(Prev));
  State := 2 * AStart + Ord(not AOtherLink);
  Prev[State] := -1;
  Queue[0] := State;
  Head := 0;
  Tail := 1;
  Found := -1;
  while (Head < Tail) and (Found < 0) do
  begin
    State := Queue[Head];
    Inc(Head);
    Node := State div 2;
    for I := 0 to High(FEdges[Node]) do
    begin
      Next := FEdges[Node][I];
      if APart[Next] <> APart[AStart] then
        Continue;
      Seen := Odd(State) or (FFirings[Next].Link <> FFirings[AStart].Link);
      if (Next = AStart) and Seen then
      begin
        Found := State;
        Break;
      end;
      NextState := 2 * Next + Ord(Seen);
      if Prev[NextState] = -2 then
      begin
        Prev[NextState] := State;
        Queue[Tail] := NextState;
        Inc(Tail);
      end;
    end;
  end;
  Result := nil;
  State := Found;
  while State >= 0 do
  begin
    Insert(State div 2, Result, 0);
    State := Prev[State];
  end;
end;

function TGraphFile.CycleText(const ACycle: TIntArray; out ASteps: string): string;
var
  I: Integer;
  From, Next: TFiring;
begin
  Result := '';
  ASteps := '';
  for I := 0 to High(ACycle) do
  begin
    From := FFirings[ACycle[I]];
    Next := FFirings[ACycle[(I + 1) mod Length(ACycle)]];
    Result := Result + FiringName(ACycle[I]) + ' -> ';
    if I > 0 then
      ASteps := ASteps + '; ';
    if From.IsCall then
      ASteps := ASteps + Format(rsCallFires, [From.Component, From.Feature, Next.OnComponent, Next.OnEvent])
    else
      ASteps := ASteps + Format(rsWriteFires, [From.Component, From.Feature, Next.OnComponent, Next.OnEvent]);
  end;
  Result := Result + FiringName(ACycle[0]);
end;

{ Say how the loop ACycle ends: the first of its P2P links to fire again
  drops the values that come back, as its updating flag is still set; with
  none in it, the call guard's re-entry limit stops it. }
function TGraphFile.EndingText(const ACycle: TIntArray): string;
var
  Names: TStringList;
  I: Integer;
begin
  Names := TStringList.Create;
  try
    for I := 0 to High(ACycle) do
      // A two-way link may be on the way twice, once each way.
      if (FLinks[FFirings[ACycle[I]].Link].Kind = lkP2P) and
        (Names.IndexOf(FLinks[FFirings[ACycle[I]].Link].Name) < 0) then
        Names.Add(FLinks[FFirings[ACycle[I]].Link].Name);
    if Names.Count = 0 then
      Exit(rsLoopRuns);
    Names.StrictDelimiter := True;
    Names.Delimiter := ',';
    Result := Format(rsLoopEnds, [StringReplace(Names.DelimitedText, ',', ', ', [rfReplaceAll])]);
  finally
    Names.Free;
  end;
end;

{ Report the loop of part APart, whose first firing is AFirst, if it is one;
  answer whether it is. }
function TGraphFile.ReportPart(const APart: TIntArray; AFirst: Integer; AReport: TStrings): Boolean;
var
  Members: array of Integer = nil;
  Also: TStringList;
  Cycle: TIntArray;
  I: Integer;
  Line, Steps: string;
begin
  Also := TStringList.Create;
  try
    for I := AFirst to High(APart) do
      if APart[I] = APart[AFirst] then
      begin
        if not Contains(Members, FFirings[I].Link) then
          Insert(FFirings[I].Link, Members, Length(Members));
        Also.Add(FiringName(I));
      end;
    // One firing that does not feed itself is no cycle; a cycle within one
    // P2P link is its own echo, which its updating flag drops.
    Result := ((Also.Count > 1) or Contains(FEdges[AFirst], AFirst)) and
      ((Length(Members) > 1) or (FLinks[Members[0]].Kind <> lkP2P));
    if not Result then
      Exit;
    Cycle := ShortestCycle(APart, AFirst, Length(Members) > 1);
    Line := Format(rsLoop, [FFileName, CycleText(Cycle, Steps), Steps]) + EndingText(Cycle);
    for I := 0 to High(Cycle) do
      Also.Delete(Also.IndexOf(FiringName(Cycle[I])));
    if Also.Count > 0 then
    begin
      Also.StrictDelimiter := True;
      Also.Delimiter := ',';
      Line := Line + Format(rsLoopAlso, [StringReplace(Also.DelimitedText, ',', ', ', [rfReplaceAll])]);
    end;
    AReport.Add(Line);
    for I := 0 to High(Members) do
      FLinks[Members[I]].InLoop := True;
  finally
    Also.Free;
  end;
end;

function TGraphFile.FindLoops(AReport: TStrings): Integer;
var
  Finder: TPartsFinder;
  Done: array of Boolean = nil;
  I: Integer;
begin
  Result := 0;
  Finder := TPartsFinder.Create;
  try
    Finder.Run(FEdges);
    SetLength(Done, Length(FFirings));
    for I := 0 to High(Done) do
      Done[I] := False;
    // Parts in the order of their first firing, so reports follow the file.
    for I := 0 to High(Finder.Part) do
      if not Done[Finder.Part[I]] then
      begin
        Done[Finder.Part[I]] := True;
        if ReportPart(Finder.Part, I, AReport) then
          Inc(Result);
      end;
  finally
    Finder.Free;
  end;
end;

{ One property of one component written by two links. }
function TGraphFile.FindConflicts(AReport: TStrings): Integer;
var
  Writers: TStringList;
  Names: TStringList;
  I, K: Integer;
  Key: string;
begin
  Result := 0;
  Writers := TStringList.Create;
  Writers.OwnsObjects := True;
  Writers.CaseSensitive := True;
  try
    for I := 0 to High(FFirings) do
    begin
      // A firing that nothing fires still writes once when it is a P2P
      // link's copy at connect; a silent E2P link writes nothing.
      if FFirings[I].IsCall or (FFirings[I].Component = '') or (FFirings[I].Feature = '') or
        ((FFirings[I].OnEvent = '') and (FLinks[FFirings[I].Link].Kind <> lkP2P)) then
        Continue;
      // Component names ignore letter case, as the reader does; feature
      // names are compared exactly, as the links compare them.
      Key := LowerCase(FFirings[I].Component) + '.' + FFirings[I].Feature;
      K := Writers.IndexOf(Key);
      if K < 0 then
        K := Writers.AddObject(Key, TStringList.Create);
      Names := TStringList(Writers.Objects[K]);
      // The first two lines are the names as first written, then the writers.
      if Names.Count = 0 then
      begin
        Names.Add(FFirings[I].Component);
        Names.Add(FFirings[I].Feature);
      end;
      if Names.IndexOf(FLinks[FFirings[I].Link].Name) < 2 then
        Names.AddObject(FLinks[FFirings[I].Link].Name, TObject(PtrInt(FFirings[I].Link)));
    end;
    for K := 0 to Writers.Count - 1 do
    begin
      Names := TStringList(Writers.Objects[K]);
      if Names.Count < 4 then
        Continue;
      Inc(Result);
      Key := Names[2];
      for I := 3 to Names.Count - 1 do
        Key := Key + ', ' + Names[I];
      AReport.Add(Format(rsConflict, [FFileName, Names[0], Names[1], Key]));
      for I := 2 to Names.Count - 1 do
        FLinks[PtrInt(Names.Objects[I])].InConflict := True;
    end;
  finally
    Writers.Free;
  end;
end;

function TGraphFile.FindNotes(AReport: TStrings): Integer;
var
  I: Integer;
begin
  Result := FUnlisted.Count;
  for I := 0 to FUnlisted.Count - 1 do
    AReport.Add(Format(rsNotInList, [FFileName, FUnlisted[I]]));
  for I := 0 to High(FLinks) do
  begin
    // An inherited link's events may be set in its ancestor form.
    if not Silent(FLinks[I]) or FLinks[I].FromAncestor then
      Continue;
    Inc(Result);
    if FLinks[I].Kind = lkP2P then
      AReport.Add(Format(rsCopiesOnce, [FFileName, FLinks[I].Name]))
    else
      AReport.Add(Format(rsNeverFires, [FFileName, FLinks[I].Name]));
  end;
end;

procedure TGraphFile.Analyse(AReport: TStrings; var ACounts: TorvGraphCounts);
var
  I: Integer;
begin
  for I := 0 to High(FLinks) do
  begin
    FLinks[I].InLoop := False;
    FLinks[I].InConflict := False;
  end;
  BuildFirings;
  BuildEdges;
  Inc(ACounts.Links, LinkCount);
  Inc(ACounts.Loops, FindLoops(AReport));
  Inc(ACounts.Conflicts, FindConflicts(AReport));
  Inc(ACounts.Notes, FindNotes(AReport));
end;

{ Drawing }

function DotString(const AText: string): string;
begin
  Result := '"' + StringReplace(StringReplace(AText, '\', '\\', [rfReplaceAll]),
    '"', '\"', [rfReplaceAll]) + '"';
end;

{ Quote a label whose \n are DOT's own line breaks. }
function DotLabel(const AText: string): string;
begin
  Result := '"' + StringReplace(AText, '"', '\"', [rfReplaceAll]) + '"';
end;

function NodeId(AFileIndex: Integer; const AComponent: string): string;
begin
  Result := DotString(IntToStr(AFileIndex) + ':' + LowerCase(AComponent));
end;

function EdgeLabel(const ALink: TGraphLink): string;
begin
  Result := ALink.Name + '\n' + LinkKindLabels[ALink.Kind] + ' ';
  case ALink.Kind of
    lkP2P:
      if TwoWay(ALink) then
        Result := Result + ALink.SourceProperty + ' <-> ' + ALink.TargetProperty + '\non ' +
          ALink.SourceEvent + ' / ' + ALink.TargetEvent
      else
      begin
        Result := Result + ALink.SourceProperty + ' -> ' + ALink.TargetProperty;
        if ALink.SourceEvent <> '' then
          Result := Result + '\non ' + ALink.SourceEvent;
      end;
    lkE2P:
      Result := Result + ALink.SourceEvent + ' -> ' + ALink.TargetProperty;
    lkE2M:
      Result := Result + ALink.SourceEvent + ' -> ' + ALink.TargetMethod + '()';
  end;
  if Silent(ALink) then
    if ALink.Kind = lkP2P then
      Result := Result + '\n' + rsCopiesOnceLabel
    else
      Result := Result + '\n' + rsNeverFiresLabel;
end;

function EdgeStyle(const ALink: TGraphLink): string;
begin
  Result := '';
  if TwoWay(ALink) then
    Result := Result + ', dir=both';
  if ALink.InLoop then
    Result := Result + ', color=red, fontcolor=red, penwidth=2'
  else if ALink.InConflict then
    Result := Result + ', color=darkorange, fontcolor=darkorange, penwidth=2';
  if Silent(ALink) then
    Result := Result + ', style=dotted';
end;

procedure TGraphFile.AddNode(AFileIndex: Integer; const AComponent: string; ASeen, ADot: TStrings);
var
  LabelText, TypeName: string;
begin
  if (AComponent = '') or (ASeen.IndexOf(LowerCase(AComponent)) >= 0) then
    Exit;
  ASeen.Add(LowerCase(AComponent));
  LabelText := AComponent;
  TypeName := FClassNames.Values[AComponent];
  if TypeName <> '' then
    LabelText := LabelText + '\n' + TypeName;
  ADot.Add('    ' + NodeId(AFileIndex, AComponent) + ' [label=' + DotLabel(LabelText) + '];');
end;

procedure TGraphFile.WriteDot(AFileIndex: Integer; ADot: TStrings);
var
  Seen: TStringList;
  I, J: Integer;
begin
  Seen := TStringList.Create;
  try
    ADot.Add('  subgraph ' + DotString('cluster_' + IntToStr(AFileIndex)) + ' {');
    ADot.Add('    label=' + DotString(FFileName) + ';');
    for I := 0 to High(FLinks) do
    begin
      AddNode(AFileIndex, FLinks[I].Source, Seen, ADot);
      AddNode(AFileIndex, FLinks[I].Target, Seen, ADot);
      for J := 0 to High(FLinks[I].Reads) do
        AddNode(AFileIndex, FLinks[I].Reads[J].Component, Seen, ADot);
    end;
    for I := 0 to High(FLinks) do
    begin
      if (FLinks[I].Source = '') or (FLinks[I].Target = '') then
        Continue;
      ADot.Add('    ' + NodeId(AFileIndex, FLinks[I].Source) + ' -> ' +
        NodeId(AFileIndex, FLinks[I].Target) + ' [label=' + DotLabel(EdgeLabel(FLinks[I])) +
        EdgeStyle(FLinks[I]) + '];');
      for J := 0 to High(FLinks[I].Reads) do
        ADot.Add('    ' + NodeId(AFileIndex, FLinks[I].Reads[J].Component) + ' -> ' +
          NodeId(AFileIndex, FLinks[I].Target) + ' [label=' +
          DotString(Format(rsReadsLabel, [FLinks[I].Name, FLinks[I].Reads[J].PropName])) +
          ', style=dashed, color=gray50, fontcolor=gray40, arrowhead=empty];');
    end;
    ADot.Add('  }');
  finally
    Seen.Free;
  end;
end;

{ File reading }

function ReadFileText(const AFileName: string): string;
var
  Stream: TFileStream;
begin
  Result := '';
  try
    Stream := TFileStream.Create(AFileName, fmOpenRead or fmShareDenyNone);
  except
    on E: EStreamError do
      raise EorvFormFileError.CreateFmt(rsCannotReadFile, [AFileName, E.Message]);
  end;
  try
    SetLength(Result, Stream.Size);
    if Length(Result) > 0 then
      Stream.ReadBuffer(Result[1], Length(Result));
  finally
    Stream.Free;
  end;
end;

{ TorvLinkGraph }

constructor TorvLinkGraph.Create;
begin
  inherited Create;
  FFiles := TFPObjectList.Create(True);
  FReport := TStringList.Create;
end;

destructor TorvLinkGraph.Destroy;
begin
  FReport.Free;
  FFiles.Free;
  inherited Destroy;
end;

procedure TorvLinkGraph.AddFormText(const AText, AFileName: string);
var
  Root: TorvFormObject;
begin
  Root := ParseFormText(AText, AFileName);
  try
    FFiles.Add(TGraphFile.Create(AFileName, Root));
    FAnalysed := False;
  finally
    Root.Free;
  end;
end;

procedure TorvLinkGraph.AddFormFile(const AFileName: string);
begin
  AddFormText(ReadFileText(AFileName), AFileName);
end;

procedure TorvLinkGraph.Analyse;
var
  I: Integer;
begin
  if FAnalysed then
    Exit;
  FReport.Clear;
  FCounts := Default(TorvGraphCounts);
  for I := 0 to FFiles.Count - 1 do
    TGraphFile(FFiles[I]).Analyse(FReport, FCounts);
  FAnalysed := True;
end;

function TorvLinkGraph.GetReport: TStrings;
begin
  Analyse;
  Result := FReport;
end;

function TorvLinkGraph.GetCounts: TorvGraphCounts;
begin
  Analyse;
  Result := FCounts;
end;

procedure TorvLinkGraph.WriteDot(ADot: TStrings);
var
  I: Integer;
begin
  Analyse;
  ADot.Add('digraph orvlinks {');
  ADot.Add('  rankdir=LR;');
  ADot.Add('  graph [fontname="Helvetica", fontsize=11];');
  ADot.Add('  node [shape=box, style=rounded, fontname="Helvetica"];');
  ADot.Add('  edge [fontname="Helvetica", fontsize=10];');
  for I := 0 to FFiles.Count - 1 do
    TGraphFile(FFiles[I]).WriteDot(I, ADot);
  ADot.Add('}');
end;

function SummaryLine(const ACounts: TorvGraphCounts): string;
begin
  Result := Format(rsSummary, [ACounts.Links, ACounts.Loops, ACounts.Conflicts, ACounts.Notes]);
end;

end.
