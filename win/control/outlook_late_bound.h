// The page's Outlook, add-in and host-site interfaces on top of late-bound
// IDispatch objects. Each call names its member, so any object model that
// answers those names works, Outlook's or a stand-in's.
#pragma once

#include <memory>

#include "platform/outlook.h"
#include "win/common/com_support.h"
#include "win/common/outlook_interfaces.h"

namespace quillon::win {

// The control's current PropertyPageSite, shared with the page's adapters so
// that a site the container withdraws is never used (nor kept) afterwards.
struct SiteLink {
  ComPtr<PropertyPageSite> site;
};

std::shared_ptr<platform::OutlookApplication> MakeLateBoundApplication(ComPtr<IDispatch> application);
std::shared_ptr<platform::OutlookFolder> MakeLateBoundFolder(ComPtr<IDispatch> folder);
std::shared_ptr<platform::AddIn> MakeLateBoundAddIn(ComPtr<IDispatch> addIn);

class SiteHost final : public platform::HostSite {
 public:
  explicit SiteHost(std::shared_ptr<SiteLink> link) : link_(std::move(link)) {}
  platform::CallResult<std::shared_ptr<platform::OutlookApplication>> Application() override;
  platform::CallStatus OnStatusChange() override;

 private:
  std::shared_ptr<SiteLink> link_;
};

class SiteContainer final : public platform::PageContainer {
 public:
  explicit SiteContainer(std::shared_ptr<SiteLink> link) : link_(std::move(link)) {}
  platform::CallResult<std::shared_ptr<platform::HostSite>> Parent() override;

 private:
  std::shared_ptr<SiteLink> link_;
};

}  // namespace quillon::win
