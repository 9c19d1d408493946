// Ways the Options dialog ends besides OK: the re-read button (save and restart
// at once), Escape and Cancel (nothing saved), and a page without its add-in.
#include <gtest/gtest.h>

#include "tests/e2e/e2e_support.h"

namespace quillon::e2e {
namespace {

using standin::driver::OptionsWindow;
using standin::driver::PageControl;

using KeyValues = std::vector<std::pair<std::string, Value>>;

// Every value of the profile's keys, for "nothing was written".
std::vector<KeyValues> ProfileSnapshot() {
  std::vector<KeyValues> snapshot{AllValues(kProfileKey), AllValues(kAccountsKey)};
  for (const std::wstring& account : SubKeys(kAccountsKey)) snapshot.push_back(AllValues(AccountKey(account.c_str())));
  return snapshot;
}

bool SameValues(const std::vector<KeyValues>& a, const std::vector<KeyValues>& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (a[i].size() != b[i].size()) return false;
    for (size_t j = 0; j < a[i].size(); ++j)
      if (a[i][j].first != b[i][j].first || a[i][j].second.type != b[i][j].second.type ||
          a[i][j].second.bytes != b[i][j].second.bytes)
        return false;
  }
  return true;
}

TEST(PageClosing, RereadSavesAnEmptyListAndRestartsForANewRead) {
  StandinSession session(nlohmann::json{{"outlook", {{"version", "16.0.0.5000"}}}});
  ASSERT_TRUE(session.Started());
  auto options = OptionsWindow::Wait(session.ProcessId());
  ASSERT_TRUE(options);
  options->Click(PageControl::cmdRefresh);
  Answer(session.ProcessId(),
         L"Outlook wiil be restarted to re-read the e-mail addresses stored in the Active Directory.\r"
         L"You should re-populate the list after restarting.\rContinue?",
         IDYES);
  // No restart question: the page closes the dialog itself with an Escape.
  ASSERT_EQ(session.WaitForEnd(), 0u);

  EXPECT_EQ(SubKeys(kAccountsKey), (Lines{L"00000002", L"00000003"}));
  EXPECT_EQ(ReadValue(kAccountsKey, "{ED475418-B0D6-11D2-8C3B-00104B2A6676}")->bytes, LittleEndianList({2, 3}));
  EXPECT_EQ(ReadValue(AccountKey(L"00000002"), "Account Name")->bytes, StoredText(u"Microsoft Exchange Server"));
  EXPECT_EQ(session.OutlookSaw(), (std::vector<std::string>{"DialogClosed by Escape", "IsRestart Integer 2", "Save 2",
                                                            "Close 2", "Save 1", "Close 1", "Quit",
                                                            "ControlReleased 0"}));
}

TEST(PageClosing, EscapeAndCancelSaveNothingAndLeaveOutlookRunning) {
  for (const bool byEscape : {true, false}) {
    SCOPED_TRACE(byEscape ? "Escape" : "Cancel");
    std::vector<KeyValues> before;
    StandinSession session(nlohmann::json::object(), L"", [&] { before = ProfileSnapshot(); });
    ASSERT_TRUE(session.Started());
    auto options = OptionsWindow::Wait(session.ProcessId());
    ASSERT_TRUE(options);
    options->Click(PageControl::Option1_2);
    ASSERT_TRUE(options->ClickListLine(PageControl::List1, 1));
    options->Click(PageControl::cmdMoveUp);
    ASSERT_TRUE(options->ApplyEnabled());
    if (byEscape) {
      PostMessageW(options->Control(PageControl::List1), WM_KEYDOWN, VK_ESCAPE, 1);
    } else {
      options->ClickButton(IDCANCEL);
    }
    ASSERT_EQ(session.WaitForEnd(), 0u);
    EXPECT_TRUE(SameValues(ProfileSnapshot(), before));
    EXPECT_EQ(session.OutlookSaw(), (std::vector<std::string>{byEscape ? "DialogClosed by Escape"
                                                                       : "DialogClosed by Cancel",
                                                              "ControlReleased 0"}));
    EXPECT_TRUE(session.EventsNamed("ApplyCalled").empty());
  }
}

// The page's own window: the dialog's child that holds the page's controls.
HWND PageWindow(const OptionsWindow& options) {
  HWND window = options.Control(PageControl::List1);
  while (window && GetParent(window) != options.Window()) window = GetParent(window);
  return window;
}

TEST(PageHosting, ResizingTheDialogResizesThePageWithIt) {
  StandinSession session(nlohmann::json::object());
  ASSERT_TRUE(session.Started());
  auto options = OptionsWindow::Wait(session.ProcessId());
  ASSERT_TRUE(options);
  HWND page = PageWindow(*options);
  ASSERT_TRUE(page);
  RECT dialogBefore{}, pageBefore{}, pageAfter{};
  GetWindowRect(options->Window(), &dialogBefore);
  GetWindowRect(page, &pageBefore);
  SetWindowPos(options->Window(), nullptr, 0, 0, dialogBefore.right - dialogBefore.left + 60,
               dialogBefore.bottom - dialogBefore.top + 40, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  options->Settle();
  GetWindowRect(page, &pageAfter);
  EXPECT_EQ(pageAfter.right - pageAfter.left, pageBefore.right - pageBefore.left + 60);
  EXPECT_EQ(pageAfter.bottom - pageAfter.top, pageBefore.bottom - pageBefore.top + 40);
  options->ClickButton(IDCANCEL);
  EXPECT_EQ(session.WaitForEnd(), 0u);
}

TEST(PageHosting, AClassThatIsNotRegisteredIsReportedAndNothingHosted) {
  StandinSession session(nlohmann::json::object(), L"--progid Quillon.NotThere");
  ASSERT_TRUE(session.Started());
  EXPECT_EQ(session.WaitForEnd(), 3u);
  const auto failed = session.EventsNamed("ControlCreateFailed");
  ASSERT_EQ(failed.size(), 1u);
  EXPECT_EQ(failed[0]["step"], "CLSIDFromProgID");
  EXPECT_TRUE(session.EventsNamed("ControlReleased").empty());
}

TEST(PageClosing, WithoutTheAddInThePageShowsNothingAndSavesNothing) {
  std::vector<KeyValues> before;
  StandinSession session({{"addIn", {{"loaded", false}}}}, L"", [&] { before = ProfileSnapshot(); });
  ASSERT_TRUE(session.Started());
  auto options = OptionsWindow::Wait(session.ProcessId());
  ASSERT_TRUE(options);
  EXPECT_TRUE(options->Lines(PageControl::List1).empty());
  EXPECT_EQ(options->Text(PageControl::Label4_0).substr(0, 13), L"Quillon ver. ");
  options->ClickButton(IDOK);  // nothing changed: no question, the dialog just closes
  ASSERT_EQ(session.WaitForEnd(), 0u);
  EXPECT_TRUE(SameValues(ProfileSnapshot(), before));
  EXPECT_TRUE(session.EventsNamed("Quit").empty());
  EXPECT_TRUE(session.EventsNamed("IsRestart").empty());
}

}  // namespace
}  // namespace quillon::e2e
