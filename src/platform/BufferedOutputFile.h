#pragma once
// A file written through a large buffer over the platform's write and close calls; every byte is on
// disk once Close() has returned.

#include <functional>
#include <memory>

#include "platform/LocalFiles.h"

namespace updater {

class BufferedOutputFile : public IOutputFile {
 public:
  static constexpr std::size_t kBufferSize = 64 * 1024;

  // Writes some of the bytes and returns how many, 0 when the disk has no room; faults on an error.
  using WriteCall = std::function<std::size_t(const std::uint8_t* data, std::size_t size)>;
  // Closes the file; faults when the system reports an error.
  using CloseCall = std::function<void()>;

  BufferedOutputFile(WriteCall write, CloseCall close);
  // Writes out what is buffered as far as it can; errors are dropped here. The platform's file
  // closes with the calls that hold it.
  ~BufferedOutputFile() override;

  void Append(const std::uint8_t* data, std::size_t size) override;
  void Close() override;

 private:
  void Flush();

  WriteCall write_;
  CloseCall close_;
  std::unique_ptr<std::uint8_t[]> buffer_;
  std::size_t used_ = 0;
  bool open_ = true;
};

}  // namespace updater
