// The monitored-folders editor: folders of the default mailbox, none of its
// default folders, each held by display path (List4) and EntryID (List5). It
// knows the lists and module state it is given; the page owns it and routes
// its handlers here.
#pragma once

#include <functional>

#include "platform/controls.h"
#include "platform/outlook.h"
#include "platform/user_services.h"
#include "profile/module_state.h"

namespace quillon {

struct FolderControls {
  platform::PageSurface& surface;  // for the scroll bar width
  platform::ListBox& List4;        // shown: display paths
  platform::ListBox& List5;        // hidden parallel list: EntryIDs
  platform::CommandButton& cmdDeleteFolder;
  platform::CommandButton& cmdDeleteAllFolders;
};

// What the editor asks of the page around it.
struct FolderPageHooks {
  std::function<void()> markDirty;
  std::function<void()> resetButtons;  // every button of the page, not only these
};

class FoldersEditor {
 public:
  FoldersEditor(FolderControls controls, platform::UserServices& user, ModuleState& module,
                FolderPageHooks hooks);

  // True for a folder of the default mailbox that is none of its default folders.
  bool IsProperFolder(platform::OutlookFolder& oFld1);

  void AddFolder();
  void DeleteSelected();
  void DeleteAll();

  void ResetButtons();
  void ListHScroll4();

 private:
  FolderControls c_;
  platform::UserServices& user_;
  ModuleState& m_;
  FolderPageHooks hooks_;
};

}  // namespace quillon
