// Every registry call of the load, Apply, populate, re-read and the page's end
// made to fail in turn. A dry run counts the calls first; then each run fails
// exactly one of them and checks what the page left behind.
#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/ansi.h"
#include "profile/account_store.h"
#include "tests/core/fault_sweep_support.h"

namespace quillon::testing {
namespace {

using Call = MemoryRegistryStore::Call;
using Operation = MemoryRegistryStore::Operation;
using Lines = std::vector<std::u16string>;

struct Scenario {
  std::function<void(SweepWorld&)> arrange;  // runs without failures
  std::function<void(SweepWorld&)> act;      // its registry calls are swept
};

std::string Describe(const std::optional<Call>& call) {
  if (!call) return "no call failed (the run made fewer calls)";
  static const char* const kNames[] = {"OpenKeyEx", "CreateKeyEx", "CreateKey",  "QueryValueEx",
                                       "SetValueEx", "EnumKey",    "EnumKeyEx", "QueryInfoKey",
                                       "DeleteKey",  "CloseKey"};
  return std::string(kNames[static_cast<int>(call->operation)]) + " " + call->keyPath + " [" +
         call->name + "]";
}

// A close that fails can only leave its handle open; the caller has no other
// recourse, so closes are not failure points.
bool IsFailurePoint(const Call& call) { return call.operation != Operation::CloseKey; }

std::size_t CountRegistryCalls(const Scenario& scenario) {
  SweepWorld world;
  scenario.arrange(world);
  world.registry.ClearCalls();
  scenario.act(world);
  const auto& calls = world.registry.Calls();
  return std::count_if(calls.begin(), calls.end(), IsFailurePoint);
}

// Entries below `prefix` that were added, removed or changed.
std::vector<std::string> ChangesUnder(const RegistryImage& before, const RegistryImage& after,
                                      const std::string& prefix) {
  std::vector<std::string> changes = ChangesOutside(before, after, {});
  std::erase_if(changes, [&](const std::string& name) { return !name.starts_with(prefix); });
  return changes;
}

using Check = std::function<void(SweepWorld&, const RegistryImage& before, const RegistryImage& after,
                                 const std::optional<Call>& failed)>;

void SweepRegistryFailures(const Scenario& scenario, const Check& check) {
  const std::size_t points = CountRegistryCalls(scenario);
  ASSERT_GT(points, 0u);
  for (std::size_t n = 1; n <= points; ++n) {
    SweepWorld world;
    scenario.arrange(world);
    const RegistryImage before = TakeImage(world.registry);
    std::optional<Call> failed;
    std::size_t seen = 0;
    world.registry.FailWhen([&](const Call& call) -> platform::RegResult {
      if (!IsFailurePoint(call) || ++seen != n) return platform::kErrorSuccess;
      failed = call;
      return platform::kErrorAccessDenied;
    });
    scenario.act(world);
    world.registry.ClearFailures();
    SCOPED_TRACE("failing call " + std::to_string(n) + " of " + std::to_string(points) + ": " +
                 Describe(failed));
    const RegistryImage after = TakeImage(world.registry);
    EXPECT_EQ(world.registry.OpenHandleCount(), 0u);
    EXPECT_EQ(ChangesOutside(before, after, {world.ProfilePrefix()}), std::vector<std::string>{});
    // The mail account of another kind is never touched.
    EXPECT_EQ(ChangesUnder(before, after, "HKCU\\" + world.AccountPath(2) + "\\"),
              std::vector<std::string>{});
    check(world, before, after, failed);
  }
}

Lines Items(const FakeListBox& list) { return list.Items(); }

const Lines kLoadedLines = {u"Ann Sales <sales@corp.example>", u"Ann Support <support@corp.example>"};

// Every loaded line is one of the profile's identities, in their order, and the
// three parallel lists stay parallel.
void ExpectLoadedSubset(SweepWorld& world) {
  const Lines lines = Items(world.ui().List1);
  EXPECT_TRUE(std::includes(kLoadedLines.begin(), kLoadedLines.end(), lines.begin(), lines.end()));
  EXPECT_EQ(world.ui().List2.ListCount(), world.ui().List1.ListCount());
  EXPECT_EQ(world.ui().List3.ListCount(), world.ui().List1.ListCount());
}

// The load rewrites the folder list at once from what it could read, so a
// folder list that cannot be read is stored empty.
bool ReadsTheFolderList(const std::optional<Call>& call, const SweepWorld& world) {
  return call && call->keyPath == "HKEY_CURRENT_USER\\" + world.ProfilePath() &&
         call->name == "monitoredfolders";
}
bool CreatesTheProfileKey(const std::optional<Call>& call, const SweepWorld& world) {
  return call && call->operation == Operation::CreateKeyEx && call->name == world.ProfilePath();
}

TEST(FaultSweepRegistry, LoadWritesNothingButTheUnchangedFolderList) {
  SweepRegistryFailures(
      {[](SweepWorld&) {}, [](SweepWorld& world) { world.OpenPage(); }},
      [](SweepWorld& world, const RegistryImage& before, const RegistryImage& after,
         const std::optional<Call>& failed) {
        const bool folderListUnread = ReadsTheFolderList(failed, world) ||
                                      CreatesTheProfileKey(failed, world);
        EXPECT_EQ(ChangesOutside(before, after,
                                 folderListUnread ? std::vector{world.ProfilePrefix() + ":monitoredfolders"}
                                                  : std::vector<std::string>{}),
                  std::vector<std::string>{});
        ExpectLoadedSubset(world);
        EXPECT_FALSE(world.page().PropertyPage_Dirty());
      });
}

// How many of the display names an identity account holds, whatever its number.
int SavedIdentityCount(SweepWorld& world, const Lines& displayNames) {
  int found = 0;
  for (const std::u16string& name : displayNames) {
    const auto keys = world.AccountKeys();
    found += std::any_of(keys.begin(), keys.end(), [&](const std::string& key) {
      return world.Value(world.AccountsPath() + "\\" + key, "Display Name") == StoredUtf16(name);
    });
  }
  return found;
}

Scenario ApplyScenario() {
  return {[](SweepWorld& world) {
            world.OpenPage();
            world.user.TypeIntoInputBox(u"Ann Home ann@home.example");
            world.ui().cmdAdd.UserClick();
          },
          [](SweepWorld& world) {
            world.user.AnswerMessageBox(platform::kAnswerNo);
            world.page().PropertyPage_Apply();
          }};
}

TEST(FaultSweepRegistry, ApplyLosesAtMostTheLineWhoseCallFailed) {
  SweepRegistryFailures(ApplyScenario(), [](SweepWorld& world, const RegistryImage& before,
                                            const RegistryImage& after, const std::optional<Call>&) {
    // The Exchange account gets a new name and keeps everything else.
    const std::string exchange = "HKCU\\" + world.AccountPath(1) + "\\";
    for (const std::string& change : ChangesUnder(before, after, exchange)) {
      EXPECT_EQ(change, exchange + ":Account Name");
    }
    EXPECT_GE(SavedIdentityCount(world, {u"Ann Sales", u"Ann Support", u"Ann Home"}), 2);
    // No account number is listed twice, so no account was written over.
    const auto order = world.Value(world.AccountsPath(), platform::ToAnsi(profile::kAccountOrderValue));
    ASSERT_TRUE(order.has_value());
    std::vector<std::uint32_t> numbers;
    for (std::size_t i = 0; i + 4 <= order->size(); i += 4) {
      numbers.push_back((*order)[i] | ((*order)[i + 1] << 8) | ((*order)[i + 2] << 16) |
                        (static_cast<std::uint32_t>((*order)[i + 3]) << 24));
    }
    std::sort(numbers.begin(), numbers.end());
    EXPECT_EQ(std::adjacent_find(numbers.begin(), numbers.end()), numbers.end());
    EXPECT_FALSE(world.page().PropertyPage_Dirty());
  });
}

// Apply of three typed lines where one chosen registry call fails.
class ApplyWithOneFailure : public ::testing::Test {
 protected:
  void ApplyFailing(MemoryRegistryStore::FailurePredicate predicate) {
    world.OpenPage();
    for (const char16_t* typed : {u"Ann One one@x.example", u"Ann Two two@x.example",
                                  u"Ann Three three@x.example"}) {
      world.user.TypeIntoInputBox(typed);
      world.ui().cmdAdd.UserClick();
    }
    world.registry.FailWhen(std::move(predicate));
    world.user.AnswerMessageBox(platform::kAnswerNo);
    world.page().PropertyPage_Apply();
    world.registry.ClearFailures();
  }
  // The nth call that `matches` fails.
  static MemoryRegistryStore::FailurePredicate Nth(std::function<bool(const Call&)> matches, int nth) {
    auto seen = std::make_shared<int>(0);
    return [=](const Call& call) -> platform::RegResult {
      return matches(call) && ++*seen == nth ? platform::kErrorAccessDenied : platform::kErrorSuccess;
    };
  }
  std::optional<Bytes> Email(std::int32_t number) { return world.Value(world.AccountPath(number), "Email"); }

