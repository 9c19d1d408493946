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
  for (const std::string& classKey : registeredClasses_) {
    RemoveKeyTree(*store_, kClassesRoot, classKey);
  }
  if (auto handles = OpenHandleCountOf(*store_)) EXPECT_EQ(*handles, 0u) << "a key was left open";
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

void ProfileStoreTest::RegisterClass(std::string_view classKey, std::string_view description) {
  if (KeyExistsIn(*store_, kClassesRoot, classKey)) return;  // somebody else's: leave it be
  SeedValue(*store_, kClassesRoot, classKey, "", kRegSz, AsBytes(description));
  registeredClasses_.emplace_back(classKey);
}

void ProfileStoreTest::RegisterIdentityClass() {
  if (KeyExistsIn(*store_, kClassesRoot, kIdentityClassKey)) return;
  SeedValue(*store_, kClassesRoot, kIdentityClassKey, "", kRegSz, AsBytes(kIdentityClassDescription));
}

void ProfileStoreTest::SeedText(const std::string& key, std::string_view name,
                                std::u16string_view text) {
  SeedValue(*store_, kCurrentUser, key, name, kRegBinary, StoredText(text));
}

void ProfileStoreTest::SeedDword(const std::string& key, std::string_view name,
                                 std::uint32_t value) {
  SeedValue(*store_, kCurrentUser, key, name, kRegDword, LittleEndianList({value}));
}

void ProfileStoreTest::SeedClsid(const std::string& key, std::string_view clsid) {
  SeedValue(*store_, kCurrentUser, key, "clsid", kRegSz, AsBytes(clsid));
}

void ProfileStoreTest::SeedIdentity(std::string_view keyName, std::u16string_view email,
                                    std::u16string_view displayName,
                                    std::u16string_view serverName) {
  const std::string key = AccountKey(keyName);
  SeedText(key, "Account Name", email);
  SeedClsid(key, "{ED475411-B0D6-11D2-8C3B-00104B2A6676}");
  SeedText(key, "Display Name", displayName);
  SeedText(key, "Email", email);
  SeedText(key, "POP3 Server", serverName);
  SeedText(key, "SMTP Server", serverName);
}

std::optional<StoredValue> ProfileStoreTest::Value(const std::string& key, std::string_view name) {
  return ReadRawValue(*store_, kCurrentUser, key, name);
}

Bytes LittleEndianList(std::initializer_list<std::uint32_t> numbers) {
  Bytes bytes;
  for (std::uint32_t number : numbers) {
    for (int shift = 0; shift < 32; shift += 8) bytes.push_back((number >> shift) & 0xFF);
  }
  return bytes;
}

}  // namespace quillon::testing
