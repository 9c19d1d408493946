// In-memory controls that keep what a user would see, for tests and the
// stand-in host. User actions (UserClick...) go through the same handlers a
// real click would.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "page/page_controls.h"
#include "platform/controls.h"

namespace quillon::testing {

class FakeListBox : public platform::ListBox {
 public:
  explicit FakeListBox(bool visible = true) : visible_(visible) {}

  std::int16_t ListCount() const override;
  std::u16string List(std::int16_t index) const override;
  bool SetList(std::int16_t index, std::u16string_view text) override;
  std::int32_t ItemData(std::int16_t index) const override;
  bool SetItemData(std::int16_t index, std::int32_t data) override;
  bool AddItem(std::u16string_view text) override;
  bool RemoveItem(std::int16_t index) override;
  void Clear() override;
  std::int16_t ListIndex() const override { return selected_; }
  bool SetListIndex(std::int16_t index) override;
  bool Selected(std::int16_t index) const override;
  std::int16_t SelCount() const override { return selected_ >= 0 ? 1 : 0; }
  bool SetText(std::u16string_view text) override;
  void SetHorizontalExtent(std::int32_t pixels) override { extent_ = pixels; }
  // Every character is kCharWidth pixels wide.
  std::int32_t TextWidth(std::u16string_view text) const override;
  void SetVisible(bool visible) override { visible_ = visible; }
  bool Visible() const override { return visible_; }
  void SetClickHandler(platform::ClickHandler handler) override { click_ = std::move(handler); }

  // A user's click on an entry.
  void UserClick(std::int16_t index);

  std::vector<std::u16string> Items() const;
  std::int32_t HorizontalExtent() const { return extent_; }

  static constexpr std::int32_t kCharWidth = 6;
  // A list box holds at most this many entries (a 16-bit count).
  static constexpr std::size_t kCapacity = 32767;

 private:
  struct Entry {
    std::u16string text;
    std::int32_t data = 0;
  };
  bool InRange(std::int16_t index) const;

  std::vector<Entry> entries_;
  std::int16_t selected_ = platform::kNoListIndex;
  std::int32_t extent_ = 0;
  bool visible_;
  platform::ClickHandler click_;
};

class FakeComboBox : public platform::ComboBox {
 public:
  explicit FakeComboBox(bool enabled = true) : enabled_(enabled) {}
  std::int16_t ListCount() const override { return static_cast<std::int16_t>(items_.size()); }
  std::u16string List(std::int16_t index) const override;
  bool AddItem(std::u16string_view text) override;
  void Clear() override;
  std::int16_t ListIndex() const override { return selected_; }
  bool SetListIndex(std::int16_t index) override;
  void SetEnabled(bool enabled) override { enabled_ = enabled; }
  bool Enabled() const override { return enabled_; }
  void SetClickHandler(platform::ClickHandler handler) override { click_ = std::move(handler); }

  // The user picks the entry with this text; false (nothing happens) when the
  // list is disabled or has no such entry.
  bool UserChoose(std::u16string_view text);
  const std::vector<std::u16string>& Items() const { return items_; }
  std::u16string Text() const { return List(selected_); }  // what the closed list shows

 private:
  std::vector<std::u16string> items_;
  std::int16_t selected_ = platform::kNoListIndex;
  bool enabled_;
  platform::ClickHandler click_;
};

class FakeCommandButton : public platform::CommandButton {
 public:
  explicit FakeCommandButton(bool enabled = true) : enabled_(enabled) {}
  void SetEnabled(bool enabled) override { enabled_ = enabled; }
  bool Enabled() const override { return enabled_; }
  void SetVisible(bool visible) override { visible_ = visible; }
  bool Visible() const override { return visible_; }
  void SetClickHandler(platform::ClickHandler handler) override { click_ = std::move(handler); }
  // Presses the button as a user would; false (nothing happens) when it is
  // disabled or hidden.
  bool UserClick();

