// The page's controls as the page logic sees them.
//
// Failures come back as values: an index outside 0..ListCount()-1 reads as ""
// or 0 and a write to it returns false without changing anything; nothing
// throws. Indexes and counts are 16-bit (-1 = no index), as the host's list
// boxes count them.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace quillon::platform {

using ClickHandler = std::function<void()>;

inline constexpr std::int16_t kNoListIndex = -1;

// A single-selection, unsorted list box.
class ListBox {
 public:
  virtual ~ListBox() = default;

  virtual std::int16_t ListCount() const = 0;
  // "" for an index out of range.
  virtual std::u16string List(std::int16_t index) const = 0;
  // Replaces the text of an entry, keeping its item data and selection; false out of range.
  virtual bool SetList(std::int16_t index, std::u16string_view text) = 0;
  // 0 for an index out of range.
  virtual std::int32_t ItemData(std::int16_t index) const = 0;
  virtual bool SetItemData(std::int16_t index, std::int32_t data) = 0;
  // Appends an entry with item data 0; false when the list cannot take it.
  virtual bool AddItem(std::u16string_view text) = 0;
  // Removes one entry; removing the selected entry leaves none selected. Raises no click.
  virtual bool RemoveItem(std::int16_t index) = 0;
  // Empties the list, leaving none selected. Raises no click.
  virtual void Clear() = 0;

  // The selected entry, -1 when none.
  virtual std::int16_t ListIndex() const = 0;
  // Selects an entry (-1 selects none) and raises the click handler, as a
  // user's click does. False, with no change and no click, when out of range.
  virtual bool SetListIndex(std::int16_t index) = 0;
  virtual bool Selected(std::int16_t index) const = 0;
  // 0 or 1.
  virtual std::int16_t SelCount() const = 0;
  // Selects the first entry equal to `text` ignoring case and raises the click
  // handler; false, with no change and no click, when no entry matches.
  virtual bool SetText(std::u16string_view text) = 0;

  // The horizontal scroll range in pixels; one not wider than the list shows no bar.
  virtual void SetHorizontalExtent(std::int32_t pixels) = 0;
  // Width in pixels of `text` drawn on one line in the list's own font.
  virtual std::int32_t TextWidth(std::u16string_view text) const = 0;

  virtual void SetVisible(bool visible) = 0;
  virtual bool Visible() const = 0;

  // Called on a user's click and whenever code changes the selection.
  virtual void SetClickHandler(ClickHandler handler) = 0;
};

// A drop-down list: the user picks one of its entries and types nothing.
class ComboBox {
 public:
  virtual ~ComboBox() = default;
  virtual std::int16_t ListCount() const = 0;
  // "" for an index out of range.
  virtual std::u16string List(std::int16_t index) const = 0;
  // Appends an entry; false when the list cannot take it.
  virtual bool AddItem(std::u16string_view text) = 0;
  // Empties the list, leaving none selected.
  virtual void Clear() = 0;
  // The selected entry, -1 when none.
  virtual std::int16_t ListIndex() const = 0;
  // Selects an entry (-1 selects none) without raising the click handler:
  // only the user's choice does. False, with no change, when out of range.
  virtual bool SetListIndex(std::int16_t index) = 0;
  virtual void SetEnabled(bool enabled) = 0;
  virtual bool Enabled() const = 0;
  // Called when the user chooses an entry.
  virtual void SetClickHandler(ClickHandler handler) = 0;
};

class CommandButton {
 public:
  virtual ~CommandButton() = default;
  virtual void SetEnabled(bool enabled) = 0;
  virtual bool Enabled() const = 0;
  virtual void SetVisible(bool visible) = 0;
  virtual bool Visible() const = 0;
  // Called when the user presses the button (never while it is disabled).
  virtual void SetClickHandler(ClickHandler handler) = 0;
};

// Option buttons of one group are mutually exclusive.
class OptionButton {
 public:
  virtual ~OptionButton() = default;
  virtual bool Value() const = 0;
  // Setting true clears the other buttons of the group and raises this
  // button's click handler; setting false raises nothing.
  virtual void SetValue(bool value) = 0;
  virtual void SetClickHandler(ClickHandler handler) = 0;
};

class Label {
 public:
  virtual ~Label() = default;
  virtual std::u16string Caption() const = 0;
  virtual void SetCaption(std::u16string_view caption) = 0;
  virtual std::u16string ToolTip() const = 0;
  virtual void SetToolTip(std::u16string_view toolTip) = 0;
  virtual void SetClickHandler(ClickHandler handler) = 0;
};

class Frame {
 public:
  virtual ~Frame() = default;
  // Hiding a frame hides the controls inside it.
  virtual void SetVisible(bool visible) = 0;
  virtual bool Visible() const = 0;
};

// The page itself.
class PageSurface {
 public:
  virtual ~PageSurface() = default;
  static constexpr std::int16_t kDefaultPointer = 0;
  static constexpr std::int16_t kHourglassPointer = 11;
  virtual void SetMousePointer(std::int16_t pointer) = 0;
  virtual std::int16_t MousePointer() const = 0;
  // Width in pixels of a vertical scroll bar (GetSystemMetrics(SM_CXVSCROLL)).
  virtual std::int32_t VerticalScrollBarWidth() const = 0;
};

}  // namespace quillon::platform
