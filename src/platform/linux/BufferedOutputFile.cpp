#include "platform/linux/BufferedOutputFile.h"

#include <unistd.h>

#include <cstring>

#include "platform/linux/SystemFault.h"

namespace updater {

BufferedOutputFile::BufferedOutputFile(FileDescriptor file)
    : file_(std::move(file)), buffer_(std::make_unique<std::uint8_t[]>(kBufferSize)) {}

BufferedOutputFile::~BufferedOutputFile() {
  if (!file_.Valid()) return;
  try {
    Flush();
  } catch (...) {
    // The owner is giving up on the file (a cancel or a fault); what could not be written is lost.
  }
  file_.Reset();
}

void BufferedOutputFile::Flush() {
  std::size_t done = 0;
  while (done < used_) {
    const ssize_t n = RetryOnInterrupt([&] { return ::write(file_.Get(), buffer_.get() + done, used_ - done); });
    if (n <= 0) {
      const int error = n < 0 ? errno : ENOSPC;
      // Keep what was not written, so that a failed flush never reports the file as complete.
      std::memmove(buffer_.get(), buffer_.get() + done, used_ - done);
      used_ -= done;
      RaiseSystemFault(error);
    }
    done += static_cast<std::size_t>(n);
  }
  used_ = 0;
}

void BufferedOutputFile::Append(const std::uint8_t* data, std::size_t size) {
  if (!file_.Valid()) RaiseFault(FaultNumber::BadFileNameOrNumber);
  while (size > 0) {
    if (used_ == kBufferSize) Flush();
    const std::size_t take = std::min(size, kBufferSize - used_);
    std::memcpy(buffer_.get() + used_, data, take);
    used_ += take;
    data += take;
    size -= take;
  }
}

void BufferedOutputFile::Close() {
  if (!file_.Valid()) return;
  Flush();
  if (!file_.Reset()) RaiseSystemFault();
}

}  // namespace updater
