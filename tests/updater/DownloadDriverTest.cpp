#include <gtest/gtest.h>

#include "updater/FormHarness.h"

namespace updater {
namespace {

using test::FormHarness;
using test::Pattern;

struct Driver : ::testing::Test {
  FormHarness h;
  void Serve(const std::string& path, const std::string& bytes) { h.internet.servers["host"][path] = bytes; }
};

TEST_F(Driver, CompleteFileIsHandedToTheShellAndTheProgramEnds) {
  const std::string file = Pattern(2048);
  Serve("pub/app/setup.exe", file);
  h.Load("ftp://host/pub/app/setup.exe 2048 1000");

  EXPECT_EQ(h.LocalFile("setup.exe"), file);
  EXPECT_FALSE(h.localFiles.files["/tmp/setup.exe"].open);
  ASSERT_EQ(h.desktop.executed.size(), 1u);
  const auto& run = h.desktop.executed[0];
  EXPECT_EQ(run.operation, "open");
  EXPECT_EQ(run.file, "/tmp/setup.exe");
  EXPECT_EQ(run.parameters, "");
  EXPECT_EQ(run.directory, "/tmp/");
  EXPECT_EQ(run.show, 5);
  EXPECT_EQ(h.Tooltips().back(), "Demo App Updater: Download is complete.\r\nClick on icon to install update.");
  EXPECT_EQ(h.Balloons().back(), "Update downloading is completed.\r\nClick on Icon for more details.");
  EXPECT_EQ(h.BalloonTitles().back(), "Demo App Updater");
  EXPECT_EQ(h.LastBalloonIcon(), nid::NIIF_INFO);
  EXPECT_TRUE(h.form.Unloaded());
  EXPECT_EQ(h.desktop.notifications.back().message, nid::NIM_DELETE);
  EXPECT_EQ(h.Log(), "");
  // Connected passively on the default port as anonymous, read in binary, everything closed again.
  EXPECT_EQ(h.internet.calls[0], "InternetOpen Orlenza update client");
  EXPECT_EQ(h.internet.calls[1], "InternetConnect host:0 '' '' " + std::to_string(0x88000000u));
  EXPECT_EQ(h.internet.calls[2], "FtpOpenFile pub/app/setup.exe " + std::to_string(0x80000000u) + " " +
                                     std::to_string(0x80000002u));
  EXPECT_EQ(h.internet.openHandles, 0);
}

TEST_F(Driver, YieldsBetweenBlocksAndAfterConnectAndClose) {
  Serve("setup.exe", Pattern(2048));
  h.Load("ftp://host/setup.exe 2048 1000");
  // After connect, two per pass over three passes (two blocks, one empty read), after the close.
  EXPECT_EQ(h.desktop.doEvents, 1 + 2 * 3 + 1);
}

TEST_F(Driver, ProgressTooltipChangesOnlyWithTheWholePercentage) {
  Serve("setup.exe", Pattern(10240));
  h.Load("ftp://host/setup.exe 10240 1000");
  const auto tips = h.Tooltips();
  ASSERT_EQ(tips.size(), 11u);  // 10 %, 20 %, ... 100 %, then the success tooltip
  EXPECT_EQ(tips[0], "Demo App Updater: 1 kb of 10 is downloaded.");
  EXPECT_EQ(tips[9], "Demo App Updater: 10 kb of 10 is downloaded.");

  FormHarness german;
  german.internet.servers["host"]["big.bin"] = Pattern(300 * 1024);
  german.Load("ftp://host/big.bin 307200 2000");
  const auto germanTips = german.Tooltips();
  EXPECT_EQ(germanTips.size(), 101u);
  EXPECT_EQ(germanTips[0], "Demo App Updater: 3 von 300 kb wurde downgeladen.");
}

struct FailureCase {
  const char* commandLine;
  const char* log;
  const char* reason;
};

TEST_F(Driver, EachFailureIsLoggedShownAndLeavesTheProgramWaiting) {
  const FailureCase cases[] = {
      {"host/setup.exe 3001 1000", "message = ERROR: Ftp URL is not valid host/setup.exe\r\n", "Ftp URL is not valid."},
      {"ftp://host/dir/ 3001 1000", "message = ERROR: Ftp URL is not valid ftp://host/dir/\r\n",
       "Ftp URL is not valid."},
      {"ftp://nohost/setup.exe 3001 1000",
       "message = ERROR: Couldn't connect to ftp serverConnect error #12029. Cannot connect to the server.\r\n\r\n",
       "Couldn't connect to ftp server."},
      {"ftp://host/missing.exe 3001 1000", "message = ERROR: Couldn't open URL ftp://host/missing.exe\r\n",
       "Couldn't open URL."},
      {"ftp://host/setup.exe 3001 1000", "message = ERROR: Downloaded file has wrong size. 3001 3000\r\n",
       "Downloaded file has wrong size."},
  };
  for (const FailureCase& c : cases) {
    FormHarness f;
    f.internet.servers["host"]["setup.exe"] = Pattern(3000);
    f.Load(c.commandLine);
    EXPECT_NE(f.Log().find(c.log), std::string::npos) << c.commandLine << "\n" << f.Log();
    EXPECT_NE(f.Log().find("error # =  0 \r\nerror descr = \r\nerror line =  0 \r\n"), std::string::npos);
    EXPECT_EQ(f.Balloons().back(), std::string("Download is fault.\r") + c.reason);
    EXPECT_EQ(f.BalloonTitles().back(), "Demo App Updater");
    EXPECT_EQ(f.LastBalloonIcon(), nid::NIIF_ERROR);
    EXPECT_EQ(f.Tooltips().back(), "Demo App Updater: Download is fault.\r\nClick on icon for more details.");
    EXPECT_FALSE(f.desktop.enabled[MenuCommand::Pause]);
    EXPECT_TRUE(f.state.DownloadFailed);
    EXPECT_FALSE(f.form.Unloaded());
    EXPECT_TRUE(f.desktop.boxes.empty());
    EXPECT_TRUE(f.desktop.executed.empty());
    EXPECT_EQ(f.internet.openHandles, 0);
  }
}

TEST_F(Driver, InvalidAddressNeverTouchesTheNetwork) {
  h.Load("ftp://host 2048 1000");
  EXPECT_TRUE(h.internet.calls.empty());
}

TEST_F(Driver, WrongSizeKeepsEveryByteThatArrived) {
  Serve("setup.exe", Pattern(5000));
  h.internet.failReadAfter = 4096;  // the connection breaks after four blocks
  h.Load("ftp://host/setup.exe 5000 1000");
  EXPECT_EQ(h.LocalFile("setup.exe"), Pattern(4096));
  EXPECT_NE(h.Log().find("wrong size. 5000 4096\r\n"), std::string::npos);
}

TEST_F(Driver, PauseHoldsTheReadsUntilContinueAndLosesNothing) {
  const std::string file = Pattern(10 * 1024 + 17);
  Serve("setup.exe", file);
  h.desktop.onDoEvents = [&](int n) {
    if (n == 4) {
      h.Choose(MenuCommand::Pause);
      EXPECT_FALSE(h.desktop.enabled[MenuCommand::Pause]);
      EXPECT_TRUE(h.desktop.enabled[MenuCommand::Continue]);
      EXPECT_FALSE(h.desktop.timerEnabled);
    }
  };
  h.desktop.onSleep = [&](int n) {
    if (n == 5) h.Choose(MenuCommand::Continue);
  };
  h.Load("ftp://host/setup.exe 10257 1000");
  EXPECT_EQ(h.desktop.sleeps, std::vector<std::uint32_t>(5, 10));
  EXPECT_TRUE(h.desktop.timerEnabled);
  EXPECT_EQ(h.LocalFile("setup.exe"), file);
  EXPECT_EQ(h.desktop.executed.size(), 1u);
}

TEST_F(Driver, CancelEndsTheProgramQuietlyAndKeepsThePartialFile) {
  Serve("setup.exe", Pattern(8192));
  h.desktop.onDoEvents = [&](int n) {
    if (n == 6) h.Choose(MenuCommand::Cancel);
  };
  h.Load("ftp://host/setup.exe 8192 1000");
  EXPECT_TRUE(h.form.Unloaded());
  EXPECT_TRUE(h.desktop.executed.empty());
  EXPECT_TRUE(h.Balloons().empty());
  EXPECT_EQ(h.Log(), "");
  EXPECT_FALSE(h.localFiles.files["/tmp/setup.exe"].open);
  EXPECT_EQ(h.LocalFile("setup.exe"), Pattern(2048));
  EXPECT_EQ(h.internet.openHandles, 0);
}

TEST_F(Driver, CancelWhilePausedIsSeenAtTheNextPass) {
  Serve("setup.exe", Pattern(4096));
  h.desktop.onDoEvents = [&](int n) {
    if (n == 2) h.Choose(MenuCommand::Pause);
  };
  h.desktop.onSleep = [&](int n) {
    if (n == 3) h.Choose(MenuCommand::Cancel);
  };
  h.Load("ftp://host/setup.exe 4096 1000");
  EXPECT_TRUE(h.form.Unloaded());
  EXPECT_EQ(h.desktop.sleeps.size(), 3u);
  EXPECT_TRUE(h.desktop.executed.empty());
}

TEST_F(Driver, CancelAfterTheLastBlockStopsTheInstaller) {
  Serve("setup.exe", Pattern(1024));
  h.desktop.onDoEvents = [&](int n) {
    if (n == 6) h.Choose(MenuCommand::Cancel);  // the yield after the server is closed
  };
  h.Load("ftp://host/setup.exe 1024 1000");
  EXPECT_TRUE(h.form.Unloaded());
  EXPECT_TRUE(h.desktop.executed.empty());
  EXPECT_TRUE(h.Balloons().empty());
  EXPECT_EQ(h.LocalFile("setup.exe"), Pattern(1024));
}

TEST_F(Driver, MenuStatesFollowTheAttempt) {
  Serve("setup.exe", Pattern(2048));
  std::vector<std::pair<bool, bool>> seen;  // pause, continue at each yield
  h.desktop.onDoEvents = [&](int) {
    seen.emplace_back(h.desktop.enabled[MenuCommand::Pause], h.desktop.enabled[MenuCommand::Continue]);
  };
  h.Load("ftp://host/setup.exe 4096 1000");
  ASSERT_GE(seen.size(), 2u);
  EXPECT_EQ(seen[0], std::make_pair(false, false));  // connected, file not open yet
  EXPECT_EQ(seen[1], std::make_pair(true, false));   // transfer running
  EXPECT_FALSE(h.desktop.enabled[MenuCommand::Pause]);
}

TEST_F(Driver, FaultInTheDriverIsReportedAndShowsTheEarlierReason) {
  Serve("setup.exe", Pattern(100));
  h.localFiles.files["/tmp/setup.exe"].bytes = "old";
  h.localFiles.failDelete = true;
  h.Load("ftp://host/setup.exe 100 1000");
  ASSERT_EQ(h.desktop.boxes.size(), 1u);
  EXPECT_EQ(h.desktop.boxes[0].prompt, "Runtime error.");
  EXPECT_NE(h.Log().find("message = Runtime Error in DownloadAppUpdate\r\nerror # =  70 \r\n"
                         "error descr = Permission denied\r\n"),
            std::string::npos);
  EXPECT_EQ(h.Balloons().back(), "Download is fault.\r");
  EXPECT_TRUE(h.state.DownloadFailed);
  EXPECT_EQ(h.internet.openHandles, 0);
}

TEST_F(Driver, LeftClickDuringTheDownloadDoesNothingAndRightClickOpensTheMenu) {
  Serve("setup.exe", Pattern(4096));
  h.desktop.onDoEvents = [&](int n) {
    if (n == 3) {
      h.Click(test::kLeftUp);
      h.Click(test::kRightUp);
    }
  };
  h.Load("ftp://host/setup.exe 4096 1000");
  EXPECT_EQ(h.desktop.popups, 1);
  EXPECT_EQ(h.desktop.foregroundCalls, 1);
  EXPECT_TRUE(h.desktop.boxes.empty());
  EXPECT_EQ(h.desktop.executed.size(), 1u);
}

}  // namespace
}  // namespace updater
