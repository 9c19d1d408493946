// Ways the Options dialog ends besides OK: the re-read button (save and restart
// at once), Escape and Cancel (nothing saved), and a page without its add-in.
#include <gtest/gtest.h>

#include "tests/e2e/e2e_support.h"

namespace quillon::e2e {
namespace {

using standin::driver::PageControl;

TEST(PageClosing, RereadSavesAnEmptyListAndRestartsForANewRead) {
  StandinSession session(nlohmann::json{{"outlook", {{"version", "16.0.0.5000"}}}});
  auto options = session.Options();
  ASSERT_TRUE(options);
  options->Click(PageControl::cmdRefresh);
  ASSERT_TRUE(AnswerDialog(session.ProcessId(),
         L"Outlook wiil be restarted to re-read the e-mail addresses stored in the Active Directory.\r"
         L"You should re-populate the list after restarting.\rContinue?",
         IDYES));
  // No restart question: the page closes the dialog itself with an Escape.
  ASSERT_EQ(session.WaitForEnd(), 0u);

  EXPECT_EQ(SubKeys(kAccountsKey), (Names{"00000002", "00000003"}));
  EXPECT_EQ(ReadValue(AccountKey("00000002"), "Account Name").bytes, StoredUtf16(u"Microsoft Exchange Server"));
  EXPECT_EQ(session.OutlookSaw(), (Names{"DialogClosed by Escape", "IsRestart Integer 2", "Save 2", "Close 2",
                                         "Save 1", "Close 1", "Quit", "ControlReleased 0"}));
}

// Escape, Cancel, and OK on a page without its add-in: the profile is left exactly
// as it was and Outlook keeps running.
TEST(PageClosing, WithoutOkOrWithoutTheAddInNothingIsSaved) {
  enum Ending { kEscape, kCancel, kNoAddIn };
  for (const Ending ending : {kEscape, kCancel, kNoAddIn}) {
    SCOPED_TRACE(ending);
    std::string before;
    const auto changes = ending == kNoAddIn ? nlohmann::json{{"addIn", {{"loaded", false}}}} : nlohmann::json::object();
    StandinSession session(changes, L"", [&] { before = RegistryImage(kProfileKey); });
    ASSERT_NE(before, "missing\n") << "the profile was not read";
    auto options = session.Options();
    ASSERT_TRUE(options);
    if (ending == kNoAddIn) {
      EXPECT_TRUE(options->Lines(PageControl::List1).empty());
      EXPECT_EQ(options->Text(PageControl::Label4_0).substr(0, 13), L"Quillon ver. ");
      options->ClickButton(IDOK);  // nothing changed: no question, the dialog just closes
    } else {
      options->Click(PageControl::Option1_2);
      ASSERT_TRUE(options->ClickListLine(PageControl::List1, 1));
      options->Click(PageControl::cmdMoveUp);
      ASSERT_TRUE(options->ApplyEnabled());
      if (ending == kEscape) PostMessageW(options->Control(PageControl::List1), WM_KEYDOWN, VK_ESCAPE, 1);
      if (ending == kCancel) options->ClickButton(IDCANCEL);
    }
    ASSERT_EQ(session.WaitForEnd(), 0u);
    EXPECT_EQ(RegistryImage(kProfileKey), before);
    const char* closedBy[] = {"DialogClosed by Escape", "DialogClosed by Cancel", "DialogClosed by OK"};
    EXPECT_EQ(session.OutlookSaw(), (Names{closedBy[ending], "ControlReleased 0"}));
    EXPECT_EQ(session.EventsNamed("ApplyCalled").size(), ending == kNoAddIn ? 1u : 0u);
  }
}

}  // namespace
}  // namespace quillon::e2e
