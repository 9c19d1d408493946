#include "tests/core/store_under_test.h"

#include <array>

#ifdef QUILLON_WIN32_REGISTRY
#include <windows.h>

#include "win/registry/win32_registry_store.h"
#endif

namespace quillon::testing {

using namespace platform;

std::unique_ptr<RegistryStore> MakeStoreUnderTest() {
#ifdef QUILLON_WIN32_REGISTRY
  return std::make_unique<quillon::win::Win32RegistryStore>();
#else
  return std::make_unique<MemoryRegistryStore>();
#endif
}

MemoryRegistryStore* InMemoryStoreOrNull(RegistryStore& store) {
  return dynamic_cast<MemoryRegistryStore*>(&store);
}

std::optional<std::size_t> OpenHandleCountOf(RegistryStore& store) {
  if (auto* memory = InMemoryStoreOrNull(store)) return memory->OpenHandleCount();
#ifdef QUILLON_WIN32_REGISTRY
  if (auto* real = dynamic_cast<quillon::win::Win32RegistryStore*>(&store)) {
    return real->OpenKeyCount();
  }
#endif
  return std::nullopt;
}

bool StoreIsWineRegistry(RegistryStore& store) {
  if (InMemoryStoreOrNull(store) != nullptr) return false;
#ifdef _WIN32
  HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
#else
  return false;
#endif
}

void SeedValue(RegistryStore& store, HKey root, std::string_view path, std::string_view name,
               std::uint32_t type, const Bytes& bytes) {
  HKey key = kNoKey;
  if (store.CreateKeyEx(root, path, kKeyAllSixRights, key) != kErrorSuccess) return;
  store.SetValueEx(key, name, type, bytes.data(), static_cast<std::uint32_t>(bytes.size()));
  store.CloseKey(key);
}

std::optional<StoredValue> ReadRawValue(RegistryStore& store, HKey root, std::string_view path,
                                        std::string_view name) {
  HKey key = kNoKey;
  if (store.OpenKeyEx(root, path, kKeyRead, key) != kErrorSuccess) return std::nullopt;
  StoredValue value;
  std::uint32_t size = 0;
  RegResult result = store.QueryValueEx(key, name, &value.type, nullptr, &size);
  value.bytes.resize(size);
  if (result == kErrorSuccess && size > 0) {
    result = store.QueryValueEx(key, name, &value.type, value.bytes.data(), &size);
    value.bytes.resize(size);
  }
  store.CloseKey(key);
  if (result != kErrorSuccess) return std::nullopt;
  return value;
}

bool KeyExistsIn(RegistryStore& store, HKey root, std::string_view path) {
  HKey key = kNoKey;
  if (store.OpenKeyEx(root, path, kKeyRead, key) != kErrorSuccess) return false;
  store.CloseKey(key);
  return true;
}

std::vector<std::string> SubKeysOf(RegistryStore& store, HKey root, std::string_view path) {
  std::vector<std::string> names;
  HKey key = kNoKey;
  if (store.OpenKeyEx(root, path, kKeyRead, key) != kErrorSuccess) return names;
  std::array<char, 512> buffer{};
  for (std::uint32_t index = 0;
       store.EnumKey(key, index, buffer.data(), buffer.size()) == kErrorSuccess; ++index) {
    names.emplace_back(buffer.data());
  }
  store.CloseKey(key);
  return names;
}

void RemoveKeyTree(RegistryStore& store, HKey root, std::string_view path) {
  for (const std::string& child : SubKeysOf(store, root, path)) {
    RemoveKeyTree(store, root, std::string(path) + "\\" + child);
  }
  store.DeleteKey(root, path);
}

Bytes StoredText(std::u16string_view text) {
  Bytes bytes;
  for (char16_t unit : text) {
    bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
  }
  bytes.push_back(0);
  bytes.push_back(0);
  return bytes;
}

Bytes AsBytes(std::string_view text) { return Bytes(text.begin(), text.end()); }

}  // namespace quillon::testing
