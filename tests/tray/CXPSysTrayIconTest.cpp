#include "tray/CXPSysTrayIcon.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "fakes/FakeSystem.h"
#include "fakes/FakeTrayDesktop.h"
#include "fakes/RecordingNotifyShell.h"

namespace updater {
namespace {

using namespace nid;

struct RecordingEvents : ITrayIconEvents {
  void ButtonClick(std::int32_t& button) override { raised.emplace_back("click", button); }
  void ButtonDblClick(std::int32_t& button) override { raised.emplace_back("dblclick", button); }
  std::vector<std::pair<std::string, std::int32_t>> raised;
};

std::string Field(const NotifyIconRecord& r, std::size_t offset, std::size_t width) {
  return std::string(r.begin() + static_cast<std::ptrdiff_t>(offset),
                     r.begin() + static_cast<std::ptrdiff_t>(offset + width));
}

// The field content of a text that arrives whole.
std::string Terminated(const std::string& text, std::size_t width) {
  std::string field = text + '\0';
  field.resize(width, ' ');
  return field;
}

class TrayIconTest : public ::testing::Test {
 protected:
  CXPSysTrayIcon& Icon() { return *icon_; }
  const std::vector<test::ShellCall>& Calls() const { return shell_.calls; }
  const NotifyIconRecord& LastRecord() const { return shell_.calls.back().record; }
  void Show() {
    icon_->Visible(true);
    shell_.calls.clear();
  }
  void Destroy() { icon_.reset(); }

  test::FakeClock clock_;
  test::FakeScreen screen_;
  test::RecordingNotifyShell shell_;
  RecordingEvents events_;

