#include "standin/driver/ui_driver.h"

#include "standin/standin_protocol.h"
#include "win/common/callback_guard.h"

namespace quillon::standin::driver {
namespace {

constexpr int kFirstPageControlId = 1000;
constexpr DWORD kPollMs = 20;

// Polls `ready` until it gives true or `ms` pass.
template <class Ready>
bool PollUntil(DWORD ms, Ready ready) {
  const DWORD start = GetTickCount();
  for (;;) {
    if (ready()) return true;
    if (GetTickCount() - start >= ms) return false;
    Sleep(kPollMs);
  }
}

struct TopLevelSearch {
  DWORD processId;
  const std::wstring* title;
  const wchar_t* windowClass;
  HWND found;
};

BOOL MatchTopLevelStep(HWND window, LPARAM param) {
  auto& search = *reinterpret_cast<TopLevelSearch*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != search.processId || !IsWindowVisible(window) || !IsWindowEnabled(window)) return TRUE;
  if (WindowText(window) != *search.title) return TRUE;
  if (search.windowClass && lstrcmpiW(ClassName(window).c_str(), search.windowClass) != 0) return TRUE;
  search.found = window;
  return FALSE;
}

struct DescendantSearch {
  int id;
  HWND found;
};

BOOL MatchDescendantStep(HWND window, LPARAM param) {
  auto& search = *reinterpret_cast<DescendantSearch*>(param);
  if (GetDlgCtrlID(window) != search.id) return TRUE;
  search.found = window;
  return FALSE;
}

struct DialogParts {
  HWND edit = nullptr;
  std::wstring text;
};

// The dialog's edit field and its visible static texts (the prompt or the message).
BOOL CollectPartsStep(HWND window, LPARAM param) {
  auto& parts = *reinterpret_cast<DialogParts*>(param);
  const std::wstring cls = ClassName(window);
  if (lstrcmpiW(cls.c_str(), L"Edit") == 0) parts.edit = window;
  if (lstrcmpiW(cls.c_str(), L"Static") == 0 && IsWindowVisible(window)) {
    const std::wstring text = WindowText(window);
    if (!text.empty()) parts.text += (parts.text.empty() ? L"" : L"\n") + text;
  }
  return TRUE;
}

// A step that fails ends the enumeration.
template <BOOL (*Step)(HWND, LPARAM)>
BOOL CALLBACK Guarded(HWND window, LPARAM param) {
  return win::GuardedCallback<BOOL>([&] { return Step(window, param); }, [] { return BOOL{FALSE}; });
}
constexpr WNDENUMPROC MatchTopLevel = Guarded<MatchTopLevelStep>;
constexpr WNDENUMPROC MatchDescendant = Guarded<MatchDescendantStep>;
constexpr WNDENUMPROC CollectParts = Guarded<CollectPartsStep>;

}  // namespace

Process::~Process() {
  if (process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT) TerminateProcess(process_.get(), 99);
}

bool Process::Start(const std::wstring& commandLine) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  std::wstring mutableLine = commandLine;
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(nullptr, mutableLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
    return false;
  process_.reset(info.hProcess);
  thread_.reset(info.hThread);
  id_ = info.dwProcessId;
  return true;
}

std::optional<DWORD> Process::Wait(DWORD ms) {
  if (!process_ || WaitForSingleObject(process_.get(), ms) != WAIT_OBJECT_0) return std::nullopt;
  DWORD code = 0;
  GetExitCodeProcess(process_.get(), &code);
  return code;
}

std::wstring WindowText(HWND window) {
  wchar_t buffer[1024] = {};
  // WM_GETTEXT works across processes for any window (GetWindowText does not for controls).
  SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG, 5000, nullptr);
  return buffer;
}

std::wstring ClassName(HWND window) {
  wchar_t buffer[256] = {};
  GetClassNameW(window, buffer, 256);
  return buffer;
}

