#include "win/control/outlook_late_bound.h"

#include "win/control/late_binding.h"

namespace quillon::win {
namespace {

using platform::CallResult;
using platform::CallStatus;

// The failure of an earlier call of a chain, passed on with its HRESULT.
template <class T, class U>
CallResult<T> FailedAs(const CallResult<U>& failed) {
  return CallResult<T>::Failed(failed.Code());
}

// {00063006-0000-0000-C000-000000000046}: Outlook's MAPIFolder.
constexpr IID kIidMapiFolder = {0x00063006, 0x0000, 0x0000,
                                {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr std::int32_t kOlFolderClass = 2;

template <class Result, class Make>
CallResult<Result> Wrap(CallResult<ComPtr<IDispatch>> object, Make make) {
  if (!object) return FailedAs<Result>(object);
  if (!*object) return Result();
  return make(std::move(*object));
}

class LateBoundFolder final : public platform::OutlookFolder {
 public:
  explicit LateBoundFolder(ComPtr<IDispatch> folder) : folder_(std::move(folder)) {}

  CallResult<platform::FolderParent> Parent() override {
    auto parent = GetObjectByName(folder_.get(), L"Parent");
    if (!parent) return FailedAs<platform::FolderParent>(parent);
    platform::FolderParent result;
    if (!*parent) return result;
    if (IsFolder(parent->get())) {
      result.kind = platform::FolderParent::Kind::Folder;
      result.folder = MakeLateBoundFolder(std::move(*parent));
    } else {
      result.kind = platform::FolderParent::Kind::NotAFolder;
    }
    return result;
  }
  CallResult<std::u16string> EntryID() override { return GetTextByName(folder_.get(), L"EntryID"); }
  CallResult<std::u16string> StoreID() override { return GetTextByName(folder_.get(), L"StoreID"); }
  CallResult<std::u16string> Name() override { return GetTextByName(folder_.get(), L"Name"); }

 private:
  // A folder answers for MAPIFolder; an object model that does not say so
  // through QueryInterface is asked for its Class (olFolder).
  static bool IsFolder(IDispatch* object) {
    ComPtr<IUnknown> folder;
    if (SUCCEEDED(object->QueryInterface(kIidMapiFolder, folder.put_void()))) return true;
    return GetNumberByName(object, L"Class") == kOlFolderClass;
  }

  ComPtr<IDispatch> folder_;
};

class LateBoundNamespace final : public platform::OutlookNamespace {
 public:
  explicit LateBoundNamespace(ComPtr<IDispatch> ns) : ns_(std::move(ns)) {}

  CallResult<platform::FolderPtr> GetDefaultFolder(std::int32_t folderType) override {
    const UniqueVariant type = MakeVariant(folderType);
    return Folder(GetObjectByName(ns_.get(), L"GetDefaultFolder", DISPATCH_METHOD, {type.addressof()}));
  }
  CallResult<platform::FolderPtr> GetFolderFromID(std::u16string_view entryId) override {
    const UniqueVariant id = MakeVariant(entryId);
    return Folder(GetObjectByName(ns_.get(), L"GetFolderFromID", DISPATCH_METHOD, {id.addressof()}));
  }
  CallResult<platform::FolderPtr> PickFolder() override {
    return Folder(GetObjectByName(ns_.get(), L"PickFolder", DISPATCH_METHOD));
  }

 private:
  static CallResult<platform::FolderPtr> Folder(CallResult<ComPtr<IDispatch>> object) {
    return Wrap<platform::FolderPtr>(std::move(object), MakeLateBoundFolder);
  }
  ComPtr<IDispatch> ns_;
};

class LateBoundAddIn final : public platform::AddIn {
 public:
  explicit LateBoundAddIn(ComPtr<IDispatch> addIn) : addIn_(std::move(addIn)) {}
  CallResult<std::u16string> sUN() override { return GetTextByName(addIn_.get(), L"sUN"); }
  CallResult<std::u16string> sPN() override { return GetTextByName(addIn_.get(), L"sPN"); }
  CallResult<std::u16string> sSMBXs() override { return GetTextByName(addIn_.get(), L"sSMBXs"); }
  CallStatus SetIsRestart(std::int16_t value) override {
    const UniqueVariant restart = MakeVariant(value);
    return StatusOf(CallByName(addIn_.get(), L"IsRestart", DISPATCH_PROPERTYPUT, {restart.addressof()}, nullptr));
  }

 private:
  ComPtr<IDispatch> addIn_;
};

class LateBoundApplication final : public platform::OutlookApplication {
 public:
  explicit LateBoundApplication(ComPtr<IDispatch> application) : app_(std::move(application)) {}

  CallResult<std::shared_ptr<platform::AddIn>> AddInObject(std::u16string_view progId) override {
    using Result = std::shared_ptr<platform::AddIn>;
    auto addIns = GetObjectByName(app_.get(), L"COMAddIns");
    if (!addIns) return FailedAs<Result>(addIns);
    if (!*addIns) return std::nullopt;
    const UniqueVariant id = MakeVariant(progId);
    auto addIn = GetObjectByName(addIns->get(), L"Item", DISPATCH_METHOD, {id.addressof()});
    if (!addIn) return FailedAs<Result>(addIn);
    if (!*addIn) return std::nullopt;
    return Wrap<std::shared_ptr<platform::AddIn>>(GetObjectByName(addIn->get(), L"Object"),
                                                  MakeLateBoundAddIn);
  }
  CallResult<std::u16string> Version() override { return GetTextByName(app_.get(), L"Version"); }
  CallResult<std::int32_t> LanguageID(std::int32_t languageIdType) override {
    auto settings = GetObjectByName(app_.get(), L"LanguageSettings");
    if (!settings) return FailedAs<std::int32_t>(settings);
    if (!*settings) return std::nullopt;
    const UniqueVariant type = MakeVariant(languageIdType);
    return GetNumberByName(settings->get(), L"LanguageID", {type.addressof()});
  }
  CallResult<std::shared_ptr<platform::OutlookNamespace>> GetNamespace(std::u16string_view type) override {
    const UniqueVariant name = MakeVariant(type);
    return Wrap<std::shared_ptr<platform::OutlookNamespace>>(
        GetObjectByName(app_.get(), L"GetNamespace", DISPATCH_METHOD, {name.addressof()}),
        [](ComPtr<IDispatch> ns) { return std::make_shared<LateBoundNamespace>(std::move(ns)); });
  }
  CallResult<std::int32_t> InspectorCount() override {
    auto inspectors = Inspectors();
    if (!inspectors || !*inspectors) return FailedAs<std::int32_t>(inspectors);
    return GetNumberByName(inspectors->get(), L"Count");
  }
  CallStatus SaveInspectorItem(std::int32_t index) override {
    auto inspector = Inspector(index);
    if (!inspector || !*inspector) return CallStatus::Failed(inspector.Code());
    auto item = GetObjectByName(inspector->get(), L"CurrentItem");
    if (!item || !*item) return CallStatus::Failed(item.Code());
    return StatusOf(CallByName(item->get(), L"Save", DISPATCH_METHOD, {}, nullptr));
  }
  CallStatus CloseInspector(std::int32_t index, bool saveMode) override {
    auto inspector = Inspector(index);
    if (!inspector || !*inspector) return CallStatus::Failed(inspector.Code());
    const UniqueVariant mode = MakeVariant(saveMode);
    return StatusOf(CallByName(inspector->get(), L"Close", DISPATCH_METHOD, {mode.addressof()}, nullptr));
  }
  CallStatus Quit() override { return StatusOf(CallByName(app_.get(), L"Quit", DISPATCH_METHOD, {}, nullptr)); }

 private:
  // A collection or item that is none fails the call that needed it (code 0: no HRESULT).
  CallResult<ComPtr<IDispatch>> Inspectors() { return GetObjectByName(app_.get(), L"Inspectors"); }
  CallResult<ComPtr<IDispatch>> Inspector(std::int32_t index) {
    auto inspectors = Inspectors();
    if (!inspectors || !*inspectors) return inspectors;
    const UniqueVariant position = MakeVariant(index);
    return GetObjectByName(inspectors->get(), L"Item", DISPATCH_METHOD, {position.addressof()});
  }

  ComPtr<IDispatch> app_;
};

}  // namespace

std::shared_ptr<platform::OutlookApplication> MakeLateBoundApplication(ComPtr<IDispatch> application) {
  return std::make_shared<LateBoundApplication>(std::move(application));
}

std::shared_ptr<platform::OutlookFolder> MakeLateBoundFolder(ComPtr<IDispatch> folder) {
  return std::make_shared<LateBoundFolder>(std::move(folder));
}

std::shared_ptr<platform::AddIn> MakeLateBoundAddIn(ComPtr<IDispatch> addIn) {
  return std::make_shared<LateBoundAddIn>(std::move(addIn));
}

CallResult<std::shared_ptr<platform::OutlookApplication>> SiteHost::Application() {
  if (!link_->site) return std::nullopt;
  ComPtr<IDispatch> application;
  if (const HRESULT hr = link_->site->get_Application(application.put()); FAILED(hr)) {
    return CallResult<std::shared_ptr<platform::OutlookApplication>>::Failed(hr);
  }
  if (!application) return std::shared_ptr<platform::OutlookApplication>();
  return MakeLateBoundApplication(std::move(application));
}

CallStatus SiteHost::OnStatusChange() {
  // A copy: the host may drop its site from inside the call.
  ComPtr<PropertyPageSite> site = link_->site;
  if (!site) return false;
  return StatusOf(site->OnStatusChange());
}

CallResult<std::shared_ptr<platform::HostSite>> SiteContainer::Parent() {
  if (!link_->site) return std::shared_ptr<platform::HostSite>();
  return std::make_shared<SiteHost>(link_);
}

}  // namespace quillon::win
