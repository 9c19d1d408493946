#include "profile/directory_addresses.h"

#include "platform/text.h"
#include "profile/profile_values.h"
#include "profile/registry_access.h"
#include "profile/scoped_key.h"

namespace quillon::profile {

void LoadDirectoryAddresses(platform::RegistryStore& store, ProfileData& data,
                            const ProfileLocation& profile) {
  if (profile.name.empty()) return;  // names no profile: nothing changes
  ScopedKey key(store, OpenKey(store, platform::kCurrentUser, DirectorySectionKeyPath(profile)));
  if (!key) return;
  std::u16string text = ReadValueText(store, key.get(), u"101f6637", ValueTextMode::kSmtpAddresses);
  if (text.empty()) text = ReadValueText(store, key.get(), u"101e6637", ValueTextMode::kSmtpAddresses);
  key.reset();
  data.vDirAddresses = text::SplitAt(text, u'\t');
  FindPrimarySMTPAddress(data);
}

void FindPrimarySMTPAddress(ProfileData& data) {
  constexpr std::u16string_view kPrimaryPrefix = u"SMTP:";
  data.sPrimarySMTP.clear();
  // The array is in reverse stored order: the first primary entry stored wins.
  for (const std::u16string& address : data.vDirAddresses) {
    if (address.starts_with(kPrimaryPrefix)) {
      data.sPrimarySMTP = text::TrimSpaces(std::u16string_view(address).substr(kPrimaryPrefix.size()));
    }
  }
}

}  // namespace quillon::profile
