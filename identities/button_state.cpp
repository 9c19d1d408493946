// Enabled states of the list buttons and the lists' horizontal scroll ranges.
#include "page/quillon_page.h"
#include "platform/text.h"

namespace quillon {

void QuillonPage::ResetButtons() {
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
  c_.cmdDeleteAllFolders.SetEnabled(c_.List4.ListCount() > 0);
  c_.cmdDeleteFolder.SetEnabled(c_.List4.SelCount() > 0);
}

void QuillonPage::SetHorizontalExtent(platform::ListBox& list) {
  const std::int32_t scrollBarWidth = c_.UserControl.VerticalScrollBarWidth();
  std::int32_t widest = 0;
  const std::int16_t count = list.ListCount();
  for (std::int16_t i = 0; i < count; ++i) {
    const std::int32_t width = list.TextWidth(list.List(i)) + scrollBarWidth;
    if (width >= widest) widest = width;
  }
  list.SetHorizontalExtent(widest);
}

void QuillonPage::ListHScroll1() { SetHorizontalExtent(c_.List1); }

void QuillonPage::ListHScroll4() { SetHorizontalExtent(c_.List4); }

void QuillonPage::Option1_Click(std::int16_t /*Index*/) { MarkDirty(); }

}  // namespace quillon
