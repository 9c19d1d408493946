// Works the stand-in Options dialog and the page's own dialogs from another
// process, as a user would: button clicks, list clicks, typing, answering
// message boxes, the input box and the folder chooser. Every wait has a time limit.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include <windows.h>

#include "win/common/win_handles.h"

namespace quillon::standin::driver {

inline constexpr DWORD kDefaultWaitMs = 20000;

// The page's controls, in the page's design order (their dialog ids follow it from 1000).
enum class PageControl : int {
  Frame3, lblDefAddress, List1, cmdChange, cmdAdd, cmdRemove, cmdRemoveAll, cmdMoveUp,
  cmdMoveDown, List2, List3, List5, Frame1, cmdRefresh, Frm1, cmdPopulate,
  cmdSharedMailboxes, Frame4, Option1_0, Option1_1, Option1_2, Frame2, cmdAddFolder,
  cmdDeleteFolder, cmdDeleteAllFolders, List4, Label4_0, Label4_2, Label1,
  Frame5, lblNewSignature, cboNewSignature, lblReplySignature, cboReplySignature,
};

// A child process; ended (if still running) when this goes.
class Process {
 public:
  Process() = default;
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;
  ~Process();
  bool Start(const std::wstring& commandLine);
  DWORD Id() const { return id_; }
  // The exit code, or none when it is still running after `ms`.
  std::optional<DWORD> Wait(DWORD ms = kDefaultWaitMs);

 private:
  win::UniqueHandle process_;
  win::UniqueHandle thread_;
  DWORD id_ = 0;
};

std::wstring WindowText(HWND window);
std::wstring ClassName(HWND window);
// A visible, enabled top-level window of the process with exactly this title (and class, if given).
HWND FindTopLevel(DWORD processId, const std::wstring& title, const wchar_t* windowClass = nullptr);
HWND WaitForTopLevel(DWORD processId, const std::wstring& title, DWORD ms = kDefaultWaitMs,
                     const wchar_t* windowClass = nullptr);
bool WaitUntilGone(HWND window, DWORD ms = kDefaultWaitMs);
// A descendant window by its control id.
HWND FindDescendant(HWND parent, int id);
// One of the page's controls below `parent` (the page or a window holding it).
HWND FindPageControl(HWND parent, PageControl which);
// Clicks a button as the mouse would (posted, so a dialog it opens does not block the caller).
void PostClick(HWND button);

// A modal dialog of the page or of Outlook: a message box, the input box or the folder chooser.
struct ModalDialog {
  HWND window = nullptr;
  std::wstring text;  // the message box's text, or the input box's prompt
  bool hasEdit = false;
};
// Waits for the next dialog titled `title` (default: the page's "Quillon").
std::optional<ModalDialog> WaitForModal(DWORD processId, const std::wstring& title = L"Quillon",
                                        DWORD ms = kDefaultWaitMs);
// Presses the button with this id (IDOK, IDYES, IDNO, IDCANCEL) and waits until the dialog closes.
bool Press(const ModalDialog& dialog, int buttonId);
// Replaces the input box's text by typing `text` (key by key) into its edit field.
bool Type(const ModalDialog& dialog, const std::wstring& text);
std::wstring EditText(const ModalDialog& dialog);
// Chooses `path` in the folder chooser and presses OK.
bool ChooseFolderPath(const ModalDialog& chooser, const std::wstring& path);

// The stand-in's Options dialog with the page in it.
class OptionsWindow {
 public:
  // Waits for the dialog of that process and for the page inside it.
  static std::optional<OptionsWindow> Wait(DWORD processId, DWORD ms = kDefaultWaitMs);

  HWND Window() const { return dialog_; }
  HWND Control(PageControl which) const;
  HWND Button(int id) const { return GetDlgItem(dialog_, id); }
  // Waits until everything sent to the dialog's thread so far has been handled
  // (returns at once when the dialog has closed).
  void Settle(DWORD ms = kDefaultWaitMs);
  // A click on one of the page's buttons or option buttons, or the dialog's own.
  void Click(PageControl which);
  void ClickButton(int id);
  // A mouse click on line `index` of one of the page's lists.
  bool ClickListLine(PageControl list, int index);
  // Chooses the entry `text` of one of the page's drop-down lists with the arrow
  // keys, as a user would; false when the list is disabled or has no such entry.
  bool ChooseEntry(PageControl dropDown, const std::wstring& text);
  std::vector<std::wstring> Lines(PageControl list) const;
  int Selected(PageControl list) const;
  bool Enabled(PageControl which) const;
  bool Visible(PageControl which) const;
  bool Checked(PageControl option) const;
  std::wstring Text(PageControl which) const;
  bool ApplyEnabled() const;
  bool Screenshot();

 private:
  explicit OptionsWindow(HWND dialog) : dialog_(dialog) {}
  HWND dialog_;
  unsigned ping_ = 0;
};

}  // namespace quillon::standin::driver
