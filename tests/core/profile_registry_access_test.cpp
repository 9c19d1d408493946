// The registry access layer: conversions, the value decoders, the writers and
// the key-tree deletion.
#include <string>

#include <gtest/gtest.h>

#include "profile/registry_access.h"
#include "tests/core/profile_test_support.h"

namespace quillon::testing {
namespace {

using namespace platform;
using namespace profile;

TEST(ProfileTextConversion, BytesAndTextConvertAsUtf16LittleEndian) {
  EXPECT_EQ(TextToBytes(u"A\u20AC"), (Bytes{0x41, 0x00, 0xAC, 0x20}));
  EXPECT_EQ(TextToBytes(u""), Bytes{});
  const struct {
    Bytes bytes;
    std::u16string text;
  } cases[] = {
      {{}, u""},
      {{0x41}, u""},  // a lone odd byte is dropped
      {{0x41, 0x00, 0x42}, u"A"},
      {{0x41, 0x00, 0x00, 0x00}, std::u16string(u"A\0", 2)},
      {{0xAC, 0x20, 0x3D, 0xD8, 0x00, 0xDE}, u"\u20AC\U0001F600"},
  };
  for (const auto& entry : cases) EXPECT_EQ(BytesToText(entry.bytes), entry.text);
}

TEST(ProfileTextConversion, TrimAtNullKeepsWhatPrecedesTheFirstNul) {
  EXPECT_EQ(TrimAtNull(u"no nul here"), u"no nul here");
  EXPECT_EQ(TrimAtNull(std::u16string(u"ab\0cd\0", 6)), u"ab");
  EXPECT_EQ(TrimAtNull(std::u16string(u"\0x", 2)), u"");
  EXPECT_EQ(TrimAtNull(u""), u"");
}

// Multi-valued property data: a count, one offset per string, then the strings.
// `firstOffset` past the offsets table leaves padding before the strings.
Bytes MultiValued(const std::vector<std::u16string>& items, bool eightBit,
                  std::uint32_t firstOffset = 0) {
  const std::uint32_t table = 4 + 4 * static_cast<std::uint32_t>(items.size());
  if (firstOffset == 0) firstOffset = table;
  Bytes strings;
  std::vector<std::uint32_t> offsets;
  for (const std::u16string& item : items) {
    offsets.push_back(firstOffset + static_cast<std::uint32_t>(strings.size()));
    const Bytes encoded = eightBit ? AsBytes(ToAnsi(item) + '\0') : StoredText(item);
    strings.insert(strings.end(), encoded.begin(), encoded.end());
  }
  Bytes bytes = LittleEndianList({static_cast<std::uint32_t>(items.size())});
  for (std::uint32_t offset : offsets) {
    const Bytes entry = LittleEndianList({offset});
    bytes.insert(bytes.end(), entry.begin(), entry.end());
  }
  bytes.resize(firstOffset, 0);
  bytes.insert(bytes.end(), strings.begin(), strings.end());
  return bytes;
}

class ProfileRegistryAccess : public ProfileStoreTest {
 protected:
  std::u16string Decode(std::string_view name, const Bytes& bytes, std::u16string_view mode,
                        std::uint32_t type = kRegBinary) {
    SeedValue(*store_, kCurrentUser, ProfileKey(), name, type, bytes);
    HKey key = OpenKey(*store_, kCurrentUser, FromAnsi(ProfileKey()));
    std::u16string text = ReadValueText(*store_, key, FromAnsi(name), mode);
    store_->CloseKey(key);
    return text;
  }
};

TEST_F(ProfileRegistryAccess, ReadValueTextDecodesSingleTexts) {
  const struct {
    const char* name;
    Bytes bytes;
    std::u16string expected;
  } cases[] = {
      {"Display Name", StoredText(u"abc"), u"abc"},
      {"Display Name", TextToBytes(u"abc"), u"abc"},         // no final NUL
      {"Display Name", {'a', 0, 'b', 0, 'c'}, u"abc"},        // odd size: the extra zero completes it
      {"Display Name", StoredText(std::u16string(u"ab\0cd", 5)), u"ab"},
      {"101e6637", AsBytes(std::string_view("abc\0def", 7)), u"abc"},  // 8-bit by its name
      {"101E6637", AsBytes("\x80uro"), u"\u20ACuro"},           // no NUL, code page text
      {"101f6637", StoredText(u"wide"), u"wide"},
      {"ab", StoredText(u"short name"), u"short name"},
  };
  for (const auto& entry : cases) {
    EXPECT_EQ(Decode(entry.name, entry.bytes, u""), entry.expected) << entry.name;
  }
}

TEST_F(ProfileRegistryAccess, ReadValueTextOfMissingAndEmptyValues) {
  SeedText(ProfileKey(), "Present", u"x");
  HKey key = OpenKey(*store_, kCurrentUser, FromAnsi(ProfileKey()));
  for (std::u16string_view mode : {u"", u"SMTP"}) {
    EXPECT_EQ(ReadValueText(*store_, key, u"Missing", mode), u"");
    EXPECT_EQ(ReadValueText(*store_, kNoKey, u"Present", mode), u"");
  }
  store_->CloseKey(key);
  EXPECT_EQ(Decode("Empty", {}, u""), kNotDefined);
  EXPECT_EQ(Decode("Empty", {}, u"SMTP"), kNotDefined);
  EXPECT_EQ(Decode("101e6637", {}, u"SMTP"), kNotDefined);
}

TEST_F(ProfileRegistryAccess, ReadValueTextDecodesValuesOfAnySize) {
  std::u16string longText(40000, u'x');
  longText.back() = u'y';
  EXPECT_EQ(Decode("Display Name", StoredText(longText), u""), longText);
  std::u16string longAddress = u"SMTP:" + std::u16string(20000, u'a') + u"@example.com";
  EXPECT_EQ(Decode("101f6637", MultiValued({longAddress}, false), u"SMTP"), longAddress);
}

TEST_F(ProfileRegistryAccess, SmtpModeKeepsSmtpEntriesLastStoredFirst) {
  const std::vector<std::u16string> items{u"SMTP:pat@example.com", u"smtp:pat@sales.example.com",
                                          u"X400:c=US;a= ;p=Example;o=Sales;s=Pat;"};
  const std::u16string expected = u"smtp:pat@sales.example.com\tSMTP:pat@example.com";
  EXPECT_EQ(Decode("101f6637", MultiValued(items, false), u"SMTP"), expected);
  EXPECT_EQ(Decode("101e6637", MultiValued(items, true), u"SMTP"), expected);
  // Blanks around entries go, empty entries and TABs inside entries do not split.
  EXPECT_EQ(Decode("101f6637", MultiValued({u"  SMTP:a@x.com ", u"   ", u"sMtP:b\tc@x.com"}, false),
                   u"SMTP"),
            u"sMtP:b c@x.com\tSMTP:a@x.com");
  // The mode is compared exactly: any other mode decodes one text.
  EXPECT_EQ(Decode("101f6637", StoredText(u"SMTP:a@x.com"), u"smtp"), u"SMTP:a@x.com");
}

TEST_F(ProfileRegistryAccess, SmtpModeReadsTheWholeFirstOffsetAndStaysInsideTheValue) {
  const std::vector<std::u16string> items{u"SMTP:far@example.com"};
  // An offset of 300 (low byte 44) lies beyond the first 256 bytes.
  EXPECT_EQ(Decode("101f6637", MultiValued(items, false, 300), u"SMTP"), u"SMTP:far@example.com");
  EXPECT_EQ(Decode("101e6637", MultiValued(items, true, 300), u"SMTP"), u"SMTP:far@example.com");
  Bytes atEnd = MultiValued(items, false);
  const auto size = static_cast<std::uint32_t>(atEnd.size());
  for (std::uint32_t offset : {size, size + 1, 0xFFFFFFFFu}) {
    Bytes bytes = atEnd;
    const Bytes encoded = LittleEndianList({offset});
    std::copy(encoded.begin(), encoded.end(), bytes.begin() + 4);
    EXPECT_EQ(Decode("101f6637", bytes, u"SMTP"), u"") << offset;
    EXPECT_EQ(Decode("101e6637", bytes, u"SMTP"), u"") << offset;
  }
  for (const Bytes& truncated : {Bytes{1}, Bytes{1, 0, 0, 0, 8}, Bytes{1, 0, 0, 0, 8, 0, 0}}) {
    EXPECT_EQ(Decode("101f6637", truncated, u"SMTP"), u"") << truncated.size();
  }
}

TEST_F(ProfileRegistryAccess, NumberAndStringReads) {
  const std::string key = ProfileKey();
  SeedValue(*store_, kCurrentUser, key, "Negative", kRegDword, LittleEndianList({0xFFFFFFFEu}));
  SeedValue(*store_, kCurrentUser, key, "TwoBytes", kRegBinary, {0x34, 0x12});
  SeedValue(*store_, kCurrentUser, key, "TooLong", kRegBinary, {1, 2, 3, 4, 5});
  SeedValue(*store_, kCurrentUser, key, "Clsid", kRegSz, AsBytes("{ABC}"));
  SeedValue(*store_, kCurrentUser, key, "Cut", kRegSz, AsBytes(std::string_view("ab\0cd", 5)));
  SeedValue(*store_, kCurrentUser, key, "Fits", kRegSz, AsBytes(std::string(260, 'f')));
  SeedValue(*store_, kCurrentUser, key, "Overlong", kRegSz, AsBytes(std::string(261, 'o')));
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
  store_->CloseKey(handle);
  EXPECT_EQ(OpenKey(*store_, kCurrentUser, FromAnsi(key + "\\Missing")), kNoKey);
}

TEST_F(ProfileRegistryAccess, ReadBinaryValueCreatesAMissingKeyAndReadsExactBytes) {
  const std::u16string path = FromAnsi(ProfileKey() + "\\New");
  EXPECT_TRUE(ReadBinaryValue(*store_, path, u"Anything").empty());
  EXPECT_TRUE(KeyExistsIn(*store_, kCurrentUser, ProfileKey() + "\\New"));
  SeedValue(*store_, kCurrentUser, ProfileKey(), "Raw", kRegBinary, {0, 0xFF, 7});
  SeedValue(*store_, kCurrentUser, ProfileKey(), "Empty", kRegBinary, {});
  EXPECT_EQ(ReadBinaryValue(*store_, FromAnsi(ProfileKey()), u"RAW"), (Bytes{0, 0xFF, 7}));
  EXPECT_TRUE(ReadBinaryValue(*store_, FromAnsi(ProfileKey()), u"Empty").empty());
  EXPECT_EQ(ReadBinaryValueIfPresent(*store_, FromAnsi(ProfileKey()), u"Empty"), Bytes{});
  EXPECT_EQ(ReadBinaryValueIfPresent(*store_, FromAnsi(ProfileKey()), u"Missing"), std::nullopt);
}

TEST_F(ProfileRegistryAccess, WritersReplaceValuesWholeWithTheirTypes) {
  const std::u16string path = FromAnsi(ProfileKey() + "\\Deeper\\Still");
  EXPECT_TRUE(WriteBinaryValue(*store_, path, u"Bin", Bytes{1, 2, 3, 4, 5}));
  EXPECT_TRUE(WriteBinaryValue(*store_, path, u"BIN", Bytes{9}));
  EXPECT_TRUE(WriteDwordValue(*store_, path, u"Number", -2));
  WriteStringValue(*store_, path, u"Text", u"plain");
  const std::string key = ProfileKey() + "\\Deeper\\Still";
  EXPECT_EQ(Value(key, "Bin"), (StoredValue{kRegBinary, {9}}));
  EXPECT_EQ(Value(key, "Number"), (StoredValue{kRegDword, {0xFE, 0xFF, 0xFF, 0xFF}}));
  const std::optional<StoredValue> text = Value(key, "Text");
  ASSERT_TRUE(text);
  EXPECT_EQ(text->type, kRegSz);
  EXPECT_EQ(TrimAtNull(FromAnsi(std::string(text->bytes.begin(), text->bytes.end()))), u"plain");
}

TEST_F(ProfileRegistryAccess, SetTypedValueWritesExactlyTheCharactersOfAString) {
  HKey key = kNoKey;
  ASSERT_EQ(store_->CreateKey(kCurrentUser, ProfileKey(), key), kErrorSuccess);
  const std::u16string clsid = u"{ED475411-B0D6-11D2-8C3B-00104B2A6676}";
  EXPECT_EQ(SetTypedValue(*store_, key, u"clsid", kRegSz, clsid), kErrorSuccess);
  EXPECT_EQ(SetTypedValue(*store_, key, u"AsText", kRegSz, std::int32_t{-42}), kErrorSuccess);
  EXPECT_EQ(SetTypedValue(*store_, key, u"Dword", kRegDword, std::int32_t{0x0102}), kErrorSuccess);
  EXPECT_EQ(SetTypedValue(*store_, key, u"DwordText", kRegDword, std::u16string(u" 12 ")),
            kErrorSuccess);
  EXPECT_NE(SetTypedValue(*store_, key, u"NotANumber", kRegDword, std::u16string(u"x1")),
            kErrorSuccess);
  EXPECT_EQ(SetTypedValue(*store_, key, u"Binary", kRegBinary, clsid), kErrorSuccess);
  store_->CloseKey(key);

  const std::optional<StoredValue> stored = Value(ProfileKey(), "clsid");
  ASSERT_TRUE(stored);
  EXPECT_EQ(stored->type, kRegSz);
  EXPECT_EQ(stored->bytes, AsBytes(ToAnsi(clsid)));
  EXPECT_EQ(stored->bytes.size(), 38u) << "no terminator";
  EXPECT_EQ(Value(ProfileKey(), "Dword"), (StoredValue{kRegDword, {2, 1, 0, 0}}));
  EXPECT_EQ(Value(ProfileKey(), "DwordText"), (StoredValue{kRegDword, {12, 0, 0, 0}}));
  EXPECT_FALSE(Value(ProfileKey(), "NotANumber"));
  EXPECT_FALSE(Value(ProfileKey(), "Binary")) << "only REG_SZ and REG_DWORD are written";
  EXPECT_EQ(Value(ProfileKey(), "AsText")->bytes.at(0), '-');
}

TEST_F(ProfileRegistryAccess, CreateKeyAndSetValueStripsOneLeadingBackslash) {
  const std::string path = ProfileKey() + "\\Created";
  EXPECT_TRUE(CreateKeyAndSetValue(*store_, kCurrentUser, FromAnsi("\\" + path), u"n",
                                   std::int32_t{5}, kRegDword));
  EXPECT_EQ(Value(path, "n"), (StoredValue{kRegDword, {5, 0, 0, 0}}));
  EXPECT_TRUE(CreateKeyAndSetValue(*store_, kCurrentUser, FromAnsi(path), u"other",
                                   std::int32_t{1}, kRegBinary))
      << "true says only that a key name was given";
  EXPECT_TRUE(KeyExistsIn(*store_, kCurrentUser, path));
}

TEST_F(ProfileRegistryAccess, AnEmptyKeyPathTouchesNothing) {
  SKIP_UNLESS_IN_MEMORY();  // a fault here would write to, or empty, the real root
  memory_->PutValue(kCurrentUser, "Software\\Keep", "v", kRegBinary, {1});
  memory_->ClearCalls();
  EXPECT_FALSE(CreateKeyAndSetValue(*store_, kCurrentUser, u"", u"v", std::int32_t{1}, kRegDword));
  EXPECT_FALSE(CreateKeyAndSetValue(*store_, kCurrentUser, u"\\", u"v", std::int32_t{1}, kRegDword));
  DeleteSubKeys(*store_, kCurrentUser, u"");
  DeleteKeyTree(*store_, kCurrentUser, u"");
  DeleteKeyTree(*store_, kCurrentUser, u"\\");
  EXPECT_TRUE(memory_->Calls().empty());
  EXPECT_TRUE(memory_->KeyExists(kCurrentUser, "Software\\Keep"));
  EXPECT_TRUE(memory_->ValueNames(kCurrentUser, "").empty());
}

TEST_F(ProfileRegistryAccess, DeleteKeyTreeRemovesTheKeyWithEverythingBelowIt) {
  const std::string first = ProfileKey() + "\\First";
  for (std::string_view below : {"\\Second\\a\\b\\c", "\\Second\\a\\d", "\\Second\\e", "\\Second2"}) {
    SeedValue(*store_, kCurrentUser, first + std::string(below), "v", kRegBinary, {1});
  }
  SeedValue(*store_, kCurrentUser, first, "kept", kRegBinary, {2});
  DeleteKeyTree(*store_, kCurrentUser, FromAnsi(first + "\\Second\\"));
  EXPECT_FALSE(KeyExistsIn(*store_, kCurrentUser, first + "\\Second"));
  EXPECT_EQ(SubKeysOf(*store_, kCurrentUser, first), std::vector<std::string>{"Second2"});
  EXPECT_EQ(Value(first, "kept"), (StoredValue{kRegBinary, {2}}));
}

TEST_F(ProfileRegistryAccess, DeleteSubKeysKeepsTheKeyAndItsValues) {
  const std::string key = ProfileKey() + "\\Parent";
  SeedValue(*store_, kCurrentUser, key, "kept", kRegBinary, {3});
  for (std::string_view child : {"\\z", "\\A\\deep\\deeper", "\\m"}) {
    SeedValue(*store_, kCurrentUser, key + std::string(child), "v", kRegBinary, {1});
  }
  DeleteSubKeys(*store_, kCurrentUser, FromAnsi(key));
  EXPECT_TRUE(SubKeysOf(*store_, kCurrentUser, key).empty());
  EXPECT_EQ(Value(key, "kept"), (StoredValue{kRegBinary, {3}}));
  // A key that does not exist: nothing happens, nothing is created.
  DeleteSubKeys(*store_, kCurrentUser, FromAnsi(key + "\\Missing"));
  DeleteKeyTree(*store_, kCurrentUser, FromAnsi(key + "\\Missing\\Child"));
  EXPECT_FALSE(KeyExistsIn(*store_, kCurrentUser, key + "\\Missing"));
  EXPECT_EQ(Value(key, "kept"), (StoredValue{kRegBinary, {3}}));
}

}  // namespace
}  // namespace quillon::testing
