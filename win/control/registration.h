// Self-registration of the control class: machine-wide under
// HKLM\Software\Classes, or for the current user only under
// HKCU\Software\Classes (no administrator rights needed).
#pragma once

#include <windows.h>
#include <oleidl.h>

#include "win/control/class_registration.h"

namespace quillon::win {

enum class RegistrationScope { Machine, CurrentUser };

// Writes the ProgID and CLSID keys; SELFREG_E_CLASS when a key cannot be written.
HRESULT RegisterControl(HINSTANCE module, RegistrationScope scope);
// Removes what RegisterControl writes; keys already gone are not an error.
HRESULT UnregisterControl(RegistrationScope scope);
// DllInstall: "user" (any case) registers per user, "" or null machine-wide.
HRESULT InstallControl(HINSTANCE module, bool install, const wchar_t* commandLine);

// The OLEMISC flags registered under MiscStatus and answered by GetMiscStatus.
inline constexpr DWORD kControlMiscStatus =
    OLEMISC_SETCLIENTSITEFIRST | OLEMISC_ACTIVATEWHENVISIBLE | OLEMISC_INSIDEOUT |
    OLEMISC_CANTLINKINSIDE | OLEMISC_RECOMPOSEONRESIZE;
static_assert(kControlMiscStatus == kClassMiscStatus, "the registered MiscStatus names these flags");

}  // namespace quillon::win
