// Confirmed removals from a shown list and the hidden lists parallel to it.
#include "page/messages.h"
#include "page/quillon_page.h"

namespace quillon {

bool QuillonPage::ConfirmAndRemoveSelected(platform::ListBox& shown, ListGroup group) {
  if (shown.SelCount() <= 0 ||
      user_.MsgBox(messages::kRemoveSelected, platform::kMsgBoxQuestion, kAppTitle) !=
          platform::kAnswerYes) {
    return false;
  }
  const std::int16_t k = shown.ListIndex();  // read before anything moves
  if (k < 0) return false;
  for (platform::ListBox& list : group) list.RemoveItem(k);
  return true;
}

bool QuillonPage::ConfirmAndClear(platform::ListBox& shown, ListGroup group) {
  if (shown.ListCount() <= 0 ||
      user_.MsgBox(messages::kRemoveAll, platform::kMsgBoxQuestion, kAppTitle) !=
          platform::kAnswerYes) {
    return false;
  }
  for (platform::ListBox& list : group) list.Clear();
  return true;
}

}  // namespace quillon
