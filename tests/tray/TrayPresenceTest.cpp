#include "tray/TrayPresence.h"

#include <gtest/gtest.h>

#include <functional>
#include <numeric>

#include "fakes/FakeDesktop.h"
#include "fakes/FakeSystem.h"

namespace updater {
namespace {

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

struct Tray : ::testing::Test {
  test::FakeDesktop desktop;
  test::FakeSystem clock;
  test::FakeImageList goodIcons{100}, badIcons{200};
  Reports reports;
  std::function<void()> leftClick;
  TrayPresence tray{{desktop, clock, desktop, desktop, desktop, goodIcons, badIcons}, reports, [this] { leftClick(); }};
  CXPSysTrayIcon& icon = tray.CreateSysTrayIcon();
};

TEST_F(Tray, FramesAdvanceOnlyWhileShownWrapAndRunOnAcrossModes) {
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
    icon.Visible(step.shown);
    tray.TrayAnimMode = step.mode;
    desktop.sent.clear();
    for (int i = 0; i < step.ticks; ++i) tray.tmrTrayAnim_Timer();
    std::vector<std::uint32_t> shown;
    for (const auto& call : desktop.sent) shown.push_back(test::U32(call.second, test::kIcon));
    EXPECT_EQ(shown, step.frames) << "mode " << step.mode << " shown " << step.shown;
  }
  EXPECT_TRUE(reports.seen.empty());
}

TEST_F(Tray, FaultyTickIsReportedEachTimeButNotWhileItsReportIsOpen) {
  struct MissingFrames : IImageList {
    std::int32_t Count() const override { return 51; }
    std::uint32_t Picture(std::int32_t) const override { RaiseFault(FaultNumber::SubscriptOutOfRange); }
  } missing;
  TrayPresence faulty({desktop, clock, desktop, desktop, desktop, missing, missing}, reports, [] {});
  faulty.CreateSysTrayIcon().Visible(true);
  faulty.TrayAnimMode = AnimGoodCycle;
  reports.onFirst = [&] { faulty.tmrTrayAnim_Timer(); };
  faulty.tmrTrayAnim_Timer();
  faulty.tmrTrayAnim_Timer();
  EXPECT_EQ(reports.seen, std::vector<std::string>(2, "Rintime Error in tmrTrayAnim_Timer 9"));
}

TEST_F(Tray, ReleasesReachTheClickHandlersAndTheirFaultsAreReported) {
  std::vector<std::string> done;
  leftClick = [&] { done.emplace_back("left click"); };
  desktop.on = [&](const std::string& call) {
    if (call == "Popup") done.push_back("popup after " + std::to_string(desktop.calls["SetForegroundWindow"]) + " raise");
  };
  for (const int code : {513, 514, 515, 516, 517, 518}) tray.Form_MouseMove(static_cast<float>(code * 15));
  EXPECT_EQ(done, (std::vector<std::string>{"left click", "left click", "popup after 1 raise"}));

  leftClick = [] { RaiseFault(FaultNumber::FileNotFound); };
  tray.Form_MouseMove(514 * 15);
  EXPECT_EQ(reports.seen, std::vector<std::string>{"Rintime Error in Form_MouseMove 53"});
}

TEST_F(Tray, MinimisingTheFormHidesItAgain) {
  tray.Form_Resize();
  EXPECT_EQ(desktop.calls["Hide"], 0);
  desktop.windowState = kWindowStateMinimized;
  tray.Form_Resize();
  EXPECT_EQ(desktop.calls["Hide"], 1);
  desktop.on = [](const std::string&) { RaiseFault(FaultNumber::InvalidProcedureCall); };
  tray.Form_Resize();
  EXPECT_EQ(reports.seen, std::vector<std::string>{"Rintime Error in Form_Resize 5"});
}

}  // namespace
}  // namespace updater
