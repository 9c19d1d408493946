#include "win/control/late_binding.h"

#include <vector>

namespace quillon::win {

HRESULT CallByName(IDispatch* object, const wchar_t* name, WORD kind,
                   std::initializer_list<Argument> arguments, VARIANT* result) {
  if (!object) return E_POINTER;
  DISPID id = DISPID_UNKNOWN;
  auto* names = const_cast<LPOLESTR>(name);
  HRESULT hr = object->GetIDsOfNames(IID_NULL, &names, 1, LOCALE_USER_DEFAULT, &id);
  if (FAILED(hr)) return hr;

  // DISPPARAMS lists the arguments last first; Invoke only reads them.
  std::vector<VARIANTARG> reversed;
  reversed.reserve(arguments.size());
  for (auto it = std::rbegin(arguments); it != std::rend(arguments); ++it) reversed.push_back(**it);
  DISPID putId = DISPID_PROPERTYPUT;
  DISPPARAMS params{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
  if (kind == DISPATCH_PROPERTYPUT) {
    params.rgdispidNamedArgs = &putId;
    params.cNamedArgs = 1;
  }
  EXCEPINFO exception{};
  UINT argumentError = 0;
  hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, kind, &params, result, &exception,
                      &argumentError);
  // The error's texts are ours to free, though nobody reads them.
  UniqueBstr source(exception.bstrSource), description(exception.bstrDescription),
      helpFile(exception.bstrHelpFile);
  return hr;
}

namespace {

template <class T>
platform::CallResult<T> Failed(HRESULT hr) {
  return platform::CallResult<T>::Failed(static_cast<std::int32_t>(hr));
}

}  // namespace

platform::CallStatus StatusOf(HRESULT hr) {
  return SUCCEEDED(hr) ? platform::CallStatus(true)
                       : platform::CallStatus::Failed(static_cast<std::int32_t>(hr));
}

platform::CallResult<ComPtr<IDispatch>> ObjectResult(HRESULT hr, const VARIANT& result) {
  if (FAILED(hr)) return Failed<ComPtr<IDispatch>>(hr);
  const VARTYPE type = V_VT(&result);
  if (type == VT_EMPTY || type == VT_NULL) return ComPtr<IDispatch>();
  if (type == VT_DISPATCH) return ComPtr<IDispatch>::Share(V_DISPATCH(&result));
  if (type == VT_UNKNOWN) {
    if (!V_UNKNOWN(&result)) return ComPtr<IDispatch>();
    ComPtr<IDispatch> object;
    if (const HRESULT qi = V_UNKNOWN(&result)->QueryInterface(IID_IDispatch, object.put_void());
        FAILED(qi)) {
      return Failed<ComPtr<IDispatch>>(qi);
    }
    return object;
  }
  return Failed<ComPtr<IDispatch>>(DISP_E_TYPEMISMATCH);
}

platform::CallResult<std::u16string> TextResult(HRESULT hr, const VARIANT& result) {
  if (FAILED(hr)) return Failed<std::u16string>(hr);
  UniqueVariant text;
  if (const HRESULT changed = VariantChangeType(text.put(), const_cast<VARIANT*>(&result), 0, VT_BSTR);
      FAILED(changed)) {
    return Failed<std::u16string>(changed);
  }
  return FromBstr(V_BSTR(text.addressof()));
}

platform::CallResult<std::int32_t> NumberResult(HRESULT hr, const VARIANT& result) {
  if (FAILED(hr)) return Failed<std::int32_t>(hr);
  UniqueVariant number;
  if (const HRESULT changed = VariantChangeType(number.put(), const_cast<VARIANT*>(&result), 0, VT_I4);
      FAILED(changed)) {
    return Failed<std::int32_t>(changed);
  }
  return V_I4(number.addressof());
}

platform::CallResult<ComPtr<IDispatch>> GetObjectByName(IDispatch* object, const wchar_t* name,
                                                 WORD kind,
                                                 std::initializer_list<Argument> arguments) {
  UniqueVariant result;
  const HRESULT hr = CallByName(object, name, kind, arguments, result.put());
  return ObjectResult(hr, result.get());
}

platform::CallResult<std::u16string> GetTextByName(IDispatch* object, const wchar_t* name) {
  UniqueVariant result;
  const HRESULT hr = CallByName(object, name, DISPATCH_PROPERTYGET, {}, result.put());
  return TextResult(hr, result.get());
}

platform::CallResult<std::int32_t> GetNumberByName(IDispatch* object, const wchar_t* name,
                                            std::initializer_list<Argument> arguments) {
  UniqueVariant result;
  const HRESULT hr = CallByName(object, name, DISPATCH_PROPERTYGET, arguments, result.put());
  return NumberResult(hr, result.get());
}

}  // namespace quillon::win
