#include "sample_profile.h"

#include <cstdio>

#include "standin/driver/ui_driver.h"
#include "standin/event_log.h"
#include "standin/outlook_model.h"
#include "standin/scenario.h"
#include "tests/core/store_under_test.h"
#include "win/common/win_handles.h"

namespace quillon::win::testing {

std::wstring WindowsPath(const char* unixPath) {
  std::wstring path = L"Z:";
  for (const char* c = unixPath; *c; ++c) path.push_back(*c == '/' ? L'\\' : static_cast<wchar_t>(*c));
  return path;
}

std::wstring SamplePath(const std::wstring& leaf) { return WindowsPath(QUILLON_SAMPLES_DIR) + L"\\" + leaf; }

bool ImportSampleProfile(const std::wstring& regPath, const std::string& key) {
  const LONG deleted = RegDeleteTreeA(HKEY_CURRENT_USER, key.c_str());
  if (deleted != ERROR_SUCCESS && deleted != ERROR_FILE_NOT_FOUND) return false;
  // The regedit of this program's bitness: the sample's POP3 account class lands in
  // the registry view the page of that bitness reads.
  standin::driver::Process regedit;
  return regedit.Start(L"regedit.exe /S \"" + regPath + L"\"") && regedit.Wait(60000) == 0u;
}

std::string RegistryImage(const std::string& key) {
  static const auto store = quillon::testing::MakeStoreUnderTest();  // the real registry
  const auto tree = quillon::testing::ReadTree(*store, platform::kCurrentUser, key);
  if (tree.empty()) return "missing\n";
  std::string out;
  char hex[4];
  for (const auto& entry : tree) {
    if (!entry.valueName) {
      out += "[" + entry.keyPath.substr(key.size()) + "]\n";
      continue;
    }
    out += "  \"" + *entry.valueName + "\" " + std::to_string(entry.value.type) + " ";
    for (std::uint8_t byte : entry.value.bytes) out.append(hex, std::snprintf(hex, sizeof hex, "%02x", byte));
    out += "\n";
  }
  return out;
}

ComPtr<IDispatch> SampleOutlook() {
  // The world's log stays in memory and goes with the world, so lifetimes do not pile it up.
  struct LoggedWorld {
    explicit LoggedWorld(const standin::Scenario& scenario) : world(scenario, log) {}
    standin::EventLog log{L""};
    standin::World world;
  };
  static const standin::Scenario scenario = standin::LoadScenarioFile(SamplePath(L"quillon-sample.json"));
  auto owner = std::make_shared<LoggedWorld>(scenario);
  return standin::MakeApplication(std::shared_ptr<standin::World>(owner, &owner->world));
}

}  // namespace quillon::win::testing
