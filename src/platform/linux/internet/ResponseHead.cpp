#include "platform/linux/internet/ResponseHead.h"

#include <cctype>

namespace updater {
namespace {

// A reply's text is kept for the log and the last response: control characters become "?", and no
// more than this much of it is kept.
constexpr std::size_t kMaxReplyText = 4096;

std::string Printable(std::string_view line) {
  std::string text(line);
  for (char& c : text)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
  return text;
}

// The reply code (100 to 599) that starts line, or 0.
int ReplyCode(std::string_view line) {
  if (line.size() < 3 || line[0] < '1' || line[0] > '5' ||
      !std::isdigit(static_cast<unsigned char>(line[1])) || !std::isdigit(static_cast<unsigned char>(line[2])))
    return 0;
  if (line.size() > 3 && line[3] != ' ' && line[3] != '-') return 0;
  return (line[0] - '0') * 100 + (line[1] - '0') * 10 + (line[2] - '0');
}

}  // namespace

void ResponseHead::Add(std::string_view line) {
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
  if (line.starts_with("HTTP/")) {
    statusLine_ = Printable(line);
    const auto space = line.find(' ');
    status_ = space == std::string_view::npos ? 0 : ReplyCode(line.substr(space + 1, 4));
    headComplete_ = false;
  } else if (IsHttp()) {
    if (line.empty() && status_ >= 200) headComplete_ = true;
  } else {
    AddFtpLine(line);
  }
}

void ResponseHead::AddFtpLine(std::string_view line) {
  const int code = ReplyCode(line);
  const bool continued = line.size() > 3 && line[3] == '-';
  if (!inReply_) {
    if (code == 0) return;  // not a reply
    reply_ = {code, ""};
    inReply_ = true;
  } else {
    reply_.text += "\r\n";
  }
  if (reply_.text.size() < kMaxReplyText) reply_.text += Printable(line.substr(0, kMaxReplyText - reply_.text.size()));
  // A reply ends with a line of a code followed by a blank, or a code alone, as libcurl reads it.
  if (continued || code == 0) return;
  inReply_ = false;
  lastReply_ = reply_.code = code;
  announced_ = announced_ || reply_.code == 125 || reply_.code == 150;
  SetLastResponse(reply_);
}

std::string_view ResponseHead::Version() const {
  return std::string_view(statusLine_).substr(0, statusLine_.find(' '));
}

std::string_view ResponseHead::StatusText() const {
  const auto code = statusLine_.find(' ');
  const auto text = code == std::string::npos ? code : statusLine_.find(' ', code + 1);
  return text == std::string::npos ? std::string_view() : std::string_view(statusLine_).substr(text + 1);
}

}  // namespace updater
