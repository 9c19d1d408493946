// Failures that a step goes on without, reported so that they can be found.
//
// The page ignores failed calls by design (each step decides what a failure
// means); this is where each ignored failure leaves a trace, once, at the
// point where it is ignored. A step scope names what the page was doing and
// which sink hears of it; code below the page (the profile store) reports to
// the innermost step of its thread. Outside every step reports go nowhere.
// Standard library only: the Windows build's sink writes to the debugger.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quillon::platform {

// What kind of number a failure's code is.
enum class CodeKind : std::uint8_t {
  kWin32,    // a Win32 result code (LSTATUS), decimal
  kHResult,  // an HRESULT, hexadecimal
  kUnknown,  // the call failed without telling why
};

struct IgnoredFailure {
  std::u16string_view step;     // "Apply: identity account"
  std::u16string_view call;     // the store member or object-model call: "SetValueEx"
  std::u16string_view subject;  // the value or key name it was given; may be empty
  std::int32_t code = 0;
  CodeKind kind = CodeKind::kWin32;
};

class DiagnosticsSink {
 public:
  virtual ~DiagnosticsSink() = default;
  // Called once per ignored failure, on the thread that ignored it. Never throws.
  virtual void Report(const IgnoredFailure& failure) noexcept = 0;
};

// Hears nothing: where no sink is given.
DiagnosticsSink& NullDiagnostics();

// "Apply: identity account: SetValueEx [Email] failed with 5",
// "Load: host values: Application.Version failed with 0x80020009".
std::u16string DescribeFailure(const IgnoredFailure& failure);

// Names the step that failures ignored on this thread belong to, and the sink
// that hears of them, for as long as it lives. Steps nest; the innermost wins.
// The name is not copied: a literal, or a text that outlives the step.
class DiagnosticStep {
 public:
  DiagnosticStep(DiagnosticsSink& sink, std::u16string_view name);
  DiagnosticStep(const DiagnosticStep&) = delete;
  DiagnosticStep& operator=(const DiagnosticStep&) = delete;
  ~DiagnosticStep();

 private:
  friend void ReportIgnored(std::u16string_view, std::u16string_view, std::int32_t, CodeKind);
  DiagnosticsSink& sink_;
  std::u16string_view name_;
  DiagnosticStep* outer_;
};

// Tells the innermost step's sink that `call` failed with `code` and that the
// step goes on without it.
void ReportIgnored(std::u16string_view call, std::u16string_view subject, std::int32_t code,
                   CodeKind kind = CodeKind::kWin32);

}  // namespace quillon::platform
