// Parts of the FTP client that need no server: passive replies and message texts.

#include <gtest/gtest.h>

#include <array>

#include "platform/linux/ftp/FtpInternet.h"
#include "platform/linux/ftp/PassiveReply.h"

namespace updater {
namespace {

TEST(PassiveReplies, PortIsReadOnlyFromWellFormedReplies) {
  const std::vector<std::pair<const char*, std::optional<std::uint16_t>>> extended = {
      {"229 Entering Extended Passive Mode (|||6446|)", 6446}, {"229 ok (!!!21!)", 21},
      {"229 (|||0|)", std::nullopt}, {"229 (|||70000|)", std::nullopt}, {"229 (||6446|)", std::nullopt},
      {"229 (|||6446)", std::nullopt}, {"229 no port", std::nullopt}, {"229 (|||", std::nullopt},
  };
  for (const auto& [reply, port] : extended) EXPECT_EQ(ExtendedPassivePort(reply), port) << reply;
  const std::vector<std::pair<const char*, std::optional<std::uint16_t>>> classic = {
      {"227 Entering Passive Mode (127,0,0,1,4,1)", 1025}, {"227 =10,1,2,3,200,7", 51207},
      {"227 Entering Passive Mode v2 127,0,0,1,4,1", 1025}, {"227 (127,0,0,1,4)", std::nullopt},
      {"227 (127,0,0,1,256,1)", std::nullopt}, {"227 (1,2,3,4,0,0)", std::nullopt}, {"227", std::nullopt},
  };
  for (const auto& [reply, port] : classic) EXPECT_EQ(PassivePort(reply), port) << reply;
}

TEST(InternetMessages, TextsEndInLineBreakAndMustFitWhole) {
  FtpInternet internet;
  std::array<char, 512> text{};
  for (const std::uint32_t code : {6u, 8u, 87u, 12002u, 12003u, 12004u, 12007u, 12015u, 12019u, 12029u, 12030u,
                                   12031u, 12110u, 12111u, 12152u}) {
    const std::uint32_t length = internet.FormatMessage(code, text.data(), 256);
    ASSERT_GT(length, 2u) << code;
    EXPECT_LE(length, 255u);
    EXPECT_EQ(std::string(text.data()).substr(length - 2), "\r\n") << code;
    EXPECT_EQ(internet.FormatMessage(code, text.data(), length), 0u) << "no room for the terminator";
  }
  EXPECT_EQ(internet.FormatMessage(12001, text.data(), 256), 0u);
  EXPECT_EQ(internet.FormatMessage(0, text.data(), 256), 0u);
}

}  // namespace
}  // namespace updater
