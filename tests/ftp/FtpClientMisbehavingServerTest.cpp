// The FTP client against a scripted server that misbehaves on purpose: what the client reports,
// and which commands it sent.

#include <gtest/gtest.h>

#include <filesystem>

#include "FtpClientTestSupport.h"
#include "ScriptedFtpServer.h"

namespace updater {
namespace {

using test::ScriptedPeer;
using Commands = std::vector<std::string>;
using std::chrono::milliseconds;

const std::string kRefused = " error #12003. The server refused the request.\r\n     FTP response:\r\n     ";
const Commands kUpToRetr = {"USER anonymous", "PASS anonymous@", "TYPE I", "EPSV", "RETR f"};

Commands Then(Commands commands, const Commands& more) {
  commands.insert(commands.end(), more.begin(), more.end());
  return commands;
}

// Greeting, login, TYPE, EPSV and RETR answered with preliminary; the data connection accepted.
void UpToRetr(ScriptedPeer& p, const std::string& preliminary = "150 Here it comes", bool bytewise = false) {
  p.Send("220 Scripted server\r\n", bytewise);
  p.Answer("331 Password please", bytewise);
  p.Answer("230 Logged in", bytewise);
  p.Answer("200 Binary", bytewise);
  p.Answer(p.ExtendedPassiveReply(), bytewise);
  p.Answer(preliminary, bytewise);
  p.AcceptData();
}

// Data, end of data, then the final reply if one is given.
void Deliver(ScriptedPeer& p, const std::string& data, const std::string& final) {
  p.SendData(data);
  p.CloseData();
  if (!final.empty()) p.Send(final + "\r\n");
  p.Finish();
}

struct Case {
  const char* behaviour;
  test::ScriptedFtpServer::Script script;
  std::string bytes;
  std::string failure;
  Commands commands;
  milliseconds timeout{5000};  // reply, data and closing time-out
  std::string path = "f";
};

const std::vector<Case> kCases = {
    {"a path with a line break is refused before it is sent",
     [](ScriptedPeer& p) { p.Send("220 Hi\r\n"), p.Answer("230 In"), p.Finish(); },
     "", "FtpOpenFile error #87. The parameter is incorrect.\r\n", {"USER anonymous", "QUIT"}, milliseconds(5000),
     "f\r\nDELE g"},
    {"greeting 421: nothing is sent",
     [](ScriptedPeer& p) { p.Send("421 Too many users\r\n"), p.Finish(); },
     "", "Connect" + kRefused + "421 Too many users", {}},
    {"login refused",
     [](ScriptedPeer& p) { p.Send("220 Hi\r\n"), p.Answer("331 Password"), p.Answer("530 Login incorrect."), p.Finish(); },
     "", "Connect" + kRefused + "530 Login incorrect.", {"USER anonymous", "PASS anonymous@"}},
    {"multi-line replies, bare LF, 230 without PASS, missing file, control characters in the response",
     [](ScriptedPeer& p) {
       p.Send("220-Welcome\n220-to the\r\n220 server\r\n"), p.Answer("230 No password needed"), p.Answer("200 Binary"),
           p.Answer(p.ExtendedPassiveReply()), p.Answer("550-No such\x1b[1m file\x07\r\n550 Try\ranother"), p.Finish();
     },
     "", "FtpOpenFile" + kRefused + "550-No such?[1m file?\r\n     550 Try?another",
     {"USER anonymous", "TYPE I", "EPSV", "RETR f", "QUIT"}},
    {"EPSV refused, PASV naming another host: data goes to the server's address",
     [](ScriptedPeer& p) {
       p.Send("220 Hi\r\n"), p.Answer("230 In"), p.Answer("200 Binary"), p.Answer("502 EPSV not implemented"),
           p.Answer(p.PassiveReply("127,0,0,2")), p.Answer("125 Transfer starting"), p.AcceptData(),
           Deliver(p, "hello", "226 Done");
     },
     "hello", "", {"USER anonymous", "TYPE I", "EPSV", "PASV", "RETR f", "QUIT"}},
    {"replies one byte at a time",
     [](ScriptedPeer& p) { UpToRetr(p, "150 Slowly", true), Deliver(p, "slow", "226 Done"); },
     "slow", "", Then(kUpToRetr, {"QUIT"})},
    {"preliminary and final reply in one packet before the data",
     [](ScriptedPeer& p) { UpToRetr(p, "150 Here\r\n226 Done already"), Deliver(p, std::string(5000, 'x'), ""); },
     std::string(5000, 'x'), "", Then(kUpToRetr, {"QUIT"})},
    {"426 after all data fails the read",
     [](ScriptedPeer& p) { UpToRetr(p), Deliver(p, "partial", "426 Connection closed; transfer aborted."); },
     "partial", "InternetReadFile" + kRefused + "426 Connection closed; transfer aborted.", Then(kUpToRetr, {"QUIT"})},
    {"control connection closed mid-transfer",
     [](ScriptedPeer& p) { UpToRetr(p), p.SendData("part"), p.CloseControl(), p.CloseData(); },
     "part", "InternetReadFile error #12030. The connection to the server was closed.\r\n", kUpToRetr},
    {"data connection reset: the transfer is aborted",
     [](ScriptedPeer& p) { UpToRetr(p), p.CloseData(true), p.Finish(); },
     "", "InternetReadFile error #12031. The connection to the server was reset.\r\n", Then(kUpToRetr, {"ABOR", "QUIT"})},
    {"stalled data connection times out; the unanswered abort drops the session",
     [](ScriptedPeer& p) { UpToRetr(p), p.Finish(true); },
     "", "InternetReadFile error #12002. The server did not answer in time.\r\n", Then(kUpToRetr, {"ABOR"}),
     milliseconds(200)},
    {"missing final reply times out",
     [](ScriptedPeer& p) { UpToRetr(p), p.SendData("all"), p.CloseData(), p.Finish(true); },
     "all", "InternetReadFile error #12002. The server did not answer in time.\r\n", kUpToRetr, milliseconds(400)},
    {"missing greeting times out",
     [](ScriptedPeer& p) { p.Finish(true); },
     "", "Connect error #12002. The server did not answer in time.\r\n", {}, milliseconds(200)},
    {"over-long reply line",
     [](ScriptedPeer& p) { p.Send("220 " + std::string(5000, 'x') + "\r\n"), p.Finish(); },
     "", "Connect error #12152. The server's reply could not be understood.\r\n", {}},
    {"endless multi-line reply",
     [](ScriptedPeer& p) {
       std::string endless;
       for (int i = 0; i < 200; ++i) endless += "220-more\r\n";
       p.Send(endless), p.Finish();  // in one piece: the client stops reading half-way
     },
     "", "Connect error #12152. The server's reply could not be understood.\r\n", {}},
};

std::ptrdiff_t OpenDescriptors() {
  return std::distance(std::filesystem::directory_iterator("/proc/self/fd"), {});
}

TEST(MisbehavingFtpServer, FailuresAreReportedCommandsStayInOrderAndNothingLeaks) {
  const std::ptrdiff_t descriptors = OpenDescriptors();
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.behaviour);
    {
      test::ScriptedFtpServer server(c.script);
      FtpInternet internet({server.Port(), milliseconds(5000), c.timeout, c.timeout, c.timeout});
      const test::Download download = test::DownloadInBlocks(internet, c.path);
      EXPECT_EQ(download.failure, c.failure);
      EXPECT_EQ(download.bytes, c.bytes);
      EXPECT_EQ(server.Commands(), c.commands);
    }
    EXPECT_EQ(OpenDescriptors(), descriptors);
  }
}

