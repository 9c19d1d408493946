// What one loaded copy of the control library owns: its instance handle, the
// count of live objects and locks, the visual-styles activation context, and
// the module state that every page instance of this library shares.
#pragma once

#include <windows.h>

#include <atomic>
#include <mutex>

#include "profile/module_state.h"
#include "win/common/win_handles.h"
#include "win/control/debug_output_diagnostics.h"
#include "win/registry/win32_registry_store.h"

namespace quillon::win {

class ControlModule {
 public:
  explicit ControlModule(HINSTANCE instance);
  ControlModule(const ControlModule&) = delete;
  ControlModule& operator=(const ControlModule&) = delete;
  ~ControlModule();

  HINSTANCE Instance() const { return instance_; }
  ModuleState& State() { return state_; }
  // Activates the library's comctl32 v6 manifest while windows and dialogs are
  // made. Made on first use: nothing of this may run while the loader holds its lock.
  ActivationScope ActivateVisualStyles() const;

  void ObjectCreated() { ++objects_; }
  void ObjectDestroyed() { --objects_; }
  void Lock(bool lock) { lock ? ++locks_ : --locks_; }
  bool CanUnload() const { return objects_ == 0 && locks_ == 0; }
  // Registry keys the pages have open right now (leak checks).
  std::size_t OpenRegistryKeys() const { return registry_.OpenKeyCount(); }

 private:
  HINSTANCE instance_;
  mutable std::once_flag visualStylesOnce_;
  mutable UniqueActCtx visualStyles_;
  Win32RegistryStore registry_;
  DebugOutputDiagnostics diagnostics_;
  ModuleState state_{registry_, diagnostics_};
  std::atomic<long> objects_{0};
  std::atomic<long> locks_{0};
};

}  // namespace quillon::win
