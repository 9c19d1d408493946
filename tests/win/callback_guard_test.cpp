// A handler that throws inside the page's window procedure (std::bad_alloc,
// say) must not unwind into user32: the message gets its default result and
// the page keeps working.
#include <gtest/gtest.h>
#include <windows.h>

#include <new>

#include "win_test_support.h"

#ifndef WM_DPICHANGED_AFTERPARENT
#define WM_DPICHANGED_AFTERPARENT 0x02E3
#endif

namespace quillon::win::testing {
namespace {

using enum ControlId;

class ThrowingHandler : public PageWindowFixture, public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(page_);
    AttachShown();
    page_->SetClickHandler(cmdAdd, [this] { ++clicks_; });
  }

  void FailOn(UINT failing) {
    page_->SetMessageProbe([this, failing](UINT message) {
      if (message != failing) return;
      ++failures_;
      throw std::bad_alloc();
    });
  }
  void Heal() { page_->SetMessageProbe(nullptr); }

  LRESULT Click(ControlId id) {
    HWND control = page_->Control(id);
    return SendMessageW(page_->Handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), BN_CLICKED),
                        reinterpret_cast<LPARAM>(control));
  }
  bool NeedsPaint() { return GetUpdateRect(page_->Handle(), nullptr, FALSE) != FALSE; }

  int clicks_ = 0;
  int failures_ = 0;
};

TEST_F(ThrowingHandler, ClickGetsTheDefaultResultAndTheNextClickWorks) {
  FailOn(WM_COMMAND);
  EXPECT_EQ(Click(cmdAdd), 0);
  EXPECT_EQ(failures_, 1);
  EXPECT_EQ(clicks_, 0);
  Heal();
  Click(cmdAdd);
  EXPECT_EQ(clicks_, 1);
}

TEST_F(ThrowingHandler, PaintIsCompletedByTheDefaultAndColoursComeBackAfterwards) {
  FailOn(WM_PAINT);
  InvalidateRect(page_->Handle(), nullptr, TRUE);
  ASSERT_TRUE(NeedsPaint());
  UpdateWindow(page_->Handle());
  EXPECT_EQ(failures_, 1);
  EXPECT_FALSE(NeedsPaint()) << "the default procedure validates what the page failed to paint";

  const UniqueClientDc dc = GetClientDc(page_->Handle());
  const auto labelColour = [&](auto procedure) {
    return procedure(page_->Handle(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.get()),
                     reinterpret_cast<LPARAM>(page_->Control(lblDefAddress)));
  };
  FailOn(WM_CTLCOLORSTATIC);
  EXPECT_EQ(labelColour(SendMessageW), labelColour(DefWindowProcW));
  EXPECT_EQ(failures_, 2);
  Heal();
  EXPECT_EQ(labelColour(SendMessageW), reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_INACTIVEBORDER)));
}

TEST_F(ThrowingHandler, DpiChangeKeepsTheOldLayoutAndTheNextChangeLaysOut) {
  const UINT dpi = page_->CurrentDpi();
  const UINT other = dpi == 144 ? 96 : 144;
  page_->LayoutForDpi(other);
  FailOn(WM_DPICHANGED_AFTERPARENT);
  EXPECT_EQ(SendMessageW(page_->Handle(), WM_DPICHANGED_AFTERPARENT, 0, 0), 0);
  EXPECT_EQ(failures_, 1);
  EXPECT_EQ(page_->LayoutDpi(), other);
  Heal();
  SendMessageW(page_->Handle(), WM_DPICHANGED_AFTERPARENT, 0, 0);
  EXPECT_EQ(page_->LayoutDpi(), dpi);
  Click(cmdAdd);
  EXPECT_EQ(clicks_, 1);
}

}  // namespace
}  // namespace quillon::win::testing
