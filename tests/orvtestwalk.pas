{ Checks that hold for every registered binding, walked through the
  registry: each class is declared, named and dispatched the same way, so a
  slip in any one of them shows here without a test of its own. }
unit Orvtestwalk;

{$I orvdefines.inc}

interface

uses
  Classes, SysUtils, Variants, fpcunit, testregistry,
  Orvcommon;

type
  { A fresh host object for a registered class name, with whatever must be
    freed after it (in order). }
  THost = record
    Subject: TObject;
    Keep: array of TObject;
    TempFile: string;
    Reason: string; // why no object could be made, when Subject is nil
  end;

  { Make a fresh object of the class registered as AName into ASubject and
    add to AKeep, in order, what must be freed after it; answer False for a
    name the maker does not know. }
  TorvHostMaker = function(const AName: string; out ASubject: TObject; AKeep: TFPList): Boolean;

  TTestBindingWalk = class(TTestCase)
  private
    FNames: TStringList;
    FFailures: TStringList;
    procedure AddName(const AClassName: string);
    procedure Failure(const AClassName, AText: string);
    procedure CheckFailures;
  protected
    procedure SetUp; override;
    procedure TearDown; override;
  published
    procedure TestEveryBindingIsDeclaredAndNamed;
    procedure TestOwnFeatureTotals;
    procedure TestReadablePropertiesRead;
    procedure TestWritablePropertiesTakeWhatTheyRead;
    procedure TestDeclaredMethodsAreDispatched;
    procedure TestHandlersAreHookedAndRestored;
    { Handlers of its own on every other event of the owner, others none:
      each event gets its own handler back, round after round. }
    procedure TestSavedHandlersGoBackToTheirOwnEvents;
    { Every property with typed accessors reads, writes and fails through
      them exactly as through GetProperty and SetProperty. }
    procedure TestTypedAccessorsMatchTheVariantPath;
  end;

{ Let the walks make objects of the classes that AMaker knows. }
procedure RegisterHostMaker(AMaker: TorvHostMaker);
{ Declare that the binding of AHostName and those below it re-declare
  AFeature as their host class does: the later entry is no accident. }
procedure RegisterRedeclared(const AHostName, AFeature: string);
{ Return a fresh object for the registered class name AName, or the reason
  why none can be made. }
function MakeHost(const AName: string): THost;
procedure FreeHost(var AHost: THost);
{ Answer whether the tests registered AName for their own purposes. }
function IsTestOnly(const AName: string): Boolean;

implementation

uses
  Orvmetadump;

const
  { Registered by the tests themselves, for their own purposes. }
  TestOnlyNames: array[0..8] of string = ('TTestWidget', 'TBrokenWidget', 'TOrvTwiceRegistered',
    'TTestEdit', 'TPokeEdit', 'TTestPanel',
    'TDesignProbe', 'TLateEdit', 'TLateWidget');

  { Declared, and answered "Method ... not found!" on purpose: they hand out
    raw storage or tear the owner down behind the back of everything that
    holds it. }
  DeclinedMethods: array[0..3] of string = ('InitInstance', 'CleanupInstance', 'NewInstance',
    'FreeInstance');

  { Methods without arguments that must not run on a fresh object, by name
    or as "Class.Method": they free it, run its construction or destruction
    steps a second time, block, start a thread, take or release a lock that
    nobody balances, run a message loop, or read through a reference the
    host leaves nil on a fresh object (an action link's action), free what
    the host's destructor frees again (the LCL's hint window its own
    timer), or hand the caller a system handle that it must delete. Their
    own tests cover them. }
  UncalledMethods: array[0..31] of string = ('Free', 'AfterConstruction', 'BeforeDestruction',
    'WaitFor', 'Resume', 'Suspend', 'LockList', 'UnlockList', 'Lock', 'Unlock', 'ShowModal', 'Run',
    'HandleMessage', 'TReader.FixupReferences', 'TBasicActionLink.Execute',
    'TBasicActionLink.Update', 'TActionLink.Execute', 'TActionLink.Update',
    'TControlActionLink.Execute', 'TControlActionLink.Update', 'TWinControlActionLink.Execute',
    'TWinControlActionLink.Update', 'THintWindow.DestroyComponents', 'TBitmap.ReleaseHandle',
    'TBitmap.ReleaseMaskHandle', 'TBitmap.ReleasePalette', 'TIcon.ReleaseHandle',
    'TCustomForm.Release', 'TCustomForm.GetFormImage', 'TCustomForm.DestroyComponents',
    'TDataModule.DestroyComponents', 'TMenu.DestroyComponents');

  { Events that a binding declares but does not hook in the owner's own
    fields, as "Class.Event": the host lacks them, or keeps them on another
    object. An entry covers the bindings below that class too. }
  UnhookedEvents: array[0..6] of string = ('TProbeBase.OnPing', 'TProbeBase.OnGone',
    'TControl.OnCanResize', 'TImage.OnProgress', 'TNotebook.OnPageChanged',
    'TMenuItem.OnAdvancedDrawItem', 'TApplication.OnMessage');

