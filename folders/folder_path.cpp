#include "folders/folder_path.h"

namespace quillon {

namespace {

constexpr int kMaxAncestors = 20;

}  // namespace

std::u16string GetFolderPath(platform::OutlookFolder& folder, std::u16string_view sDefStoreID,
                             std::u16string_view sDefRootID) {
  std::u16string path;
  using platform::NoteFailure;
  if (auto name = NoteFailure(folder.Name(), u"MAPIFolder.Name")) path = std::move(*name);

  const auto storeId = NoteFailure(folder.StoreID(), u"MAPIFolder.StoreID");
  if (!storeId || *storeId != sDefStoreID) return path;

  // Raw pointer walk: the starting folder is borrowed, ancestors are kept alive by `holder`.
  platform::OutlookFolder* current = &folder;
  platform::FolderPtr holder;
  for (int level = 0; level < kMaxAncestors; ++level) {
    // Only a folder continues the walk: staying on the same folder when the
    // parent is none, no folder (the root's namespace) or cannot be had would
    // only repeat its name.
    const auto parent = NoteFailure(current->Parent(), u"MAPIFolder.Parent");
    if (!parent || parent->kind != platform::FolderParent::Kind::Folder || !parent->folder) break;
    holder = parent->folder;
    current = holder.get();
    const auto entryId = NoteFailure(current->EntryID(), u"MAPIFolder.EntryID");
    // An unreadable identifier cannot be told from the root's: stop rather
    // than prefix names that may not belong.
    if (!entryId || *entryId == sDefRootID) break;
    if (auto name = NoteFailure(current->Name(), u"MAPIFolder.Name")) path = std::move(*name) + u"\\" + path;
  }
  return path;
}

}  // namespace quillon
