#include "ScriptedFtpServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>

#include <stdexcept>

namespace updater::test {
namespace {

constexpr int kWaitMs = 5000;

void WaitReadable(const FileDescriptor& fd) {
  pollfd entry{fd.Get(), POLLIN, 0};
  if (RetryOnInterrupt([&] { return ::poll(&entry, 1, kWaitMs); }) != 1)
    throw std::runtime_error("client kept the server waiting");
}

// A listening socket on 127.0.0.1 with a port of the system's choice.
FileDescriptor ListenOnLoopback(std::uint16_t& port) {
  FileDescriptor fd(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  if (::bind(fd.Get(), reinterpret_cast<sockaddr*>(&address), length) != 0 || ::listen(fd.Get(), 4) != 0 ||
      ::getsockname(fd.Get(), reinterpret_cast<sockaddr*>(&address), &length) != 0)
    throw std::runtime_error("no loopback listener");
  port = ntohs(address.sin_port);
  return fd;
}

// The next connection, each send of it a packet of its own.
FileDescriptor Accept(const FileDescriptor& listener) {
  WaitReadable(listener);
  FileDescriptor fd(::accept4(listener.Get(), nullptr, nullptr, SOCK_CLOEXEC));
  const int on = 1;
  ::setsockopt(fd.Get(), IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
  return fd;
}

void SendAll(const FileDescriptor& fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t sent = RetryOnInterrupt([&] { return ::send(fd.Get(), bytes.data(), bytes.size(), MSG_NOSIGNAL); });
    if (sent < 0) throw std::runtime_error("client went away");
    bytes.remove_prefix(static_cast<std::size_t>(sent));
  }
}

}  // namespace

std::uint16_t UnusedLoopbackPort() {
  std::uint16_t port = 0;
  ListenOnLoopback(port);
  return port;
}

void ScriptedPeer::Send(std::string_view bytes, bool bytewise) {
  for (std::size_t at = 0; at < bytes.size(); at += bytewise ? 1 : bytes.size())
    SendAll(control_, bytes.substr(at, bytewise ? 1 : bytes.size()));
}

std::string ScriptedPeer::Command() {
  std::string line;
  char c = 0;
  while (true) {
    WaitReadable(control_);
    if (RetryOnInterrupt([&] { return ::recv(control_.Get(), &c, 1, 0); }) != 1) return "";
    if (c == '\n') break;
    line += c;
  }
  if (!line.empty() && line.back() == '\r') line.pop_back();
  commands.push_back(line);
  return line;
}

void ScriptedPeer::Answer(const std::string& answer, bool bytewise) {
  if (Command().empty()) throw std::runtime_error("client hung up before: " + answer);
  Send(answer + "\r\n", bytewise);
}

std::uint16_t ScriptedPeer::Listen() {
  std::uint16_t port = 0;
  listener_ = ListenOnLoopback(port);
  return port;
}

std::string ScriptedPeer::ExtendedPassiveReply() {
  return "229 Entering Extended Passive Mode (|||" + std::to_string(Listen()) + "|)";
}

std::string ScriptedPeer::PassiveReply(const std::string& host) {
  const std::uint16_t port = Listen();
  return "227 Entering Passive Mode (" + host + "," + std::to_string(port / 256) + "," + std::to_string(port % 256) + ")";
}

void ScriptedPeer::AcceptData() { data_ = Accept(listener_); }

void ScriptedPeer::SendData(std::string_view bytes) { SendAll(data_, bytes); }

void ScriptedPeer::CloseData(bool reset) {
  if (reset) {
    const linger abort{1, 0};
    ::setsockopt(data_.Get(), SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
  }
  data_.Reset();
}

void ScriptedPeer::Finish(bool silent) {
  for (std::string command = Command(); !command.empty(); command = Command()) {
    if (silent) continue;
    if (command == "ABOR") Send("426 Transfer aborted\r\n226 ABOR done\r\n");
    if (command == "QUIT") Send("221 Bye\r\n");
  }
}

ScriptedFtpServer::ScriptedFtpServer(Script script) : listener_(ListenOnLoopback(port_)) {
  thread_ = std::thread([this, script = std::move(script)] {
    std::vector<std::string> problem;
    try {
      ScriptedPeer peer(Accept(listener_));
      try {
        script(peer);
      } catch (const std::exception& e) {
        problem.push_back(std::string("!") + e.what());
      }
      record_ = std::move(peer.commands);
    } catch (const std::exception& e) {
      problem.push_back(std::string("!") + e.what());
    }
    record_.insert(record_.end(), problem.begin(), problem.end());
  });
}

ScriptedFtpServer::~ScriptedFtpServer() {
  if (thread_.joinable()) thread_.join();
}

std::vector<std::string> ScriptedFtpServer::Commands() {
  if (thread_.joinable()) thread_.join();
  return record_;
}

}  // namespace updater::test
