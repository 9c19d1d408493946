// Texts of the folders editor's message boxes.
#pragma once

#include <string_view>

namespace quillon::messages {

inline constexpr std::u16string_view kRefusedFolder =
    u"You should select a non-default folder in the default mailbox";

}  // namespace quillon::messages
