#include "testing/fake_outlook.h"

#include <cstdio>


namespace quillon::testing {

namespace {

template <class T>
platform::CallResult<T> Unless(bool fails, T value) {
  if (fails) return std::nullopt;
  return value;
}

struct DefaultFolderName {
  std::int32_t type;
  const char16_t* name;
};

// The default folders of a mailbox, by Outlook's own OlDefaultFolders numbers
// (the public folders live in their own store).
constexpr DefaultFolderName kMailboxDefaults[] = {
    {9, u"Calendar"},
    {19, u"Conflicts"},
    {10, u"Contacts"},
    {3, u"Deleted Items"},
    {16, u"Drafts"},
    {6, u"Inbox"},
    {11, u"Journal"},
    {21, u"Local Failures"},
    {12, u"Notes"},
    {4, u"Outbox"},
    {5, u"Sent Items"},
    {22, u"Server Failures"},
    {20, u"Sync Issues"},
    {13, u"Tasks"},
};

}  // namespace

FakeFolder::FakeFolder(std::u16string name, std::u16string entryId, std::u16string storeId,
                       std::weak_ptr<FakeFolder> parent, bool isRoot)
    : name_(std::move(name)),
      entryId_(std::move(entryId)),
      storeId_(std::move(storeId)),
      parent_(std::move(parent)),
      isRoot_(isRoot) {}

platform::CallResult<platform::FolderParent> FakeFolder::Parent() {
  if (Fails("Parent")) return std::nullopt;
  using Kind = platform::FolderParent::Kind;
  if (isRoot_) return platform::FolderParent{Kind::NotAFolder, nullptr};
  if (auto parent = parent_.lock()) return platform::FolderParent{Kind::Folder, parent};
  return platform::FolderParent{Kind::None, nullptr};
}

platform::CallResult<std::u16string> FakeFolder::EntryID() { return Unless(Fails("EntryID"), entryId_); }

platform::CallResult<std::u16string> FakeFolder::StoreID() { return Unless(Fails("StoreID"), storeId_); }

platform::CallResult<std::u16string> FakeFolder::Name() { return Unless(Fails("Name"), name_); }

platform::CallResult<platform::FolderPtr> FakeNamespace::GetDefaultFolder(std::int32_t type) {
  ++defaultFolderLookups;
  if (Fails("GetDefaultFolder") || Fails("GetDefaultFolder " + std::to_string(type))) {
    return std::nullopt;
  }
  const auto found = defaultFolders.find(type);
  return platform::FolderPtr(found == defaultFolders.end() ? nullptr : found->second);
}

namespace {

std::shared_ptr<FakeFolder> FindFolder(const std::shared_ptr<FakeFolder>& folder,
                                       std::u16string_view entryId) {
  if (folder->entryId() == entryId) return folder;
  for (const auto& child : folder->children) {
    if (auto found = FindFolder(child, entryId)) return found;
  }
  return nullptr;
}

}  // namespace

platform::CallResult<platform::FolderPtr> FakeNamespace::GetFolderFromID(
    std::u16string_view entryId) {
  if (Fails("GetFolderFromID")) return std::nullopt;
  for (const auto& root : storeRoots) {
    if (auto found = FindFolder(root, entryId)) return platform::FolderPtr(found);
  }
  return std::nullopt;
}

platform::CallResult<platform::FolderPtr> FakeNamespace::PickFolder() {
  if (Fails("PickFolder")) return std::nullopt;
  return chooser ? chooser() : nullptr;
}

platform::CallResult<std::u16string> FakeAddIn::sUN() { return Unless(Fails("sUN"), userName); }

platform::CallResult<std::u16string> FakeAddIn::sPN() { return Unless(Fails("sPN"), profileName); }

platform::CallResult<std::u16string> FakeAddIn::sSMBXs() { return Unless(Fails("sSMBXs"), sharedMailboxes); }

platform::CallStatus FakeAddIn::SetIsRestart(std::int16_t value) {
  if (Fails("IsRestart")) return false;
  isRestartWrites.push_back(value);
  journal_.push_back("IsRestart " + std::to_string(value));
  return true;
}

platform::CallResult<std::shared_ptr<platform::AddIn>> FakeApplication::AddInObject(
    std::u16string_view progId) {
  if (Fails("AddInObject") || progId != platform::kAddInProgId) return std::nullopt;
  return std::shared_ptr<platform::AddIn>(addIn);
}

platform::CallResult<std::u16string> FakeApplication::Version() { return Unless(Fails("Version"), version); }

platform::CallResult<std::int32_t> FakeApplication::LanguageID(std::int32_t languageIdType) {
  return Unless(Fails("LanguageID") || languageIdType != platform::kLanguageIdUI, uiLanguage);
}

platform::CallResult<std::shared_ptr<platform::OutlookNamespace>> FakeApplication::GetNamespace(
    std::u16string_view type) {
  if (Fails("GetNamespace") || type != u"MAPI") return std::nullopt;
  return std::shared_ptr<platform::OutlookNamespace>(mapi);
}

platform::CallResult<std::int32_t> FakeApplication::InspectorCount() {
  return Unless(Fails("InspectorCount"), static_cast<std::int32_t>(inspectors.size()));
}

FakeInspector* FakeApplication::Inspector(std::int32_t index) {
  if (index < 1 || static_cast<std::size_t>(index) > inspectors.size()) return nullptr;
  return &inspectors[index - 1];
}

platform::CallStatus FakeApplication::SaveInspectorItem(std::int32_t index) {
  FakeInspector* inspector = Inspector(index);
  if (!inspector || inspector->saveFails) return false;
  journal_.push_back("save " + inspector->name);
  return true;
}

platform::CallStatus FakeApplication::CloseInspector(std::int32_t index, bool saveMode) {
  FakeInspector* inspector = Inspector(index);
  if (!inspector || inspector->closeFails) return false;
  journal_.push_back("close " + inspector->name + (saveMode ? " (true)" : " (false)"));
  inspectors.erase(inspectors.begin() + (index - 1));  // a closed window leaves the collection
  return true;
}

platform::CallStatus FakeApplication::Quit() {
  if (Fails("Quit")) return false;
  ++quitCount;
  journal_.push_back("quit");
  return true;
}

platform::CallResult<std::shared_ptr<platform::OutlookApplication>> FakeHostSite::Application() {
  if (Fails("Application")) return std::nullopt;
  return std::shared_ptr<platform::OutlookApplication>(application);
}

platform::CallStatus FakeHostSite::OnStatusChange() {
  if (Fails("OnStatusChange")) return false;
  ++statusChanges;
  return true;
}

platform::CallResult<std::shared_ptr<platform::HostSite>> FakeContainer::Parent() {
  if (Fails("Parent")) return std::nullopt;
  return std::shared_ptr<platform::HostSite>(site);
}

FakeOutlook::FakeOutlook(std::u16string version) {
  app->version = std::move(version);
  app->addIn = addIn;
  app->mapi = ns;
  site->application = app;
  container.site = site;

  mailboxRoot = AddStore(u"Mailbox - Ann Lee");
  for (const auto& folder : kMailboxDefaults) {
    ns->defaultFolders[folder.type] = AddFolder(mailboxRoot, folder.name);
  }
  const auto publicRoot = AddStore(u"Public Folders");
  ns->defaultFolders[18] = AddFolder(publicRoot, u"All Public Folders");  // olPublicFoldersAllPublicFolders
}

std::u16string FakeOutlook::NextEntryId() {
  char id[40];
  std::snprintf(id, sizeof id, "00000000E1D2C3B4%08X", nextEntry_++);
  return std::u16string(id, id + std::char_traits<char>::length(id));
}

std::shared_ptr<FakeFolder> FakeOutlook::AddStore(std::u16string rootName) {
  const std::string storeId = "0000000038A1BB1005E5101AA1BB08002B2A56C2" + std::to_string(nextStore_++);
  auto root = std::make_shared<FakeFolder>(std::move(rootName), NextEntryId(),
                                           std::u16string(storeId.begin(), storeId.end()),
                                           std::weak_ptr<FakeFolder>(), true);
  ns->storeRoots.push_back(root);
  return root;
}

std::shared_ptr<FakeFolder> FakeOutlook::AddFolder(const std::shared_ptr<FakeFolder>& parent,
                                                   std::u16string name) {
  auto folder =
      std::make_shared<FakeFolder>(std::move(name), NextEntryId(), parent->storeId(), parent, false);
  parent->children.push_back(folder);
  return folder;
}

std::shared_ptr<FakeFolder> FakeOutlook::DefaultFolder(std::int32_t type) const {
  const auto found = ns->defaultFolders.find(type);
  return found == ns->defaultFolders.end() ? nullptr : found->second;
}

}  // namespace quillon::testing
