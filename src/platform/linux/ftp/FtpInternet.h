#pragma once
// The program's own FTP client behind the Internet functions: blocking, for one thread, passive
// mode only. Sessions hold connections, connections hold at most one open file; closing a handle
// closes what was opened on it first.

#include <memory>
#include <variant>

#include "platform/Internet.h"
#include "platform/linux/ftp/ControlConnection.h"
#include "platform/linux/ftp/FtpSettings.h"
#include "platform/linux/ftp/FtpTransfer.h"
#include "platform/linux/ftp/HandleTable.h"

namespace updater {

class FtpInternet : public IInternet {
 public:
  explicit FtpInternet(FtpSettings settings = {});
  // Closes every handle still open.
  ~FtpInternet() override;
  FtpInternet(const FtpInternet&) = delete;
  FtpInternet& operator=(const FtpInternet&) = delete;

  HINTERNET InternetOpen(const std::string& agent, std::uint32_t accessType, const char* proxy,
                         const char* proxyBypass, std::uint32_t flags) override;
  HINTERNET InternetConnect(HINTERNET session, const std::string& server, std::uint16_t port,
                            const std::string& user, const std::string& password, std::uint32_t service,
                            std::uint32_t flags, std::uintptr_t context) override;
  HINTERNET FtpOpenFile(HINTERNET connection, const std::string& fileName, std::uint32_t access,
                        std::uint32_t flags, std::uintptr_t context) override;
  bool InternetReadFile(HINTERNET file, void* buffer, std::uint32_t bytesToRead, std::uint32_t* bytesRead) override;
  bool InternetWriteFile(HINTERNET file, const void* buffer, std::uint32_t bytesToWrite,
                         std::uint32_t* bytesWritten) override;
  bool FtpDeleteFile(HINTERNET connection, const std::string& fileName) override;
  bool InternetCloseHandle(HINTERNET handle) override;

  std::uint32_t GetLastError() const override;
  std::uint32_t FormatMessage(std::uint32_t code, char* buffer, std::uint32_t size) override;
  bool InternetGetLastResponseInfo(std::uint32_t* error, char* buffer, std::uint32_t* length) override;

 private:
  // A session holds nothing of its own: the agent name has no use in FTP.
  struct Session {};
  using Object = std::variant<Session, std::unique_ptr<ControlConnection>, std::unique_ptr<FtpTransfer>>;

  template <typename T>
  T* FindAs(HINTERNET handle);
  // The connection, when fileName may be sent on it and no file is open on it; otherwise nullptr,
  // with the reason left behind.
  ControlConnection* FindIdleConnection(HINTERNET connection, const std::string& fileName);
  // The transfer of file when it goes in direction; otherwise nullptr, with the reason left behind.
  FtpTransfer* FindTransfer(HINTERNET file, FtpTransfer::Direction direction);
  // Closes handle after everything opened on it; the result of a file's close.
  InetError Close(HINTERNET handle);

  FtpSettings settings_;
  HandleTable<Object> handles_;
};

}  // namespace updater
