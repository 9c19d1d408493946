// The key paths of a profile, and the two page values stored in its key.
#pragma once

#include <string>
#include <string_view>

#include "platform/registry_store.h"
#include "profile/profile_data.h"
#include "profile/profile_location.h"

namespace quillon::profile {

inline constexpr std::u16string_view kAccountsSubKey = u"9375CFF0413111d3B88A00104B2A6676";
inline constexpr std::u16string_view kDirectorySectionSubKey = u"13dbb0c8aa05101a9bb000aa002fc45a";

std::u16string ProfileKeyPath(const ProfileLocation& profile);
std::u16string AccountsKeyPath(const ProfileLocation& profile);  // sAccountsKey
std::u16string DirectorySectionKeyPath(const ProfileLocation& profile);

void LoadReplyAddressFormat(platform::RegistryStore& store, ProfileData& data,
                            const ProfileLocation& profile);
void SaveReplyAddressFormat(platform::RegistryStore& store, const ProfileLocation& profile,
                            std::u16string_view formatText);
void LoadMonitoredFolders(platform::RegistryStore& store, ProfileData& data,
                          const ProfileLocation& profile);
void SaveMonitoredFolders(platform::RegistryStore& store, const ProfileLocation& profile,
                          std::u16string_view folderText);

}  // namespace quillon::profile
