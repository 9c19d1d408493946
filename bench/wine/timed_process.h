// Runs a command line to its end and says how long that took.
#pragma once

#include <windows.h>

#include <chrono>
#include <string>

#include "win/common/win_handles.h"

namespace quillon::bench {

// Milliseconds from the process's creation to its exit; -1 when it could not be started.
inline double TimedProcess(std::wstring commandLine) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  const auto start = std::chrono::steady_clock::now();
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process)) {
    return -1;
  }
  const win::UniqueHandle owned(process.hProcess), thread(process.hThread);
  WaitForSingleObject(owned.get(), INFINITE);
  const double elapsed =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  return elapsed;
}

}  // namespace quillon::bench
