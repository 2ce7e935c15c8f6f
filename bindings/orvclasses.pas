{ Bindings of the Classes unit: lists, strings, collections, streams,
  filers, threads, components and basic actions.

  Each binding follows one pattern (see Orvsystem): its descriptors in a
  TorvDescriptors record, then GetProperty, SetProperty and InvokeMethod
  with one case on the feature's Id each, and for its events a saved handler
  per event, ConnectEventHandlers / UnConnectEventHandlers, and one handler
  method per event that runs the saved handler first, then the listeners,
  and writes var parameters back.

  Where the host differs, the binding says so in a comment at that member. }
unit Orvclasses;

{$I orvdefines.inc}

interface

uses
  Classes, SysUtils, Variants,
  Orvcommon, Orvsystem;

type
  { TListClassInfo }

  TListClassInfo = class(TObjectClassInfo)
  end;

  { TThreadListClassInfo }

  TThreadListClassInfo = class(TObjectClassInfo)
  end;

  { TInterfaceListClassInfo }

  TInterfaceListClassInfo = class(TInterfacedObjectClassInfo)
  end;

  { TBitsClassInfo }

  TBitsClassInfo = class(TObjectClassInfo)
  end;

  { TPersistentClassInfo }

  TPersistentClassInfo = class(TObjectClassInfo)
  public
    procedure InvokeMethod(AMethod: TorvMethodInfo); override;
  end;

  { TCollectionItemClassInfo }

  TCollectionItemClassInfo = class(TPersistentClassInfo)
  end;

  { TCollectionClassInfo }

  TCollectionClassInfo = class(TPersistentClassInfo)
  end;

  { TOwnedCollectionClassInfo }

  TOwnedCollectionClassInfo = class(TCollectionClassInfo)
  end;

  { TStringsClassInfo }

  TStringsClassInfo = class(TPersistentClassInfo)
  public
    function GetProperty(AProp: TorvPropertyInfo): Variant; override;
    procedure SetProperty(AProp: TorvPropertyInfo; const AValue: Variant); override;
    procedure InvokeMethod(AMethod: TorvMethodInfo); override;
  end;

  { TStringListClassInfo }

  TStringListClassInfo = class(TStringsClassInfo)
  private
    FFindIndex: Integer;
    FOnChange: TNotifyEvent;
    FOnChanging: TNotifyEvent;
  protected
    procedure ConnectEventHandlers; override;
    procedure UnConnectEventHandlers; override;
  public
    function GetProperty(AProp: TorvPropertyInfo): Variant; override;
    procedure SetProperty(AProp: TorvPropertyInfo; const AValue: Variant); override;
    procedure InvokeMethod(AMethod: TorvMethodInfo); override;
    procedure OnChange(Sender: TObject);
    procedure OnChanging(Sender: TObject);
  end;

  { TStreamClassInfo }

  TStreamClassInfo = class(TObjectClassInfo)
  end;

  { THandleStreamClassInfo }

  THandleStreamClassInfo = class(TStreamClassInfo)
  end;

  { TFileStreamClassInfo }

  TFileStreamClassInfo = class(THandleStreamClassInfo)
  end;

  { TCustomMemoryStreamClassInfo }

  TCustomMemoryStreamClassInfo = class(TStreamClassInfo)
  end;

  { TMemoryStreamClassInfo }

  TMemoryStreamClassInfo = class(TCustomMemoryStreamClassInfo)
  end;

  { TStringStreamClassInfo }

  TStringStreamClassInfo = class(TStreamClassInfo)
  end;

  { TResourceStreamClassInfo }

  TResourceStreamClassInfo = class(TCustomMemoryStreamClassInfo)
  end;

  { TFilerClassInfo }

  TFilerClassInfo = class(TObjectClassInfo)
  end;

  { TReaderClassInfo }

  TReaderClassInfo = class(TFilerClassInfo)
  end;

  { TWriterClassInfo }

  TWriterClassInfo = class(TFilerClassInfo)
  end;

  { TThreadClassInfo }

  TThreadClassInfo = class(TObjectClassInfo)
  end;

  { TComponentClassInfo }

  TComponentClassInfo = class(TPersistentClassInfo)
  private
    FComponentState: TComponentState;
    FComponentStyle: TComponentStyle;
  public
    function GetProperty(AProp: TorvPropertyInfo): Variant; override;
    procedure SetProperty(AProp: TorvPropertyInfo; const AValue: Variant); override;
    procedure InvokeMethod(AMethod: TorvMethodInfo); override;
  end;

  { TBasicActionLinkClassInfo }

  TBasicActionLinkClassInfo = class(TObjectClassInfo)
  end;

  { TBasicActionClassInfo }

  TBasicActionClassInfo = class(TComponentClassInfo)
  end;

