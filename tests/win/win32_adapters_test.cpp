// The Win32 side of the page's platform interfaces: list boxes, buttons,
// labels, message boxes and the input box, driven as the page drives them.
#include <gtest/gtest.h>
#include <windows.h>

#include <tuple>

#include "win/control/input_box.h"
#include "win/control/win32_controls.h"
#include "win/control/win32_user_services.h"
#include "win_test_support.h"

namespace quillon::win::testing {
namespace {

using enum ControlId;

class Win32Adapters : public PageWindowFixture, public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(page_);
    AttachShown();
    page_->SetClickHandler(List1, [this] { ++clicks_; });
  }

  int clicks_ = 0;
};

TEST_F(Win32Adapters, ListBoxKeepsTextsDataAndSelectionAndClicksOnlyWhenTheSelectionChanges) {
  Win32ListBox list(*page_, List1);
  for (const char16_t* entry : {u"Ann <ann@x.com>", u"Bob & Co <bob@x.com>", u"Cy <cy@x.com>"})
    ASSERT_TRUE(list.AddItem(entry));
  EXPECT_EQ(list.ListCount(), 3);
  EXPECT_EQ(list.ItemData(1), 0);  // a new entry has no account number
  ASSERT_TRUE(list.SetItemData(1, -1));
  EXPECT_EQ(list.ItemData(1), -1);  // 0xFFFFFFFF is a number, not an error
  ASSERT_TRUE(list.SetItemData(2, 0x7FFFFFFF));

  // A selection changed by code raises the list's click, once.
  ASSERT_TRUE(list.SetListIndex(1));
  EXPECT_EQ(clicks_, 1);
  ASSERT_TRUE(list.SetList(1, u"Bob <bob@y.com>"));
  EXPECT_EQ(list.List(1), u"Bob <bob@y.com>");
  EXPECT_EQ(list.ItemData(1), -1);
  EXPECT_EQ(list.ListIndex(), 1);
  EXPECT_EQ(list.SelCount(), 1);
  ASSERT_TRUE(list.SetListIndex(-1));
  EXPECT_FALSE(list.SetListIndex(3));  // out of range: no change, no click
  EXPECT_EQ(clicks_, 2);
  ASSERT_TRUE(list.SetText(u"ann <ANN@X.COM>"));  // whole entry, any case
  EXPECT_EQ(list.ListIndex(), 0);
  EXPECT_FALSE(list.SetText(u"Ann"));
  EXPECT_EQ(clicks_, 3);

  // Removing the selected entry leaves none selected; removing another keeps it.
  ASSERT_TRUE(list.SetListIndex(2));
  ASSERT_TRUE(list.RemoveItem(0));
  EXPECT_EQ(list.ListIndex(), 1);
  EXPECT_EQ(list.ItemData(1), 0x7FFFFFFF);
  ASSERT_TRUE(list.RemoveItem(1));
  EXPECT_EQ(list.ListIndex(), -1);
  EXPECT_EQ(list.SelCount(), 0);
  EXPECT_EQ(clicks_, 4);  // edits of the list itself raise nothing

  // Out of range: a failure value, never a change.
  for (std::int16_t bad : {std::int16_t{-1}, std::int16_t{1}, std::int16_t{500}}) {
    EXPECT_EQ(list.List(bad), u"");
    EXPECT_EQ(list.ItemData(bad), 0);
    EXPECT_FALSE(list.SetList(bad, u"x"));
    EXPECT_FALSE(list.SetItemData(bad, 5));
    EXPECT_FALSE(list.RemoveItem(bad));
    EXPECT_FALSE(list.Selected(bad));
  }
  EXPECT_EQ(list.ListCount(), 1);
  list.Clear();
  EXPECT_EQ(list.ListCount(), 0);
  EXPECT_EQ(list.ListIndex(), -1);
  EXPECT_EQ(clicks_, 4);
}

TEST_F(Win32Adapters, ScrollExtentCoversTheWidestTextAndTheScrollBar) {
  Win32ListBox list(*page_, List1);
  const std::int32_t shortWidth = list.TextWidth(u"Ann <a@x.com>");
  const std::int32_t longWidth =
      list.TextWidth(u"Someone With A Remarkably Long Display Name <someone.with.a.long.address@example.com>");
  EXPECT_GT(shortWidth, 0);
  EXPECT_GT(longWidth, shortWidth);
  // An ampersand is shown as it is, so it is measured as it is.
  EXPECT_GT(list.TextWidth(u"&&&&"), list.TextWidth(u"&&"));
  EXPECT_EQ(list.TextWidth(u""), 0);

  const std::int32_t scrollBar = Win32PageSurface(*page_).VerticalScrollBarWidth();
  EXPECT_EQ(scrollBar, GetSystemMetrics(SM_CXVSCROLL));
  list.SetHorizontalExtent(longWidth + scrollBar);
  EXPECT_EQ(SendMessageW(page_->Control(List1), LB_GETHORIZONTALEXTENT, 0, 0), longWidth + scrollBar);
  EXPECT_GT(scrollBar, 0);  // so the extent is larger than the text
  list.SetHorizontalExtent(0);
  EXPECT_EQ(SendMessageW(page_->Control(List1), LB_GETHORIZONTALEXTENT, 0, 0), 0);
}

