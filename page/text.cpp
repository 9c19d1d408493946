#include "page/text.h"

#include <algorithm>

namespace quillon::text {

namespace {

char16_t FoldCase(char16_t c) {
  if (c >= u'A' && c <= u'Z') return static_cast<char16_t>(c + 32);
  // Latin-1 capitals, except the multiplication sign.
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<char16_t>(c + 32);
  return c;
}

int HexDigit(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

}  // namespace

bool EqualsIgnoringCase(std::u16string_view a, std::u16string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(),
                    [](char16_t x, char16_t y) { return FoldCase(x) == FoldCase(y); });
}

bool StartsWithIgnoringCase(std::u16string_view s, std::u16string_view prefix) {
  return s.size() >= prefix.size() && EqualsIgnoringCase(s.substr(0, prefix.size()), prefix);
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

}  // namespace quillon::text
