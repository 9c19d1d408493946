#include "standin/outlook_model.h"

#include "standin/dispatch_object.h"

namespace quillon::standin {
namespace {

using nlohmann::json;

// Outlook raises MAPI_E_NOT_FOUND for an unknown EntryID or a missing default folder.
constexpr HRESULT kMapiNotFound = static_cast<HRESULT>(0x8004010F);

const IID kIidApplication = {0x00063001, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
const IID kIidNameSpace = {0x00063002, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
const IID kIidInspector = {0x00063005, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
const IID kIidMapiFolder = {0x00063006, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
const IID kIidInspectors = {0x00063008, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
const IID kIidMailItem = {0x00063034, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
const IID kIidComAddIns = {0x000C0339, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
const IID kIidComAddIn = {0x000C033A, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
const IID kIidLanguageSettings = {0x000C0353, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

constexpr wchar_t kAddInProgId[] = L"Quillon.Connect";

// OlObjectClass values the objects report through Class.
constexpr long kOlApplication = 0, kOlNamespace = 1, kOlFolder = 2, kOlMail = 43, kOlInspector = 35,
               kOlInspectors = 61;

using WorldPtr = std::shared_ptr<World>;

// The objects below are created on demand; each keeps the world alive. Each
// answers from its Members() table, whose handlers may use its private parts.

ComPtr<IDispatch> MakeNamespace(WorldPtr world);
ComPtr<IDispatch> MakeApplicationFor(const WorldPtr& world);

// Hands a fresh object (its creation reference) out as the call's result.
HRESULT ReturnNew(const Invocation& call, IDispatch* fresh) {
  const ComPtr<IDispatch> owned(fresh);
  return call.ReturnObject(owned.get());
}

class FolderObject : public TableDispatch<FolderObject> {
 public:
  FolderObject(WorldPtr world, int node) : TableDispatch(kIidMapiFolder), world_(std::move(world)), node_(node) {}
  static std::span<const Member<FolderObject>> Members();

 private:
  const FolderNode& Node() const { return world_->folders()[node_]; }

  // A store's root folder has the namespace as its parent, which is not a folder.
  HRESULT Parent(const Invocation& call) {
    const int parent = Node().parent;
    if (parent < 0) return call.ReturnObject(MakeNamespace(world_).get());
    return ReturnNew(call, new FolderObject(world_, parent));
  }

  WorldPtr world_;
  int node_;
};

std::span<const Member<FolderObject>> FolderObject::Members() {
  using Self = FolderObject;
  static constexpr Member<Self> kMembers[] = {
      {L"Parent", dispid::kParent, [](Self& f, const Invocation& c) { return f.Parent(c); }},
      {L"EntryID", 0xF01E, [](Self& f, const Invocation& c) { return c.ReturnText(f.Node().config->entryId); }},
      {L"StoreID", 0x3108,
       [](Self& f, const Invocation& c) { return c.ReturnText(f.world_->scenario().stores[f.Node().store].storeId); }},
      {L"Name", 0x3001, [](Self& f, const Invocation& c) { return c.ReturnText(f.Node().config->name); }},
      {L"Class", dispid::kClass, [](Self&, const Invocation& c) { return c.ReturnLong(kOlFolder); }},
      {L"FolderPath", 0x32E6, [](Self& f, const Invocation& c) { return c.ReturnText(L"\\\\" + f.Node().path); }},
  };
  return kMembers;
}

ComPtr<IDispatch> MakeFolder(const WorldPtr& world, int node) {
  return ComPtr<IDispatch>(new FolderObject(world, node));
}

class NamespaceObject : public TableDispatch<NamespaceObject> {
 public:
  explicit NamespaceObject(WorldPtr world) : TableDispatch(kIidNameSpace), world_(std::move(world)) {}
  static std::span<const Member<NamespaceObject>> Members();

 private:
  HRESULT GetDefaultFolder(const Invocation& call) {
    long type = 0;
    if (!ArgumentAsLong(Argument(call.params, 0), type)) return DISP_E_PARAMNOTOPTIONAL;
    const auto node = world_->FindDefaultFolder(type);
    if (!node) return kMapiNotFound;
    return call.ReturnObject(MakeFolder(world_, *node).get());
  }

  HRESULT GetFolderFromID(const Invocation& call) {
    std::wstring entryId;
    if (!ArgumentAsText(Argument(call.params, 0), entryId)) return DISP_E_PARAMNOTOPTIONAL;
    const auto node = world_->FindFolderByEntryId(entryId);
    world_->log().Record("GetFolderFromID", {{"entryId", Narrow(entryId)}, {"found", node.has_value()}});
    if (!node) return kMapiNotFound;
    return call.ReturnObject(MakeFolder(world_, *node).get());
  }

  HRESULT PickFolder(const Invocation& call) {
    const auto node = world_->PickFolder();
    return call.ReturnObject(node ? MakeFolder(world_, *node).get() : nullptr);
  }

  HRESULT Application(const Invocation& call) { return call.ReturnObject(MakeApplicationFor(world_).get()); }

  WorldPtr world_;
};

std::span<const Member<NamespaceObject>> NamespaceObject::Members() {
  using Self = NamespaceObject;
  static constexpr Member<Self> kMembers[] = {
      {L"GetDefaultFolder", 0x210B, [](Self& n, const Invocation& c) { return n.GetDefaultFolder(c); }},
      {L"GetFolderFromID", 0x2108, [](Self& n, const Invocation& c) { return n.GetFolderFromID(c); }},
      {L"PickFolder", 0x210E, [](Self& n, const Invocation& c) { return n.PickFolder(c); }},
      {L"Application", dispid::kApplication, [](Self& n, const Invocation& c) { return n.Application(c); }},
      {L"Parent", dispid::kParent, [](Self& n, const Invocation& c) { return n.Application(c); }},
      {L"Class", dispid::kClass, [](Self&, const Invocation& c) { return c.ReturnLong(kOlNamespace); }},
      {L"Type", 0x2101, [](Self&, const Invocation& c) { return c.ReturnText(L"MAPI"); }},
  };
  return kMembers;
}

ComPtr<IDispatch> MakeNamespace(WorldPtr world) {
  return ComPtr<IDispatch>(new NamespaceObject(std::move(world)));
}

class ItemObject : public TableDispatch<ItemObject> {
 public:
  ItemObject(WorldPtr world, OpenInspector inspector)
      : TableDispatch(kIidMailItem), world_(std::move(world)), inspector_(std::move(inspector)) {}
  static std::span<const Member<ItemObject>> Members();

 private:
  HRESULT Save() {
    world_->log().Record("Save", {{"inspector", inspector_.id}, {"subject", Narrow(inspector_.subject)}});
    return S_OK;
  }

  WorldPtr world_;
  OpenInspector inspector_;
};

std::span<const Member<ItemObject>> ItemObject::Members() {
  using Self = ItemObject;
  static constexpr Member<Self> kMembers[] = {
      {L"Save", 0xF048, [](Self& i, const Invocation&) { return i.Save(); }},
      {L"Subject", 0x37, [](Self& i, const Invocation& c) { return c.ReturnText(i.inspector_.subject); }},
      {L"Class", dispid::kClass, [](Self&, const Invocation& c) { return c.ReturnLong(kOlMail); }},
  };
  return kMembers;
}

class InspectorObject : public TableDispatch<InspectorObject> {
 public:
  InspectorObject(WorldPtr world, OpenInspector inspector)
      : TableDispatch(kIidInspector), world_(std::move(world)), inspector_(std::move(inspector)) {}
  static std::span<const Member<InspectorObject>> Members();

 private:
  HRESULT Close(const Invocation& call) {
    const VARIANT* mode = Argument(call.params, 0);
    if (!mode) return DISP_E_PARAMNOTOPTIONAL;
    long saveMode = 0;
    const bool numeric = ArgumentAsLong(mode, saveMode);
    world_->log().Record("Close", {{"inspector", inspector_.id},
                                   {"subject", Narrow(inspector_.subject)},
                                   {"argument", Narrow(DescribeVariant(mode))},
                                   {"saveMode", numeric ? json(saveMode) : json(nullptr)}});
    // A closed window leaves the Inspectors collection, as in Outlook.
    auto& open = world_->inspectors();
    std::erase_if(open, [&](const OpenInspector& each) { return each.id == inspector_.id; });
    return S_OK;
  }

  WorldPtr world_;
  OpenInspector inspector_;
};

std::span<const Member<InspectorObject>> InspectorObject::Members() {
  using Self = InspectorObject;
  static constexpr Member<Self> kMembers[] = {
      {L"CurrentItem", 0x2102,
       [](Self& i, const Invocation& c) { return ReturnNew(c, new ItemObject(i.world_, i.inspector_)); }},
      {L"Close", 0x2103, [](Self& i, const Invocation& c) { return i.Close(c); }},
      {L"Caption", 0x2111, [](Self& i, const Invocation& c) { return c.ReturnText(i.inspector_.subject); }},
      {L"Class", dispid::kClass, [](Self&, const Invocation& c) { return c.ReturnLong(kOlInspector); }},
  };
  return kMembers;
}

class InspectorsObject : public TableDispatch<InspectorsObject> {
 public:
  explicit InspectorsObject(WorldPtr world) : TableDispatch(kIidInspectors), world_(std::move(world)) {}
  static std::span<const Member<InspectorsObject>> Members();

 private:
  HRESULT Item(const Invocation& call) {
    const auto& open = world_->inspectors();
    long index = 0;
    if (!ArgumentAsLong(Argument(call.params, 0), index)) return DISP_E_PARAMNOTOPTIONAL;
    if (index < 1 || index > static_cast<long>(open.size())) return DISP_E_BADINDEX;
    return ReturnNew(call, new InspectorObject(world_, open[index - 1]));
  }

  WorldPtr world_;
};

std::span<const Member<InspectorsObject>> InspectorsObject::Members() {
  using Self = InspectorsObject;
  static constexpr Member<Self> kMembers[] = {
      {L"Count", 0x50,
       [](Self& i, const Invocation& c) { return c.ReturnLong(static_cast<long>(i.world_->inspectors().size())); }},
      {L"Item", 0x51, [](Self& i, const Invocation& c) { return i.Item(c); }},
      {nullptr, DISPID_VALUE, [](Self& i, const Invocation& c) { return i.Item(c); }},  // Item is the default
      {L"Class", dispid::kClass, [](Self&, const Invocation& c) { return c.ReturnLong(kOlInspectors); }},
  };
  return kMembers;
}

// The object that the add-in Quillon.Connect publishes through COMAddIn.Object.
class AddInObject : public TableDispatch<AddInObject> {
 public:
  explicit AddInObject(WorldPtr world) : TableDispatch(IID_IDispatch), world_(std::move(world)) {}
  static std::span<const Member<AddInObject>> Members();

 private:
  HRESULT Read(const Invocation& call, const std::wstring& value) {
    world_->log().Record("AddInRead", {{"member", Narrow(call.member)}});
    return call.ReturnText(value);
  }

  std::wstring SharedMailboxes() const {
    const auto& mailboxes = world_->scenario().sharedMailboxes;
    std::wstring value;
    for (size_t i = 0; i < mailboxes.size(); ++i) value += (i ? L"\x01" : L"") + mailboxes[i];
    return value;
  }

  HRESULT IsRestart(const Invocation& call) {
    if (!call.IsPut()) return call.ReturnShort(isRestart_);
    const VARIANT* value = PutValue(call.params);
    long number = 0;
    if (!ArgumentAsLong(value, number)) return DISP_E_TYPEMISMATCH;
    isRestart_ = static_cast<short>(number);
    world_->log().Record("IsRestart", {{"value", number}, {"argument", Narrow(DescribeVariant(value))}});
    return S_OK;
  }

  WorldPtr world_;
  short isRestart_ = 0;
};

std::span<const Member<AddInObject>> AddInObject::Members() {
  using Self = AddInObject;
  static constexpr Member<Self> kMembers[] = {
      {L"sUN", 1, [](Self& a, const Invocation& c) { return a.Read(c, a.world_->scenario().sUN); }},
      {L"sPN", 2, [](Self& a, const Invocation& c) { return a.Read(c, a.world_->scenario().sPN); }},
      {L"sSMBXs", 3, [](Self& a, const Invocation& c) { return a.Read(c, a.SharedMailboxes()); }},
      {L"IsRestart", 4, [](Self& a, const Invocation& c) { return a.IsRestart(c); }, Access::kGetOrPut},
  };
  return kMembers;
}

class ComAddInObject : public TableDispatch<ComAddInObject> {
 public:
  explicit ComAddInObject(WorldPtr world) : TableDispatch(kIidComAddIn), world_(std::move(world)) {}
  static std::span<const Member<ComAddInObject>> Members();

 private:
  // Object may be set; it is kept as is.
  HRESULT Object(const Invocation& call) {
    if (!call.IsGet()) return S_OK;
    return call.ReturnObject(world_->scenario().addInHasObject ? AddIn() : nullptr);
  }

  // One add-in object for the life of the add-in, as the real add-in publishes itself once.
  IDispatch* AddIn() {
    if (!addIn_) addIn_ = ComPtr<IDispatch>(new AddInObject(world_));
    return addIn_.get();
  }

  WorldPtr world_;
  ComPtr<IDispatch> addIn_;
};

std::span<const Member<ComAddInObject>> ComAddInObject::Members() {
  using Self = ComAddInObject;
  static constexpr Member<Self> kMembers[] = {
      {L"Description", 0, [](Self&, const Invocation& c) { return c.ReturnText(L"Quillon"); }},
      {L"ProgId", 3, [](Self&, const Invocation& c) { return c.ReturnText(kAddInProgId); }},
      {L"Guid", 4, [](Self&, const Invocation& c) { return c.ReturnText(L"{00000000-0000-0000-0000-000000000000}"); }},
      {L"Connect", 6, [](Self&, const Invocation& c) { return c.ReturnBool(true); }},
      {L"Object", 7, [](Self& a, const Invocation& c) { return a.Object(c); }, Access::kGetOrPut},
  };
  return kMembers;
}

class ComAddInsObject : public TableDispatch<ComAddInsObject> {
 public:
  explicit ComAddInsObject(WorldPtr world) : TableDispatch(kIidComAddIns), world_(std::move(world)) {}
  static std::span<const Member<ComAddInsObject>> Members();

 private:
  bool Loaded() const { return world_->scenario().addInLoaded; }

  HRESULT Item(const Invocation& call) {
    const VARIANT* index = Argument(call.params, 0);
    std::wstring progId;
    long number = 0;
    const bool byName = index && index->vt == VT_BSTR && ArgumentAsText(index, progId);
    const bool matches = byName ? lstrcmpiW(progId.c_str(), kAddInProgId) == 0
                                : ArgumentAsLong(index, number) && number == 1;
    world_->log().Record("COMAddIns.Item",
                         {{"argument", Narrow(DescribeVariant(index))}, {"found", Loaded() && matches}});
    if (!Loaded() || !matches) return DISP_E_BADINDEX;  // Office raises an error for an unknown add-in
    if (!addIn_) addIn_ = ComPtr<IDispatch>(new ComAddInObject(world_));
    return call.ReturnObject(addIn_.get());
  }

  WorldPtr world_;
  ComPtr<IDispatch> addIn_;
};

std::span<const Member<ComAddInsObject>> ComAddInsObject::Members() {
  using Self = ComAddInsObject;
  static constexpr Member<Self> kMembers[] = {
      {L"Item", DISPID_VALUE, [](Self& a, const Invocation& c) { return a.Item(c); }},
      {L"Count", 1, [](Self& a, const Invocation& c) { return c.ReturnLong(a.Loaded() ? 1 : 0); }},
  };
  return kMembers;
}

class LanguageSettingsObject : public TableDispatch<LanguageSettingsObject> {
 public:
  explicit LanguageSettingsObject(WorldPtr world) : TableDispatch(kIidLanguageSettings), world_(std::move(world)) {}
  static std::span<const Member<LanguageSettingsObject>> Members();

 private:
  HRESULT LanguageID(const Invocation& call) {
    long which = 0;
    if (!ArgumentAsLong(Argument(call.params, 0), which)) return DISP_E_PARAMNOTOPTIONAL;
    if (which < 1 || which > 5) return E_INVALIDARG;
    return call.ReturnLong(world_->scenario().uiLanguage);
  }

  WorldPtr world_;
};

std::span<const Member<LanguageSettingsObject>> LanguageSettingsObject::Members() {
  using Self = LanguageSettingsObject;
  static constexpr Member<Self> kMembers[] = {
      {L"LanguageID", 1, [](Self& l, const Invocation& c) { return l.LanguageID(c); }},
  };
  return kMembers;
}

class ApplicationObject : public TableDispatch<ApplicationObject> {
 public:
  explicit ApplicationObject(WorldPtr world) : TableDispatch(kIidApplication), world_(std::move(world)) {
    world_->liveApplication = this;
  }
  ~ApplicationObject() override { world_->liveApplication = nullptr; }
  static std::span<const Member<ApplicationObject>> Members();

 private:
  HRESULT GetNamespace(const Invocation& call) {
    std::wstring type;
    if (!ArgumentAsText(Argument(call.params, 0), type)) return DISP_E_PARAMNOTOPTIONAL;
    if (lstrcmpiW(type.c_str(), L"MAPI") != 0) return E_INVALIDARG;
    return ReturnNew(call, new NamespaceObject(world_));
  }

  HRESULT Quit() {
    world_->quitCalled = true;
    world_->log().Record("Quit");
    return S_OK;
  }

  WorldPtr world_;
};

std::span<const Member<ApplicationObject>> ApplicationObject::Members() {
  using Self = ApplicationObject;
  static constexpr Member<Self> kMembers[] = {
      {L"Version", 0x116,
       [](Self& a, const Invocation& c) { return c.ReturnText(a.world_->scenario().outlookVersion); }},
      {L"COMAddIns", 0x118, [](Self& a, const Invocation& c) { return ReturnNew(c, new ComAddInsObject(a.world_)); }},
      {L"LanguageSettings", 0x11B,
       [](Self& a, const Invocation& c) { return ReturnNew(c, new LanguageSettingsObject(a.world_)); }},
      {L"GetNamespace", 0x110, [](Self& a, const Invocation& c) { return a.GetNamespace(c); }},
      {L"Inspectors", 0x11A, [](Self& a, const Invocation& c) { return ReturnNew(c, new InspectorsObject(a.world_)); }},
      {L"Quit", 0x113, [](Self& a, const Invocation&) { return a.Quit(); }},
      {L"Session", dispid::kSession,
       [](Self& a, const Invocation& c) { return ReturnNew(c, new NamespaceObject(a.world_)); }},
      {L"Application", dispid::kApplication, [](Self& a, const Invocation& c) { return c.ReturnObject(&a); }},
      {L"Parent", dispid::kParent, [](Self& a, const Invocation& c) { return c.ReturnObject(&a); }},
      {L"Class", dispid::kClass, [](Self&, const Invocation& c) { return c.ReturnLong(kOlApplication); }},
      {L"Name", 0x3000, [](Self&, const Invocation& c) { return c.ReturnText(L"Outlook"); }},
  };
  return kMembers;
}

// Outlook has one Application; every route to it gives the same object.
ComPtr<IDispatch> MakeApplicationFor(const WorldPtr& world) { return MakeApplication(world); }

}  // namespace

World::World(Scenario scenario, EventLog& log) : scenario_(std::move(scenario)), log_(log) {
  for (size_t s = 0; s < scenario_.stores.size(); ++s)
    Flatten(scenario_.stores[s].root, -1, static_cast<int>(s), L"");
  for (size_t i = 0; i < scenario_.inspectorSubjects.size(); ++i)
    inspectors_.push_back({static_cast<int>(i + 1), scenario_.inspectorSubjects[i]});
}

void World::Flatten(const FolderConfig& folder, int parent, int store, const std::wstring& parentPath) {
  const std::wstring path = parentPath.empty() ? folder.name : parentPath + L"\\" + folder.name;
  folders_.push_back({&folder, parent, store, path});
  const int self = static_cast<int>(folders_.size() - 1);
  for (const FolderConfig& child : folder.folders) Flatten(child, self, store, path);
}

std::optional<int> World::DefaultStore() const {
  for (size_t s = 0; s < scenario_.stores.size(); ++s)
    if (scenario_.stores[s].isDefault) return static_cast<int>(s);
  return std::nullopt;
}

std::optional<int> World::FindDefaultFolder(long type) const {
  const auto store = DefaultStore();
  if (!store || type <= 0) return std::nullopt;
  for (size_t i = 0; i < folders_.size(); ++i)
    if (folders_[i].store == *store && folders_[i].config->defaultFolder == type) return static_cast<int>(i);
  return std::nullopt;
}

std::optional<int> World::FindFolderByEntryId(const std::wstring& entryId) const {
  if (entryId.empty()) return std::nullopt;
  for (size_t i = 0; i < folders_.size(); ++i)
    if (lstrcmpiW(folders_[i].config->entryId.c_str(), entryId.c_str()) == 0) return static_cast<int>(i);
  return std::nullopt;
}

std::optional<int> World::FindFolderByPath(const std::wstring& path) const {
  for (size_t i = 0; i < folders_.size(); ++i)
    if (lstrcmpiW(folders_[i].path.c_str(), path.c_str()) == 0) return static_cast<int>(i);
  return std::nullopt;
}

std::optional<int> World::PickFolder() {
  std::optional<int> chosen;
  bool scripted = false;
  if (nextScriptedAnswer_ < scenario_.folderChooserAnswers.size()) {
    scripted = true;
    const auto& answer = scenario_.folderChooserAnswers[nextScriptedAnswer_++];
    if (answer) chosen = FindFolderByPath(*answer);
  } else if (chooserUi_) {
    std::vector<std::wstring> paths;
    for (const FolderNode& node : folders_) paths.push_back(node.path);
    if (const auto index = chooserUi_(paths)) chosen = static_cast<int>(*index);
  }
  log_.Record("PickFolder", {{"answer", chosen ? json(Narrow(folders_[*chosen].path)) : json(nullptr)},
                             {"scripted", scripted}});
  return chosen;
}

ComPtr<IDispatch> MakeApplication(std::shared_ptr<World> world) {
  if (world->liveApplication) return ComPtr<IDispatch>::Share(world->liveApplication);
  return ComPtr<IDispatch>(new ApplicationObject(std::move(world)));
}

}  // namespace quillon::standin
