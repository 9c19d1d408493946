#include "win/control/debug_output_diagnostics.h"

#include <windows.h>

#include <string>

namespace quillon::win {

void DebugOutputDiagnostics::Report(const platform::IgnoredFailure& failure) noexcept {
  try {
    std::wstring line = kDebugOutputPrefix;
    const std::u16string text = platform::DescribeFailure(failure);
    line.append(text.begin(), text.end());
    line += L'\n';
    OutputDebugStringW(line.c_str());
  } catch (...) {
    // Out of memory: the report is lost, the page goes on.
  }
}

}  // namespace quillon::win
