#include "updater/CommandLine.h"

#include <gtest/gtest.h>

#include "fakes/RecordingReporters.h"
#include "updater/FtpAddress.h"
#include "updater/NumericValue.h"

namespace updater {
namespace {

TEST(NumericValue, ReadsTheLongestLeadingNumber) {
  const std::pair<const char*, double> cases[] = {
      {"12abc", 12}, {"1.9", 1.9},   {"-5", -5},     {"+7", 7},         {"abc", 0},      {"-", 0},
      {".5", 0.5},   {"1.", 1},      {"1,5", 1},     {"2E-2", 0.02},    {"1e+", 1},      {"0x10", 0},
      {"&H1F", 31},  {"&hff", 255},  {"&O17", 15},   {"&o8", 0},        {"&", 0},        {"1\t2\n3", 123},
      {"1e-400", 0}, {"0e999", 0},   {"--1", 0},     {"1\r2", 1},
  };
  for (const auto& [text, expected] : cases) EXPECT_DOUBLE_EQ(NumericValue(text), expected) << text;
  for (const char* text : {"1e400", "-1e309", "99999999999999999999e300"})
    EXPECT_EQ(test::FaultOf([&] { NumericValue(text); }), 6) << text;
}

TEST(CommandLine, ThreeBlankSeparatedTokensMakeTheUpdateState) {
  const CommandLine a = ParseCommandLine("ftp://host/setup.exe   52000  2000");
  EXPECT_TRUE(a.valid);
  EXPECT_EQ(a.downloadUrl, "ftp://host/setup.exe");
  EXPECT_EQ(a.downloadSize, 52000);
  EXPECT_EQ(a.languageBase, 2000);
  EXPECT_EQ(ParseCommandLine("x -5.5 3").downloadSize, -6);  // floored, and accepted
  EXPECT_TRUE(ParseCommandLine("x -5.5 3").valid);
  EXPECT_EQ(ParseCommandLine("a 2147483647 -32768").downloadSize, 2147483647);
  EXPECT_TRUE(ParseCommandLine("a 5 x").valid);  // language 0: the desktop's

  for (const char* text : {"", " ", "a b", "a b c d", " a 1 1000", "a 1 1000 ", "a\t1 1000", "a 0.5 1000"})
    EXPECT_FALSE(ParseCommandLine(text).valid) << '"' << text << '"';
  for (const char* text : {"a 2147483648 1000", "a -2147483649 1000", "a 1 32768", "a &HFFFFFFFF 1000", "a 1 1e999"})
    EXPECT_EQ(test::FaultOf([&] { ParseCommandLine(text); }), 6) << text;
}

TEST(FtpAddress, SplitsServerPathAndFileNameOrRefusesTheAddress) {
  const auto a = SplitFtpAddress("xyz://host/pub/app/setup.exe");
  ASSERT_TRUE(a);
  EXPECT_EQ(a->server + "|" + a->remotePath + "|" + a->fileName, "host|pub/app/setup.exe|setup.exe");
  const auto b = SplitFtpAddress("ftp://[::1]//a b");
  ASSERT_TRUE(b);
  EXPECT_EQ(b->server + "|" + b->remotePath + "|" + b->fileName, "[::1]|/a b|a b");
  for (const char* text : {"host/setup.exe", "ftp://host", "ftp:/host/x", "ftp://host/dir/", "ftp://host/..",
                           "ftp://host/a/."})
    EXPECT_FALSE(SplitFtpAddress(text)) << text;
}

}  // namespace
}  // namespace updater
