// Calls by name through IDispatch (GetIDsOfNames, then Invoke), for Outlook's
// object model and the add-in, which the page reaches only late-bound.
// Every failure comes back as a value; nothing throws.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>

#include "win/common/com_support.h"

namespace quillon::win {

// An argument of a late-bound call; the VARIANT is owned by the caller
// (MakeVariant makes one).
using Argument = const VARIANT*;

// Invoke `name` with `kind` (DISPATCH_METHOD, DISPATCH_PROPERTYGET or
// DISPATCH_PROPERTYPUT) and the arguments in their written order.
HRESULT CallByName(IDispatch* object, const wchar_t* name, WORD kind,
                   std::initializer_list<Argument> arguments, VARIANT* result);

// The object a property or method returns: nullopt on failure, a null
// pointer when it returns none (Nothing, empty or a null dispatch).
std::optional<ComPtr<IDispatch>> ObjectResult(HRESULT hr, const VARIANT& result);
std::optional<std::u16string> TextResult(HRESULT hr, const VARIANT& result);
std::optional<std::int32_t> NumberResult(HRESULT hr, const VARIANT& result);

std::optional<ComPtr<IDispatch>> GetObjectByName(IDispatch* object, const wchar_t* name,
                                                 WORD kind = DISPATCH_PROPERTYGET,
                                                 std::initializer_list<Argument> arguments = {});
std::optional<std::u16string> GetTextByName(IDispatch* object, const wchar_t* name);
std::optional<std::int32_t> GetNumberByName(IDispatch* object, const wchar_t* name,
                                            std::initializer_list<Argument> arguments = {});

}  // namespace quillon::win