implementation

uses
  Orvfeatureids, Orvvalues;

const
  ListDescriptors: TorvDescriptors = (
    Properties: 'Define::Capacity::psReadable..psWritable::pvPublic::0::Define::Count::' +
      'psReadable..psWritable::pvPublic::0::Define::Items::psReadable..psWritable..psIndexed::' +
      'pvPublic::1::Index::Define::List::psReadable::pvPublic::0';
    Methods: 'Add::msFunction::1::Item::Clear::msProcedure::0::Delete::msProcedure::1::Index::Exchange::' +
      'msProcedure::2::Index1::Index2::Expand::msFunction::0::Extract::msFunction::1::Item::' +
      'First::msFunction::0::IndexOf::msFunction::1::Item::Insert::msProcedure::2::Index::Item::' +
      'Last::msFunction::0::Move::msProcedure::2::CurIndex::NewIndex::Remove::msFunction::1::' +
      'Item::Pack::msProcedure::0';
    Constructors: '';
    Events: '');

  ThreadListDescriptors: TorvDescriptors = (
    Properties: 'Define::Duplicates::psReadable..psWritable::pvPublic::0';
    Methods: 'Add::msProcedure::1::Item::Clear::msProcedure::0::LockList::msFunction::0::Remove::' +
      'msProcedure::1::Item::UnlockList::msProcedure::0';
    Constructors: 'Create::0';
    Events: '');

  InterfaceListDescriptors: TorvDescriptors = (
    Properties: 'Define::Capacity::psReadable..psWritable::pvPublic::0::Define::Count::' +
      'psReadable..psWritable::pvPublic::0::Define::Items::psReadable..psWritable..psIndexed::' +
      'pvPublic::1::Index';
    Methods: 'Clear::msProcedure::0::Delete::msProcedure::1::Index::Exchange::msProcedure::2::Index1::' +
      'Index2::Expand::msFunction::0::First::msFunction::0::IndexOf::msFunction::1::Item::Add::' +
      'msFunction::1::Item::Insert::msProcedure::2::Index::Item::Last::msFunction::0::Remove::' +
      'msFunction::1::Item::Lock::msProcedure::0::Unlock::msProcedure::0';
    Constructors: 'Create::0';
    Events: '');

  BitsDescriptors: TorvDescriptors = (
    Properties: 'Define::Bits::psReadable..psWritable..psIndexed::pvPublic::1::Index::Define::Size::' +
      'psReadable..psWritable::pvPublic::0';
    Methods: 'OpenBit::msFunction::0';
    Constructors: '';
    Events: '');

  PersistentDescriptors: TorvDescriptors = (
    Properties: '';
    Methods: 'Assign::msProcedure::1::Source::GetNamePath::msFunction::0';
    Constructors: '';
    Events: '');

  CollectionItemDescriptors: TorvDescriptors = (
    Properties: 'Define::Collection::psReadable..psWritable::pvPublic::0::Define::ID::psReadable::' +
      'pvPublic::0::Define::Index::psReadable..psWritable::pvPublic::0::Define::DisplayName::' +
      'psReadable..psWritable::pvPublic::0';
    Methods: '';
    Constructors: 'Create::1::Collection';
    Events: '');

  CollectionDescriptors: TorvDescriptors = (
    Properties: 'Define::NextID::psReadable::pvProtected::0::Define::PropName::psReadable..psWritable::' +
      'pvProtected::0::Define::UpdateCount::psReadable::pvProtected::0::Define::Count::' +
      'psReadable::pvPublic::0::Define::ItemClass::psReadable::pvPublic::0::Define::Items::' +
      'psReadable..psWritable..psIndexed::pvPublic::1::Index';
    Methods: 'Add::msFunction::0::BeginUpdate::msProcedure::0::Clear::msProcedure::0::Delete::' +
      'msProcedure::1::Index::EndUpdate::msProcedure::0::FindItemID::msFunction::1::ID::Insert::' +
      'msFunction::1::Index';
    Constructors: 'Create::1::ItemClass';
    Events: '');

  OwnedCollectionDescriptors: TorvDescriptors = (
    Properties: '';
    Methods: '';
    Constructors: 'Create::2::AOwner::ItemClass';
    Events: '');

  StringsDescriptors: TorvDescriptors = (
    Properties: 'Define::Capacity::psReadable..psWritable::pvPublic::0::Define::CommaText::' +
      'psReadable..psWritable::pvPublic::0::Define::Count::psReadable::pvPublic::0::Define::' +
      'Names::psReadable..psIndexed::pvPublic::1::Index::Define::Objects::' +
      'psReadable..psWritable..psIndexed::pvPublic::1::Index::Define::Values::' +
      'psReadable..psWritable..psIndexed::pvPublic::1::Name::Define::Strings::' +
      'psReadable..psWritable..psIndexed::pvPublic::1::Index::Define::Text::' +
      'psReadable..psWritable::pvPublic::0::Define::StringsAdapter::psReadable..psWritable::' +
      'pvPublic::0';
    Methods: 'Add::msFunction::1::S::AddObject::msFunction::2::S::AObject::Append::msProcedure::1::S::' +
      'AddStrings::msProcedure::1::Strings::BeginUpdate::msProcedure::0::Clear::msProcedure::0::' +
      'Delete::msProcedure::1::Index::EndUpdate::msProcedure::0::Equals::msFunction::1::Strings::' +
      'Exchange::msProcedure::2::Index1::Index2::GetText::msFunction::0::IndexOf::msFunction::1::' +
      'S::IndexOfName::msFunction::1::Name::IndexOfObject::msFunction::1::AObject::Insert::' +
      'msProcedure::2::Index::S::InsertObject::msProcedure::3::Index::S::AObject::LoadFromFile::' +
      'msProcedure::1::FileName::LoadFromStream::msProcedure::1::Stream::Move::msProcedure::2::' +
      'CurIndex::NewIndex::SaveToFile::msProcedure::1::FileName::SaveToStream::msProcedure::1::' +
      'Stream::SetText::msProcedure::1::Text';
    Constructors: '';
    Events: '');

  StringListDescriptors: TorvDescriptors = (
    Properties: 'Define::Duplicates::psReadable..psWritable::pvPublic::0::Define::Sorted::' +
      'psReadable..psWritable::pvPublic::0';
    Methods: 'Find::msFunction::2::S::Index::Sort::msProcedure::0';
    Constructors: '';
    Events: 'Define::OnChange::pvPublic::1::Sender::Define::OnChanging::pvPublic::1::Sender');

  StreamDescriptors: TorvDescriptors = (
    Properties: 'Define::Position::psReadable..psWritable::pvPublic::0::Define::Size::' +
      'psReadable..psWritable::pvPublic::0';
    Methods: 'Read::msFunction::2::Buffer::Count::Write::msFunction::2::Buffer::Count::Seek::' +
      'msFunction::2::Offset::Origin::ReadBuffer::msProcedure::2::Buffer::Count::WriteBuffer::' +
      'msProcedure::2::Buffer::Count::CopyFrom::msFunction::2::Source::Count::ReadComponent::' +
      'msFunction::1::Instance::ReadComponentRes::msFunction::1::Instance::WriteComponent::' +
      'msProcedure::1::Instance::WriteComponentRes::msProcedure::2::ResName::Instance::' +
      'WriteDescendent::msProcedure::2::Instance::Ancestor::WriteDescendentRes::msProcedure::3::' +
      'ResName::Instance::Ancestor::WriteResourceHeader::msProcedure::2::ResName::FixupInfo::' +
      'FixupResourceHeader::msProcedure::1::FixupInfo::ReadResHeader::msProcedure::0';
    Constructors: '';
    Events: '');

  HandleStreamDescriptors: TorvDescriptors = (
    Properties: 'Define::Handle::psReadable::pvPublic::0';
    Methods: '';
    Constructors: 'Create::1::AHandle';
    Events: '');

  FileStreamDescriptors: TorvDescriptors = (
    Properties: '';
    Methods: '';
    Constructors: 'Create::2::FileName::Mode';
    Events: '');

  CustomMemoryStreamDescriptors: TorvDescriptors = (
    Properties: 'Define::Memory::psReadable::pvPublic::0';
    Methods: 'SaveToStream::msProcedure::1::Stream::SaveToFile::msProcedure::1::FileName';
    Constructors: '';
    Events: '');

  MemoryStreamDescriptors: TorvDescriptors = (
    Properties: 'Define::Capacity::psReadable..psWritable::pvProtected::0';
    Methods: 'Clear::msProcedure::0::LoadFromStream::msProcedure::1::Stream::LoadFromFile::msProcedure::' +
      '1::FileName';
    Constructors: '';
    Events: '');

  StringStreamDescriptors: TorvDescriptors = (
    Properties: 'Define::DataString::psReadable::pvPublic::0';
    Methods: 'ReadString::msFunction::1::Count::WriteString::msProcedure::1::AString';
    Constructors: 'Create::1::AString';
    Events: '');

  ResourceStreamDescriptors: TorvDescriptors = (
    Properties: '';
    Methods: '';
    Constructors: 'Create::3::Instance::ResName::ResType::CreateFromID::3::Instance::ResID::ResType';
    Events: '');

  FilerDescriptors: TorvDescriptors = (
    Properties: 'Define::Root::psReadable..psWritable::pvPublic::0::Define::LookupRoot::psReadable::' +
      'pvPublic::0::Define::Ancestor::psReadable..psWritable::pvPublic::0::Define::' +
      'IgnoreChildren::psReadable..psWritable::pvPublic::0';
    Methods: 'FlushBuffer::msProcedure::0';
    Constructors: 'Create::2::Stream::BufSize';
    Events: '');

  ReaderDescriptors: TorvDescriptors = (
    Properties: 'Define::PropName::psReadable::pvProtected::0::Define::CanHandleExceptions::psReadable::' +
      'pvProtected::0::Define::Owner::psReadable..psWritable::pvPublic::0::Define::Parent::' +
      'psReadable..psWritable::pvPublic::0::Define::Position::psReadable..psWritable::pvPublic::' +
      '0';
    Methods: 'BeginReferences::msProcedure::0::CheckValue::msProcedure::1::Value::EndOfList::' +
      'msFunction::0::EndReferences::msProcedure::0::FixupReferences::msProcedure::0::NextValue::' +
      'msFunction::0::Read::msProcedure::2::Buf::Count::ReadBoolean::msFunction::0::ReadChar::' +
      'msFunction::0::ReadCollection::msProcedure::1::Collection::ReadComponent::msFunction::1::' +
      'Component::ReadFloat::msFunction::0::ReadSingle::msFunction::0::ReadCurrency::msFunction::' +
      '0::ReadDate::msFunction::0::ReadIdent::msFunction::0::ReadInteger::msFunction::0::' +
      'ReadInt64::msFunction::0::ReadListBegin::msProcedure::0::ReadListEnd::msProcedure::0::' +
      'ReadPrefix::msProcedure::2::Flags::AChildPos::ReadRootComponent::msFunction::1::Root::' +
      'ReadSignature::msProcedure::0::ReadStr::msFunction::0::ReadString::msFunction::0::' +
      'ReadWideString::msFunction::0::ReadValue::msFunction::0::CopyValue::msProcedure::1::' +
      'Writer';
    Constructors: '';
    Events: 'Define::OnError::pvPublic::3::Reader::Message::Handled::Define::OnFindMethod::pvPublic::' +
      '4::Reader::MethodName::Address::Error::Define::OnSetName::pvPublic::3::Reader::Component::' +
      'Name::Define::OnReferenceName::pvPublic::2::Reader::Name::Define::OnAncestorNotFound::' +
      'pvPublic::4::Reader::ComponentName::ComponentClass::Component::Define::OnCreateComponent::' +
      'pvPublic::3::Reader::ComponentClass::Component::Define::OnFindComponentClass::pvPublic::' +
      '3::Reader::ClassName::ComponentClass');

  WriterDescriptors: TorvDescriptors = (
    Properties: 'Define::Position::psReadable..psWritable::pvPublic::0::Define::RootAncestor::' +
      'psReadable..psWritable::pvPublic::0';
    Methods: 'Write::msProcedure::2::Buf::Count::WriteBoolean::msProcedure::1::Value::WriteCollection::' +
      'msProcedure::1::Value::WriteComponent::msProcedure::1::Component::WriteChar::msProcedure::' +
      '1::Value::WriteDescendent::msProcedure::2::Root::AAncestor::WriteFloat::msProcedure::1::' +
      'Value::WriteSingle::msProcedure::1::Value::WriteCurrency::msProcedure::1::Value::' +
      'WriteDate::msProcedure::1::Value::WriteIdent::msProcedure::1::Ident::WriteListBegin::' +
      'msProcedure::0::WriteListEnd::msProcedure::0::WriteRootComponent::msProcedure::1::Root::' +
      'WriteSignature::msProcedure::0::WriteStr::msProcedure::1::Value::WriteString::' +
      'msProcedure::1::Value::WriteWideString::msProcedure::1::Value';
    Constructors: '';
    Events: 'Define::OnFindAncestor::pvPublic::5::Writer::Component::Name::Ancestor::RootAncestor');

  ThreadDescriptors: TorvDescriptors = (
    Properties: 'Define::ReturnValue::psReadable..psWritable::pvProtected::0::Define::Terminated::' +
      'psReadable::pvProtected::0::Define::FreeOnTerminate::psReadable..psWritable::pvPublic::0::' +
      'Define::Handle::psReadable::pvPublic::0::Define::Priority::psReadable..psWritable::' +
      'pvPublic::0::Define::Suspended::psReadable..psWritable::pvPublic::0::Define::ThreadID::' +
      'psReadable::pvPublic::0';
    Methods: 'Resume::msProcedure::0::Suspend::msProcedure::0::Terminate::msProcedure::0::WaitFor::' +
      'msFunction::0';
    Constructors: 'Create::1::CreateSuspended';
    Events: 'Define::OnTerminate::pvPublic::1::Sender');

  ComponentDescriptors: TorvDescriptors = (
    Properties: 'Define::ComObject::psReadable::pvPublic::0::Define::Components::psReadable..psIndexed::' +
      'pvPublic::1::Index::Define::ComponentCount::psReadable::pvPublic::0::Define::' +
      'ComponentIndex::psReadable..psWritable::pvPublic::0::Define::ComponentState::psReadable::' +
      'pvPublic::0::Define::ComponentStyle::psReadable::pvPublic::0::Define::DesignInfo::' +
      'psReadable..psWritable::pvPublic::0::Define::Owner::psReadable::pvPublic::0::Define::' +
      'VCLComObject::psReadable..psWritable::pvPublic::0::Define::Name::psReadable..psWritable::' +
      'pvPublished::0::Define::Tag::psReadable..psWritable::pvPublished::0';
    Methods: 'DestroyComponents::msProcedure::0::Destroying::msProcedure::0::ExecuteAction::msFunction::' +
      '1::Action::FindComponent::msFunction::1::AName::FreeNotification::msProcedure::1::' +
      'AComponent::RemoveFreeNotification::msProcedure::1::AComponent::FreeOnRelease::' +
      'msProcedure::0::GetParentComponent::msFunction::0::HasParent::msFunction::0::' +
      'InsertComponent::msProcedure::1::AComponent::RemoveComponent::msProcedure::1::AComponent::' +
      'UpdateAction::msFunction::1::Action';
    Constructors: 'Create::1::AOwner';
    Events: '');

  BasicActionLinkDescriptors: TorvDescriptors = (
    Properties: 'Define::Action::psReadable..psWritable::pvPublic::0';
    Methods: 'Execute::msFunction::0::Update::msFunction::0';
    Constructors: 'Create::1::AClient';
    Events: 'Define::OnChange::pvPublic::1::Sender');

  BasicActionDescriptors: TorvDescriptors = (
    Properties: '';
    Methods: 'HandlesTarget::msFunction::1::Target::UpdateTarget::msProcedure::1::Target::' +
      'ExecuteTarget::msProcedure::1::Target::Execute::msFunction::0::RegisterChanges::' +
      'msProcedure::1::Value::UnRegisterChanges::msProcedure::1::Value::Update::msFunction::0';
    Constructors: '';
    Events: 'Define::OnChange::pvProtected::1::Sender::Define::OnExecute::pvPublic::1::Sender::Define::' +
      'OnUpdate::pvPublic::1::Sender');

