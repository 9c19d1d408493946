// The registry-like store that the profile store is written against.
//
// Every member stands for exactly one advapi32 ANSI call and keeps its contract:
// same arguments, same Win32 result codes, same size protocol. The Windows build
// implements it with those calls; tests use an in-memory store that must behave
// the same (a shared conformance suite checks both).
//
// Semantics callers rely on:
// - Key handles are 32-bit values; 0 is "no key". The two predefined roots below
//   are valid handles that are never closed. Every other handle comes from
//   OpenKeyEx, CreateKeyEx or CreateKey and must be released with CloseKey.
// - Key paths are names joined by a single '\'. Key and value names compare
//   without regard to case (ASCII letters and the Latin-1 letters of the code page)
//   and keep the case they were created with.
// - Names and REG_SZ data are bytes in the system ANSI code page (Windows-1252
//   off Windows). The empty value name is the key's default value.
// - Value types and bytes are kept exactly as written: no terminator is added or
//   removed. (advapi32 counts a NUL that follows a REG_SZ's counted bytes in the
//   caller's memory; the Windows store has to prevent that.) A REG_SZ read into a
//   buffer with room to spare gets a NUL after its bytes; the size stays the stored one.
// - A handle allows only the access it was opened with: reading values and key
//   info needs kKeyQueryValue, writing values set-value, enumerating subkeys
//   enumerate; otherwise kErrorAccessDenied. A handle whose key was deleted
//   gives ERROR_KEY_DELETED (1018) until it is closed.
// - Subkeys enumerate by index in ascending order of their names compared without
//   regard to case. An index at or past the last subkey gives kErrorNoMoreItems.
// - A key that still has subkeys cannot be deleted (kErrorAccessDenied).
// - Failures never throw: every call returns a Win32 result code, which a
//   caller must look at ([[nodiscard]]); a caller that goes on without a
//   failed call reports it (platform/diagnostics.h).
#pragma once

#include <cstdint>
#include <string_view>

namespace quillon::platform {

using HKey = std::uint32_t;
using RegResult = std::int32_t;

inline constexpr HKey kNoKey = 0;
inline constexpr HKey kClassesRoot = 0x80000000u;  // HKEY_CLASSES_ROOT
inline constexpr HKey kCurrentUser = 0x80000001u;  // HKEY_CURRENT_USER

// Win32 result codes the store reports.
inline constexpr RegResult kErrorSuccess = 0;
inline constexpr RegResult kErrorFileNotFound = 2;
inline constexpr RegResult kErrorAccessDenied = 5;
inline constexpr RegResult kErrorInvalidHandle = 6;
inline constexpr RegResult kErrorInvalidParameter = 87;
inline constexpr RegResult kErrorMoreData = 234;
inline constexpr RegResult kErrorNoMoreItems = 259;

// Value types.
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegBinary = 3;
inline constexpr std::uint32_t kRegDword = 4;

// Access rights a key is opened with (REGSAM); combine them with |.
enum class KeyAccess : std::uint32_t {
  kNone = 0,
  kQueryValue = 0x1,
  kSetValue = 0x2,
  kCreateSubKey = 0x4,
  kEnumerateSubKeys = 0x8,
  kNotify = 0x10,
  kCreateLink = 0x20,
  kReadControl = 0x20000,
  kRead = 0x20019,          // KEY_READ: read control, query, enumerate, notify
  kAllSixRights = 0x3F,     // every key-specific right, query value to create link
  kAllAccess = 0xF003F,     // KEY_ALL_ACCESS, what RegCreateKeyA asks for
};

constexpr KeyAccess operator|(KeyAccess a, KeyAccess b) {
  return static_cast<KeyAccess>(static_cast<std::uint32_t>(a) | static_cast<std::uint32_t>(b));
}
constexpr KeyAccess operator&(KeyAccess a, KeyAccess b) {
  return static_cast<KeyAccess>(static_cast<std::uint32_t>(a) & static_cast<std::uint32_t>(b));
}
// True when `granted` includes every right of `needed`.
constexpr bool Includes(KeyAccess granted, KeyAccess needed) { return (granted & needed) == needed; }
constexpr std::uint32_t Bits(KeyAccess access) { return static_cast<std::uint32_t>(access); }

inline constexpr KeyAccess kKeyQueryValue = KeyAccess::kQueryValue;
inline constexpr KeyAccess kKeyRead = KeyAccess::kRead;
inline constexpr KeyAccess kKeyAllSixRights = KeyAccess::kAllSixRights;

class RegistryStore {
 public:
  virtual ~RegistryStore() = default;

