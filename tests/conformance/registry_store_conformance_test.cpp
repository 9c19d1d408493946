// One suite for every RegistryStore: the in-memory store natively and the real
// registry in the Windows build. The real registry is the reference; each test
// works in its own scratch key below HKEY_CURRENT_USER and removes it.
#include <array>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/core/store_under_test.h"

namespace quillon::testing {
namespace {

using namespace platform;

constexpr KeyAccess kKeySetValueOnly = KeyAccess::kSetValue;
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
    // A test may have closed or deleted what it opened: closing again may fail.
    for (HKey key : opened_) {
      [[maybe_unused]] const RegResult closed = store_->CloseKey(key);
    }
    EXPECT_EQ(store_->CloseKey(scratch_), kErrorSuccess);
    RemoveKeyTree(*store_, kCurrentUser, path_);
    // Fails while other tests' keys remain.
    [[maybe_unused]] const RegResult parentDeleted = store_->DeleteKey(kCurrentUser, kScratchParent);
    if (auto handles = OpenHandleCountOf(*store_)) {
      EXPECT_EQ(*handles, 0u);
    }
  }

  HKey Create(std::string_view subKey, bool* created = nullptr) {
    HKey key = kNoKey;
    EXPECT_EQ(store_->CreateKeyEx(scratch_, subKey, kKeyAllSixRights, key, created), kErrorSuccess)
        << subKey;
    opened_.push_back(key);
    return key;
  }

  void Set(HKey key, std::string_view name, std::uint32_t type, const Bytes& bytes) {
    ASSERT_EQ(store_->SetValueEx(key, name, type, bytes.data(),
                                 static_cast<std::uint32_t>(bytes.size())),
              kErrorSuccess);
  }

  // Read through a new handle with the size protocol: ask the size, then read.
  std::optional<StoredValue> Get(std::string_view subKey, std::string_view name) {
    return ReadRawValue(*store_, scratch_, subKey, name);
  }

  std::unique_ptr<RegistryStore> store_;
  std::string path_;
  HKey scratch_ = kNoKey;
  std::vector<HKey> opened_;
};

TEST_F(RegistryConformance, NamesIgnoreCaseAndKeepTheCaseTheyWereCreatedWith) {
  bool created = false;
  Create("MixedCase\\Child", &created);
  EXPECT_TRUE(created);
  Create("MIXEDCASE\\child", &created);
  EXPECT_FALSE(created);
  for (std::string_view spelling : {"mixedcase", "MIXEDCASE\\CHILD", "mIxEdCaSe\\cHiLd"}) {
    EXPECT_TRUE(KeyExistsIn(*store_, scratch_, spelling)) << spelling;
  }
  EXPECT_EQ(SubKeysOf(*store_, scratch_, ""), std::vector<std::string>{"MixedCase"});
  // Letters of the code page beyond ASCII fold as well.
  Create("\xC4rger");
  EXPECT_TRUE(KeyExistsIn(*store_, scratch_, "\xE4RGER"));

  // A value name in another case replaces the value whole, type included.
  Set(scratch_, "BinVal", kRegBinary, {1, 2, 3, 4, 5});
  Set(scratch_, "BINVAL", kRegDword, {7, 0, 0, 0});
  EXPECT_EQ(Get("", "binval"), (StoredValue{kRegDword, {7, 0, 0, 0}}));
  std::uint32_t size = 0;
  EXPECT_EQ(store_->QueryValueEx(scratch_, "NoSuchValue", nullptr, nullptr, &size),
            kErrorFileNotFound);
}

