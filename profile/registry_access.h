// The registry access layer: the only code above the store that touches keys.
//
// Each operation is a fixed sequence of store calls (the advapi32 ANSI calls on
// Windows) and closes every key it opens, except the handle OpenKey returns.
// Failures become neutral results (0, "", an empty array, false); nothing throws.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/registry_store.h"

namespace quillon::profile {

using Bytes = std::vector<std::uint8_t>;
using platform::HKey;
using platform::RegistryStore;

// A value for CreateKeyAndSetValue / SetTypedValue: a text or a number.
using TypedValue = std::variant<std::u16string, std::int32_t>;

// Text returned for a value that exists but holds no bytes.
inline constexpr std::u16string_view kNotDefined = u"(not defined for this account)";

HKey OpenKey(RegistryStore& store, HKey root, std::u16string_view path);
std::int32_t ReadDwordValue(RegistryStore& store, HKey key, std::u16string_view name);
std::u16string ReadStringValue(RegistryStore& store, HKey key, std::u16string_view name);
// mode "" decodes one text; mode "SMTP" the multi-valued SMTP proxy list.
std::u16string ReadValueText(RegistryStore& store, HKey key, std::u16string_view name,
                             std::u16string_view mode);
// Create-or-opens the key below HKEY_CURRENT_USER; empty when anything fails.
Bytes ReadBinaryValue(RegistryStore& store, std::u16string_view path, std::u16string_view name);
// As ReadBinaryValue, but tells a value holding no bytes (an empty array) from
// a value that is missing or unreadable (nothing).
std::optional<Bytes> ReadBinaryValueIfPresent(RegistryStore& store, std::u16string_view path,
                                              std::u16string_view name);
bool WriteBinaryValue(RegistryStore& store, std::u16string_view path, std::u16string_view name,
                      std::span<const std::uint8_t> bytes);
// The same reads and writes through a key the caller holds open (access 0x3F),
// for runs of values in one key: no create-or-open and close per value.
std::optional<Bytes> QueryBinaryValue(RegistryStore& store, HKey key, std::u16string_view name);
bool SetBinaryValue(RegistryStore& store, HKey key, std::u16string_view name,
                    std::span<const std::uint8_t> bytes);
bool SetDwordValue(RegistryStore& store, HKey key, std::u16string_view name, std::int32_t value);
// Create-or-opens the key below HKEY_CURRENT_USER with access 0x3F; kNoKey on failure.
// `created` (optional) tells whether the key was new.
HKey CreateWritableKey(RegistryStore& store, std::u16string_view path, bool* created = nullptr);
bool WriteDwordValue(RegistryStore& store, std::u16string_view path, std::u16string_view name,
                     std::int32_t value);
void WriteStringValue(RegistryStore& store, std::u16string_view path, std::u16string_view name,
                      std::u16string_view value);
bool CreateKeyAndSetValue(RegistryStore& store, HKey root, std::u16string_view path,
                          std::u16string_view name, const TypedValue& value, std::uint32_t type);
std::int32_t SetTypedValue(RegistryStore& store, HKey key, std::u16string_view name,
                           std::uint32_t type, const TypedValue& value);
void DeleteSubKeys(RegistryStore& store, HKey root, std::u16string_view path);
void DeleteKeyTree(RegistryStore& store, HKey root, std::u16string_view path);

std::u16string TrimAtNull(std::u16string_view text);
Bytes TextToBytes(std::u16string_view text);
std::u16string BytesToText(std::span<const std::uint8_t> bytes);

}  // namespace quillon::profile
