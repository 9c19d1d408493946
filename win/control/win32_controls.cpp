#include "win/control/win32_controls.h"

#include <limits>

#include "platform/text.h"
#include "win/common/com_support.h"

namespace quillon::win {
namespace {

constexpr LRESULT kMaxListCount = std::numeric_limits<std::int16_t>::max();

std::wstring Wide(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }

std::u16string WindowText(HWND window) {
  if (!window) return {};
  const int length = GetWindowTextLengthW(window);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  const int copied = GetWindowTextW(window, text.data(), length + 1);
  return FromWide(text.c_str(), static_cast<size_t>(copied > 0 ? copied : 0));
}

// List boxes and drop-down lists answer the same questions under different message numbers.
struct ListProtocol {
  UINT count, textLength, text, currentIndex;
};
constexpr ListProtocol kListBox{LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT, LB_GETCURSEL};
constexpr ListProtocol kDropDown{CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT, CB_GETCURSEL};
static_assert(LB_ERR == CB_ERR);

std::int16_t CountOf(HWND window, const ListProtocol& protocol) {
  const LRESULT count = SendMessageW(window, protocol.count, 0, 0);
  if (count < 0) return 0;
  return static_cast<std::int16_t>(count > kMaxListCount ? kMaxListCount : count);
}

// `index` is in range.
std::u16string EntryOf(HWND window, const ListProtocol& protocol, std::int16_t index) {
  const LRESULT length = SendMessageW(window, protocol.textLength, index, 0);
  if (length == LB_ERR) return {};
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  const LRESULT copied = SendMessageW(window, protocol.text, index, reinterpret_cast<LPARAM>(text.data()));
  if (copied == LB_ERR) return {};
  return FromWide(text.c_str(), static_cast<size_t>(copied));
}

std::int16_t CurrentIndexOf(HWND window, const ListProtocol& protocol) {
  if (!window) return platform::kNoListIndex;
  const LRESULT index = SendMessageW(window, protocol.currentIndex, 0, 0);
  return index < 0 || index > kMaxListCount ? platform::kNoListIndex : static_cast<std::int16_t>(index);
}

}  // namespace

std::int16_t Win32ListBox::ListCount() const { return CountOf(Window(), kListBox); }

std::u16string Win32ListBox::List(std::int16_t index) const {
  return InRange(index) ? EntryOf(Window(), kListBox, index) : std::u16string();
}

bool Win32ListBox::SetList(std::int16_t index, std::u16string_view text) {
  if (!InRange(index)) return false;
  const LRESULT data = SendMessageW(Window(), LB_GETITEMDATA, index, 0);
  const bool selected = ListIndex() == index;
  const std::wstring wide = Wide(text);
  if (SendMessageW(Window(), LB_DELETESTRING, index, 0) == LB_ERR) return false;
  const LRESULT at = SendMessageW(Window(), LB_INSERTSTRING, index, reinterpret_cast<LPARAM>(wide.c_str()));
  if (at < 0) return false;
  SendMessageW(Window(), LB_SETITEMDATA, at, data);
  if (selected) SendMessageW(Window(), LB_SETCURSEL, at, 0);
  return true;
}

std::int32_t Win32ListBox::ItemData(std::int16_t index) const {
  if (!InRange(index)) return 0;
  // In range, so -1 is the stored number and not LB_ERR.
  return static_cast<std::int32_t>(SendMessageW(Window(), LB_GETITEMDATA, index, 0));
}

bool Win32ListBox::SetItemData(std::int16_t index, std::int32_t data) {
  if (!InRange(index)) return false;
  // The list keeps a pointer-sized value; store the 32-bit number sign-extended.
  return SendMessageW(Window(), LB_SETITEMDATA, index, static_cast<LPARAM>(data)) != LB_ERR;
}

bool Win32ListBox::AddItem(std::u16string_view text) {
  if (!Window() || SendMessageW(Window(), LB_GETCOUNT, 0, 0) >= kMaxListCount) return false;
  const std::wstring wide = Wide(text);
  const LRESULT at = SendMessageW(Window(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
  if (at < 0) return false;
  SendMessageW(Window(), LB_SETITEMDATA, at, 0);
  return true;
}

bool Win32ListBox::RemoveItem(std::int16_t index) {
  if (!InRange(index)) return false;
  const bool wasSelected = ListIndex() == index;
  if (SendMessageW(Window(), LB_DELETESTRING, index, 0) == LB_ERR) return false;
  if (wasSelected) SendMessageW(Window(), LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  return true;
}

void Win32ListBox::Clear() { SendMessageW(Window(), LB_RESETCONTENT, 0, 0); }

std::int16_t Win32ListBox::ListIndex() const { return CurrentIndexOf(Window(), kListBox); }

bool Win32ListBox::SetListIndex(std::int16_t index) {
  if (!Window() || (index != platform::kNoListIndex && !InRange(index))) return false;
  SendMessageW(Window(), LB_SETCURSEL, static_cast<WPARAM>(index), 0);
  page_.RaiseClick(id_);
  return true;
}

bool Win32ListBox::Selected(std::int16_t index) const { return InRange(index) && ListIndex() == index; }

std::int16_t Win32ListBox::SelCount() const { return ListIndex() == platform::kNoListIndex ? 0 : 1; }

bool Win32ListBox::SetText(std::u16string_view text) {
  // The page's own rule for identity entries, not the list box's locale-dependent
  // LB_FINDSTRINGEXACT: a line is found exactly when the page calls it the same.
  const std::int16_t count = ListCount();
  for (std::int16_t i = 0; i < count; ++i) {
    if (text::EqualsIdentityIgnoringCase(List(i), text)) return SetListIndex(i);
  }
  return false;
}

void Win32ListBox::SetHorizontalExtent(std::int32_t pixels) {
  SendMessageW(Window(), LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(pixels < 0 ? 0 : pixels), 0);
}

std::int32_t Win32ListBox::TextWidth(std::u16string_view text) const {
  HWND window = Window();
  if (!window) return 0;
  const UniqueClientDc dc = GetClientDc(window);
  if (!dc) return 0;
  const UniqueSelection font = SelectInto(dc.get(), reinterpret_cast<HGDIOBJ>(SendMessageW(window, WM_GETFONT, 0, 0)));
  const std::wstring wide = Wide(text);
  RECT bounds{0, 0, 0, 0};
  // DT_NOPREFIX: the list shows "&" as it is, so it must be measured as it is.
  DrawTextW(dc.get(), wide.c_str(), static_cast<int>(wide.size()), &bounds,
            DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  return bounds.right - bounds.left;
}

std::int16_t Win32ComboBox::ListCount() const { return CountOf(Window(), kDropDown); }

std::u16string Win32ComboBox::List(std::int16_t index) const {
  return index >= 0 && index < ListCount() ? EntryOf(Window(), kDropDown, index) : std::u16string();
}

bool Win32ComboBox::AddItem(std::u16string_view text) {
  if (!Window() || ListCount() >= kMaxListCount) return false;
  const std::wstring wide = Wide(text);
  return SendMessageW(Window(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str())) >= 0;
}

void Win32ComboBox::Clear() { SendMessageW(Window(), CB_RESETCONTENT, 0, 0); }

std::int16_t Win32ComboBox::ListIndex() const { return CurrentIndexOf(Window(), kDropDown); }

// CB_SETCURSEL notifies nobody, which is the contract: only the user's choice clicks.
bool Win32ComboBox::SetListIndex(std::int16_t index) {
  if (!Window() || index < platform::kNoListIndex || index >= ListCount()) return false;
  SendMessageW(Window(), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  return true;
}

bool Win32OptionButton::Value() const {
  return SendMessageW(Window(), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Win32OptionButton::SetValue(bool value) {
  if (!Window()) return;
  if (!value) {
    SetOptionCheck(Window(), false);
    return;
  }
  for (ControlId member : group_) SetOptionCheck(page_.Control(member), member == id_);
  page_.RaiseClick(id_);
}

std::u16string Win32Label::Caption() const { return WindowText(Window()); }

void Win32Label::SetCaption(std::u16string_view caption) {
  if (HWND window = Window()) SetWindowTextW(window, Wide(caption).c_str());
}

std::int32_t Win32PageSurface::VerticalScrollBarWidth() const { return GetSystemMetrics(SM_CXVSCROLL); }

}  // namespace quillon::win
