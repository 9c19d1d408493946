#include "fuzz/registry_image.h"

#include <algorithm>
#include <iterator>

#include "fuzz/fuzz_check.h"

namespace quillon::fuzz {
namespace {

constexpr std::uint64_t kNoBytes = 0xcbf29ce484222325ULL;

// FNV-1a, continued from `hash`: a value's name hash goes on from its key's.
std::uint64_t Hash(std::string_view bytes, std::uint64_t hash = kNoBytes) {
  for (const char byte : bytes) hash = (hash ^ static_cast<std::uint8_t>(byte)) * 0x100000001b3ULL;
  return hash;
}

// As testing::ChangesOutside compares a name with an allowed prefix (without
// regard to case); the names share the profile's long path, so the prefix's
// end, where they differ, is compared first.
bool StartsWith(std::string_view name, std::string_view prefix) {
  if (name.size() < prefix.size()) return false;
  const std::size_t tail = std::min<std::size_t>(prefix.size(), 12);
  return testing::RegistryNamesEqual(name.substr(prefix.size() - tail, tail),
                                     prefix.substr(prefix.size() - tail)) &&
         testing::RegistryNamesEqual(name.substr(0, prefix.size()), prefix);
}

}  // namespace

void FlatImage::Take(const testing::MemoryRegistryStore& store) {
  text_.clear();
  entries_.clear();
  AddTree(store, platform::kClassesRoot, "HKCR");
  AddTree(store, platform::kCurrentUser, "HKCU");
  std::sort(entries_.begin(), entries_.end(), [this](const Entry& left, const Entry& right) {
    if (left.hash != right.hash) return left.hash < right.hash;
    const int order = Name(left).compare(Name(right));
    return order != 0 ? order < 0 : left.order < right.order;
  });
  const auto last = std::unique(entries_.begin(), entries_.end(),
                                [this](const Entry& left, const Entry& right) {
                                  return left.hash == right.hash && Name(left) == Name(right);
                                });
  entries_.erase(last, entries_.end());
  if (SelfChecking()) reference_ = testing::TakeImage(store);
}

void FlatImage::AddTree(const testing::MemoryRegistryStore& store, platform::HKey root,
                        std::string_view rootName) {
  store.ForEachKey(root, [&](const std::string& path, const testing::MemoryRegistryStore::Values& values) {
    const std::size_t keyAt = text_.size();
    text_.append(rootName).append(1, '\\');
    if (!path.empty()) text_.append(path).append(1, '\\');
    const std::size_t keySize = text_.size() - keyAt;
    const std::uint64_t keyHash = Hash(std::string_view(text_).substr(keyAt));
    Add(keyAt, keyHash, 0, {});
    for (const auto& [name, stored] : values) {
      const std::size_t nameAt = text_.size();
      text_.reserve(nameAt + keySize + 1 + name.size());  // the key's name is copied from text_
      text_.append(text_.data() + keyAt, keySize).append(1, ':').append(name);
      Add(nameAt, Hash(name, Hash(":", keyHash)), stored.type, stored.bytes);
    }
  });
}

// The name runs from nameAt to the end of text_. A NUL (no name holds one),
// the type and the size follow it, then the bytes: Text() says it all.
void FlatImage::Add(std::size_t nameAt, std::uint64_t hash, std::uint32_t type,
                    const std::vector<std::uint8_t>& bytes) {
  const std::size_t nameSize = text_.size() - nameAt;
  text_.append(1, '\0');
  for (const std::size_t number : {std::size_t{type}, bytes.size()}) {
    for (int shift = 0; shift < 32; shift += 8) text_.append(1, static_cast<char>(number >> shift));
  }
  const std::size_t bytesAt = text_.size();
  text_.append(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  entries_.push_back({hash, nameAt, nameSize, bytesAt, bytes.size(), type, entries_.size()});
}

std::string_view FlatImage::Name(const Entry& entry) const {
  return std::string_view(text_).substr(entry.nameAt, entry.nameSize);
}

std::string_view FlatImage::Bytes(const Entry& entry) const {
  return std::string_view(text_).substr(entry.bytesAt, entry.bytesSize);
}

const FlatImage::Entry* FlatImage::Find(std::uint64_t hash, std::string_view name) const {
  auto found = std::lower_bound(entries_.begin(), entries_.end(), hash,
                                [](const Entry& entry, std::uint64_t wanted) { return entry.hash < wanted; });
  for (; found != entries_.end() && found->hash == hash; ++found) {
    if (Name(*found) == name) return &*found;
  }
  return nullptr;
}

bool FlatImage::Contains(std::string_view name) const {
  const bool contains = Find(Hash(name), name) != nullptr;
  if (reference_) FUZZ_CHECK(contains == reference_->contains(std::string(name)));
  return contains;
}

std::vector<std::string> ChangesOutside(const FlatImage& before, const FlatImage& after,
                                        const std::vector<std::string>& allowed) {
  std::vector<std::string> changed, added;
  const auto note = [&](std::vector<std::string>& changes, std::string_view name) {
    const bool isAllowed = std::any_of(allowed.begin(), allowed.end(), [&](const std::string& prefix) {
      return StartsWith(name, prefix);
    });
    if (!isAllowed) changes.emplace_back(name);
  };
  for (const FlatImage::Entry& entry : before.entries_) {
    const FlatImage::Entry* found = after.Find(entry.hash, before.Name(entry));
    if (!found || found->type != entry.type || after.Bytes(*found) != before.Bytes(entry)) {
      note(changed, before.Name(entry));
    }
  }
  for (const FlatImage::Entry& entry : after.entries_) {
    if (!before.Find(entry.hash, after.Name(entry))) note(added, after.Name(entry));
  }
  // Removed or changed ones first, then new ones, each by name.
  std::sort(changed.begin(), changed.end());
  std::sort(added.begin(), added.end());
  changed.insert(changed.end(), std::make_move_iterator(added.begin()),
                 std::make_move_iterator(added.end()));
  if (before.reference_ && after.reference_) {
    FUZZ_CHECK(changed == testing::ChangesOutside(*before.reference_, *after.reference_, allowed));
  }
  return changed;
}

}  // namespace quillon::fuzz
