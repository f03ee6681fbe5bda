#include "platform/linux/ftp/NetworkError.h"

#include <cerrno>

#include "platform/Internet.h"

namespace updater {

InetError InetErrorForSystemError(int error) {
  switch (error) {
    case ECONNRESET:
      return inet::ERROR_INTERNET_CONNECTION_RESET;
    case ETIMEDOUT:
      return inet::ERROR_INTERNET_TIMEOUT;
    case ENOMEM:
    case ENOBUFS:
      return inet::ERROR_NOT_ENOUGH_MEMORY;
    default:
      // EPIPE, ENOTCONN, ECONNABORTED, a network gone down: the connection is lost either way.
      return inet::ERROR_INTERNET_CONNECTION_ABORTED;
  }
}

}  // namespace updater
