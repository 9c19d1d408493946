// The diagnostics sink: how a failure is told, which step hears of it, and
// which registry results are failures at all.
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "platform/diagnostics.h"
#include "profile/registry_access.h"
#include "profile/scoped_key.h"
#include "testing/fault_injecting_registry_store.h"
#include "testing/memory_registry_store.h"
#include "testing/recording_diagnostics.h"

namespace quillon::testing {
namespace {

using namespace platform;
using profile::ValueTextMode;
using Reports = std::vector<RecordedFailure>;
using Operation = FaultInjectingRegistryStore::Operation;

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

class RegistryReports : public ::testing::Test {
 protected:
  static constexpr char kPath[] = "Software\\Quillon Test";
  static constexpr char16_t kWidePath[] = u"Software\\Quillon Test";

  MemoryRegistryStore memory_;
  FaultInjectingRegistryStore store_{memory_};
  RecordingDiagnostics sink_;
  DiagnosticStep step_{sink_, u"Test"};
};

TEST_F(RegistryReports, WhatIsNotThereIsNoFailure) {
  memory_.PutValue(kCurrentUser, kPath, "long", kRegBinary, std::vector<std::uint8_t>(1000, 'x'));
  memory_.CreateKeyPath(kCurrentUser, std::string(kPath) + "\\Sub\\Deeper");
  EXPECT_EQ(profile::OpenKey(store_, kCurrentUser, u"Software\\Missing"), kNoKey);
  {
    profile::ScopedKey key(store_, profile::OpenKey(store_, kCurrentUser, kWidePath));
    EXPECT_TRUE(profile::TryReadDwordValue(store_, key.get(), u"missing").Missing());
    EXPECT_TRUE(profile::TryReadValueText(store_, key.get(), u"missing", ValueTextMode::kSingleText).Missing());
    // Read by its size: the first query's ERROR_MORE_DATA is part of the protocol.
    EXPECT_EQ(profile::ReadValueText(store_, key.get(), u"long", ValueTextMode::kSingleText).size(), 500u);
  }
  EXPECT_TRUE(profile::TryReadBinaryValue(store_, kWidePath, u"missing").Missing());
  profile::DeleteKeyTree(store_, kCurrentUser, kWidePath);  // enumerates to ERROR_NO_MORE_ITEMS
  profile::DeleteKeyTree(store_, kCurrentUser, kWidePath);  // nothing left to delete
  EXPECT_FALSE(memory_.KeyExists(kCurrentUser, kPath));
  EXPECT_EQ(sink_.Reports(), Reports{});
}

TEST_F(RegistryReports, AFailedReadIsToldFromAMissingOneAndReportedOnceWhereItIsIgnored) {
  memory_.PutValue(kCurrentUser, kPath, "n", kRegDword, {7, 0, 0, 0});
  profile::ScopedKey key(store_, profile::OpenKey(store_, kCurrentUser, kWidePath));
  store_.FailCall(Operation::QueryValueEx, 1);
  const profile::RegRead<std::int32_t> read = profile::TryReadDwordValue(store_, key.get(), u"n");
  EXPECT_FALSE(read.Found());
  EXPECT_FALSE(read.Missing());
  EXPECT_EQ(read.Failure().code(), kErrorAccessDenied);
  EXPECT_EQ(read.Failure().call(), u"QueryValueEx");
  EXPECT_EQ(sink_.Reports(), Reports{}) << "telling a failure is not ignoring it";

  store_.ClearFailures();
  store_.FailCall(Operation::QueryValueEx, 1);
  EXPECT_EQ(profile::ReadDwordValue(store_, key.get(), u"n"), 0);  // as when it is missing
  EXPECT_EQ(profile::ReadDwordValue(store_, key.get(), u"n"), 7);
  EXPECT_EQ(sink_.Reports(), (Reports{{u"Test", u"QueryValueEx", u"n", kErrorAccessDenied, CodeKind::kWin32}}));
}

TEST_F(RegistryReports, AKeyThatWillNotOpenOrCloseIsReported) {
  memory_.CreateKeyPath(kCurrentUser, kPath);
  store_.FailWhen([](const FaultInjectingRegistryStore::Call& call) {
    return call.operation == Operation::OpenKeyEx || call.operation == Operation::CloseKey ? kErrorAccessDenied
                                                                                             : kErrorSuccess;
  });
  EXPECT_EQ(profile::OpenKey(store_, kCurrentUser, kWidePath), kNoKey);
  { profile::ScopedKey key(store_, profile::CreateWritableKey(store_, kWidePath)); }
  store_.ClearFailures();
  EXPECT_EQ(sink_.Reports(), (Reports{{u"Test", u"OpenKeyEx", kWidePath, kErrorAccessDenied, CodeKind::kWin32},
                                      {u"Test", u"CloseKey", u"", kErrorAccessDenied, CodeKind::kWin32}}));
}

}  // namespace
}  // namespace quillon::testing
