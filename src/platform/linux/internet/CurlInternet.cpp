#include "platform/linux/internet/CurlInternet.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string_view>

#include "platform/linux/internet/InetMessages.h"
#include "platform/linux/internet/LastCallRecord.h"

namespace updater {
namespace {

using namespace inet;

// The Windows functions' limit on a message text, terminator included.
constexpr std::uint32_t kMaxMessageSize = 256;
constexpr std::uint16_t kFtpPort = 21;
// The password of an anonymous login that came without one; servers refuse an empty one.
constexpr const char* kAnonymousPassword = "anonymous@";

// Texts that go into an FTP command must not end it early or hide a second command.
bool FitsCommandLine(const std::string& text) {
  constexpr std::string_view kLineEndsAndNul("\r\n\0", 3);
  return text.find_first_of(kLineEndsAndNul) == std::string::npos;
}

// Leaves error behind for GetLastError; returns what a failed call returns (a null handle, false).
template <typename Result = bool>
Result Fail(std::uint32_t error) {
  SetLastInetError(error);
  return Result{};
}

bool Succeeded(std::uint32_t error) { return error == 0 || Fail(error); }

bool IsHostCharacter(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '.' || c == '_'; }

bool IsIpv6Character(char c) { return std::isxdigit(static_cast<unsigned char>(c)) || c == ':' || c == '.'; }

// How a URL names host (a name, an IPv4 address, an IPv6 address with or without brackets); empty
// when it is none of them.
std::string UrlHost(const std::string& host) {
  std::string_view bare = host;
  if (bare.size() > 2 && bare.front() == '[' && bare.back() == ']') bare = bare.substr(1, bare.size() - 2);
  if (bare.find(':') == std::string_view::npos)
    return !bare.empty() && std::all_of(bare.begin(), bare.end(), IsHostCharacter) ? host : "";
  if (!std::all_of(bare.begin(), bare.end(), IsIpv6Character)) return "";
  std::string bracketed(1, '[');
  bracketed.append(bare).push_back(']');
  return bracketed;
}

// bytes with each byte that keep is false for written as %XX; libcurl decodes them again.
template <typename Keep>
std::string Escaped(std::string_view bytes, Keep keep) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string escaped;
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (keep(byte)) {
      escaped += c;
    } else {
      escaped += '%';
      escaped += kHex[byte >> 4];
      escaped += kHex[byte & 15];
    }
  }
  return escaped;
}

// An FTP path reaches the server byte for byte: only letters, digits and "-._~/" stand as they are.
std::string FtpUrlPath(const std::string& path) {
  return Escaped(path, [](unsigned char c) { return std::isalnum(c) || std::strchr("-._~/", c) != nullptr; });
}

// An HTTP target goes as it stands; only what a request line cannot carry is escaped.
std::string HttpUrlTarget(const std::string& target) {
  return Escaped(target, [](unsigned char c) { return c > 0x20 && c < 0x7F; });
}

CurlList HeaderLines(std::string_view headers) {
  curl_slist* list = nullptr;
  while (!headers.empty()) {
    const auto end = headers.find("\r\n");
    const std::string line(headers.substr(0, end));
    if (!line.empty()) list = curl_slist_append(list, line.c_str());
    if (end == std::string_view::npos) break;
    headers.remove_prefix(end + 2);
  }
  return CurlList(list);
}

}  // namespace

CurlInternet::CurlInternet() { curl_global_init(CURL_GLOBAL_DEFAULT); }

CurlInternet::~CurlInternet() {
  for (const HINTERNET root : handles_.ChildrenOf(0)) Close(root);
  curl_global_cleanup();
}

template <typename T>
T* CurlInternet::FindAs(HINTERNET handle) {
  Object* object = handles_.Find(handle);
  if (object == nullptr) return nullptr;
  if constexpr (std::is_same_v<T, CurlTransfer>) {
    auto* held = std::get_if<std::unique_ptr<CurlTransfer>>(object);
    return held == nullptr ? nullptr : held->get();
  } else {
    return std::get_if<T>(object);
  }
}

HINTERNET CurlInternet::InternetOpen(const std::string& agent, std::uint32_t, const char*, const char*, std::uint32_t) {
  return handles_.Add(0, Session{agent, {}});
}

