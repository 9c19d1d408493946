// Small text operations the page applies to what it shows and stores.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "profile/profile_text.h"

namespace quillon::text {

// Blank trimming and TAB-style splitting are the profile store's own.
using profile::SplitAt;
using profile::TrimSpaces;

inline constexpr char16_t kTab = u'\t';
inline constexpr char16_t kCr = u'\r';

// Equality without regard to case for ASCII and Latin-1 letters.
bool EqualsIgnoringCase(std::u16string_view a, std::u16string_view b);
bool StartsWithIgnoringCase(std::u16string_view s, std::u16string_view prefix);

// 1-based position of the first occurrence, 0 when absent.
std::size_t Position(std::u16string_view s, std::u16string_view what);

// Removes every occurrence of the character.
std::u16string Without(std::u16string_view s, char16_t removed);

// A key name such as "0000000b" as a 32-bit number; nullopt unless it is one to
// eight hexadecimal digits (blanks around it allowed).
std::optional<std::int32_t> ParseHex(std::u16string_view s);

// A whole decimal number read up to the first NUL, blanks around it allowed;
// nullopt when the text is not one (or does not fit 32 bits).
std::optional<std::int32_t> ParseWholeNumber(std::u16string_view s);

// Decimal text of a number.
std::u16string Decimal(std::int64_t value);

}  // namespace quillon::text
