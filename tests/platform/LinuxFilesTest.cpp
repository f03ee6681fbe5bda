#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "platform/TextFileCases.h"
#include "platform/BufferedOutputFile.h"
#include "platform/linux/LinuxLocalFiles.h"
#include "platform/linux/LinuxTextFiles.h"

namespace updater {
namespace {

using test::FaultOf;

TEST(LinuxTextFiles, FirstLineLogAndWholeFile) {
  test::TempFolder folder;
  LinuxTextFiles files;
  test::ExpectTextFileCases(files, folder);
  std::filesystem::create_symlink("loop", folder / "loop");  // fails to open, but is there
  std::string bytes;
  EXPECT_EQ(files.ReadWholeFile(folder / "loop", 8, bytes), WholeFile::Unreadable);
}

TEST(LinuxLocalFiles, NewFileIsExclusivePrivateAndGetsEveryByte) {
  test::TempFolder folder;
  LinuxLocalFiles files;
  ::setenv("TMPDIR", ".", 1);  // only an absolute folder counts
  EXPECT_EQ(files.TempPath(), "/tmp/");
  ::unsetenv("TMPDIR");

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
