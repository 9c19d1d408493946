// Texts of the page's own message boxes.
#pragma once

#include <string_view>

namespace quillon::messages {

inline constexpr std::u16string_view kRestartAfterApply =
    u"Outlook wiil be restarted to finish the configuration.\rRestart it now?";

}  // namespace quillon::messages
