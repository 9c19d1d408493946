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

TEST_F(ProfilePageValues, SavedTextsAreTrimmedUtf16WithOneFinalNul) {
  const struct {
    std::u16string text;
    Bytes bytes;
  } formats[] = {
      {u"1", {0x31, 0x00, 0x00, 0x00}},
      {u"  2 ", {0x32, 0x00, 0x00, 0x00}},
      {u"", {0x00, 0x00}},
  };
  for (const auto& entry : formats) {
    SaveReplyAddressFormat(*store_, profile_, entry.text);
    EXPECT_EQ(Value(ProfileKey(), "replyaddressformat"), (StoredValue{kRegBinary, entry.bytes}));
  }
  // Only blanks are trimmed: the TAB after the last folder stays.
  SaveMonitoredFolders(*store_, profile_, u" E1\tE2\t ");
  EXPECT_EQ(Value(ProfileKey(), "monitoredfolders"),
            (StoredValue{kRegBinary, {'E', 0, '1', 0, '\t', 0, 'E', 0, '2', 0, '\t', 0, 0, 0}}));
}

TEST_F(ProfilePageValues, LoadingGivesTheStoredTextWithItsFinalNul) {
  SaveReplyAddressFormat(*store_, profile_, u"2");
  SaveMonitoredFolders(*store_, profile_, u"");
  LoadReplyAddressFormat(*store_, data_, profile_);
  LoadMonitoredFolders(*store_, data_, profile_);
  EXPECT_EQ(data_.sReplyAddressFormat, std::u16string(u"2\0", 2));
  EXPECT_EQ(data_.sMonitoredFolders, std::u16string(u"\0", 1));
}

TEST_F(ProfilePageValues, LoadingAMissingValueGivesEmptyAndLeavesAnEmptyProfileKey) {
  data_.sReplyAddressFormat = u"old";
  data_.sMonitoredFolders = u"old";
  LoadReplyAddressFormat(*store_, data_, profile_);
  LoadMonitoredFolders(*store_, data_, profile_);
  EXPECT_EQ(data_.sReplyAddressFormat, u"");
  EXPECT_EQ(data_.sMonitoredFolders, u"");
  EXPECT_TRUE(KeyExistsIn(*store_, kCurrentUser, ProfileKey()));
}

TEST_F(ProfilePageValues, AnEmptyProfileNameReadsAndWritesNothing) {
  SKIP_UNLESS_IN_MEMORY();
  data_.sReplyAddressFormat = u"1";
  data_.sMonitoredFolders = u"kept";
  memory_->ClearCalls();
  LoadReplyAddressFormat(*store_, data_, u"");
  LoadMonitoredFolders(*store_, data_, u"");
  SaveReplyAddressFormat(*store_, u"", u"1");
  SaveMonitoredFolders(*store_, u"", u"E1\t");
  EXPECT_EQ(data_.sReplyAddressFormat, u"");
  EXPECT_EQ(data_.sMonitoredFolders, u"kept");
  EXPECT_TRUE(memory_->Calls().empty());
}

using ProfileDirectoryAddresses = ProfileStoreTest;

// The multi-valued layout with the strings right after the offsets.
Bytes AddressList(const std::vector<std::u16string>& items, bool eightBit) {
  Bytes bytes = LittleEndianList({static_cast<std::uint32_t>(items.size())});
  std::uint32_t offset = 4 + 4 * static_cast<std::uint32_t>(items.size());
  Bytes strings;
  for (const std::u16string& item : items) {
    const Bytes entry = LittleEndianList({offset + static_cast<std::uint32_t>(strings.size())});
    bytes.insert(bytes.end(), entry.begin(), entry.end());
    const Bytes text = eightBit ? AsBytes(ToAnsi(item) + '\0') : StoredText(item);
    strings.insert(strings.end(), text.begin(), text.end());
  }
  bytes.insert(bytes.end(), strings.begin(), strings.end());
  return bytes;
}

