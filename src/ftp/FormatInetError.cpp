#include "ftp/FormatInetError.h"

#include <algorithm>
#include <array>

#include "text/Trap.h"

namespace updater {
namespace {
constexpr std::uint32_t kWorkBufferSize = 2048;
constexpr std::uint32_t kMessageSize = 256;
const std::string kIndent = "     ";
}  // namespace

std::string FormatInetError(IInternet& internet, IRuntimeErrors& errors, std::int32_t errorCode,
                            const std::string& label) {
  std::string result;
  TrapRuntime(errors, "Runtime Error in FormatInetError", [&] {
    std::array<char, kWorkBufferSize> buffer{};
    std::uint32_t length = internet.FormatMessage(static_cast<std::uint32_t>(errorCode), buffer.data(), kMessageSize);
    result = label + " error #" + std::to_string(errorCode) + ". " + std::string(buffer.data(), std::min(length, kMessageSize));
    if (static_cast<std::uint32_t>(errorCode) != inet::ERROR_INTERNET_EXTENDED_ERROR) return;

    length = kWorkBufferSize;
    std::uint32_t responseError = 0;
    if (!internet.InternetGetLastResponseInfo(&responseError, buffer.data(), &length)) return;
    const std::string_view response(buffer.data(), std::min(length, kWorkBufferSize));

    std::string tail = kIndent + "FTP response:\r\n" + kIndent;
    for (std::size_t i = 0; i < response.size(); ++i) {
      tail += response[i];
      if (response[i] == '\n' && i > 0 && response[i - 1] == '\r') tail += kIndent;
    }
    const auto lastKept = tail.find_last_not_of(' ');
    tail.erase(lastKept == std::string::npos ? 0 : lastKept + 1);
    result += tail;
  });
  return result;
}

std::string LastInetErrorText(IInternet& internet, IRuntimeErrors& errors, const std::string& label) {
  return FormatInetError(internet, errors, static_cast<std::int32_t>(internet.GetLastError()), label);
}

}  // namespace updater
