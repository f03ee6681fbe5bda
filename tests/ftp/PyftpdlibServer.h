#pragma once
// A real FTP server for the tests: Debian's pyftpdlib on a free loopback port, anonymous and
// read-only in one temporary folder, with the user "writer" (password "secret") allowed to write
// in another. It is killed and its folders removed when the object ends.

#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <string>

namespace updater::test {

class PyftpdlibServer {
 public:
  PyftpdlibServer();
  ~PyftpdlibServer();
  PyftpdlibServer(const PyftpdlibServer&) = delete;
  PyftpdlibServer& operator=(const PyftpdlibServer&) = delete;

  std::uint16_t Port() const { return port_; }
  const std::filesystem::path& PublicFolder() const { return publicFolder_; }
  const std::filesystem::path& WritableFolder() const { return writableFolder_; }
  // Puts a file of bytes into the public folder.
  void Publish(const std::string& name, const std::string& bytes) const;

 private:
  void Stop();

  std::filesystem::path root_;
  std::filesystem::path publicFolder_;
  std::filesystem::path writableFolder_;
  pid_t pid_ = -1;
  std::uint16_t port_ = 0;
};

}  // namespace updater::test
