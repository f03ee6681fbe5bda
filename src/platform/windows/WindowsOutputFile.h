#pragma once
// The download's local file, written through a large buffer with WriteFile; every byte is on disk
// once Close() has returned.

#include <vector>

#include "platform/LocalFiles.h"
#include "platform/windows/Win32Handle.h"

namespace updater {

class WindowsOutputFile : public IOutputFile {
 public:
  static constexpr std::size_t kBufferSize = 64 * 1024;

  explicit WindowsOutputFile(Win32Handle file);
  // Writes out what is buffered as far as it can and closes the file; errors are dropped here.
  ~WindowsOutputFile() override;

  void Append(const std::uint8_t* data, std::size_t size) override;
  void Close() override;

 private:
  void Flush();

  Win32Handle file_;
  std::vector<std::uint8_t> buffer_;
};

}  // namespace updater