type
  { TThread cannot be made without a body to run. }
  TIdleThread = class(TThread)
  protected
    procedure Execute; override;
  end;

var
  HostMakers: array of TorvHostMaker;

var
  Redeclarations: array of record
    HostName, Feature: string;
  end;

procedure RegisterRedeclared(const AHostName, AFeature: string);
begin
  SetLength(Redeclarations, Length(Redeclarations) + 1);
  Redeclarations[High(Redeclarations)].HostName := AHostName;
  Redeclarations[High(Redeclarations)].Feature := AFeature;
end;

{ Answer whether AInfoClass declares AFeature a second time on purpose. }
function IsRedeclared(AInfoClass: TClass; const AFeature: string): Boolean;
var
  I: Integer;
  Declaring: TClass;
begin
  for I := 0 to High(Redeclarations) do
    if Redeclarations[I].Feature = AFeature then
    begin
      Declaring := TorvClassRegistry.FindClass(Redeclarations[I].HostName);
      if (Declaring <> nil) and AInfoClass.InheritsFrom(Declaring) then
        Exit(True);
    end;
  Result := False;
end;

procedure RegisterHostMaker(AMaker: TorvHostMaker);
begin
  SetLength(HostMakers, Length(HostMakers) + 1);
  HostMakers[High(HostMakers)] := AMaker;
end;

{ Ask the registered makers for an object of the class AName. }
function MakeRegisteredHost(const AName: string; var AHost: THost): Boolean;
var
  I, J: Integer;
  Kept: TFPList;
begin
  Kept := TFPList.Create;
  try
    for I := 0 to High(HostMakers) do
      if HostMakers[I](AName, AHost.Subject, Kept) then
      begin
        SetLength(AHost.Keep, Kept.Count + 1);
        AHost.Keep[0] := AHost.Subject;
        for J := 0 to Kept.Count - 1 do
          AHost.Keep[J + 1] := TObject(Kept[J]);
        Exit(True);
      end;
  finally
    Kept.Free;
  end;
  Result := False;
end;

procedure TIdleThread.Execute;
begin
end;

function TempFileName: string;
begin
  Result := GetTempFileName(GetTempDir(False), 'orvwalk');
end;

function MakeHost(const AName: string): THost;

  procedure Keep(AObject: TObject);
  begin
    SetLength(Result.Keep, Length(Result.Keep) + 1);
    Result.Keep[High(Result.Keep)] := AObject;
  end;

  procedure KeepFirst(AObject: TObject);
  var
    I: Integer;
  begin
    SetLength(Result.Keep, Length(Result.Keep) + 1);
    for I := High(Result.Keep) downto 1 do
      Result.Keep[I] := Result.Keep[I - 1];
    Result.Keep[0] := AObject;
  end;

var
  Stream: TStream;
  Collection: TCollection;
