// The stand-in Outlook object model: Application, NameSpace, folders, inspectors
// and their items, COMAddIns/COMAddIn and the add-in Quillon.Connect's object.
// Every object is an IDispatch callable by name with Outlook's DISPIDs; what
// Outlook would see (IsRestart, saves, closes, Quit, chooser answers) goes to the log.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "standin/com_support.h"
#include "standin/event_log.h"
#include "standin/scenario.h"

namespace quillon::standin {

// One folder of the scenario, flattened.
struct FolderNode {
  const FolderConfig* config;
  int parent;  // index into World::folders, -1 for a store's root folder
  int store;   // index into Scenario::stores
  std::wstring path;  // "Store name\Inbox\Sub", as the folder chooser lists it
};

struct OpenInspector {
  int id;  // 1-based position in the scenario, stable while others close
  std::wstring subject;
};

// Shows the folder chooser to the user; returns the index of the chosen path or none on cancel.
using FolderChooserUi = std::function<std::optional<size_t>(const std::vector<std::wstring>& paths)>;

class World {
 public:
  World(Scenario scenario, EventLog& log);

  const Scenario& scenario() const { return scenario_; }
  EventLog& log() { return log_; }
  const std::vector<FolderNode>& folders() const { return folders_; }
  std::vector<OpenInspector>& inspectors() { return inspectors_; }

  std::optional<int> DefaultStore() const;
  std::optional<int> FindDefaultFolder(long type) const;
  std::optional<int> FindFolderByEntryId(const std::wstring& entryId) const;
  std::optional<int> FindFolderByPath(const std::wstring& path) const;

  void SetFolderChooserUi(FolderChooserUi ui) { chooserUi_ = std::move(ui); }
  // The user's answer in the folder chooser (scripted first, then the UI); none = cancel.
  std::optional<int> PickFolder();

  bool quitCalled = false;
  // The one Application while it lives (it clears this when destroyed); not owned.
  IDispatch* liveApplication = nullptr;

 private:
  void Flatten(const FolderConfig& folder, int parent, int store, const std::wstring& parentPath);

  Scenario scenario_;
  EventLog& log_;
  std::vector<FolderNode> folders_;
  std::vector<OpenInspector> inspectors_;
  size_t nextScriptedAnswer_ = 0;
  FolderChooserUi chooserUi_;
};

// The running Outlook's Application object for a world (which must outlive it).
ComPtr<IDispatch> MakeApplication(std::shared_ptr<World> world);

// Outlook's DISPIDs that the host and the tests share.
namespace dispid {
inline constexpr DISPID kApplication = 0xF000;
inline constexpr DISPID kClass = 0xF00A;
inline constexpr DISPID kSession = 0xF00B;
inline constexpr DISPID kParent = 0xF001;
}  // namespace dispid

}  // namespace quillon::standin
