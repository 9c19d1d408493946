#include "testing/memory_registry_store.h"

#include <algorithm>
#include <cstring>

#include "platform/ansi.h"
#include "platform/text.h"

namespace quillon::testing {

using namespace platform;

namespace {

// Compares the names' upper-case UTF-16 units, by the one simple upper-case
// table that the registry and the identity rule share: "_x" sorts after
// "Alpha" and "Šxx" after "Zulu". The ANSI code page maps one byte to one
// unit, so the names are folded unit by unit without a copy (every registry
// lookup and every image of a fuzz run goes through here).
int CompareFolded(std::string_view left, std::string_view right) {
  const std::size_t common = std::min(left.size(), right.size());
  const auto folded = [](char byte) -> char16_t {
    const auto code = static_cast<unsigned char>(byte);
    if (code < 0x80) return code >= 'a' && code <= 'z' ? code - 0x20 : code;  // ASCII: no table
    return text::SimpleUpperCase(FromAnsi(std::string_view(&byte, 1))[0]);
  };
  // Equal bytes fold alike: only the rest is folded (names in a tree share long heads).
  std::size_t i = 0;
  while (i < common && left[i] == right[i]) ++i;
  for (; i < common; ++i) {
    const char16_t l = folded(left[i]);
    const char16_t r = folded(right[i]);
    if (l != r) return l < r ? -1 : 1;
  }
  return left.size() == right.size() ? 0 : (left.size() < right.size() ? -1 : 1);
}

// The ANSI calls end a name at its first NUL, so such a name would address a
// shorter one; the Windows store refuses it, and so does this one.
bool HasNul(std::string_view name) { return name.find('\0') != std::string_view::npos; }

bool IsStringType(std::uint32_t type) {
  constexpr std::uint32_t kRegExpandSz = 2;
  constexpr std::uint32_t kRegMultiSz = 7;
  return type == kRegSz || type == kRegExpandSz || type == kRegMultiSz;
}

// Splits a key path into names. A single trailing '\' is tolerated; a leading
// '\' or an empty name inside the path is a bad path name.
bool SplitPath(std::string_view path, std::vector<std::string_view>& names) {
  if (!path.empty() && path.back() == '\\') path.remove_suffix(1);
  if (path.empty()) return true;
  names.reserve(16);  // a profile's account keys lie about ten names deep
  std::size_t start = 0;
  while (true) {
    std::size_t end = path.find('\\', start);
    std::string_view name = path.substr(start, end == std::string_view::npos ? path.size() - start
                                                                               : end - start);
    if (name.empty()) return false;
    names.push_back(name);
    if (end == std::string_view::npos) return true;
    start = end + 1;
  }
}

template <typename Map>
std::vector<std::string> NamesOf(const Map& map) {
  std::vector<std::string> names;
  for (const auto& entry : map) names.push_back(entry.first);
  return names;
}

}  // namespace

bool RegistryNameLess::operator()(std::string_view left, std::string_view right) const {
  return CompareFolded(left, right) < 0;
}

bool RegistryNamesEqual(std::string_view left, std::string_view right) {
  return left.size() == right.size() && CompareFolded(left, right) == 0;
}

struct MemoryRegistryStore::Key : std::enable_shared_from_this<Key> {
  std::string name;
  Key* parent = nullptr;  // valid while the key is in the tree
  bool deleted = false;
  using SubKeyMap = std::map<std::string, std::shared_ptr<Key>, RegistryNameLess>;
  SubKeyMap subKeys;
  Values values;
  // Where the last enumeration by index stood, so that enumerating 0, 1, 2...
  // takes a step each rather than a walk from the first name (the product's
  // loops would otherwise look quadratic). Any change to the subkeys forgets it.
  bool cursorValid = false;
  std::uint32_t cursorIndex = 0;
  SubKeyMap::const_iterator cursor;

  // The name of subkey `index`, which must be below subKeys.size().
  const std::string& SubKeyNameAt(std::uint32_t index) {
    if (!cursorValid || index < cursorIndex) {
      cursor = subKeys.begin();
      cursorIndex = 0;
      cursorValid = true;
    }
    cursor = std::next(cursor, index - cursorIndex);
    cursorIndex = index;
    return cursor->first;
  }

