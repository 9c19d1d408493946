// The profile data that the profile store leaves in module state.
//
// One instance lives inside the library's module state (profile/module_state.h) and
// is shared by every page instance; the store's operations read and write it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quillon::profile {

struct ProfileData {
  // Page values of the profile key, as BytesToText of the stored bytes (the
  // final NUL character included); "" when the value is missing.
  std::u16string sReplyAddressFormat;
  std::u16string sMonitoredFolders;

  // The identity accounts found by the latest LoadAccounts: one TAB-separated
  // item per account, item i of every list belonging to the same account.
  std::u16string sAccIdentities;
  std::u16string sAccIDs;
  std::u16string sAccEmails;
  std::u16string sAccDisplayNames;
  std::u16string sAccNames;
  std::u16string sAccNewSignatures;
  std::u16string sAccReplySignatures;

  // Key name of the profile's Exchange account ("" when the latest load found none).
  std::u16string sExchangeID;

  // SMTP proxy addresses cached in the profile, with their prefixes, in reverse
  // stored order; bounds are 0 and size() - 1.
  std::vector<std::u16string> vDirAddresses;
  std::u16string sPrimarySMTP;

  // Outlook's user interface is Spanish: the Exchange account's default name is then Spanish.
  bool bSpanishUI = false;
};

}  // namespace quillon::profile
