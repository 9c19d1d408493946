// RAII owners for Win32 handles.
#pragma once

#include <windows.h>

#include <utility>

namespace quillon::win {

template <class Handle, class Traits>
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(Handle h) : h_(h) {}
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept : h_(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    reset(other.release());
    return *this;
  }
  ~UniqueHandle() { reset(); }

  Handle get() const { return h_; }
  explicit operator bool() const { return h_ != Handle{}; }
  Handle release() { return std::exchange(h_, Handle{}); }
  void reset(Handle h = Handle{}) {
    if (Handle old = std::exchange(h_, h)) Traits::Close(old);
  }
  Handle* put() {
    reset();
    return &h_;
  }

 private:
  Handle h_{};
};

struct WindowTraits {
  static void Close(HWND h) { DestroyWindow(h); }
};
struct KeyTraits {
  static void Close(HKEY h) { RegCloseKey(h); }
};
struct ActCtxTraits {
  static void Close(HANDLE h) {
    if (h != INVALID_HANDLE_VALUE) ReleaseActCtx(h);
  }
};

using UniqueWindow = UniqueHandle<HWND, WindowTraits>;
struct FontTraits {
  static void Close(HFONT h) { DeleteObject(h); }
};
using UniqueFont = UniqueHandle<HFONT, FontTraits>;
using UniqueKey = UniqueHandle<HKEY, KeyTraits>;

// A device context borrowed from a window, with one object selected into it.
class WindowDc {
 public:
  explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  ~WindowDc() {
    if (old_) SelectObject(dc_, old_);
    if (dc_) ReleaseDC(window_, dc_);
  }
  HDC get() const { return dc_; }
  void Select(HGDIOBJ object) {
    if (!dc_ || !object) return;
    HGDIOBJ previous = SelectObject(dc_, object);
    if (!old_) old_ = previous;
  }

 private:
  HWND window_;
  HDC dc_;
  HGDIOBJ old_ = nullptr;
};

}  // namespace quillon::win
