#pragma once
// The download's local file on a POSIX file system, safe in a shared temporary folder: an old entry
// is removed without following links and only when it belongs to the user, and the new file is
// created exclusively, for the user only.

#include "platform/LocalFiles.h"

namespace updater {

class LinuxLocalFiles : public ILocalFiles {
 public:
  // TMPDIR when it names an existing absolute folder, otherwise /tmp.
  std::string TempPath() override;
  bool Exists(const std::string& path) override;
  void Delete(const std::string& path) override;
  std::unique_ptr<IOutputFile> Create(const std::string& path) override;
};

}  // namespace updater