{ Value helpers for the cases below }

function Arg(AMethod: TorvMethodInfo; AIndex: Integer): Variant; inline;
begin
  Result := AMethod.GetArgs(AIndex).Value;
end;

function Index0(AProp: TorvPropertyInfo): Variant; inline;
begin
  Result := AProp.GetIndexes(0).Value;
end;

{ TPersistentClassInfo }

procedure TPersistentClassInfo.InvokeMethod(AMethod: TorvMethodInfo);
var
  Host: TPersistent;
begin
  Host := TPersistent(Owner);
  case AMethod.Id of
    fiAssign: Host.Assign(TPersistent(VarToObject(Arg(AMethod, 0))));
    fiGetNamePath: AMethod.Result := Host.GetNamePath;
  else
    inherited InvokeMethod(AMethod);
  end;
end;

{ TStringsClassInfo }

function TStringsClassInfo.GetProperty(AProp: TorvPropertyInfo): Variant;
var
  Host: TStrings;
begin
  Host := TStrings(Owner);
  case AProp.Id of
    fiCapacity: Result := Host.Capacity;
    fiCommaText: Result := Host.CommaText;
    fiCount: Result := Host.Count;
    fiNames: Result := Host.Names[Index0(AProp)];
    fiObjects: Result := ObjectToVar(Host.Objects[Index0(AProp)]);
    fiValues: Result := Host.Values[Index0(AProp)];
    fiStrings: Result := Host.Strings[Index0(AProp)];
    fiText: Result := Host.Text;
    fiStringsAdapter: Result := InterfaceToVar(Host.StringsAdapter);
  else
    Result := inherited GetProperty(AProp);
  end;
