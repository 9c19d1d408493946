// The registry store on the real Win32 registry: each member is exactly one
// advapi32 ANSI call. The interface's 32-bit handles are mapped through a table
// because real HKEYs are pointers on x64; every open key is owned by the table
// and closed at the latest when the store goes away.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/registry_store.h"
#include "win/common/win_handles.h"

namespace quillon::win {

using platform::HKey;
using platform::RegResult;

class Win32RegistryStore : public platform::RegistryStore {
 public:
  Win32RegistryStore() = default;
  Win32RegistryStore(const Win32RegistryStore&) = delete;
  Win32RegistryStore& operator=(const Win32RegistryStore&) = delete;
  ~Win32RegistryStore() override = default;

  [[nodiscard]] RegResult OpenKeyEx(HKey parent, std::string_view subKey, platform::KeyAccess access,
                      HKey& result) override;
  [[nodiscard]] RegResult CreateKeyEx(HKey parent, std::string_view subKey, platform::KeyAccess access,
                        HKey& result, bool* created = nullptr) override;
  [[nodiscard]] RegResult CreateKey(HKey parent, std::string_view subKey, HKey& result) override;
  [[nodiscard]] RegResult QueryValueEx(HKey key, std::string_view valueName, std::uint32_t* type,
                         std::uint8_t* data, std::uint32_t* size) override;
  [[nodiscard]] RegResult SetValueEx(HKey key, std::string_view valueName, std::uint32_t type,
                       const std::uint8_t* data, std::uint32_t size) override;
  [[nodiscard]] RegResult EnumKey(HKey key, std::uint32_t index, char* name, std::uint32_t nameSize) override;
  [[nodiscard]] RegResult EnumKeyEx(HKey key, std::uint32_t index, char* name,
                      std::uint32_t* nameLength) override;
  [[nodiscard]] RegResult QueryInfoKey(HKey key, std::uint32_t* subKeys,
                         std::uint32_t* maxSubKeyLength) override;
  [[nodiscard]] RegResult DeleteKey(HKey key, std::string_view subKey) override;
  [[nodiscard]] RegResult CloseKey(HKey key) override;

  // Keys opened through this store and not closed yet (leak checks in tests).
  std::size_t OpenKeyCount() const { return openKeys_.size(); }

 private:
  HKEY__* Resolve(HKey key) const;   // nullptr for an unknown handle
  // Resolve, and the name as a C string; an error code when either is unusable.
  RegResult Prepare(HKey key, std::string_view name, HKEY__*& handle, std::string& cName) const;
  HKey Adopt(HKEY__* key);           // takes ownership, returns its handle

  std::unordered_map<HKey, UniqueKey> openKeys_;
  HKey nextHandle_ = 0;
};

}  // namespace quillon::win
