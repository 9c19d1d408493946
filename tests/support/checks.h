// Test helpers that check several things return one AssertionResult listing
// every mismatch, so that the failure is reported at the test's own line and
// the test decides whether to go on (EXPECT_TRUE) or stop (ASSERT_TRUE).
#pragma once

#include <ostream>
#include <sstream>
#include <string>
#include <string_view>

#include <gtest/gtest.h>

namespace quillon::testing {

class Checks {
 public:
  // `subject` opens the failure message ("dialog 2", "account 0000000d").
  explicit Checks(std::string subject = "") { failures_ << subject; }

  template <class Actual, class Expected>
  Checks& Equal(const Actual& actual, const Expected& expected, std::string_view what) {
    if (!(actual == expected)) {
      Fail(what) << ": " << ::testing::PrintToString(actual) << ", expected "
                 << ::testing::PrintToString(expected);
    }
    return *this;
  }
  Checks& True(bool condition, std::string_view what) {
    if (!condition) Fail(what);
    return *this;
  }
  operator ::testing::AssertionResult() const {  // NOLINT: used as a test's result
    if (passed_) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << failures_.str();
  }

 private:
  std::ostream& Fail(std::string_view what) {
    passed_ = false;
    return failures_ << "\n  " << what;
  }

  bool passed_ = true;
  std::ostringstream failures_;
};

}  // namespace quillon::testing
