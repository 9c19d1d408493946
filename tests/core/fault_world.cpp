#include "tests/core/fault_world.h"

#include "platform/ansi.h"
#include "profile/account_store.h"
#include "profile/profile_location.h"
#include "profile/profile_values.h"
#include "tests/core/store_under_test.h"

namespace quillon::testing {

using platform::ToAnsi;

FaultWorld::FaultWorld(std::u16string outlookVersion, std::u16string_view profilesKey)
    : SweepWorld(std::move(outlookVersion), profilesKey), real(MakeStoreUnderTest()) {
  if (InMemoryStoreOrNull(*real)) real.reset();
  if (!real) return;
  faults.Wrap(*real);
  for (const auto& [root, path] : WatchedTrees()) CopyTree(registry, *real, root, path);
  // What a sweep seeds later must reach the store the page reads.
  MirrorWritesInto([this](const std::string& path, std::string_view name, std::uint32_t type,
                      const Bytes& bytes) {
    SeedValue(*real, platform::kCurrentUser, path, name, type, bytes);
  });
}

FaultWorld::~FaultWorld() {
  if (!real) return;
  for (const auto& [root, path] : WatchedTrees()) RemoveKeyTree(*real, root, path);
}

// Every tree a world or a sweep may write: the account class and all profiles,
// in the old place and where Outlook 2013 and later keep them.
std::vector<std::pair<platform::HKey, std::string>> FaultWorld::WatchedTrees() const {
  return {{platform::kClassesRoot, "CLSID\\" + ToAnsi(profile::kIdentityAccountClsid)},
          {platform::kCurrentUser, ToAnsi(profile::sProfilesKey)},
          {platform::kCurrentUser, ToAnsi(profile::VersionedProfilesKey(15))},
          {platform::kCurrentUser, ToAnsi(profile::VersionedProfilesKey(16))}};
}

void FaultWorld::Reflect() {
  if (!real) return;
  for (const auto& [root, path] : WatchedTrees()) CopyTree(*real, registry, root, path);
}

}  // namespace quillon::testing