TEST_F(RegistryConformance, SubkeysEnumerateInAscendingOrderWithoutRegardToCase) {
  std::uint32_t count = 99;
  std::uint32_t longest = 99;
  ASSERT_EQ(store_->QueryInfoKey(scratch_, &count, &longest), kErrorSuccess);
  EXPECT_EQ(count, 0u);
  EXPECT_EQ(longest, 0u);
  for (std::string_view name : {"0000000b", "00000002", "0000000A", "zeta", "Alpha"}) Create(name);
  Create("Alpha\\deeper-and-longer-name");  // grandchildren neither enumerate nor count

  const std::vector<std::string> expected{"00000002", "0000000A", "0000000b", "Alpha", "zeta"};
  EXPECT_EQ(SubKeysOf(*store_, scratch_, ""), expected);  // by EnumKey
  std::array<char, 256> buffer{};
  std::uint32_t length = 0;
  for (std::uint32_t i = 0; i < expected.size(); ++i) {
    length = buffer.size();
    ASSERT_EQ(store_->EnumKeyEx(scratch_, i, buffer.data(), &length), kErrorSuccess);
    EXPECT_EQ(std::string(buffer.data(), length), expected[i]);
  }
  EXPECT_EQ(store_->EnumKey(scratch_, 5, buffer.data(), buffer.size()), kErrorNoMoreItems);
  EXPECT_EQ(store_->EnumKeyEx(scratch_, 99, buffer.data(), &length), kErrorNoMoreItems);

  // Buffers must hold the name and its terminator; EnumKeyEx reports the
  // length without it.
  EXPECT_EQ(store_->EnumKey(scratch_, 3, buffer.data(), 5), kErrorMoreData);
  ASSERT_EQ(store_->EnumKey(scratch_, 3, buffer.data(), 6), kErrorSuccess);
  EXPECT_STREQ(buffer.data(), "Alpha");
  length = 5;
  EXPECT_EQ(store_->EnumKeyEx(scratch_, 3, buffer.data(), &length), kErrorMoreData);
  buffer.fill('#');
  length = 6;
  ASSERT_EQ(store_->EnumKeyEx(scratch_, 3, buffer.data(), &length), kErrorSuccess);
  EXPECT_EQ(length, 5u);
  EXPECT_STREQ(buffer.data(), "Alpha");

  ASSERT_EQ(store_->QueryInfoKey(scratch_, &count, &longest), kErrorSuccess);
  EXPECT_EQ(count, 5u);
  EXPECT_EQ(longest, 8u);
  EXPECT_EQ(store_->QueryInfoKey(scratch_, &count, nullptr), kErrorSuccess);
  EXPECT_EQ(store_->QueryInfoKey(scratch_, nullptr, &longest), kErrorSuccess);
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
    EXPECT_EQ(Get("", entry.name), (StoredValue{entry.type, entry.bytes})) << entry.name;
  }

  // A REG_SZ written without terminator keeps its length, whether the byte
  // after the counted data is not NUL or is NUL (as after any std::string):
  // advapi32 (Wine's and, by its account, NT's) would count that NUL as well.
  for (std::string_view source : {std::string_view("helloX"), std::string_view("hello\0", 6)}) {
    ASSERT_EQ(store_->SetValueEx(scratch_, "NoNul", kRegSz,
                                 reinterpret_cast<const std::uint8_t*>(source.data()), 5),
              kErrorSuccess);
    EXPECT_EQ(Get("", "NoNul"), (StoredValue{kRegSz, AsBytes("hello")})) << source.size();
  }
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
  buffer.fill(0xEE);
  size = buffer.size();
  EXPECT_EQ(store_->QueryValueEx(scratch_, "Six", nullptr, buffer.data(), &size), kErrorSuccess);
  EXPECT_EQ(size, 6u);
  EXPECT_EQ(Bytes(buffer.begin(), buffer.begin() + 6), stored);
  EXPECT_EQ(buffer[6], 0xEE) << "binary data gets nothing appended";

  // A REG_SZ without terminator read into a larger buffer gets one where there
  // is room; the reported size stays the stored one.
  Set(scratch_, "NoNul", kRegSz, AsBytes("hello"));
  buffer.fill('X');
  size = buffer.size();
  ASSERT_EQ(store_->QueryValueEx(scratch_, "NoNul", nullptr, buffer.data(), &size), kErrorSuccess);
  EXPECT_EQ(size, 5u);
  EXPECT_EQ(buffer[5], 0);

  Set(scratch_, "Empty", kRegBinary, {});
  size = 99;
  EXPECT_EQ(store_->QueryValueEx(scratch_, "Empty", nullptr, nullptr, &size), kErrorSuccess);
  EXPECT_EQ(size, 0u);
}

