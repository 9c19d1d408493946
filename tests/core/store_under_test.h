// The registry store the core suites run against: the in-memory store
// natively, the real registry in the Windows build. Helpers here go through
// the store's own interface so that they work on either.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry_store.h"
#include "testing/memory_registry_store.h"
#include "testing/page_rig.h"  // the byte builders

namespace quillon::testing {

std::unique_ptr<platform::RegistryStore> MakeStoreUnderTest();
// The in-memory store behind `store`, or null on the real registry.
MemoryRegistryStore* InMemoryStoreOrNull(platform::RegistryStore& store);
// Handles the store gave out and that are still open, when it can tell.
std::optional<std::size_t> OpenHandleCountOf(platform::RegistryStore& store);

using Bytes = std::vector<std::uint8_t>;

void SeedValue(platform::RegistryStore& store, platform::HKey root, std::string_view path,
               std::string_view name, std::uint32_t type, const Bytes& bytes);
std::optional<StoredValue> ReadRawValue(platform::RegistryStore& store, platform::HKey root,
                                        std::string_view path, std::string_view name);
bool KeyExistsIn(platform::RegistryStore& store, platform::HKey root, std::string_view path);
std::vector<std::string> SubKeysOf(platform::RegistryStore& store, platform::HKey root,
                                   std::string_view path);
// Removes the key and everything below it; a missing key is fine.
void RemoveKeyTree(platform::RegistryStore& store, platform::HKey root, std::string_view path);

// Every key and value below root\path, the key first (paths below the root).
// Only the in-memory store and the real registry can list values; any other
// store gives nothing.
struct TreeEntry {
  std::string keyPath;
  std::optional<std::string> valueName;  // none: the key itself
  StoredValue value;
};
std::vector<TreeEntry> ReadTree(platform::RegistryStore& store, platform::HKey root,
                                const std::string& path);
// Makes root\path on `to` what it is on `from`: removed, then copied key by key.
void CopyTree(platform::RegistryStore& from, platform::RegistryStore& to, platform::HKey root,
              const std::string& path);

Bytes AsBytes(std::string_view text);

}  // namespace quillon::testing
