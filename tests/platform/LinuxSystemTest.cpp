#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <clocale>
#include <thread>

#include "platform/TempFolder.h"
#include "platform/linux/LinuxLocaleClock.h"
#include "platform/linux/LinuxProgramInfo.h"
#include "platform/linux/LinuxShellExecute.h"
#include "platform/linux/LinuxSystemVersion.h"

namespace updater {
namespace {

TEST(LinuxLocaleClock, MidnightIsWrittenAsTheDateAlone) {
  std::setlocale(LC_ALL, "C");
  std::tm t{};
  t.tm_year = 126;
  t.tm_mon = 11;
  t.tm_mday = 6;
  EXPECT_EQ(LocaleDateTimeText(t), "12/06/26");
  t.tm_sec = 1;
  EXPECT_EQ(LocaleDateTimeText(t), "12/06/26 00:00:01");
  LinuxLocaleClock clock;
  const double seconds = clock.SecondsSinceMidnight();
  EXPECT_GE(seconds, 0.0);
  EXPECT_LT(seconds, 86400.0);
}

TEST(LinuxSystemVersion, KernelReleaseAndDistributionName) {
  test::TempFolder folder;
  const std::string osRelease = folder.Write("os-release", "NAME=\"X\"\nPRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\n");
  OsVersionInfo info;
  ASSERT_TRUE(LinuxSystemVersion(osRelease).GetVersionEx(info));
  EXPECT_STREQ(info.csdVersion.data(), "Debian GNU/Linux 12 (bookworm)");
  EXPECT_GT(info.majorVersion, 0u);

  const std::string longName = folder.Write("long", "PRETTY_NAME=" + std::string(300, 'n') + "\n");
  ASSERT_TRUE(LinuxSystemVersion(longName).GetVersionEx(info));
  EXPECT_EQ(std::string(info.csdVersion.data()).size(), 127u);

  ASSERT_TRUE(LinuxSystemVersion(folder.Path("missing")).GetVersionEx(info));
  EXPECT_STREQ(info.csdVersion.data(), "");
}

TEST(LinuxProgramInfo, ArgumentsJoinWithSingleBlanks) {
  const char* argv[] = {"/opt/updater", "ftp://h/a b", "", "1000"};
  EXPECT_EQ(JoinArguments(4, argv), "ftp://h/a b  1000");
  EXPECT_EQ(JoinArguments(1, argv), "");
  LinuxProgramInfo program("x");
  EXPECT_EQ(program.FileBesideProgram("update.cfg").substr(0, 1), "/");
  EXPECT_EQ(program.CommandLine(), "x");
}

// Waits up to five seconds for a file the started program writes.
bool Appears(const std::string& path) {
  for (int i = 0; i < 500; ++i) {
    if (::access(path.c_str(), F_OK) == 0) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return false;
}

TEST(LinuxShellExecute, ProgramsStartDirectlyInTheGivenFolder) {
  test::TempFolder folder;
  const std::string script = folder.Write("-setup.run", "#!/bin/sh\npwd > \"$0.ran\"\necho \"$#\" >> \"$0.ran\"\n");
  LinuxShellExecute shell;
  EXPECT_GT(shell.ShellExecute(0, "open", script, "", folder.Path() + "/", 5), 32);
  ASSERT_TRUE(Appears(script + ".ran"));
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_EQ(folder.Read("-setup.run.ran"), folder.Path() + "\n0\n");
  EXPECT_LE(shell.ShellExecute(0, "open", folder.Path("missing"), "", folder.Path(), 5), 32);
}

TEST(LinuxShellExecute, OtherFilesGoToTheDesktopOpener) {
  test::TempFolder folder;
  const std::string opener = folder.Write("xdg-open", "#!/bin/sh\necho \"$@\" > \"$(dirname \"$0\")/opened\"\n");
  ::chmod(opener.c_str(), 0700);
  const std::string document = folder.Write("notes.txt", "plain text");
  const std::string path = getenv("PATH") ? getenv("PATH") : "";
  setenv("PATH", (folder.Path() + ":" + path).c_str(), 1);
  LinuxShellExecute shell;
  const auto result = shell.ShellExecute(0, "open", document, "", folder.Path(), 5);
  setenv("PATH", path.c_str(), 1);
  EXPECT_GT(result, 32);
  ASSERT_TRUE(Appears(folder.Path("opened")));
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_EQ(folder.Read("opened"), document + "\n");
  EXPECT_EQ(folder.Read("notes.txt"), "plain text");
}

}  // namespace
}  // namespace updater
