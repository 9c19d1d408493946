#include "win_test_support.h"

#include "sample_profile.h"

namespace quillon::win::testing {
namespace {

thread_local std::function<bool()> t_answer;
thread_local bool t_answered = false;

void CALLBACK AnswerTimer(HWND, UINT, UINT_PTR, DWORD) {
  if (!t_answered && t_answer) t_answered = t_answer();
}

}  // namespace

// The build passes the Unix path.
std::wstring ControlLibraryPath() { return WindowsPath(QUILLON_CONTROL_DLL); }

HostWindow::HostWindow() {
  window_.reset(CreateWindowExW(WS_EX_CONTROLPARENT, L"#32770", L"Quillon test host",
                                WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN | WS_VISIBLE, 10, 10,
                                480, 420, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr));
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

}  // namespace quillon::win::testing
