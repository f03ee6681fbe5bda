#include "ftp/CHTTPFile.h"

#include <array>

#include "ftp/CFTPServer.h"
#include "ftp/FormatInetError.h"
#include "text/Trap.h"

namespace updater {

using namespace inet;

namespace {
constexpr std::uint32_t kRequestFlags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_NO_COOKIES |
                                        INTERNET_FLAG_NO_UI | INTERNET_FLAG_NO_AUTO_REDIRECT;
constexpr const char* kAcceptTypes[] = {"*/*", nullptr};
// The bytes counted are the file's own.
constexpr const char* kRequestHeaders = "Accept-Encoding: identity\r\n";
constexpr std::uint32_t kHeaderBufferSize = 2048;

bool IsRedirect(std::uint32_t status) {
  return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}
}  // namespace

CHTTPFile::CHTTPFile(IInternet& internet, IRuntimeErrors& errors) : RemoteFile(internet, errors) {
  TrapRuntime(errors_, "Runtime Error in Class_Initialize", [&] {
    session_ = internet_.InternetOpen(kAgentName, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
    if (session_ == 0) lastError_ = LastInetErrorText(internet_, errors_, "InternetOpen");
  });
}

CHTTPFile::~CHTTPFile() {
  TrapRuntime(errors_, "Runtime Error in Class_Terminate", [&] {
    CloseRemote();
    Disconnect();
    if (session_ != 0) internet_.InternetCloseHandle(session_);
  });
}

bool CHTTPFile::OpenRemote(const HttpAddress& address) {
  bool opened = false;
  TrapRuntime(errors_, "Runtime Error in OpenRemote", [&] {
    failure_ = Failure::Refused;
    refusal_.clear();
    if (file_ != 0) {
      lastError_ = "File is already opened";
      return;
    }
    HttpAddress current = address;
    for (int redirects = 0;; ++redirects) {
      if (!Request(current)) {
        failure_ = Failure::NoConnection;
        return;
      }
      const std::uint32_t status = StatusCode();
      if (status == 200) {
        failure_ = Failure::None;
        opened = true;
        return;
      }
      refusal_ = StatusLine();
      if (!IsRedirect(status)) return;
      const std::string location = Header(HTTP_QUERY_LOCATION);
      CloseRemote();
      const std::optional<HttpAddress> next = ResolveRedirect(current, location);
      if (redirects == kMaxRedirects)
        refusal_ += ", redirect refused: more than " + std::to_string(kMaxRedirects) + " redirects: ";
      else if (!next)
        refusal_ += ", redirect refused: not a valid http or https address: ";
      else if (current.secure && !next->secure)
        refusal_ += ", redirect refused: from https to http: ";
      else {
        current = *next;
        continue;
      }
      refusal_ += location;
      return;
    }
  });
  return opened;
}

bool CHTTPFile::Request(const HttpAddress& address) {
  if (session_ == 0) return false;  // the session's failure is the text
  if (connection_ != 0 && !server_->SameServer(address)) Disconnect();
  if (connection_ == 0) {
    connection_ = internet_.InternetConnect(session_, address.host, address.port, "", "", INTERNET_SERVICE_HTTP, 0, 0);
    if (connection_ == 0) {
      lastError_ = LastInetErrorText(internet_, errors_, "InternetConnect");
      return false;
    }
    server_ = address;
    // Set on the connection, whose requests take them over (Wine's sessions do not pass them on).
    for (const auto& [option, milliseconds] : {std::pair{INTERNET_OPTION_CONNECT_TIMEOUT, kHttpConnectTimeoutMs},
                                              {INTERNET_OPTION_SEND_TIMEOUT, kHttpTransferTimeoutMs},
                                              {INTERNET_OPTION_RECEIVE_TIMEOUT, kHttpTransferTimeoutMs}})
      internet_.InternetSetOption(connection_, option, &milliseconds, sizeof milliseconds);
  }
  file_ = internet_.HttpOpenRequest(connection_, "GET", address.target, nullptr, nullptr, kAcceptTypes,
                                    kRequestFlags | (address.secure ? INTERNET_FLAG_SECURE : 0), 0);
  if (file_ == 0) {
    lastError_ = LastInetErrorText(internet_, errors_, "HttpOpenRequest");
    return false;
  }
  if (internet_.HttpSendRequest(file_, kRequestHeaders, nullptr, 0)) return true;
  lastError_ = LastInetErrorText(internet_, errors_, "HttpSendRequest");
  CloseRemote();
  return false;
}

std::uint32_t CHTTPFile::StatusCode() {
  std::uint32_t status = 0, length = sizeof status;
  return internet_.HttpQueryInfo(file_, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &length, nullptr)
             ? status
             : 0;
}

std::string CHTTPFile::Header(std::uint32_t level) {
  std::array<char, kHeaderBufferSize> buffer{};
  std::uint32_t length = kHeaderBufferSize;
  if (!internet_.HttpQueryInfo(file_, level, buffer.data(), &length, nullptr)) return "";
  std::string text(buffer.data(), std::min(length, kHeaderBufferSize));
  for (char& c : text)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
  return text;
}

std::string CHTTPFile::StatusLine() {
  const std::string text = Header(HTTP_QUERY_STATUS_TEXT);
  return Header(HTTP_QUERY_VERSION) + " " + std::to_string(StatusCode()) + (text.empty() ? "" : " " + text);
}

void CHTTPFile::Disconnect() {
  if (connection_ != 0) internet_.InternetCloseHandle(connection_);
  connection_ = 0;
  server_.reset();
}

}  // namespace updater
