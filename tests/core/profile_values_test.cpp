// The two page values of the profile key and the cached directory addresses.
#include <gtest/gtest.h>

#include "profile/directory_addresses.h"
#include "profile/profile_values.h"
#include "profile/registry_access.h"
#include "tests/core/profile_test_support.h"

namespace quillon::testing {
namespace {

using namespace platform;
using namespace profile;

using ProfilePageValues = ProfileStoreTest;

TEST_F(ProfilePageValues, TextsAreSavedTrimmedAsUtf16WithOneFinalNulAndLoadedWithIt) {
  // Missing: empty, and the profile key is left behind, empty.
  data_.sReplyAddressFormat = u"old";
  data_.sMonitoredFolders = u"old";
  LoadReplyAddressFormat(*store_, data_, profile_);
  LoadMonitoredFolders(*store_, data_, profile_);
  EXPECT_EQ(data_.sReplyAddressFormat, u"");
  EXPECT_EQ(data_.sMonitoredFolders, u"");
  EXPECT_TRUE(KeyExistsIn(*store_, kCurrentUser, ProfileKey()));

  const std::pair<std::u16string, Bytes> formats[] = {
      {u"1", {0x31, 0x00, 0x00, 0x00}},
      {u"", {0x00, 0x00}},
      {u"  2 ", {0x32, 0x00, 0x00, 0x00}},
  };
  for (const auto& [text, bytes] : formats) {
    SaveReplyAddressFormat(*store_, profile_, text);
    EXPECT_EQ(Value(ProfileKey(), "replyaddressformat"), (StoredValue{kRegBinary, bytes}));
  }
  // Only blanks are trimmed: the TAB after the last folder stays.
  SaveMonitoredFolders(*store_, profile_, u" E1\tE2\t ");
  EXPECT_EQ(Value(ProfileKey(), "monitoredfolders"),
            (StoredValue{kRegBinary, {'E', 0, '1', 0, '\t', 0, 'E', 0, '2', 0, '\t', 0, 0, 0}}));
  LoadReplyAddressFormat(*store_, data_, profile_);
  LoadMonitoredFolders(*store_, data_, profile_);
  EXPECT_EQ(data_.sReplyAddressFormat, std::u16string(u"2\0", 2));
  EXPECT_EQ(data_.sMonitoredFolders, std::u16string(u"E1\tE2\t\0", 7));
}

using ProfileDirectoryAddresses = ProfileStoreTest;

TEST_F(ProfileDirectoryAddresses, AddressesComeInReverseStoredOrderWithTheFirstUpperCaseOnePrimary) {
  const std::vector<std::u16string> mailbox{u"smtp:pat@old.example.com", u"SMTP:pat@example.com",
                                            u"X400:c=US;a= ;p=Example;s=Pat;",
                                            u"smtp:pat@sales.example.com"};
  // Without the UTF-16 copy the 8-bit one is read (both decode alike: ProfileRegistryAccess.ReadValueText...).
  PutValue(DirectoryKey(), "101e6637", MultiValued(mailbox, true));
  LoadDirectoryAddresses(*store_, data_, profile_);
  EXPECT_EQ(data_.vDirAddresses, (std::vector<std::u16string>{u"smtp:pat@sales.example.com", u"SMTP:pat@example.com",
                                                              u"smtp:pat@old.example.com"}));
  EXPECT_EQ(data_.sPrimarySMTP, u"pat@example.com");
  // A profile without the section leaves what was read before, and creates nothing.
  const std::u16string other = profile_ + u" without section";
  LoadDirectoryAddresses(*store_, data_, other);
  EXPECT_EQ(data_.vDirAddresses.size(), 3u);
  EXPECT_EQ(data_.sPrimarySMTP, u"pat@example.com");
  EXPECT_FALSE(KeyExistsIn(*store_, kCurrentUser, ToAnsi(ProfileKeyPath(other))));

  // The addresses stored and the primary one found.
  const std::pair<std::vector<std::u16string>, std::u16string> cases[] = {
      {{u"smtp:a@x.com", u"smtp:b@x.com"}, u""},
      {{u"SMTP:   spaced@x.com  "}, u"spaced@x.com"},
      {{u"SMTP:first@x.com", u"SMTP:second@x.com"}, u"first@x.com"},
      {{u"Smtp:mixed@x.com"}, u""},
  };
  for (const auto& [stored, primary] : cases) {
    PutValue(DirectoryKey(), "101f6637", MultiValued(stored, false));
    LoadDirectoryAddresses(*store_, data_, profile_);
    EXPECT_EQ(data_.sPrimarySMTP, primary) << ToAnsi(stored.front());
  }

  // A section without addresses clears them.
  RemoveKeyTree(*store_, kCurrentUser, DirectoryKey());
  PutValue(DirectoryKey(), "unrelated", {1});
  data_.sPrimarySMTP = u"old@x.com";
  LoadDirectoryAddresses(*store_, data_, profile_);
  EXPECT_TRUE(data_.vDirAddresses.empty());
  EXPECT_EQ(data_.sPrimarySMTP, u"");

  // An empty 101F value stands for itself; 101E is then not consulted.
  PutValue(DirectoryKey(), "101f6637", {});
  PutValue(DirectoryKey(), "101e6637", MultiValued({u"SMTP:a@x.com"}, true));
  LoadDirectoryAddresses(*store_, data_, profile_);
  EXPECT_EQ(data_.vDirAddresses, std::vector<std::u16string>{std::u16string(kNotDefined)});
  EXPECT_EQ(data_.sPrimarySMTP, u"");
}

}  // namespace
}  // namespace quillon::testing
