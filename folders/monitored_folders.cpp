// The monitored-folders editor: folders of the default mailbox, none of its
// default folders, each held by display path (List4) and EntryID (List5).
#include <array>

#include "folders/folder_path.h"
#include "page/messages.h"
#include "page/quillon_page.h"
#include "platform/text.h"

namespace quillon {

namespace {

// The default folders that may not be monitored, in the order they are asked for.
constexpr std::array<std::int32_t, 15> kRefusedDefaultFolders = {
    platform::kFolderCalendar,       platform::kFolderConflicts,     platform::kFolderContacts,
    platform::kFolderDeletedItems,   platform::kFolderDrafts,        platform::kFolderInbox,
    platform::kFolderJournal,        platform::kFolderLocalFailures, platform::kFolderNotes,
    platform::kFolderOutbox,         platform::kFolderSentMail,      platform::kFolderServerFailures,
    platform::kFolderSyncIssues,     platform::kFolderTasks,         platform::kFolderAllPublicFolders};

}  // namespace

bool QuillonPage::IsProperFolder(platform::OutlookFolder& oFld1) {
  // A folder whose store or identity cannot be read is not known to be proper.
  using platform::NoteFailure;
  const auto storeId = NoteFailure(oFld1.StoreID(), u"MAPIFolder.StoreID");
  if (!storeId || *storeId != m_.sDefStoreID) return false;
  const auto entryId = NoteFailure(oFld1.EntryID(), u"MAPIFolder.EntryID");
  if (!entryId) return false;
  if (!m_.oNS) return true;
  for (const std::int32_t type : kRefusedDefaultFolders) {
    // A lookup that fails is taken like one that finds no such folder.
    const auto defaultFolder =
        NoteFailure(m_.oNS->GetDefaultFolder(type), u"NameSpace.GetDefaultFolder", text::Decimal(type));
    if (!defaultFolder || !*defaultFolder) continue;
    const auto defaultId = NoteFailure((*defaultFolder)->EntryID(), u"MAPIFolder.EntryID");
    if (defaultId && *defaultId == *entryId) return false;
  }
  return true;
}

void QuillonPage::cmdAddFolder_Click() {
  platform::DiagnosticStep step(m_.diagnostics, u"Add folder");
  while (m_.oNS) {
    const auto chosen = platform::NoteFailure(m_.oNS->PickFolder(), u"NameSpace.PickFolder");
    if (!chosen || !*chosen) break;  // cancelled, or the chooser could not be shown
    platform::OutlookFolder& folder = **chosen;
    if (!IsProperFolder(folder)) {
      user_.MsgBox(messages::kRefusedFolder, platform::kMsgBoxNotice, kAppTitle);
      continue;
    }
    c_.List5.AddItem(platform::NoteFailure(folder.EntryID(), u"MAPIFolder.EntryID").value_or(u""));
    c_.List4.AddItem(GetFolderPath(folder, m_.sDefStoreID, m_.sDefRootID));
    MarkDirty();
    break;
  }
  ResetButtons();
}

void QuillonPage::cmdDeleteFolder_Click() {
  if (ConfirmAndRemoveSelected(c_.List4, {c_.List5, c_.List4})) {
    MarkDirty();
    ListHScroll4();
  }
  ResetButtons();
}

void QuillonPage::cmdDeleteAllFolders_Click() {
  if (ConfirmAndClear(c_.List4, {c_.List4, c_.List5})) {
    ResetButtons();
    MarkDirty();
    ListHScroll4();
  }
  ResetButtons();
}

void QuillonPage::List4_Click() { ResetButtons(); }

}  // namespace quillon
