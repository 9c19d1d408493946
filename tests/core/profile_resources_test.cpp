// Every operation closes what it opens, asks for the access its call sequence
// names, and skips a failing step exactly as intended, whichever call fails.
#include <algorithm>
#include <functional>

#include <gtest/gtest.h>

#include "profile/account_store.h"
#include "profile/directory_addresses.h"
#include "profile/registry_access.h"
#include "tests/core/profile_test_support.h"

namespace quillon::testing {
namespace {

using namespace platform;
using namespace profile;
using Operation = MemoryRegistryStore::Operation;

constexpr std::u16string_view kProfile = u"Resource Profile";
const std::u16string kAccounts = AccountsKeyPath(kProfile);

struct NamedOperation {
  const char* name;
  std::function<void(RegistryStore&, ProfileData&, std::u16string_view profile)> run;
};

const std::vector<NamedOperation>& AllOperations() {
  static const std::vector<NamedOperation> operations{
      {"OpenKey", [](RegistryStore& s, ProfileData&, std::u16string_view p) {
         HKey key = OpenKey(s, kCurrentUser, ProfileKeyPath(p));
         if (key != kNoKey) s.CloseKey(key);  // the caller's to close
       }},
      {"ReadBinaryValue", [](RegistryStore& s, ProfileData&, std::u16string_view p) {
         ReadBinaryValue(s, ProfileKeyPath(p), u"replyaddressformat");
       }},
      {"WriteDwordValue", [](RegistryStore& s, ProfileData&, std::u16string_view p) {
         WriteDwordValue(s, AccountsKeyPath(p), u"Scratch", 1);
       }},
      {"WriteStringValue", [](RegistryStore& s, ProfileData&, std::u16string_view p) {
         WriteStringValue(s, AccountsKeyPath(p), u"ScratchText", u"x");
       }},
      {"DeleteKeyTree", [](RegistryStore& s, ProfileData&, std::u16string_view p) {
         DeleteKeyTree(s, kCurrentUser, AccountsKeyPath(p) + u"\\00000001");
       }},
      {"LoadReplyAddressFormat", [](RegistryStore& s, ProfileData& d, std::u16string_view p) {
         LoadReplyAddressFormat(s, d, p);
       }},
      {"SaveReplyAddressFormat", [](RegistryStore& s, ProfileData&, std::u16string_view p) {
         SaveReplyAddressFormat(s, p, u"1");
       }},
      {"LoadMonitoredFolders", [](RegistryStore& s, ProfileData& d, std::u16string_view p) {
         LoadMonitoredFolders(s, d, p);
       }},
      {"SaveMonitoredFolders", [](RegistryStore& s, ProfileData&, std::u16string_view p) {
         SaveMonitoredFolders(s, p, u"E1\t");
       }},
      {"LoadAccounts", [](RegistryStore& s, ProfileData& d, std::u16string_view p) {
         LoadAccounts(s, d, p);
       }},
      {"GetNextAccountID", [](RegistryStore& s, ProfileData&, std::u16string_view p) {
         GetNextAccountID(s, p);
       }},
      {"CreateIdentityAccount", [](RegistryStore& s, ProfileData&, std::u16string_view p) {
         CreateIdentityAccount(s, p, 20, u"n", u"d", u"a@x.com", u"sig", u"sig");
       }},
      {"DeleteAccount", [](RegistryStore& s, ProfileData&, std::u16string_view p) {
         DeleteAccount(s, p, 2);
       }},
      {"SetExchangeAccountName", [](RegistryStore& s, ProfileData& d, std::u16string_view p) {
         SetExchangeAccountName(s, d, p, 3, u"");
       }},
      {"LoadDirectoryAddresses", [](RegistryStore& s, ProfileData& d, std::u16string_view p) {
         LoadDirectoryAddresses(s, d, p);
       }},
  };
  return operations;
}

// A profile with something for every operation to read, write and delete.
void SeedProfile(RegistryStore& store, std::u16string_view profile) {
  const std::string accounts = ToAnsi(AccountsKeyPath(profile));
  SeedValue(store, kClassesRoot, kIdentityClassKey, "", kRegSz, AsBytes("POP3 account"));
  SeedValue(store, kCurrentUser, accounts, "NextAccountID", kRegDword, LittleEndianList({4}));
  SeedValue(store, kCurrentUser, accounts, "{ED475418-B0D6-11D2-8C3B-00104B2A6676}", kRegBinary,
            LittleEndianList({1, 2, 3}));
  for (std::string id : {"00000001", "00000002"}) {
    const std::string key = accounts + "\\" + id;
    SeedValue(store, kCurrentUser, key, "clsid", kRegSz,
              AsBytes("{ED475411-B0D6-11D2-8C3B-00104B2A6676}"));
    for (const char* name : {"POP3 Server", "SMTP Server", "Email", "Display Name"}) {
      SeedValue(store, kCurrentUser, key, name, kRegBinary, StoredText(u"none"));
    }
    SeedValue(store, kCurrentUser, key + "\\Child", "v", kRegBinary, {1});
  }
  SeedValue(store, kCurrentUser, accounts + "\\00000003", "Service Name", kRegBinary,
            StoredText(u"MSEMS"));
  SeedValue(store, kCurrentUser, ToAnsi(DirectorySectionKeyPath(profile)), "101f6637", kRegBinary,
            {1, 0, 0, 0, 8, 0, 0, 0, 'S', 0, 'M', 0, 'T', 0, 'P', 0, ':', 0, 'a', 0, 0, 0});
  SeedValue(store, kCurrentUser, ToAnsi(ProfileKeyPath(profile)), "replyaddressformat", kRegBinary,
            StoredText(u"2"));
}

using ProfileResources = ProfileStoreTest;

TEST_F(ProfileResources, EveryOperationClosesEveryKeyItOpens) {
  if (!OpenHandleCountOf(*store_)) GTEST_SKIP() << "the store cannot count its handles";
  RegisterIdentityClass();
  SeedProfile(*store_, profile_);
  for (const NamedOperation& operation : AllOperations()) {
    operation.run(*store_, data_, profile_);
    EXPECT_EQ(OpenHandleCountOf(*store_), 0u) << operation.name;
  }
  RemoveKeyTree(*store_, kCurrentUser, ToAnsi(ProfileKeyPath(profile_)));
  for (const NamedOperation& operation : AllOperations()) {  // now on a missing profile
    operation.run(*store_, data_, profile_);
    EXPECT_EQ(OpenHandleCountOf(*store_), 0u) << operation.name << " without profile";
  }
}

TEST(ProfileFailures, AFailureAtAnyCallNeverLeaksAHandle) {
  for (const NamedOperation& operation : AllOperations()) {
    MemoryRegistryStore clean;
    SeedProfile(clean, kProfile);
    clean.ClearCalls();
    ProfileData data;
    operation.run(clean, data, kProfile);
    // Closing is what is being checked, so every other call takes a turn.
    const auto calls = std::count_if(clean.Calls().begin(), clean.Calls().end(), [](auto& call) {
      return call.operation != Operation::CloseKey;
    });
    for (int failing = 1; failing <= calls; ++failing) {
      MemoryRegistryStore store;
      SeedProfile(store, kProfile);
      store.FailWhen([failing, seen = 0](const MemoryRegistryStore::Call& call) mutable {
        if (call.operation == Operation::CloseKey) return kErrorSuccess;
        return ++seen == failing ? kErrorAccessDenied : kErrorSuccess;
      });
      ProfileData failed;
      operation.run(store, failed, kProfile);
      store.ClearFailures();
      EXPECT_EQ(store.OpenHandleCount(), 0u) << operation.name << " failing call " << failing;
    }
  }
}

class ProfileFailureSteps : public ::testing::Test {
 protected:
  void SetUp() override { SeedProfile(store_, kProfile); }
  void FailSetOf(std::string_view valueName) {
    store_.FailWhen([name = std::string(valueName)](const MemoryRegistryStore::Call& call) {
      return call.operation == Operation::SetValueEx && call.name == name ? kErrorAccessDenied
                                                                          : kErrorSuccess;
    });
  }
  std::optional<StoredValue> Get(std::u16string_view key, std::string_view name) {
    return store_.GetValue(kCurrentUser, ToAnsi(key), name);
  }
  MemoryRegistryStore store_;
  ProfileData data_;
};

TEST_F(ProfileFailureSteps, AFailedWriteOfAnAccountValueSkipsOnlyThatValue) {
  FailSetOf("Display Name");
  CreateIdentityAccount(store_, kProfile, 20, u"n", u"d", u"a@x.com", u"", u"");
  const std::u16string account = kAccounts + u"\\00000014";
  EXPECT_FALSE(Get(account, "Display Name"));
  EXPECT_TRUE(Get(account, "Email"));
  EXPECT_TRUE(Get(account, "Is Account Disabled"));
  EXPECT_EQ(Get(kAccounts, "NextAccountID")->bytes, LittleEndianList({21}));
  EXPECT_EQ(Get(kAccounts, "{ED475418-B0D6-11D2-8C3B-00104B2A6676}")->bytes,
            LittleEndianList({1, 2, 3, 20}));
}

TEST_F(ProfileFailureSteps, WritersReportFailedCreatesAndSetsButCreateKeyAndSetValueDoesNot) {
  store_.FailCall(Operation::CreateKeyEx, 1);
  EXPECT_FALSE(WriteBinaryValue(store_, kAccounts, u"x", Bytes{1}));
  store_.ClearFailures();
  FailSetOf("x");
  EXPECT_FALSE(WriteBinaryValue(store_, kAccounts, u"x", Bytes{1}));
  EXPECT_FALSE(WriteDwordValue(store_, kAccounts, u"x", 1));
  EXPECT_TRUE(CreateKeyAndSetValue(store_, kCurrentUser, kAccounts, u"x", std::int32_t{1},
                                   kRegDword));
  EXPECT_FALSE(Get(kAccounts, "x"));
}

TEST_F(ProfileFailureSteps, AFailedOrderListWriteMakesDeleteAccountReportFalse) {
  FailSetOf("{ED475418-B0D6-11D2-8C3B-00104B2A6676}");
  EXPECT_FALSE(DeleteAccount(store_, kProfile, 2));
  EXPECT_FALSE(store_.KeyExists(kCurrentUser, ToAnsi(kAccounts + u"\\00000002")));
  EXPECT_EQ(Get(kAccounts, "{ED475418-B0D6-11D2-8C3B-00104B2A6676}")->bytes,
            LittleEndianList({1, 2, 3}));
}

TEST_F(ProfileFailureSteps, AFailedDataReadGivesNoBytesRatherThanZeros) {
  store_.FailCall(Operation::QueryValueEx, 2, kErrorMoreData);
  EXPECT_EQ(ReadBinaryValue(store_, ProfileKeyPath(kProfile), u"replyaddressformat"), Bytes{});
  store_.ClearFailures();
  store_.FailCall(Operation::QueryValueEx, 2, kErrorMoreData);
  HKey key = OpenKey(store_, kCurrentUser, ProfileKeyPath(kProfile));
  EXPECT_EQ(ReadValueText(store_, key, u"replyaddressformat", u""), u"");
  store_.CloseKey(key);
}

TEST_F(ProfileFailureSteps, AnAccountThatCannotBeEnumeratedIsSkippedAndTheOthersRead) {
  store_.FailCall(Operation::EnumKeyEx, 1);
  LoadAccounts(store_, data_, kProfile);
  EXPECT_EQ(data_.sAccIDs, u"00000002");
  EXPECT_EQ(data_.sExchangeID, u"00000003");
  store_.ClearFailures();
  store_.FailCall(Operation::QueryInfoKey, 1);
  LoadAccounts(store_, data_, kProfile);
  EXPECT_EQ(data_.sAccIDs, u"");
}

TEST_F(ProfileFailureSteps, ANameLongerThanAnnouncedIsEnumeratedAgainNotTakenFromAStaleBuffer) {
  store_.FailCall(Operation::EnumKeyEx, 2, kErrorMoreData);
  LoadAccounts(store_, data_, kProfile);
  EXPECT_EQ(data_.sAccIDs, u"00000001\t00000002");
}

TEST_F(ProfileFailureSteps, ASubkeyThatCannotBeDeletedKeepsItsParentButNotItsSiblings) {
  const std::string root = ToAnsi(ProfileKeyPath(kProfile)) + "\\Tree";
  for (const char* child : {"\\a", "\\b\\c", "\\d"}) store_.CreateKeyPath(kCurrentUser, root + child);
  store_.FailWhen([](const MemoryRegistryStore::Call& call) {
    return call.operation == Operation::DeleteKey && call.name == "c" ? kErrorAccessDenied
                                                                      : kErrorSuccess;
  });
  DeleteKeyTree(store_, kCurrentUser, FromAnsi(root));
  EXPECT_EQ(store_.SubKeyNames(kCurrentUser, root), std::vector<std::string>{"b"});
  EXPECT_TRUE(store_.KeyExists(kCurrentUser, root + "\\b\\c"));
}

TEST_F(ProfileFailureSteps, KeysAreOpenedWithTheAccessTheirCallsName) {
  store_.ClearCalls();
  HKey key = OpenKey(store_, kCurrentUser, ProfileKeyPath(kProfile));
  store_.CloseKey(key);
  ReadBinaryValue(store_, ProfileKeyPath(kProfile), u"replyaddressformat");
  SaveReplyAddressFormat(store_, kProfile, u"1");
  DeleteSubKeys(store_, kCurrentUser, kAccounts + u"\\00000001");
  WriteStringValue(store_, kAccounts, u"s", u"x");
  std::vector<std::pair<Operation, std::uint32_t>> opens;
  for (const auto& call : store_.Calls()) {
    if (call.operation == Operation::OpenKeyEx || call.operation == Operation::CreateKeyEx ||
        call.operation == Operation::CreateKey) {
      opens.emplace_back(call.operation, call.access);
    }
  }
  const std::vector<std::pair<Operation, std::uint32_t>> expected{
      {Operation::OpenKeyEx, kKeyRead},          {Operation::CreateKeyEx, kKeyQueryValue},
      {Operation::CreateKeyEx, kKeyAllSixRights}, {Operation::OpenKeyEx, kKeyAllSixRights},
      {Operation::OpenKeyEx, kKeyAllSixRights},   {Operation::CreateKey, 0xF003F}};
  EXPECT_EQ(opens, expected);
}

TEST_F(ProfileFailureSteps, AnIdentityAccountIsWrittenValueByValueInItsFixedOrder) {
  store_.ClearCalls();
  CreateIdentityAccount(store_, kProfile, 20, u"n", u"d", u"a@x.com", u"new", u"reply");
  std::vector<std::string> written;
  for (const auto& call : store_.Calls()) {
    if (call.operation == Operation::SetValueEx) written.push_back(call.name);
  }
  const std::vector<std::string> expected{
      "Account Name", "clsid", "Display Name", "Email", "POP3 Remember Passwd", "POP3 Server",
      "POP3 User", "SMTP Server", "Is Account Disabled", "New Signature",
      "Reply-Forward Signature", "NextAccountID", "{ED475418-B0D6-11D2-8C3B-00104B2A6676}"};
  EXPECT_EQ(written, expected);
}

}  // namespace
}  // namespace quillon::testing
