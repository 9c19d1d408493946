// Outlook's two property-page interfaces, declared by hand (no type library):
// PropertyPage is a plain vtable interface the page implements; PropertyPageSite
// is dual and implemented by the host's client site.
#pragma once

#include "standin/com_support.h"

namespace quillon::standin {

inline constexpr IID kIidPropertyPage = {0x0006307E, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr IID kIidPropertyPageSite = {0x0006307F, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

// OlObjectClass of the site.
inline constexpr long kOlPropertyPageSite = 70;

struct PropertyPage : public IDispatch {
  virtual HRESULT STDMETHODCALLTYPE GetPageInfo(BSTR* helpFile, long* helpContext) = 0;  // slot 7
  virtual HRESULT STDMETHODCALLTYPE get_Dirty(VARIANT_BOOL* dirty) = 0;                   // slot 8
  virtual HRESULT STDMETHODCALLTYPE Apply() = 0;                                          // slot 9
};

struct PropertyPageSite : public IDispatch {
  virtual HRESULT STDMETHODCALLTYPE get_Application(IDispatch** application) = 0;  // slot 7, 0xF000
  virtual HRESULT STDMETHODCALLTYPE get_Class(long* objectClass) = 0;              // slot 8, 0xF00A
  virtual HRESULT STDMETHODCALLTYPE get_Session(IDispatch** session) = 0;          // slot 9, 0xF00B
  virtual HRESULT STDMETHODCALLTYPE get_Parent(IDispatch** parent) = 0;            // slot 10, 0xF001
  virtual HRESULT STDMETHODCALLTYPE OnStatusChange() = 0;                          // slot 11, 0x2100
};

inline constexpr DISPID kDispidOnStatusChange = 0x2100;

}  // namespace quillon::standin
