// The sample profile on the real (Wine) registry and the stand-in Outlook that
// names it, for suites that host the page the way Outlook does; and an image of
// a registry key for "nothing was written" checks.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <string>

#include "win/common/com_support.h"

namespace quillon::win::testing {

inline constexpr char kSampleProfileKey[] =
    "Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows Messaging Subsystem\\Profiles\\Quillon Sample";

// A file of samples/ as a Windows path.
std::wstring SamplePath(const std::wstring& leaf);
// A Unix path as Wine's drive Z: shows it.
std::wstring WindowsPath(const char* unixPath);
// Deletes HKCU\`key` and imports the .reg file (a Windows path) with regedit /S:
// false when either fails.
bool ImportSampleProfile(const std::wstring& regPath = SamplePath(L"quillon-sample.reg"),
                         const std::string& key = kSampleProfileKey);

// Every subkey and value below HKCU\`key` (names, types and bytes) as text, in
// the registry's own order; "missing" when the key cannot be opened.
std::string RegistryImage(const std::string& key = kSampleProfileKey);

// The stand-in Outlook's Application playing samples/quillon-sample.json (the
// add-in names the sample profile). Each call makes a new Outlook.
ComPtr<IDispatch> SampleOutlook();

}  // namespace quillon::win::testing
