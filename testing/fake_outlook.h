// An in-memory Outlook: stores with folder trees, the default folders of the
// default mailbox, open item windows, the add-in object and the host site.
//
// Every call can be made to fail by name (Fail("Version")); calls, saves,
// closes, IsRestart writes and Quit go to one journal in the order they happen.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/outlook.h"

namespace quillon::testing {

using Journal = std::vector<std::string>;

class FailureSwitch {
 public:
  void Fail(const std::string& call) { failing_.insert(call); }
  void Heal(const std::string& call) { failing_.erase(call); }
  bool Fails(const std::string& call) const { return failing_.count(call) != 0; }

 private:
  std::set<std::string> failing_;
};

class FakeFolder : public platform::OutlookFolder, public FailureSwitch {
 public:
  FakeFolder(std::u16string name, std::u16string entryId, std::u16string storeId,
             std::weak_ptr<FakeFolder> parent, bool isRoot);

  platform::CallResult<platform::FolderParent> Parent() override;
  platform::CallResult<std::u16string> EntryID() override;
  platform::CallResult<std::u16string> StoreID() override;
  platform::CallResult<std::u16string> Name() override;

  const std::u16string& name() const { return name_; }
  const std::u16string& entryId() const { return entryId_; }
  const std::u16string& storeId() const { return storeId_; }
  std::vector<std::shared_ptr<FakeFolder>> children;

 private:
  std::u16string name_;
  std::u16string entryId_;
  std::u16string storeId_;
  std::weak_ptr<FakeFolder> parent_;
  bool isRoot_;
};

class FakeNamespace : public platform::OutlookNamespace, public FailureSwitch {
 public:
  // Fail("GetDefaultFolder") fails every type, Fail("GetDefaultFolder 18") one.
  platform::CallResult<platform::FolderPtr> GetDefaultFolder(std::int32_t folderType) override;
  // An EntryID that no store holds fails, as Outlook raises an error for it.
  platform::CallResult<platform::FolderPtr> GetFolderFromID(std::u16string_view entryId) override;
  platform::CallResult<platform::FolderPtr> PickFolder() override;

  std::vector<std::shared_ptr<FakeFolder>> storeRoots;
  std::map<std::int32_t, std::shared_ptr<FakeFolder>> defaultFolders;
  std::function<platform::FolderPtr()> chooser;
  int defaultFolderLookups = 0;
};

class FakeAddIn : public platform::AddIn, public FailureSwitch {
 public:
  explicit FakeAddIn(Journal& journal) : journal_(journal) {}
  platform::CallResult<std::u16string> sUN() override;
  platform::CallResult<std::u16string> sPN() override;
  platform::CallResult<std::u16string> sSMBXs() override;
  platform::CallStatus SetIsRestart(std::int16_t value) override;

  std::u16string userName;
  std::u16string profileName;
  std::u16string sharedMailboxes;
  std::vector<std::int16_t> isRestartWrites;

 private:
  Journal& journal_;
};

struct FakeInspector {
  std::string name;
  bool saveFails = false;
  bool closeFails = false;
};

class FakeApplication : public platform::OutlookApplication, public FailureSwitch {
 public:
  explicit FakeApplication(Journal& journal) : journal_(journal) {}
  platform::CallResult<std::shared_ptr<platform::AddIn>> AddInObject(
      std::u16string_view progId) override;
  platform::CallResult<std::u16string> Version() override;
  platform::CallResult<std::int32_t> LanguageID(std::int32_t languageIdType) override;
  platform::CallResult<std::shared_ptr<platform::OutlookNamespace>> GetNamespace(
      std::u16string_view type) override;
  platform::CallResult<std::int32_t> InspectorCount() override;
  platform::CallStatus SaveInspectorItem(std::int32_t index) override;
  platform::CallStatus CloseInspector(std::int32_t index, bool saveMode) override;
  platform::CallStatus Quit() override;

  std::u16string version;
  std::int32_t uiLanguage = 0x0409;
  std::shared_ptr<FakeAddIn> addIn;  // nullptr: the add-in exposes no object
  std::shared_ptr<FakeNamespace> mapi;
  std::vector<FakeInspector> inspectors;  // Item(i) is inspectors[i - 1]
  int quitCount = 0;

 private:
  FakeInspector* Inspector(std::int32_t index);
  Journal& journal_;
};

class FakeHostSite : public platform::HostSite, public FailureSwitch {
 public:
  platform::CallResult<std::shared_ptr<platform::OutlookApplication>> Application() override;
  platform::CallStatus OnStatusChange() override;

  std::shared_ptr<FakeApplication> application;
  int statusChanges = 0;
};

class FakeContainer : public platform::PageContainer, public FailureSwitch {
 public:
  // Fail("Parent") for no container; site = nullptr for one that is no property page site.
  platform::CallResult<std::shared_ptr<platform::HostSite>> Parent() override;
  std::shared_ptr<FakeHostSite> site;
};

// A running Outlook with a default mailbox, wired to a site and container.
class FakeOutlook {
 public:
  explicit FakeOutlook(std::u16string version = u"11.0.0.8010");

  std::shared_ptr<FakeFolder> AddStore(std::u16string rootName);
  std::shared_ptr<FakeFolder> AddFolder(const std::shared_ptr<FakeFolder>& parent,
                                        std::u16string name);
  std::shared_ptr<FakeFolder> DefaultFolder(std::int32_t type) const;
  void OpenInspector(std::string name) { app->inspectors.push_back({std::move(name)}); }

  Journal journal;
  std::shared_ptr<FakeNamespace> ns = std::make_shared<FakeNamespace>();
  std::shared_ptr<FakeAddIn> addIn = std::make_shared<FakeAddIn>(journal);
  std::shared_ptr<FakeApplication> app = std::make_shared<FakeApplication>(journal);
  std::shared_ptr<FakeHostSite> site = std::make_shared<FakeHostSite>();
  FakeContainer container;
  std::shared_ptr<FakeFolder> mailboxRoot;  // root of the default mailbox

 private:
  std::u16string NextEntryId();
  int nextEntry_ = 1;
  int nextStore_ = 1;
};

}  // namespace quillon::testing
