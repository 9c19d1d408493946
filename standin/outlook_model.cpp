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

// The objects below are created on demand; each keeps the world alive.

class ApplicationObject;
ComPtr<IDispatch> MakeNamespace(WorldPtr world);

class FolderObject : public DispatchObject {
 public:
  FolderObject(WorldPtr world, int node)
      : DispatchObject({{L"Parent", dispid::kParent}, {L"EntryID", 0xF01E}, {L"StoreID", 0x3108},
                        {L"Name", 0x3001}, {L"Class", dispid::kClass}, {L"FolderPath", 0x32E6}},
                       kIidMapiFolder),
        world_(std::move(world)),
        node_(node) {}

 protected:
  HRESULT Call(DISPID id, WORD flags, DISPPARAMS*, VARIANT* result) override {
    if (!IsGet(flags)) return DISP_E_MEMBERNOTFOUND;
    const FolderNode& node = world_->folders()[node_];
    switch (id) {
      case 0xF01E: SetResultText(result, node.config->entryId); return S_OK;
      case 0x3108: SetResultText(result, world_->scenario().stores[node.store].storeId); return S_OK;
      case 0x3001: SetResultText(result, node.config->name); return S_OK;
      case 0x32E6: SetResultText(result, L"\\\\" + node.path); return S_OK;
      case dispid::kClass: SetResultLong(result, kOlFolder); return S_OK;
      case dispid::kParent: {
        // A store's root folder has the namespace as its parent, which is not a folder.
        ComPtr<IDispatch> parent = node.parent < 0 ? MakeNamespace(world_)
                                                   : ComPtr<IDispatch>(new FolderObject(world_, node.parent));
        SetResultObject(result, parent.get());
        return S_OK;
      }
      default: return DISP_E_MEMBERNOTFOUND;
    }
  }

 private:
  WorldPtr world_;
  int node_;
};

ComPtr<IDispatch> MakeFolder(const WorldPtr& world, int node) {
  return ComPtr<IDispatch>(new FolderObject(world, node));
}

ComPtr<IDispatch> MakeApplicationFor(const WorldPtr& world);

class NamespaceObject : public DispatchObject {
 public:
  explicit NamespaceObject(WorldPtr world)
      : DispatchObject({{L"GetDefaultFolder", 0x210B}, {L"GetFolderFromID", 0x2108}, {L"PickFolder", 0x210E},
                        {L"Application", dispid::kApplication}, {L"Parent", dispid::kParent},
                        {L"Class", dispid::kClass}, {L"Type", 0x2101}},
                       kIidNameSpace),
        world_(std::move(world)) {}

 protected:
  HRESULT Call(DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result) override {
    if (!IsGet(flags)) return DISP_E_MEMBERNOTFOUND;
    switch (id) {
      case 0x210B: return GetDefaultFolder(params, result);
      case 0x2108: return GetFolderFromID(params, result);
      case 0x210E: return PickFolder(result);
      case 0x2101: SetResultText(result, L"MAPI"); return S_OK;
      case dispid::kClass: SetResultLong(result, kOlNamespace); return S_OK;
      case dispid::kApplication:
      case dispid::kParent: SetResultObject(result, MakeApplicationFor(world_).get()); return S_OK;
      default: return DISP_E_MEMBERNOTFOUND;
    }
  }

 private:
  HRESULT GetDefaultFolder(DISPPARAMS* params, VARIANT* result) {
    long type = 0;
    if (!ArgumentAsLong(Argument(params, 0), type)) return DISP_E_PARAMNOTOPTIONAL;
    const auto node = world_->FindDefaultFolder(type);
    if (!node) return kMapiNotFound;
    SetResultObject(result, MakeFolder(world_, *node).get());
    return S_OK;
  }

