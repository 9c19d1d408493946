// The in-memory store's snapshot, which the fuzz targets put back after every
// input: it must leave nothing of what came between, down to the case of a
// name, and a store that still works.
#include <gtest/gtest.h>

#include "testing/page_rig.h"

namespace quillon::testing {
namespace {

using namespace platform;

TEST(MemoryStoreSnapshot, RestoreBringsBackEveryKeyAndValueExactly) {
  SweepWorld world;
  MemoryRegistryStore& store = world.registry;
  store.PutValue(kCurrentUser, world.ProfilePath() + "\\Extra", "Kept", kRegDword, {1, 0, 0, 0});
  const auto saved = store.SaveTree();
  const RegistryImage before = TakeImage(store);

  HKey profile = kNoKey;
  ASSERT_EQ(store.CreateKey(kCurrentUser, world.ProfilePath(), profile), kErrorSuccess);
  ASSERT_EQ(store.DeleteKey(profile, "Extra"), kErrorSuccess);
  EXPECT_EQ(store.CloseKey(profile), kErrorSuccess);
  store.PutValue(kCurrentUser, world.ProfilePath() + "\\EXTRA", "Kept", kRegDword, {1, 0, 0, 0});
  store.PutValue(kCurrentUser, world.AccountPath(9), "Email", kRegBinary, {'x', 0});
  store.PutValue(kCurrentUser, world.AccountPath(3), "Email", kRegSz, {'x', 0});
  store.PutValue(kCurrentUser, world.AccountPath(3), "New", kRegSz, {});
  store.PutValue(kClassesRoot, "CLSID\\Other", "", kRegSz, {0});
  HKey accounts = kNoKey;
  ASSERT_EQ(store.OpenKeyEx(kCurrentUser, world.AccountsPath(), kKeyRead, accounts), kErrorSuccess);
  ASSERT_EQ(store.DeleteKey(accounts, "00000004"), kErrorSuccess);
  char name[16];
  std::uint32_t length = sizeof name;
  ASSERT_EQ(store.EnumKeyEx(accounts, 3, name, &length), kErrorSuccess);  // the cursor stands on 9
  ASSERT_STREQ(name, "00000009");
  EXPECT_EQ(store.CloseKey(accounts), kErrorSuccess);
  ASSERT_NE(TakeImage(store), before);

  store.RestoreTree(*saved);
  EXPECT_EQ(TakeImage(store), before);
  // It still works as a store: the subkeys enumerate anew, past where the cursor stood.
  ASSERT_EQ(store.OpenKeyEx(kCurrentUser, world.AccountsPath(), kKeyRead, accounts), kErrorSuccess);
  length = sizeof name;
  ASSERT_EQ(store.EnumKeyEx(accounts, 3, name, &length), kErrorSuccess);
  EXPECT_STREQ(name, "00000004");
  length = sizeof name;
  EXPECT_EQ(store.EnumKeyEx(accounts, 4, name, &length), kErrorNoMoreItems);
  EXPECT_EQ(store.CloseKey(accounts), kErrorSuccess);
  EXPECT_EQ(store.OpenHandleCount(), 0u);
}

}  // namespace
}  // namespace quillon::testing
