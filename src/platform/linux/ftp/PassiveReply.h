#pragma once
// The data port in the server's answers to EPSV and PASV.

#include <cstdint>
#include <optional>
#include <string_view>

namespace updater {

// The port of a 229 reply: "229 Entering Extended Passive Mode (|||6446|)", any delimiter.
std::optional<std::uint16_t> ExtendedPassivePort(std::string_view reply);
// The port of a 227 reply: the last two of six comma-separated numbers "h1,h2,h3,h4,p1,p2" after the
// code, with or without parentheses and text before them. The host numbers are checked, not used.
std::optional<std::uint16_t> PassivePort(std::string_view reply);

}  // namespace updater
