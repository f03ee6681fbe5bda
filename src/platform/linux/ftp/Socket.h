#pragma once
// A connected TCP socket whose every wait ends at a deadline. It is non-blocking and close-on-exec
// underneath; a peer that closes or resets shows up as an error code, never as a signal.

#include <chrono>
#include <cstddef>

#include "platform/linux/FileDescriptor.h"
#include "platform/linux/ftp/NetworkError.h"
#include "platform/linux/ftp/SocketAddress.h"

namespace updater {

using Deadline = std::chrono::steady_clock::time_point;

inline Deadline DeadlineAfter(std::chrono::milliseconds timeout) {
  return std::chrono::steady_clock::now() + timeout;
}

// Where bytes come from: a connected socket, or whatever stands in for one.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // Receives up to size bytes of what has arrived, waiting for the first until the deadline;
  // received is 0 when the peer has closed its side.
  virtual InetError Receive(void* buffer, std::size_t size, Deadline deadline, std::size_t& received) = 0;
};

class Socket : public ByteSource {
 public:
  Socket() = default;

  // Connects to address; ERROR_INTERNET_TIMEOUT when the deadline passes first,
  // ERROR_INTERNET_CANNOT_CONNECT when the connection is refused or the address unreachable.
  static InetError Connect(const SocketAddress& address, Deadline deadline, Socket& connected);

  // Sends all size bytes.
  InetError SendAll(const void* data, std::size_t size, Deadline deadline);
  InetError Receive(void* buffer, std::size_t size, Deadline deadline, std::size_t& received) override;

  // The address connected to.
  const SocketAddress& Peer() const { return peer_; }
  bool IsOpen() const { return fd_.Valid(); }
  void Close() { fd_.Reset(); }

 private:
  InetError WaitFor(short events, Deadline deadline);

  FileDescriptor fd_;
  SocketAddress peer_;
};

}  // namespace updater
