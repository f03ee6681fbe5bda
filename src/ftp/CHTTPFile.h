#pragma once
// One file on an HTTP or HTTPS server: one GET per open, on a session of its own, never from a cache
// and with the body as the server sends it (no content coding). Redirects are followed here, not by
// the platform: at most five, only to http or https, and never from https to http.

#include <cstdint>
#include <optional>
#include <string>

#include "ftp/HttpAddress.h"
#include "ftp/RemoteFile.h"

namespace updater {

// The longest wait for a connection, and for a request or response to move on.
inline constexpr std::uint32_t kHttpConnectTimeoutMs = 20'000;
inline constexpr std::uint32_t kHttpTransferTimeoutMs = 30'000;
inline constexpr int kMaxRedirects = 5;

class CHTTPFile : public RemoteFile {
 public:
  // Why an open failed: no response came from the server, or it answered without the file.
  enum class Failure { None, NoConnection, Refused };

  // Opens the session under the program's agent name with the system's proxy settings.
  CHTTPFile(IInternet& internet, IRuntimeErrors& errors);
  // Closes the request, the connection, then the session.
  ~CHTTPFile() override;

  // Requests address; true when a final 200 answered, whose body ReadRemote then reads. A failure
  // leaves LastError (no connection) or Refusal (any other answer) behind.
  bool OpenRemote(const HttpAddress& address);
  Failure LastFailure() const { return failure_; }
  // The server's status line, and why a redirect was not followed.
  const std::string& Refusal() const { return refusal_; }

 private:
  // Sends one request for address on a connection to its server; false when no response came.
  bool Request(const HttpAddress& address);
  std::uint32_t StatusCode();
  // A text of the response's head, control characters replaced; empty when there is none.
  std::string Header(std::uint32_t level);
  std::string StatusLine();
  void Disconnect();

  HINTERNET session_ = 0;
  HINTERNET connection_ = 0;
  std::optional<HttpAddress> server_;  // where connection_ leads
  Failure failure_ = Failure::None;
  std::string refusal_;
};

}  // namespace updater
