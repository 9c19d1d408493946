// A diagnostics sink that keeps every report, for tests to look at.
#pragma once

#include <string>
#include <vector>

#include "platform/diagnostics.h"

namespace quillon::testing {

struct RecordedFailure {
  std::u16string step;
  std::u16string call;
  std::u16string subject;
  std::int32_t code = 0;
  platform::CodeKind kind = platform::CodeKind::kWin32;
  bool operator==(const RecordedFailure&) const = default;
};

class RecordingDiagnostics : public platform::DiagnosticsSink {
 public:
  void Report(const platform::IgnoredFailure& failure) noexcept override {
    reports_.push_back({std::u16string(failure.step), std::u16string(failure.call),
                        std::u16string(failure.subject), failure.code, failure.kind});
  }
  const std::vector<RecordedFailure>& Reports() const { return reports_; }
  void Clear() { reports_.clear(); }

 private:
  std::vector<RecordedFailure> reports_;
};

}  // namespace quillon::testing
