// The FTP objects over an Internet layer in memory.

#include <gtest/gtest.h>

#include <array>
#include <memory>

#include "fakes/FakeInternet.h"
#include "fakes/RecordingReporters.h"
#include "ftp/CFTPFile.h"

namespace updater {
namespace {

TEST(FtpObjects, ReconnectClosesTheOldConnectionFirstAndASuccessKeepsTheLastError) {
  test::FakeInternet internet;
  internet.servers["host"];
  test::RecordingReporters reports;
  CFTPServer server(internet, reports);
  ASSERT_TRUE(server.Connect("host", "", ""));
  ASSERT_TRUE(server.Connect("host", "", ""));
  EXPECT_EQ(internet.openHandles, 2);  // the session and one connection
  EXPECT_FALSE(server.Connect("nowhere", "", ""));
  EXPECT_EQ(server.ActiveConnection() + static_cast<HINTERNET>(internet.openHandles), 1u);
  EXPECT_TRUE(server.Connect("host", "", ""));
  EXPECT_EQ(server.LastError(), "Connect error #12029. Cannot connect to the server.\r\n");
}

TEST(FtpObjects, SecondOpenIsRefusedAndAnEmptyBufferIsAFaultOfItsOperation) {
  test::FakeInternet internet;
  internet.servers["host"]["f"] = "abc";
  test::RecordingReporters reports;
  CFTPFile file(internet, reports);
  file.FTPServer(std::make_shared<CFTPServer>(internet, reports));
  ASSERT_TRUE(file.FTPServer()->Connect("host", "", ""));
  ASSERT_TRUE(file.OpenRemote("f", inet::GENERIC_READ, inet::FTP_TRANSFER_TYPE_BINARY));
  EXPECT_FALSE(file.OpenRemote("f", inet::GENERIC_READ, inet::FTP_TRANSFER_TYPE_BINARY));
  EXPECT_EQ(file.LastError(), "File is already opened");
  std::array<std::uint8_t, 4> block{};
  EXPECT_EQ(file.ReadRemote(block, 4), 3);
  EXPECT_EQ(file.ReadRemote({}, 0) + file.WriteRemote({}, 0), 0);
  ASSERT_EQ(reports.runtimeReports.size(), 2u);
  EXPECT_EQ(reports.runtimeReports[0].message + " " + std::to_string(reports.runtimeReports[0].number),
            "Runtime Error in ReadRemote 9");
  EXPECT_EQ(reports.runtimeReports[1].message, "Runtime Error in WriteRemote");
}

}  // namespace
}  // namespace updater
