#include "standin/options_dialog.h"

#include <commctrl.h>  // after windows.h

#include <cstdio>

#include "standin/dialog_window.h"
#include "win/common/callback_guard.h"

namespace quillon::standin {
namespace {

constexpr int kMargin = 8, kButtonWidth = 75, kButtonHeight = 23, kButtonGap = 6;
// The page's design area in twips.
constexpr int kPageWidthTwips = 6120, kPageHeightTwips = 5625;

int WindowDpi(HWND window) {
  const win::UniqueClientDc dc = win::GetClientDc(window);
  const int dpi = dc ? GetDeviceCaps(dc.get(), LOGPIXELSY) : 96;
  return dpi > 0 ? dpi : 96;
}

std::string HexResult(HRESULT hr) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(hr));
  return text;
}

}  // namespace

OptionsDialog::OptionsDialog(std::shared_ptr<World> world, DialogOptions options)
    : world_(std::move(world)), options_(std::move(options)) {
  site_ = ComPtr<ControlSite>(new ControlSite(*this));
  screenshotMessage_ = RegisterWindowMessageW(kScreenshotMessage);
  pingMessage_ = RegisterWindowMessageW(kPingMessage);
}

OptionsDialog::~OptionsDialog() {
  Close("Shutdown");
  site_->Detach();
}

bool OptionsDialog::Open() {
  const std::vector<WORD> dialogTemplate = MakeDialogTemplate(
      kOptionsTitle, WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN | DS_CENTER, 300, 300);
  dialog_ = CreateDialogIndirectParamW(GetModuleHandleW(nullptr),
                                       reinterpret_cast<LPCDLGTEMPLATEW>(dialogTemplate.data()), nullptr, Proc,
                                       reinterpret_cast<LPARAM>(this));
  if (!dialog_) return false;
  if (!created_) {
    Close("PageNotCreated");
    return false;
  }
  ShowWindow(dialog_, SW_SHOW);
  SetForegroundWindow(dialog_);
  if (HWND page = control_.Window()) SetFocus(page);
  return true;
}

int OptionsDialog::Run() {
  if (!Open()) return 3;
  MSG msg;
  while (!closed_ && GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (PreTranslate(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}

// Keyboard handling of the modeless dialog: Escape closes it wherever the focus
// is, then the page sees its keystrokes, then dialog navigation.
bool OptionsDialog::PreTranslate(MSG& msg) {
  const bool ours = msg.hwnd == dialog_ || IsChild(dialog_, msg.hwnd);
  if (!ours) return false;
  if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
    Close("Escape");
    return true;
  }
  HWND page = control_.Window();
  const bool forPage = page && (msg.hwnd == page || IsChild(page, msg.hwnd));
  if (forPage && msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST && control_.TranslateAccelerator(msg))
    return true;
  return IsDialogMessageW(dialog_, &msg) != FALSE;
}

INT_PTR CALLBACK OptionsDialog::Proc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    reinterpret_cast<OptionsDialog*>(lParam)->dialog_ = dialog;
  }
  auto* self = reinterpret_cast<OptionsDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
  if (!self) return FALSE;
  return win::GuardedCallback<INT_PTR>([&] { return self->Handle(message, wParam, lParam); },
                                       [] { return INT_PTR{FALSE}; });
}

INT_PTR OptionsDialog::Handle(UINT message, WPARAM wParam, LPARAM) {
  if (message == screenshotMessage_ && screenshotMessage_) {
    const bool saved = !options_.screenshotPath.empty() && SaveWindowBitmap(dialog_, options_.screenshotPath);
    world_->log().Record("Screenshot", {{"written", saved}});
    SetWindowLongPtrW(dialog_, DWLP_MSGRESULT, saved ? 1 : 0);
    return TRUE;
  }
  if (message == pingMessage_ && pingMessage_) {
    SetPropW(dialog_, kPingProperty, reinterpret_cast<HANDLE>(wParam));
    return TRUE;
  }
  switch (message) {
    case WM_INITDIALOG:
      CreateChildren();
      created_ = CreatePage();
      return FALSE;
    case WM_SIZE: Layout(); return TRUE;
    case WM_COMMAND: OnCommand(LOWORD(wParam)); return TRUE;
    case WM_CLOSE: Close("Close"); return TRUE;
    default: return FALSE;
  }
}

