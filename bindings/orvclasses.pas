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
  public
    function GetProperty(AProp: TorvPropertyInfo): Variant; override;
    procedure SetProperty(AProp: TorvPropertyInfo; const AValue: Variant); override;
    procedure InvokeMethod(AMethod: TorvMethodInfo); override;
  end;

  { TThreadListClassInfo }

  TThreadListClassInfo = class(TObjectClassInfo)
  public
    function GetProperty(AProp: TorvPropertyInfo): Variant; override;
    procedure SetProperty(AProp: TorvPropertyInfo; const AValue: Variant); override;
    procedure InvokeMethod(AMethod: TorvMethodInfo); override;
  end;

  { TInterfaceListClassInfo }

  TInterfaceListClassInfo = class(TInterfacedObjectClassInfo)
  public
    function GetProperty(AProp: TorvPropertyInfo): Variant; override;
    procedure SetProperty(AProp: TorvPropertyInfo; const AValue: Variant); override;
    procedure InvokeMethod(AMethod: TorvMethodInfo); override;
  end;

  { TBitsClassInfo }

  TBitsClassInfo = class(TObjectClassInfo)
  public
    function GetProperty(AProp: TorvPropertyInfo): Variant; override;
    procedure SetProperty(AProp: TorvPropertyInfo; const AValue: Variant); override;
    procedure InvokeMethod(AMethod: TorvMethodInfo); override;
  end;

  { TPersistentClassInfo }

  TPersistentClassInfo = class(TObjectClassInfo)
  public
    procedure InvokeMethod(AMethod: TorvMethodInfo); override;
  end;

  { TCollectionItemClassInfo }

  TCollectionItemClassInfo = class(TPersistentClassInfo)
  public
    function GetProperty(AProp: TorvPropertyInfo): Variant; override;
    procedure SetProperty(AProp: TorvPropertyInfo; const AValue: Variant); override;
  end;

  { TCollectionClassInfo }

  TCollectionClassInfo = class(TPersistentClassInfo)
  public
    function GetProperty(AProp: TorvPropertyInfo): Variant; override;
    procedure SetProperty(AProp: TorvPropertyInfo; const AValue: Variant); override;
    procedure InvokeMethod(AMethod: TorvMethodInfo); override;
  end;

  { TOwnedCollectionClassInfo }

  { Adds only a constructor, which is listed and never invoked. }
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
  private
    { What Read and ReadBuffer fill: the storage of one variant. }
    FBuffer: Variant;
    FFixupInfo: Longint;
  public
    function GetProperty(AProp: TorvPropertyInfo): Variant; override;
    procedure SetProperty(AProp: TorvPropertyInfo; const AValue: Variant); override;
    procedure InvokeMethod(AMethod: TorvMethodInfo); override;
  end;

  { THandleStreamClassInfo }

  THandleStreamClassInfo = class(TStreamClassInfo)
  private
    { The host's 4-byte THandle, sign-extended: a reader of the host's
      width and one of 8 bytes both find it. }
    FHandle: Int64;
  public
    function GetProperty(AProp: TorvPropertyInfo): Variant; override;
  end;

  { TFileStreamClassInfo }

  { Adds only a constructor, which is listed and never invoked. }
  TFileStreamClassInfo = class(THandleStreamClassInfo)
  end;

  { TCustomMemoryStreamClassInfo }

  TCustomMemoryStreamClassInfo = class(TStreamClassInfo)
  public
    function GetProperty(AProp: TorvPropertyInfo): Variant; override;
    procedure InvokeMethod(AMethod: TorvMethodInfo); override;
  end;

  { TMemoryStreamClassInfo }

  TMemoryStreamClassInfo = class(TCustomMemoryStreamClassInfo)
  public
    function GetProperty(AProp: TorvPropertyInfo): Variant; override;
    procedure SetProperty(AProp: TorvPropertyInfo; const AValue: Variant); override;
    procedure InvokeMethod(AMethod: TorvMethodInfo); override;
  end;

  { TStringStreamClassInfo }

  { The host's TStringStream is a TBytesStream, itself a TMemoryStream; this
    binding follows the declared chain, so it treats the owner only as the
    TStream and TStringStream that it is. }
  TStringStreamClassInfo = class(TStreamClassInfo)
  public
    function GetProperty(AProp: TorvPropertyInfo): Variant; override;
    procedure InvokeMethod(AMethod: TorvMethodInfo); override;
  end;

  { TResourceStreamClassInfo }

  { Adds only constructors, which are listed and never invoked. }
  TResourceStreamClassInfo = class(TCustomMemoryStreamClassInfo)
  end;

  { TFilerClassInfo }

  TFilerClassInfo = class(TObjectClassInfo)
  public
    function GetProperty(AProp: TorvPropertyInfo): Variant; override;
    procedure SetProperty(AProp: TorvPropertyInfo; const AValue: Variant); override;
    procedure InvokeMethod(AMethod: TorvMethodInfo); override;
  end;

  { TReaderClassInfo }

  TReaderClassInfo = class(TFilerClassInfo)
  private
    { What Read fills: the storage of one variant. }
    FBuffer: Variant;
    FInt64: Int64;
    FOnError: TReaderError;
    FOnFindMethod: TFindMethodEvent;
    FOnSetName: TSetNameEvent;
    FOnReferenceName: TReferenceNameEvent;
    FOnAncestorNotFound: TAncestorNotFoundEvent;
    FOnCreateComponent: TCreateComponentEvent;
    FOnFindComponentClass: TFindComponentClassEvent;
  protected
    procedure ConnectEventHandlers; override;
    procedure UnConnectEventHandlers; override;
  public
    function GetProperty(AProp: TorvPropertyInfo): Variant; override;
    procedure SetProperty(AProp: TorvPropertyInfo; const AValue: Variant); override;
    procedure InvokeMethod(AMethod: TorvMethodInfo); override;
    procedure OnError(Reader: TReader; const Message: string; var Handled: Boolean);
    { AMethodName: a parameter may not take the name of TObject.MethodName. }
    procedure OnFindMethod(Reader: TReader; const AMethodName: string; var Address: CodePointer;
      var Error: Boolean);
    procedure OnSetName(Reader: TReader; Component: TComponent; var Name: string);
    procedure OnReferenceName(Reader: TReader; var Name: string);
    procedure OnAncestorNotFound(Reader: TReader; const ComponentName: string;
      ComponentClass: TPersistentClass; var Component: TComponent);
    procedure OnCreateComponent(Reader: TReader; ComponentClass: TComponentClass;
      var Component: TComponent);
    { AClassName: a parameter may not take the name of TObject.ClassName. }
    procedure OnFindComponentClass(Reader: TReader; const AClassName: string;
      var ComponentClass: TComponentClass);
  end;

  { TWriterClassInfo }

  TWriterClassInfo = class(TFilerClassInfo)
  private
    FOnFindAncestor: TFindAncestorEvent;
  protected
    procedure ConnectEventHandlers; override;
    procedure UnConnectEventHandlers; override;
  public
    function GetProperty(AProp: TorvPropertyInfo): Variant; override;
    procedure SetProperty(AProp: TorvPropertyInfo; const AValue: Variant); override;
    procedure InvokeMethod(AMethod: TorvMethodInfo); override;
    procedure OnFindAncestor(Writer: TWriter; Component: TComponent; const Name: string;
      var Ancestor, RootAncestor: TComponent);
  end;

  { TThreadClassInfo }

  TThreadClassInfo = class(TObjectClassInfo)
  private
    FHandle: TThreadID;
    FThreadID: TThreadID;
    FOnTerminate: TNotifyEvent;
  protected
    procedure ConnectEventHandlers; override;
    procedure UnConnectEventHandlers; override;
  public
    function GetProperty(AProp: TorvPropertyInfo): Variant; override;
    procedure SetProperty(AProp: TorvPropertyInfo; const AValue: Variant); override;
    procedure InvokeMethod(AMethod: TorvMethodInfo); override;
    procedure OnTerminate(Sender: TObject);
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
  private
    FOnChange: TNotifyEvent;
  protected
    procedure ConnectEventHandlers; override;
    procedure UnConnectEventHandlers; override;
  public
    function GetProperty(AProp: TorvPropertyInfo): Variant; override;
    procedure SetProperty(AProp: TorvPropertyInfo; const AValue: Variant); override;
    procedure InvokeMethod(AMethod: TorvMethodInfo); override;
    procedure OnChange(Sender: TObject);
  end;

  { TBasicActionClassInfo }

  TBasicActionClassInfo = class(TComponentClassInfo)
  private
    FOnChange: TNotifyEvent;
    FOnExecute: TNotifyEvent;
    FOnUpdate: TNotifyEvent;
  protected
    procedure ConnectEventHandlers; override;
    procedure UnConnectEventHandlers; override;
  public
    procedure InvokeMethod(AMethod: TorvMethodInfo); override;
    procedure OnChange(Sender: TObject);
    procedure OnExecute(Sender: TObject);
    procedure OnUpdate(Sender: TObject);
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

