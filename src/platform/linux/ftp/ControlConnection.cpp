#include "platform/linux/ftp/ControlConnection.h"

#include <vector>

#include "platform/Internet.h"
#include "platform/linux/ftp/LastCallRecord.h"
#include "platform/linux/ftp/PassiveReply.h"

namespace updater {

InetError ControlConnection::Check(InetError error) {
  if (error != kInetOk) broken_ = true;
  return error;
}

InetError ControlConnection::Open(const std::string& host, std::uint16_t port) {
  std::vector<SocketAddress> addresses;
  if (const InetError error = ResolveHost(host, port, addresses); error != kInetOk) return error;
  const Deadline deadline = DeadlineAfter(settings_.connectTimeout);
  InetError error = inet::ERROR_INTERNET_CANNOT_CONNECT;
  for (const SocketAddress& address : addresses) {
    error = Socket::Connect(address, deadline, socket_);
    if (error == kInetOk || error == inet::ERROR_INTERNET_TIMEOUT) break;
  }
  if (error != kInetOk) return error;

  FtpReply greeting;
  if (const InetError failed = ReadReply(settings_.replyTimeout, greeting); failed != kInetOk) return failed;
  // 120: the service will be ready shortly; the real greeting follows.
  if (greeting.code == 120)
    if (const InetError failed = ReadReply(settings_.replyTimeout, greeting); failed != kInetOk) return failed;
  return greeting.Positive() ? kInetOk : inet::ERROR_INTERNET_EXTENDED_ERROR;
}

InetError ControlConnection::Login(const std::string& user, const std::string& password) {
  const bool anonymous = user.empty();
  FtpReply reply;
  if (const InetError error = Exchange("USER " + (anonymous ? std::string("anonymous") : user), reply);
      error != kInetOk)
    return error;
  if (reply.Positive()) return kInetOk;
  if (reply.code != 331) return inet::ERROR_INTERNET_EXTENDED_ERROR;
  const std::string secret = anonymous && password.empty() ? std::string(kAnonymousPassword) : password;
  if (const InetError error = Exchange("PASS " + secret, reply); error != kInetOk) return error;
  return reply.Positive() ? kInetOk : inet::ERROR_INTERNET_EXTENDED_ERROR;
}

InetError ControlConnection::Send(std::string_view command, std::chrono::milliseconds timeout) {
  if (broken_) return inet::ERROR_FTP_DROPPED;
  std::string line(command);
  line += "\r\n";
  return Check(socket_.SendAll(line.data(), line.size(), DeadlineAfter(timeout)));
}

InetError ControlConnection::ReadReply(std::chrono::milliseconds timeout, FtpReply& reply) {
  if (broken_) return inet::ERROR_FTP_DROPPED;
  if (const InetError error = Check(reader_.Read(socket_, DeadlineAfter(timeout), reply)); error != kInetOk)
    return error;
  SetLastResponse(reply);
  return kInetOk;
}

InetError ControlConnection::Exchange(std::string_view command, FtpReply& reply) {
  if (const InetError error = Send(command, settings_.replyTimeout); error != kInetOk) return error;
  return ReadReply(settings_.replyTimeout, reply);
}

InetError ControlConnection::Command(std::string_view command) {
  FtpReply reply;
  if (const InetError error = Exchange(command, reply); error != kInetOk) return error;
  return reply.Positive() ? kInetOk : inet::ERROR_INTERNET_EXTENDED_ERROR;
}

InetError ControlConnection::AskForDataPort(std::uint16_t& port) {
  FtpReply reply;
  if (!extendedPassiveRefused_) {
    if (const InetError error = Exchange("EPSV", reply); error != kInetOk) return error;
    extendedPassiveRefused_ = !reply.Positive();
  }
  if (extendedPassiveRefused_) {
    if (const InetError error = Exchange("PASV", reply); error != kInetOk) return error;
    if (!reply.Positive()) return inet::ERROR_INTERNET_EXTENDED_ERROR;
  }
  const auto found = extendedPassiveRefused_ ? PassivePort(reply.text) : ExtendedPassivePort(reply.text);
  if (!found) return inet::ERROR_HTTP_INVALID_SERVER_RESPONSE;
  port = *found;
  return kInetOk;
}

InetError ControlConnection::OpenDataConnection(Socket& data) {
  std::uint16_t port = 0;
  if (const InetError error = AskForDataPort(port); error != kInetOk) return error;
  return Socket::Connect(socket_.Peer().WithPort(port), DeadlineAfter(settings_.connectTimeout), data);
}

void ControlConnection::AbortTransfer() {
  if (Send("ABOR", settings_.closingTimeout) != kInetOk) return;
  // The transfer's own final reply (226 when it had ended, 426 or the like when it was cut short),
  // then the reply to ABOR.
  FtpReply reply;
  for (int replies = 0; replies < 2; ++replies)
    if (ReadReply(settings_.closingTimeout, reply) != kInetOk) return;
}

void ControlConnection::Quit() {
  FtpReply reply;
  if (Send("QUIT", settings_.closingTimeout) == kInetOk) ReadReply(settings_.closingTimeout, reply);
  socket_.Close();
  broken_ = true;
}

}  // namespace updater
