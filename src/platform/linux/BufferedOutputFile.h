#pragma once
// A file written through a large buffer; every byte is on disk once Close() has returned.

#include <memory>

#include "platform/LocalFiles.h"
#include "platform/linux/FileDescriptor.h"

namespace updater {

class BufferedOutputFile : public IOutputFile {
 public:
  static constexpr std::size_t kBufferSize = 64 * 1024;

  explicit BufferedOutputFile(FileDescriptor file);
  // Writes out what is buffered as far as it can and closes the file; errors are dropped here.
  ~BufferedOutputFile() override;

  void Append(const std::uint8_t* data, std::size_t size) override;
  void Close() override;

 private:
  void Flush();

  FileDescriptor file_;
  std::unique_ptr<std::uint8_t[]> buffer_;
  std::size_t used_ = 0;
};

}  // namespace updater
