#include "text/Trap.h"

#include <gtest/gtest.h>

#include <new>
#include <system_error>

#include "fakes/RecordingReporters.h"

namespace updater {
namespace {

TEST(Trap, FaultSkipsTheRestAndIsReportedWithNumberAndLine) {
  test::RecordingReporters r;
  int raisedAt = 0;
  TrapRuntime(r, "Runtime Error in Demo", [&] {
    raisedAt = __LINE__ + 1;
    RaiseFault(FaultNumber::Overflow);
    ADD_FAILURE() << "the rest of the body ran";
  });
  // The library's exceptions become faults by meaning, at the line of the trap.
  const int trapAt = __LINE__ + 1;
  TrapForm(r, "Rintime Error in A", [] { throw std::bad_alloc(); });
  TrapForm(r, "Rintime Error in B", [] { throw std::system_error(ENOSPC, std::generic_category()); });
  TrapForm(r, "Rintime Error in C", [] { throw std::system_error(EPERM, std::generic_category()); });
  TrapForm(r, "Rintime Error in D", [] {});
  ASSERT_EQ(r.runtimeReports.size(), 1u);
  EXPECT_EQ(r.runtimeReports[0].message + " " + std::to_string(r.runtimeReports[0].number), "Runtime Error in Demo 6");
  EXPECT_EQ(r.runtimeReports[0].line, raisedAt);
  ASSERT_EQ(r.formReports.size(), 3u);
  EXPECT_EQ(r.formReports[0].line, trapAt);
  EXPECT_EQ(r.formReports[0].number, 7);
  EXPECT_EQ(r.formReports[1].number, 61);
  EXPECT_EQ(r.formReports[2].number, 70);
}

TEST(Trap, FaultOfTheReporterGoesToTheCallersTrap) {
  struct Failing : IRuntimeErrors {
    void ReportRuntimeError(std::int32_t, std::int32_t, const std::string&) override {
      RaiseFault(FaultNumber::DeviceIoError);
    }
  } inner;
  test::RecordingReporters outer;
  TrapForm(outer, "Rintime Error in Outer",
           [&] { TrapRuntime(inner, "Runtime Error in Inner", [] { RaiseFault(FaultNumber::Overflow); }); });
  ASSERT_EQ(outer.formReports.size(), 1u);
  EXPECT_EQ(outer.formReports[0].number, 57);
}

}  // namespace
}  // namespace updater
