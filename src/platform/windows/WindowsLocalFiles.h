#pragma once
// The download's local file in the user's temporary folder, with the Win32 file calls: an old entry
// is removed only when it is a plain file (never a folder, never through a reparse point), and the
// new file is always created new.

#include "platform/LocalFiles.h"

namespace updater {

class WindowsLocalFiles : public ILocalFiles {
 public:
  // GetTempPathA's folder, however long.
  std::string TempPath() override;
  // Windows' file-name rules, and only characters the ANSI code page holds, since the file is named
  // to the narrow calls (the shell's "open" included).
  bool IsLocalFileName(const std::string& name) override;
  bool Exists(const std::string& path) override;
  void Delete(const std::string& path) override;
  std::unique_ptr<IOutputFile> Create(const std::string& path) override;
};

}  // namespace updater
