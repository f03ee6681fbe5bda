#include <gtest/gtest.h>

#include <system_error>

#include "updater/FormHarness.h"
#include "updater/RunProgram.h"

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
    EXPECT_TRUE(h.desktop.sent.empty() && h.internet.calls.empty());
    EXPECT_EQ(h.desktop.calls["Quit"], 1);
  }
}

TEST(Startup, MenuIsLocalisedAndTheIconShownWithItsOwnerAndCallback) {
  FormHarness h;
  h.Load("ftp://nowhere/setup.exe 2048 2000");
  EXPECT_EQ(h.desktop.captions[MenuCommand::Pause], "&Pause");
  EXPECT_EQ(h.desktop.captions[MenuCommand::Continue], "&Weiter");
  EXPECT_EQ(h.desktop.captions[MenuCommand::Cancel], "Download &abbrechen");
  EXPECT_EQ(h.desktop.calls["Hide"], 1);
  const auto& [message, record] = h.desktop.sent.at(0);
  EXPECT_EQ(message, nid::NIM_ADD);
  EXPECT_EQ(test::U32(record, 4), 0x4711u);  // owner window
  EXPECT_EQ(test::U32(record, 16), 512u);    // callback message
}

// Language 0 is the desktop's; Arabic and Hebrew lay out the menu and the retry question right to left.
TEST(Startup, LanguageZeroIsTheDesktopsAndArabicAndHebrewReadRightToLeft) {
  const std::tuple<const char*, std::vector<std::string>, const char*, bool> cases[] = {
      {"0", {"fr_FR.UTF-8"}, "&Annuler le téléchargement", false},
      {"0", {}, "&Cancel download", false},
      {"0", {"he_IL"}, "&ביטול ההורדה", true},
      {"24000", {"de_DE"}, "&إلغاء التنزيل", true},
  };
  for (const auto& [language, desktop, cancel, rightToLeft] : cases) {
    FormHarness h;
    h.system.languages = desktop;
    h.Load(std::string("ftp://nowhere/setup.exe 2048 ") + language).Click(test::kLeftUp);
    EXPECT_EQ(h.desktop.captions[MenuCommand::Cancel], cancel);
    EXPECT_EQ(h.desktop.menuRightToLeft, rightToLeft) << language;
    ASSERT_EQ(h.desktop.boxes.size(), 1u) << language;
    EXPECT_EQ(h.desktop.boxes[0].style, msgbox::kYesNo | (rightToLeft ? msgbox::kRight | msgbox::kRtlReading : 0));
  }
}

TEST(Startup, UnknownLanguageReportsEachMissingText) {
  FormHarness h;
  h.system.files["/opt/app/update.cfg"] = "\r\n";  // an empty product name
  h.Load("host/setup.exe 2048 3");
  int reports = 0;
  for (const auto& box : h.desktop.boxes) reports += box.style == msgbox::kCritical;
  EXPECT_EQ(reports, 3 + 1 + 3);  // the captions, the reason, the failure tooltip, balloon text and title
  EXPECT_EQ(h.desktop.captions[MenuCommand::Pause], "");
  EXPECT_NE(h.Log().find("message = Runtime Error in LoadLocalString\r\nerror # =  326 "), std::string::npos);
}

// A fault in each trapped procedure of the form is reported under that procedure's own name (the
// form's event procedures keep their "Rintime" spelling) with the fault's number, and the program goes on.
TEST(Startup, EachFormProcedureReportsItsFaultUnderItsOwnName) {
  const std::tuple<const char*, const char*, const char*, int, bool> cases[] = {
      // update.cfg, command line, call that faults (its nth time), n, then cancel from the menu
      {nullptr, "ftp://h/f.exe 100 1000", "", 0, false},  // no update.cfg: 53
      {"", "ftp://h/f.exe 100 1000", "", 0, false},
      {"App", "ftp://h/f.exe 3000000000 1000", "", 0, false},
      {"App", "ftp://h/f.exe 100 40000", "", 0, false},
      {"App", "ftp://host/setup.exe 100 1000", "SetCaption", 1, false},
      {"App", "ftp://host/setup.exe 100 1000", "SetEnabled", 1, false},
      {"App", "ftp://host/setup.exe 100 1000", "Notify2", 1, false},
      {"App", "ftp://h/setup.exe 100 1000", "SetEnabled", 4, true},
  };
  const char* expected[] = {"Rintime Error in Form_Load\r\nerror # =  53 ", "Rintime Error in Form_Load\r\nerror # =  62 ",
                            "Rintime Error in Form_Load\r\nerror # =  6 ", "Rintime Error in Form_Load\r\nerror # =  6 ",
                            "Runtime Error in LocalizeGUI\r\nerror # =  5 ", "Rintime Error in StartDownload\r\nerror # =  5 ",
                            "Rintime Error in Form_Unload\r\nerror # =  5 ", "Rintime Error in mPopCancel_Click\r\nerror # =  5 "};
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const auto& [config, commandLine, call, n, cancel] = cases[i];
    FormHarness h;
    h.system.files.erase("/opt/app/update.cfg");
    if (config) h.system.files["/opt/app/update.cfg"] = config;
    h.At(call, n, [] { RaiseFault(FaultNumber::InvalidProcedureCall); });
    h.Load(commandLine, 100);
    if (cancel) h.Choose(MenuCommand::Cancel);
    ASSERT_EQ(h.desktop.boxes.size(), 1u) << i;
    EXPECT_NE(h.Log().find(std::string("message = ") + expected[i]), std::string::npos) << i << h.Log();
  }
}

// The form's window, menu or frames that cannot be made (no window station, no display) end the
// program with a reported fault, not unseen.
TEST(Startup, DesktopThatCannotBeMadeIsAReportedFaultOfLoading) {
  FormHarness h;
  const PlatformServices platform{h.system,   h.system,   h.localFiles,         h.system, h.system,
                                  h.desktop,  h.internet, h.publisherSignature, h.desktop};
  EXPECT_EQ(RunProgram(platform, []() -> std::unique_ptr<IDesktop> {
              throw std::system_error(std::make_error_code(std::errc::not_enough_memory), "CreateWindowExW");
            }),
            0);
  ASSERT_EQ(h.desktop.boxes.size(), 1u);
  EXPECT_EQ(h.desktop.boxes[0].prompt, "Runtime error.");
  EXPECT_NE(h.Log().find("\r\nmessage = Rintime Error in Form_Load\r\nerror # =  7 "), std::string::npos) << h.Log();
}

}  // namespace
}  // namespace updater
