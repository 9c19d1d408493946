// A call log and chosen failures over any registry store (the in-memory one, or
// the real registry in the Windows build): every call is described, logged and
// offered to the failure predicates, then passed to the wrapped store, so one
// fault sweep runs unchanged on either store.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry_store.h"

namespace quillon::testing {

using platform::HKey;
using platform::RegResult;

class FaultInjectingRegistryStore : public platform::RegistryStore {
 public:
  enum class Operation {
    OpenKeyEx, CreateKeyEx, CreateKey, QueryValueEx, SetValueEx,
    EnumKey, EnumKeyEx, QueryInfoKey, DeleteKey, CloseKey
  };
  // One call as the store saw it. keyPath is the full path of the key the
  // handle argument stands for ("HKEY_CURRENT_USER\Software\..."); name is the
  // subkey or value name argument; access is the requested access, if any.
  struct Call {
    Operation operation;
    std::string keyPath;
    std::string name;
    platform::KeyAccess access = platform::KeyAccess::kNone;
  };
  // Returns the code a call fails with, or kErrorSuccess to let it through.
  using FailurePredicate = std::function<RegResult(const Call&)>;

  FaultInjectingRegistryStore() = default;
  explicit FaultInjectingRegistryStore(platform::RegistryStore& target) : target_(&target) {}
  FaultInjectingRegistryStore(const FaultInjectingRegistryStore&) = delete;
  FaultInjectingRegistryStore& operator=(const FaultInjectingRegistryStore&) = delete;

  // The store the calls go to; set before the first call.
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

  // Failures: the predicate sees every call before it runs.
  void FailWhen(FailurePredicate predicate) { failures_.push_back(std::move(predicate)); }
  // The nth call (1-based) of the given operation fails with `code`.
  void FailCall(Operation operation, int nth, RegResult code = platform::kErrorAccessDenied);
  void ClearFailures() { failures_.clear(); }
  const std::vector<Call>& Calls() const { return calls_; }
  void ClearCalls() { calls_.clear(); }
  // Off: no call is logged (a fuzz target never reads the log, and logging was
  // a tenth of its time); the failure predicates still see every call.
  void LogCalls(bool on) { logCalls_ = on; }

 private:
  RegResult Intercept(Operation operation, HKey key, std::string_view name, platform::KeyAccess access = platform::KeyAccess::kNone);
  std::string PathOf(HKey key) const;
  // Remembers the full path of a handle the wrapped store gave out.
  RegResult Track(RegResult result, HKey parent, std::string_view subKey, HKey handle);

  platform::RegistryStore* target_ = nullptr;
  std::map<HKey, std::string> paths_;
  std::vector<Call> calls_;
  bool logCalls_ = true;
  std::vector<FailurePredicate> failures_;
};

}  // namespace quillon::testing
