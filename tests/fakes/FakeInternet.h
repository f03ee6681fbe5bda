#pragma once
// An Internet layer serving files from memory over FTP and HTTP; it fails where a test says so and
// logs every call.

#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "platform/Internet.h"

namespace updater::test {

class FakeInternet : public IInternet {
 public:
  // Files per server name; a server that is not listed refuses connections.
  std::map<std::string, std::map<std::string, std::string>> servers;
  // Every server also serves "zeros": this many zero bytes.
  std::uint64_t zeros = 0;
  // When set, a read fails once this many bytes of the file have been served.
  long failReadAfter = -1;
  // HTTP answers other than 200 (with the file) or 404, per host and target: status and Location.
  std::map<std::string, std::pair<std::uint32_t, std::string>> httpAnswers;
  std::vector<std::string> calls;
  int openHandles = 0;

  HINTERNET InternetOpen(const std::string& agent, std::uint32_t, const char*, const char*, std::uint32_t) override {
    calls.push_back("InternetOpen " + agent);
    return ++openHandles;
  }
  bool InternetSetOption(HINTERNET, std::uint32_t option, const void* buffer, std::uint32_t) override {
    calls.push_back("InternetSetOption " + std::to_string(option) + " " +
                    std::to_string(*static_cast<const std::uint32_t*>(buffer)));
    return true;
  }
  HINTERNET InternetConnect(HINTERNET, const std::string& server, std::uint16_t port, const std::string& user,
                            const std::string& password, std::uint32_t service, std::uint32_t flags,
                            std::uintptr_t) override {
    calls.push_back("InternetConnect " + server + ":" + std::to_string(port) + " '" + user + "' '" + password + "' " +
                    (service == inet::INTERNET_SERVICE_HTTP ? "http " : "") + std::to_string(flags));
    if (service == inet::INTERNET_SERVICE_FTP && !servers.count(server)) return Fail(inet::ERROR_INTERNET_CANNOT_CONNECT);
    server_ = server;
    return ++openHandles;
  }
  HINTERNET FtpOpenFile(HINTERNET, const std::string& name, std::uint32_t access, std::uint32_t flags,
                        std::uintptr_t) override {
    calls.push_back("FtpOpenFile " + name + " " + std::to_string(access) + " " + std::to_string(flags));
    const auto found = servers[server_].find(name);
    if (found == servers[server_].end() && name != "zeros") return Fail(inet::ERROR_INTERNET_EXTENDED_ERROR);
    content_ = name == "zeros" ? "" : found->second;
    size_ = name == "zeros" ? zeros : content_.size();
    position_ = 0;
    return ++openHandles;
  }
  HINTERNET HttpOpenRequest(HINTERNET, const std::string& verb, const std::string& target, const char*, const char*,
                            const char* const*, std::uint32_t flags, std::uintptr_t) override {
    calls.push_back("HttpOpenRequest " + verb + " " + target + " " + std::to_string(flags));
    target_ = target;
    return ++openHandles;
  }
  bool HttpSendRequest(HINTERNET, const std::string& headers, const void*, std::uint32_t) override {
    calls.push_back("HttpSendRequest " + headers);
    if (!servers.count(server_)) return Fail(inet::ERROR_INTERNET_CANNOT_CONNECT);
    const auto file = servers[server_].find(target_.substr(1, target_.find('?') - 1));
    answer_ = file == servers[server_].end() ? std::pair{404u, std::string()} : std::pair{200u, std::string()};
    if (const auto listed = httpAnswers.find(server_ + target_); listed != httpAnswers.end()) answer_ = listed->second;
    content_ = answer_.first == 200 ? file->second : "";
    size_ = content_.size();
    position_ = 0;
    return true;
  }
  bool HttpQueryInfo(HINTERNET, std::uint32_t level, void* buffer, std::uint32_t* length, std::uint32_t*) override {
    if (level == (inet::HTTP_QUERY_STATUS_CODE | inet::HTTP_QUERY_FLAG_NUMBER)) {
      std::memcpy(buffer, &answer_.first, sizeof answer_.first);
      return true;
    }
    const std::map<std::uint32_t, std::string> texts = {
        {inet::HTTP_QUERY_VERSION, "HTTP/1.1"},
        {inet::HTTP_QUERY_STATUS_TEXT, answer_.first == 404 ? "Not Found" : "Found"},
        {inet::HTTP_QUERY_LOCATION, answer_.second}};
    const std::string& text = texts.at(level);
    std::memcpy(buffer, text.c_str(), text.size() + 1);
    *length = static_cast<std::uint32_t>(text.size());
    return true;
  }
  bool InternetReadFile(HINTERNET, void* buffer, std::uint32_t size, std::uint32_t* read) override {
    *read = 0;
    if (failReadAfter >= 0 && position_ >= static_cast<std::uint64_t>(failReadAfter))
      return Fail(inet::ERROR_INTERNET_CONNECTION_RESET);
    *read = static_cast<std::uint32_t>(std::min<std::uint64_t>(size, size_ - position_));
    if (content_.empty()) std::memset(buffer, 0, *read);
    else std::memcpy(buffer, content_.data() + position_, *read);
    position_ += *read;
    return true;
  }
  bool InternetWriteFile(HINTERNET, const void*, std::uint32_t, std::uint32_t*) override { return false; }
  bool FtpDeleteFile(HINTERNET, const std::string&) override { return false; }
  bool InternetCloseHandle(HINTERNET handle) override { return handle != 0 && --openHandles >= 0; }
  std::uint32_t GetLastError() const override { return lastError_; }
  std::uint32_t FormatMessage(std::uint32_t code, char* buffer, std::uint32_t size) override {
    const std::string text = "Cannot connect to the server.\r\n";
    if (code != inet::ERROR_INTERNET_CANNOT_CONNECT || text.size() >= size) return 0;
    std::memcpy(buffer, text.c_str(), text.size() + 1);
    return static_cast<std::uint32_t>(text.size());
  }
  bool InternetGetLastResponseInfo(std::uint32_t*, char*, std::uint32_t*) override { return false; }

 private:
  std::uint32_t Fail(std::uint32_t code) {
    lastError_ = code;
    return 0;
  }

  std::uint32_t lastError_ = 0;
  std::string server_, target_, content_;
  std::pair<std::uint32_t, std::string> answer_;
  std::uint64_t size_ = 0, position_ = 0;
};

}  // namespace updater::test
