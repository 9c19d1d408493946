// The identities editor as a user works it: typing, changing, removing,
// reordering and filling identities, with the buttons following along.
#include <array>
#include <tuple>

#include "profile/profile_values.h"
#include "tests/core/page_test_world.h"

namespace quillon::testing {
namespace {

class IdentitiesEditor : public PageWorld16 {
 protected:
  // Identities 1, 2, ... with the signatures "<name> new" and "<name> reply".
  void OpenWith(const Texts& names) {
    std::int32_t number = 0;
    for (const auto& name : names) {
      SeedIdentity(++number, name, Email(name), name + u" new", name + u" reply");
    }
    OpenPage();
  }
  static std::u16string Email(const std::u16string& name) { return name + u"@x.example"; }
  static std::u16string Entry(const std::u16string& name) { return name + u" <" + Email(name) + u">"; }

  // Whether change, remove, remove all, move up, move down and populate are enabled.
  using Buttons = std::array<bool, 6>;
  Buttons IdentityButtons() {
    return {ui().cmdChange.Enabled(), ui().cmdRemove.Enabled(), ui().cmdRemoveAll.Enabled(),
            ui().cmdMoveUp.Enabled(), ui().cmdMoveDown.Enabled(), ui().cmdPopulate.Enabled()};
  }
};

TEST_F(IdentitiesEditor, TypedTextIsNormalisedOrRejected) {
  OpenPage();
  const std::pair<std::u16string, std::u16string> accepted[] = {
      {u"Ann Lee ann@x.example", u"Ann Lee <ann@x.example>"},
      {u"  Ann   Lee   <ann@x.example>  ", u"Ann   Lee <ann@x.example>"},
      {u"Ann <<ann@x>.example>>", u"Ann <ann@x.example>"},
      {u"Ann a.b@c", u"Ann <a.b@c>"},  // five characters, dot before the @
      {u"Ann Lee@x.example", u"Ann <Lee@x.example>"},
  };
  // The answer, and the text as the caller then has it.
  const auto validate = [&](const std::u16string& typed, std::int16_t answer, const std::u16string& after) {
    std::optional<std::u16string> text = typed;
    EXPECT_EQ(page().ValidateInput(text), answer) << Narrow(typed);
    EXPECT_EQ(*text, after);
  };
  for (const auto& [typed, normalised] : accepted) validate(typed, 1, normalised);
  const std::u16string rejected[] = {
      u"ann@x.example", u"",  u"Ann ab@c.", u"Ann @ab.c", u"Ann .ab@c", u"Ann a.bc@",
      u"Ann a.@b",  // four characters
      u"Ann abc@example", u"Ann abc.example", u"A/B a@x.example", u"A\\B a@x.example",
      u"A@B a@x.example", u"A<B a@x.example", u" <a@x.example>"};
  for (const auto& typed : rejected) validate(typed, -1, typed);
  std::optional<std::u16string> cancelled;
  EXPECT_EQ(page().ValidateInput(cancelled), 0);
  std::u16string email = u"  a.b@c  ";
  EXPECT_TRUE(page().ValidateSMTPEmail(email));
  EXPECT_EQ(email, u"a.b@c");
  EXPECT_TRUE(page().ValidateDN(u""));
}

TEST_F(IdentitiesEditor, AddAsksUntilValidThenAppendsNewEntriesWithEmptySignatures) {
  OpenWith({u"Bob"});
  user.TypeIntoInputBox(u"");
  user.TypeIntoInputBox(u"bare@x.example");
  ClickTyping(ui().cmdAdd, u"Ann Lee ann@x.example");

  ASSERT_EQ(user.Dialogs().size(), 3u);
  EXPECT_EQ(user.Dialogs()[0].text,
            u"Add new identity:\r\r  Example:\rJohn Smith <john.smith@example.com>");
  EXPECT_EQ(user.Dialogs()[0].title, u"Quillon");
  EXPECT_EQ(user.Dialogs()[0].defaultText, u"");
  EXPECT_EQ(user.Dialogs()[1].defaultText, u"");
  EXPECT_EQ(user.Dialogs()[2].defaultText, u"bare@x.example");
  EXPECT_EQ(user.Keys(), (Texts{u"{Right}", u"{Right}", u"{Right}"}));
  EXPECT_TRUE(IdentityLists({Entry(u"Bob"), u"Ann Lee <ann@x.example>"}, {u"Bob new", u""}, {u"Bob reply", u""}));
  EXPECT_EQ(ui().List1.ItemData(1), 0);
  EXPECT_EQ(ui().List1.ListIndex(), -1);
  EXPECT_TRUE(page().PropertyPage_Dirty());
  EXPECT_EQ(ui().List1.HorizontalExtent(), ExtentOf(23));

  // A cancel, or an entry already listed in another case, adds nothing.
  user.CancelInputBox();
  ui().cmdAdd.UserClick();
  ClickTyping(ui().cmdAdd, u"BOB bob@X.EXAMPLE");
  EXPECT_EQ(ui().List1.ListCount(), 2);
  EXPECT_EQ(outlook.site->statusChanges, 1);
}

TEST_F(IdentitiesEditor, ChangeRewritesTheSelectedEntryInPlace) {
  OpenWith({u"Bob", u"Cid"});
  ui().List1.UserClick(0);
  user.TypeIntoInputBox(u"bob BOB@x.example");  // equal ignoring case: nothing to store
  ui().cmdChange.UserClick();
  EXPECT_EQ(user.Dialogs()[0].text,
            u"Change selected identity:\r\r  Example:\rJohn Smith <john.smith@example.com>");
  EXPECT_EQ(user.Dialogs()[0].defaultText, Entry(u"Bob"));
  EXPECT_FALSE(page().PropertyPage_Dirty());

  ClickTyping(ui().cmdChange, u"Robert robert@x.example");
  EXPECT_EQ(ui().List1.Items(), (Texts{u"Robert <robert@x.example>", Entry(u"Cid")}));
  EXPECT_EQ(ui().List1.ItemData(0), 1);
  EXPECT_EQ(ui().List2.List(0), u"Bob new");
  EXPECT_EQ(ui().List3.List(0), u"Bob reply");
  EXPECT_TRUE(page().PropertyPage_Dirty());
}

TEST_F(IdentitiesEditor, RemoveTakesEntriesOutOfAllThreeListsAndNarrowsTheScrollRange) {
  OpenWith({u"Ann", u"Bartholomew", u"Cid"});
  EXPECT_EQ(ui().List1.HorizontalExtent(), ExtentOf(Entry(u"Bartholomew").size()));
  // Without a selection, changing and removing ask nothing.
  page().cmdChange_Click();
  page().cmdRemove_Click();
  EXPECT_TRUE(user.Dialogs().empty());
  ui().List1.UserClick(1);
  ClickAnswering(ui().cmdRemove, platform::kAnswerNo);
  EXPECT_EQ(ui().List1.ListCount(), 3);
  EXPECT_FALSE(page().PropertyPage_Dirty());

  ClickAnswering(ui().cmdRemove, platform::kAnswerYes);
  EXPECT_TRUE(MessageBoxShown(1, u"Are you sure you want to delete the selected item from the list?", 308));
  EXPECT_TRUE(IdentityLists({Entry(u"Ann"), Entry(u"Cid")}, {u"Ann new", u"Cid new"}, {u"Ann reply", u"Cid reply"}));
  EXPECT_EQ(ui().List1.ItemData(1), 3);
  EXPECT_EQ(ui().List1.ListIndex(), -1);
  EXPECT_EQ(IdentityButtons(), (Buttons{false, false, true, false, false, true}));
  EXPECT_TRUE(page().PropertyPage_Dirty());
  EXPECT_EQ(ui().List1.HorizontalExtent(), ExtentOf(Entry(u"Ann").size()));
}

TEST_F(IdentitiesEditor, RemoveAllAsksFirstAndEmptiesEvenASingleEntry) {
  OpenWith({u"Ann"});
  ClickAnswering(ui().cmdRemoveAll, platform::kAnswerNo);
  EXPECT_EQ(ui().List1.ListCount(), 1);
  EXPECT_FALSE(page().PropertyPage_Dirty());

  ClickAnswering(ui().cmdRemoveAll, platform::kAnswerYes);
  EXPECT_EQ(user.Dialogs()[1].text, u"Are you sure you want to delete all items from the list?");
  EXPECT_TRUE(IdentityLists({}, {}, {}));
  EXPECT_TRUE(page().PropertyPage_Dirty());
  EXPECT_EQ(ui().List1.HorizontalExtent(), 0);
  EXPECT_EQ(IdentityButtons(), (Buttons{false, false, false, false, false, true}));
  EXPECT_EQ(ui().lblDefAddress.Caption(), u"Ann Lee <>  (Default)");  // no primary address known
  page().cmdRemoveAll_Click();  // empty list: no question
  EXPECT_EQ(user.Dialogs().size(), 2u);
}

TEST_F(IdentitiesEditor, MovesCarryTextDataAndSignaturesAndKeepTheSelection) {
  OpenWith({u"Ann", u"Bob", u"Cid"});
  ui().List1.UserClick(2);
  ui().cmdMoveUp.UserClick();
  EXPECT_TRUE(IdentityLists({Entry(u"Ann"), Entry(u"Cid"), Entry(u"Bob")}, {u"Ann new", u"Cid new", u"Bob new"},
                            {u"Ann reply", u"Cid reply", u"Bob reply"}));
  EXPECT_EQ(ui().List1.ItemData(1), 3);
  EXPECT_EQ(ui().List1.ItemData(2), 2);
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

  // A moved entry equal to an earlier one selects the earlier one.
  ShowLines({u"Ann <a@x.example>", u"Bob <b@x.example>", u"ANN <A@X.EXAMPLE>"});
  ui().List1.UserClick(2);
  ui().cmdMoveUp.UserClick();
  EXPECT_EQ(ui().List1.ListIndex(), 0);
}

TEST_F(IdentitiesEditor, ButtonStatesFollowListAndSelection) {
  // Emptied, removed from and moved lists are checked where that happens.
  // The lines shown, the one selected, the buttons then.
  const std::tuple<Texts, std::int16_t, Buttons> cases[] = {
      {{u"Sales /o=Org/cn=Sales"}, 0, {true, true, true, false, false, true}},
      {{u"A <a@x.example>", u"B <b@x.example>", u"C <c@x.example>"}, 2,
       {true, true, true, true, false, true}},
      {{u"A <a@x.example>", u"Sales /o=Org/cn=Sales"}, 1, {false, true, true, true, false, true}},
  };
  OpenPage();
  for (const auto& [lines, selected, expected] : cases) {
    ShowLines(lines);
    ui().List1.UserClick(selected);
    EXPECT_EQ(IdentityButtons(), expected) << lines.size() << " lines, selected " << selected;
  }
}

class PopulateIdentities : public IdentitiesEditor {};

TEST_F(PopulateIdentities, WithoutSecondaryAddressesTheUserIsTold) {
  SeedDirectory({u"SMTP:ann.lee@corp.example"});
  OpenPage();
  ClickAnswering(ui().cmdPopulate, platform::kAnswerOk);
  ASSERT_EQ(user.Dialogs().size(), 1u);
  EXPECT_TRUE(MessageBoxShown(0,
                   u"There are no SMTP addresses except the default one: "
                   u"ann.lee@corp.example\rin Active Directory",
                   48));
  EXPECT_TRUE(ui().List1.Items().empty());
  EXPECT_FALSE(page().PropertyPage_Dirty());

  // The placeholder of an empty cache is no address either.
  Put(Narrow(profile::DirectorySectionKeyPath(kProfile)), "101f6637", {});
  OpenPage();
  ASSERT_EQ(module.vDirAddresses, (Texts{u"(not defined for this account)"}));
  ClickAnswering(ui().cmdPopulate, platform::kAnswerOk);
  EXPECT_TRUE(ui().List1.Items().empty());
  EXPECT_EQ(user.Dialogs().size(), 2u);
}

TEST_F(PopulateIdentities, SecondaryAddressesAreAddedOnce) {
  SeedDirectory({u"SMTP:ann.lee@corp.example", u"smtp:al@corp.example",
                 u"smtp: ann@corp.example "});
  OpenPage();
  ShowLines({u"Someone Else <al@corp.example>"});  // another name: no duplicate
  ui().cmdPopulate.UserClick();
  EXPECT_TRUE(IdentityLists({u"Someone Else <al@corp.example>", u"Ann Lee <ann@corp.example>", u"Ann Lee <al@corp.example>"},
                            {u"", u"", u""}, {u"", u"", u""}));
  EXPECT_TRUE(page().PropertyPage_Dirty());

  SeedDirectory({u"SMTP:ann.lee@corp.example", u"smtp:AL@CORP.EXAMPLE"});
  ui().cmdPopulate.UserClick();  // everything present already: nothing, silently
  EXPECT_EQ(ui().List1.ListCount(), 3);
  EXPECT_TRUE(user.Dialogs().empty());
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
  for (const char16_t* none : {u"", u"\x01 \x01"}) {
    outlook.addIn->sharedMailboxes = none;
    OpenPage();
    ClickAnswering(ui().cmdSharedMailboxes, platform::kAnswerOk);
    EXPECT_EQ(user.Dialogs().back().text,
              u"There are no shared mailboxes in the current profile or\ryou have insufficient "
              u"rights on the shared mailbox(es)");
    EXPECT_EQ(user.Dialogs().back().style, 48);
    EXPECT_TRUE(ui().List1.Items().empty());
  }
  outlook.addIn->sharedMailboxes =
      u"\x01 Sales /o=Org/cn=Sales \x01\x01Help Desk /o=Org/cn=Help\x01";
  OpenPage();
  ui().cmdSharedMailboxes.UserClick();
  EXPECT_TRUE(IdentityLists({u"Sales /o=Org/cn=Sales", u"Help Desk /o=Org/cn=Help"}, {u"", u""}, {u"", u""}));
  EXPECT_TRUE(page().PropertyPage_Dirty());
  ui().cmdSharedMailboxes.UserClick();  // all present already: nothing, silently
  EXPECT_EQ(ui().List1.ListCount(), 2);
  EXPECT_EQ(user.Dialogs().size(), 2u);
}

// Identity entries compare like Windows' ordinal comparison without regard to
// case, in every script; texts that only a case folding (not a simple uppercase
// mapping) would equate stay apart.
TEST_F(PopulateIdentities, CaseVariantsInAnyScriptAreOneIdentity) {
  OpenWith({u"Čapek"});
  for (const char16_t* variant : {u"čAPEK Čapek@X.example", u"ČAPEK čapek@x.EXAMPLE"}) {
    ClickTyping(ui().cmdAdd, variant);
  }
  EXPECT_EQ(ui().List1.Items(), (Texts{Entry(u"Čapek")}));
  for (const char16_t* distinct : {u"Straße strasse@x.example", u"STRASSE strasse@x.example",
                                   u"\u212Aim kim@x.example", u"kim kim@x.example"}) {
    ClickTyping(ui().cmdAdd, distinct);
  }
  EXPECT_EQ(ui().List1.ListCount(), 5);

  outlook.addIn->userName = u"Σοφία";
  outlook.addIn->sharedMailboxes = u"Ирина /o=Org/cn=Irina\x01ИРИНА /O=ORG/CN=IRINA";
  SeedDirectory({u"SMTP:sofia@corp.example", u"smtp:SOFIA.P@corp.example",
                 u"\u017Fmtp:long.s@corp.example"});  // long s: not the ASCII prefix
  OpenPage();
  ShowLines({u"ΣΟΦΊΑ <sofia.p@CORP.example>", u"ирина /O=org/CN=irina"});
  ui().cmdPopulate.UserClick();
  ui().cmdSharedMailboxes.UserClick();
  EXPECT_EQ(ui().List1.Items(), (Texts{u"ΣΟΦΊΑ <sofia.p@CORP.example>", u"ирина /O=org/CN=irina"}));
  EXPECT_FALSE(page().PropertyPage_Dirty());
  ui().List1.SetText(u"σοφία <SOFIA.P@corp.EXAMPLE>");
  EXPECT_EQ(ui().List1.ListIndex(), 0);
}

}  // namespace
}  // namespace quillon::testing
