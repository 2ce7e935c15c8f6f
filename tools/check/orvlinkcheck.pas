{ Check the links of a text form file against the class infos of the
  components they name, without creating the form, its components or its
  links. The classes known are those registered in the program that runs
  the check: the stand-alone orvcheck knows the package's; an application's
  own test program, linking its own bindings, knows its own as well.

  A link is broken when it cannot work at all: a name that its Connect
  needs does not resolve (Connect then answers False and the link stays
  inert), or reading the form fails because of it (a component whose class
  is not registered), or the first copy of a property-to-property link
  raises, which stops the list from connecting the links after it (a
  property that cannot be read or written, a variable handed an object of
  another class; a variable that holds nothing yet makes the copy wait
  instead), or, when the program has set a link policy (Orvpolicy), the
  link would write or call what the policy does not allow. The texts are the links' own (Orvlinknames), with the nearest
  declared name when a name does not resolve. What Connect lets pass
  but leaves the link partial is a warning: an event a property-to-property
  link cannot listen to, an index list that does not fit its property, a
  method parameter item that does not resolve. What cannot be judged from
  one file is said as such, also as a warning: components of other forms,
  and what an inherited form or a frame takes from its ancestor.

  Names are compared as the links compare them: component names and class
  names ignoring letter case, feature names exactly. A variable shows the
  features of the class its ClassTypeName names, its Self made writable,
  and its own OnInstanceChange.

  Derived classes. While TorvClassRegistry.DerivedClasses is on in the
  program that runs the check, as it is in the application, a component of
  an unregistered class is checked with the binding of its nearest
  registered ancestor. The file names only the class, so its parents come
  from the program: a class it registered with the RTL's RegisterClass is
  walked through its real parents (the sound way, for an application's own
  check program, which links its classes); a class the program does not
  link has its parent named by AddClassParent, taken on trust. }
unit Orvlinkcheck;

{$I orvdefines.inc}

interface

uses
  Classes, SysUtils;

type
  { What a check found; Ok + Broken = Links. UnknownClasses counts the
    components whose class has no binding registered in the program that
    runs the check. }
  TorvCheckCounts = record
    Links, Ok, Broken, Warnings, UnknownClasses: Integer;
  end;

{ Check every link stored in the form file text AText and append the report
  lines to AReport, each beginning with AFileName. Raise EorvFormFileError
  when the text is not a form file. }
function CheckFormText(const AText, AFileName: string; AReport: TStrings): TorvCheckCounts;
{ Read AFileName and check it as CheckFormText does; a file that cannot be
  read raises EorvFormFileError too. }
function CheckFormFile(const AFileName: string; AReport: TStrings): TorvCheckCounts;
procedure AddCounts(var ATotal: TorvCheckCounts; const ACounts: TorvCheckCounts);
{ Say that the class named AClassName derives from the class named
  AParentName, for a class the program does not link; used only while
  TorvClassRegistry.DerivedClasses is on. A later call for the same class
  replaces its parent. }
procedure AddClassParent(const AClassName, AParentName: string);
{ Forget every parent AddClassParent gave. }
procedure ClearClassParents;
{ The last line of a report: "N links checked: K ok, B broken, W warnings". }
function SummaryLine(const ACounts: TorvCheckCounts): string;

implementation

uses
  TypInfo,
  Orvcommon, Orvlinknames, Orvconlist, Orve2m, Orvvar, Orvpolicy, Orvlfm;

resourcestring
  rsReportLine = '%s: %s (%s): %s';
  rsLinkOk = 'ok';
  rsLinkBroken = 'broken: %s';
  rsLinkWarning = 'warning: %s';
  rsNotChecked = 'not checked: %s';
  rsSummary = '%d links checked: %d ok, %d broken, %d warnings';
  rsCannotReadFile = '%s: cannot be read: %s';

  rsNotSet = '%s: not set';
  rsNotAReference = '%s: %s is not a component reference';
  rsNoComponent = '%s: no component named %s on the form';
  rsOtherForm = '%s %s is a component of another form or data module';
  rsMaybeInAncestor = '%s %s is not in this file; it may be declared in the ancestor form';
  rsFromAncestor = '%s is not in this file; it comes from the ancestor form';
  rsSideSays = '%s %s: %s';
  rsUnknownClassType = '%s (ClassTypeName ''%s'')';
  rsClassFromAncestor = '%s %s: its ClassTypeName comes from the ancestor form';
  rsNotKnownHere = ' (no binding of class %s is registered in this program)';
  rsNoBoundAncestor = ' (no binding of class %s, nor of an ancestor the checker knows, is ' +
    'registered in this program)';
  rsBoundAs = ' (%s has the features of %s)';
  rsVariableUnreadable = '%s ClassTypeName ''%s'' is not registered, so the form cannot be read';
  rsCannotRead = 'property %s cannot be read';
  rsCannotWrite = 'property %s cannot be written';
  rsNotAList = '%s: not a list';
  rsNotACollection = '%s: not a collection';
  rsItemNotString = '%s: item %d is not a string';
  rsIndexCount = '%s (%s has %d items for %s)';
  rsIndexAbsent = '%s (no %s stored for %s)';
  rsIndexEmpty = '%s: index %s of %s has no value';
  rsIndexIgnored = '%s: %d items beyond the indexes of %s are ignored';
  rsUnknownOption = '%s: %s is not a TorvValueOptions value';
  rsReadTooEarly = '%s is written before %s, which clears it while the form is read';
  rsEmptiedTooEarly = '%s is written before %s, which empties it while the form is read';
  rsNoArgument = 'method parameter %s of %s gets no value from TargetMethodParameters';
  rsNotInList = 'not in a connection list: it is never connected';
  rsParentUnknown = 'its parent %s is of class %s, which the checker does not know; ' +
    'the link is connected only if that is a connection list';
  rsNotALink = 'class %s is not a kind of link the checker knows';
  { What a fault means for the running link. }
  rsSetOnlyOnce = '; the target is set only once, at Connect';
  rsNoCopyBack = '; changes of the target are not copied back';
  rsFirstCopyRaises = '; the copy at Connect raises';
  rsCopyBackRaises = '; the copy back raises';
  rsEveryFiringRaises = '; every firing raises';
  rsCallRefused = '; every firing raises it before the call';
  rsIndexesUnset = '; the property is used with index values left unset';
  rsPolicyNoWrite = 'the link policy does not let links write %s';
  rsPolicyNoCall = 'the link policy does not let links call %s';
  rsPolicyRefuses = '; the link is refused when it connects';

