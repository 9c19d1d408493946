// The handlers of the identity and folder controls, routed to their editors.
#include "page/quillon_page.h"

namespace quillon {

void QuillonPage::cmdAdd_Click() { identities_.Add(); }
void QuillonPage::cmdChange_Click() { identities_.ChangeSelected(); }
void QuillonPage::AddOrEdit(const std::u16string& def, const std::u16string& mode) {
  identities_.AddOrEdit(def, mode);
}
std::int16_t QuillonPage::ValidateInput(std::optional<std::u16string>& s) {
  return quillon::ValidateInput(s);
}
bool QuillonPage::ValidateSMTPEmail(std::u16string& sEmail) {
  return quillon::ValidateSMTPEmail(sEmail);
}
bool QuillonPage::ValidateDN(const std::u16string& sDN) { return quillon::ValidateDN(sDN); }

void QuillonPage::List1_Click() { ResetButtons(); }
void QuillonPage::cmdRemove_Click() { identities_.RemoveSelected(); }
void QuillonPage::cmdRemoveAll_Click() { identities_.RemoveAll(); }
// The move selects the moved line before it swaps the signature names, so the
// chooser looks again once they are in place.
void QuillonPage::cmdMoveUp_Click() {
  identities_.MoveSelected(-1);
  signatures_.ShowSelected();
}
void QuillonPage::cmdMoveDown_Click() {
  identities_.MoveSelected(+1);
  signatures_.ShowSelected();
}

// Every edit of the lists ends here, so the signature lists follow the selection here too.
void QuillonPage::ResetButtons() {
  identities_.ResetButtons();
  folders_.ResetButtons();
  signatures_.ShowSelected();
}
void QuillonPage::ListHScroll1() { identities_.ListHScroll1(); }
void QuillonPage::ListHScroll4() { folders_.ListHScroll4(); }
void QuillonPage::Option1_Click(std::int16_t /*Index*/) { MarkDirty(); }

void QuillonPage::cmdPopulate_Click() { identities_.PopulateFromDirectory(); }
void QuillonPage::cmdSharedMailboxes_Click() { identities_.AddSharedMailboxes(); }
void QuillonPage::cmdRefresh_Click() { identities_.Reread(); }

void QuillonPage::cboNewSignature_Click() { signatures_.NewSignatureChosen(); }
void QuillonPage::cboReplySignature_Click() { signatures_.ReplySignatureChosen(); }

void QuillonPage::cmdAddFolder_Click() { folders_.AddFolder(); }
void QuillonPage::cmdDeleteFolder_Click() { folders_.DeleteSelected(); }
void QuillonPage::cmdDeleteAllFolders_Click() { folders_.DeleteAll(); }
void QuillonPage::List4_Click() { ResetButtons(); }
bool QuillonPage::IsProperFolder(platform::OutlookFolder& oFld1) {
  return folders_.IsProperFolder(oFld1);
}

}  // namespace quillon
