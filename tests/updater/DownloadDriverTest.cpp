#include <gtest/gtest.h>

#include "updater/FormHarness.h"

namespace updater {
namespace {

using test::FormHarness;
using test::Pattern;

TEST(Driver, CompleteFileIsHandedToTheShellAndTheProgramEnds) {
  FormHarness h;
  h.Load("ftp://host/pub/app/setup.exe 2048 1000", 2048, "pub/app/setup.exe");
  EXPECT_EQ(h.LocalFile(), Pattern(2048));
  EXPECT_FALSE(h.localFiles.files["/tmp/setup.exe"].open);
  EXPECT_EQ(h.desktop.executed, std::vector<std::string>{"open|/tmp/setup.exe||/tmp/|5"});
  EXPECT_EQ(h.desktop.Tooltips().back(), "Demo App Updater: Download is complete.\r\nClick on icon to install update.");
  EXPECT_EQ(h.desktop.Balloons().back(), "Update downloading is completed.\r\nClick on Icon for more details.");
  EXPECT_EQ(h.LastTitle(), "Demo App Updater");
  EXPECT_EQ(h.LastBalloonIcon(), "1");
  EXPECT_EQ(h.desktop.sent.back().first, nid::NIM_DELETE);
  EXPECT_TRUE(h.form.Unloaded());
  EXPECT_EQ(h.Log(), "");
  // Anonymous, passive, reloading, on the default port, binary; every handle closed again.
  EXPECT_EQ(h.internet.calls[1], "InternetConnect host:0 '' '' 2281701376");
  EXPECT_EQ(h.internet.calls[2], "FtpOpenFile pub/app/setup.exe 2147483648 2147483650");
  EXPECT_EQ(h.internet.openHandles, 0);
}

// An https address: one uncached GET per request with the program's time-outs on each connection; a
// redirect is followed on the same connection while it stays on the server; the file keeps its first name.
TEST(Driver, WebReleaseIsFetchedWithOneGetPerRequestFollowingRedirectsAcrossServers) {
  FormHarness h;
  h.internet.servers["host"];
  h.internet.httpAnswers["host/go?v=1"] = {302, "next"};
  h.internet.httpAnswers["host/next"] = {301, "//mirror:8443/m/setup.exe"};
  h.internet.servers["mirror"]["m/setup.exe"] = Pattern(3000);
  h.Load("HTTPS://host/go?v=1#top 3000 1000");
  const std::string get = "HttpOpenRequest GET ", secure = " 2225603072", send = "HttpSendRequest Accept-Encoding: identity\r\n";
  const std::vector<std::string> timeouts = {"InternetSetOption 2 20000", "InternetSetOption 5 30000",
                                             "InternetSetOption 6 30000"};
  std::vector<std::string> expected = {"InternetOpen Orlenza update client", "InternetConnect host:443 '' '' http 0"};
  expected.insert(expected.end(), timeouts.begin(), timeouts.end());
  for (const auto& line : {get + "/go?v=1" + secure, send, get + "/next" + secure, send,
                           std::string("InternetConnect mirror:8443 '' '' http 0")})
    expected.push_back(line);
  expected.insert(expected.end(), timeouts.begin(), timeouts.end());
  expected.insert(expected.end(), {get + "/m/setup.exe" + secure, send});
  EXPECT_EQ(h.internet.calls, expected);
  EXPECT_EQ(h.LocalFile("go"), Pattern(3000));
  EXPECT_EQ(h.desktop.executed, std::vector<std::string>{"open|/tmp/go||/tmp/|5"});
  EXPECT_EQ(h.internet.openHandles, 0);
}

TEST(Driver, ProgressTooltipShowsWholeKilobytesWhenTheWholePercentageChanges) {
  const std::tuple<int, int, std::vector<std::string>> cases[] = {
      {10240, 1000, {"Demo App Updater: 1 kb of 10 is downloaded.", "Demo App Updater: 2 kb of 10 is downloaded."}},
      {3000, 1000, {"Demo App Updater: 1 kb of 2 is downloaded.", "Demo App Updater: 2 kb of 2 is downloaded.",
                    "Demo App Updater: 2 kb of 2 is downloaded."}},
      // The first block is 0.5 %: no change yet.
      {204800, 2000, {"Demo App Updater: 2 von 200 kb wurde downgeladen.", "Demo App Updater: 4 von 200 kb wurde downgeladen."}},
  };
  for (const auto& [size, language, first] : cases) {
    FormHarness h;
    h.Load("ftp://host/setup.exe " + std::to_string(size) + " " + std::to_string(language), size);
    const auto tips = h.desktop.Tooltips();
    EXPECT_EQ(std::vector<std::string>(tips.begin(), tips.begin() + first.size()), first);
    EXPECT_EQ(tips.size(), std::min(size / 1024 + (size % 1024 != 0), 100) + 1u) << size;  // then the success tooltip
  }
}

TEST(Driver, EachFailureIsLoggedShownAndLeavesTheProgramWaiting) {
  const std::tuple<const char*, int, const char*, const char*> cases[] = {
      {"host/setup.exe", 3000, "ERROR: Ftp URL is not valid host/setup.exe", "Ftp URL is not valid."},
      {"ftp://host/dir/", 3000, "ERROR: Ftp URL is not valid ftp://host/dir/", "Ftp URL is not valid."},
      {"ftp://host/CON", 3000, "ERROR: Ftp URL is not valid ftp://host/CON", "Ftp URL is not valid."},
      {"ftp://nohost/setup.exe", 3000,
       "ERROR: Couldn't connect to ftp serverConnect error #12029. Cannot connect to the server.\r\n",
       "Couldn't connect to ftp server."},
      {"ftp://host/missing.exe", 3000, "ERROR: Couldn't open URL ftp://host/missing.exe", "Couldn't open URL."},
      {"ftp://host/setup.exe", 3001, "ERROR: Downloaded file has wrong size. 3001 3000", "Downloaded file has wrong size."},
      {"ftp://host/setup.exe", 2999, "ERROR: Downloaded file has wrong size. 2999 3000", "Downloaded file has wrong size."},
  };
  for (const auto& [url, announced, logged, reason] : cases) {
    FormHarness f;
    f.system.files["/opt/app/update.cfg"] = "\r\n";  // an empty product name
    f.localFiles.refusedName = "CON";
    f.internet.servers["host"]["setup.exe"] = Pattern(3000);
    f.Load(std::string(url) + " " + std::to_string(announced) + " 1000");
    EXPECT_NE(f.Log().find(std::string("message = ") + logged + "\r\nerror # =  0 \r\nerror descr = \r\n"),
              std::string::npos) << f.Log();
    EXPECT_EQ(f.desktop.Balloons().back(), std::string("Download is fault.\r") + reason);
    EXPECT_EQ(f.LastTitle(), " Updater");
    EXPECT_EQ(f.LastBalloonIcon(), "3");
    EXPECT_EQ(f.desktop.Tooltips().back(), " Updater: Download is fault.\r\nClick on icon for more details.");
    EXPECT_FALSE(f.desktop.enabled[MenuCommand::Pause]);
    EXPECT_FALSE(f.form.Unloaded());
    EXPECT_TRUE(f.desktop.boxes.empty() && f.desktop.executed.empty());
    EXPECT_EQ(f.internet.openHandles, 0);
  }
  FormHarness noNetwork;
  noNetwork.Load("ftp://host 2048 1000");
  EXPECT_TRUE(noNetwork.internet.calls.empty());
}

// A failed read ends the copy like the end of the file: the byte count decides.
TEST(Driver, BrokenTransferKeepsEveryByteThatArrived) {
  FormHarness h, atTheEnd;
  h.internet.failReadAfter = 4096;
  h.Load("ftp://host/setup.exe 5000 1000", 5000);
  EXPECT_EQ(h.LocalFile(), Pattern(4096));
  EXPECT_NE(h.Log().find("wrong size. 5000 4096\r\n"), std::string::npos);
  atTheEnd.internet.failReadAfter = 5000;
  atTheEnd.Load("ftp://host/setup.exe 5000 1000", 5000);
  EXPECT_EQ(atTheEnd.desktop.executed.size(), 1u);
}

TEST(Driver, PauseHoldsTheReadsAndTheAnimationUntilContinue) {
  FormHarness h;
  std::vector<std::pair<bool, bool>> menu;  // Pause, Continue enabled at each yield
  std::size_t pausedAt = 0;
  h.desktop.on = [&](const std::string& call) {
    if (call == "DoEvents") menu.emplace_back(h.desktop.enabled[MenuCommand::Pause], h.desktop.enabled[MenuCommand::Continue]);
    if (call == "DoEvents" && h.desktop.calls[call] == 4) {
      h.Choose(MenuCommand::Pause);
      pausedAt = h.LocalFile().size();
    }
    if (call == "Sleep") {
      EXPECT_TRUE(h.LocalFile().size() == pausedAt && !h.desktop.timerEnabled);
    }
    if (call == "Sleep" && h.desktop.calls[call] == 5) h.Choose(MenuCommand::Continue);
  };
  h.Load("ftp://host/setup.exe 10257 1000", 10 * 1024 + 17);
  EXPECT_EQ(menu[0], std::make_pair(false, false));  // connected, file not open yet
  EXPECT_EQ(menu[1], std::make_pair(true, false));   // transfer running
  EXPECT_EQ(menu[4], std::make_pair(false, true));   // paused
  EXPECT_EQ(h.desktop.sleeps, std::vector<std::uint32_t>(5, 10));
  EXPECT_TRUE(h.desktop.timerEnabled);
  EXPECT_EQ(h.LocalFile(), Pattern(10 * 1024 + 17));
  EXPECT_EQ(h.desktop.executed.size(), 1u);
}

// Cancel at the yield after connecting (before anything is opened), in the transfer, while paused,
// and at the yield after the server is closed: the program ends quietly, the local file keeps what
// had been written.
TEST(Driver, CancelEndsTheProgramQuietlyAtEachPoint) {
  const std::tuple<int, bool, int> cases[] = {{2, false, -1}, {3, false, 2048}, {3, true, 0}, {1, false, 4096}};
  for (const auto& [handlesOpen, pause, kept] : cases) {
    FormHarness f;
    f.desktop.on = [&, handlesOpen = handlesOpen, pause = pause, kept = kept](const std::string& call) {
      if (call == "DoEvents" && f.internet.openHandles == handlesOpen && f.LocalFile() == Pattern(std::max(kept, 0)))
        f.Choose(pause ? MenuCommand::Pause : MenuCommand::Cancel);
      if (call == "Sleep" && f.desktop.calls[call] == 3) f.Choose(MenuCommand::Cancel);
    };
    f.Load("ftp://host/setup.exe 4096 1000", 4096);
    EXPECT_TRUE(f.form.Unloaded());
    EXPECT_TRUE(f.desktop.executed.empty() && f.desktop.Balloons().empty() && f.Log().empty());
    EXPECT_EQ(f.localFiles.files.count("/tmp/setup.exe"), kept >= 0 ? 1u : 0u);
    EXPECT_FALSE(f.localFiles.files["/tmp/setup.exe"].open);
    EXPECT_EQ(f.LocalFile(), Pattern(std::max(kept, 0)));
    EXPECT_EQ(f.internet.openHandles, 0);
  }
}

// A file longer than announced is read no further than the block that passes the announced size (an
// endless one must not fill the disk); a byte total past the 32-bit range is a fault of the driver.
TEST(Driver, ReadingStopsPastTheAnnouncedSizeAndATotalOverflowIsAFault) {
  const std::tuple<int, std::uint64_t, std::uint64_t, const char*> cases[] = {
      {1, 21474304, 1024, "message = ERROR: Downloaded file has wrong size. 1 1024\r\n"},
      {2147483647, 1ull << 31, 2147482624, "message = Runtime Error in DownloadAppUpdate\r\nerror # =  6 "}};
  for (const auto& [announced, served, kept, logged] : cases) {
    FormHarness h;
    h.internet.servers["host"];
    h.internet.zeros = served + 1024;
    h.Load("ftp://host/zeros " + std::to_string(announced) + " 1000");
    EXPECT_NE(h.Log().find(logged), std::string::npos) << h.Log();
    EXPECT_EQ(h.localFiles.files["/tmp/zeros"].size, kept);
  }
}

TEST(Driver, FaultInTheDriverIsReportedAndShowsTheEarlierReason) {
  FormHarness h;
  h.localFiles.files["/tmp/setup.exe"].bytes = "old";
  h.localFiles.failDelete = true;
  h.Load("ftp://host/setup.exe 100 1000", 100);
  ASSERT_EQ(h.desktop.boxes.size(), 1u);
  EXPECT_EQ(h.desktop.boxes[0].prompt, "Runtime error.");
  EXPECT_NE(h.Log().find("message = Runtime Error in DownloadAppUpdate\r\nerror # =  70 \r\n"), std::string::npos);
  EXPECT_EQ(h.desktop.Balloons().back(), "Download is fault.\r");
  EXPECT_EQ(h.internet.openHandles, 0);
}

}  // namespace
}  // namespace updater
