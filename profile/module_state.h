// The state one loaded library shares between all of its page instances.
//
// Created once by whoever loads the library (the COM module, or a test) and
// never reset when a page goes away: a later page sees what an earlier one
// left, which the restart flags rely on.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/diagnostics.h"
#include "platform/outlook.h"
#include "platform/registry_store.h"
#include "profile/profile_data.h"
#include "profile/profile_location.h"

namespace quillon {

struct ModuleState : profile::ProfileData {
  explicit ModuleState(platform::RegistryStore& store,
                       platform::DiagnosticsSink& sink = platform::NullDiagnostics())
      : registry(store), diagnostics(sink) {}

  // The registry the profile store reads and writes.
  platform::RegistryStore& registry;
  // Hears of every failure a step of the page goes on without.
  platform::DiagnosticsSink& diagnostics;

  // Host values.
  std::shared_ptr<platform::OutlookApplication> oApp;
  std::shared_ptr<platform::OutlookNamespace> oNS;
  std::u16string sUN;
  std::u16string sPN;
  // The profiles key that holds sPN's profile, decided by each load.
  std::u16string profilesKey{profile::sProfilesKey};
  std::u16string sSMBXs;
  std::int16_t iOutlookVersion = 0;
  std::u16string sDefStoreID;
  std::u16string sDefRootID;
  std::int32_t lUILanguage = 0;
  bool bRestart = false;
  bool bReread = false;

  // sPN's profile where the load found it: what every profile operation is given.
  profile::ProfileLocation Profile() const { return {profilesKey, sPN}; }

  // The account strings of ProfileData split on TAB; element i of each is one account.
  std::vector<std::u16string> vAccIdentities;
  std::vector<std::u16string> vAccIDs;
  std::vector<std::u16string> vAccEmails;
  std::vector<std::u16string> vAccDisplayNames;
  std::vector<std::u16string> vAccNames;
  std::vector<std::u16string> vAccNewSignatures;
  std::vector<std::u16string> vAccReplySignatures;
  std::vector<std::u16string> vMonitoredFolders;

  // Bounds of the array walked last (the arrays start at 0; empty gives 0, -1).
  std::int16_t iLBound = 0;
  std::int16_t iUBound = 0;
  void SetBoundsOf(const std::vector<std::u16string>& items) {
    iLBound = 0;
    iUBound = static_cast<std::int16_t>(static_cast<int>(items.size()) - 1);
  }
};

}  // namespace quillon
