// QuillonControl's IPersist, IPersistStreamInit and IPersistPropertyBag: the
// page keeps no properties, so persistence is only the signal to load.
#include "win/common/com_guard.h"
#include "win/control/page_runtime.h"
#include "win/control/quillon_control.h"

namespace quillon::win {

HRESULT QuillonControl::Initialise() {
  if (initialised_) return CO_E_ALREADYINITIALIZED;
  initialised_ = true;
  LoadWhenReady();
  return S_OK;
}

void QuillonControl::LoadWhenReady() {
  if (!initialised_ || !clientSite_ || loadStarted_) return;
  loadStarted_ = true;
  ComPtr<IUnknown> keepAlive = ComPtr<IUnknown>::Share(static_cast<PropertyPage*>(this));
  runtime_ = PageRuntime::Create(module_, static_cast<PropertyPage*>(this), siteLink_);
  if (!runtime_) return;
  runtime_->Window().SetFocusHandler([this] { OnChildFocus(); });
  PageWindow::ListRedrawPause pause(runtime_->Window());
  runtime_->Page().UserControl_InitProperties();
}

STDMETHODIMP QuillonControl::InitNew() {
  return Guarded([&] { return Initialise(); });
}

STDMETHODIMP QuillonControl::Load(IStream*) {
  return Guarded([&] { return Initialise(); });
}

STDMETHODIMP QuillonControl::Load(IPropertyBag*, IErrorLog*) {
  return Guarded([&] { return Initialise(); });
}

STDMETHODIMP QuillonControl::GetClassID(CLSID* clsid) {
  if (!clsid) return E_POINTER;
  *clsid = kClsidQuillonPage;
  return S_OK;
}

STDMETHODIMP QuillonControl::IsDirty() { return S_FALSE; }
STDMETHODIMP QuillonControl::Save(IStream*, BOOL) { return S_OK; }
STDMETHODIMP QuillonControl::Save(IPropertyBag*, BOOL, BOOL) { return S_OK; }

STDMETHODIMP QuillonControl::GetSizeMax(ULARGE_INTEGER* size) {
  if (!size) return E_POINTER;
  size->QuadPart = 0;
  return S_OK;
}

}  // namespace quillon::win
