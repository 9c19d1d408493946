// The page's controls (platform/controls.h) on the Win32 windows of PageWindow.
// A control whose window is gone answers like an empty, hidden one.
#pragma once

#include <array>

#include "platform/controls.h"
#include "win/control/page_window.h"

namespace quillon::win {

// What every adapter keeps: the page and which of its controls it stands for.
template <class Interface>
class Win32Control : public Interface {
 public:
  Win32Control(PageWindow& page, ControlId id) : page_(page), id_(id) {}

 protected:
  HWND Window() const { return page_.Control(id_); }

  PageWindow& page_;
  ControlId id_;
};

template <class Base>
class WithClicks : public Base {
 public:
  using Base::Base;
  void SetClickHandler(platform::ClickHandler handler) override {
    this->page_.SetClickHandler(this->id_, std::move(handler));
  }
};

template <class Base>
class WithVisibility : public Base {
 public:
  using Base::Base;
  void SetVisible(bool visible) override { this->page_.SetVisible(this->id_, visible); }
  bool Visible() const override { return this->page_.Visible(this->id_); }
};

template <class Base>
class WithEnabling : public Base {
 public:
  using Base::Base;
  void SetEnabled(bool enabled) override {
    if (HWND window = this->Window()) EnableWindow(window, enabled ? TRUE : FALSE);
  }
  bool Enabled() const override {
    HWND window = this->Window();
    return window && IsWindowEnabled(window);
  }
};

class Win32ListBox final : public WithVisibility<WithClicks<Win32Control<platform::ListBox>>> {
 public:
  using WithVisibility::WithVisibility;

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

 private:
  bool InRange(std::int16_t index) const { return index >= 0 && index < ListCount(); }
};

class Win32ComboBox final : public WithEnabling<WithClicks<Win32Control<platform::ComboBox>>> {
 public:
  using WithEnabling::WithEnabling;
  std::int16_t ListCount() const override;
  std::u16string List(std::int16_t index) const override;
  bool AddItem(std::u16string_view text) override;
  void Clear() override;
  std::int16_t ListIndex() const override;
  bool SetListIndex(std::int16_t index) override;
};

class Win32CommandButton final
    : public WithEnabling<WithVisibility<WithClicks<Win32Control<platform::CommandButton>>>> {
 public:
  using WithEnabling::WithEnabling;
};

class Win32OptionButton final : public WithClicks<Win32Control<platform::OptionButton>> {
 public:
  Win32OptionButton(PageWindow& page, ControlId id, std::array<ControlId, 3> group)
      : WithClicks(page, id), group_(group) {}
  bool Value() const override;
  void SetValue(bool value) override;

 private:
  std::array<ControlId, 3> group_;
};

class Win32Label final : public WithClicks<Win32Control<platform::Label>> {
 public:
  using WithClicks::WithClicks;
  std::u16string Caption() const override;
  void SetCaption(std::u16string_view caption) override;
  std::u16string ToolTip() const override { return page_.ToolTip(id_); }
  void SetToolTip(std::u16string_view toolTip) override {
    page_.SetToolTip(id_, std::u16string(toolTip));
  }
};

class Win32Frame final : public WithVisibility<Win32Control<platform::Frame>> {
 public:
  using WithVisibility::WithVisibility;
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
