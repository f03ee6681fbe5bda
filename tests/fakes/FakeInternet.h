#pragma once
// An Internet layer that serves files from memory and fails where a test says so.

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
  // When set, a read fails once this many bytes of a file have been served.
  long failReadAfter = -1;
  // Every call, in order, for tests that check what was asked of the network.
  std::vector<std::string> calls;
  int openHandles = 0;

  HINTERNET InternetOpen(const std::string& agent, std::uint32_t, const char*, const char*, std::uint32_t) override {
    calls.push_back("InternetOpen " + agent);
    return NewHandle();
  }
  HINTERNET InternetConnect(HINTERNET, const std::string& server, std::uint16_t port, const std::string& user,
                            const std::string& password, std::uint32_t, std::uint32_t flags,
                            std::uintptr_t) override {
    calls.push_back("InternetConnect " + server + ":" + std::to_string(port) + " '" + user + "' '" + password +
                    "' " + std::to_string(flags));
    if (!servers.count(server)) return Fail(inet::ERROR_INTERNET_CANNOT_CONNECT);
    connectedServer_ = server;
    return NewHandle();
  }
  HINTERNET FtpOpenFile(HINTERNET connection, const std::string& fileName, std::uint32_t access,
                        std::uint32_t flags, std::uintptr_t) override {
    calls.push_back("FtpOpenFile " + fileName + " " + std::to_string(access) + " " + std::to_string(flags));
    if (connection == 0) return Fail(inet::ERROR_INVALID_HANDLE);
    const auto& files = servers[connectedServer_];
    const auto found = files.find(fileName);
    if (found == files.end()) {
      response_ = "550 No such file.";
      return Fail(inet::ERROR_INTERNET_EXTENDED_ERROR);
    }
    content_ = found->second;
    position_ = 0;
    return NewHandle();
  }
  bool InternetReadFile(HINTERNET file, void* buffer, std::uint32_t bytesToRead, std::uint32_t* bytesRead) override {
    *bytesRead = 0;
    if (file == 0) return Fail(inet::ERROR_INVALID_HANDLE) != 0;
    if (failReadAfter >= 0 && static_cast<long>(position_) >= failReadAfter)
      return Fail(inet::ERROR_INTERNET_CONNECTION_RESET) != 0;
    const std::size_t n = std::min<std::size_t>(bytesToRead, content_.size() - position_);
    std::memcpy(buffer, content_.data() + position_, n);
    position_ += n;
    *bytesRead = static_cast<std::uint32_t>(n);
    return true;
  }
  bool InternetWriteFile(HINTERNET, const void*, std::uint32_t, std::uint32_t* written) override {
    *written = 0;
    return Fail(inet::ERROR_INVALID_HANDLE) != 0;
  }
  bool FtpDeleteFile(HINTERNET, const std::string& fileName) override {
    calls.push_back("FtpDeleteFile " + fileName);
    return Fail(inet::ERROR_INVALID_HANDLE) != 0;
  }
  bool InternetCloseHandle(HINTERNET handle) override {
    calls.push_back("Close " + std::to_string(handle));
    if (handle == 0) return false;
    --openHandles;
    return true;
  }
  std::uint32_t GetLastError() const override { return lastError_; }
  std::uint32_t FormatMessage(std::uint32_t code, char* buffer, std::uint32_t size) override {
    const std::string text = code == inet::ERROR_INTERNET_CANNOT_CONNECT ? "Cannot connect to the server.\r\n"
                             : code == inet::ERROR_INTERNET_EXTENDED_ERROR ? "The server returned extended information.\r\n"
                                                                          : "";
    if (text.empty() || text.size() >= size) return 0;
    std::memcpy(buffer, text.c_str(), text.size() + 1);
    return static_cast<std::uint32_t>(text.size());
  }
  bool InternetGetLastResponseInfo(std::uint32_t* error, char* buffer, std::uint32_t* length) override {
    *error = 0;
    if (response_.empty() || response_.size() >= *length) return false;
    std::memcpy(buffer, response_.c_str(), response_.size() + 1);
    *length = static_cast<std::uint32_t>(response_.size());
    return true;
  }

 private:
  HINTERNET NewHandle() {
    ++openHandles;
    return nextHandle_++;
  }
  HINTERNET Fail(std::uint32_t code) {
    lastError_ = code;
    return 0;
  }

  HINTERNET nextHandle_ = 1;
  std::uint32_t lastError_ = 0;
  std::string connectedServer_;
  std::string content_;
  std::size_t position_ = 0;
  std::string response_;
};

}  // namespace updater::test
