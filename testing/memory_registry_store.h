// An in-memory registry with the semantics of the Windows registry that the
// profile store relies on, plus what tests need: handle counting and direct
// access to keys and values by path. FaultInjectingRegistryStore logs and fails calls.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry_store.h"

namespace quillon::testing {

using platform::HKey;
using platform::RegResult;

// Win32 codes the real registry gives in cases the interface does not name.
inline constexpr RegResult kErrorBadPathname = 161;
inline constexpr RegResult kErrorNoAccess = 998;
inline constexpr RegResult kErrorKeyDeleted = 1018;

// Orders names as the registry does: by their upper-case characters.
struct RegistryNameLess {
  using is_transparent = void;
  bool operator()(std::string_view left, std::string_view right) const;
};
bool RegistryNamesEqual(std::string_view left, std::string_view right);

struct StoredValue {
  std::uint32_t type = 0;
  std::vector<std::uint8_t> bytes;
  bool operator==(const StoredValue&) const = default;
};

class MemoryRegistryStore : public platform::RegistryStore {
 public:
  MemoryRegistryStore();
  ~MemoryRegistryStore() override;
  MemoryRegistryStore(const MemoryRegistryStore&) = delete;
  MemoryRegistryStore& operator=(const MemoryRegistryStore&) = delete;

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

  // Handles given out and not closed yet (the roots never count).
  std::size_t OpenHandleCount() const;

  // Direct access for tests, without handles. Paths are below
  // a root, names joined by '\'.
  void CreateKeyPath(HKey root, std::string_view path);
  void PutValue(HKey root, std::string_view path, std::string_view name, std::uint32_t type,
                std::vector<std::uint8_t> bytes);  // creates the key as needed
  std::optional<StoredValue> GetValue(HKey root, std::string_view path,
                                      std::string_view name) const;
  bool KeyExists(HKey root, std::string_view path) const;
  std::vector<std::string> SubKeyNames(HKey root, std::string_view path) const;  // registry order
  std::vector<std::string> ValueNames(HKey root, std::string_view path) const;   // name order
  // Every key below `root` (the root first, "" as its path; parents before
  // their subkeys) with its values, in one walk of the tree.
  using Values = std::map<std::string, StoredValue, RegistryNameLess>;
  using KeyVisitor = std::function<void(const std::string& path, const Values& values)>;
  void ForEachKey(HKey root, const KeyVisitor& visit) const;

  // Every key and value of both roots, to put back later: a fuzz target
  // builds its world once and returns to it after each input. Restore only
  // with every handle closed (the keys an open one names are gone).
  struct Tree;
  std::shared_ptr<const Tree> SaveTree() const;
  void RestoreTree(const Tree& tree);

 private:
  struct Key;
  struct OpenHandle;

  RegResult OpenOrCreate(HKey parent, std::string_view subKey, platform::KeyAccess access,
                         bool create, HKey& result, bool* created);
  RegResult Resolve(HKey handle, platform::KeyAccess neededAccess, Key*& key) const;
  Key* RootKey(HKey root) const;
  // The key at `path` below `from`, made with its parents when `create`.
  static Key* FindPath(Key* from, std::string_view path, bool create = false);
  // The same by names already split; `made` is set when a key had to be made.
  static Key* Walk(Key* from, std::span<const std::string_view> names, bool create = false,
                   bool* made = nullptr);
  static RegResult RemoveSubKey(Key& parent, std::string_view name);
  HKey NewHandle(std::shared_ptr<Key> key, platform::KeyAccess access);
  static std::shared_ptr<Key> CopyKey(const Key& key, Key* parent);

  std::shared_ptr<Key> classesRoot_;
  std::shared_ptr<Key> currentUser_;
  std::map<HKey, OpenHandle> handles_;
  HKey nextHandle_ = 0x1000;
};

}  // namespace quillon::testing
