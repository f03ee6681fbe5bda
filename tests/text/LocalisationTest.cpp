#include "text/Localisation.h"

#include <gtest/gtest.h>

#include "fakes/RecordingReporters.h"

namespace updater {
namespace {

struct Lookup {
  std::int16_t language;
  std::int32_t offset;
  std::string expected;
};

TEST(Localisation, TextsComeOutExactlyWithLineBreaksMade) {
  const Lookup cases[] = {
      {1000, 6, "%1 Updater: Download is fault.\r\nClick on icon for more details."},
      {1000, 8,
       "Downloading is fault: %1\r\nDo you want to try again? Click \"Yes\" to download again or \"No\" for quit."},
      {1000, 15, "Click \"OK\" to start installation process."},
      {2000, 2, "&Pause"},
      {2000, 7, "Download war nicht m\xC3\xB6glich."},
      {2000, 12, "The downgeladenen Datei hat eine falsche Gro\xD0\xAF" "e."},
      {2000, 13, "Das Update wurde erfolgreich downgeladen.\r\nKlicken Sie auf das Symbol f\xC3\xBCr weitere Informationen."},
      // Any base works as long as base + offset names a text.
      {1005, 1, "%1 Updater: Download is fault.\r\nClick on icon for more details."},
  };
  for (const Lookup& c : cases) {
    std::int16_t base = c.language;
    test::RecordingReporters reporters;
    Localisation texts(base, reporters);
    EXPECT_EQ(texts.LoadLocalString(c.offset), c.expected) << c.language << "+" << c.offset;
    EXPECT_TRUE(reporters.runtimeReports.empty());
  }
}

TEST(Localisation, EveryOffsetExistsInBothLanguages) {
  test::RecordingReporters reporters;
  for (std::int16_t base : {std::int16_t{1000}, std::int16_t{2000}}) {
    Localisation texts(base, reporters);
    for (int offset = 1; offset <= 15; ++offset) EXPECT_FALSE(texts.LoadLocalString(offset).empty());
  }
  EXPECT_TRUE(reporters.runtimeReports.empty());
}

TEST(Localisation, MissingIdIsReportedEachTimeAndGivesEmptyText) {
  test::RecordingReporters reporters;
  std::int16_t base = 1000;
  Localisation texts(base, reporters);
  EXPECT_EQ(texts.LoadLocalString(0), "");
  base = 3000;  // read on every call
  EXPECT_EQ(texts.LoadLocalString(1), "");
  EXPECT_EQ(texts.LoadLocalString(1), "");
  ASSERT_EQ(reporters.runtimeReports.size(), 3u);
  for (const auto& report : reporters.runtimeReports) {
    EXPECT_EQ(report.message, "Runtime Error in LoadLocalString");
    EXPECT_EQ(report.number, 326);
    EXPECT_GT(report.line, 0);
  }
}

}  // namespace
}  // namespace updater