resourcestring
  rsBufferNotAValue = '%s: the bytes read do not form a value!';

type
  { Reach protected host members. The owner is never one of these classes,
    so it is cast through an untyped pointer: a checked build (-CR) rejects
    the direct cast. Only fields and non-virtual accessors are used through
    them, which such a build does not verify. }
  TCollectionAccess = class(TCollection);
  TMemoryStreamAccess = class(TMemoryStream);
  TReaderAccess = class(TReader);
  TThreadAccess = class(TThread);
  TBasicActionAccess = class(TBasicAction);

{ Value helpers for the cases below }

function Arg(AMethod: TorvMethodInfo; AIndex: Integer): Variant; inline;
begin
  Result := AMethod.GetArgs(AIndex).Value;
end;

{ Return the object of argument AIndex for a member of AHostClass that uses
  it without looking: an empty one is refused with the error naming the
  class, the method and the argument. }
function RequiredArg(AMethod: TorvMethodInfo; AIndex: Integer; const AHostClass: string): TObject;
begin
  Result := VarToRequiredObject(Arg(AMethod, AIndex), AHostClass, AMethod.Name,
    AMethod.GetArgs(AIndex).Name);
end;

function Index0(AProp: TorvPropertyInfo): Variant; inline;
begin
  Result := AProp.GetIndexes(0).Value;
end;

{ Untyped buffers

  An untyped buffer is the storage of one variant. The host writes raw bytes
  into it, so the storage must never hold a reference while it does: a
  reference overwritten would leak, and bytes that merely look like one would
  be released. }

function HoldsNoReference(const AStorage: TVarData): Boolean;
begin
  case AStorage.VType of
    varEmpty, varNull, varSmallint, varInteger, varSingle, varDouble, varCurrency, varDate,
    varError, varBoolean, varShortInt, varByte, varWord, varLongWord, varInt64, varQWord:
      Result := True;
    varOleStr, varDispatch, varUnknown, varString, varUString:
      // An empty reference has nothing to release.
      Result := AStorage.VPointer = nil;
  else
    Result := False;
  end;
end;

{ Start ABuffer from the argument AValue; a value that holds a reference
  starts it empty instead. }
procedure LoadBuffer(var ABuffer: Variant; const AValue: Variant);
begin
  if HoldsNoReference(TVarData(AValue)) then
    ABuffer := AValue
  else
    ABuffer := Unassigned;
end;

{ Copy what the host left in ABuffer to AParam and answer True; when the
  bytes form no value that a variant can carry, empty ABuffer without
  releasing anything and answer False. }
function TakeBuffer(var ABuffer: Variant; AParam: TorvParameterInfo): Boolean;
begin
  Result := HoldsNoReference(TVarData(ABuffer));
  if Result then
    AParam.Value := ABuffer
  else
    TVarData(ABuffer).VType := varEmpty;
end;

{ TListClassInfo }

function TListClassInfo.GetProperty(AProp: TorvPropertyInfo): Variant;
var
  Host: TList;
begin
  Host := TList(Owner);
  case AProp.Id of
    fiCapacity: Result := Host.Capacity;
    fiCount: Result := Host.Count;
    fiItems: Result := PointerToVar(Host.Items[Index0(AProp)]);
    fiList: Result := PointerToVar(Host.List);
  else
    Result := inherited GetProperty(AProp);
  end;
end;

procedure TListClassInfo.SetProperty(AProp: TorvPropertyInfo; const AValue: Variant);
var
  Host: TList;
begin
  Host := TList(Owner);
  case AProp.Id of
    fiCapacity: Host.Capacity := AValue;
    fiCount: Host.Count := AValue;
    fiItems: Host.Items[Index0(AProp)] := VarToPointer(AValue);
  else
    inherited SetProperty(AProp, AValue);
  end;
end;

procedure TListClassInfo.InvokeMethod(AMethod: TorvMethodInfo);
var
  Host: TList;
begin
  Host := TList(Owner);
  case AMethod.Id of
    fiAdd: AMethod.Result := Host.Add(VarToPointer(Arg(AMethod, 0)));
    fiClear: Host.Clear;
    fiDelete: Host.Delete(Arg(AMethod, 0));
    fiExchange: Host.Exchange(Arg(AMethod, 0), Arg(AMethod, 1));
    fiExpand: AMethod.Result := ObjectToVar(Host.Expand);
    fiExtract: AMethod.Result := PointerToVar(Host.Extract(VarToPointer(Arg(AMethod, 0))));
    fiFirst: AMethod.Result := PointerToVar(Host.First);
    fiIndexOf: AMethod.Result := Host.IndexOf(VarToPointer(Arg(AMethod, 0)));
    fiInsert: Host.Insert(Arg(AMethod, 0), VarToPointer(Arg(AMethod, 1)));
    fiLast: AMethod.Result := PointerToVar(Host.Last);
    fiMove: Host.Move(Arg(AMethod, 0), Arg(AMethod, 1));
    fiRemove: AMethod.Result := Host.Remove(VarToPointer(Arg(AMethod, 0)));
    fiPack: Host.Pack;
  else
    inherited InvokeMethod(AMethod);
  end;
