// What a driver in another process needs to know to work the stand-in's windows
// as a user would (the end-to-end tests and the headless session use it).
#pragma once

namespace quillon::standin {

inline constexpr wchar_t kOptionsTitle[] = L"Options";
inline constexpr int kApplyButtonId = 0x3021;  // the property-sheet Apply button's id

// Sent to the Options dialog to have it write its screenshot (returns 1 when written).
inline constexpr wchar_t kScreenshotMessage[] = L"Quillon.Standin.Screenshot";
// Posted to the Options dialog with a number in wParam, which it then stores as the
// window property kPingProperty: the driver then knows that everything it posted to
// the dialog's thread before has been handled (one thread's posted messages keep their order).
inline constexpr wchar_t kPingMessage[] = L"Quillon.Standin.Ping";
inline constexpr wchar_t kPingProperty[] = L"Quillon.Standin.Ping";

inline constexpr wchar_t kFolderChooserTitle[] = L"Select Folder";
inline constexpr int kFolderChooserListId = 1001;

}  // namespace quillon::standin
