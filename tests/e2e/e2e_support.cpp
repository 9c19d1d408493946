#include "tests/e2e/e2e_support.h"

#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "tests/support/checks.h"

namespace quillon::e2e {
namespace {

using nlohmann::json;
using quillon::testing::RemoveKeyTree;
using win::testing::WindowsPath;
using platform::kCurrentUser;

std::string ReadFile(const std::wstring& path) {
  std::ifstream in(std::filesystem::path(path), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::wstring TempPath(const std::wstring& leaf) {
  wchar_t directory[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, directory);
  return std::wstring(directory) + L"quillon-e2e-" + std::to_wstring(GetCurrentProcessId()) + L"-" + leaf;
}

// Folds `changes` into `target`: objects merge key by key, anything else replaces.
void Merge(json& target, const json& changes) {
  if (!changes.is_object() || !target.is_object()) {
    target = changes;
    return;
  }
  for (auto& [key, value] : changes.items()) Merge(target[key], value);
}

platform::RegistryStore& Store() {
  static const auto store = quillon::testing::MakeStoreUnderTest();
  return *store;
}

// The page is created by ProgID, so the DLL is registered as an installer would, once.
class RegisteredControl : public ::testing::Environment {
 public:
  void SetUp() override {
    standin::driver::Process regsvr32;
    ASSERT_TRUE(regsvr32.Start(L"regsvr32.exe /s \"" + WindowsPath(QUILLON_E2E_CONTROL_DLL) + L"\"") &&
                regsvr32.Wait(60000) == 0u)
        << "regsvr32 could not register Quillon.dll";
  }
};
const auto* const kRegisteredControl = ::testing::AddGlobalTestEnvironment(new RegisteredControl);

}  // namespace

StoredValue ReadValue(const std::string& key, const char* name) {
  return quillon::testing::ReadRawValue(Store(), kCurrentUser, key, name).value_or(StoredValue{});
}

Names SubKeys(const std::string& key) { return quillon::testing::SubKeysOf(Store(), kCurrentUser, key); }

void WriteValue(const std::string& key, const char* name, const StoredValue& value) {
  quillon::testing::SeedValue(Store(), kCurrentUser, key, name, value.type, value.bytes);
}

void RemoveKey(const std::string& key) { RemoveKeyTree(Store(), kCurrentUser, key); }

::testing::AssertionResult AnswerDialog(DWORD processId, const std::wstring& text, int button) {
  const auto dialog = standin::driver::WaitForModal(processId);
  if (!dialog) return ::testing::AssertionFailure() << "no dialog showing";
  return quillon::testing::Checks()
      .Equal(dialog->text, text, "dialog text")
      .True(standin::driver::Press(*dialog, button), "pressing its button");
}

StandinSession::StandinSession(const json& changes, const std::wstring& extraArguments,
                               const std::function<void()>& beforeStart) {
  static int runs = 0;
  const std::wstring run = std::to_wstring(++runs);
  scenarioPath_ = TempPath(L"scenario-" + run + L".json");
  logPath_ = TempPath(L"log-" + run + L".json");
  json scenario = json::parse(ReadFile(win::testing::SamplePath(L"quillon-sample.json")), nullptr, false);
  if (scenario.is_discarded() || !win::testing::ImportSampleProfile() || SubKeys(kAccountsKey).empty()) return;
  Merge(scenario, changes);
  std::ofstream scenarioFile(std::filesystem::path(scenarioPath_), std::ios::binary);
  scenarioFile << scenario.dump(2);
  scenarioFile.close();  // before the stand-in reads it
  if (scenarioFile.fail()) return;
  if (beforeStart) beforeStart();
  started_ = process_.Start(L"\"" + WindowsPath(QUILLON_E2E_OPTIONS_EXE) + L"\" --scenario \"" + scenarioPath_ +
                            L"\" --log \"" + logPath_ + L"\" " + extraArguments);
}

StandinSession::~StandinSession() {
  DeleteFileW(scenarioPath_.c_str());
  DeleteFileW(logPath_.c_str());
}

json StandinSession::Events() const {
  const json log = json::parse(ReadFile(logPath_), nullptr, false);
  return log.is_object() && log.contains("events") ? log["events"] : json::array();
}

std::vector<json> StandinSession::EventsNamed(const std::string& name) const {
  std::vector<json> found;
  for (const json& event : Events())
    if (event.value("event", "") == name) found.push_back(event);
  return found;
}

Names StandinSession::OutlookSaw() const {
  Names seen;
  for (const json& event : Events()) {
    const std::string name = event.value("event", "");
    std::string line = name;
    if (name == "Save" || name == "Close") {
      line.append(" ").append(std::to_string(event.value("inspector", 0)));
    } else if (name == "IsRestart") {
      line.append(" ").append(event.value("argument", ""));
    } else if (name == "DialogClosed") {
      line.append(" by ").append(event.value("by", ""));
    } else if (name == "ControlReleased") {
      line.append(" ").append(std::to_string(event.value("references", -1)));
    } else if (name != "Quit") {
      continue;
    }
    seen.push_back(line);
  }
  return seen;
}

}  // namespace quillon::e2e
