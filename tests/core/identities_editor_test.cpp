// The identities editor as a user works it: typing, changing, removing,
// reordering and filling identities, with the buttons following along.
#include "tests/core/page_test_world.h"

namespace quillon::testing {
namespace {

class IdentitiesEditor : public PageWorld16 {
 protected:
  void OpenWith(const std::vector<IdentitySeed>& identities) {
    for (const auto& identity : identities) SeedIdentity(identity);
    OpenPage();
  }
  struct Buttons {
    bool change, remove, removeAll, moveUp, moveDown, populate;
    bool operator==(const Buttons&) const = default;
  };
  Buttons IdentityButtons() {
    return {ui().cmdChange.Enabled(), ui().cmdRemove.Enabled(), ui().cmdRemoveAll.Enabled(),
            ui().cmdMoveUp.Enabled(), ui().cmdMoveDown.Enabled(), ui().cmdPopulate.Enabled()};
  }
  std::u16string Entry(std::u16string_view name) {
    return std::u16string(name) + u" <" + Lower(name) + u"@x.example>";
  }
  static std::u16string Lower(std::u16string_view name) {
    std::u16string lower(name);
    for (auto& c : lower) c = (c >= u'A' && c <= u'Z') ? c + 32 : c;
    return lower;
  }
  IdentitySeed Stored(std::uint32_t number, std::u16string name) {
    return {number, u"EX [" + name + u"]", name, Lower(name) + u"@x.example", name + u" new",
            name + u" reply"};
  }
};

TEST(IdentityValidation, TypedTextIsNormalisedOrRejected) {
  struct Case {
    std::u16string typed;
    std::int16_t result;
    std::u16string normalised;
  };
  const Case cases[] = {
      {u"Ann Lee ann@x.example", 1, u"Ann Lee <ann@x.example>"},
      {u"  Ann   Lee   <ann@x.example>  ", 1, u"Ann   Lee <ann@x.example>"},
      {u"Ann <<ann@x>.example>>", 1, u"Ann <ann@x.example>"},
      {u"Ann a.b@c", 1, u"Ann <a.b@c>"},  // five characters, dot before the @
      {u"Ann Lee@x.example", 1, u"Ann <Lee@x.example>"},
      {u"ann@x.example", -1, u""},
      {u"", -1, u""},
      {u"Ann ab@c.", -1, u""},
      {u"Ann @ab.c", -1, u""},
      {u"Ann .ab@c", -1, u""},
      {u"Ann a.@b", -1, u""},  // four characters
      {u"Ann abc@example", -1, u""},
      {u"Ann abc.example", -1, u""},
      {u"A/B a@x.example", -1, u""},
      {u"A\\B a@x.example", -1, u""},
      {u"A@B a@x.example", -1, u""},
      {u"A<B a@x.example", -1, u""},
      {u" <a@x.example>", -1, u""},
  };
  MemoryRegistryStore registry;
  ModuleState module{registry};
  FakePageControls controls;
  ScriptedUser user;
  FakeOutlook outlook;
  QuillonPage page(PageEnvironment{controls.Controls(), user, outlook.container, module, {}});
  for (const Case& c : cases) {
    std::optional<std::u16string> text = c.typed;
    EXPECT_EQ(page.ValidateInput(text), c.result) << Narrow(c.typed);
    EXPECT_EQ(*text, c.result == 1 ? c.normalised : c.typed) << Narrow(c.typed);
  }
  std::optional<std::u16string> cancelled;
  EXPECT_EQ(page.ValidateInput(cancelled), 0);
  std::u16string email = u"  a.b@c  ";
  EXPECT_TRUE(page.ValidateSMTPEmail(email));
  EXPECT_EQ(email, u"a.b@c");
  EXPECT_TRUE(page.ValidateDN(u""));
}

TEST_F(IdentitiesEditor, AddAsksUntilValidThenAppendsWithEmptySignatures) {
  OpenWith({Stored(1, u"Bob")});
  user.TypeIntoInputBox(u"");
  user.TypeIntoInputBox(u"bare@x.example");
  user.TypeIntoInputBox(u"Ann Lee ann@x.example");
  ui().cmdAdd.UserClick();

  ASSERT_EQ(user.Dialogs().size(), 3u);
  EXPECT_EQ(user.Dialogs()[0].text,
            u"Add new identity:\r\r  Example:\rJohn Smith <john.smith@example.com>");
  EXPECT_EQ(user.Dialogs()[0].title, u"Quillon");
  EXPECT_EQ(user.Dialogs()[0].defaultText, u"");
  EXPECT_EQ(user.Dialogs()[1].defaultText, u"");
  EXPECT_EQ(user.Dialogs()[2].defaultText, u"bare@x.example");
  EXPECT_EQ(user.Keys(), (Texts{u"{Right}", u"{Right}", u"{Right}"}));
  EXPECT_EQ(ui().List1.Items(), (Texts{Entry(u"Bob"), u"Ann Lee <ann@x.example>"}));
  EXPECT_EQ(ui().List1.ItemData(1), 0);
  EXPECT_EQ(ui().List2.Items(), (Texts{u"Bob new", u""}));
  EXPECT_EQ(ui().List3.Items(), (Texts{u"Bob reply", u""}));
  EXPECT_EQ(ui().List1.ListIndex(), -1);
  EXPECT_TRUE(page().PropertyPage_Dirty());
  EXPECT_EQ(ui().List1.HorizontalExtent(),
            23 * FakeListBox::kCharWidth + FakePageSurface::kScrollBarWidth);
}

TEST_F(IdentitiesEditor, CancelAndDuplicatesLeaveThePageUnchanged) {
  OpenWith({Stored(1, u"Bob")});
  user.CancelInputBox();
  ui().cmdAdd.UserClick();
  user.TypeIntoInputBox(u"BOB bob@X.EXAMPLE");
  ui().cmdAdd.UserClick();
  EXPECT_EQ(ui().List1.Items(), (Texts{Entry(u"Bob")}));
  EXPECT_FALSE(page().PropertyPage_Dirty());
  EXPECT_EQ(outlook.site->statusChanges, 0);
}

TEST_F(IdentitiesEditor, ChangeRewritesTheSelectedEntryInPlace) {
  OpenWith({Stored(1, u"Bob"), Stored(2, u"Cid")});
  ui().List1.UserClick(0);
  user.TypeIntoInputBox(u"bob BOB@x.example");  // equal ignoring case: nothing to store
  ui().cmdChange.UserClick();
  EXPECT_EQ(user.Dialogs()[0].text,
            u"Change selected identity:\r\r  Example:\rJohn Smith <john.smith@example.com>");
  EXPECT_EQ(user.Dialogs()[0].defaultText, Entry(u"Bob"));
  EXPECT_FALSE(page().PropertyPage_Dirty());

  user.TypeIntoInputBox(u"Robert robert@x.example");
  ui().cmdChange.UserClick();
  EXPECT_EQ(ui().List1.Items(), (Texts{u"Robert <robert@x.example>", Entry(u"Cid")}));
  EXPECT_EQ(ui().List1.ItemData(0), 1);
  EXPECT_EQ(ui().List2.List(0), u"Bob new");
  EXPECT_EQ(ui().List3.List(0), u"Bob reply");
  EXPECT_TRUE(page().PropertyPage_Dirty());
}

TEST_F(IdentitiesEditor, ChangeWithoutSelectionAsksNothing) {
  OpenWith({Stored(1, u"Bob")});
  page().cmdChange_Click();
  EXPECT_TRUE(user.Dialogs().empty());
}

TEST_F(IdentitiesEditor, RemoveTakesTheEntryOutOfAllThreeLists) {
  OpenWith({Stored(1, u"Ann"), Stored(2, u"Bob"), Stored(3, u"Cid")});
  ui().List1.UserClick(1);
  user.AnswerMessageBox(platform::kAnswerNo);
  ui().cmdRemove.UserClick();
  EXPECT_EQ(ui().List1.ListCount(), 3);
  EXPECT_FALSE(page().PropertyPage_Dirty());

  user.AnswerMessageBox(platform::kAnswerYes);
  ui().cmdRemove.UserClick();
  EXPECT_EQ(user.Dialogs()[1].text,
            u"Are you sure you want to delete the selected item from the list?");
  EXPECT_EQ(user.Dialogs()[1].style, 308);
  EXPECT_EQ(ui().List1.Items(), (Texts{Entry(u"Ann"), Entry(u"Cid")}));
  EXPECT_EQ(ui().List1.ItemData(1), 3);
  EXPECT_EQ(ui().List2.Items(), (Texts{u"Ann new", u"Cid new"}));
  EXPECT_EQ(ui().List3.Items(), (Texts{u"Ann reply", u"Cid reply"}));
  EXPECT_EQ(ui().List1.ListIndex(), -1);
  EXPECT_EQ(IdentityButtons(), (Buttons{false, false, true, false, false, true}));
  EXPECT_TRUE(page().PropertyPage_Dirty());
}

TEST_F(IdentitiesEditor, RemovingEverythingEmptiesTheListsAndTheScrollRange) {
  OpenWith({Stored(1, u"Ann"), Stored(2, u"Bob")});
  page().cmdRemove_Click();  // nothing selected: no question
  EXPECT_TRUE(user.Dialogs().empty());
  user.AnswerMessageBox(platform::kAnswerYes);
  ui().cmdRemoveAll.UserClick();
  EXPECT_EQ(user.Dialogs()[0].text, u"Are you sure you want to delete all items from the list?");
  EXPECT_TRUE(ui().List1.Items().empty() && ui().List2.Items().empty() &&
              ui().List3.Items().empty());
  EXPECT_EQ(ui().List1.HorizontalExtent(), 0);
  EXPECT_EQ(IdentityButtons(), (Buttons{false, false, false, false, false, true}));
  EXPECT_FALSE(ui().lblDefAddress.Caption().empty());
  page().cmdRemoveAll_Click();  // empty list: no question
  EXPECT_EQ(user.Dialogs().size(), 1u);
}

TEST_F(IdentitiesEditor, ScrollRangeFollowsTheWidestEntry) {
  OpenWith({Stored(1, u"Ann"), Stored(2, u"Bartholomew")});
  const auto extent = [](std::size_t chars) {
    return static_cast<std::int32_t>(chars) * FakeListBox::kCharWidth +
           FakePageSurface::kScrollBarWidth;
  };
  EXPECT_EQ(ui().List1.HorizontalExtent(), extent(Entry(u"Bartholomew").size()));
  ui().List1.UserClick(1);
  user.AnswerMessageBox(platform::kAnswerYes);
  ui().cmdRemove.UserClick();
  EXPECT_EQ(ui().List1.HorizontalExtent(), extent(Entry(u"Ann").size()));
}

TEST_F(IdentitiesEditor, MovesCarryTextDataAndSignaturesAndKeepTheSelection) {
  OpenWith({Stored(1, u"Ann"), Stored(2, u"Bob"), Stored(3, u"Cid")});
  ui().List1.UserClick(2);
  ui().cmdMoveUp.UserClick();
  EXPECT_EQ(ui().List1.Items(), (Texts{Entry(u"Ann"), Entry(u"Cid"), Entry(u"Bob")}));
  EXPECT_EQ(ui().List1.ItemData(1), 3);
  EXPECT_EQ(ui().List1.ItemData(2), 2);
  EXPECT_EQ(ui().List2.Items(), (Texts{u"Ann new", u"Cid new", u"Bob new"}));
  EXPECT_EQ(ui().List3.Items(), (Texts{u"Ann reply", u"Cid reply", u"Bob reply"}));
  EXPECT_EQ(ui().List1.ListIndex(), 1);
  EXPECT_EQ(IdentityButtons(), (Buttons{true, true, true, true, true, true}));

  ui().cmdMoveUp.UserClick();
  EXPECT_EQ(ui().List1.ListIndex(), 0);
  EXPECT_EQ(IdentityButtons(), (Buttons{true, true, true, false, true, true}));
  EXPECT_EQ(outlook.site->statusChanges, 2);

  // At either end a move changes nothing and does not mark the page.
  page().cmdMoveUp_Click();
  ui().List1.UserClick(2);
  page().cmdMoveDown_Click();
  EXPECT_EQ(ui().List1.Items(), (Texts{Entry(u"Cid"), Entry(u"Ann"), Entry(u"Bob")}));
  EXPECT_EQ(outlook.site->statusChanges, 2);

  ui().List1.UserClick(0);
  ui().cmdMoveDown.UserClick();
  EXPECT_EQ(ui().List1.Items(), (Texts{Entry(u"Ann"), Entry(u"Cid"), Entry(u"Bob")}));
  EXPECT_EQ(ui().List1.ListIndex(), 1);
}

TEST_F(IdentitiesEditor, MovedEntryEqualToAnEarlierOneSelectsTheEarlierOne) {
  OpenPage();
  for (const char16_t* line : {u"Ann <a@x.example>", u"Bob <b@x.example>", u"ANN <A@X.EXAMPLE>"}) {
    ui().List1.AddItem(line);
    ui().List2.AddItem(u"");
    ui().List3.AddItem(u"");
  }
  ui().List1.UserClick(2);
  ui().cmdMoveUp.UserClick();
  EXPECT_EQ(ui().List1.ListIndex(), 0);
}

TEST_F(IdentitiesEditor, ButtonStatesFollowListAndSelection) {
  struct Case {
    Texts lines;
    std::int16_t selected;
    Buttons expected;
  };
  const Case cases[] = {
      {{}, -1, {false, false, false, false, false, true}},
      {{u"Sales /o=Org/cn=Sales"}, 0, {true, true, true, false, false, true}},
      {{u"A <a@x.example>", u"B <b@x.example>"}, -1, {false, false, true, false, false, true}},
      {{u"A <a@x.example>", u"B <b@x.example>", u"C <c@x.example>"}, 0,
       {true, true, true, false, true, true}},
      {{u"A <a@x.example>", u"B <b@x.example>", u"C <c@x.example>"}, 1,
       {true, true, true, true, true, true}},
      {{u"A <a@x.example>", u"B <b@x.example>", u"C <c@x.example>"}, 2,
       {true, true, true, true, false, true}},
      {{u"A <a@x.example>", u"Sales /o=Org/cn=Sales"}, 1, {false, true, true, true, false, true}},
  };
  OpenPage();
  for (const Case& c : cases) {
    ui().List1.Clear();
    for (const auto& line : c.lines) ui().List1.AddItem(line);
    ui().List1.UserClick(c.selected);
    EXPECT_EQ(IdentityButtons(), c.expected) << c.lines.size() << " lines, selected "
                                              << c.selected;
  }
}

class PopulateIdentities : public IdentitiesEditor {};

TEST_F(PopulateIdentities, OnlyThePrimaryAddressGivesTheMessage) {
  SeedDirectory({u"SMTP:ann.lee@corp.example"});
  OpenPage();
  user.AnswerMessageBox(platform::kAnswerOk);
  ui().cmdPopulate.UserClick();
  ASSERT_EQ(user.Dialogs().size(), 1u);
  EXPECT_EQ(user.Dialogs()[0].text,
            u"There are no SMTP addresses except the default one: ann.lee@corp.example\rin "
            u"Active Directory");
  EXPECT_EQ(user.Dialogs()[0].style, 48);
  EXPECT_EQ(user.Dialogs()[0].title, u"Quillon");
  EXPECT_TRUE(ui().List1.Items().empty());
  EXPECT_FALSE(page().PropertyPage_Dirty());
}

TEST_F(PopulateIdentities, SecondaryAddressesAreAddedOnce) {
  SeedDirectory({u"SMTP:ann.lee@corp.example", u"smtp:al@corp.example",
                 u"smtp: ann@corp.example "});
  OpenPage();
  ui().List1.AddItem(u"Someone Else <al@corp.example>");  // another name: no duplicate
  ui().List2.AddItem(u"");
  ui().List3.AddItem(u"");
  ui().cmdPopulate.UserClick();
  EXPECT_EQ(ui().List1.Items(), (Texts{u"Someone Else <al@corp.example>",
                                       u"Ann Lee <ann@corp.example>", u"Ann Lee <al@corp.example>"}));
  EXPECT_EQ(ui().List2.Items(), (Texts{u"", u"", u""}));
  EXPECT_EQ(ui().List3.ListCount(), 3);
  EXPECT_TRUE(page().PropertyPage_Dirty());

  SeedDirectory({u"SMTP:ann.lee@corp.example", u"smtp:AL@CORP.EXAMPLE"});
  ui().cmdPopulate.UserClick();  // everything present already: nothing, silently
  EXPECT_EQ(ui().List1.ListCount(), 3);
  EXPECT_TRUE(user.Dialogs().empty());
}

TEST_F(PopulateIdentities, PlaceholderOfAnEmptyCacheIsNoAddress) {
  registry.PutValue(platform::kCurrentUser,
                    Narrow(std::u16string(u"Software\\Microsoft\\Windows NT\\CurrentVersion\\"
                                          u"Windows Messaging Subsystem\\Profiles\\") +
                           kProfile + u"\\13dbb0c8aa05101a9bb000aa002fc45a"),
                    "101f6637", platform::kRegBinary, {});
  OpenPage();
  ASSERT_EQ(module.vDirAddresses, (Texts{u"(not defined for this account)"}));
  user.AnswerMessageBox(platform::kAnswerOk);
  ui().cmdPopulate.UserClick();
  EXPECT_TRUE(ui().List1.Items().empty());
  EXPECT_EQ(user.Dialogs().size(), 1u);
}

TEST_F(PopulateIdentities, WithoutProfileOrUserNothingIsRead) {
  outlook.addIn->userName = u"";
  SeedDirectory({u"smtp:al@corp.example"});
  OpenPage();
  ui().cmdPopulate.UserClick();
  EXPECT_TRUE(ui().List1.Items().empty());
  EXPECT_TRUE(user.Dialogs().empty());
}

TEST_F(PopulateIdentities, SharedMailboxesAreAddedAsGivenSkippingEmptyParts) {
  outlook.addIn->sharedMailboxes =
      u"\x01 Sales /o=Org/cn=Sales \x01\x01Help Desk /o=Org/cn=Help\x01";
  OpenPage();
  ui().cmdSharedMailboxes.UserClick();
  EXPECT_EQ(ui().List1.Items(), (Texts{u"Sales /o=Org/cn=Sales", u"Help Desk /o=Org/cn=Help"}));
  EXPECT_EQ(ui().List2.Items(), (Texts{u"", u""}));
  EXPECT_EQ(ui().List3.Items(), (Texts{u"", u""}));
  EXPECT_TRUE(page().PropertyPage_Dirty());
  ui().cmdSharedMailboxes.UserClick();
  EXPECT_EQ(ui().List1.ListCount(), 2);
  EXPECT_TRUE(user.Dialogs().empty());
}

TEST_F(PopulateIdentities, NoSharedMailboxesGivesTheMessage) {
  for (const char16_t* given : {u"", u"\x01 \x01"}) {
    outlook.addIn->sharedMailboxes = given;
    OpenPage();
    user.AnswerMessageBox(platform::kAnswerOk);
    ui().cmdSharedMailboxes.UserClick();
    EXPECT_EQ(user.Dialogs().back().text,
              u"There are no shared mailboxes in the current profile or\ryou have insufficient "
              u"rights on the shared mailbox(es)");
    EXPECT_EQ(user.Dialogs().back().style, 48);
    EXPECT_TRUE(ui().List1.Items().empty());
  }
}

}  // namespace
}  // namespace quillon::testing
