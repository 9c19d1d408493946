// Shared helpers of the Windows suites: the apartment, the library under test,
// windows to host in, and answering modal dialogs from inside their message loops.
// Window texts and searches are the stand-in driver's.
#pragma once

#include <windows.h>
#include <ole2.h>

#include <functional>
#include <memory>
#include <string>

#include "standin/driver/ui_driver.h"
#include "win/common/win_handles.h"
#include "win/control/control_module.h"
#include "win/control/page_window.h"

namespace quillon::win::testing {

using standin::driver::ClassName;
using standin::driver::WindowText;

class OleApartment {
 public:
  OleApartment() { OleInitialize(nullptr); }
  OleApartment(const OleApartment&) = delete;
  OleApartment& operator=(const OleApartment&) = delete;
  ~OleApartment() { OleUninitialize(); }
};

// Wine marks its ntdll with an export Windows lacks.
inline bool RunningOnWine() { return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr; }

// The built Quillon.dll as a Windows path.
std::wstring ControlLibraryPath();
// An entry point of the library; the library stays loaded for the process.
template <class Function>
Function LibraryEntry(const char* name) {
  static const HMODULE library = LoadLibraryW(ControlLibraryPath().c_str());
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

// A visible top-level window to host the control in.
class HostWindow {
 public:
  HostWindow();  // not copyable: it owns its window
  HWND get() const { return window_.get(); }

 private:
  UniqueWindow window_;
};

// A page window as the control makes it, in the module's visual styles;
// AttachShown() puts it, shown, into a host window of its own.
class PageWindowFixture {
 protected:
  PageWindowFixture() {
    auto scope = module_.ActivateVisualStyles();
    page_ = PageWindow::Create(GetModuleHandleW(nullptr), nullptr);
  }
  void AttachShown() {
    page_->Attach(host_.get(), RECT{0, 0, 420, 380});
    page_->Show(true);
  }

  HostWindow host_;
  ControlModule module_{GetModuleHandleW(nullptr)};
  std::unique_ptr<PageWindow> page_;
};

// Runs `answer` on a thread timer while a modal loop (message box, input box)
// runs on this thread; `answer` returns true once it has dealt with the dialog.
class DialogAnswerer {
 public:
  explicit DialogAnswerer(std::function<bool()> answer);
  DialogAnswerer(const DialogAnswerer&) = delete;
  DialogAnswerer& operator=(const DialogAnswerer&) = delete;
  ~DialogAnswerer();
  bool Answered() const;

 private:
  UINT_PTR timer_ = 0;
};

// This process's message box or input box, which the page titles "Quillon".
inline HWND FindPageDialog() {
  return standin::driver::FindTopLevel(GetCurrentProcessId(), L"Quillon", L"#32770");
}
// One of the controls of a page window the control made (the driver's names follow the design order).
inline HWND FindPageControl(HWND page, ControlId id) {
  return standin::driver::FindPageControl(page, static_cast<standin::driver::PageControl>(id));
}

}  // namespace quillon::win::testing
