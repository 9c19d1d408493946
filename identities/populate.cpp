// Filling the identities from the directory and the shared mailboxes, and the
// re-read that empties them and restarts Outlook.
#include "identities/identities_editor.h"
#include "identities/identity_entry_form.h"
#include "identities/messages.h"
#include "platform/list_group.h"
#include "platform/text.h"
#include "profile/directory_addresses.h"

namespace quillon {

namespace {

constexpr char16_t kMailboxSeparator = u'\x01';

}  // namespace

void IdentitiesEditor::PopulateFromDirectory() {
  if (!m_.sPN.empty() && !m_.sUN.empty()) {
    {
      platform::DiagnosticStep step(m_.diagnostics, u"Populate: directory addresses");
      profile::LoadDirectoryAddresses(m_.registry, m_, m_.Profile());
    }
    int candidates = 0;
    bool added = false;
    for (const std::u16string& address : m_.vDirAddresses) {
      if (address.starts_with(u"SMTP:")) continue;  // the primary address is the default line
      if (text::TrimSpaces(address).empty()) continue;
      // Cached texts that are no SMTP address, such as the placeholder of an
      // empty value, would otherwise become identities.
      if (!text::StartsWithAsciiIgnoringCase(address, u"smtp:")) continue;
      ++candidates;
      const std::u16string entry = AddressEntry(m_.sUN, text::TrimSpaces(address.substr(5)));
      if (IsInList1(entry)) continue;
      AppendIdentity(entry);
      ListHScroll1();
      added = true;
    }
    if (!added && candidates == 0) {
      user_.MsgBox(std::u16string(messages::kNoSecondaryAddressesBefore) + m_.sPrimarySMTP +
                       std::u16string(messages::kNoSecondaryAddressesAfter),
                   platform::kMsgBoxNotice, platform::kAppTitle);
    }
  }
  hooks_.resetButtons();
}

void IdentitiesEditor::AddSharedMailboxes() {
  int candidates = 0;
  bool added = false;
  for (const std::u16string& part : text::SplitAt(m_.sSMBXs, kMailboxSeparator)) {
    const std::u16string entry = text::TrimSpaces(part);
    if (entry.empty()) continue;  // a stray separator names no mailbox
    ++candidates;
    if (IsInList1(entry)) continue;
    AppendIdentity(entry);
    added = true;
  }
  if (!added && candidates == 0) {
    user_.MsgBox(messages::kNoSharedMailboxes, platform::kMsgBoxNotice, platform::kAppTitle);
  }
  hooks_.resetButtons();
}

void IdentitiesEditor::Reread() {
  if (user_.MsgBox(messages::kRestartToReread, platform::kMsgBoxQuestion, platform::kAppTitle) !=
      platform::kAnswerYes) {
    return;
  }
  c_.List1.Clear();
  c_.List2.Clear();
  c_.List3.Clear();
  m_.bRestart = true;
  m_.bReread = true;
  hooks_.markDirty();
  hooks_.apply();
}

}  // namespace quillon
