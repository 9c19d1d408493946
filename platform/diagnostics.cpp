#include "platform/diagnostics.h"

namespace quillon::platform {
namespace {

// The page runs on one thread; a test or a host with more gets a chain per thread.
thread_local DiagnosticStep* innermost = nullptr;

class NullSink final : public DiagnosticsSink {
 public:
  void Report(const IgnoredFailure&) noexcept override {}
};

std::u16string Ascii(const std::string& text) { return std::u16string(text.begin(), text.end()); }

std::u16string CodeText(std::int32_t code, CodeKind kind) {
  if (kind == CodeKind::kWin32) return Ascii(std::to_string(code));
  static constexpr char16_t kDigits[] = u"0123456789ABCDEF";
  const auto bits = static_cast<std::uint32_t>(code);
  std::u16string text = u"0x";
  for (int shift = 28; shift >= 0; shift -= 4) text += kDigits[(bits >> shift) & 0xF];
  return text;
}

// Control characters written out, so that a NUL cannot end the line early
// (debug output is a C string) and a TAB or CR cannot split it.
std::u16string Visible(std::u16string_view text) {
  static constexpr char16_t kDigits[] = u"0123456789ABCDEF";
  std::u16string visible;
  for (const char16_t unit : text) {
    if (unit >= 0x20) {
      visible += unit;
    } else {
      visible += u"\\x";
      visible += kDigits[unit >> 4];
      visible += kDigits[unit & 0xF];
    }
  }
  return visible;
}

}  // namespace

DiagnosticsSink& NullDiagnostics() {
  static NullSink sink;
  return sink;
}

std::u16string DescribeFailure(const IgnoredFailure& failure) {
  std::u16string text(failure.step);
  text += u": ";
  text += failure.call;
  if (!failure.subject.empty()) {
    text += u" [";
    text += Visible(failure.subject);
    text += u']';
  }
  if (failure.kind == CodeKind::kUnknown) return text + u" failed";
  return text + u" failed with " + CodeText(failure.code, failure.kind);
}

DiagnosticStep::DiagnosticStep(DiagnosticsSink& sink, std::u16string_view name)
    : sink_(sink), name_(name), outer_(innermost) {
  innermost = this;
}

DiagnosticStep::~DiagnosticStep() { innermost = outer_; }

void ReportIgnored(std::u16string_view call, std::u16string_view subject, std::int32_t code,
                   CodeKind kind) {
  if (!innermost) return;
  innermost->sink_.Report({innermost->name_, call, subject, code, kind});
}

}  // namespace quillon::platform
