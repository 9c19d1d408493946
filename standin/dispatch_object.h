// Base of the stand-in's automation objects: IDispatch callable by name, with
// Outlook's own DISPIDs and no type library (callers bind late, by name or DISPID).
// Each object answers from one member table {name, DISPID, handler}: name lookup
// and calls read the same rows, so a DISPID is written once.
#pragma once

#include <span>
#include <string>

#include "standin/com_support.h"

namespace quillon::standin {

// One call of a member, as Invoke received it.
struct Invocation {
  WORD flags;
  DISPPARAMS* params;
  VARIANT* result;       // null when the caller ignores it
  const wchar_t* member;  // the member's name (null for a default member reached by DISPID)

  bool IsGet() const { return (flags & (DISPATCH_PROPERTYGET | DISPATCH_METHOD)) != 0; }
  bool IsPut() const { return (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0; }

  HRESULT ReturnText(const std::wstring& text) const {
    SetResultText(result, text);
    return S_OK;
  }
  HRESULT ReturnLong(long value) const {
    SetResultLong(result, value);
    return S_OK;
  }
  HRESULT ReturnShort(short value) const {
    SetResultShort(result, value);
    return S_OK;
  }
  HRESULT ReturnBool(bool value) const {
    SetResultBool(result, value);
    return S_OK;
  }
  // With a new reference; null gives Nothing.
  HRESULT ReturnObject(IDispatch* object) const {
    SetResultObject(result, object);
    return S_OK;
  }
};

// Which calls reach a handler: reads only (a property get or a method call), or
// puts too, which the handler then tells apart. Anything else is DISP_E_MEMBERNOTFOUND.
enum class Access { kGet, kGetOrPut };

template <class Object>
struct Member {
  const wchar_t* name;  // null: reached by DISPID only (DISPID_VALUE as a second way to a member)
  DISPID id;
  HRESULT (*handler)(Object&, const Invocation&);
  Access access = Access::kGet;
};

// IDispatch's name lookup over a member table: the first name only (no named
// arguments), compared without regard to case.
template <class Row>
HRESULT LookUpMemberIds(std::span<const Row> members, LPOLESTR* names, UINT count, DISPID* ids) {
  if (!names || !ids || count == 0) return E_INVALIDARG;
  for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
  for (const Row& member : members) {
    if (names[0] && member.name && lstrcmpiW(names[0], member.name) == 0) {
      ids[0] = member.id;
      return count == 1 ? S_OK : DISP_E_UNKNOWNNAME;
    }
  }
  return DISP_E_UNKNOWNNAME;
}

// The row for `id` handles the call; DISP_E_MEMBERNOTFOUND without one, or for a
// call its access does not take.
template <class Object>
HRESULT InvokeMember(Object& object, std::span<const Member<Object>> members, DISPID id, Invocation call) {
  for (const Member<Object>& member : members) {
    if (member.id != id) continue;
    if (member.access == Access::kGet && !call.IsGet()) return DISP_E_MEMBERNOTFOUND;
    call.member = member.name;
    return member.handler(object, call);
  }
  return DISP_E_MEMBERNOTFOUND;
}

// Objects without a type library answer the type-information calls alike.
HRESULT NoTypeInfoCount(UINT* count);
HRESULT NoTypeInfo(ITypeInfo** info);

class DispatchObject : public IDispatch {
 public:
  // `interfaceId`: the object's own dual interface, answered by QueryInterface
  // with this same IDispatch (callers only call it by name or DISPID).
  explicit DispatchObject(const IID& interfaceId) : interfaceId_(interfaceId) {}
  virtual ~DispatchObject() = default;

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  // IDispatch
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO*, UINT* argErr) override;

 protected:
  // One member call. DISP_E_MEMBERNOTFOUND for what the object does not have.
  virtual HRESULT Call(DISPID id, const Invocation& call) = 0;

 private:
  std::atomic<ULONG> refs_{1};
  IID interfaceId_;
};

// A dispatch object answering from `Object::Members()`, its member table.
template <class Object>
class TableDispatch : public DispatchObject {
 public:
  using DispatchObject::DispatchObject;

  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
    return LookUpMemberIds(Object::Members(), names, count, ids);
  }

 protected:
  HRESULT Call(DISPID id, const Invocation& call) override {
    return InvokeMember(static_cast<Object&>(*this), Object::Members(), id, call);
  }
};

// Creates a dispatch object held by a ComPtr (the creation reference is adopted).
template <class T, class... Args>
ComPtr<T> MakeObject(Args&&... args) {
  return ComPtr<T>(new T(std::forward<Args>(args)...));
}

}  // namespace quillon::standin