TEST_F(RegistryConformance, OnlyAKeyWithoutSubkeysCanBeDeleted) {
  HKey child = Create("Zeta\\Child");
  Set(child, "Value", kRegBinary, {1});
  EXPECT_EQ(store_->DeleteKey(scratch_, "Zeta"), kErrorAccessDenied);
  EXPECT_TRUE(KeyExistsIn(*store_, scratch_, "Zeta\\Child"));
  EXPECT_EQ(store_->DeleteKey(scratch_, "ZETA\\CHILD"), kErrorSuccess);
  EXPECT_EQ(store_->DeleteKey(scratch_, "zeta"), kErrorSuccess);
  EXPECT_EQ(store_->DeleteKey(scratch_, "Zeta"), kErrorFileNotFound);

  // A handle to the deleted key reports the deletion, and a write through it
  // does not bring the key back.
  std::uint32_t size = 0;
  EXPECT_EQ(store_->QueryValueEx(child, "Value", nullptr, nullptr, &size), kErrorKeyDeleted);
  const std::uint8_t byte = 1;
  EXPECT_EQ(store_->SetValueEx(child, "x", kRegBinary, &byte, 1), kErrorKeyDeleted);
  EXPECT_FALSE(KeyExistsIn(*store_, scratch_, "Zeta\\Child"));
  // Created again under the same name, it starts without the old values.
  Create("Zeta\\Child");
  EXPECT_FALSE(Get("Zeta\\Child", "Value"));
}

TEST_F(RegistryConformance, HandlesCloseOnceAndAllowOnlyTheAccessTheyWereOpenedWith) {
  HKey key = 12345;
  EXPECT_EQ(store_->OpenKeyEx(scratch_, "Access", kKeyRead, key), kErrorFileNotFound);
  EXPECT_EQ(key, kNoKey);
  EXPECT_FALSE(KeyExistsIn(*store_, scratch_, "Access")) << "opening creates nothing";

  ASSERT_EQ(store_->CreateKey(scratch_, "Access", key), kErrorSuccess);
  Set(key, "Value", kRegBinary, {1, 2});
  EXPECT_EQ(store_->CloseKey(key), kErrorSuccess);
  EXPECT_EQ(store_->CloseKey(key), kErrorInvalidHandle);
  std::uint32_t size = 0;
  const std::uint8_t byte = 9;
  EXPECT_EQ(store_->QueryValueEx(kNoKey, "x", nullptr, nullptr, &size), kErrorInvalidHandle);
  EXPECT_EQ(store_->SetValueEx(kNoKey, "x", kRegBinary, &byte, 1), kErrorInvalidHandle);
  EXPECT_EQ(store_->CloseKey(kNoKey), kErrorInvalidHandle);
  // The roots are never really closed.
  EXPECT_EQ(store_->CloseKey(kCurrentUser), kErrorSuccess);
  EXPECT_TRUE(KeyExistsIn(*store_, kCurrentUser, path_));

  HKey queryOnly = kNoKey;
  ASSERT_EQ(store_->OpenKeyEx(scratch_, "Access", kKeyQueryValue, queryOnly), kErrorSuccess);
  opened_.push_back(queryOnly);
  EXPECT_EQ(store_->SetValueEx(queryOnly, "Value", kRegBinary, &byte, 1), kErrorAccessDenied);
  std::array<char, 256> name{};
  EXPECT_EQ(store_->EnumKey(queryOnly, 0, name.data(), name.size()), kErrorAccessDenied);
  HKey setOnly = kNoKey;
  ASSERT_EQ(store_->OpenKeyEx(scratch_, "Access", kKeySetValueOnly, setOnly), kErrorSuccess);
  opened_.push_back(setOnly);
  EXPECT_EQ(store_->QueryValueEx(setOnly, "Value", nullptr, nullptr, &size), kErrorAccessDenied);
  EXPECT_EQ(Get("Access", "Value"), (StoredValue{kRegBinary, {1, 2}}));
}

}  // namespace
}  // namespace quillon::testing
