// Windows-1252, the ANSI code page the store's names and REG_SZ data use off
// Windows. The five bytes the code page leaves undefined map to the C1 controls
// of the same value, as Windows does, so every byte survives a round trip.
#include "platform/ansi.h"

#include <array>

namespace quillon::platform {
namespace {

constexpr std::array<char16_t, 32> kHighControlsBlock = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char16_t ByteToUnit(unsigned char byte) {
  if (byte >= 0x80 && byte < 0xA0) return kHighControlsBlock[byte - 0x80];
  return byte;
}

// The code page byte of a character, or nothing when the code page lacks it.
bool UnitToByte(char16_t unit, char& byte) {
  if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF)) {
    byte = static_cast<char>(unit);
    return true;
  }
  for (std::size_t i = 0; i < kHighControlsBlock.size(); ++i) {
    if (kHighControlsBlock[i] == unit) {
      byte = static_cast<char>(0x80 + i);
      return true;
    }
  }
  return false;
}

bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

}  // namespace

std::string ToAnsi(std::u16string_view text) {
  std::string bytes;
  bytes.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    char byte = '?';
    if (!UnitToByte(text[i], byte)) {
      byte = '?';
      // A surrogate pair is one character and becomes one '?'.
      if (IsHighSurrogate(text[i]) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) ++i;
    }
    bytes.push_back(byte);
  }
  return bytes;
}

std::u16string FromAnsi(std::string_view bytes) {
  std::u16string text;
  text.reserve(bytes.size());
  for (char byte : bytes) text.push_back(ByteToUnit(static_cast<unsigned char>(byte)));
  return text;
}

}  // namespace quillon::platform
