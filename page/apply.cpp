// The save: rewrites the identity accounts, folders and Reply-To format, then
// offers the restart that lets the add-in pick the changes up.
#include <cstdint>

#include "identities/identity_entry_form.h"
#include "page/messages.h"
#include "page/quillon_page.h"
#include "platform/text.h"
#include "profile/account_store.h"
#include "profile/profile_values.h"

namespace quillon {

void QuillonPage::DeleteIdentityAccounts(profile::AccountStoreWriter& writer) {
  platform::DiagnosticStep step(m_.diagnostics, u"Apply: old identity accounts");
  profile::LoadAccounts(m_.registry, m_, m_.Profile());
  m_.vAccIDs = text::SplitAt(m_.sAccIDs, text::kTab);
  m_.SetBoundsOf(m_.vAccIDs);
  for (const std::u16string& id : m_.vAccIDs) {
    // A key name that is not an account number names no account to delete.
    if (const auto number = text::ParseHex(id)) {
      writer.DeleteAccount(*number);
    }
  }
}

int QuillonPage::CreateIdentityAccounts(profile::AccountStoreWriter& writer) {
  platform::DiagnosticStep step(m_.diagnostics, u"Apply: identity accounts");
  int smtpCount = 0;
  const std::int16_t count = c_.List1.ListCount();
  std::int32_t lastCreated = 0;
  for (std::int16_t i = 0; i < count; ++i) {
    std::int32_t number = writer.NextAccountID();
    if (number <= 0) continue;
    // When raising "NextAccountID" failed, the number read is one this save
    // already used: taking it again would write over that identity's account.
    if (lastCreated > 0 && number <= lastCreated) {
      if (lastCreated == INT32_MAX) continue;
      number = lastCreated + 1;
    }
    const IdentityFields fields = ParseIdentityEntry(c_.List1.List(i));
    // An address entry counts for the Exchange account's name even when incomplete.
    if (fields.form == IdentityFields::Form::Address) ++smtpCount;
    if (!fields.complete) continue;
    const std::u16string newSignature = text::TrimSpaces(c_.List2.List(i));
    const std::u16string replySignature = text::TrimSpaces(c_.List3.List(i));
    const profile::IdentityAccountTexts texts{fields.accountName, fields.displayName,
                                              fields.address, newSignature, replySignature};
    // A number whose account exists already (a stale "NextAccountID") is
    // passed over: the identity takes the next free one.
    while (!writer.CreateIdentityAccount(number, texts) && number < INT32_MAX) ++number;
    lastCreated = number;
  }
  return smtpCount;
}

void QuillonPage::SaveFoldersAndFormat() {
  platform::DiagnosticStep step(m_.diagnostics, u"Apply: folders and reply format");
  // Without a namespace the folders could be neither listed nor edited: the
  // empty list says nothing about them, so the stored value stays.
  if (m_.iOutlookVersion < 12 && m_.oNS) {
    std::u16string folderText;
    for (std::int16_t i = 0; i < c_.List5.ListCount(); ++i) {
      folderText += text::TrimSpaces(c_.List5.List(i)) + text::kTab;
    }
    profile::SaveMonitoredFolders(m_.registry, m_.Profile(), folderText);
  }
  for (std::size_t k = 0; k < c_.Option1.size(); ++k) {
    if (c_.Option1[k].get().Value()) {
      profile::SaveReplyAddressFormat(m_.registry, m_.Profile(),
                                      text::Decimal(static_cast<std::int64_t>(k)));
      break;
    }
  }
}

void QuillonPage::NameExchangeAccount(int smtpCount) {
  platform::DiagnosticStep step(m_.diagnostics, u"Apply: Exchange account name");
  if (m_.sExchangeID.empty()) return;
  const auto number = text::ParseHex(m_.sExchangeID);
  if (!number) return;  // renaming account 0 instead would touch an unrelated key
  const std::u16string name =
      smtpCount >= 1 ? u"EX [" + m_.sUN + u" <" + m_.sPrimarySMTP + u">]" : std::u16string();
  profile::SetExchangeAccountName(m_.registry, m_, m_.Profile(), *number, name);
}

void QuillonPage::OfferRestart() {
  const std::int16_t answer =
      m_.bReread ? platform::kAnswerYes
                 : user_.MsgBox(messages::kRestartAfterApply, platform::kMsgBoxQuestion, kAppTitle);
  if (answer != platform::kAnswerYes) return;
  m_.bRestart = true;
  user_.DoEvents();
  user_.SendKeys(u"{Esc}");  // closes the Options dialog; Terminate then quits Outlook
}

void QuillonPage::PropertyPage_Apply() {
  // The steps below name themselves; this one holds what lies between them.
  platform::DiagnosticStep step(m_.diagnostics, u"Apply");
  if (bDirty && !m_.sPN.empty()) {
    // One writer for both phases: the store key, "NextAccountID" and the
    // order list are opened and read once for the whole save.
    profile::AccountStoreWriter writer(m_.registry, m_.Profile());
    DeleteIdentityAccounts(writer);
    const int smtpCount = CreateIdentityAccounts(writer);
    SaveFoldersAndFormat();
    NameExchangeAccount(smtpCount);
    OfferRestart();
  }
  bDirty = false;
}

}  // namespace quillon
