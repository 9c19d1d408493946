// Texts of the identities editor's message boxes.
#pragma once

#include <string_view>

namespace quillon::messages {

inline constexpr std::u16string_view kRestartToReread =
    u"Outlook wiil be restarted to re-read the e-mail addresses stored in the Active Directory."
    u"\rYou should re-populate the list after restarting.\rContinue?";
inline constexpr std::u16string_view kNoSharedMailboxes =
    u"There are no shared mailboxes in the current profile or\r"
    u"you have insufficient rights on the shared mailbox(es)";
inline constexpr std::u16string_view kNoSecondaryAddressesBefore =
    u"There are no SMTP addresses except the default one: ";
inline constexpr std::u16string_view kNoSecondaryAddressesAfter = u"\rin Active Directory";

}  // namespace quillon::messages
