#pragma once
// One FTP server: the Internet session opened at creation and, after Connect, one connection on it.
// Shared by the download driver and the remote files opened on it; the last holder closes it.

#include <string>

#include "platform/Internet.h"
#include "text/Reporters.h"

namespace updater {

// Agent name the session is opened under.
inline constexpr const char* kAgentName = "Orlenza update client";

class CFTPServer {
 public:
  CFTPServer(IInternet& internet, IRuntimeErrors& errors);
  // Closes the connection, then the session.
  ~CFTPServer();
  CFTPServer(const CFTPServer&) = delete;
  CFTPServer& operator=(const CFTPServer&) = delete;

  // Text of the most recent failure; a success never clears it.
  const std::string& LastError() const { return lastError_; }
  // The connection handle, 0 while not connected.
  HINTERNET ActiveConnection() const { return connection_; }

  // Connects in passive mode on the default FTP port, closing an earlier connection first.
  bool Connect(const std::string& server, const std::string& login, const std::string& password);
  void Disconnect();
  bool DeleteRemoteFile(const std::string& fileName);

 private:
  IInternet& internet_;
  IRuntimeErrors& errors_;
  HINTERNET connection_ = 0;
  HINTERNET session_ = 0;
  std::string lastError_;
};

}  // namespace updater
