#include "platform/text.h"

#include <algorithm>
#include <array>
#include <utility>

namespace quillon::text {

namespace {

constexpr std::pair<char16_t, char16_t> kUpperCase[] = {
#include "platform/upper_case_table.inc"
};

static_assert(std::is_sorted(std::begin(kUpperCase), std::end(kUpperCase)));

char16_t LowerAscii(char16_t unit) {
  return (unit >= u'A' && unit <= u'Z') ? static_cast<char16_t>(unit + 0x20) : unit;
}

bool UnitsEqualAscii(char16_t left, char16_t right) { return LowerAscii(left) == LowerAscii(right); }

bool UnitsEqualIdentity(char16_t left, char16_t right) {
  return left == right || SimpleUpperCase(left) == SimpleUpperCase(right);
}

int HexDigit(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

template <typename UnitsEqual>
bool EqualUnits(std::u16string_view a, std::u16string_view b, UnitsEqual equal) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), equal);
}

}  // namespace

char16_t SimpleUpperCase(char16_t unit) {
  if (unit < 0x80) return (unit >= u'a' && unit <= u'z') ? static_cast<char16_t>(unit - 0x20) : unit;
  const auto* end = std::end(kUpperCase);
  const auto* found = std::lower_bound(std::begin(kUpperCase), end, unit,
                                       [](const auto& row, char16_t key) { return row.first < key; });
  return (found != end && found->first == unit) ? found->second : unit;
}

bool EqualsIdentityIgnoringCase(std::u16string_view a, std::u16string_view b) {
  return EqualUnits(a, b, UnitsEqualIdentity);
}

bool StartsWithIdentityIgnoringCase(std::u16string_view s, std::u16string_view prefix) {
  return s.size() >= prefix.size() && EqualsIdentityIgnoringCase(s.substr(0, prefix.size()), prefix);
}

bool EqualsAsciiIgnoringCase(std::u16string_view a, std::u16string_view b) {
  return EqualUnits(a, b, UnitsEqualAscii);
}

bool ContainsAsciiIgnoringCase(std::u16string_view text, std::u16string_view part) {
  return std::search(text.begin(), text.end(), part.begin(), part.end(), UnitsEqualAscii) != text.end();
}

bool StartsWithAsciiIgnoringCase(std::u16string_view s, std::u16string_view prefix) {
  return s.size() >= prefix.size() && EqualsAsciiIgnoringCase(s.substr(0, prefix.size()), prefix);
}

std::u16string TrimSpaces(std::u16string_view text) {
  const std::size_t first = text.find_first_not_of(u' ');
  if (first == std::u16string_view::npos) return {};
  const std::size_t last = text.find_last_not_of(u' ');
  return std::u16string(text.substr(first, last - first + 1));
}

std::vector<std::u16string> SplitAt(std::u16string_view text, char16_t separator) {
  std::vector<std::u16string> items;
  if (text.empty()) return items;
  std::size_t start = 0;
  while (true) {
    const std::size_t end = text.find(separator, start);
    if (end == std::u16string_view::npos) {
      items.emplace_back(text.substr(start));
      return items;
    }
    items.emplace_back(text.substr(start, end - start));
    start = end + 1;
  }
}

std::size_t Position(std::u16string_view s, std::u16string_view what) {
  const auto at = s.find(what);
  return at == std::u16string_view::npos ? 0 : at + 1;
}

std::u16string Without(std::u16string_view s, char16_t removed) {
  std::u16string result;
  result.reserve(s.size());
  for (char16_t c : s) {
    if (c != removed) result.push_back(c);
  }
  return result;
}

std::optional<std::int32_t> ParseHex(std::u16string_view s) {
  const std::u16string digits = TrimSpaces(s);
  if (digits.empty() || digits.size() > 8) return std::nullopt;
  std::uint32_t value = 0;
  for (char16_t c : digits) {
    const int digit = HexDigit(c);
    if (digit < 0) return std::nullopt;
    value = value * 16 + static_cast<std::uint32_t>(digit);
  }
  return static_cast<std::int32_t>(value);
}

std::optional<std::int32_t> ParseWholeNumber(std::u16string_view s) {
  const std::u16string number = TrimSpaces(s.substr(0, std::min(s.size(), s.find(u'\0'))));
  std::size_t at = 0;
  const bool negative = !number.empty() && number[0] == u'-';
  if (!number.empty() && (number[0] == u'-' || number[0] == u'+')) at = 1;
  if (at >= number.size()) return std::nullopt;
  std::int64_t value = 0;
  for (; at < number.size(); ++at) {
    const char16_t c = number[at];
    if (c < u'0' || c > u'9') return std::nullopt;
    value = value * 10 + (c - u'0');
    if (value > INT32_MAX + std::int64_t{1}) return std::nullopt;
  }
  if (negative) value = -value;
  if (value > INT32_MAX || value < INT32_MIN) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

std::u16string Decimal(std::int64_t value) {
  const std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

std::int32_t ReadLittleEndian32(const std::uint8_t* bytes) {
  const std::uint32_t value = std::uint32_t{bytes[0]} | (std::uint32_t{bytes[1]} << 8) |
                              (std::uint32_t{bytes[2]} << 16) | (std::uint32_t{bytes[3]} << 24);
  return static_cast<std::int32_t>(value);
}

void AppendLittleEndian32(std::vector<std::uint8_t>& bytes, std::int32_t value) {
  const auto bits = static_cast<std::uint32_t>(value);
  for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<std::uint8_t>(bits >> shift));
}

}  // namespace quillon::text
