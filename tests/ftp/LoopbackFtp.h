#pragma once
// What the FTP client tests share: loopback listeners, a download in the driver's 1024-byte blocks,
// and an FTP server of the tests' own that follows a transcript.

#include <arpa/inet.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

#include <array>
#include <future>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "fakes/RecordingReporters.h"
#include "ftp/CFTPFile.h"
#include "ftp/CFTPServer.h"
#include "platform/linux/FileDescriptor.h"
#include "platform/linux/ftp/FtpInternet.h"

namespace updater::test {

// A socket listening on 127.0.0.1 (or ::1) at a port of the system's choice, which goes to port.
// Accepting and receiving wait at most 5 s; its connections send each write as a packet of its own.
inline FileDescriptor ListenOnLoopback(std::uint16_t& port, bool ipv6) {
  FileDescriptor fd(::socket(ipv6 ? AF_INET6 : AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
  const timeval wait{5, 0};
  const int on = 1;
  sockaddr_in6 address6{AF_INET6, 0, 0, in6addr_loopback, 0};
  sockaddr_in address4{AF_INET, 0, {htonl(INADDR_LOOPBACK)}, {}};
  auto* address = ipv6 ? reinterpret_cast<sockaddr*>(&address6) : reinterpret_cast<sockaddr*>(&address4);
  socklen_t length = ipv6 ? sizeof address6 : sizeof address4;
  if (::setsockopt(fd.Get(), SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait) != 0 ||
      ::setsockopt(fd.Get(), IPPROTO_TCP, TCP_NODELAY, &on, sizeof on) != 0 || ::bind(fd.Get(), address, length) != 0 ||
      ::listen(fd.Get(), 4) != 0 || ::getsockname(fd.Get(), address, &length) != 0)
    throw std::runtime_error("no loopback listener");
  port = ntohs(ipv6 ? address6.sin6_port : address4.sin_port);
  return fd;
}

// Connects anonymously to host, opens each path in turn on that one connection and reads it into bytes in
// blocks of 1024 bytes as the download driver does; returns the LastError text of the step that failed, or empty.
inline std::string DownloadInBlocks(IInternet& internet, const std::vector<std::string>& paths, std::string& bytes,
                                    const std::string& host = "127.0.0.1") {
  RecordingReporters reporters;
  auto server = std::make_shared<CFTPServer>(internet, reporters);
  if (!server->Connect(host, "", "")) return server->LastError();
  for (const std::string& path : paths) {
    CFTPFile file(internet, reporters);
    file.FTPServer(server);
    if (!file.OpenRemote(path, inet::GENERIC_READ, inet::FTP_TRANSFER_TYPE_BINARY)) return file.LastError();
    std::array<std::uint8_t, 1024> block{};
    for (std::int32_t n; (n = file.ReadRemote(block, 1024)) > 0;) bytes.append(block.data(), block.data() + n);
    if (!file.LastError().empty()) return file.LastError();
  }
  return "";
}

// Plays one control connection from a transcript, on a thread of its own. Each step is one of:
//   COMMAND>reply  the client's next command must be COMMAND; then reply and CR LF are sent. With no
//                  COMMAND the reply goes out unasked; with "~" for ">" one byte per packet; with no
//                  ">reply" the command gets no answer.
//   +bytes  -  !   bytes on the data connection; its end; its reset
//   <bytes         the data connection must bring bytes, then end
//   x              the control connection closes
// "{port}" in a reply becomes the data listener's port, in a 227 reply as two comma-separated bytes.
// After the last step the server waits for the client to hang up; with no steps it accepts nobody.
// Every wait is bounded.
class ScriptedFtpServer {
 public:
  explicit ScriptedFtpServer(std::vector<std::string> transcript, bool ipv6 = false)
      : ipv6_(ipv6),
        listener_(ListenOnLoopback(port_, ipv6)),
        played_(std::async(std::launch::async, &ScriptedFtpServer::Play, this, std::move(transcript))) {}

  std::uint16_t Port() const { return port_; }
  // Waits for the end of the transcript; what went otherwise than it says, or empty.
  std::string Problems() { return played_.get(); }

 private:
  std::string Play(const std::vector<std::string>& transcript) try {
    if (transcript.empty()) return "";
    std::uint16_t dataPort = 0;
    FileDescriptor control(::accept4(listener_.Get(), nullptr, nullptr, SOCK_CLOEXEC)), data;
    const FileDescriptor dataListener = ListenOnLoopback(dataPort, ipv6_);
    for (const std::string& step : transcript) {
      if (step == "x") {
        control.Reset();
      } else if (std::string_view("+-!<").find(step[0]) != std::string_view::npos) {
        if (!data.Valid()) data = FileDescriptor(::accept4(dataListener.Get(), nullptr, nullptr, SOCK_CLOEXEC));
        const linger reset{1, 0};  // a close then sends RST
        if (step[0] == '!') ::setsockopt(data.Get(), SOL_SOCKET, SO_LINGER, &reset, sizeof reset);
        if (step[0] == '+') Send(data, step.substr(1));
        if (step[0] == '<' && Received(data) != step.substr(1)) throw std::runtime_error("no " + step);
        if (step[0] != '+') data.Reset();
      } else {
        const std::string command = step.substr(0, step.find_first_of(">~"));
        if (std::string got; !command.empty() && (got = Command(control)) != command)
          throw std::runtime_error("expected " + command + ", got " + (got.empty() ? "a hang-up" : got));
        if (command.size() == step.size()) continue;
        std::string reply = step.substr(command.size() + 1) + "\r\n";
        const std::string hiLo = std::to_string(dataPort / 256) + "," + std::to_string(dataPort % 256);
        if (const auto at = reply.find("{port}"); at != std::string::npos)
          reply.replace(at, 6, reply.starts_with("227") ? hiLo : std::to_string(dataPort));
        const std::size_t packet = step[command.size()] == '~' ? 1 : reply.size();
        for (std::size_t at = 0; at < reply.size(); at += packet) Send(control, reply.substr(at, packet));
      }
    }
    const std::string more = control.Valid() ? Command(control) : "";
    return more.empty() ? "" : "then " + more;
  } catch (const std::exception& e) {
    return e.what();
  }

  static void Send(const FileDescriptor& fd, std::string_view bytes) {
    if (::send(fd.Get(), bytes.data(), bytes.size(), MSG_NOSIGNAL) != static_cast<ssize_t>(bytes.size()))
      throw std::runtime_error("the client went away");
  }
  static std::string Received(const FileDescriptor& fd) {
    std::string bytes;
    for (char c = 0; ::recv(fd.Get(), &c, 1, 0) == 1;) bytes += c;
    return bytes;
  }
  // The next command without its line end; empty when the client hung up.
  static std::string Command(const FileDescriptor& control) {
    std::string line;
    for (char c = 0; c != '\n'; line += c) {
      const ssize_t got = ::recv(control.Get(), &c, 1, 0);
      if (got < 0 && errno == EAGAIN) throw std::runtime_error("kept waiting for a command");
      if (got != 1) return "";
    }
    return line.substr(0, line.find_last_not_of("\r\n") + 1);
  }

  bool ipv6_;
  std::uint16_t port_ = 0;  // set while listener_ is made
  FileDescriptor listener_;
  std::future<std::string> played_;
};

}  // namespace updater::test
