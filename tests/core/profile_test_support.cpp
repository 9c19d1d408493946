#include "tests/core/profile_test_support.h"

namespace quillon::testing {

using namespace platform;

void ProfileStoreTest::SetUp() {
  store_ = MakeStoreUnderTest();
  memory_ = InMemoryStoreOrNull(*store_);
  const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = std::string("Quillon Test ") + test->test_suite_name() + " " + test->name();
  for (char& c : name) {
    if (c == '/' || c == '\\') c = '-';
  }
  profile_ = FromAnsi(name);
  RemoveKeyTree(*store_, kCurrentUser, ProfileKey());
}

void ProfileStoreTest::TearDown() {
  RemoveKeyTree(*store_, kCurrentUser, ProfileKey());
  if (auto handles = OpenHandleCountOf(*store_)) {
    EXPECT_EQ(*handles, 0u) << "a key was left open";
  }
}

std::string ProfileStoreTest::ProfileKey() const { return ToAnsi(profile::ProfileKeyPath(profile_)); }
std::string ProfileStoreTest::AccountsKey() const {
  return ToAnsi(profile::AccountsKeyPath(profile_));
}
std::string ProfileStoreTest::AccountKey(std::string_view keyName) const {
  return AccountsKey() + "\\" + std::string(keyName);
}
std::string ProfileStoreTest::DirectoryKey() const {
  return ToAnsi(profile::DirectorySectionKeyPath(profile_));
}

void ProfileStoreTest::PutValue(const std::string& key, std::string_view name, const Bytes& bytes,
                            std::uint32_t type) {
  SeedValue(*store_, kCurrentUser, key, name, type, bytes);
}

void ProfileStoreTest::SeedText(const std::string& key, std::string_view name,
                                std::u16string_view text) {
  PutValue(key, name, StoredText(text));
}

void ProfileStoreTest::SeedIdentity(std::string_view keyName, std::u16string_view email,
                                    std::u16string_view displayName,
                                    std::u16string_view serverName) {
  const std::string key = AccountKey(keyName);
  SeedText(key, "Account Name", email);
  PutValue(key, "clsid", AsBytes(kIdentityClsid), kRegSz);
  SeedText(key, "Display Name", displayName);
  SeedText(key, "Email", email);
  SeedText(key, "POP3 Server", serverName);
  SeedText(key, "SMTP Server", serverName);
}

std::optional<StoredValue> ProfileStoreTest::Value(const std::string& key, std::string_view name) {
  return ReadRawValue(*store_, kCurrentUser, key, name);
}

void RegisterIdentityClass(RegistryStore& store) {
  if (KeyExistsIn(store, kClassesRoot, kIdentityClassKey)) return;
  SeedValue(store, kClassesRoot, kIdentityClassKey, "", kRegSz, AsBytes("POP3/SMTP Account"));
}

Bytes LittleEndianList(std::initializer_list<std::uint32_t> numbers) {
  Bytes bytes;
  for (std::uint32_t number : numbers) {
    for (int shift = 0; shift < 32; shift += 8) bytes.push_back((number >> shift) & 0xFF);
  }
  return bytes;
}

Bytes MultiValued(const std::vector<std::u16string>& items, bool eightBit,
                  std::uint32_t firstOffset) {
  Bytes strings;
  Bytes bytes = LittleEndianList({static_cast<std::uint32_t>(items.size())});
  if (firstOffset == 0) firstOffset = 4 + 4 * static_cast<std::uint32_t>(items.size());
  for (const std::u16string& item : items) {
    const Bytes offset = LittleEndianList({firstOffset + static_cast<std::uint32_t>(strings.size())});
    bytes.insert(bytes.end(), offset.begin(), offset.end());
    const Bytes text = eightBit ? AsBytes(ToAnsi(item) + '\0') : StoredText(item);
    strings.insert(strings.end(), text.begin(), text.end());
  }
  bytes.resize(firstOffset, 0);
  bytes.insert(bytes.end(), strings.begin(), strings.end());
  return bytes;
}

}  // namespace quillon::testing
