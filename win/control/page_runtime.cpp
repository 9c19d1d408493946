#include "win/control/page_runtime.h"

#include "win/control/version_info.h"

namespace quillon::win {
namespace {

using enum ControlId;
constexpr std::array<ControlId, 3> kOptionGroup{Option1_0, Option1_1, Option1_2};

}  // namespace

std::unique_ptr<PageRuntime> PageRuntime::Create(ControlModule& module, IUnknown* lifetimeOwner,
                                                 std::shared_ptr<SiteLink> site) {
  auto scope = module.ActivateVisualStyles();
  std::unique_ptr<PageWindow> window = PageWindow::Create(module.Instance(), lifetimeOwner);
  if (!window) return nullptr;
  return std::unique_ptr<PageRuntime>(new PageRuntime(module, std::move(window), std::move(site)));
}

PageRuntime::PageRuntime(ControlModule& module, std::unique_ptr<PageWindow> window,
                         std::shared_ptr<SiteLink> site)
    : window_(std::move(window)),
      lists_{{{*window_, List1}, {*window_, List2}, {*window_, List3}, {*window_, List4}, {*window_, List5}}},
      buttons_{{{*window_, cmdAdd}, {*window_, cmdChange}, {*window_, cmdRemove}, {*window_, cmdRemoveAll},
                {*window_, cmdMoveUp}, {*window_, cmdMoveDown}, {*window_, cmdPopulate},
                {*window_, cmdSharedMailboxes}, {*window_, cmdRefresh}, {*window_, cmdAddFolder},
                {*window_, cmdDeleteFolder}, {*window_, cmdDeleteAllFolders}}},
      options_{{{*window_, Option1_0, kOptionGroup}, {*window_, Option1_1, kOptionGroup},
                {*window_, Option1_2, kOptionGroup}}},
      labels_{{{*window_, lblDefAddress}, {*window_, Label4_0}, {*window_, Label4_2}, {*window_, Label1},
               {*window_, lblNewSignature}, {*window_, lblReplySignature}}},
      frames_{{{*window_, Frame1}, {*window_, Frame2}, {*window_, Frame3}, {*window_, Frame4}, {*window_, Frm1},
               {*window_, Frame5}}},
      combos_{{{*window_, cboNewSignature}, {*window_, cboReplySignature}}},
      surface_(*window_),
      user_(module, *window_),
      container_(std::move(site)) {
  page_ = std::make_unique<QuillonPage>(PageEnvironment{Controls(), user_, container_, module.State(),
                                                        ReadLibraryVersion(module.Instance()), signatures_});
}

PageControls PageRuntime::Controls() {
  return PageControls{surface_,
                      lists_[0], lists_[1], lists_[2], lists_[3], lists_[4],
                      buttons_[0], buttons_[1], buttons_[2], buttons_[3], buttons_[4], buttons_[5],
                      buttons_[6], buttons_[7], buttons_[8], buttons_[9], buttons_[10], buttons_[11],
                      {options_[0], options_[1], options_[2]},
                      labels_[0], labels_[1], labels_[2], labels_[3],
                      frames_[0], frames_[1], frames_[2], frames_[3], frames_[4],
                      frames_[5], labels_[4], combos_[0], labels_[5], combos_[1]};
}

}  // namespace quillon::win
