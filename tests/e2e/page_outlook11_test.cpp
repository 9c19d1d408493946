// The whole life of the page in Outlook 11, where the monitored-folders editor
// exists: load, identities, folders through the folder chooser, OK, restart.
#include <gtest/gtest.h>

#include "tests/e2e/e2e_support.h"
#include "tests/support/checks.h"

namespace quillon::e2e {
namespace {

using standin::driver::ChooseFolderPath;
using standin::driver::OptionsWindow;
using standin::driver::PageControl;
using standin::driver::WaitForModal;

constexpr wchar_t kProjects[] = L"00000000D1F1A0E5A11CE0C0FFEE000010A1";
constexpr wchar_t kCustomers[] = L"00000000D1F1A0E5A11CE0C0FFEE000010B2";
constexpr wchar_t kOrders[] = L"00000000D1F1A0E5A11CE0C0FFEE000010C4";
constexpr wchar_t kSupportMailbox[] = L"/o=Quillon/ou=Exchange Administrative Group/cn=Recipients/cn=support";

// The stored form of monitored folders: each EntryID followed by a TAB.
Bytes StoredFolders(std::initializer_list<const wchar_t*> entryIds) {
  std::u16string text;
  for (const wchar_t* entryId : entryIds) {
    text.append(entryId, entryId + wcslen(entryId));
    text += u'\t';
  }
  return StoredUtf16(text);
}

using ::testing::AssertionFailure;
using ::testing::AssertionResult;
using ::testing::AssertionSuccess;
using quillon::testing::Checks;

AssertionResult AddIdentityTypingAWrongOneFirst(OptionsWindow& options, DWORD processId) {
  options.Click(PageControl::cmdAdd);
  auto box = WaitForModal(processId);
  if (!box || !box->hasEdit) return AssertionFailure() << "no input box";
  Checks checks("the first input box");
  checks.Equal(box->text.substr(0, 17), std::wstring(L"Add new identity:"), "prompt");
  if (!Type(*box, L"alex") || !Press(*box, IDOK)) return AssertionFailure() << "typing into it";
  box = WaitForModal(processId);  // a single word is no identity: asked again with it
  if (!box || !box->hasEdit) return AssertionFailure() << "not asked again";
  checks.Equal(EditText(*box), std::wstring(L"alex"), "the text offered again");
  if (!Type(*box, L"  Alex Example <alex.example@quillon-sample.com> ") || !Press(*box, IDOK)) {
    return AssertionFailure() << "typing into the second box";
  }
  options.Settle();
  return checks;
}

AssertionResult AddFolderAfterARefusedOne(OptionsWindow& options, DWORD processId) {
  options.Click(PageControl::cmdAddFolder);
  auto chooser = WaitForModal(processId, standin::kFolderChooserTitle);
  if (!chooser || !ChooseFolderPath(*chooser, L"Mailbox - Jane Doe\\Inbox")) {
    return AssertionFailure() << "choosing the Inbox";
  }
  if (AssertionResult refused =
          AnswerDialog(processId, L"You should select a non-default folder in the default mailbox", IDOK);
      !refused) {
    return refused;
  }
  chooser = WaitForModal(processId, standin::kFolderChooserTitle);  // offered again
  if (!chooser || !ChooseFolderPath(*chooser, L"Mailbox - Jane Doe\\Orders")) {
    return AssertionFailure() << "choosing Orders when offered again";
  }
  options.Settle();
  return AssertionSuccess();
}

TEST(PageInOutlook11, EditsIdentitiesAndFoldersThenSavesAndRestartsOutlook) {
  std::string pop3Before;
  StandinSession session({{"outlook", {{"version", "11.0.8169.0"}}}}, L"", [&] {
    // A folder that no longer opens sits between two that do.
    WriteValue(kProfileKey, "monitoredfolders",
               {platform::kRegBinary, StoredFolders({kProjects, L"00000000DEADDEADDEADDEADDEAD00000000", kCustomers})});
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
  EXPECT_EQ(ReadValue(kProfileKey, "monitoredfolders")->bytes, StoredFolders({kProjects, kCustomers}));
  EXPECT_FALSE(options->ApplyEnabled());
  EXPECT_TRUE(session.EventsNamed("OnStatusChange").empty());  // loading selects an option, unchanged all the same

  ASSERT_TRUE(AddIdentityTypingAWrongOneFirst(*options, session.ProcessId()));
  EXPECT_TRUE(options->ApplyEnabled());
  const auto changes = session.EventsNamed("OnStatusChange");
  ASSERT_EQ(changes.size(), 1u);  // the rejected input changed nothing
  EXPECT_EQ(changes[0]["dirty"], true);
  ASSERT_TRUE(options->ClickListLine(PageControl::List1, 2));
  options->Click(PageControl::cmdMoveUp);
  EXPECT_EQ(options->Lines(PageControl::List1),
            (Lines{L"Jane Doe - Sales <sales@quillon-sample.com>", L"Alex Example <alex.example@quillon-sample.com>",
                   std::wstring(L"Support Desk ") + kSupportMailbox}));

  ASSERT_TRUE(AddFolderAfterARefusedOne(*options, session.ProcessId()));
  ASSERT_TRUE(options->ClickListLine(PageControl::List4, 0));
  options->Click(PageControl::cmdDeleteFolder);
  ASSERT_TRUE(AnswerDialog(session.ProcessId(), L"Are you sure you want to delete the selected item from the list?", IDYES));
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
    EXPECT_EQ(ReadValue(AccountKey(account), "Email")->bytes, StoredUtf16(email)) << account;
  }
  EXPECT_EQ(ReadValue(kAccountsKey, kOrderList)->bytes,
            Dwords({2, 3, 13, 14, 15}));
  EXPECT_EQ(ReadValue(kAccountsKey, "NextAccountID"), Dword(16));
  // The Exchange account carries the default identity; the POP3 account is untouched.
  EXPECT_EQ(ReadValue(AccountKey("00000002"), "Account Name")->bytes,
            StoredUtf16(u"EX [Jane Doe <jane.doe@quillon-sample.com>]"));
  EXPECT_EQ(RegistryImage(AccountKey("00000003")), pop3Before);
  EXPECT_EQ(ReadValue(kProfileKey, "replyaddressformat")->bytes, StoredUtf16(u"2"));
  EXPECT_EQ(ReadValue(kProfileKey, "monitoredfolders")->bytes, StoredFolders({kCustomers, kOrders}));

  // What Outlook saw: the page destroyed, the add-in told, windows saved and closed from the last, Quit.
  EXPECT_EQ(session.OutlookSaw(),
            (Names{"DialogClosed by OK", "IsRestart Integer 1", "Save 2", "Close 2", "Save 1",
                                      "Close 1", "Quit", "ControlReleased 0"}));
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
  const auto picks = session.EventsNamed("PickFolder");
  ASSERT_EQ(picks.size(), 2u);
  EXPECT_EQ(picks[0]["answer"], "Mailbox - Jane Doe\\Inbox");
  EXPECT_EQ(picks[1]["answer"], "Mailbox - Jane Doe\\Orders");
}

}  // namespace
}  // namespace quillon::e2e
