#include "platform/linux/ftp/Socket.h"

#include <poll.h>
#include <sys/socket.h>

#include <cerrno>

#include "platform/Internet.h"

namespace updater {

InetError Socket::WaitFor(short events, Deadline deadline) {
  pollfd entry{fd_.Get(), events, 0};
  while (true) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return inet::ERROR_INTERNET_TIMEOUT;
    const int ready = ::poll(&entry, 1, static_cast<int>(left.count()));
    if (ready > 0) return kInetOk;  // readiness or an error, which the next call then reports
    if (ready < 0 && errno != EINTR) return InetErrorForSystemError(errno);
  }
}

InetError Socket::Connect(const SocketAddress& address, Deadline deadline, Socket& connected) {
  Socket socket;
  socket.fd_ = FileDescriptor(::socket(address.Family(), SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
  if (!socket.fd_.Valid()) return inet::ERROR_INTERNET_CANNOT_CONNECT;
  socket.peer_ = address;
  if (::connect(socket.fd_.Get(), address.Get(), address.Length()) != 0) {
    if (errno != EINPROGRESS && errno != EINTR) return inet::ERROR_INTERNET_CANNOT_CONNECT;
    if (const InetError waited = socket.WaitFor(POLLOUT, deadline); waited != kInetOk) return waited;
    int error = 0;
    socklen_t length = sizeof error;
    if (::getsockopt(socket.fd_.Get(), SOL_SOCKET, SO_ERROR, &error, &length) != 0 || error != 0)
      return error == ETIMEDOUT ? inet::ERROR_INTERNET_TIMEOUT : inet::ERROR_INTERNET_CANNOT_CONNECT;
  }
  connected = std::move(socket);
  return kInetOk;
}

InetError Socket::SendAll(const void* data, std::size_t size, Deadline deadline) {
  const auto* next = static_cast<const char*>(data);
  while (size > 0) {
    const ssize_t sent = ::send(fd_.Get(), next, size, MSG_NOSIGNAL);
    if (sent >= 0) {
      next += sent;
      size -= static_cast<std::size_t>(sent);
    } else if (errno == EAGAIN || errno == EWOULDBLOCK) {
      if (const InetError waited = WaitFor(POLLOUT, deadline); waited != kInetOk) return waited;
    } else if (errno != EINTR) {
      return InetErrorForSystemError(errno);
    }
  }
  return kInetOk;
}

InetError Socket::Receive(void* buffer, std::size_t size, Deadline deadline, std::size_t& received) {
  received = 0;
  while (true) {
    const ssize_t got = ::recv(fd_.Get(), buffer, size, 0);
    if (got >= 0) {
      received = static_cast<std::size_t>(got);
      return kInetOk;
    }
    if (errno == EAGAIN || errno == EWOULDBLOCK) {
      if (const InetError waited = WaitFor(POLLIN, deadline); waited != kInetOk) return waited;
    } else if (errno != EINTR) {
      return InetErrorForSystemError(errno);
    }
  }
}

}  // namespace updater
