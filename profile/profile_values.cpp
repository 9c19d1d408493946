#include "profile/profile_values.h"

#include "platform/text.h"
#include "profile/registry_access.h"

namespace quillon::profile {
namespace {

constexpr std::u16string_view kReplyAddressFormatValue = u"replyaddressformat";
constexpr std::u16string_view kMonitoredFoldersValue = u"monitoredfolders";

std::u16string LoadPageValue(platform::RegistryStore& store, const ProfileLocation& profile,
                             std::u16string_view valueName) {
  return BytesToText(ReadBinaryValue(store, ProfileKeyPath(profile), valueName));
}

// Stored as UTF-16LE of the text without surrounding blanks, then one NUL unit.
void SavePageValue(platform::RegistryStore& store, const ProfileLocation& profile,
                   std::u16string_view valueName, std::u16string_view text) {
  if (profile.name.empty()) return;
  std::u16string stored = text::TrimSpaces(text);
  stored.push_back(u'\0');
  WriteBinaryValue(store, ProfileKeyPath(profile), valueName, TextToBytes(stored)).Ignore();
}

}  // namespace

std::u16string ProfileKeyPath(const ProfileLocation& profile) {
  std::u16string path(profile.profilesKey);
  path += u'\\';
  path += profile.name;
  return path;
}

std::u16string AccountsKeyPath(const ProfileLocation& profile) {
  return ProfileKeyPath(profile) + u'\\' + std::u16string(kAccountsSubKey);
}

std::u16string DirectorySectionKeyPath(const ProfileLocation& profile) {
  return ProfileKeyPath(profile) + u'\\' + std::u16string(kDirectorySectionSubKey);
}

void LoadReplyAddressFormat(platform::RegistryStore& store, ProfileData& data,
                            const ProfileLocation& profile) {
  data.sReplyAddressFormat.clear();
  if (profile.name.empty()) return;
  data.sReplyAddressFormat = LoadPageValue(store, profile, kReplyAddressFormatValue);
}

void SaveReplyAddressFormat(platform::RegistryStore& store, const ProfileLocation& profile,
                            std::u16string_view formatText) {
  SavePageValue(store, profile, kReplyAddressFormatValue, formatText);
}

void LoadMonitoredFolders(platform::RegistryStore& store, ProfileData& data,
                          const ProfileLocation& profile) {
  if (profile.name.empty()) return;
  data.sMonitoredFolders = LoadPageValue(store, profile, kMonitoredFoldersValue);
}

void SaveMonitoredFolders(platform::RegistryStore& store, const ProfileLocation& profile,
                          std::u16string_view folderText) {
  SavePageValue(store, profile, kMonitoredFoldersValue, folderText);
}

}  // namespace quillon::profile
