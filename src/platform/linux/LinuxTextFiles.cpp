#include "platform/linux/LinuxTextFiles.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "platform/linux/FileDescriptor.h"
#include "platform/linux/SystemFault.h"

namespace updater {

std::string LinuxTextFiles::ReadFirstLine(const std::string& path) {
  FileDescriptor file(RetryOnInterrupt([&] { return ::open(path.c_str(), O_RDONLY | O_CLOEXEC); }));
  if (!file.Valid()) RaiseSystemFault();

  std::string line;
  char chunk[4096];
  bool anyByte = false;
  while (true) {
    const ssize_t n = RetryOnInterrupt([&] { return ::read(file.Get(), chunk, sizeof chunk); });
    if (n < 0) RaiseSystemFault();
    if (n == 0) break;
    anyByte = true;
    for (ssize_t i = 0; i < n; ++i) {
      if (chunk[i] == '\r' || chunk[i] == '\n') return line;
      line += chunk[i];
    }
  }
  if (!anyByte) RaiseFault(FaultNumber::InputPastEndOfFile);
  return line;
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
  char chunk[4096];
  while (true) {
    const ssize_t n = RetryOnInterrupt([&] { return ::read(file.Get(), chunk, sizeof chunk); });
    if (n == 0) return WholeFile::Read;
    if (n < 0 || bytes.size() + static_cast<std::size_t>(n) > maxBytes) break;
    bytes.append(chunk, static_cast<std::size_t>(n));
  }
  bytes.clear();
  return WholeFile::Unreadable;
}

}  // namespace updater
