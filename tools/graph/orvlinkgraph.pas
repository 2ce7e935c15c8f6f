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

  { TGraphLink }

  { One link with the names it was written with; Reads holds the
    components and properties it takes values from, as Component=Property. }
  TGraphLink = class
  public
    Name: string;
    Kind: TLinkKind;
    Source, Target: string;
    SourceProperty, SourceEvent, TargetProperty, TargetEvent, TargetMethod: string;
    Reads: TStringList;
    InLoop, InConflict: Boolean;
    constructor Create;
    destructor Destroy; override;
    function TwoWay: Boolean;
    { Answer whether the link never acts after connect. }
    function Silent: Boolean;
  end;

  { What a link does when the event it listens to fires: a P2P link that
    copies both ways has two, the second one Back. OnEvent is empty when
    nothing fires it. }
  TFiring = record
    Link: TGraphLink;
    Back: Boolean;
    OnComponent, OnEvent: string;
    Component, Feature: string;
    IsCall: Boolean;
  end;

  TIntArray = array of Integer;

  { TGraphFile }

  TGraphFile = class
  public
    FileName: string;
    { Component name=class name of every named object in the file. }
    ClassNames: TStringList;
    Links: TFPObjectList;
    Unlisted: TStringList;
    Firings: array of TFiring;
    Edges: array of TIntArray;
    constructor Create(const AFileName: string);
    destructor Destroy; override;
    function LinkCount: Integer;
    function LinkAt(AIndex: Integer): TGraphLink;
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

{ TGraphLink }

constructor TGraphLink.Create;
begin
  inherited Create;
  Reads := TStringList.Create;
end;

destructor TGraphLink.Destroy;
begin
  Reads.Free;
  inherited Destroy;
end;

function TGraphLink.TwoWay: Boolean;
begin
  Result := (Kind = lkP2P) and (TargetEvent <> '');
end;

function TGraphLink.Silent: Boolean;
begin
  Result := (SourceEvent = '') and not TwoWay;
end;

{ TGraphFile }

constructor TGraphFile.Create(const AFileName: string);
begin
  inherited Create;
  FileName := AFileName;
  ClassNames := TStringList.Create;
  ClassNames.CaseSensitive := False;
  Links := TFPObjectList.Create(True);
  Unlisted := TStringList.Create;
end;

destructor TGraphFile.Destroy;
begin
  Unlisted.Free;
  Links.Free;
  ClassNames.Free;
  inherited Destroy;
end;

function TGraphFile.LinkCount: Integer;
begin
  Result := Links.Count;
end;

function TGraphFile.LinkAt(AIndex: Integer): TGraphLink;
begin
  Result := TGraphLink(Links[AIndex]);
end;

{ Reading the form tree }

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

procedure AddRead(ALink: TGraphLink; AProps: TorvFormProperties; const AComponent, AProperty: string);
var
  Component: string;
begin
  Component := TextOf(AProps, AComponent);
  if Component <> '' then
    ALink.Reads.Add(Component + '=' + TextOf(AProps, AProperty));
end;

function ReadLink(AObject: TorvFormObject; AKind: TLinkKind): TGraphLink;
var
  Props: TorvFormProperties;
  Items: TorvFormValue;
  I: Integer;
begin
  Props := AObject.Properties;
  Result := TGraphLink.Create;
  Result.Name := AObject.Name;
  Result.Kind := AKind;
  Result.Source := TextOf(Props, 'Source');
  Result.Target := TextOf(Props, 'Target');
  Result.SourceProperty := TextOf(Props, 'SourceProperty');
  Result.SourceEvent := TextOf(Props, 'SourceEvent');
  Result.TargetProperty := TextOf(Props, 'TargetProperty');
  Result.TargetEvent := TextOf(Props, 'TargetEvent');
  Result.TargetMethod := TextOf(Props, 'TargetMethod');
  AddRead(Result, Props, 'ValueComponent', 'ValueComponentProperty');
  Items := Props.Value('TargetMethodParameters');
  if (Items <> nil) and (Items.Kind = fvCollection) then
    for I := 0 to Items.ItemCount - 1 do
      AddRead(Result, Items.Items(I), 'Component', 'ComponentProperty');
end;

procedure WalkForm(AFile: TGraphFile; AObject: TorvFormObject);
var
  I: Integer;
  Child: TorvFormObject;
  Kind: TLinkKind;
