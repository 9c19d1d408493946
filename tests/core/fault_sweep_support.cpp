#include "tests/core/fault_sweep_support.h"

#include <algorithm>
#include <cctype>

#include "platform/registry_store.h"

namespace quillon::testing {
namespace {

void AddKey(const MemoryRegistryStore& store, platform::HKey root, const std::string& rootName,
            const std::string& path, RegistryImage& image) {
  const std::string name = rootName + "\\" + (path.empty() ? "" : path + "\\");
  image.emplace(name, StoredValue{});
  for (const std::string& value : store.ValueNames(root, path)) {
    if (auto stored = store.GetValue(root, path, value)) image.emplace(name + ":" + value, *stored);
  }
  for (const std::string& sub : store.SubKeyNames(root, path)) {
    AddKey(store, root, rootName, path.empty() ? sub : path + "\\" + sub, image);
  }
}

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() &&
         std::equal(prefix.begin(), prefix.end(), text.begin(), [](char a, char b) {
           return std::toupper(static_cast<unsigned char>(a)) ==
                  std::toupper(static_cast<unsigned char>(b));
         });
}

bool Allowed(std::string_view name, const std::vector<std::string>& allowed) {
  return std::any_of(allowed.begin(), allowed.end(),
                     [&](const std::string& prefix) { return StartsWithIgnoringCase(name, prefix); });
}

}  // namespace

RegistryImage TakeImage(const MemoryRegistryStore& store) {
  RegistryImage image;
  AddKey(store, platform::kClassesRoot, "HKCR", "", image);
  AddKey(store, platform::kCurrentUser, "HKCU", "", image);
  return image;
}

std::vector<std::string> ChangesOutside(const RegistryImage& before, const RegistryImage& after,
                                        const std::vector<std::string>& allowed) {
  std::vector<std::string> changes;
  const auto note = [&](const std::string& name) {
    if (!Allowed(name, allowed)) changes.push_back(name);
  };
  for (const auto& [name, value] : before) {
    auto found = after.find(name);
    if (found == after.end() || !(found->second == value)) note(name);
  }
  for (const auto& [name, value] : after) {
    if (!before.contains(name)) note(name);
  }
  return changes;
}

}  // namespace quillon::testing
