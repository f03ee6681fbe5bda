// The local file, the text files and the file-name rules against Wine's real file system. The
// tests run with the ANSI code page 1252 (Western European).

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <iterator>

#include "platform/windows/WindowsLocalFiles.h"
#include "platform/windows/WindowsTextFiles.h"
#include "text/Fault.h"

namespace updater {
namespace {

std::string Contents(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), {}};
}

std::int32_t FaultOf(const std::function<void()>& call) {
  try {
    call();
  } catch (const Fault& fault) {
    return fault.Number();
  }
  return 0;
}

constexpr auto kNumber = [](FaultNumber n) { return static_cast<std::int32_t>(n); };

struct WindowsFiles : ::testing::Test {
  void SetUp() override {
    folder = files.TempPath() + "updater-files-test\\";
    ::CreateDirectoryA(folder.c_str(), nullptr);
  }
  void TearDown() override {
    for (const char* name : {"old.bin", "new.bin", "log.txt", "cfg.txt", "readonly.bin"}) {
      ::SetFileAttributesA((folder + name).c_str(), FILE_ATTRIBUTE_NORMAL);
      ::DeleteFileA((folder + name).c_str());
    }
    ::RemoveDirectoryA((folder + "sub").c_str());
    ::RemoveDirectoryA(folder.c_str());
  }
  void Put(const std::string& name, const std::string& bytes) {
    std::ofstream(folder + name, std::ios::binary) << bytes;
  }

  WindowsLocalFiles files;
  WindowsTextFiles text;
  std::string folder;
};

TEST_F(WindowsFiles, OnlyPlainNamesOfTheAnsiCodePageNameALocalFile) {
  const std::pair<const char*, bool> cases[] = {
      {"setup.exe", true},     {"setup", true},          {"a.b c.d", true},      {"CONSOLE.exe", true},
      {"COM10", true},         {"LPT0.txt", true},       {"Gr\xC3\xBC\xC3\x9F" "e.exe", true},
      {"CON", false},          {"con.exe", false},       {"Nul .txt", false},    {"aux", false},
      {"PRN.log", false},      {"COM1", false},          {"lpt9.bin", false},    {"CONIN$", false},
      {"setup.", false},       {"setup ", false},        {"a\\b", false},        {"a/b", false},
      {"c:setup.exe", false},  {"a*b", false},           {"a?b", false},         {"a\"b", false},
      {"a<b>", false},         {"a|b", false},           {"a\tb", false},        {"", false},
      {"\xD0\xAF.exe", false},  // U+042F is not in code page 1252
      {"\xC3(.exe", false},     // not UTF-8
  };
  for (const auto& [name, valid] : cases) EXPECT_EQ(files.IsLocalFileName(name), valid) << name;
}

TEST_F(WindowsFiles, TemporaryFolderIsNotCutShort) {
  // Longer than the 144 characters of a classic buffer.
  const std::string longFolder = folder + "sub" + std::string(200, 'x');
  char saved[1024] = "";
  const DWORD had = ::GetEnvironmentVariableA("TMP", saved, sizeof saved);
  ::SetEnvironmentVariableA("TMP", longFolder.c_str());
  const std::string path = files.TempPath();
  ::SetEnvironmentVariableA("TMP", had ? saved : nullptr);
  EXPECT_EQ(path, longFolder + "\\");
}

TEST_F(WindowsFiles, OldFileGoesNewFileIsCreatedNewFaultsByMeaning) {
  Put("old.bin", "old");
  Put("readonly.bin", "r");
  ::SetFileAttributesA((folder + "readonly.bin").c_str(), FILE_ATTRIBUTE_READONLY);
  ::CreateDirectoryA((folder + "sub").c_str(), nullptr);

  const std::pair<std::function<void()>, FaultNumber> cases[] = {
      {[&] { files.Create(folder + "old.bin"); }, FaultNumber::FileAlreadyExists},
      {[&] { files.Create(folder + "missing\\new.bin"); }, FaultNumber::PathNotFound},
      {[&] { files.Delete(folder + "sub"); }, FaultNumber::PathFileAccessError},
      {[&] { files.Delete(folder + "readonly.bin"); }, FaultNumber::PermissionDenied},
      {[&] { files.Delete(folder + "new.bin"); }, FaultNumber::FileNotFound},
      {[&] { files.Delete(folder + "old.bin"); }, FaultNumber::None},
  };
  for (const auto& [call, fault] : cases) EXPECT_EQ(FaultOf(call), kNumber(fault)) << kNumber(fault);
  EXPECT_FALSE(files.Exists(folder + "old.bin"));
  EXPECT_TRUE(files.Exists(folder + "sub") && files.Exists(folder + "readonly.bin"));

  // Appends of 1024 bytes through the buffer and past it, all on disk once closed.
  std::string bytes;
  for (int i = 0; i < 100 * 1024 + 7; ++i) bytes += static_cast<char>(i * 7 + i / 251);
  auto file = files.Create(folder + "new.bin");
  for (std::size_t at = 0; at < bytes.size(); at += 1024) {
    file->Append(reinterpret_cast<const std::uint8_t*>(bytes.data()) + at, std::min<std::size_t>(1024, bytes.size() - at));
  }
  file->Close();
  EXPECT_EQ(Contents(folder + "new.bin"), bytes);
}

TEST_F(WindowsFiles, TextFilesAreInTheAnsiCodePage) {
  const std::pair<std::string, std::string> lines[] = {
      {"Demo App\r\nsecond", "Demo App"}, {"A\rB", "A"}, {"A\nB", "A"}, {"M\xFCller", "M\xC3\xBCller"}, {"\r\n", ""},
  };
  for (const auto& [bytes, line] : lines) {
    Put("cfg.txt", bytes);
    EXPECT_EQ(text.ReadFirstLine(folder + "cfg.txt"), line);
  }
  Put("cfg.txt", "");
  EXPECT_EQ(FaultOf([&] { text.ReadFirstLine(folder + "cfg.txt"); }), kNumber(FaultNumber::InputPastEndOfFile));
  EXPECT_EQ(FaultOf([&] { text.ReadFirstLine(folder + "missing.txt"); }), kNumber(FaultNumber::FileNotFound));

  // Whole files come as they are, without conversion.
  std::string bytes = "x";
  EXPECT_EQ(text.ReadWholeFile(folder + "cfg.txt", 16, bytes), WholeFile::Read);
  EXPECT_EQ(bytes, "");
  Put("cfg.txt", "M\xFCller\r\n");
  EXPECT_EQ(text.ReadWholeFile(folder + "cfg.txt", 8, bytes), WholeFile::Read);
  EXPECT_EQ(bytes, "M\xFCller\r\n");
  EXPECT_EQ(text.ReadWholeFile(folder + "cfg.txt", 7, bytes), WholeFile::Unreadable);
  EXPECT_EQ(bytes, "");
  EXPECT_EQ(text.ReadWholeFile(folder + "missing\\cfg.txt", 8, bytes), WholeFile::Missing);

  text.AppendText(folder + "log.txt", "\r\nGr\xC3\xBC\xC3\x9F" "e\r\n");
  text.AppendText(folder + "log.txt", "2\r\n");
  EXPECT_EQ(Contents(folder + "log.txt"), "\r\nGr\xFC\xDF" "e\r\n2\r\n");
}

}  // namespace
}  // namespace updater
