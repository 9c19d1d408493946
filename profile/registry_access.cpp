#include "profile/registry_access.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstring>

#include "platform/ansi.h"
#include "platform/text.h"
#include "profile/scoped_key.h"

namespace quillon::profile {

using platform::FromAnsi;
using platform::ToAnsi;

namespace {

constexpr std::size_t kStringBufferSize = 260;
constexpr std::size_t kSubKeyNameBufferSize = 256;
constexpr std::u16string_view kSmtpPrefix = u"SMTP:";

// Most values fit this; a longer one costs a second query with its size.
constexpr std::uint32_t kFirstQueryBytes = 256;

// The store member names a report gives.
constexpr std::u16string_view kOpenKeyEx = u"OpenKeyEx";
constexpr std::u16string_view kCreateKeyEx = u"CreateKeyEx";
constexpr std::u16string_view kQueryValueEx = u"QueryValueEx";
constexpr std::u16string_view kSetValueEx = u"SetValueEx";
constexpr std::u16string_view kEnumKey = u"EnumKey";
constexpr std::u16string_view kDeleteKey = u"DeleteKey";

// A read's result code: success goes on, a missing value or key is no failure.
template <class T>
RegRead<T> MissingOrFailed(platform::RegResult code, std::u16string_view call,
                           std::u16string_view subject) {
  if (code == platform::kErrorFileNotFound) return {};
  return RegOutcome::Of(code, call, subject);
}

// A delete's result code: what is not there needs no deleting.
void IgnoreUnlessMissing(platform::RegResult code, std::u16string_view call,
                         std::u16string_view subject) {
  if (code != platform::kErrorFileNotFound) RegOutcome::Of(code, call, subject).Ignore();
}

// The value's bytes followed by one zero byte. One query when the value fits
// the first buffer, else a second one sized by the first: a value that changed
// size in between counts as unreadable.
RegRead<Bytes> QueryWithTrailingZero(RegistryStore& store, HKey key, std::u16string_view name) {
  const std::string ansiName = ToAnsi(name);
  Bytes bytes(std::size_t{kFirstQueryBytes} + 1, 0);
  std::uint32_t received = kFirstQueryBytes;
  platform::RegResult result = store.QueryValueEx(key, ansiName, nullptr, bytes.data(), &received);
  if (result == platform::kErrorFileNotFound) return {};
  if (result == platform::kErrorMoreData) {
    bytes.assign(std::size_t{received} + 1, 0);
    result = store.QueryValueEx(key, ansiName, nullptr, bytes.data(), &received);
  }
  if (result == platform::kErrorSuccess && received >= bytes.size()) result = platform::kErrorMoreData;
  if (result != platform::kErrorSuccess) return RegOutcome::Of(result, kQueryValueEx, name);
  bytes.resize(std::size_t{received} + 1);
  bytes[received] = 0;  // the store may have written a terminator there
  return bytes;
}

// Property-tag names with type 101E/001E ("101e6637") hold 8-bit text.
bool HoldsEightBitText(std::u16string_view name) {
  return name.size() >= 4 && (name[3] == u'e' || name[3] == u'E');
}

std::u16string EightBitText(std::span<const std::uint8_t> bytes) {
  return FromAnsi(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

// Keeps the SMTP entries of the NUL-separated text, last stored first.
std::u16string KeepSmtpItems(std::u16string text) {
  std::replace(text.begin(), text.end(), u'\t', u' ');
  const std::u16string_view items(text);
  std::u16string result;
  // From the last item to the first, each looked at in place (a list can hold
  // thousands of empty items).
  for (std::size_t end = items.size();;) {
    const std::size_t separator = end == 0 ? std::u16string_view::npos : items.rfind(u'\0', end - 1);
    const std::size_t start = separator == std::u16string_view::npos ? 0 : separator + 1;
    const std::u16string_view item = text::TrimSpacesView(items.substr(start, end - start));
    if (!item.empty() && text::StartsWithAsciiIgnoringCase(item, kSmtpPrefix)) {
      if (!result.empty()) result += u'\t';
      result += item;
    }
    if (separator == std::u16string_view::npos) return result;
    end = separator;
  }
}

// Multi-valued data: a count, offsets, then the strings. The first offset is
// read whole; an offset that is incomplete or at/past the end gives no items.
std::u16string DecodeSmtpList(const Bytes& bytes, std::uint32_t size, bool eightBit) {
  if (size < 8) return {};
  const auto offset = static_cast<std::uint32_t>(text::ReadLittleEndian32(bytes.data() + 4));
  if (offset >= size) return {};
  if (eightBit) return KeepSmtpItems(EightBitText(std::span(bytes).subspan(offset)));
  return KeepSmtpItems(BytesToText(bytes).substr(offset / 2));
}

std::u16string DecodeSingleText(const Bytes& bytes, bool eightBit) {
  if (eightBit) {
    const auto end = std::find(bytes.begin(), bytes.end(), 0);
    return EightBitText(std::span(bytes.begin(), end));
  }
  return TrimAtNull(BytesToText(bytes));
}

void DeleteSubKeysAnsi(RegistryStore& store, HKey root, const std::string& path) {
  if (path.empty()) return;  // never the whole root
  ScopedKey key(store, platform::kNoKey);
  if (const auto code = store.OpenKeyEx(root, path, platform::kKeyAllSixRights, *key.put());
      code != platform::kErrorSuccess) {
    IgnoreUnlessMissing(code, kOpenKeyEx, FromAnsi(path));
    return;
  }
  // Collect first: deleting while enumerating would shift the indexes.
  std::vector<std::string> names;
  for (std::uint32_t index = 0;; ++index) {
    std::array<char, kSubKeyNameBufferSize> buffer{};
    const auto code = store.EnumKey(key.get(), index, buffer.data(), buffer.size());
    if (code == platform::kErrorNoMoreItems) break;
    if (code != platform::kErrorSuccess) {
      // What was listed before the failure is deleted all the same.
      RegOutcome::Of(code, kEnumKey, FromAnsi(path)).Ignore();
      break;
    }
    names.emplace_back(buffer.data(), strnlen(buffer.data(), buffer.size()));
  }
  for (const std::string& name : names) {
    DeleteSubKeysAnsi(store, root, path + "\\" + name);
    IgnoreUnlessMissing(store.DeleteKey(key.get(), name), kDeleteKey, FromAnsi(name));
  }
}

std::optional<std::int32_t> ParseWholeNumber(std::u16string_view text) {
  const std::string digits = ToAnsi(text::TrimSpaces(text));
  std::int32_t number = 0;
  const char* end = digits.data() + digits.size();
  const auto [stop, error] = std::from_chars(digits.data(), end, number);
  if (error != std::errc() || stop != end) return std::nullopt;
  return number;
}

}  // namespace

RegRead<HKey> TryOpenKey(RegistryStore& store, HKey root, std::u16string_view path,
                         platform::KeyAccess access) {
  HKey key = platform::kNoKey;
  const auto code = store.OpenKeyEx(root, ToAnsi(path), access, key);
  if (code != platform::kErrorSuccess) return MissingOrFailed<HKey>(code, kOpenKeyEx, path);
  return key;
}

HKey OpenKey(RegistryStore& store, HKey root, std::u16string_view path) {
  return TryOpenKey(store, root, path).Or(platform::kNoKey);
}

RegRead<std::int32_t> TryReadDwordValue(RegistryStore& store, HKey key, std::u16string_view name) {
  if (key == platform::kNoKey) return {};
  std::array<std::uint8_t, 4> buffer{};
  std::uint32_t type = 0;
  std::uint32_t size = buffer.size();
  const auto code = store.QueryValueEx(key, ToAnsi(name), &type, buffer.data(), &size);
  if (code != platform::kErrorSuccess) return MissingOrFailed<std::int32_t>(code, kQueryValueEx, name);
  return text::ReadLittleEndian32(buffer.data());
}

std::int32_t ReadDwordValue(RegistryStore& store, HKey key, std::u16string_view name) {
  return TryReadDwordValue(store, key, name).Or(0);
}

RegRead<std::u16string> TryReadStringValue(RegistryStore& store, HKey key,
                                           std::u16string_view name) {
  if (key == platform::kNoKey) return {};
  std::array<char, kStringBufferSize> buffer{};
  std::uint32_t type = 0;
  std::uint32_t size = buffer.size();
  const auto code = store.QueryValueEx(key, ToAnsi(name), &type,
                                       reinterpret_cast<std::uint8_t*>(buffer.data()), &size);
  if (code != platform::kErrorSuccess) {
    return MissingOrFailed<std::u16string>(code, kQueryValueEx, name);
  }
  const std::size_t filled = std::min<std::size_t>(size, buffer.size());
  return FromAnsi(std::string_view(buffer.data(), strnlen(buffer.data(), filled)));
}

std::u16string ReadStringValue(RegistryStore& store, HKey key, std::u16string_view name) {
  return TryReadStringValue(store, key, name).Or(u"");
}

RegRead<std::u16string> TryReadValueText(RegistryStore& store, HKey key, std::u16string_view name,
                                         ValueTextMode mode) {
  RegRead<Bytes> read = QueryWithTrailingZero(store, key, name);
  if (!read.Found()) return read.Failure();
  const Bytes& bytes = *read.Value();
  const auto size = static_cast<std::uint32_t>(bytes.size() - 1);  // without the zero added
  if (size == 0) return std::u16string(kNotDefined);
  const bool eightBit = HoldsEightBitText(name);
  if (mode == ValueTextMode::kSmtpAddresses) return DecodeSmtpList(bytes, size, eightBit);
  return DecodeSingleText(bytes, eightBit);
}

std::u16string ReadValueText(RegistryStore& store, HKey key, std::u16string_view name,
                             ValueTextMode mode) {
  return TryReadValueText(store, key, name, mode).Or(u"");
}

RegRead<Bytes> TryQueryBinaryValue(RegistryStore& store, HKey key, std::u16string_view name) {
  if (key == platform::kNoKey) return {};
  const std::string valueName = ToAnsi(name);
  std::uint32_t size = 0;
  if (const auto code = store.QueryValueEx(key, valueName, nullptr, nullptr, &size);
      code != platform::kErrorSuccess) {
    return MissingOrFailed<Bytes>(code, kQueryValueEx, name);
  }
  Bytes bytes(size);
  if (size == 0) return bytes;
  std::uint32_t received = size;
  // A failed data query yields nothing rather than an array of zeros.
  if (const auto code = store.QueryValueEx(key, valueName, nullptr, bytes.data(), &received);
      code != platform::kErrorSuccess) {
    return RegOutcome::Of(code, kQueryValueEx, name);
  }
  bytes.resize(std::min(received, size));
  return bytes;
}

std::optional<Bytes> QueryBinaryValue(RegistryStore& store, HKey key, std::u16string_view name) {
  return TryQueryBinaryValue(store, key, name).IgnoringFailure();
}

RegRead<Bytes> TryReadBinaryValue(RegistryStore& store, std::u16string_view path,
                                  std::u16string_view name) {
  ScopedKey key(store, platform::kNoKey);
  const auto code =
      store.CreateKeyEx(platform::kCurrentUser, ToAnsi(path), platform::kKeyQueryValue, *key.put());
  if (code != platform::kErrorSuccess) return RegOutcome::Of(code, kCreateKeyEx, path);
  return TryQueryBinaryValue(store, key.get(), name);
}

std::optional<Bytes> ReadBinaryValueIfPresent(RegistryStore& store, std::u16string_view path,
                                              std::u16string_view name) {
  return TryReadBinaryValue(store, path, name).IgnoringFailure();
}

Bytes ReadBinaryValue(RegistryStore& store, std::u16string_view path, std::u16string_view name) {
  return ReadBinaryValueIfPresent(store, path, name).value_or(Bytes{});
}

RegRead<HKey> TryCreateWritableKey(RegistryStore& store, std::u16string_view path, bool* created) {
  HKey key = platform::kNoKey;
  const auto code = store.CreateKeyEx(platform::kCurrentUser, ToAnsi(path),
                                      platform::kKeyAllSixRights, key, created);
  if (code != platform::kErrorSuccess) return RegOutcome::Of(code, kCreateKeyEx, path);
  return key;
}

HKey CreateWritableKey(RegistryStore& store, std::u16string_view path, bool* created) {
  return TryCreateWritableKey(store, path, created).Or(platform::kNoKey);
}

RegOutcome SetBinaryValue(RegistryStore& store, HKey key, std::u16string_view name,
                          std::span<const std::uint8_t> bytes) {
  return RegOutcome::Of(store.SetValueEx(key, ToAnsi(name), platform::kRegBinary, bytes.data(),
                                         static_cast<std::uint32_t>(bytes.size())),
                        kSetValueEx, name);
}

RegOutcome SetDwordValue(RegistryStore& store, HKey key, std::u16string_view name, std::int32_t value) {
  Bytes bytes;
  text::AppendLittleEndian32(bytes, value);
  return RegOutcome::Of(store.SetValueEx(key, ToAnsi(name), platform::kRegDword, bytes.data(), 4),
                        kSetValueEx, name);
}

namespace {

// Create-opens the key with access 0x3F, hands its handle to `write`, closes it.
template <class Write>
RegOutcome WriteInKey(RegistryStore& store, std::u16string_view path, Write write) {
  RegRead<HKey> created = TryCreateWritableKey(store, path);
  if (!created.Found()) return created.Failure();
  ScopedKey key(store, *created.Value());
  return write(key.get());
}

}  // namespace

RegOutcome WriteBinaryValue(RegistryStore& store, std::u16string_view path, std::u16string_view name,
                            std::span<const std::uint8_t> bytes) {
  return WriteInKey(store, path, [&](HKey key) { return SetBinaryValue(store, key, name, bytes); });
}

RegOutcome WriteDwordValue(RegistryStore& store, std::u16string_view path, std::u16string_view name,
                           std::int32_t value) {
  return WriteInKey(store, path, [&](HKey key) { return SetDwordValue(store, key, name, value); });
}

RegOutcome WriteStringValue(RegistryStore& store, std::u16string_view path, std::u16string_view name,
                            std::u16string_view value) {
  return CreateKeyAndSetValue(store, platform::kCurrentUser, path, name, std::u16string(value),
                              platform::kRegSz);
}

RegOutcome CreateKeyAndSetValue(RegistryStore& store, HKey root, std::u16string_view path,
                                std::u16string_view name, const TypedValue& value,
                                std::uint32_t type) {
  if (!path.empty() && path.front() == u'\\') path.remove_prefix(1);
  // "\" alone names the root itself: refused like an empty path, without a call.
  if (path.empty()) {
    return {u"CreateKeyAndSetValue", std::u16string(), platform::kErrorInvalidParameter};
  }
  ScopedKey key(store, platform::kNoKey);
  if (const auto code = store.CreateKey(root, ToAnsi(path), *key.put());
      code != platform::kErrorSuccess) {
    return RegOutcome::Of(code, u"CreateKey", path);
  }
  return RegOutcome::Of(SetTypedValue(store, key.get(), name, type, value), kSetValueEx, name);
}

std::int32_t SetTypedValue(RegistryStore& store, HKey key, std::u16string_view name,
                           std::uint32_t type, const TypedValue& value) {
  if (type == platform::kRegSz) {
    const std::u16string text = std::holds_alternative<std::int32_t>(value)
        ? FromAnsi(std::to_string(std::get<std::int32_t>(value)))
        : std::get<std::u16string>(value);
    // Exactly the characters: no terminator is counted.
    const std::string bytes = ToAnsi(text);
    return store.SetValueEx(key, ToAnsi(name), platform::kRegSz,
                            reinterpret_cast<const std::uint8_t*>(bytes.data()),
                            static_cast<std::uint32_t>(bytes.size()));
  }
  if (type == platform::kRegDword) {
    std::optional<std::int32_t> number = std::holds_alternative<std::int32_t>(value)
        ? std::optional(std::get<std::int32_t>(value))
        : ParseWholeNumber(std::get<std::u16string>(value));
    if (!number) return platform::kErrorInvalidParameter;
    Bytes bytes;
    text::AppendLittleEndian32(bytes, *number);
    return store.SetValueEx(key, ToAnsi(name), platform::kRegDword, bytes.data(), 4);
  }
  return platform::kErrorSuccess;
}

void DeleteSubKeys(RegistryStore& store, HKey root, std::u16string_view path) {
  DeleteSubKeysAnsi(store, root, ToAnsi(path));
}

void DeleteKeyTree(RegistryStore& store, HKey root, std::u16string_view path) {
  if (!path.empty() && path.back() == u'\\') path.remove_suffix(1);
  if (path.empty()) return;  // never the whole root
  DeleteSubKeys(store, root, path);
  const std::size_t slash = path.rfind(u'\\');
  if (slash == std::u16string_view::npos) {
    IgnoreUnlessMissing(store.DeleteKey(root, ToAnsi(path)), kDeleteKey, path);
    return;
  }
  const std::u16string_view parentPath = path.substr(0, slash);
  ScopedKey parent(store, platform::kNoKey);
  if (const auto code = store.OpenKeyEx(root, ToAnsi(parentPath), platform::kKeyAllSixRights,
                                        *parent.put());
      code != platform::kErrorSuccess) {
    IgnoreUnlessMissing(code, kOpenKeyEx, parentPath);
    return;
  }
  const std::u16string_view leaf = path.substr(slash + 1);
  IgnoreUnlessMissing(store.DeleteKey(parent.get(), ToAnsi(leaf)), kDeleteKey, leaf);
}

std::u16string TrimAtNull(std::u16string_view text) {
  return std::u16string(text.substr(0, text.find(u'\0')));
}

Bytes TextToBytes(std::u16string_view text) {
  Bytes bytes;
  bytes.reserve(text.size() * 2);
  for (char16_t unit : text) {
    bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
  }
  return bytes;
}

std::u16string BytesToText(std::span<const std::uint8_t> bytes) {
  std::u16string text;
  text.reserve(bytes.size() / 2);
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    text.push_back(static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8)));
  }
  return text;
}

}  // namespace quillon::profile
