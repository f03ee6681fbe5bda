#pragma once
// A file opened on a server through the Internet functions (FTP or HTTP), read block by block.

#include <cstdint>
#include <span>
#include <string>

#include "platform/Internet.h"
#include "text/Reporters.h"

namespace updater {

class RemoteFile {
 public:
  virtual ~RemoteFile() = default;
  RemoteFile(const RemoteFile&) = delete;
  RemoteFile& operator=(const RemoteFile&) = delete;

  // Text of the most recent failure; a success never clears it.
  const std::string& LastError() const { return lastError_; }
  // Reads up to bytesToRead bytes into the start of buffer; 0 at the end of the file and on failure.
  std::int32_t ReadRemote(std::span<std::uint8_t> buffer, std::int32_t bytesToRead);
  void CloseRemote();

 protected:
  RemoteFile(IInternet& internet, IRuntimeErrors& errors) : internet_(internet), errors_(errors) {}

  IInternet& internet_;
  IRuntimeErrors& errors_;
  HINTERNET file_ = 0;
  std::string lastError_;
};

// Faults unless buffer holds count bytes from its first element on.
void CheckTransferBuffer(std::size_t bufferSize, std::int32_t count);

}  // namespace updater