  // RegOpenKeyExA(parent, subKey, 0, access, &result). The key must exist.
  // On failure `result` is set to kNoKey.
  [[nodiscard]] virtual RegResult OpenKeyEx(HKey parent, std::string_view subKey, KeyAccess access,
                              HKey& result) = 0;

  // RegCreateKeyExA(parent, subKey, 0, no class, options 0, access, no security,
  // &result, &disposition): opens the key, creating it and any missing parents.
  // `created` (optional) tells whether the key was new. On failure result = kNoKey.
  [[nodiscard]] virtual RegResult CreateKeyEx(HKey parent, std::string_view subKey, KeyAccess access,
                                HKey& result, bool* created = nullptr) = 0;

  // RegCreateKeyA(parent, subKey, &result): the older create-or-open, full access.
  [[nodiscard]] virtual RegResult CreateKey(HKey parent, std::string_view subKey, HKey& result) = 0;

  // RegQueryValueExA(key, name, 0, type, data, size).
  // - data == nullptr: only *size (and *type) are set; kErrorSuccess.
  // - *size smaller than the value: kErrorMoreData, *size = the value's size,
  //   nothing is copied.
  // - otherwise the bytes are copied and *size = the value's size.
  // `type` and `size` may be null where Win32 allows it (size only with data null).
  // A missing value gives kErrorFileNotFound; an invalid key kErrorInvalidHandle.
  [[nodiscard]] virtual RegResult QueryValueEx(HKey key, std::string_view valueName, std::uint32_t* type,
                                 std::uint8_t* data, std::uint32_t* size) = 0;

  // RegSetValueExA(key, name, 0, type, data, size): replaces the value whole.
  [[nodiscard]] virtual RegResult SetValueEx(HKey key, std::string_view valueName, std::uint32_t type,
                               const std::uint8_t* data, std::uint32_t size) = 0;

  // RegEnumKeyA(key, index, name, nameSize): nameSize counts the buffer's chars,
  // terminator included. A name that does not fit gives kErrorMoreData.
  [[nodiscard]] virtual RegResult EnumKey(HKey key, std::uint32_t index, char* name,
                            std::uint32_t nameSize) = 0;

  // RegEnumKeyExA(key, index, name, &length, 0, no class, no class size, no time):
  // in, *length = the buffer's chars with terminator; out, the name's length
  // without it. A name that does not fit gives kErrorMoreData.
  [[nodiscard]] virtual RegResult EnumKeyEx(HKey key, std::uint32_t index, char* name,
                              std::uint32_t* nameLength) = 0;

  // RegQueryInfoKeyA with only the subkey count and the longest subkey name's
  // length (chars, no terminator) requested. Either pointer may be null.
  [[nodiscard]] virtual RegResult QueryInfoKey(HKey key, std::uint32_t* subKeys,
                                 std::uint32_t* maxSubKeyLength) = 0;

  // RegDeleteKeyA(key, subKey): deletes a key that has no subkeys, values and all.
  [[nodiscard]] virtual RegResult DeleteKey(HKey key, std::string_view subKey) = 0;

  // RegCloseKey(key). Closing a predefined root is a harmless success.
  [[nodiscard]] virtual RegResult CloseKey(HKey key) = 0;
};

}  // namespace quillon::platform
