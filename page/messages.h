// Texts of the page's message boxes, shown with the title "Quillon".
#pragma once

#include <string_view>

namespace quillon::messages {

inline constexpr std::u16string_view kRemoveSelected =
    u"Are you sure you want to delete the selected item from the list?";
inline constexpr std::u16string_view kRemoveAll =
    u"Are you sure you want to delete all items from the list?";
inline constexpr std::u16string_view kRestartAfterApply =
    u"Outlook wiil be restarted to finish the configuration.\rRestart it now?";
inline constexpr std::u16string_view kRestartToReread =
    u"Outlook wiil be restarted to re-read the e-mail addresses stored in the Active Directory."
    u"\rYou should re-populate the list after restarting.\rContinue?";
inline constexpr std::u16string_view kNoSharedMailboxes =
    u"There are no shared mailboxes in the current profile or\r"
    u"you have insufficient rights on the shared mailbox(es)";
inline constexpr std::u16string_view kNoSecondaryAddressesBefore =
    u"There are no SMTP addresses except the default one: ";
inline constexpr std::u16string_view kNoSecondaryAddressesAfter = u"\rin Active Directory";
inline constexpr std::u16string_view kRefusedFolder =
    u"You should select a non-default folder in the default mailbox";

}  // namespace quillon::messages
