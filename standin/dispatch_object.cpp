#include "standin/dispatch_object.h"

namespace quillon::standin {

HRESULT LookUpMemberIds(const Member* begin, const Member* end, LPOLESTR* names, UINT count, DISPID* ids) {
  if (!names || !ids || count == 0) return E_INVALIDARG;
  for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
  for (const Member* member = begin; member != end; ++member) {
    if (names[0] && lstrcmpiW(names[0], member->name) == 0) {
      ids[0] = member->id;
      return count == 1 ? S_OK : DISP_E_UNKNOWNNAME;
    }
  }
  return DISP_E_UNKNOWNNAME;
}

HRESULT NoTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 0;
  return S_OK;
}

HRESULT NoTypeInfo(ITypeInfo** info) {
  if (info) *info = nullptr;
  return E_NOTIMPL;
}

DispatchObject::DispatchObject(std::initializer_list<Member> members, const IID& interfaceId)
    : members_(members), interfaceId_(interfaceId) {}

HRESULT STDMETHODCALLTYPE DispatchObject::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, interfaceId_)) {
    *out = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
  }
  return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE DispatchObject::AddRef() { return ++refs_; }

ULONG STDMETHODCALLTYPE DispatchObject::Release() {
  const ULONG left = --refs_;
  if (left == 0) delete this;
  return left;
}

HRESULT STDMETHODCALLTYPE DispatchObject::GetTypeInfoCount(UINT* count) { return NoTypeInfoCount(count); }

HRESULT STDMETHODCALLTYPE DispatchObject::GetTypeInfo(UINT, LCID, ITypeInfo** info) { return NoTypeInfo(info); }

HRESULT STDMETHODCALLTYPE DispatchObject::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                                        DISPID* ids) {
  return LookUpMemberIds(members_.data(), members_.data() + members_.size(), names, count, ids);
}

HRESULT STDMETHODCALLTYPE DispatchObject::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                                 VARIANT* result, EXCEPINFO*, UINT* argErr) {
  if (argErr) *argErr = 0;
  if (result) VariantInit(result);
  try {
    return Call(id, flags, params, result);
  } catch (...) {
    return E_UNEXPECTED;  // nothing may cross the COM boundary
  }
}

}  // namespace quillon::standin
