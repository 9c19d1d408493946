// The registry access layer: conversions, the value decoders, the writers and
// the key-tree deletion.
#include <algorithm>
#include <string>
#include <tuple>

#include <gtest/gtest.h>

#include "profile/registry_access.h"
#include "tests/core/profile_test_support.h"

namespace quillon::testing {
namespace {

using namespace platform;
using namespace profile;

TEST(ProfileTextConversion, BytesBecomeUtf16LittleEndianTextWithALoneOddByteDropped) {
  const std::pair<Bytes, std::u16string> cases[] = {
      {{}, u""},
      {{0x41}, u""},
      {{0x41, 0x00, 0x42}, u"A"},
      {{0x41, 0x00, 0x00, 0x00}, std::u16string(u"A\0", 2)},
      {{0xAC, 0x20, 0x3D, 0xD8, 0x00, 0xDE}, u"\u20AC\U0001F600"},
  };
  for (const auto& [bytes, text] : cases) EXPECT_EQ(BytesToText(bytes), text);
}

constexpr ValueTextMode kOneText = ValueTextMode::kSingleText;
constexpr ValueTextMode kSmtp = ValueTextMode::kSmtpAddresses;

class ProfileRegistryAccess : public ProfileStoreTest {
 protected:
  std::u16string Decode(std::string_view name, const Bytes& bytes, ValueTextMode mode) {
    PutValue(ProfileKey(), name, bytes);
    HKey key = OpenKey(*store_, kCurrentUser, FromAnsi(ProfileKey()));
    std::u16string text = ReadValueText(*store_, key, FromAnsi(name), mode);
    EXPECT_EQ(store_->CloseKey(key), kErrorSuccess);
    return text;
  }
};

TEST_F(ProfileRegistryAccess, ReadValueTextDecodesEveryLayoutWithoutLeavingTheValue) {
  std::u16string longText(40000, u'x');
  longText.back() = u'y';
  const std::u16string longAddress = u"SMTP:" + std::u16string(20000, u'a') + u"@example.com";
  const std::vector<std::u16string> mailbox{u"SMTP:pat@example.com", u"smtp:pat@sales.example.com",
                                            u"X400:c=US;a= ;p=Example;o=Sales;s=Pat;"};
  const std::u16string smtpOnly = u"smtp:pat@sales.example.com\tSMTP:pat@example.com";
  const std::vector<std::u16string> far{u"SMTP:far@example.com"};
  // An offset of 300 read by its low byte only would find this decoy at 44.
  const auto farWithDecoy = [&far](bool eightBit) {
    Bytes bytes = MultiValued(far, eightBit, 300);
    std::ranges::copy(eightBit ? AsBytes("SMTP:decoy") : StoredUtf16(u"SMTP:decoy"), bytes.begin() + 44);
    return bytes;
  };
  // The value's name, how it is read, its bytes and the text read.
  const std::tuple<const char*, ValueTextMode, Bytes, std::u16string> cases[] = {
      {"Display Name", kOneText, StoredUtf16(u"abc"), u"abc"},
      {"Display Name", kOneText, TextToBytes(u"abc"), u"abc"},   // no final NUL
      {"Display Name", kOneText, {'a', 0, 'b', 0, 'c'}, u"abc"},  // odd size: the extra zero completes it
      {"Display Name", kOneText, StoredUtf16(std::u16string(u"ab\0cd", 5)), u"ab"},
      {"Display Name", kOneText, StoredUtf16(longText), longText},  // no 16-bit size limit
      {"Display Name", kOneText, {}, std::u16string(kNotDefined)},
      {"101e6637", kOneText, AsBytes(std::string_view("abc\0def", 7)), u"abc"},  // 8-bit by its name
      {"101E6637", kOneText, AsBytes("\x80uro"), u"\u20ACuro"},  // no NUL, code page text
      {"101f6637", kOneText, StoredUtf16(u"wide"), u"wide"},
      {"ab", kOneText, StoredUtf16(u"short name"), u"short name"},
      // One text is one text, whatever it looks like.
      {"101f6637", kOneText, StoredUtf16(u"SMTP:a@x.com"), u"SMTP:a@x.com"},
      // SMTP entries only, last stored first, from both layouts.
      {"101f6637", kSmtp, MultiValued(mailbox, false), smtpOnly},
      {"101e6637", kSmtp, MultiValued(mailbox, true), smtpOnly},
      {"101f6637", kSmtp, MultiValued({longAddress}, false), longAddress},
      // Blanks around entries go; empty entries and TABs inside entries do not split.
      {"101f6637", kSmtp, MultiValued({u"  SMTP:a@x.com ", u"   ", u"sMtP:b\tc@x.com"}, false),
       u"sMtP:b c@x.com\tSMTP:a@x.com"},
      {"101f6637", kSmtp, farWithDecoy(false), far[0]},
      {"101e6637", kSmtp, farWithDecoy(true), far[0]},
      {"101e6637", kSmtp, {}, std::u16string(kNotDefined)},
      {"101f6637", kSmtp, {1}, u""},
      {"101f6637", kSmtp, {1, 0, 0, 0, 8}, u""},
      {"101f6637", kSmtp, {1, 0, 0, 0, 8, 0, 0}, u""},
  };
  for (const auto& [name, mode, bytes, expected] : cases) {
    EXPECT_EQ(Decode(name, bytes, mode), expected)
        << name << " " << static_cast<int>(mode) << " " << bytes.size();
  }
  // A first offset at or past the end yields no items.
  const Bytes valid = MultiValued(far, false);
  const auto size = static_cast<std::uint32_t>(valid.size());
  for (std::uint32_t offset : {size, size + 1, 0xFFFFFFFFu}) {
    Bytes bytes = valid;
    std::ranges::copy(Dwords({offset}), bytes.begin() + 4);
    EXPECT_EQ(Decode("101f6637", bytes, kSmtp), u"") << offset;
    EXPECT_EQ(Decode("101e6637", bytes, kSmtp), u"") << offset;
  }
  HKey key = OpenKey(*store_, kCurrentUser, FromAnsi(ProfileKey()));
  for (ValueTextMode mode : {kOneText, kSmtp}) {
    EXPECT_EQ(ReadValueText(*store_, key, u"Missing", mode), u"");
    EXPECT_EQ(ReadValueText(*store_, kNoKey, u"101f6637", mode), u"");
  }
  EXPECT_EQ(store_->CloseKey(key), kErrorSuccess);
}

TEST_F(ProfileRegistryAccess, NumberAndStringReads) {
  const std::string key = ProfileKey();
  PutValue(key, "Negative", Dwords({0xFFFFFFFEu}), kRegDword);
  PutValue(key, "TwoBytes", {0x34, 0x12});
  PutValue(key, "TooLong", {1, 2, 3, 4, 5});
  PutValue(key, "Clsid", AsBytes("{ABC}"), kRegSz);
  PutValue(key, "Cut", AsBytes(std::string_view("ab\0cd", 5)), kRegSz);
  PutValue(key, "Fits", AsBytes(std::string(260, 'f')), kRegSz);
  PutValue(key, "Overlong", AsBytes(std::string(261, 'o')), kRegSz);
  HKey handle = OpenKey(*store_, kCurrentUser, FromAnsi(key));
  ASSERT_NE(handle, kNoKey);
  EXPECT_EQ(ReadDwordValue(*store_, handle, u"Negative"), -2);
  EXPECT_EQ(ReadDwordValue(*store_, handle, u"TwoBytes"), 0x1234);
  EXPECT_EQ(ReadDwordValue(*store_, handle, u"TooLong"), 0);
  EXPECT_EQ(ReadDwordValue(*store_, handle, u"Missing"), 0);
  EXPECT_EQ(ReadDwordValue(*store_, kNoKey, u"Negative"), 0);
  EXPECT_EQ(ReadStringValue(*store_, handle, u"Clsid"), u"{ABC}");
  EXPECT_EQ(ReadStringValue(*store_, handle, u"Cut"), u"ab");
  EXPECT_EQ(ReadStringValue(*store_, handle, u"Fits"), std::u16string(260, u'f'));
  EXPECT_EQ(ReadStringValue(*store_, handle, u"Overlong"), u"");
  EXPECT_EQ(ReadStringValue(*store_, handle, u"Missing"), u"");
  EXPECT_EQ(ReadStringValue(*store_, kNoKey, u"Clsid"), u"");
  EXPECT_EQ(store_->CloseKey(handle), kErrorSuccess);
  EXPECT_EQ(OpenKey(*store_, kCurrentUser, FromAnsi(key + "\\Missing")), kNoKey);
}

TEST_F(ProfileRegistryAccess, TypedValuesAreWrittenExactly) {
  HKey key = kNoKey;
  ASSERT_EQ(store_->CreateKey(kCurrentUser, ProfileKey(), key), kErrorSuccess);
  EXPECT_EQ(SetTypedValue(*store_, key, u"AsText", kRegSz, std::int32_t{-42}), kErrorSuccess);
  EXPECT_EQ(SetTypedValue(*store_, key, u"Dword", kRegDword, std::int32_t{0x0102}), kErrorSuccess);
  EXPECT_EQ(SetTypedValue(*store_, key, u"DwordText", kRegDword, std::u16string(u" 12 ")),
            kErrorSuccess);
  EXPECT_NE(SetTypedValue(*store_, key, u"NotANumber", kRegDword, std::u16string(u"1x")),
            kErrorSuccess);
  EXPECT_EQ(SetTypedValue(*store_, key, u"Binary", kRegBinary, std::u16string(u"x")), kErrorSuccess);
  EXPECT_EQ(store_->CloseKey(key), kErrorSuccess);

  EXPECT_EQ(Value(ProfileKey(), "Dword"), (StoredValue{kRegDword, {2, 1, 0, 0}}));
  EXPECT_EQ(Value(ProfileKey(), "DwordText"), (StoredValue{kRegDword, {12, 0, 0, 0}}));
  EXPECT_FALSE(Value(ProfileKey(), "NotANumber"));
  EXPECT_FALSE(Value(ProfileKey(), "Binary")) << "only REG_SZ and REG_DWORD are written";
  EXPECT_EQ(Value(ProfileKey(), "AsText")->bytes.at(0), '-');

  // One leading backslash is stripped; true says only that a key name was given.
  const std::string created = ProfileKey() + "\\Created";
  EXPECT_TRUE(CreateKeyAndSetValue(*store_, kCurrentUser, FromAnsi("\\" + created), u"n",
                                   std::int32_t{5}, kRegDword));
  EXPECT_EQ(Value(created, "n"), (StoredValue{kRegDword, {5, 0, 0, 0}}));
  EXPECT_TRUE(CreateKeyAndSetValue(*store_, kCurrentUser, FromAnsi(created + "\\Deeper"), u"n",
                                   std::int32_t{1}, kRegBinary));
  EXPECT_TRUE(KeyExistsIn(*store_, kCurrentUser, created + "\\Deeper"));
}

TEST_F(ProfileRegistryAccess, KeyTreesGoWithEverythingBelowThemAndNothingBeside) {
  const std::string first = ProfileKey() + "\\First";
  for (std::string_view below : {"\\Second\\a\\b\\c", "\\Second\\a\\d", "\\Second\\e", "\\Second2",
                                 "\\Parent\\z", "\\Parent\\A\\deep\\deeper", "\\Parent\\m"}) {
    PutValue(first + std::string(below), "v", {1});
  }
  PutValue(first, "kept", {2});
  PutValue(first + "\\Parent", "kept", {3});
  DeleteKeyTree(*store_, kCurrentUser, FromAnsi(first + "\\Second\\"));
  DeleteSubKeys(*store_, kCurrentUser, FromAnsi(first + "\\Parent"));
  EXPECT_EQ(SubKeysOf(*store_, kCurrentUser, first), (std::vector<std::string>{"Parent", "Second2"}));
  EXPECT_TRUE(SubKeysOf(*store_, kCurrentUser, first + "\\Parent").empty());
  EXPECT_EQ(Value(first, "kept"), (StoredValue{kRegBinary, {2}}));
  EXPECT_EQ(Value(first + "\\Parent", "kept"), (StoredValue{kRegBinary, {3}}));
  // A key that does not exist: nothing happens, nothing is created.
  DeleteSubKeys(*store_, kCurrentUser, FromAnsi(first + "\\Missing"));
  DeleteKeyTree(*store_, kCurrentUser, FromAnsi(first + "\\Missing\\Child"));
  EXPECT_FALSE(KeyExistsIn(*store_, kCurrentUser, first + "\\Missing"));
}

}  // namespace
}  // namespace quillon::testing
