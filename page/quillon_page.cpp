#include "page/quillon_page.h"

#include <utility>

namespace quillon {

namespace {

IdentityControls IdentityControlsOf(const PageControls& c) {
  return {c.UserControl, c.List1,        c.List2,     c.List3,       c.cmdChange,
          c.cmdRemove,   c.cmdRemoveAll, c.cmdMoveUp, c.cmdMoveDown, c.cmdPopulate};
}

FolderControls FolderControlsOf(const PageControls& c) {
  return {c.UserControl, c.List4, c.List5, c.cmdDeleteFolder, c.cmdDeleteAllFolders};
}

SignatureControls SignatureControlsOf(const PageControls& c) {
  return {c.List1, c.List2, c.List3, c.Frame5, c.cboNewSignature, c.cboReplySignature};
}

}  // namespace

QuillonPage::QuillonPage(PageEnvironment environment)
    : c_(environment.controls),
      user_(environment.user),
      container_(environment.container),
      m_(environment.module),
      version_(environment.version),
      identities_(IdentityControlsOf(c_), user_, m_,
                  {[this] { MarkDirty(); }, [this] { ResetButtons(); },
                   [this] { PropertyPage_Apply(); }}),
      folders_(FolderControlsOf(c_), user_, m_,
               {[this] { MarkDirty(); }, [this] { ResetButtons(); }}),
      signatures_(SignatureControlsOf(c_), environment.signatures, [this] { MarkDirty(); }) {
  WireClickHandlers();
}

void QuillonPage::WireClickHandlers() {
  const auto on = [this](void (QuillonPage::*handler)()) {
    return [this, handler] { (this->*handler)(); };
  };
  c_.cmdAdd.SetClickHandler(on(&QuillonPage::cmdAdd_Click));
  c_.cmdChange.SetClickHandler(on(&QuillonPage::cmdChange_Click));
  c_.cmdRemove.SetClickHandler(on(&QuillonPage::cmdRemove_Click));
  c_.cmdRemoveAll.SetClickHandler(on(&QuillonPage::cmdRemoveAll_Click));
  c_.cmdMoveUp.SetClickHandler(on(&QuillonPage::cmdMoveUp_Click));
  c_.cmdMoveDown.SetClickHandler(on(&QuillonPage::cmdMoveDown_Click));
  c_.cmdPopulate.SetClickHandler(on(&QuillonPage::cmdPopulate_Click));
  c_.cmdSharedMailboxes.SetClickHandler(on(&QuillonPage::cmdSharedMailboxes_Click));
  c_.cmdRefresh.SetClickHandler(on(&QuillonPage::cmdRefresh_Click));
  c_.cmdAddFolder.SetClickHandler(on(&QuillonPage::cmdAddFolder_Click));
  c_.cmdDeleteFolder.SetClickHandler(on(&QuillonPage::cmdDeleteFolder_Click));
  c_.cmdDeleteAllFolders.SetClickHandler(on(&QuillonPage::cmdDeleteAllFolders_Click));
  c_.List1.SetClickHandler(on(&QuillonPage::List1_Click));
  c_.List4.SetClickHandler(on(&QuillonPage::List4_Click));
  c_.Label1.SetClickHandler(on(&QuillonPage::Label1_Click));
  c_.cboNewSignature.SetClickHandler(on(&QuillonPage::cboNewSignature_Click));
  c_.cboReplySignature.SetClickHandler(on(&QuillonPage::cboReplySignature_Click));
  for (std::int16_t index = 0; index < static_cast<std::int16_t>(c_.Option1.size()); ++index) {
    c_.Option1[index].get().SetClickHandler([this, index] { Option1_Click(index); });
  }
}

}  // namespace quillon
