#include "tray/TrayPresence.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/FakeSystem.h"
#include "fakes/FakeTrayDesktop.h"
#include "fakes/RecordingNotifyShell.h"
#include "fakes/RecordingReporters.h"

namespace updater {
namespace {

using namespace nid;

constexpr std::uint32_t kGood = 100;  // image i of GoodIcons is 100 + i
constexpr std::uint32_t kBad = 200;   // image i of BadIcons is 200 + i

class TrayPresenceTest : public ::testing::Test {
 protected:
  explicit TrayPresenceTest(std::int32_t goodCount = 51) : goodIcons_(kGood, goodCount) {}

  // Runs the timer ticks times and returns the icon handles they sent.
  std::vector<std::uint32_t> Ticks(int ticks) {
    shell_.calls.clear();
    for (int i = 0; i < ticks; ++i) tray_.tmrTrayAnim_Timer();
    std::vector<std::uint32_t> shown;
    for (const test::ShellCall& call : shell_.calls) {
      EXPECT_EQ(call.message, NIM_MODIFY);
      EXPECT_EQ(ReadU32(call.record, kFlags), NIF_ICON);
      shown.push_back(ReadU32(call.record, kIcon));
    }
    return shown;
  }

  static std::vector<std::uint32_t> Frames(std::uint32_t list, std::vector<std::uint32_t> indices) {
    for (std::uint32_t& i : indices) i += list;
    return indices;
  }

  std::vector<std::string> log_;
  test::FakeClock clock_;
  test::FakeScreen screen_;
  test::RecordingNotifyShell shell_;
  test::FakeFormWindow window_{log_};
  test::FakePopupMenu menu_{log_};
  test::FakeImageList goodIcons_;
  test::FakeImageList badIcons_{kBad, 51};
  test::RecordingReporters reporters_;
  std::function<void()> leftClick_ = [this] { log_.push_back("left click"); };
  TrayPresence tray_{{shell_, clock_, screen_, window_, menu_, goodIcons_, badIcons_}, reporters_, [this] {
                       leftClick_();
                     }};
  CXPSysTrayIcon& icon_ = tray_.CreateSysTrayIcon();
};

TEST_F(TrayPresenceTest, TicksWhileHiddenDoNothingAndTheFirstShownTickIsFrameOne) {
  EXPECT_TRUE(Ticks(3).empty());
  icon_.Visible(true);
  tray_.TrayAnimMode = AnimGoodCycle;
  std::vector<std::uint32_t> expected;
  for (std::uint32_t i = 1; i <= 51; ++i) expected.push_back(kGood + i);
  expected.push_back(kGood + 1);
  expected.push_back(kGood + 2);
  EXPECT_EQ(Ticks(53), expected);

  icon_.Visible(false);
  EXPECT_TRUE(Ticks(5).empty());
  icon_.Visible(true);
  EXPECT_EQ(Ticks(1), Frames(kGood, {3}));
}

TEST_F(TrayPresenceTest, FrameCountRunsOnAcrossModes) {
  icon_.Visible(true);
  struct Step {
    std::int32_t mode;
    int ticks;
    std::vector<std::uint32_t> shown;
  };
  const Step steps[] = {
      {AnimGoodCycle, 17, Frames(kGood, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17})},
      {AnimBadCycle, 1, Frames(kBad, {18})},
      {AnimGoodStill, 2, Frames(kGood, {1, 1})},
      {AnimBadStill, 1, Frames(kBad, {1})},
      {7, 2, {}},
      {-1, 1, {}},
      {AnimBadCycle, 2, Frames(kBad, {25, 26})},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.mode);
    tray_.TrayAnimMode = step.mode;
    EXPECT_EQ(Ticks(step.ticks), step.shown);
  }
  EXPECT_TRUE(reporters_.formReports.empty());
}

class ShortGoodListTest : public TrayPresenceTest {
 protected:
  ShortGoodListTest() : TrayPresenceTest(10) {}
};

TEST_F(ShortGoodListTest, BoundComesFromBadIconsAndAMissingFrameIsReportedOnEveryTick) {
  icon_.Visible(true);
  tray_.TrayAnimMode = AnimGoodCycle;
  EXPECT_EQ(Ticks(12).size(), 10u);
  ASSERT_EQ(reporters_.formReports.size(), 2u);
  EXPECT_EQ(reporters_.formReports[0].message, "Rintime Error in tmrTrayAnim_Timer");
  EXPECT_EQ(reporters_.formReports[0].number, 9);
  tray_.TrayAnimMode = AnimBadCycle;
  EXPECT_EQ(Ticks(1), Frames(kBad, {13}));
}

TEST_F(TrayPresenceTest, PointerCodesInTwipsReachTheClickHandlers) {
  struct Case {
    std::int32_t code;
    std::vector<std::string> done;
  };
  const Case cases[] = {
      {514, {"left click"}}, {515, {"left click"}},        {516, {}}, {517, {"foreground", "popup"}},
      {518, {}},             {513, {}},                    {512, {}}, {1024, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    log_.clear();
    tray_.Form_MouseMove(static_cast<float>(c.code * 15));
    EXPECT_EQ(log_, c.done);
  }
  EXPECT_TRUE(reporters_.formReports.empty());
}

TEST_F(TrayPresenceTest, FaultOfTheLeftClickActionIsReportedByFormMouseMove) {
  leftClick_ = [] { RaiseFault(FaultNumber::FileNotFound); };
  tray_.Form_MouseMove(514 * 15);
  ASSERT_EQ(reporters_.formReports.size(), 1u);
  EXPECT_EQ(reporters_.formReports[0].message, "Rintime Error in Form_MouseMove");
  EXPECT_EQ(reporters_.formReports[0].number, 53);
}

TEST_F(TrayPresenceTest, OnlyMinimisingHidesTheForm) {
  for (const std::int32_t state : {0, 2, 1}) {
    window_.windowState = state;
    tray_.Form_Resize();
  }
  EXPECT_EQ(log_, std::vector<std::string>{"hide"});
}

}  // namespace
}  // namespace updater
