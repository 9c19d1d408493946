#include "tests/e2e/e2e_support.h"

#include <cstdio>

#include <gtest/gtest.h>

namespace quillon::e2e {
namespace {

using nlohmann::json;

std::string ReadFile(const std::wstring& path) {
  FILE* file = _wfopen(path.c_str(), L"rb");
  if (!file) return {};
  std::string text;
  char buffer[4096];
  for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) text.append(buffer, n);
  std::fclose(file);
  return text;
}

bool WriteFile(const std::wstring& path, const std::string& text) {
  FILE* file = _wfopen(path.c_str(), L"wb");
  if (!file) return false;
  const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  return std::fclose(file) == 0 && written;
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

// The sample profile as a clean start: the key deleted, then the .reg imported.
bool ImportSampleProfile() {
  RegDeleteTreeW(HKEY_CURRENT_USER, kProfileKey);
  const auto code = RunToEnd(L"regedit.exe /S \"" + WindowsPath(QUILLON_E2E_SAMPLES_DIR "/quillon-sample.reg") + L"\"");
  return code && *code == 0 && KeyExists(kAccountsKey);
}

// The page is created by ProgID, so the DLL is registered as an installer would, once.
class RegisteredControl : public ::testing::Environment {
 public:
  void SetUp() override {
    const auto code = RunToEnd(L"regsvr32.exe /s \"" + WindowsPath(QUILLON_E2E_CONTROL_DLL) + L"\"");
    ASSERT_TRUE(code && *code == 0) << "regsvr32 could not register Quillon.dll";
  }
};
const auto* const kRegisteredControl = ::testing::AddGlobalTestEnvironment(new RegisteredControl);

}  // namespace

std::wstring WindowsPath(const std::string& unixPath) {
  std::wstring out = L"Z:";
  for (char ch : unixPath) out += ch == '/' ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(ch));
  return out;
}

std::optional<unsigned long> RunToEnd(const std::wstring& commandLine) {
  standin::driver::Process process;
  if (!process.Start(commandLine)) return std::nullopt;
  return process.Wait(60000);
}

Bytes StoredText(const std::u16string& text) {
  Bytes bytes;
  for (char16_t unit : text) {
    bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
  }
  bytes.push_back(0);
  bytes.push_back(0);
  return bytes;
}

Bytes LittleEndianList(std::initializer_list<std::uint32_t> numbers) {
  Bytes bytes;
  for (std::uint32_t n : numbers)
    for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<std::uint8_t>(n >> shift));
  return bytes;
}

std::optional<Value> ReadValue(const std::wstring& key, const char* name) {
  HKEY handle = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_QUERY_VALUE, &handle) != ERROR_SUCCESS) return std::nullopt;
  Value value;
  DWORD size = 0;
  LONG result = RegQueryValueExA(handle, name, nullptr, &value.type, nullptr, &size);
  if (result == ERROR_SUCCESS) {
    value.bytes.resize(size);
    result = RegQueryValueExA(handle, name, nullptr, &value.type, value.bytes.data(), &size);
    value.bytes.resize(size);
  }
  RegCloseKey(handle);
  if (result != ERROR_SUCCESS) return std::nullopt;
  return value;
}

std::optional<std::uint32_t> ReadDword(const std::wstring& key, const char* name) {
  const auto value = ReadValue(key, name);
  if (!value || value->type != REG_DWORD || value->bytes.size() != 4) return std::nullopt;
  return value->bytes[0] | value->bytes[1] << 8 | value->bytes[2] << 16 | static_cast<std::uint32_t>(value->bytes[3]) << 24;
}

bool KeyExists(const std::wstring& key) {
  HKEY handle = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) return false;
  RegCloseKey(handle);
  return true;
}

std::vector<std::wstring> SubKeys(const std::wstring& key) {
  std::vector<std::wstring> names;
  HKEY handle = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) return names;
  wchar_t name[256];
  for (DWORD i = 0;; ++i) {
    DWORD length = 256;
    if (RegEnumKeyExW(handle, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    names.emplace_back(name, length);
  }
  RegCloseKey(handle);
  return names;
}

std::vector<std::pair<std::string, Value>> AllValues(const std::wstring& key) {
  std::vector<std::pair<std::string, Value>> values;
  HKEY handle = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) return values;
  char name[256];
  for (DWORD i = 0;; ++i) {
    DWORD length = 256;
    if (RegEnumValueA(handle, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    const std::string valueName(name, length);
    if (const auto value = ReadValue(key, valueName.c_str())) values.emplace_back(valueName, *value);
  }
  RegCloseKey(handle);
  return values;
}

void Answer(DWORD processId, const std::wstring& text, int button) {
  const auto dialog = standin::driver::WaitForModal(processId);
  ASSERT_TRUE(dialog) << "no dialog showing";
  EXPECT_EQ(dialog->text, text);
  ASSERT_TRUE(standin::driver::Press(*dialog, button));
}

std::wstring AccountKey(const wchar_t* accountName) { return std::wstring(kAccountsKey) + L"\\" + accountName; }

StandinSession::StandinSession(const json& changes, const std::wstring& extraArguments,
                               const std::function<void()>& beforeStart) {
  static int runs = 0;
  const std::wstring run = std::to_wstring(++runs);
  scenarioPath_ = TempPath(L"scenario-" + run + L".json");
  logPath_ = TempPath(L"log-" + run + L".json");
  json scenario = json::parse(ReadFile(WindowsPath(QUILLON_E2E_SAMPLES_DIR "/quillon-sample.json")), nullptr, false);
  if (scenario.is_discarded() || !ImportSampleProfile()) return;
  Merge(scenario, changes);
  if (!WriteFile(scenarioPath_, scenario.dump(2))) return;
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

std::vector<std::string> StandinSession::OutlookSaw() const {
  std::vector<std::string> seen;
  for (const json& event : Events()) {
    const std::string name = event.value("event", "");
    if (name == "Save" || name == "Close") seen.push_back(name + " " + std::to_string(event.value("inspector", 0)));
    else if (name == "IsRestart") seen.push_back("IsRestart " + event["argument"].get<std::string>());
    else if (name == "Quit" || name == "DialogClosed" || name == "ControlReleased")
      seen.push_back(name + (event.contains("by") ? " by " + event["by"].get<std::string>() : "") +
                     (event.contains("references") ? " " + std::to_string(event["references"].get<int>()) : ""));
  }
  return seen;
}

}  // namespace quillon::e2e
