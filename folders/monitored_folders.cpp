#include <array>
#include <utility>

#include "folders/folder_path.h"
#include "folders/folders_editor.h"
#include "folders/messages.h"
#include "platform/list_group.h"

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
  const auto storeId = oFld1.StoreID();
  if (!storeId || *storeId != m_.sDefStoreID) return false;
  const auto entryId = oFld1.EntryID();
  if (!entryId) return false;
  if (!m_.oNS) return true;
  for (const std::int32_t type : kRefusedDefaultFolders) {
    // A lookup that fails is taken like one that finds no such folder.
    const auto defaultFolder = m_.oNS->GetDefaultFolder(type);
    if (!defaultFolder || !*defaultFolder) continue;
    const auto defaultId = (*defaultFolder)->EntryID();
    if (defaultId && *defaultId == *entryId) return false;
  }
  return true;
}

void FoldersEditor::AddFolder() {
  while (m_.oNS) {
    const auto chosen = m_.oNS->PickFolder();
    if (!chosen || !*chosen) break;  // cancelled, or the chooser could not be shown
    platform::OutlookFolder& folder = **chosen;
    if (!IsProperFolder(folder)) {
      user_.MsgBox(messages::kRefusedFolder, platform::kMsgBoxNotice, platform::kAppTitle);
      continue;
    }
    c_.List5.AddItem(folder.EntryID().value_or(u""));
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
