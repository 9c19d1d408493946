// Outlook's property page contract, declared by hand (no type library needed).
#pragma once

#include <windows.h>
#include <oaidl.h>

#include "win/common/class_names.h"

namespace quillon::win {

// {0006307E-0000-0000-C000-000000000046}: a plain vtable interface on IDispatch.
inline constexpr IID kIidPropertyPage = {
    0x0006307E, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
// {0006307F-0000-0000-C000-000000000046}: dual, the host's side of the page.
inline constexpr IID kIidPropertyPageSite = {
    0x0006307F, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

// The class of the page control.
// {E81ED592-4150-42B6-B949-17B9278EB854}
inline constexpr CLSID kClsidQuillonPage = {
    0xE81ED592, 0x4150, 0x42B6, {0xB9, 0x49, 0x17, 0xB9, 0x27, 0x8E, 0xB8, 0x54}};

// DISPIDs of the page members when reached through IDispatch.
inline constexpr DISPID kDispidGetPageInfo = 0x2100;
inline constexpr DISPID kDispidDirty = 0x2101;
inline constexpr DISPID kDispidApply = 0x2102;
inline constexpr DISPID kDispidPageCaption = -518;  // the stock Caption property

// DISPIDs of the site, for a site reached only through IDispatch.
inline constexpr DISPID kDispidSiteApplication = 0xF000;
inline constexpr DISPID kDispidSiteOnStatusChange = 0x2100;
// OlObjectClass of the site, as its Class property reports it.
inline constexpr long kOlPropertyPageSite = 70;

struct PropertyPage : public IDispatch {
  virtual HRESULT STDMETHODCALLTYPE GetPageInfo(BSTR* helpFile, long* helpContext) = 0;  // slot 7
  virtual HRESULT STDMETHODCALLTYPE get_Dirty(VARIANT_BOOL* dirty) = 0;                  // slot 8
  virtual HRESULT STDMETHODCALLTYPE Apply() = 0;                                          // slot 9
};

struct PropertyPageSite : public IDispatch {
  virtual HRESULT STDMETHODCALLTYPE get_Application(IDispatch** application) = 0;  // slot 7
  virtual HRESULT STDMETHODCALLTYPE get_Class(long* objectClass) = 0;              // slot 8
  virtual HRESULT STDMETHODCALLTYPE get_Session(IDispatch** session) = 0;          // slot 9
  virtual HRESULT STDMETHODCALLTYPE get_Parent(IDispatch** parent) = 0;            // slot 10
  virtual HRESULT STDMETHODCALLTYPE OnStatusChange() = 0;                          // slot 11
};

}  // namespace quillon::win
