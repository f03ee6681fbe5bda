#pragma once
// Text files the program reads and appends to (update.cfg, the error log).
// Texts are UTF-8, the narrow character set of this platform.

#include <string>

namespace updater {

class ITextFiles {
 public:
  virtual ~ITextFiles() = default;
  // First line of a text file, without its line break (CR, CR LF or LF).
  // Faults: file missing or unreadable; "Input past end of file" when the file is empty.
  virtual std::string ReadFirstLine(const std::string& path) = 0;
  // Appends text to the file in one write, creating the file when it is missing. Faults on failure.
  virtual void AppendText(const std::string& path, const std::string& text) = 0;
};

}  // namespace updater
