#include "text/Sprintf.h"

#include <gtest/gtest.h>

#include "fakes/RecordingReporters.h"

namespace updater {
namespace {

std::string Fill(const std::string& format, std::initializer_list<FormatValue> values) {
  test::RecordingReporters reporters;
  std::string result = sprintf(reporters, format, values);
  EXPECT_TRUE(reporters.runtimeReports.empty());
  return result;
}

TEST(Sprintf, FillsFirstOccurrencesInOrderOfTheValues) {
  EXPECT_EQ(Fill("%3 Updater: %1 kb of %2 is downloaded.", {120, 512, "Demo App"}),
            "Demo App Updater: 120 kb of 512 is downloaded.");
  EXPECT_EQ(Fill("%1 Updater", {}), "%1 Updater");
  EXPECT_EQ(Fill("", {"x"}), "");
  EXPECT_EQ(Fill("%1 and %1", {"a"}), "a and %1");
  EXPECT_EQ(Fill("100%%1", {"5"}), "100%5");
  EXPECT_EQ(Fill("[%1]", {""}), "[]");
  EXPECT_EQ(Fill("%1", {-42}), "-42");
  EXPECT_EQ(Fill("%1", {2.0}), "2");
  EXPECT_EQ(Fill("%1 %2", {"only"}), "only %2");
  EXPECT_EQ(Fill("%1", {"a", "b", "c"}), "a");
}

TEST(Sprintf, LaterPlaceholdersAreSearchedInTheFilledText) {
  // The first value brings its own "%2", which is now the first one.
  EXPECT_EQ(Fill("%1 %2", {"<%2>", "B"}), "<B> %2");
  // "%1" is found at the start of "%10" when that stands first.
  EXPECT_EQ(Fill("%10 %1", {"x", 2, 3, 4, 5, 6, 7, 8, 9, 10}), "x0 %1");
}

}  // namespace
}  // namespace updater
