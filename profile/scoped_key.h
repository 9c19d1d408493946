// The owner of one key handle of a store: closes it through that same store.
#pragma once

#include "platform/registry_store.h"
#include "platform/unique_resource.h"
#include "profile/registry_result.h"

namespace quillon::profile {

// Holds the store, as unique_ptr's deleter may hold state.
class StoreKeyPolicy {
 public:
  using Value = platform::HKey;
  // Implicit, so that ScopedKey(store, key) reads as it says.
  StoreKeyPolicy(platform::RegistryStore& store) : store_(&store) {}  // NOLINT
  static constexpr Value Invalid() noexcept { return platform::kNoKey; }
  static constexpr bool IsValid(Value key) noexcept { return key != platform::kNoKey; }
  // Nothing else can be done about a handle that will not close.
  void Close(Value key) const noexcept {
    RegOutcome::Of(store_->CloseKey(key), u"CloseKey", u"").Ignore();
  }

 private:
  platform::RegistryStore* store_;
};

using ScopedKey = platform::UniqueResource<StoreKeyPolicy>;

}  // namespace quillon::profile
