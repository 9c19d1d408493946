#include "win/control/page_window.h"

#include <commctrl.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "win/common/callback_guard.h"
#include "win/common/com_support.h"
#include "win/control/accessible_name.h"

#ifndef WM_DPICHANGED_AFTERPARENT
#define WM_DPICHANGED_AFTERPARENT 0x02E3
#endif

namespace quillon::win {
namespace {

constexpr wchar_t kWindowClass[] = L"QuillonPageWindow";
constexpr WORD kFirstControlId = 1000;

// The lists named for assistive technology, each by the control that labels it.
constexpr std::pair<ControlId, ControlId> kLabelledBy[]{
    {ControlId::List1, ControlId::Frame3},
    {ControlId::List4, ControlId::Frame2},
    {ControlId::cboNewSignature, ControlId::lblNewSignature},
    {ControlId::cboReplySignature, ControlId::lblReplySignature},
};

// How far a drop-down list opens below its field, in fields.
constexpr int kDropDownFields = 8;

}  // namespace

// A drop-down list's window height includes the list that opens below it; its
// closed field takes the height its font needs, as VB's combo box does.
int WindowHeight(const ControlDesign& design, const RECT& place) {
  const int height = place.bottom - place.top;
  return design.kind == ControlKind::ComboBox ? height * (1 + kDropDownFields) : height;
}

PageFonts MakePageFonts(UINT dpi) {
  LOGFONTW page{};
  page.lfHeight = -MulDiv(kPageFontPoints, static_cast<int>(dpi), 72);
  page.lfWeight = FW_NORMAL;
  page.lfCharSet = DEFAULT_CHARSET;
  wcscpy_s(page.lfFaceName, kPageFontFace);

  LOGFONTW link{};
  link.lfHeight = -MulDiv(kLinkFontTenthsOfPoint, static_cast<int>(dpi), 720);
  link.lfWeight = FW_BOLD;
  link.lfUnderline = TRUE;
  link.lfCharSet = kLinkFontCharset;
  wcscpy_s(link.lfFaceName, L"Arial");
  return {UniqueFont(CreateFontIndirectW(&page)), UniqueFont(CreateFontIndirectW(&link))};
}

HFONT PageFonts::For(ControlId id) const { return id == ControlId::Label1 ? link.get() : page.get(); }

namespace {

WORD CommandIdOf(ControlId id) { return static_cast<WORD>(kFirstControlId + static_cast<int>(id)); }

bool RegisterPageClass(HINSTANCE instance, WNDPROC procedure) {
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof(existing);
  if (GetClassInfoExW(instance, kWindowClass, &existing)) return true;
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kWindowClass;
  return RegisterClassExW(&windowClass) != 0;
}

DWORD AlignStyle(TextAlign align) {
  switch (align) {
    case TextAlign::Centre: return SS_CENTER;
    case TextAlign::Right: return SS_RIGHT;
    default: return SS_LEFTNOWORDWRAP;
  }
}

}  // namespace

ClassAndStyle StyleOf(const ControlDesign& design) {
  DWORD style = WS_CHILD | WS_CLIPSIBLINGS | WS_GROUP;
  if (!design.enabled) style |= WS_DISABLED;
  switch (design.kind) {
    case ControlKind::Frame:
      return {WC_BUTTONW, style | BS_GROUPBOX, 0};
    case ControlKind::Button:
      return {WC_BUTTONW, style | WS_TABSTOP | BS_PUSHBUTTON | BS_NOTIFY, 0};
    case ControlKind::Option:
      // One group: only the first button starts it.
      if (design.id != ControlId::Option1_0) style &= ~WS_GROUP;
      return {WC_BUTTONW, style | WS_TABSTOP | BS_AUTORADIOBUTTON | BS_NOTIFY, 0};
    case ControlKind::ListBox:
      return {WC_LISTBOXW,
              style | WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
              WS_EX_CLIENTEDGE};
    case ControlKind::ComboBox:
      return {WC_COMBOBOXW, style | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0};
    case ControlKind::Label:
      if (design.id == ControlId::lblDefAddress) style |= WS_BORDER;
      return {WC_STATICW, style | SS_NOTIFY | SS_NOPREFIX | AlignStyle(design.align), 0};
  }
  return {WC_STATICW, style, 0};
}

namespace {

// The controls in z-order, which is their creation order (a new child goes below
// its siblings): the focus moves through them in z-order, by tab index, and frames
// come last so they are drawn behind the controls they hold.
std::vector<const ControlDesign*> InZOrder() {
  std::vector<const ControlDesign*> order;
  for (const ControlDesign& design : PageDesign()) order.push_back(&design);
  std::stable_sort(order.begin(), order.end(), [](const ControlDesign* a, const ControlDesign* b) {
    const bool aFrame = a->kind == ControlKind::Frame;
    const bool bFrame = b->kind == ControlKind::Frame;
    if (aFrame != bFrame) return bFrame;
    return a->tabIndex < b->tabIndex;
  });
  return order;
}

using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);

// Present from Windows 10 on; older systems have one DPI for the whole screen.
GetDpiForWindowFunction DpiForWindowFunction() {
  static const auto function = reinterpret_cast<GetDpiForWindowFunction>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  return function;
}

}  // namespace

