#include "updater/FtpAddress.h"

namespace updater {

std::optional<FtpAddress> SplitFtpAddress(std::string_view address) {
  const auto first = address.find('/');
  if (first == std::string_view::npos) return std::nullopt;
  const auto second = address.find('/', first + 1);
  if (second == std::string_view::npos) return std::nullopt;
  const auto third = address.find('/', second + 1);
  if (third == std::string_view::npos) return std::nullopt;

  FtpAddress parts;
  parts.server = address.substr(second + 1, third - second - 1);
  parts.remotePath = address.substr(third + 1);
  parts.fileName = address.substr(address.rfind('/') + 1);
  if (parts.fileName.empty() || parts.fileName == "." || parts.fileName == "..") return std::nullopt;
  return parts;
}

}  // namespace updater
