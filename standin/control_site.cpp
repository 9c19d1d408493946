#include "standin/control_site.h"

#include <olectl.h>

#include <iterator>

#include "standin/dispatch_object.h"

namespace quillon::standin {
namespace {

constexpr Member kSiteMembers[] = {{L"Application", 0xF000}, {L"Class", 0xF00A}, {L"Session", 0xF00B},
                                       {L"Parent", 0xF001}, {L"OnStatusChange", win::kDispidSiteOnStatusChange}};

// OLE_COLOR values that name system colours.
constexpr long kSysColorButtonFace = static_cast<long>(0x8000000F);
constexpr long kSysColorButtonText = static_cast<long>(0x80000012);

}  // namespace

HRESULT STDMETHODCALLTYPE ControlSite::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IOleClientSite)) {
    *out = static_cast<IOleClientSite*>(this);
  } else if (IsEqualIID(iid, IID_IOleWindow) || IsEqualIID(iid, IID_IOleInPlaceSite)) {
    *out = static_cast<IOleInPlaceSite*>(this);
  } else if (IsEqualIID(iid, IID_IOleInPlaceUIWindow) || IsEqualIID(iid, IID_IOleInPlaceFrame)) {
    *out = static_cast<IOleInPlaceFrame*>(this);
  } else if (IsEqualIID(iid, IID_IOleControlSite)) {
    *out = static_cast<IOleControlSite*>(this);
  } else if (IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, win::kIidPropertyPageSite)) {
    *out = static_cast<win::PropertyPageSite*>(this);
  } else {
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
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
  return LookUpMemberIds(std::begin(kSiteMembers), std::end(kSiteMembers), names, count, ids);
}

HRESULT STDMETHODCALLTYPE ControlSite::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS*, VARIANT* result,
                                              EXCEPINFO*, UINT* argErr) {
  if (argErr) *argErr = 0;
  if (result) VariantInit(result);
  if (!(flags & (DISPATCH_METHOD | DISPATCH_PROPERTYGET))) return DISP_E_MEMBERNOTFOUND;
  IDispatch* object = nullptr;
  HRESULT hr = S_OK;
  switch (id) {
    case win::kDispidSiteOnStatusChange: return OnStatusChange();
    case 0xF00A: {
      long objectClass = 0;
      get_Class(&objectClass);
      SetResultLong(result, objectClass);
      return S_OK;
    }
    case 0xF000: hr = get_Application(&object); break;
    case 0xF00B: hr = get_Session(&object); break;
    case 0xF001: hr = get_Parent(&object); break;
    default: return AmbientProperty(id, result);
  }
  ComPtr<IDispatch> owned(object);
  if (SUCCEEDED(hr)) SetResultObject(result, owned.get());
  return hr;
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
  *application = attached_ ? owner_.Application().detach() : nullptr;
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
  const HRESULT hr = app->Invoke(sessionId, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, value.get(), nullptr, nullptr);
  if (FAILED(hr) || (*value).vt != VT_DISPATCH || !(*value).pdispVal) return E_FAIL;
  *session = (*value).pdispVal;
  (*session)->AddRef();
  return S_OK;
}

HRESULT STDMETHODCALLTYPE ControlSite::get_Parent(IDispatch** parent) { return get_Application(parent); }

HRESULT STDMETHODCALLTYPE ControlSite::OnStatusChange() {
  if (attached_) owner_.OnStatusChange();
  return S_OK;
}

}  // namespace quillon::standin
