#include "platform/ChunkedReads.h"

#include <string_view>

#include "text/Fault.h"

namespace updater {

std::string FirstLineOf(const ReadCall& read) {
  std::string line;
  char chunk[4096];
  bool anyByte = false;
  while (const std::size_t n = read(chunk, sizeof chunk)) {
    anyByte = true;
    const std::string_view got(chunk, n);
    const auto end = got.find_first_of("\r\n");
    line += got.substr(0, end);
    if (end != std::string_view::npos) return line;
  }
  if (!anyByte) RaiseFault(FaultNumber::InputPastEndOfFile);
  return line;
}

bool WholeFileOf(const ReadCall& read, std::size_t maxBytes, std::string& bytes) {
  bytes.clear();
  char chunk[4096];
  try {
    while (const std::size_t n = read(chunk, sizeof chunk)) {
      if (bytes.size() + n > maxBytes) {
        bytes.clear();
        return false;
      }
      bytes.append(chunk, n);
    }
    return true;
  } catch (const Fault&) {
    bytes.clear();
    return false;
  }
}

}  // namespace updater
