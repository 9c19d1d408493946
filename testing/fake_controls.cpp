#include "testing/fake_controls.h"

#include "platform/text.h"

namespace quillon::testing {

bool FakeListBox::InRange(std::int16_t index) const {
  return index >= 0 && static_cast<std::size_t>(index) < entries_.size();
}

std::int16_t FakeListBox::ListCount() const { return static_cast<std::int16_t>(entries_.size()); }

std::u16string FakeListBox::List(std::int16_t index) const {
  return InRange(index) ? entries_[index].text : std::u16string();
}

bool FakeListBox::SetList(std::int16_t index, std::u16string_view text) {
  if (!InRange(index)) return false;
  entries_[index].text = text;
  return true;
}

std::int32_t FakeListBox::ItemData(std::int16_t index) const {
  return InRange(index) ? entries_[index].data : 0;
}

bool FakeListBox::SetItemData(std::int16_t index, std::int32_t data) {
  if (!InRange(index)) return false;
  entries_[index].data = data;
  return true;
}

bool FakeListBox::AddItem(std::u16string_view text) {
  if (entries_.size() >= kCapacity) return false;
  entries_.push_back({std::u16string(text), 0});
  return true;
}

bool FakeListBox::RemoveItem(std::int16_t index) {
  if (!InRange(index)) return false;
  entries_.erase(entries_.begin() + index);
  if (selected_ == index) {
    selected_ = platform::kNoListIndex;
  } else if (selected_ > index) {
    --selected_;  // the selected entry moved up with the others
  }
  return true;
}

void FakeListBox::Clear() {
  entries_.clear();
  selected_ = platform::kNoListIndex;
}

bool FakeListBox::SetListIndex(std::int16_t index) {
  if (index != platform::kNoListIndex && !InRange(index)) return false;
  selected_ = index;
  if (click_) click_();
  return true;
}

bool FakeListBox::Selected(std::int16_t index) const {
  return InRange(index) && index == selected_;
}

bool FakeListBox::SetText(std::u16string_view text) {
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    if (text::EqualsIdentityIgnoringCase(entries_[i].text, text)) {
      return SetListIndex(static_cast<std::int16_t>(i));
    }
  }
  return false;
}

std::int32_t FakeListBox::TextWidth(std::u16string_view text) const {
  return static_cast<std::int32_t>(text.size()) * kCharWidth;
}

void FakeListBox::UserClick(std::int16_t index) { SetListIndex(index); }

std::vector<std::u16string> FakeListBox::Items() const {
  std::vector<std::u16string> texts;
  for (const Entry& entry : entries_) texts.push_back(entry.text);
  return texts;
}

std::u16string FakeComboBox::List(std::int16_t index) const {
  return index >= 0 && static_cast<std::size_t>(index) < items_.size() ? items_[index] : std::u16string();
}

bool FakeComboBox::AddItem(std::u16string_view text) {
  if (items_.size() >= FakeListBox::kCapacity) return false;
  items_.emplace_back(text);
  return true;
}

void FakeComboBox::Clear() {
  items_.clear();
  selected_ = platform::kNoListIndex;
}

bool FakeComboBox::SetListIndex(std::int16_t index) {
  if (index < platform::kNoListIndex || index >= ListCount()) return false;
  selected_ = index;
  return true;
}

bool FakeComboBox::UserChoose(std::u16string_view text) {
  if (!enabled_) return false;
  for (std::size_t i = 0; i < items_.size(); ++i) {
    if (items_[i] != text) continue;
    selected_ = static_cast<std::int16_t>(i);
    if (click_) click_();
    return true;
  }
  return false;
}

bool FakeCommandButton::UserClick() {
  if (!enabled_ || !visible_) return false;
  if (click_) click_();
  return true;
}

void FakeOptionButton::SetValue(bool value) {
  value_ = value;
  if (!value) return;
  for (FakeOptionButton* other : group_) {
    if (other != this) other->value_ = false;
  }
  if (click_) click_();
}

void FakeLabel::UserClick() {
  if (click_) click_();
}

void FakePageSurface::SetMousePointer(std::int16_t pointer) {
  pointer_ = pointer;
  history_.push_back(pointer);
}

PageControls FakePageControls::Controls() {
  return PageControls{UserControl, List1, List2, List3, List4, List5,
                      cmdAdd, cmdChange, cmdRemove, cmdRemoveAll, cmdMoveUp, cmdMoveDown,
                      cmdPopulate, cmdSharedMailboxes, cmdRefresh,
                      cmdAddFolder, cmdDeleteFolder, cmdDeleteAllFolders,
                      {std::ref(Option1_0), std::ref(Option1_1), std::ref(Option1_2)},
                      lblDefAddress, Label4_0, Label4_2, Label1,
                      Frame1, Frame2, Frame3, Frame4, Frm1, Frame5,
                      lblNewSignature, cboNewSignature, lblReplySignature, cboReplySignature};
}

}  // namespace quillon::testing
