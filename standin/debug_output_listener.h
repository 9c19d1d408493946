// Listens to this process's debug output as DebugView does and records the
// page's reports (lines starting "Quillon: ") in the Outlook log as
// {"event": "Diagnostic", "text": ...}.
//
// OutputDebugString, when no debugger is attached, hands its text to a monitor
// through the shared section DBWIN_BUFFER (the writer's process id, then the
// ANSI text) guarded by two events: the monitor sets DBWIN_BUFFER_READY when
// the section is free, the writer sets DBWIN_DATA_READY when it has filled it.
// Wine's kernelbase implements the writer's side the same way.
#pragma once

#include <windows.h>

#include <atomic>

#include "standin/event_log.h"

namespace quillon::standin {

class DebugOutputListener {
 public:
  explicit DebugOutputListener(EventLog& log);
  DebugOutputListener(const DebugOutputListener&) = delete;
  DebugOutputListener& operator=(const DebugOutputListener&) = delete;
  // Records what was written before it, then stops listening.
  ~DebugOutputListener();

  // False when another monitor (a DebugView, another stand-in) holds the
  // section or it could not be made: the reports then go to that monitor.
  bool Listening() const { return thread_ != nullptr; }

 private:
  static DWORD WINAPI Run(void* self);
  void Listen();
  void TakeBuffer();

  EventLog& log_;
  HANDLE bufferReady_ = nullptr;
  HANDLE dataReady_ = nullptr;
  HANDLE mapping_ = nullptr;
  void* view_ = nullptr;
  HANDLE thread_ = nullptr;
  std::atomic<bool> stopping_{false};
};

}  // namespace quillon::standin