begin
  for I := 0 to AObject.ChildCount - 1 do
  begin
    Child := AObject.Children(I);
    if (Child.Name <> '') and (AFile.ClassNames.IndexOfName(Child.Name) < 0) then
      AFile.ClassNames.Add(Child.Name + '=' + Child.TypeName);
    if LinkKindOf(Child, Kind) then
    begin
      // Only a connection list connects its links.
      if SameText(AObject.TypeName, ListClassName) then
        AFile.Links.Add(ReadLink(Child, Kind))
      else
        AFile.Unlisted.Add(Child.Name);
    end;
    WalkForm(AFile, Child);
  end;
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

function FiringName(const AFiring: TFiring): string;
begin
  Result := AFiring.Link.Name;
  if AFiring.Back then
    Result := Format(rsBackName, [Result]);
end;

procedure AddFiring(AFile: TGraphFile; ALink: TGraphLink; ABack: Boolean;
  const AOnComponent, AOnEvent, AComponent, AFeature: string; AIsCall: Boolean);
var
  N: Integer;
begin
  N := Length(AFile.Firings);
  SetLength(AFile.Firings, N + 1);
  AFile.Firings[N].Link := ALink;
  AFile.Firings[N].Back := ABack;
  AFile.Firings[N].OnComponent := AOnComponent;
  AFile.Firings[N].OnEvent := AOnEvent;
  AFile.Firings[N].Component := AComponent;
  AFile.Firings[N].Feature := AFeature;
  AFile.Firings[N].IsCall := AIsCall;
end;

procedure BuildFirings(AFile: TGraphFile);
var
  I: Integer;
  Link: TGraphLink;
begin
  SetLength(AFile.Firings, 0);
  for I := 0 to AFile.LinkCount - 1 do
  begin
    Link := AFile.LinkAt(I);
    case Link.Kind of
      lkP2P:
        begin
          AddFiring(AFile, Link, False, Link.Source, Link.SourceEvent, Link.Target,
            Link.TargetProperty, False);
          if Link.TwoWay then
            AddFiring(AFile, Link, True, Link.Target, Link.TargetEvent, Link.Source,
              Link.SourceProperty, False);
        end;
      lkE2P:
        AddFiring(AFile, Link, False, Link.Source, Link.SourceEvent, Link.Target,
          Link.TargetProperty, False);
      lkE2M:
        AddFiring(AFile, Link, False, Link.Source, Link.SourceEvent, Link.Target,
          Link.TargetMethod, True);
    end;
  end;
end;

procedure BuildEdges(AFile: TGraphFile);
var
  I, J, N: Integer;
begin
  N := Length(AFile.Firings);
  SetLength(AFile.Edges, N);
  for I := 0 to N - 1 do
  begin
    SetLength(AFile.Edges[I], 0);
    for J := 0 to N - 1 do
      if (AFile.Firings[J].OnEvent <> '') and (AFile.Firings[I].Component <> '') and
        SameText(AFile.Firings[I].Component, AFile.Firings[J].OnComponent) and
        MayFire(AFile.Firings[I], AFile.Firings[J].OnEvent) then
      begin
        SetLength(AFile.Edges[I], Length(AFile.Edges[I]) + 1);
        AFile.Edges[I][High(AFile.Edges[I])] := J;
      end;
  end;
end;

{ Strongly connected parts of the firing graph (Tarjan) }

type
  TComponentsFinder = class
  private
    FEdges: array of TIntArray;
    FIndex, FLow, FStack: TIntArray;
    FOnStack: array of Boolean;
    FCounter, FTop, FParts: Integer;
    procedure Visit(V: Integer);
  public
    Part: TIntArray;
    procedure Run(AFile: TGraphFile);
  end;

procedure TComponentsFinder.Visit(V: Integer);
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
    Part[W] := FParts;
  until W = V;
  Inc(FParts);
end;

procedure TComponentsFinder.Run(AFile: TGraphFile);
var
  N, V: Integer;
begin
  FEdges := AFile.Edges;
  N := Length(FEdges);
  SetLength(FIndex, N);
  SetLength(FLow, N);
  SetLength(FStack, N);
  SetLength(FOnStack, N);
  SetLength(Part, N);
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

{ Loops }

function HasEdge(AFile: TGraphFile; AFrom, ATo: Integer): Boolean;
var
  I: Integer;
begin
  for I := 0 to High(AFile.Edges[AFrom]) do
    if AFile.Edges[AFrom][I] = ATo then
      Exit(True);
  Result := False;
end;

{ Return the shortest cycle from AStart back to it inside part APart, one
  that passes through another link than AStart's when AOtherLink is set:
  a search over (firing, other link seen yet) pairs. }