begin
  Result := Default(THost);
  case AName of
    'TObject': Result.Subject := TObject.Create;
    'TInterfacedObject': Result.Subject := TInterfacedObject.Create;
    'TList': Result.Subject := TList.Create;
    'TThreadList': Result.Subject := TThreadList.Create;
    'TInterfaceList': Result.Subject := TInterfaceList.Create;
    'TBits': Result.Subject := TBits.Create;
    'TPersistent': Result.Subject := TPersistent.Create;
    'TCollectionItem':
      begin
        Collection := TCollection.Create(TCollectionItem);
        Result.Subject := Collection.Add;
        Keep(Collection);
        Exit;
      end;
    'TCollection': Result.Subject := TCollection.Create(TCollectionItem);
    'TOwnedCollection': Result.Subject := TOwnedCollection.Create(nil, TCollectionItem);
    'TStrings': Result.Subject := TStrings.Create;
    'TStringList': Result.Subject := TStringList.Create;
    'TStream': Result.Subject := TStream.Create;
    'THandleStream', 'TFileStream':
      begin
        Result.TempFile := TempFileName;
        Result.Subject := TFileStream.Create(Result.TempFile, fmCreate);
        if AName = 'THandleStream' then
        begin
          Keep(Result.Subject);
          Result.Subject := THandleStream.Create(TFileStream(Result.Subject).Handle);
        end;
      end;
    'TCustomMemoryStream': Result.Subject := TCustomMemoryStream.Create;
    'TMemoryStream': Result.Subject := TMemoryStream.Create;
    'TStringStream': Result.Subject := TStringStream.Create('text');
    'TFiler', 'TReader', 'TWriter':
      begin
        Stream := TMemoryStream.Create;
        Keep(Stream);
        case AName of
          // The host's filer has no constructor of its own.
          'TFiler': Result.Subject := TFiler.Create;
          'TReader': Result.Subject := TReader.Create(Stream, 1024);
        else
          Result.Subject := TWriter.Create(Stream, 1024);
        end;
        // The filer goes before its stream.
        KeepFirst(Result.Subject);
        Exit;
      end;
    'TThread': Result.Subject := TIdleThread.Create(True);
    'TComponent': Result.Subject := TComponent.Create(nil);
    'TBasicActionLink': Result.Subject := TBasicActionLink.Create(nil);
    'TBasicAction': Result.Subject := TBasicAction.Create(nil);
    'TResourceStream': Result.Reason := 'needs a resource linked into the program';
    // The variable's class info acts on the object it holds, not on its owner.
    'TorvVariable': Result.Reason := 'supplies its own class info';
    // A second application object would take over the program's globals.
    'TApplication': Result.Reason := 'the program has its one application';
    // The screen makes its monitors with the widgetset's handles; one made
    // alone has none, and the widgetset then answers its bounds with
    // whatever was on the stack.
    'TMonitor': Result.Reason := 'only the screen makes a monitor with a handle';
  else
    if MakeRegisteredHost(AName, Result) then
      Exit;
    // Any component class registered for streaming, as the LCL's are.
    if (GetClass(AName) <> nil) and GetClass(AName).InheritsFrom(TComponent) then
      Result.Subject := TComponentClass(GetClass(AName)).Create(nil)
    else
      Result.Reason := 'no way to make one is known to this test';
  end;
  if Result.Subject <> nil then
    KeepFirst(Result.Subject);
end;

procedure FreeHost(var AHost: THost);
var
  I: Integer;
begin
  for I := 0 to High(AHost.Keep) do
    AHost.Keep[I].Free;
  if AHost.TempFile <> '' then
    DeleteFile(AHost.TempFile);
  AHost := Default(THost);
end;

function Listed(const AList: array of string; const AName: string): Boolean; forward;

{ Answer whether AList holds "Class.AName" for the host class of AInfoClass
  or of a binding it rests on: an entry covers the classes below. }
function ListedInChain(const AList: array of string; AInfoClass: TClass;
  const AName: string): Boolean;
const
  Suffix = 'ClassInfo';
var
  C: TClass;
  Host: string;
begin
  C := AInfoClass;
  while (C <> nil) and (C <> TorvClassInfo) do
  begin
    Host := C.ClassName;
    SetLength(Host, Length(Host) - Length(Suffix));
    if Listed(AList, Host + '.' + AName) then
      Exit(True);
    C := C.ClassParent;
  end;
  Result := False;
end;

function Listed(const AList: array of string; const AName: string): Boolean;
var
  I: Integer;
begin
  for I := 0 to High(AList) do
    if AList[I] = AName then
      Exit(True);
  Result := False;
end;

{ Answer whether AError is the one for a name the chain does not handle. }
function NotHandled(AError: Exception; const AFormat, AName: string): Boolean;
begin
  Result := AError.Message = Format(AFormat, [AName]);
end;

function IsTestOnly(const AName: string): Boolean;
var
  I: Integer;
begin
  for I := 0 to High(TestOnlyNames) do
    if SameText(TestOnlyNames[I], AName) then
      Exit(True);
  Result := False;
end;

{ TTestBindingWalk }

procedure TTestBindingWalk.SetUp;
begin
  FNames := TStringList.Create;
  FFailures := TStringList.Create;
  TorvClassRegistry.Iterate(@AddName);
end;

procedure TTestBindingWalk.TearDown;
begin
  FFailures.Free;
  FNames.Free;
end;

procedure TTestBindingWalk.AddName(const AClassName: string);
begin
  if not IsTestOnly(AClassName) then
    FNames.Add(AClassName);
