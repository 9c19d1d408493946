#include "win/control/class_registration.h"

#include "win/common/class_names.h"

namespace quillon::win {

std::vector<ClassRegistryEntry> ClassRegistryEntries(const std::wstring& modulePath,
                                                      int versionMajor, int versionMinor) {
  const std::wstring progId = kProgId;
  const std::wstring clsid = std::wstring(L"CLSID\\") + kClsidText;
  return {
      {progId, L"", kFriendlyName},
      {progId + L"\\CLSID", L"", kClsidText},
      {clsid, L"", kFriendlyName},
      {clsid + L"\\ProgID", L"", progId},
      {clsid + L"\\InprocServer32", L"", modulePath},
      {clsid + L"\\InprocServer32", L"ThreadingModel", L"Apartment"},
      {clsid + L"\\Control", L"", L"", false},
      {clsid + L"\\MiscStatus", L"", L"0"},
      {clsid + L"\\MiscStatus\\1", L"", std::to_wstring(kClassMiscStatus)},
      {clsid + L"\\Version", L"", std::to_wstring(versionMajor) + L"." + std::to_wstring(versionMinor)},
  };
}

}  // namespace quillon::win
