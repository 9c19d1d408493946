#include "standin/control_site.h"

#include <olectl.h>

#include <algorithm>

#include "standin/dispatch_object.h"
#include "win/common/interface_table.h"

namespace quillon::standin {
namespace {

// A PropertyPageSite getter's object as the call's result; the getter's failure as is.
template <HRESULT (STDMETHODCALLTYPE ControlSite::*Get)(IDispatch**)>
HRESULT Fetch(ControlSite& site, const Invocation& call) {
  IDispatch* object = nullptr;
  const HRESULT hr = (site.*Get)(&object);
  const ComPtr<IDispatch> owned(object);
  if (SUCCEEDED(hr)) call.ReturnObject(owned.get());
  return hr;
}

HRESULT ObjectClass(ControlSite& site, const Invocation& call) {
  long objectClass = 0;
  site.get_Class(&objectClass);
  return call.ReturnLong(objectClass);
}

constexpr Member<ControlSite> kSiteMembers[] = {
    {L"Application", win::kDispidSiteApplication, Fetch<&ControlSite::get_Application>},
    {L"Class", 0xF00A, ObjectClass},
    {L"Session", 0xF00B, Fetch<&ControlSite::get_Session>},
    {L"Parent", 0xF001, Fetch<&ControlSite::get_Parent>},
    {L"OnStatusChange", win::kDispidSiteOnStatusChange,
     [](ControlSite& site, const Invocation&) { return site.OnStatusChange(); }},
};

template <class Interface>
constexpr auto kAs = &win::CastTo<ControlSite, Interface>;

const win::InterfaceEntry<ControlSite> kInterfaces[] = {
    {&IID_IUnknown, kAs<IOleClientSite>},
    {&IID_IOleClientSite, kAs<IOleClientSite>},
    {&IID_IOleWindow, kAs<IOleInPlaceSite>},
    {&IID_IOleInPlaceSite, kAs<IOleInPlaceSite>},
    {&IID_IOleInPlaceUIWindow, kAs<IOleInPlaceFrame>},
    {&IID_IOleInPlaceFrame, kAs<IOleInPlaceFrame>},
    {&IID_IOleControlSite, kAs<IOleControlSite>},
    {&IID_IDispatch, kAs<win::PropertyPageSite>},
    {&win::kIidPropertyPageSite, kAs<win::PropertyPageSite>},
};

// OLE_COLOR values that name system colours.
constexpr long kSysColorButtonFace = static_cast<long>(0x8000000F);
constexpr long kSysColorButtonText = static_cast<long>(0x80000012);

}  // namespace

HRESULT STDMETHODCALLTYPE ControlSite::QueryInterface(REFIID iid, void** out) {
  return win::QueryInterfaceByTable(this, kInterfaces, iid, out);
}

ULONG STDMETHODCALLTYPE ControlSite::Release() {
  const ULONG left = --refs_;
  if (left == 0) delete this;
  return left;
}

HRESULT STDMETHODCALLTYPE ControlSite::GetMoniker(DWORD, DWORD, IMoniker** out) {
  if (out) *out = nullptr;
  return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE ControlSite::GetContainer(IOleContainer** out) {
  if (out) *out = nullptr;
  return E_NOINTERFACE;
}

HRESULT STDMETHODCALLTYPE ControlSite::GetWindow(HWND* window) {
  if (!window) return E_POINTER;
  *window = attached_ ? owner_.DialogWindow() : nullptr;
  return *window ? S_OK : E_FAIL;
}

HRESULT STDMETHODCALLTYPE ControlSite::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document,
                                                        LPRECT position, LPRECT clip,
                                                        LPOLEINPLACEFRAMEINFO info) {
  if (!frame || !document || !position || !clip || !info) return E_POINTER;
  *frame = nullptr;
  *document = nullptr;
  if (!attached_) return E_UNEXPECTED;
  // The dialog is the frame; a property page has no document window.
  *frame = static_cast<IOleInPlaceFrame*>(this);
  AddRef();
  *position = owner_.PageRect();
  *clip = *position;
  info->fMDIApp = FALSE;
  info->hwndFrame = owner_.DialogWindow();
  info->haccel = nullptr;
  info->cAccelEntries = 0;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE ControlSite::OnInPlaceDeactivate() {
  if (attached_) owner_.OnActiveObject(nullptr);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE ControlSite::SetActiveObject(IOleInPlaceActiveObject* active, LPCOLESTR) {
  if (attached_) owner_.OnActiveObject(active);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE ControlSite::GetExtendedControl(IDispatch** out) {
  if (out) *out = nullptr;
  return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE ControlSite::GetTypeInfoCount(UINT* count) { return NoTypeInfoCount(count); }

HRESULT STDMETHODCALLTYPE ControlSite::GetTypeInfo(UINT, LCID, ITypeInfo** info) { return NoTypeInfo(info); }

HRESULT STDMETHODCALLTYPE ControlSite::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  return LookUpMemberIds<Member<ControlSite>>(kSiteMembers, names, count, ids);
}

HRESULT STDMETHODCALLTYPE ControlSite::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                              VARIANT* result, EXCEPINFO*, UINT* argErr) {
  if (argErr) *argErr = 0;
  if (result) VariantInit(result);
  const Invocation call{flags, params, result, nullptr};
  if (!call.IsGet()) return DISP_E_MEMBERNOTFOUND;
  const bool member = std::ranges::any_of(kSiteMembers, [id](const auto& row) { return row.id == id; });
  return member ? InvokeMember<ControlSite>(*this, kSiteMembers, id, call) : AmbientProperty(id, result);
}

HRESULT ControlSite::AmbientProperty(DISPID id, VARIANT* result) {
  switch (id) {
    case DISPID_AMBIENT_USERMODE: SetResultBool(result, true); return S_OK;
    case DISPID_AMBIENT_UIDEAD:
    case DISPID_AMBIENT_SHOWGRABHANDLES:
    case DISPID_AMBIENT_SHOWHATCHING:
    case DISPID_AMBIENT_DISPLAYASDEFAULT:
    case DISPID_AMBIENT_MESSAGEREFLECT: SetResultBool(result, false); return S_OK;
    case DISPID_AMBIENT_LOCALEID: SetResultLong(result, static_cast<long>(GetUserDefaultLCID())); return S_OK;
    case DISPID_AMBIENT_BACKCOLOR: SetResultLong(result, kSysColorButtonFace); return S_OK;
    case DISPID_AMBIENT_FORECOLOR: SetResultLong(result, kSysColorButtonText); return S_OK;
    case DISPID_AMBIENT_APPEARANCE: SetResultShort(result, 1); return S_OK;  // 3D
    default: return DISP_E_MEMBERNOTFOUND;
  }
}

HRESULT STDMETHODCALLTYPE ControlSite::get_Application(IDispatch** application) {
  if (!application) return E_POINTER;
  *application = attached_ ? owner_.Application().release() : nullptr;
  return *application ? S_OK : E_FAIL;
}

HRESULT STDMETHODCALLTYPE ControlSite::get_Class(long* objectClass) {
  if (!objectClass) return E_POINTER;
  *objectClass = win::kOlPropertyPageSite;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE ControlSite::get_Session(IDispatch** session) {
  if (!session) return E_POINTER;
  *session = nullptr;
  ComPtr<IDispatch> app;
  if (FAILED(get_Application(app.put()))) return E_FAIL;
  // Session is the Application's namespace.
  DISPID sessionId = 0xF00B;
  DISPPARAMS none{nullptr, nullptr, 0, 0};
  UniqueVariant value;
  const HRESULT hr = app->Invoke(sessionId, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, value.put(), nullptr, nullptr);
  if (FAILED(hr) || value.get().vt != VT_DISPATCH || !value.get().pdispVal) return E_FAIL;
  *session = value.get().pdispVal;
  (*session)->AddRef();
  return S_OK;
}

HRESULT STDMETHODCALLTYPE ControlSite::get_Parent(IDispatch** parent) { return get_Application(parent); }

HRESULT STDMETHODCALLTYPE ControlSite::OnStatusChange() {
  if (attached_) owner_.OnStatusChange();
  return S_OK;
}

}  // namespace quillon::standin