end;

procedure TStringsClassInfo.SetProperty(AProp: TorvPropertyInfo; const AValue: Variant);
var
  Host: TStrings;
begin
  Host := TStrings(Owner);
  case AProp.Id of
    fiCapacity: Host.Capacity := AValue;
    fiCommaText: Host.CommaText := AValue;
    fiObjects: Host.Objects[Index0(AProp)] := VarToObject(AValue);
    fiValues: Host.Values[Index0(AProp)] := AValue;
    fiStrings: Host.Strings[Index0(AProp)] := AValue;
    fiText: Host.Text := AValue;
    fiStringsAdapter: Host.StringsAdapter := IStringsAdapter(VarToPointer(AValue));
  else
    inherited SetProperty(AProp, AValue);
  end;
end;

procedure TStringsClassInfo.InvokeMethod(AMethod: TorvMethodInfo);
var
  Host: TStrings;
begin
  Host := TStrings(Owner);
  case AMethod.Id of
    fiAdd: AMethod.Result := Host.Add(Arg(AMethod, 0));
    fiAddObject: AMethod.Result := Host.AddObject(Arg(AMethod, 0), VarToObject(Arg(AMethod, 1)));
    fiAppend: Host.Append(Arg(AMethod, 0));
    fiAddStrings: Host.AddStrings(TStrings(VarToObject(Arg(AMethod, 0))));
    fiBeginUpdate: Host.BeginUpdate;
    fiClear: Host.Clear;
    fiDelete: Host.Delete(Arg(AMethod, 0));
    fiEndUpdate: Host.EndUpdate;
    fiEquals: AMethod.Result := Host.Equals(TStrings(VarToObject(Arg(AMethod, 0))));
    fiExchange: Host.Exchange(Arg(AMethod, 0), Arg(AMethod, 1));
    // The text is allocated for the caller, who releases it with StrDispose.
    fiGetText: AMethod.Result := PointerToVar(Host.GetText);
    fiIndexOf: AMethod.Result := Host.IndexOf(Arg(AMethod, 0));
    fiIndexOfName: AMethod.Result := Host.IndexOfName(Arg(AMethod, 0));
    fiIndexOfObject: AMethod.Result := Host.IndexOfObject(VarToObject(Arg(AMethod, 0)));
    fiInsert: Host.Insert(Arg(AMethod, 0), Arg(AMethod, 1));
    fiInsertObject:
      Host.InsertObject(Arg(AMethod, 0), Arg(AMethod, 1), VarToObject(Arg(AMethod, 2)));
    fiLoadFromFile: Host.LoadFromFile(Arg(AMethod, 0));
    fiLoadFromStream: Host.LoadFromStream(TStream(VarToObject(Arg(AMethod, 0))));
    fiMove: Host.Move(Arg(AMethod, 0), Arg(AMethod, 1));
    fiSaveToFile: Host.SaveToFile(Arg(AMethod, 0));
    fiSaveToStream: Host.SaveToStream(TStream(VarToObject(Arg(AMethod, 0))));
    fiSetText: Host.SetText(PChar(VarToPointer(Arg(AMethod, 0))));
  else
    inherited InvokeMethod(AMethod);
  end;
