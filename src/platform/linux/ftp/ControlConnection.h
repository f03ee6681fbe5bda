#pragma once
// The control connection of one FTP session: connecting, the greeting, the login, commands and
// their replies. Every reply read becomes the thread's last response. An exchange that fails on the
// way (time-out, closed or reset connection, unreadable reply) leaves the connection broken: the
// replies can no longer be matched to commands, so later commands fail with ERROR_FTP_DROPPED
// without reaching the server.

#include <chrono>
#include <string>
#include <string_view>

#include "platform/linux/ftp/FtpSettings.h"
#include "platform/linux/ftp/NetworkError.h"
#include "platform/linux/ftp/ReplyReader.h"
#include "platform/linux/ftp/Socket.h"

namespace updater {

// The password sent for an anonymous login that came without one; servers refuse an empty one.
inline constexpr const char* kAnonymousPassword = "anonymous@";

class ControlConnection {
 public:
  explicit ControlConnection(const FtpSettings& settings) : settings_(settings) {}

  // Connects to host on port and reads the greeting; an error reply gives ERROR_INTERNET_EXTENDED_ERROR.
  InetError Open(const std::string& host, std::uint16_t port);
  // Logs in; an empty user and password log in as anonymous. A refusal gives ERROR_INTERNET_EXTENDED_ERROR.
  InetError Login(const std::string& user, const std::string& password);
  // Sends command and reads its reply.
  InetError Exchange(std::string_view command, FtpReply& reply);
  // Sends command and expects a positive completion reply; any other gives ERROR_INTERNET_EXTENDED_ERROR.
  InetError Command(std::string_view command);
  // Reads the next reply, waiting at most timeout for all of it.
  InetError ReadReply(std::chrono::milliseconds timeout, FtpReply& reply);
  // Opens a passive data connection: asks for a port with EPSV, or with PASV once the server has
  // refused EPSV, and connects to that port at the server's address (the host a PASV reply names
  // is ignored).
  InetError OpenDataConnection(Socket& data);
  // Aborts the transfer in progress and reads its final reply and the abort's, within the closing time-out.
  void AbortTransfer();
  // Says goodbye within the closing time-out and closes the connection.
  void Quit();

  const FtpSettings& Settings() const { return settings_; }

 private:
  InetError Send(std::string_view command, std::chrono::milliseconds timeout);
  InetError AskForDataPort(std::uint16_t& port);
  // Marks the connection broken when error is one.
  InetError Check(InetError error);

  const FtpSettings& settings_;
  Socket socket_;
  ReplyReader reader_;
  bool broken_ = false;
  bool extendedPassiveRefused_ = false;
};

}  // namespace updater
