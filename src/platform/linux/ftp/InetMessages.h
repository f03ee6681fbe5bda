#pragma once
// The FTP client's message texts for its error codes.

#include <cstdint>

namespace updater {

// The text for code, a sentence ending in CR LF, or nullptr when the client has none for it.
const char* InetMessageText(std::uint32_t code);

}  // namespace updater
