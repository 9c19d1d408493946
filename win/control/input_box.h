// The page's input box: a modal dialog with a prompt, an edit field
// prefilled with the default text (caret at its end, nothing selected), OK
// and Cancel.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace quillon::win {

// nullopt for Cancel (or a dialog that cannot be shown); the text, possibly
// empty, for OK.
std::optional<std::u16string> ShowInputBox(HINSTANCE instance, HWND owner, std::u16string_view prompt,
                                           std::u16string_view title, std::u16string_view defaultText);

// Control ids inside the input box, for tests that drive it.
inline constexpr int kInputBoxPromptId = 100;
inline constexpr int kInputBoxEditId = 101;

}  // namespace quillon::win
