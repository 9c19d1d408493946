// Base of the stand-in's automation objects: IDispatch callable by name, with
// Outlook's own DISPIDs and no type library (callers bind late, by name or DISPID).
#pragma once

#include <initializer_list>
#include <string>
#include <vector>

#include "standin/com_support.h"

namespace quillon::standin {

struct Member {
  const wchar_t* name;
  DISPID id;
};

// IDispatch's name lookup over a member table: the first name only (no named
// arguments), compared without regard to case.
HRESULT LookUpMemberIds(const Member* begin, const Member* end, LPOLESTR* names, UINT count, DISPID* ids);
// Objects without a type library answer the type-information calls alike.
HRESULT NoTypeInfoCount(UINT* count);
HRESULT NoTypeInfo(ITypeInfo** info);

class DispatchObject : public IDispatch {
 public:
  // `members`: the names GetIDsOfNames answers (without regard to case);
  // `interfaceId`: the object's own dual interface, answered by QueryInterface
  // with this same IDispatch (callers only call it by name or DISPID).
  DispatchObject(std::initializer_list<Member> members, const IID& interfaceId);
  virtual ~DispatchObject() = default;

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  // IDispatch
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                          DISPID* ids) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO*, UINT* argErr) override;

 protected:
  // One member call. DISP_E_MEMBERNOTFOUND for what the object does not have.
  virtual HRESULT Call(DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result) = 0;

  static bool IsGet(WORD flags) { return (flags & (DISPATCH_PROPERTYGET | DISPATCH_METHOD)) != 0; }
  static bool IsPut(WORD flags) { return (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0; }

 private:
  std::atomic<ULONG> refs_{1};
  std::vector<Member> members_;
  IID interfaceId_;
};

// Creates a dispatch object held by a ComPtr (the creation reference is adopted).
template <class T, class... Args>
ComPtr<T> MakeObject(Args&&... args) {
  return ComPtr<T>(new T(std::forward<Args>(args)...));
}

}  // namespace quillon::standin
