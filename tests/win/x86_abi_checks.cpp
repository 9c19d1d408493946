// Built only for x86 (i686): the conventions of the interfaces this library
// declares or implements itself, which x86 Outlook calls. On x86 __stdcall and
// the default conventions are distinct types, so each assertion fails to
// compile if a method or entry point loses its convention (on x64 there is one
// convention and these checks would prove nothing). A wrong convention in a
// path the tests do not take would corrupt the stack only at that call.
//
// Callbacks the library hands to Windows (PageWindow::WindowProc as a WNDPROC,
// the input box's procedure as a DLGPROC) are checked by the x86 compile of
// their own files: assigning a function of another convention does not compile.
#include <windows.h>
#include <ole2.h>

#include <type_traits>

#include "platform/registry_store.h"
#include "win/common/outlook_interfaces.h"
#include "win/control/dll_entry_points.h"

#if !defined(__i386__) && !defined(_M_IX86)
#error "x86_abi_checks.cpp is built for x86 only"
#endif

namespace quillon::win {
namespace {

// The checks below must tell the conventions apart.
static_assert(!std::is_same_v<HRESULT(__cdecl*)(), HRESULT(__stdcall*)()>);

// ---- exported entry points: exactly the types COM and regsvr32 call.
static_assert(std::is_same_v<decltype(&DllGetClassObject), HRESULT(__stdcall*)(REFCLSID, REFIID, void**)>);
static_assert(std::is_same_v<decltype(&DllCanUnloadNow), HRESULT(__stdcall*)()>);
static_assert(std::is_same_v<decltype(&DllRegisterServer), HRESULT(__stdcall*)()>);
static_assert(std::is_same_v<decltype(&DllUnregisterServer), HRESULT(__stdcall*)()>);
static_assert(std::is_same_v<decltype(&DllInstall), HRESULT(__stdcall*)(BOOL, LPCWSTR)>);

// ---- Outlook's interfaces, declared by hand: each method __stdcall with the
// type library's signature, in vtable slots 7 and up after IDispatch's.
static_assert(std::is_same_v<decltype(&PropertyPage::GetPageInfo), HRESULT (__stdcall PropertyPage::*)(BSTR*, long*)>);
static_assert(std::is_same_v<decltype(&PropertyPage::get_Dirty), HRESULT (__stdcall PropertyPage::*)(VARIANT_BOOL*)>);
static_assert(std::is_same_v<decltype(&PropertyPage::Apply), HRESULT (__stdcall PropertyPage::*)()>);
static_assert(std::is_same_v<decltype(&PropertyPageSite::get_Application),
                             HRESULT (__stdcall PropertyPageSite::*)(IDispatch**)>);
static_assert(std::is_same_v<decltype(&PropertyPageSite::get_Class), HRESULT (__stdcall PropertyPageSite::*)(long*)>);
static_assert(std::is_same_v<decltype(&PropertyPageSite::get_Session),
                             HRESULT (__stdcall PropertyPageSite::*)(IDispatch**)>);
static_assert(std::is_same_v<decltype(&PropertyPageSite::get_Parent),
                             HRESULT (__stdcall PropertyPageSite::*)(IDispatch**)>);
static_assert(std::is_same_v<decltype(&PropertyPageSite::OnStatusChange), HRESULT (__stdcall PropertyPageSite::*)()>);
// A COM interface is one vtable pointer and nothing else: no data members, no
// second base, so the object's first word is the vtable Outlook indexes.
static_assert(sizeof(PropertyPage) == 4 && sizeof(PropertyPageSite) == 4);
static_assert(std::is_polymorphic_v<PropertyPage> && std::is_base_of_v<IDispatch, PropertyPage>);
static_assert(std::is_polymorphic_v<PropertyPageSite> && std::is_base_of_v<IDispatch, PropertyPageSite>);
static_assert(alignof(PropertyPage) == 4);

// The control's and the factory's methods need no check of their own: an override
// whose convention differs from the method it overrides does not compile.

// The registry store hands out 32-bit handles on both, so no HKEY is truncated on x64
// and none widened on x86.
static_assert(sizeof(platform::HKey) == 4);

}  // namespace
}  // namespace quillon::win
