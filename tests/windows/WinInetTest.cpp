// WinInet's FTP functions through the FTP objects, against a real FTP server on 127.0.0.1:21 in the
// Windows tests' own network namespace (with-ftp-server.sh). Downloads and a refused connection are
// checked end to end (tests/e2e/test_windows.py); here the text of a refusal with the server's reply.

#include <gtest/gtest.h>

#include <memory>
#include <string_view>

#include "fakes/RecordingReporters.h"
#include "ftp/CFTPFile.h"
#include "ftp/CFTPServer.h"
#include "platform/windows/WindowsInternet.h"

namespace updater {
namespace {

TEST(WinInet, MissingFileIsRefusedWithTheOneLineOfTheServersReply) {
  WindowsInternet internet;
  test::RecordingReporters reports;
  auto server = std::make_shared<CFTPServer>(internet, reports);
  ASSERT_TRUE(server->Connect("127.0.0.1", "", "")) << server->LastError();
  CFTPFile missing(internet, reports);
  missing.FTPServer(server);
  EXPECT_FALSE(missing.OpenRemote("missing.bin", inet::GENERIC_READ, inet::FTP_TRANSFER_TYPE_BINARY));
  const std::string& text = missing.LastError();
  EXPECT_EQ(text.rfind("FtpOpenFile error #12003. ", 0), 0u) << text;
  const auto reply = text.find("     FTP response:\r\n     550 ");
  ASSERT_NE(reply, std::string::npos) << text;
  // Nothing after the line (Windows ends it with CR LF, Wine does not).
  std::string_view line = std::string_view(text).substr(reply + 26);
  if (line.ends_with("\r\n")) line.remove_suffix(2);
  EXPECT_EQ(line.find_first_of(std::string_view("\r\n\0", 3)), std::string_view::npos) << text;
  EXPECT_TRUE(reports.runtimeReports.empty());
}

}  // namespace
}  // namespace updater