void PageWindow::UnregisterWindowClass(HINSTANCE instance) { UnregisterClassW(kWindowClass, instance); }

PageWindow::PageWindow(HINSTANCE instance, IUnknown* lifetimeOwner)
    : instance_(instance), lifetimeOwner_(lifetimeOwner) {}

std::unique_ptr<PageWindow> PageWindow::Create(HINSTANCE instance, IUnknown* lifetimeOwner) {
  if (!RegisterPageClass(instance, &PageWindow::WindowProc)) return nullptr;
  std::unique_ptr<PageWindow> page(new PageWindow(instance, lifetimeOwner));
  const int width = TwipsToPixels(kPageSizeTwips.cx, 96);
  const int height = TwipsToPixels(kPageSizeTwips.cy, 96);
  // No WS_CLIPCHILDREN: group boxes draw only their border and caption and
  // rely on the page to paint their interior, as a dialog does.
  HWND window = CreateWindowExW(WS_EX_CONTROLPARENT, kWindowClass, L"Quillon",
                                WS_POPUP, 0, 0, width, height, nullptr,
                                nullptr, instance, page.get());
  if (!window) return nullptr;
  // Each control is made at its place and in its font for the window's DPI: moving
  // them there afterwards would cost about as much again as creating them.
  page->layoutDpi_ = page->CurrentDpi();
  page->fonts_ = MakePageFonts(page->layoutDpi_);
  if (!page->CreateControls()) return nullptr;
  return page;
}

PageWindow::~PageWindow() {
  // Tooltips first: they are owned by the page's window, whose end releases both.
  toolTips_.reset();
  window_.reset();
}

bool PageWindow::CreateControls() {
  toolTips_.reset(CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                              WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window_.get(), nullptr,
                              instance_, nullptr));
  if (toolTips_) SendMessageW(toolTips_.get(), WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.page.get()), FALSE);
  for (const ControlDesign& design : PageDesign()) ownVisible_[Index(design.id)] = design.visible;
  // Created in z-order and shown as designed: reordering or showing each afterwards
  // would cost about as much again. Option buttons are shown once their choice is
  // set: Wine's checked auto radio button unchecks the visible ones of its group
  // and takes their tab stop.
  for (const ControlDesign* design : InZOrder())
    if (!WaitsUntilUsed(*design) && !CreateControl(*design)) return false;
  for (const ControlDesign& design : PageDesign())
    if (design.kind == ControlKind::Option) ApplyVisibility(design.id);
  return true;
}

