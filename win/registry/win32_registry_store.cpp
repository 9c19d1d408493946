#include "win/registry/win32_registry_store.h"

#include <windows.h>

#include <vector>

namespace quillon::win {
namespace {

using namespace quillon::platform;

// Handles look like kernel handles (multiples of 4) and stay below the roots.
constexpr HKey kHandleStep = 4;
constexpr HKey kLastHandle = 0x7FFFFFFCu;

}  // namespace

HKEY Win32RegistryStore::Resolve(HKey key) const {
  if (key == kCurrentUser) return HKEY_CURRENT_USER;
  if (key == kClassesRoot) return HKEY_CLASSES_ROOT;
  const auto found = openKeys_.find(key);
  return found == openKeys_.end() ? nullptr : found->second.get();
}

RegResult Win32RegistryStore::Prepare(HKey key, std::string_view name, HKEY& handle,
                                      std::string& cName) const {
  handle = Resolve(key);
  if (handle == nullptr) return kErrorInvalidHandle;
  // The ANSI calls take NUL-terminated names: a name with an embedded NUL would be
  // cut short and silently address another key or value, so it is refused instead.
  if (name.find('\0') != std::string_view::npos) return kErrorInvalidParameter;
  cName.assign(name);
  return kErrorSuccess;
}

HKey Win32RegistryStore::Adopt(HKEY key) {
  // RegCreateKeyA may hand a predefined root back unchanged; roots are never owned.
  if (key == HKEY_CURRENT_USER) return kCurrentUser;
  if (key == HKEY_CLASSES_ROOT) return kClassesRoot;
  do {
    nextHandle_ = nextHandle_ >= kLastHandle ? kHandleStep : nextHandle_ + kHandleStep;
  } while (openKeys_.contains(nextHandle_));
  openKeys_.emplace(nextHandle_, UniqueKey(key));
  return nextHandle_;
}

RegResult Win32RegistryStore::OpenKeyEx(HKey parent, std::string_view subKey,
                                        platform::KeyAccess access, HKey& result) {
  result = kNoKey;
  HKEY parentKey = nullptr;
  std::string name;
  if (const RegResult rc = Prepare(parent, subKey, parentKey, name); rc != kErrorSuccess) return rc;
  HKEY opened = nullptr;
  const LONG rc = ::RegOpenKeyExA(parentKey, name.c_str(), 0, platform::Bits(access), &opened);
  if (rc == ERROR_SUCCESS) result = Adopt(opened);
  return rc;
}

RegResult Win32RegistryStore::CreateKeyEx(HKey parent, std::string_view subKey,
                                          platform::KeyAccess access, HKey& result, bool* created) {
  result = kNoKey;
  HKEY parentKey = nullptr;
  std::string name;
  if (const RegResult rc = Prepare(parent, subKey, parentKey, name); rc != kErrorSuccess) return rc;
  HKEY opened = nullptr;
  DWORD disposition = 0;
  const LONG rc = ::RegCreateKeyExA(parentKey, name.c_str(), 0, nullptr, 0, platform::Bits(access), nullptr,
                                    &opened, &disposition);
  if (rc != ERROR_SUCCESS) return rc;
  result = Adopt(opened);
  if (created != nullptr) *created = disposition == REG_CREATED_NEW_KEY;
  return rc;
}

RegResult Win32RegistryStore::CreateKey(HKey parent, std::string_view subKey, HKey& result) {
  result = kNoKey;
  HKEY parentKey = nullptr;
  std::string name;
  if (const RegResult rc = Prepare(parent, subKey, parentKey, name); rc != kErrorSuccess) return rc;
  HKEY opened = nullptr;
  const LONG rc = ::RegCreateKeyA(parentKey, name.c_str(), &opened);
  if (rc == ERROR_SUCCESS) result = Adopt(opened);
  return rc;
}

RegResult Win32RegistryStore::QueryValueEx(HKey key, std::string_view valueName,
                                           std::uint32_t* type, std::uint8_t* data,
                                           std::uint32_t* size) {
  HKEY handle = nullptr;
  std::string name;
  if (const RegResult rc = Prepare(key, valueName, handle, name); rc != kErrorSuccess) return rc;
  DWORD valueType = 0;
  DWORD valueSize = size != nullptr ? *size : 0;
  const LONG rc = ::RegQueryValueExA(handle, name.c_str(), nullptr, type ? &valueType : nullptr,
                                     data, size ? &valueSize : nullptr);
  if (type != nullptr && (rc == ERROR_SUCCESS || rc == ERROR_MORE_DATA)) *type = valueType;
  if (size != nullptr && (rc == ERROR_SUCCESS || rc == ERROR_MORE_DATA)) *size = valueSize;
  return rc;
}

RegResult Win32RegistryStore::SetValueEx(HKey key, std::string_view valueName,
                                         std::uint32_t type, const std::uint8_t* data,
                                         std::uint32_t size) {
  HKEY handle = nullptr;
  std::string name;
  if (const RegResult rc = Prepare(key, valueName, handle, name); rc != kErrorSuccess) return rc;
  if (type != REG_SZ || data == nullptr || size == 0) {
    return ::RegSetValueExA(handle, name.c_str(), 0, type, data, size);
  }
  // RegSetValueExA stores one byte more for a REG_SZ whose counted bytes are not
  // NUL-terminated when the byte after them is NUL. Copying the bytes in front of
  // a non-NUL byte keeps the stored size exactly what the caller counted.
  std::vector<std::uint8_t> bytes(data, data + size);
  bytes.push_back('?');
  return ::RegSetValueExA(handle, name.c_str(), 0, type, bytes.data(), size);
}

RegResult Win32RegistryStore::EnumKey(HKey key, std::uint32_t index, char* name,
                                      std::uint32_t nameSize) {
  const HKEY handle = Resolve(key);
  if (handle == nullptr) return kErrorInvalidHandle;
  return ::RegEnumKeyA(handle, index, name, nameSize);
}

RegResult Win32RegistryStore::EnumKeyEx(HKey key, std::uint32_t index, char* name,
                                        std::uint32_t* nameLength) {
  const HKEY handle = Resolve(key);
  if (handle == nullptr) return kErrorInvalidHandle;
  if (nameLength == nullptr) return kErrorInvalidParameter;
  DWORD length = *nameLength;
  const LONG rc =
      ::RegEnumKeyExA(handle, index, name, &length, nullptr, nullptr, nullptr, nullptr);
  if (rc == ERROR_SUCCESS) *nameLength = length;
  return rc;
}

RegResult Win32RegistryStore::QueryInfoKey(HKey key, std::uint32_t* subKeys,
                                           std::uint32_t* maxSubKeyLength) {
  const HKEY handle = Resolve(key);
  if (handle == nullptr) return kErrorInvalidHandle;
  DWORD count = 0;
  DWORD longest = 0;
  const LONG rc = ::RegQueryInfoKeyA(handle, nullptr, nullptr, nullptr, &count, &longest,
                                     nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
  if (rc != ERROR_SUCCESS) return rc;
  if (subKeys != nullptr) *subKeys = count;
  if (maxSubKeyLength != nullptr) *maxSubKeyLength = longest;
  return rc;
}

RegResult Win32RegistryStore::DeleteKey(HKey key, std::string_view subKey) {
  HKEY handle = nullptr;
  std::string name;
  if (const RegResult rc = Prepare(key, subKey, handle, name); rc != kErrorSuccess) return rc;
  return ::RegDeleteKeyA(handle, name.c_str());
}

RegResult Win32RegistryStore::CloseKey(HKey key) {
  if (key == kCurrentUser || key == kClassesRoot) return kErrorSuccess;
  const auto found = openKeys_.find(key);
  if (found == openKeys_.end()) return kErrorInvalidHandle;
  const RegResult rc = found->second.close();  // RegCloseKey's own code
  openKeys_.erase(found);
  return rc;
}

}  // namespace quillon::win
