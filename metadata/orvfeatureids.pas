{ The vocabulary of feature names that bindings dispatch on.

  A binding selects the code for a feature with a case on the feature's Id:
  its name interned as a member of TorvFeatureId. An integer case costs a
  jump where a case on strings costs one string compare per label, and it
  still reads as a list of names. The member for a name is "fi" followed by
  the name exactly as the descriptors spell it; a name that is not listed
  here interns as fiUnknown, which no binding handles. Keep the list sorted;
  add a name when a binding starts to declare it. }
unit Orvfeatureids;

{$I orvdefines.inc}

interface

type
  TorvFeatureId = (
    fiUnknown, fiAction, fiAdd, fiAddObject, fiAddStrings, fiAfterConstruction, fiAncestor,
    fiAppend, fiAssign, fiBeforeDestruction, fiBeginReferences, fiBeginUpdate, fiBits,
    fiCanHandleExceptions, fiCapacity, fiCheckValue, fiClassInfo, fiClassName, fiClassNameIs,
    fiClassParent, fiClassType, fiCleanupInstance, fiClear, fiCollection, fiCommaText, fiComObject,
    fiComponentCount, fiComponentIndex, fiComponents, fiComponentState, fiComponentStyle,
    fiCopyFrom, fiCopyValue, fiCount, fiDataString, fiDefaultHandler, fiDelete, fiDesignInfo,
    fiDestroyComponents, fiDestroying, fiDispatch, fiDisplayName, fiDuplicates, fiEndOfList,
    fiEndReferences, fiEndUpdate, fiEquals, fiExchange, fiExecute, fiExecuteAction, fiExecuteTarget,
    fiExpand, fiExtract, fiFieldAddress, fiFind, fiFindComponent, fiFindItemID, fiFirst,
    fiFixupReferences, fiFixupResourceHeader, fiFlushBuffer, fiFree, fiFreeInstance,
    fiFreeNotification, fiFreeOnRelease, fiFreeOnTerminate, fiGetInterface, fiGetInterfaceEntry,
    fiGetInterfaceTable, fiGetNamePath, fiGetParentComponent, fiGetText, fiHandle, fiHandlesTarget,
    fiHasParent, fiID, fiIgnoreChildren, fiIndex, fiIndexOf, fiIndexOfName, fiIndexOfObject,
    fiInheritsFrom, fiInitInstance, fiInsert, fiInsertComponent, fiInsertObject, fiInstance,
    fiInstanceSize, fiItemClass, fiItems, fiLast, fiList, fiLoadFromFile, fiLoadFromStream, fiLock,
    fiLockList, fiLookupRoot, fiMemory, fiMethodAddress, fiMethodName, fiMove, fiName, fiNames,
    fiNewInstance, fiNextID, fiNextValue, fiObjects, fiOpenBit, fiOwner, fiPack, fiParent,
    fiPosition, fiPriority, fiPropName, fiRead, fiReadBoolean, fiReadBuffer, fiReadChar,
    fiReadCollection, fiReadComponent, fiReadComponentRes, fiReadCurrency, fiReadDate, fiReadFloat,
    fiReadIdent, fiReadInt64, fiReadInteger, fiReadListBegin, fiReadListEnd, fiReadPrefix,
    fiReadResHeader, fiReadRootComponent, fiReadSignature, fiReadSingle, fiReadStr, fiReadString,
    fiReadValue, fiReadWideString, fiRefCount, fiRegisterChanges, fiRemove, fiRemoveComponent,
    fiRemoveFreeNotification, fiResume, fiReturnValue, fiRoot, fiRootAncestor, fiSafeCallException,
    fiSaveToFile, fiSaveToStream, fiSeek, fiSelf, fiSetText, fiSize, fiSort, fiSorted, fiStrings,
    fiStringsAdapter, fiSuspend, fiSuspended, fiTag, fiTerminate, fiTerminated, fiText, fiThreadID,
    fiUnlock, fiUnlockList, fiUnRegisterChanges, fiUpdate, fiUpdateAction, fiUpdateCount,
    fiUpdateTarget, fiValues, fiVCLComObject, fiWaitFor, fiWrite, fiWriteBoolean, fiWriteBuffer,
    fiWriteChar, fiWriteCollection, fiWriteComponent, fiWriteComponentRes, fiWriteCurrency,
    fiWriteDate, fiWriteDescendent, fiWriteDescendentRes, fiWriteFloat, fiWriteIdent,
    fiWriteListBegin, fiWriteListEnd, fiWriteResourceHeader, fiWriteRootComponent, fiWriteSignature,
    fiWriteSingle, fiWriteStr, fiWriteString, fiWriteWideString);

{ Return the member for a feature name (exact, case-sensitive), or fiUnknown. }
function FeatureIdOf(const AName: string): TorvFeatureId;

implementation

uses
  TypInfo,
  Orvnameindex;

var
  Names: TorvNameIndex;

procedure InitNames;
var
  Id: TorvFeatureId;
begin
  Names.Init(False);
  // The names come from the members' own spelling, so the list cannot drift
  // from the ids.
  for Id := Succ(fiUnknown) to High(Id) do
    Names.Add(Copy(GetEnumName(TypeInfo(TorvFeatureId), Ord(Id)), 3, MaxInt), Ord(Id));
end;

function FeatureIdOf(const AName: string): TorvFeatureId;
var
  Position: Integer;
begin
  Position := Names.Find(AName);
  if Position < 0 then
    Result := fiUnknown
  else
    Result := TorvFeatureId(Position);
end;

initialization
  InitNames;
end.
