// QuillonControl's IOleObject: the site, verbs, extent and advise sinks. DoVerb,
// which activates the control, is in control_in_place.cpp.
#include "win/common/com_guard.h"
#include "win/control/outlook_late_bound.h"
#include "win/control/quillon_control.h"
#include "win/control/registration.h"

namespace quillon::win {

STDMETHODIMP QuillonControl::SetClientSite(IOleClientSite* site) {
  return Guarded([&]() -> HRESULT {
    if (!site && inPlaceActive_) InPlaceDeactivate();
    clientSite_ = ComPtr<IOleClientSite>::Share(site);
    inPlaceSite_ = clientSite_.As<IOleInPlaceSite>(IID_IOleInPlaceSite);
    siteLink_->site = clientSite_.As<PropertyPageSite>(kIidPropertyPageSite);
    LoadWhenReady();
    return S_OK;
  });
}

STDMETHODIMP QuillonControl::GetClientSite(IOleClientSite** site) {
  if (!site) return E_POINTER;
  *site = ComPtr<IOleClientSite>(clientSite_).release();
  return S_OK;
}

STDMETHODIMP QuillonControl::SetHostNames(LPCOLESTR, LPCOLESTR) { return S_OK; }

STDMETHODIMP QuillonControl::Close(DWORD) {
  return Guarded([&]() -> HRESULT {
    InPlaceDeactivate();
    if (adviseHolder_) adviseHolder_->SendOnClose();
    return S_OK;
  });
}

STDMETHODIMP QuillonControl::SetMoniker(DWORD, IMoniker*) { return E_NOTIMPL; }

STDMETHODIMP QuillonControl::GetMoniker(DWORD, DWORD, IMoniker** moniker) {
  if (moniker) *moniker = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP QuillonControl::InitFromData(IDataObject*, BOOL, DWORD) { return E_NOTIMPL; }

STDMETHODIMP QuillonControl::GetClipboardData(DWORD, IDataObject** data) {
  if (data) *data = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP QuillonControl::EnumVerbs(IEnumOLEVERB** verbs) {
  if (!verbs) return E_POINTER;
  return OleRegEnumVerbs(kClsidQuillonPage, verbs);
}
STDMETHODIMP QuillonControl::Update() { return S_OK; }
STDMETHODIMP QuillonControl::IsUpToDate() { return S_OK; }

STDMETHODIMP QuillonControl::GetUserClassID(CLSID* clsid) { return GetClassID(clsid); }

STDMETHODIMP QuillonControl::GetUserType(DWORD, LPOLESTR* userType) {
  if (userType) *userType = nullptr;
  return OLE_S_USEREG;
}

STDMETHODIMP QuillonControl::SetExtent(DWORD aspect, SIZEL* size) {
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  if (!size) return E_POINTER;
  extent_ = *size;
  return S_OK;
}

STDMETHODIMP QuillonControl::GetExtent(DWORD aspect, SIZEL* size) {
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  if (!size) return E_POINTER;
  *size = extent_;
  return S_OK;
}

STDMETHODIMP QuillonControl::Advise(IAdviseSink* sink, DWORD* connection) {
  if (!connection) return E_POINTER;
  *connection = 0;
  // A null sink would be called on Close.
  if (!sink) return E_INVALIDARG;
  if (!adviseHolder_ && FAILED(CreateOleAdviseHolder(adviseHolder_.put()))) return E_OUTOFMEMORY;
  return adviseHolder_->Advise(sink, connection);
}

STDMETHODIMP QuillonControl::Unadvise(DWORD connection) {
  return adviseHolder_ ? adviseHolder_->Unadvise(connection) : OLE_E_NOCONNECTION;
}

STDMETHODIMP QuillonControl::EnumAdvise(IEnumSTATDATA** advises) {
  if (!advises) return E_POINTER;
  *advises = nullptr;
  return adviseHolder_ ? adviseHolder_->EnumAdvise(advises) : S_OK;
}

STDMETHODIMP QuillonControl::GetMiscStatus(DWORD, DWORD* status) {
  if (!status) return E_POINTER;
  *status = kControlMiscStatus;
  return S_OK;
}

STDMETHODIMP QuillonControl::SetColorScheme(LOGPALETTE*) { return E_NOTIMPL; }

}  // namespace quillon::win