function ShortestCycle(AFile: TGraphFile; const APart: TIntArray; AStart: Integer;
  AOtherLink: Boolean): TIntArray;
var
  Prev: TIntArray = nil;
  Queue: TIntArray = nil;
  Head, Tail, State, Node, Next, NextState, I, Found: Integer;
  Seen: Boolean;
begin
  SetLength(Prev, 2 * Length(AFile.Firings));
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
    for I := 0 to High(AFile.Edges[Node]) do
    begin
      Next := AFile.Edges[Node][I];
      if APart[Next] <> APart[AStart] then
        Continue;
      Seen := Odd(State) or (AFile.Firings[Next].Link <> AFile.Firings[AStart].Link);
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

function StepText(const AFrom, ATo: TFiring): string;
begin
  if AFrom.IsCall then
    Result := Format(rsCallFires, [AFrom.Component, AFrom.Feature, ATo.OnComponent, ATo.OnEvent])
  else
    Result := Format(rsWriteFires, [AFrom.Component, AFrom.Feature, ATo.OnComponent, ATo.OnEvent]);
end;

function CycleText(AFile: TGraphFile; const ACycle: TIntArray; out ASteps: string): string;
var
  I, Next: Integer;
begin
  Result := '';
  ASteps := '';
  for I := 0 to High(ACycle) do
  begin
    Next := ACycle[(I + 1) mod Length(ACycle)];
    Result := Result + FiringName(AFile.Firings[ACycle[I]]) + ' -> ';
    if I > 0 then
      ASteps := ASteps + '; ';
    ASteps := ASteps + StepText(AFile.Firings[ACycle[I]], AFile.Firings[Next]);
  end;
  Result := Result + FiringName(AFile.Firings[ACycle[0]]);
end;

