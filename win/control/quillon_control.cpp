#include "win/control/quillon_control.h"

#include <new>

#include "win/control/control_module.h"
#include "win/control/outlook_late_bound.h"
#include "win/control/page_runtime.h"
#include "win/control/registration.h"

namespace quillon::win {
namespace {

// No exception may cross a COM boundary.
template <class Body>
HRESULT Guarded(Body&& body) noexcept {
  try {
    return body();
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return E_UNEXPECTED;
  }
}

// The design size, 6120 x 5625 twips, in HIMETRIC (2540 per inch).
constexpr SIZEL kDesignExtent{6120 * 2540 / 1440, 5625 * 2540 / 1440};
constexpr wchar_t kCaption[] = L"Outlook Property Page";

bool IsKeyMessage(UINT message) { return message >= WM_KEYFIRST && message <= WM_KEYLAST; }

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
  if (!object) return E_POINTER;
  *object = nullptr;
  if (iid == IID_IUnknown || iid == IID_IDispatch || iid == kIidPropertyPage)
    *object = static_cast<PropertyPage*>(this);
  else if (iid == IID_IOleObject)
    *object = static_cast<IOleObject*>(this);
  else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceObject)
    *object = static_cast<IOleInPlaceObject*>(this);
  else if (iid == IID_IOleInPlaceActiveObject)
    *object = static_cast<IOleInPlaceActiveObject*>(this);
  else if (iid == IID_IOleControl)
    *object = static_cast<IOleControl*>(this);
  else if (iid == IID_IViewObject || iid == IID_IViewObject2)
    *object = static_cast<IViewObject2*>(this);
  else if (iid == IID_IPersist || iid == IID_IPersistStreamInit)
    *object = static_cast<IPersistStreamInit*>(this);
  else if (iid == IID_IPersistPropertyBag)
    *object = static_cast<IPersistPropertyBag*>(this);
  else
    return E_NOINTERFACE;
  AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) QuillonControl::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&references_)); }

STDMETHODIMP_(ULONG) QuillonControl::Release() {
  const LONG left = InterlockedDecrement(&references_);
  if (left == 0) delete this;
  return static_cast<ULONG>(left);
}

// ---- IDispatch: answered by hand, no type library.

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
  static constexpr struct {
    const wchar_t* name;
    DISPID id;
  } kMembers[] = {{L"Caption", kDispidPageCaption},
                  {L"GetPageInfo", kDispidGetPageInfo},
                  {L"Dirty", kDispidDirty},
                  {L"Apply", kDispidApply}};
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
    const bool get = (flags & DISPATCH_PROPERTYGET) != 0;
    const bool call = (flags & DISPATCH_METHOD) != 0;
    const UINT arguments = params ? params->cArgs : 0;
    if (result) VariantInit(result);
    // Caption, Dirty and Apply take no arguments: a call with some is not theirs,
    // and must not save the page.
    if (arguments > 0 && (get || call) && (id == kDispidPageCaption || id == kDispidDirty || id == kDispidApply))
      return DISP_E_BADPARAMCOUNT;
    switch (id) {
      case kDispidPageCaption:
        if (!get) return DISP_E_MEMBERNOTFOUND;
        if (result) {
          V_VT(result) = VT_BSTR;
          V_BSTR(result) = SysAllocString(kCaption);
          if (!V_BSTR(result)) return E_OUTOFMEMORY;
        }
        return S_OK;
      case kDispidDirty: {
        if (!get) return DISP_E_MEMBERNOTFOUND;
        VARIANT_BOOL dirty = VARIANT_FALSE;
        get_Dirty(&dirty);
        if (result) {
          V_VT(result) = VT_BOOL;
          V_BOOL(result) = dirty;
        }
        return S_OK;
      }
      case kDispidApply:
        return call ? Apply() : DISP_E_MEMBERNOTFOUND;
      case kDispidGetPageInfo:
        // The page has no help: both by-reference arguments stay as passed.
        if (!call) return DISP_E_MEMBERNOTFOUND;
        return arguments > 2 ? DISP_E_BADPARAMCOUNT : S_OK;
    }
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
      UniqueBstr replaced(file);
      if (!replaced.valid()) return E_OUTOFMEMORY;
      SysFreeString(*helpFile);
      *helpFile = replaced.release();
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

// ---- Initialisation and the load

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

// ---- IOleObject

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
  *site = clientSite_.get();
  if (*site) (*site)->AddRef();
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
  if (key == VK_RETURN) {
    wchar_t className[16] = {};
    GetClassNameW(message->hwnd, className, 16);
    const bool pushButton = _wcsicmp(className, L"Button") == 0 &&
                            (GetWindowLongPtrW(message->hwnd, GWL_STYLE) & BS_TYPEMASK) == BS_PUSHBUTTON;
    if (!pushButton) return S_FALSE;
  }
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

// ---- IViewObject2

STDMETHODIMP QuillonControl::Draw(DWORD aspect, LONG, void*, DVTARGETDEVICE*, HDC, HDC drawDc, LPCRECTL bounds,
                                  LPCRECTL, BOOL(STDMETHODCALLTYPE*)(ULONG_PTR), ULONG_PTR) {
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  if (!drawDc || !bounds) return E_INVALIDARG;
  return Guarded([&]() -> HRESULT {
    DrawContent(drawDc, RECT{bounds->left, bounds->top, bounds->right, bounds->bottom});
    return S_OK;
  });
}

// Paints the page's window (with its controls) scaled into `bounds`.
void QuillonControl::DrawContent(HDC dc, const RECT& bounds) {
  FillRect(dc, &bounds, GetSysColorBrush(COLOR_BTNFACE));
  HWND page = runtime_ ? runtime_->Window().Handle() : nullptr;
  RECT client{};
  if (!page || !GetClientRect(page, &client) || client.right <= 0 || client.bottom <= 0) return;
  HDC memory = CreateCompatibleDC(dc);
  HBITMAP bitmap = CreateCompatibleBitmap(dc, client.right, client.bottom);
  if (memory && bitmap) {
    HGDIOBJ old = SelectObject(memory, bitmap);
    SendMessageW(page, WM_PRINT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT | PRF_CHILDREN | PRF_ERASEBKGND);
    StretchBlt(dc, bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top, memory, 0,
               0, client.right, client.bottom, SRCCOPY);
    SelectObject(memory, old);
  }
  if (bitmap) DeleteObject(bitmap);
  if (memory) DeleteDC(memory);
}

STDMETHODIMP QuillonControl::GetColorSet(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, LOGPALETTE** colours) {
  if (colours) *colours = nullptr;
  return S_FALSE;
}

STDMETHODIMP QuillonControl::Freeze(DWORD, LONG, void*, DWORD*) { return E_NOTIMPL; }
STDMETHODIMP QuillonControl::Unfreeze(DWORD) { return E_NOTIMPL; }

STDMETHODIMP QuillonControl::SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink) {
  viewAspects_ = aspects;
  viewFlags_ = flags;
  viewSink_ = ComPtr<IAdviseSink>::Share(sink);
  return S_OK;
}

STDMETHODIMP QuillonControl::GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink) {
  if (aspects) *aspects = viewAspects_;
  if (flags) *flags = viewFlags_;
  if (sink) {
    *sink = viewSink_.get();
    if (*sink) (*sink)->AddRef();
  }
  return S_OK;
}

STDMETHODIMP QuillonControl::GetExtent(DWORD aspect, LONG, DVTARGETDEVICE*, LPSIZEL size) {
  return GetExtent(aspect, size);
}

}  // namespace quillon::win
