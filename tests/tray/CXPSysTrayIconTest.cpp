#include "tray/CXPSysTrayIcon.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "fakes/FakeDesktop.h"
#include "fakes/FakeSystem.h"
#include "text/Fault.h"
#include "tray/TrayText.h"

namespace updater {
namespace {

using namespace nid;
using Raised = std::vector<std::pair<std::string, std::int32_t>>;

struct RecordingEvents : ITrayIconEvents {
  void ButtonClick(std::int32_t& button) override { raised.emplace_back("click", button); }
  void ButtonDblClick(std::int32_t& button) override { raised.emplace_back("dblclick", button); }
  Raised raised;
};

struct Screen : IScreen {
  std::int32_t TwipsPerPixelX() const override { return twipsPerPixel; }
  std::int32_t twipsPerPixel = 15;
};

// The field content of text that arrives whole.
std::string Terminated(const std::string& text, std::size_t width) {
  std::string field = text + '\0';
  field.resize(width, ' ');
  return field;
}

TEST(TrayFieldText, BreaksMarksCutsToWholeCharactersAndTerminates) {
  const std::string x125(125, 'x'), e = "\xC3\xA9", euro = "\xE2\x82\xAC", grin = "\xF0\x9F\x98\x80";
  const struct {
    std::string text;
    std::size_t width;
    std::string kept;
  } cases[] = {
      {"a|b||", 128, "a\rb\r\r"},
      {"one\r\ntwo", 128, "one\r\ntwo"},
      {std::string(127, 'x'), 128, std::string(127, 'x')},
      {std::string(128, 'x'), 128, std::string(127, 'x')},
      {std::string(126, 'x') + "|", 128, std::string(126, 'x') + "\r"},
      {std::string(127, 'x') + "|", 128, std::string(127, 'x')},
      // A UTF-8 character that does not fit whole is left out whole.
      {x125 + e, 128, x125 + e},
      {"x" + x125 + euro, 128, "x" + x125},
      {x125.substr(1) + grin, 128, x125.substr(1)},
      {std::string(62, 'c') + e, 64, std::string(62, 'c')},
      // Stray continuation bytes, longer than any character, are cut where they stand.
      {std::string(120, 'x') + std::string(10, '\x80'), 128, std::string(120, 'x') + std::string(7, '\x80')},
  };
  for (const auto& c : cases) EXPECT_EQ(TrayFieldText(c.text, c.width), Terminated(c.kept, c.width)) << c.text;
}

class TrayIconTest : public ::testing::Test {
 protected:
  std::vector<std::uint32_t> Requests() const {
    std::vector<std::uint32_t> requests;
    for (const auto& call : shell_.notifications) requests.push_back(call.message);
    return requests;
  }

