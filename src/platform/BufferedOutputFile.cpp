#include "platform/BufferedOutputFile.h"

#include <cstring>

#include "text/Fault.h"

namespace updater {

BufferedOutputFile::BufferedOutputFile(WriteCall write, CloseCall close)
    : write_(std::move(write)), close_(std::move(close)), buffer_(std::make_unique<std::uint8_t[]>(kBufferSize)) {}

BufferedOutputFile::~BufferedOutputFile() {
  if (!open_) return;
  try {
    Flush();
  } catch (...) {
    // The owner is giving up on the file (a cancel or a fault); what could not be written is lost.
  }
}

void BufferedOutputFile::Flush() {
  std::size_t done = 0;
  try {
    while (done < used_) {
      const std::size_t n = write_(buffer_.get() + done, used_ - done);
      if (n == 0) RaiseFault(FaultNumber::DiskFull);
      done += n;
    }
  } catch (...) {
    // Keep what was not written, so that a failed flush never reports the file as complete.
    std::memmove(buffer_.get(), buffer_.get() + done, used_ - done);
    used_ -= done;
    throw;
  }
  used_ = 0;
}

void BufferedOutputFile::Append(const std::uint8_t* data, std::size_t size) {
  if (!open_) RaiseFault(FaultNumber::BadFileNameOrNumber);
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
  if (!open_) return;
  Flush();
  open_ = false;
  close_();
}

}  // namespace updater
