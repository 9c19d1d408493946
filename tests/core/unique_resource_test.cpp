// The one owner: what it closes, when, and through which policy.
#include <gtest/gtest.h>

#include <vector>

#include "platform/unique_resource.h"
#include "profile/scoped_key.h"
#include "testing/memory_registry_store.h"

namespace quillon::testing {
namespace {

using platform::UniqueResource;

// Records every close; -1 holds nothing.
struct RecordingPolicy {
  using Value = int;
  static constexpr int Invalid() { return -1; }
  static constexpr bool IsValid(int value) { return value != -1; }
  int Close(int value) const {
    closed->push_back(value);
    return value * 10;
  }
  std::vector<int>* closed;
};
using Recorded = UniqueResource<RecordingPolicy>;

TEST(UniqueResource, ClosesWhatItHoldsExactlyOnce) {
  std::vector<int> closed;
  {
    Recorded a(RecordingPolicy{&closed}, 1);
    Recorded b(RecordingPolicy{&closed});
    EXPECT_TRUE(a);
    EXPECT_FALSE(b);
    *b.put() = 2;       // an out parameter fills it
    a.reset(3);         // 1 goes, 3 stays
    EXPECT_EQ(*b.put(), -1) << "put closes first, so reuse cannot leak";
    *b.addressof() = 4;  // addressof frees nothing
    Recorded c(std::move(a));
    EXPECT_FALSE(a);
    EXPECT_EQ(c.get(), 3);
    b = std::move(c);   // 4 goes, b takes 3
    EXPECT_EQ(b.close(), 30) << "close reports the policy's result";
    EXPECT_FALSE(b);
    Recorded d(RecordingPolicy{&closed}, 5);
    EXPECT_EQ(d.release(), 5);
  }
  EXPECT_EQ(closed, (std::vector<int>{1, 2, 4, 3}));
}

TEST(UniqueResource, StoreKeyClosesThroughItsOwnStore) {
  MemoryRegistryStore store;
  MemoryRegistryStore other;
  platform::HKey opened = platform::kNoKey;
  ASSERT_EQ(store.CreateKeyEx(platform::kCurrentUser, "Software\\Owner", platform::kKeyAllSixRights, opened),
            platform::kErrorSuccess);
  {
    profile::ScopedKey key(store, opened);
    profile::ScopedKey moved(other);
    moved = std::move(key);  // the store travels with the key
    EXPECT_EQ(store.OpenHandleCount(), 1u);
  }
  EXPECT_EQ(store.OpenHandleCount(), 0u);
  EXPECT_EQ(other.OpenHandleCount(), 0u);
  const profile::ScopedKey none(store);
  EXPECT_FALSE(none) << "kNoKey holds nothing and is never closed";
}

}  // namespace
}  // namespace quillon::testing
