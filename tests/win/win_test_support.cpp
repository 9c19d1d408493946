#include "win_test_support.h"

#include <vector>

namespace quillon::win::testing {
namespace {

constexpr wchar_t kSandboxParent[] = L"Software\\QuillonControlTests\\";

HKEY CreateKey(HKEY root, const std::wstring& path) {
  HKEY key = nullptr;
  RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
  return key;
}

bool KeyExists(HKEY root, const std::wstring& path) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

thread_local std::function<bool()> t_answer;
thread_local bool t_answered = false;

void CALLBACK AnswerTimer(HWND, UINT, UINT_PTR, DWORD) {
  if (!t_answered && t_answer) t_answered = t_answer();
}

}  // namespace

RegistrySandbox::RegistrySandbox(const std::wstring& name) : root_(kSandboxParent + name) {
  RegDeleteTreeW(HKEY_CURRENT_USER, root_.c_str());
  machine_ = CreateKey(HKEY_CURRENT_USER, root_ + L"\\Machine");
  user_ = CreateKey(HKEY_CURRENT_USER, root_ + L"\\User");
  RegOverridePredefKey(HKEY_LOCAL_MACHINE, machine_);
  RegOverridePredefKey(HKEY_CURRENT_USER, user_);
}

RegistrySandbox::~RegistrySandbox() {
  RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
  RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
  RegCloseKey(machine_);
  RegCloseKey(user_);
  RegDeleteTreeW(HKEY_CURRENT_USER, root_.c_str());
  RegDeleteKeyW(HKEY_CURRENT_USER, root_.c_str());
}

bool RegistrySandbox::MachineKeyExists(const std::wstring& path) const { return KeyExists(machine_, path); }
bool RegistrySandbox::UserKeyExists(const std::wstring& path) const { return KeyExists(user_, path); }

std::wstring RegistrySandbox::MachineText(const std::wstring& path, const wchar_t* name) const {
  return ReadText(machine_, path, name);
}

std::wstring ReadText(HKEY root, const std::wstring& path, const wchar_t* name) {
  std::vector<wchar_t> buffer(1024);
  DWORD size = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
  if (RegGetValueW(root, path.c_str(), name, RRF_RT_REG_SZ, nullptr, buffer.data(), &size) != ERROR_SUCCESS)
    return L"<missing>";
  return buffer.data();
}

std::wstring ControlLibraryPath() {
  // The build passes the Unix path; Wine shows the Unix root as drive Z:.
  std::wstring path = L"Z:";
  for (const char* c = QUILLON_CONTROL_DLL; *c; ++c) path.push_back(*c == '/' ? L'\\' : static_cast<wchar_t>(*c));
  return path;
}

HRESULT RegisterControlLibrary() {
  HMODULE library = LoadLibraryW(ControlLibraryPath().c_str());
  if (!library) return HRESULT_FROM_WIN32(GetLastError());
  auto reg = reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(
      reinterpret_cast<void*>(GetProcAddress(library, "DllRegisterServer")));
  const HRESULT hr = reg ? reg() : E_NOTIMPL;
  FreeLibrary(library);
  return hr;
}

HostWindow::HostWindow(int width, int height) {
  window_ = CreateWindowExW(WS_EX_CONTROLPARENT, L"#32770", L"Quillon test host",
                            WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN | WS_VISIBLE, 10, 10, width,
                            height, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
}

HostWindow::~HostWindow() {
  if (window_) DestroyWindow(window_);
}

DialogAnswerer::DialogAnswerer(std::function<bool()> answer) {
  t_answer = std::move(answer);
  t_answered = false;
  timer_ = SetTimer(nullptr, 0, 30, AnswerTimer);
}

DialogAnswerer::~DialogAnswerer() {
  KillTimer(nullptr, timer_);
  t_answer = nullptr;
}

bool DialogAnswerer::Answered() const { return t_answered; }

namespace {
struct DialogSearch {
  const wchar_t* title;
  HWND found;
};

BOOL CALLBACK MatchDialog(HWND window, LPARAM lParam) {
  auto* search = reinterpret_cast<DialogSearch*>(lParam);
  wchar_t className[16] = {};
  GetClassNameW(window, className, 16);
  if (wcscmp(className, L"#32770") == 0 && IsWindowVisible(window) && IsWindowEnabled(window) &&
      WindowText(window) == search->title) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

struct TextSearch {
  const std::wstring* text;
  HWND found;
};

BOOL CALLBACK MatchText(HWND window, LPARAM lParam) {
  auto* search = reinterpret_cast<TextSearch*>(lParam);
  if (WindowText(window) == *search->text) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}
}  // namespace

HWND FindThreadDialog(const wchar_t* title) {
  DialogSearch search{title, nullptr};
  EnumThreadWindows(GetCurrentThreadId(), MatchDialog, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::wstring WindowText(HWND window) {
  const int length = GetWindowTextLengthW(window);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), length + 1)));
  return text;
}

HWND FindChildWithText(HWND parent, const std::wstring& text) {
  TextSearch search{&text, nullptr};
  EnumChildWindows(parent, MatchText, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

void PumpPendingMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

}  // namespace quillon::win::testing
