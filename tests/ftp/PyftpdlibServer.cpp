#include "PyftpdlibServer.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <stdexcept>

#include "platform/linux/FileDescriptor.h"

namespace updater::test {
namespace {

constexpr const char* kPython = "/usr/bin/python3";
constexpr int kStartWaitMs = 15000;

// Serves on port 0 of 127.0.0.1 and prints the port the system chose.
constexpr const char* kServerScript = R"(
import logging, sys
from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer
logging.basicConfig(level=logging.ERROR)
authorizer = DummyAuthorizer()
authorizer.add_anonymous(sys.argv[1])
authorizer.add_user('writer', 'secret', sys.argv[2], perm='elradfmw')
FTPHandler.authorizer = authorizer
server = FTPServer(('127.0.0.1', 0), FTPHandler)
print(server.address[1], flush=True)
server.serve_forever()
)";

}  // namespace

PyftpdlibServer::PyftpdlibServer() {
  std::string folder = (std::filesystem::temp_directory_path() / "ftp-test-XXXXXX").string();
  if (::mkdtemp(folder.data()) == nullptr) throw std::runtime_error("no temporary folder");
  root_ = folder;
  publicFolder_ = root_ / "public";
  writableFolder_ = root_ / "writable";
  std::filesystem::create_directory(publicFolder_);
  std::filesystem::create_directory(writableFolder_);

  int pipeEnds[2];
  if (::pipe2(pipeEnds, O_CLOEXEC) != 0) throw std::runtime_error("no pipe");
  FileDescriptor portOut(pipeEnds[0]);
  FileDescriptor portIn(pipeEnds[1]);
  pid_ = ::fork();
  if (pid_ == 0) {
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    ::dup2(portIn.Get(), STDOUT_FILENO);
    ::execl(kPython, kPython, "-c", kServerScript, publicFolder_.c_str(), writableFolder_.c_str(), nullptr);
    ::_exit(127);
  }
  portIn.Reset();

  std::string line;
  char c = 0;
  pollfd entry{portOut.Get(), POLLIN, 0};
  while (RetryOnInterrupt([&] { return ::poll(&entry, 1, kStartWaitMs); }) == 1 && ::read(portOut.Get(), &c, 1) == 1 &&
         c != '\n')
    line += c;
  port_ = static_cast<std::uint16_t>(std::atoi(line.c_str()));
  if (port_ == 0) {
    Stop();
    throw std::runtime_error("pyftpdlib did not start");
  }
}

PyftpdlibServer::~PyftpdlibServer() { Stop(); }

void PyftpdlibServer::Stop() {
  if (pid_ > 0) {
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
    pid_ = -1;
  }
  std::error_code ignored;
  std::filesystem::remove_all(root_, ignored);
}

void PyftpdlibServer::Publish(const std::string& name, const std::string& bytes) const {
  std::ofstream(publicFolder_ / name, std::ios::binary) << bytes;
}

}  // namespace updater::test
