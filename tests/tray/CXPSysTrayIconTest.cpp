#include "tray/CXPSysTrayIcon.h"

#include <gtest/gtest.h>

#include <functional>

#include "fakes/FakeDesktop.h"
#include "fakes/FakeSystem.h"
#include "fakes/RecordingReporters.h"
#include "tray/TrayText.h"

namespace updater {
namespace {

using test::U32;
using Raised = std::vector<std::pair<std::string, std::int32_t>>;

struct RecordingEvents : ITrayIconEvents {
  void ButtonClick(std::int32_t& button) override { raised.emplace_back("click", button); }
  void ButtonDblClick(std::int32_t& button) override { raised.emplace_back("dblclick", button); }
  Raised raised;
};

// A text field as the shell reads it: the kept text, a NUL, spaces up to the width.
std::string Terminated(const std::string& text, std::size_t width) {
  std::string field = text + '\0';
  field.resize(width, ' ');
  return field;
}

TEST(TrayFieldText, BreaksMarksCutsToWholeCharactersAndTerminates) {
  const std::string x125(125, 'x'), e = "\xC3\xA9", euro = "\xE2\x82\xAC", grin = "\xF0\x9F\x98\x80";
  const std::tuple<std::string, std::size_t, std::string> cases[] = {
      {"a|b||", 128, "a\rb\r\r"},
      {"one\r\ntwo", 128, "one\r\ntwo"},
      {std::string(127, 'x'), 128, std::string(127, 'x')},
      {std::string(128, 'x'), 128, std::string(127, 'x')},
      {std::string(127, 'x') + "|", 128, std::string(127, 'x')},
      {x125 + e, 128, x125 + e},  // a UTF-8 character that does not fit whole is left out whole
      {"x" + x125 + euro, 128, "x" + x125},
      {x125.substr(1) + grin, 128, x125.substr(1)},
      {std::string(62, 'c') + e, 64, std::string(62, 'c')},
      // Stray continuation bytes, longer than any character, are cut where they stand.
      {std::string(120, 'x') + std::string(10, '\x80'), 128, std::string(120, 'x') + std::string(7, '\x80')},
  };
  for (const auto& [text, width, kept] : cases) EXPECT_EQ(TrayFieldText(text, width), Terminated(kept, width)) << text;
}

struct TrayIcon : ::testing::Test {
  std::vector<std::uint32_t> Requests() const {
    std::vector<std::uint32_t> requests;
    for (const auto& call : shell.sent) requests.push_back(call.first);
    return requests;
  }
  test::FakeSystem clock;
  test::FakeDesktop shell;
  RecordingEvents events;
  CXPSysTrayIcon icon{shell, clock, shell, events};
};

TEST_F(TrayIcon, IdIsTheHundredthsOfTheTimeOfDayRoundedHalfToEven) {
  const std::pair<double, std::int32_t> cases[] = {{0.125, 12}, {0.375, 38}, {45296.784, 4529678}, {86399.99, 8639999}};
  for (const auto& [seconds, id] : cases) {
    clock.secondsSinceMidnight = seconds;
    EXPECT_EQ(CXPSysTrayIcon(shell, clock, shell, events).IconID(), id) << seconds;
  }
  EXPECT_TRUE(Requests().empty());
}

// The record is written out here from the layout of NOTIFYICONDATAA (long form), not from the code's names.
TEST_F(TrayIcon, RecordHoldsEachFieldAtItsPlaceInTheShellsLayout) {
  NotifyIconRecord expected{};
  const auto put = [&](std::size_t offset, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) expected[offset + i] = static_cast<std::uint8_t>(value >> 8 * i);
  };
  const auto text = [&](std::size_t offset, const std::string& field) {
    std::copy(field.begin(), field.end(), expected.begin() + static_cast<std::ptrdiff_t>(offset));
  };
  icon.Owner(0x00C0FFEE);
  icon.CallBackEvent(512);
  icon.Icon(0x1234);
  icon.ToolTip("Tip|2");
  icon.ShowBaloon("lost", "lost", 5000, 3);  // hidden: dropped
  EXPECT_TRUE(Requests().empty());
  icon.Visible(true);
  put(0, 504), put(4, 0x00C0FFEE), put(8, static_cast<std::uint32_t>(icon.IconID())), put(12, 15), put(16, 512), put(20, 0x1234), put(156, 3), put(416, 3);
  text(24, Terminated("Tip\r2", 128));
  ASSERT_EQ(Requests(), (std::vector<std::uint32_t>{0, 4}));  // add, set version
  EXPECT_EQ(shell.sent[0].second, expected);
  EXPECT_EQ(shell.sent[1].second, expected);