end;

{ TThreadListClassInfo }

function TThreadListClassInfo.GetProperty(AProp: TorvPropertyInfo): Variant;
begin
  case AProp.Id of
    fiDuplicates: Result := Ord(TThreadList(Owner).Duplicates);
  else
    Result := inherited GetProperty(AProp);
  end;
end;

procedure TThreadListClassInfo.SetProperty(AProp: TorvPropertyInfo; const AValue: Variant);
begin
  case AProp.Id of
    fiDuplicates: TThreadList(Owner).Duplicates := TDuplicates(Integer(AValue));
  else
    inherited SetProperty(AProp, AValue);
  end;
end;

procedure TThreadListClassInfo.InvokeMethod(AMethod: TorvMethodInfo);
var
  Host: TThreadList;
begin
  Host := TThreadList(Owner);
  case AMethod.Id of
    fiAdd: Host.Add(VarToPointer(Arg(AMethod, 0)));
    fiClear: Host.Clear;
    // The list stays locked until the caller invokes UnlockList.
    fiLockList: AMethod.Result := ObjectToVar(Host.LockList);
    fiRemove: Host.Remove(VarToPointer(Arg(AMethod, 0)));
    fiUnlockList: Host.UnlockList;
  else
    inherited InvokeMethod(AMethod);
  end;
end;

{ TInterfaceListClassInfo }

function TInterfaceListClassInfo.GetProperty(AProp: TorvPropertyInfo): Variant;
var
  Host: TInterfaceList;
begin
  Host := TInterfaceList(Owner);
  case AProp.Id of
    fiCapacity: Result := Host.Capacity;
    fiCount: Result := Host.Count;
    // The list keeps the item alive; the address carries no reference.
    fiItems: Result := InterfaceToVar(Host.Items[Index0(AProp)]);
  else
    Result := inherited GetProperty(AProp);
  end;
end;

procedure TInterfaceListClassInfo.SetProperty(AProp: TorvPropertyInfo; const AValue: Variant);
var
  Host: TInterfaceList;
begin
  Host := TInterfaceList(Owner);
  case AProp.Id of
    fiCapacity: Host.Capacity := AValue;
    fiCount: Host.Count := AValue;
    fiItems: Host.Items[Index0(AProp)] := VarToInterface(AValue);
  else
    inherited SetProperty(AProp, AValue);
  end;
end;

procedure TInterfaceListClassInfo.InvokeMethod(AMethod: TorvMethodInfo);
var
  Host: TInterfaceList;
begin
  Host := TInterfaceList(Owner);
  case AMethod.Id of
    fiClear: Host.Clear;
    fiDelete: Host.Delete(Arg(AMethod, 0));
    fiExchange: Host.Exchange(Arg(AMethod, 0), Arg(AMethod, 1));
    fiExpand: AMethod.Result := ObjectToVar(Host.Expand);
    fiFirst: AMethod.Result := InterfaceToVar(Host.First);
    fiIndexOf: AMethod.Result := Host.IndexOf(VarToInterface(Arg(AMethod, 0)));
    fiAdd: AMethod.Result := Host.Add(VarToInterface(Arg(AMethod, 0)));
    fiInsert: Host.Insert(Arg(AMethod, 0), VarToInterface(Arg(AMethod, 1)));
    fiLast: AMethod.Result := InterfaceToVar(Host.Last);
    fiRemove: AMethod.Result := Host.Remove(VarToInterface(Arg(AMethod, 0)));
    fiLock: Host.Lock;
    fiUnlock: Host.Unlock;
  else
    inherited InvokeMethod(AMethod);
  end;
end;

{ TBitsClassInfo }

function TBitsClassInfo.GetProperty(AProp: TorvPropertyInfo): Variant;
var
  Host: TBits;
begin
  Host := TBits(Owner);
  case AProp.Id of
    fiBits: Result := Host.Bits[Index0(AProp)];
    fiSize: Result := Host.Size;
  else
    Result := inherited GetProperty(AProp);
  end;
end;

procedure TBitsClassInfo.SetProperty(AProp: TorvPropertyInfo; const AValue: Variant);
var
  Host: TBits;
begin
  Host := TBits(Owner);
  case AProp.Id of
    fiBits: Host.Bits[Index0(AProp)] := AValue;
    fiSize: Host.Size := AValue;
  else
    inherited SetProperty(AProp, AValue);
  end;
end;

procedure TBitsClassInfo.InvokeMethod(AMethod: TorvMethodInfo);
begin
  case AMethod.Id of
    fiOpenBit: AMethod.Result := TBits(Owner).OpenBit;
  else
    inherited InvokeMethod(AMethod);
  end;
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

{ TCollectionItemClassInfo }

function TCollectionItemClassInfo.GetProperty(AProp: TorvPropertyInfo): Variant;
var
  Host: TCollectionItem;
begin
  Host := TCollectionItem(Owner);
  case AProp.Id of
    fiCollection: Result := ObjectToVar(Host.Collection);
    fiID: Result := Host.ID;
    fiIndex: Result := Host.Index;
    fiDisplayName: Result := Host.DisplayName;
  else
    Result := inherited GetProperty(AProp);
  end;
end;

procedure TCollectionItemClassInfo.SetProperty(AProp: TorvPropertyInfo; const AValue: Variant);
var
  Host: TCollectionItem;
begin
  Host := TCollectionItem(Owner);
  case AProp.Id of
    fiCollection: Host.Collection := TCollection(VarToObject(AValue));
    fiIndex: Host.Index := AValue;
    fiDisplayName: Host.DisplayName := AValue;
  else
    inherited SetProperty(AProp, AValue);
  end;
end;

{ TCollectionClassInfo }

function TCollectionClassInfo.GetProperty(AProp: TorvPropertyInfo): Variant;
var
  Host: TCollection;
begin
  Host := TCollection(Owner);
  case AProp.Id of
    // The host keeps the next ID in a private field without an accessor.
    fiNextID: NotInHost('TCollection', 'NextID');
    fiPropName: Result := TCollectionAccess(Pointer(Host)).PropName;
    fiUpdateCount: Result := TCollectionAccess(Pointer(Host)).UpdateCount;
    fiCount: Result := Host.Count;
    fiItemClass: Result := ClassToVar(Host.ItemClass);
    fiItems: Result := ObjectToVar(Host.Items[Index0(AProp)]);
  else
    Result := inherited GetProperty(AProp);
  end;
end;

procedure TCollectionClassInfo.SetProperty(AProp: TorvPropertyInfo; const AValue: Variant);
var
  Host: TCollection;