end;

procedure TTestBindingWalk.Failure(const AClassName, AText: string);
begin
  FFailures.Add(AClassName + ': ' + AText);
end;

procedure TTestBindingWalk.CheckFailures;
begin
  if FFailures.Count > 0 then
    Fail(IntToStr(FFailures.Count) + ' problem(s):' + LineEnding + FFailures.Text);
end;

function FeatureCount(AInfo: TorvClassInfo; AKind: TorvFeatureKind): Integer;
begin
  case AKind of
    fkProperty: Result := AInfo.GetPropertyCount;
    fkMethod: Result := AInfo.GetMethodCount;
    fkConstructor: Result := AInfo.GetConstructorCount;
  else
    Result := AInfo.GetEventCount;
  end;
end;

function FeatureAt(AInfo: TorvClassInfo; AKind: TorvFeatureKind; AIndex: Integer): TorvFeature;
begin
  case AKind of
    fkProperty: Result := AInfo.GetProperties(AIndex);
    fkMethod: Result := AInfo.GetMethods(AIndex);
    fkConstructor: Result := AInfo.GetConstructors(AIndex);
  else
    Result := AInfo.GetEvents(AIndex);
  end;
end;

procedure TTestBindingWalk.TestEveryBindingIsDeclaredAndNamed;
var
  I, J: Integer;
  Kind: TorvFeatureKind;
  InfoClass: TorvClassInfoClass;
  Info: TorvClassInfo;
  Feature: TorvFeature;
  Seen: TStringList;
begin
  Seen := TStringList.Create;
  try
    Seen.Sorted := True;
    Seen.CaseSensitive := True;
    for I := 0 to FNames.Count - 1 do
    begin
      InfoClass := TorvClassRegistry.FindClass(FNames[I]);
      if InfoClass.ClassName <> FNames[I] + 'ClassInfo' then
        Failure(FNames[I], 'registered with ' + InfoClass.ClassName);
      try
        Info := DeclaredInfo(InfoClass);
      except
        on E: Exception do
        begin
          Failure(FNames[I], 'declaration fails: ' + E.Message);
          Continue;
        end;
      end;
      try
        // A name declared twice in one chain hides the later declaration.
        // Constructors are listed, never invoked, and each class lists its own.
        for Kind := Low(Kind) to High(Kind) do
        begin
          if Kind = fkConstructor then
            Continue;
          Seen.Clear;
          for J := 0 to FeatureCount(Info, Kind) - 1 do
          begin
            Feature := FeatureAt(Info, Kind, J);
            if (Seen.IndexOf(Feature.Name) >= 0) and not IsRedeclared(InfoClass, Feature.Name) then
              Failure(FNames[I], Feature.Name + ' declared twice')
            else
              Seen.Add(Feature.Name);
          end;
        end;
      finally
        Info.Free;
      end;
    end;
  finally
    Seen.Free;
  end;
  CheckFailures;
end;

procedure TTestBindingWalk.TestOwnFeatureTotals;
const
  ClassesUnit: array[0..23] of string = ('TList', 'TThreadList', 'TInterfaceList', 'TBits',
    'TPersistent', 'TCollectionItem', 'TCollection', 'TOwnedCollection', 'TStrings',
    'TStringList', 'TStream', 'THandleStream', 'TFileStream', 'TCustomMemoryStream',
    'TMemoryStream', 'TStringStream', 'TResourceStream', 'TFiler', 'TReader', 'TWriter',
    'TThread', 'TComponent', 'TBasicActionLink', 'TBasicAction');
var
  Sum, Own: TorvFeatureCounts;
  I: Integer;
begin
  Sum := Default(TorvFeatureCounts);
  for I := 0 to High(ClassesUnit) do
  begin
    AssertEquals('registered in order', I + 2, FNames.IndexOf(ClassesUnit[I]));
    Own := OwnFeatures(TorvClassRegistry.FindClass(ClassesUnit[I]));
    Inc(Sum.Properties, Own.Properties);
    Inc(Sum.Methods, Own.Methods);
    Inc(Sum.Functions, Own.Functions);
    Inc(Sum.Constructors, Own.Constructors);
    Inc(Sum.Events, Own.Events);
  end;
  AssertEquals('properties', 67, Sum.Properties);
  AssertEquals('methods', 158, Sum.Methods);
  AssertEquals('functions', 62, Sum.Functions);
  AssertEquals('constructors', 14, Sum.Constructors);
  AssertEquals('events', 15, Sum.Events);
