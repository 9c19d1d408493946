// Chosen failures over any registry store (the real registry in the Windows
// build): every call is described and offered to the failure predicates
// exactly as the in-memory store does it, then passed to the wrapped store,
// so one fault sweep runs unchanged on either store.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry_store.h"
#include "testing/memory_registry_store.h"

namespace quillon::testing {

class FaultInjectingRegistryStore : public platform::RegistryStore {
 public:
  using Operation = MemoryRegistryStore::Operation;
  using Call = MemoryRegistryStore::Call;
  using FailurePredicate = MemoryRegistryStore::FailurePredicate;

  FaultInjectingRegistryStore() = default;
  FaultInjectingRegistryStore(const FaultInjectingRegistryStore&) = delete;
  FaultInjectingRegistryStore& operator=(const FaultInjectingRegistryStore&) = delete;

  // The store the calls go to; set once, before the first call.
  void Wrap(platform::RegistryStore& target) { target_ = &target; }
  platform::RegistryStore& Target() const { return *target_; }

  [[nodiscard]] RegResult OpenKeyEx(HKey parent, std::string_view subKey, platform::KeyAccess access,
                      HKey& result) override;
  [[nodiscard]] RegResult CreateKeyEx(HKey parent, std::string_view subKey, platform::KeyAccess access,
                        HKey& result, bool* created = nullptr) override;
  [[nodiscard]] RegResult CreateKey(HKey parent, std::string_view subKey, HKey& result) override;
  [[nodiscard]] RegResult QueryValueEx(HKey key, std::string_view valueName, std::uint32_t* type,
                         std::uint8_t* data, std::uint32_t* size) override;
  [[nodiscard]] RegResult SetValueEx(HKey key, std::string_view valueName, std::uint32_t type,
                       const std::uint8_t* data, std::uint32_t size) override;
  [[nodiscard]] RegResult EnumKey(HKey key, std::uint32_t index, char* name, std::uint32_t nameSize) override;
  [[nodiscard]] RegResult EnumKeyEx(HKey key, std::uint32_t index, char* name,
                      std::uint32_t* nameLength) override;
  [[nodiscard]] RegResult QueryInfoKey(HKey key, std::uint32_t* subKeys,
                         std::uint32_t* maxSubKeyLength) override;
  [[nodiscard]] RegResult DeleteKey(HKey key, std::string_view subKey) override;
  [[nodiscard]] RegResult CloseKey(HKey key) override;

  void FailWhen(FailurePredicate predicate) { failures_.push_back(std::move(predicate)); }
  void ClearFailures() { failures_.clear(); }
  const std::vector<Call>& Calls() const { return calls_; }
  void ClearCalls() { calls_.clear(); }

 private:
  RegResult Intercept(Operation operation, HKey key, std::string_view name, platform::KeyAccess access = platform::KeyAccess::kNone);
  std::string PathOf(HKey key) const;
  // Remembers the full path of a handle the wrapped store gave out.
  RegResult Track(RegResult result, HKey parent, std::string_view subKey, HKey handle);

  platform::RegistryStore* target_ = nullptr;
  std::map<HKey, std::string> paths_;
  std::vector<Call> calls_;
  std::vector<FailurePredicate> failures_;
};

}  // namespace quillon::testing
