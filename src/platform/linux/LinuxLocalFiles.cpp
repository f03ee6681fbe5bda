#include "platform/linux/LinuxLocalFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "platform/BufferedOutputFile.h"
#include "platform/linux/FileDescriptor.h"
#include "platform/linux/SystemFault.h"

namespace updater {

std::string LinuxLocalFiles::TempPath() {
  std::string folder = "/tmp";
  if (const char* tmpdir = std::getenv("TMPDIR"); tmpdir != nullptr && tmpdir[0] == '/') {
    struct stat info {};
    if (::stat(tmpdir, &info) == 0 && S_ISDIR(info.st_mode)) folder = tmpdir;
  }
  if (folder.back() != '/') folder += '/';
  return folder;
}

bool LinuxLocalFiles::Exists(const std::string& path) {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0;
}

void LinuxLocalFiles::Delete(const std::string& path) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0) RaiseSystemFault();
  // Another user's file in a shared folder is not ours to remove, and a folder is not a file.
  if (info.st_uid != ::geteuid()) RaiseFault(FaultNumber::PermissionDenied);
  if (S_ISDIR(info.st_mode)) RaiseFault(FaultNumber::PathFileAccessError);
  if (::unlink(path.c_str()) != 0) RaiseSystemFault();
}

std::unique_ptr<IOutputFile> LinuxLocalFiles::Create(const std::string& path) {
  auto file = std::make_shared<FileDescriptor>(RetryOnInterrupt(
      [&] { return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600); }));
  if (!file->Valid()) RaiseSystemFault();
  return std::make_unique<BufferedOutputFile>(
      [file](const std::uint8_t* data, std::size_t size) {
        const ssize_t n = RetryOnInterrupt([&] { return ::write(file->Get(), data, size); });
        if (n < 0) RaiseSystemFault();
        return static_cast<std::size_t>(n);
      },
      [file] {
        if (!file->Reset()) RaiseSystemFault();
      });
}

}  // namespace updater