void OptionsDialog::CreateChildren() {
  tab_ = AddControl(dialog_, WC_TABCONTROLW, L"", WS_CLIPSIBLINGS, -1, RECT{0, 0, 10, 10});
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = const_cast<wchar_t*>(options_.tabTitle.c_str());
  SendMessageW(tab_, TCM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
  ok_ = AddControl(dialog_, L"BUTTON", L"OK", BS_DEFPUSHBUTTON | WS_TABSTOP, IDOK, RECT{0, 0, 10, 10});
  cancel_ = AddControl(dialog_, L"BUTTON", L"Cancel", BS_PUSHBUTTON | WS_TABSTOP, IDCANCEL, RECT{0, 0, 10, 10});
  apply_ = AddControl(dialog_, L"BUTTON", L"&Apply", BS_PUSHBUTTON | WS_TABSTOP, kApplyButtonId, RECT{0, 0, 10, 10});
  EnableWindow(apply_, FALSE);  // until the page reports a change

  // Client size: the page in the tab, the buttons under it.
  const int dpi = WindowDpi(dialog_);
  RECT tab{0, 0, MulDiv(kPageWidthTwips, dpi, 1440), MulDiv(kPageHeightTwips, dpi, 1440)};
  SendMessageW(tab_, TCM_ADJUSTRECT, TRUE, reinterpret_cast<LPARAM>(&tab));
  SetClientSize(dialog_, (tab.right - tab.left) + 2 * kMargin,
                (tab.bottom - tab.top) + 3 * kMargin + kButtonHeight);
  Layout();
}

RECT OptionsDialog::PageRect() {
  RECT page{};
  if (!tab_) return page;
  GetWindowRect(tab_, &page);
  MapWindowPoints(nullptr, dialog_, reinterpret_cast<POINT*>(&page), 2);
  SendMessageW(tab_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&page));
  return page;
}

void OptionsDialog::Layout() {
  if (!tab_) return;
  RECT client{};
  GetClientRect(dialog_, &client);
  const int buttonsTop = client.bottom - kMargin - kButtonHeight;
  MoveWindow(tab_, kMargin, kMargin, client.right - 2 * kMargin, buttonsTop - 2 * kMargin, TRUE);
  int left = client.right - kMargin - kButtonWidth;
  for (HWND button : {apply_, cancel_, ok_}) {
    MoveWindow(button, left, buttonsTop, kButtonWidth, kButtonHeight, TRUE);
    left -= kButtonWidth + kButtonGap;
  }
  control_.Move(dialog_, PageRect());
}

bool OptionsDialog::CreatePage() {
  world_->log().Record("CreateControl", {{"progId", Narrow(options_.progId)}});
  std::string step;
  creationStarted_ = std::chrono::steady_clock::now();
  const HRESULT hr = control_.Create(options_.progId, site_.get(), options_.order, dialog_, PageRect(), step);
  if (FAILED(hr)) {
    world_->log().Record("ControlCreateFailed", {{"step", step}, {"hr", HexResult(hr)}});
    std::fprintf(stderr, "QuillonOptions: cannot create %s: %s failed with %s\n", Narrow(options_.progId).c_str(),
                 step.c_str(), HexResult(hr).c_str());
    return false;
  }
  world_->log().Record("ControlCreated", {{"setClientSiteFirst", control_.SiteWasSetFirst()},
                                          {"miscStatus", control_.MiscStatus()},
                                          {"propertyPage", control_.HasPropertyPage()}});
  return true;
}

ComPtr<IDispatch> OptionsDialog::Application() { return MakeApplication(world_); }

void OptionsDialog::OnStatusChange() {
  const auto dirty = control_.Dirty();
  world_->log().Record("OnStatusChange", {{"dirty", dirty ? nlohmann::json(*dirty) : nlohmann::json(nullptr)}});
  if (apply_) EnableWindow(apply_, dirty.value_or(false));
}

void OptionsDialog::OnCommand(int id) {
  if (busy_ || closed_) return;  // a click while Apply runs its own dialogs
  switch (id) {
    case IDOK:
      ApplyFromButton("OK");
      Close("OK");
      break;
    case IDCANCEL: Close("Cancel"); break;
    case kApplyButtonId: {
      ApplyFromButton("Apply");
      const auto dirty = control_.Dirty();
      if (apply_ && !closed_) EnableWindow(apply_, dirty.value_or(false));
      break;
    }
    default: break;
  }
}

void OptionsDialog::ApplyFromButton(const char* button) {
  busy_ = true;
  const auto dirty = control_.Dirty();
  world_->log().Record("ApplyCalled", {{"button", button},
                                       {"dirty", dirty ? nlohmann::json(*dirty) : nlohmann::json(nullptr)}});
  const HRESULT hr = control_.Apply();
  world_->log().Record("ApplyReturned", {{"button", button}, {"hr", HexResult(hr)}});
  busy_ = false;
}

// Closing destroys the page, as Outlook does: its Terminate runs before the dialog goes.
void OptionsDialog::Close(const char* how) {
  if (closed_) return;
  closed_ = true;
  if (!dialog_) return;
  world_->log().Record("DialogClosed", {{"by", how}});
  const auto references = control_.Destroy();
  if (references) world_->log().Record("ControlReleased", {{"references", *references}});
  RemovePropW(dialog_, kPingProperty);
  DestroyWindow(dialog_);
  dialog_ = nullptr;
}

}  // namespace quillon::standin
