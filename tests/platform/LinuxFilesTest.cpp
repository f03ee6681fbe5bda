#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "platform/TempFolder.h"
#include "platform/linux/BufferedOutputFile.h"
#include "platform/linux/LinuxLocalFiles.h"
#include "platform/linux/LinuxTextFiles.h"
#include "text/Fault.h"

namespace updater {
namespace {

int FaultOf(const std::function<void()>& call) {
  try {
    call();
  } catch (const Fault& fault) {
    return fault.Number();
  }
  return 0;
}

TEST(LinuxTextFiles, FirstLineEndsAtAnyLineBreak) {
  test::TempFolder folder;
  LinuxTextFiles files;
  const std::pair<std::string, std::string> cases[] = {
      {"Demo App\r\nrest", "Demo App"}, {"Demo App\rrest", "Demo App"}, {"Demo App\nrest", "Demo App"},
      {"Demo App", "Demo App"},         {"\r\nsecond", ""},             {" spaced \t", " spaced \t"},
      {std::string("a\0b\n", 4), std::string("a\0b", 3)},
  };
  for (const auto& [content, line] : cases) EXPECT_EQ(files.ReadFirstLine(folder.Write("cfg", content)), line);

  const std::string big(1 << 20, 'x');
  EXPECT_EQ(files.ReadFirstLine(folder.Write("big", big)), big);
}

TEST(LinuxTextFiles, MissingEmptyOrUnreadableFilesAreFaults) {
  test::TempFolder folder;
  LinuxTextFiles files;
  EXPECT_EQ(FaultOf([&] { files.ReadFirstLine(folder.Path("missing")); }), 53);
  EXPECT_EQ(FaultOf([&] { files.ReadFirstLine(folder.Write("empty", "")); }), 62);
  EXPECT_EQ(FaultOf([&] { files.ReadFirstLine(folder.Path()); }), 75);
}

TEST(LinuxTextFiles, AppendCreatesThenKeepsWhatIsThere) {
  test::TempFolder folder;
  LinuxTextFiles files;
  files.AppendText(folder.Path("log"), "one\r\n");
  files.AppendText(folder.Path("log"), "two\r\n");
  EXPECT_EQ(folder.Read("log"), "one\r\ntwo\r\n");
  EXPECT_NE(FaultOf([&] { files.AppendText(folder.Path("no/such/folder/log"), "x"); }), 0);
}

TEST(LinuxLocalFiles, TempPathEndsWithASeparator) {
  LinuxLocalFiles files;
  const std::string path = files.TempPath();
  ASSERT_FALSE(path.empty());
  EXPECT_EQ(path.front(), '/');
  EXPECT_EQ(path.back(), '/');
}

TEST(LinuxLocalFiles, NewFileIsExclusiveAndPrivate) {
  test::TempFolder folder;
  LinuxLocalFiles files;
  const std::string path = folder.Path("setup.run");
  {
    auto file = files.Create(path);
    const std::string bytes = "abc";
    file->Append(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    file->Close();
  }
  struct stat info {};
  ASSERT_EQ(::stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
  EXPECT_EQ(folder.Read("setup.run"), "abc");
  EXPECT_EQ(FaultOf([&] { files.Create(path); }), 58);
}

TEST(LinuxLocalFiles, PlantedLinksAreNeitherFollowedNorTheirTargetsTouched) {
  test::TempFolder folder;
  LinuxLocalFiles files;
  const std::string target = folder.Write("precious", "keep me");
  const std::string link = folder.Path("setup.run");
  ASSERT_EQ(::symlink(target.c_str(), link.c_str()), 0);
  EXPECT_NE(FaultOf([&] { files.Create(link); }), 0);
  EXPECT_TRUE(files.Exists(link));
  files.Delete(link);
  EXPECT_FALSE(files.Exists(link));
  EXPECT_EQ(folder.Read("precious"), "keep me");

  // A dangling link counts as an entry too.
  ASSERT_EQ(::symlink(folder.Path("nowhere").c_str(), link.c_str()), 0);
  EXPECT_TRUE(files.Exists(link));
}

TEST(LinuxLocalFiles, FoldersAndOtherUsersFilesAreNotRemoved) {
  test::TempFolder folder;
  LinuxLocalFiles files;
  std::filesystem::create_directory(folder.Path("setup.run"));
  EXPECT_EQ(FaultOf([&] { files.Delete(folder.Path("setup.run")); }), 75);
  EXPECT_TRUE(std::filesystem::is_directory(folder.Path("setup.run")));
  if (::geteuid() == 0) {
    const std::string foreign = folder.Write("foreign", "theirs");
    ASSERT_EQ(::chown(foreign.c_str(), 65534, 65534), 0);
    EXPECT_EQ(FaultOf([&] { files.Delete(foreign); }), 70);
    EXPECT_EQ(folder.Read("foreign"), "theirs");
  }
}

TEST(BufferedOutputFile, EveryByteArrivesAcrossBufferBoundaries) {
  test::TempFolder folder;
  LinuxLocalFiles files;
  std::string expected;
  {
    auto file = files.Create(folder.Path("out"));
    for (std::size_t i = 0; expected.size() < 3 * BufferedOutputFile::kBufferSize + 123; ++i) {
      const std::string block(1 + (i * 37) % 1024, static_cast<char>('a' + i % 26));
      file->Append(reinterpret_cast<const std::uint8_t*>(block.data()), block.size());
      expected += block;
    }
    file->Close();
    file->Close();  // a second close does nothing
  }
  EXPECT_EQ(folder.Read("out"), expected);

  {
    auto file = files.Create(folder.Path("dropped"));
    file->Append(reinterpret_cast<const std::uint8_t*>("partial"), 7);
  }  // given up without Close: what was appended is still written
  EXPECT_EQ(folder.Read("dropped"), "partial");
}

}  // namespace
}  // namespace updater
