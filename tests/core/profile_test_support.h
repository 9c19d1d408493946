// A fixture for the profile store's tests: a fresh store, a profile name of
// its own (with blanks, used unchanged in key paths) whose key tree, and any
// class registration it made, are removed afterwards, so that the tests run
// on the real registry as well.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "platform/ansi.h"
#include "profile/profile_data.h"
#include "profile/profile_values.h"
#include "tests/core/store_under_test.h"

#define SKIP_UNLESS_IN_MEMORY()                                                  \
  if (memory_ == nullptr) GTEST_SKIP() << "needs the in-memory store's test hooks"

namespace quillon::testing {

inline constexpr std::string_view kIdentityClassKey =
    "CLSID\\{ED475411-B0D6-11D2-8C3B-00104B2A6676}";
// The mail program's own name for that class, as the sample profile registers it.
inline constexpr std::string_view kIdentityClassDescription = "POP3/SMTP Account";

class ProfileStoreTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  std::string ProfileKey() const;
  std::string AccountsKey() const;
  std::string AccountKey(std::string_view keyName) const;
  std::string DirectoryKey() const;

  // Class registrations in HKEY_CLASSES_ROOT, removed afterwards unless they
  // were there before.
  void RegisterClass(std::string_view classKey, std::string_view description);
  // The identity class belongs to the mail program, and other suites sharing a
  // real registry rely on it: it is registered when missing and left in place.
  void RegisterIdentityClass();

  void SeedText(const std::string& key, std::string_view name, std::u16string_view text);
  void SeedDword(const std::string& key, std::string_view name, std::uint32_t value);
  void SeedClsid(const std::string& key, std::string_view clsid);
  // An account as this store's identities are written: POP3 class, no servers.
  void SeedIdentity(std::string_view keyName, std::u16string_view email,
                    std::u16string_view displayName, std::u16string_view serverName = u"none");
  std::optional<StoredValue> Value(const std::string& key, std::string_view name);

  std::unique_ptr<platform::RegistryStore> store_;
  MemoryRegistryStore* memory_ = nullptr;
  std::u16string profile_;
  profile::ProfileData data_;

 private:
  std::vector<std::string> registeredClasses_;
};

Bytes LittleEndianList(std::initializer_list<std::uint32_t> numbers);

}  // namespace quillon::testing
