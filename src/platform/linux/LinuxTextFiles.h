#pragma once
// update.cfg, update.pem and the error log on a POSIX file system.

#include "platform/TextFiles.h"

namespace updater {

class LinuxTextFiles : public ITextFiles {
 public:
  std::string ReadFirstLine(const std::string& path) override;
  void AppendText(const std::string& path, const std::string& text) override;
  WholeFile ReadWholeFile(const std::string& path, std::size_t maxBytes, std::string& bytes) override;
};

}  // namespace updater
