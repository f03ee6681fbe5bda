#include <gtest/gtest.h>

#include "updater/FormHarness.h"

namespace updater {
namespace {

using test::FormHarness;

TEST(Startup, RejectedCommandLineIsReportedAndEndsWithoutAnIcon) {
  for (const char* commandLine : {"", "ftp://h/f.exe 100", "ftp://h/f.exe\t100 1000", "ftp://h/f.exe 0 1000"}) {
    FormHarness h;
    h.Load(commandLine);
    ASSERT_EQ(h.desktop.boxes.size(), 1u) << commandLine;
    EXPECT_EQ(h.desktop.boxes[0].prompt + "|" + h.desktop.boxes[0].title, "Runtime error.|Updater");
    EXPECT_NE(h.Log().find("\r\nmessage = Command line syntax error.\r\nerror # =  0 \r\nerror descr = \r\n"
                           "error line =  0 \r\n\r\n"),
              std::string::npos);
    EXPECT_EQ(h.Requests(nid::NIM_ADD), 0);
    EXPECT_TRUE(h.internet.calls.empty());
    EXPECT_EQ(h.desktop.quitCalls, 1);
  }
}

TEST(Startup, FaultsInStartUpEndTheProgramAfterOneReport) {
  const std::tuple<const char*, const char*, int> cases[] = {
      {nullptr, "ftp://h/f.exe 100 1000", 53},  // no update.cfg
      {"", "ftp://h/f.exe 100 1000", 62},
      {"App", "ftp://h/f.exe 3000000000 1000", 6},
      {"App", "ftp://h/f.exe 100 40000", 6},
  };
  for (const auto& [config, commandLine, fault] : cases) {
    FormHarness h;
    h.system.files.erase("/opt/app/update.cfg");
    if (config) h.system.files["/opt/app/update.cfg"] = config;
    h.Load(commandLine);
    ASSERT_EQ(h.desktop.boxes.size(), 1u) << commandLine;
    EXPECT_NE(h.Log().find("message = Rintime Error in Form_Load\r\nerror # =  " + std::to_string(fault) + " "),
              std::string::npos);
    EXPECT_EQ(h.Requests(nid::NIM_ADD), 0);
    EXPECT_TRUE(h.form.Unloaded());
  }
}

TEST(Startup, MenuIsLocalisedAndTheIconShownWithItsOwnerAndCallback) {
  FormHarness h;
  h.Load("ftp://nowhere/setup.exe 2048 2000");
  EXPECT_EQ(h.desktop.captions[MenuCommand::Pause], "&Pause");
  EXPECT_EQ(h.desktop.captions[MenuCommand::Continue], "&Weiter");
  EXPECT_EQ(h.desktop.captions[MenuCommand::Cancel], "Download &abbrechen");
  EXPECT_TRUE(h.desktop.hidden);
  const auto& add = h.desktop.notifications.at(0);
  EXPECT_EQ(add.message, nid::NIM_ADD);
  EXPECT_EQ(nid::ReadU32(add.record, nid::kHwnd), 0x4711u);
  EXPECT_EQ(nid::ReadU32(add.record, nid::kCallbackMessage), 512u);
}

TEST(Startup, UnknownLanguageReportsEachMissingText) {
  FormHarness h;
  h.system.files["/opt/app/update.cfg"] = "\r\n";  // an empty product name
  h.Load("host/setup.exe 2048 3000");
  int reports = 0;
  for (const auto& box : h.desktop.boxes) reports += box.style == msgbox::kCritical;
  EXPECT_EQ(reports, 3 + 1 + 3);  // the captions, the reason, the failure tooltip, balloon text and title
  EXPECT_EQ(h.desktop.captions[MenuCommand::Pause], "");
  EXPECT_NE(h.Log().find("message = Runtime Error in LoadLocalString\r\nerror # =  326 "), std::string::npos);
}

}  // namespace
}  // namespace updater
