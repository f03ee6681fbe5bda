#include "text/Sprintf.h"

#include <gtest/gtest.h>

#include "fakes/RecordingReporters.h"

namespace updater {
namespace {

TEST(Sprintf, EachValueFillsTheFirstOccurrenceInTheTextAsItStands) {
  test::RecordingReporters r;
  EXPECT_EQ(sprintf(r, "%3 Updater: %1 kb of %2 is downloaded.", {120, 512, "Demo App"}),
            "Demo App Updater: 120 kb of 512 is downloaded.");
  EXPECT_EQ(sprintf(r, "%1 Updater", {}), "%1 Updater");
  EXPECT_EQ(sprintf(r, "%1 and %1", {"a"}), "a and %1");
  EXPECT_EQ(sprintf(r, "100%%1", {-5}), "100%-5");
  EXPECT_EQ(sprintf(r, "[%1] %2", {""}), "[] %2");
  EXPECT_EQ(sprintf(r, "%1 %2", {"<%2>", "B"}), "<B> %2");  // the first value brought its own "%2"
  EXPECT_EQ(sprintf(r, "%10 %1", {"x", 2, 3, 4, 5, 6, 7, 8, 9, 10}), "x0 %1");
  EXPECT_TRUE(r.runtimeReports.empty());
}

}  // namespace
}  // namespace updater
