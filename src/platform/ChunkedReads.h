#pragma once
// Reading a text file in chunks through the platform's read call, alike on every platform.

#include <cstddef>
#include <functional>
#include <string>

namespace updater {

// Fills up to size bytes of buffer and returns how many, 0 at the end of the file; faults when the
// file cannot be read.
using ReadCall = std::function<std::size_t(char* buffer, std::size_t size)>;

// The first line without its line break: CR or LF ends it (neither stands inside a character of a
// UTF-8 text or of an ANSI code page). Faults "Input past end of file" when the file is empty.
std::string FirstLineOf(const ReadCall& read);

// The whole file into bytes; false, with bytes empty, when it holds more than maxBytes or a read faults.
bool WholeFileOf(const ReadCall& read, std::size_t maxBytes, std::string& bytes);

}  // namespace updater
