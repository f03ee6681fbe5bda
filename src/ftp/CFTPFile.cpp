#include "ftp/CFTPFile.h"

#include "ftp/FormatInetError.h"
#include "text/Trap.h"

namespace updater {

CFTPFile::~CFTPFile() {
  TrapRuntime(errors_, "Runtime Error in Class_Terminate", [&] { CloseRemote(); });
  server_.reset();
}

bool CFTPFile::OpenRemote(const std::string& fileName, std::uint32_t openMode, std::uint32_t transferMode) {
  bool opened = false;
  TrapRuntime(errors_, "Runtime Error in OpenRemote", [&] {
    if (file_ != 0) {
      lastError_ = "File is already opened";
      return;
    }
    const HINTERNET connection = server_ ? server_->ActiveConnection() : 0;
    file_ = internet_.FtpOpenFile(connection, fileName, openMode, transferMode | inet::INTERNET_FLAG_RELOAD, 0);
    if (file_ != 0) {
      opened = true;
      return;
    }
    lastError_ = LastInetErrorText(internet_, errors_, "FtpOpenFile");
  });
  return opened;
}

std::int32_t CFTPFile::WriteRemote(std::span<const std::uint8_t> buffer, std::int32_t bytesToWrite) {
  std::int32_t count = 0;
  TrapRuntime(errors_, "Runtime Error in WriteRemote", [&] {
    CheckTransferBuffer(buffer.size(), bytesToWrite);
    std::uint32_t written = 0;
    if (internet_.InternetWriteFile(file_, buffer.data(), static_cast<std::uint32_t>(bytesToWrite), &written)) {
      count = static_cast<std::int32_t>(written);
      return;
    }
    lastError_ = LastInetErrorText(internet_, errors_, "InternetWriteFile");
  });
  return count;
}

}  // namespace updater
