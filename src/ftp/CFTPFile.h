#pragma once
// One file on an FTP server, opened on the connection of an attached CFTPServer, which it keeps
// alive for as long as it holds it.

#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "ftp/CFTPServer.h"
#include "platform/Internet.h"
#include "text/Reporters.h"

namespace updater {

class CFTPFile {
 public:
  CFTPFile(IInternet& internet, IRuntimeErrors& errors) : internet_(internet), errors_(errors) {}
  // Closes the file, then lets go of the server.
  ~CFTPFile();
  CFTPFile(const CFTPFile&) = delete;
  CFTPFile& operator=(const CFTPFile&) = delete;

  const std::string& LastError() const { return lastError_; }
  void FTPServer(std::shared_ptr<CFTPServer> server) { server_ = std::move(server); }
  const std::shared_ptr<CFTPServer>& FTPServer() const { return server_; }

  // Opens fileName for GENERIC_READ or GENERIC_WRITE with an FTP transfer type; refused while a file is open.
  bool OpenRemote(const std::string& fileName, std::uint32_t openMode, std::uint32_t transferMode);
  // Reads up to bytesToRead bytes into the start of buffer; 0 at the end of the file and on failure.
  std::int32_t ReadRemote(std::span<std::uint8_t> buffer, std::int32_t bytesToRead);
  // Sends the first bytesToWrite bytes of buffer; returns the count sent, 0 on failure.
  std::int32_t WriteRemote(std::span<const std::uint8_t> buffer, std::int32_t bytesToWrite);
  void CloseRemote();

 private:
  IInternet& internet_;
  IRuntimeErrors& errors_;
  std::shared_ptr<CFTPServer> server_;
  HINTERNET file_ = 0;
  std::string lastError_;
};

}  // namespace updater
