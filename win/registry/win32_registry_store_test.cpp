// What the Win32 store adds on top of the shared conformance suite: the handle
// table, names the ANSI calls cannot carry, and the exact size of REG_SZ data.
#include "win/registry/win32_registry_store.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace quillon::win {
namespace {

using namespace quillon::platform;

class Win32RegistryStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = std::string("Software\\QuillonWin32Store\\") +
            ::testing::UnitTest::GetInstance()->current_test_info()->name();
    ASSERT_EQ(kErrorSuccess, store_.CreateKeyEx(kCurrentUser, path_, kKeyAllSixRights, key_));
  }
  void TearDown() override {
    store_.CloseKey(key_);
    RemoveTree(path_);
    store_.DeleteKey(kCurrentUser, "Software\\QuillonWin32Store");
    EXPECT_EQ(0u, store_.OpenKeyCount());
  }

  void RemoveTree(const std::string& path) {
    HKey key = kNoKey;
    if (store_.OpenKeyEx(kCurrentUser, path, kKeyAllSixRights, key) != kErrorSuccess) return;
    char name[256];
    std::vector<std::string> children;
    for (std::uint32_t i = 0; store_.EnumKey(key, i, name, sizeof name) == kErrorSuccess; ++i) {
      children.emplace_back(name);
    }
    for (const auto& child : children) {
      RemoveTree(path + "\\" + child);
      store_.DeleteKey(key, child);
    }
    store_.CloseKey(key);
    store_.DeleteKey(kCurrentUser, path);
  }

  std::uint32_t StoredSize(std::string_view name) {
    std::uint32_t size = 0;
    EXPECT_EQ(kErrorSuccess, store_.QueryValueEx(key_, name, nullptr, nullptr, &size));
    return size;
  }

  Win32RegistryStore store_;
  std::string path_;
  HKey key_ = kNoKey;
};

TEST_F(Win32RegistryStoreTest, HandlesAreDistinctSmallValuesUntilClosed) {
  std::set<HKey> handles;
  std::vector<HKey> opened;
  for (int i = 0; i < 200; ++i) {
    HKey handle = kNoKey;
    ASSERT_EQ(kErrorSuccess, store_.OpenKeyEx(kCurrentUser, path_, kKeyRead, handle));
    opened.push_back(handle);
    handles.insert(handle);
  }
  EXPECT_EQ(opened.size(), handles.size());
  for (HKey handle : opened) {
    EXPECT_NE(kNoKey, handle);
    EXPECT_LT(handle, kClassesRoot);
  }
  EXPECT_EQ(201u, store_.OpenKeyCount());
  for (HKey handle : opened) EXPECT_EQ(kErrorSuccess, store_.CloseKey(handle));
  EXPECT_EQ(kErrorInvalidHandle, store_.CloseKey(opened.front()));
  EXPECT_EQ(1u, store_.OpenKeyCount());
}

TEST_F(Win32RegistryStoreTest, UnknownOrClosedHandlesAreRefusedByEveryCall) {
  HKey closed = kNoKey;
  ASSERT_EQ(kErrorSuccess, store_.OpenKeyEx(kCurrentUser, path_, kKeyRead, closed));
  ASSERT_EQ(kErrorSuccess, store_.CloseKey(closed));
  const std::uint8_t byte = 1;
  for (HKey bad : {kNoKey, closed, HKey{0x80000002u}, HKey{12345}}) {
    SCOPED_TRACE(bad);
    HKey result = 99;
    std::uint32_t size = 4;
    char name[16];
    EXPECT_EQ(kErrorInvalidHandle, store_.OpenKeyEx(bad, "", kKeyRead, result));
    EXPECT_EQ(kNoKey, result);
    result = 99;
    EXPECT_EQ(kErrorInvalidHandle, store_.CreateKeyEx(bad, "x", kKeyAllSixRights, result));
    EXPECT_EQ(kNoKey, result);
    EXPECT_EQ(kErrorInvalidHandle, store_.CreateKey(bad, "x", result));
    EXPECT_EQ(kErrorInvalidHandle, store_.QueryValueEx(bad, "v", nullptr, nullptr, &size));
    EXPECT_EQ(kErrorInvalidHandle, store_.SetValueEx(bad, "v", kRegBinary, &byte, 1));
    EXPECT_EQ(kErrorInvalidHandle, store_.EnumKey(bad, 0, name, sizeof name));
    EXPECT_EQ(kErrorInvalidHandle, store_.EnumKeyEx(bad, 0, name, &size));
    EXPECT_EQ(kErrorInvalidHandle, store_.QueryInfoKey(bad, &size, &size));
    EXPECT_EQ(kErrorInvalidHandle, store_.DeleteKey(bad, "x"));
    EXPECT_EQ(kErrorInvalidHandle, store_.CloseKey(bad));
  }
  EXPECT_EQ(kErrorSuccess, store_.CloseKey(kCurrentUser));
  EXPECT_EQ(kErrorSuccess, store_.CloseKey(kClassesRoot));
}

