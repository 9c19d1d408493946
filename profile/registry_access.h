// The registry access layer: the only code above the store that touches keys.
//
// Each operation is a fixed sequence of store calls (the advapi32 ANSI calls on
// Windows) and closes every key it opens, except the handle OpenKey returns.
// Nothing throws. The Try forms tell a missing value or key from a failed
// call (RegRead); the plain forms give the neutral results the page has
// always used (0, "", an empty array, kNoKey) and report a failed call as
// ignored (platform/diagnostics.h). Writers return what the store said.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/registry_store.h"
#include "profile/registry_result.h"

namespace quillon::profile {

using Bytes = std::vector<std::uint8_t>;
using platform::HKey;
using platform::RegistryStore;

// A value for CreateKeyAndSetValue / SetTypedValue: a text or a number.
using TypedValue = std::variant<std::u16string, std::int32_t>;

// Text returned for a value that exists but holds no bytes.
inline constexpr std::u16string_view kNotDefined = u"(not defined for this account)";

// How ReadValueText decodes the bytes.
enum class ValueTextMode {
  kSingleText,     // one text
  kSmtpAddresses,  // the multi-valued proxy address list, its SMTP entries only
};

// Opens with `access` (KEY_READ unless said); missing: nothing, no failure.
RegRead<HKey> TryOpenKey(RegistryStore& store, HKey root, std::u16string_view path,
                         platform::KeyAccess access = platform::kKeyRead);
HKey OpenKey(RegistryStore& store, HKey root, std::u16string_view path);

RegRead<std::int32_t> TryReadDwordValue(RegistryStore& store, HKey key, std::u16string_view name);
std::int32_t ReadDwordValue(RegistryStore& store, HKey key, std::u16string_view name);
RegRead<std::u16string> TryReadStringValue(RegistryStore& store, HKey key, std::u16string_view name);
std::u16string ReadStringValue(RegistryStore& store, HKey key, std::u16string_view name);
RegRead<std::u16string> TryReadValueText(RegistryStore& store, HKey key, std::u16string_view name,
                                         ValueTextMode mode);
std::u16string ReadValueText(RegistryStore& store, HKey key, std::u16string_view name,
                             ValueTextMode mode);
// Create-or-opens the key below HKEY_CURRENT_USER; empty when anything fails.
Bytes ReadBinaryValue(RegistryStore& store, std::u16string_view path, std::u16string_view name);
// As ReadBinaryValue, but tells a value holding no bytes (an empty array) from
// a value that is missing or unreadable (nothing).
std::optional<Bytes> ReadBinaryValueIfPresent(RegistryStore& store, std::u16string_view path,
                                              std::u16string_view name);
RegRead<Bytes> TryReadBinaryValue(RegistryStore& store, std::u16string_view path,
                                  std::u16string_view name);
RegOutcome WriteBinaryValue(RegistryStore& store, std::u16string_view path, std::u16string_view name,
                            std::span<const std::uint8_t> bytes);
// The same reads and writes through a key the caller holds open (access 0x3F),
// for runs of values in one key: no create-or-open and close per value.
RegRead<Bytes> TryQueryBinaryValue(RegistryStore& store, HKey key, std::u16string_view name);
std::optional<Bytes> QueryBinaryValue(RegistryStore& store, HKey key, std::u16string_view name);
RegOutcome SetBinaryValue(RegistryStore& store, HKey key, std::u16string_view name,
                          std::span<const std::uint8_t> bytes);
RegOutcome SetDwordValue(RegistryStore& store, HKey key, std::u16string_view name, std::int32_t value);
// Create-or-opens the key below HKEY_CURRENT_USER with access 0x3F; kNoKey on failure.
// `created` (optional) tells whether the key was new.
RegRead<HKey> TryCreateWritableKey(RegistryStore& store, std::u16string_view path,
                                   bool* created = nullptr);
HKey CreateWritableKey(RegistryStore& store, std::u16string_view path, bool* created = nullptr);
RegOutcome WriteDwordValue(RegistryStore& store, std::u16string_view path, std::u16string_view name,
                           std::int32_t value);
RegOutcome WriteStringValue(RegistryStore& store, std::u16string_view path, std::u16string_view name,
                            std::u16string_view value);
// Fails without a store call for an empty key name ("" or "\" alone).
RegOutcome CreateKeyAndSetValue(RegistryStore& store, HKey root, std::u16string_view path,
                                std::u16string_view name, const TypedValue& value,
                                std::uint32_t type);
// The store's result code; kErrorInvalidParameter, with nothing written, for a
// REG_DWORD given a text that is no whole number; success for other types.
[[nodiscard]] platform::RegResult SetTypedValue(RegistryStore& store, HKey key,
                                                std::u16string_view name, std::uint32_t type,
                                                const TypedValue& value);
// Deleting what is not there is no failure; a failed call is reported and the
// rest deleted all the same (a key that cannot be opened keeps what is below it).
void DeleteSubKeys(RegistryStore& store, HKey root, std::u16string_view path);
void DeleteKeyTree(RegistryStore& store, HKey root, std::u16string_view path);

std::u16string TrimAtNull(std::u16string_view text);
Bytes TextToBytes(std::u16string_view text);
std::u16string BytesToText(std::span<const std::uint8_t> bytes);

}  // namespace quillon::profile
