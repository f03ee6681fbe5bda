// The program's facts, clock and version as Wine reports them, in a log record; the shell's open and
// the texts of the notification area.

#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <iterator>

#include "fakes/FakeDesktop.h"
#include "fakes/FakeSystem.h"
#include "platform/windows/WindowsLocaleClock.h"
#include "platform/windows/WindowsNotifyShell.h"
#include "platform/windows/WindowsProgramInfo.h"
#include "platform/windows/WindowsShellExecute.h"
#include "platform/windows/WindowsSystemVersion.h"
#include "platform/windows/WindowsTextFiles.h"
#include "text/ErrorLog.h"
#include "tray/CXPSysTrayIcon.h"

namespace updater {
namespace {

TEST(WindowsProgram, ArgumentTextIsWhatFollowsTheProgramName) {
  const std::pair<const char*, const char*> cases[] = {
      {"updater.exe ftp://h/s.exe 10 1000", "ftp://h/s.exe 10 1000"},
      {"\"C:\\Program Files\\App\\updater.exe\" ftp://h/s.exe  10 1000 ", "ftp://h/s.exe  10 1000 "},
      {"\"C:\\A B\\updater.exe\"ftp://h/s.exe 10 1000", "10 1000"},  // the name runs on to a blank
      {"C:\\A\"B C\"\\updater.exe\t \ta b", "a b"},
      {"updater.exe   ", ""},
  };
  for (const auto& [line, arguments] : cases) EXPECT_EQ(ArgumentText(line), arguments) << line;
}

TEST(WindowsProgram, LogRecordTellsTheSystemAndTheLocalesShortDate) {
  WindowsProgramInfo program;
  WindowsTextFiles text;
  WindowsLocaleClock clock;
  WindowsSystemVersion system;
  const std::string path = program.FileBesideProgram("orlenza.err");
  ::DeleteFileA(path.c_str());
  ErrorLog(text, program, clock, system).WriteErrorLog(0, 0, "ERROR: x");
  std::ifstream file(path, std::ios::binary);
  const std::string record{std::istreambuf_iterator<char>(file), {}};
  file.close();
  ::DeleteFileA(path.c_str());

  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = sizeof version;
  ASSERT_TRUE(::GetVersionExA(&version));
  const std::string winVer = std::to_string(version.dwMajorVersion) + "." + std::to_string(version.dwMinorVersion) +
                             "." + std::to_string(version.dwBuildNumber) + " " + version.szCSDVersion;
  EXPECT_NE(record.find("\r\nWinVer=" + winVer + "\r\nModule=windows_layer_tests\r\n"), std::string::npos) << record;
  // The date comes first, then the time unless it is midnight.
  char date[80];
  ASSERT_GT(::GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, date, sizeof date), 0);
  EXPECT_EQ(record.rfind(std::string("\r\n***** Error appeared at ") + date, 0), 0u) << record;
}

// Shell extensions that the file may reach need COM on the calling thread.
TEST(WindowsProgram, ShellOpensTheFileFromAComApartment) {
  WindowsShellExecute shell;
  shell.ShellExecute(0, "open", "missing.exe", "", ".", 5);
  EXPECT_EQ(::CoInitializeEx(nullptr, COINIT_MULTITHREADED), RPC_E_CHANGED_MODE);
}

struct NoEvents : ITrayIconEvents {
  void ButtonClick(std::int32_t&) override {}
  void ButtonDblClick(std::int32_t&) override {}
};
struct WideShell : INotifyShell {
  bool Shell_NotifyIcon(std::uint32_t, const NotifyIconRecord& record, const NotifyIconTexts& texts) override {
    request = NotifyRequest(record, texts);
    return true;
  }
  ShellIconRequest request;
};

// The shell's wide fields hold as many characters as the record's bytes (an umlaut takes two of them),
// and a character of two UTF-16 units is kept or left out whole.
TEST(WindowsTray, TextsAreCutToTheCharactersTheWideFieldsHold) {
  test::FakeSystem clock;
  test::FakeDesktop screen;
  NoEvents events;
  WideShell shell;
  CXPSysTrayIcon icon(shell, clock, screen, events);
  std::string umlauts;
  for (int i = 0; i < 300; ++i) umlauts += "\xC3\xA4";
  icon.Visible(true);
  icon.ToolTip(umlauts);
  EXPECT_EQ(WideFieldText(shell.request.tip, 128), std::wstring(127, L'\xE4'));
  icon.ShowBaloon(umlauts, "x|" + umlauts, 0, 1);
  EXPECT_EQ(WideFieldText(shell.request.info, 256), std::wstring(255, L'\xE4'));
  EXPECT_EQ(WideFieldText(shell.request.infoTitle, 64), L"x\r" + std::wstring(61, L'\xE4'));
  EXPECT_EQ(WideFieldText(std::string(62, 'x') + "\xF0\x9F\x98\x80", 64), std::wstring(62, L'x'));
}

}  // namespace
}  // namespace updater
