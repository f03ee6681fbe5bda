#pragma once
// The FTP client's default port and time-outs. The defaults are the longest waits a desktop user
// should sit through; tests hand in a port of their own server and shorter waits.

#include <chrono>
#include <cstdint>

namespace updater {

inline constexpr std::uint16_t kFtpDefaultPort = 21;
inline constexpr std::chrono::milliseconds kConnectTimeout{20'000};
inline constexpr std::chrono::milliseconds kReplyTimeout{30'000};
inline constexpr std::chrono::milliseconds kDataStallTimeout{30'000};
inline constexpr std::chrono::milliseconds kClosingTimeout{5'000};

struct FtpSettings {
  // The port that port 0 (the service's default port) stands for.
  std::uint16_t defaultPort = kFtpDefaultPort;
  // Establishing a control or data connection.
  std::chrono::milliseconds connectTimeout = kConnectTimeout;
  // Sending a command and receiving the whole of one reply.
  std::chrono::milliseconds replyTimeout = kReplyTimeout;
  // A data connection that moves no byte.
  std::chrono::milliseconds dataTimeout = kDataStallTimeout;
  // The replies awaited while closing: an aborted transfer's and QUIT's.
  std::chrono::milliseconds closingTimeout = kClosingTimeout;
};

}  // namespace updater
