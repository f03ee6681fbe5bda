// WinInet's FTP functions, through the FTP objects the download driver uses, against a real FTP
// server on 127.0.0.1:21 in the Windows tests' own network namespace (with-ftp-server.sh). The
// program's one argument is the server's folder.

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <string_view>
#include <vector>

#include "fakes/RecordingReporters.h"
#include "ftp/CFTPFile.h"
#include "ftp/CFTPServer.h"
#include "platform/windows/WindowsInternet.h"

namespace updater {
namespace {

std::string servedFolder;

struct WinInet : ::testing::Test {
  std::shared_ptr<CFTPServer> Connected() {
    auto server = std::make_shared<CFTPServer>(internet, reports);
    EXPECT_TRUE(server->Connect("127.0.0.1", "", "")) << server->LastError();
    return server;
  }
  void TearDown() override { EXPECT_TRUE(reports.runtimeReports.empty()); }

  WindowsInternet internet;
  test::RecordingReporters reports;
};

TEST_F(WinInet, DownloadsInBlocksAreByteExact) {
  for (const std::size_t size : {0, 1, 1023, 1024, 1025, 100 * 1024 + 7}) {
    std::string bytes;
    for (std::size_t i = 0; i < size; ++i) bytes += static_cast<char>(i * 7 + i / 251 + size);
    const std::string name = std::to_string(size) + ".bin";
    std::ofstream(servedFolder + "\\" + name, std::ios::binary) << bytes;

    CFTPFile file(internet, reports);
    file.FTPServer(Connected());
    ASSERT_TRUE(file.OpenRemote(name, inet::GENERIC_READ, inet::FTP_TRANSFER_TYPE_BINARY)) << file.LastError();
    std::vector<std::uint8_t> block(1024);
    std::string received;
    while (const std::int32_t n = file.ReadRemote(block, 1024)) received.append(block.begin(), block.begin() + n);
    EXPECT_EQ(received, bytes) << size;
  }
}

TEST_F(WinInet, FailuresCarryTheirCodeAndTheServersReply) {
  CFTPServer nobody(internet, reports);
  EXPECT_FALSE(nobody.Connect("127.0.0.2", "", ""));  // nothing listens there
  EXPECT_EQ(nobody.LastError().rfind("Connect error #12029. ", 0), 0u) << nobody.LastError();

  CFTPFile missing(internet, reports);
  missing.FTPServer(Connected());
  EXPECT_FALSE(missing.OpenRemote("missing.bin", inet::GENERIC_READ, inet::FTP_TRANSFER_TYPE_BINARY));
  const std::string& text = missing.LastError();
  EXPECT_EQ(text.rfind("FtpOpenFile error #12003. ", 0), 0u) << text;
  const auto reply = text.find("     FTP response:\r\n     550 ");
  ASSERT_NE(reply, std::string::npos) << text;
  // The one line of the reply and nothing after it (Windows ends it with CR LF, Wine does not).
  std::string_view line = std::string_view(text).substr(reply + 26);
  if (line.ends_with("\r\n")) line.remove_suffix(2);
  EXPECT_EQ(line.find_first_of(std::string_view("\r\n\0", 3)), std::string_view::npos) << text;
}

}  // namespace
}  // namespace updater

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s SERVED-FOLDER\n", argv[0]);
    return 2;
  }
  updater::servedFolder = argv[1];
  return RUN_ALL_TESTS();
}
