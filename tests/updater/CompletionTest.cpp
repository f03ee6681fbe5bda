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
  for (int i = 0; i < 17; ++i) h.form.tmrTrayAnim_Timer();
  h.internet.servers["host"]["setup.exe"] = Pattern(4000);
  h.desktop.answers.push_back(msgbox::kAnswerYes);
  h.desktop.onDoEvents = [&](int) { h.form.tmrTrayAnim_Timer(); };
  // A double click as the shell reports it: release, double click, release.
  for (int code : {test::kLeftUp, test::kLeftDouble, test::kLeftUp}) h.Click(code);

  ASSERT_EQ(h.desktop.boxes.size(), 1u);
  EXPECT_EQ(h.desktop.boxes[0].prompt,
            "Downloading is fault: Downloaded file has wrong size.\r\nDo you want to try again? Click \"Yes\" to "
            "download again or \"No\" for quit.");
  EXPECT_EQ(h.desktop.boxes[0].style, msgbox::kYesNo);
  EXPECT_EQ(h.desktop.boxes[0].title, "Updater");
  EXPECT_EQ(h.desktop.foregroundCalls, 1);
  EXPECT_EQ(h.LocalFile("setup.exe"), Pattern(4000));
  EXPECT_EQ(h.desktop.executed.size(), 1u);
  // The animation went on from red frame 17 to green frame 18.
  std::vector<std::uint32_t> frames;
  for (const auto& n : h.desktop.notifications)
    if (nid::ReadU32(n.record, nid::kFlags) == nid::NIF_ICON) frames.push_back(nid::ReadU32(n.record, nid::kIcon));
  EXPECT_EQ(frames[16], 217u);
  EXPECT_EQ(frames[17], 118u);
}

TEST(Completion, NoEndsTheProgramAndLaterEventsChangeNothing) {
  FormHarness h;
  h.internet.servers["host"]["setup.exe"] = Pattern(10);
  h.Load("ftp://host/setup.exe 11 2000");
  h.Click(test::kLeftUp);
  ASSERT_EQ(h.desktop.boxes.size(), 1u);
  EXPECT_EQ(h.desktop.boxes[0].prompt,
            "Download abgebrochen: The downgeladenen Datei hat eine falsche Gro\xD0\xAF" "e.\r\n"
            "Mochten Sie es nochmals versuchen?");
  EXPECT_TRUE(h.form.Unloaded());
  EXPECT_EQ(h.LocalFile("setup.exe"), Pattern(10));
  h.Click(test::kLeftUp);
  h.form.tmrTrayAnim_Timer();
  EXPECT_EQ(h.desktop.boxes.size(), 1u);
  EXPECT_EQ(h.desktop.quitCalls, 1);
  EXPECT_EQ(h.Requests(nid::NIM_DELETE), 1);
}

TEST(Completion, ClicksWhileTheQuestionIsOpenFindNothingToDo) {
  FormHarness h;
  h.Load("ftp://host 11 1000");
  h.desktop.onMsgBox = [&] { h.Click(test::kLeftUp); };
  h.Click(test::kLeftUp);
  EXPECT_EQ(h.desktop.boxes.size(), 1u);
}

TEST(Completion, RightClickOpensTheMenuAndCancelThereEndsAFailedUpdate) {
  FormHarness h;
  h.Load("ftp://host 11 1000");
  h.desktop.onPopup = [&] { h.form.MenuClick(MenuCommand::Cancel); };
  h.Click(test::kRightUp);
  EXPECT_EQ(h.desktop.foregroundCalls, 1);
  EXPECT_TRUE(h.form.Unloaded());
  EXPECT_TRUE(h.desktop.boxes.empty());
}

}  // namespace
}  // namespace updater
