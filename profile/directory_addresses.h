// The user's directory (SMTP proxy) addresses cached in the profile.
#pragma once

#include <string_view>

#include "platform/registry_store.h"
#include "profile/profile_data.h"
#include "profile/profile_location.h"

namespace quillon::profile {

// Leaves data untouched when the profile section cannot be opened.
void LoadDirectoryAddresses(platform::RegistryStore& store, ProfileData& data,
                            const ProfileLocation& profile);
void FindPrimarySMTPAddress(ProfileData& data);

}  // namespace quillon::profile
