#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "fakes/RecordingReporters.h"
#include "platform/TempFolder.h"
#include "platform/linux/BufferedOutputFile.h"
#include "platform/linux/LinuxLocalFiles.h"
#include "platform/linux/LinuxTextFiles.h"

namespace updater {
namespace {

using test::FaultOf;

TEST(LinuxTextFiles, FirstLineEndsAtAnyLineBreakAndBadFilesAreFaults) {
  test::TempFolder folder;
  LinuxTextFiles files;
  const std::pair<std::string, std::string> cases[] = {
      {"Demo App\r\nrest", "Demo App"}, {"Demo App\rrest", "Demo App"}, {"Demo App\nrest", "Demo App"},
      {"\r\nsecond", ""}, {std::string("a\0b", 3), std::string("a\0b", 3)}, {std::string(1 << 20, 'x'), std::string(1 << 20, 'x')},
  };
  for (const auto& [content, line] : cases) EXPECT_EQ(files.ReadFirstLine(folder.Write("cfg", content)), line);
  EXPECT_EQ(FaultOf([&] { files.ReadFirstLine(folder / "missing"); }), 53);
  EXPECT_EQ(FaultOf([&] { files.ReadFirstLine(folder.Write("empty", "")); }), 62);
  EXPECT_EQ(FaultOf([&] { files.ReadFirstLine(folder.path); }), 75);

  files.AppendText(folder / "log", "one\r\n");
  files.AppendText(folder / "log", "two\r\n");
  EXPECT_EQ(folder.Read("log"), "one\r\ntwo\r\n");
  EXPECT_EQ(FaultOf([&] { files.AppendText(folder / "no/such/log", "x"); }), 53);
}

TEST(LinuxTextFiles, RecordsOfTwoProgramsWritingAtOnceNeverInterleave) {
  test::TempFolder folder;
  const std::string log = folder / "orlenza.err";
  pid_t writers[2];
  for (char mark : {'a', 'b'}) {
    if ((writers[mark - 'a'] = ::fork()) == 0) {
      for (int i = 0; i < 300; ++i) LinuxTextFiles().AppendText(log, "\r\n" + std::string(4000, mark) + "\r\n");
      ::_exit(0);
    }
  }
  for (pid_t writer : writers) ::waitpid(writer, nullptr, 0);
  const std::string text = folder.Read("orlenza.err");
  ASSERT_EQ(text.size(), 600u * 4004);
  for (std::size_t at = 0; at < text.size(); at += 4004)
    EXPECT_EQ(text.substr(at + 2, 4000), std::string(4000, text[at + 2])) << "record at " << at;
}

TEST(LinuxLocalFiles, NewFileIsExclusivePrivateAndGetsEveryByte) {
  test::TempFolder folder;
  LinuxLocalFiles files;
  const std::string temp = files.TempPath();
  EXPECT_TRUE(temp.front() == '/' && temp.back() == '/');

  std::string expected;
  auto file = files.Create(folder / "setup.run");
  for (std::size_t i = 0; expected.size() < 3 * BufferedOutputFile::kBufferSize; ++i) {
    const std::string block(1 + (i * 37) % 1024, static_cast<char>('a' + i % 26));
    file->Append(reinterpret_cast<const std::uint8_t*>(block.data()), block.size());
    expected += block;
  }
  file->Close();
  EXPECT_EQ(folder.Read("setup.run"), expected);
  struct stat info {};
  ASSERT_EQ(::stat((folder / "setup.run").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
  EXPECT_EQ(FaultOf([&] { files.Create(folder / "setup.run"); }), 58);

  files.Create(folder / "dropped")->Append(reinterpret_cast<const std::uint8_t*>("part"), 4);
  EXPECT_EQ(folder.Read("dropped"), "part");  // given up without Close, still written
}

TEST(LinuxLocalFiles, PlantedEntriesAreNeitherFollowedNorRemovedWhenNotOurs) {
  test::TempFolder folder;
  LinuxLocalFiles files;
  const std::string link = folder / "setup.run";
  ASSERT_EQ(::symlink(folder.Write("precious", "keep me").c_str(), link.c_str()), 0);
  EXPECT_EQ(FaultOf([&] { files.Create(link); }), 58);
  files.Delete(link);
  EXPECT_FALSE(files.Exists(link));
  EXPECT_EQ(folder.Read("precious"), "keep me");
  ASSERT_EQ(::symlink((folder / "nowhere").c_str(), link.c_str()), 0);
  EXPECT_TRUE(files.Exists(link));  // a dangling link is an entry too

  ASSERT_EQ(::mkdir((folder / "dir").c_str(), 0700), 0);
  EXPECT_EQ(FaultOf([&] { files.Delete(folder / "dir"); }), 75);
  if (::geteuid() == 0) {
    const std::string foreign = folder.Write("foreign", "theirs");
    ASSERT_EQ(::chown(foreign.c_str(), 65534, 65534), 0);
    EXPECT_EQ(FaultOf([&] { files.Delete(foreign); }), 70);
    EXPECT_EQ(folder.Read("foreign"), "theirs");
  }
}

}  // namespace
}  // namespace updater
