#include "text/Localisation.h"

#include <gtest/gtest.h>

#include "fakes/RecordingReporters.h"

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

TEST(Localisation, MissingIdIsReportedEachTimeAndGivesEmptyText) {
  test::RecordingReporters reporters;
  std::int16_t base = 1000;
  const Localisation texts(base, reporters);
  EXPECT_EQ(texts.LoadLocalString(0), "");
  base = 3000;  // read on every call
  EXPECT_EQ(texts.LoadLocalString(1), "");
  ASSERT_EQ(reporters.runtimeReports.size(), 2u);
  EXPECT_EQ(reporters.runtimeReports[1].message, "Runtime Error in LoadLocalString");
  EXPECT_EQ(reporters.runtimeReports[1].number, 326);
}

}  // namespace
}  // namespace updater
