// One page instance on Win32: its window, the adapters that give the page its
// controls, dialogs and host, and the page itself.
#pragma once

#include <windows.h>

#include <array>
#include <memory>

#include "page/quillon_page.h"
#include "win/control/control_module.h"
#include "win/control/outlook_late_bound.h"
#include "win/control/page_window.h"
#include "win/control/win32_controls.h"
#include "win/control/win32_signature_catalogue.h"
#include "win/control/win32_user_services.h"

namespace quillon::win {

class PageRuntime {
 public:
  // nullptr when the page's window cannot be made.
  static std::unique_ptr<PageRuntime> Create(ControlModule& module, IUnknown* lifetimeOwner,
                                             std::shared_ptr<SiteLink> site);
  PageRuntime(const PageRuntime&) = delete;
  PageRuntime& operator=(const PageRuntime&) = delete;

  PageWindow& Window() { return *window_; }
  QuillonPage& Page() { return *page_; }

 private:
  PageRuntime(ControlModule& module, std::unique_ptr<PageWindow> window, std::shared_ptr<SiteLink> site);
  PageControls Controls();

  std::unique_ptr<PageWindow> window_;
  std::array<Win32ListBox, 5> lists_;
  std::array<Win32CommandButton, 12> buttons_;
  std::array<Win32OptionButton, 3> options_;
  std::array<Win32Label, 6> labels_;
  std::array<Win32Frame, 6> frames_;
  std::array<Win32ComboBox, 2> combos_;
  Win32PageSurface surface_;
  Win32UserServices user_;
  Win32SignatureCatalogue signatures_;
  SiteContainer container_;
  std::unique_ptr<QuillonPage> page_;
};

}  // namespace quillon::win
