#pragma once
// One file transfer on a passive data connection. A download reads the data connection in large
// chunks into its own buffer and serves the callers' reads from there; it reports its end only once
// the data connection has ended and the server's final reply has confirmed the transfer.

#include <cstdint>
#include <memory>
#include <string>

#include "platform/linux/ftp/ControlConnection.h"
#include "platform/linux/ftp/NetworkError.h"
#include "platform/linux/ftp/Socket.h"

namespace updater {

class FtpTransfer {
 public:
  enum class Direction { Download, Upload };
  // Bytes asked of the data connection at a time.
  static constexpr std::size_t kChunkSize = 256 * 1024;

  // Starts a transfer of path on control: TYPE (I for binary, A for ASCII), a passive data
  // connection, RETR or STOR and the server's preliminary reply.
  static InetError Start(ControlConnection& control, Direction direction, bool ascii, const std::string& path,
                         std::unique_ptr<FtpTransfer>& started);

  Direction GetDirection() const { return direction_; }
  // Moves up to size bytes of the download into buffer; read is 0 only at the confirmed end.
  // After a failure every further read fails with the same code.
  InetError Read(void* buffer, std::uint32_t size, std::uint32_t& read);
  // Sends size bytes of the upload.
  InetError Write(const void* data, std::uint32_t size, std::uint32_t& written);
  // Closes the data connection. An unfinished download is aborted so that the control connection
  // can go on; an upload ends here and its result is the server's final reply.
  InetError Finish();

 private:
  FtpTransfer(ControlConnection& control, Direction direction, Socket data, bool confirmed);
  // Receives the next chunk; at the end of the data, reads the final reply.
  InetError Refill();
  InetError ReadFinalReply();
  InetError Fail(InetError error);

  ControlConnection& control_;
  Direction direction_;
  Socket data_;
  // The server's final reply has confirmed the transfer.
  bool confirmed_;
  // The final reply has been read: there is no transfer left to abort.
  bool finalReplyRead_;
  InetError failure_ = kInetOk;
  std::unique_ptr<std::uint8_t[]> chunk_;
  std::size_t next_ = 0;
  std::size_t end_ = 0;
};

}  // namespace updater
