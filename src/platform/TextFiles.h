#pragma once
// Text files the program reads and appends to (update.cfg, update.pem, the error log).
// Texts are UTF-8, the narrow character set of this platform.

#include <cstddef>
#include <string>

namespace updater {

// What reading a whole file found.
enum class WholeFile { Read, Missing, Unreadable };

class ITextFiles {
 public:
  virtual ~ITextFiles() = default;
  // First line of a text file, without its line break (CR, CR LF or LF).
  // Faults: file missing or unreadable; "Input past end of file" when the file is empty.
  virtual std::string ReadFirstLine(const std::string& path) = 0;
  // Appends text to the file in one write, creating the file when it is missing. Faults on failure.
  virtual void AppendText(const std::string& path, const std::string& text) = 0;
  // Reads the whole file into bytes. Missing when there is no file at path; Unreadable when it cannot be
  // read or holds more than maxBytes bytes (bytes is then empty). Never faults.
  virtual WholeFile ReadWholeFile(const std::string& path, std::size_t maxBytes, std::string& bytes) = 0;
};

}  // namespace updater
