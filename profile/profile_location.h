// Which profiles key holds the mail profile the page works on.
//
// Outlook 97 to 2010 keep their profiles under one fixed key; Outlook 2013 and
// later under a key of their own version. The load decides once which of them
// holds sPN's profile; every profile operation builds its paths from that choice.
#pragma once

#include <concepts>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/registry_store.h"

namespace quillon::profile {

// The profiles key of Outlook 97 to 2010, below HKEY_CURRENT_USER.
inline constexpr std::u16string_view sProfilesKey =
    u"Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows Messaging Subsystem\\Profiles";

// The first major version that keeps its profiles under its own Office key.
inline constexpr std::int16_t kFirstVersionedProfilesOutlook = 15;

// One profile: the profiles key that holds it, and its name exactly as sPN has it.
struct ProfileLocation {
  // A name alone is a profile under the fixed key.
  template <class Name>
    requires std::convertible_to<const Name&, std::u16string_view>
  ProfileLocation(const Name& profileName)  // NOLINT(google-explicit-constructor)
      : profilesKey(sProfilesKey), name(std::u16string_view(profileName)) {}
  ProfileLocation(std::u16string_view profiles, std::u16string_view profileName)
      : profilesKey(profiles), name(profileName) {}

  std::u16string profilesKey;
  std::u16string name;
};

// "Software\Microsoft\Office\<version>.0\Outlook\Profiles".
std::u16string VersionedProfilesKey(std::int16_t outlookVersion);

// Below 15 (0, an unknown version, included): the fixed key. From 15 on: the
// versioned key when the profile exists there, else the fixed key when it exists
// there, else the versioned key. Only opens keys; a failing open counts as a
// missing key. An empty name is never probed.
std::u16string ChooseProfilesKey(platform::RegistryStore& store, std::int16_t outlookVersion,
                                 std::u16string_view profileName);

}  // namespace quillon::profile
