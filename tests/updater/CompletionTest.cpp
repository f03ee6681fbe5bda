#include <gtest/gtest.h>

#include "updater/FormHarness.h"

namespace updater {
namespace {

using test::FormHarness;
using test::Pattern;

TEST(Completion, ClickAfterAFailureAsksOnceAndYesTriesAgainFromTheFirstByte) {
  FormHarness h;
  h.Load("ftp://host/setup.exe 4000 1000", 3000);
  for (int i = 0; i < 17; ++i) h.form.tmrTrayAnim_Timer();
  h.internet.servers["host"]["setup.exe"] = Pattern(4000);
  h.desktop.answers.push_back(msgbox::kAnswerYes);
  h.desktop.on = [&](const std::string& call) {
    if (call == "DoEvents") h.form.tmrTrayAnim_Timer();
  };
  // A double click as the shell reports it: release, double click, release.
  for (int code : {test::kLeftUp, test::kLeftDouble, test::kLeftUp}) h.Click(code);

  ASSERT_EQ(h.desktop.boxes.size(), 1u);
  EXPECT_EQ(h.desktop.boxes[0].prompt,
            "Downloading is fault: Downloaded file has wrong size.\r\nDo you want to try again? Click \"Yes\" to "
            "download again or \"No\" for quit.");
  EXPECT_EQ(h.desktop.boxes[0].style, msgbox::kYesNo);
  EXPECT_EQ(h.desktop.boxes[0].title, "Updater");
  EXPECT_EQ(h.desktop.calls["SetForegroundWindow"], 1);
  EXPECT_EQ(h.LocalFile(), Pattern(4000));
  EXPECT_EQ(h.desktop.executed.size(), 1u);
  // The animation went on from red frame 17 to green frame 18.
  const auto frames = h.desktop.Modified(2, test::kIcon);
  EXPECT_EQ(frames[16] + " " + frames[17], "217 118");
}

TEST(Completion, NoEndsTheProgramAndLaterEventsChangeNothing) {
  FormHarness h;
  h.Load("ftp://host/setup.exe 11 2000", 10);
  h.Click(test::kLeftUp);
  ASSERT_EQ(h.desktop.boxes.size(), 1u);
  EXPECT_EQ(h.desktop.boxes[0].prompt,
            "Download abgebrochen: The downgeladenen Datei hat eine falsche Gro\xD0\xAF" "e.\r\n"
            "Mochten Sie es nochmals versuchen?");
  EXPECT_TRUE(h.form.Unloaded());
  EXPECT_EQ(h.LocalFile(), Pattern(10));
  h.Click(test::kLeftUp);
  h.form.tmrTrayAnim_Timer();
  EXPECT_EQ(h.desktop.boxes.size(), 1u);
  EXPECT_EQ(h.desktop.calls["Quit"], 1);
  EXPECT_EQ(h.desktop.calls["Notify2"], 1);  // NIM_DELETE
}

TEST(Completion, ClicksWhileTheQuestionIsOpenFindNothingToDo) {
  FormHarness h;
  h.Load("ftp://host 11 1000");
  h.At("MsgBox", 1, [&] { h.Click(test::kLeftUp); });
  h.Click(test::kLeftUp);
  EXPECT_EQ(h.desktop.boxes.size(), 1u);
}

TEST(Completion, RightClickOpensTheMenuAndCancelThereEndsAFailedUpdate) {
  FormHarness h;
  h.Load("ftp://host 11 1000");
  h.At("Popup", 1, [&] { h.Choose(MenuCommand::Cancel); });
  h.Click(test::kRightUp);
  EXPECT_EQ(h.desktop.calls["SetForegroundWindow"], 1);
  EXPECT_TRUE(h.form.Unloaded());
  EXPECT_TRUE(h.desktop.boxes.empty());
}

}  // namespace
}  // namespace updater
