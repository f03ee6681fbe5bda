#pragma once
// What the FTP client tests share: short waits and a download in the driver's 1024-byte blocks.

#include <array>
#include <memory>
#include <string>

#include "fakes/RecordingReporters.h"
#include "ftp/CFTPFile.h"
#include "ftp/CFTPServer.h"
#include "platform/linux/ftp/FtpInternet.h"

namespace updater::test {

// Waits that a loopback server always meets.
inline FtpSettings LoopbackSettings(std::uint16_t port) {
  using std::chrono::milliseconds;
  return {port, milliseconds(5000), milliseconds(5000), milliseconds(5000), milliseconds(1000)};
}

// The result of connecting, opening path and reading it in blocks of 1024 bytes as the download
// driver does: the bytes, and the text of the step that failed, or empty.
struct Download {
  std::string bytes;
  std::string failure;
};

inline Download DownloadInBlocks(IInternet& internet, const std::string& path, const std::string& login = "",
                                 const std::string& password = "") {
  RecordingReporters reporters;
  Download result;
  auto server = std::make_shared<CFTPServer>(internet, reporters);
  if (!server->Connect("127.0.0.1", login, password)) {
    result.failure = server->LastError();
    return result;
  }
  CFTPFile file(internet, reporters);
  file.FTPServer(server);
  if (!file.OpenRemote(path, inet::GENERIC_READ, inet::FTP_TRANSFER_TYPE_BINARY)) {
    result.failure = file.LastError();
    return result;
  }
  std::array<std::uint8_t, 1024> block{};
  for (std::int32_t count; (count = file.ReadRemote(block, 1024)) > 0;) result.bytes.append(block.begin(), block.begin() + count);
  result.failure = file.LastError();
  return result;
}

}  // namespace updater::test
