#include "fuzz/reused_world.h"

namespace quillon::fuzz {

// ModuleState is made once per loaded library and has no reset of its own (it
// holds the store by reference, so it cannot be assigned): a new one in place.
void ResetModule(ModuleState& module) {
  platform::RegistryStore& store = module.registry;
  std::destroy_at(&module);
  std::construct_at(&module, store);
}

void OutlookRecords::Restore(testing::FakeOutlook& outlook) const {
  outlook.journal.clear();
  outlook.addIn->isRestartWrites.clear();
  outlook.app->inspectors = inspectors;
  outlook.app->quitCount = 0;
  outlook.site->statusChanges = 0;
  outlook.ns->defaultFolderLookups = 0;
}

}  // namespace quillon::fuzz
