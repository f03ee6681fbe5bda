#pragma once
// The message texts of the Internet layer's error codes.

#include <cstdint>

namespace updater {

// The text for code, a sentence ending in CR LF, or nullptr when there is none for it.
const char* InetMessageText(std::uint32_t code);

}  // namespace updater
