// The program's facts, clock and version as Wine reports them, in a log record.

#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <iterator>

#include "platform/windows/WindowsLocaleClock.h"
#include "platform/windows/WindowsProgramInfo.h"
#include "platform/windows/WindowsSystemVersion.h"
#include "platform/windows/WindowsTextFiles.h"
#include "text/ErrorLog.h"

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

}  // namespace
}  // namespace updater
