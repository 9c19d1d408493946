#include "test_container.h"

namespace quillon::win::testing {

TestSite::TestSite(HWND window, IDispatch* application) : window_(window), application_(application) {}

STDMETHODIMP TestSite::QueryInterface(REFIID iid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  if (iid == IID_IUnknown || iid == IID_IOleClientSite)
    *object = static_cast<IOleClientSite*>(this);
  else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceSite)
    *object = static_cast<IOleInPlaceSite*>(this);
  else if (iid == IID_IDispatch || iid == kIidPropertyPageSite)
    *object = static_cast<PropertyPageSite*>(this);
  else
    return E_NOINTERFACE;
  AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) TestSite::Release() {
  const ULONG left = --references_;
  if (left == 0) delete this;
  return left;
}

STDMETHODIMP TestSite::GetMoniker(DWORD, DWORD, IMoniker** moniker) {
  *moniker = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP TestSite::GetContainer(IOleContainer** container) {
  *container = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP TestSite::GetWindow(HWND* window) {
  *window = window_;
  return S_OK;
}

STDMETHODIMP TestSite::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document, LPRECT pos,
                                        LPRECT clip, LPOLEINPLACEFRAMEINFO info) {
  *frame = nullptr;
  *document = nullptr;
  *pos = position;
  *clip = position;
  info->fMDIApp = FALSE;
  info->hwndFrame = window_;
  info->haccel = nullptr;
  info->cAccelEntries = 0;
  return S_OK;
}

STDMETHODIMP TestSite::GetTypeInfoCount(UINT* count) {
  *count = 0;
  return S_OK;
}

STDMETHODIMP TestSite::get_Application(IDispatch** application) {
  ++applicationCalls;
  *application = application_;
  if (application_) application_->AddRef();
  return S_OK;
}

STDMETHODIMP TestSite::get_Class(long* objectClass) {
  *objectClass = 70;  // olPropertyPageSite
  return S_OK;
}

STDMETHODIMP TestSite::get_Session(IDispatch** session) {
  *session = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP TestSite::get_Parent(IDispatch** parent) {
  *parent = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP TestSite::OnStatusChange() {
  ++statusChanges;
  return S_OK;
}

HostedControl::HostedControl(CreationOrder order, IDispatch* application)
    : site_(new TestSite(host_.get(), application)) {
  CLSID clsid{};
  created = CLSIDFromProgID(kProgId, &clsid);
  if (FAILED(created)) return;
  created = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject, object_.put_void());
  if (FAILED(created)) return;
  page_ = object_.As<PropertyPage>(kIidPropertyPage);
  auto persist = object_.As<IPersistStreamInit>(IID_IPersistStreamInit);
  auto* site = static_cast<IOleClientSite*>(site_.get());
  if (order == CreationOrder::SiteFirst) {
    object_->SetClientSite(site);
    if (persist) persist->InitNew();
  } else {
    if (persist) persist->InitNew();
    object_->SetClientSite(site);
  }
}

HRESULT HostedControl::Activate() {
  if (!object_) return E_FAIL;
  return object_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, site_.get(), 0, host_.get(), &site_->position);
}

HWND HostedControl::PageWindow() const {
  auto window = object_.As<IOleInPlaceObject>(IID_IOleInPlaceObject);
  HWND handle = nullptr;
  if (window) window->GetWindow(&handle);
  return handle;
}

void HostedControl::Teardown() {
  if (!object_) return;
  if (auto inPlace = object_.As<IOleInPlaceObject>(IID_IOleInPlaceObject)) inPlace->InPlaceDeactivate();
  object_->Close(OLECLOSE_NOSAVE);
  object_->SetClientSite(nullptr);
  page_.reset();
  finalReferences = object_.detach()->Release();
}

}  // namespace quillon::win::testing