end;

procedure TTestBindingWalk.TestReadablePropertiesRead;
var
  I, J, K: Integer;
  Host: THost;
  Info: TorvClassInfo;
  Prop: TorvPropertyInfo;
  Checked: Integer;
begin
  Checked := 0;
  for I := 0 to FNames.Count - 1 do
  begin
    Host := MakeHost(FNames[I]);
    if Host.Subject = nil then
    begin
      if (FNames[I] <> 'TResourceStream') and (FNames[I] <> 'TorvVariable') and
        (FNames[I] <> 'TApplication') and (FNames[I] <> 'TMonitor') then
        Failure(FNames[I], Host.Reason);
      Continue;
    end;
    Info := nil;
    try
      Info := DeclaredInfo(TorvClassRegistry.FindClass(FNames[I]));
      Info.SetOwner(Host.Subject);
      for J := 0 to Info.GetPropertyCount - 1 do
      begin
        Prop := Info.GetProperties(J);
        if not (psReadable in Prop.Styles) then
          Continue;
        for K := 0 to Prop.GetIndexCount - 1 do
          Prop.GetIndexes(K).Value := 0;
        try
          Info.GetProperty(Prop);
        except
          // The host may refuse a read on a fresh object (an empty list, a
          // missing COM object); the binding must not.
          on E: EAccessViolation do
            Failure(FNames[I], Prop.Name + ': ' + E.Message);
          on E: Exception do
            if E.Message = Format(rsPropertyNotFound, [Prop.Name]) then
              Failure(FNames[I], Prop.Name + ' is declared readable but not read');
        end;
        Inc(Checked);
      end;
      Info.SetOwner(nil);
    finally
      Info.Free;
      FreeHost(Host);
    end;
  end;
  AssertTrue('properties were read', Checked > 100);
  CheckFailures;
end;

procedure TTestBindingWalk.TestWritablePropertiesTakeWhatTheyRead;
var
  I, J, K: Integer;
  Host: THost;
  Info: TorvClassInfo;
  Prop: TorvPropertyInfo;
  Value: Variant;
  Written: Integer;
begin
  Written := 0;
  for I := 0 to FNames.Count - 1 do
  begin
    Host := MakeHost(FNames[I]);
    if Host.Subject = nil then
      Continue;
    Info := nil;
    try
      Info := DeclaredInfo(TorvClassRegistry.FindClass(FNames[I]));
      Info.SetOwner(Host.Subject);
      for J := 0 to Info.GetPropertyCount - 1 do
      begin
        Prop := Info.GetProperties(J);
        if Prop.Styles * [psReadable, psWritable] <> [psReadable, psWritable] then
          Continue;
        for K := 0 to Prop.GetIndexCount - 1 do
          Prop.GetIndexes(K).Value := 0;
        try
          Value := Info.GetProperty(Prop);
        except
          // Not readable on a fresh object: the read test judges that.
          Continue;
        end;
        try
          Info.SetProperty(Prop, Value);
          Inc(Written);
        except
          on E: EAccessViolation do
            Failure(FNames[I], Prop.Name + ': ' + E.Message);
          on E: Exception do
            if NotHandled(E, rsPropertyNotFound, Prop.Name) then
              Failure(FNames[I], Prop.Name + ' is declared writable but not written');
        end;
      end;
      Info.SetOwner(nil);
    finally
      Info.Free;
      FreeHost(Host);
    end;
  end;
  AssertTrue('properties were written', Written > 50);
  CheckFailures;
end;

{ Typed accessors against the variant path }

type
  { What one read or write did: the value it ended with, or its error. }
  TOutcome = record
    Value: Variant;
    Error: string; // class name and message; empty when it succeeded
  end;

function ErrorText(E: Exception): string;
begin
  Result := E.ClassName + ': ' + E.Message;
end;

function ReadVariant(AInfo: TorvClassInfo; AProp: TorvPropertyInfo): TOutcome;
begin
  Result.Error := '';
  try
    Result.Value := AInfo.GetProperty(AProp);
  except
    on E: Exception do
      Result.Error := ErrorText(E);
  end;
end;

