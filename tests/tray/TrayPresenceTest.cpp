#include "tray/TrayPresence.h"

#include <gtest/gtest.h>

#include <functional>
#include <numeric>
#include <string>
#include <vector>

#include "fakes/FakeDesktop.h"
#include "fakes/FakeSystem.h"

namespace updater {
namespace {

using namespace nid;

// Remembers each report; the first one runs onFirst, as a timer tick would while its message box is open.
struct Reports : IFormErrors {
  void ShowError(const std::string& message, const Fault& fault) override {
    seen.push_back(message + " " + std::to_string(fault.Number()));
    if (seen.size() == 1 && onFirst) onFirst();
  }
  std::vector<std::string> seen;
  std::function<void()> onFirst;
};

// Handles first to last; the fake lists name frame i of GoodIcons 100 + i and of BadIcons 200 + i.
std::vector<std::uint32_t> Frames(std::uint32_t first, std::uint32_t last) {
  std::vector<std::uint32_t> frames(last - first + 1);
  std::iota(frames.begin(), frames.end(), first);
  return frames;
}

class TrayPresenceTest : public ::testing::Test {
 protected:
  test::FakeDesktop desktop_;
  test::FakeClock clock_;
  test::FakeImageList goodIcons_{100};
  test::FakeImageList badIcons_{200};
  Reports reports_;
  std::function<void()> leftClick_;
  TrayPresence tray_{{desktop_, clock_, desktop_, desktop_, desktop_, goodIcons_, badIcons_},
                     reports_, [this] { leftClick_(); }};
  CXPSysTrayIcon& icon_ = tray_.CreateSysTrayIcon();
};

TEST_F(TrayPresenceTest, FramesAdvanceOnlyWhileShownWrapAndRunOnAcrossModes) {
  const struct {
    bool shown;
    std::int32_t mode;
    int ticks;
    std::vector<std::uint32_t> frames;
  } steps[] = {
      {false, AnimGoodCycle, 3, {}},          {true, AnimGoodCycle, 17, Frames(101, 117)},
      {true, AnimBadCycle, 1, {218}},         {false, AnimBadCycle, 5, {}},
      {true, AnimBadCycle, 1, {219}},         {true, AnimGoodStill, 2, {101, 101}},
      {true, AnimBadStill, 1, {201}},         {true, 7, 2, {}},
      {true, AnimGoodCycle, 27, Frames(125, 151)}, {true, AnimGoodCycle, 2, {101, 102}},
  };
  for (const auto& step : steps) {
    icon_.Visible(step.shown);
    tray_.TrayAnimMode = step.mode;
    desktop_.notifications.clear();
    for (int i = 0; i < step.ticks; ++i) tray_.tmrTrayAnim_Timer();
    std::vector<std::uint32_t> shown;
    for (const auto& call : desktop_.notifications) shown.push_back(ReadU32(call.record, kIcon));
    EXPECT_EQ(shown, step.frames) << "mode " << step.mode << " shown " << step.shown;
  }
  EXPECT_TRUE(reports_.seen.empty());
}

TEST_F(TrayPresenceTest, FaultyTickIsReportedEachTimeButNotWhileItsReportIsOpen) {
  struct MissingFrames : IImageList {
    std::int32_t Count() const override { return 51; }
    std::uint32_t Picture(std::int32_t) const override { RaiseFault(FaultNumber::SubscriptOutOfRange); }
  } missing;
  TrayPresence tray({desktop_, clock_, desktop_, desktop_, desktop_, missing, missing}, reports_, [] {});
  tray.CreateSysTrayIcon().Visible(true);
  tray.TrayAnimMode = AnimGoodCycle;
  reports_.onFirst = [&] { tray.tmrTrayAnim_Timer(); };
  tray.tmrTrayAnim_Timer();
  tray.tmrTrayAnim_Timer();
  EXPECT_EQ(reports_.seen, std::vector<std::string>(2, "Rintime Error in tmrTrayAnim_Timer 9"));
}

TEST_F(TrayPresenceTest, ReleasesReachTheClickHandlersAndTheirFaultsAreReported) {
  std::vector<std::string> done;
  leftClick_ = [&] { done.emplace_back("left click"); };
  desktop_.onPopup = [&] { done.push_back("popup after " + std::to_string(desktop_.foregroundCalls) + " raise"); };
  for (const int code : {513, 514, 515, 516, 517, 518}) tray_.Form_MouseMove(static_cast<float>(code * 15));
  EXPECT_EQ(done, (std::vector<std::string>{"left click", "left click", "popup after 1 raise"}));

  leftClick_ = [] { RaiseFault(FaultNumber::FileNotFound); };
  tray_.Form_MouseMove(514 * 15);
  EXPECT_EQ(reports_.seen, std::vector<std::string>{"Rintime Error in Form_MouseMove 53"});
}

}  // namespace
}  // namespace updater