// The ANSI calls would cut such a name at the NUL and touch a different value or key.
TEST_F(Win32RegistryStoreTest, NamesWithAnEmbeddedNulAreRefusedAndTouchNothing) {
  const std::string valueName("Display\0Name", 12);
  const std::string keyName("child\0other", 11);
  const std::uint8_t byte = 7;
  HKey result = kNoKey;
  EXPECT_EQ(kErrorInvalidParameter, store_.SetValueEx(key_, valueName, kRegBinary, &byte, 1));
  EXPECT_EQ(kErrorFileNotFound, store_.QueryValueEx(key_, "Display", nullptr, nullptr, nullptr));
  EXPECT_EQ(kErrorInvalidParameter, store_.CreateKeyEx(key_, keyName, kKeyAllSixRights, result));
  EXPECT_EQ(kErrorInvalidParameter, store_.CreateKey(key_, keyName, result));
  EXPECT_EQ(kNoKey, result);
  std::uint32_t subKeys = 1;
  EXPECT_EQ(kErrorSuccess, store_.QueryInfoKey(key_, &subKeys, nullptr));
  EXPECT_EQ(0u, subKeys);

  ASSERT_EQ(kErrorSuccess, store_.CreateKey(key_, "child", result));
  store_.CloseKey(result);
  EXPECT_EQ(kErrorInvalidParameter, store_.DeleteKey(key_, keyName));
  EXPECT_EQ(kErrorInvalidParameter, store_.OpenKeyEx(key_, keyName, kKeyRead, result));
  EXPECT_EQ(kErrorSuccess, store_.OpenKeyEx(key_, "child", kKeyRead, result));
  store_.CloseKey(result);
}

// advapi32 stores one byte more for an unterminated REG_SZ when the caller's
// buffer happens to hold a NUL right after the counted bytes; the store must not.
TEST_F(Win32RegistryStoreTest, RegSzKeepsExactlyTheCountedBytes) {
  struct Case {
    const char* name;
    std::string bytes;
    std::uint32_t count;
  };
  const std::vector<Case> cases = {
      {"unterminated, NUL after", "Signature", 9},
      {"unterminated, text after", "SignatureX", 9},
      {"terminator counted", std::string("Sig\0", 4), 4},
      {"one character", "S", 1},
      {"Latin-1 letters", "\xC9t\xE9", 3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto* data = reinterpret_cast<const std::uint8_t*>(c.bytes.c_str());
    ASSERT_EQ(kErrorSuccess, store_.SetValueEx(key_, c.name, kRegSz, data, c.count));
    EXPECT_EQ(c.count, StoredSize(c.name));
    std::string read(c.count, '\0');
    std::uint32_t size = c.count;
    std::uint32_t type = 0;
    ASSERT_EQ(kErrorSuccess,
              store_.QueryValueEx(key_, c.name, &type,
                                  reinterpret_cast<std::uint8_t*>(read.data()), &size));
    EXPECT_EQ(kRegSz, type);
    EXPECT_EQ(c.bytes.substr(0, c.count), read);
  }
}

}  // namespace
}  // namespace quillon::win
