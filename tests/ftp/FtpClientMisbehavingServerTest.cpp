// The FTP client against a scripted server that misbehaves on purpose.

#include <gtest/gtest.h>

#include <filesystem>

#include "LoopbackFtp.h"

namespace updater {
namespace {

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
  std::vector<std::string> paths = {"f"};
  std::string host = "127.0.0.1";
};

const Case kCases[] = {
    {"a path with a line break or a NUL is refused unsent", Join({kLogin, kQuit}), "",
     "FtpOpenFile error #87. The parameter is incorrect.\r\n", 5s, {"f\r\nDELE g"}},
    {"", Join({kLogin, kQuit}), "", "FtpOpenFile error #87. The parameter is incorrect.\r\n", 5s,
     {std::string("f\0DELE g", 8)}},
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
    {"endless multi-line reply", {">220-more" + std::string(200, '\n')}, "", kBadReply},
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
    {"missing final reply times out", Join({kRetr, {"+all", "-"}}), "all", "InternetReadFile" + kTimeout, 200ms},
};

std::ptrdiff_t OpenDescriptors() { return std::distance(std::filesystem::directory_iterator("/proc/self/fd"), {}); }

TEST(MisbehavingFtpServer, FailuresAreReportedCommandsFollowTheTranscriptAndNothingLeaks) {
  const std::ptrdiff_t descriptors = OpenDescriptors();
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.behaviour + c.paths[0]);
    test::ScriptedFtpServer server(c.transcript, c.host.starts_with('['));
    FtpInternet internet({server.Port(), 5s, c.timeout, c.timeout, c.timeout});
    std::string bytes;
    EXPECT_EQ(test::DownloadInBlocks(internet, c.paths, bytes, c.host), c.failure);
    EXPECT_TRUE(bytes == c.bytes) << bytes.size() << " bytes: " << bytes.substr(0, 80);
    EXPECT_EQ(server.Problems(), "");
  }
  EXPECT_EQ(OpenDescriptors(), descriptors);
}

TEST(MisbehavingFtpServer, UploadThenAnAbandonedReadThenDeletionsEachGetTheirOwnReply) {
  test::ScriptedFtpServer server(Join({kPassive, {"STOR up>150 Go", "<hello", ">226 Stored", "TYPE I>200 Binary",
                                                  "EPSV>229 (|||{port}|)", "RETR up>150 Here", "+" + kY + kY,
                                                  "ABOR>426 Aborted\r\n226 Abort done", "DELE up>250 Deleted",
                                                  "DELE up>550 No such file or directory."}, kQuit}));
  {
    FtpInternet internet({server.Port(), 5s, 5s, 5s, 5s});
    test::RecordingReporters reporters;
    auto ftp = std::make_shared<CFTPServer>(internet, reporters);
    ASSERT_TRUE(ftp->Connect("127.0.0.1", "", ""));
    CFTPFile file(internet, reporters);
    file.FTPServer(ftp);
    ASSERT_TRUE(file.OpenRemote("up", inet::GENERIC_WRITE, inet::FTP_TRANSFER_TYPE_BINARY));
    EXPECT_EQ(file.WriteRemote(std::span(reinterpret_cast<const std::uint8_t*>("hello"), 5), 5), 5);
    file.CloseRemote();
    std::array<std::uint8_t, 1024> block{};
    ASSERT_TRUE(file.OpenRemote("up", inet::GENERIC_READ, inet::FTP_TRANSFER_TYPE_BINARY)) << file.LastError();
    EXPECT_EQ(file.ReadRemote(block, 1024), 1024);
    file.CloseRemote();  // ABOR: both its replies must be read, or the deletions get stale ones
    EXPECT_TRUE(ftp->DeleteRemoteFile("up"));
    EXPECT_FALSE(ftp->DeleteRemoteFile("up"));
    EXPECT_EQ(ftp->LastError(), "FtpDeleteFile" + kRefused + "550 No such file or directory.");
  }
  EXPECT_EQ(server.Problems(), "");
}

}  // namespace
}  // namespace updater