bool PageWindow::CreateControl(const ControlDesign& design) {
  const ClassAndStyle kind = StyleOf(design);
  const RECT place = TwipsToPixels(PageRectTwips(design.id), layoutDpi_);
  const bool showNow = Shown(design.id) && design.kind != ControlKind::Option;
  HWND control = CreateWindowExW(kind.extendedStyle, kind.windowClass, design.caption,
                                 kind.style | (showNow ? WS_VISIBLE : 0), place.left, place.top,
                                 place.right - place.left, WindowHeight(design, place), window_.get(),
                                 reinterpret_cast<HMENU>(static_cast<UINT_PTR>(CommandIdOf(design.id))),
                                 instance_, nullptr);
  if (!control) return false;
  SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.For(design.id)), FALSE);
  controls_[Index(design.id)] = control;
  if (design.selected) SetOptionCheck(control, true);
  if (design.toolTip) SetToolTip(design.id, FromWide(design.toolTip, wcslen(design.toolTip)));
  for (const auto& [list, label] : kLabelledBy)
    if (list == design.id) AnswerAccessibleName(control, label);
  return true;
}

bool WaitsUntilUsed(const ControlDesign& design) {
  const ControlId frame = design.kind == ControlKind::Frame ? design.id : design.container;
  return frame != ControlId::Page && !DesignOf(frame).visible;
}

// Each in its place in the z-order (the tab order), after the nearest control
// that precedes it there.
void PageWindow::CreateWaitingControls() {
  HWND previous = HWND_TOP;
  for (const ControlDesign* design : InZOrder()) {
    if (!controls_[Index(design->id)]) {
      if (!WaitsUntilUsed(*design) || !CreateControl(*design)) continue;
      SetWindowPos(controls_[Index(design->id)], previous, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOREDRAW);
    }
    previous = controls_[Index(design->id)];
  }
}

HWND PageWindow::Control(ControlId id) {
  if (!controls_[Index(id)] && window_ && WaitsUntilUsed(DesignOf(id))) CreateWaitingControls();
  return controls_[Index(id)];
}

void SetOptionCheck(HWND button, bool checked) {
  const LONG style = GetWindowLongW(button, GWL_STYLE);
  const bool automatic = (style & BS_TYPEMASK) == BS_AUTORADIOBUTTON;
  if (checked && automatic) SendMessageW(button, BM_SETSTYLE, (style & 0xFFFF & ~BS_TYPEMASK) | BS_RADIOBUTTON, FALSE);
  SendMessageW(button, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
  if (checked && automatic) SendMessageW(button, BM_SETSTYLE, style & 0xFFFF, FALSE);
}

UINT PageWindow::CurrentDpi() const {
  if (auto function = DpiForWindowFunction(); function && window_) {
    if (UINT dpi = function(window_.get())) return dpi;
  }
  const UniqueClientDc dc = GetClientDc(window_.get());
  const int dpi = dc.get() ? GetDeviceCaps(dc.get(), LOGPIXELSY) : 0;
  return dpi > 0 ? static_cast<UINT>(dpi) : 96;
}

void PageWindow::LayoutForDpi(UINT dpi) {
  if (!window_ || dpi == 0) return;
  // The old fonts stay selected in the controls until the new ones are set.
  const PageFonts old = std::exchange(fonts_, MakePageFonts(dpi));
  layoutDpi_ = dpi;
  for (const ControlDesign& design : PageDesign()) {
    const RECT place = TwipsToPixels(PageRectTwips(design.id), dpi);
    HWND control = controls_[Index(design.id)];  // one still waiting is made at the new DPI
    if (!control) continue;
    MoveWindow(control, place.left, place.top, place.right - place.left, WindowHeight(design, place),
               FALSE);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.For(design.id)), FALSE);
  }
  if (toolTips_) SendMessageW(toolTips_.get(), WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.page.get()), FALSE);
  InvalidateRect(window_.get(), nullptr, TRUE);
}

void PageWindow::Attach(HWND parent, const RECT& position) {
  if (!window_) return;
  if (GetParent(window_.get()) != parent) {
    const LONG_PTR style = GetWindowLongPtrW(window_.get(), GWL_STYLE);
    SetWindowLongPtrW(window_.get(), GWL_STYLE, (style & ~WS_POPUP) | WS_CHILD);
    SetParent(window_.get(), parent);
  }
  Move(position);
  const UINT dpi = CurrentDpi();
  if (dpi != layoutDpi_) LayoutForDpi(dpi);
}

