// The page's controls (platform/controls.h) on the Win32 windows of PageWindow.
// A control whose window is gone answers like an empty, hidden one.
#pragma once

#include <array>

#include "platform/controls.h"
#include "win/control/page_window.h"

namespace quillon::win {

class Win32ListBox final : public platform::ListBox {
 public:
  Win32ListBox(PageWindow& page, ControlId id) : page_(page), id_(id) {}

  std::int16_t ListCount() const override;
  std::u16string List(std::int16_t index) const override;
  bool SetList(std::int16_t index, std::u16string_view text) override;
  std::int32_t ItemData(std::int16_t index) const override;
  bool SetItemData(std::int16_t index, std::int32_t data) override;
  bool AddItem(std::u16string_view text) override;
  bool RemoveItem(std::int16_t index) override;
  void Clear() override;
  std::int16_t ListIndex() const override;
  bool SetListIndex(std::int16_t index) override;
  bool Selected(std::int16_t index) const override;
  std::int16_t SelCount() const override;
  bool SetText(std::u16string_view text) override;
  void SetHorizontalExtent(std::int32_t pixels) override;
  std::int32_t TextWidth(std::u16string_view text) const override;
  void SetVisible(bool visible) override { page_.SetVisible(id_, visible); }
  bool Visible() const override { return page_.Visible(id_); }
  void SetClickHandler(platform::ClickHandler handler) override {
    page_.SetClickHandler(id_, std::move(handler));
  }

 private:
  HWND Window() const { return page_.Control(id_); }
  bool InRange(std::int16_t index) const { return index >= 0 && index < ListCount(); }

  PageWindow& page_;
  ControlId id_;
};

class Win32CommandButton final : public platform::CommandButton {
 public:
  Win32CommandButton(PageWindow& page, ControlId id) : page_(page), id_(id) {}
  void SetEnabled(bool enabled) override;
  bool Enabled() const override;
  void SetVisible(bool visible) override { page_.SetVisible(id_, visible); }
  bool Visible() const override { return page_.Visible(id_); }
  void SetClickHandler(platform::ClickHandler handler) override {
    page_.SetClickHandler(id_, std::move(handler));
  }

 private:
  PageWindow& page_;
  ControlId id_;
};

class Win32OptionButton final : public platform::OptionButton {
 public:
  Win32OptionButton(PageWindow& page, ControlId id, std::array<ControlId, 3> group)
      : page_(page), id_(id), group_(group) {}
  bool Value() const override;
  void SetValue(bool value) override;
  void SetClickHandler(platform::ClickHandler handler) override {
    page_.SetClickHandler(id_, std::move(handler));
  }

 private:
  PageWindow& page_;
  ControlId id_;
  std::array<ControlId, 3> group_;
};

class Win32Label final : public platform::Label {
 public:
  Win32Label(PageWindow& page, ControlId id) : page_(page), id_(id) {}
  std::u16string Caption() const override;
  void SetCaption(std::u16string_view caption) override;
  std::u16string ToolTip() const override { return page_.ToolTip(id_); }
  void SetToolTip(std::u16string_view toolTip) override {
    page_.SetToolTip(id_, std::u16string(toolTip));
  }
  void SetClickHandler(platform::ClickHandler handler) override {
    page_.SetClickHandler(id_, std::move(handler));
  }

 private:
  PageWindow& page_;
  ControlId id_;
};

class Win32Frame final : public platform::Frame {
 public:
  Win32Frame(PageWindow& page, ControlId id) : page_(page), id_(id) {}
  void SetVisible(bool visible) override { page_.SetVisible(id_, visible); }
  bool Visible() const override { return page_.Visible(id_); }

 private:
  PageWindow& page_;
  ControlId id_;
};

class Win32PageSurface final : public platform::PageSurface {
 public:
  explicit Win32PageSurface(PageWindow& page) : page_(page) {}
  void SetMousePointer(std::int16_t pointer) override { page_.SetMousePointer(pointer); }
  std::int16_t MousePointer() const override { return page_.MousePointer(); }
  std::int32_t VerticalScrollBarWidth() const override;

 private:
  PageWindow& page_;
};

}  // namespace quillon::win
