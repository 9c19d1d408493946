#include "profile/profile_values.h"

#include "platform/text.h"
#include "profile/registry_access.h"

namespace quillon::profile {
namespace {

constexpr std::u16string_view kReplyAddressFormatValue = u"replyaddressformat";
constexpr std::u16string_view kMonitoredFoldersValue = u"monitoredfolders";

std::u16string LoadPageValue(platform::RegistryStore& store, std::u16string_view profileName,
                             std::u16string_view valueName) {
  return BytesToText(ReadBinaryValue(store, ProfileKeyPath(profileName), valueName));
}

// Stored as UTF-16LE of the text without surrounding blanks, then one NUL unit.
void SavePageValue(platform::RegistryStore& store, std::u16string_view profileName,
                   std::u16string_view valueName, std::u16string_view text) {
  if (profileName.empty()) return;
  std::u16string stored = text::TrimSpaces(text);
  stored.push_back(u'\0');
  WriteBinaryValue(store, ProfileKeyPath(profileName), valueName, TextToBytes(stored));
}

}  // namespace

std::u16string ProfileKeyPath(std::u16string_view profileName) {
  std::u16string path(sProfilesKey);
  path += u'\\';
  path += profileName;
  return path;
}

std::u16string AccountsKeyPath(std::u16string_view profileName) {
  return ProfileKeyPath(profileName) + u'\\' + std::u16string(kAccountsSubKey);
}

std::u16string DirectorySectionKeyPath(std::u16string_view profileName) {
  return ProfileKeyPath(profileName) + u'\\' + std::u16string(kDirectorySectionSubKey);
}

void LoadReplyAddressFormat(platform::RegistryStore& store, ProfileData& data,
                            std::u16string_view profileName) {
  data.sReplyAddressFormat.clear();
  if (profileName.empty()) return;
  data.sReplyAddressFormat = LoadPageValue(store, profileName, kReplyAddressFormatValue);
}

void SaveReplyAddressFormat(platform::RegistryStore& store, std::u16string_view profileName,
                            std::u16string_view formatText) {
  SavePageValue(store, profileName, kReplyAddressFormatValue, formatText);
}

void LoadMonitoredFolders(platform::RegistryStore& store, ProfileData& data,
                          std::u16string_view profileName) {
  if (profileName.empty()) return;
  data.sMonitoredFolders = LoadPageValue(store, profileName, kMonitoredFoldersValue);
}

void SaveMonitoredFolders(platform::RegistryStore& store, std::u16string_view profileName,
                          std::u16string_view folderText) {
  SavePageValue(store, profileName, kMonitoredFoldersValue, folderText);
}

}  // namespace quillon::profile
