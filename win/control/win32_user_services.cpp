#include "win/control/win32_user_services.h"

#include <shellapi.h>

#include "platform/text.h"
#include "win/control/input_box.h"

namespace quillon::win {
namespace {

std::wstring Wide(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }

// More than this many messages in one pass means something keeps posting;
// the pass ends rather than spin.
constexpr int kMaxMessagesPerPass = 10000;

}  // namespace

HWND Win32UserServices::Owner() const {
  HWND page = page_.Handle();
  if (!page) return nullptr;
  HWND root = GetAncestor(page, GA_ROOT);
  return root ? root : page;
}

std::int16_t Win32UserServices::MsgBox(std::u16string_view text, std::int32_t style,
                                       std::u16string_view title) {
  auto scope = module_.ActivateVisualStyles();
  return static_cast<std::int16_t>(
      MessageBoxW(Owner(), Wide(text).c_str(), Wide(title).c_str(), static_cast<UINT>(style)));
}

std::optional<std::u16string> Win32UserServices::InputBox(std::u16string_view prompt,
                                                          std::u16string_view title,
                                                          std::u16string_view defaultText) {
  auto scope = module_.ActivateVisualStyles();
  return ShowInputBox(module_.Instance(), Owner(), prompt, title, defaultText);
}

bool PostKeyToActiveWindow(UINT key) {
  HWND target = GetActiveWindow();
  if (!target) target = GetForegroundWindow();
  if (!target) return false;
  const UINT scanCode = MapVirtualKeyW(key, MAPVK_VK_TO_VSC);
  const LPARAM down = 1 | (static_cast<LPARAM>(scanCode) << 16);
  const LPARAM up = down | (LPARAM{1} << 30) | (LPARAM{1} << 31);
  return PostMessageW(target, WM_KEYDOWN, key, down) && PostMessageW(target, WM_KEYUP, key, up);
}

bool Win32UserServices::SendKeys(std::u16string_view keys) {
  if (text::EqualsAsciiIgnoringCase(keys, u"{Esc}") || text::EqualsAsciiIgnoringCase(keys, u"{Escape}"))
    return PostKeyToActiveWindow(VK_ESCAPE);
  if (text::EqualsAsciiIgnoringCase(keys, u"{Right}")) return true;
  return false;
}

void Win32UserServices::DoEvents() {
  MSG message;
  for (int handled = 0; handled < kMaxMessagesPerPass; ++handled) {
    if (!PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) return;
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));  // leave it for the host's loop
      return;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

bool Win32UserServices::OpenWebAddress(std::u16string_view url) {
  const auto result = reinterpret_cast<INT_PTR>(
      ShellExecuteW(nullptr, nullptr, Wide(url).c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  return result > 32;
}

}  // namespace quillon::win
