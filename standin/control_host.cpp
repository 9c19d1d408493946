#include "standin/control_host.h"

namespace quillon::standin {
namespace {

// Pixels to HIMETRIC (0.01 mm) at the window's DPI.
SIZEL ToHimetric(HWND window, const RECT& rect) {
  const win::UniqueClientDc dc = win::GetClientDc(window);
  const int dpiX = dc ? GetDeviceCaps(dc.get(), LOGPIXELSX) : 96;
  const int dpiY = dc ? GetDeviceCaps(dc.get(), LOGPIXELSY) : 96;
  return SIZEL{MulDiv(rect.right - rect.left, 2540, dpiX), MulDiv(rect.bottom - rect.top, 2540, dpiY)};
}

// IPersistStreamInit::InitNew, or IPersistPropertyBag::InitNew for a control without it.
HRESULT InitNew(IOleObject* object) {
  ComPtr<IPersistStreamInit> stream;
  if (SUCCEEDED(object->QueryInterface(IID_IPersistStreamInit, stream.put_void())) && stream)
    return stream->InitNew();
  ComPtr<IPersistPropertyBag> bag;
  if (SUCCEEDED(object->QueryInterface(IID_IPersistPropertyBag, bag.put_void())) && bag) return bag->InitNew();
  return S_OK;  // a control without persistence needs no initialisation
}

}  // namespace

HRESULT HostedControl::Create(const std::wstring& progId, IOleClientSite* site, CreationOrder order, HWND parent,
                              const RECT& rect, std::string& step) {
  CLSID clsid;
  step = "CLSIDFromProgID";
  HRESULT hr = CLSIDFromProgID(progId.c_str(), &clsid);
  if (FAILED(hr)) return hr;
  step = "CoCreateInstance";
  ComPtr<IOleObject> object;
  hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject, object.put_void());
  if (FAILED(hr)) return hr;
  return Create(std::move(object), site, order, parent, rect, step);
}

HRESULT HostedControl::Create(ComPtr<IOleObject> object, IOleClientSite* site, CreationOrder order, HWND parent,
                              const RECT& rect, std::string& step) {
  if (!object) return E_POINTER;
  HRESULT hr = S_OK;
  object->GetMiscStatus(DVASPECT_CONTENT, &miscStatus_);
  siteFirst_ = order == CreationOrder::kSetClientSiteFirst ||
               (order == CreationOrder::kFromMiscStatus && (miscStatus_ & OLEMISC_SETCLIENTSITEFIRST));
  if (siteFirst_) {
    step = "SetClientSite";
    if (FAILED(hr = object->SetClientSite(site))) return hr;
  }
  step = "InitNew";
  if (FAILED(hr = InitNew(object.get()))) return hr;
  if (!siteFirst_) {
    step = "SetClientSite";
    if (FAILED(hr = object->SetClientSite(site))) return hr;
  }
  object->SetHostNames(L"Outlook", L"Options");
  object_ = object;
  inPlace_ = object.As<IOleInPlaceObject>(IID_IOleInPlaceObject);
  page_ = object.As<win::PropertyPage>(win::kIidPropertyPage);
  SIZEL extent = ToHimetric(parent, rect);
  object_->SetExtent(DVASPECT_CONTENT, &extent);
  step = "DoVerb";
  RECT position = rect;
  hr = object_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, site, 0, parent, &position);
  if (FAILED(hr)) {
    Destroy();
    return hr;
  }
  object_->DoVerb(OLEIVERB_SHOW, nullptr, site, 0, parent, &position);
  if (inPlace_) inPlace_->SetObjectRects(&position, &position);
  step.clear();
  return S_OK;
}

void HostedControl::Move(HWND parent, const RECT& rect) {
  if (!object_) return;
  SIZEL extent = ToHimetric(parent, rect);
  object_->SetExtent(DVASPECT_CONTENT, &extent);
  if (inPlace_) inPlace_->SetObjectRects(&rect, &rect);
}

std::optional<bool> HostedControl::Dirty() {
  if (!page_) return std::nullopt;
  VARIANT_BOOL dirty = VARIANT_FALSE;
  if (FAILED(page_->get_Dirty(&dirty))) return std::nullopt;
  return dirty != VARIANT_FALSE;
}

HRESULT HostedControl::Apply() { return page_ ? page_->Apply() : E_NOINTERFACE; }

bool HostedControl::TranslateAccelerator(MSG& msg) { return active_ && active_->TranslateAccelerator(&msg) == S_OK; }

HWND HostedControl::Window() const {
  HWND window = nullptr;
  if (inPlace_) inPlace_->GetWindow(&window);
  return window;
}

std::optional<ULONG> HostedControl::Destroy() {
  if (!object_) return std::nullopt;
  active_.reset();
  if (inPlace_) inPlace_->InPlaceDeactivate();
  object_->Close(OLECLOSE_NOSAVE);
  object_->SetClientSite(nullptr);
  page_.reset();
  inPlace_.reset();
  return object_.close();  // the references left, for the log
}

}  // namespace quillon::standin