  std::shared_ptr<Key> AddSubKey(std::string_view subName) {
    cursorValid = false;
    auto key = std::make_shared<Key>();
    key->name = std::string(subName);
    key->parent = this;
    subKeys.emplace(key->name, key);
    return key;
  }
  std::shared_ptr<Key> FindSubKey(std::string_view subName) const {
    auto found = subKeys.find(subName);
    return found == subKeys.end() ? nullptr : found->second;
  }
};

struct MemoryRegistryStore::Tree {
  std::shared_ptr<Key> classesRoot;
  std::shared_ptr<Key> currentUser;
};

struct MemoryRegistryStore::OpenHandle {
  std::shared_ptr<Key> key;
  KeyAccess access = KeyAccess::kNone;
};

MemoryRegistryStore::MemoryRegistryStore()
    : classesRoot_(std::make_shared<Key>()), currentUser_(std::make_shared<Key>()) {}

MemoryRegistryStore::~MemoryRegistryStore() = default;

MemoryRegistryStore::Key* MemoryRegistryStore::RootKey(HKey root) const {
  if (root == kClassesRoot) return classesRoot_.get();
  if (root == kCurrentUser) return currentUser_.get();
  return nullptr;
}

RegResult MemoryRegistryStore::Resolve(HKey handle, KeyAccess neededAccess, Key*& key) const {
  key = RootKey(handle);
  if (key != nullptr) return kErrorSuccess;
  auto open = handles_.find(handle);
  if (open == handles_.end()) return kErrorInvalidHandle;
  if (open->second.key->deleted) return kErrorKeyDeleted;
  if (!Includes(open->second.access, neededAccess)) return kErrorAccessDenied;
  key = open->second.key.get();
  return kErrorSuccess;
}

HKey MemoryRegistryStore::NewHandle(std::shared_ptr<Key> key, KeyAccess access) {
  HKey handle = nextHandle_;
  nextHandle_ += 4;  // never reused, so a stale handle stays invalid
  handles_.emplace(handle, OpenHandle{std::move(key), access});
  return handle;
}

RegResult MemoryRegistryStore::OpenOrCreate(HKey parent, std::string_view subKey,
                                            KeyAccess access, bool create, HKey& result,
                                            bool* created) {
  result = kNoKey;
  Key* base = nullptr;
  if (RegResult code = Resolve(parent, KeyAccess::kNone, base); code != kErrorSuccess) return code;
  if (HasNul(subKey)) return kErrorInvalidParameter;
  std::vector<std::string_view> names;
  if (!SplitPath(subKey, names)) return kErrorBadPathname;
  bool made = false;
  Key* key = Walk(base, names, create, &made);
  if (key == nullptr) return kErrorFileNotFound;
  if (created != nullptr) *created = made;
  result = NewHandle(key->shared_from_this(), access);
  return kErrorSuccess;
}

RegResult MemoryRegistryStore::OpenKeyEx(HKey parent, std::string_view subKey,
                                         KeyAccess access, HKey& result) {
  return OpenOrCreate(parent, subKey, access, false, result, nullptr);
}

RegResult MemoryRegistryStore::CreateKeyEx(HKey parent, std::string_view subKey,
                                           KeyAccess access, HKey& result, bool* created) {
  return OpenOrCreate(parent, subKey, access, true, result, created);
}

RegResult MemoryRegistryStore::CreateKey(HKey parent, std::string_view subKey, HKey& result) {
  return OpenOrCreate(parent, subKey, KeyAccess::kAllAccess, true, result, nullptr);
}

RegResult MemoryRegistryStore::QueryValueEx(HKey handle, std::string_view valueName,
                                            std::uint32_t* type, std::uint8_t* data,
                                            std::uint32_t* size) {
  Key* key = nullptr;
  if (RegResult code = Resolve(handle, kKeyQueryValue, key); code != kErrorSuccess) return code;
  if (HasNul(valueName)) return kErrorInvalidParameter;
  if (data != nullptr && size == nullptr) return kErrorInvalidParameter;
  auto found = key->values.find(valueName);
  if (found == key->values.end()) return kErrorFileNotFound;
  const StoredValue& value = found->second;
  const auto length = static_cast<std::uint32_t>(value.bytes.size());
  if (type != nullptr) *type = value.type;
  if (data == nullptr) {
    if (size != nullptr) *size = length;
    return kErrorSuccess;
  }
  if (*size < length) {
    *size = length;
    return kErrorMoreData;
  }
  std::copy(value.bytes.begin(), value.bytes.end(), data);
  // As advapi32 does: a string stored without terminator gets one in the
  // caller's buffer when there is room; the reported size stays the stored one.
  if (IsStringType(value.type) && length > 0 && length < *size && value.bytes.back() != 0) {
    data[length] = 0;
  }
  *size = length;
  return kErrorSuccess;
}

RegResult MemoryRegistryStore::SetValueEx(HKey handle, std::string_view valueName,
                                          std::uint32_t type, const std::uint8_t* data,
                                          std::uint32_t size) {
  Key* key = nullptr;
  if (RegResult code = Resolve(handle, KeyAccess::kSetValue, key); code != kErrorSuccess) return code;
  if (HasNul(valueName)) return kErrorInvalidParameter;
  if (data == nullptr && size != 0) return kErrorNoAccess;
  StoredValue value{type, data == nullptr ? std::vector<std::uint8_t>{}
                                          : std::vector<std::uint8_t>(data, data + size)};
  key->values.insert_or_assign(std::string(valueName), std::move(value));  // an existing name keeps its case
  return kErrorSuccess;
}

// The same answers as EnumKeyEx, without the name's length.
RegResult MemoryRegistryStore::EnumKey(HKey handle, std::uint32_t index, char* name,
                                       std::uint32_t nameSize) {
  return EnumKeyEx(handle, index, name, &nameSize);
}

RegResult MemoryRegistryStore::EnumKeyEx(HKey handle, std::uint32_t index, char* name,
                                         std::uint32_t* nameLength) {
  Key* key = nullptr;
  if (RegResult code = Resolve(handle, KeyAccess::kEnumerateSubKeys, key); code != kErrorSuccess) {
    return code;
  }
  if (index >= key->subKeys.size()) return kErrorNoMoreItems;
  if (name == nullptr || nameLength == nullptr) return kErrorInvalidParameter;
  const std::string& subName = key->SubKeyNameAt(index);
  if (subName.size() + 1 > *nameLength) return kErrorMoreData;
  std::memcpy(name, subName.c_str(), subName.size() + 1);
  *nameLength = static_cast<std::uint32_t>(subName.size());
  return kErrorSuccess;
}

RegResult MemoryRegistryStore::QueryInfoKey(HKey handle, std::uint32_t* subKeys,
                                            std::uint32_t* maxSubKeyLength) {
  Key* key = nullptr;
  if (RegResult code = Resolve(handle, kKeyQueryValue, key); code != kErrorSuccess) return code;
  std::size_t longest = 0;
  for (const auto& entry : key->subKeys) longest = std::max(longest, entry.first.size());
  if (subKeys != nullptr) *subKeys = static_cast<std::uint32_t>(key->subKeys.size());
  if (maxSubKeyLength != nullptr) *maxSubKeyLength = static_cast<std::uint32_t>(longest);
  return kErrorSuccess;
}

RegResult MemoryRegistryStore::DeleteKey(HKey handle, std::string_view subKey) {
  Key* base = nullptr;
  if (RegResult code = Resolve(handle, KeyAccess::kNone, base); code != kErrorSuccess) return code;
  if (HasNul(subKey)) return kErrorInvalidParameter;
  std::vector<std::string_view> names;
  if (!SplitPath(subKey, names)) return kErrorBadPathname;
  if (names.empty()) {
    // RegDeleteKeyA(key, "") deletes the handle's own key; a root cannot go.
    if (RootKey(handle) != nullptr) return kErrorAccessDenied;
    return RemoveSubKey(*base->parent, base->name);
  }
  Key* parent = Walk(base, std::span(names).first(names.size() - 1));
  return parent == nullptr ? kErrorFileNotFound : RemoveSubKey(*parent, names.back());
}

RegResult MemoryRegistryStore::RemoveSubKey(Key& parent, std::string_view name) {
  auto target = parent.subKeys.find(name);
  if (target == parent.subKeys.end()) return kErrorFileNotFound;
  if (!target->second->subKeys.empty()) return kErrorAccessDenied;
  target->second->deleted = true;
  parent.cursorValid = false;
  parent.subKeys.erase(target);
  return kErrorSuccess;
}

RegResult MemoryRegistryStore::CloseKey(HKey handle) {
  if (RootKey(handle) != nullptr) return kErrorSuccess;
  return handles_.erase(handle) == 1 ? kErrorSuccess : kErrorInvalidHandle;
}

std::size_t MemoryRegistryStore::OpenHandleCount() const { return handles_.size(); }

std::shared_ptr<MemoryRegistryStore::Key> MemoryRegistryStore::CopyKey(const Key& key, Key* parent) {
  auto copy = std::make_shared<Key>();
  copy->name = key.name;
  copy->parent = parent;
  copy->deleted = key.deleted;
  copy->values = key.values;
  for (const auto& [name, sub] : key.subKeys) copy->subKeys.emplace(name, CopyKey(*sub, copy.get()));
  return copy;
}

std::shared_ptr<const MemoryRegistryStore::Tree> MemoryRegistryStore::SaveTree() const {
  auto tree = std::make_shared<Tree>();
  tree->classesRoot = CopyKey(*classesRoot_, nullptr);
  tree->currentUser = CopyKey(*currentUser_, nullptr);
  return tree;
}

void MemoryRegistryStore::RestoreTree(const Tree& tree) {
  classesRoot_ = CopyKey(*tree.classesRoot, nullptr);
  currentUser_ = CopyKey(*tree.currentUser, nullptr);
}

MemoryRegistryStore::Key* MemoryRegistryStore::FindPath(Key* from, std::string_view path, bool create) {
  std::vector<std::string_view> names;
  return from != nullptr && SplitPath(path, names) ? Walk(from, names, create) : nullptr;
}

MemoryRegistryStore::Key* MemoryRegistryStore::Walk(Key* from, std::span<const std::string_view> names,
                                                    bool create, bool* made) {
  for (std::string_view name : names) {
    std::shared_ptr<Key> next = from->FindSubKey(name);
    if (!next && !create) return nullptr;
    if (!next && made != nullptr) *made = true;
    from = next ? next.get() : from->AddSubKey(name).get();
  }
  return from;
}

void MemoryRegistryStore::CreateKeyPath(HKey root, std::string_view path) { FindPath(RootKey(root), path, true); }

void MemoryRegistryStore::PutValue(HKey root, std::string_view path, std::string_view name,
                                   std::uint32_t type, std::vector<std::uint8_t> bytes) {
  if (Key* key = FindPath(RootKey(root), path, true)) {
    key->values.insert_or_assign(std::string(name), StoredValue{type, std::move(bytes)});
  }
}

std::optional<StoredValue> MemoryRegistryStore::GetValue(HKey root, std::string_view path,
                                                         std::string_view name) const {
  Key* key = FindPath(RootKey(root), path);
  if (key == nullptr) return std::nullopt;
  auto found = key->values.find(name);
  if (found == key->values.end()) return std::nullopt;
  return found->second;
}

bool MemoryRegistryStore::KeyExists(HKey root, std::string_view path) const {
  return FindPath(RootKey(root), path) != nullptr;
}

std::vector<std::string> MemoryRegistryStore::SubKeyNames(HKey root, std::string_view path) const {
  const Key* key = FindPath(RootKey(root), path);
  return key ? NamesOf(key->subKeys) : std::vector<std::string>{};
}

std::vector<std::string> MemoryRegistryStore::ValueNames(HKey root, std::string_view path) const {
  const Key* key = FindPath(RootKey(root), path);
  return key ? NamesOf(key->values) : std::vector<std::string>{};
}

namespace {

// One path buffer for the whole walk, grown and cut back, rather than a new
// string per key (fuzz targets walk the registry several times per input).
template <typename Key, typename Visitor>
void VisitKey(const Key& key, std::string& path, const Visitor& visit) {
  visit(path, key.values);
  const std::size_t length = path.size();
  for (const auto& [name, sub] : key.subKeys) {
    if (length != 0) path += '\\';
    path += name;
    VisitKey(*sub, path, visit);
    path.resize(length);
  }
}

}  // namespace

void MemoryRegistryStore::ForEachKey(HKey root, const KeyVisitor& visit) const {
  std::string path;
  path.reserve(256);  // a profile's account keys lie about ten names deep
  if (const Key* key = RootKey(root)) VisitKey(*key, path, visit);
}

}  // namespace quillon::testing