end;

{ TStringListClassInfo }

procedure TStringListClassInfo.ConnectEventHandlers;
var
  Host: TStringList;
begin
  inherited ConnectEventHandlers;
  Host := TStringList(Owner);
  FOnChange := Host.OnChange;
  Host.OnChange := @OnChange;
  FOnChanging := Host.OnChanging;
  Host.OnChanging := @OnChanging;
end;

procedure TStringListClassInfo.UnConnectEventHandlers;
var
  Host: TStringList;
begin
  Host := TStringList(Owner);
  Host.OnChange := FOnChange;
  Host.OnChanging := FOnChanging;
  inherited UnConnectEventHandlers;
end;

function TStringListClassInfo.GetProperty(AProp: TorvPropertyInfo): Variant;
var
  Host: TStringList;
begin
  Host := TStringList(Owner);
  case AProp.Id of
    fiDuplicates: Result := Ord(Host.Duplicates);
    fiSorted: Result := Host.Sorted;
  else
    Result := inherited GetProperty(AProp);
  end;
end;

procedure TStringListClassInfo.SetProperty(AProp: TorvPropertyInfo; const AValue: Variant);
var
  Host: TStringList;
begin
  Host := TStringList(Owner);
  case AProp.Id of
    fiDuplicates: Host.Duplicates := TDuplicates(Integer(AValue));
    fiSorted: Host.Sorted := AValue;
  else
    inherited SetProperty(AProp, AValue);
  end;
