// One ActiveX control hosted in place, created and torn down the way Outlook's
// Options dialog does it, with Outlook's PropertyPage reached through its vtable.
#pragma once

#include <optional>
#include <string>

#include "standin/com_support.h"
#include "win/common/outlook_interfaces.h"

namespace quillon::standin {

enum class CreationOrder {
  kFromMiscStatus,     // OLEMISC_SETCLIENTSITEFIRST decides
  kSetClientSiteFirst,
  kInitNewFirst,
};

class HostedControl {
 public:
  HostedControl() = default;
  HostedControl(const HostedControl&) = delete;
  HostedControl& operator=(const HostedControl&) = delete;
  ~HostedControl() { Destroy(); }

  // Creates the control by ProgID, sites and initialises it, activates it in place
  // in `parent` at `rect`. A failure leaves nothing created; `step` names what failed.
  HRESULT Create(const std::wstring& progId, IOleClientSite* site, CreationOrder order, HWND parent,
                 const RECT& rect, std::string& step);
  // The same for a control already made (by its class factory, or in process by its class).
  HRESULT Create(ComPtr<IOleObject> object, IOleClientSite* site, CreationOrder order, HWND parent,
                 const RECT& rect, std::string& step);
  bool IsCreated() const { return static_cast<bool>(object_); }
  bool SiteWasSetFirst() const { return siteFirst_; }
  DWORD MiscStatus() const { return miscStatus_; }
  bool HasPropertyPage() const { return static_cast<bool>(page_); }
  IOleObject* Object() const { return object_.get(); }

  // New place for the page: SetExtent (HIMETRIC) and SetObjectRects.
  void Move(HWND parent, const RECT& rect);
  // PropertyPage through its vtable; none when the control has no PropertyPage or the call fails.
  std::optional<bool> Dirty();
  HRESULT Apply();
  // Lets the control see keystrokes meant for it (S_OK = it used the message).
  bool TranslateAccelerator(MSG& msg);
  void SetActiveObject(IOleInPlaceActiveObject* active) { active_ = ComPtr<IOleInPlaceActiveObject>::Share(active); }
  HWND Window() const;

  // Deactivates, closes, unsites and releases the control. Returns the reference
  // count the last Release reported (0 = the control is destroyed), none if nothing was hosted.
  std::optional<ULONG> Destroy();

 private:
  ComPtr<IOleObject> object_;
  ComPtr<IOleInPlaceObject> inPlace_;
  ComPtr<IOleInPlaceActiveObject> active_;
  ComPtr<win::PropertyPage> page_;
  DWORD miscStatus_ = 0;
  bool siteFirst_ = false;
};

}  // namespace quillon::standin
