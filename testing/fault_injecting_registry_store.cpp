#include "testing/fault_injecting_registry_store.h"

namespace quillon::testing {

using namespace platform;

std::string FaultInjectingRegistryStore::PathOf(HKey key) const {
  if (key == kCurrentUser) return "HKEY_CURRENT_USER";
  if (key == kClassesRoot) return "HKEY_CLASSES_ROOT";
  const auto known = paths_.find(key);
  return known == paths_.end() ? std::string() : known->second;
}

RegResult FaultInjectingRegistryStore::Intercept(Operation operation, HKey key, std::string_view name,
                                                 KeyAccess access) {
  if (!logCalls_ && failures_.empty()) return kErrorSuccess;
  Call call{operation, PathOf(key), std::string(name), access};
  if (logCalls_) calls_.push_back(call);
  for (const FailurePredicate& failure : failures_) {
    if (RegResult code = failure(call); code != kErrorSuccess) return code;
  }
  return kErrorSuccess;
}

RegResult FaultInjectingRegistryStore::Track(RegResult result, HKey parent, std::string_view subKey,
                                             HKey handle) {
  if (result != kErrorSuccess) return result;
  const std::string parentPath = PathOf(parent);
  paths_[handle] = subKey.empty() ? parentPath : parentPath + "\\" + std::string(subKey);
  return result;
}

RegResult FaultInjectingRegistryStore::OpenKeyEx(HKey parent, std::string_view subKey,
                                                 KeyAccess access, HKey& result) {
  if (RegResult code = Intercept(Operation::OpenKeyEx, parent, subKey, access)) return code;
  const RegResult code = target_->OpenKeyEx(parent, subKey, access, result);
  return Track(code, parent, subKey, result);
}

RegResult FaultInjectingRegistryStore::CreateKeyEx(HKey parent, std::string_view subKey,
                                                   KeyAccess access, HKey& result, bool* created) {
  if (RegResult code = Intercept(Operation::CreateKeyEx, parent, subKey, access)) return code;
  const RegResult code = target_->CreateKeyEx(parent, subKey, access, result, created);
  return Track(code, parent, subKey, result);
}

RegResult FaultInjectingRegistryStore::CreateKey(HKey parent, std::string_view subKey, HKey& result) {
  if (RegResult code = Intercept(Operation::CreateKey, parent, subKey, KeyAccess::kAllAccess)) return code;
  const RegResult code = target_->CreateKey(parent, subKey, result);
  return Track(code, parent, subKey, result);
}

RegResult FaultInjectingRegistryStore::QueryValueEx(HKey key, std::string_view valueName,
                                                    std::uint32_t* type, std::uint8_t* data,
                                                    std::uint32_t* size) {
  if (RegResult code = Intercept(Operation::QueryValueEx, key, valueName)) return code;
  return target_->QueryValueEx(key, valueName, type, data, size);
}

RegResult FaultInjectingRegistryStore::SetValueEx(HKey key, std::string_view valueName,
                                                  std::uint32_t type, const std::uint8_t* data,
                                                  std::uint32_t size) {
  if (RegResult code = Intercept(Operation::SetValueEx, key, valueName)) return code;
  return target_->SetValueEx(key, valueName, type, data, size);
}

RegResult FaultInjectingRegistryStore::EnumKey(HKey key, std::uint32_t index, char* name,
                                               std::uint32_t nameSize) {
  if (RegResult code = Intercept(Operation::EnumKey, key, "")) return code;
  return target_->EnumKey(key, index, name, nameSize);
}

RegResult FaultInjectingRegistryStore::EnumKeyEx(HKey key, std::uint32_t index, char* name,
                                                 std::uint32_t* nameLength) {
  if (RegResult code = Intercept(Operation::EnumKeyEx, key, "")) return code;
  return target_->EnumKeyEx(key, index, name, nameLength);
}

RegResult FaultInjectingRegistryStore::QueryInfoKey(HKey key, std::uint32_t* subKeys,
                                                    std::uint32_t* maxSubKeyLength) {
  if (RegResult code = Intercept(Operation::QueryInfoKey, key, "")) return code;
  return target_->QueryInfoKey(key, subKeys, maxSubKeyLength);
}

RegResult FaultInjectingRegistryStore::DeleteKey(HKey key, std::string_view subKey) {
  if (RegResult code = Intercept(Operation::DeleteKey, key, subKey)) return code;
  return target_->DeleteKey(key, subKey);
}

RegResult FaultInjectingRegistryStore::CloseKey(HKey key) {
  if (RegResult code = Intercept(Operation::CloseKey, key, "")) return code;
  const RegResult result = target_->CloseKey(key);
  if (result == kErrorSuccess) paths_.erase(key);
  return result;
}

void FaultInjectingRegistryStore::FailCall(Operation operation, int nth, RegResult code) {
  FailWhen([=, seen = 0](const Call& call) mutable {
    return call.operation == operation && ++seen == nth ? code : kErrorSuccess;
  });
}

}  // namespace quillon::testing
