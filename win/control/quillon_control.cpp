// QuillonControl's lifetime, its interface table, IDispatch and PropertyPage.
#include "win/control/quillon_control.h"

#include <utility>

#include "win/common/com_guard.h"
#include "win/common/interface_table.h"
#include "win/control/control_module.h"
#include "win/control/outlook_late_bound.h"
#include "win/control/page_runtime.h"

namespace quillon::win {
namespace {

// The design size, 6120 x 5625 twips, in HIMETRIC (2540 per inch).
constexpr SIZEL kDesignExtent{6120 * 2540 / 1440, 5625 * 2540 / 1440};
constexpr wchar_t kCaption[] = L"Outlook Property Page";

template <class Interface>
constexpr auto kAs = &CastTo<QuillonControl, Interface>;

const InterfaceEntry<QuillonControl> kInterfaces[] = {
    {&IID_IUnknown, kAs<PropertyPage>},
    {&IID_IDispatch, kAs<PropertyPage>},
    {&kIidPropertyPage, kAs<PropertyPage>},
    {&IID_IOleObject, kAs<IOleObject>},
    {&IID_IOleWindow, kAs<IOleInPlaceObject>},
    {&IID_IOleInPlaceObject, kAs<IOleInPlaceObject>},
    {&IID_IOleInPlaceActiveObject, kAs<IOleInPlaceActiveObject>},
    {&IID_IOleControl, kAs<IOleControl>},
    {&IID_IViewObject, kAs<IViewObject2>},
    {&IID_IViewObject2, kAs<IViewObject2>},
    {&IID_IPersist, kAs<IPersistStreamInit>},
    {&IID_IPersistStreamInit, kAs<IPersistStreamInit>},
    {&IID_IPersistPropertyBag, kAs<IPersistPropertyBag>},
};

// One late-bound call of a member, as Invoke received it.
struct Invocation {
  bool get;
  bool call;
  UINT arguments;
  VARIANT* result;  // may be null: the caller ignores the result
  // Caption, Dirty and Apply take no arguments: a call with some is not theirs,
  // and must not save the page.
  bool HasArguments() const { return arguments > 0 && (get || call); }
};

HRESULT InvokeCaption(QuillonControl&, const Invocation& invocation) {
  if (invocation.HasArguments()) return DISP_E_BADPARAMCOUNT;
  if (!invocation.get) return DISP_E_MEMBERNOTFOUND;
  if (!invocation.result) return S_OK;
  V_VT(invocation.result) = VT_BSTR;
  V_BSTR(invocation.result) = SysAllocString(kCaption);
  return V_BSTR(invocation.result) ? S_OK : E_OUTOFMEMORY;
}

HRESULT InvokeDirty(QuillonControl& control, const Invocation& invocation) {
  if (invocation.HasArguments()) return DISP_E_BADPARAMCOUNT;
  if (!invocation.get) return DISP_E_MEMBERNOTFOUND;
  VARIANT_BOOL dirty = VARIANT_FALSE;
  control.get_Dirty(&dirty);
  if (invocation.result) {
    V_VT(invocation.result) = VT_BOOL;
    V_BOOL(invocation.result) = dirty;
  }
  return S_OK;
}

HRESULT InvokeApply(QuillonControl& control, const Invocation& invocation) {
  if (invocation.HasArguments()) return DISP_E_BADPARAMCOUNT;
  return invocation.call ? control.Apply() : DISP_E_MEMBERNOTFOUND;
}

// The page has no help: both by-reference arguments stay as passed.
HRESULT InvokeGetPageInfo(QuillonControl&, const Invocation& invocation) {
  if (!invocation.call) return DISP_E_MEMBERNOTFOUND;
  return invocation.arguments > 2 ? DISP_E_BADPARAMCOUNT : S_OK;
}

// What GetIDsOfNames and Invoke both answer, without a type library.
struct DispatchMember {
  const wchar_t* name;
  DISPID id;
  HRESULT (*invoke)(QuillonControl&, const Invocation&);
};
constexpr DispatchMember kMembers[] = {{L"Caption", kDispidPageCaption, InvokeCaption},
                                       {L"GetPageInfo", kDispidGetPageInfo, InvokeGetPageInfo},
                                       {L"Dirty", kDispidDirty, InvokeDirty},
                                       {L"Apply", kDispidApply, InvokeApply}};

}  // namespace

QuillonControl::QuillonControl(ControlModule& module)
    : module_(module), siteLink_(std::make_shared<SiteLink>()), extent_(kDesignExtent) {
  module_.ObjectCreated();
}

QuillonControl::~QuillonControl() {
  try {
    if (runtime_) runtime_->Page().UserControl_Terminate();
  } catch (...) {
    // Terminate ignores its failures; the object goes away regardless.
  }
  runtime_.reset();
  siteLink_->site.reset();
  module_.ObjectDestroyed();
}

// ---- IUnknown

STDMETHODIMP QuillonControl::QueryInterface(REFIID iid, void** object) {
  return QueryInterfaceByTable(this, kInterfaces, iid, object);
}

STDMETHODIMP_(ULONG) QuillonControl::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&references_)); }

