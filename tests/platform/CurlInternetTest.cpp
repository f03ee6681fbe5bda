// The libcurl Internet layer's FTP results against a server of the tests' own that follows a transcript
// and misbehaves on purpose: the error codes and the server's reply as the last response, as WinInet
// gives them. (Downloads over FTP and HTTPS from real servers run end to end.)

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

#include <array>
#include <filesystem>
#include <future>
#include <stdexcept>

#include "fakes/RecordingReporters.h"
#include "ftp/CFTPFile.h"
#include "ftp/FormatInetError.h"
#include "platform/linux/FileDescriptor.h"
#include "platform/linux/internet/CurlInternet.h"

namespace updater {
namespace {

// A socket listening on 127.0.0.1 at a port of the system's choice; its waits end after 5 s.
FileDescriptor ListenOnLoopback(std::uint16_t& port) {
  FileDescriptor fd(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
  const timeval wait{5, 0};
  const int on = 1;
  sockaddr_in address{AF_INET, 0, {htonl(INADDR_LOOPBACK)}, {}};
  socklen_t length = sizeof address;
  if (::setsockopt(fd.Get(), SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait) != 0 ||
      ::setsockopt(fd.Get(), IPPROTO_TCP, TCP_NODELAY, &on, sizeof on) != 0 ||
      ::bind(fd.Get(), reinterpret_cast<sockaddr*>(&address), length) != 0 || ::listen(fd.Get(), 4) != 0 ||
      ::getsockname(fd.Get(), reinterpret_cast<sockaddr*>(&address), &length) != 0)
    throw std::runtime_error("no loopback listener");
  port = ntohs(address.sin_port);
  return fd;
}

// Plays one control connection from a transcript, on a thread of its own. Each step is one of:
//   COMMAND>reply  the client's next command must be COMMAND; then reply and CR LF go out (with no
//                  COMMAND unasked; with no ">reply" the command gets no answer)
//   +bytes - !     bytes on the data connection; its end; its reset
//   <bytes         the data connection must bring bytes, then end
// "{port}" in a reply becomes the data listener's port, in a 227 reply as two comma-separated bytes.
// Every wait is bounded.
class ScriptedFtpServer {
 public:
  explicit ScriptedFtpServer(std::vector<std::string> transcript)
      : listener_(ListenOnLoopback(port_)),
        played_(std::async(std::launch::async, &ScriptedFtpServer::Play, this, std::move(transcript))) {}

  std::uint16_t Port() const { return port_; }
  // Waits for the end of the transcript; what went otherwise than it says, or empty.
  std::string Problems() { return played_.get(); }

 private:
  std::string Play(const std::vector<std::string>& transcript) try {
    if (transcript.empty()) return "";
    std::uint16_t dataPort = 0;
    FileDescriptor control(::accept4(listener_.Get(), nullptr, nullptr, SOCK_CLOEXEC)), data;
    const FileDescriptor dataListener = ListenOnLoopback(dataPort);
    for (const std::string& step : transcript) {
      if (std::string_view("+-!<").find(step[0]) != std::string_view::npos) {
        if (!data.Valid()) data = FileDescriptor(::accept4(dataListener.Get(), nullptr, nullptr, SOCK_CLOEXEC));
        const linger reset{1, 0};  // a close then sends RST
        if (step[0] == '!') ::setsockopt(data.Get(), SOL_SOCKET, SO_LINGER, &reset, sizeof reset);
        if (step[0] == '+') Send(data, step.substr(1));
        if (step[0] == '<' && Received(data) != step.substr(1)) throw std::runtime_error("no " + step);
        if (step[0] != '+') data.Reset();
        continue;
      }
      const std::string command = step.substr(0, step.find('>'));
      if (std::string got; !command.empty() && (got = Command(control)) != command)
        throw std::runtime_error("expected " + command + ", got " + (got.empty() ? "a hang-up" : got));
      if (command.size() == step.size()) continue;
      std::string reply = step.substr(command.size() + 1) + "\r\n";
      const std::string hiLo = std::to_string(dataPort / 256) + "," + std::to_string(dataPort % 256);
      if (const auto at = reply.find("{port}"); at != std::string::npos)
        reply.replace(at, 6, reply.starts_with("227") ? hiLo : std::to_string(dataPort));
      Send(control, reply);
    }
    for (std::string said; !(said = Command(control)).empty();)  // libcurl's goodbye
      if (said == "QUIT") Send(control, "221 Bye\r\n");
    return "";
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
    for (char c = 0; c != '\n'; line += c)
      if (::recv(control.Get(), &c, 1, 0) != 1) return "";
    return line.substr(0, line.find_last_not_of("\r\n") + 1);
  }

  std::uint16_t port_ = 0;  // set while listener_ is made
  FileDescriptor listener_;
  std::future<std::string> played_;
};

using Transcript = std::vector<std::string>;
Transcript Join(std::initializer_list<Transcript> parts) {
  Transcript joined;
  for (const Transcript& part : parts) joined.insert(joined.end(), part.begin(), part.end());
  return joined;
}

const std::string kRefused = " error #12003. The server refused the request.\r\n     FTP response:\r\n     ";
const Transcript kLogin = {">220 Hi", "USER anonymous>331 Password", "PASS anonymous@>230 In", "PWD>257 \"/\""};
const Transcript kRetr = Join({kLogin, {"EPSV>229 (|||{port}|)", "TYPE I>200 Binary", "RETR f>150 Here"}});

// Connects anonymously on port (waiting 1 s for replies and data) and takes each step on that one connection:
// "path" reads the file in 1 KiB blocks into bytes, ">path" uploads "hello", "-path" deletes the file.
// The failure text of the step that failed, or empty.
std::string Steps(std::uint16_t port, const std::vector<std::string>& steps, std::string& bytes) {
  CurlInternet internet;
  test::RecordingReporters reports;
  const HINTERNET session = internet.InternetOpen("test", 0, nullptr, nullptr, 0);
  const std::uint32_t wait = 1000;
  internet.InternetSetOption(session, inet::INTERNET_OPTION_RECEIVE_TIMEOUT, &wait, sizeof wait);
  const HINTERNET connection = internet.InternetConnect(session, "127.0.0.1", port, "", "", inet::INTERNET_SERVICE_FTP, 0, 0);
  if (connection == 0) return LastInetErrorText(internet, reports, "Connect");
  for (const std::string& step : steps) {
    if (step[0] == '-') {
      if (!internet.FtpDeleteFile(connection, step.substr(1))) return LastInetErrorText(internet, reports, "FtpDeleteFile");
      continue;
    }
    const bool upload = step[0] == '>';
    const HINTERNET file = internet.FtpOpenFile(connection, step.substr(upload), upload ? inet::GENERIC_WRITE : inet::GENERIC_READ,
                                                inet::FTP_TRANSFER_TYPE_BINARY, 0);
    if (file == 0) return LastInetErrorText(internet, reports, "FtpOpenFile");
    std::uint32_t moved = 0;
    if (upload && !internet.InternetWriteFile(file, "hello", 5, &moved)) return LastInetErrorText(internet, reports, "InternetWriteFile");
    std::array<char, 1024> block{};
    bool read = !upload;
    while (read && (read = internet.InternetReadFile(file, block.data(), 1024, &moved)) && moved > 0)
      bytes.append(block.data(), moved);
    if (!upload && !read) return LastInetErrorText(internet, reports, "InternetReadFile");
    if (!internet.InternetCloseHandle(file)) return LastInetErrorText(internet, reports, "InternetCloseHandle");
  }
  return "";
}

std::ptrdiff_t OpenDescriptors() { return std::distance(std::filesystem::directory_iterator("/proc/self/fd"), {}); }

TEST(CurlInternet, FtpFailuresGiveWinInetsCodesAndTheServersReplyAndNothingLeaks) {
  const std::string large(1300 * 1024, 'L'), timeout = " error #12002. The server did not answer in time.\r\n";
  const struct {
    const char* behaviour;
    Transcript transcript;
    std::vector<std::string> steps;
    std::string bytes, failure;
  } cases[] = {
      {"a path reaches the server byte for byte; NUL and line ends are refused unsent",
       Join({kLogin, {"EPSV>229 (|||{port}|)", "TYPE I>200 Binary", "RETR a b?c#d%e;type=a>150 Here", "+hi", "-", ">226 Done"}}),
       {"a b?c#d%e;type=a", std::string("f\0DELE g", 8)}, "hi", "FtpOpenFile error #87. The parameter is incorrect.\r\n"},
      {"greeting 421", {">421 Too many users"}, {}, "", "Connect" + kRefused + "421 Too many users"},
      {"login refused", {">220 Hi", "USER anonymous>331 Password", "PASS anonymous@>530 Login incorrect."}, {}, "",
       "Connect" + kRefused + "530 Login incorrect."},
      {"login unanswered", {">220 Hi", "USER anonymous"}, {}, "", "Connect" + timeout},
      {"missing file: a reply of several lines, control characters shown as ?",
       Join({kLogin, {"EPSV>229 (|||{port}|)", "TYPE I>200 Binary",
                      "RETR f>550-No\x1b[1m file\x07\r\n 550-here\r\n550 Try\ragain"}}),
       {"f"}, "", "FtpOpenFile" + kRefused + "550-No?[1m file?\r\n      550-here\r\n     550 Try?again"},
      {"more than the layer holds at once, then 426", Join({kRetr, {"+" + large, "-", ">426 Aborted."}}), {"f"}, large,
       "InternetReadFile" + kRefused + "426 Aborted."},
      {"an empty file", Join({kRetr, {"-", ">226 Done"}}), {"f"}, "", ""},
      {"EPSV refused, PASV naming another host: the data comes from the server's own address",
       Join({kLogin, {"EPSV>502 No", "PASV>227 (127,0,0,2,{port})", "TYPE I>200 Binary", "RETR f>150 Here", "+hi", "-",
                      ">226 Done"}}), {"f"}, "hi", ""},
      {"data connection reset", Join({kRetr, {"!"}}), {"f"}, "",
       "InternetReadFile error #12031. The connection to the server was reset.\r\n"},
      {"stalled data", kRetr, {"f"}, "", "InternetReadFile" + timeout},
      {"an upload, then deletions: each has its own reply",
       Join({kLogin, {"EPSV>229 (|||{port}|)", "TYPE I>200 Binary", "STOR up>150 Go", "<hello", ">226 Stored",
                      "DELE up>250 Deleted", "DELE up>550 No such file."}}),
       {">up", "-up", "-up"}, "", "FtpDeleteFile" + kRefused + "550 No such file."},
  };
  const std::ptrdiff_t descriptors = OpenDescriptors();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.behaviour);
    ScriptedFtpServer server(c.transcript);
    std::string bytes;
    EXPECT_EQ(Steps(server.Port(), c.steps, bytes), c.failure);
    EXPECT_TRUE(bytes == c.bytes) << bytes.size() << " bytes: " << bytes.substr(0, 80);
    EXPECT_EQ(server.Problems(), "");
  }
  std::string none;
  EXPECT_EQ(Steps(1, {}, none), "Connect error #12029. A connection to the server could not be made.\r\n");
  EXPECT_EQ(OpenDescriptors(), descriptors);
}

}  // namespace
}  // namespace updater