begin
  Host := TCollection(Owner);
  case AProp.Id of
    fiPropName: TCollectionAccess(Pointer(Host)).PropName := AValue;
    // The host assigns the given item to the one at the index.
    fiItems: Host.Items[Index0(AProp)] := TCollectionItem(VarToObject(AValue));
  else
    inherited SetProperty(AProp, AValue);
  end;
end;

procedure TCollectionClassInfo.InvokeMethod(AMethod: TorvMethodInfo);
var
  Host: TCollection;
begin
  Host := TCollection(Owner);
  case AMethod.Id of
    fiAdd: AMethod.Result := ObjectToVar(Host.Add);
    fiBeginUpdate: Host.BeginUpdate;
    fiClear: Host.Clear;
    fiDelete: Host.Delete(Arg(AMethod, 0));
    fiEndUpdate: Host.EndUpdate;
    fiFindItemID: AMethod.Result := ObjectToVar(Host.FindItemID(Arg(AMethod, 0)));
    fiInsert: AMethod.Result := ObjectToVar(Host.Insert(Arg(AMethod, 0)));
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
    fiCommaText: Host.CommaText := VarToText(AValue);
    fiObjects: Host.Objects[Index0(AProp)] := VarToObject(AValue);
    fiValues: Host.Values[Index0(AProp)] := VarToText(AValue);
    fiStrings: Host.Strings[Index0(AProp)] := VarToText(AValue);
    fiText: Host.Text := VarToText(AValue);
    // From the address: the setter takes the host's own reference, and a
    // checked build (-CR) rejects a cast between interface types.
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
    fiAddStrings: Host.AddStrings(TStrings(RequiredArg(AMethod, 0, 'TStrings')));
    fiBeginUpdate: Host.BeginUpdate;
    fiClear: Host.Clear;
    fiDelete: Host.Delete(Arg(AMethod, 0));
    fiEndUpdate: Host.EndUpdate;
    fiEquals: AMethod.Result := Host.Equals(TStrings(RequiredArg(AMethod, 0, 'TStrings')));
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
    fiLoadFromStream: Host.LoadFromStream(TStream(RequiredArg(AMethod, 0, 'TStrings')));
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
  FireSender(FOnChange, 'OnChange', Sender);
end;

procedure TStringListClassInfo.OnChanging(Sender: TObject);
begin
  FireSender(FOnChanging, 'OnChanging', Sender);
end;

{ TStreamClassInfo }

function TStreamClassInfo.GetProperty(AProp: TorvPropertyInfo): Variant;
var
  Host: TStream;
begin
  Host := TStream(Owner);
  case AProp.Id of
    fiPosition: Result := Host.Position;
    fiSize: Result := Host.Size;
  else
    Result := inherited GetProperty(AProp);
  end;
end;

procedure TStreamClassInfo.SetProperty(AProp: TorvPropertyInfo; const AValue: Variant);
var
  Host: TStream;
begin
  Host := TStream(Owner);
  case AProp.Id of
    fiPosition: Host.Position := AValue;
    fiSize: Host.Size := AValue;
  else
    inherited SetProperty(AProp, AValue);
  end;
end;

procedure TStreamClassInfo.InvokeMethod(AMethod: TorvMethodInfo);
var
  Host: TStream;
  Count: Int64; // checked as given, before it narrows to the host's Longint
  Value: Variant;
  Taken: Boolean;
begin
  Host := TStream(Owner);
  case AMethod.Id of
    fiRead, fiReadBuffer:
      begin
        Count := Arg(AMethod, 1);
        CheckBufferCount('TStream.' + AMethod.Name, Count);
        LoadBuffer(FBuffer, Arg(AMethod, 0));
        try
          if AMethod.Id = fiRead then
            AMethod.Result := Host.Read(FBuffer, Count)
          else
            Host.ReadBuffer(FBuffer, Count);
        finally
          Taken := TakeBuffer(FBuffer, AMethod.GetArgs(0));
        end;
        if not Taken then
          raise Exception.CreateFmt(rsBufferNotAValue, ['TStream.' + AMethod.Name]);
      end;
    fiWrite, fiWriteBuffer:
      begin
        Count := Arg(AMethod, 1);
        CheckBufferCount('TStream.' + AMethod.Name, Count);
        Value := Arg(AMethod, 0);
        if AMethod.Id = fiWrite then
          AMethod.Result := Host.Write(TVarData(Value), Count)
        else
          Host.WriteBuffer(TVarData(Value), Count);
      end;
    // The Int64 overload: the Longint one would cut offsets beyond 2 GB. The
    // soFrom* codes are the ordinals of TSeekOrigin.
    fiSeek:
      AMethod.Result := Host.Seek(Int64(Arg(AMethod, 0)), TSeekOrigin(Integer(Arg(AMethod, 1))));
    fiCopyFrom:
      AMethod.Result := Host.CopyFrom(TStream(RequiredArg(AMethod, 0, 'TStream')), Arg(AMethod, 1));
    fiReadComponent:
      AMethod.Result := ObjectToVar(Host.ReadComponent(TComponent(VarToObject(Arg(AMethod, 0)))));
    fiReadComponentRes:
      AMethod.Result :=
        ObjectToVar(Host.ReadComponentRes(TComponent(VarToObject(Arg(AMethod, 0)))));
    fiWriteComponent: Host.WriteComponent(TComponent(RequiredArg(AMethod, 0, 'TStream')));
    fiWriteComponentRes:
      Host.WriteComponentRes(Arg(AMethod, 0), TComponent(RequiredArg(AMethod, 1, 'TStream')));
    // The ancestor may be nil: then everything is written.
    fiWriteDescendent:
      Host.WriteDescendent(TComponent(RequiredArg(AMethod, 0, 'TStream')),
        TComponent(VarToObject(Arg(AMethod, 1))));
    fiWriteDescendentRes:
      Host.WriteDescendentRes(Arg(AMethod, 0), TComponent(RequiredArg(AMethod, 1, 'TStream')),
        TComponent(VarToObject(Arg(AMethod, 2))));
    fiWriteResourceHeader:
      begin
        FFixupInfo := Arg(AMethod, 1);
        Host.WriteResourceHeader(Arg(AMethod, 0), FFixupInfo);
        AMethod.GetArgs(1).Value := FFixupInfo;
      end;
    fiFixupResourceHeader: Host.FixupResourceHeader(Arg(AMethod, 0));
    fiReadResHeader: Host.ReadResHeader;
  else
    inherited InvokeMethod(AMethod);
  end;
end;

{ THandleStreamClassInfo }

function THandleStreamClassInfo.GetProperty(AProp: TorvPropertyInfo): Variant;
begin
  case AProp.Id of
    fiHandle:
      begin
        FHandle := THandleStream(Owner).Handle;
        Result := BufferToVar(FHandle);
      end;
  else
    Result := inherited GetProperty(AProp);
  end;
end;

{ TCustomMemoryStreamClassInfo }