STDMETHODIMP_(ULONG) QuillonControl::Release() {
  const LONG left = InterlockedDecrement(&references_);
  if (left == 0) delete this;
  return static_cast<ULONG>(left);
}

// ---- IDispatch: answered from kMembers, no type library.

STDMETHODIMP QuillonControl::GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 0;
  return S_OK;
}

STDMETHODIMP QuillonControl::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
  if (info) *info = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP QuillonControl::GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
  if (!names || !ids || count == 0) return E_INVALIDARG;
  for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
  if (!names[0]) return DISP_E_UNKNOWNNAME;
  for (const auto& member : kMembers) {
    if (_wcsicmp(names[0], member.name) == 0) {
      ids[0] = member.id;
      return count == 1 ? S_OK : DISP_E_UNKNOWNNAME;  // the members take no named arguments
    }
  }
  return DISP_E_UNKNOWNNAME;
}

STDMETHODIMP QuillonControl::Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* params,
                                    VARIANT* result, EXCEPINFO*, UINT*) {
  if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
  return Guarded([&]() -> HRESULT {
    const Invocation invocation{(flags & DISPATCH_PROPERTYGET) != 0, (flags & DISPATCH_METHOD) != 0,
                                params ? params->cArgs : 0, result};
    if (result) VariantInit(result);
    for (const auto& member : kMembers)
      if (member.id == id) return member.invoke(*this, invocation);
    return DISP_E_MEMBERNOTFOUND;
  });
}

// ---- PropertyPage

STDMETHODIMP QuillonControl::GetPageInfo(BSTR* helpFile, long* helpContext) {
  return Guarded([&]() -> HRESULT {
    if (!runtime_) return S_OK;
    std::u16string file = helpFile ? FromBstr(*helpFile) : std::u16string();
    std::int32_t context = helpContext ? *helpContext : 0;
    const std::u16string fileBefore = file;
    runtime_->Page().PropertyPage_GetPageInfo(file, context);
    if (helpFile && file != fileBefore) {
      UniqueBstr replaced = MakeBstr(file);
      if (!replaced) return E_OUTOFMEMORY;
      // In-out: the caller's string is ours to free once it is replaced.
      const UniqueBstr passed(std::exchange(*helpFile, replaced.release()));
    }
    if (helpContext) *helpContext = context;
    return S_OK;
  });
}

STDMETHODIMP QuillonControl::get_Dirty(VARIANT_BOOL* dirty) {
  if (!dirty) return E_POINTER;
  *dirty = runtime_ && runtime_->Page().PropertyPage_Dirty() ? VARIANT_TRUE : VARIANT_FALSE;
  return S_OK;
}

STDMETHODIMP QuillonControl::Apply() {
  return Guarded([&]() -> HRESULT {
    // Never loaded, or its controls went down with a host window: the lists
    // hold nothing to save, and saving them would wipe the profile's identities.
    if (!runtime_ || !runtime_->Window().Handle()) return E_UNEXPECTED;
    // Apply pumps messages; the host may let go of the page meanwhile.
    ComPtr<IUnknown> keepAlive = ComPtr<IUnknown>::Share(static_cast<PropertyPage*>(this));
    runtime_->Page().PropertyPage_Apply();
    return S_OK;
  });
}

}  // namespace quillon::win