  HRESULT GetFolderFromID(DISPPARAMS* params, VARIANT* result) {
    std::wstring entryId;
    if (!ArgumentAsText(Argument(params, 0), entryId)) return DISP_E_PARAMNOTOPTIONAL;
    const auto node = world_->FindFolderByEntryId(entryId);
    world_->log().Record("GetFolderFromID", {{"entryId", Narrow(entryId)}, {"found", node.has_value()}});
    if (!node) return kMapiNotFound;
    SetResultObject(result, MakeFolder(world_, *node).get());
    return S_OK;
  }

  HRESULT PickFolder(VARIANT* result) {
    const auto node = world_->PickFolder();
    SetResultObject(result, node ? MakeFolder(world_, *node).get() : nullptr);
    return S_OK;
  }

  WorldPtr world_;
};

ComPtr<IDispatch> MakeNamespace(WorldPtr world) {
  return ComPtr<IDispatch>(new NamespaceObject(std::move(world)));
}

class ItemObject : public DispatchObject {
 public:
  ItemObject(WorldPtr world, OpenInspector inspector)
      : DispatchObject({{L"Save", 0xF048}, {L"Subject", 0x37}, {L"Class", dispid::kClass}}, kIidMailItem),
        world_(std::move(world)),
        inspector_(std::move(inspector)) {}

 protected:
  HRESULT Call(DISPID id, WORD flags, DISPPARAMS*, VARIANT* result) override {
    if (!IsGet(flags)) return DISP_E_MEMBERNOTFOUND;
    switch (id) {
      case 0xF048:
        world_->log().Record("Save", {{"inspector", inspector_.id}, {"subject", Narrow(inspector_.subject)}});
        return S_OK;
      case 0x37: SetResultText(result, inspector_.subject); return S_OK;
      case dispid::kClass: SetResultLong(result, kOlMail); return S_OK;
      default: return DISP_E_MEMBERNOTFOUND;
    }
  }

 private:
  WorldPtr world_;
  OpenInspector inspector_;
};

class InspectorObject : public DispatchObject {
 public:
  InspectorObject(WorldPtr world, OpenInspector inspector)
      : DispatchObject({{L"CurrentItem", 0x2102}, {L"Close", 0x2103}, {L"Caption", 0x2111},
                        {L"Class", dispid::kClass}},
                       kIidInspector),
        world_(std::move(world)),
        inspector_(std::move(inspector)) {}

 protected:
  HRESULT Call(DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result) override {
    if (!IsGet(flags)) return DISP_E_MEMBERNOTFOUND;
    switch (id) {
      case 0x2102:
        SetResultObject(result, ComPtr<IDispatch>(new ItemObject(world_, inspector_)).get());
        return S_OK;
      case 0x2103: return Close(params);
      case 0x2111: SetResultText(result, inspector_.subject); return S_OK;
      case dispid::kClass: SetResultLong(result, kOlInspector); return S_OK;
      default: return DISP_E_MEMBERNOTFOUND;
    }
  }