function TCustomMemoryStreamClassInfo.GetProperty(AProp: TorvPropertyInfo): Variant;
begin
  case AProp.Id of
    fiMemory: Result := PointerToVar(TCustomMemoryStream(Owner).Memory);
  else
    Result := inherited GetProperty(AProp);
  end;
end;

procedure TCustomMemoryStreamClassInfo.InvokeMethod(AMethod: TorvMethodInfo);
var
  Host: TCustomMemoryStream;
begin
  Host := TCustomMemoryStream(Owner);
  case AMethod.Id of
    fiSaveToStream: Host.SaveToStream(TStream(VarToObject(Arg(AMethod, 0))));
    fiSaveToFile: Host.SaveToFile(Arg(AMethod, 0));
  else
    inherited InvokeMethod(AMethod);
  end;
end;

{ TMemoryStreamClassInfo }

function TMemoryStreamClassInfo.GetProperty(AProp: TorvPropertyInfo): Variant;
begin
  case AProp.Id of
    fiCapacity: Result := TMemoryStreamAccess(Pointer(TMemoryStream(Owner))).Capacity;
  else
    Result := inherited GetProperty(AProp);
  end;
end;

procedure TMemoryStreamClassInfo.SetProperty(AProp: TorvPropertyInfo; const AValue: Variant);
begin
  case AProp.Id of
    fiCapacity: TMemoryStreamAccess(Pointer(TMemoryStream(Owner))).Capacity := AValue;
  else
    inherited SetProperty(AProp, AValue);
  end;
end;

procedure TMemoryStreamClassInfo.InvokeMethod(AMethod: TorvMethodInfo);
var
  Host: TMemoryStream;
begin
  Host := TMemoryStream(Owner);
  case AMethod.Id of
    fiClear: Host.Clear;
    fiLoadFromStream: Host.LoadFromStream(TStream(RequiredArg(AMethod, 0, 'TMemoryStream')));
    fiLoadFromFile: Host.LoadFromFile(Arg(AMethod, 0));
  else
    inherited InvokeMethod(AMethod);
  end;
end;

{ TStringStreamClassInfo }

function TStringStreamClassInfo.GetProperty(AProp: TorvPropertyInfo): Variant;
begin
  case AProp.Id of
    fiDataString: Result := TStringStream(Owner).DataString;
  else
    Result := inherited GetProperty(AProp);
  end;
end;

procedure TStringStreamClassInfo.InvokeMethod(AMethod: TorvMethodInfo);
var
  Host: TStringStream;
begin
  Host := TStringStream(Owner);
  case AMethod.Id of
    fiReadString: AMethod.Result := Host.ReadString(Arg(AMethod, 0));
    fiWriteString: Host.WriteString(Arg(AMethod, 0));
  else
    inherited InvokeMethod(AMethod);
  end;
end;

{ TFilerClassInfo }

function TFilerClassInfo.GetProperty(AProp: TorvPropertyInfo): Variant;
var
  Host: TFiler;
begin
  Host := TFiler(Owner);
  case AProp.Id of
    fiRoot: Result := ObjectToVar(Host.Root);
    fiLookupRoot: Result := ObjectToVar(Host.LookupRoot);
    fiAncestor: Result := ObjectToVar(Host.Ancestor);
    fiIgnoreChildren: Result := Host.IgnoreChildren;
  else
    Result := inherited GetProperty(AProp);
  end;
end;

procedure TFilerClassInfo.SetProperty(AProp: TorvPropertyInfo; const AValue: Variant);
var
  Host: TFiler;
begin
  Host := TFiler(Owner);
  case AProp.Id of
    fiRoot: Host.Root := TComponent(VarToObject(AValue));
    fiAncestor: Host.Ancestor := TPersistent(VarToObject(AValue));
    fiIgnoreChildren: Host.IgnoreChildren := AValue;
  else
    inherited SetProperty(AProp, AValue);
  end;
end;

procedure TFilerClassInfo.InvokeMethod(AMethod: TorvMethodInfo);
begin
  case AMethod.Id of
    fiFlushBuffer: TFiler(Owner).FlushBuffer;
  else
    inherited InvokeMethod(AMethod);
  end;
end;

{ TReaderClassInfo }

procedure TReaderClassInfo.ConnectEventHandlers;
var
  Host: TReader;
begin
  inherited ConnectEventHandlers;
  Host := TReader(Owner);
  FOnError := Host.OnError;
  Host.OnError := @OnError;
  FOnFindMethod := Host.OnFindMethod;
  Host.OnFindMethod := @OnFindMethod;
  FOnSetName := Host.OnSetName;
  Host.OnSetName := @OnSetName;
  FOnReferenceName := Host.OnReferenceName;
  Host.OnReferenceName := @OnReferenceName;
  FOnAncestorNotFound := Host.OnAncestorNotFound;
  Host.OnAncestorNotFound := @OnAncestorNotFound;
  FOnCreateComponent := Host.OnCreateComponent;
  Host.OnCreateComponent := @OnCreateComponent;
  FOnFindComponentClass := Host.OnFindComponentClass;
  Host.OnFindComponentClass := @OnFindComponentClass;
end;

procedure TReaderClassInfo.UnConnectEventHandlers;
var
  Host: TReader;
begin
  Host := TReader(Owner);
  Host.OnError := FOnError;
  Host.OnFindMethod := FOnFindMethod;
  Host.OnSetName := FOnSetName;
  Host.OnReferenceName := FOnReferenceName;
  Host.OnAncestorNotFound := FOnAncestorNotFound;
  Host.OnCreateComponent := FOnCreateComponent;
  Host.OnFindComponentClass := FOnFindComponentClass;
  inherited UnConnectEventHandlers;
end;

function TReaderClassInfo.GetProperty(AProp: TorvPropertyInfo): Variant;
var
  Host: TReader;
begin
  Host := TReader(Owner);
  case AProp.Id of
    fiPropName: Result := TReaderAccess(Pointer(Host)).PropName;
    fiCanHandleExceptions: Result := TReaderAccess(Pointer(Host)).CanHandleExceptions;
    fiOwner: Result := ObjectToVar(Host.Owner);
    fiParent: Result := ObjectToVar(Host.Parent);
    // The host's reader buffers in its driver and tells no position.
    fiPosition: NotInHost('TReader', 'Position');
  else
    Result := inherited GetProperty(AProp);
  end;
end;

procedure TReaderClassInfo.SetProperty(AProp: TorvPropertyInfo; const AValue: Variant);
var
  Host: TReader;
begin
  Host := TReader(Owner);
  case AProp.Id of
    fiOwner: Host.Owner := TComponent(VarToObject(AValue));
    fiParent: Host.Parent := TComponent(VarToObject(AValue));
    fiPosition: NotInHost('TReader', 'Position');
  else
    inherited SetProperty(AProp, AValue);
  end;
end;

procedure TReaderClassInfo.InvokeMethod(AMethod: TorvMethodInfo);
var
  Host: TReader;
  Count: Int64; // checked as given, before it narrows to the host's Longint
  Taken: Boolean;