const std::vector<std::u16string> kMailbox{u"smtp:pat@old.example.com", u"SMTP:pat@example.com",
                                           u"X400:c=US;a= ;p=Example;s=Pat;",
                                           u"smtp:pat@sales.example.com"};

TEST_F(ProfileDirectoryAddresses, AddressesComeInReverseStoredOrderWithThePrimaryFound) {
  for (bool eightBit : {false, true}) {
    RemoveKeyTree(*store_, kCurrentUser, DirectoryKey());
    SeedValue(*store_, kCurrentUser, DirectoryKey(), eightBit ? "101e6637" : "101f6637",
              kRegBinary, AddressList(kMailbox, eightBit));
    LoadDirectoryAddresses(*store_, data_, profile_);
    EXPECT_EQ(data_.vDirAddresses,
              (std::vector<std::u16string>{u"smtp:pat@sales.example.com", u"SMTP:pat@example.com",
                                           u"smtp:pat@old.example.com"}))
        << eightBit;
    EXPECT_EQ(data_.sPrimarySMTP, u"pat@example.com");
  }
}

TEST_F(ProfileDirectoryAddresses, ThePrimaryAddressIsTheFirstStoredUpperCaseEntry) {
  const struct {
    std::vector<std::u16string> stored;
    std::u16string primary;
  } cases[] = {
      {{u"smtp:a@x.com", u"smtp:b@x.com"}, u""},
      {{u"SMTP:   spaced@x.com  "}, u"spaced@x.com"},
      {{u"SMTP:first@x.com", u"SMTP:second@x.com"}, u"first@x.com"},
      {{u"Smtp:mixed@x.com"}, u""},
  };
  for (const auto& entry : cases) {
    SeedValue(*store_, kCurrentUser, DirectoryKey(), "101f6637", kRegBinary,
              AddressList(entry.stored, false));
    LoadDirectoryAddresses(*store_, data_, profile_);
    EXPECT_EQ(data_.sPrimarySMTP, entry.primary) << ToAnsi(entry.stored.front());
  }
}

TEST_F(ProfileDirectoryAddresses, MissingAndEmptyValues) {
  SeedValue(*store_, kCurrentUser, DirectoryKey(), "unrelated", kRegBinary, {1});
  data_.vDirAddresses = {u"SMTP:old@x.com"};
  LoadDirectoryAddresses(*store_, data_, profile_);
  EXPECT_TRUE(data_.vDirAddresses.empty());
  EXPECT_EQ(data_.sPrimarySMTP, u"");

  // An empty 101F value stands for itself; 101E is then not consulted.
  SeedValue(*store_, kCurrentUser, DirectoryKey(), "101f6637", kRegBinary, {});
  SeedValue(*store_, kCurrentUser, DirectoryKey(), "101e6637", kRegBinary,
            AddressList({u"SMTP:a@x.com"}, true));
  LoadDirectoryAddresses(*store_, data_, profile_);
  EXPECT_EQ(data_.vDirAddresses, std::vector<std::u16string>{std::u16string(kNotDefined)});
  EXPECT_EQ(data_.sPrimarySMTP, u"");
}

TEST_F(ProfileDirectoryAddresses, AProfileWithoutSectionLeavesTheEarlierAddresses) {
  SeedValue(*store_, kCurrentUser, DirectoryKey(), "101f6637", kRegBinary,
            AddressList(kMailbox, false));
  LoadDirectoryAddresses(*store_, data_, profile_);
  const profile::ProfileData loaded = data_;
  LoadDirectoryAddresses(*store_, data_, profile_ + u" without section");
  LoadDirectoryAddresses(*store_, data_, u"");
  EXPECT_EQ(data_.vDirAddresses, loaded.vDirAddresses);
  EXPECT_EQ(data_.sPrimarySMTP, u"pat@example.com");
  EXPECT_FALSE(KeyExistsIn(*store_, kCurrentUser, ToAnsi(ProfileKeyPath(profile_ + u" without section"))))
      << "reading opens, never creates";
}

}  // namespace
}  // namespace quillon::testing
