#include "platform/linux/ftp/SocketAddress.h"

#include <netdb.h>
#include <netinet/in.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "platform/Internet.h"

namespace updater {

SocketAddress::SocketAddress(const sockaddr* address, socklen_t length) {
  length_ = std::min<socklen_t>(length, sizeof storage_);
  std::memcpy(&storage_, address, length_);
}

SocketAddress SocketAddress::WithPort(std::uint16_t port) const {
  SocketAddress copy = *this;
  if (Family() == AF_INET6)
    reinterpret_cast<sockaddr_in6*>(&copy.storage_)->sin6_port = htons(port);
  else
    reinterpret_cast<sockaddr_in*>(&copy.storage_)->sin_port = htons(port);
  return copy;
}

InetError ResolveHost(const std::string& host, std::uint16_t port, std::vector<SocketAddress>& addresses) {
  std::string name = host;
  if (name.size() >= 2 && name.front() == '[' && name.back() == ']') name = name.substr(1, name.size() - 2);
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_NUMERICSERV;
  addrinfo* found = nullptr;
  if (name.empty() || ::getaddrinfo(name.c_str(), std::to_string(port).c_str(), &hints, &found) != 0)
    return inet::ERROR_INTERNET_NAME_NOT_RESOLVED;
  const std::unique_ptr<addrinfo, decltype(&::freeaddrinfo)> owner(found, ::freeaddrinfo);
  addresses.clear();
  for (const addrinfo* entry = found; entry != nullptr; entry = entry->ai_next)
    if (entry->ai_family == AF_INET || entry->ai_family == AF_INET6)
      addresses.emplace_back(entry->ai_addr, entry->ai_addrlen);
  return addresses.empty() ? inet::ERROR_INTERNET_NAME_NOT_RESOLVED : kInetOk;
}

}  // namespace updater