{ Say how the loop ACycle ends: the first of its P2P links to fire again
  drops the values that come back, as its updating flag is still set; with
  none in it, the call guard's re-entry limit stops it. }
function EndingText(AFile: TGraphFile; const ACycle: TIntArray): string;
var
  I: Integer;
  Names: string;
  Link: TGraphLink;
begin
  Names := '';
  for I := 0 to High(ACycle) do
  begin
    Link := AFile.Firings[ACycle[I]].Link;
    // A two-way link may be on the way twice, once each way.
    if (Link.Kind = lkP2P) and (Pos(' ' + Link.Name + ',', ' ' + Names + ',') = 0) then
    begin
      if Names <> '' then
        Names := Names + ', ';
      Names := Names + Link.Name;
    end;
  end;
  if Names = '' then
    Result := rsLoopRuns
  else
    Result := Format(rsLoopEnds, [Names]);
end;

{ Report the loop of part APart if it is one; answer whether it is. }
function ReportPart(AFile: TGraphFile; const APart: TIntArray; AFirst: Integer;
  AReport: TStrings): Boolean;
var
  Members: TFPList;
  Also: TStringList;
  Cycle: TIntArray;
  I: Integer;
  Line, Steps: string;
begin
  Members := TFPList.Create;
  Also := TStringList.Create;
  try
    for I := AFirst to High(APart) do
      if APart[I] = APart[AFirst] then
      begin
        if Members.IndexOf(AFile.Firings[I].Link) < 0 then
          Members.Add(AFile.Firings[I].Link);
        if Also.IndexOf(FiringName(AFile.Firings[I])) < 0 then
          Also.Add(FiringName(AFile.Firings[I]));
      end;
    // One firing that does not feed itself is no cycle; a cycle within one
    // P2P link is its own echo, which its updating flag drops.
    Result := ((Also.Count > 1) or HasEdge(AFile, AFirst, AFirst)) and
      ((Members.Count > 1) or (TGraphLink(Members[0]).Kind <> lkP2P));
    if not Result then
      Exit;
    Cycle := ShortestCycle(AFile, APart, AFirst, Members.Count > 1);
    Line := Format(rsLoop, [AFile.FileName, CycleText(AFile, Cycle, Steps), Steps]) +
      EndingText(AFile, Cycle);
    for I := 0 to High(Cycle) do
      Also.Delete(Also.IndexOf(FiringName(AFile.Firings[Cycle[I]])));
    if Also.Count > 0 then
    begin
      Also.StrictDelimiter := True;
      Also.Delimiter := ',';
      Line := Line + Format(rsLoopAlso, [StringReplace(Also.DelimitedText, ',', ', ', [rfReplaceAll])]);
    end;
    AReport.Add(Line);
    for I := 0 to Members.Count - 1 do
      TGraphLink(Members[I]).InLoop := True;
  finally
    Also.Free;
    Members.Free;
  end;
end;

function FindLoops(AFile: TGraphFile; AReport: TStrings): Integer;
var
  Finder: TComponentsFinder;
  Done: array of Boolean = nil;
  I: Integer;
begin
  Result := 0;
  Finder := TComponentsFinder.Create;
  try
    Finder.Run(AFile);
    SetLength(Done, Length(AFile.Firings));
    for I := 0 to High(Done) do
      Done[I] := False;
    // Parts in the order of their first firing, so reports follow the file.
    for I := 0 to High(Finder.Part) do
      if not Done[Finder.Part[I]] then
      begin
        Done[Finder.Part[I]] := True;
        if ReportPart(AFile, Finder.Part, I, AReport) then
          Inc(Result);
      end;
  finally
    Finder.Free;
  end;
end;

{ Conflicts: one property of one component written by two links }

function FindConflicts(AFile: TGraphFile; AReport: TStrings): Integer;
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
    for I := 0 to High(AFile.Firings) do
    begin
      // A firing that nothing fires still writes once when it is a P2P
      // link's copy at connect; a silent E2P link writes nothing.
      if AFile.Firings[I].IsCall or (AFile.Firings[I].Component = '') or
        (AFile.Firings[I].Feature = '') or
        ((AFile.Firings[I].OnEvent = '') and (AFile.Firings[I].Link.Kind <> lkP2P)) then
        Continue;
      // Component names ignore letter case, as the reader does; feature
      // names are compared exactly, as the links compare them.
      Key := LowerCase(AFile.Firings[I].Component) + '.' + AFile.Firings[I].Feature;
      K := Writers.IndexOf(Key);
      if K < 0 then
        K := Writers.AddObject(Key, TStringList.Create);
      Names := TStringList(Writers.Objects[K]);
      // The first two lines are the names as first written, then the writers.
      if Names.Count = 0 then
      begin
        Names.Add(AFile.Firings[I].Component);
        Names.Add(AFile.Firings[I].Feature);
      end;
      if Names.IndexOfObject(AFile.Firings[I].Link) < 0 then
        Names.AddObject(AFile.Firings[I].Link.Name, AFile.Firings[I].Link);
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
      AReport.Add(Format(rsConflict, [AFile.FileName, Names[0], Names[1], Key]));
      for I := 2 to Names.Count - 1 do
        TGraphLink(Names.Objects[I]).InConflict := True;
    end;
  finally
    Writers.Free;
  end;
end;

function FindNotes(AFile: TGraphFile; AReport: TStrings): Integer;
var
  I: Integer;
  Link: TGraphLink;
begin
  Result := AFile.Unlisted.Count;
  for I := 0 to AFile.Unlisted.Count - 1 do
    AReport.Add(Format(rsNotInList, [AFile.FileName, AFile.Unlisted[I]]));
  for I := 0 to AFile.LinkCount - 1 do
  begin
    Link := AFile.LinkAt(I);
    if not Link.Silent then
      Continue;
    Inc(Result);
    if Link.Kind = lkP2P then
      AReport.Add(Format(rsCopiesOnce, [AFile.FileName, Link.Name]))
    else
      AReport.Add(Format(rsNeverFires, [AFile.FileName, Link.Name]));
  end;
end;

{ Drawing }

function DotString(const AText: string): string;
begin
  Result := '"' + StringReplace(StringReplace(AText, '\', '\\', [rfReplaceAll]),
    '"', '\"', [rfReplaceAll]) + '"';
end;

function NodeId(AFileIndex: Integer; const AComponent: string): string;
begin
  Result := DotString(IntToStr(AFileIndex) + ':' + LowerCase(AComponent));
end;

procedure AddNode(AFile: TGraphFile; AFileIndex: Integer; const AComponent: string;
  ASeen: TStrings; ADot: TStrings);
var
  LabelText, TypeName: string;
begin
  if (AComponent = '') or (ASeen.IndexOf(LowerCase(AComponent)) >= 0) then
    Exit;
  ASeen.Add(LowerCase(AComponent));
  LabelText := AComponent;
  TypeName := AFile.ClassNames.Values[AComponent];
  if TypeName <> '' then
    LabelText := LabelText + '\n' + TypeName;
  // \n is DOT's own line break, so only quotes are escaped here.
  ADot.Add('    ' + NodeId(AFileIndex, AComponent) + ' [label="' +
    StringReplace(LabelText, '"', '\"', [rfReplaceAll]) + '"];');
end;

function EdgeLabel(ALink: TGraphLink): string;
begin
  Result := ALink.Name + '\n' + LinkKindLabels[ALink.Kind] + ' ';
  case ALink.Kind of
    lkP2P:
      if ALink.TwoWay then
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
  if ALink.Silent then
    if ALink.Kind = lkP2P then
      Result := Result + '\n' + rsCopiesOnceLabel
    else
      Result := Result + '\n' + rsNeverFiresLabel;
end;

function EdgeStyle(ALink: TGraphLink): string;
begin
  Result := '';
  if ALink.TwoWay then
    Result := Result + ', dir=both';
  if ALink.InLoop then
    Result := Result + ', color=red, fontcolor=red, penwidth=2'
  else if ALink.InConflict then
    Result := Result + ', color=darkorange, fontcolor=darkorange, penwidth=2';
  if ALink.Silent then
    Result := Result + ', style=dotted';
end;

procedure WriteFileDot(AFile: TGraphFile; AFileIndex: Integer; ADot: TStrings);
var
  Seen: TStringList;
  I, J: Integer;
  Link: TGraphLink;
begin
  Seen := TStringList.Create;
  try
    ADot.Add('  subgraph ' + DotString('cluster_' + IntToStr(AFileIndex)) + ' {');
    ADot.Add('    label=' + DotString(AFile.FileName) + ';');
    for I := 0 to AFile.LinkCount - 1 do
    begin
      Link := AFile.LinkAt(I);
      AddNode(AFile, AFileIndex, Link.Source, Seen, ADot);
      AddNode(AFile, AFileIndex, Link.Target, Seen, ADot);
      for J := 0 to Link.Reads.Count - 1 do
        AddNode(AFile, AFileIndex, Link.Reads.Names[J], Seen, ADot);
    end;
    for I := 0 to AFile.LinkCount - 1 do
    begin
      Link := AFile.LinkAt(I);
      if (Link.Source = '') or (Link.Target = '') then
        Continue;
      ADot.Add('    ' + NodeId(AFileIndex, Link.Source) + ' -> ' + NodeId(AFileIndex, Link.Target) +
        ' [label="' + StringReplace(EdgeLabel(Link), '"', '\"', [rfReplaceAll]) + '"' +
        EdgeStyle(Link) + '];');
      for J := 0 to Link.Reads.Count - 1 do
        ADot.Add('    ' + NodeId(AFileIndex, Link.Reads.Names[J]) + ' -> ' +
          NodeId(AFileIndex, Link.Target) + ' [label=' +
          DotString(Format(rsReadsLabel, [Link.Name, Link.Reads.ValueFromIndex[J]])) +
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
  GraphFile: TGraphFile;
begin
  Root := ParseFormText(AText, AFileName);
  try
    GraphFile := TGraphFile.Create(AFileName);
    try
      if Root.Name <> '' then
        GraphFile.ClassNames.Add(Root.Name + '=' + Root.TypeName);
      WalkForm(GraphFile, Root);
    except
      GraphFile.Free;
      raise;
    end;
    FFiles.Add(GraphFile);
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
  I, J: Integer;
  GraphFile: TGraphFile;
begin
  if FAnalysed then
    Exit;
  FReport.Clear;
  FCounts := Default(TorvGraphCounts);
  for I := 0 to FFiles.Count - 1 do
  begin
    GraphFile := TGraphFile(FFiles[I]);
    for J := 0 to GraphFile.LinkCount - 1 do
    begin
      GraphFile.LinkAt(J).InLoop := False;
      GraphFile.LinkAt(J).InConflict := False;
    end;
    BuildFirings(GraphFile);
    BuildEdges(GraphFile);
    Inc(FCounts.Links, GraphFile.LinkCount + GraphFile.Unlisted.Count);
    Inc(FCounts.Loops, FindLoops(GraphFile, FReport));
    Inc(FCounts.Conflicts, FindConflicts(GraphFile, FReport));
    Inc(FCounts.Notes, FindNotes(GraphFile, FReport));
  end;
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
    WriteFileDot(TGraphFile(FFiles[I]), I, ADot);
  ADot.Add('}');
end;

function SummaryLine(const ACounts: TorvGraphCounts): string;
begin
  Result := Format(rsSummary, [ACounts.Links, ACounts.Loops, ACounts.Conflicts, ACounts.Notes]);
end;

end.
