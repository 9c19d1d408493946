// The page's life as Outlook drives it: load, dirty notifications, the end
// of the page and the restart it may ask for.
#include <functional>
#include <tuple>

#include "tests/core/page_test_world.h"

namespace quillon::testing {
namespace {

class PageLoad : public PageWorld {};
class PageLoad16 : public PageWorld16 {};

TEST_F(PageLoad, FillsEveryControlFromTheProfile) {
  SeedIdentity(0x0a, u"Ann Work", u" ann@work.example ", u"Formal", u"Short");
  SeedIdentity(0x0c, u"Sales", u"/o=Org/cn=Sales");
  PutText(AccountPath(0x0c), "Account Name", u"ex mbx [Sales]");  // any case
  // Accounts without a name or an address add no line to any of the lists.
  SeedIdentity(1, u"   ", u"blank@name.example", u"Sig", u"Sig");
  SeedIdentity(2, u"No Mail", u"  ", u"Sig", u"Sig");
  SeedDirectory({u"SMTP:ann.lee@corp.example", u"smtp:al@corp.example"});

  OpenPage();

  EXPECT_EQ(ui().lblDefAddress.Caption(), u"Ann Lee <ann.lee@corp.example>  (Default)");
  EXPECT_EQ(ui().lblDefAddress.ToolTip(), ui().lblDefAddress.Caption());
  EXPECT_TRUE(IdentityLists({u"Ann Work <ann@work.example>", u"Sales /o=Org/cn=Sales"}, {u"Formal", u""}, {u"Short", u""}));
  EXPECT_EQ(ui().List1.ItemData(0), 10);
  EXPECT_EQ(ui().List1.ItemData(1), 12);
  EXPECT_EQ(ui().UserControl.PointerHistory(), (std::vector<std::int16_t>{11, 0}));
  EXPECT_FALSE(page().PropertyPage_Dirty());
  EXPECT_EQ(outlook.site->statusChanges, 0);
  EXPECT_TRUE(ui().cmdRemoveAll.Enabled());
  EXPECT_FALSE(ui().cmdChange.Enabled());
  EXPECT_EQ(ui().List1.HorizontalExtent(), ExtentOf(27));
}

TEST_F(PageLoad, ReplyFormatOptionFollowsTheStoredValue) {
  // The stored value (none: no value) and the three options' values.
  const std::tuple<std::optional<std::u16string>, bool, bool, bool> cases[] = {
      {std::nullopt, false, false, true}, {u"0", true, false, false}, {u"1", false, true, false},
      {u"2", false, false, true},         {u"7", false, false, false}, {u"x", false, false, true},
  };
  for (const auto& [stored, option0, option1, option2] : cases) {
    if (stored) SeedProfileValue("replyaddressformat", StoredUtf16(*stored));
    OpenPage();
    EXPECT_EQ(ui().Option1_0.Value(), option0);
    EXPECT_EQ(ui().Option1_1.Value(), option1);
    EXPECT_EQ(ui().Option1_2.Value(), option2);
    EXPECT_FALSE(page().PropertyPage_Dirty());
  }
  EXPECT_EQ(outlook.site->statusChanges, 0);
}

TEST(PageWithoutHost, ShowsOnlyItsDesignAndWithoutSiteNeverBecomesDirty) {
  // What is wrong with the host, how it is made so, whether the page has a site then.
  const std::tuple<const char*, std::function<void(FakeOutlook&)>, bool> cases[] = {
      {"no add-in object", [](FakeOutlook& o) { o.app->addIn = nullptr; }, true},
      {"add-in lookup fails", [](FakeOutlook& o) { o.app->Fail("AddInObject"); }, true},
      {"no container", [](FakeOutlook& o) { o.container.Fail("Parent"); }, false},
      {"container is no site", [](FakeOutlook& o) { o.container.site = nullptr; }, false},
  };
  for (const auto& [name, breakHost, hasSite] : cases) {
    SCOPED_TRACE(name);
    PageRig rig;
    rig.SeedIdentity(1, u"A", u"a@x.example");
    breakHost(rig.outlook);
    rig.OpenPage();
    EXPECT_EQ(rig.ui().Label4_0.Caption(), u"Quillon ver. 2.4.17");
    EXPECT_TRUE(rig.ui().List1.Items().empty());
    EXPECT_EQ(rig.ui().lblDefAddress.Caption(), u"");
    EXPECT_TRUE(rig.ui().Option1_2.Value());
    EXPECT_EQ(rig.module.sPN, u"");
    EXPECT_FALSE(rig.page().PropertyPage_Dirty());
    rig.page().MarkDirty();
    EXPECT_EQ(rig.page().PropertyPage_Dirty(), hasSite);
  }
}

// Up to Outlook 11 the page edits the folder list; from 12 on Outlook keeps its
// own and the page neither shows, reads nor writes it, but offers the signatures.
TEST_F(PageLoad, OutlookVersionDecidesWhetherTheFolderEditorIsShownReadAndSaved) {
  signatures.names = {u"Support"};
  const auto folder = outlook.AddFolder(outlook.mailboxRoot, u"Kept");
  const std::pair<std::u16string, std::int16_t> cases[] = {
      {u"11.0.0.8010", 11}, {u"9.0.0.2711", 9}, {u"12.0.4518", 12}, {u"16.0", 16}};
  for (const auto& [text, major] : cases) {
    SCOPED_TRACE(Narrow(text));
    SeedProfileValue("monitoredfolders", StoredUtf16(folder->entryId() + u"\t"));
    SeedIdentity(1, u"Ann", u"ann@x.example", u"Support");
    outlook.app->version = text;
    signatures.versionsAsked.clear();
    OpenPage();
    EXPECT_EQ(module.iOutlookVersion, major);
    // The signatures frame from 12 on: only then is the catalogue read and offered.
    ui().List1.UserClick(0);
    EXPECT_EQ(ui().Frame5.Visible(), major >= 12);
    EXPECT_EQ(signatures.versionsAsked, major < 12 ? std::vector<std::int16_t>{} : std::vector<std::int16_t>{major});
    EXPECT_EQ(ui().cboNewSignature.Items(), major < 12 ? Texts{} : (Texts{u"(none)", u"Support"}));
    EXPECT_EQ(ui().cboNewSignature.Enabled() || ui().cboReplySignature.Enabled(), major >= 12);
    for (const bool visible : {ui().Frame2.Visible(), ui().List4.Visible(),
                               ui().cmdAddFolder.Visible(), ui().cmdDeleteFolder.Visible()}) {
      EXPECT_EQ(visible, major < 12);
    }
    EXPECT_EQ(ui().List5.ListCount(), major < 12 ? 1 : 0);
    ui().List5.AddItem(u" 0042 ");  // each entry is saved without its blanks
    page().MarkDirty();
    ApplyAnswering(platform::kAnswerNo);
    EXPECT_EQ(ProfileValue("monitoredfolders"),
              StoredUtf16(major < 12 ? folder->entryId() + u"\t0042\t" : folder->entryId() + u"\t"));
  }
  // An unreadable version keeps what the previous page found.
  outlook.app->Fail("Version");
  OpenPage();
  EXPECT_EQ(module.iOutlookVersion, 16);
}

// Spanish is primary language 0x0A with sub-languages 1 to 20.
TEST(SpanishLanguage, OnlyTheSpanishSubLanguagesOneToTwentyCount) {
  const std::pair<std::int32_t, bool> cases[] = {
      {0x000A, false}, {0x040A, true},  {0x0C0A, true},   {0x500A, true}, {0x540A, false},
      {0x0409, false}, {0x040B, false}, {0x1040A, false}, {-0xFBF6, false}};
  for (const auto& [id, spanish] : cases) EXPECT_EQ(IsSpanishLanguage(id), spanish) << std::hex << id;
}

TEST_F(PageLoad16, TheMakersLinkOpensTheWebSite) {
  OpenPage();
  ui().Label1.UserClick();
  EXPECT_EQ(user.WebAddresses(), (Texts{std::u16string(kMakerWebAddress)}));
}

TEST_F(PageLoad16, RestartStaysSetForTheNextPageOfTheLibrary) {
  OpenPage();
  ui().Option1_0.UserClick();
  ApplyAnswering(platform::kAnswerYes);
  OpenPage();  // the dialog reopened before the first page went away
  ClosePage();
  EXPECT_EQ(outlook.addIn->isRestartWrites, (std::vector<std::int16_t>{1}));
  EXPECT_EQ(outlook.app->quitCount, 1);
}

}  // namespace
}  // namespace quillon::testing
