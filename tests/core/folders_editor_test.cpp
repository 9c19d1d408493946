// The monitored-folders editor of Outlook 11: load, choose, remove, apply.
#include <tuple>

#include "folders/folder_path.h"
#include "platform/text.h"
#include "tests/core/page_test_world.h"

namespace quillon::testing {
namespace {

class FoldersEditor : public PageWorld {
 protected:
  FoldersEditor() {
    inbox = outlook.DefaultFolder(platform::kFolderInbox);
    projects = outlook.AddFolder(inbox, u"Projects");
    archived = outlook.AddFolder(outlook.AddStore(u"Archive"), u"Projects");
  }
  Bytes StoredFolders(std::initializer_list<std::shared_ptr<FakeFolder>> folders) {
    std::u16string text;
    for (const auto& folder : folders) text += folder->entryId() + u"\t";
    return StoredUtf16(text);
  }
  std::u16string PathOf(FakeFolder& folder) {
    return GetFolderPath(folder, outlook.mailboxRoot->storeId(), outlook.mailboxRoot->entryId());
  }
  std::shared_ptr<FakeFolder> inbox, projects, archived;
};

constexpr char16_t kRefused[] = u"You should select a non-default folder in the default mailbox";

TEST_F(FoldersEditor, LoadDropsFoldersThatNoLongerOpenAndRewritesTheValue) {
  const auto reports = outlook.AddFolder(outlook.mailboxRoot, u"Reports");
  const auto gone = outlook.AddFolder(outlook.mailboxRoot, u"Gone");
  SeedProfileValue("monitoredfolders", StoredFolders({projects, gone, reports}));
  outlook.mailboxRoot->children.pop_back();  // "Gone" was deleted since
  OpenPage();
  EXPECT_EQ(ui().List4.Items(), (Texts{u"Inbox\\Projects", u"Reports"}));
  EXPECT_EQ(ui().List5.Items(), (Texts{projects->entryId(), reports->entryId()}));
  EXPECT_EQ(ProfileValue("monitoredfolders"), StoredFolders({projects, reports}));
  EXPECT_FALSE(page().PropertyPage_Dirty());
  EXPECT_EQ(module.sDefRootID, outlook.mailboxRoot->entryId());
  EXPECT_TRUE(ui().cmdDeleteAllFolders.Enabled());
  EXPECT_FALSE(ui().cmdDeleteFolder.Enabled());
}

TEST_F(FoldersEditor, WithoutANamespaceTheStoredFoldersAreNeitherDroppedNorOverwritten) {
  SeedProfileValue("monitoredfolders", StoredFolders({projects}));
  outlook.app->Fail("GetNamespace");
  OpenPage();
  EXPECT_EQ(ui().List4.ListCount(), 0);
  ui().Option1_1.UserClick();
  ApplyAnswering(platform::kAnswerNo);
  EXPECT_EQ(ProfileValue("replyaddressformat"), StoredUtf16(u"1"));
  EXPECT_EQ(ProfileValue("monitoredfolders"), StoredFolders({projects}));
}

TEST_F(FoldersEditor, DefaultFoldersAndOtherStoresAreRefusedUntilAProperOneIsChosen) {
  OpenPage();
  for (const auto& refused : {inbox, outlook.DefaultFolder(platform::kFolderSentMail), archived,
                              outlook.DefaultFolder(platform::kFolderAllPublicFolders)}) {
    user.ChooseFolder(refused);
    user.AnswerMessageBox(platform::kAnswerOk);
  }
  user.ChooseFolder(projects);
  ui().cmdAddFolder.UserClick();

  // Choosers and refusals alternate; the script fails the test otherwise.
  ASSERT_EQ(user.Dialogs().size(), 9u);
  for (std::size_t i = 1; i < 9; i += 2) EXPECT_TRUE(MessageBoxShown(i, kRefused, 48));
  EXPECT_EQ(ui().List4.Items(), (Texts{u"Inbox\\Projects"}));
  EXPECT_EQ(ui().List5.Items(), (Texts{projects->entryId()}));
  EXPECT_TRUE(page().PropertyPage_Dirty());
  EXPECT_TRUE(ui().cmdDeleteAllFolders.Enabled());
}

TEST_F(FoldersEditor, RootFolderAndRepeatedChoicesAreAcceptedACancelChangesNothing) {
  OpenPage();
  user.ChooseFolder(nullptr);
  ui().cmdAddFolder.UserClick();
  outlook.ns->Fail("PickFolder");
  ui().cmdAddFolder.UserClick();
  EXPECT_EQ(ui().List4.ListCount(), 0);
  EXPECT_FALSE(page().PropertyPage_Dirty());

  outlook.ns->Heal("PickFolder");
  for (int i = 0; i < 2; ++i) {
    user.ChooseFolder(outlook.mailboxRoot);
    ui().cmdAddFolder.UserClick();
  }
  EXPECT_EQ(ui().List4.Items(), (Texts{u"Mailbox - Ann Lee", u"Mailbox - Ann Lee"}));
  EXPECT_EQ(ui().List5.ListCount(), 2);
}

// Which folders may be monitored: no default folder, none of another store, none
// that cannot be checked. A default folder Outlook cannot look up counts as
// missing (a profile without a server has no public or conflict folders).
TEST_F(FoldersEditor, OnlyNonDefaultFoldersOfTheDefaultMailboxAreProper) {
  const auto tasks = outlook.DefaultFolder(platform::kFolderTasks);
  const std::vector<std::string> noServer{"GetDefaultFolder 18", "GetDefaultFolder 19"};
  // Each case: what it is, the object whose calls fail (none: nothing fails), those calls,
  // whether they fail from the load on (else only once the page is loaded), the folder asked
  // about and whether it is proper. First: the module keeps the default mailbox a page found
  // for the pages after it.
  using Folder = std::shared_ptr<FakeFolder>;
  const std::tuple<const char*, FailureSwitch*, std::vector<std::string>, bool, Folder, bool> cases[] = {
      {"a folder without a default mailbox", inbox.get(), {"Parent"}, true, projects, false},
      {"the root without a default mailbox", inbox.get(), {"Parent"}, true, outlook.mailboxRoot, false},
      {"a folder of the mailbox", nullptr, {}, false, projects, true},
      {"the root", nullptr, {}, false, outlook.mailboxRoot, true},
      {"the Inbox", nullptr, {}, false, inbox, false},
      {"Tasks, beside lookups that fail", outlook.ns.get(), noServer, true, tasks, false},
      {"a folder beside lookups that fail", outlook.ns.get(), noServer, true, projects, true},
      {"the Inbox when no lookup succeeds", outlook.ns.get(), {"GetDefaultFolder"}, false, inbox, true},
      {"a folder whose store cannot be read", projects.get(), {"StoreID"}, false, projects, false},
      {"a folder whose identifier cannot be read", projects.get(), {"EntryID"}, false, projects, false},
  };
  for (const auto& [what, failing, calls, fromTheLoad, folder, proper] : cases) {
    if (fromTheLoad) for (const std::string& call : calls) failing->Fail(call);
    OpenPage();
    if (!fromTheLoad) for (const std::string& call : calls) failing->Fail(call);
    EXPECT_EQ(page().IsProperFolder(*folder), proper) << what;
    for (const std::string& call : calls) failing->Heal(call);
  }
  for (const auto& [type, folder] : outlook.ns->defaultFolders) EXPECT_FALSE(page().IsProperFolder(*folder)) << type;
}

TEST_F(FoldersEditor, RemovingFoldersKeepsBothListsInStep) {
  const auto a = outlook.AddFolder(outlook.mailboxRoot, u"A very long folder name");
  const auto b = outlook.AddFolder(outlook.mailboxRoot, u"B");
  SeedProfileValue("monitoredfolders", StoredFolders({a, projects, b}));
  OpenPage();
  ui().List4.UserClick(0);
  EXPECT_TRUE(ui().cmdDeleteFolder.Enabled());
  ClickAnswering(ui().cmdDeleteFolder, platform::kAnswerNo);
  EXPECT_EQ(ui().List4.ListCount(), 3);
  EXPECT_FALSE(page().PropertyPage_Dirty());

  ClickAnswering(ui().cmdDeleteFolder, platform::kAnswerYes);
  EXPECT_EQ(user.Dialogs()[1].text,
            u"Are you sure you want to delete the selected item from the list?");
  EXPECT_EQ(ui().List4.Items(), (Texts{u"Inbox\\Projects", u"B"}));
  EXPECT_EQ(ui().List5.Items(), (Texts{projects->entryId(), b->entryId()}));
  EXPECT_EQ(ui().List4.HorizontalExtent(), ExtentOf(14));
  EXPECT_FALSE(ui().cmdDeleteFolder.Enabled());
  EXPECT_TRUE(page().PropertyPage_Dirty());

  ClickAnswering(ui().cmdDeleteAllFolders, platform::kAnswerYes);
  EXPECT_EQ(user.Dialogs()[2].text, u"Are you sure you want to delete all items from the list?");
  EXPECT_TRUE(ui().List4.Items().empty() && ui().List5.Items().empty());
  EXPECT_EQ(ui().List4.HorizontalExtent(), 0);
  EXPECT_FALSE(ui().cmdDeleteFolder.Enabled() || ui().cmdDeleteAllFolders.Enabled());
  page().cmdDeleteFolder_Click();  // nothing left: no questions
  page().cmdDeleteAllFolders_Click();
  EXPECT_EQ(user.Dialogs().size(), 3u);

  // An empty list is stored as an empty text.
  ApplyAnswering(platform::kAnswerNo);
  EXPECT_EQ(ProfileValue("monitoredfolders"), (Bytes{0, 0}));
}

TEST_F(FoldersEditor, PathNamesUpToTwentyAncestorsBelowTheRootAndLeavesOutUnreadableParts) {
  EXPECT_EQ(PathOf(*projects), u"Inbox\\Projects");
  EXPECT_EQ(PathOf(*inbox), u"Inbox");
  EXPECT_EQ(PathOf(*outlook.mailboxRoot), u"Mailbox - Ann Lee");
  EXPECT_EQ(PathOf(*archived), u"Projects");

  auto folder = outlook.mailboxRoot;
  std::u16string expected;
  for (int level = 1; level <= 22; ++level) {
    folder = outlook.AddFolder(folder, u"L" + text::Decimal(level));
    if (level >= 2) expected += (expected.empty() ? u"" : u"\\") + (u"L" + text::Decimal(level));
  }
  EXPECT_EQ(PathOf(*folder), expected);  // L1 is the 21st ancestor: left out

  projects->Fail("Name");
  EXPECT_EQ(PathOf(*projects), u"Inbox\\");
  projects->Heal("Name");
  inbox->Fail("EntryID");
  EXPECT_EQ(PathOf(*projects), u"Projects");
  inbox->Heal("EntryID");
  // A parent that cannot be had ends the walk instead of repeating the name.
  projects->Fail("Parent");
  EXPECT_EQ(PathOf(*projects), u"Projects");
}

}  // namespace
}  // namespace quillon::testing
