// Apply: what reaches the registry and the host after the user's edits.
#include <tuple>

#include "tests/core/page_test_world.h"

namespace quillon::testing {
namespace {

constexpr char kOrderValue[] = "{ED475418-B0D6-11D2-8C3B-00104B2A6676}";

class PageApply : public PageWorld16 {
 protected:
  // Loads a page, replaces what List1 shows with these lines, marks it changed.
  void OpenWithLines(const Texts& lines) {
    OpenPage();
    ShowLines(lines);
    page().MarkDirty();
  }
};

TEST_F(PageApply, EachLineIsSavedByItsFormOrNotAtAll) {
  // The line, then its account's name, display name and address; none: not saved.
  using Saved = std::optional<std::u16string>;
  const std::tuple<std::u16string, Saved, Saved, Saved> cases[] = {
      {u"Ann Lee <ann@x.example>", u"EX [Ann Lee <ann@x.example>]", u"Ann Lee", u"ann@x.example"},
      {u"  Sales /o=Org/cn=Sales  ", u"EX MBX [Sales]", u"Sales", u"/o=Org/cn=Sales"},
      {u"A /b name <ab@x.example>", u"EX [A /b name <ab@x.example>]", u"A /b name",
       u"ab@x.example"},
      {u"Ann<ann@x.example>", {}, {}, {}}, {u"Ann <>", {}, {}, {}},
      {u" <ann@x.example>", {}, {}, {}},   {u"/o=Org", {}, {}, {}},
  };
  for (const auto& [line, accountName, displayName, email] : cases) {
    SCOPED_TRACE(Narrow(line));
    SeedNextAccountID(0x20);
    OpenWithLines({line});
    ApplyAnswering(platform::kAnswerNo);
    EXPECT_EQ(AccountText(0x20, "Account Name"), accountName);
    EXPECT_EQ(AccountText(0x20, "Display Name"), displayName);
    EXPECT_EQ(AccountText(0x20, "Email"), email);
    EXPECT_EQ(Value(AccountsPath(), "NextAccountID"), Dwords({accountName ? 0x21u : 0x20u}));
  }
}

TEST_F(PageApply, ExchangeAccountNameDependsOnAddressEntriesAndLanguage) {
  SeedExchangeAccount(9, u"custom");
  SeedDirectory({u"SMTP:ann.lee@corp.example"});
  outlook.OpenInspector("draft");
  // The lines, Outlook's language, the Exchange account's name then.
  const std::tuple<Texts, std::int32_t, std::u16string> cases[] = {
      {{u"Sales /o=Org/cn=Sales"}, 0x0409, u"Microsoft Exchange Server"},
      {{}, 0x0409, u"Microsoft Exchange Server"},
      {{}, 0x0C0A, u"Servidor de Microsoft Exchange"},
      // An empty address is not saved but still counts as an address entry.
      {{u"Ann <>"}, 0x0C0A, u"EX [Ann Lee <ann.lee@corp.example>]"},
      {{u"Sales /o=Org/cn=Sales", u"B <b@x.example>"}, 0x0409,
       u"EX [Ann Lee <ann.lee@corp.example>]"},
  };
  for (const auto& [lines, language, name] : cases) {
    outlook.app->uiLanguage = language;
    OpenWithLines(lines);
    ApplyAnswering(platform::kAnswerNo);
    EXPECT_EQ(AccountText(9, "Account Name"), name);
    // Declining the restart leaves Outlook and its windows alone.
    EXPECT_FALSE(module.bRestart);
    ClosePage();
    EXPECT_TRUE(user.Keys().empty() && outlook.journal.empty());
    EXPECT_EQ(module.oApp, nullptr);
  }
}

TEST_F(PageApply, NothingHappensUnlessThePageChanged) {
  SeedIdentity(3, u"Old", u"old@x.example");
  OpenPage();
  faults.ClearCalls();
  page().PropertyPage_Apply();
  EXPECT_TRUE(faults.Calls().empty());
  EXPECT_TRUE(user.Dialogs().empty());
}

TEST_F(PageApply, ReplyFormatIsStoredOnlyWhenAnOptionIsSelected) {
  SeedProfileValue("replyaddressformat", StoredUtf16(u"7"));
  OpenPage();
  page().MarkDirty();
  ApplyAnswering(platform::kAnswerNo);
  EXPECT_EQ(ProfileValue("replyaddressformat"), StoredUtf16(u"7"));
}

TEST_F(PageApply, AccountKeysThatAreNoNumbersAreNotMistakenForAccountZero) {
  // An identity stored under a key that is no account number must not make
  // Apply delete the unrelated account 00000000.
  PutText(AccountPath(0), "Account Name", u"Other program");
  SeedIdentity(7, u"A", u"a@x.example");
  SeedIdentityKey(AccountsPath() + "\\legacy", u"Legacy", u"legacy@x.example", u"", u"");
  OpenPage();
  EXPECT_EQ(ui().List1.ListCount(), 2);
  EXPECT_EQ(ui().List1.ItemData(1), 0);
  page().MarkDirty();
  ApplyAnswering(platform::kAnswerNo);
  EXPECT_EQ(AccountText(0, "Account Name"), u"Other program");
  EXPECT_FALSE(registry.KeyExists(platform::kCurrentUser, AccountPath(7)));
}

TEST_F(PageApply, AStaleNextAccountIdPassesOverAccountsThatExist) {
  // "NextAccountID" names accounts of other kinds: the identities must not
  // be written over them, but take the next free numbers.
  PutText(AccountPath(5), "Account Name", u"Home mail");
  PutText(AccountPath(5), "POP3 Server", u"pop.home.example");
  PutText(AccountPath(6), "Account Name", u"Work mail");
  SeedOrderList({5, 6});
  SeedNextAccountID(5);
  const RegistryImage before = TakeImage(registry);
  OpenWithLines({u"Ann <ann@x.example>", u"Bob <bob@x.example>"});
  ApplyAnswering(platform::kAnswerNo);

  const std::string accounts = "HKCU\\" + AccountsPath() + "\\";
  EXPECT_EQ(ChangesOutside(before, TakeImage(registry),
                           {accounts + ":", accounts + "00000007\\", accounts + "00000008\\",
                            ProfilePrefix() + ":"}),
            std::vector<std::string>{});
  EXPECT_EQ(AccountText(7, "Email"), u"ann@x.example");
  EXPECT_EQ(AccountText(8, "Email"), u"bob@x.example");
  EXPECT_EQ(Value(AccountsPath(), "NextAccountID"), Dwords({9}));
  EXPECT_EQ(Value(AccountsPath(), kOrderValue), Dwords({5, 6, 7, 8}));
}

TEST_F(PageApply, RereadIsAskedForThenEmptiesTheListSavesAndRestarts) {
  SeedIdentity(3, u"Old", u"old@x.example");
  SeedExchangeAccount(1, u"EX [Ann Lee <ann@corp.example>]");
  SeedOrderList({1, 3});
  OpenPage();
  ClickAnswering(ui().cmdRefresh, platform::kAnswerNo);  // declined: nothing changes
  // A lone account without signatures still gives parallel lines.
  EXPECT_TRUE(IdentityLists({u"Old <old@x.example>"}, {u""}, {u""}));
  EXPECT_FALSE(module.bRestart || module.bReread || page().PropertyPage_Dirty());
  EXPECT_TRUE(registry.KeyExists(platform::kCurrentUser, AccountPath(3)));

  ClickAnswering(ui().cmdRefresh, platform::kAnswerYes);
  ASSERT_EQ(user.Dialogs().size(), 2u);
  EXPECT_TRUE(MessageBoxShown(1,
                   u"Outlook wiil be restarted to re-read the e-mail addresses stored in the "
                   u"Active Directory.\rYou should re-populate the list after restarting.\r"
                   u"Continue?",
                   308));
  EXPECT_TRUE(IdentityLists({}, {}, {}));
  EXPECT_EQ(AccountKeys(), (Keys{"00000001"}));
  EXPECT_EQ(AccountText(1, "Account Name"), u"Microsoft Exchange Server");
  EXPECT_EQ(user.Keys().back(), u"{Esc}");
  ClosePage();
  EXPECT_EQ(outlook.addIn->isRestartWrites, (std::vector<std::int16_t>{2}));
  EXPECT_EQ(outlook.app->quitCount, 1);
}

// Yes to the restart: the dialog is closed after pending messages ran, then the
// add-in is told, item windows are saved and closed from the last, Outlook quits.
TEST_F(PageApply, ARestartClosesTheDialogThenEveryWindowFromTheLastThenOutlook) {
  SeedIdentity(3, u"Sales", u"/o=Org/cn=Sales", u"Team");
  SeedNextAccountID(5);
  outlook.OpenInspector("first");
  outlook.OpenInspector("second");
  OpenPage();
  ui().List2.SetList(0, u"  Formal ");
  page().MarkDirty();
  ApplyAnswering(platform::kAnswerYes);
  EXPECT_TRUE(MessageBoxShown(0, u"Outlook wiil be restarted to finish the configuration.\rRestart it now?", 308));
  EXPECT_TRUE(module.bRestart);
  EXPECT_FALSE(page().PropertyPage_Dirty());
  const Log& journal = user.Journal();
  ASSERT_GE(journal.size(), 3u);
  EXPECT_EQ(Log(journal.end() - 3, journal.end()), (Log{"dialog message box", "pump", "keys {Esc}"}));
  ClosePage();
  EXPECT_EQ(AccountText(5, "Email"), u"/o=Org/cn=Sales");
  EXPECT_EQ(AccountText(5, "New Signature"), u"Formal");
  EXPECT_EQ(outlook.journal, (Log{"IsRestart 1", "save second", "close second (true)",
                                  "save first", "close first (true)", "quit"}));
  EXPECT_EQ(module.oApp, nullptr);
}

}  // namespace
}  // namespace quillon::testing
