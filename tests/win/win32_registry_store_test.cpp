// What the Win32 store adds on top of the shared conformance suite (which also
// covers its REG_SZ byte counts): the handle table and names the ANSI calls
// cannot carry.
#include "win/registry/win32_registry_store.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "tests/core/store_under_test.h"  // RemoveKeyTree

namespace quillon::win {
namespace {

using namespace quillon::platform;

constexpr std::string_view kScratchParent = "Software\\QuillonWin32Store";

class Win32RegistryStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = std::string(kScratchParent) + "\\" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name();
    ASSERT_EQ(kErrorSuccess, store_.CreateKeyEx(kCurrentUser, path_, kKeyAllSixRights, key_));
  }
  void TearDown() override {
    EXPECT_EQ(kErrorSuccess, store_.CloseKey(key_));
    quillon::testing::RemoveKeyTree(store_, kCurrentUser, path_);
    // The parent stays while another suite's scratch key is still below it.
    [[maybe_unused]] const RegResult parentDeleted = store_.DeleteKey(kCurrentUser, kScratchParent);
    EXPECT_EQ(0u, store_.OpenKeyCount());
  }

  Win32RegistryStore store_;
  std::string path_;
  HKey key_ = kNoKey;
};

// Handles are small distinct numbers below the roots; once closed, or never
// given out, every call refuses them.
TEST_F(Win32RegistryStoreTest, HandleTableGivesDistinctHandlesAndRefusesUnknownOnes) {
  std::set<HKey> distinct;
  std::vector<HKey> opened(200, kNoKey);
  for (HKey& handle : opened) {
    ASSERT_EQ(kErrorSuccess, store_.OpenKeyEx(kCurrentUser, path_, kKeyRead, handle));
    EXPECT_NE(kNoKey, handle);
    EXPECT_LT(handle, kClassesRoot);
    distinct.insert(handle);
  }
  EXPECT_EQ(opened.size(), distinct.size());
  EXPECT_EQ(201u, store_.OpenKeyCount());
  for (HKey handle : opened) EXPECT_EQ(kErrorSuccess, store_.CloseKey(handle));
  EXPECT_EQ(1u, store_.OpenKeyCount());

  const std::uint8_t byte = 1;
  for (HKey bad : {kNoKey, opened.front(), HKey{0x80000002u}, HKey{12345}}) {
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
  EXPECT_EQ(kErrorSuccess, store_.CloseKey(kClassesRoot));
  EXPECT_EQ(1u, store_.OpenKeyCount());
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
  EXPECT_EQ(kErrorSuccess, store_.CloseKey(result));
  EXPECT_EQ(kErrorInvalidParameter, store_.DeleteKey(key_, keyName));
  EXPECT_EQ(kErrorInvalidParameter, store_.OpenKeyEx(key_, keyName, kKeyRead, result));
  EXPECT_EQ(kErrorSuccess, store_.OpenKeyEx(key_, "child", kKeyRead, result));
  EXPECT_EQ(kErrorSuccess, store_.CloseKey(result));
}

}  // namespace
}  // namespace quillon::win