bool CurlInternet::InternetSetOption(HINTERNET handle, std::uint32_t option, const void* buffer, std::uint32_t length) {
  TransferTimeouts* timeouts = nullptr;
  if (Session* session = FindAs<Session>(handle)) timeouts = &session->timeouts;
  if (Connection* connection = FindAs<Connection>(handle)) timeouts = &connection->timeouts;
  if (timeouts == nullptr) return Fail(ERROR_INVALID_HANDLE);
  if (buffer == nullptr || length != sizeof(std::uint32_t)) return Fail(ERROR_INVALID_PARAMETER);
  std::uint32_t milliseconds = 0;
  std::memcpy(&milliseconds, buffer, sizeof milliseconds);
  switch (option) {
    case INTERNET_OPTION_CONNECT_TIMEOUT:
      timeouts->connect = std::chrono::milliseconds(milliseconds);
      return true;
    case INTERNET_OPTION_SEND_TIMEOUT:
      timeouts->send = std::chrono::milliseconds(milliseconds);
      return true;
    case INTERNET_OPTION_RECEIVE_TIMEOUT:
      timeouts->receive = std::chrono::milliseconds(milliseconds);
      return true;
    default:
      return Fail(ERROR_INVALID_PARAMETER);
  }
}

HINTERNET CurlInternet::InternetConnect(HINTERNET session, const std::string& server, std::uint16_t port,
                                        const std::string& user, const std::string& password, std::uint32_t service,
                                        std::uint32_t, std::uintptr_t) {
  const Session* owner = FindAs<Session>(session);
  if (owner == nullptr) return Fail<HINTERNET>(ERROR_INVALID_HANDLE);
  if ((service != INTERNET_SERVICE_FTP && service != INTERNET_SERVICE_HTTP) || !FitsCommandLine(user) ||
      !FitsCommandLine(password))
    return Fail<HINTERNET>(ERROR_INVALID_PARAMETER);
  const std::string host = UrlHost(server);
  if (host.empty()) return Fail<HINTERNET>(ERROR_INTERNET_NAME_NOT_RESOLVED);
  Connection connection{CurlMulti(curl_multi_init()), service == INTERNET_SERVICE_FTP, host, port, user, password,
                        owner->agent, owner->timeouts};
  if (connection.multi == nullptr) return Fail<HINTERNET>(ERROR_NOT_ENOUGH_MEMORY);
  if (connection.ftp) {
    if (user.empty()) {
      connection.user = "anonymous";
      if (password.empty()) connection.password = kAnonymousPassword;
    }
    // Logs in now, as WinInet does; the connection then waits in the multi handle for the files.
    const auto login = FtpTransfer(connection, "", CurlTransfer::Direction::Download);
    curl_easy_setopt(login->Easy(), CURLOPT_NOBODY, 1L);
    if (!Succeeded(login->Start(CurlTransfer::Until::Done))) return 0;
  }
  return handles_.Add(session, std::move(connection));
}

std::unique_ptr<CurlTransfer> CurlInternet::FtpTransfer(Connection& connection, const std::string& path,
                                                         CurlTransfer::Direction direction) {
  const std::uint16_t port = connection.port == 0 ? kFtpPort : connection.port;
  auto transfer = std::make_unique<CurlTransfer>(
      connection.multi.get(), "ftp://" + connection.host + ":" + std::to_string(port) + "/" + FtpUrlPath(path), direction,
      connection.timeouts);
  CURL* easy = transfer->Easy();
  curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "ftp");
  curl_easy_setopt(easy, CURLOPT_USERNAME, connection.user.c_str());
  curl_easy_setopt(easy, CURLOPT_PASSWORD, connection.password.c_str());
  // The whole path in RETR, STOR and DELE, no CWD; no SIZE before RETR (the caller checks the size).
  curl_easy_setopt(easy, CURLOPT_FTP_FILEMETHOD, static_cast<long>(CURLFTPMETHOD_NOCWD));
  curl_easy_setopt(easy, CURLOPT_IGNORE_CONTENT_LENGTH, 1L);
  // Passive: EPSV, then PASV, whose address is not used (data only from the server itself).
  curl_easy_setopt(easy, CURLOPT_FTP_USE_EPSV, 1L);
  curl_easy_setopt(easy, CURLOPT_FTP_SKIP_PASV_IP, 1L);
  return transfer;
}

CurlInternet::Connection* CurlInternet::FindIdleFtpConnection(HINTERNET handle, const std::string& fileName) {
  Connection* connection = FindAs<Connection>(handle);
  if (connection == nullptr || !connection->ftp) return Fail<Connection*>(ERROR_INVALID_HANDLE);
  if (fileName.empty() || !FitsCommandLine(fileName)) return Fail<Connection*>(ERROR_INVALID_PARAMETER);
  if (handles_.HasChildren(handle)) return Fail<Connection*>(ERROR_FTP_TRANSFER_IN_PROGRESS);
  return connection;
}

