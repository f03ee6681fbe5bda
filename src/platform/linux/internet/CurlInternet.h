#pragma once
// The Internet functions on libcurl, for one thread: FTP (anonymous or with a login, passive, the
// full path in RETR) and HTTP(S) (GET, certificates checked against the system's roots, TLS 1.2 or
// newer), through the proxies that the environment names, as libcurl reads them. Sessions hold
// connections, connections hold their open files and requests; closing a handle closes what was
// opened on it first. An FTP connection logs in when it is made and keeps its login for the files
// opened on it.

#include <string>
#include <variant>

#include "platform/Internet.h"
#include "platform/linux/internet/CurlTransfer.h"
#include "platform/linux/internet/HandleTable.h"

namespace updater {

class CurlInternet : public IInternet {
 public:
  CurlInternet();
  // Closes every handle still open.
  ~CurlInternet() override;
  CurlInternet(const CurlInternet&) = delete;
  CurlInternet& operator=(const CurlInternet&) = delete;

  HINTERNET InternetOpen(const std::string& agent, std::uint32_t accessType, const char* proxy,
                         const char* proxyBypass, std::uint32_t flags) override;
  bool InternetSetOption(HINTERNET handle, std::uint32_t option, const void* buffer, std::uint32_t length) override;
  HINTERNET InternetConnect(HINTERNET session, const std::string& server, std::uint16_t port,
                            const std::string& user, const std::string& password, std::uint32_t service,
                            std::uint32_t flags, std::uintptr_t context) override;
  HINTERNET FtpOpenFile(HINTERNET connection, const std::string& fileName, std::uint32_t access,
                        std::uint32_t flags, std::uintptr_t context) override;
  HINTERNET HttpOpenRequest(HINTERNET connection, const std::string& verb, const std::string& objectName,
                            const char* version, const char* referrer, const char* const* acceptTypes,
                            std::uint32_t flags, std::uintptr_t context) override;
  bool HttpSendRequest(HINTERNET request, const std::string& headers, const void* optional,
                       std::uint32_t optionalLength) override;
  bool HttpQueryInfo(HINTERNET request, std::uint32_t infoLevel, void* buffer, std::uint32_t* bufferLength,
                     std::uint32_t* index) override;
  bool InternetReadFile(HINTERNET file, void* buffer, std::uint32_t bytesToRead, std::uint32_t* bytesRead) override;
  bool InternetWriteFile(HINTERNET file, const void* buffer, std::uint32_t bytesToWrite,
                         std::uint32_t* bytesWritten) override;
  bool FtpDeleteFile(HINTERNET connection, const std::string& fileName) override;
  bool InternetCloseHandle(HINTERNET handle) override;

  std::uint32_t GetLastError() const override;
  std::uint32_t FormatMessage(std::uint32_t code, char* buffer, std::uint32_t size) override;
  bool InternetGetLastResponseInfo(std::uint32_t* error, char* buffer, std::uint32_t* length) override;

 private:
  struct Session {
    std::string agent;
    TransferTimeouts timeouts;
  };
  // An FTP or HTTP server; its multi handle keeps the connections its transfers leave open.
  struct Connection {
    CurlMulti multi;
    bool ftp = false;
    std::string host;        // as a URL names it: a name, 10.0.0.1, [::1]
    std::uint16_t port = 0;  // 0: the service's default
    std::string user, password, agent;
    TransferTimeouts timeouts;
  };
  using Object = std::variant<Session, Connection, std::unique_ptr<CurlTransfer>>;

  template <typename T>
  T* FindAs(HINTERNET handle);
  // The FTP connection, when fileName may be sent on it and no file is open on it; otherwise nullptr,
  // with the reason left behind.
  Connection* FindIdleFtpConnection(HINTERNET connection, const std::string& fileName);
  CurlTransfer* FindTransfer(HINTERNET handle, CurlTransfer::Direction direction);
  // A transfer of path on an FTP connection, logged in as the connection is.
  std::unique_ptr<CurlTransfer> FtpTransfer(Connection& connection, const std::string& path,
                                            CurlTransfer::Direction direction);
  // Closes handle after everything opened on it; the result of an upload's end.
  std::uint32_t Close(HINTERNET handle);

  HandleTable<Object> handles_;
};

}  // namespace updater
