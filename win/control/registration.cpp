#include "win/control/registration.h"

#include <olectl.h>

#include <string>

#include "win/common/outlook_interfaces.h"
#include "win/control/class_registration.h"
#include "win/control/version.h"
#include "win/common/win_handles.h"

namespace quillon::win {
namespace {

HKEY ScopeRoot(RegistrationScope scope) {
  return scope == RegistrationScope::Machine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

std::wstring ClassesPath(const std::wstring& below) { return L"Software\\Classes\\" + below; }
std::wstring ClsidKeyPath() { return ClassesPath(std::wstring(L"CLSID\\") + kClsidText); }

// Creates (or opens) the entry's key and sets its value, if it has one.
bool WriteEntry(HKEY root, const ClassRegistryEntry& entry) {
  UniqueKey key;
  if (RegCreateKeyExW(root, ClassesPath(entry.key).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                      KEY_WRITE, nullptr, key.put(), nullptr) != ERROR_SUCCESS)
    return false;
  if (!entry.hasValue) return true;
  const auto bytes = static_cast<DWORD>((entry.text.size() + 1) * sizeof(wchar_t));
  return RegSetValueExW(key.get(), entry.name.empty() ? nullptr : entry.name.c_str(), 0, REG_SZ,
                        reinterpret_cast<const BYTE*>(entry.text.c_str()), bytes) == ERROR_SUCCESS;
}

std::wstring ModulePath(HINSTANCE module) {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD length = GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);  // truncated: try a larger buffer
  }
}

bool DeleteTree(HKEY root, const std::wstring& path) {
  LSTATUS result = RegDeleteTreeW(root, path.c_str());
  if (result == ERROR_SUCCESS) result = RegDeleteKeyW(root, path.c_str());
  return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND;
}

// The ProgID key is removed only while it still names this class, so that
// unregistering never takes away another server's registration of the name.
bool ProgIdIsOurs(HKEY root) {
  UniqueKey key;
  const std::wstring path = ClassesPath(std::wstring(kProgId) + L"\\CLSID");
  if (RegOpenKeyExW(root, path.c_str(), 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS)
    return true;  // no CLSID below it: a leftover of ours, or nothing
  wchar_t text[64] = {};
  DWORD size = sizeof(text) - sizeof(wchar_t);
  DWORD type = 0;
  if (RegQueryValueExW(key.get(), nullptr, nullptr, &type, reinterpret_cast<BYTE*>(text),
                       &size) != ERROR_SUCCESS)
    return true;
  return type == REG_SZ && _wcsicmp(text, kClsidText) == 0;
}

}  // namespace

HRESULT RegisterControl(HINSTANCE module, RegistrationScope scope) {
  const std::wstring path = ModulePath(module);
  if (path.empty()) return SELFREG_E_CLASS;
  const HKEY root = ScopeRoot(scope);
  for (const ClassRegistryEntry& entry : ClassRegistryEntries(path, kVersionMajor, kVersionMinor))
    if (!WriteEntry(root, entry)) return SELFREG_E_CLASS;
  return S_OK;
}

HRESULT UnregisterControl(RegistrationScope scope) {
  const HKEY root = ScopeRoot(scope);
  bool removed = DeleteTree(root, ClsidKeyPath());
  if (ProgIdIsOurs(root)) removed = DeleteTree(root, ClassesPath(kProgId)) && removed;
  return removed ? S_OK : SELFREG_E_CLASS;
}

HRESULT InstallControl(HINSTANCE module, bool install, const wchar_t* commandLine) {
  RegistrationScope scope = RegistrationScope::Machine;
  if (commandLine && *commandLine) {
    if (_wcsicmp(commandLine, L"user") == 0)
      scope = RegistrationScope::CurrentUser;
    else if (_wcsicmp(commandLine, L"machine") != 0)
      return E_INVALIDARG;
  }
  return install ? RegisterControl(module, scope) : UnregisterControl(scope);
}

}  // namespace quillon::win
