// A page world (PageRig or SweepWorld) built once per process and put back
// after every input: building one per input cost most of a run under ASan.
// Putting back restores everything an input may change: the registry's keys
// and values, the module (as a newly loaded library has it: no restart flags,
// no host objects), the user (no script, no records), Outlook's records, and
// drops the page's controls. An input thus frees what it allocated, as
// libFuzzer's leak check after each input expects.
#pragma once

#include <memory>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "testing/page_rig.h"

namespace quillon::fuzz {

void ResetModule(ModuleState& module);

// Outlook's records of what the page did; the folders are never the page's to change.
struct OutlookRecords {
  explicit OutlookRecords(const testing::FakeOutlook& outlook)
      : inspectors(outlook.app->inspectors) {}
  void Restore(testing::FakeOutlook& outlook) const;
  std::vector<testing::FakeInspector> inspectors;  // a page may close them
};

template <class World>
class ReusedWorld {
 public:
  // The world for one input; put back when the turn ends.
  class Turn {
   public:
    explicit Turn(ReusedWorld& owner) : owner_(owner) {}
    Turn(const Turn&) = delete;
    Turn& operator=(const Turn&) = delete;
    ~Turn() { owner_.PutBack(); }
    World& world() const { return owner_.world_; }

   private:
    ReusedWorld& owner_;
  };

  ReusedWorld() { world_.faults.LogCalls(false); }
  ReusedWorld(const ReusedWorld&) = delete;
  ReusedWorld& operator=(const ReusedWorld&) = delete;

  [[nodiscard]] Turn Enter() { return Turn(*this); }

 private:
  void PutBack() {
    FUZZ_CHECK(world_.registry.OpenHandleCount() == 0);  // a handle would outlive its tree
    world_.DropControls();
    world_.registry.RestoreTree(*start_);
    ResetModule(world_.module);
    world_.user = testing::ScriptedUser();
    records_.Restore(world_.outlook);
    if (SelfChecking()) {
      const World fresh;
      FUZZ_CHECK(testing::TakeImage(world_.registry) == testing::TakeImage(fresh.registry));
    }
  }

  World world_;
  const std::shared_ptr<const testing::MemoryRegistryStore::Tree> start_ = world_.registry.SaveTree();
  const OutlookRecords records_{world_.outlook};
};

}  // namespace quillon::fuzz
