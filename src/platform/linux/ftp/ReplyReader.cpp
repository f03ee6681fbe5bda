#include "platform/linux/ftp/ReplyReader.h"

#include <cstring>

#include "platform/Internet.h"
#include "text/Utf8.h"

namespace updater {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The reply code at the start of line, or 0 when it does not start with one.
int ReplyCode(std::string_view line) {
  if (line.size() < 3 || line[0] < '1' || line[0] > '5' || !IsDigit(line[1]) || !IsDigit(line[2])) return 0;
  if (line.size() > 3 && line[3] != ' ' && line[3] != '-') return 0;
  return (line[0] - '0') * 100 + (line[1] - '0') * 10 + (line[2] - '0');
}

// Whether line ends a reply with this code: the code followed by a blank or nothing.
bool EndsReply(std::string_view line, int code) {
  return ReplyCode(line) == code && (line.size() == 3 || line[3] == ' ');
}

// Appends line to text, joined by CR LF, with control characters as '?', within kMaxReplyText
// characters and without cutting a UTF-8 sequence in two.
void AppendLine(std::string& text, std::string_view line) {
  if (!text.empty()) {
    if (text.size() + 2 > kMaxReplyText) return;
    text += "\r\n";
  }
  const std::size_t take = WholeCharacterCut(line, kMaxReplyText - text.size());
  for (const char c : line.substr(0, take)) {
    const auto byte = static_cast<unsigned char>(c);
    text += byte < 0x20 || byte == 0x7F ? '?' : c;
  }
}

}  // namespace

InetError ReplyReader::NextLine(ByteSource& source, Deadline deadline, std::string_view& line) {
  while (true) {
    const char* start = buffer_.data() + begin_;
    if (const void* found = std::memchr(start, '\n', end_ - begin_)) {
      std::size_t length = static_cast<std::size_t>(static_cast<const char*>(found) - start);
      begin_ += length + 1;
      if (length > 0 && start[length - 1] == '\r') --length;
      if (length > kMaxLineLength) return inet::ERROR_HTTP_INVALID_SERVER_RESPONSE;
      line = std::string_view(start, length);
      return kInetOk;
    }
    if (end_ - begin_ > kMaxLineLength + 1) return inet::ERROR_HTTP_INVALID_SERVER_RESPONSE;
    if (begin_ > 0) {
      std::memmove(buffer_.data(), start, end_ - begin_);
      end_ -= begin_;
      begin_ = 0;
    }
    std::size_t received = 0;
    if (const InetError error = source.Receive(buffer_.data() + end_, buffer_.size() - end_, deadline, received);
        error != kInetOk)
      return error;
    if (received == 0) return inet::ERROR_INTERNET_CONNECTION_ABORTED;
    end_ += received;
  }
}

InetError ReplyReader::Read(ByteSource& source, Deadline deadline, FtpReply& reply) {
  reply = FtpReply{};
  std::string_view line;
  if (const InetError error = NextLine(source, deadline, line); error != kInetOk) return error;
  reply.code = ReplyCode(line);
  if (reply.code == 0) return inet::ERROR_HTTP_INVALID_SERVER_RESPONSE;
  AppendLine(reply.text, line);
  for (int lines = 1; !EndsReply(line, reply.code); ++lines) {
    if (lines == kMaxLines) return inet::ERROR_HTTP_INVALID_SERVER_RESPONSE;
    if (const InetError error = NextLine(source, deadline, line); error != kInetOk) return error;
    AppendLine(reply.text, line);
  }
  return kInetOk;
}

}  // namespace updater
