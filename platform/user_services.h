// Modal dialogs and input services the page asks of the desktop.
//
// Failures come back as values: a message box that cannot be shown answers 0
// (no button), an input box that cannot be shown answers as Cancel, and
// SendKeys/OpenWebAddress return false. Nothing throws.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quillon::platform {

// Message box styles and answers (Win32 MessageBox values).
inline constexpr std::int32_t kMsgBoxNotice = 48;     // exclamation, OK
inline constexpr std::int32_t kMsgBoxQuestion = 308;  // exclamation, Yes/No, No default
inline constexpr std::int16_t kAnswerOk = 1;
inline constexpr std::int16_t kAnswerYes = 6;
inline constexpr std::int16_t kAnswerNo = 7;

class UserServices {
 public:
  virtual ~UserServices() = default;

  // Modal message box; returns the button pressed (1 OK, 6 Yes, 7 No).
  virtual std::int16_t MsgBox(std::u16string_view text, std::int32_t style,
                              std::u16string_view title) = 0;

  // Modal input box prefilled with `defaultText`. nullopt = Cancel, which is
  // distinct from OK with an empty field.
  virtual std::optional<std::u16string> InputBox(std::u16string_view prompt,
                                                 std::u16string_view title,
                                                 std::u16string_view defaultText) = 0;

  // Queues keystrokes ("{Right}", "{Esc}") to the active window without waiting.
  virtual bool SendKeys(std::u16string_view keys) = 0;

  // Processes the window messages pending now, once.
  virtual void DoEvents() = 0;

  // Opens a web address in the user's browser (ShellExecute, default verb).
  virtual bool OpenWebAddress(std::u16string_view url) = 0;
};

}  // namespace quillon::platform