begin
  Host := TReader(Owner);
  case AMethod.Id of
    fiBeginReferences: Host.BeginReferences;
    fiCheckValue: Host.CheckValue(TValueType(Integer(Arg(AMethod, 0))));
    fiEndOfList: AMethod.Result := Host.EndOfList;
    fiEndReferences: Host.EndReferences;
    fiFixupReferences: Host.FixupReferences;
    fiNextValue: AMethod.Result := Ord(Host.NextValue);
    fiRead:
      begin
        Count := Arg(AMethod, 1);
        CheckBufferCount('TReader.Read', Count);
        LoadBuffer(FBuffer, Arg(AMethod, 0));
        try
          Host.Read(FBuffer, Count);
        finally
          Taken := TakeBuffer(FBuffer, AMethod.GetArgs(0));
        end;
        if not Taken then
          raise Exception.CreateFmt(rsBufferNotAValue, ['TReader.Read']);
      end;
    fiReadBoolean: AMethod.Result := Host.ReadBoolean;
    fiReadChar: AMethod.Result := CharToVar(Host.ReadChar);
    fiReadCollection: Host.ReadCollection(TCollection(RequiredArg(AMethod, 0, 'TReader')));
    fiReadComponent:
      AMethod.Result := ObjectToVar(Host.ReadComponent(TComponent(VarToObject(Arg(AMethod, 0)))));
    fiReadFloat: AMethod.Result := Double(Host.ReadFloat);
    fiReadSingle: AMethod.Result := Host.ReadSingle;
    fiReadCurrency: AMethod.Result := Double(Host.ReadCurrency);
    fiReadDate: AMethod.Result := Double(Host.ReadDate);
    fiReadIdent: AMethod.Result := Host.ReadIdent;
    fiReadInteger: AMethod.Result := Host.ReadInteger;
    fiReadInt64:
      begin
        FInt64 := Host.ReadInt64;
        AMethod.Result := BufferToVar(FInt64);
      end;
    fiReadListBegin: Host.ReadListBegin;
    fiReadListEnd: Host.ReadListEnd;
    // The host's driver reads the prefix only together with the class and
    // component names that follow it (BeginComponent).
    fiReadPrefix: NotInHost('TReader', 'ReadPrefix');
    fiReadRootComponent:
      AMethod.Result :=
        ObjectToVar(Host.ReadRootComponent(TComponent(VarToObject(Arg(AMethod, 0)))));
    fiReadSignature: Host.ReadSignature;
    // The host's reader has no ReadStr; its driver reads the same short string.
    fiReadStr: AMethod.Result := Host.Driver.ReadStr;
    fiReadString: AMethod.Result := Host.ReadString;
    fiReadWideString: AMethod.Result := Host.ReadWideString;
    fiReadValue: AMethod.Result := Ord(Host.ReadValue);
    fiCopyValue: Host.CopyValue(TWriter(VarToObject(Arg(AMethod, 0))));
  else
    inherited InvokeMethod(AMethod);
  end;
end;

procedure TReaderClassInfo.OnError(Reader: TReader; const Message: string; var Handled: Boolean);
var
  Event: TorvEventInfo;
begin
  // Held from the start: the saved handler may free the owner and with it
  // this class info.
  EnterEvent;
  try
    if Assigned(FOnError) then
      FOnError(Reader, Message, Handled);
    Event := PrepareEvent('OnError', [ObjectToVar(Reader), Message, Handled]);
    if Event = nil then
      Exit;
    FireEvent(Event);
    Handled := Event.GetArgs(2).Value;
  finally
    LeaveEvent;
  end;
end;

procedure TReaderClassInfo.OnFindMethod(Reader: TReader; const AMethodName: string;
  var Address: CodePointer; var Error: Boolean);
var
  Event: TorvEventInfo;
begin
  // Held from the start: the saved handler may free the owner and with it
  // this class info.
  EnterEvent;
  try
    if Assigned(FOnFindMethod) then
      FOnFindMethod(Reader, AMethodName, Address, Error);
    Event := PrepareEvent('OnFindMethod', [ObjectToVar(Reader), AMethodName,
      PointerToVar(Address), Error]);
    if Event = nil then
      Exit;
    FireEvent(Event);
    Address := VarToPointer(Event.GetArgs(2).Value);
    Error := Event.GetArgs(3).Value;
  finally
    LeaveEvent;
  end;
end;

procedure TReaderClassInfo.OnSetName(Reader: TReader; Component: TComponent; var Name: string);
var
  Event: TorvEventInfo;
begin
  // Held from the start: the saved handler may free the owner and with it
  // this class info.
  EnterEvent;
  try
    if Assigned(FOnSetName) then
      FOnSetName(Reader, Component, Name);
    Event := PrepareEvent('OnSetName', [ObjectToVar(Reader), ObjectToVar(Component), Name]);
    if Event = nil then
      Exit;
    FireEvent(Event);
    Name := Event.GetArgs(2).Value;
  finally
    LeaveEvent;
  end;
end;

procedure TReaderClassInfo.OnReferenceName(Reader: TReader; var Name: string);
var
  Event: TorvEventInfo;
begin
  // Held from the start: the saved handler may free the owner and with it
  // this class info.
  EnterEvent;
  try
    if Assigned(FOnReferenceName) then
      FOnReferenceName(Reader, Name);
    Event := PrepareEvent('OnReferenceName', [ObjectToVar(Reader), Name]);
    if Event = nil then
      Exit;
    FireEvent(Event);
    Name := Event.GetArgs(1).Value;
  finally
    LeaveEvent;
  end;
end;

procedure TReaderClassInfo.OnAncestorNotFound(Reader: TReader; const ComponentName: string;
  ComponentClass: TPersistentClass; var Component: TComponent);
var
  Event: TorvEventInfo;
begin
  // Held from the start: the saved handler may free the owner and with it
  // this class info.
  EnterEvent;
  try
    if Assigned(FOnAncestorNotFound) then
      FOnAncestorNotFound(Reader, ComponentName, ComponentClass, Component);
    Event := PrepareEvent('OnAncestorNotFound', [ObjectToVar(Reader), ComponentName,
      ClassToVar(ComponentClass), ObjectToVar(Component)]);
    if Event = nil then
      Exit;
    FireEvent(Event);
    Component := TComponent(VarToObject(Event.GetArgs(3).Value));
  finally
    LeaveEvent;
  end;
end;

procedure TReaderClassInfo.OnCreateComponent(Reader: TReader; ComponentClass: TComponentClass;
  var Component: TComponent);
var
  Event: TorvEventInfo;
begin
  // Held from the start: the saved handler may free the owner and with it
  // this class info.
  EnterEvent;
  try
    if Assigned(FOnCreateComponent) then
      FOnCreateComponent(Reader, ComponentClass, Component);
    Event := PrepareEvent('OnCreateComponent', [ObjectToVar(Reader), ClassToVar(ComponentClass),
      ObjectToVar(Component)]);
    if Event = nil then
      Exit;
    FireEvent(Event);
    Component := TComponent(VarToObject(Event.GetArgs(2).Value));
  finally
    LeaveEvent;
  end;
