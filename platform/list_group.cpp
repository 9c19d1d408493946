#include "platform/list_group.h"

namespace quillon::platform {

bool ConfirmAndRemoveSelected(UserServices& user, ListBox& shown, ListGroup group) {
  if (shown.SelCount() <= 0 ||
      user.MsgBox(kConfirmRemoveSelected, kMsgBoxQuestion, kAppTitle) != kAnswerYes) {
    return false;
  }
  const std::int16_t k = shown.ListIndex();  // read before anything moves
  if (k < 0) return false;
  for (ListBox& list : group) list.RemoveItem(k);
  return true;
}

bool ConfirmAndClear(UserServices& user, ListBox& shown, ListGroup group) {
  if (shown.ListCount() <= 0 ||
      user.MsgBox(kConfirmRemoveAll, kMsgBoxQuestion, kAppTitle) != kAnswerYes) {
    return false;
  }
  for (ListBox& list : group) list.Clear();
  return true;
}

void FitHorizontalExtent(ListBox& list, std::int32_t scrollBarWidth) {
  std::int32_t widest = 0;
  const std::int16_t count = list.ListCount();
  for (std::int16_t i = 0; i < count; ++i) {
    const std::int32_t width = list.TextWidth(list.List(i)) + scrollBarWidth;
    if (width >= widest) widest = width;
  }
  list.SetHorizontalExtent(widest);
}

}  // namespace quillon::platform
