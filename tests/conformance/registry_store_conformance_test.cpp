// One suite for every RegistryStore: the in-memory store natively and the real
// registry in the Windows build. The real registry is the reference; each test
// works in its own scratch key below HKEY_CURRENT_USER and removes it.
#include <array>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/core/store_under_test.h"

namespace quillon::testing {
namespace {

using namespace platform;

constexpr std::uint32_t kKeySetValueOnly = 0x2;
constexpr std::string_view kScratchParent = "Software\\QuillonConformance";

class RegistryConformance : public ::testing::Test {
 protected:
  void SetUp() override {
    store_ = MakeStoreUnderTest();
    path_ = std::string(kScratchParent) + "\\" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name();
    RemoveKeyTree(*store_, kCurrentUser, path_);
    ASSERT_EQ(store_->CreateKeyEx(kCurrentUser, path_, kKeyAllSixRights, scratch_), kErrorSuccess);
  }

  void TearDown() override {
    for (HKey key : opened_) store_->CloseKey(key);
    store_->CloseKey(scratch_);
    RemoveKeyTree(*store_, kCurrentUser, path_);
    store_->DeleteKey(kCurrentUser, kScratchParent);  // fails while other tests' keys remain
  }

  HKey Create(std::string_view subKey, std::uint32_t access = kKeyAllSixRights) {
    HKey key = kNoKey;
    EXPECT_EQ(store_->CreateKeyEx(scratch_, subKey, access, key), kErrorSuccess) << subKey;
    opened_.push_back(key);
    return key;
  }

  void Set(HKey key, std::string_view name, std::uint32_t type, const Bytes& bytes) {
    ASSERT_EQ(store_->SetValueEx(key, name, type, bytes.data(),
                                 static_cast<std::uint32_t>(bytes.size())),
              kErrorSuccess);
  }

  StoredValue Get(HKey key, std::string_view name) {
    StoredValue value;
    std::uint32_t size = 0;
    EXPECT_EQ(store_->QueryValueEx(key, name, &value.type, nullptr, &size), kErrorSuccess) << name;
    value.bytes.resize(size);
    if (size > 0) {
      EXPECT_EQ(store_->QueryValueEx(key, name, &value.type, value.bytes.data(), &size),
                kErrorSuccess);
    }
    return value;
  }

  std::vector<std::string> EnumerateWithEnumKey(HKey key) {
    std::vector<std::string> names;
    std::array<char, 256> buffer{};
    for (std::uint32_t i = 0; store_->EnumKey(key, i, buffer.data(), buffer.size()) == kErrorSuccess;
         ++i) {
      names.emplace_back(buffer.data());
    }
    return names;
  }

  std::vector<std::string> EnumerateWithEnumKeyEx(HKey key) {
    std::vector<std::string> names;
    std::array<char, 256> buffer{};
    for (std::uint32_t i = 0;; ++i) {
      std::uint32_t length = buffer.size();
      if (store_->EnumKeyEx(key, i, buffer.data(), &length) != kErrorSuccess) break;
      names.emplace_back(buffer.data(), length);
    }
    return names;
  }

