#include "profile/profile_location.h"

#include "platform/ansi.h"
#include "profile/profile_values.h"
#include "profile/registry_access.h"
#include "profile/scoped_key.h"

namespace quillon::profile {
namespace {

// Open-only, so that asking never leaves an empty key behind.
bool ProfileKeyExists(platform::RegistryStore& store, std::u16string_view profilesKey,
                      std::u16string_view profileName) {
  const ScopedKey key(
      store, OpenKey(store, platform::kCurrentUser, ProfileKeyPath({profilesKey, profileName})));
  return static_cast<bool>(key);
}

}  // namespace

std::u16string VersionedProfilesKey(std::int16_t outlookVersion) {
  return u"Software\\Microsoft\\Office\\" + platform::FromAnsi(std::to_string(outlookVersion)) +
         u".0\\Outlook\\Profiles";
}

std::u16string ChooseProfilesKey(platform::RegistryStore& store, std::int16_t outlookVersion,
                                 std::u16string_view profileName) {
  if (outlookVersion < kFirstVersionedProfilesOutlook) return std::u16string(sProfilesKey);
  std::u16string versioned = VersionedProfilesKey(outlookVersion);
  if (profileName.empty()) return versioned;
  if (ProfileKeyExists(store, versioned, profileName)) return versioned;
  // A profile that the running Outlook still keeps in the old place.
  if (ProfileKeyExists(store, sProfilesKey, profileName)) return std::u16string(sProfilesKey);
  return versioned;
}

}  // namespace quillon::profile
