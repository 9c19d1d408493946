#include "identities/identities_editor.h"

#include <utility>

#include "platform/list_group.h"
#include "platform/text.h"

namespace quillon {

IdentitiesEditor::IdentitiesEditor(IdentityControls controls, platform::UserServices& user,
                                   ModuleState& module, IdentityPageHooks hooks)
    : c_(controls), user_(user), m_(module), hooks_(std::move(hooks)) {}

void IdentitiesEditor::ResetButtons() {
  platform::ListBox& list1 = c_.List1;
  const std::int16_t count = list1.ListCount();
  c_.cmdRemoveAll.SetEnabled(count > 0);
  c_.cmdPopulate.SetEnabled(true);
  if (list1.SelCount() > 0) {
    c_.cmdChange.SetEnabled(true);
    c_.cmdRemove.SetEnabled(true);
    if (count > 1) {
      c_.cmdMoveUp.SetEnabled(!list1.Selected(0));
      c_.cmdMoveDown.SetEnabled(!list1.Selected(static_cast<std::int16_t>(count - 1)));
      // A mailbox entry cannot be edited into anything but an address entry.
      c_.cmdChange.SetEnabled(text::Position(list1.List(list1.ListIndex()), u" /") == 0);
    } else {
      c_.cmdMoveUp.SetEnabled(false);
      c_.cmdMoveDown.SetEnabled(false);
    }
  } else {
    c_.cmdChange.SetEnabled(false);
    c_.cmdRemove.SetEnabled(false);
    c_.cmdMoveUp.SetEnabled(false);
    c_.cmdMoveDown.SetEnabled(false);
  }
}

void IdentitiesEditor::ListHScroll1() {
  platform::FitHorizontalExtent(c_.List1, c_.surface.VerticalScrollBarWidth());
}

bool IdentitiesEditor::IsInList1(std::u16string_view entry) const {
  bool present = false;
  const std::int16_t count = c_.List1.ListCount();
  for (std::int16_t i = 0; i < count; ++i) {
    if (text::EqualsIdentityIgnoringCase(c_.List1.List(i), entry)) present = true;
  }
  return present;
}

void IdentitiesEditor::AppendIdentity(const std::u16string& entry) {
  c_.List1.AddItem(entry);
  c_.List2.AddItem(u"");
  c_.List3.AddItem(u"");
  hooks_.markDirty();
}

}  // namespace quillon