void PageWindow::Detach() {
  if (!window_) return;
  ShowWindow(window_.get(), SW_HIDE);
  if (!GetParent(window_.get())) return;
  SetParent(window_.get(), nullptr);
  const LONG_PTR style = GetWindowLongPtrW(window_.get(), GWL_STYLE);
  SetWindowLongPtrW(window_.get(), GWL_STYLE, (style & ~WS_CHILD) | WS_POPUP);
}

void PageWindow::Move(const RECT& position) {
  if (!window_) return;
  SetWindowPos(window_.get(), nullptr, position.left, position.top, position.right - position.left,
               position.bottom - position.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void PageWindow::Show(bool show) {
  if (window_) ShowWindow(window_.get(), show ? SW_SHOWNA : SW_HIDE);
}

PageWindow::ListRedrawPause::ListRedrawPause(PageWindow& page) : page_(page) {
  if (page_.listRedrawPauses_++ > 0) return;
  for (const ControlDesign& design : PageDesign()) {
    if (design.kind == ControlKind::ListBox) SendMessageW(page_.Control(design.id), WM_SETREDRAW, FALSE, 0);
  }
}

PageWindow::ListRedrawPause::~ListRedrawPause() {
  if (--page_.listRedrawPauses_ > 0) return;
  for (const ControlDesign& design : PageDesign()) {
    if (design.kind != ControlKind::ListBox) continue;
    HWND list = page_.Control(design.id);
    // Redraw on sets WS_VISIBLE: a list hidden meanwhile is hidden again.
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    page_.ApplyVisibility(design.id);
    InvalidateRect(list, nullptr, TRUE);
  }
}

void PageWindow::SetClickHandler(ControlId id, std::function<void()> handler) {
  clickHandlers_[Index(id)] = std::move(handler);
}

void PageWindow::RaiseClick(ControlId id) {
  // A copy: the handler may replace itself while it runs.
  std::function<void()> handler = clickHandlers_[Index(id)];
  if (!handler) return;
  try {
    handler();
  } catch (...) {
    // The page's handlers ignore their failures; nothing may escape into the message loop.
  }
}

void PageWindow::SetVisible(ControlId id, bool visible) {
  ownVisible_[Index(id)] = visible;
  ApplyVisibility(id);
  if (DesignOf(id).kind != ControlKind::Frame) return;
  for (const ControlDesign& design : PageDesign())
    if (design.container == id) ApplyVisibility(design.id);
}

bool PageWindow::Shown(ControlId id) const {
  const ControlDesign& design = DesignOf(id);
  const bool shown = ownVisible_[Index(id)];
  return design.container == ControlId::Page ? shown : shown && ownVisible_[Index(design.container)];
}

void PageWindow::ApplyVisibility(ControlId id) {
  const bool shown = Shown(id);
  if (HWND control = shown ? Control(id) : controls_[Index(id)]) ShowWindow(control, shown ? SW_SHOWNA : SW_HIDE);
}

void PageWindow::SetToolTip(ControlId id, const std::u16string& text) {
  if (!toolTips_ || !Control(id)) return;
  std::wstring copy(text.begin(), text.end());
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = window_.get();
  tool.uId = reinterpret_cast<UINT_PTR>(Control(id));
  tool.lpszText = copy.data();
  bool& known = hasToolTip_[Index(id)];
  if (known) {
    SendMessageW(toolTips_.get(), TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
  } else {
    known = SendMessageW(toolTips_.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool)) != 0;
  }
}

// Read back from the tooltip control itself: what the user would see.
std::u16string PageWindow::ToolTip(ControlId id) const {
  if (!toolTips_ || !controls_[Index(id)] || !hasToolTip_[Index(id)]) return {};
  std::wstring buffer(4096, L'\0');
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.hwnd = window_.get();
  tool.uId = reinterpret_cast<UINT_PTR>(controls_[Index(id)]);
  tool.lpszText = buffer.data();
  SendMessageW(toolTips_.get(), TTM_GETTEXTW, buffer.size() - 1, reinterpret_cast<LPARAM>(&tool));
  buffer.back() = L'\0';
  return FromWide(buffer.c_str(), wcslen(buffer.c_str()));
}

// The load runs before the page is shown, so the hourglass is set at once,
// wherever the pointer is, and the pointer it replaced comes back afterwards.
void PageWindow::SetMousePointer(short pointer) {
  const bool wasBusy = pointer_ == 11;
  pointer_ = pointer;
  if (pointer == 11 && !wasBusy) {
    replacedCursor_ = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
  } else if (pointer != 11 && wasBusy) {
    SetCursor(replacedCursor_ ? replacedCursor_ : LoadCursorW(nullptr, IDC_ARROW));
    replacedCursor_ = nullptr;
  }
}

LRESULT CALLBACK PageWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return GuardedCallback<LRESULT>([&] { return Route(window, message, wParam, lParam); },
                                  [&] { return DefWindowProcW(window, message, wParam, lParam); });
}

LRESULT PageWindow::Route(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* page = static_cast<PageWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    page->window_.reset(window);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(page));
  }
  auto* page = reinterpret_cast<PageWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!page) return DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    page->window_.release();    // going now
    page->toolTips_.release();  // owned by this window, so already gone
    page->controls_.fill(nullptr);
    return DefWindowProcW(window, message, wParam, lParam);
  }
  return page->HandleMessage(message, wParam, lParam);
}

