// The program's texts: the string table through Localisation, and placeholder filling.
#include <gtest/gtest.h>

#include "fakes/RecordingReporters.h"
#include "text/Localisation.h"
#include "text/Sprintf.h"

namespace updater {
namespace {

// A few texts whose exact letters matter, misspellings and all.
TEST(Localisation, TextsComeOutLetterForLetterWithLineBreaksMade) {
  const std::tuple<std::int16_t, std::int32_t, std::string> cases[] = {
      {1000, 6, "%1 Updater: Download is fault.\r\nClick on icon for more details."},
      {2000, 7, "Download war nicht m\xC3\xB6glich."},
      {2000, 12, "The downgeladenen Datei hat eine falsche Gro\xD0\xAF" "e."},
      {2000, 15, "KLicken Sie auf OK um die Installation zu starten."},
      {1005, 1, "%1 Updater: Download is fault.\r\nClick on icon for more details."},  // any base works
  };
  test::RecordingReporters reporters;
  for (const auto& [base, offset, expected] : cases)
    EXPECT_EQ(Localisation(base, reporters).LoadLocalString(offset), expected) << base << "+" << offset;
  EXPECT_TRUE(reporters.runtimeReports.empty());
}

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
