// Apply: what reaches the registry and the host after the user's edits.
#include "tests/core/page_test_world.h"

namespace quillon::testing {
namespace {

class PageApply : public PageWorld16 {
 protected:
  // Loads a page, replaces what List1 shows with these lines, marks it changed.
  void OpenWithLines(const Texts& lines) {
    OpenPage();
    ui().List1.Clear();
    ui().List2.Clear();
    ui().List3.Clear();
    for (const auto& line : lines) {
      ui().List1.AddItem(line);
      ui().List2.AddItem(u"");
      ui().List3.AddItem(u"");
    }
    page().MarkDirty();
  }
  void ApplyAnswering(std::int16_t answer) {
    user.AnswerMessageBox(answer);
    page().PropertyPage_Apply();
  }
};

TEST_F(PageApply, ReplacesTheIdentityAccountsInListOrder) {
  SeedIdentity({3, u"EX [Old <old@x.example>]", u"Old", u"old@x.example", u"", u""});
  SeedIdentity({4, u"EX [Gone <gone@x.example>]", u"Gone", u"gone@x.example", u"", u""});
  SeedExchangeAccount(1, u"Microsoft Exchange Server");
  SeedNextAccountId(5);
  SeedOrderList(OrderList({1, 3, 4}));
  SeedDirectory({u"SMTP:ann.lee@corp.example"});
  OpenPage();
  ui().List1.UserClick(1);
  user.AnswerMessageBox(platform::kAnswerYes);
  ui().cmdRemove.UserClick();  // drops "Gone"
  user.TypeIntoInputBox(u"  Ann   Home   ann@home.example ");
  ui().cmdAdd.UserClick();
  ui().List2.SetList(0, u"  Formal ");

  ApplyAnswering(platform::kAnswerNo);

  EXPECT_EQ(AccountKeys(), (std::vector<std::string>{"00000001", "00000005", "00000006"}));
  EXPECT_EQ(AccountText(5, "Account Name"), u"EX [Old <old@x.example>]");
  EXPECT_EQ(AccountText(5, "New Signature"), u"Formal");
  EXPECT_EQ(AccountText(6, "Account Name"), u"EX [Ann   Home <ann@home.example>]");
  EXPECT_EQ(AccountText(6, "Display Name"), u"Ann   Home");
  EXPECT_EQ(AccountText(6, "Email"), u"ann@home.example");
  EXPECT_EQ(AccountText(6, "New Signature"), std::nullopt);
  EXPECT_EQ(Value(AccountsPath(), "NextAccountID"), Dword(7));
  EXPECT_EQ(Value(AccountsPath(), "{ED475418-B0D6-11D2-8C3B-00104B2A6676}"),
            OrderList({1, 5, 6}));
  EXPECT_EQ(AccountText(1, "Account Name"), u"EX [Ann Lee <ann.lee@corp.example>]");
  EXPECT_EQ(AccountText(1, "Service Name"), u"MSEMS");
  EXPECT_FALSE(page().PropertyPage_Dirty());
  EXPECT_FALSE(module.bRestart);
  EXPECT_TRUE(user.Keys().size() == 1 && user.Keys()[0] == u"{Right}");
}

TEST_F(PageApply, EachLineIsSavedByItsFormOrNotAtAll) {
  struct Case {
    std::u16string line;
    std::optional<std::u16string> accountName, displayName, email;
  };
  const Case cases[] = {
      {u"Ann Lee <ann@x.example>", u"EX [Ann Lee <ann@x.example>]", u"Ann Lee", u"ann@x.example"},
      {u"  Sales /o=Org/cn=Sales  ", u"EX MBX [Sales]", u"Sales", u"/o=Org/cn=Sales"},
      {u"A /b name <ab@x.example>", u"EX [A /b name <ab@x.example>]", u"A /b name",
       u"ab@x.example"},
      {u"Ann<ann@x.example>", std::nullopt, std::nullopt, std::nullopt},
      {u"Ann <>", std::nullopt, std::nullopt, std::nullopt},
      {u" <ann@x.example>", std::nullopt, std::nullopt, std::nullopt},
      {u"/o=Org", std::nullopt, std::nullopt, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Narrow(c.line));
    SeedNextAccountId(0x20);
    OpenWithLines({c.line});
    ApplyAnswering(platform::kAnswerNo);
    EXPECT_EQ(AccountText(0x20, "Account Name"), c.accountName);
    EXPECT_EQ(AccountText(0x20, "Display Name"), c.displayName);
    EXPECT_EQ(AccountText(0x20, "Email"), c.email);
    EXPECT_EQ(Value(AccountsPath(), "NextAccountID"), Dword(c.accountName ? 0x21 : 0x20));
  }
}

TEST_F(PageApply, ExchangeAccountNameDependsOnAddressEntries) {
  SeedExchangeAccount(9, u"custom");
  SeedDirectory({u"SMTP:ann.lee@corp.example"});
  const std::pair<Texts, std::u16string> cases[] = {
      {{u"Sales /o=Org/cn=Sales"}, u"Microsoft Exchange Server"},
      {{}, u"Microsoft Exchange Server"},
      // An empty address is not saved but still counts as an address entry.
      {{u"Ann <>"}, u"EX [Ann Lee <ann.lee@corp.example>]"},
      {{u"Sales /o=Org/cn=Sales", u"B <b@x.example>"}, u"EX [Ann Lee <ann.lee@corp.example>]"},
  };
  for (const auto& [lines, name] : cases) {
    OpenWithLines(lines);
    ApplyAnswering(platform::kAnswerNo);
    EXPECT_EQ(AccountText(9, "Account Name"), name);
  }
}

TEST_F(PageApply, NothingHappensUnlessThePageChangedForAProfile) {
  SeedIdentity({3, u"EX [Old <old@x.example>]", u"Old", u"old@x.example", u"", u""});
  OpenPage();
  registry.ClearCalls();
  page().PropertyPage_Apply();
  EXPECT_TRUE(registry.Calls().empty());
  EXPECT_TRUE(user.Dialogs().empty());

  outlook.addIn->profileName = u"";
  OpenPage();
  page().MarkDirty();
  registry.ClearCalls();
  page().PropertyPage_Apply();
  EXPECT_TRUE(registry.Calls().empty());
  EXPECT_FALSE(page().PropertyPage_Dirty());
}

TEST_F(PageApply, RestartQuestionAndItsAnswers) {
  OpenWithLines({});
  ApplyAnswering(platform::kAnswerYes);
  ASSERT_EQ(user.Dialogs().size(), 1u);
  EXPECT_EQ(user.Dialogs()[0].text,
            u"Outlook wiil be restarted to finish the configuration.\rRestart it now?");
  EXPECT_EQ(user.Dialogs()[0].style, 308);
  EXPECT_EQ(user.Dialogs()[0].title, u"Quillon");
  EXPECT_TRUE(module.bRestart);
  EXPECT_EQ(user.Journal(), (Log{"dialog message box", "pump", "keys {Esc}"}));
}

TEST_F(PageApply, ReplyFormatIsStoredOnlyWhenAnOptionIsSelected) {
  SeedProfileValue("replyaddressformat", Utf16z(u"7"));
  OpenPage();
  page().MarkDirty();
  ApplyAnswering(platform::kAnswerNo);
  EXPECT_EQ(ProfileValue("replyaddressformat"), Utf16z(u"7"));

  ui().Option1_1.UserClick();
  ApplyAnswering(platform::kAnswerNo);
  EXPECT_EQ(ProfileValue("replyaddressformat"), (Bytes{0x31, 0, 0, 0}));
}

TEST_F(PageApply, NewerOutlookWritesNoFolders) {
  OpenWithLines({});
  ui().List5.AddItem(u"ABCDEF");
  ApplyAnswering(platform::kAnswerNo);
  EXPECT_EQ(ProfileValue("monitoredfolders"), std::nullopt);
}

TEST_F(PageApply, AccountKeysThatAreNoNumbersAreNotMistakenForAccountZero) {
  // An identity stored under a key that is no account number must not make
  // Apply delete the unrelated account 00000000.
  registry.PutValue(platform::kCurrentUser, AccountPath(0), "Account Name", platform::kRegBinary,
                    Utf16z(u"Other program"));
  SeedIdentity({7, u"EX [a]", u"A", u"a@x.example", u"", u""});
  const std::string odd = AccountsPath() + "\\legacy";
  registry.PutValue(platform::kCurrentUser, odd, "Display Name", platform::kRegBinary,
                    Utf16z(u"Legacy"));
  registry.PutValue(platform::kCurrentUser, odd, "Email", platform::kRegBinary,
                    Utf16z(u"legacy@x.example"));
  for (const char* name : {"POP3 Server", "SMTP Server"}) {
    registry.PutValue(platform::kCurrentUser, odd, name, platform::kRegBinary, Utf16z(u"none"));
  }
  registry.PutValue(platform::kCurrentUser, odd, "clsid", platform::kRegSz,
                    Bytes{'{', 'E', 'D', '4', '7', '5', '4', '1', '1', '-', 'B', '0', 'D', '6',
                          '-', '1', '1', 'D', '2', '-', '8', 'C', '3', 'B', '-', '0', '0', '1',
                          '0', '4', 'B', '2', 'A', '6', '6', '7', '6', '}'});
  OpenPage();
  EXPECT_EQ(ui().List1.ListCount(), 2);
  EXPECT_EQ(ui().List1.ItemData(1), 0);
  page().MarkDirty();
  ApplyAnswering(platform::kAnswerNo);
  EXPECT_EQ(AccountText(0, "Account Name"), u"Other program");
  EXPECT_FALSE(registry.KeyExists(platform::kCurrentUser, AccountPath(7)));
}

TEST_F(PageApply, RereadEmptiesTheListSavesAndRestartsWithoutAsking) {
  SeedIdentity({3, u"EX [Old <old@x.example>]", u"Old", u"old@x.example", u"", u""});
  SeedExchangeAccount(1, u"EX [Ann Lee <ann@corp.example>]");
  SeedOrderList(OrderList({1, 3}));
  OpenPage();
  user.AnswerMessageBox(platform::kAnswerYes);
  ui().cmdRefresh.UserClick();
  ASSERT_EQ(user.Dialogs().size(), 1u);
  EXPECT_EQ(user.Dialogs()[0].text,
            u"Outlook wiil be restarted to re-read the e-mail addresses stored in the Active "
            u"Directory.\rYou should re-populate the list after restarting.\rContinue?");
  EXPECT_EQ(user.Dialogs()[0].style, 308);
  EXPECT_TRUE(ui().List1.Items().empty() && ui().List2.Items().empty() &&
              ui().List3.Items().empty());
  EXPECT_EQ(AccountKeys(), (std::vector<std::string>{"00000001"}));
  EXPECT_EQ(AccountText(1, "Account Name"), u"Microsoft Exchange Server");
  EXPECT_EQ(user.Keys().back(), u"{Esc}");
  ClosePage();
  EXPECT_EQ(outlook.addIn->isRestartWrites, (std::vector<std::int16_t>{2}));
  EXPECT_EQ(outlook.app->quitCount, 1);
}

TEST_F(PageApply, RereadDeclinedChangesNothing) {
  SeedIdentity({3, u"EX [Old <old@x.example>]", u"Old", u"old@x.example", u"", u""});
  OpenPage();
  user.AnswerMessageBox(platform::kAnswerNo);
  ui().cmdRefresh.UserClick();
  EXPECT_EQ(ui().List1.ListCount(), 1);
  EXPECT_FALSE(module.bRestart || module.bReread);
  EXPECT_FALSE(page().PropertyPage_Dirty());
  EXPECT_TRUE(registry.KeyExists(platform::kCurrentUser, AccountPath(3)));
}

TEST_F(PageApply, WholeLifeOfAnOutlook16Page) {
  SeedIdentity({2, u"EX MBX [Sales]", u"Sales", u"/o=Org/cn=Sales", u"Team", u""});
  SeedExchangeAccount(1, u"Microsoft Exchange Server");
  SeedNextAccountId(3);
  SeedOrderList(OrderList({1, 2}));
  SeedDirectory({u"SMTP:ann.lee@corp.example", u"smtp:ann@corp.example"});
  const Bytes folders = Utf16z(u"0011\t");
  SeedProfileValue("monitoredfolders", folders);
  outlook.OpenInspector("mail");

  OpenPage();
  ui().cmdPopulate.UserClick();
  ui().List1.UserClick(1);
  ui().cmdMoveUp.UserClick();
  ui().Option1_0.UserClick();
  user.AnswerMessageBox(platform::kAnswerYes);
  page().PropertyPage_Apply();
  ClosePage();

  EXPECT_EQ(AccountKeys(), (std::vector<std::string>{"00000001", "00000003", "00000004"}));
  EXPECT_EQ(AccountText(3, "Account Name"), u"EX [Ann Lee <ann@corp.example>]");
  EXPECT_EQ(AccountText(4, "Account Name"), u"EX MBX [Sales]");
  EXPECT_EQ(AccountText(4, "Email"), u"/o=Org/cn=Sales");
  EXPECT_EQ(AccountText(4, "New Signature"), u"Team");
  EXPECT_EQ(Value(AccountsPath(), "{ED475418-B0D6-11D2-8C3B-00104B2A6676}"),
            OrderList({1, 3, 4}));
  EXPECT_EQ(AccountText(1, "Account Name"), u"EX [Ann Lee <ann.lee@corp.example>]");
  EXPECT_EQ(ProfileValue("replyaddressformat"), Utf16z(u"0"));
  EXPECT_EQ(ProfileValue("monitoredfolders"), folders);
  EXPECT_EQ(outlook.journal, (Log{"IsRestart 1", "save mail", "close mail (true)", "quit"}));
}

}  // namespace
}  // namespace quillon::testing
