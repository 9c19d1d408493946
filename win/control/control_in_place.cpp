// QuillonControl's activation in the host's window: DoVerb, IOleWindow,
// IOleInPlaceObject, IOleInPlaceActiveObject (keys) and IOleControl.
#include "win/common/com_guard.h"
#include "win/control/page_runtime.h"
#include "win/control/quillon_control.h"

namespace quillon::win {
namespace {

bool IsKeyMessage(UINT message) { return message >= WM_KEYFIRST && message <= WM_KEYLAST; }

bool IsPushButton(HWND window) {
  wchar_t className[16] = {};
  GetClassNameW(window, className, 16);
  return _wcsicmp(className, L"Button") == 0 &&
         (GetWindowLongPtrW(window, GWL_STYLE) & BS_TYPEMASK) == BS_PUSHBUTTON;
}

}  // namespace

STDMETHODIMP QuillonControl::DoVerb(LONG verb, LPMSG, IOleClientSite*, LONG, HWND parent, LPCRECT position) {
  return Guarded([&]() -> HRESULT {
    switch (verb) {
      case OLEIVERB_PRIMARY:
      case OLEIVERB_SHOW:
      case OLEIVERB_UIACTIVATE:
        return ActivateInPlace(true, parent, position);
      case OLEIVERB_INPLACEACTIVATE:
        return ActivateInPlace(false, parent, position);
      case OLEIVERB_HIDE:
        UIDeactivate();
        if (runtime_) runtime_->Window().Show(false);
        return S_OK;
      case OLEIVERB_DISCARDUNDOSTATE:
        return S_OK;
    }
    return verb > 0 ? OLEOBJ_S_INVALIDVERB : E_NOTIMPL;
  });
}

HRESULT QuillonControl::ActivateInPlace(bool uiActivate, HWND parentHint, LPCRECT positionHint) {
  if (!inPlaceSite_) return E_UNEXPECTED;
  // A container that skips InitNew still gets a loaded page.
  initialised_ = true;
  LoadWhenReady();
  if (!runtime_) return E_FAIL;
  ComPtr<IUnknown> keepAlive = ComPtr<IUnknown>::Share(static_cast<PropertyPage*>(this));
  if (!inPlaceActive_) {
    if (inPlaceSite_->CanInPlaceActivate() != S_OK) return E_FAIL;
    inPlaceSite_->OnInPlaceActivate();
    inPlaceActive_ = true;
  }
  HWND parent = nullptr;
  if (FAILED(inPlaceSite_->GetWindow(&parent)) || !parent) parent = parentHint;
  if (!parent) return E_FAIL;
  RECT position{};
  RECT clip{};
  OLEINPLACEFRAMEINFO frameInfo{};
  frameInfo.cb = sizeof(frameInfo);
  frame_.reset();
  document_.reset();
  if (SUCCEEDED(inPlaceSite_->GetWindowContext(frame_.put(), document_.put(), &position, &clip, &frameInfo)))
    position_ = position;
  else if (positionHint)
    position_ = *positionHint;
  runtime_->Window().Attach(parent, position_);
  runtime_->Window().Show(true);
  return uiActivate ? ActivateUi() : S_OK;
}

HRESULT QuillonControl::ActivateUi() {
  if (!inPlaceActive_) return E_UNEXPECTED;
  if (!uiActive_) {
    uiActive_ = true;
    inPlaceSite_->OnUIActivate();
    auto* active = static_cast<IOleInPlaceActiveObject*>(this);
    if (frame_) frame_->SetActiveObject(active, nullptr);
    if (document_) document_->SetActiveObject(active, nullptr);
  }
  HWND page = runtime_->Window().Handle();
  HWND focus = GetFocus();
  if (page && focus != page && !IsChild(page, focus)) SetFocus(page);
  return S_OK;
}

void QuillonControl::OnChildFocus() {
  if (inPlaceActive_ && !uiActive_) ActivateUi();
}

// ---- IOleWindow, IOleInPlaceObject

STDMETHODIMP QuillonControl::GetWindow(HWND* window) {
  if (!window) return E_POINTER;
  *window = runtime_ ? runtime_->Window().Handle() : nullptr;
  return *window ? S_OK : E_FAIL;
}

STDMETHODIMP QuillonControl::ContextSensitiveHelp(BOOL) { return E_NOTIMPL; }

STDMETHODIMP QuillonControl::InPlaceDeactivate() {
  return Guarded([&]() -> HRESULT {
    if (!inPlaceActive_) return S_OK;
    UIDeactivate();
    inPlaceActive_ = false;
    // The page's controls hold its data: take them back from the host's window.
    if (runtime_) runtime_->Window().Detach();
    frame_.reset();
    document_.reset();
    if (inPlaceSite_) inPlaceSite_->OnInPlaceDeactivate();
    return S_OK;
  });
}

STDMETHODIMP QuillonControl::UIDeactivate() {
  if (!uiActive_) return S_OK;
  uiActive_ = false;
  if (frame_) frame_->SetActiveObject(nullptr, nullptr);
  if (document_) document_->SetActiveObject(nullptr, nullptr);
  if (inPlaceSite_) inPlaceSite_->OnUIDeactivate(FALSE);
  return S_OK;
}

// Safe before the window exists: the rectangle is kept for the activation.
STDMETHODIMP QuillonControl::SetObjectRects(LPCRECT position, LPCRECT) {
  if (!position) return E_POINTER;
  position_ = *position;
  if (runtime_ && inPlaceActive_) runtime_->Window().Move(position_);
  return S_OK;
}

STDMETHODIMP QuillonControl::ReactivateAndUndo() { return INPLACE_E_NOTUNDOABLE; }

// ---- IOleInPlaceActiveObject

STDMETHODIMP QuillonControl::TranslateAccelerator(LPMSG message) {
  if (!message || !runtime_ || !IsKeyMessage(message->message)) return S_FALSE;
  HWND page = runtime_->Window().Handle();
  if (!page || (message->hwnd != page && !IsChild(page, message->hwnd))) return S_FALSE;
  const auto key = static_cast<UINT>(message->wParam);
  // Escape and Enter belong to the host's dialog (Cancel and its default
  // button), except Enter on one of the page's own buttons.
  if (key == VK_ESCAPE) return S_FALSE;
  if (key == VK_RETURN && !IsPushButton(message->hwnd)) return S_FALSE;
  ComPtr<IUnknown> keepAlive = ComPtr<IUnknown>::Share(static_cast<PropertyPage*>(this));
  return IsDialogMessageW(page, message) ? S_OK : S_FALSE;
}

STDMETHODIMP QuillonControl::OnFrameWindowActivate(BOOL) { return S_OK; }
STDMETHODIMP QuillonControl::OnDocWindowActivate(BOOL) { return S_OK; }
STDMETHODIMP QuillonControl::ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) { return S_OK; }
STDMETHODIMP QuillonControl::EnableModeless(BOOL) { return S_OK; }

// ---- IOleControl

STDMETHODIMP QuillonControl::GetControlInfo(CONTROLINFO* info) {
  if (!info) return E_POINTER;
  info->hAccel = nullptr;
  info->cAccel = 0;
  info->dwFlags = 0;
  return S_OK;
}

STDMETHODIMP QuillonControl::OnMnemonic(MSG*) { return S_OK; }
STDMETHODIMP QuillonControl::OnAmbientPropertyChange(DISPID) { return S_OK; }
STDMETHODIMP QuillonControl::FreezeEvents(BOOL) { return S_OK; }

}  // namespace quillon::win
