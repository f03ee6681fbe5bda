#include "platform/linux/LinuxTextFiles.h"

#include <fcntl.h>
#include <unistd.h>

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

}  // namespace updater