  std::unique_ptr<RegistryStore> store_;
  std::string path_;
  HKey scratch_ = kNoKey;
  std::vector<HKey> opened_;
};

TEST_F(RegistryConformance, KeyNamesIgnoreCaseAndKeepTheCaseTheyWereCreatedWith) {
  bool created = false;
  HKey first = kNoKey;
  ASSERT_EQ(store_->CreateKeyEx(scratch_, "MixedCase\\Child", kKeyAllSixRights, first, &created),
            kErrorSuccess);
  opened_.push_back(first);
  EXPECT_TRUE(created);
  HKey again = kNoKey;
  ASSERT_EQ(store_->CreateKeyEx(scratch_, "MIXEDCASE\\child", kKeyAllSixRights, again, &created),
            kErrorSuccess);
  opened_.push_back(again);
  EXPECT_FALSE(created);
  for (std::string_view spelling : {"mixedcase", "MIXEDCASE\\CHILD", "mIxEdCaSe\\cHiLd"}) {
    EXPECT_TRUE(KeyExistsIn(*store_, scratch_, spelling)) << spelling;
  }
  EXPECT_EQ(EnumerateWithEnumKey(scratch_), std::vector<std::string>{"MixedCase"});
  // Letters of the code page beyond ASCII fold as well.
  Create("\xC4rger");
  EXPECT_TRUE(KeyExistsIn(*store_, scratch_, "\xE4RGER"));
}

TEST_F(RegistryConformance, ValueNamesIgnoreCaseAndAValueIsReplacedWhole) {
  Set(scratch_, "BinVal", kRegBinary, {1, 2, 3, 4, 5});
  Set(scratch_, "BINVAL", kRegDword, {7, 0, 0, 0});
  const StoredValue value = Get(scratch_, "binval");
  EXPECT_EQ(value.type, kRegDword);
  EXPECT_EQ(value.bytes, (Bytes{7, 0, 0, 0}));
  std::uint32_t size = 0;
  EXPECT_EQ(store_->QueryValueEx(scratch_, "NoSuchValue", nullptr, nullptr, &size),
            kErrorFileNotFound);
}

TEST_F(RegistryConformance, SubkeysEnumerateInAscendingOrderWithoutRegardToCase) {
  for (std::string_view name : {"0000000b", "00000002", "0000000A", "zeta", "Alpha"}) {
    Create(name);
  }
  const std::vector<std::string> expected{"00000002", "0000000A", "0000000b", "Alpha", "zeta"};
  EXPECT_EQ(EnumerateWithEnumKey(scratch_), expected);
  EXPECT_EQ(EnumerateWithEnumKeyEx(scratch_), expected);
  std::array<char, 256> buffer{};
  EXPECT_EQ(store_->EnumKey(scratch_, 5, buffer.data(), buffer.size()), kErrorNoMoreItems);
  std::uint32_t length = buffer.size();
  EXPECT_EQ(store_->EnumKeyEx(scratch_, 99, buffer.data(), &length), kErrorNoMoreItems);
}

TEST_F(RegistryConformance, TypesAndBytesAreKeptExactly) {
  const struct {
    const char* name;
    std::uint32_t type;
    Bytes bytes;
  } cases[] = {
      {"Binary", kRegBinary, {0x00, 0xFF, 0x7F, 0x80, 0x00, 0x00}},
      {"Odd", kRegBinary, {0x41, 0x00, 0x42}},
      {"Empty", kRegBinary, {}},
      {"Dword", kRegDword, {0x0B, 0x00, 0x00, 0x80}},
      {"", kRegSz, AsBytes(std::string_view("default\0", 8))},
      {"TextWithNul", kRegSz, AsBytes(std::string_view("a\0b\0", 4))},
  };
  for (const auto& entry : cases) Set(scratch_, entry.name, entry.type, entry.bytes);
  for (const auto& entry : cases) {
    const StoredValue value = Get(scratch_, entry.name);
    EXPECT_EQ(value.type, entry.type) << entry.name;
    EXPECT_EQ(value.bytes, entry.bytes) << entry.name;
  }
}

TEST_F(RegistryConformance, ARegSzWrittenWithoutTerminatorKeepsItsLength) {
  // The byte after the counted data is not NUL: the value holds exactly 5 bytes.
  const std::string source = "helloX";
  ASSERT_EQ(store_->SetValueEx(scratch_, "NoNul", kRegSz,
                               reinterpret_cast<const std::uint8_t*>(source.data()), 5),
            kErrorSuccess);
  EXPECT_EQ(Get(scratch_, "NoNul").bytes, AsBytes("hello"));
  // A read into a larger buffer gets a terminator where there is room; the
  // reported size stays the stored one.
  std::array<std::uint8_t, 10> buffer;
  buffer.fill('X');
  std::uint32_t size = buffer.size();
  ASSERT_EQ(store_->QueryValueEx(scratch_, "NoNul", nullptr, buffer.data(), &size), kErrorSuccess);
  EXPECT_EQ(size, 5u);
  EXPECT_EQ(buffer[5], 0);

  // Here the byte after the counted data is NUL, as after any std::string.
  // advapi32 (Wine's and, by its account, NT's) would count that NUL as well;
  // the store must still keep exactly the bytes it was given.
  const std::string text = "hello";
  ASSERT_EQ(store_->SetValueEx(scratch_, "NulAfter", kRegSz,
                               reinterpret_cast<const std::uint8_t*>(text.c_str()), 5),
            kErrorSuccess);
  EXPECT_EQ(Get(scratch_, "NulAfter").bytes, AsBytes("hello"));
}

TEST_F(RegistryConformance, QueryValueFollowsTheSizeProtocol) {
  const Bytes stored{10, 20, 30, 40, 50, 60};
  Set(scratch_, "Six", kRegBinary, stored);

  std::uint32_t type = 0;
  std::uint32_t size = 0;
  EXPECT_EQ(store_->QueryValueEx(scratch_, "Six", &type, nullptr, &size), kErrorSuccess);
  EXPECT_EQ(size, 6u);
  EXPECT_EQ(type, kRegBinary);

  std::array<std::uint8_t, 16> buffer{};
  size = 5;
  EXPECT_EQ(store_->QueryValueEx(scratch_, "Six", nullptr, buffer.data(), &size), kErrorMoreData);
  EXPECT_EQ(size, 6u) << "the needed size comes back with ERROR_MORE_DATA";

  size = 6;
  EXPECT_EQ(store_->QueryValueEx(scratch_, "Six", nullptr, buffer.data(), &size), kErrorSuccess);
  EXPECT_EQ(Bytes(buffer.begin(), buffer.begin() + 6), stored);

  buffer.fill(0xEE);
  size = buffer.size();
  EXPECT_EQ(store_->QueryValueEx(scratch_, "Six", nullptr, buffer.data(), &size), kErrorSuccess);
  EXPECT_EQ(size, 6u);
  EXPECT_EQ(Bytes(buffer.begin(), buffer.begin() + 6), stored);
  EXPECT_EQ(buffer[6], 0xEE) << "binary data gets nothing appended";

  Set(scratch_, "Empty", kRegBinary, {});
  size = 99;
  EXPECT_EQ(store_->QueryValueEx(scratch_, "Empty", nullptr, nullptr, &size), kErrorSuccess);
  EXPECT_EQ(size, 0u);
}

TEST_F(RegistryConformance, EnumKeyBuffersMustHoldTheNameAndItsTerminator) {
  Create("Seven77");
  std::array<char, 16> buffer{};
  EXPECT_EQ(store_->EnumKey(scratch_, 0, buffer.data(), 7), kErrorMoreData);
  ASSERT_EQ(store_->EnumKey(scratch_, 0, buffer.data(), 8), kErrorSuccess);
  EXPECT_STREQ(buffer.data(), "Seven77");

  std::uint32_t length = 7;
  EXPECT_EQ(store_->EnumKeyEx(scratch_, 0, buffer.data(), &length), kErrorMoreData);
  buffer.fill('#');
  length = 8;
  ASSERT_EQ(store_->EnumKeyEx(scratch_, 0, buffer.data(), &length), kErrorSuccess);
  EXPECT_EQ(length, 7u) << "the length comes back without the terminator";
  EXPECT_STREQ(buffer.data(), "Seven77");
}

TEST_F(RegistryConformance, QueryInfoKeyCountsSubkeysAndTheLongestName) {
  std::uint32_t count = 99;
  std::uint32_t longest = 99;
  ASSERT_EQ(store_->QueryInfoKey(scratch_, &count, &longest), kErrorSuccess);
  EXPECT_EQ(count, 0u);
  EXPECT_EQ(longest, 0u);
  for (std::string_view name : {"a", "0000000b", "abc"}) Create(name);
  Create("abc\\deeper-and-longer-name");  // grandchildren do not count
  ASSERT_EQ(store_->QueryInfoKey(scratch_, &count, &longest), kErrorSuccess);
  EXPECT_EQ(count, 3u);
  EXPECT_EQ(longest, 8u);
  EXPECT_EQ(store_->QueryInfoKey(scratch_, &count, nullptr), kErrorSuccess);
  EXPECT_EQ(store_->QueryInfoKey(scratch_, nullptr, &longest), kErrorSuccess);
}

TEST_F(RegistryConformance, OnlyAKeyWithoutSubkeysCanBeDeleted) {
  HKey child = Create("Zeta\\Child");
  Set(child, "Value", kRegBinary, {1});
  EXPECT_EQ(store_->DeleteKey(scratch_, "Zeta"), kErrorAccessDenied);
  EXPECT_TRUE(KeyExistsIn(*store_, scratch_, "Zeta\\Child"));
  EXPECT_EQ(store_->DeleteKey(scratch_, "ZETA\\CHILD"), kErrorSuccess);
  EXPECT_FALSE(KeyExistsIn(*store_, scratch_, "Zeta\\Child"));
  EXPECT_EQ(store_->DeleteKey(scratch_, "zeta"), kErrorSuccess);
  EXPECT_EQ(store_->DeleteKey(scratch_, "Zeta"), kErrorFileNotFound);
  // A key created again under the same name starts without the old values.
  HKey fresh = Create("Zeta\\Child");
  std::uint32_t size = 0;
  EXPECT_EQ(store_->QueryValueEx(fresh, "Value", nullptr, nullptr, &size), kErrorFileNotFound);
}

TEST_F(RegistryConformance, OpeningAMissingKeyFailsAndGivesNoHandle) {
  HKey key = 12345;
  EXPECT_EQ(store_->OpenKeyEx(scratch_, "Missing", kKeyRead, key), kErrorFileNotFound);
  EXPECT_EQ(key, kNoKey);
  EXPECT_FALSE(KeyExistsIn(*store_, scratch_, "Missing")) << "opening creates nothing";
}

TEST_F(RegistryConformance, HandlesCloseOnceAndInvalidHandlesAreRefused) {
  HKey key = kNoKey;
  ASSERT_EQ(store_->CreateKey(scratch_, "Handles", key), kErrorSuccess);
  EXPECT_EQ(store_->CloseKey(key), kErrorSuccess);
  EXPECT_EQ(store_->CloseKey(key), kErrorInvalidHandle);
  std::uint32_t size = 0;
  EXPECT_EQ(store_->QueryValueEx(kNoKey, "x", nullptr, nullptr, &size), kErrorInvalidHandle);
  const std::uint8_t byte = 1;
  EXPECT_EQ(store_->SetValueEx(kNoKey, "x", kRegBinary, &byte, 1), kErrorInvalidHandle);
  EXPECT_EQ(store_->CloseKey(kNoKey), kErrorInvalidHandle);
  // The roots are never really closed.
  EXPECT_EQ(store_->CloseKey(kCurrentUser), kErrorSuccess);
  EXPECT_TRUE(KeyExistsIn(*store_, kCurrentUser, path_));
}

TEST_F(RegistryConformance, AHandleAllowsOnlyTheAccessItWasOpenedWith) {
  HKey writable = Create("Access");
  Set(writable, "Value", kRegBinary, {1, 2});
  HKey queryOnly = kNoKey;
  ASSERT_EQ(store_->OpenKeyEx(scratch_, "Access", kKeyQueryValue, queryOnly), kErrorSuccess);
  opened_.push_back(queryOnly);
  const std::uint8_t byte = 9;
  EXPECT_EQ(store_->SetValueEx(queryOnly, "Value", kRegBinary, &byte, 1), kErrorAccessDenied);
  std::array<char, 256> name{};
  EXPECT_EQ(store_->EnumKey(queryOnly, 0, name.data(), name.size()), kErrorAccessDenied);
  HKey setOnly = kNoKey;
  ASSERT_EQ(store_->OpenKeyEx(scratch_, "Access", kKeySetValueOnly, setOnly), kErrorSuccess);
  opened_.push_back(setOnly);
  std::uint32_t size = 0;
  EXPECT_EQ(store_->QueryValueEx(setOnly, "Value", nullptr, nullptr, &size), kErrorAccessDenied);
  EXPECT_EQ(Get(writable, "Value").bytes, (Bytes{1, 2}));
}

TEST_F(RegistryConformance, AHandleToADeletedKeyReportsTheDeletion) {
  HKey doomed = Create("Doomed");
  ASSERT_EQ(store_->DeleteKey(scratch_, "Doomed"), kErrorSuccess);
  std::uint32_t size = 0;
  EXPECT_EQ(store_->QueryValueEx(doomed, "x", nullptr, nullptr, &size), kErrorKeyDeleted);
  const std::uint8_t byte = 1;
  EXPECT_EQ(store_->SetValueEx(doomed, "x", kRegBinary, &byte, 1), kErrorKeyDeleted);
  EXPECT_FALSE(KeyExistsIn(*store_, scratch_, "Doomed")) << "a write must not bring it back";
}

}  // namespace
}  // namespace quillon::testing
