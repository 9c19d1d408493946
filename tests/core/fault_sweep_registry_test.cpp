// Every registry call of the load, Apply, populate, re-read and the page's end
// made to fail in turn. A dry run counts the calls first; then each run fails
// exactly one of them and checks what the page left behind. The same sweeps
// run on the in-memory store natively and on the real registry under Wine.
#include <algorithm>
#include <cstdio>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/ansi.h"
#include "profile/account_store.h"
#include "profile/profile_values.h"
#include "tests/core/fault_world.h"
#include "tests/core/store_under_test.h"

namespace quillon::testing {
namespace {

using Call = FaultInjectingRegistryStore::Call;
using Operation = FaultInjectingRegistryStore::Operation;
using Lines = std::vector<std::u16string>;
using Names = std::vector<std::string>;

struct Scenario {
  std::function<void(SweepWorld&)> arrange;  // runs without failures
  std::function<void(SweepWorld&)> act;      // its registry calls are swept
};

constexpr std::string_view kOperationNames[] = {"OpenKeyEx", "CreateKeyEx", "CreateKey",  "QueryValueEx",
                                                "SetValueEx", "EnumKey",    "EnumKeyEx", "QueryInfoKey",
                                                "DeleteKey",  "CloseKey"};

std::string OperationName(Operation operation) {
  return std::string(kOperationNames[static_cast<int>(operation)]);
}

// A report names a call by its store member and the name it was given; a
// call without one (an enumeration) by the path of its key.
bool NamesCall(const RecordedFailure& report, const Call& call) {
  if (platform::ToAnsi(report.call) != OperationName(call.operation)) return false;
  const std::string subject = platform::ToAnsi(report.subject);
  return call.name.empty() ? call.keyPath.ends_with(subject) : subject == call.name;
}

std::string Listed(const std::vector<RecordedFailure>& reports) {
  std::string text;
  for (const RecordedFailure& report : reports) {
    text += "\n  " + platform::ToAnsi(platform::DescribeFailure(
                          {report.step, report.call, report.subject, report.code, report.kind}));
  }
  return text.empty() ? " none" : text;
}

// A close that fails can only leave its handle open; the caller has no other
// recourse, so closes are not failure points.
bool IsFailurePoint(const Call& call) { return call.operation != Operation::CloseKey; }

// The registry entries a run added, removed or changed, and the call that failed.
using Check = std::function<void(SweepWorld&, const Names& changes, const std::optional<Call>& failed)>;

Names Under(Names changes, const std::string& prefix) {
  std::erase_if(changes, [&](const std::string& name) { return !name.starts_with(prefix); });
  return changes;
}

// Changes outside the copy of the profile the page chose (`chosen`, an image path),
// where all it may write lies. A copy made afresh brings its parent keys along.
Names ChangesOutsideChosenCopy(const RegistryImage& before, const RegistryImage& after,
                               const std::string& chosen) {
  Names changes = ChangesOutside(before, after, {chosen});
  std::erase_if(changes, [&](const std::string& name) {
    return name.ends_with('\\') && !before.contains(name) && chosen.starts_with(name);
  });
  return changes;
}

// Keys and values the calls asked to create, change or delete outside `allowed`
// (a key path as the calls name it): this covers the whole registry, also
// where no image is taken.
Names WritesOutside(const std::vector<Call>& calls, const std::string& allowed) {
  Names outside;
  for (const Call& call : calls) {
    std::string target;
    switch (call.operation) {
      case Operation::SetValueEx: target = call.keyPath + ":" + call.name; break;
      case Operation::CreateKeyEx:
      case Operation::CreateKey:
      case Operation::DeleteKey: target = call.name.empty() ? call.keyPath : call.keyPath + "\\" + call.name; break;
      default: continue;
    }
    const bool inside = RegistryNamesEqual(target.substr(0, allowed.size()), allowed) &&
                        (target.size() == allowed.size() || target[allowed.size()] == '\\' ||
                         target[allowed.size()] == ':');
    if (!inside) outside.push_back(target);
  }
  return outside;
}

// `outlookVersion` runs; the sweep world keeps the profile below `profilesKey`.
void SweepRegistryFailures(const Scenario& scenario, const Check& check,
                           const std::u16string& outlookVersion = u"11.0.0.8010",
                           std::u16string_view profilesKey = profile::sProfilesKey) {
  std::size_t points = 0;
  bool real = false;
  {
    FaultWorld dryRun(outlookVersion, profilesKey);
    scenario.arrange(dryRun);
    dryRun.faults.ClearCalls();
    dryRun.diagnostics.Clear();
    scenario.act(dryRun);
    // Without failures no registry call is gone on without. (Outlook may fail
    // a call in any run: the stored folder list ends in a NUL that names no folder.)
    std::vector<RecordedFailure> registryReports = dryRun.diagnostics.Reports();
    std::erase_if(registryReports, [](const RecordedFailure& report) {
      return std::ranges::find(kOperationNames, platform::ToAnsi(report.call)) == std::end(kOperationNames);
    });
    EXPECT_EQ(Listed(registryReports), " none");
    points = std::ranges::count_if(dryRun.faults.Calls(), IsFailurePoint);
    real = dryRun.OnRealRegistry();
  }
  ASSERT_GT(points, 0u);
  std::printf("   %s: %zu registry calls failed in turn on the %s\n",
              ::testing::UnitTest::GetInstance()->current_test_info()->name(), points,
              real ? "real registry" : "in-memory store");
  for (std::size_t n = 1; n <= points; ++n) {
    FaultWorld world(outlookVersion, profilesKey);
    scenario.arrange(world);
    world.Reflect();
    const RegistryImage before = TakeImage(world.registry);
    world.faults.ClearCalls();
    world.diagnostics.Clear();
    std::optional<Call> failed;
    std::size_t seen = 0;
    world.faults.FailWhen([&](const Call& call) -> platform::RegResult {
      if (!IsFailurePoint(call) || ++seen != n) return platform::kErrorSuccess;
      failed = call;
      return platform::kErrorAccessDenied;
    });
    scenario.act(world);
    world.faults.ClearFailures();
    world.Reflect();
    SCOPED_TRACE("failing call " + std::to_string(n) + " of " + std::to_string(points) + ": " +
                 (failed ? OperationName(failed->operation) + " " + failed->keyPath + " [" + failed->name + "]"
                         : "no call failed (the run made fewer calls)"));
    EXPECT_EQ(OpenHandleCountOf(world.faults.Target()), 0u);
    // The failure was gone on without: exactly one report tells of it.
    const auto& reports = world.diagnostics.Reports();
    if (failed) {
      EXPECT_EQ(std::ranges::count_if(reports, [&](const auto& report) { return NamesCall(report, *failed); }), 1)
          << "reports:" << Listed(reports);
    }
    // The copy of the profile the page chose, as the calls and the images name it.
    const std::string chosen = platform::ToAnsi(profile::ProfileKeyPath(world.module.Profile()));
    EXPECT_EQ(WritesOutside(world.faults.Calls(), "HKEY_CURRENT_USER\\" + chosen), Names{});
    const RegistryImage after = TakeImage(world.registry);
    EXPECT_EQ(ChangesOutsideChosenCopy(before, after, "HKCU\\" + chosen + "\\"), Names{});
    const Names changes = ChangesOutside(before, after, {});
    // The mail account of another kind is never touched.
    EXPECT_EQ(Under(changes, "HKCU\\" + world.AccountPath(2) + "\\"), Names{});
    check(world, changes, failed);
  }
}

const Lines kLoadedLines = {u"Ann Sales <sales@corp.example>", u"Ann Support <support@corp.example>"};

TEST(FaultSweepRegistry, LoadWritesNothingButTheUnchangedFolderList) {
  SweepRegistryFailures(
      {[](SweepWorld&) {}, [](SweepWorld& world) { world.OpenPage(); }},
      [](SweepWorld& world, const Names& changes, const std::optional<Call>& failed) {
        // The load rewrites the folder list at once from what it could read,
        // so a folder list that cannot be read (or whose key cannot be
        // created) is stored empty.
        const bool folderListUnread =
            failed && ((failed->keyPath == "HKEY_CURRENT_USER\\" + world.ProfilePath() &&
                        failed->name == "monitoredfolders") ||
                       (failed->operation == Operation::CreateKeyEx &&
                        failed->name == world.ProfilePath()));
        Names unexpected = changes;
        if (folderListUnread) std::erase(unexpected, world.ProfilePrefix() + ":monitoredfolders");
        EXPECT_EQ(unexpected, Names{});
        // Every loaded line is one of the profile's identities, in their
        // order, and the three parallel lists stay parallel.
        EXPECT_TRUE(std::ranges::includes(kLoadedLines, world.ui().List1.Items()));
        EXPECT_EQ(world.ui().List2.ListCount(), world.ui().List1.ListCount());
        EXPECT_EQ(world.ui().List3.ListCount(), world.ui().List1.ListCount());
        EXPECT_FALSE(world.page().PropertyPage_Dirty());
      });
}

TEST(FaultSweepRegistry, ApplyLosesAtMostTheLineWhoseCallFailed) {
  const Scenario apply{[](SweepWorld& world) {
                         world.OpenPage();
                         world.user.TypeIntoInputBox(u"Ann Home ann@home.example");
                         world.ui().cmdAdd.UserClick();
                       },
                       [](SweepWorld& world) {
                         world.user.AnswerMessageBox(platform::kAnswerNo);
                         world.page().PropertyPage_Apply();
                       }};
  SweepRegistryFailures(apply, [](SweepWorld& world, const Names& changes, const std::optional<Call>&) {
    // The Exchange account gets a new name and keeps everything else.
    const std::string exchange = "HKCU\\" + world.AccountPath(1) + "\\";
    for (const std::string& change : Under(changes, exchange)) {
      EXPECT_EQ(change, exchange + ":Account Name");
    }
    int saved = 0;
    for (const std::u16string name : {u"Ann Sales", u"Ann Support", u"Ann Home"}) {
      for (const std::string& key : world.AccountKeys()) {
        saved += world.Value(world.AccountsPath() + "\\" + key, "Display Name") == StoredUtf16(name);
      }
    }
    EXPECT_GE(saved, 2);
    // No account number is listed twice, so no account was written over.
    const auto order = world.Value(world.AccountsPath(), platform::ToAnsi(profile::kAccountOrderValue));
    ASSERT_TRUE(order.has_value());
    std::set<Bytes> numbers;  // as stored: the byte order does not matter here
    for (std::size_t i = 0; i + 4 <= order->size(); i += 4) {
      EXPECT_TRUE(numbers.emplace(order->begin() + i, order->begin() + i + 4).second) << "entry " << i / 4;
    }
    EXPECT_FALSE(world.page().PropertyPage_Dirty());
  });
}

// Apply of three typed lines where the nth call of one kind fails ("@store" and
// "@account6" stand for those keys' paths): the save loses only what it was for.
TEST(ApplyWithOneFailure, LosesOnlyWhatTheFailedCallWasFor) {
  const std::string order = platform::ToAnsi(profile::kAccountOrderValue);
  const Names sevenKeys{"00000001", "00000002", "00000005", "00000006", "00000007", "00000008", "00000009"};
  struct Case {
    const char* why;
    Operation operation;
    std::string name;
    bool forWriting;  // only a call asking for every right counts
    int nth;
    Names keys;       // none: not checked
    std::vector<std::pair<std::int32_t, std::optional<std::u16string>>> emails;
    std::vector<std::uint32_t> order;  // none: not checked
    std::uint32_t next;                // 0: not checked
  };
  const Case cases[] = {
      // "NextAccountID" is read once and then known; a read that failed is made again for the next line.
      {"the first NextAccountID read, for Sales", Operation::QueryValueEx, "NextAccountID", false, 1,
       {"00000001", "00000002", "00000005", "00000006", "00000007", "00000008"},
       {{5, u"support@corp.example"}, {6, u"one@x.example"}, {7, u"two@x.example"}, {8, u"three@x.example"}},
       {}, 9},
      // The store key opens for writing once, at the first deletion; failing, the
      // account goes by its path and the key is create-opened for the rest.
      {"opening the store key for writing", Operation::OpenKeyEx, "@store", true, 1, sevenKeys,
       {{5, u"sales@corp.example"}, {9, u"three@x.example"}}, {1, 2, 5, 6, 7, 8, 9}, 10},
      // The list is known after its read: after a failed write it is what the
      // store still holds, so only the account whose own write failed is left out.
      {"the order list write for Support", Operation::SetValueEx, order, false, 4, {},
       {{6, u"support@corp.example"}}, {1, 2, 5, 7, 8, 9}, 0},
      // The number stays taken, as when each value's own open had failed.
      {"creating account 6", Operation::CreateKeyEx, "@account6", false, 1, {},
       {{5, u"sales@corp.example"}, {6, std::nullopt}, {7, u"one@x.example"}}, {1, 2, 5, 6, 7, 8, 9}, 0},
      // "NextAccountID" stays 6 after the first identity: the second must not write over it.
      {"raising NextAccountID", Operation::SetValueEx, "NextAccountID", false, 1, sevenKeys,
       {{5, u"sales@corp.example"}, {6, u"support@corp.example"}}, {1, 2, 5, 6, 7, 8, 9}, 10},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    FaultWorld world;
    const std::string name = c.name == "@store" ? world.AccountsPath() : c.name == "@account6" ? world.AccountPath(6) : c.name;
    world.OpenPage();
    for (const char16_t* typed : {u"Ann One one@x.example", u"Ann Two two@x.example", u"Ann Three three@x.example"}) {
      world.user.TypeIntoInputBox(typed);
      world.ui().cmdAdd.UserClick();
    }
    int seen = 0;
    world.faults.FailWhen([&](const Call& call) -> platform::RegResult {
      const bool matches = call.operation == c.operation && call.name == name &&
                           (!c.forWriting || call.access == platform::kKeyAllSixRights);
      return matches && ++seen == c.nth ? platform::kErrorAccessDenied : platform::kErrorSuccess;
    });
    world.user.AnswerMessageBox(platform::kAnswerNo);
    world.page().PropertyPage_Apply();
    world.faults.ClearFailures();
    world.Reflect();
    if (!c.keys.empty()) {
      EXPECT_EQ(world.AccountKeys(), c.keys);
    }
    for (const auto& [number, email] : c.emails) {
      EXPECT_EQ(world.Value(world.AccountPath(number), "Email"),
                email ? std::optional(StoredUtf16(*email)) : std::nullopt) << number;
    }
    if (!c.order.empty()) {
      EXPECT_EQ(world.Value(world.AccountsPath(), order), Dwords(c.order));
    }
    if (c.next != 0) {
      EXPECT_EQ(world.Value(world.AccountsPath(), "NextAccountID"), Dwords({c.next}));
    }
  }
}

TEST(FaultSweepRegistry, PopulateReadsOnlyAndAddsAllOrNothing) {
  SweepRegistryFailures(
      {[](SweepWorld& world) { world.OpenPage(); },
       [](SweepWorld& world) { world.ui().cmdPopulate.UserClick(); }},
      [](SweepWorld& world, const Names& changes, const std::optional<Call>&) {
        EXPECT_EQ(changes, Names{});
        const Lines withAddresses = {kLoadedLines[0], kLoadedLines[1], u"Ann Lee <lee@corp.example>",
                                     u"Ann Lee <ann@corp.example>"};
        // Nothing read: the user is told there is nothing to add.
        const bool noticeShown = !world.user.Dialogs().empty();
        EXPECT_EQ(world.ui().List1.Items(), noticeShown ? kLoadedLines : withAddresses);
      });
}

TEST(FaultSweepRegistry, RereadRemovesIdentitiesAndCreatesNone) {
  SweepRegistryFailures(
      {[](SweepWorld& world) { world.OpenPage(); },
       [](SweepWorld& world) {
         world.user.AnswerMessageBox(platform::kAnswerYes);
         world.ui().cmdRefresh.UserClick();
       }},
      [](SweepWorld& world, const Names&, const std::optional<Call>&) {
        for (const std::string& key : world.AccountKeys()) {
          EXPECT_TRUE(key >= "00000001" && key <= "00000004") << key;
        }
        EXPECT_EQ(world.Value(world.AccountsPath(), "NextAccountID"),
                  Dwords({SweepWorld::kFirstFreeNumber}));
        EXPECT_TRUE(world.module.bRestart);
        EXPECT_EQ(world.user.Keys().back(), u"{Esc}");
      });
}

// Outlook 2016: the profile in its own key with a stale copy in the old place, or
// only in the old place. A failing probe counts as a missing key; whichever copy
// that chooses, the session writes only inside it.
TEST(FaultSweepRegistry, AFailingProfileProbeFallsBackAndWritesOnlyInTheChosenCopy) {
  const std::u16string fixed(profile::sProfilesKey);
  const std::u16string office16 = profile::VersionedProfilesKey(16);
  const auto probeOf = [](std::u16string_view profilesKey) {
    return platform::ToAnsi(profile::ProfileKeyPath({profilesKey, SweepWorld::kProfile}));
  };
  const Scenario session{
      [&](SweepWorld& world) {
        if (world.ProfilePath() != probeOf(fixed)) {
          world.SeedIdentityKey(probeOf(fixed) + "\\9375CFF0413111d3B88A00104B2A6676\\00000003",
                                u"Stale Copy", u"stale@old.example", u"", u"");
        }
      },
      [](SweepWorld& world) {
        world.OpenPage();
        world.user.TypeIntoInputBox(u"Ann Home ann@home.example");
        world.ui().cmdAdd.UserClick();
        world.user.AnswerMessageBox(platform::kAnswerNo);
        world.page().PropertyPage_Apply();
      }};
  for (const std::u16string& live : {office16, fixed}) {
    SCOPED_TRACE(platform::ToAnsi(live));
    SweepRegistryFailures(
        session,
        [&](SweepWorld& world, const Names&, const std::optional<Call>& failed) {
          const bool probeFailed = failed && failed->operation == Operation::OpenKeyEx &&
                                   failed->name == probeOf(live);
          // Without the live copy: the stale old one when there is one, else Outlook's own key.
          const std::u16string expected = !probeFailed ? live : live == office16 ? fixed : office16;
          EXPECT_EQ(world.module.profilesKey, expected);
        },
        u"16.0.0.5000", live);
  }
}

TEST(FaultSweepRegistry, TheEndOfThePageTouchesNoRegistry) {
  FaultWorld world;
  world.OpenPage();
  world.user.AnswerMessageBox(platform::kAnswerYes);
  world.ui().cmdRefresh.UserClick();
  world.faults.ClearCalls();
  world.ClosePage();
  EXPECT_TRUE(world.faults.Calls().empty());
}

}  // namespace
}  // namespace quillon::testing
