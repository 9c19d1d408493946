// Writing the account store: identity accounts byte for byte, "NextAccountID",
// the order list, deleting and the Exchange account's name.
#include <gtest/gtest.h>

#include "profile/account_store.h"
#include "profile/registry_access.h"
#include "tests/core/profile_test_support.h"

namespace quillon::testing {
namespace {

using namespace platform;
using namespace profile;

constexpr std::string_view kOrder = "{ED475418-B0D6-11D2-8C3B-00104B2A6676}";
const Bytes kNone{'n', 0, 'o', 0, 'n', 0, 'e', 0, 0, 0};

class ProfileAccountWriting : public ProfileStoreTest {
 protected:
  void SeedOrder(const Bytes& bytes) {
    SeedValue(*store_, kCurrentUser, AccountsKey(), kOrder, kRegBinary, bytes);
  }
  std::optional<Bytes> Order() {
    auto value = Value(AccountsKey(), kOrder);
    return value ? std::optional(value->bytes) : std::nullopt;
  }
  void ExpectIdentityValues(std::string_view keyName) {
    const std::string key = AccountKey(keyName);
    EXPECT_EQ(Value(key, "Account Name"), (StoredValue{kRegBinary, StoredText(u"Pat <p@x.com>")}));
    EXPECT_EQ(Value(key, "Display Name"), (StoredValue{kRegBinary, StoredText(u" Pat ")}));
    EXPECT_EQ(Value(key, "Email"), (StoredValue{kRegBinary, StoredText(u"p@x.com")}));
    EXPECT_EQ(Value(key, "POP3 Remember Passwd"), (StoredValue{kRegDword, {0, 0, 0, 0}}));
    EXPECT_EQ(Value(key, "POP3 Server"), (StoredValue{kRegBinary, kNone}));
    EXPECT_EQ(Value(key, "POP3 User"), (StoredValue{kRegBinary, kNone}));
    EXPECT_EQ(Value(key, "SMTP Server"), (StoredValue{kRegBinary, kNone}));
    EXPECT_EQ(Value(key, "Is Account Disabled"), (StoredValue{kRegDword, {1, 0, 0, 0}}));
    const std::optional<StoredValue> clsid = Value(key, "clsid");
    ASSERT_TRUE(clsid);
    EXPECT_EQ(clsid->type, kRegSz);
    EXPECT_EQ(clsid->bytes, AsBytes("{ED475411-B0D6-11D2-8C3B-00104B2A6676}")) << "38 bytes, no NUL";
  }
};

TEST(ProfileAccountKeyName, IsTheNumberInEightLowerCaseHexDigits) {
  const struct {
    std::int32_t number;
    std::u16string name;
  } cases[] = {{11, u"0000000b"}, {300, u"0000012c"}, {0, u"00000000"},
               {-1, u"ffffffff"}, {0x7FFFFFFF, u"7fffffff"}, {-0x7FFFFFFF - 1, u"80000000"}};
  for (const auto& entry : cases) EXPECT_EQ(AccountKeyName(entry.number), entry.name);
}

TEST_F(ProfileAccountWriting, AnIdentityWithoutSignaturesHasExactlyNineValues) {
  SeedDword(AccountsKey(), "NextAccountID", 11);
  CreateIdentityAccount(*store_, profile_, 11, u"Pat <p@x.com>", u" Pat ", u"p@x.com", u"   ", u"");
  ExpectIdentityValues("0000000b");
  EXPECT_FALSE(Value(AccountKey("0000000b"), "New Signature"));
  EXPECT_FALSE(Value(AccountKey("0000000b"), "Reply-Forward Signature"));
  if (memory_ != nullptr) {
    EXPECT_EQ(memory_->ValueNames(kCurrentUser, AccountKey("0000000b")).size(), 9u);
  }
  EXPECT_EQ(Value(AccountsKey(), "NextAccountID"), (StoredValue{kRegDword, {12, 0, 0, 0}}));
  EXPECT_EQ(GetNextAccountID(*store_, profile_), 12);
}

TEST_F(ProfileAccountWriting, SignatureNamesAreStoredTrimmed) {
  CreateIdentityAccount(*store_, profile_, 11, u"Pat <p@x.com>", u" Pat ", u"p@x.com", u" Formal ",
                        u"Short");
  ExpectIdentityValues("0000000b");
  EXPECT_EQ(Value(AccountKey("0000000b"), "New Signature"),
            (StoredValue{kRegBinary, StoredText(u"Formal")}));
  EXPECT_EQ(Value(AccountKey("0000000b"), "Reply-Forward Signature"),
            (StoredValue{kRegBinary, StoredText(u"Short")}));
}

TEST_F(ProfileAccountWriting, ACreatedAccountIsAppendedToAnExistingOrderList) {
  const struct {
    std::optional<Bytes> before;
    std::optional<Bytes> after;
  } cases[] = {
      {LittleEndianList({1, 11}), LittleEndianList({1, 11, 12})},
      {Bytes{}, LittleEndianList({12})},  // emptied by deleting its only entry
      {std::nullopt, std::nullopt},       // a store without a list gets none
  };
  for (const auto& entry : cases) {
    RemoveKeyTree(*store_, kCurrentUser, AccountsKey());
    if (entry.before) SeedOrder(*entry.before);
    CreateIdentityAccount(*store_, profile_, 12, u"a", u"b", u"c", u"", u"");
    EXPECT_EQ(Order(), entry.after);
    EXPECT_EQ(GetNextAccountID(*store_, profile_), 13);
  }
}

TEST_F(ProfileAccountWriting, GetNextAccountIdIsZeroWithoutStoreOrValue) {
  EXPECT_EQ(GetNextAccountID(*store_, profile_), 0);
  SeedText(AccountsKey(), "Other", u"x");
  EXPECT_EQ(GetNextAccountID(*store_, profile_), 0);
  EXPECT_EQ(GetNextAccountID(*store_, u""), 0);
}

TEST_F(ProfileAccountWriting, DeletingMovesTheLastEntryIntoTheFreedPlace) {
  const struct {
    Bytes before;
    std::int32_t deleted;
    Bytes after;
  } cases[] = {
      {LittleEndianList({11, 1, 2}), 11, LittleEndianList({2, 1})},
      {LittleEndianList({1, 11, 2}), 11, LittleEndianList({1, 2})},
      {LittleEndianList({1, 11, 2}), 2, LittleEndianList({1, 11})},
      {LittleEndianList({11, 1, 11, 11}), 11, LittleEndianList({1})},
      {LittleEndianList({11}), 11, Bytes{}},
      {LittleEndianList({0xFFFFFFFF, 3}), -1, LittleEndianList({3})},
      // A list of odd length: entries count back from the end; the stray
      // leading byte is never read as part of an entry nor dropped.
      {Bytes{0x0B, 0x0B, 0, 0, 0, 0x01, 0, 0, 0}, 11, Bytes{0x0B, 0x01, 0, 0, 0}},
      {Bytes{0x0B, 0, 0}, 11, Bytes{0x0B, 0, 0}},
  };
  for (const auto& entry : cases) {
    SeedOrder(entry.before);
    SeedText(AccountKey(ToAnsi(AccountKeyName(entry.deleted))), "Email", u"gone@x.com");
    EXPECT_TRUE(DeleteAccount(*store_, profile_, entry.deleted));
    EXPECT_EQ(Order(), entry.after) << entry.deleted;
    EXPECT_FALSE(KeyExistsIn(*store_, kCurrentUser, AccountKey(ToAnsi(AccountKeyName(entry.deleted)))));
  }
}

TEST_F(ProfileAccountWriting, DeletingANumberNotInTheListLeavesTheListAlone) {
  SeedOrder(LittleEndianList({1, 2}));
  SeedIdentity("0000000b", u"b@x.com", u"B");
  SeedValue(*store_, kCurrentUser, AccountKey("0000000b") + "\\Nested\\Deeper", "v", kRegBinary, {1});
  if (memory_ != nullptr) memory_->ClearCalls();
  EXPECT_TRUE(DeleteAccount(*store_, profile_, 11));
  EXPECT_FALSE(KeyExistsIn(*store_, kCurrentUser, AccountKey("0000000b")));
  EXPECT_EQ(Order(), LittleEndianList({1, 2}));
  if (memory_ != nullptr) {
    for (const auto& call : memory_->Calls()) {
      EXPECT_NE(call.operation, MemoryRegistryStore::Operation::SetValueEx) << call.name;
    }
  }
  // Without any list the key goes and no list appears.
  RemoveKeyTree(*store_, kCurrentUser, AccountsKey());
  SeedIdentity("0000000c", u"c@x.com", u"C");
  EXPECT_TRUE(DeleteAccount(*store_, profile_, 12));
  EXPECT_FALSE(KeyExistsIn(*store_, kCurrentUser, AccountKey("0000000c")));
  EXPECT_FALSE(Order());
}

TEST_F(ProfileAccountWriting, IdentitiesWrittenAreReadBackInCreationOrder) {
  RegisterIdentityClass();
  SeedDword(AccountsKey(), "NextAccountID", 14);
  SeedOrder(LittleEndianList({1}));
  const std::u16string names[] = {u"First", u"Second", u"Third"};
  for (const std::u16string& name : names) {
    const std::int32_t number = GetNextAccountID(*store_, profile_);
    CreateIdentityAccount(*store_, profile_, number, name, name, name + u"@x.com", name, u"");
  }
  LoadAccounts(*store_, data_, profile_);
  EXPECT_EQ(data_.sAccIDs, u"0000000e\t0000000f\t00000010");
  EXPECT_EQ(data_.sAccNewSignatures, u"First\tSecond\tThird");
  EXPECT_EQ(Order(), LittleEndianList({1, 14, 15, 16}));
  for (const std::u16string& id : {u"0000000f", u"0000000e", u"00000010"}) {
    DeleteAccount(*store_, profile_, std::stoi(ToAnsi(id), nullptr, 16));
  }
  LoadAccounts(*store_, data_, profile_);
  EXPECT_EQ(data_.sAccIDs, u"");
  EXPECT_EQ(Order(), LittleEndianList({1}));
}

TEST_F(ProfileAccountWriting, TheExchangeAccountNameIsTheOnlyValueWritten) {
  const std::string key = AccountKey("00000003");
  SeedText(key, "Service Name", u"MSEMS");
  SeedText(key, "Account Name", u"Old");
  const struct {
    bool spanish;
    std::u16string given;
    std::u16string stored;
  } cases[] = {
      {false, u"", u"Microsoft Exchange Server"},
      {true, u"", u"Servidor de Microsoft Exchange"},
      {true, u"  Pat - pat@x.com ", u"Pat - pat@x.com"},
  };
  for (const auto& entry : cases) {
    data_.bSpanishUI = entry.spanish;
    SetExchangeAccountName(*store_, data_, profile_, 3, entry.given);
    EXPECT_EQ(Value(key, "Account Name"), (StoredValue{kRegBinary, StoredText(entry.stored)}));
    EXPECT_EQ(Value(key, "Service Name"), (StoredValue{kRegBinary, StoredText(u"MSEMS")}));
  }
  if (memory_ != nullptr) {
    EXPECT_EQ(memory_->ValueNames(kCurrentUser, key).size(), 2u);
  }
}

TEST_F(ProfileAccountWriting, AnEmptyProfileNameWritesNothing) {
  SKIP_UNLESS_IN_MEMORY();  // would otherwise write below the profiles key itself
  memory_->ClearCalls();
  CreateIdentityAccount(*store_, u"", 11, u"a", u"b", u"c", u"d", u"e");
  EXPECT_TRUE(DeleteAccount(*store_, u"", 11));
  SetExchangeAccountName(*store_, data_, u"", 3, u"");
  EXPECT_EQ(GetNextAccountID(*store_, u""), 0);
  EXPECT_TRUE(memory_->Calls().empty());
}

}  // namespace
}  // namespace quillon::testing