end;

procedure TStringListClassInfo.InvokeMethod(AMethod: TorvMethodInfo);
var
  Host: TStringList;
begin
  Host := TStringList(Owner);
  case AMethod.Id of
    fiFind:
      begin
        // Index is an out parameter here; it still goes through the field.
        FFindIndex := Arg(AMethod, 1);
        AMethod.Result := Host.Find(Arg(AMethod, 0), FFindIndex);
        AMethod.GetArgs(1).Value := FFindIndex;
      end;
    fiSort: Host.Sort;
  else
    inherited InvokeMethod(AMethod);
  end;
end;

procedure TStringListClassInfo.OnChange(Sender: TObject);
begin
  if Assigned(FOnChange) then
    FOnChange(Sender);
  FireSender('OnChange', Sender);
end;

procedure TStringListClassInfo.OnChanging(Sender: TObject);
begin
  if Assigned(FOnChanging) then
    FOnChanging(Sender);
  FireSender('OnChanging', Sender);
end;

{ TComponentClassInfo }

function TComponentClassInfo.GetProperty(AProp: TorvPropertyInfo): Variant;
var
  Host: TComponent;
begin
  Host := TComponent(Owner);
  case AProp.Id of
    // The host raises its own error when no COM object is behind it.
    fiComObject: Result := InterfaceToVar(Host.ComObject);
    fiComponents: Result := ObjectToVar(Host.Components[Index0(AProp)]);
    fiComponentCount: Result := Host.ComponentCount;
    fiComponentIndex: Result := Host.ComponentIndex;
    fiComponentState:
      begin
        FComponentState := Host.ComponentState;
        Result := BufferToVar(FComponentState);
      end;
    fiComponentStyle:
      begin
        FComponentStyle := Host.ComponentStyle;
        Result := BufferToVar(FComponentStyle);
      end;
    fiDesignInfo: Result := Host.DesignInfo;
    fiOwner: Result := ObjectToVar(Host.Owner);
    fiVCLComObject: Result := PointerToVar(Host.VCLComObject);
    fiName: Result := Host.Name;
    fiTag: Result := Host.Tag;
  else
    Result := inherited GetProperty(AProp);
  end;
