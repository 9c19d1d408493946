// What the host sees of the page besides load and apply: the dirty
// notification, the help query, the end of the page, the maker's link.
#include "page/quillon_page.h"
#include "platform/text.h"

namespace quillon {

void QuillonPage::MarkDirty() {
  if (!oSite || bLoading) return;
  bDirty = true;
  platform::DiagnosticStep step(m_.diagnostics, u"Mark dirty");
  // The host simply misses one refresh when this fails.
  platform::NoteFailure(oSite->OnStatusChange(), u"PropertyPageSite.OnStatusChange");
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
    using platform::NoteFailure;
    platform::DiagnosticStep step(m_.diagnostics, u"Terminate: restart");
    const auto addIn = NoteFailure(m_.oApp->AddInObject(platform::kAddInProgId), kAddInObjectCall);
    if (addIn && *addIn) NoteFailure((*addIn)->SetIsRestart(m_.bReread ? 2 : 1), u"AddIn.IsRestart");

    // Last window first; a window that fails is passed over.
    if (const auto count = NoteFailure(m_.oApp->InspectorCount(), u"Inspectors.Count")) {
      for (std::int32_t index = *count; index >= 1; --index) {
        const std::u16string window = text::Decimal(index);
        NoteFailure(m_.oApp->SaveInspectorItem(index), u"Inspector.CurrentItem.Save", window);
        NoteFailure(m_.oApp->CloseInspector(index, true), u"Inspector.Close", window);
      }
    }
    NoteFailure(m_.oApp->Quit(), u"Application.Quit");
  }
  m_.oApp.reset();
}

}  // namespace quillon
