// A minimal container for the page control: a client site that is also an
// in-place site and Outlook's PropertyPageSite, counting what the control
// asks of it. Enough to create, site, activate and tear the control down the
// way Outlook does; the full stand-in host lives elsewhere.
#pragma once

#include <ole2.h>
#include <ocidl.h>
#include <olectl.h>

#include "win/common/com_support.h"
#include "win/common/outlook_interfaces.h"
#include "win_test_support.h"

namespace quillon::win::testing {

class TestSite final : public IOleClientSite, public IOleInPlaceSite, public PropertyPageSite {
 public:
  TestSite(HWND window, IDispatch* application) : window_(window), application_(application) {}

  STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
    if (answersNothing)
      return *object = nullptr, E_NOINTERFACE;
    if (iid == IID_IUnknown || iid == IID_IOleClientSite)
      *object = static_cast<IOleClientSite*>(this);
    else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceSite)
      *object = static_cast<IOleInPlaceSite*>(this);
    else if (iid == IID_IDispatch || iid == kIidPropertyPageSite)
      *object = static_cast<PropertyPageSite*>(this);
    else
      return *object = nullptr, E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++references_; }
  STDMETHODIMP_(ULONG) Release() override {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }

  // IOleClientSite
  STDMETHODIMP SaveObject() override { return S_OK; }
  STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker** moniker) override { return *moniker = nullptr, E_NOTIMPL; }
  STDMETHODIMP GetContainer(IOleContainer** container) override { return *container = nullptr, E_NOINTERFACE; }
  STDMETHODIMP ShowObject() override { return S_OK; }
  STDMETHODIMP OnShowWindow(BOOL) override { return S_OK; }
  STDMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }

  // IOleWindow, IOleInPlaceSite
  STDMETHODIMP GetWindow(HWND* window) override { return *window = window_, S_OK; }
  STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
  STDMETHODIMP CanInPlaceActivate() override { return S_OK; }
  STDMETHODIMP OnInPlaceActivate() override { return S_OK; }
  STDMETHODIMP OnUIActivate() override { return S_OK; }
  STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document, LPRECT place,
                                LPRECT clip, LPOLEINPLACEFRAMEINFO info) override {
    *frame = nullptr;
    *document = nullptr;
    *place = *clip = position;
    *info = {sizeof(OLEINPLACEFRAMEINFO), FALSE, window_, nullptr, 0};
    return S_OK;
  }
  STDMETHODIMP Scroll(SIZE) override { return E_NOTIMPL; }
  STDMETHODIMP OnUIDeactivate(BOOL) override { return S_OK; }
  STDMETHODIMP OnInPlaceDeactivate() override { return S_OK; }
  STDMETHODIMP DiscardUndoState() override { return S_OK; }
  STDMETHODIMP DeactivateAndUndo() override { return S_OK; }
  STDMETHODIMP OnPosRectChange(LPCRECT) override { return S_OK; }

  // IDispatch: not used, the control calls the site through its vtable.
  STDMETHODIMP GetTypeInfoCount(UINT* count) override { return *count = 0, S_OK; }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return E_NOTIMPL;
  }

  // PropertyPageSite
  STDMETHODIMP get_Application(IDispatch** application) override {
    ++applicationCalls;
    if ((*application = application_)) application_->AddRef();
    return S_OK;
  }
  STDMETHODIMP get_Class(long* objectClass) override { return *objectClass = 70, S_OK; }  // olPropertyPageSite
  STDMETHODIMP get_Session(IDispatch** session) override { return *session = nullptr, E_NOTIMPL; }
  STDMETHODIMP get_Parent(IDispatch** parent) override { return *parent = nullptr, E_NOTIMPL; }
  STDMETHODIMP OnStatusChange() override { return S_OK; }

  int applicationCalls = 0;
  bool answersNothing = false;  // a hostile site: QueryInterface finds no interface at all
  RECT position{0, 0, 420, 380};
  ULONG references() const { return references_; }

 private:
  ULONG references_ = 1;
  HWND window_;
  IDispatch* application_;
};

enum class CreationOrder { SiteFirst, InitNewFirst };

// The control created by ProgID and sited in a host window.
class HostedControl {
 public:
  explicit HostedControl(CreationOrder order, IDispatch* application = nullptr)
      : site_(new TestSite(host_.get(), application)) {
    CLSID clsid{};
    if (FAILED(created = CLSIDFromProgID(kProgId, &clsid))) return;
    created = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject, object_.put_void());
    if (SUCCEEDED(created)) SiteAndInitialise(order);
  }
  // A control made some other way (a test's own module), sited and initialised here.
  HostedControl(ComPtr<IOleObject> made, CreationOrder order, IDispatch* application)
      : site_(new TestSite(host_.get(), application)), object_(std::move(made)) {
    created = object_ ? S_OK : E_POINTER;
    if (object_) SiteAndInitialise(order);
  }
  HostedControl(const HostedControl&) = delete;
  HostedControl& operator=(const HostedControl&) = delete;
  ~HostedControl() { Teardown(); }

  HRESULT Activate() {
    return object_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, site_.get(), 0, host_.get(), &site_->position);
  }
  // Deactivates, closes, unsites and releases, as Outlook does; the last
  // Release's result is kept in `finalReferences`.
  void Teardown() {
    if (!object_) return;
    InPlace()->InPlaceDeactivate();
    object_->Close(OLECLOSE_NOSAVE);
    object_->SetClientSite(nullptr);
    page_.reset();
    finalReferences = object_.close();
  }

  ComPtr<IOleInPlaceObject> InPlace() const { return object_.As<IOleInPlaceObject>(IID_IOleInPlaceObject); }
  HWND PageWindow() const {
    HWND handle = nullptr;
    InPlace()->GetWindow(&handle);
    return handle;
  }
  PropertyPage* Page() const { return page_.get(); }
  IOleObject* Object() const { return object_.get(); }
  TestSite& Site() { return *site_.get(); }
  HWND Host() const { return host_.get(); }

  HRESULT created = E_FAIL;
  ULONG finalReferences = 0xFFFF;

 private:
  void SiteAndInitialise(CreationOrder order) {
    page_ = object_.As<PropertyPage>(kIidPropertyPage);
    auto persist = object_.As<IPersistStreamInit>(IID_IPersistStreamInit);
    if (order == CreationOrder::InitNewFirst) persist->InitNew();
    object_->SetClientSite(site_.get());
    if (order == CreationOrder::SiteFirst) persist->InitNew();
  }

  HostWindow host_;
  ComPtr<TestSite> site_;
  ComPtr<IOleObject> object_;
  ComPtr<PropertyPage> page_;
};

}  // namespace quillon::win::testing
