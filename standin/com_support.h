// Helpers for the stand-in's COM code (MinGW, no ATL): IDispatch arguments and results.
#pragma once

#include <windows.h>  // WIN32_LEAN_AND_MEAN and NOMINMAX come from the build
#include <ole2.h>
#include <oleauto.h>
#include <ocidl.h>
#include <olectl.h>

#include "win/common/com_support.h"
#include "win/common/win_handles.h"

#include <atomic>
#include <string>
#include <utility>

namespace quillon::standin {

// The owners the control uses too.
using win::ComPtr;
using win::UniqueVariant;

// Result setters for IDispatch::Invoke; a null result pointer (caller ignores it) is fine.
inline void SetResultText(VARIANT* result, const std::wstring& text) {
  if (!result) return;
  VariantInit(result);
  result->vt = VT_BSTR;
  result->bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
}
inline void SetResultLong(VARIANT* result, long value) {
  if (!result) return;
  VariantInit(result);
  result->vt = VT_I4;
  result->lVal = value;
}
inline void SetResultShort(VARIANT* result, short value) {
  if (!result) return;
  VariantInit(result);
  result->vt = VT_I2;
  result->iVal = value;
}
inline void SetResultBool(VARIANT* result, bool value) {
  if (!result) return;
  VariantInit(result);
  result->vt = VT_BOOL;
  result->boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
}
// Hands the object out with a new reference; null gives VT_DISPATCH null (VB's Nothing).
inline void SetResultObject(VARIANT* result, IDispatch* object) {
  if (!result) return;
  VariantInit(result);
  result->vt = VT_DISPATCH;
  result->pdispVal = object;
  if (object) object->AddRef();
}

// Positional argument i (0 = first) of an Invoke; rgvarg holds them in reverse.
// Returns null when the caller passed fewer arguments.
inline const VARIANT* Argument(const DISPPARAMS* params, UINT i) {
  if (!params || i >= params->cArgs - params->cNamedArgs) return nullptr;
  const VARIANT* v = &params->rgvarg[params->cArgs - 1 - i];
  while (v->vt == (VT_BYREF | VT_VARIANT) && v->pvarVal) v = v->pvarVal;
  return v;
}

// The value being assigned by a DISPATCH_PROPERTYPUT.
inline const VARIANT* PutValue(const DISPPARAMS* params) {
  if (!params) return nullptr;
  for (UINT i = 0; i < params->cNamedArgs; ++i) {
    if (params->rgdispidNamedArgs[i] == DISPID_PROPERTYPUT) {
      const VARIANT* v = &params->rgvarg[i];
      while (v->vt == (VT_BYREF | VT_VARIANT) && v->pvarVal) v = v->pvarVal;
      return v;
    }
  }
  return nullptr;
}

// Converts an argument; false when it is missing or does not convert.
inline bool ArgumentAsLong(const VARIANT* v, long& out) {
  if (!v) return false;
  UniqueVariant converted;
  if (FAILED(VariantChangeType(converted.put(), const_cast<VARIANT*>(v), 0, VT_I4))) return false;
  out = converted.get().lVal;
  return true;
}
inline bool ArgumentAsText(const VARIANT* v, std::wstring& out) {
  if (!v) return false;
  UniqueVariant converted;
  if (FAILED(VariantChangeType(converted.put(), const_cast<VARIANT*>(v), 0, VT_BSTR))) return false;
  const BSTR text = converted.get().bstrVal;
  if (text) out.assign(text, SysStringLen(text));
  else out.clear();
  return true;
}

// A VARIANT described for the log: its type and value as text.
std::wstring DescribeVariant(const VARIANT* v);

// UTF-8 <-> UTF-16 for the JSON files.
std::wstring Widen(const std::string& utf8);
std::string Narrow(const std::wstring& text);

}  // namespace quillon::standin