{ Read AProp through AAccess, as a variant of the kind GetProperty answers. }
function ReadTyped(AInfo: TorvClassInfo; AAccess: PorvTypedAccess): TOutcome;
begin
  Result.Error := '';
  try
    case AAccess^.Kind of
      tyString: Result.Value := TorvGetString(AAccess^.Getter)(AInfo.Owner);
      tyOrdinal: Result.Value := TorvGetOrdinal(AAccess^.Getter)(AInfo.Owner);
      tyBoolean: Result.Value := TorvGetBoolean(AAccess^.Getter)(AInfo.Owner);
      tyFloat: Result.Value := TorvGetFloat(AAccess^.Getter)(AInfo.Owner);
      tyObject: Result.Value := PtrInt(TorvGetObject(AAccess^.Getter)(AInfo.Owner));
    end;
  except
    on E: Exception do
      Result.Error := ErrorText(E);
  end;
end;

function WriteVariant(AInfo: TorvClassInfo; AProp: TorvPropertyInfo;
  const AValue: Variant): string;
begin
  Result := '';
  try
    AInfo.SetProperty(AProp, AValue);
  except
    on E: Exception do
      Result := ErrorText(E);
  end;
end;

function WriteTyped(AInfo: TorvClassInfo; AAccess: PorvTypedAccess; const AValue: Variant): string;
begin
  Result := '';
  try
    case AAccess^.Kind of
      tyString: TorvSetString(AAccess^.Setter)(AInfo.Owner, VarToStr(AValue));
      tyOrdinal: TorvSetOrdinal(AAccess^.Setter)(AInfo.Owner, AValue);
      tyBoolean: TorvSetBoolean(AAccess^.Setter)(AInfo.Owner, AValue);
      tyFloat: TorvSetFloat(AAccess^.Setter)(AInfo.Owner, AValue);
      tyObject: TorvSetObject(AAccess^.Setter)(AInfo.Owner, TObject(PtrInt(AValue)));
    end;
  except
    on E: Exception do
      Result := ErrorText(E);
  end;
end;

function SameOutcome(const A, B: TOutcome): Boolean;
begin
  if (A.Error <> '') or (B.Error <> '') then
    Result := A.Error = B.Error
  else
    Result := (VarType(A.Value) = VarType(B.Value)) and (A.Value = B.Value) or
      (VarToStr(A.Value) = VarToStr(B.Value));
end;

function OutcomeText(const A: TOutcome): string;
begin
  if A.Error <> '' then
    Result := A.Error
  else
    Result := VarToStr(A.Value);
end;

{ Compare AProp of AInfo through both paths: the read, and the write of what
  was read followed by a read; report a difference through AFail. Answer
  whether the property has typed accessors. }
function CompareTypedPath(AInfo: TorvClassInfo; AProp: TorvPropertyInfo;
  out AProblem: string): Boolean;
var
  Access: PorvTypedAccess;
  ByVariant, ByTyped: TOutcome;
  WroteVariant, WroteTyped: string;
begin
  AProblem := '';
  Access := AInfo.TypedAccess(AProp);
  Result := Access <> nil;
  if not Result then
    Exit;
  // A link resolves the directions from these: they must match the styles.
  if (Access^.Getter <> nil) <> (psReadable in AProp.Styles) then
    AProblem := 'typed getter does not match the readable style'
  else if (Access^.Setter <> nil) <> (psWritable in AProp.Styles) then
    AProblem := 'typed setter does not match the writable style'
  else if AProp.GetIndexCount > 0 then
    AProblem := 'an indexed property has typed accessors';
  if (AProblem <> '') or (Access^.Getter = nil) then
    Exit;
  ByVariant := ReadVariant(AInfo, AProp);
  ByTyped := ReadTyped(AInfo, Access);
  if not SameOutcome(ByVariant, ByTyped) then
  begin
    AProblem := Format('read %s by variant, %s typed', [OutcomeText(ByVariant),
      OutcomeText(ByTyped)]);
    Exit;
  end;
  if (Access^.Setter = nil) or (ByVariant.Error <> '') then
    Exit;
  WroteVariant := WriteVariant(AInfo, AProp, ByVariant.Value);
  ByVariant := ReadVariant(AInfo, AProp);
  WroteTyped := WriteTyped(AInfo, Access, ByTyped.Value);
  ByTyped := ReadVariant(AInfo, AProp);
  if WroteVariant <> WroteTyped then
    AProblem := Format('write failed with "%s" by variant, "%s" typed', [WroteVariant, WroteTyped])
  else if not SameOutcome(ByVariant, ByTyped) then
    AProblem := Format('wrote %s by variant, %s typed', [OutcomeText(ByVariant),
      OutcomeText(ByTyped)]);
end;

