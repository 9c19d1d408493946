// The page's dialogs and desktop services on Win32. Message boxes and the
// input box are owned by the page's top-level window.
#pragma once

#include "platform/user_services.h"
#include "win/control/control_module.h"
#include "win/control/page_window.h"

namespace quillon::win {

class Win32UserServices final : public platform::UserServices {
 public:
  Win32UserServices(const ControlModule& module, PageWindow& page) : module_(module), page_(page) {}

  std::int16_t MsgBox(std::u16string_view text, std::int32_t style, std::u16string_view title) override;
  std::optional<std::u16string> InputBox(std::u16string_view prompt, std::u16string_view title,
                                         std::u16string_view defaultText) override;
  // "{Esc}" posts an Escape key press to the active window, which closes the
  // host's dialog. "{Right}" does nothing: the input box already opens with
  // the caret at the end of its text, which is all the keystroke was for.
  bool SendKeys(std::u16string_view keys) override;
  void DoEvents() override;
  bool OpenWebAddress(std::u16string_view url) override;

 private:
  HWND Owner() const;

  const ControlModule& module_;
  PageWindow& page_;
};

// Posts key down and up for `key` to the thread's active window.
bool PostKeyToActiveWindow(UINT key);

}  // namespace quillon::win
