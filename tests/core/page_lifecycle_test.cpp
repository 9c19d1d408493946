// The page's life as Outlook drives it: load, dirty notifications, the end
// of the page and the restart it may ask for.
#include "tests/core/page_test_world.h"

namespace quillon::testing {
namespace {

class PageLoad : public PageWorld {};
class PageLoad16 : public PageWorld16 {};
class PageTerminate : public PageWorld16 {};

TEST_F(PageLoad, FillsEveryControlFromTheProfile) {
  SeedIdentity({0x0a, u"EX [Ann Work <ann@work.example>]", u"Ann Work", u" ann@work.example ",
                u"Formal", u"Short"});
  SeedIdentity({0x0c, u"ex mbx [Sales]", u"Sales", u"/o=Org/cn=Sales", u"", u""});
  SeedDirectory({u"SMTP:ann.lee@corp.example", u"smtp:al@corp.example"});
  SeedProfileValue("replyaddressformat", Utf16z(u"1"));

  OpenPage();

  EXPECT_EQ(ui().Label4_0.Caption(), u"Quillon ver. 2.4.17");
  EXPECT_EQ(ui().lblDefAddress.Caption(), u"Ann Lee <ann.lee@corp.example>  (Default)");
  EXPECT_EQ(ui().lblDefAddress.ToolTip(), ui().lblDefAddress.Caption());
  EXPECT_EQ(ui().List1.Items(), (Texts{u"Ann Work <ann@work.example>", u"Sales /o=Org/cn=Sales"}));
  EXPECT_EQ(ui().List1.ItemData(0), 10);
  EXPECT_EQ(ui().List1.ItemData(1), 12);
  EXPECT_EQ(ui().List2.Items(), (Texts{u"Formal", u""}));
  EXPECT_EQ(ui().List3.Items(), (Texts{u"Short", u""}));
  EXPECT_FALSE(ui().Option1_0.Value());
  EXPECT_TRUE(ui().Option1_1.Value());
  EXPECT_FALSE(ui().Option1_2.Value());
  EXPECT_TRUE(ui().Frame2.Visible());
  EXPECT_TRUE(ui().List4.Visible());
  EXPECT_EQ(ui().UserControl.PointerHistory(), (std::vector<std::int16_t>{11, 0}));
  EXPECT_FALSE(page().PropertyPage_Dirty());
  EXPECT_EQ(outlook.site->statusChanges, 0);
  EXPECT_TRUE(ui().cmdRemoveAll.Enabled());
  EXPECT_FALSE(ui().cmdChange.Enabled());
  EXPECT_EQ(ui().List1.HorizontalExtent(),
            27 * FakeListBox::kCharWidth + FakePageSurface::kScrollBarWidth);
}

TEST_F(PageLoad, AccountsWithoutNameAddressOrKeyAddNoLineAnywhere) {
  SeedIdentity({1, u"EX [x]", u"   ", u"blank@name.example", u"Sig", u"Sig"});
  SeedIdentity({2, u"EX [y]", u"No Mail", u"  ", u"Sig", u"Sig"});
  SeedIdentity({3, u"EX [z]", u" Kept ", u"kept@x.example", u"", u"Reply"});
  OpenPage();
  EXPECT_EQ(ui().List1.Items(), (Texts{u" Kept  <kept@x.example>"}));
  EXPECT_EQ(ui().List2.Items(), (Texts{u""}));
  EXPECT_EQ(ui().List3.Items(), (Texts{u"Reply"}));
}

TEST_F(PageLoad, LoneAccountWithoutSignaturesStillGivesParallelLines) {
  SeedIdentity({5, u"EX [a]", u"Alone", u"alone@x.example", u"", u""});
  OpenPage();
  EXPECT_EQ(ui().List1.ListCount(), 1);
  EXPECT_EQ(ui().List2.Items(), (Texts{u""}));
  EXPECT_EQ(ui().List3.Items(), (Texts{u""}));
}

TEST_F(PageLoad, ReplyFormatOptionFollowsTheStoredValue) {
  struct Case {
    std::optional<Bytes> stored;
    bool option0, option1, option2;
  };
  const Case cases[] = {
      {std::nullopt, false, false, true},
      {Utf16z(u"0"), true, false, false},
      {Utf16z(u"1"), false, true, false},
      {Utf16z(u"2"), false, false, true},
      {Utf16z(u"7"), false, false, false},
      {Utf16z(u"x"), false, false, true},
  };
  for (const Case& c : cases) {
    if (c.stored) SeedProfileValue("replyaddressformat", *c.stored);
    OpenPage();
    EXPECT_EQ(ui().Option1_0.Value(), c.option0);
    EXPECT_EQ(ui().Option1_1.Value(), c.option1);
    EXPECT_EQ(ui().Option1_2.Value(), c.option2);
    EXPECT_FALSE(page().PropertyPage_Dirty());
  }
  EXPECT_EQ(outlook.site->statusChanges, 0);
}

TEST_F(PageLoad, WithoutAddInOrSiteThePageShowsOnlyItsDesign) {
  struct Case {
    const char* name;
    std::function<void(FakeOutlook&)> breakHost;
  };
  const Case cases[] = {
      {"no add-in object", [](FakeOutlook& o) { o.app->addIn = nullptr; }},
      {"add-in lookup fails", [](FakeOutlook& o) { o.app->Fail("AddInObject"); }},
      {"no container", [](FakeOutlook& o) { o.container.Fail("Parent"); }},
      {"container is no site", [](FakeOutlook& o) { o.container.site = nullptr; }},
  };
  SeedIdentity({1, u"EX [a]", u"A", u"a@x.example", u"", u""});
  for (const Case& c : cases) {
    FakeOutlook& host = outlook;
    host.app->addIn = outlook.addIn;
    host.app->Heal("AddInObject");
    host.container.Heal("Parent");
    host.container.site = outlook.site;
    c.breakHost(host);
    OpenPage();
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ui().Label4_0.Caption(), u"Quillon ver. 2.4.17");
    EXPECT_TRUE(ui().List1.Items().empty());
    EXPECT_EQ(ui().lblDefAddress.Caption(), u"");
    EXPECT_TRUE(ui().Option1_2.Value());
    EXPECT_EQ(module.sPN, u"");
    EXPECT_FALSE(page().PropertyPage_Dirty());
  }
}

TEST_F(PageLoad, WithoutSiteThePageNeverBecomesDirty) {
  outlook.container.Fail("Parent");
  OpenPage();
  page().MarkDirty();
  EXPECT_FALSE(page().PropertyPage_Dirty());
}

TEST_F(PageLoad, EmptyPrimaryAddressStillFormsTheDefaultLine) {
  SeedDirectory({u"smtp:other@corp.example"});
  OpenPage();
  EXPECT_EQ(ui().lblDefAddress.Caption(), u"Ann Lee <>  (Default)");
}

TEST_F(PageLoad16, NewerOutlookHidesTheFolderEditorAndLeavesItsValueAlone) {
  const Bytes stored = Utf16z(u"ABC\t");
  SeedProfileValue("monitoredfolders", stored);
  OpenPage();
  EXPECT_FALSE(ui().Frame2.Visible());
  EXPECT_FALSE(ui().List4.Visible());
  EXPECT_FALSE(ui().cmdAddFolder.Visible());
  EXPECT_FALSE(ui().cmdDeleteFolder.Visible());
  EXPECT_EQ(ui().List4.ListCount(), 0);
  EXPECT_EQ(ProfileValue("monitoredfolders"), stored);
  EXPECT_EQ(module.iOutlookVersion, 16);
}

TEST_F(PageLoad, OutlookVersionIsReadFromTheFirstTwoCharacters) {
  const std::pair<std::u16string, std::int16_t> cases[] = {
      {u"11.0.0.8010", 11}, {u"9.0.0.2711", 9}, {u"12.0.4518", 12}, {u"16.0", 16}};
  for (const auto& [text, major] : cases) {
    outlook.app->version = text;
    OpenPage();
    EXPECT_EQ(module.iOutlookVersion, major) << Narrow(text);
    EXPECT_EQ(ui().Frame2.Visible(), major < 12);
  }
  // An unreadable version keeps what the previous page found.
  outlook.app->Fail("Version");
  OpenPage();
  EXPECT_EQ(module.iOutlookVersion, 16);
}

TEST(SpanishLanguage, ExactlyTheTwentySpanishSubLanguagesCount) {
  int spanish = 0;
  for (std::int32_t id = 0; id <= 0xFFFF; ++id) {
    if (IsSpanishLanguage(id)) {
      ++spanish;
      EXPECT_EQ(id & 0x3FF, 0x0A);
    }
  }
  EXPECT_EQ(spanish, 20);
  EXPECT_TRUE(IsSpanishLanguage(0x040A));
  EXPECT_TRUE(IsSpanishLanguage(0x500A));
  EXPECT_FALSE(IsSpanishLanguage(0x000A));
  EXPECT_FALSE(IsSpanishLanguage(0x540A));
  EXPECT_FALSE(IsSpanishLanguage(0x1040A));
}

TEST_F(PageLoad16, SpanishInterfaceNamesTheExchangeAccountInSpanish) {
  SeedExchangeAccount(2, u"EX [old]");
  outlook.app->uiLanguage = 0x0C0A;
  OpenPage();
  EXPECT_TRUE(module.bSpanishUI);
  ui().Option1_0.UserClick();
  user.AnswerMessageBox(platform::kAnswerNo);
  page().PropertyPage_Apply();
  EXPECT_EQ(AccountText(2, "Account Name"), u"Servidor de Microsoft Exchange");
}

TEST_F(PageLoad16, DirtyStateFollowsEditsAndEndsWithApply) {
  OpenPage();
  ui().Option1_0.UserClick();
  ui().Option1_1.UserClick();
  EXPECT_TRUE(page().PropertyPage_Dirty());
  EXPECT_EQ(outlook.site->statusChanges, 2);

  outlook.site->Fail("OnStatusChange");
  ui().Option1_2.UserClick();
  EXPECT_TRUE(page().PropertyPage_Dirty());

  user.AnswerMessageBox(platform::kAnswerNo);
  page().PropertyPage_Apply();
  EXPECT_FALSE(page().PropertyPage_Dirty());
}

TEST_F(PageLoad16, HostQueriesLeaveTheirArgumentsAlone) {
  OpenPage();
  std::u16string helpFile = u"outlook.chm";
  std::int32_t helpContext = 42;
  page().PropertyPage_GetPageInfo(helpFile, helpContext);
  EXPECT_EQ(helpFile, u"outlook.chm");
  EXPECT_EQ(helpContext, 42);
  EXPECT_EQ(page().Caption(), u"Outlook Property Page");
}

TEST_F(PageLoad16, TheMakersLinkOpensTheWebSite) {
  OpenPage();
  ui().Label1.UserClick();
  EXPECT_EQ(user.WebAddresses(), (Texts{std::u16string(kMakerWebAddress)}));
}

TEST_F(PageTerminate, WithoutRestartOutlookKeepsRunning) {
  outlook.OpenInspector("draft");
  OpenPage();
  ClosePage();
  EXPECT_TRUE(outlook.journal.empty());
  EXPECT_EQ(module.oApp, nullptr);
}

TEST_F(PageTerminate, RestartSavesAndClosesWindowsLastFirstThenQuits) {
  outlook.OpenInspector("first");
  outlook.OpenInspector("second");
  OpenPage();
  ui().Option1_0.UserClick();
  user.AnswerMessageBox(platform::kAnswerYes);
  page().PropertyPage_Apply();
  EXPECT_EQ(user.Journal(), (Log{"dialog message box", "pump", "keys {Esc}"}));
  ClosePage();
  EXPECT_EQ(outlook.journal, (Log{"IsRestart 1", "save second", "close second (true)",
                                           "save first", "close first (true)", "quit"}));
  EXPECT_EQ(module.oApp, nullptr);
}

TEST_F(PageTerminate, FailingWindowsAndMissingAddInDoNotStopTheQuit) {
  outlook.OpenInspector("first");
  outlook.OpenInspector("stuck");
  outlook.app->inspectors[1].saveFails = true;
  outlook.app->inspectors[1].closeFails = true;
  OpenPage();
  outlook.app->addIn = nullptr;
  module.bRestart = true;
  ClosePage();
  EXPECT_EQ(outlook.journal, (Log{"save first", "close first (true)", "quit"}));
}

TEST_F(PageTerminate, RestartStaysSetForTheNextPageOfTheLibrary) {
  OpenPage();
  ui().Option1_0.UserClick();
  user.AnswerMessageBox(platform::kAnswerYes);
  page().PropertyPage_Apply();
  OpenPage();  // the dialog reopened before the first page went away
  ClosePage();
  EXPECT_EQ(outlook.addIn->isRestartWrites, (std::vector<std::int16_t>{1}));
  EXPECT_EQ(outlook.app->quitCount, 1);
}

}  // namespace
}  // namespace quillon::testing