end;

procedure TComponentClassInfo.SetProperty(AProp: TorvPropertyInfo; const AValue: Variant);
var
  Host: TComponent;
begin
  Host := TComponent(Owner);
  case AProp.Id of
    fiComponentIndex: Host.ComponentIndex := AValue;
    fiDesignInfo: Host.DesignInfo := AValue;
    fiVCLComObject: Host.VCLComObject := VarToPointer(AValue);
    fiName: Host.Name := AValue;
    fiTag: Host.Tag := AValue;
  else
    inherited SetProperty(AProp, AValue);
  end;
end;

procedure TComponentClassInfo.InvokeMethod(AMethod: TorvMethodInfo);
var
  Host: TComponent;
begin
  Host := TComponent(Owner);
  case AMethod.Id of
    fiDestroyComponents: Host.DestroyComponents;
    fiDestroying: Host.Destroying;
    fiExecuteAction:
      AMethod.Result := Host.ExecuteAction(TBasicAction(VarToObject(Arg(AMethod, 0))));
    fiFindComponent: AMethod.Result := ObjectToVar(Host.FindComponent(Arg(AMethod, 0)));
    fiFreeNotification: Host.FreeNotification(TComponent(VarToObject(Arg(AMethod, 0))));
    fiRemoveFreeNotification:
      Host.RemoveFreeNotification(TComponent(VarToObject(Arg(AMethod, 0))));
    fiFreeOnRelease: Host.FreeOnRelease;
    fiGetParentComponent: AMethod.Result := ObjectToVar(Host.GetParentComponent);
    fiHasParent: AMethod.Result := Host.HasParent;
    fiInsertComponent: Host.InsertComponent(TComponent(VarToObject(Arg(AMethod, 0))));
    fiRemoveComponent: Host.RemoveComponent(TComponent(VarToObject(Arg(AMethod, 0))));
    fiUpdateAction:
      AMethod.Result := Host.UpdateAction(TBasicAction(VarToObject(Arg(AMethod, 0))));
  else
    inherited InvokeMethod(AMethod);
  end;
