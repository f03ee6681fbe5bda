#include "text/ErrorLog.h"

#include <gtest/gtest.h>

#include "fakes/FakeDesktop.h"
#include "fakes/FakeSystem.h"
#include "text/ErrorReporter.h"

namespace updater {
namespace {

struct Log : ::testing::Test {
  std::string& Text() { return system.files["/opt/app/orlenza.err"]; }
  test::FakeSystem system;
  ErrorLog log{system, system, system, system};
};

TEST_F(Log, RecordsHaveTenLinesWithSignedNumberFieldsAndAppend) {
  Text() = "earlier\r\n";
  log.WriteErrorLog(13, -5, "Runtime Error in sprintf");
  log.WriteErrorLog(0, 0, "ERROR: two");
  EXPECT_EQ(Text(),
            "earlier\r\n"
            "\r\n***** Error appeared at 12/06/26 10:11:12\r\nWinVer=6.1.0 Debian GNU/Linux 12 (bookworm)\r\n"
            "Module=updater\r\nVersion = 1.0.19\r\nmessage = Runtime Error in sprintf\r\nerror # =  13 \r\n"
            "error descr = Type mismatch\r\nerror line = -5 \r\n\r\n"
            "\r\n***** Error appeared at 12/06/26 10:11:12\r\nWinVer=6.1.0 Debian GNU/Linux 12 (bookworm)\r\n"
            "Module=updater\r\nVersion = 1.0.19\r\nmessage = ERROR: two\r\nerror # =  0 \r\n"
            "error descr = \r\nerror line =  0 \r\n\r\n");
}

TEST_F(Log, UnwritableLogLosesTheRecordSilently) {
  system.readOnly = "/opt/app/";
  EXPECT_NO_THROW(log.WriteErrorLog(5, 1, "lost"));
  EXPECT_EQ(system.files.count("/opt/app/orlenza.err"), 0u);
}

TEST_F(Log, VersionTextCoversEveryAnswerOfTheSystem) {
  system.release = std::string(1, '\0');
  EXPECT_EQ(log.GetWinVersion(), "6.1.0 ");
  system.release = std::string(128, 'x');  // no terminator
  EXPECT_EQ(log.GetWinVersion().rfind("Unknow. ErrorNum=9 at line #", 0), 0u);
  system.versionKnown = false;
  EXPECT_EQ(log.GetWinVersion(), "unknow");
}

TEST_F(Log, ReportersShowTheirBoxBeforeWritingTheRecord) {
  test::FakeDesktop box;
  box.on = [&](const std::string&) { EXPECT_EQ(Text(), ""); };
  ErrorReporter reporter(box, log);
  reporter.ShowError("Rintime Error in Form_Load", Fault(53, 40));
  box.on = nullptr;
  reporter.ReportRuntimeError(326, 17, "Runtime Error in LoadLocalString");
  ASSERT_EQ(box.boxes.size(), 2u);
  EXPECT_EQ(box.boxes[0].prompt + "|" + std::to_string(box.boxes[0].style), "Runtime error.|0");
  EXPECT_EQ(box.boxes[1].prompt + "|" + std::to_string(box.boxes[1].style),
            "Runtime error. Please contact to the Author for problem solving.|16");
  EXPECT_NE(Text().find("error # =  53 \r\nerror descr = File not found\r\nerror line =  40 "), std::string::npos);
  EXPECT_NE(Text().find("error # =  326 \r\nerror descr = Resource with identifier not found\r\n"), std::string::npos);
}

}  // namespace
}  // namespace updater
