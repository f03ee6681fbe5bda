#pragma once
// A real FTP server for the tests: Debian's pyftpdlib on a free loopback port, anonymous and
// read-only in one temporary folder, with the user "writer" (password "secret") allowed to write
// in another. It is killed and its folders removed when the object ends.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

#include "platform/linux/FileDescriptor.h"

namespace updater::test {

class PyftpdlibServer {
 public:
  PyftpdlibServer() : root_(MakeTemporaryFolder()) {
    std::filesystem::create_directory(PublicFolder());
    std::filesystem::create_directory(WritableFolder());
    int pipeEnds[2];
    if (::pipe2(pipeEnds, O_CLOEXEC) != 0) throw std::runtime_error("no pipe");
    FileDescriptor portOut(pipeEnds[0]);
    FileDescriptor portIn(pipeEnds[1]);
    pid_ = ::fork();
    if (pid_ == 0) {
      ::prctl(PR_SET_PDEATHSIG, SIGKILL);
      ::dup2(portIn.Get(), STDOUT_FILENO);
      ::execl(kPython, kPython, "-c", kScript, PublicFolder().c_str(), WritableFolder().c_str(), nullptr);
      ::_exit(127);
    }
    portIn.Reset();
    std::string line;
    pollfd entry{portOut.Get(), POLLIN, 0};
    for (char c = 0; c != '\n' && ::poll(&entry, 1, 15000) == 1 && ::read(portOut.Get(), &c, 1) == 1;) line += c;
    port_ = static_cast<std::uint16_t>(std::atoi(line.c_str()));
    if (port_ == 0) {
      Stop();
      throw std::runtime_error("pyftpdlib did not start");
    }
  }
  ~PyftpdlibServer() { Stop(); }
  PyftpdlibServer(const PyftpdlibServer&) = delete;
  PyftpdlibServer& operator=(const PyftpdlibServer&) = delete;

  std::uint16_t Port() const { return port_; }
  std::filesystem::path PublicFolder() const { return root_ / "public"; }
  std::filesystem::path WritableFolder() const { return root_ / "writable"; }
  // Puts a file of bytes into the public folder.
  void Publish(const std::string& name, const std::string& bytes) const {
    std::ofstream(PublicFolder() / name, std::ios::binary) << bytes;
  }

 private:
  static constexpr const char* kPython = "/usr/bin/python3";
  // Serves on a port of the system's choice and prints it.
  static constexpr const char* kScript = R"(
import logging, sys
from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer
logging.basicConfig(level=logging.ERROR)
FTPHandler.authorizer = DummyAuthorizer()
FTPHandler.authorizer.add_anonymous(sys.argv[1])
FTPHandler.authorizer.add_user('writer', 'secret', sys.argv[2], perm='elradfmw')
server = FTPServer(('127.0.0.1', 0), FTPHandler)
print(server.address[1], flush=True)
server.serve_forever()
)";

  void Stop() {
    if (pid_ > 0) ::kill(pid_, SIGKILL), ::waitpid(pid_, nullptr, 0);
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }
  static std::filesystem::path MakeTemporaryFolder() {
    std::string folder = (std::filesystem::temp_directory_path() / "ftp-test-XXXXXX").string();
    if (::mkdtemp(folder.data()) == nullptr) throw std::runtime_error("no temporary folder");
    return folder;
  }

  std::filesystem::path root_;
  pid_t pid_ = -1;
  std::uint16_t port_ = 0;
};

}  // namespace updater::test
