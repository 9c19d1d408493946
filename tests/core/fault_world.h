// The sweep world on the store under test: natively the in-memory registry, in
// the Windows build the real one, behind a wrapper that fails chosen calls.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "testing/fault_injecting_registry_store.h"
#include "testing/page_rig.h"

namespace quillon::testing {

// The sweep world on the store under test: the rig's `faults` wraps the world's
// own in-memory registry natively, the real registry in the Windows build. On
// the real registry the world's trees are installed there first and mirrored
// back into `registry` by Reflect, so every check and image reads one kind of store.
class FaultWorld : public SweepWorld {
 public:
  explicit FaultWorld(std::u16string outlookVersion = u"11.0.0.8010",
                      std::u16string_view profilesKey = profile::sProfilesKey);
  ~FaultWorld();

  bool OnRealRegistry() const { return real != nullptr; }
  // Makes `registry` show what the page left in the store it ran on.
  void Reflect();

 private:
  std::vector<std::pair<platform::HKey, std::string>> WatchedTrees() const;

  std::unique_ptr<platform::RegistryStore> real;  // none: the in-memory registry
};

}  // namespace quillon::testing
