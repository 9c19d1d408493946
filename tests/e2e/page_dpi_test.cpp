// The page hosted in the stand-in in a prefix set to 144 DPI (the user's
// LogPixels): every control sits at its design twips converted at 144.
#include <gtest/gtest.h>

#include "tests/e2e/e2e_support.h"
#include "tests/win/designed_places.h"

namespace quillon::e2e {
namespace {

using standin::driver::PageControl;
using win::ControlId;

constexpr char kDesktopKey[] = "Control Panel\\Desktop";
constexpr UINT kDpi = 144;

// Set for the stand-in's process only; later tests run at the prefix's own DPI.
class UserDpi {
 public:
  explicit UserDpi(std::uint32_t dpi) : before_(ReadValue(kDesktopKey, "LogPixels")) {
    WriteValue(kDesktopKey, "LogPixels", Dword(dpi));
  }
  ~UserDpi() { WriteValue(kDesktopKey, "LogPixels", before_.bytes.empty() ? Dword(96) : before_); }

 private:
  StoredValue before_;
};

TEST(PageAtRealDpi, ControlsSitAtTheDesignTwipsAt144) {
  const UserDpi dpi(kDpi);
  ASSERT_EQ(ReadValue(kDesktopKey, "LogPixels"), Dword(kDpi));
  StandinSession session(nlohmann::json{{"outlook", {{"version", "11.0.8169.0"}}}});
  auto options = session.Options();
  ASSERT_TRUE(options);
  const HWND page = GetParent(options->Control(PageControl::Frame3));
  ASSERT_TRUE(page);
  RECT pageRect{};
  GetClientRect(page, &pageRect);
  EXPECT_NEAR(pageRect.right, 612, 1);  // 6120 x 5625 twips
  EXPECT_NEAR(pageRect.bottom, 562.5, 1);
  EXPECT_TRUE(win::testing::SitsAsDesigned(
      page, kDpi, [&](win::ControlId id) { return options->Control(static_cast<PageControl>(id)); }));
  options->ClickButton(IDCANCEL);
  ASSERT_EQ(session.WaitForEnd(), 0u);
}

}  // namespace
}  // namespace quillon::e2e