end;

procedure TReaderClassInfo.OnFindComponentClass(Reader: TReader; const AClassName: string;
  var ComponentClass: TComponentClass);
var
  Event: TorvEventInfo;
begin
  // Held from the start: the saved handler may free the owner and with it
  // this class info.
  EnterEvent;
  try
    if Assigned(FOnFindComponentClass) then
      FOnFindComponentClass(Reader, AClassName, ComponentClass);
    Event := PrepareEvent('OnFindComponentClass', [ObjectToVar(Reader), AClassName,
      ClassToVar(ComponentClass)]);
    if Event = nil then
      Exit;
    FireEvent(Event);
    ComponentClass := TComponentClass(VarToClass(Event.GetArgs(2).Value));
  finally
    LeaveEvent;
  end;
end;

{ TWriterClassInfo }

procedure TWriterClassInfo.ConnectEventHandlers;
var
  Host: TWriter;
begin
  inherited ConnectEventHandlers;
  Host := TWriter(Owner);
  FOnFindAncestor := Host.OnFindAncestor;
  Host.OnFindAncestor := @OnFindAncestor;
end;

procedure TWriterClassInfo.UnConnectEventHandlers;
begin
  TWriter(Owner).OnFindAncestor := FOnFindAncestor;
  inherited UnConnectEventHandlers;
end;

function TWriterClassInfo.GetProperty(AProp: TorvPropertyInfo): Variant;
begin
  case AProp.Id of
    // The host's writer buffers in its driver and tells no position.
    fiPosition: NotInHost('TWriter', 'Position');
    fiRootAncestor: Result := ObjectToVar(TWriter(Owner).RootAncestor);
  else
    Result := inherited GetProperty(AProp);
  end;
end;

procedure TWriterClassInfo.SetProperty(AProp: TorvPropertyInfo; const AValue: Variant);
begin
  case AProp.Id of
    fiPosition: NotInHost('TWriter', 'Position');
    fiRootAncestor: TWriter(Owner).RootAncestor := TComponent(VarToObject(AValue));
  else
    inherited SetProperty(AProp, AValue);
  end;
end;

procedure TWriterClassInfo.InvokeMethod(AMethod: TorvMethodInfo);
var
  Host: TWriter;
  Count: Int64; // checked as given, before it narrows to the host's Longint
  Value: Variant;
begin
  Host := TWriter(Owner);
  case AMethod.Id of
    fiWrite:
      begin
        Count := Arg(AMethod, 1);
        CheckBufferCount('TWriter.Write', Count);
        Value := Arg(AMethod, 0);
        Host.Write(TVarData(Value), Count);
      end;
    fiWriteBoolean: Host.WriteBoolean(Arg(AMethod, 0));
    fiWriteCollection: Host.WriteCollection(TCollection(VarToObject(Arg(AMethod, 0))));
    fiWriteComponent: Host.WriteComponent(TComponent(RequiredArg(AMethod, 0, 'TWriter')));
    fiWriteChar: Host.WriteChar(VarToChar(Arg(AMethod, 0)));
    fiWriteDescendent:
      Host.WriteDescendent(TComponent(RequiredArg(AMethod, 0, 'TWriter')),
        TComponent(VarToObject(Arg(AMethod, 1))));
    fiWriteFloat: Host.WriteFloat(Double(Arg(AMethod, 0)));
    fiWriteSingle: Host.WriteSingle(Single(Arg(AMethod, 0)));
    fiWriteCurrency: Host.WriteCurrency(Currency(Arg(AMethod, 0)));
    fiWriteDate: Host.WriteDate(TDateTime(Arg(AMethod, 0)));
    fiWriteIdent: Host.WriteIdent(Arg(AMethod, 0));
    fiWriteListBegin: Host.WriteListBegin;
    fiWriteListEnd: Host.WriteListEnd;
    fiWriteRootComponent:
      Host.WriteRootComponent(TComponent(RequiredArg(AMethod, 0, 'TWriter')));
    fiWriteSignature: Host.WriteSignature;
    fiWriteStr:
      // The host's writer has no WriteStr; its binary driver writes the
      // same short string. Other drivers have no such method.
      if Host.Driver is TBinaryObjectWriter then
        TBinaryObjectWriter(Host.Driver).WriteStr(Arg(AMethod, 0))
      else
        NotInHost('TWriter', 'WriteStr');
    fiWriteString: Host.WriteString(Arg(AMethod, 0));
    fiWriteWideString: Host.WriteWideString(WideString(Arg(AMethod, 0)));
  else
    inherited InvokeMethod(AMethod);
  end;
end;

procedure TWriterClassInfo.OnFindAncestor(Writer: TWriter; Component: TComponent;
  const Name: string; var Ancestor, RootAncestor: TComponent);
var
  Event: TorvEventInfo;
begin
  // Held from the start: the saved handler may free the owner and with it
  // this class info.
  EnterEvent;
  try
    if Assigned(FOnFindAncestor) then
      FOnFindAncestor(Writer, Component, Name, Ancestor, RootAncestor);
    Event := PrepareEvent('OnFindAncestor', [ObjectToVar(Writer), ObjectToVar(Component), Name,
      ObjectToVar(Ancestor), ObjectToVar(RootAncestor)]);
    if Event = nil then
      Exit;
    FireEvent(Event);
    Ancestor := TComponent(VarToObject(Event.GetArgs(3).Value));
    RootAncestor := TComponent(VarToObject(Event.GetArgs(4).Value));
  finally
    LeaveEvent;
  end;
end;

{ TThreadClassInfo }

procedure TThreadClassInfo.ConnectEventHandlers;
var
  Host: TThread;
begin
  inherited ConnectEventHandlers;
  Host := TThread(Owner);
  FOnTerminate := Host.OnTerminate;
  Host.OnTerminate := @OnTerminate;
end;

procedure TThreadClassInfo.UnConnectEventHandlers;
begin
  TThread(Owner).OnTerminate := FOnTerminate;
  inherited UnConnectEventHandlers;
end;

function TThreadClassInfo.GetProperty(AProp: TorvPropertyInfo): Variant;
var
  Host: TThread;
begin
  Host := TThread(Owner);
  case AProp.Id of
    fiReturnValue: Result := TThreadAccess(Pointer(Host)).ReturnValue;
    fiTerminated: Result := TThreadAccess(Pointer(Host)).Terminated;
    fiFreeOnTerminate: Result := Host.FreeOnTerminate;
    fiHandle:
      begin
        FHandle := Host.Handle;
        Result := BufferToVar(FHandle);
      end;
    fiPriority: Result := Ord(Host.Priority);
    fiSuspended: Result := Host.Suspended;
    fiThreadID:
      begin
        FThreadID := Host.ThreadID;
        Result := BufferToVar(FThreadID);
      end;
  else
    Result := inherited GetProperty(AProp);
  end;
