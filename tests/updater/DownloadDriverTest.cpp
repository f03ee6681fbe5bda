#include <gtest/gtest.h>

#include "updater/FormHarness.h"

namespace updater {
namespace {

using test::FormHarness;
using test::Pattern;

struct Driver : ::testing::Test {
  FormHarness h;
  void Serve(const std::string& path, std::size_t size) { h.internet.servers["host"][path] = Pattern(size); }
  void Choose(MenuCommand command) { h.form.MenuClick(command); }
};

TEST_F(Driver, CompleteFileIsHandedToTheShellAndTheProgramEnds) {
  Serve("pub/app/setup.exe", 2048);
  h.Load("ftp://host/pub/app/setup.exe 2048 1000");
  EXPECT_EQ(h.LocalFile("setup.exe"), Pattern(2048));
  EXPECT_FALSE(h.localFiles.files["/tmp/setup.exe"].open);
  EXPECT_EQ(h.desktop.executed, std::vector<std::string>{"open|/tmp/setup.exe||/tmp/|5"});
  EXPECT_EQ(h.Tooltips().back(), "Demo App Updater: Download is complete.\r\nClick on icon to install update.");
  EXPECT_EQ(h.Balloons().back(), "Update downloading is completed.\r\nClick on Icon for more details.");
  EXPECT_EQ(h.LastBalloonTitle(), "Demo App Updater");
  EXPECT_EQ(h.LastBalloonIcon(), nid::NIIF_INFO);
  EXPECT_EQ(h.desktop.notifications.back().message, nid::NIM_DELETE);
  EXPECT_TRUE(h.form.Unloaded());
  EXPECT_EQ(h.Log(), "");
  // Anonymous, passive, default port, binary; yields after connect, twice per pass (two blocks and
  // the empty read) and after the close; every handle closed again.
  EXPECT_EQ(h.internet.calls[1], "InternetConnect host:0 '' '' " + std::to_string(0x88000000u));
  EXPECT_EQ(h.internet.calls[2], "FtpOpenFile pub/app/setup.exe 2147483648 2147483650");
  EXPECT_EQ(h.desktop.doEvents, 1 + 2 * 3 + 1);
  EXPECT_EQ(h.internet.openHandles, 0);
}

TEST_F(Driver, ProgressTooltipChangesOnlyWithTheWholePercentage) {
  Serve("setup.exe", 10240);
  h.Load("ftp://host/setup.exe 10240 1000");
  ASSERT_EQ(h.Tooltips().size(), 10u + 1);  // 10 %, 20 %, ... 100 %, then the success tooltip
  EXPECT_EQ(h.Tooltips()[0], "Demo App Updater: 1 kb of 10 is downloaded.");

  FormHarness german;
  german.internet.servers["host"]["big.bin"] = Pattern(300 * 1024);
  german.Load("ftp://host/big.bin 307200 2000");
  EXPECT_EQ(german.Tooltips().size(), 100u + 1);
  EXPECT_EQ(german.Tooltips()[0], "Demo App Updater: 3 von 300 kb wurde downgeladen.");
}

TEST_F(Driver, EachFailureIsLoggedShownAndLeavesTheProgramWaiting) {
  const std::tuple<const char*, const char*, const char*> cases[] = {
      {"host/setup.exe", "ERROR: Ftp URL is not valid host/setup.exe", "Ftp URL is not valid."},
      {"ftp://host/dir/", "ERROR: Ftp URL is not valid ftp://host/dir/", "Ftp URL is not valid."},
      {"ftp://host/CON", "ERROR: Ftp URL is not valid ftp://host/CON", "Ftp URL is not valid."},
      {"ftp://nohost/setup.exe",
       "ERROR: Couldn't connect to ftp serverConnect error #12029. Cannot connect to the server.\r\n",
       "Couldn't connect to ftp server."},
      {"ftp://host/missing.exe", "ERROR: Couldn't open URL ftp://host/missing.exe", "Couldn't open URL."},
      {"ftp://host/setup.exe", "ERROR: Downloaded file has wrong size. 3001 3000", "Downloaded file has wrong size."},
  };
  for (const auto& [url, logged, reason] : cases) {
    FormHarness f;
    f.internet.servers["host"]["setup.exe"] = Pattern(3000);
    f.system.files["/opt/app/update.cfg"] = "\r\n";  // an empty product name
    f.localFiles.refusedName = "CON";
    f.Load(std::string(url) + " 3001 1000");
    EXPECT_NE(f.Log().find(std::string("message = ") + logged + "\r\nerror # =  0 \r\nerror descr = \r\n"),
              std::string::npos) << f.Log();
    EXPECT_EQ(f.Balloons().back(), std::string("Download is fault.\r") + reason);
    EXPECT_EQ(f.LastBalloonTitle(), " Updater");
    EXPECT_EQ(f.LastBalloonIcon(), nid::NIIF_ERROR);
    EXPECT_EQ(f.Tooltips().back(), " Updater: Download is fault.\r\nClick on icon for more details.");
    EXPECT_FALSE(f.desktop.enabled[MenuCommand::Pause]);
    EXPECT_FALSE(f.form.Unloaded());
    EXPECT_TRUE(f.desktop.boxes.empty() && f.desktop.executed.empty());
    EXPECT_EQ(f.internet.openHandles, 0);
  }
  FormHarness noNetwork;
  noNetwork.Load("ftp://host 2048 1000");
  EXPECT_TRUE(noNetwork.internet.calls.empty());
}

TEST_F(Driver, BrokenTransferKeepsEveryByteThatArrived) {
  Serve("setup.exe", 5000);
  h.internet.failReadAfter = 4096;
  h.Load("ftp://host/setup.exe 5000 1000");
  EXPECT_EQ(h.LocalFile("setup.exe"), Pattern(4096));
  EXPECT_NE(h.Log().find("wrong size. 5000 4096\r\n"), std::string::npos);
}

TEST_F(Driver, PauseHoldsTheReadsAndTheAnimationUntilContinue) {
  Serve("setup.exe", 10 * 1024 + 17);
  std::vector<std::pair<bool, bool>> menu;  // Pause, Continue enabled at each yield
  h.desktop.onDoEvents = [&](int n) {
    menu.emplace_back(h.desktop.enabled[MenuCommand::Pause], h.desktop.enabled[MenuCommand::Continue]);
    if (n == 4) Choose(MenuCommand::Pause);
  };
  h.desktop.onSleep = [&](int n) {
    EXPECT_FALSE(h.desktop.timerEnabled);
    if (n == 5) Choose(MenuCommand::Continue);
  };
  h.Load("ftp://host/setup.exe 10257 1000");
  EXPECT_EQ(menu[0], std::make_pair(false, false));  // connected, file not open yet
  EXPECT_EQ(menu[1], std::make_pair(true, false));   // transfer running
  EXPECT_EQ(menu[4], std::make_pair(false, true));   // paused
  EXPECT_EQ(h.desktop.sleeps, std::vector<std::uint32_t>(5, 10));
  EXPECT_TRUE(h.desktop.timerEnabled);
  EXPECT_EQ(h.LocalFile("setup.exe"), Pattern(10 * 1024 + 17));
  EXPECT_EQ(h.desktop.executed.size(), 1u);
}

TEST_F(Driver, CancelEndsTheProgramQuietlyAtEachPoint) {
  // Cancel at yield 6 in the transfer, after the third sleep of a pause, or at the yield after the
  // server is closed; the local file keeps what had been written.
  for (const auto& [size, pauseAt, kept] : {std::tuple{8192, 0, 2048}, {4096, 2, 0}, {1024, 0, 1024}}) {
    FormHarness f;
    f.internet.servers["host"]["setup.exe"] = Pattern(size);
    f.desktop.onDoEvents = [&, pauseAt = pauseAt](int n) {
      if (n == pauseAt) f.form.MenuClick(MenuCommand::Pause);
      if (n == 6) f.form.MenuClick(MenuCommand::Cancel);
    };
    f.desktop.onSleep = [&](int n) {
      if (n == 3) f.form.MenuClick(MenuCommand::Cancel);
    };
    f.Load("ftp://host/setup.exe " + std::to_string(size) + " 1000");
    EXPECT_TRUE(f.form.Unloaded());
    EXPECT_TRUE(f.desktop.executed.empty() && f.Balloons().empty() && f.Log().empty());
    EXPECT_FALSE(f.localFiles.files["/tmp/setup.exe"].open);
    EXPECT_EQ(f.LocalFile("setup.exe"), Pattern(kept));
    EXPECT_EQ(f.internet.openHandles, 0);
  }
}

TEST_F(Driver, FaultInTheDriverIsReportedAndShowsTheEarlierReason) {
  Serve("setup.exe", 100);
  h.localFiles.files["/tmp/setup.exe"].bytes = "old";
  h.localFiles.failDelete = true;
  h.Load("ftp://host/setup.exe 100 1000");
  ASSERT_EQ(h.desktop.boxes.size(), 1u);
  EXPECT_EQ(h.desktop.boxes[0].prompt, "Runtime error.");
  EXPECT_NE(h.Log().find("message = Runtime Error in DownloadAppUpdate\r\nerror # =  70 \r\n"), std::string::npos);
  EXPECT_EQ(h.Balloons().back(), "Download is fault.\r");
  EXPECT_EQ(h.internet.openHandles, 0);
}

}  // namespace
}  // namespace updater
