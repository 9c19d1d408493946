#include "tests/core/profile_test_support.h"

#include <algorithm>

namespace quillon::testing {

using namespace platform;

void ProfileStoreTest::SetUp() {
  store_ = MakeStoreUnderTest();
  const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = std::string("Quillon Test ") + test->test_suite_name() + " " + test->name();
  std::ranges::replace_if(name, [](char c) { return c == '/' || c == '\\'; }, '-');
  profile_ = FromAnsi(name);
  RemoveKeyTree(*store_, kCurrentUser, ProfileKey());
  // The class belongs to the mail program, and other suites sharing a real
  // registry rely on it: it is registered when missing and left in place.
  const std::string classKey = "CLSID\\" + std::string(kIdentityClsid);
  if (KeyExistsIn(*store_, kClassesRoot, classKey)) return;
  SeedValue(*store_, kClassesRoot, classKey, "", kRegSz, AsBytes("POP3/SMTP Account"));
}

void ProfileStoreTest::TearDown() {
  RemoveKeyTree(*store_, kCurrentUser, ProfileKey());
  EXPECT_EQ(OpenHandleCountOf(*store_).value_or(0), 0u) << "a key was left open";
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
  PutValue(key, name, StoredUtf16(text));
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

}  // namespace quillon::testing
