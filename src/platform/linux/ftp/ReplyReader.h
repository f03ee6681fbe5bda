#pragma once
// Reads the FTP server's replies from the control connection, within fixed bounds.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "platform/linux/ftp/NetworkError.h"
#include "platform/linux/ftp/Socket.h"

namespace updater {

// The longest reply text kept: it fits the 2048-character buffers that callers hand to
// InternetGetLastResponseInfo, terminator included.
inline constexpr std::size_t kMaxReplyText = 2047;

struct FtpReply {
  int code = 0;
  // The reply's lines joined by CR LF, without a final line break, other control characters
  // replaced by '?', cut to kMaxReplyText characters.
  std::string text;

  bool Preliminary() const { return code / 100 == 1; }
  bool Positive() const { return code / 100 == 2; }
  bool Intermediate() const { return code / 100 == 3; }
};

// Accepts single-line and multi-line replies ("123-" ... "123 ") with CR LF or bare LF line ends.
// A line longer than kMaxLineLength, a reply of more than kMaxLines lines or a line that does not
// begin as a reply fails with ERROR_HTTP_INVALID_SERVER_RESPONSE instead of taking more memory.
// Bytes that follow a reply stay buffered for the next one.
class ReplyReader {
 public:
  static constexpr std::size_t kMaxLineLength = 2000;
  static constexpr int kMaxLines = 100;

  InetError Read(ByteSource& source, Deadline deadline, FtpReply& reply);

 private:
  InetError NextLine(ByteSource& source, Deadline deadline, std::string_view& line);

  std::array<char, 2 * kMaxLineLength> buffer_;
  std::size_t begin_ = 0;
  std::size_t end_ = 0;
};

}  // namespace updater
