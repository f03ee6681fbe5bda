// The local file, the text files and the file-name rules against Wine's real file system. The
// tests run with the ANSI code page 1252 (Western European).

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>

#include "platform/TextFileCases.h"
#include "platform/windows/WindowsLocalFiles.h"
#include "platform/windows/WindowsTextFiles.h"

namespace updater {
namespace {

using test::FaultOf;

TEST(WindowsFiles, OnlyPlainNamesOfTheAnsiCodePageNameALocalFile) {
  WindowsLocalFiles files;
  for (const char* name : {"setup.exe", "a.b c", "CONSOLE.exe", "COM10", "LPT0.txt", "Gr\xC3\xBC\xC3\x9F" "e.exe"})
    EXPECT_TRUE(files.IsLocalFileName(name)) << name;
  for (const char* name : {"CON", "con.exe", "Nul .txt", "aux", "PRN.log", "COM1", "lpt9.bin", "CONIN$", "setup.",
                           "setup ", "", "\xD0\xAF.exe" /* not in code page 1252 */, "\xC3(.exe" /* not UTF-8 */})
    EXPECT_FALSE(files.IsLocalFileName(name)) << name;
  for (const char c : std::string("\\/:*?\"<>|\t")) EXPECT_FALSE(files.IsLocalFileName(std::string(1, c))) << c;
}

TEST(WindowsFiles, TemporaryFolderIsNotCutShort) {
  const std::string longFolder = WindowsLocalFiles().TempPath() + std::string(200, 'x');  // past 144 bytes
  char saved[1024] = "";
  const DWORD had = ::GetEnvironmentVariableA("TMP", saved, sizeof saved);
  ::SetEnvironmentVariableA("TMP", longFolder.c_str());
  const std::string path = WindowsLocalFiles().TempPath();
  ::SetEnvironmentVariableA("TMP", had ? saved : nullptr);
  EXPECT_EQ(path, longFolder + "\\");
}

TEST(WindowsFiles, OldFileGoesNewFileIsCreatedNewFaultsByMeaning) {
  test::TempFolder folder;
  WindowsLocalFiles files;
  folder.Write("old.bin", "old");
  ::SetFileAttributesA(folder.Write("readonly.bin", "r").c_str(), FILE_ATTRIBUTE_READONLY);
  ::CreateDirectoryA((folder / "sub").c_str(), nullptr);
  const std::pair<std::function<void()>, FaultNumber> cases[] = {
      {[&] { files.Create(folder / "old.bin"); }, FaultNumber::FileAlreadyExists},
      {[&] { files.Create(folder / "missing\\new.bin"); }, FaultNumber::PathNotFound},
      {[&] { files.Delete(folder / "sub"); }, FaultNumber::PathFileAccessError},
      {[&] { files.Delete(folder / "readonly.bin"); }, FaultNumber::PermissionDenied},
      {[&] { files.Delete(folder / "new.bin"); }, FaultNumber::FileNotFound},
      {[&] { files.Delete(folder / "old.bin"); }, FaultNumber::None},
  };
  for (const auto& [call, fault] : cases) EXPECT_EQ(FaultOf(call), static_cast<std::int32_t>(fault));
  EXPECT_FALSE(files.Exists(folder / "old.bin"));
  EXPECT_TRUE(files.Exists(folder / "sub") && files.Exists(folder / "readonly.bin"));
  ::SetFileAttributesA((folder / "readonly.bin").c_str(), FILE_ATTRIBUTE_NORMAL);

  // An old file that another program holds open, sharing reading and deleting, leaves its name to the new one.
  const HANDLE held = ::CreateFileA(folder.Write("held.bin", "old").c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0, nullptr);
  files.Delete(folder / "held.bin");
  files.Create(folder / "held.bin")->Close();
  ::CloseHandle(held);

  // Files past the buffer arrive whole in the end-to-end downloads; one given up keeps what it got.
  files.Create(folder / "dropped")->Append(reinterpret_cast<const std::uint8_t*>("part"), 4);
  EXPECT_EQ(folder.Read("dropped"), "part");
}

TEST(WindowsTextFiles, FirstLineLogAndWholeFileInTheAnsiCodePage) {
  test::TempFolder folder;
  WindowsTextFiles files;
  test::ExpectTextFileCases(files, folder);
  EXPECT_EQ(files.ReadFirstLine(folder.Write("cfg", "M\xFCller\r\n")), "M\xC3\xBCller");
  std::string bytes;
  EXPECT_EQ(files.ReadWholeFile(folder / "cfg", 8, bytes), WholeFile::Read);
  EXPECT_EQ(bytes, "M\xFCller\r\n");  // as it is, without conversion
  files.AppendText(folder / "ansi.log", "Gr\xC3\xBC\xC3\x9F" "e\r\n");
  EXPECT_EQ(folder.Read("ansi.log"), "Gr\xFC\xDF" "e\r\n");
}

}  // namespace
}  // namespace updater
