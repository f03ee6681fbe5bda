#pragma once
// The platform's Internet functions for FTP, shaped like the Windows ones: opaque 32-bit handles
// (0 means none), false or null results on failure with a last-error code, message texts for the
// codes and the server's last response.

#include <cstdint>
#include <string>

namespace updater {

using HINTERNET = std::uint32_t;

namespace inet {
inline constexpr std::uint32_t INTERNET_OPEN_TYPE_PRECONFIG = 0;
inline constexpr std::uint16_t INTERNET_INVALID_PORT_NUMBER = 0;
inline constexpr std::uint32_t INTERNET_SERVICE_FTP = 1;
inline constexpr std::uint32_t INTERNET_FLAG_RELOAD = 0x80000000u;
inline constexpr std::uint32_t INTERNET_FLAG_PASSIVE = 0x08000000u;
inline constexpr std::uint32_t GENERIC_READ = 0x80000000u;
inline constexpr std::uint32_t GENERIC_WRITE = 0x40000000u;
inline constexpr std::uint32_t FTP_TRANSFER_TYPE_ASCII = 1;
inline constexpr std::uint32_t FTP_TRANSFER_TYPE_BINARY = 2;

// Last-error codes.
inline constexpr std::uint32_t ERROR_INVALID_HANDLE = 6;
inline constexpr std::uint32_t ERROR_NOT_ENOUGH_MEMORY = 8;
inline constexpr std::uint32_t ERROR_INVALID_PARAMETER = 87;
inline constexpr std::uint32_t ERROR_INTERNET_TIMEOUT = 12002;
inline constexpr std::uint32_t ERROR_INTERNET_EXTENDED_ERROR = 12003;
inline constexpr std::uint32_t ERROR_INTERNET_INTERNAL_ERROR = 12004;
inline constexpr std::uint32_t ERROR_INTERNET_NAME_NOT_RESOLVED = 12007;
inline constexpr std::uint32_t ERROR_INTERNET_LOGIN_FAILURE = 12015;
inline constexpr std::uint32_t ERROR_INTERNET_INCORRECT_HANDLE_STATE = 12019;
inline constexpr std::uint32_t ERROR_INTERNET_CANNOT_CONNECT = 12029;
inline constexpr std::uint32_t ERROR_INTERNET_CONNECTION_ABORTED = 12030;
inline constexpr std::uint32_t ERROR_INTERNET_CONNECTION_RESET = 12031;
inline constexpr std::uint32_t ERROR_FTP_TRANSFER_IN_PROGRESS = 12110;
inline constexpr std::uint32_t ERROR_FTP_DROPPED = 12111;
// WinInet's code for a server reply that cannot be read; the FTP client uses it for FTP replies too.
inline constexpr std::uint32_t ERROR_HTTP_INVALID_SERVER_RESPONSE = 12152;
}  // namespace inet

class IInternet {
 public:
  virtual ~IInternet() = default;

  // Opens a session under the agent name; proxy names may be null.
  virtual HINTERNET InternetOpen(const std::string& agent, std::uint32_t accessType, const char* proxy,
                                 const char* proxyBypass, std::uint32_t flags) = 0;
  // Opens an FTP connection on a session and logs in; port 0 is the service's default port.
  virtual HINTERNET InternetConnect(HINTERNET session, const std::string& server, std::uint16_t port,
                                    const std::string& user, const std::string& password,
                                    std::uint32_t service, std::uint32_t flags, std::uintptr_t context) = 0;
  // Opens a file on the server for reading (GENERIC_READ) or writing (GENERIC_WRITE); the low bits of
  // flags give the transfer type.
  virtual HINTERNET FtpOpenFile(HINTERNET connection, const std::string& fileName, std::uint32_t access,
                                std::uint32_t flags, std::uintptr_t context) = 0;
  // Reads up to bytesToRead bytes; true with *bytesRead 0 at the end of a completed transfer.
  virtual bool InternetReadFile(HINTERNET file, void* buffer, std::uint32_t bytesToRead,
                                std::uint32_t* bytesRead) = 0;
  virtual bool InternetWriteFile(HINTERNET file, const void* buffer, std::uint32_t bytesToWrite,
                                 std::uint32_t* bytesWritten) = 0;
  virtual bool FtpDeleteFile(HINTERNET connection, const std::string& fileName) = 0;
  // Closes a handle and whatever still hangs below it.
  virtual bool InternetCloseHandle(HINTERNET handle) = 0;

  // Code left behind by the last failed call of this thread.
  virtual std::uint32_t GetLastError() const = 0;
  // Message text for a code into buffer (at most size characters with the terminator); returns the
  // count of characters stored, or 0 when there is no text or it does not fit.
  virtual std::uint32_t FormatMessage(std::uint32_t code, char* buffer, std::uint32_t size) = 0;
  // The server's last reply, all its lines joined by CR LF. *length is the buffer size on the way in
  // and the count of characters on the way out; false when there is none or it does not fit.
  virtual bool InternetGetLastResponseInfo(std::uint32_t* error, char* buffer, std::uint32_t* length) = 0;
};

}  // namespace updater
