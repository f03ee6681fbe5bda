#include <gtest/gtest.h>

#include "updater/FormHarness.h"

namespace updater {
namespace {

using test::FormHarness;

TEST(Startup, RejectedCommandLineIsReportedAndEndsWithoutAnIcon) {
  for (const char* commandLine : {"", "ftp://h/f.exe 100", "ftp://h/f.exe\t100 1000", "ftp://h/f.exe 0 1000",
                                  " ftp://h/f.exe 100 1000"}) {
    FormHarness h;
    h.Load(commandLine);
    ASSERT_EQ(h.desktop.boxes.size(), 1u) << commandLine;
    EXPECT_EQ(h.desktop.boxes[0].prompt, "Runtime error.");
    EXPECT_EQ(h.desktop.boxes[0].title, "Updater");
    EXPECT_EQ(h.desktop.boxes[0].style, 0);
    EXPECT_NE(h.Log().find("\r\nmessage = Command line syntax error.\r\nerror # =  0 \r\nerror descr = \r\n"
                           "error line =  0 \r\n\r\n"),
              std::string::npos);
    EXPECT_EQ(h.Requests(nid::NIM_ADD), 0) << commandLine;
    EXPECT_TRUE(h.internet.calls.empty());
    EXPECT_TRUE(h.form.Unloaded());
    EXPECT_EQ(h.desktop.quitCalls, 1);
  }
}

TEST(Startup, FaultsInStartUpEndTheProgramAfterOneReport) {
  struct Case {
    const char* config;  // nullptr: no update.cfg
    const char* commandLine;
    int fault;
  } cases[] = {
      {nullptr, "ftp://h/f.exe 100 1000", 53},
      {"", "ftp://h/f.exe 100 1000", 62},
      {"App", "ftp://h/f.exe 3000000000 1000", 6},
      {"App", "ftp://h/f.exe 100 40000", 6},
  };
  for (const Case& c : cases) {
    FormHarness h;
    if (c.config == nullptr)
      h.textFiles.files.erase("/opt/app/update.cfg");
    else
      h.textFiles.files["/opt/app/update.cfg"] = c.config;
    h.Load(c.commandLine);
    ASSERT_EQ(h.desktop.boxes.size(), 1u) << c.commandLine;
    EXPECT_EQ(h.desktop.boxes[0].prompt, "Runtime error.");
    EXPECT_NE(h.Log().find("message = Rintime Error in Form_Load\r\nerror # =  " + std::to_string(c.fault) + " "),
              std::string::npos)
        << h.Log();
    EXPECT_EQ(h.Requests(nid::NIM_ADD), 0);
    EXPECT_TRUE(h.form.Unloaded());
  }
}

TEST(Startup, ValidLineLocalisesTheMenuAndShowsTheIconWithItsOwnerAndCallback) {
  for (const auto& [language, pause, cont, cancel] :
       {std::tuple{"1000", "&Pause", "&Continue", "&Cancel download"},
        std::tuple{"2000", "&Pause", "&Weiter", "Download &abbrechen"}}) {
    FormHarness h;
    h.Load(std::string("ftp://nowhere/setup.exe 2048 ") + language);
    EXPECT_EQ(h.desktop.captions[MenuCommand::Pause], pause);
    EXPECT_EQ(h.desktop.captions[MenuCommand::Continue], cont);
    EXPECT_EQ(h.desktop.captions[MenuCommand::Cancel], cancel);
    EXPECT_TRUE(h.desktop.hidden);
    ASSERT_GE(h.desktop.notifications.size(), 2u);
    const auto& add = h.desktop.notifications[0];
    EXPECT_EQ(add.message, nid::NIM_ADD);
    EXPECT_EQ(nid::ReadU32(add.record, nid::kHwnd), 0x4711u);
    EXPECT_EQ(nid::ReadU32(add.record, nid::kCallbackMessage), 512u);
    EXPECT_EQ(h.desktop.notifications[1].message, nid::NIM_SETVERSION);
  }
}

TEST(Startup, UnknownLanguageReportsEachMissingCaption) {
  FormHarness h;
  h.Load("host/setup.exe 2048 3000");
  int missing = 0;
  for (const auto& box : h.desktop.boxes)
    missing += box.prompt == "Runtime error. Please contact to the Author for problem solving." && box.style == 16;
  EXPECT_GE(missing, 3);
  EXPECT_EQ(h.desktop.captions[MenuCommand::Pause], "");
  EXPECT_EQ(h.desktop.captions[MenuCommand::Cancel], "");
  EXPECT_NE(h.Log().find("message = Runtime Error in LoadLocalString\r\nerror # =  326 "), std::string::npos);
}

TEST(Startup, EmptyProductNameLeavesTheTitleStartingWithTheBlank) {
  FormHarness h;
  h.textFiles.files["/opt/app/update.cfg"] = "\r\n";
  h.Load("host/setup.exe 2048 1000");
  ASSERT_FALSE(h.BalloonTitles().empty());
  EXPECT_EQ(h.BalloonTitles().back(), " Updater");
}

}  // namespace
}  // namespace updater