  icon.ShowBaloon("Text", "Title", 7, 3);
  put(12, 16), put(416, 7), put(484, 3);
  text(160, Terminated("Text", 256));
  text(420, Terminated("Title", 64));
  EXPECT_EQ(shell.sent.back(), std::make_pair(1u, expected));  // modify
}

// Each member sends only its own flag group, and only while the icon is shown (the state members always).
TEST_F(TrayIcon, EachMemberSendsOnlyItsOwnGroup) {
  const std::tuple<std::function<void(CXPSysTrayIcon&)>, std::uint32_t, std::size_t, std::uint32_t> cases[] = {
      {[](CXPSysTrayIcon& i) { i.CallBackEvent(512); }, 1, 16, 512},
      {[](CXPSysTrayIcon& i) { i.Icon(0xABCD); }, 2, 20, 0xABCD},
      {[](CXPSysTrayIcon& i) { i.ToolTip(std::string(300, 'a')); }, 4, 24 + 124, 0x00616161},
      {[](CXPSysTrayIcon& i) { i.HiddenIcon(true); }, 8, 152, 0x101},  // state 1, mask 1 (bytes 152 and 156)
      {[](CXPSysTrayIcon& i) { i.SharedIcon(true); }, 8, 152, 0x202},
      {[](CXPSysTrayIcon& i) { i.ShowBaloon(std::string(300, 'a'), "", 7, 3); }, 16, 160 + 252, 0x00616161},
  };
  for (const auto& [call, flags, offset, value] : cases) {
    test::FakeDesktop shell;
    CXPSysTrayIcon icon(shell, clock, shell, events);
    call(icon);
    EXPECT_EQ(shell.sent.size(), flags == 8 ? 1u : 0u) << flags;
    icon.Visible(true);
    shell.sent.clear();
    call(icon);
    ASSERT_EQ(shell.sent.size(), 1u);
    const NotifyIconRecord& r = shell.sent[0].second;
    EXPECT_EQ(std::make_pair(shell.sent[0].first, U32(r, 12)), std::make_pair(1u, flags));  // modify
    EXPECT_EQ(flags == 8 ? U32(r, 152) | U32(r, 156) << 8 : U32(r, offset), value) << flags;
  }
}

TEST_F(TrayIcon, VisibleSendsOnlyChangesAndEveryShowStartsUnhidden) {
  {
    CXPSysTrayIcon icon(shell, clock, shell, events);
    icon.Visible(false);
    icon.Visible(true);
    icon.Visible(true);
    icon.HiddenIcon(true);
    icon.Visible(false);
    icon.Visible(false);
    EXPECT_EQ(shell.sent[3].second, shell.sent[2].second);
    icon.Visible(true);
    EXPECT_EQ(U32(shell.sent.back().second, 152), 0u);
    EXPECT_EQ(U32(shell.sent.back().second, 156), 3u);
  }
  EXPECT_EQ(Requests(), (std::vector<std::uint32_t>{0, 4, 1, 2, 0, 4, 2}));
}

TEST_F(TrayIcon, PointerCodesInPixelsOrTwipsRaiseTheirEventsEachByItself) {
  const struct {
    std::vector<float> xs;
    std::int32_t scaleMode, twips;
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
    shell.twips = c.twips;
    events.raised.clear();
    for (const float x : c.xs) icon.MouseMoveHandler(x, c.scaleMode);
    EXPECT_EQ(events.raised, c.expected) << "first x " << c.xs[0] << " twips " << c.twips;
  }
  EXPECT_EQ(test::FaultOf([&] { icon.MouseMoveHandler(1e30F, kScaleModePixels); }), 6);
  EXPECT_TRUE(Requests().empty());
}

}  // namespace
}  // namespace updater
