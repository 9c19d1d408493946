// Close policies for Win32 handles, each a one-line owner over UniqueResource.
#pragma once

#include <windows.h>

#include "platform/unique_resource.h"

namespace quillon::win {

using platform::UniqueResource;
using platform::ZeroIsInvalid;

struct WindowPolicy : ZeroIsInvalid<HWND> {
  static void Close(HWND window) noexcept { DestroyWindow(window); }
};
using UniqueWindow = UniqueResource<WindowPolicy>;

// Close returns RegCloseKey's code for the one caller that reports it.
struct KeyPolicy : ZeroIsInvalid<HKEY> {
  static LONG Close(HKEY key) noexcept { return RegCloseKey(key); }
};
using UniqueKey = UniqueResource<KeyPolicy>;

// Kernel objects that give null on failure: events, processes, threads.
struct KernelHandlePolicy : ZeroIsInvalid<HANDLE> {
  static void Close(HANDLE handle) noexcept { CloseHandle(handle); }
};
using UniqueHandle = UniqueResource<KernelHandlePolicy>;

// Handles whose calls fail with INVALID_HANDLE_VALUE, not null: activation
// contexts (CreateActCtxW) and file searches (FindFirstFileExW).
template <auto CloseFunction>
struct InvalidValuePolicy {
  using Value = HANDLE;
  static Value Invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static bool IsValid(Value handle) noexcept { return handle != INVALID_HANDLE_VALUE && handle != nullptr; }
  static void Close(Value handle) noexcept { CloseFunction(handle); }
};
using UniqueActCtx = UniqueResource<InvalidValuePolicy<&ReleaseActCtx>>;
using UniqueFind = UniqueResource<InvalidValuePolicy<&FindClose>>;

// An activated context, by its cookie (never 0 once activated): deactivated on close.
struct ActivationPolicy : ZeroIsInvalid<ULONG_PTR> {
  static void Close(ULONG_PTR cookie) noexcept { DeactivateActCtx(0, cookie); }
};
using ActivationScope = UniqueResource<ActivationPolicy>;

// Activates `context` until the scope goes; nothing for an invalid context.
inline ActivationScope ActivateContext(HANDLE context) {
  ULONG_PTR cookie = 0;
  if (context == INVALID_HANDLE_VALUE || !ActivateActCtx(context, &cookie)) return ActivationScope();
  return ActivationScope(cookie);
}

template <class Object>
struct GdiObjectPolicy : ZeroIsInvalid<Object> {
  static void Close(Object object) noexcept { DeleteObject(object); }
};
using UniqueFont = UniqueResource<GdiObjectPolicy<HFONT>>;
using UniqueBitmap = UniqueResource<GdiObjectPolicy<HBITMAP>>;

// A DC of our own (CreateCompatibleDC).
struct MemoryDcPolicy : ZeroIsInvalid<HDC> {
  static void Close(HDC dc) noexcept { DeleteDC(dc); }
};
using UniqueMemoryDc = UniqueResource<MemoryDcPolicy>;

// A window's DC borrowed with GetDC goes back to that window.
class ClientDcPolicy : public ZeroIsInvalid<HDC> {
 public:
  explicit ClientDcPolicy(HWND window) noexcept : window_(window) {}
  void Close(HDC dc) const noexcept { ReleaseDC(window_, dc); }

 private:
  HWND window_;
};
using UniqueClientDc = UniqueResource<ClientDcPolicy>;

inline UniqueClientDc GetClientDc(HWND window) { return UniqueClientDc(ClientDcPolicy(window), GetDC(window)); }

// An object selected into a DC: the one it replaced goes back in on close, so
// the DC can be released or deleted with its own objects in it.
class SelectionPolicy : public ZeroIsInvalid<HGDIOBJ> {
 public:
  explicit SelectionPolicy(HDC dc) noexcept : dc_(dc) {}
  void Close(HGDIOBJ replaced) const noexcept { SelectObject(dc_, replaced); }

 private:
  HDC dc_;
};
using UniqueSelection = UniqueResource<SelectionPolicy>;

// Selects `object` (nothing for a null DC or object); declare it after the DC's owner.
inline UniqueSelection SelectInto(HDC dc, HGDIOBJ object) {
  return UniqueSelection(SelectionPolicy(dc), dc && object ? SelectObject(dc, object) : nullptr);
}

}  // namespace quillon::win
