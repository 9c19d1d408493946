#include "win/control/version_info.h"

#include <cstring>
#include <vector>

namespace quillon::win {

LibraryVersion ReadLibraryVersion(HINSTANCE module) {
  HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(VS_VERSION_INFO), MAKEINTRESOURCEW(16));
  if (!found) return {};
  HGLOBAL loaded = LoadResource(module, found);
  const DWORD size = SizeofResource(module, found);
  const void* data = loaded ? LockResource(loaded) : nullptr;
  if (!data || size == 0) return {};
  // VerQueryValue wants a writable copy of the block.
  std::vector<unsigned char> block(static_cast<const unsigned char*>(data),
                                   static_cast<const unsigned char*>(data) + size);
  VS_FIXEDFILEINFO* info = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&info), &length) || !info ||
      length < sizeof(VS_FIXEDFILEINFO) || info->dwSignature != VS_FFI_SIGNATURE)
    return {};
  return LibraryVersion{static_cast<std::int32_t>(HIWORD(info->dwFileVersionMS)),
                        static_cast<std::int32_t>(LOWORD(info->dwFileVersionMS)),
                        static_cast<std::int32_t>(HIWORD(info->dwFileVersionLS))};
}

}  // namespace quillon::win