  SweepWorld world;
};

TEST_F(ApplyWithOneFailure, ALineWithoutAnAccountNumberIsSkippedAndTheNextOnesSaved) {
  // The store is opened for reading once to list the accounts, then once per
  // line for "NextAccountID": the fourth open is the one for "Ann One".
  const std::string store = world.AccountsPath();
  ApplyFailing(Nth([store](const Call& call) {
    return call.operation == Operation::OpenKeyEx && call.name == store &&
           call.access == platform::kKeyRead;
  }, 4));
  EXPECT_EQ(world.AccountKeys(), (std::vector<std::string>{"00000001", "00000002", "00000005",
                                                           "00000006", "00000007", "00000008"}));
  EXPECT_EQ(Email(5), StoredUtf16(u"sales@corp.example"));
  EXPECT_EQ(Email(6), StoredUtf16(u"support@corp.example"));
  EXPECT_EQ(Email(7), StoredUtf16(u"two@x.example"));
  EXPECT_EQ(Email(8), StoredUtf16(u"three@x.example"));
}

TEST_F(ApplyWithOneFailure, ANumberWhoseRaiseFailedIsNotTakenAgain) {
  // "NextAccountID" stays 6 after the first identity: the second must not
  // write over it, and the order list must not name one account twice.
  ApplyFailing(Nth([](const Call& call) {
    return call.operation == Operation::SetValueEx && call.name == "NextAccountID";
  }, 1));
  EXPECT_EQ(world.AccountKeys(), (std::vector<std::string>{"00000001", "00000002", "00000005",
                                                           "00000006", "00000007", "00000008",
                                                           "00000009"}));
  EXPECT_EQ(world.Value(world.AccountPath(5), "New Signature"), StoredUtf16(u"Sales"));
  EXPECT_EQ(world.Value(world.AccountPath(6), "New Signature"), std::nullopt);
  EXPECT_EQ(world.Value(world.AccountsPath(), platform::ToAnsi(profile::kAccountOrderValue)),
            (Bytes{1, 0, 0, 0, 2, 0, 0, 0, 5, 0, 0, 0, 6, 0, 0, 0, 7, 0, 0, 0, 8, 0, 0, 0, 9, 0, 0, 0}));
  EXPECT_EQ(world.Value(world.AccountsPath(), "NextAccountID"), (Bytes{10, 0, 0, 0}));
}

TEST(FaultSweepRegistry, PopulateReadsOnlyAndAddsAllOrNothing) {
  SweepRegistryFailures(
      {[](SweepWorld& world) { world.OpenPage(); },
       [](SweepWorld& world) { world.ui().cmdPopulate.UserClick(); }},
      [](SweepWorld& world, const RegistryImage& before, const RegistryImage& after,
         const std::optional<Call>&) {
        EXPECT_EQ(ChangesOutside(before, after, {}), std::vector<std::string>{});
        Lines withAddresses = kLoadedLines;
        withAddresses.push_back(u"Ann Lee <lee@corp.example>");
        withAddresses.push_back(u"Ann Lee <ann@corp.example>");
        const Lines lines = Items(world.ui().List1);
        const bool noticeShown = !world.user.Dialogs().empty();
        // Nothing read: the user is told there is nothing to add.
        EXPECT_TRUE(noticeShown ? lines == kLoadedLines : lines == withAddresses);
      });
}

TEST(FaultSweepRegistry, RereadRemovesIdentitiesAndCreatesNone) {
  SweepRegistryFailures(
      {[](SweepWorld& world) { world.OpenPage(); },
       [](SweepWorld& world) {
         world.user.AnswerMessageBox(platform::kAnswerYes);
         world.ui().cmdRefresh.UserClick();
       }},
      [](SweepWorld& world, const RegistryImage&, const RegistryImage&, const std::optional<Call>&) {
        for (const std::string& key : world.AccountKeys()) {
          EXPECT_TRUE(key == "00000001" || key == "00000002" || key == "00000003" || key == "00000004")
              << key;
        }
        EXPECT_EQ(world.Value(world.AccountsPath(), "NextAccountID"),
                  (Bytes{SweepWorld::kFirstFreeNumber, 0, 0, 0}));
        EXPECT_TRUE(world.module.bRestart);
        EXPECT_EQ(world.user.Keys().back(), u"{Esc}");
      });
}

TEST(FaultSweepRegistry, TheEndOfThePageTouchesNoRegistry) {
  const Scenario restartAndClose{[](SweepWorld& world) {
                                   world.OpenPage();
                                   world.user.AnswerMessageBox(platform::kAnswerYes);
                                   world.ui().cmdRefresh.UserClick();
                                 },
                                 [](SweepWorld& world) { world.ClosePage(); }};
  SweepWorld world;
  restartAndClose.arrange(world);
  world.registry.ClearCalls();
  restartAndClose.act(world);
  EXPECT_TRUE(world.registry.Calls().empty());
}

}  // namespace
}  // namespace quillon::testing
