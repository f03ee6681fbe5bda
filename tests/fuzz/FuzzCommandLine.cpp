// The command-line text becomes a valid update state, an invalid line or a fault, never anything else.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "text/Fault.h"
#include "updater/CommandLine.h"
#include "updater/NumericValue.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  try {
    const updater::CommandLine line = updater::ParseCommandLine(text);
    if (line.valid && (line.downloadUrl.empty() || line.downloadSize == 0 || line.languageBase == 0)) __builtin_trap();
  } catch (const updater::Fault& fault) {
    if (fault.Number() != 6) __builtin_trap();  // only an overflow may end the parse
  }
  try {
    updater::NumericValue(text);
  } catch (const updater::Fault& fault) {
    if (fault.Number() != 6) __builtin_trap();
  }
  return 0;
}
