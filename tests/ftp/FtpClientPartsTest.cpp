// Parts of the FTP client that need no server: passive replies and message texts.

#include <gtest/gtest.h>

#include <array>

#include "platform/linux/ftp/FtpInternet.h"
#include "platform/linux/ftp/LastCallRecord.h"
#include "platform/linux/ftp/PassiveReply.h"

namespace updater {
namespace {

TEST(PassiveReplies, PortIsReadOnlyFromWellFormedReplies) {
  using Cases = std::vector<std::pair<const char*, std::optional<std::uint16_t>>>;
  const Cases extended = {{"229 ok (!!!21!)", 21}, {"229 (|||0|)", {}}, {"229 (|||70000|)", {}}, {"229 (||6446|)", {}},
                          {"229 (|||6446)", {}}, {"229 (|||", {}}};
  for (const auto& [reply, port] : extended) EXPECT_EQ(ExtendedPassivePort(reply), port) << reply;
  const Cases classic = {{"227 =10,1,2,3,200,7", 51207}, {"227 Passive Mode v2 127,0,0,1,4,1", 1025},
                         {"227 (127,0,0,1,4)", {}}, {"227 (127,0,0,1,256,1)", {}}, {"227 (1,2,3,4,0,0)", {}}};
  for (const auto& [reply, port] : classic) EXPECT_EQ(PassivePort(reply), port) << reply;
}

TEST(InternetMessages, TextMustFitWholeWithItsTerminator) {
  FtpInternet internet;
  std::array<char, 256> text{};
  const std::uint32_t length = sizeof("The server did not answer in time.\r\n") - 1;
  EXPECT_EQ(internet.FormatMessage(inet::ERROR_INTERNET_TIMEOUT, text.data(), length + 1), length);
  EXPECT_EQ(internet.FormatMessage(inet::ERROR_INTERNET_TIMEOUT, text.data(), length), 0u);
  EXPECT_EQ(internet.FormatMessage(12001, text.data(), 256), 0u);
}

TEST(InternetMessages, LastResponseMustFitWholeWithItsTerminator) {
  SetLastResponse({230, "230 In"});
  std::array<char, 8> text{};
  std::uint32_t code = 0, length = 6;
  EXPECT_FALSE(CopyLastResponse(&code, text.data(), &length));
  length = 7;
  ASSERT_TRUE(CopyLastResponse(&code, text.data(), &length));
  EXPECT_EQ(std::string(text.data()) + " " + std::to_string(length) + " " + std::to_string(code), "230 In 6 230");
}

}  // namespace
}  // namespace updater
