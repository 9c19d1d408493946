#include "standin/scenario.h"

#include <cstdio>
#include <stdexcept>

#include <nlohmann/json.hpp>

#include "standin/com_support.h"

namespace quillon::standin {
namespace {

using nlohmann::json;

std::wstring Text(const json& object, const char* key, const std::wstring& fallback = L"") {
  const auto it = object.find(key);
  return it == object.end() ? fallback : Widen(it->get<std::string>());
}

// Folders without an EntryID get a stable made-up one, unique within the scenario.
std::wstring MadeUpEntryId(int& counter) {
  wchar_t buffer[64];
  swprintf(buffer, 64, L"00000000D1F1A0E5A11CE0C0FFEE%08X", ++counter);
  return buffer;
}

FolderConfig ParseFolder(const json& node, int& counter) {
  FolderConfig folder;
  folder.name = Text(node, "name");
  folder.entryId = Text(node, "entryId");
  if (folder.entryId.empty()) folder.entryId = MadeUpEntryId(counter);
  folder.defaultFolder = node.value("defaultFolder", 0);
  for (const json& child : node.value("folders", json::array())) folder.folders.push_back(ParseFolder(child, counter));
  return folder;
}

StoreConfig ParseStore(const json& node, int& counter) {
  StoreConfig store;
  store.root.name = Text(node, "name");
  store.root.entryId = Text(node, "rootEntryId");
  if (store.root.entryId.empty()) store.root.entryId = MadeUpEntryId(counter);
  store.storeId = Text(node, "storeId");
  if (store.storeId.empty()) store.storeId = L"0000000038A1BB1005E5101AA1BB08002B2A56C2" + MadeUpEntryId(counter);
  store.isDefault = node.value("default", false);
  for (const json& child : node.value("folders", json::array())) store.root.folders.push_back(ParseFolder(child, counter));
  return store;
}

void ParseAddIn(const json& node, Scenario& scenario) {
  scenario.addInLoaded = node.value("loaded", true);
  scenario.addInHasObject = node.value("hasObject", true);
  scenario.sUN = Text(node, "sUN");
  scenario.sPN = Text(node, "sPN");
  for (const json& item : node.value("sharedMailboxes", json::array()))
    scenario.sharedMailboxes.push_back(Widen(item.get<std::string>()));
}

}  // namespace

Scenario ParseScenario(const std::string& jsonText) {
  const json root = json::parse(jsonText);
  Scenario scenario;
  int counter = 0;
  if (const auto outlook = root.find("outlook"); outlook != root.end()) {
    scenario.outlookVersion = Text(*outlook, "version", scenario.outlookVersion);
    scenario.uiLanguage = outlook->value("uiLanguage", scenario.uiLanguage);
  }
  if (const auto addIn = root.find("addIn"); addIn != root.end()) ParseAddIn(*addIn, scenario);
  else scenario.addInLoaded = false;
  for (const json& store : root.value("stores", json::array())) scenario.stores.push_back(ParseStore(store, counter));
  for (const json& inspector : root.value("inspectors", json::array()))
    scenario.inspectorSubjects.push_back(Text(inspector, "subject"));
  for (const json& answer : root.value("folderChooser", json::array())) {
    if (answer.is_null()) scenario.folderChooserAnswers.push_back(std::nullopt);
    else scenario.folderChooserAnswers.push_back(Widen(answer.get<std::string>()));
  }
  return scenario;
}

Scenario LoadScenarioFile(const std::wstring& path) {
  FILE* file = _wfopen(path.c_str(), L"rb");
  if (!file) throw std::runtime_error("cannot open the scenario file " + Narrow(path));
  std::string text;
  char buffer[4096];
  for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) text.append(buffer, n);
  std::fclose(file);
  return ParseScenario(text);
}

}  // namespace quillon::standin
