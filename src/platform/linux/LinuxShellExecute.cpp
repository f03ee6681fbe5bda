#include "platform/linux/LinuxShellExecute.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <vector>

#include "platform/linux/FileDescriptor.h"

namespace updater {
namespace {

// Results in the manner of the Windows shell: above 32 is success.
constexpr std::intptr_t kStarted = 42;
constexpr std::intptr_t kFileNotFound = 2;
constexpr std::intptr_t kAccessDenied = 5;
constexpr std::intptr_t kNoAssociation = 31;

// Opens file and tells whether it starts like a program; makes it executable for its owner if so.
// Returns false when the file cannot be opened; kind is set to whether it is a program.
bool InspectAndMarkExecutable(const std::string& file, bool& isProgram) {
  FileDescriptor fd(RetryOnInterrupt([&] { return ::open(file.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC); }));
  if (!fd.Valid()) return false;
  unsigned char head[4] = {};
  const ssize_t n = RetryOnInterrupt([&] { return ::read(fd.Get(), head, sizeof head); });
  isProgram = (n >= 4 && head[0] == 0x7F && head[1] == 'E' && head[2] == 'L' && head[3] == 'F') ||
              (n >= 2 && head[0] == '#' && head[1] == '!');
  struct stat info {};
  if (isProgram && ::fstat(fd.Get(), &info) == 0 && S_ISREG(info.st_mode))
    ::fchmod(fd.Get(), (info.st_mode & 07777) | S_IXUSR);
  return true;
}

// Starts program with arguments in directory, detached: an intermediate child starts a new session,
// forks the program and ends at once, so the program is never left for us to reap.
bool SpawnDetached(const std::string& program, const std::vector<std::string>& arguments,
                   const std::string& directory, bool searchPath) {
  std::vector<char*> argv;
  for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  int report[2];
  if (::pipe2(report, O_CLOEXEC) != 0) return false;
  FileDescriptor readEnd(report[0]);
  FileDescriptor writeEnd(report[1]);

  const pid_t child = ::fork();
  if (child < 0) return false;
  if (child == 0) {
    ::setsid();
    if (::fork() != 0) ::_exit(0);
    if (!directory.empty() && ::chdir(directory.c_str()) != 0) {
      const int error = errno;
      (void)!::write(report[1], &error, sizeof error);
      ::_exit(127);
    }
    if (searchPath)
      ::execvp(program.c_str(), argv.data());
    else
      ::execv(program.c_str(), argv.data());
    const int error = errno;
    (void)!::write(report[1], &error, sizeof error);
    ::_exit(127);
  }
  writeEnd.Reset();
  int status = 0;
  RetryOnInterrupt([&] { return ::waitpid(child, &status, 0); });
  // The pipe closes without a word when exec succeeded.
  int error = 0;
  const ssize_t n = RetryOnInterrupt([&] { return ::read(readEnd.Get(), &error, sizeof error); });
  return n == 0;
}

}  // namespace

std::intptr_t LinuxShellExecute::ShellExecute(std::uint32_t, const std::string& operation, const std::string& file,
                                              const std::string& parameters, const std::string& directory,
                                              std::int32_t) {
  if (operation != "open") return kNoAssociation;
  bool isProgram = false;
  if (!InspectAndMarkExecutable(file, isProgram)) return kFileNotFound;
  std::vector<std::string> arguments{file};
  if (isProgram) {
    if (!parameters.empty()) arguments.push_back(parameters);
    return SpawnDetached(file, arguments, directory, false) ? kStarted : kAccessDenied;
  }
  // A path that begins with "-" would read as an option to the opener.
  const std::string path = file.empty() || file[0] == '/' ? file : "./" + file;
  return SpawnDetached("xdg-open", {"xdg-open", path}, directory, true) ? kStarted : kNoAssociation;
}

}  // namespace updater
