#pragma once
// An FTP server of the tests' own on a loopback port: a script plays one control connection on a
// thread of its own, misbehaving as told, and the commands that arrived are recorded. Every wait of
// the server is bounded.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "platform/linux/FileDescriptor.h"

namespace updater::test {

// The server's side of the control connection and of one passive data connection.
class ScriptedPeer {
 public:
  explicit ScriptedPeer(FileDescriptor control) : control_(std::move(control)) {}

  // Sends bytes on the control connection, all at once or one byte per packet.
  void Send(std::string_view bytes, bool bytewise = false);
  // Reads the next command, then sends answer and CR LF.
  void Answer(const std::string& answer, bool bytewise = false);
  // Replies to EPSV and PASV naming a new data listener on 127.0.0.1; PASV names host.
  std::string ExtendedPassiveReply();
  std::string PassiveReply(const std::string& host);
  void AcceptData();
  void SendData(std::string_view bytes);
  // Closes the data connection, with a reset (RST) when asked.
  void CloseData(bool reset = false);
  void CloseControl() { control_.Reset(); }
  // Serves the client's closing (ABOR with 426 and 226, QUIT with 221) until it hangs up; a silent
  // peer answers nothing.
  void Finish(bool silent = false);

  std::vector<std::string> commands;

 private:
  // The next command line without its line end; empty when the client hung up.
  std::string Command();
  std::uint16_t Listen();

  FileDescriptor control_;
  FileDescriptor listener_;
  FileDescriptor data_;
};

// A loopback port that nothing listens on.
std::uint16_t UnusedLoopbackPort();

class ScriptedFtpServer {
 public:
  using Script = std::function<void(ScriptedPeer&)>;
  explicit ScriptedFtpServer(Script script);
  ~ScriptedFtpServer();

  std::uint16_t Port() const { return port_; }
  // Waits for the script to end; the commands received, then "!" and the script's problem if it had one.
  std::vector<std::string> Commands();

 private:
  std::uint16_t port_ = 0;  // set while listener_ is made
  FileDescriptor listener_;
  std::vector<std::string> record_;
  std::thread thread_;
};

}  // namespace updater::test
