// Text operations shared by every layer. Each comparison that ignores case
// names its rule:
// - Identity rule: what Windows' CompareStringOrdinal(..., TRUE) does, each
//   UTF-16 code unit mapped through its simple Unicode uppercase mapping, then
//   compared as numbers. Used for everything the user typed or sees (identity
//   entries and their account names).
// - ASCII rule: only A-Z and a-z are folded. Used for registry names, protocol
//   prefixes such as "smtp:" and Outlook's identifiers.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillon::text {

inline constexpr char16_t kTab = u'\t';
inline constexpr char16_t kCr = u'\r';

// Identity rule.
char16_t SimpleUpperCase(char16_t unit);
bool EqualsIdentityIgnoringCase(std::u16string_view a, std::u16string_view b);
bool StartsWithIdentityIgnoringCase(std::u16string_view s, std::u16string_view prefix);

// ASCII rule.
bool EqualsAsciiIgnoringCase(std::u16string_view a, std::u16string_view b);
bool ContainsAsciiIgnoringCase(std::u16string_view text, std::u16string_view part);
bool StartsWithAsciiIgnoringCase(std::u16string_view s, std::u16string_view prefix);

// Leading and trailing blanks (U+0020 only) removed.
std::u16string TrimSpaces(std::u16string_view text);
// Splits at every separator; "" gives no items, k separators k + 1 items.
std::vector<std::u16string> SplitAt(std::u16string_view text, char16_t separator);

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

std::int32_t ReadLittleEndian32(const std::uint8_t* bytes);
void AppendLittleEndian32(std::vector<std::uint8_t>& bytes, std::int32_t value);

}  // namespace quillon::text
