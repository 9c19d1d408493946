// The page window as designed: every control present with its caption,
// tooltip and design-time state, placed where the form puts it at 96 and at 144 DPI.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <map>
#include <set>
#include <vector>

#include "designed_places.h"
#include "win_test_support.h"

namespace quillon::win::testing {
namespace {

using enum ControlId;

class PageLayout : public PageWindowFixture, public ::testing::TestWithParam<UINT> {
 protected:
  void SetUp() override {
    ASSERT_TRUE(page_);
    EXPECT_EQ(page_->LayoutDpi(), page_->CurrentDpi());  // a new page is laid out at its window's own DPI
    page_->LayoutForDpi(GetParam());
    ASSERT_EQ(page_->LayoutDpi(), GetParam());
  }
};

TEST_P(PageLayout, EveryControlExistsWithItsCaptionKindAndState) {
  std::map<HWND, ControlId> seen;
  for (const ControlDesign& design : PageDesign()) {
    HWND control = page_->Control(design.id);
    ASSERT_NE(control, nullptr) << design.name;
    EXPECT_TRUE(seen.emplace(control, design.id).second) << design.name;
    EXPECT_EQ(GetParent(control), page_->Handle()) << design.name;
    const bool list = design.kind == ControlKind::ListBox;
    const bool label = design.kind == ControlKind::Label;
    const bool dropDown = design.kind == ControlKind::ComboBox;
    EXPECT_EQ(WindowText(control), list ? L"" : design.caption) << design.name;
    EXPECT_EQ(_wcsicmp(ClassName(control).c_str(),
                       list ? L"ListBox" : label ? L"Static" : dropDown ? L"ComboBox" : L"Button"), 0)
        << design.name;
    EXPECT_EQ(IsWindowEnabled(control) != FALSE, design.enabled) << design.name;
  }
  EXPECT_EQ(seen.size(), 34u);

  for (ControlId hidden : {List2, List3, List5}) EXPECT_FALSE(page_->Visible(hidden));
  for (ControlId off : {cmdChange, cmdRemove, cmdRemoveAll, cmdMoveUp, cmdMoveDown})
    EXPECT_FALSE(IsWindowEnabled(page_->Control(off)));
  for (ControlId option : {Option1_0, Option1_1, Option1_2})
    EXPECT_EQ(SendMessageW(page_->Control(option), BM_GETCHECK, 0, 0), option == Option1_2 ? BST_CHECKED : BST_UNCHECKED);
  EXPECT_EQ(WindowText(page_->Control(Frm1)), L" Populate Identities list with");
  EXPECT_EQ(WindowText(page_->Control(Frame2)),
            L"Handle ingoing messages delivered to the following folders: ");

  EXPECT_EQ(page_->ToolTip(cmdPopulate),
            u"Populate the Identities list with SMTP e-mail addresses assigned to the current user in "
            u"Active Directory");
  EXPECT_EQ(page_->ToolTip(cmdSharedMailboxes), u"Populate the Identities list with addresses of the shared mailboxes");
  EXPECT_EQ(page_->ToolTip(cmdAdd), u"");
}

TEST_P(PageLayout, ControlsSitWhereTheFormPutsThem) {
  EXPECT_TRUE(SitsAsDesigned(page_->Handle(), GetParam(), [&](ControlId id) { return page_->Control(id); }));
}

TEST_P(PageLayout, FontsFollowTheDpiAndTheLinkLooksLikeALink) {
  const UINT dpi = GetParam();
  LOGFONTW link{};
  ASSERT_TRUE(GetObjectW(reinterpret_cast<HFONT>(SendMessageW(page_->Control(Label1), WM_GETFONT, 0, 0)),
                         sizeof(link), &link));
  EXPECT_STREQ(link.lfFaceName, L"Arial");
  EXPECT_EQ(link.lfWeight, 700);
  EXPECT_TRUE(link.lfUnderline);
  EXPECT_EQ(link.lfCharSet, 204);
  EXPECT_EQ(link.lfHeight, -MulDiv(75, dpi, 720));  // 7.5 points

  LOGFONTW page{};
  ASSERT_TRUE(GetObjectW(reinterpret_cast<HFONT>(SendMessageW(page_->Control(cmdAdd), WM_GETFONT, 0, 0)),
                         sizeof(page), &page));
  EXPECT_EQ(page.lfHeight, -MulDiv(8, dpi, 72));
  EXPECT_FALSE(page.lfUnderline);

  // Blue text for the link, the inactive-border colour behind the default line.
  const UniqueMemoryDc memory(CreateCompatibleDC(nullptr));
  HDC dc = memory.get();
  SendMessageW(page_->Handle(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
               reinterpret_cast<LPARAM>(page_->Control(Label1)));
  EXPECT_EQ(GetTextColor(dc), RGB(0, 0, 192));
  const auto brush = SendMessageW(page_->Handle(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                  reinterpret_cast<LPARAM>(page_->Control(lblDefAddress)));
  EXPECT_EQ(reinterpret_cast<HBRUSH>(brush), GetSysColorBrush(COLOR_INACTIVEBORDER));
  EXPECT_TRUE(GetWindowLongPtrW(page_->Control(lblDefAddress), GWL_STYLE) & WS_BORDER);
}

TEST_P(PageLayout, PointerIsAHandOverTheLinkAndAnHourglassWhileBusy) {
  HWND link = page_->Control(Label1);
  EXPECT_TRUE(SendMessageW(page_->Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(link), HTCLIENT));
  EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_HAND));
  page_->SetMousePointer(11);
  EXPECT_TRUE(SendMessageW(page_->Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(link), HTCLIENT));
  EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_WAIT));
  page_->SetMousePointer(0);
  EXPECT_NE(GetCursor(), LoadCursorW(nullptr, IDC_WAIT));  // the pointer it replaced is back
  EXPECT_FALSE(SendMessageW(page_->Handle(), WM_SETCURSOR,
                            reinterpret_cast<WPARAM>(page_->Control(cmdAdd)), HTCLIENT));
}

