#include "updater/CommandLine.h"

#include <limits>

#include "updater/NumericValue.h"

namespace updater {

std::vector<std::string> CommandLineTokens(std::string_view text) {
  std::vector<std::string> tokens;
  if (text.empty()) return tokens;
  std::string token;
  bool previousBlank = false;
  for (char c : text) {
    if (c == ' ') {
      if (!previousBlank) tokens.push_back(std::move(token));
      token.clear();
      previousBlank = true;
    } else {
      token += c;
      previousBlank = false;
    }
  }
  tokens.push_back(std::move(token));
  return tokens;
}

CommandLine ParseCommandLine(std::string_view text) {
  CommandLine result;
  const std::vector<std::string> tokens = CommandLineTokens(text);
  if (tokens.size() != 3) return result;
  result.downloadUrl = tokens[0];
  result.downloadSize = static_cast<std::int32_t>(WholeNumericValue(
      tokens[1], std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
  result.languageBase = static_cast<std::int16_t>(WholeNumericValue(
      tokens[2], std::numeric_limits<std::int16_t>::min(), std::numeric_limits<std::int16_t>::max()));
  result.valid = !result.downloadUrl.empty() && result.downloadSize != 0;
  return result;
}

}  // namespace updater
