// Every control instance of the page, by its form name.
#pragma once

#include <array>
#include <functional>

#include "platform/controls.h"

namespace quillon {

struct PageControls {
  platform::PageSurface& UserControl;

  // Identities: List1 shown; List2, List3 hidden parallel lists (signature names).
  platform::ListBox& List1;
  platform::ListBox& List2;
  platform::ListBox& List3;
  // Monitored folders: List4 shown (paths); List5 hidden parallel list (EntryIDs).
  platform::ListBox& List4;
  platform::ListBox& List5;

  platform::CommandButton& cmdAdd;
  platform::CommandButton& cmdChange;
  platform::CommandButton& cmdRemove;
  platform::CommandButton& cmdRemoveAll;
  platform::CommandButton& cmdMoveUp;
  platform::CommandButton& cmdMoveDown;
  platform::CommandButton& cmdPopulate;
  platform::CommandButton& cmdSharedMailboxes;
  platform::CommandButton& cmdRefresh;
  platform::CommandButton& cmdAddFolder;
  platform::CommandButton& cmdDeleteFolder;
  platform::CommandButton& cmdDeleteAllFolders;

  std::array<std::reference_wrapper<platform::OptionButton>, 3> Option1;

  platform::Label& lblDefAddress;
  platform::Label& Label4_0;
  platform::Label& Label4_2;
  platform::Label& Label1;

  platform::Frame& Frame1;
  platform::Frame& Frame2;
  platform::Frame& Frame3;
  platform::Frame& Frame4;
  platform::Frame& Frm1;

  // The signatures of the selected identity (Outlook 12 and later).
  platform::Frame& Frame5;
  platform::Label& lblNewSignature;
  platform::ComboBox& cboNewSignature;
  platform::Label& lblReplySignature;
  platform::ComboBox& cboReplySignature;
};

}  // namespace quillon
