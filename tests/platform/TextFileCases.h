#pragma once
// What every text-file service does alike: the first line of update.cfg, the error log appended to,
// update.pem read whole up to its limit.

#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "fakes/RecordingReporters.h"
#include "platform/TempFolder.h"
#include "platform/TextFiles.h"

namespace updater::test {

inline void ExpectTextFileCases(ITextFiles& files, const TempFolder& folder) {
  const std::string nul("a\0b", 3), beyondAChunk(5000, 'x');
  const std::pair<std::string, std::string> lines[] = {
      {"Demo App\rrest", "Demo App"}, {"Demo App\nrest", "Demo App"}, {nul, nul}, {beyondAChunk, beyondAChunk}};
  for (const auto& [content, line] : lines) EXPECT_EQ(files.ReadFirstLine(folder.Write("cfg", content)), line);
  EXPECT_EQ(FaultOf([&] { files.ReadFirstLine(folder / "missing"); }), 53);
  EXPECT_EQ(FaultOf([&] { files.ReadFirstLine(folder.Write("empty", "")); }), 62);

  files.AppendText(folder / "log", "one\r\n");
  files.AppendText(folder / "log", "two\r\n");
  EXPECT_EQ(folder.Read("log"), "one\r\ntwo\r\n");

  const std::tuple<std::string, WholeFile, std::string> whole[] = {
      {folder.Write("key", "12345678"), WholeFile::Read, "12345678"},
      {folder.Write("long", "123456789"), WholeFile::Unreadable, ""},
      {folder.path, WholeFile::Unreadable, ""},
      {folder / "missing/key", WholeFile::Missing, ""},
  };
  for (const auto& [path, expected, content] : whole) {
    std::string bytes = "stale";
    EXPECT_EQ(files.ReadWholeFile(path, 8, bytes), expected) << path;
    EXPECT_EQ(bytes, content) << path;
  }
}

}  // namespace updater::test
