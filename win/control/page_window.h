// The page's window: the 34 controls of the design laid out at the window's
// own DPI, their fonts, colours, cursor and tooltips, and the routing of their
// notifications to click handlers.
//
// The window starts as a hidden top-level window so that the page can load
// before the host activates it; Attach makes it a child of the host's window
// and Detach takes it back, so the controls (which hold the page's data)
// outlive any host window.
#pragma once

#include <windows.h>
#include <unknwn.h>

#include <array>
#include <functional>
#include <memory>
#include <string>

#include "win/control/page_design.h"
#include "win/common/win_handles.h"

namespace quillon::win {

// The window class and styles a control of the design is created with.
struct ClassAndStyle {
  const wchar_t* windowClass;
  DWORD style;
  DWORD extendedStyle;
};
ClassAndStyle StyleOf(const ControlDesign& design);
// A drop-down list's window is taller than its field: it holds the list too.
int WindowHeight(const ControlDesign& design, const RECT& place);

// The form's font and the link's (Label1's), at a DPI.
struct PageFonts {
  UniqueFont page;
  UniqueFont link;
  HFONT For(ControlId id) const;
};
PageFonts MakePageFonts(UINT dpi);

// A frame designed hidden waits with what it holds until it is shown or used:
// the signatures frame on an Outlook that never shows it costs nothing.
bool WaitsUntilUsed(const ControlDesign& design);

// Checks or unchecks an option button without Wine's walk of its dialog group:
// Wine's BM_SETCHECK on an automatic radio button unchecks the rest of the
// group itself, asking the server for the page's window list at each step
// (about 3 ms in this page). Windows leaves the others alone, so callers
// uncheck them.
void SetOptionCheck(HWND button, bool checked);

class PageWindow {
 public:
  // A library must take its window class away when it is unloaded.
  static void UnregisterWindowClass(HINSTANCE instance);

  // nullptr when the window cannot be created. `lifetimeOwner` is kept alive
  // while a click handler runs, so a handler may lead to the page's release.
  static std::unique_ptr<PageWindow> Create(HINSTANCE instance, IUnknown* lifetimeOwner);
  PageWindow(const PageWindow&) = delete;
  PageWindow& operator=(const PageWindow&) = delete;
  ~PageWindow();

  HWND Handle() const { return window_.get(); }
  // Made here if it is still waiting (see WaitsUntilUsed).
  HWND Control(ControlId id);

  void Attach(HWND parent, const RECT& position);
  void Detach();
  void Move(const RECT& position);
  void Show(bool show);

  // Lays every control out again for `dpi` (twips to pixels) with fonts of that size.
  void LayoutForDpi(UINT dpi);
  UINT CurrentDpi() const;
  UINT LayoutDpi() const { return layoutDpi_; }

  void SetClickHandler(ControlId id, std::function<void()> handler);
  // Called when one of the controls receives the keyboard focus.
  void SetFocusHandler(std::function<void()> handler) { focusHandler_ = std::move(handler); }
  // Runs the handler as if the control had been clicked.
  void RaiseClick(ControlId id);

  // A control is shown when it is visible itself and its frame is visible.
  void SetVisible(ControlId id, bool visible);
  bool Visible(ControlId id) const { return ownVisible_[Index(id)]; }

  void SetToolTip(ControlId id, const std::u16string& text);
  std::u16string ToolTip(ControlId id) const;

  // 11 shows the hourglass over the page, 0 the normal pointers.
  void SetMousePointer(short pointer);
  short MousePointer() const { return pointer_; }

  // Test seam: runs as each message arrives, before the page handles it; a
  // probe that throws stands for a handler that fails.
  void SetMessageProbe(std::function<void(UINT message)> probe) { messageProbe_ = std::move(probe); }

  // While one lives, the lists neither repaint nor update their scroll bars
  // item by item (what makes filling a thousand lines slow); they repaint
  // once when the last one ends. For the load, which shows no dialog: a
  // dialog over paused lists would leave its image behind on them.
  class ListRedrawPause {
   public:
    explicit ListRedrawPause(PageWindow& page);
    ~ListRedrawPause();
    ListRedrawPause(const ListRedrawPause&) = delete;
    ListRedrawPause& operator=(const ListRedrawPause&) = delete;

   private:
    PageWindow& page_;
  };

  HFONT PageFont() const { return fonts_.page.get(); }

 private:
  PageWindow(HINSTANCE instance, IUnknown* lifetimeOwner);
  static int Index(ControlId id) { return static_cast<int>(id); }
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT Route(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  bool CreateControls();
  bool CreateControl(const ControlDesign& design);
  void CreateWaitingControls();
  bool Shown(ControlId id) const;
  void ApplyVisibility(ControlId id);
  void OnCommand(WORD controlId, WORD code);
  LRESULT OnControlColour(HDC dc, HWND control);
  bool OnSetCursor(HWND over);

  HINSTANCE instance_;
  IUnknown* lifetimeOwner_;
  UniqueWindow window_;
  UniqueWindow toolTips_;
  std::array<HWND, kControlCount> controls_{};
  std::array<bool, kControlCount> ownVisible_{};
  std::array<bool, kControlCount> hasToolTip_{};
  std::array<std::function<void()>, kControlCount> clickHandlers_;
  std::function<void()> focusHandler_;
  int listRedrawPauses_ = 0;
  std::function<void(UINT)> messageProbe_;
  PageFonts fonts_;
  UINT layoutDpi_ = 96;
  short pointer_ = 0;
  HCURSOR replacedCursor_ = nullptr;
};

}  // namespace quillon::win
