// Owns one key handle of a store and closes it when it goes out of scope.
#pragma once

#include "platform/registry_store.h"
#include "profile/registry_result.h"

namespace quillon::profile {

class ScopedKey {
 public:
  ScopedKey(platform::RegistryStore& store, platform::HKey key) : store_(store), key_(key) {}
  ScopedKey(const ScopedKey&) = delete;
  ScopedKey& operator=(const ScopedKey&) = delete;
  ~ScopedKey() { Close(); }

  platform::HKey get() const { return key_; }
  explicit operator bool() const { return key_ != platform::kNoKey; }
  // For the calls that hand out a handle through an out parameter.
  platform::HKey& Receive() {
    Close();
    return key_;
  }
  void Close() {
    // Nothing else can be done about a handle that will not close.
    if (key_ != platform::kNoKey) RegOutcome::Of(store_.CloseKey(key_), u"CloseKey", u"").Ignore();
    key_ = platform::kNoKey;
  }

 private:
  platform::RegistryStore& store_;
  platform::HKey key_;
};

}  // namespace quillon::profile
