#include "platform/linux/FileDescriptor.h"

#include <unistd.h>

namespace updater {

bool FileDescriptor::Reset() {
  if (fd_ < 0) return true;
  // close() is not retried: on Linux the descriptor is gone even when it reports EINTR.
  const bool ok = ::close(std::exchange(fd_, -1)) == 0;
  return ok;
}

}  // namespace updater
