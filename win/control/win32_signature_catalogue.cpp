#include "win/control/win32_signature_catalogue.h"

#include <windows.h>
#include <shlobj.h>

#include "platform/diagnostics.h"
#include "win/common/com_support.h"
#include "win/common/win_handles.h"

namespace quillon::win {
namespace {

constexpr wchar_t kDefaultFolder[] = L"Signatures";

std::u16string AsText(const std::wstring& text) { return FromWide(text.c_str(), text.size()); }

std::wstring Expanded(const std::wstring& text) {
  const DWORD length = ExpandEnvironmentStringsW(text.c_str(), nullptr, 0);
  std::wstring expanded(length, L'\0');
  if (length == 0 || ExpandEnvironmentStringsW(text.c_str(), expanded.data(), length) != length) return text;
  expanded.resize(length - 1);
  return expanded;
}

// The "Signatures" value, or none when it is not set (or cannot be read, which is reported).
std::wstring RelocatedFolder(std::int16_t outlookVersion) {
  const std::wstring key = L"Software\\Microsoft\\Office\\" + std::to_wstring(outlookVersion) + L".0\\Common\\General";
  // Expanding is asked of RegGetValueW only together with a buffer; done below instead.
  constexpr DWORD kTexts = RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND;
  DWORD type = REG_NONE;
  DWORD size = 0;
  LSTATUS status = RegGetValueW(HKEY_CURRENT_USER, key.c_str(), L"Signatures", kTexts, nullptr, nullptr, &size);
  std::wstring value(size / sizeof(wchar_t) + 1, L'\0');
  if (status == ERROR_SUCCESS) {
    size = static_cast<DWORD>(value.size() * sizeof(wchar_t));
    status = RegGetValueW(HKEY_CURRENT_USER, key.c_str(), L"Signatures", kTexts, &type, value.data(), &size);
  }
  if (status != ERROR_SUCCESS) {
    if (status != ERROR_FILE_NOT_FOUND) platform::ReportIgnored(u"RegGetValueW", u"Signatures", status);
    return {};
  }
  value.resize(wcsnlen(value.c_str(), value.size()));
  if (type == REG_EXPAND_SZ) value = Expanded(value);
  while (!value.empty() && (value.back() == L'\\' || value.back() == L' ')) value.pop_back();
  return value;
}

bool IsAbsolute(const std::wstring& path) {
  return path.starts_with(L"\\\\") || (path.size() >= 2 && path[1] == L':');
}

}  // namespace

std::wstring SignaturesFolder(std::int16_t outlookVersion) {
  wchar_t appData[MAX_PATH] = {};
  const HRESULT found = SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData);
  if (FAILED(found)) {
    platform::ReportIgnored(u"SHGetFolderPathW", u"CSIDL_APPDATA", found, platform::CodeKind::kHResult);
    return {};
  }
  std::wstring folder = RelocatedFolder(outlookVersion);
  if (folder.empty()) folder = kDefaultFolder;
  // Relative by definition; a full path is taken as it stands rather than glued on.
  return IsAbsolute(folder) ? folder : std::wstring(appData) + L"\\Microsoft\\" + folder;
}

std::vector<std::u16string> Win32SignatureCatalogue::SignatureNames(std::int16_t outlookVersion) {
  const std::wstring folder = SignaturesFolder(outlookVersion);
  if (folder.empty()) return {};
  WIN32_FIND_DATAW entry{};
  const UniqueFind search(FindFirstFileExW((folder + L"\\*").c_str(), FindExInfoBasic, &entry,
                                           FindExSearchNameMatch, nullptr, 0));
  if (!search) {
    platform::ReportIgnored(u"FindFirstFileExW", AsText(folder), static_cast<std::int32_t>(GetLastError()));
    return {};
  }
  std::vector<std::u16string> fileNames;
  do {
    if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) fileNames.push_back(AsText(entry.cFileName));
  } while (FindNextFileW(search.get(), &entry));
  if (const DWORD ended = GetLastError(); ended != ERROR_NO_MORE_FILES) {
    platform::ReportIgnored(u"FindNextFileW", AsText(folder), static_cast<std::int32_t>(ended));
  }
  return platform::SignatureNamesOf(fileNames);
}

}  // namespace quillon::win
