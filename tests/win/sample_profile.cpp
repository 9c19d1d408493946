#include "sample_profile.h"

#include <cstdio>
#include <vector>

#include "standin/driver/ui_driver.h"
#include "standin/event_log.h"
#include "standin/outlook_model.h"
#include "standin/scenario.h"
#include "win/common/win_handles.h"

namespace quillon::win::testing {
namespace {

void AppendHex(std::string& out, const BYTE* bytes, DWORD size) {
  char hex[4];
  for (DWORD i = 0; i < size; ++i) {
    std::snprintf(hex, sizeof hex, "%02x", bytes[i]);
    out += hex;
  }
}

std::string Narrow(const wchar_t* text, DWORD length) {
  std::string out;
  for (DWORD i = 0; i < length; ++i) out += text[i] < 0x80 ? static_cast<char>(text[i]) : '?';
  return out;
}

void AppendValues(std::string& out, HKEY key) {
  std::vector<wchar_t> name(16384);
  std::vector<BYTE> data(1 << 16);
  for (DWORD index = 0;; ++index) {
    DWORD nameLength = static_cast<DWORD>(name.size()), type = 0, size = static_cast<DWORD>(data.size());
    const LONG result = RegEnumValueW(key, index, name.data(), &nameLength, nullptr, &type, data.data(), &size);
    if (result == ERROR_NO_MORE_ITEMS) return;
    if (result != ERROR_SUCCESS) {
      out += "  <value " + std::to_string(index) + " unreadable>\n";
      continue;
    }
    out += "  \"" + Narrow(name.data(), nameLength) + "\" " + std::to_string(type) + " ";
    AppendHex(out, data.data(), size);
    out += "\n";
  }
}

void AppendKey(std::string& out, HKEY parent, const std::wstring& path, const std::wstring& shown) {
  UniqueKey key;
  if (RegOpenKeyExW(parent, path.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS) {
    out += "missing\n";
    return;
  }
  out += "[" + Narrow(shown.c_str(), static_cast<DWORD>(shown.size())) + "]\n";
  AppendValues(out, key.get());
  wchar_t child[256];
  for (DWORD index = 0;; ++index) {
    DWORD length = 256;
    if (RegEnumKeyExW(key.get(), index, child, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
      return;
    AppendKey(out, key.get(), std::wstring(child, length), shown + L"\\" + std::wstring(child, length));
  }
}

}  // namespace

std::wstring WindowsPath(const char* unixPath) {
  std::wstring path = L"Z:";
  for (const char* c = unixPath; *c; ++c) path.push_back(*c == '/' ? L'\\' : static_cast<wchar_t>(*c));
  return path;
}

std::wstring SamplePath(const std::wstring& leaf) { return WindowsPath(QUILLON_SAMPLES_DIR) + L"\\" + leaf; }

bool ImportSampleProfile(const std::wstring& regPath, const std::wstring& key) {
  const LONG deleted = RegDeleteTreeW(HKEY_CURRENT_USER, key.c_str());
  if (deleted != ERROR_SUCCESS && deleted != ERROR_FILE_NOT_FOUND) return false;
  standin::driver::Process regedit;
  return regedit.Start(L"regedit.exe /S \"" + regPath + L"\"") && regedit.Wait(60000) == 0u;
}

std::string RegistryImage(const std::wstring& key) {
  std::string out;
  AppendKey(out, HKEY_CURRENT_USER, key, L"");
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