end;

procedure TThreadClassInfo.SetProperty(AProp: TorvPropertyInfo; const AValue: Variant);
var
  Host: TThread;
begin
  Host := TThread(Owner);
  case AProp.Id of
    fiReturnValue: TThreadAccess(Pointer(Host)).ReturnValue := AValue;
    fiFreeOnTerminate: Host.FreeOnTerminate := AValue;
    fiPriority: Host.Priority := TThreadPriority(Integer(AValue));
    fiSuspended: Host.Suspended := AValue;
  else
    inherited SetProperty(AProp, AValue);
  end;
end;

procedure TThreadClassInfo.InvokeMethod(AMethod: TorvMethodInfo);
var
  Host: TThread;
begin
  Host := TThread(Owner);
  case AMethod.Id of
    // The host deprecates Resume; Start is its current name and only calls it.
    fiResume: Host.Start;
    // The host deprecates Suspend; its Suspended setter calls it for a thread
    // that is not suspended already.
    fiSuspend: Host.Suspended := True;
    fiTerminate: Host.Terminate;
    fiWaitFor: AMethod.Result := Host.WaitFor;
  else
    inherited InvokeMethod(AMethod);
  end;
end;

procedure TThreadClassInfo.OnTerminate(Sender: TObject);
begin
  FireSender(FOnTerminate, 'OnTerminate', Sender);
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
    fiName: Host.Name := VarToText(AValue);
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
      AMethod.Result := Host.ExecuteAction(TBasicAction(RequiredArg(AMethod, 0, 'TComponent')));
    fiFindComponent: AMethod.Result := ObjectToVar(Host.FindComponent(Arg(AMethod, 0)));
    fiFreeNotification: Host.FreeNotification(TComponent(RequiredArg(AMethod, 0, 'TComponent')));
    fiRemoveFreeNotification:
      Host.RemoveFreeNotification(TComponent(RequiredArg(AMethod, 0, 'TComponent')));
    fiFreeOnRelease: Host.FreeOnRelease;
    fiGetParentComponent: AMethod.Result := ObjectToVar(Host.GetParentComponent);
    fiHasParent: AMethod.Result := Host.HasParent;
    fiInsertComponent: Host.InsertComponent(TComponent(RequiredArg(AMethod, 0, 'TComponent')));
    fiRemoveComponent: Host.RemoveComponent(TComponent(RequiredArg(AMethod, 0, 'TComponent')));
    fiUpdateAction:
      AMethod.Result := Host.UpdateAction(TBasicAction(RequiredArg(AMethod, 0, 'TComponent')));
  else
    inherited InvokeMethod(AMethod);
  end;
end;

{ TBasicActionLinkClassInfo }

procedure TBasicActionLinkClassInfo.ConnectEventHandlers;
var
  Host: TBasicActionLink;
begin
  inherited ConnectEventHandlers;
  Host := TBasicActionLink(Owner);
  FOnChange := Host.OnChange;
  Host.OnChange := @OnChange;
end;

procedure TBasicActionLinkClassInfo.UnConnectEventHandlers;
begin
  TBasicActionLink(Owner).OnChange := FOnChange;
  inherited UnConnectEventHandlers;
end;

function TBasicActionLinkClassInfo.GetProperty(AProp: TorvPropertyInfo): Variant;
begin
  case AProp.Id of
    fiAction: Result := ObjectToVar(TBasicActionLink(Owner).Action);
  else
    Result := inherited GetProperty(AProp);
  end;
end;

procedure TBasicActionLinkClassInfo.SetProperty(AProp: TorvPropertyInfo; const AValue: Variant);
begin
  case AProp.Id of
    fiAction: TBasicActionLink(Owner).Action := TBasicAction(VarToObject(AValue));
  else
    inherited SetProperty(AProp, AValue);
  end;
end;

procedure TBasicActionLinkClassInfo.InvokeMethod(AMethod: TorvMethodInfo);
var
  Host: TBasicActionLink;
begin
  Host := TBasicActionLink(Owner);
  case AMethod.Id of
    // The host's Execute takes an optional component to execute for; none.
    fiExecute: AMethod.Result := Host.Execute;
    fiUpdate: AMethod.Result := Host.Update;
  else
    inherited InvokeMethod(AMethod);
  end;
end;

procedure TBasicActionLinkClassInfo.OnChange(Sender: TObject);
begin
  FireSender(FOnChange, 'OnChange', Sender);
end;

{ TBasicActionClassInfo }

procedure TBasicActionClassInfo.ConnectEventHandlers;
var
  Host: TBasicAction;
begin
  inherited ConnectEventHandlers;
  Host := TBasicAction(Owner);
  FOnChange := TBasicActionAccess(Pointer(Host)).OnChange;
  TBasicActionAccess(Pointer(Host)).OnChange := @OnChange;
  // Through the setter, as the host does: it passes the handler on to the
  // action's links and fires OnChange.
  FOnExecute := Host.OnExecute;
  Host.OnExecute := @OnExecute;
  FOnUpdate := Host.OnUpdate;
  Host.OnUpdate := @OnUpdate;
end;

procedure TBasicActionClassInfo.UnConnectEventHandlers;
var
  Host: TBasicAction;
begin
  Host := TBasicAction(Owner);
  TBasicActionAccess(Pointer(Host)).OnChange := FOnChange;
  Host.OnExecute := FOnExecute;
  Host.OnUpdate := FOnUpdate;
  inherited UnConnectEventHandlers;
end;

procedure TBasicActionClassInfo.InvokeMethod(AMethod: TorvMethodInfo);
var
  Host: TBasicAction;
begin
  Host := TBasicAction(Owner);
  case AMethod.Id of
    fiHandlesTarget: AMethod.Result := Host.HandlesTarget(VarToObject(Arg(AMethod, 0)));
    fiUpdateTarget: Host.UpdateTarget(VarToObject(Arg(AMethod, 0)));
    fiExecuteTarget: Host.ExecuteTarget(VarToObject(Arg(AMethod, 0)));
    fiExecute: AMethod.Result := Host.Execute;
    fiRegisterChanges:
      Host.RegisterChanges(TBasicActionLink(RequiredArg(AMethod, 0, 'TBasicAction')));
    fiUnRegisterChanges: Host.UnRegisterChanges(TBasicActionLink(VarToObject(Arg(AMethod, 0))));
    fiUpdate: AMethod.Result := Host.Update;
  else
    inherited InvokeMethod(AMethod);
  end;
end;

procedure TBasicActionClassInfo.OnChange(Sender: TObject);
begin
  FireSender(FOnChange, 'OnChange', Sender);
end;

procedure TBasicActionClassInfo.OnExecute(Sender: TObject);
begin
  FireSender(FOnExecute, 'OnExecute', Sender);
end;

procedure TBasicActionClassInfo.OnUpdate(Sender: TObject);
begin
  FireSender(FOnUpdate, 'OnUpdate', Sender);
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
