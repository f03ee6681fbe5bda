#include "text/ErrorLog.h"

#include <gtest/gtest.h>

#include "fakes/FakeSystem.h"
#include "fakes/RecordingReporters.h"
#include "platform/MessageBox.h"
#include "text/ErrorReporter.h"

namespace updater {
namespace {

constexpr const char* kLogPath = "/opt/app/orlenza.err";

class RecordingMessageBox : public IMessageBox {
 public:
  std::int32_t MsgBox(const std::string& prompt, std::int32_t style, const std::string& title) override {
    shown.push_back(title + "|" + std::to_string(style) + "|" + prompt);
    return msgbox::kAnswerOk;
  }
  std::vector<std::string> shown;
};

struct LogFixture : ::testing::Test {
  test::MemoryTextFiles files;
  test::FakeProgramInfo program;
  test::FakeClock clock;
  test::FakeSystemVersion system;
  ErrorLog log{files, program, clock, system};
};

TEST_F(LogFixture, RecordHasTenLinesWithSignedNumberFields) {
  log.WriteErrorLog(13, -5, "Runtime Error in sprintf");
  EXPECT_EQ(files.files[kLogPath],
            "\r\n"
            "***** Error appeared at 12/06/26 10:11:12\r\n"
            "WinVer=6.1.0 Debian GNU/Linux 12 (bookworm)\r\n"
            "Module=updater\r\n"
            "Version = 1.0.19\r\n"
            "message = Runtime Error in sprintf\r\n"
            "error # =  13 \r\n"
            "error descr = Type mismatch\r\n"
            "error line = -5 \r\n"
            "\r\n");
}

TEST_F(LogFixture, RecordsAppendAndNumberZeroHasNoDescription) {
  files.files[kLogPath] = "earlier\r\n";
  log.WriteErrorLog(0, 0, "ERROR: one");
  log.WriteErrorLog(-2147467259, 7, "two");
  const std::string& text = files.files[kLogPath];
  EXPECT_EQ(text.rfind("earlier\r\n\r\n***** Error", 0), 0u);
  EXPECT_NE(text.find("error # =  0 \r\nerror descr = \r\nerror line =  0 \r\n\r\n\r\n***** Error"), std::string::npos);
  EXPECT_NE(text.find("error # = -2147467259 \r\nerror descr = Application-defined or object-defined error\r\n"),
            std::string::npos);
}

TEST_F(LogFixture, UnwritableLogLosesTheRecordSilently) {
  files.readOnlyFolder = "/opt/app/";
  EXPECT_NO_THROW(log.WriteErrorLog(5, 1, "lost"));
  EXPECT_EQ(files.files.count(kLogPath), 0u);
}

TEST_F(LogFixture, VersionTextCoversEveryAnswerOfTheSystem) {
  EXPECT_EQ(log.GetWinVersion(), "6.1.0 Debian GNU/Linux 12 (bookworm)");
  system.reply.csdVersion.fill('\0');
  EXPECT_EQ(log.GetWinVersion(), "6.1.0 ");
  system.reply.csdVersion.fill('x');  // no terminator
  EXPECT_EQ(log.GetWinVersion().rfind("Unknow. ErrorNum=9 at line #", 0), 0u);
  system.answers = false;
  EXPECT_EQ(log.GetWinVersion(), "unknow");
}

TEST_F(LogFixture, ReportersShowTheirBoxBeforeWritingTheRecord) {
  RecordingMessageBox box;
  ErrorReporter reporter(box, log);
  reporter.ShowError("Command line syntax error.", Fault(0, 0));
  reporter.ReportRuntimeError(326, 17, "Runtime Error in LoadLocalString");
  ASSERT_EQ(box.shown.size(), 2u);
  EXPECT_EQ(box.shown[0], "Updater|0|Runtime error.");
  EXPECT_EQ(box.shown[1], "Updater|16|Runtime error. Please contact to the Author for problem solving.");
  const std::string& text = files.files[kLogPath];
  EXPECT_NE(text.find("message = Command line syntax error.\r\nerror # =  0 \r\nerror descr = \r\nerror line =  0 "),
            std::string::npos);
  EXPECT_NE(text.find("message = Runtime Error in LoadLocalString\r\nerror # =  326 \r\n"
                      "error descr = Resource with identifier not found\r\nerror line =  17 "),
            std::string::npos);
}

}  // namespace
}  // namespace updater
