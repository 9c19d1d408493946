// Shared helpers of the Windows suites: the apartment, a private view of the
// registry, the library under test, windows to host in, and answering modal
// dialogs from inside their message loops.
#pragma once

#include <windows.h>
#include <ole2.h>

#include <functional>
#include <string>

namespace quillon::win::testing {

class OleApartment {
 public:
  OleApartment() { OleInitialize(nullptr); }
  OleApartment(const OleApartment&) = delete;
  OleApartment& operator=(const OleApartment&) = delete;
  ~OleApartment() { OleUninitialize(); }
};

// Redirects HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER of this process to two
// scratch keys, so registration can be checked without touching the real
// registration that other suites rely on.
class RegistrySandbox {
 public:
  explicit RegistrySandbox(const std::wstring& name);
  RegistrySandbox(const RegistrySandbox&) = delete;
  RegistrySandbox& operator=(const RegistrySandbox&) = delete;
  ~RegistrySandbox();

  // Whether the key exists in the machine or user part of the sandbox.
  bool MachineKeyExists(const std::wstring& path) const;
  bool UserKeyExists(const std::wstring& path) const;
  // The REG_SZ value, or "<missing>".
  std::wstring MachineText(const std::wstring& path, const wchar_t* name = nullptr) const;
  HKEY Machine() const { return machine_; }
  HKEY User() const { return user_; }

 private:
  std::wstring root_;
  HKEY machine_ = nullptr;
  HKEY user_ = nullptr;
};

std::wstring ReadText(HKEY root, const std::wstring& path, const wchar_t* name);

// The built Quillon.dll as a Windows path.
std::wstring ControlLibraryPath();

// Registers the library machine-wide in the real registry (idempotent).
HRESULT RegisterControlLibrary();

// A visible top-level window to host the control in.
class HostWindow {
 public:
  HostWindow(int width = 480, int height = 420);
  HostWindow(const HostWindow&) = delete;
  HostWindow& operator=(const HostWindow&) = delete;
  ~HostWindow();
  HWND get() const { return window_; }

 private:
  HWND window_ = nullptr;
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

// The enabled, visible top-level dialog (#32770) of this thread titled `title`.
HWND FindThreadDialog(const wchar_t* title);
std::wstring WindowText(HWND window);
// A child of `parent` whose text is `text`, or nullptr.
HWND FindChildWithText(HWND parent, const std::wstring& text);
void PumpPendingMessages();

}  // namespace quillon::win::testing