LRESULT PageWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  HWND window = window_.get();
  if (messageProbe_) messageProbe_(message);
  switch (message) {
    case WM_COMMAND:
      if (lParam) {
        // Keeps the control (and so this window) alive while the handler runs.
        ComPtr<IUnknown> keepAlive = ComPtr<IUnknown>::Share(lifetimeOwner_);
        OnCommand(LOWORD(wParam), HIWORD(wParam));
        return 0;
      }
      break;
    case WM_CTLCOLORSTATIC:
      return OnControlColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_SETCURSOR:
      if (OnSetCursor(reinterpret_cast<HWND>(wParam))) return TRUE;
      break;
    case WM_SETFOCUS:
      // The page itself takes no input: hand the focus to its first control.
      if (HWND first = GetNextDlgTabItem(window, nullptr, FALSE)) SetFocus(first);
      return 0;
    case WM_DPICHANGED_AFTERPARENT:
      LayoutForDpi(CurrentDpi());
      return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

void PageWindow::OnCommand(WORD commandId, WORD code) {
  const int index = commandId - kFirstControlId;
  if (index < 0 || index >= kControlCount) return;
  const ControlDesign& design = PageDesign()[index];
  const bool click = (design.kind == ControlKind::ListBox && code == LBN_SELCHANGE) ||
                     (design.kind == ControlKind::ComboBox && code == CBN_SELCHANGE) ||
                     ((design.kind == ControlKind::Button || design.kind == ControlKind::Option) &&
                      code == BN_CLICKED) ||
                     (design.kind == ControlKind::Label && code == STN_CLICKED);
  if (click) {
    RaiseClick(design.id);
    return;
  }
  const bool focus = (design.kind == ControlKind::ListBox && code == LBN_SETFOCUS) ||
                     (design.kind == ControlKind::ComboBox && code == CBN_SETFOCUS) ||
                     ((design.kind == ControlKind::Button || design.kind == ControlKind::Option) &&
                      code == BN_SETFOCUS);
  if (focus && focusHandler_) {
    try {
      focusHandler_();
    } catch (...) {
      // Activation problems must not escape into the message loop.
    }
  }
}

LRESULT PageWindow::OnControlColour(HDC dc, HWND control) {
  if (control == Control(ControlId::lblDefAddress)) {
    SetBkColor(dc, GetSysColor(COLOR_INACTIVEBORDER));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_INACTIVEBORDER));
  }
  if (control == Control(ControlId::Label1)) SetTextColor(dc, kLinkColour);
  SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
  return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
}

bool PageWindow::OnSetCursor(HWND over) {
  if (pointer_ == 11) {
    SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    return true;
  }
  if (over && over == Control(ControlId::Label1)) {
    SetCursor(LoadCursorW(nullptr, IDC_HAND));
    return true;
  }
  return false;
}

}  // namespace quillon::win