// The focus order round from the first tab stop, as the form's tab indexes give it: the
// enabled buttons, the visible lists and the options; hidden lists and disabled buttons are skipped.
TEST_P(PageLayout, TabOrderFollowsTheTabIndexes) {
  ShowWindow(page_->Handle(), SW_SHOWNA);
  std::vector<int> expected, order;
  for (ControlId id : {cmdSharedMailboxes, cmdPopulate, cmdRefresh, List4, cmdDeleteFolder, cmdAdd, List1,
                       cmdDeleteAllFolders, cmdAddFolder, Option1_0, Option1_1, Option1_2, cmdSharedMailboxes})
    expected.push_back(GetDlgCtrlID(page_->Control(id)));
  for (HWND item = GetNextDlgTabItem(page_->Handle(), nullptr, FALSE); item && order.size() < expected.size();
       item = GetNextDlgTabItem(page_->Handle(), item, FALSE))
    order.push_back(GetDlgCtrlID(item));
  EXPECT_EQ(order, expected);
}

// A frame painted over the controls it holds would hide them: every frame lies
// below every other control.
TEST_P(PageLayout, FramesLieBehindEveryOtherControl) {
  std::set<HWND> frames;
  for (const ControlDesign& design : PageDesign())
    if (design.kind == ControlKind::Frame) frames.insert(page_->Control(design.id));
  size_t framesSeen = 0;
  for (HWND child = GetWindow(page_->Handle(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    const bool frame = frames.count(child) != 0;
    EXPECT_TRUE(frame || framesSeen == 0) << WindowText(child).c_str();
    framesSeen += frame;
  }
  EXPECT_EQ(framesSeen, frames.size());
}

// The folders frame is hidden for newer Outlooks (see the end-to-end tests): its
// buttons go with it and come back with it, the list drawn over it does not.
TEST_P(PageLayout, HidingAFrameHidesWhatItHolds) {
  ShowWindow(page_->Handle(), SW_SHOWNA);
  page_->SetVisible(Frame2, false);
  for (ControlId inside : {Frame2, cmdAddFolder, cmdDeleteFolder, cmdDeleteAllFolders})
    EXPECT_FALSE(IsWindowVisible(page_->Control(inside)));
  EXPECT_TRUE(IsWindowVisible(page_->Control(List4)));
  page_->SetVisible(Frame2, true);
  EXPECT_TRUE(IsWindowVisible(page_->Control(cmdAddFolder)));
}

// The load fills the lists with their redraw paused. Turning redraw back on
// may show a window, so a list hidden meanwhile must come out hidden, the
// others as they were, their items all there.
TEST_P(PageLayout, ListsPausedForTheLoadComeBackShownAsDesigned) {
  ShowWindow(page_->Handle(), SW_SHOWNA);
  HWND list1 = page_->Control(List1);
  const bool list1Shown = IsWindowVisible(list1) != FALSE;
  {
    PageWindow::ListRedrawPause pause(*page_);
    {
      PageWindow::ListRedrawPause nested(*page_);
    }
    page_->SetVisible(List4, false);
    for (int i = 0; i < 100; ++i) SendMessageW(list1, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"line"));
  }
  EXPECT_FALSE(IsWindowVisible(page_->Control(List4)));
  EXPECT_EQ(IsWindowVisible(list1) != FALSE, list1Shown);
  EXPECT_EQ(SendMessageW(list1, LB_GETCOUNT, 0, 0), 100);
  page_->SetVisible(List4, true);
  EXPECT_TRUE(IsWindowVisible(page_->Control(List4)));
}

INSTANTIATE_TEST_SUITE_P(Dpi, PageLayout, ::testing::Values(96u, 144u));

}  // namespace
}  // namespace quillon::win::testing
