// The FTP client: the parts that need no server, then against a server of the tests' own that follows a
// transcript and misbehaves on purpose.

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

#include <array>
#include <filesystem>
#include <future>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "fakes/RecordingReporters.h"
#include "ftp/CFTPFile.h"
#include "ftp/CFTPServer.h"
#include "platform/linux/FileDescriptor.h"
#include "platform/linux/ftp/FtpInternet.h"
#include "platform/linux/ftp/LastCallRecord.h"
#include "platform/linux/ftp/PassiveReply.h"

namespace updater {
namespace {

TEST(PassiveReplies, PortIsReadOnlyFromWellFormedReplies) {
  using Cases = std::vector<std::pair<const char*, std::optional<std::uint16_t>>>;
  const Cases extended = {{"229 ok (!!!21!)", 21}, {"229 (|||0|)", {}}, {"229 (|||70000|)", {}}, {"229 (||6446|)", {}},
                          {"229 (|||6446)", {}}, {"229 (|||", {}}};
  for (const auto& [reply, port] : extended) EXPECT_EQ(ExtendedPassivePort(reply), port) << reply;
  const Cases classic = {{"227 =10,1,2,3,200,7", 51207}, {"227 Passive Mode v2 127,0,0,1,4,1", 1025},
                         {"227 (127,0,0,1,4)", {}}, {"227 (127,0,0,1,256,1)", {}}, {"227 (1,2,3,4,0,0)", {}}};
  for (const auto& [reply, port] : classic) EXPECT_EQ(PassivePort(reply), port) << reply;
}

TEST(InternetMessages, MessageAndLastResponseMustFitWholeWithTheirTerminator) {
  FtpInternet internet;
  std::array<char, 256> text{};
  const std::uint32_t timeout = sizeof("The server did not answer in time.\r\n") - 1;
  EXPECT_EQ(internet.FormatMessage(inet::ERROR_INTERNET_TIMEOUT, text.data(), timeout + 1), timeout);
  EXPECT_EQ(internet.FormatMessage(inet::ERROR_INTERNET_TIMEOUT, text.data(), timeout), 0u);
  EXPECT_EQ(internet.FormatMessage(12001, text.data(), 256), 0u);

  SetLastResponse({230, "230 In"});
  std::uint32_t code = 0, length = 6;  // the response within text's first 7 characters, or nothing
  EXPECT_FALSE(CopyLastResponse(&code, text.data(), &length));
  length = 7;
  ASSERT_TRUE(CopyLastResponse(&code, text.data(), &length));
  EXPECT_EQ(std::string(text.data()) + " " + std::to_string(length) + " " + std::to_string(code), "230 In 6 230");
}

// A socket listening on 127.0.0.1 (or ::1) at a port of the system's choice, which goes to port.
// Accepting and receiving wait at most 5 s; its connections send each write as a packet of its own.
FileDescriptor ListenOnLoopback(std::uint16_t& port, bool ipv6) {
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

// Connects anonymously to host and takes each step in turn on that one connection: "path" reads the file into
// bytes in blocks of 1024 bytes as the download driver does, "~path" reads one block and gives up, ">path"
// uploads "hello", "-path" deletes the file. Returns the LastError text of the step that failed, or empty.
std::string Steps(IInternet& internet, const std::vector<std::string>& steps, std::string& bytes,
                  const std::string& host) {
  test::RecordingReporters reporters;
  auto server = std::make_shared<CFTPServer>(internet, reporters);
  if (!server->Connect(host, "", "")) return server->LastError();
  for (const std::string& step : steps) {
    if (step[0] == '-' && !server->DeleteRemoteFile(step.substr(1))) return server->LastError();
    if (step[0] == '-') continue;
    CFTPFile file(internet, reporters);
    file.FTPServer(server);
    const bool upload = step[0] == '>', oneBlock = step[0] == '~';
    const auto access = upload ? inet::GENERIC_WRITE : inet::GENERIC_READ;
    if (!file.OpenRemote(step.substr(upload || oneBlock), access, inet::FTP_TRANSFER_TYPE_BINARY))
      return file.LastError();
    if (upload && file.WriteRemote(std::span(reinterpret_cast<const std::uint8_t*>("hello"), 5), 5) != 5)
      return "short write " + file.LastError();
    std::array<std::uint8_t, 1024> block{};
    std::int32_t blocks = upload ? 0 : oneBlock ? 1 : INT32_MAX;
    for (std::int32_t n; blocks-- > 0 && (n = file.ReadRemote(block, 1024)) > 0;)
      bytes.append(block.data(), block.data() + n);
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

using Transcript = std::vector<std::string>;
using namespace std::chrono_literals;
using namespace std::string_literals;

Transcript Join(std::initializer_list<Transcript> parts) {
  Transcript joined;
  for (const Transcript& part : parts) joined.insert(joined.end(), part.begin(), part.end());
  return joined;
}
std::string Lines(int n, const char* line) {
  std::string lines;
  for (int i = 0; i < n; ++i) lines += line;
  return lines;
}

const std::string kRefused = " error #12003. The server refused the request.\r\n     FTP response:\r\n     ";
const std::string kTimeout = " error #12002. The server did not answer in time.\r\n";
const std::string kBadReply = "Connect error #12152. The server's reply could not be understood.\r\n";
const std::string kY(1000, 'y'), kLarge(300000, 'L');  // kLarge: more than the client reads at once
// Multi-line replies, one with a bare LF, and 230 without asking for a password.
const Transcript kLogin = {">220-Welcome\n220 Hi", "USER anonymous>230-Hello\r\n230 In"};
const Transcript kPassive = Join({kLogin, {"TYPE I>200 Binary", "EPSV>229 Extended (|||{port}|)"}});
const Transcript kRetr = Join({kPassive, {"RETR f>150 Here"}});
const Transcript kDone = {"+hello", "-", ">226 Done", "QUIT>221 Bye"};
const Transcript kQuit = {"QUIT>221 Bye"};

struct Case {
  const char* behaviour;
  Transcript transcript;
  std::string bytes;
  std::string failure;
  std::chrono::milliseconds timeout = 5s;  // replies, data and closing
  std::vector<std::string> steps = {"f"};
  std::string host = "127.0.0.1";
};

const Case kCases[] = {
    {"a path with a NUL is refused unsent", Join({kLogin, kQuit}), "",
     "FtpOpenFile error #87. The parameter is incorrect.\r\n", 5s, {std::string("f\0DELE g", 8)}},
    {"nothing listens", {}, "", "Connect error #12029. A connection to the server could not be made.\r\n", 5s, {"f"},
     "127.0.0.2"},
    {"greeting 421: nothing is sent", {">421 Too many users"}, "", "Connect" + kRefused + "421 Too many users"},
    {"120 greeting, then the real one", Join({{">120 Soon\r\n220 Hi", "USER anonymous>230 In", "TYPE I>200 Binary",
                                               "EPSV>229 (|||{port}|)", "RETR f>150 Here"}, kDone}), "hello", ""},
    {"inner line with another code, bare 'nnn-' and bare 'nnn' lines",
     Join({{">220-a\r\n230 not yet\r\n220-\r\n220", "USER anonymous>331-x\n331", "PASS anonymous@>230 In",
            "TYPE I>200 Binary", "EPSV>229 (|||{port}|)", "RETR f>150 Here"}, kDone}), "hello", ""},
    {"a reply of exactly 100 lines, a line of exactly 2000 characters",
     Join({{">220-a\r\n" + Lines(98, "x\r\n") + "220 b", "USER anonymous>230 " + std::string(1996, 'x'),
            "TYPE I>200 Binary", "EPSV>229 (|||{port}|)", "RETR f>150 Here"}, kDone}), "hello", ""},
    {"a reply of 101 lines", {">220-a\r\n" + Lines(99, "x\r\n") + "220 b"}, "", kBadReply},
    {"over-long reply line", {">220 " + std::string(1997, 'x')}, "", kBadReply},
    {"no reply code", {">2200 Hi"}, "", kBadReply},
    {"not an FTP server", {">HTTP/1.1 400 Bad Request\r\n"}, "", kBadReply},
    {"login refused", {">220 Hi", "USER anonymous>331 Password", "PASS anonymous@>530 Login incorrect."}, "",
     "Connect" + kRefused + "530 Login incorrect."},
    {"login unanswered", {">220 Hi", "USER anonymous"}, "", "Connect" + kTimeout, 200ms},
    {"missing file, control characters in the response",
     Join({kPassive, {"RETR f>550-No\x1b[1m\0 file\x07\x7f\r\n550 Try\ragain"s}, kQuit}), "",
     "FtpOpenFile" + kRefused + "550-No?[1m? file??\r\n     550 Try?again"},
    {"a long response is cut to the caller's 2048-character buffer",
     Join({kPassive, {"RETR f>550-" + kY + "\r\n" + kY + "\r\n" + kY + "\r\n550 No"}, kQuit}), "",
     "FtpOpenFile" + kRefused + "550-" + kY + "\r\n     " + kY + "\r\n     " + kY.substr(0, 39)},
    {"EPSV refused, PASV naming another host: data comes from the server's address, and the next transfer "
     "on the connection asks PASV at once",
     Join({kLogin, {"TYPE I>200 Binary", "EPSV>502 No", "PASV>227 (127,0,0,2,{port})", "RETR f>125 Go", "+hello", "-",
                    ">226 Done", "TYPE I>200 Binary", "PASV>227 =127,0,0,1,{port}", "RETR g>150 Go", "+again", "-",
                    ">226 Done"}, kQuit}), "helloagain", "", 5s, {"f", "g"}},
    {"an empty file from an IPv6 server", Join({kRetr, {"-", ">226 Done"}, kQuit}), "", "", 5s, {"f"}, "[::1]"},
    {"replies one byte at a time",
     Join({{"~220 Hi", "USER anonymous~331 Password", "PASS anonymous@~230 In", "TYPE I~200 Binary",
            "EPSV~229 (|||{port}|)", "RETR f~150 Slowly", "+slow", "-", "~226 Done"}, kQuit}), "slow", ""},
    {"preliminary and final reply in one packet before a large file",
     Join({kPassive, {"RETR f>150 Here\r\n226 Done", "+" + kLarge, "-"}, kQuit}), kLarge, ""},
    {"RETR answered at once with its final reply", Join({kPassive, {"RETR f>226 Done", "+early", "-"}, kQuit}), "early",
     "", 1s},
    {"RETR unanswered", Join({kPassive, {"RETR f"}}), "", "FtpOpenFile" + kTimeout, 200ms},
    {"426 after all data fails the read", Join({kRetr, {"+partial", "-", ">426 Aborted."}, kQuit}), "partial",
     "InternetReadFile" + kRefused + "426 Aborted."},
    {"control connection closed mid-transfer", Join({kRetr, {"+part", "x", "-"}}), "part",
     "InternetReadFile error #12030. The connection to the server was closed.\r\n"},
    {"data connection reset: the transfer is aborted", Join({kRetr, {"!", "ABOR>426 Aborted\r\n226 Done"}, kQuit}),
     "", "InternetReadFile error #12031. The connection to the server was reset.\r\n"},
    {"stalled data times out; the unanswered abort drops the session", Join({kRetr, {"ABOR"}}), "",
     "InternetReadFile" + kTimeout, 200ms},
    {"an upload, a read given up after a block (ABOR's two replies), deletions: each reads its own reply",
     Join({kPassive, {"STOR up>150 Go", "<hello", ">226 Stored", "TYPE I>200 Binary", "EPSV>229 (|||{port}|)",
                      "RETR up>150 Here", "+" + kY + kY, "ABOR>426 Aborted\r\n226 Abort done", "DELE up>250 Deleted",
                      "DELE up>550 No such file or directory."}, kQuit}), std::string(1024, 'y'),
     "FtpDeleteFile" + kRefused + "550 No such file or directory.", 5s, {">up", "~up", "-up", "-up"}},
    {"missing final reply times out", Join({kRetr, {"+all", "-"}}), "all", "InternetReadFile" + kTimeout, 200ms},
};

std::ptrdiff_t OpenDescriptors() { return std::distance(std::filesystem::directory_iterator("/proc/self/fd"), {}); }

TEST(MisbehavingFtpServer, FailuresAreReportedCommandsFollowTheTranscriptAndNothingLeaks) {
  const std::ptrdiff_t descriptors = OpenDescriptors();
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.behaviour);
    ScriptedFtpServer server(c.transcript, c.host.starts_with('['));
    FtpInternet internet({server.Port(), 5s, c.timeout, c.timeout, c.timeout});
    std::string bytes;
    EXPECT_EQ(Steps(internet, c.steps, bytes, c.host), c.failure);
    EXPECT_TRUE(bytes == c.bytes) << bytes.size() << " bytes: " << bytes.substr(0, 80);
    EXPECT_EQ(server.Problems(), "");
  }
  EXPECT_EQ(OpenDescriptors(), descriptors);
}

}  // namespace
}  // namespace updater
