#include "text/Trap.h"

#include <gtest/gtest.h>

#include <new>
#include <system_error>

#include "fakes/RecordingReporters.h"

namespace updater {
namespace {

TEST(Trap, FaultSkipsTheRestAndIsReportedWithItsLine) {
  test::RecordingReporters reporters;
  bool rest = false;
  int raisedAt = 0;
  TrapRuntime(reporters, "Runtime Error in Demo", [&] {
    raisedAt = __LINE__ + 1;
    RaiseFault(FaultNumber::Overflow);
    rest = true;
  });
  EXPECT_FALSE(rest);
  ASSERT_EQ(reporters.runtimeReports.size(), 1u);
  EXPECT_EQ(reporters.runtimeReports[0].message, "Runtime Error in Demo");
  EXPECT_EQ(reporters.runtimeReports[0].number, 6);
  EXPECT_EQ(reporters.runtimeReports[0].line, raisedAt);
}

TEST(Trap, LibraryExceptionsBecomeCatalogueFaults) {
  test::RecordingReporters reporters;
  TrapForm(reporters, "Rintime Error in A", [] { throw std::bad_alloc(); });
  TrapForm(reporters, "Rintime Error in B", [] { throw std::system_error(ENOSPC, std::generic_category()); });
  TrapForm(reporters, "Rintime Error in C", [] { throw 42; });
  TrapForm(reporters, "Rintime Error in D", [] {});
  ASSERT_EQ(reporters.formReports.size(), 3u);
  EXPECT_EQ(reporters.formReports[0].number, 7);
  EXPECT_EQ(reporters.formReports[1].number, 61);
  EXPECT_EQ(reporters.formReports[2].number, 51);
  EXPECT_EQ(reporters.formReports[2].message, "Rintime Error in C");
}

TEST(Trap, FaultOfTheReporterGoesToTheCallersTrap) {
  struct ThrowingReporter : IRuntimeErrors {
    void ReportRuntimeError(std::int32_t, std::int32_t, const std::string&) override {
      RaiseFault(FaultNumber::DeviceIoError);
    }
  } inner;
  test::RecordingReporters outer;
  TrapForm(outer, "Rintime Error in Outer", [&] { TrapRuntime(inner, "Runtime Error in Inner", [] {
    RaiseFault(FaultNumber::Overflow); }); });
  ASSERT_EQ(outer.formReports.size(), 1u);
  EXPECT_EQ(outer.formReports[0].number, 57);
}

}  // namespace
}  // namespace updater
