#pragma once
// The server side of one download attempt, over FTP or HTTP(S) as the address's scheme says:
// reaching the server, opening the release and its signature on it, and letting it go.

#include <memory>
#include <string>

#include "ftp/RemoteFile.h"
#include "platform/Internet.h"
#include "text/Reporters.h"

namespace updater {

class ReleaseServer {
 public:
  // What a failed open came to: no answer from the server, or an answer without the file.
  enum class OpenFailure { NoConnection, Refused };

  virtual ~ReleaseServer() = default;
  // The local file name that the address gives.
  virtual const std::string& FileName() const = 0;
  // Makes the connection that files are opened on; false when the server cannot be reached.
  virtual bool Connect() = 0;
  // The text of the last failure to reach the server.
  virtual const std::string& LastError() const = 0;
  // Opens the release, or its signature file (the release's path with ".sig" added); null when it
  // cannot be opened, with why and, for a refusal, what the server answered (may be empty).
  virtual std::unique_ptr<RemoteFile> Open(bool signature, OpenFailure& failure, std::string& answer) = 0;
  virtual void Disconnect() = 0;
};

// The server of address, or null when the address is not a valid one: an http or https address
// (scheme in any case), or else an FTP address whose scheme is not looked at.
std::unique_ptr<ReleaseServer> ReleaseServerFor(const std::string& address, IInternet& internet,
                                                IRuntimeErrors& errors);

}  // namespace updater
