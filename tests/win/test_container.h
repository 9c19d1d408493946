// The page control in the stand-in Outlook's own container (its client site and
// host), in a host window of the test's, with an owner that counts what the page
// asks of the site.
#pragma once

#include <string>

#include "standin/control_host.h"
#include "standin/control_site.h"
#include "win_test_support.h"

namespace quillon::win::testing {

using standin::CreationOrder;
using standin::ControlSite;

inline constexpr RECT kPagePlace{0, 0, 420, 380};

// What the site asks of its dialog: the test's window and place, and an Outlook (or none).
class TestSiteOwner final : public standin::SiteOwner {
 public:
  TestSiteOwner(HWND window, IDispatch* application) : window_(window), application_(application) {}
  HWND DialogWindow() override { return window_; }
  RECT PageRect() override { return kPagePlace; }
  ComPtr<IDispatch> Application() override {
    ++applicationCalls;
    return ComPtr<IDispatch>::Share(application_);
  }
  void OnStatusChange() override {}
  void OnActiveObject(IOleInPlaceActiveObject*) override {}

  int applicationCalls = 0;

 private:
  HWND window_;
  IDispatch* application_;
};

// A hostile site: QueryInterface finds no interface at all, not even IOleClientSite.
class MuteSite final : public ControlSite {
 public:
  using ControlSite::ControlSite;
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override { return *out = nullptr, E_NOINTERFACE; }
};

// A host window with the stand-in's site in it, for one control.
struct HostedPage {
  explicit HostedPage(IDispatch* application) : owner(window.get(), application) {}
  // The control created (by ProgID, or `made` some other way), sited, initialised
  // and activated in place as Outlook does it; the destructor tears it down.
  HRESULT Create(CreationOrder order = CreationOrder::kSetClientSiteFirst, ComPtr<IOleObject> made = {}) {
    std::string step;
    return made ? control.Create(std::move(made), site.get(), order, window.get(), kPagePlace, step)
                : control.Create(kProgId, site.get(), order, window.get(), kPagePlace, step);
  }
  template <class Interface>
  ComPtr<Interface> As(REFIID iid) const {
    return ComPtr<IOleObject>::Share(control.Object()).As<Interface>(iid);
  }
  ComPtr<PropertyPage> Page() const { return As<PropertyPage>(kIidPropertyPage); }

  HostWindow window;
  TestSiteOwner owner;
  ComPtr<ControlSite> site{new ControlSite(owner)};
  standin::HostedControl control;
};

}  // namespace quillon::win::testing
