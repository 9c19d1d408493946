#include "scripted_dispatch.h"

namespace quillon::win::testing {

ScriptedDispatch::~ScriptedDispatch() {
  for (RecordedCall& call : calls_)
    for (VARIANT& argument : call.arguments) VariantClear(&argument);
}

void ScriptedDispatch::AnswerObject(const std::wstring& name, IDispatch* object) {
  Answer(name, [object](const RecordedCall&, VARIANT* result) {
    V_VT(result) = VT_DISPATCH;
    V_DISPATCH(result) = object;
    if (object) object->AddRef();
    return S_OK;
  });
}

void ScriptedDispatch::AnswerText(const std::wstring& name, const wchar_t* text) {
  Answer(name, [text](const RecordedCall&, VARIANT* result) {
    V_VT(result) = VT_BSTR;
    V_BSTR(result) = SysAllocString(text);
    return S_OK;
  });
}

void ScriptedDispatch::AnswerNumber(const std::wstring& name, long number) {
  Answer(name, [number](const RecordedCall&, VARIANT* result) {
    V_VT(result) = VT_I4;
    V_I4(result) = number;
    return S_OK;
  });
}

void ScriptedDispatch::AnswerOk(const std::wstring& name) {
  Answer(name, [](const RecordedCall&, VARIANT*) { return S_OK; });
}

STDMETHODIMP ScriptedDispatch::QueryInterface(REFIID iid, void** object) {
  *object = nullptr;
  bool known = iid == IID_IUnknown || iid == IID_IDispatch;
  for (const IID& extra : extraInterfaces_) known = known || iid == extra;
  if (!known) return E_NOINTERFACE;
  *object = static_cast<IDispatch*>(this);
  AddRef();
  return S_OK;
}

STDMETHODIMP ScriptedDispatch::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  if (count != 1 || !members_.count(names[0])) return DISP_E_UNKNOWNNAME;
  ids_.push_back(names[0]);
  ids[0] = static_cast<DISPID>(ids_.size());
  return S_OK;
}

STDMETHODIMP ScriptedDispatch::Invoke(DISPID id, REFIID, LCID, WORD kind, DISPPARAMS* params, VARIANT* result,
                                      EXCEPINFO*, UINT*) {
  if (id < 1 || static_cast<size_t>(id) > ids_.size()) return DISP_E_MEMBERNOTFOUND;
  RecordedCall call{ids_[id - 1], kind, {}, false};
  if (params) {
    for (UINT i = params->cArgs; i > 0; --i) {  // stored last first
      VARIANT copy;
      VariantInit(&copy);
      VariantCopy(&copy, &params->rgvarg[i - 1]);
      call.arguments.push_back(copy);
    }
    call.namedPut = params->cNamedArgs == 1 && params->rgdispidNamedArgs[0] == DISPID_PROPERTYPUT;
  }
  calls_.push_back(call);
  VARIANT scratch;
  VariantInit(&scratch);
  VARIANT* out = result ? result : &scratch;
  const HRESULT hr = members_[call.name](calls_.back(), out);
  VariantClear(&scratch);
  return hr;
}

}  // namespace quillon::win::testing
