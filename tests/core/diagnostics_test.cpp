// The diagnostics sink: how a failure is told and which step hears of it.
// Which registry results are failures at all: ProfileCallSteps.
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "platform/diagnostics.h"
#include "testing/recording_diagnostics.h"

namespace quillon::testing {
namespace {

using namespace platform;
using Reports = std::vector<RecordedFailure>;

TEST(Diagnostics, AFailureIsToldWithItsStepCallSubjectAndCode) {
  EXPECT_EQ(DescribeFailure({u"Apply: identity accounts", u"SetValueEx", u"Email", 5, CodeKind::kWin32}),
            u"Apply: identity accounts: SetValueEx [Email] failed with 5");
  EXPECT_EQ(DescribeFailure({u"Load: host values", u"Application.Version", u"",
                             static_cast<std::int32_t>(0x80020009), CodeKind::kHResult}),
            u"Load: host values: Application.Version failed with 0x80020009");
  // A NUL would end a debug-output line early, a TAB or CR split it.
  EXPECT_EQ(DescribeFailure({u"Load: folders", u"NameSpace.GetFolderFromID",
                             std::u16string_view(u"a\0\tb\r", 5), 0, CodeKind::kUnknown}),
            u"Load: folders: NameSpace.GetFolderFromID [a\\x00\\x09b\\x0D] failed");
}

TEST(Diagnostics, TheInnermostStepOfTheThreadHearsAndOutsideEveryStepNobody) {
  RecordingDiagnostics outerSink;
  RecordingDiagnostics innerSink;
  ReportIgnored(u"Before", u"", 1);
  {
    DiagnosticStep outer(outerSink, u"Outer");
    {
      DiagnosticStep inner(innerSink, u"Inner");
      ReportIgnored(u"InInner", u"x", 2);
    }
    ReportIgnored(u"InOuter", u"", 3);
    // Another thread has steps of its own: none here.
    std::thread([] { ReportIgnored(u"OtherThread", u"", 4); }).join();
  }
  ReportIgnored(u"After", u"", 5);
  EXPECT_EQ(innerSink.Reports(), (Reports{{u"Inner", u"InInner", u"x", 2, CodeKind::kWin32}}));
  EXPECT_EQ(outerSink.Reports(), (Reports{{u"Outer", u"InOuter", u"", 3, CodeKind::kWin32}}));
}

}  // namespace
}  // namespace quillon::testing
