// Removing and reordering identities, always in all three parallel lists.
#include <utility>

#include "identities/identities_editor.h"
#include "platform/list_group.h"

namespace quillon {

namespace {

void SwapTexts(platform::ListBox& list, std::int16_t i, std::int16_t j) {
  const std::u16string s = list.List(i);
  list.SetList(i, list.List(j));
  list.SetList(j, s);
}

}  // namespace

void IdentitiesEditor::RemoveSelected() {
  if (platform::ConfirmAndRemoveSelected(user_, c_.List1, {c_.List1, c_.List2, c_.List3})) {
    hooks_.markDirty();
    ListHScroll1();
  }
  hooks_.resetButtons();
}

void IdentitiesEditor::RemoveAll() {
  if (platform::ConfirmAndClear(user_, c_.List1, {c_.List1, c_.List2, c_.List3})) {
    hooks_.markDirty();
    ListHScroll1();
  }
  hooks_.resetButtons();
}

void IdentitiesEditor::MoveSelected(std::int16_t step) {
  if (c_.List1.SelCount() <= 0) return;
  const std::int16_t i = c_.List1.ListIndex();
  if (step < 0 ? i <= 0 : i < 0 || i >= c_.List1.ListCount() - 1) return;
  const auto j = static_cast<std::int16_t>(i + step);

  const std::u16string s = c_.List1.List(i);
  const std::int32_t d = c_.List1.ItemData(i);
  c_.List1.SetList(i, c_.List1.List(j));
  c_.List1.SetItemData(i, c_.List1.ItemData(j));
  c_.List1.SetList(j, s);
  c_.List1.SetItemData(j, d);
  // Selecting by text raises List1_Click, which refreshes the buttons.
  c_.List1.SetText(s);

  SwapTexts(c_.List2, i, j);
  SwapTexts(c_.List3, i, j);
  hooks_.markDirty();
}

}  // namespace quillon
