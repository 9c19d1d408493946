// The stand-in for Outlook's Options dialog: one tab holding the page in place,
// with OK, Cancel and Apply under it, driven the way Outlook drives a property page.
#pragma once

#include <chrono>
#include <memory>
#include <string>

#include "standin/control_host.h"
#include "standin/control_site.h"
#include "standin/outlook_model.h"
#include "standin/standin_protocol.h"

namespace quillon::standin {

struct DialogOptions {
  std::wstring progId = L"Quillon.QuillonPage";
  std::wstring tabTitle = L"Quillon";
  CreationOrder order = CreationOrder::kFromMiscStatus;
  std::wstring screenshotPath;  // where the screenshot message writes its BMP
};

class OptionsDialog : public SiteOwner {
 public:
  OptionsDialog(std::shared_ptr<World> world, DialogOptions options);
  ~OptionsDialog() override;

  // Shows the dialog until it closes. 0 when the page was hosted, 3 when it could not be created.
  int Run();
  // Creates the dialog with the page in place and shows it, without waiting:
  // true when the page was hosted. Run calls it first.
  bool Open();
  void Close(const char* how);
  // When the page's creation began (the ProgID looked up, then CoCreateInstance).
  std::chrono::steady_clock::time_point CreationStarted() const { return creationStarted_; }

  // SiteOwner
  HWND DialogWindow() override { return dialog_; }
  HWND PageWindow() const { return control_.Window(); }
  RECT PageRect() override;
  ComPtr<IDispatch> Application() override;
  void OnStatusChange() override;
  void OnActiveObject(IOleInPlaceActiveObject* active) override { control_.SetActiveObject(active); }

 private:
  static INT_PTR CALLBACK Proc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void CreateChildren();
  bool CreatePage();
  void Layout();
  void OnCommand(int id);
  void ApplyFromButton(const char* button);
  bool PreTranslate(MSG& msg);

  std::shared_ptr<World> world_;
  DialogOptions options_;
  UINT screenshotMessage_ = 0, pingMessage_ = 0;
  HWND dialog_ = nullptr, tab_ = nullptr, ok_ = nullptr, cancel_ = nullptr, apply_ = nullptr;
  ComPtr<ControlSite> site_;
  HostedControl control_;
  bool busy_ = false, closed_ = false, created_ = false;
  std::chrono::steady_clock::time_point creationStarted_{};
};

}  // namespace quillon::standin
