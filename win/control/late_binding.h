// Calls by name through IDispatch (GetIDsOfNames, then Invoke), for Outlook's
// object model and the add-in, which the page reaches only late-bound.
// Every failure comes back as a value; nothing throws.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>

#include "platform/outlook.h"
#include "win/common/com_support.h"

namespace quillon::win {

// An argument of a late-bound call; the VARIANT is owned by the caller
// (MakeVariant makes one).
using Argument = const VARIANT*;

// Invoke `name` with `kind` (DISPATCH_METHOD, DISPATCH_PROPERTYGET or
// DISPATCH_PROPERTYPUT) and the arguments in their written order.
HRESULT CallByName(IDispatch* object, const wchar_t* name, WORD kind,
                   std::initializer_list<Argument> arguments, VARIANT* result);

// The object a property or method returns: a failure with its HRESULT (a
// result of another type: DISP_E_TYPEMISMATCH), a null pointer when it returns
// none (Nothing, empty or a null dispatch).
platform::CallResult<ComPtr<IDispatch>> ObjectResult(HRESULT hr, const VARIANT& result);
platform::CallResult<std::u16string> TextResult(HRESULT hr, const VARIANT& result);
platform::CallResult<std::int32_t> NumberResult(HRESULT hr, const VARIANT& result);

platform::CallResult<ComPtr<IDispatch>> GetObjectByName(IDispatch* object, const wchar_t* name,
                                                 WORD kind = DISPATCH_PROPERTYGET,
                                                 std::initializer_list<Argument> arguments = {});
platform::CallResult<std::u16string> GetTextByName(IDispatch* object, const wchar_t* name);
platform::CallResult<std::int32_t> GetNumberByName(IDispatch* object, const wchar_t* name,
                                            std::initializer_list<Argument> arguments = {});

// Success, or the failure with its HRESULT.
platform::CallStatus StatusOf(HRESULT hr);

}  // namespace quillon::win
