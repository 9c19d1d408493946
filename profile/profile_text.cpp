#include "profile/profile_text.h"

#include <algorithm>

namespace quillon::profile {
namespace {

char16_t LowerAscii(char16_t unit) {
  return (unit >= u'A' && unit <= u'Z') ? static_cast<char16_t>(unit + 0x20) : unit;
}

bool UnitsEqualIgnoringCase(char16_t left, char16_t right) {
  return LowerAscii(left) == LowerAscii(right);
}

}  // namespace

std::u16string TrimSpaces(std::u16string_view text) {
  const std::size_t first = text.find_first_not_of(u' ');
  if (first == std::u16string_view::npos) return {};
  const std::size_t last = text.find_last_not_of(u' ');
  return std::u16string(text.substr(first, last - first + 1));
}

bool EqualsIgnoringCase(std::u16string_view left, std::u16string_view right) {
  return left.size() == right.size() &&
         std::equal(left.begin(), left.end(), right.begin(), UnitsEqualIgnoringCase);
}

bool ContainsIgnoringCase(std::u16string_view text, std::u16string_view part) {
  return std::search(text.begin(), text.end(), part.begin(), part.end(),
                     UnitsEqualIgnoringCase) != text.end();
}

bool StartsWithIgnoringCase(std::u16string_view text, std::u16string_view prefix) {
  return text.size() >= prefix.size() && EqualsIgnoringCase(text.substr(0, prefix.size()), prefix);
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

std::int32_t ReadLittleEndian32(const std::uint8_t* bytes) {
  const std::uint32_t value = std::uint32_t{bytes[0]} | (std::uint32_t{bytes[1]} << 8) |
                              (std::uint32_t{bytes[2]} << 16) | (std::uint32_t{bytes[3]} << 24);
  return static_cast<std::int32_t>(value);
}

void AppendLittleEndian32(std::vector<std::uint8_t>& bytes, std::int32_t value) {
  const auto bits = static_cast<std::uint32_t>(value);
  for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<std::uint8_t>(bits >> shift));
}

}  // namespace quillon::profile