end;

initialization
  RegisterBinding('TList', TListClassInfo, ListDescriptors);
  RegisterBinding('TThreadList', TThreadListClassInfo, ThreadListDescriptors);
  RegisterBinding('TInterfaceList', TInterfaceListClassInfo, InterfaceListDescriptors);
  RegisterBinding('TBits', TBitsClassInfo, BitsDescriptors);
  RegisterBinding('TPersistent', TPersistentClassInfo, PersistentDescriptors);
  RegisterBinding('TCollectionItem', TCollectionItemClassInfo, CollectionItemDescriptors);
  RegisterBinding('TCollection', TCollectionClassInfo, CollectionDescriptors);
  RegisterBinding('TOwnedCollection', TOwnedCollectionClassInfo, OwnedCollectionDescriptors);
  RegisterBinding('TStrings', TStringsClassInfo, StringsDescriptors);
  RegisterBinding('TStringList', TStringListClassInfo, StringListDescriptors);
  RegisterBinding('TStream', TStreamClassInfo, StreamDescriptors);
  RegisterBinding('THandleStream', THandleStreamClassInfo, HandleStreamDescriptors);
  RegisterBinding('TFileStream', TFileStreamClassInfo, FileStreamDescriptors);
  RegisterBinding('TCustomMemoryStream', TCustomMemoryStreamClassInfo, CustomMemoryStreamDescriptors);
  RegisterBinding('TMemoryStream', TMemoryStreamClassInfo, MemoryStreamDescriptors);
  RegisterBinding('TStringStream', TStringStreamClassInfo, StringStreamDescriptors);
  RegisterBinding('TResourceStream', TResourceStreamClassInfo, ResourceStreamDescriptors);
  RegisterBinding('TFiler', TFilerClassInfo, FilerDescriptors);
  RegisterBinding('TReader', TReaderClassInfo, ReaderDescriptors);
  RegisterBinding('TWriter', TWriterClassInfo, WriterDescriptors);
  RegisterBinding('TThread', TThreadClassInfo, ThreadDescriptors);
  RegisterBinding('TComponent', TComponentClassInfo, ComponentDescriptors);
  RegisterBinding('TBasicActionLink', TBasicActionLinkClassInfo, BasicActionLinkDescriptors);
  RegisterBinding('TBasicAction', TBasicActionClassInfo, BasicActionDescriptors);

end.