HWND FindTopLevel(DWORD processId, const std::wstring& title, const wchar_t* windowClass) {
  TopLevelSearch search{processId, &title, windowClass, nullptr};
  EnumWindows(MatchTopLevel, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND WaitForTopLevel(DWORD processId, const std::wstring& title, DWORD ms, const wchar_t* windowClass) {
  HWND found = nullptr;
  PollUntil(ms, [&] { return (found = FindTopLevel(processId, title, windowClass)) != nullptr; });
  return found;
}

bool WaitUntilGone(HWND window, DWORD ms) {
  return PollUntil(ms, [&] { return !IsWindow(window) || !IsWindowVisible(window); });
}

HWND FindDescendant(HWND parent, int id) {
  DescendantSearch search{id, nullptr};
  EnumChildWindows(parent, MatchDescendant, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

void PostClick(HWND button) { PostMessageW(button, BM_CLICK, 0, 0); }

std::optional<ModalDialog> WaitForModal(DWORD processId, const std::wstring& title, DWORD ms) {
  HWND window = WaitForTopLevel(processId, title, ms, L"#32770");
  if (!window) return std::nullopt;
  DialogParts parts;
  // The page fills its dialog while it opens; give it the moment it needs.
  PollUntil(2000, [&] {
    parts = {};
    EnumChildWindows(window, CollectParts, reinterpret_cast<LPARAM>(&parts));
    return !parts.text.empty();
  });
  return ModalDialog{window, parts.text, parts.edit != nullptr};
}

bool Press(const ModalDialog& dialog, int buttonId) {
  HWND button = FindDescendant(dialog.window, buttonId);
  if (!button) return false;
  PostClick(button);
  return WaitUntilGone(dialog.window);
}

bool Type(const ModalDialog& dialog, const std::wstring& text) {
  DialogParts parts;
  EnumChildWindows(dialog.window, CollectParts, reinterpret_cast<LPARAM>(&parts));
  if (!parts.edit) return false;
  // Select what is there, so the first key replaces it, as a user's select-all would.
  SendMessageW(parts.edit, EM_SETSEL, 0, -1);
  if (text.empty()) PostMessageW(parts.edit, WM_CHAR, VK_BACK, 0);
  for (wchar_t ch : text) PostMessageW(parts.edit, WM_CHAR, ch, 1);
  return PollUntil(kDefaultWaitMs, [&] { return WindowText(parts.edit) == text; });
}

std::wstring EditText(const ModalDialog& dialog) {
  DialogParts parts;
  EnumChildWindows(dialog.window, CollectParts, reinterpret_cast<LPARAM>(&parts));
  return parts.edit ? WindowText(parts.edit) : std::wstring();
}

bool ChooseFolderPath(const ModalDialog& chooser, const std::wstring& path) {
  HWND list = GetDlgItem(chooser.window, kFolderChooserListId);
  if (!list) return false;
  const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    wchar_t line[1024] = {};
    if (SendMessageW(list, LB_GETTEXTLEN, i, 0) >= 1024) continue;
    SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(line));
    if (lstrcmpiW(line, path.c_str()) != 0) continue;
    SendMessageW(list, LB_SETCURSEL, i, 0);
    // The chooser enables OK when it hears of the selection, as after a click.
    SendMessageW(chooser.window, WM_COMMAND, MAKEWPARAM(kFolderChooserListId, LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(list));
    return Press(chooser, IDOK);
  }
  return false;
}

std::optional<OptionsWindow> OptionsWindow::Wait(DWORD processId, DWORD ms) {
  HWND dialog = WaitForTopLevel(processId, kOptionsTitle, ms, L"#32770");
  if (!dialog) return std::nullopt;
  OptionsWindow options(dialog);
  if (!PollUntil(ms, [&] { return options.Control(PageControl::List1) != nullptr; })) return std::nullopt;
  options.Settle();
  return options;
}

HWND FindPageControl(HWND parent, PageControl which) {
  return FindDescendant(parent, kFirstPageControlId + static_cast<int>(which));
}

HWND OptionsWindow::Control(PageControl which) const { return FindPageControl(dialog_, which); }

void OptionsWindow::Settle(DWORD ms) {
  static const UINT pingMessage = RegisterWindowMessageW(kPingMessage);
  const unsigned ping = ++ping_;
  if (!PostMessageW(dialog_, pingMessage, ping, 0)) return;
  PollUntil(ms, [&] {
    return !IsWindow(dialog_) || reinterpret_cast<UINT_PTR>(GetPropW(dialog_, kPingProperty)) == ping;
  });
}

void OptionsWindow::Click(PageControl which) {
  PostClick(Control(which));
  Settle();
}

void OptionsWindow::ClickButton(int id) {
  PostClick(Button(id));
  Settle();
}

bool OptionsWindow::ClickListLine(PageControl list, int index) {
  HWND window = Control(list);
  if (!window || index < 0 || index >= static_cast<int>(SendMessageW(window, LB_GETCOUNT, 0, 0))) return false;
  const int top = static_cast<int>(SendMessageW(window, LB_GETTOPINDEX, 0, 0));
  const int height = static_cast<int>(SendMessageW(window, LB_GETITEMHEIGHT, index, 0));
  const LPARAM point = MAKELPARAM(4, (index - top) * height + height / 2);
  PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, point);
  PostMessageW(window, WM_LBUTTONUP, 0, point);
  Settle();
  return Selected(list) == index;
}

bool OptionsWindow::ChooseEntry(PageControl dropDown, const std::wstring& text) {
  HWND window = Control(dropDown);
  if (!window || !IsWindowEnabled(window)) return false;
  const LRESULT count = SendMessageW(window, CB_GETCOUNT, 0, 0);
  LRESULT wanted = -1;
  for (LRESULT i = 0; i < count && wanted < 0; ++i) {
    const LRESULT length = SendMessageW(window, CB_GETLBTEXTLEN, i, 0);
    std::vector<wchar_t> buffer(length > 0 ? length + 1 : 1, L'\0');
    SendMessageW(window, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(buffer.data()));
    if (text == buffer.data()) wanted = i;
  }
  const LRESULT current = SendMessageW(window, CB_GETCURSEL, 0, 0);
  if (wanted < 0 || current < 0) return false;
  // Each arrow key moves the closed list's choice by one entry and tells the page.
  const WPARAM key = wanted > current ? VK_DOWN : VK_UP;
  for (LRESULT step = current; step != wanted; step += wanted > current ? 1 : -1) {
    PostMessageW(window, WM_KEYDOWN, key, 1);
    PostMessageW(window, WM_KEYUP, key, 0xC0000001);
  }
  Settle();
  return SendMessageW(window, CB_GETCURSEL, 0, 0) == wanted;
}

std::vector<std::wstring> OptionsWindow::Lines(PageControl list) const {
  std::vector<std::wstring> lines;
  HWND window = Control(list);
  const LRESULT count = window ? SendMessageW(window, LB_GETCOUNT, 0, 0) : 0;
  for (LRESULT i = 0; i < count; ++i) {
    const LRESULT length = SendMessageW(window, LB_GETTEXTLEN, i, 0);
    std::vector<wchar_t> buffer(length > 0 ? length + 1 : 1, L'\0');
    SendMessageW(window, LB_GETTEXT, i, reinterpret_cast<LPARAM>(buffer.data()));
    lines.emplace_back(buffer.data());
  }
  return lines;
}

int OptionsWindow::Selected(PageControl list) const {
  return static_cast<int>(SendMessageW(Control(list), LB_GETCURSEL, 0, 0));
}

bool OptionsWindow::Enabled(PageControl which) const { return IsWindowEnabled(Control(which)) != FALSE; }
bool OptionsWindow::Visible(PageControl which) const { return IsWindowVisible(Control(which)) != FALSE; }
bool OptionsWindow::Checked(PageControl option) const {
  return SendMessageW(Control(option), BM_GETCHECK, 0, 0) == BST_CHECKED;
}
std::wstring OptionsWindow::Text(PageControl which) const { return WindowText(Control(which)); }
bool OptionsWindow::ApplyEnabled() const { return IsWindowEnabled(Button(kApplyButtonId)) != FALSE; }

bool OptionsWindow::Screenshot() {
  static const UINT screenshotMessage = RegisterWindowMessageW(kScreenshotMessage);
  DWORD_PTR written = 0;
  return SendMessageTimeoutW(dialog_, screenshotMessage, 0, 0, SMTO_ABORTIFHUNG, 20000, &written) && written == 1;
}

}  // namespace quillon::standin::driver