  test::FakeClock clock_;
  Screen screen_;
  test::FakeDesktop shell_;
  RecordingEvents events_;
  CXPSysTrayIcon icon_{shell_, clock_, screen_, events_};
};

TEST_F(TrayIconTest, IdIsTheHundredthsOfTheTimeOfDayRoundedHalfToEven) {
  const std::pair<double, std::int32_t> cases[] = {{0.125, 12}, {0.375, 38}, {45296.784, 4529678}, {86399.99, 8639999}};
  for (const auto& [seconds, id] : cases) {
    clock_.secondsSinceMidnight = seconds;
    EXPECT_EQ(CXPSysTrayIcon(shell_, clock_, screen_, events_).IconID(), id) << seconds;
  }
  EXPECT_TRUE(Requests().empty());
}

TEST_F(TrayIconTest, ShowAddsWhatWasSetWhileHiddenButNoBalloon) {
  icon_.Owner(0x00C0FFEE);
  icon_.CallBackEvent(512);
  icon_.Icon(0x1234);
  icon_.ToolTip("Tip");
  icon_.ShowBaloon("lost", "lost", 5000, NIIF_ERROR);
  EXPECT_TRUE(Requests().empty());

  icon_.Visible(true);
  NotifyIconRecord expected{};
  WriteU32(expected, kCbSize, 504);
  WriteU32(expected, kHwnd, 0x00C0FFEE);
  WriteU32(expected, kUid, static_cast<std::uint32_t>(icon_.IconID()));
  WriteU32(expected, kFlags, NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_STATE);
  WriteU32(expected, kCallbackMessage, 512);
  WriteU32(expected, kIcon, 0x1234);
  const std::string tip = Terminated("Tip", kTipWidth);
  std::copy(tip.begin(), tip.end(), expected.begin() + kTip);
  WriteU32(expected, kStateMask, NIS_HIDDEN | NIS_SHAREDICON);
  WriteU32(expected, kTimeoutOrVersion, NOTIFYICON_VERSION);
  ASSERT_EQ(Requests(), (std::vector<std::uint32_t>{NIM_ADD, NIM_SETVERSION}));
  EXPECT_EQ(shell_.notifications[0].record, expected);
  EXPECT_EQ(shell_.notifications[1].record, expected);
}

// Each member stores its fields and sends only its own flag group; long texts end in a NUL at their field's last byte.
TEST_F(TrayIconTest, EachMemberSendsOnlyItsOwnGroup) {
  const std::string longText(300, 'a');
  const struct {
    const char* member;
    std::function<void(CXPSysTrayIcon&)> call;
    std::uint32_t flags;
    bool sentWhileHidden;
    std::vector<std::pair<std::size_t, std::uint32_t>> stored;
  } cases[] = {
      {"CallBackEvent", [](CXPSysTrayIcon& i) { i.CallBackEvent(512); }, NIF_MESSAGE, false, {{kCallbackMessage, 512}}},
      {"Icon", [](CXPSysTrayIcon& i) { i.Icon(0xABCD); }, NIF_ICON, false, {{kIcon, 0xABCD}}},
      {"HiddenIcon", [](CXPSysTrayIcon& i) { i.HiddenIcon(true); }, NIF_STATE, true, {{kState, 1}, {kStateMask, 1}}},
      {"SharedIcon", [](CXPSysTrayIcon& i) { i.SharedIcon(true); }, NIF_STATE, true, {{kState, 2}, {kStateMask, 2}}},
      {"ToolTip", [&](CXPSysTrayIcon& i) { i.ToolTip(longText); }, NIF_TIP, false, {{kTip + 124, 0x00616161}}},
      {"ShowBaloon", [&](CXPSysTrayIcon& i) { i.ShowBaloon(longText, longText, 7, 3); }, NIF_INFO, false,
       {{kInfo + 252, 0x00616161}, {kInfoTitle + 60, 0x00616161}, {kTimeoutOrVersion, 7}, {kInfoFlags, 3}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.member);
    test::FakeDesktop shell;
    CXPSysTrayIcon icon(shell, clock_, screen_, events_);
    for (const bool shown : {false, true}) {
      icon.Visible(shown);
      shell.notifications.clear();
      c.call(icon);
      if (!shown && !c.sentWhileHidden) {
        EXPECT_TRUE(shell.notifications.empty());
        continue;
      }
      ASSERT_EQ(shell.notifications.size(), 1u);
      EXPECT_EQ(shell.notifications[0].message, NIM_MODIFY);
      EXPECT_EQ(ReadU32(shell.notifications[0].record, kFlags), c.flags);
      for (const auto& [offset, value] : c.stored) EXPECT_EQ(ReadU32(shell.notifications[0].record, offset), value);
    }
  }
}

TEST_F(TrayIconTest, VisibleSendsOnlyChangesAndEveryShowStartsUnhidden) {
  {
    CXPSysTrayIcon icon(shell_, clock_, screen_, events_);
    icon.Visible(false);
    icon.Visible(true);
    icon.Visible(true);
    icon.HiddenIcon(true);
    icon.Visible(false);
    icon.Visible(false);
    EXPECT_EQ(shell_.notifications[3].record, shell_.notifications[2].record);
    icon.Visible(true);
    EXPECT_EQ(ReadU32(shell_.notifications.back().record, kState), 0u);
    EXPECT_EQ(ReadU32(shell_.notifications.back().record, kStateMask), NIS_HIDDEN | NIS_SHAREDICON);
  }
  EXPECT_EQ(Requests(), (std::vector<std::uint32_t>{NIM_ADD, NIM_SETVERSION, NIM_MODIFY, NIM_DELETE, NIM_ADD,
                                                    NIM_SETVERSION, NIM_DELETE}));
}

TEST_F(TrayIconTest, PointerCodesInPixelsOrTwipsRaiseTheirEventsEachByItself) {
  const struct {
    std::vector<float> xs;
    std::int32_t scaleMode;
    std::int32_t twipsPerPixel;
    Raised expected;
  } cases[] = {
      {{514, 515, 516, 517, 518}, kScaleModePixels, 15, {{"click", 1}, {"dblclick", 1}, {"click", 2}, {"dblclick", 2}}},
      {{512, 513, 519, 1024, 517 * 15}, kScaleModePixels, 15, {}},
      {{514.5F, 515.5F, 517.5F}, kScaleModePixels, 15, {{"click", 1}, {"dblclick", 2}}},
      {{514 * 15, 515 * 15, 514 * 15}, kScaleModeTwips, 15, {{"click", 1}, {"dblclick", 1}, {"click", 1}}},
      {{517, 513 * 15 + 7.5F, 515 * 15 + 7.5F}, kScaleModeTwips, 15, {{"click", 1}}},
      {{517 * 12 + 5, 514 * 15}, kScaleModeTwips, 12, {{"click", 2}}},
  };
  for (const auto& c : cases) {
    screen_.twipsPerPixel = c.twipsPerPixel;
    events_.raised.clear();
    for (const float x : c.xs) icon_.MouseMoveHandler(x, c.scaleMode);
    EXPECT_EQ(events_.raised, c.expected) << "first x " << c.xs[0] << " twips " << c.twipsPerPixel;
  }
  EXPECT_THROW(icon_.MouseMoveHandler(1e30F, kScaleModePixels), Fault);
  EXPECT_TRUE(Requests().empty());
}

}  // namespace
}  // namespace updater
