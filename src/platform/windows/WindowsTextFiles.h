#pragma once
// update.cfg, update.pem and the error log with the Win32 file calls, in the system's ANSI code page.

#include "platform/TextFiles.h"

namespace updater {

class WindowsTextFiles : public ITextFiles {
 public:
  std::string ReadFirstLine(const std::string& path) override;
  void AppendText(const std::string& path, const std::string& text) override;
  // The bytes as they are, without any conversion.
  WholeFile ReadWholeFile(const std::string& path, std::size_t maxBytes, std::string& bytes) override;
};

}  // namespace updater