TEST_F(Win32Adapters, OptionButtonsAreOneGroup) {
  int optionClicks[3] = {};
  const std::array<ControlId, 3> group{Option1_0, Option1_1, Option1_2};
  std::array<std::unique_ptr<Win32OptionButton>, 3> options;
  for (int i = 0; i < 3; ++i) {
    options[i] = std::make_unique<Win32OptionButton>(*page_, group[i], group);
    options[i]->SetClickHandler([&optionClicks, i] { ++optionClicks[i]; });
  }
  EXPECT_TRUE(options[2]->Value());
  options[0]->SetValue(true);
  EXPECT_TRUE(options[0]->Value());
  EXPECT_FALSE(options[2]->Value());
  EXPECT_EQ(optionClicks[0], 1);
  options[0]->SetValue(false);  // clearing raises nothing
  EXPECT_EQ(optionClicks[0], 1);
  // A user's click checks the button, clears the others and raises its click.
  SendMessageW(page_->Control(Option1_1), BM_CLICK, 0, 0);
  EXPECT_TRUE(options[1]->Value());
  EXPECT_FALSE(options[0]->Value());
  EXPECT_EQ(optionClicks[1], 1);
}

TEST_F(Win32Adapters, MessageBoxesCarryTheTitleStyleAndAnswer) {
  Win32UserServices user(module_, *page_);
  // The style asked for, the button pressed, the answer the page gets.
  for (const auto& [style, press, expected] : {std::tuple<std::int32_t, int, std::int16_t>{308, IDYES, 6},
                                               {308, IDNO, 7}, {48, IDOK, 1}}) {
    bool yesNo = false;
    bool noIsDefault = false;
    HWND owner = nullptr;
    DialogAnswerer answer([&] {
      HWND box = FindPageDialog();
      if (!box) return false;
      yesNo = GetDlgItem(box, IDYES) && GetDlgItem(box, IDNO);
      HWND no = GetDlgItem(box, IDNO);
      noIsDefault = no && (GetWindowLongPtrW(no, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
      owner = GetWindow(box, GW_OWNER);
      PostMessageW(box, WM_COMMAND, MAKEWPARAM(press, BN_CLICKED), 0);
      return true;
    });
    EXPECT_EQ(user.MsgBox(u"Restart it now?", style, u"Quillon"), expected) << style;
    EXPECT_TRUE(answer.Answered());
    EXPECT_EQ(yesNo, style == 308);
    EXPECT_EQ(noIsDefault, style == 308);  // No is the default button of a question
    EXPECT_EQ(owner, host_.get());  // owned by the page's top-level window
  }
}

TEST_F(Win32Adapters, InputBoxTellsCancelFromAnEmptyOk) {
  Win32UserServices user(module_, *page_);
  // What is typed (nullptr: press Cancel) and what the page gets.
  for (const auto& [typed, expected] : {std::pair<const wchar_t*, std::optional<std::u16string>>{nullptr, std::nullopt},
                                        {L"", u""}, {L"Ann <ann@x.com>", u"Ann <ann@x.com>"}}) {
    std::wstring shown;
    std::wstring prompt;
    DWORD selStart = 99, selEnd = 0;
    DialogAnswerer answer([&] {
      HWND box = FindPageDialog();
      if (!box) return false;
      HWND edit = GetDlgItem(box, kInputBoxEditId);
      shown = WindowText(edit);
      prompt = WindowText(GetDlgItem(box, kInputBoxPromptId));
      SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&selStart), reinterpret_cast<LPARAM>(&selEnd));
      if (typed) SetWindowTextW(edit, typed);
      PostMessageW(box, WM_COMMAND, MAKEWPARAM(typed ? IDOK : IDCANCEL, BN_CLICKED), 0);
      return true;
    });
    const auto result = user.InputBox(u"Enter a new identity\r\r  Example:\rAnn <ann@x.com>", u"Quillon",
                                      u"Old Name <old@x.com>");
    EXPECT_TRUE(answer.Answered());
    EXPECT_EQ(result, expected);
    EXPECT_EQ(shown, L"Old Name <old@x.com>");
    // Caret at the end of the default text, nothing selected.
    EXPECT_EQ(selStart, shown.size());
    EXPECT_EQ(selEnd, shown.size());
    EXPECT_EQ(prompt, L"Enter a new identity\r\n\r\n  Example:\r\nAnn <ann@x.com>");
  }
}

// The Escape that closes the host's dialog after a yes is proven end to end.
TEST_F(Win32Adapters, DoEventsRunsWhatIsPendingOnceAndOnlyKnownKeysAreSent) {
  Win32UserServices user(module_, *page_);
  Win32CommandButton add(*page_, cmdAdd);
  int clicks = 0;
  add.SetClickHandler([&] { ++clicks; });
  PostMessageW(page_->Control(cmdAdd), BM_CLICK, 0, 0);
  EXPECT_EQ(clicks, 0);
  user.DoEvents();
  EXPECT_EQ(clicks, 1);
  EXPECT_TRUE(user.SendKeys(u"{Right}"));
  EXPECT_FALSE(user.SendKeys(u"{F13}"));
}

}  // namespace
}  // namespace quillon::win::testing
