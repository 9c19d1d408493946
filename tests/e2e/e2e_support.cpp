#include "tests/e2e/e2e_support.h"

#include <cstdio>
#include <memory>
#include <type_traits>

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

// A key below HKEY_CURRENT_USER opened for reading, closed when it goes.
class ReadKey {
 public:
  explicit ReadKey(const std::wstring& path) {
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &handle_) != ERROR_SUCCESS) handle_ = nullptr;
  }
  ReadKey(const ReadKey&) = delete;
  ReadKey& operator=(const ReadKey&) = delete;
  ~ReadKey() {
    if (handle_) RegCloseKey(handle_);
  }
  HKEY get() const { return handle_; }

 private:
  HKEY handle_ = nullptr;
};

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
  ReadKey handle(key);
  if (!handle.get()) return std::nullopt;
  Value value;
  DWORD size = 0;
  if (RegQueryValueExA(handle.get(), name, nullptr, &value.type, nullptr, &size) != ERROR_SUCCESS) return std::nullopt;
  value.bytes.resize(size);
  if (RegQueryValueExA(handle.get(), name, nullptr, &value.type, value.bytes.data(), &size) != ERROR_SUCCESS)
    return std::nullopt;
  value.bytes.resize(size);
  return value;
}

std::optional<std::uint32_t> ReadDword(const std::wstring& key, const char* name) {
  const auto value = ReadValue(key, name);
  if (!value || value->type != REG_DWORD || value->bytes.size() != 4) return std::nullopt;
  return value->bytes[0] | value->bytes[1] << 8 | value->bytes[2] << 16 | static_cast<std::uint32_t>(value->bytes[3]) << 24;
}

bool WriteBinary(const std::wstring& key, const char* name, const Bytes& bytes) {
  HKEY raw = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_SET_VALUE, &raw) != ERROR_SUCCESS) return false;
  std::unique_ptr<std::remove_pointer_t<HKEY>, decltype(&RegCloseKey)> handle(raw, &RegCloseKey);
  return RegSetValueExA(raw, name, 0, REG_BINARY, bytes.data(), static_cast<DWORD>(bytes.size())) == ERROR_SUCCESS;
}

bool KeyExists(const std::wstring& key) { return ReadKey(key).get() != nullptr; }

std::vector<std::wstring> SubKeys(const std::wstring& key) {
  std::vector<std::wstring> names;
  ReadKey handle(key);
  wchar_t name[256];
  DWORD length = 256;
  for (DWORD i = 0; handle.get() && RegEnumKeyExW(handle.get(), i, name, &length, nullptr, nullptr, nullptr,
                                                  nullptr) == ERROR_SUCCESS;
       ++i, length = 256)
    names.emplace_back(name, length);
  return names;
}

std::vector<std::pair<std::string, Value>> AllValues(const std::wstring& key) {
  std::vector<std::pair<std::string, Value>> values;
  ReadKey handle(key);
  char name[256];
  DWORD length = 256;
  for (DWORD i = 0; handle.get() && RegEnumValueA(handle.get(), i, name, &length, nullptr, nullptr, nullptr,
                                                  nullptr) == ERROR_SUCCESS;
       ++i, length = 256) {
    const std::string valueName(name, length);
    if (const auto value = ReadValue(key, valueName.c_str())) values.emplace_back(valueName, *value);
  }
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
