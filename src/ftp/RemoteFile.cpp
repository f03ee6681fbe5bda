#include "ftp/RemoteFile.h"

#include "ftp/FormatInetError.h"
#include "text/Trap.h"

namespace updater {

void CheckTransferBuffer(std::size_t bufferSize, std::int32_t count) {
  if (bufferSize == 0 || count < 0 || static_cast<std::size_t>(count) > bufferSize)
    RaiseFault(FaultNumber::SubscriptOutOfRange);
}

std::int32_t RemoteFile::ReadRemote(std::span<std::uint8_t> buffer, std::int32_t bytesToRead) {
  std::int32_t count = 0;
  TrapRuntime(errors_, "Runtime Error in ReadRemote", [&] {
    CheckTransferBuffer(buffer.size(), bytesToRead);
    std::uint32_t read = 0;
    if (internet_.InternetReadFile(file_, buffer.data(), static_cast<std::uint32_t>(bytesToRead), &read)) {
      count = static_cast<std::int32_t>(read);
      return;
    }
    lastError_ = LastInetErrorText(internet_, errors_, "InternetReadFile");
  });
  return count;
}

void RemoteFile::CloseRemote() {
  TrapRuntime(errors_, "Runtime Error in CloseRemote", [&] {
    if (file_ == 0) return;
    internet_.InternetCloseHandle(file_);
    file_ = 0;
  });
}

}  // namespace updater
