#pragma once
// An FTP server of the tests' own on a loopback port: a script plays one control connection on a
// thread of its own, misbehaving as told, and the commands that arrived are recorded. Every wait of
// the server is bounded.

#include <arpa/inet.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "platform/linux/FileDescriptor.h"

namespace updater::test {

inline void WaitReadable(const FileDescriptor& fd) {
  pollfd entry{fd.Get(), POLLIN, 0};
  if (RetryOnInterrupt([&] { return ::poll(&entry, 1, 5000); }) != 1) throw std::runtime_error("kept waiting");
}

// A listening socket on 127.0.0.1 with a port of the system's choice.
inline FileDescriptor ListenOnLoopback(std::uint16_t& port) {
  FileDescriptor fd(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
  sockaddr_in address{AF_INET, 0, {htonl(INADDR_LOOPBACK)}, {}};
  socklen_t length = sizeof address;
  if (::bind(fd.Get(), reinterpret_cast<sockaddr*>(&address), length) != 0 || ::listen(fd.Get(), 4) != 0 ||
      ::getsockname(fd.Get(), reinterpret_cast<sockaddr*>(&address), &length) != 0)
    throw std::runtime_error("no loopback listener");
  port = ntohs(address.sin_port);
  return fd;
}

// A loopback port that nothing listens on.
inline std::uint16_t UnusedLoopbackPort() {
  std::uint16_t port = 0;
  ListenOnLoopback(port);
  return port;
}

// The server's side of the control connection and of one passive data connection.
class ScriptedPeer {
 public:
  explicit ScriptedPeer(const FileDescriptor& listener) : control_(Accept(listener)) {}

  // Sends bytes on the control connection, all at once or one byte per packet.
  void Send(std::string_view bytes, bool bytewise = false) {
    for (std::size_t at = 0; at < bytes.size(); at += bytewise ? 1 : bytes.size())
      SendAll(control_, bytes.substr(at, bytewise ? 1 : bytes.size()));
  }
  // Reads the next command, then sends answer and CR LF.
  void Answer(const std::string& answer, bool bytewise = false) {
    if (Command().empty()) throw std::runtime_error("client hung up before: " + answer);
    Send(answer + "\r\n", bytewise);
  }
  // Replies to EPSV and to PASV (naming host) for a new data listener on 127.0.0.1.
  std::string ExtendedPassiveReply() { return "229 Extended Passive Mode (|||" + std::to_string(Listen()) + "|)"; }
  std::string PassiveReply(const std::string& host) {
    const std::uint16_t port = Listen();
    return "227 Passive Mode (" + host + "," + std::to_string(port / 256) + "," + std::to_string(port % 256) + ")";
  }
  void AcceptData() { data_ = Accept(listener_); }
  void SendData(std::string_view bytes) { SendAll(data_, bytes); }
  // Closes the data connection, with a reset (RST) when asked.
  void CloseData(bool reset = false) {
    const linger abort{1, 0};
    if (reset) ::setsockopt(data_.Get(), SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
    data_.Reset();
  }
  void CloseControl() { control_.Reset(); }
  // Serves the client's closing (ABOR with 426 and 226, QUIT with 221) until it hangs up; a silent
  // peer answers nothing.
  void Finish(bool silent = false) {
    for (std::string command = Command(); !command.empty(); command = Command()) {
      if (!silent && command == "ABOR") Send("426 Transfer aborted\r\n226 ABOR done\r\n");
      if (!silent && command == "QUIT") Send("221 Bye\r\n");
    }
  }

  std::vector<std::string> commands;

 private:
  // The next connection, each send of it a packet of its own.
  static FileDescriptor Accept(const FileDescriptor& listener) {
    WaitReadable(listener);
    FileDescriptor fd(::accept4(listener.Get(), nullptr, nullptr, SOCK_CLOEXEC));
    const int on = 1;
    ::setsockopt(fd.Get(), IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    return fd;
  }
  static void SendAll(const FileDescriptor& fd, std::string_view bytes) {
    while (!bytes.empty()) {
      const ssize_t sent = RetryOnInterrupt([&] { return ::send(fd.Get(), bytes.data(), bytes.size(), MSG_NOSIGNAL); });
      if (sent < 0) throw std::runtime_error("client went away");
      bytes.remove_prefix(static_cast<std::size_t>(sent));
    }
  }
  // The next command line without its line end; empty when the client hung up.
  std::string Command() {
    std::string line;
    for (char c = 0; c != '\n'; line += c) {
      WaitReadable(control_);
      if (RetryOnInterrupt([&] { return ::recv(control_.Get(), &c, 1, 0); }) != 1) return "";
    }
    line.erase(line.find_last_not_of("\r\n") + 1);
    commands.push_back(line);
    return line;
  }
  std::uint16_t Listen() {
    std::uint16_t port = 0;
    listener_ = ListenOnLoopback(port);
    return port;
  }

  FileDescriptor control_;
  FileDescriptor listener_;
  FileDescriptor data_;
};

class ScriptedFtpServer {
 public:
  using Script = std::function<void(ScriptedPeer&)>;
  explicit ScriptedFtpServer(Script script) : listener_(ListenOnLoopback(port_)) {
    thread_ = std::thread([this, script = std::move(script)] {
      try {
        ScriptedPeer peer(listener_);
        try {
          script(peer);
        } catch (const std::exception& e) {
          peer.commands.push_back(std::string("!") + e.what());
        }
        record_ = std::move(peer.commands);
      } catch (const std::exception& e) {
        record_.push_back(std::string("!") + e.what());
      }
    });
  }
  ~ScriptedFtpServer() { Commands(); }

  std::uint16_t Port() const { return port_; }
  // Waits for the script to end; the commands received, then "!" and the script's problem if it had one.
  std::vector<std::string> Commands() {
    if (thread_.joinable()) thread_.join();
    return record_;
  }

 private:
  std::uint16_t port_ = 0;  // set while listener_ is made
  FileDescriptor listener_;
  std::vector<std::string> record_;
  std::thread thread_;
};

}  // namespace updater::test