type
  TLinkKind = (lkNone, lkP2P, lkE2P, lkE2M);

  { How a component reference resolves within the form file. }
  TReference = (refFound, refMissing, refOtherForm, refAncestor);

  { Where a finding goes: the reasons a link is broken, its warnings, or
    nowhere, for a value source the link does not use. }
  TSeverity = (svBroken, svWarning, svQuiet);

  { A component a link names, as far as it can be judged. TypeName is the
    class whose features it shows (a variable's ClassTypeName), InfoClass
    the binding of that class. Info is nil when its features cannot be
    checked; for a variable it is a variable's own class info, which shows
    the features a link would find. The class infos belong to the checker. }
  TSide = record
    Role: string;
    Ref: string;
    Obj: TorvFormObject;
    TypeName: string;
    BoundName: string; // the registered class whose binding serves TypeName
    InfoClass: TorvClassInfoClass;
    Info: TorvClassInfo;
  end;

  { TFormChecker }

  TFormChecker = class
  private
    FFileName: string;
    FReport: TStrings;
    FCounts: TorvCheckCounts;
    FInfos: TStringList;
    FLink: TorvFormObject;
    FFromAncestor: Boolean;
    FReasons: TStringList;
    FWarnings: TStringList;
    function InfoOf(AInfoClass: TorvClassInfoClass): TorvClassInfo;
    function VariableInfoOf(const AClassTypeName: string): TorvClassInfo;
    procedure Say(AObject: TorvFormObject; const AText: string);
    procedure Warn(AObject: TorvFormObject; const AText: string);
    procedure Report(ASeverity: TSeverity; const AText: string);
    procedure NotChecked(const AText: string);
    function Resolve(const ARef: string; out AObject: TorvFormObject): TReference;
    function ComponentSuggestion(const ARef: string): string;
    function Describe(AObject: TorvFormObject; var ASide: TSide): Boolean;
    function ResolveSide(AProps: TorvFormProperties; const AName, ARole: string;
      ARequired: Boolean; ASeverity: TSeverity; out ASide: TSide): Boolean;
    function LookUp(AProps: TorvFormProperties; const ASide: TSide; ASideKnown: Boolean;
      AKind: TorvFeatureKind; const AName: TorvLinkName; ARequired: Boolean;
      ASeverity: TSeverity; const AConsequence: string): TorvFeature;
    procedure CheckAccess(const ASide: TSide; AProp: TorvPropertyInfo; ANeed: TorvPropertyStyleFlag;
      ASeverity: TSeverity; const AConsequence: string);
    { Report AFeature of ASide, written or (ACall) called, when the link
      policy in force does not allow it. }
    procedure CheckPolicy(const ASide: TSide; AFeature: TorvFeature; ACall: Boolean);
    procedure CheckIndexList(AProps: TorvFormProperties; const ASide: TSide; AProp: TorvPropertyInfo;
      const AListProp, AListName: string);
    function OptionOf(AProps: TorvFormProperties; const AName: string): Integer;
    procedure CheckOrder(AProps: TorvFormProperties; const AFirst, ALater, AMessage: string;
      ASeverity: TSeverity);
    procedure CheckHeldClass(const ASource, ATarget: TSide; ASourceProp, ATargetProp: TorvPropertyInfo);
    procedure CheckP2P(AProps: TorvFormProperties);
    procedure CheckE2P(AProps: TorvFormProperties);
    procedure CheckE2M(AProps: TorvFormProperties);
    procedure CheckParameterItem(AItem: TorvFormProperties; AIndex: Integer;
      AMethod: TorvMethodInfo; AEvent: TorvEventInfo);
    procedure CheckLink(ALink: TorvFormObject);
    procedure CheckVariable(AObject: TorvFormObject);
  public
    constructor Create(const AFileName: string; AReport: TStrings);
    destructor Destroy; override;
    { Check the links among the descendants of AObject. }
    procedure Walk(AObject: TorvFormObject);
    property Counts: TorvCheckCounts read FCounts;
  end;

const
  LinkClassNames: array[TLinkKind] of string =
    ('', 'TorvP2PConnection', 'TorvE2PConnection', 'TorvE2MConnection');
  ListClassName = 'TorvConnectionList';
  VariableClassName = 'TorvVariable';

{ Form tree helpers }

function LinkKindOf(AObject: TorvFormObject): TLinkKind;
begin
  for Result := lkP2P to High(TLinkKind) do
    if SameText(AObject.TypeName, LinkClassNames[Result]) then
      Exit;
  Result := lkNone;
end;

function IsList(AObject: TorvFormObject): Boolean;
begin
  Result := SameText(AObject.TypeName, ListClassName);
end;

function IsVariable(AObject: TorvFormObject): Boolean;
begin
  Result := SameText(AObject.TypeName, VariableClassName);
end;

var
  { Class name=parent name, from AddClassParent. }
  ClassParents: TStringList;

procedure AddClassParent(const AClassName, AParentName: string);
begin
  if ClassParents = nil then
  begin
    ClassParents := TStringList.Create;
    ClassParents.CaseSensitive := False;
  end;
  ClassParents.Values[AClassName] := AParentName;
end;

procedure ClearClassParents;
begin
  FreeAndNil(ClassParents);
end;

function ParentNameOf(const AClassName: string): string;
begin
  Result := '';
  if ClassParents <> nil then
    Result := ClassParents.Values[AClassName];
end;

{ Return the binding a component of the class named ATypeName gets, as the
  registry would give it, or nil; ABoundName is the registered class name
  it is found under. }
function BindingOf(const ATypeName: string; out ABoundName: string): TorvClassInfoClass;
var
  Name: string;
  Real: TPersistentClass;
  Bound: TClass;
  Steps: Integer;
begin
  ABoundName := ATypeName;
  Result := TorvClassRegistry.FindClass(ATypeName);
  if (Result <> nil) or not TorvClassRegistry.DerivedClasses then
    Exit;
  Name := ATypeName;
  Steps := 0;
  repeat
    // A class the program links tells its own parents.
    Real := Classes.GetClass(Name);
    if Real <> nil then
    begin
      Bound := TorvClassRegistry.BoundClassOf(Real);
      if Bound = nil then
        Exit(nil);
      ABoundName := Bound.ClassName;
      Exit(TorvClassRegistry.FindClass(ABoundName));
    end;
    Name := ParentNameOf(Name);
    // Parents given by name may form a loop: no walk is longer than the list.
    if (Name = '') or (Steps >= ClassParents.Count) then
      Exit(nil);
    Inc(Steps);
    Result := TorvClassRegistry.FindClass(Name);
  until Result <> nil;
  ABoundName := Name;
end;

{ Answer whether the checker knows what AObject is. }
function IsKnown(AObject: TorvFormObject): Boolean;
var
  BoundName: string;
begin
  Result := IsList(AObject) or IsVariable(AObject) or (LinkKindOf(AObject) <> lkNone) or
    (BindingOf(AObject.TypeName, BoundName) <> nil);
end;

{ Answer whether the components in AObject's file are owned by AObject: the
  root, and a frame placed inline, whose components are its own. }
function IsScopeOwner(AObject: TorvFormObject): Boolean;
begin
  Result := (AObject.Parent = nil) or (AObject.Kind = foInline);
end;

function ScopeOwnerOf(AObject: TorvFormObject): TorvFormObject;
begin
  Result := AObject.Parent;
  while not IsScopeOwner(Result) do
    Result := Result.Parent;
end;

{ Find the component AName owned by AOwner, not looking into frames. }
function FindOwned(AOwner: TorvFormObject; const AName: string): TorvFormObject;
var
  I: Integer;
  Child: TorvFormObject;
begin
  for I := 0 to AOwner.ChildCount - 1 do
  begin
    Child := AOwner.Children(I);
    if SameText(Child.Name, AName) then
      Exit(Child);
    if Child.Kind <> foInline then
    begin
      Result := FindOwned(Child, AName);
      if Result <> nil then
        Exit;
    end;
  end;
  Result := nil;
end;

{ Add the names of the components AOwner owns, not looking into frames. }
procedure AddOwnedNames(AOwner: TorvFormObject; ANames: TStrings);
var
  I: Integer;
  Child: TorvFormObject;
begin
  for I := 0 to AOwner.ChildCount - 1 do
  begin
    Child := AOwner.Children(I);
    if Child.Name <> '' then
      ANames.Add(Child.Name);
    if Child.Kind <> foInline then
      AddOwnedNames(Child, ANames);
  end;
end;

{ Return " (did you mean 'X'?)" for the registered class name nearest to
  AClassName, or ''. }
function ClassSuggestion(const AClassName: string): string;
var
  Names: TStringList;
begin
  Names := TStringList.Create;
  try
    TorvClassRegistry.GetClassNames(Names);
    Result := Suggestion(AClassName, Names);
  finally
    Names.Free;
  end;
end;

{ Return the text of a property written as a string (or, leniently, as an
  identifier or number); empty when it is not written. }
function StringOf(AProps: TorvFormProperties; const AName: string; out APresent: Boolean): string;
var
  Value: TorvFormValue;
begin
  Value := AProps.Value(AName);
  APresent := Value <> nil;
  if APresent and (Value.Kind in [fvString, fvIdent, fvNumber]) then
    Result := Value.Text
  else
    Result := '';
end;

function Signature(AProp: TorvPropertyInfo): string;
var
  I: Integer;
begin
  Result := AProp.Name;
  if AProp.GetIndexCount = 0 then
    Exit;
  Result := Result + '[';
  for I := 0 to AProp.GetIndexCount - 1 do
  begin
    if I > 0 then
      Result := Result + ', ';
    Result := Result + AProp.GetIndexes(I).Name;
  end;
  Result := Result + ']';
end;

{ TFormChecker }

constructor TFormChecker.Create(const AFileName: string; AReport: TStrings);
begin
  inherited Create;
  FFileName := AFileName;
  FReport := AReport;
  FCounts := Default(TorvCheckCounts);
  FInfos := TStringList.Create;
  FInfos.OwnsObjects := True;
  FInfos.Sorted := True;
  FReasons := TStringList.Create;
  FWarnings := TStringList.Create;
end;

destructor TFormChecker.Destroy;
begin
  FWarnings.Free;
  FReasons.Free;
  FInfos.Free;
  inherited Destroy;
end;

function TFormChecker.InfoOf(AInfoClass: TorvClassInfoClass): TorvClassInfo;
var
  I: Integer;
begin
  // Declaring the features of a class costs more than checking a link.
  I := FInfos.IndexOf(AInfoClass.ClassName);
  if I >= 0 then
    Exit(TorvClassInfo(FInfos.Objects[I]));
  Result := AInfoClass.Create;
  try
    Result.InitMetaData;
  except
    Result.Free;
    raise;
  end;
  FInfos.AddObject(AInfoClass.ClassName, Result);
end;

function TFormChecker.VariableInfoOf(const AClassTypeName: string): TorvClassInfo;
var
  Key: string;
  I: Integer;
begin
  // A variable's class info, as a variable of that class makes it, so that
  // names resolve, or fail, as they do for the links.
  Key := VariableClassName + ':' + LowerCase(AClassTypeName);
  I := FInfos.IndexOf(Key);
  if I >= 0 then
    Exit(TorvClassInfo(FInfos.Objects[I]));
  Result := TorvVariableClassInfo.Create(AClassTypeName);
  try
    Result.InitMetaData;
  except
    Result.Free;
    raise;
  end;
  FInfos.AddObject(Key, Result);
end;

procedure TFormChecker.Say(AObject: TorvFormObject; const AText: string);
begin
  FReport.Add(Format(rsReportLine, [FFileName, AObject.Name, AObject.TypeName, AText]));
end;

procedure TFormChecker.Warn(AObject: TorvFormObject; const AText: string);
begin
  Say(AObject, Format(rsLinkWarning, [AText]));
  Inc(FCounts.Warnings);
end;

procedure TFormChecker.Report(ASeverity: TSeverity; const AText: string);
begin
  case ASeverity of
    svBroken: FReasons.Add(AText);
    svWarning: FWarnings.Add(AText);
    svQuiet: ;
  end;
end;

procedure TFormChecker.NotChecked(const AText: string);
begin
  FWarnings.Add(Format(rsNotChecked, [AText]));
end;

function TFormChecker.Resolve(const ARef: string; out AObject: TorvFormObject): TReference;
var
  Parts: TStringArray;
  Owner: TorvFormObject;
  I: Integer;
begin
  // References are resolved among the components of the link's owner;
  // "Frame1.Edit1" goes on into a frame, "Owner" is the owner itself.
  Parts := ARef.Split('.');
  Owner := ScopeOwnerOf(FLink);
  AObject := nil;
  for I := 0 to High(Parts) do
  begin
    if SameText(Parts[I], 'Owner') or ((I = 0) and SameText(Parts[I], Owner.Name)) then
      AObject := Owner
    else
      AObject := FindOwned(Owner, Parts[I]);
    if AObject = nil then
    begin
      if (I = 0) and (Length(Parts) > 1) then
        Exit(refOtherForm);
      if Owner.Kind in [foInherited, foInline] then
        Exit(refAncestor);
      Exit(refMissing);
    end;
    if (I < High(Parts)) and (AObject.Kind <> foInline) and (AObject <> Owner) then
      Exit(refMissing);
    Owner := AObject;
  end;
  Result := refFound;
end;

function TFormChecker.ComponentSuggestion(const ARef: string): string;
var
  Names: TStringList;
begin
  // Only a plain name is matched: a path into a frame is the user's own.
  if Pos('.', ARef) > 0 then
    Exit('');
  Names := TStringList.Create;
  try
    AddOwnedNames(ScopeOwnerOf(FLink), Names);
    Result := Suggestion(ARef, Names);
  finally
    Names.Free;
  end;
end;

function TFormChecker.Describe(AObject: TorvFormObject; var ASide: TSide): Boolean;
var
  InfoClass: TorvClassInfoClass;
  ClassTypeName: string;
  Present: Boolean;
begin
  Result := False;
  ASide.Obj := AObject;
  if IsVariable(AObject) then
  begin
    ClassTypeName := StringOf(AObject.Properties, 'ClassTypeName', Present);
    if not Present then
    begin
      if AObject.Kind = foInherited then
      begin
        NotChecked(Format(rsClassFromAncestor, [ASide.Role, ASide.Ref]));
        Exit;
      end;
      ClassTypeName := 'TObject';
    end;
    ASide.TypeName := ClassTypeName;
    InfoClass := TorvClassRegistry.FindClass(ClassTypeName);
    if InfoClass = nil then
    begin
      // The variable refuses the class while the form is read.
      Report(svBroken, Format(rsSideSays, [ASide.Role, ASide.Ref,
        Format(rsUnknownClassType, [rsUnknownClass, ClassTypeName])]) +
        ClassSuggestion(ClassTypeName));
      Exit;
    end;
    ASide.InfoClass := InfoClass;
    ASide.Info := VariableInfoOf(ClassTypeName);
    Exit(True);
  end
  else
  begin
    ASide.TypeName := AObject.TypeName;
    InfoClass := BindingOf(AObject.TypeName, ASide.BoundName);
    if InfoClass = nil then
    begin
      // The link's setter refuses it while the form is read.
      if TorvClassRegistry.DerivedClasses then
        Report(svBroken, Format(rsSideSays, [ASide.Role, ASide.Ref, rsNotOrvaneComponent]) +
          Format(rsNoBoundAncestor, [ASide.TypeName]))
      else
        Report(svBroken, Format(rsSideSays, [ASide.Role, ASide.Ref, rsNotOrvaneComponent]) +
          Format(rsNotKnownHere, [ASide.TypeName]));
      Inc(FCounts.UnknownClasses);
      Exit;
    end;
  end;
  ASide.InfoClass := InfoClass;
  ASide.Info := InfoOf(InfoClass);
  Result := True;
end;

function TFormChecker.ResolveSide(AProps: TorvFormProperties; const AName, ARole: string;
  ARequired: Boolean; ASeverity: TSeverity; out ASide: TSide): Boolean;
var
  Value: TorvFormValue;
  Found: TorvFormObject;
begin
  Result := False;
  ASide := Default(TSide);
  ASide.Role := ARole;
  Value := AProps.Value(AName);
  if (Value = nil) or ((Value.Kind = fvIdent) and SameText(Value.Text, 'nil')) then
  begin
    if not ARequired then
      Exit;
    if (Value = nil) and FFromAncestor then
      NotChecked(Format(rsFromAncestor, [ARole]))
    else
      Report(ASeverity, Format(rsNotSet, [ARole]));
    Exit;
  end;
  if Value.Kind <> fvIdent then
  begin
    Report(svBroken, Format(rsNotAReference, [ARole, Value.Text]));
    Exit;
  end;
  ASide.Ref := Value.Text;
  case Resolve(Value.Text, Found) of
    refFound: Result := Describe(Found, ASide);
    refMissing: Report(ASeverity, Format(rsNoComponent, [ARole, ASide.Ref]) +
      ComponentSuggestion(ASide.Ref));
    refOtherForm:
      if ASeverity <> svQuiet then
        NotChecked(Format(rsOtherForm, [ARole, ASide.Ref]));
    refAncestor:
      if ASeverity <> svQuiet then
        NotChecked(Format(rsMaybeInAncestor, [ARole, ASide.Ref]));
  end;
end;

{ Name the class whose features a component of a derived class shows. }
function BoundAs(const ASide: TSide): string;
begin
  Result := '';
  if (ASide.BoundName <> '') and not SameText(ASide.BoundName, ASide.TypeName) then
    Result := Format(rsBoundAs, [ASide.TypeName, ASide.BoundName]);
end;

function TFormChecker.LookUp(AProps: TorvFormProperties; const ASide: TSide; ASideKnown: Boolean;
  AKind: TorvFeatureKind; const AName: TorvLinkName; ARequired: Boolean;
  ASeverity: TSeverity; const AConsequence: string): TorvFeature;
var
  FeatureName: string;
  Present: Boolean;
begin
  Result := nil;
  FeatureName := StringOf(AProps, AName.Setting, Present);
  if FeatureName = '' then
  begin
    if not ARequired then
      Exit;
    if not Present and FFromAncestor then
      NotChecked(Format(rsFromAncestor, [AName.Setting]))
    else
      Report(ASeverity, Format(rsNotSet, [AName.Setting]) + AConsequence);
    Exit;
  end;
  if not ASideKnown then
    Exit;
  case AKind of
    fkProperty: Result := ASide.Info.FindProperty(FeatureName);
    fkEvent: Result := ASide.Info.FindEvent(FeatureName);
    fkMethod: Result := ASide.Info.FindMethod(FeatureName);
  else
    Result := nil;
  end;
  if Result = nil then
    Report(ASeverity, Format(rsSideSays, [ASide.Role, ASide.Ref,
      NameProblem(ASide.Info, AKind, FeatureName, AName)]) + BoundAs(ASide) + AConsequence);
end;

procedure TFormChecker.CheckAccess(const ASide: TSide; AProp: TorvPropertyInfo;
  ANeed: TorvPropertyStyleFlag; ASeverity: TSeverity; const AConsequence: string);
var
  Text: string;
begin
  if (AProp = nil) or (ANeed in AProp.Styles) then
    Exit;
  if ANeed = psReadable then
    Text := Format(rsCannotRead, [AProp.Name])
  else
    Text := Format(rsCannotWrite, [AProp.Name]);
  Report(ASeverity, Format(rsSideSays, [ASide.Role, ASide.Ref, Text]) + AConsequence);
end;

procedure TFormChecker.CheckPolicy(const ASide: TSide; AFeature: TorvFeature; ACall: Boolean);
var
  Text: string;
begin
  if (LinkPolicy = nil) or (AFeature = nil) or LinkPolicy.Allows(ASide.Info, AFeature) then
    Exit;
  if ACall then
    Text := Format(rsPolicyNoCall, [AFeature.Name])
  else
    Text := Format(rsPolicyNoWrite, [AFeature.Name]);
  Report(svBroken, Format(rsSideSays, [ASide.Role, ASide.Ref, Text]) + rsPolicyRefuses);
end;

procedure TFormChecker.CheckIndexList(AProps: TorvFormProperties; const ASide: TSide;
  AProp: TorvPropertyInfo; const AListProp, AListName: string);
var
  List: TorvFormValue;
  Needed, I, Ignored: Integer;
begin
  if AProp = nil then
    Exit;
  Needed := AProp.GetIndexCount;
  List := AProps.Value(AListProp);
  if List = nil then
  begin
    if (Needed > 0) and not FFromAncestor then
      Report(svWarning, Format(rsSideSays, [ASide.Role, ASide.Ref, Format(rsIndexAbsent,
        [Format(rsNotArray, [AListName]), AListProp, Signature(AProp)])]) + rsIndexesUnset);
    Exit;
  end;
  // The reader takes the list item by item as strings and fails on anything else.
  if List.Kind <> fvList then
  begin
    Report(svBroken, Format(rsNotAList, [AListProp]));
    Exit;
  end;
  for I := 0 to List.ElementCount - 1 do
    if List.Elements(I).Kind <> fvString then
    begin
      Report(svBroken, Format(rsItemNotString, [AListProp, I]));
      Exit;
    end;
  if List.ElementCount < Needed then
  begin
    Report(svWarning, Format(rsSideSays, [ASide.Role, ASide.Ref, Format(rsIndexCount,
      [Format(rsDimensionSize, [AListName]), AListProp, List.ElementCount, Signature(AProp)])]) +
      rsIndexesUnset);
    Exit;
  end;
  for I := 0 to Needed - 1 do
    if List.Elements(I).Text = '' then
      Report(svWarning, Format(rsIndexEmpty, [AListProp, AProp.GetIndexes(I).Name,
        Signature(AProp)]));
  // Items past the indexes are dropped unused; empty ones are what a new
  // link starts with, so only values that would be lost are worth a word.
  Ignored := 0;
  for I := Needed to List.ElementCount - 1 do
    if List.Elements(I).Text <> '' then
      Inc(Ignored);
  if Ignored > 0 then
    Report(svWarning, Format(rsIndexIgnored, [AListProp, Ignored, Signature(AProp)]));
end;

function TFormChecker.OptionOf(AProps: TorvFormProperties; const AName: string): Integer;
var
  Value: TorvFormValue;
begin
  Value := AProps.Value(AName);
  if Value = nil then
  begin
    if FFromAncestor then
      Exit(-1);
    Exit(Ord(voConstant));
  end;
  Result := -1;
  if Value.Kind = fvIdent then
    Result := GetEnumValue(TypeInfo(TorvValueOptions), Value.Text);
  if Result < 0 then
    Report(svBroken, Format(rsUnknownOption, [AName, Value.Text]));
end;

procedure TFormChecker.CheckOrder(AProps: TorvFormProperties; const AFirst, ALater, AMessage: string;
  ASeverity: TSeverity);
var
  First, Later: Integer;
begin
  First := AProps.IndexOf(AFirst);
  Later := AProps.IndexOf(ALater);
  if (First >= 0) and (Later >= 0) and (Later < First) then
    Report(ASeverity, Format(AMessage, [ALater, AFirst]));
end;

procedure TFormChecker.CheckHeldClass(const ASource, ATarget: TSide;
  ASourceProp, ATargetProp: TorvPropertyInfo);
begin
  // The bindings mirror the host classes' tree, so a binding that derives
  // from the variable's binding stands for a class the variable may hold.
  // A variable as the source may hold any descendant of its class: only a
  // component of a known class is judged.
  if (ASourceProp = nil) or (ATargetProp = nil) or (ASourceProp.Name <> 'Self') or
    (ATargetProp.Name <> 'Self') or not IsVariable(ATarget.Obj) or IsVariable(ASource.Obj) then
    Exit;
  if not ASource.InfoClass.InheritsFrom(ATarget.InfoClass) then
    Report(svBroken, Format(rsSideSays, [ATarget.Role, ATarget.Ref, Format(rsNotOfHeldClass,
      [ATarget.TypeName, ASource.TypeName])]) +
      rsFirstCopyRaises);
end;

procedure TFormChecker.CheckP2P(AProps: TorvFormProperties);
var
  Source, Target: TSide;
  SourceKnown, TargetKnown: Boolean;
  SourceProp, TargetProp: TorvPropertyInfo;
  TargetEvent: TorvFeature;
begin
  SourceKnown := ResolveSide(AProps, 'Source', 'Source', True, svBroken, Source);
  TargetKnown := ResolveSide(AProps, 'Target', 'Target', True, svBroken, Target);
  SourceProp := TorvPropertyInfo(LookUp(AProps, Source, SourceKnown, fkProperty,
    lnP2PSourceProperty, True, svBroken, ''));
  TargetProp := TorvPropertyInfo(LookUp(AProps, Target, TargetKnown, fkProperty,
    lnP2PTargetProperty, True, svBroken, ''));
  // The events are optional for Connect: without them the link copies once.
  LookUp(AProps, Source, SourceKnown, fkEvent, lnP2PSourceEvent, False, svWarning, rsSetOnlyOnce);
  TargetEvent := LookUp(AProps, Target, TargetKnown, fkEvent, lnP2PTargetEvent, False, svWarning,
    rsNoCopyBack);
  CheckAccess(Source, SourceProp, psReadable, svBroken, rsFirstCopyRaises);
  CheckAccess(Target, TargetProp, psWritable, svBroken, rsFirstCopyRaises);
  if TargetEvent <> nil then
  begin
    CheckAccess(Target, TargetProp, psReadable, svWarning, rsCopyBackRaises);
    CheckAccess(Source, SourceProp, psWritable, svWarning, rsCopyBackRaises);
  end;
  CheckPolicy(Target, TargetProp, False);
  if TargetEvent <> nil then
    CheckPolicy(Source, SourceProp, False);
  CheckHeldClass(Source, Target, SourceProp, TargetProp);
  CheckIndexList(AProps, Source, SourceProp, 'SourcePropertyIndexes', 'SourcePropertyIndex');
  CheckIndexList(AProps, Target, TargetProp, 'TargetPropertyIndexes', 'TargetPropertyIndex');
end;

procedure TFormChecker.CheckE2P(AProps: TorvFormProperties);
var
  Source, Target, ValueComponent: TSide;
  SourceKnown, TargetKnown, ValueKnown, Present: Boolean;
  Event: TorvEventInfo;
  TargetProp, ValueProp: TorvPropertyInfo;
  Option: Integer;
  Severity: TSeverity;
  ParamName: string;
begin
  SourceKnown := ResolveSide(AProps, 'Source', 'Source', True, svBroken, Source);
  TargetKnown := ResolveSide(AProps, 'Target', 'Target', True, svBroken, Target);
  Event := TorvEventInfo(LookUp(AProps, Source, SourceKnown, fkEvent, lnE2PSourceEvent, True,
    svBroken, ''));
  TargetProp := TorvPropertyInfo(LookUp(AProps, Target, TargetKnown, fkProperty,
    lnE2PTargetProperty, True, svBroken, ''));
  CheckAccess(Target, TargetProp, psWritable, svWarning, rsEveryFiringRaises);
  CheckPolicy(Target, TargetProp, False);
  CheckIndexList(AProps, Target, TargetProp, 'TargetPropertyIndexes', 'TargetPropertyIndex');

  Option := OptionOf(AProps, 'ValueOptions');
  // Every value source may be filled in; only the chosen one must resolve.
  // A component reference is set while the form is read, used or not.
  if Option = Ord(voComponentProperty) then
    Severity := svBroken
  else
    Severity := svQuiet;
  ValueKnown := ResolveSide(AProps, 'ValueComponent', 'ValueComponent', Severity = svBroken,
    Severity, ValueComponent);
  if Option = Ord(voComponentProperty) then
  begin
    ValueProp := TorvPropertyInfo(LookUp(AProps, ValueComponent, ValueKnown, fkProperty,
      lnE2PValueComponentProperty, True, svBroken, ''));
    CheckAccess(ValueComponent, ValueProp, psReadable, svWarning, rsEveryFiringRaises);
    CheckIndexList(AProps, ValueComponent, ValueProp, 'ValueComponentPropertyIndexes',
      'ValueComponentPropertyIndex');
  end
  else if Option = Ord(voEventProperty) then
  begin
    ParamName := StringOf(AProps, 'ValueEventParameter', Present);
    if ParamName = '' then
    begin
      if not Present and FFromAncestor then
        NotChecked(Format(rsFromAncestor, ['ValueEventParameter']))
      else
        Report(svBroken, Format(rsNotSet, ['ValueEventParameter']));
    end
    else if (Event <> nil) and (Event.Find(ParamName) = nil) then
      Report(svBroken, Format(rsSideSays, [Source.Role, Source.Ref,
        EventParameterProblem(Source.Info, Event, ParamName, lnE2PValueEventParameter)]));
    CheckOrder(AProps, 'SourceEvent', 'ValueEventParameter', rsReadTooEarly, svBroken);
  end;
end;

procedure TFormChecker.CheckParameterItem(AItem: TorvFormProperties; AIndex: Integer;
  AMethod: TorvMethodInfo; AEvent: TorvEventInfo);
var
  Component: TSide;
  ComponentKnown, Present: Boolean;
  ParamName, PropName, EventParam: string;
  Option: Integer;
  Severity: TSeverity;
  Prop: TorvPropertyInfo;
begin
  ParamName := StringOf(AItem, 'ParameterName', Present);
  if (AMethod <> nil) and (AMethod.Find(ParamName) = nil) then
    Report(svWarning, Format(rsUnresolvedMethodParameter, [FLink.Name, AIndex, ParamName]) + rsCallRefused);
  Option := OptionOf(AItem, 'Options');
  if Option = Ord(voComponentProperty) then
    Severity := svWarning
  else
    Severity := svQuiet;
  ComponentKnown := ResolveSide(AItem, 'Component',
    Format('TargetMethodParameters[%d].Component', [AIndex]), False, Severity, Component);
  if Option = Ord(voComponentProperty) then
  begin
    if AItem.Value('Component') = nil then
      Report(svWarning, Format(rsUnresolvedComponent, [FLink.Name, AIndex, ParamName]) + rsCallRefused);
    PropName := StringOf(AItem, 'ComponentProperty', Present);
    if not ComponentKnown then
      Exit;
    Prop := Component.Info.FindProperty(PropName);
    if Prop = nil then
    begin
      Report(svWarning, Format(rsUnresolvedComponentProperty, [FLink.Name, AIndex, PropName]) +
        FeatureSuggestion(Component.Info, fkProperty, PropName) + rsCallRefused);
      Exit;
    end;
    // The argument is read before the call and written back after it.
    CheckAccess(Component, Prop, psReadable, svWarning, rsEveryFiringRaises);
    CheckAccess(Component, Prop, psWritable, svWarning, rsEveryFiringRaises);
    CheckIndexList(AItem, Component, Prop, 'ComponentPropertyIndexes', 'ComponentPropertyIndex');
  end
  else if Option = Ord(voEventProperty) then
  begin
    EventParam := StringOf(AItem, 'EventParameter', Present);
    if (AEvent <> nil) and (AEvent.Find(EventParam) = nil) then
      Report(svWarning, Format(rsUnresolvedEventParameter, [FLink.Name, AIndex, EventParam]) +
        rsCallRefused);
  end;
end;

procedure TFormChecker.CheckE2M(AProps: TorvFormProperties);
var
  Source, Target: TSide;
  SourceKnown, TargetKnown, Fed, Present: Boolean;
  Event: TorvEventInfo;
  Method: TorvMethodInfo;
  Items: TorvFormValue;
  I, J: Integer;
begin
  SourceKnown := ResolveSide(AProps, 'Source', 'Source', True, svBroken, Source);
  TargetKnown := ResolveSide(AProps, 'Target', 'Target', True, svBroken, Target);
  Event := TorvEventInfo(LookUp(AProps, Source, SourceKnown, fkEvent, lnE2MSourceEvent, True,
    svBroken, ''));
  Method := TorvMethodInfo(LookUp(AProps, Target, TargetKnown, fkMethod, lnE2MTargetMethod, True,
    svBroken, ''));
  CheckPolicy(Target, Method, True);
  Items := AProps.Value('TargetMethodParameters');
  if Items = nil then
  begin
    if FFromAncestor then
      Exit;
  end
  else if Items.Kind <> fvCollection then
  begin
    Report(svBroken, Format(rsNotACollection, ['TargetMethodParameters']));
    Exit;
  end
  else
  begin
    CheckOrder(AProps, 'TargetMethod', 'TargetMethodParameters', rsEmptiedTooEarly, svWarning);
    CheckOrder(AProps, 'SourceEvent', 'TargetMethodParameters', rsReadTooEarly, svWarning);
    for I := 0 to Items.ItemCount - 1 do
      CheckParameterItem(Items.Items(I), I, Method, Event);
  end;
  if Method = nil then
    Exit;
  for J := 0 to Method.GetArgCount - 1 do
  begin
    Fed := False;
    if Items <> nil then
      for I := 0 to Items.ItemCount - 1 do
        if StringOf(Items.Items(I), 'ParameterName', Present) = Method.GetArgs(J).Name then
          Fed := True;
    if not Fed then
      Report(svWarning, Format(rsNoArgument, [Method.GetArgs(J).Name, Method.Name]));
  end;
end;

procedure TFormChecker.CheckLink(ALink: TorvFormObject);
var
  I: Integer;
  Reasons: string;
begin
  FLink := ALink;
  FFromAncestor := ALink.Kind = foInherited;
  FReasons.Clear;
  FWarnings.Clear;
  case LinkKindOf(ALink) of
    lkP2P: CheckP2P(ALink.Properties);
    lkE2P: CheckE2P(ALink.Properties);
    lkE2M: CheckE2M(ALink.Properties);
    lkNone: ;
  end;
  Inc(FCounts.Links);
  if FReasons.Count = 0 then
  begin
    Say(ALink, rsLinkOk);
    Inc(FCounts.Ok);
  end
  else
  begin
    Reasons := FReasons[0];
    for I := 1 to FReasons.Count - 1 do
      Reasons := Reasons + '; ' + FReasons[I];
    Say(ALink, Format(rsLinkBroken, [Reasons]));
    Inc(FCounts.Broken);
  end;
  for I := 0 to FWarnings.Count - 1 do
    Warn(ALink, FWarnings[I]);
end;

procedure TFormChecker.CheckVariable(AObject: TorvFormObject);
var
  ClassTypeName: string;
  Present: Boolean;
begin
  ClassTypeName := StringOf(AObject.Properties, 'ClassTypeName', Present);
  if Present and (TorvClassRegistry.FindClass(ClassTypeName) = nil) then
    Warn(AObject, Format(rsVariableUnreadable, [rsUnknownClass, ClassTypeName]) +
      ClassSuggestion(ClassTypeName));
end;

procedure TFormChecker.Walk(AObject: TorvFormObject);
var
  I: Integer;
  Child: TorvFormObject;
begin
  for I := 0 to AObject.ChildCount - 1 do
  begin
    Child := AObject.Children(I);
    if IsList(AObject) then
    begin
      if LinkKindOf(Child) <> lkNone then
        CheckLink(Child)
      else
        Warn(Child, Format(rsNotChecked, [Format(rsNotALink, [Child.TypeName])]));
    end
    else if LinkKindOf(Child) <> lkNone then
    begin
      // A link outside a list is written with the root as its parent.
      if IsScopeOwner(AObject) or IsKnown(AObject) then
        Warn(Child, rsNotInList)
      else
        Warn(Child, Format(rsNotChecked, [Format(rsParentUnknown, [AObject.Name,
          AObject.TypeName])]));
    end;
    if IsVariable(Child) then
      CheckVariable(Child);
    Walk(Child);
  end;
end;

{ Entry points }

function CheckFormText(const AText, AFileName: string; AReport: TStrings): TorvCheckCounts;
var
  Root: TorvFormObject;
  Checker: TFormChecker;
begin
  Root := ParseFormText(AText, AFileName);
  try
    Checker := TFormChecker.Create(AFileName, AReport);
    try
      Checker.Walk(Root);
      Result := Checker.Counts;
    finally
      Checker.Free;
    end;
  finally
    Root.Free;
  end;
end;

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

function CheckFormFile(const AFileName: string; AReport: TStrings): TorvCheckCounts;
begin
  Result := CheckFormText(ReadFileText(AFileName), AFileName, AReport);
end;

procedure AddCounts(var ATotal: TorvCheckCounts; const ACounts: TorvCheckCounts);
begin
  Inc(ATotal.Links, ACounts.Links);
  Inc(ATotal.Ok, ACounts.Ok);
  Inc(ATotal.Broken, ACounts.Broken);
  Inc(ATotal.Warnings, ACounts.Warnings);
  Inc(ATotal.UnknownClasses, ACounts.UnknownClasses);
end;

function SummaryLine(const ACounts: TorvCheckCounts): string;
begin
  Result := Format(rsSummary, [ACounts.Links, ACounts.Ok, ACounts.Broken, ACounts.Warnings]);
end;

finalization
  ClearClassParents;

end.
