#include "win/control/control_module.h"

#include <commctrl.h>

#include "win/control/page_window.h"

namespace quillon::win {

namespace {

// The manifest in the library's resources (id 2) asks for comctl32 v6.
UniqueActCtx CreateVisualStylesContext(HINSTANCE instance) {
  ACTCTXW context{};
  context.cbSize = sizeof(context);
  context.dwFlags = ACTCTX_FLAG_HMODULE_VALID | ACTCTX_FLAG_RESOURCE_NAME_VALID;
  context.hModule = instance;
  context.lpResourceName = MAKEINTRESOURCEW(2);
  return UniqueActCtx(CreateActCtxW(&context));
}

}  // namespace

ControlModule::ControlModule(HINSTANCE instance) : instance_(instance) {}

ActivationScope ControlModule::ActivateVisualStyles() const {
  std::call_once(visualStylesOnce_, [this] {
    visualStyles_ = CreateVisualStylesContext(instance_);
    const ActivationScope scope = ActivateContext(visualStyles_.get());
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES;
    InitCommonControlsEx(&controls);
  });
  return ActivateContext(visualStyles_.get());
}

ControlModule::~ControlModule() {
  PageWindow::UnregisterWindowClass(instance_);
}

}  // namespace quillon::win
