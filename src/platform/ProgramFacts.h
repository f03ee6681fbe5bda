#pragma once
// The running program's facts from its executable's full path and its argument text, alike on every
// platform: the path is split at its last separator.

#include <string>

#include "platform/ProgramInfo.h"

namespace updater {

class ProgramFacts : public IProgramInfo {
 public:
  // separator is the platform's path separator; a path without one lies in the current folder.
  ProgramFacts(const std::string& executable, char separator, std::string arguments);

  // The file in the executable's folder, joined with the separator.
  std::string FileBesideProgram(const std::string& name) const override { return folder_ + separator_ + name; }
  std::string ModuleName() const override { return module_; }
  std::string CommandLine() const override { return arguments_; }

 private:
  char separator_;
  std::string folder_;
  std::string module_;
  std::string arguments_;
};

}  // namespace updater
