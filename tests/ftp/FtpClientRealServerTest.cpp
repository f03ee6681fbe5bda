// The FTP client against a real FTP server.

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <random>

#include "FtpClientTestSupport.h"
#include "PyftpdlibServer.h"
#include "ScriptedFtpServer.h"

namespace updater {
namespace {

std::string RandomBytes(std::size_t size) {
  std::mt19937 random(static_cast<unsigned>(size));
  std::string bytes(size, '\0');
  for (char& b : bytes) b = static_cast<char>(random());
  return bytes;
}

class RealFtpServer : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { server = new test::PyftpdlibServer; }
  static void TearDownTestSuite() { delete server; }

  static inline test::PyftpdlibServer* server = nullptr;
  FtpInternet internet{test::LoopbackSettings(server->Port())};
  test::RecordingReporters reporters;
};

TEST_F(RealFtpServer, DownloadsInBlocksAreByteExact) {
  for (const std::size_t size : {0, 1, 1023, 1024, 1025, 3000, 3 << 20}) {
    const std::string name = "file" + std::to_string(size) + ".bin";
    const std::string bytes = RandomBytes(size);
    server->Publish(name, bytes);
    const test::Download download = test::DownloadInBlocks(internet, name);
    EXPECT_EQ(download.failure, "") << size;
    EXPECT_TRUE(download.bytes == bytes) << size << " bytes, got " << download.bytes.size();
  }
}

TEST_F(RealFtpServer, UploadArrivesAndDeletionIsConfirmed) {
  auto ftp = std::make_shared<CFTPServer>(internet, reporters);
  ASSERT_TRUE(ftp->Connect("127.0.0.1", "writer", "secret"));
  CFTPFile file(internet, reporters);
  file.FTPServer(ftp);
  ASSERT_TRUE(file.OpenRemote("up.bin", inet::GENERIC_WRITE, inet::FTP_TRANSFER_TYPE_BINARY));
  const std::string bytes = RandomBytes(5000);
  for (std::size_t at = 0; at < bytes.size(); at += 1000)
    EXPECT_EQ(file.WriteRemote(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()) + at, 1000), 1000), 1000);
  file.CloseRemote();
  std::ifstream stored(server->WritableFolder() / "up.bin", std::ios::binary);
  EXPECT_TRUE(std::string(std::istreambuf_iterator<char>(stored), {}) == bytes);

  EXPECT_TRUE(ftp->DeleteRemoteFile("up.bin"));
  EXPECT_FALSE(std::filesystem::exists(server->WritableFolder() / "up.bin"));
  EXPECT_FALSE(ftp->DeleteRemoteFile("up.bin"));
  EXPECT_EQ(ftp->LastError(),
            "FtpDeleteFile error #12003. The server refused the request.\r\n"
            "     FTP response:\r\n"
            "     550 No such file or directory.");
}

TEST_F(RealFtpServer, ClosingAnUnfinishedDownloadKeepsTheConnectionUsable) {
  server->Publish("big.bin", RandomBytes(4 << 20));
  server->Publish("small.bin", "small");
  auto ftp = std::make_shared<CFTPServer>(internet, reporters);
  ASSERT_TRUE(ftp->Connect("127.0.0.1", "", ""));
  CFTPFile file(internet, reporters);
  file.FTPServer(ftp);
  std::array<std::uint8_t, 1024> block{};
  ASSERT_TRUE(file.OpenRemote("big.bin", inet::GENERIC_READ, inet::FTP_TRANSFER_TYPE_BINARY));
  EXPECT_EQ(file.ReadRemote(block, 1024), 1024);
  file.CloseRemote();
  ASSERT_TRUE(file.OpenRemote("small.bin", inet::GENERIC_READ, inet::FTP_TRANSFER_TYPE_BINARY));
  EXPECT_EQ(file.ReadRemote(block, 1024), 5);
  EXPECT_EQ(file.ReadRemote(block, 1024), 0);
  EXPECT_EQ(file.LastError(), "");
}

TEST_F(RealFtpServer, MisuseIsRefusedWithItsCode) {
  server->Publish("some.bin", "some");
  const HINTERNET session = internet.InternetOpen(kAgentName, 0, nullptr, nullptr, 0);
  const HINTERNET connection = internet.InternetConnect(session, "127.0.0.1", 0, "", "", 1, 0, 0);
  const HINTERNET file = internet.FtpOpenFile(connection, "some.bin", inet::GENERIC_READ, 2, 0);
  ASSERT_NE(file, 0u);
  std::uint32_t count = 0;
  const std::vector<std::pair<std::function<bool()>, std::uint32_t>> misuses = {
      {[&] { return internet.InternetConnect(session, "127.0.0.1", 0, "a\r\nDELE b", "", 1, 0, 0) != 0; }, 87},
      {[&] { return internet.InternetConnect(session, "127.0.0.1", 0, "", std::string("a\0b", 3), 1, 0, 0) != 0; }, 87},
      {[&] { return internet.FtpOpenFile(connection, "a\nb", inet::GENERIC_READ, 2, 0) != 0; }, 87},
      {[&] { return internet.FtpOpenFile(connection, "", inet::GENERIC_READ, 2, 0) != 0; }, 87},
      {[&] { return internet.FtpOpenFile(connection, "x", 0, 2, 0) != 0; }, 87},
      {[&] { return internet.FtpOpenFile(connection, "x", inet::GENERIC_READ, 3, 0) != 0; }, 87},
      {[&] { return internet.FtpDeleteFile(connection, "a\rb"); }, 87},
      {[&] { return internet.FtpOpenFile(connection, "some.bin", inet::GENERIC_READ, 2, 0) != 0; }, 12110},
      {[&] { return internet.FtpDeleteFile(connection, "some.bin"); }, 12110},
      {[&] { return internet.InternetWriteFile(file, "x", 1, &count); }, 12019},
      {[&] { return internet.FtpOpenFile(session, "some.bin", inet::GENERIC_READ, 2, 0) != 0; }, 6},
      {[&] { return internet.InternetReadFile(connection, &count, 1, &count); }, 6},
      {[&] { return internet.InternetCloseHandle(0); }, 6},
  };
  for (std::size_t i = 0; i < misuses.size(); ++i) {
    EXPECT_FALSE(misuses[i].first()) << i;
    EXPECT_EQ(internet.GetLastError(), misuses[i].second) << i;
  }
  EXPECT_TRUE(internet.InternetCloseHandle(session));
  EXPECT_FALSE(internet.InternetCloseHandle(file));
  EXPECT_FALSE(internet.InternetCloseHandle(connection));
  EXPECT_EQ(internet.GetLastError(), inet::ERROR_INVALID_HANDLE);
}

TEST_F(RealFtpServer, ConnectionRefusedIsReportedInPlainWords) {
  FtpInternet nowhere(test::LoopbackSettings(test::UnusedLoopbackPort()));
  EXPECT_EQ(test::DownloadInBlocks(nowhere, "x").failure,
            "Connect error #12029. A connection to the server could not be made.\r\n");
}

}  // namespace
}  // namespace updater
