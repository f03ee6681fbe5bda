#pragma once
// IPv4 and IPv6 socket addresses and the lookup of a server's addresses.

#include <sys/socket.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/linux/ftp/NetworkError.h"

namespace updater {

class SocketAddress {
 public:
  SocketAddress() = default;
  SocketAddress(const sockaddr* address, socklen_t length);

  const sockaddr* Get() const { return reinterpret_cast<const sockaddr*>(&storage_); }
  socklen_t Length() const { return length_; }
  int Family() const { return storage_.ss_family; }
  // The same host with another TCP port.
  SocketAddress WithPort(std::uint16_t port) const;

 private:
  sockaddr_storage storage_{};
  socklen_t length_ = 0;
};

// The TCP addresses of host on port. Host is a name, an IPv4 literal or an IPv6 literal, the last
// with or without brackets. ERROR_INTERNET_NAME_NOT_RESOLVED when it has none.
InetError ResolveHost(const std::string& host, std::uint16_t port, std::vector<SocketAddress>& addresses);

}  // namespace updater
