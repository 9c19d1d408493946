// The page in a Spanish Outlook 16 (no folder editor), created InitNew first: the
// dialog's Apply button with a No to the restart, then OK with a Yes.
#include <gtest/gtest.h>

#include "tests/e2e/e2e_support.h"

namespace quillon::e2e {
namespace {

using standin::driver::PageControl;

constexpr wchar_t kSupport[] =
    L"Support Desk /o=Quillon/ou=Exchange Administrative Group/cn=Recipients/cn=support";

TEST(PageInOutlook16, ApplyKeepsTheDialogOpenOnNoThenOkRestarts) {
  StoredValue foldersBefore;
  StandinSession session({{"outlook", {{"version", "16.0.0.5000"}, {"uiLanguage", 0x0C0A}}},  // Spanish
                          {"inspectors", {{{"subject", "New message"}}}}},
                         L"--init-new-first", [&] { foldersBefore = ReadValue(kProfileKey, "monitoredfolders"); });
  auto options = session.Options();
  ASSERT_TRUE(options);
  const auto created = session.EventsNamed("ControlCreated");
  ASSERT_EQ(created.size(), 1u);
  EXPECT_EQ(created[0]["setClientSiteFirst"], false);

  // No folder editor from version 12 on.
  EXPECT_FALSE(options->Visible(PageControl::List4));
  EXPECT_FALSE(options->Visible(PageControl::Frame2));
  EXPECT_FALSE(options->Visible(PageControl::cmdAddFolder));

  // Remove the first identity.
  ASSERT_TRUE(options->ClickListLine(PageControl::List1, 0));
  options->Click(PageControl::cmdRemove);
  ASSERT_TRUE(AnswerDialog(session.ProcessId(), kDeleteQuestion, IDYES));
  EXPECT_EQ(options->Lines(PageControl::List1), (Lines{kSupport}));
  EXPECT_EQ(options->Lines(PageControl::List3), (Lines{L"Support"}));
  ASSERT_TRUE(options->ApplyEnabled());

  // Apply saves at once; No to the restart leaves the dialog open and unchanged.
  options->ClickButton(standin::kApplyButtonId);
  ASSERT_TRUE(AnswerDialog(session.ProcessId(), kRestartQuestion, IDNO));
  options->Settle();
  ASSERT_TRUE(IsWindow(options->Window()));
  EXPECT_FALSE(options->ApplyEnabled());
  EXPECT_EQ(SubKeys(kAccountsKey), (Names{"00000002", "00000003", "0000000d"}));
  // Only a mailbox identity left: the Exchange account gets its default name back, in Spanish.
  EXPECT_EQ(ReadValue(AccountKey("00000002"), "Account Name").bytes, StoredUtf16(u"Servidor de Microsoft Exchange"));
  EXPECT_TRUE(session.EventsNamed("Quit").empty());

  options->Click(PageControl::Option1_0);
  EXPECT_TRUE(options->ApplyEnabled());
  options->ClickButton(IDOK);
  ASSERT_TRUE(AnswerDialog(session.ProcessId(), kRestartQuestion, IDYES));
  ASSERT_EQ(session.WaitForEnd(), 0u);

  // Every Apply rewrites the identities: the one left gets the next number.
  EXPECT_EQ(SubKeys(kAccountsKey), (Names{"00000002", "00000003", "0000000e"}));
  EXPECT_EQ(ReadValue(kProfileKey, "replyaddressformat").bytes, StoredUtf16(u"0"));
  ASSERT_FALSE(foldersBefore.bytes.empty());
  EXPECT_EQ(ReadValue(kProfileKey, "monitoredfolders"), foldersBefore);  // never touched
  EXPECT_EQ(session.OutlookSaw(),
            (Names{"DialogClosed by OK", "IsRestart Integer 1", "Save 1", "Close 1", "Quit", "ControlReleased 0"}));
  EXPECT_TRUE(session.EventsNamed("GetFolderFromID").empty());
}

}  // namespace
}  // namespace quillon::e2e
