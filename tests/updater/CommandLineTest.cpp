#include "updater/CommandLine.h"

#include <gtest/gtest.h>

#include "text/Fault.h"
#include "updater/FtpAddress.h"
#include "updater/NumericValue.h"

namespace updater {
namespace {

TEST(NumericValue, ReadsTheLongestLeadingNumber) {
  const std::pair<const char*, double> cases[] = {
      {"1048576", 1048576}, {"12abc", 12},       {"1.9", 1.9},     {"-5", -5},       {"+7", 7},
      {"abc", 0},           {"", 0},             {"-", 0},         {".5", 0.5},      {"1.", 1},
      {"1,5", 1},           {"1e3", 1000},       {"2E-2", 0.02},   {"1e", 1},        {"1e+", 1},
      {"3x", 3},            {"0x10", 0},         {"&H1F", 31},     {"&hff", 255},    {"&O17", 15},
      {"&o8", 0},           {"&Hg", 0},          {"&", 0},         {"1\t2\n3", 123}, {"\t-\t4", -4},
      {"1 2", 1},           {"1e-400", 0},       {"0.000e999", 0}, {"--1", 0},       {"1\r2", 1},
  };
  for (const auto& [text, expected] : cases) EXPECT_DOUBLE_EQ(NumericValue(text), expected) << text;
}

TEST(NumericValue, OverflowIsAFault) {
  for (const char* text : {"1e400", "-1e309", "99999999999999999999e300"}) {
    EXPECT_THROW(NumericValue(text), Fault) << text;
  }
}

TEST(CommandLine, ThreeBlankSeparatedTokensMakeAValidLine) {
  const CommandLine a = ParseCommandLine("ftp://host/dir/setup.exe 1048576 1000");
  EXPECT_TRUE(a.valid);
  EXPECT_EQ(a.downloadUrl, "ftp://host/dir/setup.exe");
  EXPECT_EQ(a.downloadSize, 1048576);
  EXPECT_EQ(a.languageBase, 1000);

  const CommandLine b = ParseCommandLine("ftp://host/setup.exe   52000  2000");
  EXPECT_TRUE(b.valid);
  EXPECT_EQ(b.downloadSize, 52000);
  EXPECT_EQ(b.languageBase, 2000);

  // Sizes and languages are floored and otherwise accepted as they come.
  const CommandLine c = ParseCommandLine("x 1.9 3");
  EXPECT_TRUE(c.valid);
  EXPECT_EQ(c.downloadSize, 1);
  EXPECT_EQ(c.languageBase, 3);
  EXPECT_EQ(ParseCommandLine("x -5.5 1000").downloadSize, -6);
  EXPECT_EQ(ParseCommandLine("x 12abc 1000").downloadSize, 12);
}

TEST(CommandLine, MalformedLinesAreInvalid) {
  for (const char* text : {"", " ", "a b", "a b c d", " a 1 1000", "a 1 1000 ", "a\t1 1000", "a 0 1000",
                           "a abc 1000", "a 5 0", "a 5 x", "a 0.5 1000"}) {
    EXPECT_FALSE(ParseCommandLine(text).valid) << '"' << text << '"';
  }
}

TEST(CommandLine, NumbersOutOfRangeAreFaults) {
  EXPECT_EQ(ParseCommandLine("a 2147483647 -32768").downloadSize, 2147483647);
  for (const char* text : {"a 2147483648 1000", "a -2147483649 1000", "a 1 32768", "a 1 -32769", "a &HFFFFFFFF 1000",
                           "a 1e10 1000", "a 1 1e999"}) {
    EXPECT_THROW(ParseCommandLine(text), Fault) << text;
  }
}

TEST(FtpAddress, SplitsServerPathAndFileName) {
  const auto a = SplitFtpAddress("ftp://host/pub/app/setup.exe");
  ASSERT_TRUE(a);
  EXPECT_EQ(a->server, "host");
  EXPECT_EQ(a->remotePath, "pub/app/setup.exe");
  EXPECT_EQ(a->fileName, "setup.exe");

  const auto b = SplitFtpAddress("xyz://host/setup.exe");
  ASSERT_TRUE(b);
  EXPECT_EQ(b->remotePath, "setup.exe");

  const auto c = SplitFtpAddress("ftp://[::1]//a b");
  ASSERT_TRUE(c);
  EXPECT_EQ(c->server, "[::1]");
  EXPECT_EQ(c->remotePath, "/a b");
  EXPECT_EQ(c->fileName, "a b");
}

TEST(FtpAddress, AddressesThatCannotNameALocalFileAreRefused) {
  for (const char* text : {"host/setup.exe", "ftp://host", "ftp:/host/x", "ftp://host/", "ftp://host/dir/",
                           "ftp://host/..", "ftp://host/a/.", ""}) {
    EXPECT_FALSE(SplitFtpAddress(text)) << text;
  }
}

}  // namespace
}  // namespace updater
