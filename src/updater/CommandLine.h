#pragma once
// The command line: FTP address, expected size in bytes and language number, separated by blanks.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace updater {

struct CommandLine {
  std::string downloadUrl;
  std::int32_t downloadSize = 0;
  std::int16_t languageBase = 0;
  bool valid = false;
};

// The text with every run of blanks made one blank, split at each blank (a blank at either end
// gives an empty token). An empty text gives no tokens.
std::vector<std::string> CommandLineTokens(std::string_view text);

// Parses the argument text. Anything but three tokens, an empty address or size 0 is invalid
// (language 0 asks for the desktop's language); a size outside 32-bit or a language outside 16-bit
// range is an Overflow fault.
CommandLine ParseCommandLine(std::string_view text);

}  // namespace updater
