#pragma once
// An Internet layer serving files from memory; it fails where a test says so and logs every call.

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
  std::vector<std::string> calls;
  int openHandles = 0;

  HINTERNET InternetOpen(const std::string& agent, std::uint32_t, const char*, const char*, std::uint32_t) override {
    calls.push_back("InternetOpen " + agent);
    return ++openHandles;
  }
  HINTERNET InternetConnect(HINTERNET, const std::string& server, std::uint16_t port, const std::string& user,
                            const std::string& password, std::uint32_t, std::uint32_t flags, std::uintptr_t) override {
    calls.push_back("InternetConnect " + server + ":" + std::to_string(port) + " '" + user + "' '" + password + "' " +
                    std::to_string(flags));
    if (!servers.count(server)) return Fail(inet::ERROR_INTERNET_CANNOT_CONNECT);
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
  std::string server_, content_;
  std::uint64_t size_ = 0, position_ = 0;
};

}  // namespace updater::test
