// Conversion between the program's UTF-16 texts and the ANSI code page that
// names and REG_SZ data cross the store in. Off Windows the code page is
// Windows-1252; characters it cannot hold become '?'.
#pragma once

#include <string>
#include <string_view>

namespace quillon::platform {

std::string ToAnsi(std::u16string_view text);
std::u16string FromAnsi(std::string_view bytes);

}  // namespace quillon::platform
