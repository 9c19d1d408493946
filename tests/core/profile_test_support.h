// A fixture for the profile store's tests: a fresh store where the identity
// account class is registered, and a profile name of its own (with blanks,
// used unchanged in key paths) whose key tree is removed afterwards, so that
// the tests run on the real registry as well.
#pragma once

#include <string>
#include <string_view>

#include <gtest/gtest.h>

#include "platform/ansi.h"
#include "profile/profile_data.h"
#include "profile/profile_values.h"
#include "tests/core/store_under_test.h"

namespace quillon::testing {

// Spelled out here rather than taken from the product, so that a wrong
// constant there shows up as wrong bytes here.
inline constexpr std::string_view kIdentityClsid = "{ED475411-B0D6-11D2-8C3B-00104B2A6676}";
inline constexpr std::string_view kOrderList = "{ED475418-B0D6-11D2-8C3B-00104B2A6676}";

class ProfileStoreTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  std::string ProfileKey() const;
  std::string AccountsKey() const;
  std::string AccountKey(std::string_view keyName) const;
  std::string DirectoryKey() const;

  void PutValue(const std::string& key, std::string_view name, const Bytes& bytes,
            std::uint32_t type = platform::kRegBinary);
  void SeedText(const std::string& key, std::string_view name, std::u16string_view text);
  // An account as this store's identities are written: POP3 class, no servers.
  void SeedIdentity(std::string_view keyName, std::u16string_view email,
                    std::u16string_view displayName, std::u16string_view serverName = u"none");
  std::optional<StoredValue> Value(const std::string& key, std::string_view name);

  std::unique_ptr<platform::RegistryStore> store_;
  std::u16string profile_;
  profile::ProfileData data_;
};

}  // namespace quillon::testing
