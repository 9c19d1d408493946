// QuillonControl's IViewObject2: the page drawn into a host's DC (print
// previews, containers that draw inactive controls).
#include "win/common/com_guard.h"
#include "win/common/win_handles.h"
#include "win/control/page_runtime.h"
#include "win/control/quillon_control.h"

namespace quillon::win {

STDMETHODIMP QuillonControl::Draw(DWORD aspect, LONG, void*, DVTARGETDEVICE*, HDC, HDC drawDc, LPCRECTL bounds,
                                  LPCRECTL, BOOL(STDMETHODCALLTYPE*)(ULONG_PTR), ULONG_PTR) {
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  if (!drawDc || !bounds) return E_INVALIDARG;
  return Guarded([&]() -> HRESULT {
    DrawContent(drawDc, RECT{bounds->left, bounds->top, bounds->right, bounds->bottom});
    return S_OK;
  });
}

// Paints the page's window (with its controls) scaled into `bounds`.
void QuillonControl::DrawContent(HDC dc, const RECT& bounds) {
  FillRect(dc, &bounds, GetSysColorBrush(COLOR_BTNFACE));
  HWND page = runtime_ ? runtime_->Window().Handle() : nullptr;
  RECT client{};
  if (!page || !GetClientRect(page, &client) || client.right <= 0 || client.bottom <= 0) return;
  // Declared in this order so that the bitmap leaves the DC before either goes.
  const UniqueMemoryDc memory(CreateCompatibleDC(dc));
  const UniqueBitmap bitmap(CreateCompatibleBitmap(dc, client.right, client.bottom));
  if (!memory || !bitmap) return;
  const UniqueSelection selected = SelectInto(memory.get(), bitmap.get());
  SendMessageW(page, WM_PRINT, reinterpret_cast<WPARAM>(memory.get()), PRF_CLIENT | PRF_CHILDREN | PRF_ERASEBKGND);
  StretchBlt(dc, bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top, memory.get(), 0,
             0, client.right, client.bottom, SRCCOPY);
}

STDMETHODIMP QuillonControl::GetColorSet(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, LOGPALETTE** colours) {
  if (colours) *colours = nullptr;
  return S_FALSE;
}

STDMETHODIMP QuillonControl::Freeze(DWORD, LONG, void*, DWORD*) { return E_NOTIMPL; }
STDMETHODIMP QuillonControl::Unfreeze(DWORD) { return E_NOTIMPL; }

STDMETHODIMP QuillonControl::SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink) {
  viewAspects_ = aspects;
  viewFlags_ = flags;
  viewSink_ = ComPtr<IAdviseSink>::Share(sink);
  return S_OK;
}

STDMETHODIMP QuillonControl::GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink) {
  if (aspects) *aspects = viewAspects_;
  if (flags) *flags = viewFlags_;
  if (sink) *sink = ComPtr<IAdviseSink>(viewSink_).release();
  return S_OK;
}

STDMETHODIMP QuillonControl::GetExtent(DWORD aspect, LONG, DVTARGETDEVICE*, LPSIZEL size) {
  return GetExtent(aspect, size);
}

}  // namespace quillon::win
