// The library's diagnostics sink on Windows: each ignored failure becomes one
// line of debug output (OutputDebugStringW), which a debugger or DebugView
// shows. No file and no setting: with nobody listening the line costs little.
#pragma once

#include "platform/diagnostics.h"

namespace quillon::win {

// What starts every line, so that a listener can tell the page's reports apart.
inline constexpr wchar_t kDebugOutputPrefix[] = L"Quillon: ";

class DebugOutputDiagnostics final : public platform::DiagnosticsSink {
 public:
  void Report(const platform::IgnoredFailure& failure) noexcept override;
};

}  // namespace quillon::win
