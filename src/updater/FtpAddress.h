#pragma once
// The pieces of an FTP address such as ftp://host/pub/app/setup.exe.

#include <optional>
#include <string>
#include <string_view>

namespace updater {

struct FtpAddress {
  std::string server;      // between the second and the third "/": host
  std::string remotePath;  // everything after the third "/": pub/app/setup.exe
  std::string fileName;    // everything after the last "/": setup.exe
};

// Nothing when the address has fewer than three "/" or its file name cannot name a file in a
// folder (empty, "." or ".."). The scheme is not looked at.
std::optional<FtpAddress> SplitFtpAddress(std::string_view address);

}  // namespace updater
