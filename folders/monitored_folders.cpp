#include <array>
#include <utility>

#include "folders/folder_path.h"
#include "folders/folders_editor.h"
#include "folders/messages.h"
#include "platform/diagnostics.h"
#include "platform/list_group.h"
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

FoldersEditor::FoldersEditor(FolderControls controls, platform::UserServices& user,
                             ModuleState& module, FolderPageHooks hooks)
    : c_(controls), user_(user), m_(module), hooks_(std::move(hooks)) {}

bool FoldersEditor::IsProperFolder(platform::OutlookFolder& oFld1) {
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

void FoldersEditor::AddFolder() {
  platform::DiagnosticStep step(m_.diagnostics, u"Add folder");
  while (m_.oNS) {
    const auto chosen = platform::NoteFailure(m_.oNS->PickFolder(), u"NameSpace.PickFolder");
    if (!chosen || !*chosen) break;  // cancelled, or the chooser could not be shown
    platform::OutlookFolder& folder = **chosen;
    if (!IsProperFolder(folder)) {
      user_.MsgBox(messages::kRefusedFolder, platform::kMsgBoxNotice, platform::kAppTitle);
      continue;
    }
    c_.List5.AddItem(platform::NoteFailure(folder.EntryID(), u"MAPIFolder.EntryID").value_or(u""));
    c_.List4.AddItem(GetFolderPath(folder, m_.sDefStoreID, m_.sDefRootID));
    hooks_.markDirty();
    break;
  }
  hooks_.resetButtons();
}

void FoldersEditor::DeleteSelected() {
  if (platform::ConfirmAndRemoveSelected(user_, c_.List4, {c_.List5, c_.List4})) {
    hooks_.markDirty();
    ListHScroll4();
  }
  hooks_.resetButtons();
}

void FoldersEditor::DeleteAll() {
  if (platform::ConfirmAndClear(user_, c_.List4, {c_.List4, c_.List5})) {
    hooks_.resetButtons();
    hooks_.markDirty();
    ListHScroll4();
  }
  hooks_.resetButtons();
}

void FoldersEditor::ResetButtons() {
  c_.cmdDeleteAllFolders.SetEnabled(c_.List4.ListCount() > 0);
  c_.cmdDeleteFolder.SetEnabled(c_.List4.SelCount() > 0);
}

void FoldersEditor::ListHScroll4() {
  platform::FitHorizontalExtent(c_.List4, c_.surface.VerticalScrollBarWidth());
}

}  // namespace quillon
