// The FTP client against a real FTP server.

#include <gtest/gtest.h>

#include <fstream>
#include <random>

#include "FtpClientTestSupport.h"
#include "PyftpdlibServer.h"

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

}  // namespace
}  // namespace updater
