// What a registry operation of the access layer gave, before the caller
// decides what a failure means.
//
// A missing value or key is not a failure: reads tell "not there" (nothing,
// no failure) from "failed" (the store call and its Win32 code). A caller that
// goes on without a failed call says so with Ignore(), which reports it to the
// current diagnostic step once.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "platform/diagnostics.h"
#include "platform/registry_store.h"

namespace quillon::profile {

class [[nodiscard]] RegOutcome {
 public:
  RegOutcome() = default;  // success
  // `call` is the store member that failed ("SetValueEx"); it names a literal.
  RegOutcome(std::u16string_view call, std::u16string subject, platform::RegResult code)
      : call_(call), subject_(std::move(subject)), code_(code) {}
  static RegOutcome Of(platform::RegResult code, std::u16string_view call,
                       std::u16string_view subject) {
    if (code == platform::kErrorSuccess) return {};
    return {call, std::u16string(subject), code};
  }

  bool ok() const { return code_ == platform::kErrorSuccess; }
  explicit operator bool() const { return ok(); }
  platform::RegResult code() const { return code_; }
  std::u16string_view call() const { return call_; }
  std::u16string_view subject() const { return subject_; }

  // Reports a failure as one the current step goes on without.
  void Ignore() const {
    if (!ok()) platform::ReportIgnored(call_, subject_, code_);
  }

 private:
  std::u16string_view call_;
  std::u16string subject_;
  platform::RegResult code_ = platform::kErrorSuccess;
};

// A value read: found, missing (no value, no failure) or failed.
template <class T>
class [[nodiscard]] RegRead {
 public:
  RegRead() = default;  // missing
  RegRead(T value) : value_(std::move(value)) {}
  RegRead(RegOutcome failure) : failure_(std::move(failure)) {}

  bool Found() const { return value_.has_value(); }
  bool Missing() const { return !value_ && failure_.ok(); }
  const RegOutcome& Failure() const { return failure_; }
  const std::optional<T>& Value() const { return value_; }

  // What the page has always made of a read: the value, or nothing when it is
  // missing or unreadable. A failure is reported as ignored.
  std::optional<T> IgnoringFailure() && {
    failure_.Ignore();
    return std::move(value_);
  }
  T Or(T fallback) && { return std::move(*this).IgnoringFailure().value_or(std::move(fallback)); }

 private:
  std::optional<T> value_;
  RegOutcome failure_;
};

}  // namespace quillon::profile
