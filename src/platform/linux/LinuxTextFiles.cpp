#include "platform/linux/LinuxTextFiles.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "platform/ChunkedReads.h"
#include "platform/linux/FileDescriptor.h"
#include "platform/linux/SystemFault.h"

namespace updater {
namespace {

ReadCall ReadFrom(const FileDescriptor& file) {
  return [&file](char* buffer, std::size_t size) {
    const ssize_t n = RetryOnInterrupt([&] { return ::read(file.Get(), buffer, size); });
    if (n < 0) RaiseSystemFault();
    return static_cast<std::size_t>(n);
  };
}

}  // namespace

std::string LinuxTextFiles::ReadFirstLine(const std::string& path) {
  FileDescriptor file(RetryOnInterrupt([&] { return ::open(path.c_str(), O_RDONLY | O_CLOEXEC); }));
  if (!file.Valid()) RaiseSystemFault();
  return FirstLineOf(ReadFrom(file));
}

void LinuxTextFiles::AppendText(const std::string& path, const std::string& text) {
  FileDescriptor file(
      RetryOnInterrupt([&] { return ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644); }));
  if (!file.Valid()) RaiseSystemFault();
  // One write in append mode, so that records of programs writing at once never interleave.
  const ssize_t n = RetryOnInterrupt([&] { return ::write(file.Get(), text.data(), text.size()); });
  if (n < 0) RaiseSystemFault();
  if (static_cast<std::size_t>(n) != text.size()) RaiseFault(FaultNumber::DiskFull);
  if (!file.Reset()) RaiseSystemFault();
}

WholeFile LinuxTextFiles::ReadWholeFile(const std::string& path, std::size_t maxBytes, std::string& bytes) {
  bytes.clear();
  FileDescriptor file(RetryOnInterrupt([&] { return ::open(path.c_str(), O_RDONLY | O_CLOEXEC); }));
  if (!file.Valid()) return errno == ENOENT ? WholeFile::Missing : WholeFile::Unreadable;
  return WholeFileOf(ReadFrom(file), maxBytes, bytes) ? WholeFile::Read : WholeFile::Unreadable;
}

}  // namespace updater
