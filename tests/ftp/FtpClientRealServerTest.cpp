// The FTP client against a real FTP server.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>

#include "LoopbackFtp.h"
#include "fakes/FakeDesktop.h"
#include "fakes/FakeSystem.h"
#include "platform/linux/LinuxLocalFiles.h"
#include "platform/linux/OpenSslPublisherSignature.h"
#include "text/ErrorReporter.h"
#include "updater/frmUpdater.h"

namespace updater {
namespace {

using namespace std::chrono_literals;

std::string RandomBytes(std::size_t size) {
  std::string bytes;
  for (std::minstd_rand random(static_cast<unsigned>(size)); bytes.size() < size;) bytes += static_cast<char>(random());
  return bytes;
}

// Debian's pyftpdlib for the whole suite, on a loopback socket that it inherits: anonymous users read
// and write one temporary folder, which the server removes when its standard input closes.
class RealFtpServer : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    const FileDescriptor listener = test::ListenOnLoopback(port, 0);  // no close-on-exec: the server's
    root = std::filesystem::temp_directory_path() / ("ftp-test-" + std::to_string(port));  // unique while ours
    std::filesystem::create_directory(root);
    const std::string command = "exec /usr/bin/python3 -W ignore -c '" + std::string(kScript) + "' " +
                                std::to_string(listener.Get()) + " '" + root.string() + "'";
    server.reset(::popen(command.c_str(), "w"));
  }
  static void TearDownTestSuite() { server.reset(); }

  static constexpr const char* kScript = R"(
import logging, os, shutil, socket, sys, threading
from pyftpdlib import authorizers, handlers, servers
logging.basicConfig(level=logging.ERROR)
threading.Thread(target=lambda: (sys.stdin.read(), shutil.rmtree(sys.argv[2]), os._exit(0))).start()
handlers.FTPHandler.authorizer = users = authorizers.DummyAuthorizer()
users.add_anonymous(sys.argv[2], perm="elradfmw")
servers.FTPServer(socket.socket(fileno=int(sys.argv[1])), handlers.FTPHandler).serve_forever()
)";
  static inline std::filesystem::path root;
  static inline std::uint16_t port = 0;
  static inline std::unique_ptr<FILE, int (*)(FILE*)> server{nullptr, ::pclose};
  FtpInternet internet{{port, 5s, 5s, 5s, 1s}};
};

TEST_F(RealFtpServer, DownloadsInBlocksAreByteExact) {
  for (const std::size_t size : {0, 1, 1023, 1024, 1025, 3000, 3 << 20}) {
    const std::string bytes = RandomBytes(size);
    std::ofstream(root / std::to_string(size), std::ios::binary) << bytes;
    std::string got;
    EXPECT_EQ(test::DownloadInBlocks(internet, std::to_string(size), got), "") << size;
    EXPECT_TRUE(got == bytes) << size << " bytes, got " << got.size();
  }
}

TEST_F(RealFtpServer, UploadArrivesAndDeletionIsConfirmedAfterAnAbandonedRead) {
  test::RecordingReporters reporters;
  auto ftp = std::make_shared<CFTPServer>(internet, reporters);
  ASSERT_TRUE(ftp->Connect("127.0.0.1", "", ""));
  CFTPFile file(internet, reporters);
  file.FTPServer(ftp);
  const std::string bytes = RandomBytes(5000);
  ASSERT_TRUE(file.OpenRemote("up.bin", inet::GENERIC_WRITE, inet::FTP_TRANSFER_TYPE_BINARY));
  EXPECT_EQ(file.WriteRemote(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), 5000), 5000), 5000);
  file.CloseRemote();
  std::ifstream stored(root / "up.bin", std::ios::binary);
  EXPECT_TRUE(std::string(std::istreambuf_iterator<char>(stored), {}) == bytes);
  std::array<std::uint8_t, 1024> block{};
  ASSERT_TRUE(file.OpenRemote("up.bin", inet::GENERIC_READ, inet::FTP_TRANSFER_TYPE_BINARY));
  EXPECT_EQ(file.ReadRemote(block, 1024), 1024);
  file.CloseRemote();  // ABOR: both its replies must be read, or the deletions get stale ones
  EXPECT_TRUE(ftp->DeleteRemoteFile("up.bin"));
  EXPECT_FALSE(ftp->DeleteRemoteFile("up.bin"));
  EXPECT_EQ(ftp->LastError(), "FtpDeleteFile error #12003. The server refused the request.\r\n"
                              "     FTP response:\r\n     550 No such file or directory.");
}

TEST_F(RealFtpServer, ConnectionRefusedIsReportedInPlainWords) {
  std::uint16_t closed = 0;
  test::ListenOnLoopback(closed);
  FtpInternet nowhere(FtpSettings{closed});
  std::string bytes;
  EXPECT_EQ(test::DownloadInBlocks(nowhere, "x", bytes),
            "Connect error #12029. A connection to the server could not be made.\r\n");
}

// What the process holds: open descriptors and threads.
std::pair<std::size_t, std::size_t> Holdings() {
  const auto count = [](const char* folder) {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder), {}));
  };
  return {count("/proc/self/fd"), count("/proc/self/task")};
}

// 200 attempts in one process: the whole form against this server, each failure answered Yes, each
// update ending after its second attempt. Leaks show as growing holdings (and to LeakSanitizer).
TEST_F(RealFtpServer, TwoHundredAttemptsLeaveNothingBehindAndEveryDownloadIsExact) {
  const std::filesystem::path temp = root / "tmp";
  std::filesystem::create_directory(temp);
  ::setenv("TMPDIR", temp.c_str(), 1);
  const std::string bytes = RandomBytes(70000);
  std::pair<std::size_t, std::size_t> before;
  for (int update = 0; update < 100; ++update) {
    if (update == 10) before = Holdings();
    std::ofstream(root / "setup.run", std::ios::binary) << bytes.substr(0, 69000);  // the wrong size first
    test::FakeSystem system;
    system.files["/opt/app/update.cfg"] = "Demo\n";
    system.commandLine = "ftp://127.0.0.1/setup.run 70000 1000";
    test::FakeClock clock;
    test::FakeDesktop desktop;
    desktop.answers = {msgbox::kAnswerYes};
    desktop.onMsgBox = [&] { std::ofstream(root / "setup.run", std::ios::binary) << bytes; };
    test::FakeImageList frames{100};
    LinuxLocalFiles localFiles;
    OpenSslPublisherSignature publisherSignature;
    ErrorLog log(system, system, clock, system);
    ErrorReporter reporter(desktop, log);
    UpdateState state;
    Localisation texts(state.LanguageBase, reporter);
    frmUpdater form(state,
                    FormServices{system, system, localFiles, internet, desktop, desktop, desktop, desktop,
                                 TrayDesktop{desktop, clock, desktop, desktop, desktop, frames, frames},
                                 publisherSignature},
                    FormReporting{reporter, reporter, log, texts});
    form.Form_Load();
    form.Form_MouseMove(514 * 15);
    ASSERT_TRUE(form.Unloaded()) << "update " << update;
    ASSERT_EQ(desktop.executed.size(), 1u);
    std::ifstream local(temp / "setup.run", std::ios::binary);
    ASSERT_TRUE(std::string(std::istreambuf_iterator<char>(local), {}) == bytes) << "update " << update;
  }
  EXPECT_EQ(Holdings(), before);
}

}  // namespace
}  // namespace updater