 private:
  HRESULT Close(DISPPARAMS* params) {
    const VARIANT* mode = Argument(params, 0);
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

class InspectorsObject : public DispatchObject {
 public:
  explicit InspectorsObject(WorldPtr world)
      : DispatchObject({{L"Count", 0x50}, {L"Item", 0x51}, {L"Class", dispid::kClass}}, kIidInspectors),
        world_(std::move(world)) {}

 protected:
  HRESULT Call(DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result) override {
    if (!IsGet(flags)) return DISP_E_MEMBERNOTFOUND;
    const auto& open = world_->inspectors();
    switch (id) {
      case 0x50: SetResultLong(result, static_cast<long>(open.size())); return S_OK;
      case DISPID_VALUE:  // Item is the default member
      case 0x51: {
        long index = 0;
        if (!ArgumentAsLong(Argument(params, 0), index)) return DISP_E_PARAMNOTOPTIONAL;
        if (index < 1 || index > static_cast<long>(open.size())) return DISP_E_BADINDEX;
        SetResultObject(result, ComPtr<IDispatch>(new InspectorObject(world_, open[index - 1])).get());
        return S_OK;
      }
      case dispid::kClass: SetResultLong(result, kOlInspectors); return S_OK;
      default: return DISP_E_MEMBERNOTFOUND;
    }
  }

 private:
  WorldPtr world_;
};

// The object that the add-in Quillon.Connect publishes through COMAddIn.Object.
class AddInObject : public DispatchObject {
 public:
  explicit AddInObject(WorldPtr world)
      : DispatchObject({{L"sUN", 1}, {L"sPN", 2}, {L"sSMBXs", 3}, {L"IsRestart", 4}}, IID_IDispatch),
        world_(std::move(world)) {}

 protected:
  HRESULT Call(DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result) override {
    const Scenario& s = world_->scenario();
    if (id == 4) return IsRestart(flags, params, result);
    if (!IsGet(flags)) return DISP_E_MEMBERNOTFOUND;
    std::wstring value;
    switch (id) {
      case 1: value = s.sUN; break;
      case 2: value = s.sPN; break;
      case 3:
        for (size_t i = 0; i < s.sharedMailboxes.size(); ++i) value += (i ? L"\x01" : L"") + s.sharedMailboxes[i];
        break;
      default: return DISP_E_MEMBERNOTFOUND;
    }
    static const char* const kNames[] = {"", "sUN", "sPN", "sSMBXs"};
    world_->log().Record("AddInRead", {{"member", kNames[id]}});
    SetResultText(result, value);
    return S_OK;
  }

 private:
  HRESULT IsRestart(WORD flags, DISPPARAMS* params, VARIANT* result) {
    if (IsPut(flags)) {
      const VARIANT* value = PutValue(params);
      long number = 0;
      if (!ArgumentAsLong(value, number)) return DISP_E_TYPEMISMATCH;
      isRestart_ = static_cast<short>(number);
      world_->log().Record("IsRestart", {{"value", number}, {"argument", Narrow(DescribeVariant(value))}});
      return S_OK;
    }
    SetResultShort(result, isRestart_);
    return S_OK;
  }

  WorldPtr world_;
  short isRestart_ = 0;
};

class ComAddInObject : public DispatchObject {
 public:
  explicit ComAddInObject(WorldPtr world)
      : DispatchObject({{L"Description", 0}, {L"ProgId", 3}, {L"Guid", 4}, {L"Connect", 6}, {L"Object", 7}},
                       kIidComAddIn),
        world_(std::move(world)) {}

 protected:
  HRESULT Call(DISPID id, WORD flags, DISPPARAMS*, VARIANT* result) override {
    if (!IsGet(flags)) return id == 7 ? S_OK : DISP_E_MEMBERNOTFOUND;  // Object may be set; kept as is
    switch (id) {
      case 0: SetResultText(result, L"Quillon"); return S_OK;
      case 3: SetResultText(result, kAddInProgId); return S_OK;
      case 4: SetResultText(result, L"{00000000-0000-0000-0000-000000000000}"); return S_OK;
      case 6: SetResultBool(result, true); return S_OK;
      case 7:
        SetResultObject(result, world_->scenario().addInHasObject
                                    ? ComPtr<IDispatch>::Share(AddIn()).get()
                                    : nullptr);
        return S_OK;
      default: return DISP_E_MEMBERNOTFOUND;
    }
  }

 private:
  // One add-in object for the life of the add-in, as the real add-in publishes itself once.
  IDispatch* AddIn() {
    if (!addIn_) addIn_ = ComPtr<IDispatch>(new AddInObject(world_));
    return addIn_.get();
  }

  WorldPtr world_;
  ComPtr<IDispatch> addIn_;
};

class ComAddInsObject : public DispatchObject {
 public:
  explicit ComAddInsObject(WorldPtr world)
      : DispatchObject({{L"Item", DISPID_VALUE}, {L"Count", 1}}, kIidComAddIns), world_(std::move(world)) {}

 protected:
  HRESULT Call(DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result) override {
    if (!IsGet(flags)) return DISP_E_MEMBERNOTFOUND;
    const bool loaded = world_->scenario().addInLoaded;
    if (id == 1) {
      SetResultLong(result, loaded ? 1 : 0);
      return S_OK;
    }
    if (id != DISPID_VALUE) return DISP_E_MEMBERNOTFOUND;
    const VARIANT* index = Argument(params, 0);
    std::wstring progId;
    long number = 0;
    const bool byName = index && index->vt == VT_BSTR && ArgumentAsText(index, progId);
    const bool matches = byName ? lstrcmpiW(progId.c_str(), kAddInProgId) == 0
                                : ArgumentAsLong(index, number) && number == 1;
    world_->log().Record("COMAddIns.Item", {{"argument", Narrow(DescribeVariant(index))}, {"found", loaded && matches}});
    if (!loaded || !matches) return DISP_E_BADINDEX;  // Office raises an error for an unknown add-in
    if (!addIn_) addIn_ = ComPtr<IDispatch>(new ComAddInObject(world_));
    SetResultObject(result, addIn_.get());
    return S_OK;
  }

 private:
  WorldPtr world_;
  ComPtr<IDispatch> addIn_;
};

class LanguageSettingsObject : public DispatchObject {
 public:
  explicit LanguageSettingsObject(WorldPtr world)
      : DispatchObject({{L"LanguageID", 1}}, kIidLanguageSettings), world_(std::move(world)) {}

 protected:
  HRESULT Call(DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result) override {
    if (!IsGet(flags) || id != 1) return DISP_E_MEMBERNOTFOUND;
    long which = 0;
    if (!ArgumentAsLong(Argument(params, 0), which)) return DISP_E_PARAMNOTOPTIONAL;
    if (which < 1 || which > 5) return E_INVALIDARG;
    SetResultLong(result, world_->scenario().uiLanguage);
    return S_OK;
  }

 private:
  WorldPtr world_;
};

class ApplicationObject : public DispatchObject {
 public:
  explicit ApplicationObject(WorldPtr world)
      : DispatchObject({{L"Version", 0x116}, {L"COMAddIns", 0x118}, {L"LanguageSettings", 0x11B},
                        {L"GetNamespace", 0x110}, {L"Inspectors", 0x11A}, {L"Quit", 0x113},
                        {L"Session", dispid::kSession}, {L"Application", dispid::kApplication},
                        {L"Parent", dispid::kParent}, {L"Class", dispid::kClass}, {L"Name", 0x3000}},
                       kIidApplication),
        world_(std::move(world)) {
    world_->liveApplication = this;
  }
  ~ApplicationObject() override { world_->liveApplication = nullptr; }

 protected:
  HRESULT Call(DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result) override {
    if (!IsGet(flags)) return DISP_E_MEMBERNOTFOUND;
    switch (id) {
      case 0x116: SetResultText(result, world_->scenario().outlookVersion); return S_OK;
      case 0x3000: SetResultText(result, L"Outlook"); return S_OK;
      case dispid::kClass: SetResultLong(result, kOlApplication); return S_OK;
      case 0x118: return Give(result, new ComAddInsObject(world_));
      case 0x11B: return Give(result, new LanguageSettingsObject(world_));
      case 0x11A: return Give(result, new InspectorsObject(world_));
      case dispid::kSession: return Give(result, new NamespaceObject(world_));
      case dispid::kApplication:
      case dispid::kParent: SetResultObject(result, this); return S_OK;
      case 0x110: {
        std::wstring type;
        if (!ArgumentAsText(Argument(params, 0), type)) return DISP_E_PARAMNOTOPTIONAL;
        if (lstrcmpiW(type.c_str(), L"MAPI") != 0) return E_INVALIDARG;
        return Give(result, new NamespaceObject(world_));
      }
      case 0x113:
        world_->quitCalled = true;
        world_->log().Record("Quit");
        return S_OK;
      default: return DISP_E_MEMBERNOTFOUND;
    }
  }

 private:
  static HRESULT Give(VARIANT* result, IDispatch* fresh) {
    ComPtr<IDispatch> owned(fresh);
    SetResultObject(result, owned.get());
    return S_OK;
  }

  WorldPtr world_;
};

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
