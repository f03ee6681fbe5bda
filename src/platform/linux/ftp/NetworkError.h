#pragma once
// Results of the FTP client's network steps: 0 for success, otherwise the Internet error code
// (inet::ERROR_...) that the failed call leaves behind.

#include <cstdint>

namespace updater {

using InetError = std::uint32_t;
inline constexpr InetError kInetOk = 0;

// The Internet error code for the errno of a failed send or receive.
InetError InetErrorForSystemError(int error);

}  // namespace updater
