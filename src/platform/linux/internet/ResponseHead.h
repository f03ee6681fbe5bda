#pragma once
// The lines that libcurl hands to its header callback, one at a time: an FTP server's replies (each
// complete one becomes the thread's last response), or the head of an HTTP response, which is also
// what an HTTP proxy answers for an ftp:// address.

#include <string>
#include <string_view>

#include "platform/linux/internet/LastCallRecord.h"

namespace updater {

class ResponseHead {
 public:
  // Takes one line with or without its line end.
  void Add(std::string_view line);

  // FTP: the code of the last complete reply, 0 before the first.
  int LastReplyCode() const { return lastReply_; }
  // FTP: a preliminary reply (125, 150) announced a transfer.
  bool TransferAnnounced() const { return announced_; }

  // HTTP: whether an HTTP status line came, and the head of a final (not 1xx) response is complete.
  bool IsHttp() const { return !statusLine_.empty(); }
  bool HttpHeadComplete() const { return headComplete_; }
  // "HTTP/1.1 404 Not Found", its parts, and its code (0 when it has none).
  const std::string& StatusLine() const { return statusLine_; }
  std::string_view Version() const;
  std::string_view StatusText() const;
  int StatusCode() const { return status_; }

 private:
  void AddFtpLine(std::string_view line);

  // The reply being read: its code, and its text so far.
  FtpReply reply_;
  bool inReply_ = false;
  int lastReply_ = 0;
  bool announced_ = false;

  std::string statusLine_;
  int status_ = 0;
  bool headComplete_ = false;
};

}  // namespace updater
