#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <thread>

#include "platform/TempFolder.h"
#include "platform/linux/LinuxLocaleClock.h"
#include "platform/linux/LinuxProgramInfo.h"
#include "platform/linux/LinuxShellExecute.h"
#include "platform/linux/LinuxSystemVersion.h"
#include "platform/linux/OpenSslPublisherSignature.h"
#include "signatures/SignatureCases.h"
#include "text/Languages.h"

namespace updater {
namespace {

TEST(LinuxSystem, ClockVersionAndArgumentText) {
  std::setlocale(LC_ALL, "C");
  std::tm t{};
  t.tm_year = 126;
  t.tm_mon = 11;
  t.tm_mday = 6;
  EXPECT_EQ(LocaleDateTimeText(t), "12/06/26");  // midnight: the date alone
  t.tm_sec = 1;
  EXPECT_EQ(LocaleDateTimeText(t), "12/06/26 00:00:01");

  test::TempFolder folder;
  OsVersionInfo info;
  ASSERT_TRUE(LinuxSystemVersion(folder.Write("a", "NAME=x\nPRETTY_NAME=\"Debian 12\"\n")).GetVersionEx(info));
  EXPECT_STREQ(info.csdVersion.data(), "Debian 12");
  ASSERT_TRUE(LinuxSystemVersion(folder.Write("b", "PRETTY_NAME=" + std::string(300, 'n'))).GetVersionEx(info));
  EXPECT_EQ(std::string(info.csdVersion.data()).size(), 127u);

  const char* argv[] = {"/opt/updater", "ftp://h/a b", "", "1000"};
  EXPECT_EQ(JoinArguments(4, argv), "ftp://h/a b  1000");
}

// The user's language as gettext finds it in the environment, tried under several desktop locales.
TEST(LinuxSystem, UserLanguagesAreTheMessagesLocaleAsGettextReadsIt) {
  const char* names[] = {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"};
  const std::tuple<std::array<const char*, 4>, int> cases[] = {
      {{"", "", "", "de_DE.UTF-8"}, 2000},
      {{"", "", "pt_BR.UTF-8", "de_DE.UTF-8"}, 6000},
      {{"", "zh_TW.UTF-8", "de_DE", "fr_FR"}, 22000},
      {{"sw:zh_HK::de", "", "", "en_US.UTF-8"}, 22000},  // each entry in turn
      {{"de", "C", "", "fr_FR.UTF-8"}, 1000},               // LANGUAGE counts for nothing in the C locale
      {{"de", "", "", ""}, 1000},
      {{"", "", "", "sw_KE.UTF-8"}, 1000},
  };
  std::vector<std::pair<const char*, std::optional<std::string>>> saved;
  for (const char* name : names) saved.emplace_back(name, std::getenv(name) ? std::optional<std::string>(std::getenv(name)) : std::nullopt);
  for (const auto& [values, language] : cases) {
    for (std::size_t i = 0; i < 4; ++i) *values[i] ? setenv(names[i], values[i], 1) : unsetenv(names[i]);
    EXPECT_EQ(LanguageOfTags(LinuxProgramInfo("").UserLanguages()), language) << values[0] << "|" << values[3];
  }
  for (const auto& [name, value] : saved) value ? setenv(name, value->c_str(), 1) : unsetenv(name);
}

// The content of a file that a started program writes, once it is complete (five seconds at most).
std::string AwaitFile(const test::TempFolder& folder, const std::string& name, std::size_t lines) {
  for (int i = 0; i < 500; ++i, std::this_thread::sleep_for(std::chrono::milliseconds(10))) {
    const std::string text = folder.Read(name);
    if (static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) >= lines) return text;
  }
  return "";
}

TEST(LinuxShellExecute, ProgramsStartDirectlyAndOtherFilesGoToTheOpener) {
  test::TempFolder folder;
  LinuxShellExecute shell;
  // A hostile name reaches the program as a name, never through a shell.
  const std::string name = "-rf$(touch${IFS}pwned);\xE2\x82\xAC\x01.run";
  const std::string script = folder.Write(name, "#!/bin/sh\npwd > \"$0.ran\"\necho \"$#\" >> \"$0.ran\"\n");
  EXPECT_GT(shell.ShellExecute(0, "open", script, "", folder.path + "/", 5), 32);
  EXPECT_EQ(AwaitFile(folder, name + ".ran", 2), folder.path + "\n0\n");
  EXPECT_EQ(folder.Read("pwned") + std::to_string(std::filesystem::exists(folder / "pwned")), "0");
  EXPECT_LE(shell.ShellExecute(0, "open", folder / "missing", "", folder.path, 5), 32);

  ::chmod(folder.Write("xdg-open", "#!/bin/sh\necho \"$@\" > \"${0%/*}/opened\"\n").c_str(), 0700);
  const std::string path = getenv("PATH");
  setenv("PATH", (folder.path + ":" + path).c_str(), 1);
  const auto result = shell.ShellExecute(0, "open", folder.Write("notes.txt", "text"), "", folder.path, 5);
  setenv("PATH", path.c_str(), 1);
  EXPECT_GT(result, 32);
  EXPECT_EQ(AwaitFile(folder, "opened", 1), folder / "notes.txt\n");
}

// Keys and signatures made by the openssl command, as a publisher makes them.
TEST(OpenSslPublisherSignature, OnlyTheP256KeysOwnSignatureOverTheseBytesIsValid) {
  test::TempFolder folder;
  ASSERT_EQ(std::system(("'" UPDATER_MAKE_SIGNATURES "' '" + folder.path + "'").c_str()), 0);
  OpenSslPublisherSignature verifier;
  test::ExpectSignatureCases(verifier, folder.path);
}

}  // namespace
}  // namespace updater
