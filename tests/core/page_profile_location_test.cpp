// Where the page finds the profile: the fixed profiles key, or the one of the
// running Outlook's own version. A whole session (load, populate, Apply, re-read)
// runs on the chosen copy; every other copy stays byte for byte as it was.
#include <algorithm>
#include <tuple>

#include <gtest/gtest.h>

#include "platform/ansi.h"
#include "profile/profile_values.h"
#include "profile/registry_access.h"
#include "testing/page_rig.h"

namespace quillon::testing {
namespace {

using Names = std::vector<std::string>;
using Texts = std::vector<std::u16string>;

const std::u16string kFixed =
    u"Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows Messaging Subsystem\\Profiles";
const std::u16string kOffice14 = u"Software\\Microsoft\\Office\\14.0\\Outlook\\Profiles";
const std::u16string kOffice15 = u"Software\\Microsoft\\Office\\15.0\\Outlook\\Profiles";
const std::u16string kOffice16 = u"Software\\Microsoft\\Office\\16.0\\Outlook\\Profiles";

std::string ProfileKeyOf(std::u16string_view profilesKey) {
  return platform::ToAnsi(profile::ProfileKeyPath({profilesKey, PageRig::kProfile}));
}

TEST(PageProfileLocation, TheSessionReadsAndWritesOnlyTheCopyTheRunningOutlookUses) {
  // Each case: what it is, Outlook's version (none: the call fails), where the profile is (none:
  // nowhere yet), the other copies of it, and the profiles key the page must choose.
  using Key = std::optional<std::u16string>;
  const std::tuple<const char*, Key, Key, std::vector<std::u16string>, std::u16string> cases[] = {
      {"Outlook 2003: the fixed key, whatever else exists", u"11.0.0.8010", kFixed,
       {kOffice16, kOffice14}, kFixed},
      {"Outlook 2016 with its own copy: a stale pre-upgrade copy is ignored", u"16.0.0.5000",
       kOffice16, {kFixed, kOffice14}, kOffice16},
      {"Outlook 2016 with the profile in the old place", u"16.0.0.5000", kFixed,
       {kOffice14, kOffice15}, kFixed},
      {"Outlook 2016 and no profile anywhere: its own key", u"16.0.0.5000", std::nullopt,
       {kOffice14}, kOffice16},
      {"Outlook 2013: its own version's key", u"15.0.4420.1017", kOffice15, {kOffice16, kFixed},
       kOffice15},
      {"Outlook 2010: the fixed key, though its version has a copy", u"14.0.4760.1000", kFixed,
       {kOffice14, kOffice15}, kFixed},
      // An unreadable version is no version: the fixed key, though Outlook 2016's holds a copy.
      {"an unknown version: the fixed key", std::nullopt, std::nullopt, {kOffice16}, kFixed},
  };
  for (const auto& [name, version, live, otherCopies, expected] : cases) {
    SCOPED_TRACE(name);
    // The rig keeps the live profile (or, when there is none, nothing) where the case says.
    auto rig = std::make_unique<PageRig>(version.value_or(u""), live.value_or(expected));
    if (!version) rig->outlook.app->Fail("Version");
    if (live) {
      rig->SeedIdentity(3, u"Ann Sales", u"sales@corp.example");
      rig->SeedDirectory({u"SMTP:ann.lee@corp.example", u"smtp:ann@corp.example"});
    } else {
      profile::DeleteKeyTree(rig->registry, platform::kCurrentUser,
                             platform::FromAnsi(rig->ProfilePath()));
    }
    // A same-named profile the page must not read: its own identity and Reply-To format.
    for (const std::u16string& key : otherCopies) {
      rig->SeedIdentityKey(ProfileKeyOf(key) + "\\9375CFF0413111d3B88A00104B2A6676\\00000003", u"Stale Copy",
                           u"stale@old.example", u"", u"");
      rig->PutText(ProfileKeyOf(key), "replyaddressformat", u"2");
    }
    const RegistryImage before = TakeImage(rig->registry);
    rig->OpenPage();
    EXPECT_EQ(rig->module.profilesKey, expected);
    const Texts loaded = live ? Texts{u"Ann Sales <sales@corp.example>"} : Texts{};
    EXPECT_EQ(rig->ui().List1.Items(), loaded);

    if (!live) rig->user.AnswerMessageBox(platform::kAnswerOk);  // no addresses to add
    rig->ui().cmdPopulate.UserClick();
    rig->user.TypeIntoInputBox(u"Ann Home ann@home.example");
    rig->ui().cmdAdd.UserClick();
    rig->ui().Option1_0.UserClick();
    rig->user.AnswerMessageBox(platform::kAnswerNo);
    rig->page().PropertyPage_Apply();
    EXPECT_EQ(rig->ProfileValue("replyaddressformat"), StoredUtf16(u"0"));
    const bool homeSaved = std::ranges::any_of(rig->AccountKeys(), [&](const std::string& key) {
      return rig->Value(rig->AccountsPath() + "\\" + key, "Email") == StoredUtf16(u"ann@home.example");
    });
    // A profile without "NextAccountID" gives no account number: only the format is saved.
    EXPECT_EQ(homeSaved, live.has_value());

    rig->user.AnswerMessageBox(platform::kAnswerYes);
    rig->ui().cmdRefresh.UserClick();
    rig->ClosePage();
    EXPECT_EQ(rig->AccountKeys(), Names{});
    EXPECT_EQ(rig->registry.OpenHandleCount(), 0u);
    EXPECT_EQ(ChangesOutside(before, TakeImage(rig->registry), {rig->ProfilePrefix()}), Names{});
    for (const std::string& stray : rig->user.Unexpected()) ADD_FAILURE() << stray;
  }
}

TEST(PageProfileLocation, DecidingOnlyOpensKeysAndEachPageDecidesAfresh) {
  PageRig rig(u"16.0.0.5000");  // the profile is in the old place
  rig.faults.ClearCalls();
  EXPECT_EQ(profile::ChooseProfilesKey(rig.faults, 16, PageRig::kProfile), kFixed);
  const Names opened = {"HKEY_CURRENT_USER\\" + ProfileKeyOf(kOffice16),
                        "HKEY_CURRENT_USER\\" + ProfileKeyOf(kFixed)};
  Names calls;
  for (const auto& call : rig.faults.Calls()) {
    if (call.operation == FaultInjectingRegistryStore::Operation::CloseKey) continue;
    EXPECT_EQ(call.operation, FaultInjectingRegistryStore::Operation::OpenKeyEx);
    calls.push_back(call.keyPath + "\\" + call.name);
  }
  EXPECT_EQ(calls, opened);
  // An empty name is not looked for anywhere.
  rig.faults.ClearCalls();
  EXPECT_EQ(profile::ChooseProfilesKey(rig.faults, 16, u""), kOffice16);
  EXPECT_TRUE(rig.faults.Calls().empty());

  rig.OpenPage();
  EXPECT_EQ(rig.module.profilesKey, kFixed);
  rig.ClosePage();
  // Outlook has copied the profile to its own key since: the next page uses that copy.
  rig.PutText(ProfileKeyOf(kOffice16), "replyaddressformat", u"0");
  rig.OpenPage();
  EXPECT_EQ(rig.module.profilesKey, kOffice16);
  EXPECT_TRUE(rig.ui().Option1_0.Value());
}

}  // namespace
}  // namespace quillon::testing
