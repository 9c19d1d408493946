// A minimal container for the page control: a client site that is also an
// in-place site and Outlook's PropertyPageSite, counting what the control
// asks of it. Enough to create, site, activate and tear the control down the
// way Outlook does; the full stand-in host lives elsewhere.
#pragma once

#include <ole2.h>
#include <ocidl.h>
#include <olectl.h>

#include "win/control/com_support.h"
#include "win/control/outlook_interfaces.h"
#include "win_test_support.h"

namespace quillon::win::testing {

class TestSite final : public IOleClientSite, public IOleInPlaceSite, public PropertyPageSite {
 public:
  TestSite(HWND window, IDispatch* application);

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
  STDMETHODIMP_(ULONG) AddRef() override { return ++references_; }
  STDMETHODIMP_(ULONG) Release() override;

  // IOleClientSite
  STDMETHODIMP SaveObject() override { return S_OK; }
  STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker** moniker) override;
  STDMETHODIMP GetContainer(IOleContainer** container) override;
  STDMETHODIMP ShowObject() override { return S_OK; }
  STDMETHODIMP OnShowWindow(BOOL) override { return S_OK; }
  STDMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }

  // IOleWindow, IOleInPlaceSite
  STDMETHODIMP GetWindow(HWND* window) override;
  STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
  STDMETHODIMP CanInPlaceActivate() override { return S_OK; }
  STDMETHODIMP OnInPlaceActivate() override { return S_OK; }
  STDMETHODIMP OnUIActivate() override { return S_OK; }
  STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document, LPRECT position,
                                LPRECT clip, LPOLEINPLACEFRAMEINFO info) override;
  STDMETHODIMP Scroll(SIZE) override { return E_NOTIMPL; }
  STDMETHODIMP OnUIDeactivate(BOOL) override { return S_OK; }
  STDMETHODIMP OnInPlaceDeactivate() override { return S_OK; }
  STDMETHODIMP DiscardUndoState() override { return S_OK; }
  STDMETHODIMP DeactivateAndUndo() override { return S_OK; }
  STDMETHODIMP OnPosRectChange(LPCRECT) override { return S_OK; }

  // IDispatch (not used: the control calls the site through its vtable)
  STDMETHODIMP GetTypeInfoCount(UINT* count) override;
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return E_NOTIMPL;
  }

  // PropertyPageSite
  STDMETHODIMP get_Application(IDispatch** application) override;
  STDMETHODIMP get_Class(long* objectClass) override;
  STDMETHODIMP get_Session(IDispatch** session) override;
  STDMETHODIMP get_Parent(IDispatch** parent) override;
  STDMETHODIMP OnStatusChange() override;

  int applicationCalls = 0;
  int statusChanges = 0;
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
  HostedControl(CreationOrder order, IDispatch* application = nullptr);
  HostedControl(const HostedControl&) = delete;
  HostedControl& operator=(const HostedControl&) = delete;
  ~HostedControl() { Teardown(); }

  HRESULT Activate();
  // Deactivates, closes, unsites and releases, as Outlook does; the last
  // Release's result is kept in `finalReferences`.
  void Teardown();

  HWND PageWindow() const;
  PropertyPage* Page() const { return page_.get(); }
  IOleObject* Object() const { return object_.get(); }
  TestSite& Site() { return *site_.get(); }
  HWND Host() const { return host_.get(); }

  HRESULT created = E_FAIL;
  ULONG finalReferences = 0xFFFF;

 private:
  HostWindow host_;
  ComPtr<TestSite> site_;
  ComPtr<IOleObject> object_;
  ComPtr<PropertyPage> page_;
};

}  // namespace quillon::win::testing
