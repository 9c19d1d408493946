#include "tests/core/store_under_test.h"

#include <array>
#include <stdexcept>

#ifdef QUILLON_WIN32_REGISTRY
#include <windows.h>

#include "win/registry/win32_registry_store.h"
#endif

namespace quillon::testing {

using namespace platform;

namespace {

// What a test seeds or reads back must work: a failure ends the test loudly.
void Require(RegResult code, const char* call) {
  if (code != kErrorSuccess) throw std::runtime_error(std::string(call) + " failed with " + std::to_string(code));
}

}  // namespace

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

void SeedValue(RegistryStore& store, HKey root, std::string_view path, std::string_view name,
               std::uint32_t type, const Bytes& bytes) {
  HKey key = kNoKey;
  Require(store.CreateKeyEx(root, path, kKeyAllSixRights, key), "CreateKeyEx");
  Require(store.SetValueEx(key, name, type, bytes.data(), static_cast<std::uint32_t>(bytes.size())),
          "SetValueEx");
  Require(store.CloseKey(key), "CloseKey");
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
  Require(store.CloseKey(key), "CloseKey");
  return result == kErrorSuccess ? std::optional(value) : std::nullopt;
}

bool KeyExistsIn(RegistryStore& store, HKey root, std::string_view path) {
  HKey key = kNoKey;
  if (store.OpenKeyEx(root, path, kKeyRead, key) != kErrorSuccess) return false;
  Require(store.CloseKey(key), "CloseKey");
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
  Require(store.CloseKey(key), "CloseKey");
  return names;
}

// Through parent handles and short relative names: Wine refuses ANSI paths
// longer than 260 characters. A tree that is not there is removed all the same.
void RemoveKeyTree(RegistryStore& store, HKey root, std::string_view path) {
  HKey key = kNoKey;
  if (store.OpenKeyEx(root, path, kKeyAllSixRights, key) != kErrorSuccess) return;
  for (const std::string& child : SubKeysOf(store, key, "")) RemoveKeyTree(store, key, child);
  Require(store.CloseKey(key), "CloseKey");
  [[maybe_unused]] const RegResult deleted = store.DeleteKey(root, path);
}

namespace {

std::string Join(const std::string& path, const std::string& name) {
  return path.empty() ? name : path + "\\" + name;
}

void ReadMemoryTree(const MemoryRegistryStore& store, HKey root, const std::string& path,
                    std::vector<TreeEntry>& tree) {
  if (!store.KeyExists(root, path)) return;
  tree.push_back({path, std::nullopt, {}});
  for (const std::string& name : store.ValueNames(root, path)) {
    if (auto value = store.GetValue(root, path, name)) tree.push_back({path, name, *value});
  }
  for (const std::string& sub : store.SubKeyNames(root, path)) ReadMemoryTree(store, root, Join(path, sub), tree);
}

#ifdef QUILLON_WIN32_REGISTRY
// The store's interface cannot list values, so the real registry is read directly.
void ReadWin32Tree(HKEY root, const std::string& path, std::vector<TreeEntry>& tree) {
  quillon::win::UniqueKey key;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS) return;
  HKEY opened = key.get();
  tree.push_back({path, std::nullopt, {}});
  std::array<char, 16384> name{};
  for (DWORD index = 0;; ++index) {
    DWORD nameLength = name.size();
    DWORD type = 0;
    DWORD size = 0;
    if (RegEnumValueA(opened, index, name.data(), &nameLength, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) break;
    StoredValue value{type, Bytes(size)};
    nameLength = name.size();
    RegEnumValueA(opened, index, name.data(), &nameLength, nullptr, &type, value.bytes.data(), &size);
    value.bytes.resize(size);
    tree.push_back({path, std::string(name.data(), nameLength), value});
  }
  std::vector<std::string> subKeys;
  for (DWORD index = 0;; ++index) {
    DWORD nameLength = name.size();
    if (RegEnumKeyExA(opened, index, name.data(), &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    subKeys.emplace_back(name.data(), nameLength);
  }
  for (const std::string& sub : subKeys) ReadWin32Tree(root, Join(path, sub), tree);
}
#endif

}  // namespace

std::vector<TreeEntry> ReadTree(RegistryStore& store, HKey root, const std::string& path) {
  std::vector<TreeEntry> tree;
  if (auto* memory = InMemoryStoreOrNull(store)) ReadMemoryTree(*memory, root, path, tree);
#ifdef QUILLON_WIN32_REGISTRY
  if (dynamic_cast<quillon::win::Win32RegistryStore*>(&store)) {
    ReadWin32Tree(root == kClassesRoot ? HKEY_CLASSES_ROOT : HKEY_CURRENT_USER, path, tree);
  }
#endif
  return tree;
}

void CopyTree(RegistryStore& from, RegistryStore& to, HKey root, const std::string& path) {
  const std::vector<TreeEntry> tree = ReadTree(from, root, path);
  RemoveKeyTree(to, root, path);
  for (const TreeEntry& entry : tree) {
    if (entry.valueName) {
      SeedValue(to, root, entry.keyPath, *entry.valueName, entry.value.type, entry.value.bytes);
      continue;
    }
    HKey key = kNoKey;
    Require(to.CreateKeyEx(root, entry.keyPath, kKeyAllSixRights, key), "CreateKeyEx");
    Require(to.CloseKey(key), "CloseKey");
  }
}

Bytes AsBytes(std::string_view text) { return Bytes(text.begin(), text.end()); }

}  // namespace quillon::testing
