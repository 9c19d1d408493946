// The scenario the stand-in Outlook plays: who the user is, which Outlook,
// which stores and folders, which item windows are open, and what the user
// answers in the folder chooser. Read from a JSON file (format in docs/run.md, "The stand-in by hand").
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace quillon::standin {

struct FolderConfig {
  std::wstring name;
  std::wstring entryId;
  int defaultFolder = 0;  // an OlDefaultFolders number, 0 = an ordinary folder
  std::vector<FolderConfig> folders;
};

struct StoreConfig {
  FolderConfig root;  // the store's root folder; its name is the store's display name
  std::wstring storeId;
  bool isDefault = false;
};

struct Scenario {
  std::wstring outlookVersion = L"16.0.0.0";
  long uiLanguage = 1033;
  // The add-in Quillon.Connect: absent when not loaded; without an object when it publishes none.
  bool addInLoaded = true;
  bool addInHasObject = true;
  std::wstring sUN, sPN;
  std::vector<std::wstring> sharedMailboxes;  // joined by Chr(1) for sSMBXs
  std::vector<StoreConfig> stores;
  std::vector<std::wstring> inspectorSubjects;
  // Scripted folder-chooser answers, in order: a folder path ("Store\Inbox\Sub")
  // or none (cancel). When they run out the chooser is shown to the user.
  std::vector<std::optional<std::wstring>> folderChooserAnswers;
};

// Throws std::exception with a readable message when the text is not a valid scenario.
Scenario ParseScenario(const std::string& jsonText);
// Reads and parses a file; throws on failure.
Scenario LoadScenarioFile(const std::wstring& path);

}  // namespace quillon::standin
