#include "win/control/accessible_name.h"

#include <oleacc.h>

#include <memory>
#include <string>
#include <utility>

#include "win/common/callback_guard.h"
#include "win/common/com_support.h"

namespace quillon::win {
namespace {

// By __uuidof: liboleacc's IID_IAccessible is an imported data symbol, which
// MinGW would link as the address of its import thunk.

// The standard object with one change: its own name. Everything else,
// children, state, location and navigation included, is the standard one's.
class NamedAccessible final : public IAccessible {
 public:
  NamedAccessible(ComPtr<IAccessible> standard, std::wstring name)
      : standard_(std::move(standard)), name_(std::move(name)) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** result) override {
    if (!result) return E_POINTER;
    *result = nullptr;
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == __uuidof(IAccessible)) {
      AddRef();
      *result = static_cast<IAccessible*>(this);
      return S_OK;
    }
    // IEnumVARIANT (the children) and IOleWindow (the window) are the standard
    // object's: clients use them to walk and locate, never to compare identity.
    // Nothing else is handed on: COM's marshalling interfaces must be this object's.
    if (iid == __uuidof(IEnumVARIANT) || iid == __uuidof(IOleWindow)) return standard_->QueryInterface(iid, result);
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&references_)); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
  }

  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    if (!name) return E_POINTER;
    if (V_VT(&child) != VT_I4 || V_I4(&child) != CHILDID_SELF) return standard_->get_accName(child, name);
    *name = SysAllocStringLen(name_.c_str(), static_cast<UINT>(name_.size()));
    return *name ? S_OK : E_OUTOFMEMORY;
  }

  // IDispatch and the rest of IAccessible: the standard object's answers.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override { return standard_->GetTypeInfoCount(count); }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override {
    return standard_->GetTypeInfo(index, locale, info);
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                          DISPID* ids) override {
    return standard_->GetIDsOfNames(iid, names, count, locale, ids);
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* parameters,
                                   VARIANT* result, EXCEPINFO* exception, UINT* argumentError) override {
    return standard_->Invoke(id, iid, locale, flags, parameters, result, exception, argumentError);
  }
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override { return standard_->get_accParent(parent); }
  HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override { return standard_->get_accChildCount(count); }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override {
    return standard_->get_accChild(child, object);
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
    return standard_->get_accValue(child, value);
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override {
    return standard_->get_accDescription(child, text);
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
    return standard_->get_accRole(child, role);
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
    return standard_->get_accState(child, state);
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override { return standard_->get_accHelp(child, help); }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override {
    return standard_->get_accHelpTopic(file, child, topic);
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
    return standard_->get_accKeyboardShortcut(child, shortcut);
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override { return standard_->get_accFocus(child); }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override { return standard_->get_accSelection(children); }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
    return standard_->get_accDefaultAction(child, action);
  }
  HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override { return standard_->accSelect(flags, child); }
  HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT child) override {
    return standard_->accLocation(left, top, width, height, child);
  }
  HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
    return standard_->accNavigate(direction, start, end);
  }
  HRESULT STDMETHODCALLTYPE accHitTest(long left, long top, VARIANT* child) override {
    return standard_->accHitTest(left, top, child);
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override { return standard_->accDoDefaultAction(child); }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override { return standard_->put_accName(child, name); }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
    return standard_->put_accValue(child, value);
  }

 private:
  ~NamedAccessible() = default;

  LONG references_ = 1;
  ComPtr<IAccessible> standard_;
  std::wstring name_;
};

std::wstring AccessibleNameFrom(ControlId labelledBy) {
  const ControlDesign& design = DesignOf(labelledBy);
  std::wstring name = design.caption ? design.caption : L"";
  while (!name.empty() && name.back() == L' ') name.pop_back();
  if (design.kind == ControlKind::Label && !name.empty() && name.back() == L':') name.pop_back();
  return name;
}

// The subclass's own state, kept in the control's GWLP_USERDATA: the page
// made the control and nothing else of this process uses that slot. Not
// comctl32's SetWindowSubclass: under Wine every message to a window
// subclassed that way looks its chain up in the window's properties through
// wineserver, which tripled the open of a page of 1,000 identities.
struct Naming {
  WNDPROC original;
  ControlId labelledBy;
};

LRESULT AnswerGetObject(HWND window, WPARAM wParam, const Naming& naming) {
  ComPtr<IAccessible> standard;
  if (FAILED(CreateStdAccessibleObject(window, OBJID_CLIENT, __uuidof(IAccessible), standard.put_void())) ||
      !standard) {
    return CallWindowProcW(naming.original, window, WM_GETOBJECT, wParam, static_cast<LPARAM>(OBJID_CLIENT));
  }
  const ComPtr<IAccessible> named(new NamedAccessible(std::move(standard), AccessibleNameFrom(naming.labelledBy)));
  return LresultFromObject(__uuidof(IAccessible), wParam, named.get());
}

LRESULT CALLBACK NamingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* naming = reinterpret_cast<Naming*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!naming) return DefWindowProcW(window, message, wParam, lParam);  // only if the slot was overwritten
  const WNDPROC original = naming->original;
  return GuardedCallback<LRESULT>(
      [&]() -> LRESULT {
        // The object id is a 32-bit value, however the sender widened it.
        if (message == WM_GETOBJECT && static_cast<LONG>(static_cast<DWORD>(lParam)) == OBJID_CLIENT) {
          return AnswerGetObject(window, wParam, *naming);
        }
        if (message == WM_NCDESTROY) {  // the last message: the control's own procedure sees it as before
          SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
          SetWindowLongPtrW(window, GWLP_USERDATA, 0);
          delete naming;
        }
        return CallWindowProcW(original, window, message, wParam, lParam);
      },
      [&] { return CallWindowProcW(original, window, message, wParam, lParam); });
}

}  // namespace

bool AnswerAccessibleName(HWND control, ControlId labelledBy) {
  if (!control || GetWindowLongPtrW(control, GWLP_USERDATA)) return false;
  auto naming = std::make_unique<Naming>(Naming{nullptr, labelledBy});
  SetWindowLongPtrW(control, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(naming.get()));
  SetLastError(ERROR_SUCCESS);  // a previous procedure of 0 and a failure look alike otherwise
  naming->original = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&NamingProc)));
  if (!naming->original) {
    SetWindowLongPtrW(control, GWLP_USERDATA, 0);
    return false;
  }
  naming.release();  // freed by NamingProc on WM_NCDESTROY
  return true;
}

}  // namespace quillon::win
