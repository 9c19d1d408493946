// The whole life of the page in Outlook 11, where the monitored-folders editor
// exists: load, identities, folders through the folder chooser, OK, restart.
#include <gtest/gtest.h>

#include "tests/e2e/e2e_support.h"

namespace quillon::e2e {
namespace {

using standin::driver::ChooseFolderPath;
using standin::driver::PageControl;
using standin::driver::WaitForModal;

constexpr char16_t kProjects[] = u"00000000D1F1A0E5A11CE0C0FFEE000010A1";
constexpr char16_t kCustomers[] = u"00000000D1F1A0E5A11CE0C0FFEE000010B2";
constexpr char16_t kOrders[] = u"00000000D1F1A0E5A11CE0C0FFEE000010C4";
constexpr wchar_t kSupportMailbox[] = L"/o=Quillon/ou=Exchange Administrative Group/cn=Recipients/cn=support";

// The stored form of monitored folders: each EntryID followed by a TAB.
Bytes StoredFolders(std::initializer_list<std::u16string_view> entryIds) {
  std::u16string text;
  for (const std::u16string_view entryId : entryIds) text.append(entryId).append(u"\t");
  return StoredUtf16(text);
}

TEST(PageInOutlook11, EditsIdentitiesAndFoldersThenSavesAndRestartsOutlook) {
  std::string pop3Before;
  StandinSession session({{"outlook", {{"version", "11.0.8169.0"}}}}, L"", [&] {
    // A folder that no longer opens sits between two that do.
    WriteValue(kProfileKey, "monitoredfolders",
               {platform::kRegBinary, StoredFolders({kProjects, u"00000000DEADDEADDEADDEADDEAD00000000", kCustomers})});
    pop3Before = RegistryImage(AccountKey("00000003"));
  });
  auto options = session.Options();
  ASSERT_TRUE(options);

  // Loaded: identities with their forms, the stored format, the folders that still open.
  EXPECT_EQ(options->Text(PageControl::lblDefAddress), L"Jane Doe <jane.doe@quillon-sample.com>  (Default)");
  EXPECT_EQ(options->Lines(PageControl::List1),
            (Lines{L"Jane Doe - Sales <sales@quillon-sample.com>", std::wstring(L"Support Desk ") + kSupportMailbox}));
  EXPECT_EQ(options->Lines(PageControl::List2), (Lines{L"Sales", L"Support"}));
  EXPECT_TRUE(options->Checked(PageControl::Option1_1));
  EXPECT_TRUE(options->Visible(PageControl::List4));
  EXPECT_EQ(options->Lines(PageControl::List4), (Lines{L"Inbox\\Projects", L"Inbox\\Customers"}));
  EXPECT_EQ(ReadValue(kProfileKey, "monitoredfolders").bytes, StoredFolders({kProjects, kCustomers}));
  EXPECT_FALSE(options->ApplyEnabled());
  EXPECT_TRUE(session.EventsNamed("OnStatusChange").empty());  // loading selects an option, unchanged all the same

  options->Click(PageControl::cmdAdd);
  auto box = WaitForModal(session.ProcessId());
  ASSERT_TRUE(box && box->hasEdit);
  EXPECT_EQ(box->text.substr(0, 17), L"Add new identity:");
  ASSERT_TRUE(Type(*box, L"alex") && Press(*box, IDOK));
  box = WaitForModal(session.ProcessId());  // a single word is no identity: asked again with it
  ASSERT_TRUE(box && box->hasEdit);
  EXPECT_EQ(EditText(*box), L"alex");
  ASSERT_TRUE(Type(*box, L"  Alex Example <alex.example@quillon-sample.com> ") && Press(*box, IDOK));
  options->Settle();
  EXPECT_TRUE(options->ApplyEnabled());
  const auto changes = session.EventsNamed("OnStatusChange");
  ASSERT_EQ(changes.size(), 1u);  // the rejected input changed nothing
  EXPECT_EQ(changes[0]["dirty"], true);
  ASSERT_TRUE(options->ClickListLine(PageControl::List1, 2));
  options->Click(PageControl::cmdMoveUp);
  EXPECT_EQ(options->Lines(PageControl::List1),
            (Lines{L"Jane Doe - Sales <sales@quillon-sample.com>", L"Alex Example <alex.example@quillon-sample.com>",
                   std::wstring(L"Support Desk ") + kSupportMailbox}));

  options->Click(PageControl::cmdAddFolder);
  auto chooser = WaitForModal(session.ProcessId(), standin::kFolderChooserTitle);
  ASSERT_TRUE(chooser && ChooseFolderPath(*chooser, L"Mailbox - Jane Doe\\Inbox"));
  ASSERT_TRUE(
      AnswerDialog(session.ProcessId(), L"You should select a non-default folder in the default mailbox", IDOK));
  chooser = WaitForModal(session.ProcessId(), standin::kFolderChooserTitle);  // offered again
  ASSERT_TRUE(chooser && ChooseFolderPath(*chooser, L"Mailbox - Jane Doe\\Orders"));
  options->Settle();
  ASSERT_TRUE(options->ClickListLine(PageControl::List4, 0));
  options->Click(PageControl::cmdDeleteFolder);
  ASSERT_TRUE(AnswerDialog(session.ProcessId(), kDeleteQuestion, IDYES));
  EXPECT_EQ(options->Lines(PageControl::List4), (Lines{L"Inbox\\Customers", L"Orders"}));
  options->Click(PageControl::Option1_2);

  options->ClickButton(IDOK);
  ASSERT_TRUE(AnswerDialog(session.ProcessId(), kRestartQuestion, IDYES));
  ASSERT_EQ(session.WaitForEnd(), 0u);

  // The identities, in list order, each with its own new account number.
  EXPECT_EQ(SubKeys(kAccountsKey), (Names{"00000002", "00000003", "0000000d", "0000000e", "0000000f"}));
  // How an identity is written is the profile suites' business; here: which account holds which.
  for (const auto& [account, email] : {std::pair{"0000000d", u"sales@quillon-sample.com"},
                                       {"0000000e", u"alex.example@quillon-sample.com"}}) {
    EXPECT_EQ(ReadValue(AccountKey(account), "Email").bytes, StoredUtf16(email)) << account;
  }
  // The Exchange account carries the default identity; the POP3 account is untouched.
  EXPECT_EQ(ReadValue(AccountKey("00000002"), "Account Name").bytes,
            StoredUtf16(u"EX [Jane Doe <jane.doe@quillon-sample.com>]"));
  EXPECT_EQ(RegistryImage(AccountKey("00000003")), pop3Before);
  EXPECT_EQ(ReadValue(kProfileKey, "replyaddressformat").bytes, StoredUtf16(u"2"));
  EXPECT_EQ(ReadValue(kProfileKey, "monitoredfolders").bytes, StoredFolders({kCustomers, kOrders}));

  // What Outlook saw: the page destroyed, the add-in told, windows saved and closed from the last, Quit.
  EXPECT_EQ(session.OutlookSaw(),
            (Names{"DialogClosed by OK", "IsRestart Integer 1", "Save 2", "Close 2", "Save 1", "Close 1", "Quit",
                   "ControlReleased 0"}));
  for (const auto& close : session.EventsNamed("Close")) EXPECT_EQ(close["saveMode"], -1);  // Close(True)
  // What the page went on without, as its debug output told it with Outlook's
  // HRESULTs: the folder that no longer opens (dropped), the NUL that ends the
  // stored list, and the default folder this mailbox lacks (All Public Folders).
  Names diagnostics;
  for (const auto& event : session.EventsNamed("Diagnostic")) diagnostics.push_back(event.value("text", ""));
  EXPECT_EQ(diagnostics,
            (Names{"Load: folders: NameSpace.GetFolderFromID [00000000DEADDEADDEADDEADDEAD00000000] failed with "
                   "0x8004010F",
                   "Load: folders: NameSpace.GetFolderFromID [\\x00] failed with 0x8004010F",
                   "Add folder: NameSpace.GetDefaultFolder [18] failed with 0x8004010F"}));
}

}  // namespace
}  // namespace quillon::e2e
