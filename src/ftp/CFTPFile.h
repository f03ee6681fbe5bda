#pragma once
// One file on an FTP server, opened on the connection of an attached CFTPServer, which it keeps
// alive for as long as it holds it.

#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "ftp/CFTPServer.h"
#include "ftp/RemoteFile.h"

namespace updater {

class CFTPFile : public RemoteFile {
 public:
  CFTPFile(IInternet& internet, IRuntimeErrors& errors) : RemoteFile(internet, errors) {}
  // Closes the file, then lets go of the server.
  ~CFTPFile() override;

  void FTPServer(std::shared_ptr<CFTPServer> server) { server_ = std::move(server); }
  const std::shared_ptr<CFTPServer>& FTPServer() const { return server_; }

  // Opens fileName for GENERIC_READ or GENERIC_WRITE with an FTP transfer type; refused while a file is open.
  bool OpenRemote(const std::string& fileName, std::uint32_t openMode, std::uint32_t transferMode);
  // Sends the first bytesToWrite bytes of buffer; returns the count sent, 0 on failure.
  std::int32_t WriteRemote(std::span<const std::uint8_t> buffer, std::int32_t bytesToWrite);

 private:
  std::shared_ptr<CFTPServer> server_;
};

}  // namespace updater
