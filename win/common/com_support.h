// Owners for COM pointers, BSTRs and VARIANTs, so no path leaks a reference.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <string>
#include <string_view>
#include <utility>

#include "platform/unique_resource.h"

namespace quillon::win {

// Close reports the references left, as IUnknown::Release does.
template <class T>
struct ComPolicy : platform::ZeroIsInvalid<T*> {
  static ULONG Close(T* object) noexcept { return object->Release(); }
};

// A counted reference to a COM object. Unlike the other owners it copies (with
// AddRef), since a reference count is made to be shared.
template <class T>
class ComPtr : public platform::UniqueResource<ComPolicy<T>> {
  using Base = platform::UniqueResource<ComPolicy<T>>;

 public:
  ComPtr() = default;
  // Adopts a reference the caller owns (a fresh object's creation reference).
  explicit ComPtr(T* adopted) : Base(adopted) {}
  ComPtr(const ComPtr& other) : Base(AddRefed(other.get())) {}
  ComPtr(ComPtr&&) noexcept = default;
  ComPtr& operator=(const ComPtr& other) {
    ComPtr copy(other);
    this->swap(copy);
    return *this;
  }
  ComPtr& operator=(ComPtr&&) noexcept = default;

  // Takes an extra reference to a pointer owned elsewhere.
  static ComPtr Share(T* borrowed) { return ComPtr(AddRefed(borrowed)); }

  T* operator->() const { return this->get(); }
  void** put_void() { return reinterpret_cast<void**>(this->put()); }

  template <class U>
  ComPtr<U> As(REFIID iid) const {
    ComPtr<U> result;
    if (this->get()) this->get()->QueryInterface(iid, result.put_void());
    return result;
  }

 private:
  static T* AddRefed(T* object) {
    if (object) object->AddRef();
    return object;
  }
};

struct BstrPolicy : platform::ZeroIsInvalid<BSTR> {
  static void Close(BSTR text) noexcept { SysFreeString(text); }
};
using UniqueBstr = platform::UniqueResource<BstrPolicy>;

// Null when out of memory. BSTRs keep embedded NULs: the length is the text's.
inline UniqueBstr MakeBstr(std::u16string_view text) {
  return UniqueBstr(SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()),
                                      static_cast<UINT>(text.size())));
}

// A VARIANT held by value: VT_EMPTY holds nothing, anything else is cleared.
struct VariantPolicy {
  using Value = VARIANT;
  static VARIANT Invalid() noexcept { return VARIANT{}; }  // all zero: VT_EMPTY
  static bool IsValid(const VARIANT& value) noexcept { return V_VT(&value) != VT_EMPTY; }
  static void Close(VARIANT& value) noexcept { VariantClear(&value); }
};
using UniqueVariant = platform::UniqueResource<VariantPolicy>;

// Owned VARIANTs for arguments of late-bound calls.
inline UniqueVariant MakeVariant(std::int32_t number) {
  VARIANT value{};
  V_VT(&value) = VT_I4;
  V_I4(&value) = number;
  return UniqueVariant(value);
}
inline UniqueVariant MakeVariant(std::int16_t number) {
  VARIANT value{};
  V_VT(&value) = VT_I2;
  V_I2(&value) = number;
  return UniqueVariant(value);
}
inline UniqueVariant MakeVariant(bool flag) {
  VARIANT value{};
  V_VT(&value) = VT_BOOL;
  V_BOOL(&value) = flag ? VARIANT_TRUE : VARIANT_FALSE;
  return UniqueVariant(value);
}
// VT_BSTR; a null BSTR (out of memory) reads as an empty text, as in VB.
inline UniqueVariant MakeVariant(std::u16string_view text) {
  VARIANT value{};
  V_VT(&value) = VT_BSTR;
  V_BSTR(&value) = MakeBstr(text).release();
  return UniqueVariant(value);
}

// BSTRs may hold embedded NULs; their length is the stored one.
inline std::u16string FromBstr(BSTR text) {
  if (!text) return {};
  return std::u16string(reinterpret_cast<const char16_t*>(text), SysStringLen(text));
}

inline const wchar_t* AsWide(const std::u16string& text) {
  return reinterpret_cast<const wchar_t*>(text.c_str());
}

inline std::u16string FromWide(const wchar_t* text, size_t length) {
  return std::u16string(reinterpret_cast<const char16_t*>(text), length);
}

}  // namespace quillon::win
