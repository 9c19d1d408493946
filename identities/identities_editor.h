// The identities editor: the identity lines (List1) with their signature names
// (List2, List3), the buttons that edit them, and the fills from the directory
// and the shared mailboxes. It knows the lists and module state it is given;
// the page owns it and routes its handlers here.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/controls.h"
#include "platform/user_services.h"
#include "profile/module_state.h"

namespace quillon {

struct IdentityControls {
  platform::PageSurface& surface;  // for the scroll bar width
  // List1 shown; List2, List3 hidden parallel lists (signature names).
  platform::ListBox& List1;
  platform::ListBox& List2;
  platform::ListBox& List3;
  platform::CommandButton& cmdChange;
  platform::CommandButton& cmdRemove;
  platform::CommandButton& cmdRemoveAll;
  platform::CommandButton& cmdMoveUp;
  platform::CommandButton& cmdMoveDown;
  platform::CommandButton& cmdPopulate;
};

// What the editor asks of the page around it.
struct IdentityPageHooks {
  std::function<void()> markDirty;
  std::function<void()> resetButtons;  // every button of the page, not only these
  std::function<void()> apply;         // the page's Apply
};

class IdentitiesEditor {
 public:
  IdentitiesEditor(IdentityControls controls, platform::UserServices& user, ModuleState& module,
                   IdentityPageHooks hooks);

  // Entry by hand, through the input box; `mode` is "Add" or "Change".
  void Add();
  void ChangeSelected();
  void AddOrEdit(const std::u16string& def, const std::u16string& mode);

  void RemoveSelected();
  void RemoveAll();
  void MoveSelected(std::int16_t step);  // -1 up, +1 down

  void ResetButtons();
  void ListHScroll1();

  void PopulateFromDirectory();
  void AddSharedMailboxes();
  void Reread();

 private:
  bool IsInList1(std::u16string_view entry) const;
  void AppendIdentity(const std::u16string& entry);

  IdentityControls c_;
  platform::UserServices& user_;
  ModuleState& m_;
  IdentityPageHooks hooks_;
};

// Normalises typed text to an address entry: 1 valid (s rewritten), 0
// cancelled (s is nullopt), -1 invalid.
std::int16_t ValidateInput(std::optional<std::u16string>& s);
bool ValidateSMTPEmail(std::u16string& sEmail);  // trims sEmail in place
bool ValidateDN(const std::u16string& sDN);

}  // namespace quillon
