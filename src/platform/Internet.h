#pragma once
// The platform's Internet functions for FTP and HTTP, shaped like the Windows ones: opaque 32-bit
// handles (0 means none), false or null results on failure with a last-error code, message texts for
// the codes and an FTP server's last response.

#include <cstdint>
#include <string>

namespace updater {

using HINTERNET = std::uint32_t;

namespace inet {
inline constexpr std::uint32_t INTERNET_OPEN_TYPE_PRECONFIG = 0;
inline constexpr std::uint16_t INTERNET_INVALID_PORT_NUMBER = 0;
inline constexpr std::uint32_t INTERNET_SERVICE_FTP = 1;
inline constexpr std::uint32_t INTERNET_SERVICE_HTTP = 3;
inline constexpr std::uint16_t INTERNET_DEFAULT_HTTP_PORT = 80;
inline constexpr std::uint16_t INTERNET_DEFAULT_HTTPS_PORT = 443;
inline constexpr std::uint32_t INTERNET_FLAG_RELOAD = 0x80000000u;
inline constexpr std::uint32_t INTERNET_FLAG_PASSIVE = 0x08000000u;
inline constexpr std::uint32_t INTERNET_FLAG_NO_CACHE_WRITE = 0x04000000u;
inline constexpr std::uint32_t INTERNET_FLAG_SECURE = 0x00800000u;
inline constexpr std::uint32_t INTERNET_FLAG_NO_AUTO_REDIRECT = 0x00200000u;
inline constexpr std::uint32_t INTERNET_FLAG_NO_COOKIES = 0x00080000u;
inline constexpr std::uint32_t INTERNET_FLAG_NO_UI = 0x00000200u;
// Options (milliseconds, as 32-bit values).
inline constexpr std::uint32_t INTERNET_OPTION_CONNECT_TIMEOUT = 2;
inline constexpr std::uint32_t INTERNET_OPTION_SEND_TIMEOUT = 5;
inline constexpr std::uint32_t INTERNET_OPTION_RECEIVE_TIMEOUT = 6;
// What HttpQueryInfo reads: texts, or with HTTP_QUERY_FLAG_NUMBER a 32-bit number.
inline constexpr std::uint32_t HTTP_QUERY_VERSION = 18;
inline constexpr std::uint32_t HTTP_QUERY_STATUS_CODE = 19;
inline constexpr std::uint32_t HTTP_QUERY_STATUS_TEXT = 20;
inline constexpr std::uint32_t HTTP_QUERY_LOCATION = 33;
inline constexpr std::uint32_t HTTP_QUERY_FLAG_NUMBER = 0x20000000u;
inline constexpr std::uint32_t GENERIC_READ = 0x80000000u;
inline constexpr std::uint32_t GENERIC_WRITE = 0x40000000u;
inline constexpr std::uint32_t FTP_TRANSFER_TYPE_ASCII = 1;
inline constexpr std::uint32_t FTP_TRANSFER_TYPE_BINARY = 2;

// Last-error codes.
inline constexpr std::uint32_t ERROR_INVALID_HANDLE = 6;
inline constexpr std::uint32_t ERROR_NOT_ENOUGH_MEMORY = 8;
inline constexpr std::uint32_t ERROR_INVALID_PARAMETER = 87;
inline constexpr std::uint32_t ERROR_INSUFFICIENT_BUFFER = 122;
inline constexpr std::uint32_t ERROR_INTERNET_TIMEOUT = 12002;
inline constexpr std::uint32_t ERROR_INTERNET_EXTENDED_ERROR = 12003;
inline constexpr std::uint32_t ERROR_INTERNET_INTERNAL_ERROR = 12004;
inline constexpr std::uint32_t ERROR_INTERNET_NAME_NOT_RESOLVED = 12007;
inline constexpr std::uint32_t ERROR_INTERNET_INCORRECT_HANDLE_STATE = 12019;
inline constexpr std::uint32_t ERROR_INTERNET_CANNOT_CONNECT = 12029;
inline constexpr std::uint32_t ERROR_INTERNET_CONNECTION_ABORTED = 12030;
inline constexpr std::uint32_t ERROR_INTERNET_CONNECTION_RESET = 12031;
inline constexpr std::uint32_t ERROR_INTERNET_SEC_CERT_DATE_INVALID = 12037;
inline constexpr std::uint32_t ERROR_INTERNET_SEC_CERT_CN_INVALID = 12038;
inline constexpr std::uint32_t ERROR_INTERNET_INVALID_CA = 12045;
inline constexpr std::uint32_t ERROR_INTERNET_SECURITY_CHANNEL_ERROR = 12157;
inline constexpr std::uint32_t ERROR_INTERNET_SEC_INVALID_CERT = 12169;
inline constexpr std::uint32_t ERROR_FTP_TRANSFER_IN_PROGRESS = 12110;
inline constexpr std::uint32_t ERROR_HTTP_HEADER_NOT_FOUND = 12150;
// WinInet's code for a server reply that cannot be read; used for FTP replies too.
inline constexpr std::uint32_t ERROR_HTTP_INVALID_SERVER_RESPONSE = 12152;
}  // namespace inet

class IInternet {
 public:
  virtual ~IInternet() = default;

  // Opens a session under the agent name; proxy names may be null.
  virtual HINTERNET InternetOpen(const std::string& agent, std::uint32_t accessType, const char* proxy,
                                 const char* proxyBypass, std::uint32_t flags) = 0;
  // Sets a 32-bit option (a time-out) of a session or connection; the handles opened on it later take
  // it over.
  virtual bool InternetSetOption(HINTERNET handle, std::uint32_t option, const void* buffer, std::uint32_t length) = 0;
  // Opens an FTP connection on a session and logs in, or names the HTTP server that requests go to;
  // port 0 is the service's default port.
  virtual HINTERNET InternetConnect(HINTERNET session, const std::string& server, std::uint16_t port,
                                    const std::string& user, const std::string& password,
                                    std::uint32_t service, std::uint32_t flags, std::uintptr_t context) = 0;
  // Opens a file on the server for reading (GENERIC_READ) or writing (GENERIC_WRITE); the low bits of
  // flags give the transfer type.
  virtual HINTERNET FtpOpenFile(HINTERNET connection, const std::string& fileName, std::uint32_t access,
                                std::uint32_t flags, std::uintptr_t context) = 0;
  // Makes an HTTP request on a connection; nothing is sent yet. A null version means HTTP/1.1,
  // acceptTypes is a null-terminated list (or null).
  virtual HINTERNET HttpOpenRequest(HINTERNET connection, const std::string& verb, const std::string& objectName,
                                    const char* version, const char* referrer, const char* const* acceptTypes,
                                    std::uint32_t flags, std::uintptr_t context) = 0;
  // Sends the request with the extra header lines (each ending in CR LF) and reads the response's
  // head; false when no response came (no connection, time-out, certificate refused ...).
  virtual bool HttpSendRequest(HINTERNET request, const std::string& headers, const void* optional,
                               std::uint32_t optionalLength) = 0;
  // Reads a part of the response's head (infoLevel: HTTP_QUERY_...) into buffer: a text with its
  // terminator, or with HTTP_QUERY_FLAG_NUMBER a 32-bit number. *bufferLength is the buffer's size on
  // the way in and the count of bytes (without the terminator) on the way out; index may be null.
  virtual bool HttpQueryInfo(HINTERNET request, std::uint32_t infoLevel, void* buffer, std::uint32_t* bufferLength,
                             std::uint32_t* index) = 0;
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