 private:
  bool enabled_;
  bool visible_ = true;
  platform::ClickHandler click_;
};

class FakeOptionButton;
// Option buttons of one frame: selecting one clears the others.
using FakeOptionGroup = std::vector<FakeOptionButton*>;

class FakeOptionButton : public platform::OptionButton {
 public:
  FakeOptionButton(FakeOptionGroup& group, bool value) : group_(group), value_(value) {
    group_.push_back(this);
  }
  bool Value() const override { return value_; }
  void SetValue(bool value) override;
  void SetClickHandler(platform::ClickHandler handler) override { click_ = std::move(handler); }
  void UserClick() { SetValue(true); }

 private:
  FakeOptionGroup& group_;
  bool value_;
  platform::ClickHandler click_;
};

class FakeLabel : public platform::Label {
 public:
  explicit FakeLabel(std::u16string caption = u"") : caption_(std::move(caption)) {}
  std::u16string Caption() const override { return caption_; }
  void SetCaption(std::u16string_view caption) override { caption_ = caption; }
  std::u16string ToolTip() const override { return toolTip_; }
  void SetToolTip(std::u16string_view toolTip) override { toolTip_ = toolTip; }
  void SetClickHandler(platform::ClickHandler handler) override { click_ = std::move(handler); }
  void UserClick();

 private:
  std::u16string caption_;
  std::u16string toolTip_;
  platform::ClickHandler click_;
};

class FakeFrame : public platform::Frame {
 public:
  explicit FakeFrame(bool visible = true) : visible_(visible) {}
  void SetVisible(bool visible) override { visible_ = visible; }
  bool Visible() const override { return visible_; }

 private:
  bool visible_;
};

class FakePageSurface : public platform::PageSurface {
 public:
  void SetMousePointer(std::int16_t pointer) override;
  std::int16_t MousePointer() const override { return pointer_; }
  std::int32_t VerticalScrollBarWidth() const override { return kScrollBarWidth; }
  // Every pointer set, in order.
  const std::vector<std::int16_t>& PointerHistory() const { return history_; }

  static constexpr std::int32_t kScrollBarWidth = 17;

 private:
  std::int16_t pointer_ = kDefaultPointer;
  std::vector<std::int16_t> history_;
};

// The page's 34 control instances in their design-time states.
struct FakePageControls {
  FakePageControls() = default;
  FakePageControls(const FakePageControls&) = delete;
  FakePageControls& operator=(const FakePageControls&) = delete;

  PageControls Controls();

  FakePageSurface UserControl;
  FakeListBox List1;
  FakeListBox List2{false};
  FakeListBox List3{false};
  FakeListBox List4;
  FakeListBox List5{false};
  FakeCommandButton cmdAdd;
  FakeCommandButton cmdChange{false};
  FakeCommandButton cmdRemove{false};
  FakeCommandButton cmdRemoveAll{false};
  FakeCommandButton cmdMoveUp{false};
  FakeCommandButton cmdMoveDown{false};
  FakeCommandButton cmdPopulate;
  FakeCommandButton cmdSharedMailboxes;
  FakeCommandButton cmdRefresh;
  FakeCommandButton cmdAddFolder;
  FakeCommandButton cmdDeleteFolder;
  FakeCommandButton cmdDeleteAllFolders;
  FakeOptionGroup replyFormatGroup;
  FakeOptionButton Option1_0{replyFormatGroup, false};
  FakeOptionButton Option1_1{replyFormatGroup, false};
  FakeOptionButton Option1_2{replyFormatGroup, true};
  FakeLabel lblDefAddress;
  FakeLabel Label4_0{u"Quillon"};
  FakeLabel Label4_2{u"(c) Quillon"};
  FakeLabel Label1{u"quillon.example"};
  FakeFrame Frame1;
  FakeFrame Frame2;
  FakeFrame Frame3;
  FakeFrame Frame4;
  FakeFrame Frm1;
  FakeFrame Frame5{false};
  FakeLabel lblNewSignature{u"New messages:"};
  FakeComboBox cboNewSignature{false};
  FakeLabel lblReplySignature{u"Replies/forwards:"};
  FakeComboBox cboReplySignature{false};
};

}  // namespace quillon::testing
