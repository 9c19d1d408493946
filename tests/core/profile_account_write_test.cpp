// Writing the account store: identity accounts byte for byte, "NextAccountID",
// the order list, deleting and the Exchange account's name.
#include <tuple>

#include <gtest/gtest.h>

#include "profile/account_store.h"
#include "profile/registry_access.h"
#include "tests/core/profile_test_support.h"

namespace quillon::testing {
namespace {

using namespace platform;
using namespace profile;

class ProfileAccountWriting : public ProfileStoreTest {
 protected:
  std::optional<Bytes> Order() {
    auto value = Value(AccountsKey(), kOrderList);
    return value ? std::optional(value->bytes) : std::nullopt;
  }
};

TEST(ProfileAccountKeyName, IsTheNumberInEightLowerCaseHexDigits) {
  const std::pair<std::int32_t, std::u16string> cases[] = {
      {11, u"0000000b"}, {300, u"0000012c"},         {0, u"00000000"},
      {-1, u"ffffffff"}, {0x7FFFFFFF, u"7fffffff"}, {-0x7FFFFFFF - 1, u"80000000"}};
  for (const auto& [number, name] : cases) EXPECT_EQ(AccountKeyName(number), name);
}

TEST_F(ProfileAccountWriting, AnIdentityIsWrittenByteForByteWithTrimmedSignaturesOnlyWhenGiven) {
  PutValue(AccountsKey(), "NextAccountID", Dwords({11}), kRegDword);
  CreateIdentityAccount(*store_, profile_, 11, u"Paweł <p@x.com>", u" Paweł ", u"p@x.com", u"   ", u"");
  CreateIdentityAccount(*store_, profile_, 12, u"Paweł <p@x.com>", u" Paweł ", u"p@x.com", u" Formal ",
                        u"Short");
  const Bytes none = StoredUtf16(u"none");
  const std::pair<const char*, StoredValue> values[] = {
      {"Account Name", {kRegBinary, StoredUtf16(u"Paweł <p@x.com>")}},
      {"clsid", {kRegSz, AsBytes(kIdentityClsid)}},  // 38 bytes, no NUL
      {"Display Name", {kRegBinary, StoredUtf16(u" Paweł ")}},
      {"Email", {kRegBinary, StoredUtf16(u"p@x.com")}},
      {"POP3 Remember Passwd", {kRegDword, {0, 0, 0, 0}}},
      {"POP3 Server", {kRegBinary, none}},
      {"POP3 User", {kRegBinary, none}},
      {"SMTP Server", {kRegBinary, none}},
      {"Is Account Disabled", {kRegDword, {1, 0, 0, 0}}},
  };
  for (const char* account : {"0000000b", "0000000c"}) {
    for (const auto& [name, value] : values) {
      EXPECT_EQ(Value(AccountKey(account), name), value) << account << " " << name;
    }
  }
  EXPECT_EQ(ReadTree(*store_, kCurrentUser, AccountKey("0000000b")).size(), 1u + 9u) << "the key and its values";
  EXPECT_FALSE(Value(AccountKey("0000000b"), "New Signature"));
  EXPECT_FALSE(Value(AccountKey("0000000b"), "Reply-Forward Signature"));
  EXPECT_EQ(Value(AccountKey("0000000c"), "New Signature"),
            (StoredValue{kRegBinary, StoredUtf16(u"Formal")}));
  EXPECT_EQ(Value(AccountKey("0000000c"), "Reply-Forward Signature"),
            (StoredValue{kRegBinary, StoredUtf16(u"Short")}));
  EXPECT_EQ(Value(AccountsKey(), "NextAccountID"), (StoredValue{kRegDword, {13, 0, 0, 0}}));
}

TEST_F(ProfileAccountWriting, ACreatedAccountIsAppendedToAnExistingOrderList) {
  // The order list before and after; none: no list.
  const std::pair<std::optional<Bytes>, std::optional<Bytes>> cases[] = {
      {Dwords({1, 11}), Dwords({1, 11, 12})},
      {Bytes{}, Dwords({12})},  // emptied by deleting its only entry
      {std::nullopt, std::nullopt},       // a store without a list gets none
  };
  for (const auto& [before, after] : cases) {
    RemoveKeyTree(*store_, kCurrentUser, AccountsKey());
    if (before) PutValue(AccountsKey(), kOrderList, *before);
    EXPECT_EQ(GetNextAccountID(*store_, profile_), 0) << "no store or no value";
    CreateIdentityAccount(*store_, profile_, 12, u"a", u"b", u"c", u"", u"");
    EXPECT_EQ(Order(), after);
    EXPECT_EQ(GetNextAccountID(*store_, profile_), 13);
  }
}

TEST_F(ProfileAccountWriting, DeletingMovesTheLastEntryIntoTheFreedPlace) {
  // The order list before, the account deleted, the list after; none: no list.
  const std::tuple<std::optional<Bytes>, std::int32_t, std::optional<Bytes>> cases[] = {
      {Dwords({11, 1, 2}), 11, Dwords({2, 1})},
      {Dwords({1, 11, 2}), 11, Dwords({1, 2})},
      {Dwords({1, 11, 2}), 2, Dwords({1, 11})},
      {Dwords({11, 1, 11, 11}), 11, Dwords({1})},
      {Dwords({11}), 11, Bytes{}},  // never left naming the deleted account
      {Dwords({0xFFFFFFFF, 3}), -1, Dwords({3})},
      // A list of odd length: entries count back from the end; the stray
      // leading byte is never read as part of an entry nor dropped.
      {Bytes{0x0B, 0x0B, 0, 0, 0, 0x01, 0, 0, 0}, 11, Bytes{0x0B, 0x01, 0, 0, 0}},
      {Bytes{0x0B, 0, 0}, 11, Bytes{0x0B, 0, 0}},
      {Dwords({1, 2}), 11, Dwords({1, 2})},
      {std::nullopt, 12, std::nullopt},  // without any list the key goes and none appears
  };
  for (const auto& [before, deleted, after] : cases) {
    RemoveKeyTree(*store_, kCurrentUser, AccountsKey());
    if (before) PutValue(AccountsKey(), kOrderList, *before);
    const std::string account = AccountKey(ToAnsi(AccountKeyName(deleted)));
    SeedText(account, "Email", u"gone@x.com");
    PutValue(account + "\\Nested\\Deeper", "v", {1});
    EXPECT_TRUE(DeleteAccount(*store_, profile_, deleted));
    EXPECT_EQ(Order(), after) << deleted;
    EXPECT_FALSE(KeyExistsIn(*store_, kCurrentUser, account));
  }
}

TEST_F(ProfileAccountWriting, TheExchangeAccountNameIsTheOnlyValueWritten) {
  const std::string key = AccountKey("00000003");
  SeedText(key, "Service Name", u"MSEMS");
  SeedText(key, "Account Name", u"Old");
  // The language's default names are left to the page's tests.
  SetExchangeAccountName(*store_, data_, profile_, 3, u"  Pat - pat@x.com ");
  EXPECT_EQ(Value(key, "Account Name"), (StoredValue{kRegBinary, StoredUtf16(u"Pat - pat@x.com")}));
  EXPECT_EQ(Value(key, "Service Name"), (StoredValue{kRegBinary, StoredUtf16(u"MSEMS")}));
  EXPECT_EQ(ReadTree(*store_, kCurrentUser, key).size(), 1u + 2u) << "the key and its values";
}

}  // namespace
}  // namespace quillon::testing
