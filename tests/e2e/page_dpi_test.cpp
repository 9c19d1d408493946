// The page hosted in the stand-in in a prefix set to 144 DPI (the user's
// LogPixels): every control sits at its design twips converted at 144.
#include <gtest/gtest.h>

#include "tests/e2e/e2e_support.h"
#include "win/control/page_design.h"

namespace quillon::e2e {
namespace {

using standin::driver::OptionsWindow;
using standin::driver::PageControl;
using win::ControlId;

constexpr char kDesktopKey[] = "Control Panel\\Desktop";
constexpr UINT kDpi = 144;

// Set for the stand-in's process only; later tests run at the prefix's own DPI.
class UserDpi {
 public:
  explicit UserDpi(std::uint32_t dpi) : before_(ReadValue(kDesktopKey, "LogPixels")) {
    written_ = WriteValue(kDesktopKey, "LogPixels", Dword(dpi));
  }
  ~UserDpi() { WriteValue(kDesktopKey, "LogPixels", before_.value_or(Dword(96))); }
  bool Written() const { return written_; }

 private:
  std::optional<StoredValue> before_;
  bool written_ = false;
};

RECT PlaceInPage(HWND control, HWND page) {
  RECT place{};
  GetWindowRect(control, &place);
  MapWindowPoints(HWND_DESKTOP, page, reinterpret_cast<POINT*>(&place), 2);
  return place;
}

TEST(PageAtRealDpi, ControlsSitAtTheDesignTwipsAt144) {
  const UserDpi dpi(kDpi);
  ASSERT_TRUE(dpi.Written());
  StandinSession session(nlohmann::json{{"outlook", {{"version", "11.0.8169.0"}}}});
  ASSERT_TRUE(session.Started());
  auto options = OptionsWindow::Wait(session.ProcessId());
  ASSERT_TRUE(options);
  const HWND page = GetParent(options->Control(PageControl::Frame3));
  ASSERT_TRUE(page);
  RECT pageRect{};
  GetClientRect(page, &pageRect);
  EXPECT_NEAR(pageRect.right, win::TwipsToPixels(win::kPageSizeTwips.cx, kDpi), 1);
  EXPECT_NEAR(pageRect.bottom, win::TwipsToPixels(win::kPageSizeTwips.cy, kDpi), 1);
  for (const win::ControlDesign& design : win::PageDesign()) {
    const RECT expected = win::TwipsToPixels(win::PageRectTwips(design.id), kDpi);
    const RECT place = PlaceInPage(options->Control(static_cast<PageControl>(design.id)), page);
    EXPECT_NEAR(place.left, expected.left, 1) << design.name;
    EXPECT_NEAR(place.top, expected.top, 1) << design.name;
    EXPECT_NEAR(place.right, expected.right, 1) << design.name;
    // A drop-down list's closed height is its font's, not the design's.
    if (design.kind != win::ControlKind::ComboBox) {
      EXPECT_NEAR(place.bottom, expected.bottom, 1) << design.name;
    }
  }
  options->ClickButton(IDCANCEL);
  ASSERT_EQ(session.WaitForEnd(), 0u);
}

}  // namespace
}  // namespace quillon::e2e
