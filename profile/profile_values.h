// Where a profile lives, and the two page values stored in its key.
#pragma once

#include <string>
#include <string_view>

#include "platform/registry_store.h"
#include "profile/profile_data.h"

namespace quillon::profile {

inline constexpr std::u16string_view sProfilesKey =
    u"Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows Messaging Subsystem\\Profiles";
inline constexpr std::u16string_view kAccountsSubKey = u"9375CFF0413111d3B88A00104B2A6676";
inline constexpr std::u16string_view kDirectorySectionSubKey = u"13dbb0c8aa05101a9bb000aa002fc45a";

std::u16string ProfileKeyPath(std::u16string_view profileName);
std::u16string AccountsKeyPath(std::u16string_view profileName);  // sAccountsKey
std::u16string DirectorySectionKeyPath(std::u16string_view profileName);

void LoadReplyAddressFormat(platform::RegistryStore& store, ProfileData& data,
                            std::u16string_view profileName);
void SaveReplyAddressFormat(platform::RegistryStore& store, std::u16string_view profileName,
                            std::u16string_view formatText);
void LoadMonitoredFolders(platform::RegistryStore& store, ProfileData& data,
                          std::u16string_view profileName);
void SaveMonitoredFolders(platform::RegistryStore& store, std::u16string_view profileName,
                          std::u16string_view folderText);

}  // namespace quillon::profile
