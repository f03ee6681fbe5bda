#include <gtest/gtest.h>

#include "updater/FormHarness.h"

namespace updater {
namespace {

using test::FormHarness;
using test::Pattern;

TEST(Completion, ClickAfterAFailureAsksOnceAndYesTriesAgainFromTheFirstByte) {
  FormHarness h;
  h.internet.servers["host"]["setup.exe"] = Pattern(3000);
  h.Load("ftp://host/setup.exe 4000 1000");
  ASSERT_TRUE(h.state.DownloadFailed);
  EXPECT_EQ(h.LocalFile("setup.exe"), Pattern(3000));

  h.internet.servers["host"]["setup.exe"] = Pattern(4000);
  h.desktop.answers.push_back(msgbox::kAnswerYes);
  // A left double click as the shell reports it: release, double click, release.
  h.Click(test::kLeftUp);
  h.Click(test::kLeftDouble);
  h.Click(test::kLeftUp);

  ASSERT_EQ(h.desktop.boxes.size(), 1u);
  EXPECT_EQ(h.desktop.boxes[0].prompt,
            "Downloading is fault: Downloaded file has wrong size.\r\nDo you want to try again? Click \"Yes\" to "
            "download again or \"No\" for quit.");
  EXPECT_EQ(h.desktop.boxes[0].style, 4);
  EXPECT_EQ(h.desktop.boxes[0].title, "Updater");
  EXPECT_EQ(h.desktop.foregroundCalls, 1);
  EXPECT_EQ(h.LocalFile("setup.exe"), Pattern(4000));
  EXPECT_EQ(h.desktop.executed.size(), 1u);
  EXPECT_TRUE(h.form.Unloaded());
}

TEST(Completion, NoEndsTheProgramAndKeepsTheFailedFile) {
  FormHarness h;
  h.internet.servers["host"]["setup.exe"] = Pattern(10);
  h.Load("ftp://host/setup.exe 11 2000");
  h.desktop.answers.push_back(msgbox::kAnswerNo);
  h.Click(test::kLeftUp);
  ASSERT_EQ(h.desktop.boxes.size(), 1u);
  EXPECT_EQ(h.desktop.boxes[0].prompt,
            "Download abgebrochen: The downgeladenen Datei hat eine falsche Gro\xD0\xAF" "e.\r\n"
            "Mochten Sie es nochmals versuchen?");
  EXPECT_TRUE(h.form.Unloaded());
  EXPECT_EQ(h.Requests(nid::NIM_DELETE), 1);
  EXPECT_EQ(h.LocalFile("setup.exe"), Pattern(10));
  // Further events after the end change nothing.
  h.Click(test::kLeftUp);
  h.form.tmrTrayAnim_Timer();
  EXPECT_EQ(h.desktop.boxes.size(), 1u);
  EXPECT_EQ(h.desktop.quitCalls, 1);
}

TEST(Completion, ClicksWhileTheQuestionIsOpenFindNothingToDo) {
  FormHarness h;
  h.Load("ftp://host 11 1000");
  h.desktop.onMsgBox = [&] {
    if (h.desktop.boxes.size() == 1) h.Click(test::kLeftUp);
  };
  h.Click(test::kLeftUp);
  EXPECT_EQ(h.desktop.boxes.size(), 1u);
}

TEST(Completion, CancelAfterAFailureEndsTheProgram) {
  FormHarness h;
  h.Load("ftp://host 11 1000");
  h.desktop.onPopup = [&] { h.Choose(MenuCommand::Cancel); };
  h.Click(test::kRightUp);
  EXPECT_TRUE(h.form.Unloaded());
  EXPECT_TRUE(h.desktop.boxes.empty());
}

TEST(Completion, RetryStartsFromTheFailureTooltipAndRedFramesTurnGreen) {
  FormHarness h;
  h.Load("ftp://nohost/setup.exe 200000 1000");
  for (int i = 0; i < 17; ++i) h.form.tmrTrayAnim_Timer();
  h.internet.servers["nohost"]["setup.exe"] = Pattern(200000);
  h.desktop.onDoEvents = [&](int) { h.form.tmrTrayAnim_Timer(); };
  h.desktop.answers.push_back(msgbox::kAnswerYes);
  h.Click(test::kLeftUp);
  // The first frame of the second attempt follows the last red one.
  std::vector<std::uint32_t> icons;
  for (const auto& n : h.desktop.notifications) {
    if (n.message == nid::NIM_MODIFY && nid::ReadU32(n.record, nid::kFlags) == nid::NIF_ICON)
      icons.push_back(nid::ReadU32(n.record, nid::kIcon));
  }
  ASSERT_GT(icons.size(), 18u);
  EXPECT_EQ(icons[16], 217u);
  EXPECT_EQ(icons[17], 118u);
  EXPECT_EQ(h.desktop.executed.size(), 1u);
}

}  // namespace
}  // namespace updater