TEST(MisbehavingFtpServer, LongReplyIsKeptWithinTheCallersBuffer) {
  const std::string line = "550-" + std::string(96, 'y') + "\r\n";
  std::string reply;
  for (int i = 0; i < 40; ++i) reply += line;
  test::ScriptedFtpServer server([&](ScriptedPeer& p) { p.Send("220 Hi\r\n"), p.Answer(reply + "550 No"), p.Finish(); });
  FtpInternet internet(test::LoopbackSettings(server.Port()));
  const HINTERNET session = internet.InternetOpen(kAgentName, 0, nullptr, nullptr, 0);
  EXPECT_EQ(internet.InternetConnect(session, "127.0.0.1", 0, "", "", 1, 0, 0), 0u);
  EXPECT_EQ(internet.GetLastError(), inet::ERROR_INTERNET_EXTENDED_ERROR);
  std::array<char, 2048> text{};
  std::uint32_t code = 0;
  std::uint32_t length = 2047;
  EXPECT_FALSE(internet.InternetGetLastResponseInfo(&code, text.data(), &length));
  length = 2048;
  EXPECT_TRUE(internet.InternetGetLastResponseInfo(&code, text.data(), &length));
  EXPECT_EQ(length, 2047u);
  EXPECT_EQ(code, 550u);
  EXPECT_EQ(std::string(text.data()), (reply + "550 No").substr(0, 2047));
}

}  // namespace
}  // namespace updater