HINTERNET CurlInternet::FtpOpenFile(HINTERNET handle, const std::string& fileName, std::uint32_t access,
                                    std::uint32_t flags, std::uintptr_t) {
  const std::uint32_t type = flags & (FTP_TRANSFER_TYPE_ASCII | FTP_TRANSFER_TYPE_BINARY);
  if ((access != GENERIC_READ && access != GENERIC_WRITE) || type == (FTP_TRANSFER_TYPE_ASCII | FTP_TRANSFER_TYPE_BINARY))
    return Fail<HINTERNET>(ERROR_INVALID_PARAMETER);
  Connection* connection = FindIdleFtpConnection(handle, fileName);
  if (connection == nullptr) return 0;
  auto transfer = FtpTransfer(*connection, fileName,
                              access == GENERIC_READ ? CurlTransfer::Direction::Download : CurlTransfer::Direction::Upload);
  curl_easy_setopt(transfer->Easy(), CURLOPT_TRANSFERTEXT, type == FTP_TRANSFER_TYPE_ASCII ? 1L : 0L);
  if (!Succeeded(transfer->Start(CurlTransfer::Until::Opened))) return 0;
  return handles_.Add(handle, std::move(transfer));
}

HINTERNET CurlInternet::HttpOpenRequest(HINTERNET handle, const std::string& verb, const std::string& objectName,
                                        const char*, const char*, const char* const*, std::uint32_t flags, std::uintptr_t) {
  Connection* connection = FindAs<Connection>(handle);
  if (connection == nullptr || connection->ftp) return Fail<HINTERNET>(ERROR_INVALID_HANDLE);
  // Only downloads are asked for.
  if (verb != "GET" || !objectName.starts_with('/')) return Fail<HINTERNET>(ERROR_INVALID_PARAMETER);
  const bool secure = (flags & INTERNET_FLAG_SECURE) != 0;
  const std::uint16_t port =
      connection->port != 0 ? connection->port : secure ? INTERNET_DEFAULT_HTTPS_PORT : INTERNET_DEFAULT_HTTP_PORT;
  auto transfer = std::make_unique<CurlTransfer>(
      connection->multi.get(),
      (secure ? "https://" : "http://") + connection->host + ":" + std::to_string(port) + HttpUrlTarget(objectName),
      CurlTransfer::Direction::Download, connection->timeouts);
  CURL* easy = transfer->Easy();
  curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(easy, CURLOPT_PATH_AS_IS, 1L);
  curl_easy_setopt(easy, CURLOPT_USERAGENT, connection->agent.c_str());
  // One status line for every server: HTTP/1.1 has a reason phrase, HTTP/2 has none.
  curl_easy_setopt(easy, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
  curl_easy_setopt(easy, CURLOPT_SSLVERSION, static_cast<long>(CURL_SSLVERSION_TLSv1_2));
  curl_easy_setopt(easy, CURLOPT_SUPPRESS_CONNECT_HEADERS, 1L);
  return handles_.Add(handle, std::move(transfer));
}

bool CurlInternet::HttpSendRequest(HINTERNET request, const std::string& headers, const void*, std::uint32_t optionalLength) {
  CurlTransfer* transfer = FindAs<CurlTransfer>(request);
  if (transfer == nullptr) return Fail(ERROR_INVALID_HANDLE);
  if (transfer->Started() || optionalLength != 0) return Fail(ERROR_INTERNET_INCORRECT_HANDLE_STATE);
  transfer->SetHeaders(HeaderLines(headers));
  return Succeeded(transfer->Start(CurlTransfer::Until::Head));
}

bool CurlInternet::HttpQueryInfo(HINTERNET request, std::uint32_t infoLevel, void* buffer, std::uint32_t* bufferLength,
                                 std::uint32_t*) {
  CurlTransfer* transfer = FindAs<CurlTransfer>(request);
  if (transfer == nullptr) return Fail(ERROR_INVALID_HANDLE);
  const ResponseHead& head = transfer->Head();
  if (!head.HttpHeadComplete()) return Fail(ERROR_INTERNET_INCORRECT_HANDLE_STATE);
  if (buffer == nullptr || bufferLength == nullptr) return Fail(ERROR_INVALID_PARAMETER);
  const std::uint32_t level = infoLevel & ~HTTP_QUERY_FLAG_NUMBER;
  if ((infoLevel & HTTP_QUERY_FLAG_NUMBER) != 0) {
    if (level != HTTP_QUERY_STATUS_CODE || *bufferLength < sizeof(std::uint32_t)) return Fail(ERROR_INVALID_PARAMETER);
    const auto status = static_cast<std::uint32_t>(head.StatusCode());
    std::memcpy(buffer, &status, sizeof status);
    *bufferLength = sizeof status;
    return true;
  }
  std::string value;
  curl_header* header = nullptr;
  if (level == HTTP_QUERY_STATUS_CODE)
    value = std::to_string(head.StatusCode());
  else if (level == HTTP_QUERY_VERSION)
    value = head.Version();
  else if (level == HTTP_QUERY_STATUS_TEXT)
    value = head.StatusText();
  else if (level == HTTP_QUERY_LOCATION && curl_easy_header(transfer->Easy(), "Location", 0, CURLH_HEADER, -1, &header) == CURLHE_OK)
    value = header->value;
  else
    return Fail(ERROR_HTTP_HEADER_NOT_FOUND);
  if (value.size() >= *bufferLength) {
    *bufferLength = static_cast<std::uint32_t>(value.size() + 1);
    return Fail(ERROR_INSUFFICIENT_BUFFER);
  }
  std::memcpy(buffer, value.c_str(), value.size() + 1);
  *bufferLength = static_cast<std::uint32_t>(value.size());
  return true;
}

CurlTransfer* CurlInternet::FindTransfer(HINTERNET handle, CurlTransfer::Direction direction) {
  CurlTransfer* transfer = FindAs<CurlTransfer>(handle);
  if (transfer == nullptr) return Fail<CurlTransfer*>(ERROR_INVALID_HANDLE);
  if (!transfer->Started() || transfer->GetDirection() != direction)
    return Fail<CurlTransfer*>(ERROR_INTERNET_INCORRECT_HANDLE_STATE);
  return transfer;
}

bool CurlInternet::InternetReadFile(HINTERNET file, void* buffer, std::uint32_t bytesToRead, std::uint32_t* bytesRead) {
  if (bytesRead == nullptr || (buffer == nullptr && bytesToRead > 0)) return Fail(ERROR_INVALID_PARAMETER);
  *bytesRead = 0;
  CurlTransfer* transfer = FindTransfer(file, CurlTransfer::Direction::Download);
  if (transfer == nullptr) return false;
  return bytesToRead == 0 || Succeeded(transfer->Read(buffer, bytesToRead, *bytesRead));
}

bool CurlInternet::InternetWriteFile(HINTERNET file, const void* buffer, std::uint32_t bytesToWrite,
                                     std::uint32_t* bytesWritten) {
  if (bytesWritten == nullptr || (buffer == nullptr && bytesToWrite > 0)) return Fail(ERROR_INVALID_PARAMETER);
  *bytesWritten = 0;
  CurlTransfer* transfer = FindTransfer(file, CurlTransfer::Direction::Upload);
  if (transfer == nullptr || !Succeeded(transfer->Write(buffer, bytesToWrite))) return false;
  *bytesWritten = bytesToWrite;
  return true;
}

bool CurlInternet::FtpDeleteFile(HINTERNET handle, const std::string& fileName) {
  Connection* connection = FindIdleFtpConnection(handle, fileName);
  if (connection == nullptr) return false;
  const CurlList command(curl_slist_append(nullptr, ("DELE " + fileName).c_str()));
  const auto deletion = FtpTransfer(*connection, "", CurlTransfer::Direction::Download);
  curl_easy_setopt(deletion->Easy(), CURLOPT_NOBODY, 1L);
  curl_easy_setopt(deletion->Easy(), CURLOPT_QUOTE, command.get());
  return Succeeded(deletion->Start(CurlTransfer::Until::Done));
}

std::uint32_t CurlInternet::Close(HINTERNET handle) {
  for (const HINTERNET child : handles_.ChildrenOf(handle)) Close(child);
  std::uint32_t result = 0;
  if (CurlTransfer* transfer = FindAs<CurlTransfer>(handle);
      transfer != nullptr && transfer->Started() && transfer->GetDirection() == CurlTransfer::Direction::Upload)
    result = transfer->Finish();
  handles_.Remove(handle);
  return result;
}

bool CurlInternet::InternetCloseHandle(HINTERNET handle) {
  if (handles_.Find(handle) == nullptr) return Fail(ERROR_INVALID_HANDLE);
  return Succeeded(Close(handle));
}

std::uint32_t CurlInternet::GetLastError() const { return LastInetError(); }

std::uint32_t CurlInternet::FormatMessage(std::uint32_t code, char* buffer, std::uint32_t size) {
  const char* text = InetMessageText(code);
  if (text == nullptr || buffer == nullptr) return 0;
  const std::size_t length = std::strlen(text);
  if (length + 1 > std::min(size, kMaxMessageSize)) return 0;
  std::memcpy(buffer, text, length + 1);
  return static_cast<std::uint32_t>(length);
}

bool CurlInternet::InternetGetLastResponseInfo(std::uint32_t* error, char* buffer, std::uint32_t* length) {
  return CopyLastResponse(error, buffer, length);
}

}  // namespace updater
