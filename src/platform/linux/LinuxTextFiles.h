#pragma once
// update.cfg and the error log on a POSIX file system.

#include "platform/TextFiles.h"

namespace updater {

class LinuxTextFiles : public ITextFiles {
 public:
  std::string ReadFirstLine(const std::string& path) override;
  void AppendText(const std::string& path, const std::string& text) override;
};

}  // namespace updater
