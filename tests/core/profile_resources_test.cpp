// Every operation closes what it opens, asks for the access its call sequence
// names, and skips a failing step exactly as intended, whichever call fails;
// what is not there is no failure, and an ignored failure is reported once.
#include <algorithm>
#include <functional>
#include <tuple>

#include <gtest/gtest.h>

#include "profile/account_store.h"
#include "profile/directory_addresses.h"
#include "profile/registry_access.h"
#include "profile/scoped_key.h"
#include "testing/page_rig.h"
#include "tests/core/profile_test_support.h"

namespace quillon::testing {
namespace {

using namespace platform;
using namespace profile;
using Operation = FaultInjectingRegistryStore::Operation;
using Call = FaultInjectingRegistryStore::Call;
using Reports = std::vector<RecordedFailure>;

constexpr std::u16string_view kProfile = PageRig::kProfile;
const std::u16string kAccounts = AccountsKeyPath(kProfile);

// The profile store's operations by name; the access layer's reads, writers and
// deletions are all called by these, each of their calls swept in turn.
const std::pair<const char*, std::function<void(RegistryStore&, ProfileData&, std::u16string_view)>> kOperations[] = {
    {"OpenKey", [](auto& s, auto&, auto p) {
       HKey key = OpenKey(s, kCurrentUser, ProfileKeyPath(p));
       if (key != kNoKey) {
         EXPECT_EQ(s.CloseKey(key), kErrorSuccess);  // the caller's to close
       }
     }},
    {"LoadReplyAddressFormat", [](auto& s, auto& d, auto p) { LoadReplyAddressFormat(s, d, p); }},
    {"SaveReplyAddressFormat", [](auto& s, auto&, auto p) { SaveReplyAddressFormat(s, p, u"1"); }},
    {"LoadMonitoredFolders", [](auto& s, auto& d, auto p) { LoadMonitoredFolders(s, d, p); }},
    {"SaveMonitoredFolders", [](auto& s, auto&, auto p) { SaveMonitoredFolders(s, p, u"E1\t"); }},
    {"LoadAccounts", [](auto& s, auto& d, auto p) { LoadAccounts(s, d, p); }},
    {"GetNextAccountID", [](auto& s, auto&, auto p) { GetNextAccountID(s, p); }},
    {"CreateIdentityAccount", [](auto& s, auto&, auto p) {
       CreateIdentityAccount(s, p, 20, u"n", u"d", u"a@x.com", u"sig", u"sig");
     }},
    {"DeleteAccount", [](auto& s, auto&, auto p) { DeleteAccount(s, p, 2); }},
    {"SetExchangeAccountName",
     [](auto& s, auto& d, auto p) { SetExchangeAccountName(s, d, p, 3, u""); }},
    {"LoadDirectoryAddresses", [](auto& s, auto& d, auto p) { LoadDirectoryAddresses(s, d, p); }},
};

// A profile with something for every operation to read, write and delete.
void SeedProfile(PageRig& rig) {
  rig.SeedNextAccountID(4);
  rig.SeedOrderList({1, 2, 3});
  for (const std::int32_t number : {1, 2}) {
    rig.SeedIdentity(number, u"Ann", u"ann@x.example");
    rig.Put(rig.AccountPath(number) + "\\Child", "v", {1});
  }
  rig.SeedExchangeAccount(3, u"Microsoft Exchange Server");
  rig.SeedDirectory({u"SMTP:a"});
  rig.SeedProfileValue("replyaddressformat", StoredUtf16(u"2"));
}

// Each operation on the seeded profile and on a missing one: first without a
// failure, then with each of its calls failing in turn. Closing is what is
// checked, so closes never fail.
TEST(ProfileResources, EveryOperationClosesEveryKeyItOpensWhicheverCallFails) {
  for (const std::u16string_view profile : {kProfile, std::u16string_view(u"Missing")}) {
    for (const auto& [name, run] : kOperations) {
      for (int failing = 0, calls = 0; failing <= calls; ++failing) {
        PageRig rig;
        SeedProfile(rig);
        rig.faults.FailWhen([failing, seen = 0](const Call& call) mutable {
          if (call.operation == Operation::CloseKey) return kErrorSuccess;
          return ++seen == failing ? kErrorAccessDenied : kErrorSuccess;
        });
        ProfileData data;
        run(rig.faults, data, profile);
        if (failing == 0) {
          calls = static_cast<int>(std::ranges::count_if(
              rig.faults.Calls(), [](auto& call) { return call.operation != Operation::CloseKey; }));
        }
        EXPECT_EQ(rig.registry.OpenHandleCount(), 0u)
            << name << ", " << ToAnsi(profile) << " profile, failing call " << failing;
      }
    }
  }
}

// Single steps on the in-memory store: a chosen call fails, or the call log or
// the reports of the failures gone on without are what is checked.
class ProfileCallSteps : public ::testing::Test {
 protected:
  void SetUp() override { SeedProfile(rig_); }
  // Every call of this kind (on this name or on the key at this path, when one is given) fails.
  void FailOn(Operation operation, std::optional<std::string> name = std::nullopt) {
    store_.FailWhen([operation, name](const Call& call) {
      const bool named = !name || call.name == *name || call.keyPath == "HKEY_CURRENT_USER\\" + *name;
      return call.operation == operation && named ? kErrorAccessDenied : kErrorSuccess;
    });
  }
  PageRig rig_;
  MemoryRegistryStore& memory_ = rig_.registry;
  FaultInjectingRegistryStore& store_ = rig_.faults;
  ProfileData data_;
  const std::u16string profileKey_ = ProfileKeyPath(kProfile);
  DiagnosticStep step_{rig_.diagnostics, u"Test"};
};

// Which values an identity gets is the write test's business; here: a failed one skips only itself.
TEST_F(ProfileCallSteps, AFailedIdentityValueSkipsOnlyItself) {
  FailOn(Operation::SetValueEx, "Display Name");
  CreateIdentityAccount(store_, kProfile, 20, u"n", u"d", u"a@x.com", u"new", u"reply");
  EXPECT_FALSE(rig_.Value(rig_.AccountPath(20), "Display Name"));
  EXPECT_TRUE(rig_.Value(rig_.AccountPath(20), "Email"));
  EXPECT_TRUE(rig_.Value(rig_.AccountPath(20), "Reply-Forward Signature"));
  EXPECT_EQ(rig_.Value(rig_.AccountsPath(), "NextAccountID"), Dwords({21}));
  EXPECT_EQ(rig_.Value(rig_.AccountsPath(), kOrderList), Dwords({1, 2, 3, 20}));
}

TEST_F(ProfileCallSteps, FailedWritesAreReportedByEveryWriter) {
  store_.FailCall(Operation::CreateKeyEx, 1);
  EXPECT_FALSE(WriteBinaryValue(store_, kAccounts, u"x", Bytes{1}));
  store_.ClearFailures();
  FailOn(Operation::SetValueEx, "x");
  EXPECT_FALSE(WriteBinaryValue(store_, kAccounts, u"x", Bytes{1}));
  EXPECT_FALSE(WriteDwordValue(store_, kAccounts, u"x", 1));
  // A write that failed is no success, whichever call failed.
  const RegOutcome set = CreateKeyAndSetValue(store_, kCurrentUser, kAccounts, u"x", std::int32_t{1},
                                              kRegDword);
  EXPECT_EQ(set.code(), kErrorAccessDenied);
  EXPECT_EQ(set.call(), u"SetValueEx");
  store_.ClearFailures();
  store_.FailCall(Operation::CreateKey, 1);
  EXPECT_EQ(CreateKeyAndSetValue(store_, kCurrentUser, kAccounts, u"x", std::int32_t{1}, kRegDword)
                .call(),
            u"CreateKey");
  EXPECT_FALSE(rig_.Value(rig_.AccountsPath(), "x"));
  // The account key is gone, but the order list still names it: not a success.
  FailOn(Operation::SetValueEx, std::string(kOrderList));
  EXPECT_FALSE(DeleteAccount(store_, kProfile, 2));
  EXPECT_FALSE(memory_.KeyExists(kCurrentUser, rig_.AccountPath(2)));
  EXPECT_EQ(rig_.Value(rig_.AccountsPath(), kOrderList), Dwords({1, 2, 3}));
}

TEST_F(ProfileCallSteps, FailedReadsGiveNothingRatherThanStaleOrZeroedData) {
  store_.FailCall(Operation::QueryValueEx, 2, kErrorMoreData);
  EXPECT_EQ(ReadBinaryValue(store_, ProfileKeyPath(kProfile), u"replyaddressformat"), Bytes{});
  // A text is read in one query when it fits the first buffer, in a second
  // one sized by the first when it does not; either failing gives nothing.
  const Bytes longText(1000, 'x');
  SeedValue(store_, kCurrentUser, ToAnsi(ProfileKeyPath(kProfile)), "long", kRegBinary, longText);
  HKey key = OpenKey(store_, kCurrentUser, ProfileKeyPath(kProfile));
  EXPECT_EQ(ReadValueText(store_, key, u"long", ValueTextMode::kSingleText).size(), longText.size() / 2);
  // The value read, which of its queries fails and how.
  const std::tuple<const char16_t*, int, RegResult> failures[] = {
      {u"replyaddressformat", 1, kErrorAccessDenied}, {u"long", 1, kErrorAccessDenied},
      {u"long", 2, kErrorMoreData}};
  for (const auto& [name, nth, code] : failures) {
    store_.ClearFailures();
    store_.FailCall(Operation::QueryValueEx, nth, code);
    EXPECT_EQ(ReadValueText(store_, key, name, ValueTextMode::kSingleText), u"") << nth;
  }
  EXPECT_EQ(store_.CloseKey(key), kErrorSuccess);

  // An account that cannot be enumerated is skipped and the others read; a
  // name longer than announced is enumerated again, not taken from the buffer.
  // The call that fails, which one of its kind and how; the accounts then read.
  const std::tuple<Operation, int, RegResult, std::u16string> enumerations[] = {
      {Operation::EnumKeyEx, 1, kErrorAccessDenied, u"00000002"},
      {Operation::EnumKeyEx, 2, kErrorMoreData, u"00000001\t00000002"},
      {Operation::QueryInfoKey, 1, kErrorAccessDenied, u""}};
  for (const auto& [operation, nth, code, ids] : enumerations) {
    store_.ClearFailures();
    store_.FailCall(operation, nth, code);
    LoadAccounts(store_, data_, kProfile);
    EXPECT_EQ(data_.sAccIDs, ids) << nth;
  }
}

TEST_F(ProfileCallSteps, ASubkeyThatCannotBeDeletedKeepsItsParentButNotItsSiblings) {
  const std::string root = ToAnsi(ProfileKeyPath(kProfile)) + "\\Tree";
  for (const char* child : {"\\a", "\\b\\c", "\\d"}) memory_.CreateKeyPath(kCurrentUser, root + child);
  FailOn(Operation::DeleteKey, "c");
  DeleteKeyTree(store_, kCurrentUser, FromAnsi(root));
  EXPECT_EQ(memory_.SubKeyNames(kCurrentUser, root), std::vector<std::string>{"b"});
  EXPECT_TRUE(memory_.KeyExists(kCurrentUser, root + "\\b\\c"));

  // A key that will not open or list keeps what is below it; the failure is told first.
  const std::pair<Operation, std::u16string_view> failures[] = {{Operation::OpenKeyEx, u"OpenKeyEx"},
                                                                 {Operation::EnumKey, u"EnumKey"}};
  for (const auto& [operation, call] : failures) {
    store_.ClearFailures();
    rig_.diagnostics.Clear();
    FailOn(operation, root + "\\b");
    DeleteKeyTree(store_, kCurrentUser, FromAnsi(root));
    EXPECT_TRUE(memory_.KeyExists(kCurrentUser, root + "\\b\\c"));
    ASSERT_FALSE(rig_.diagnostics.Reports().empty());
    EXPECT_EQ(rig_.diagnostics.Reports()[0].call, call);
  }
}

// An empty name would otherwise read, write or delete right below the
// profiles key or a root.
TEST_F(ProfileCallSteps, AnEmptyProfileNameOrKeyPathTouchesNothing) {
  data_.sReplyAddressFormat = u"1";
  data_.sMonitoredFolders = u"kept";
  data_.sAccIDs = u"stale";
  data_.sExchangeID = u"00000003";
  data_.vDirAddresses = {u"SMTP:kept@x.com"};
  store_.ClearCalls();
  LoadReplyAddressFormat(store_, data_, u"");
  LoadMonitoredFolders(store_, data_, u"");
  SaveReplyAddressFormat(store_, u"", u"1");
  SaveMonitoredFolders(store_, u"", u"E1\t");
  LoadAccounts(store_, data_, u"");
  LoadDirectoryAddresses(store_, data_, u"");
  EXPECT_EQ(GetNextAccountID(store_, u""), 0);
  CreateIdentityAccount(store_, u"", 11, u"a", u"b", u"c", u"d", u"e");
  EXPECT_TRUE(DeleteAccount(store_, u"", 11));
  SetExchangeAccountName(store_, data_, u"", 3, u"");
  EXPECT_FALSE(CreateKeyAndSetValue(store_, kCurrentUser, u"", u"v", std::int32_t{1}, kRegDword));
  EXPECT_FALSE(CreateKeyAndSetValue(store_, kCurrentUser, u"\\", u"v", std::int32_t{1}, kRegDword));
  DeleteSubKeys(store_, kCurrentUser, u"");
  DeleteKeyTree(store_, kCurrentUser, u"");
  DeleteKeyTree(store_, kCurrentUser, u"\\");
  EXPECT_TRUE(store_.Calls().empty());
  EXPECT_EQ(data_.sReplyAddressFormat, u"");
  EXPECT_EQ(data_.sMonitoredFolders, u"kept");
  EXPECT_EQ(data_.sAccIDs, u"");
  EXPECT_EQ(data_.sExchangeID, u"") << "a profile without Exchange account renames none";
  EXPECT_EQ(data_.vDirAddresses, std::vector<std::u16string>{u"SMTP:kept@x.com"});
}

TEST_F(ProfileCallSteps, WhatIsNotThereIsNoFailure) {
  rig_.Put(rig_.ProfilePath(), "long", Bytes(1000, 'x'));
  EXPECT_EQ(OpenKey(store_, kCurrentUser, u"Software\\Missing"), kNoKey);
  {
    ScopedKey key(store_, OpenKey(store_, kCurrentUser, profileKey_));
    EXPECT_TRUE(TryReadDwordValue(store_, key.get(), u"missing").Missing());
    EXPECT_TRUE(TryReadValueText(store_, key.get(), u"missing", ValueTextMode::kSingleText).Missing());
    // Read by its size: the first query's ERROR_MORE_DATA is part of the protocol.
    EXPECT_EQ(ReadValueText(store_, key.get(), u"long", ValueTextMode::kSingleText).size(), 500u);
  }
  EXPECT_TRUE(TryReadBinaryValue(store_, profileKey_, u"missing").Missing());
  DeleteKeyTree(store_, kCurrentUser, profileKey_);  // enumerates to ERROR_NO_MORE_ITEMS, subkeys and all
  DeleteKeyTree(store_, kCurrentUser, profileKey_);  // nothing left to delete
  EXPECT_FALSE(memory_.KeyExists(kCurrentUser, rig_.ProfilePath()));
  EXPECT_EQ(rig_.diagnostics.Reports(), Reports{});
}

TEST_F(ProfileCallSteps, AFailedReadIsToldFromAMissingOneAndReportedOnceWhereItIsIgnored) {
  rig_.Put(rig_.ProfilePath(), "n", {7, 0, 0, 0}, kRegDword);
  ScopedKey key(store_, OpenKey(store_, kCurrentUser, profileKey_));
  store_.FailCall(Operation::QueryValueEx, 1);
  const RegRead<std::int32_t> read = TryReadDwordValue(store_, key.get(), u"n");
  EXPECT_FALSE(read.Found());
  EXPECT_FALSE(read.Missing());
  EXPECT_EQ(read.Failure().code(), kErrorAccessDenied);
  EXPECT_EQ(read.Failure().call(), u"QueryValueEx");
  EXPECT_EQ(rig_.diagnostics.Reports(), Reports{}) << "telling a failure is not ignoring it";

  store_.ClearFailures();
  store_.FailCall(Operation::QueryValueEx, 1);
  EXPECT_EQ(ReadDwordValue(store_, key.get(), u"n"), 0);  // as when it is missing
  EXPECT_EQ(ReadDwordValue(store_, key.get(), u"n"), 7);
  EXPECT_EQ(rig_.diagnostics.Reports(), (Reports{{u"Test", u"QueryValueEx", u"n", kErrorAccessDenied, CodeKind::kWin32}}));
}

TEST_F(ProfileCallSteps, AKeyThatWillNotOpenOrCloseIsReported) {
  FailOn(Operation::OpenKeyEx);
  FailOn(Operation::CloseKey);
  EXPECT_EQ(OpenKey(store_, kCurrentUser, profileKey_), kNoKey);
  { ScopedKey key(store_, CreateWritableKey(store_, profileKey_)); }
  store_.ClearFailures();
  EXPECT_EQ(rig_.diagnostics.Reports(),
            (Reports{{u"Test", u"OpenKeyEx", profileKey_, kErrorAccessDenied, CodeKind::kWin32},
                     {u"Test", u"CloseKey", u"", kErrorAccessDenied, CodeKind::kWin32}}));
}

}  // namespace
}  // namespace quillon::testing
