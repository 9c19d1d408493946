// Every Outlook and add-in call the page makes, made to fail in turn, through
// whole sessions that end with a restart.
#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/ansi.h"
#include "testing/page_rig.h"

namespace quillon::testing {
namespace {

using Names = std::vector<std::string>;

struct OutlookFailure {
  std::string name;
  std::u16string reportedAs;  // the call as the page's reports name it
  std::function<void(SweepWorld&)> inject;
};

void FailInEveryFolder(FakeFolder& folder, const char* call) {
  folder.Fail(call);
  for (const auto& child : folder.children) FailInEveryFolder(*child, call);
}

std::vector<OutlookFailure> OutlookFailures() {
  std::vector<OutlookFailure> failures;
  const auto add = [&](std::string name, std::u16string reportedAs,
                       std::function<void(SweepWorld&)> inject) {
    failures.push_back({std::move(name), std::move(reportedAs), std::move(inject)});
  };
  const auto wide = [](std::string_view text) { return std::u16string(text.begin(), text.end()); };
  add("container Parent", u"Container.Parent", [](SweepWorld& w) { w.outlook.container.Fail("Parent"); });
  for (const char* call : {"Application", "OnStatusChange"}) {
    add(std::string("site ") + call, u"PropertyPageSite." + wide(call),
        [call](SweepWorld& w) { w.outlook.site->Fail(call); });
  }
  const std::pair<const char*, std::u16string> applicationCalls[] = {
      {"AddInObject", std::u16string(kAddInObjectCall)}, {"Version", u"Application.Version"},
      {"LanguageID", u"LanguageSettings.LanguageID"},    {"GetNamespace", u"Application.GetNamespace"},
      {"InspectorCount", u"Inspectors.Count"},           {"Quit", u"Application.Quit"}};
  for (const auto& [call, reportedAs] : applicationCalls) {
    add(std::string("application ") + call, reportedAs,
        [call = call](SweepWorld& w) { w.outlook.app->Fail(call); });
  }
  for (const char* call : {"sUN", "sPN", "sSMBXs", "IsRestart"}) {
    add(std::string("add-in ") + call, u"AddIn." + wide(call),
        [call](SweepWorld& w) { w.outlook.addIn->Fail(call); });
  }
  for (const char* call : {"GetDefaultFolder", "GetFolderFromID"}) {
    add(std::string("namespace ") + call, u"NameSpace." + wide(call),
        [call](SweepWorld& w) { w.outlook.ns->Fail(call); });
  }
  for (const char* call : {"Parent", "EntryID", "StoreID", "Name"}) {
    add(std::string("every folder's ") + call, u"MAPIFolder." + wide(call),
        [call](SweepWorld& w) { FailInEveryFolder(*w.outlook.mailboxRoot, call); });
  }
  add("saving the first window", u"Inspector.CurrentItem.Save",
      [](SweepWorld& w) { w.outlook.app->inspectors[0].saveFails = true; });
  add("closing the first window", u"Inspector.Close",
      [](SweepWorld& w) { w.outlook.app->inspectors[0].closeFails = true; });
  return failures;
}

// Without the container, the site, the add-in object or the profile name the
// page knows no profile: it can neither show nor save anything.
bool LosesTheProfile(const std::string& failure) {
  return failure == "container Parent" || failure == "site Application" ||
         failure == "application AddInObject" || failure == "add-in sPN";
}

bool Journaled(const SweepWorld& world, const std::string& entry) {
  return std::ranges::find(world.outlook.journal, entry) != world.outlook.journal.end();
}

// Runs `session` on a page over two open item windows once per failing call,
// ends the page, and checks what every session must leave behind; `check`
// adds what this session must have done, given every registry change.
void SweepOutlookFailures(const std::function<void(SweepWorld&, bool profileKnown)>& session,
                          const std::function<void(SweepWorld&, const std::string& failure,
                                                   const Names& changes)>& check) {
  for (const OutlookFailure& failure : OutlookFailures()) {
    SCOPED_TRACE("failing: " + failure.name);
    SweepWorld world;
    world.outlook.OpenInspector("first");
    world.outlook.OpenInspector("second");
    failure.inject(world);
    const RegistryImage before = TakeImage(world.registry);
    world.OpenPage();
    session(world, !LosesTheProfile(failure.name));
    world.ClosePage();

    EXPECT_EQ(world.user.Unexpected(), Names{});
    EXPECT_EQ(world.user.PendingSteps(), 0u);
    // The failed call was gone on without, and said so (the doubles give no HRESULT).
    EXPECT_TRUE(std::ranges::any_of(world.diagnostics.Reports(), [&](const RecordedFailure& report) {
      return report.call == failure.reportedAs && report.kind == platform::CodeKind::kUnknown;
    })) << platform::ToAnsi(failure.reportedAs);
    EXPECT_EQ(world.registry.OpenHandleCount(), 0u);
    const RegistryImage after = TakeImage(world.registry);
    EXPECT_EQ(ChangesOutside(before, after, {world.ProfilePrefix()}), Names{});
    check(world, failure.name, ChangesOutside(before, after, {}));
  }
}

TEST(FaultSweepOutlook, ASessionSurvivesEachFailingCall) {
  SweepOutlookFailures(
      [](SweepWorld& world, bool profileKnown) {
        world.user.TypeIntoInputBox(u"Ann Home ann@home.example");
        world.ui().cmdAdd.UserClick();
        if (profileKnown) world.user.AnswerMessageBox(platform::kAnswerYes);
        world.page().PropertyPage_Apply();
      },
      [](SweepWorld& world, const std::string& failure, const Names& changes) {
        if (LosesTheProfile(failure)) {
          EXPECT_EQ(changes, Names{});
          EXPECT_FALSE(Journaled(world, "quit"));
          return;
        }
        // The typed identity is saved after the two loaded ones.
        EXPECT_EQ(world.AccountKeys(),
                  (Names{"00000001", "00000002", "00000005", "00000006", "00000007"}));
        EXPECT_EQ(world.Value(world.AccountPath(7), "Email"), StoredUtf16(u"ann@home.example"));
        // The restart: the add-in is told, every window that can be is closed, Outlook quits.
        EXPECT_EQ(Journaled(world, "IsRestart 1"), failure != "add-in IsRestart");
        const bool windowsListed = failure != "application InspectorCount";
        EXPECT_EQ(Journaled(world, "close second (true)"), windowsListed);
        EXPECT_EQ(Journaled(world, "close first (true)"),
                  windowsListed && failure != "closing the first window");
        EXPECT_EQ(Journaled(world, "quit"), failure != "application Quit");
      });
}

TEST(FaultSweepOutlook, AReReadSurvivesEachFailingCall) {
  SweepOutlookFailures(
      [](SweepWorld& world, bool) {
        world.user.AnswerMessageBox(platform::kAnswerYes);
        world.ui().cmdRefresh.UserClick();
      },
      [](SweepWorld& world, const std::string& failure, const Names&) {
        // The restart is asked for even when the profile is unknown; only a
        // known profile loses its identities.
        const Names kept = {"00000001", "00000002"};
        const Names all = {"00000001", "00000002", "00000003", "00000004"};
        EXPECT_EQ(world.AccountKeys(), LosesTheProfile(failure) ? all : kept);
        const bool applicationKnown = failure != "container Parent" && failure != "site Application";
        EXPECT_EQ(Journaled(world, "quit"), applicationKnown && failure != "application Quit");
        EXPECT_EQ(Journaled(world, "IsRestart 2"), applicationKnown &&
                                                       failure != "application AddInObject" &&
                                                       failure != "add-in IsRestart");
      });
}

}  // namespace
}  // namespace quillon::testing
