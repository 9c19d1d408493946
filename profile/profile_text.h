// Small text helpers shared by the profile store's readers and writers.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quillon::profile {

// Leading and trailing blanks (U+0020 only) removed.
std::u16string TrimSpaces(std::u16string_view text);
// Comparisons that ignore the case of ASCII letters.
bool EqualsIgnoringCase(std::u16string_view left, std::u16string_view right);
bool ContainsIgnoringCase(std::u16string_view text, std::u16string_view part);
bool StartsWithIgnoringCase(std::u16string_view text, std::u16string_view prefix);
// Splits at every separator; "" gives no items, k separators k + 1 items.
std::vector<std::u16string> SplitAt(std::u16string_view text, char16_t separator);

std::int32_t ReadLittleEndian32(const std::uint8_t* bytes);
void AppendLittleEndian32(std::vector<std::uint8_t>& bytes, std::int32_t value);

}  // namespace quillon::profile
