#include "bench/wine/page_floor.h"

#include <windows.h>

#include <commctrl.h>  // after windows.h

#include <chrono>
#include <vector>

#include "standin/dialog_window.h"
#include "win/common/win_handles.h"
#include "win/control/control_module.h"
#include "win/control/page_design.h"
#include "win/control/page_window.h"

namespace quillon::bench {
namespace {

using namespace quillon::win;

constexpr wchar_t kFloorClass[] = L"QuillonPageFloor";

bool RegisterFloorClass() {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  if (GetClassInfoExW(GetModuleHandleW(nullptr), kFloorClass, &windowClass)) return true;
  windowClass.lpfnWndProc = DefWindowProcW;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kFloorClass;
  return RegisterClassExW(&windowClass) != 0;
}

INT_PTR CALLBACK HostProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

// The Options dialog's frame, tab and buttons, not yet shown: what exists before a page is created.
UniqueWindow MakeHost(RECT& pageRect) {
  const std::vector<WORD> dialogTemplate = standin::MakeDialogTemplate(
      L"Options", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN | DS_CENTER, 300, 300);
  UniqueWindow host(CreateDialogIndirectParamW(
      GetModuleHandleW(nullptr), reinterpret_cast<LPCDLGTEMPLATEW>(dialogTemplate.data()), nullptr, HostProc, 0));
  if (!host) return host;
  RECT page{0, 0, TwipsToPixels(kPageSizeTwips.cx, 96), TwipsToPixels(kPageSizeTwips.cy, 96)};
  RECT tab = page;
  HWND tabs = standin::AddControl(host.get(), WC_TABCONTROLW, L"", WS_CLIPSIBLINGS, -1, RECT{0, 0, 10, 10});
  SendMessageW(tabs, TCM_ADJUSTRECT, TRUE, reinterpret_cast<LPARAM>(&tab));
  OffsetRect(&tab, 8 - tab.left, 8 - tab.top);
  standin::SetClientSize(host.get(), tab.right + 8, tab.bottom + 47);
  MoveWindow(tabs, tab.left, tab.top, tab.right - tab.left, tab.bottom - tab.top, FALSE);
  for (int i = 0; i < 3; ++i)
    standin::AddControl(host.get(), L"BUTTON", L"OK", BS_PUSHBUTTON | WS_TABSTOP, IDOK + i,
                        RECT{tab.right - 75 - 81 * i, tab.bottom + 8, tab.right - 81 * i, tab.bottom + 31});
  pageRect = tab;
  SendMessageW(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&pageRect));
  return host;
}

void SettleMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

}  // namespace

double TimedFloorOpen() {
  // The library's own context, from the manifest of Quillon.rc linked into this program.
  static const ControlModule module(GetModuleHandleW(nullptr));
  const ActivationScope scope = module.ActivateVisualStyles();
  RECT page{};
  UniqueWindow host = MakeHost(page);
  if (!host || !RegisterFloorClass()) return -1;
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  const auto start = std::chrono::steady_clock::now();
  HWND window = CreateWindowExW(WS_EX_CONTROLPARENT, kFloorClass, L"Quillon", WS_CHILD | WS_VISIBLE, page.left,
                                page.top, page.right - page.left, page.bottom - page.top, host.get(), nullptr,
                                instance, nullptr);
  HWND tips = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window, nullptr, instance,
                              nullptr);
  if (!window || !tips) return -1;
  const PageFonts fonts = MakePageFonts(96);
  for (const ControlDesign& design : PageDesign()) {
    if (WaitsUntilUsed(design)) continue;  // the page makes these only when shown
    const ClassAndStyle kind = StyleOf(design);
    const RECT place = TwipsToPixels(PageRectTwips(design.id), 96);
    const bool shown = design.visible && (design.container == ControlId::Page || DesignOf(design.container).visible);
    HWND control = CreateWindowExW(kind.extendedStyle, kind.windowClass, design.caption,
                                   kind.style | (shown ? WS_VISIBLE : 0), place.left, place.top,
                                   place.right - place.left, WindowHeight(design, place), window, nullptr,
                                   instance, nullptr);
    if (!control) return -1;
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(fonts.For(design.id)), FALSE);
    if (design.selected) SetOptionCheck(control, true);  // as the page checks its own
    if (!design.toolTip) continue;
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = window;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = const_cast<wchar_t*>(design.toolTip);
    SendMessageW(tips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }
  // Shown as the Options dialog shows itself: in front, the focus on the first control.
  ShowWindow(host.get(), SW_SHOW);
  SetForegroundWindow(host.get());
  if (HWND first = GetNextDlgTabItem(window, nullptr, FALSE)) SetFocus(first);
  RedrawWindow(host.get(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  SettleMessages();
  const double elapsed =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  host.reset();
  SettleMessages();
  return elapsed;
}

}  // namespace quillon::bench
