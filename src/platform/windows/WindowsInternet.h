#pragma once
// The Internet functions are WinInet's own (TLS, certificates and proxies by the system). Texts cross between the program's UTF-8 and WinInet's
// ANSI code page here.

#include "platform/Internet.h"

namespace updater {

class WindowsInternet : public IInternet {
 public:
  HINTERNET InternetOpen(const std::string& agent, std::uint32_t accessType, const char* proxy, const char* proxyBypass,
                         std::uint32_t flags) override;
  bool InternetSetOption(HINTERNET handle, std::uint32_t option, const void* buffer, std::uint32_t length) override;
  HINTERNET InternetConnect(HINTERNET session, const std::string& server, std::uint16_t port, const std::string& user,
                            const std::string& password, std::uint32_t service, std::uint32_t flags,
                            std::uintptr_t context) override;
  HINTERNET FtpOpenFile(HINTERNET connection, const std::string& fileName, std::uint32_t access, std::uint32_t flags,
                        std::uintptr_t context) override;
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
};

}  // namespace updater