procedure TTestBindingWalk.TestTypedAccessorsMatchTheVariantPath;
var
  I, J: Integer;
  Host: THost;
  Info: TorvClassInfo;
  Prop: TorvPropertyInfo;
  Problem: string;
  Typed, Plain: Integer;
begin
  Typed := 0;
  Plain := 0;
  for I := 0 to FNames.Count - 1 do
  begin
    Host := MakeHost(FNames[I]);
    if Host.Subject = nil then
      Continue;
    Info := nil;
    try
      Info := DeclaredInfo(TorvClassRegistry.FindClass(FNames[I]));
      Info.SetOwner(Host.Subject);
      for J := 0 to Info.GetPropertyCount - 1 do
      begin
        Prop := Info.GetProperties(J);
        if CompareTypedPath(Info, Prop, Problem) then
          Inc(Typed)
        else
          Inc(Plain);
        if Problem <> '' then
          Failure(FNames[I], Prop.Name + ': ' + Problem);
      end;
      Info.SetOwner(nil);
    finally
      Info.Free;
      FreeHost(Host);
    end;
  end;
  // Most bound properties are plain: a generator that stopped emitting
  // accessors would leave nearly all of them to the variant path.
  AssertTrue(Format('typed properties compared: %d of %d', [Typed, Typed + Plain]),
    Typed * 2 > Plain);
  CheckFailures;
end;

procedure TTestBindingWalk.TestDeclaredMethodsAreDispatched;
var
  I, J, K: Integer;
  Host: THost;
  Info: TorvClassInfo;
  Method: TorvMethodInfo;
  Checked: Integer;
begin
  Checked := 0;
  for I := 0 to FNames.Count - 1 do
  begin
    Host := MakeHost(FNames[I]);
    if Host.Subject = nil then
      Continue;
    Info := nil;
    try
      Info := DeclaredInfo(TorvClassRegistry.FindClass(FNames[I]));
      Info.SetOwner(Host.Subject);
      for J := 0 to Info.GetMethodCount - 1 do
      begin
        Method := Info.GetMethods(J);
        if Listed(DeclinedMethods, Method.Name) or
          ((Method.GetArgCount = 0) and (Listed(UncalledMethods, Method.Name) or
          ListedInChain(UncalledMethods, Info.ClassType, Method.Name)))
        then
          Continue;
        // An argument of no value fails every conversion, so a method with
        // arguments shows it is dispatched without reaching the host; one
        // without runs, on an object that earlier calls may have changed.
        for K := 0 to Method.GetArgCount - 1 do
          Method.GetArgs(K).Value := Null;
        try
          Info.InvokeMethod(Method);
        except
          on E: EAccessViolation do
            Failure(FNames[I], Method.Name + ': ' + E.Message);
          on E: Exception do
            if NotHandled(E, rsMethodNotFound, Method.Name) then
              Failure(FNames[I], Method.Name + ' is declared but not dispatched');
        end;
        Inc(Checked);
      end;
      Info.SetOwner(nil);
    finally
      Info.Free;
      FreeHost(Host);
    end;
  end;
  AssertTrue('methods were dispatched', Checked > 300);
  CheckFailures;
end;