 private:
  std::unique_ptr<CXPSysTrayIcon> icon_ = std::make_unique<CXPSysTrayIcon>(shell_, clock_, screen_, events_);
};

TEST(TrayIconId, IsTheHundredthsOfTheTimeOfDayRoundedHalfToEven) {
  const std::pair<double, std::int32_t> cases[] = {{0.0, 0}, {0.125, 12}, {0.375, 38}, {45296.784, 4529678},
                                                   {86399.99, 8639999}};
  for (const auto& [seconds, id] : cases) {
    test::FakeClock clock;
    clock.secondsSinceMidnight = seconds;
    test::FakeScreen screen;
    test::RecordingNotifyShell shell;
    RecordingEvents events;
    const CXPSysTrayIcon icon(shell, clock, screen, events);
    EXPECT_EQ(icon.IconID(), id) << seconds;
    EXPECT_TRUE(shell.calls.empty());
  }
}

TEST_F(TrayIconTest, ShowAddsTheWholeRecordThenSetsTheVersion) {
  Icon().Owner(0x00C0FFEE);
  Icon().CallBackEvent(512);
  Icon().Icon(0x1234);
  Icon().ToolTip("Tip");
  EXPECT_TRUE(Calls().empty());
  EXPECT_FALSE(Icon().Visible());

  Icon().Visible(true);
  EXPECT_TRUE(Icon().Visible());
  ASSERT_EQ(Calls().size(), 2u);
  EXPECT_EQ(Calls()[0].message, NIM_ADD);
  EXPECT_EQ(Calls()[1].message, NIM_SETVERSION);
  EXPECT_EQ(Calls()[0].record, Calls()[1].record);

  NotifyIconRecord expected{};
  WriteU32(expected, kCbSize, 504);
  WriteU32(expected, kHwnd, 0x00C0FFEE);
  WriteU32(expected, kUid, static_cast<std::uint32_t>(Icon().IconID()));
  WriteU32(expected, kFlags, NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_STATE);
  WriteU32(expected, kCallbackMessage, 512);
  WriteU32(expected, kIcon, 0x1234);
  const std::string tip = Terminated("Tip", kTipWidth);
  std::copy(tip.begin(), tip.end(), expected.begin() + kTip);
  WriteU32(expected, kStateMask, NIS_HIDDEN | NIS_SHAREDICON);
  WriteU32(expected, kTimeoutOrVersion, NOTIFYICON_VERSION);
  EXPECT_EQ(Calls()[0].record, expected);
}

TEST_F(TrayIconTest, RepeatedVisibleSendsNothingAndHideDeletesTheLastRecord) {
  Icon().Visible(false);
  EXPECT_TRUE(Calls().empty());
  Icon().Visible(true);
  Icon().Visible(true);
  EXPECT_EQ(Calls().size(), 2u);
  Icon().ToolTip("x");
  const NotifyIconRecord beforeHide = LastRecord();
  Icon().Visible(false);
  Icon().Visible(false);
  ASSERT_EQ(Calls().size(), 4u);
  EXPECT_EQ(Calls()[3].message, NIM_DELETE);
  EXPECT_EQ(Calls()[3].record, beforeHide);
  EXPECT_FALSE(Icon().Visible());
}

TEST_F(TrayIconTest, EachMemberSendsOnlyItsOwnGroup) {
  struct Case {
    const char* member;
    std::function<void(CXPSysTrayIcon&)> call;
    std::uint32_t flags;
    bool sentWhileHidden;
    std::size_t offset;
    std::uint32_t stored;
  };
  const Case cases[] = {
      {"CallBackEvent", [](CXPSysTrayIcon& i) { i.CallBackEvent(512); }, NIF_MESSAGE, false, kCallbackMessage, 512},
      {"Icon", [](CXPSysTrayIcon& i) { i.Icon(0xABCD); }, NIF_ICON, false, kIcon, 0xABCD},
      {"HiddenIcon", [](CXPSysTrayIcon& i) { i.HiddenIcon(true); }, NIF_STATE, true, kState, NIS_HIDDEN},
      {"SharedIcon", [](CXPSysTrayIcon& i) { i.SharedIcon(true); }, NIF_STATE, true, kState, NIS_SHAREDICON},
      {"ToolTip", [](CXPSysTrayIcon& i) { i.ToolTip("abc"); }, NIF_TIP, false, kTip, 0x00636261},
      {"ShowBaloon", [](CXPSysTrayIcon& i) { i.ShowBaloon("m", "c", 7, 3); }, NIF_INFO, false, kInfoFlags, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.member);
    test::RecordingNotifyShell shell;
    CXPSysTrayIcon icon(shell, clock_, screen_, events_);
    c.call(icon);
    ASSERT_EQ(shell.calls.size(), c.sentWhileHidden ? 1u : 0u);
    if (c.sentWhileHidden) {
      EXPECT_EQ(shell.calls[0].message, NIM_MODIFY);
      EXPECT_EQ(ReadU32(shell.calls[0].record, kFlags), c.flags);
    }
    icon.Visible(true);
    shell.calls.clear();
    c.call(icon);
    ASSERT_EQ(shell.calls.size(), 1u);
    EXPECT_EQ(shell.calls[0].message, NIM_MODIFY);
    EXPECT_EQ(ReadU32(shell.calls[0].record, kFlags), c.flags);
    EXPECT_EQ(ReadU32(shell.calls[0].record, c.offset), c.stored);
  }
}

TEST_F(TrayIconTest, StateMembersSetTheirOwnMask) {
  Show();
  Icon().HiddenIcon(false);
  EXPECT_EQ(ReadU32(LastRecord(), kState), 0u);
  EXPECT_EQ(ReadU32(LastRecord(), kStateMask), NIS_HIDDEN);
  Icon().SharedIcon(false);
  EXPECT_EQ(ReadU32(LastRecord(), kStateMask), NIS_SHAREDICON);
}

TEST_F(TrayIconTest, ShowAfterHidingStartsUnhiddenAndUnshared) {
  Show();
  Icon().HiddenIcon(true);
  Icon().Visible(false);
  Icon().Visible(true);
  EXPECT_EQ(Calls().back().message, NIM_SETVERSION);
  EXPECT_EQ(ReadU32(LastRecord(), kState), 0u);
  EXPECT_EQ(ReadU32(LastRecord(), kStateMask), NIS_HIDDEN | NIS_SHAREDICON);
}

TEST_F(TrayIconTest, BalloonWhileHiddenIsDiscardedEntirely) {
  Icon().ShowBaloon("lost", "lost", 5000, NIIF_ERROR);
  Icon().Visible(true);
  ASSERT_EQ(Calls().size(), 2u);
  EXPECT_EQ(Field(LastRecord(), kInfo, kInfoWidth), std::string(kInfoWidth, '\0'));
  EXPECT_EQ(Field(LastRecord(), kInfoTitle, kInfoTitleWidth), std::string(kInfoTitleWidth, '\0'));
  EXPECT_EQ(ReadU32(LastRecord(), kTimeoutOrVersion), NOTIFYICON_VERSION);
  EXPECT_EQ(ReadU32(LastRecord(), kInfoFlags), 0u);
}

TEST_F(TrayIconTest, TextFieldsAreCutToTheirWidthAndTerminated) {
  Show();
  Icon().ToolTip(std::string(127, 't'));
  EXPECT_EQ(Field(LastRecord(), kTip, kTipWidth), Terminated(std::string(127, 't'), kTipWidth));
  Icon().ToolTip(std::string(200, 'T'));
  EXPECT_EQ(Field(LastRecord(), kTip, kTipWidth), Terminated(std::string(127, 'T'), kTipWidth));
  Icon().ToolTip("a|b");
  EXPECT_EQ(Field(LastRecord(), kTip, kTipWidth), Terminated("a\rb", kTipWidth));

  Icon().ShowBaloon(std::string(300, 'm'), std::string(64, 'c'), 0, NIIF_INFO);
  EXPECT_EQ(Field(LastRecord(), kInfo, kInfoWidth), Terminated(std::string(255, 'm'), kInfoWidth));
  EXPECT_EQ(Field(LastRecord(), kInfoTitle, kInfoTitleWidth), Terminated(std::string(63, 'c'), kInfoTitleWidth));
  EXPECT_EQ(ReadU32(LastRecord(), kTimeoutOrVersion), 0u);
  EXPECT_EQ(ReadU32(LastRecord(), kInfoFlags), NIIF_INFO);
  EXPECT_EQ(Field(LastRecord(), kGuidItem, 16), std::string(16, '\0'));
}

TEST_F(TrayIconTest, EndRemovesOnlyAShownIcon) {
  Destroy();
  EXPECT_TRUE(Calls().empty());

  test::RecordingNotifyShell shell;
  {
    CXPSysTrayIcon icon(shell, clock_, screen_, events_);
    icon.Visible(true);
  }
  ASSERT_EQ(shell.calls.size(), 3u);
  EXPECT_EQ(shell.calls[2].message, NIM_DELETE);
}

TEST_F(TrayIconTest, PointerCodesRaiseTheirEventsInPixelsAndTwips) {
  using Raised = std::vector<std::pair<std::string, std::int32_t>>;
  struct Case {
    float x;
    std::int32_t scaleMode;
    std::int32_t twipsPerPixel;
    Raised expected;
  };
  const Case cases[] = {
      {514, kScaleModePixels, 15, {{"click", 1}}},
      {515, kScaleModePixels, 15, {{"dblclick", 1}}},
      {516, kScaleModePixels, 15, {}},
      {517, kScaleModePixels, 15, {{"click", 2}}},
      {518, kScaleModePixels, 15, {{"dblclick", 2}}},
      {512, kScaleModePixels, 15, {}},
      {513, kScaleModePixels, 15, {}},
      {519, kScaleModePixels, 15, {}},
      {1024, kScaleModePixels, 15, {}},
      {514.5F, kScaleModePixels, 15, {{"click", 1}}},
      {515.5F, kScaleModePixels, 15, {}},
      {517.5F, kScaleModePixels, 15, {{"dblclick", 2}}},
      {517 * 15, kScaleModeTwips, 15, {{"click", 2}}},
      {514 * 15, kScaleModeTwips, 15, {{"click", 1}}},
      {517 * 15, kScaleModePixels, 15, {}},
      {517, kScaleModeTwips, 15, {}},
      {514 * 12 + 5, kScaleModeTwips, 12, {{"click", 1}}},
      {513 * 15 + 7.5F, kScaleModeTwips, 15, {{"click", 1}}},
      {514 * 15 + 7.5F, kScaleModeTwips, 15, {{"click", 1}}},
      {515 * 15 + 7.5F, kScaleModeTwips, 15, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "x " << c.x << " mode " << c.scaleMode);
    screen_.twipsPerPixel = c.twipsPerPixel;
    events_.raised.clear();
    Icon().MouseMoveHandler(c.x, c.scaleMode);
    EXPECT_EQ(events_.raised, c.expected);
  }
  EXPECT_TRUE(Calls().empty());
}

TEST_F(TrayIconTest, LeftDoubleClickAsTheShellReportsItIsClickDoubleClickClick) {
  for (const float code : {514.0F, 515.0F, 514.0F}) Icon().MouseMoveHandler(code * 15, kScaleModeTwips);
  const std::vector<std::pair<std::string, std::int32_t>> expected = {{"click", 1}, {"dblclick", 1}, {"click", 1}};
  EXPECT_EQ(events_.raised, expected);
}

TEST_F(TrayIconTest, CodeOutsideTheIntegerRangeIsAnOverflowFault) {
  try {
    Icon().MouseMoveHandler(1e30F, kScaleModePixels);
    FAIL() << "no fault";
  } catch (const Fault& fault) {
    EXPECT_EQ(fault.Number(), 6);
  }
  EXPECT_TRUE(events_.raised.empty());
}

}  // namespace
}  // namespace updater
