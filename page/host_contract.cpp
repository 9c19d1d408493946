// What the host sees of the page besides load and apply: the dirty
// notification, the help query, the end of the page, the maker's link.
#include "page/quillon_page.h"

namespace quillon {

void QuillonPage::MarkDirty() {
  if (!oSite || bLoading) return;
  bDirty = true;
  oSite->OnStatusChange();  // the host simply misses one refresh when this fails
}

void QuillonPage::PropertyPage_GetPageInfo(std::u16string& HelpFile,
                                           std::int32_t& HelpContext) const {
  // The page has no help: both stay as the host passed them.
  (void)HelpFile;
  (void)HelpContext;
}

void QuillonPage::Label1_Click() { user_.OpenWebAddress(kMakerWebAddress); }

void QuillonPage::UserControl_Terminate() {
  if (!m_.bRestart) {
    m_.oApp.reset();
    return;
  }
  // Outlook is quit so that the add-in can start it again; tell the add-in first.
  if (m_.oApp) {
    const auto addIn = m_.oApp->AddInObject(platform::kAddInProgId);
    if (addIn && *addIn) (*addIn)->SetIsRestart(m_.bReread ? 2 : 1);

    // Last window first; a window that fails is passed over.
    if (const auto count = m_.oApp->InspectorCount()) {
      for (std::int32_t index = *count; index >= 1; --index) {
        m_.oApp->SaveInspectorItem(index);
        m_.oApp->CloseInspector(index, true);
      }
    }
    m_.oApp->Quit();
  }
  m_.oApp.reset();
}

}  // namespace quillon