{ Return how many method references in AObject's fields are bound to AData. }
function BoundHandlers(AObject: TObject; AData: Pointer): Integer;
var
  Slot: PMethod;
  Last: PtrUInt;
begin
  Result := 0;
  Slot := PMethod(AObject);
  Last := PtrUInt(AObject) + PtrUInt(AObject.InstanceSize) - SizeOf(TMethod);
  while PtrUInt(Slot) <= Last do
  begin
    if (Slot^.Data = AData) and (Slot^.Code <> nil) then
      Inc(Result);
    Slot := PMethod(PByte(Slot) + SizeOf(Pointer));
  end;
end;

{ Return how many of AInfo's events are listed as not hooked, for its
  class or a class it derives from. }
function UnhookedCount(AInfo: TorvClassInfo): Integer;
var
  I: Integer;
begin
  Result := 0;
  for I := 0 to AInfo.GetEventCount - 1 do
    if ListedInChain(UnhookedEvents, AInfo.ClassType, AInfo.GetEvents(I).Name) then
      Inc(Result);
end;

procedure TTestBindingWalk.TestHandlersAreHookedAndRestored;
var
  I: Integer;
  Host: THost;
  Info: TorvClassInfo;
  Before, Hooked: TBytes;

  function Snapshot: TBytes;
  begin
    Result := nil;
    SetLength(Result, Host.Subject.InstanceSize);
    Move(Pointer(Host.Subject)^, Result[0], Length(Result));
  end;

begin
  for I := 0 to FNames.Count - 1 do
  begin
    Host := MakeHost(FNames[I]);
    if Host.Subject = nil then
      Continue;
    Info := nil;
    try
      Info := DeclaredInfo(TorvClassRegistry.FindClass(FNames[I]));
      Before := Snapshot;
      Info.SetOwner(Host.Subject);
      Hooked := Snapshot;
      // Each hooked event holds a handler bound to the class info.
      if BoundHandlers(Host.Subject, Info) < Info.GetEventCount - UnhookedCount(Info)
      then
        Failure(FNames[I], Format('%d events declared, %d hooked', [Info.GetEventCount,
          BoundHandlers(Host.Subject, Info)]));
      Info.SetOwner(nil);
      if (Info.GetEventCount > UnhookedCount(Info)) and
        (CompareByte(Before[0], Hooked[0], Length(Before)) = 0)
      then
        Failure(FNames[I], 'declares events but hooks none');
      if CompareByte(Before[0], Snapshot[0], Length(Before)) <> 0 then
        Failure(FNames[I], 'the owner is not as it was after unconnecting');
    finally
      Info.Free;
      FreeHost(Host);
    end;
  end;
  CheckFailures;
end;

{ What the owner's events are given in the test below; never called. }
procedure PlantedHandler;
begin
end;

type
  TOffsets = array of PtrUInt;

{ Return the offsets in AObject of the method references bound to AData. }
function BoundOffsets(AObject: TObject; AData: Pointer): TOffsets;
var
  Offset: PtrUInt;
  Slot: PMethod;
begin
  Result := nil;
  Offset := 0;
  while Offset + SizeOf(TMethod) <= PtrUInt(AObject.InstanceSize) do
  begin
    Slot := PMethod(PByte(AObject) + Offset);
    if (Slot^.Data = AData) and (Slot^.Code <> nil) then
    begin
      SetLength(Result, Length(Result) + 1);
      Result[High(Result)] := Offset;
    end;
    Inc(Offset, SizeOf(Pointer));
  end;
end;

procedure TTestBindingWalk.TestSavedHandlersGoBackToTheirOwnEvents;
var
  I, J, Round: Integer;
  Host: THost;
  Info: TorvClassInfo;
  Fields: TOffsets;
  Expected: TMethod;

  function Field(AIndex: Integer): PMethod;
  begin
    Result := PMethod(PByte(Host.Subject) + Fields[AIndex]);
  end;

  { A handler of its own on every other event, on the other half in the
    next round, so that a handler kept from a round shows in the next. }
  function Planted(AIndex: Integer): TMethod;
  begin
    Result := Default(TMethod);
    if Odd(AIndex + Round) then
    begin
      Result.Code := @PlantedHandler;
      Result.Data := Pointer(PtrUInt(1000 * (Round + 1) + AIndex));
    end;
  end;

begin
  for I := 0 to FNames.Count - 1 do
  begin
    Host := MakeHost(FNames[I]);
    if Host.Subject = nil then
      Continue;
    Info := nil;
    Fields := nil;
    try
      Info := DeclaredInfo(TorvClassRegistry.FindClass(FNames[I]));
      // The owner's event fields: where the hooks go.
      Info.SetOwner(Host.Subject);
      Fields := BoundOffsets(Host.Subject, Info);
      Info.SetOwner(nil);
      for Round := 0 to 1 do
      begin
        // Written in place: the setters may do more than keep the handler.
        for J := 0 to High(Fields) do
          Field(J)^ := Planted(J);
        Info.SetOwner(Host.Subject);
        if Length(BoundOffsets(Host.Subject, Info)) <> Length(Fields) then
          Failure(FNames[I], Format('round %d: %d events hooked of %d', [Round,
            Length(BoundOffsets(Host.Subject, Info)), Length(Fields)]));
        Info.SetOwner(nil);
        for J := 0 to High(Fields) do
        begin
          Expected := Planted(J);
          if not CompareMem(Field(J), @Expected, SizeOf(TMethod)) then
            Failure(FNames[I], Format('round %d: the event at offset %d got %p back, not %p',
              [Round, Fields[J], Field(J)^.Data, Expected.Data]));
        end;
      end;
    finally
      Info.Free;
      for J := 0 to High(Fields) do
        Field(J)^ := Default(TMethod);
      FreeHost(Host);
    end;
  end;
  CheckFailures;
end;

initialization
  RegisterTest('Bindings', TTestBindingWalk);
end.
