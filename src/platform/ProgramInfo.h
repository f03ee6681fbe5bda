#pragma once
// Facts about the running program that the platform knows.

#include <string>
#include <vector>

namespace updater {

class IProgramInfo {
 public:
  virtual ~IProgramInfo() = default;
  // Full path of a file named name in the folder that holds the program's executable.
  virtual std::string FileBesideProgram(const std::string& name) const = 0;
  // File name of the running executable without its extension.
  virtual std::string ModuleName() const = 0;
  // The command line's argument text: everything after the program's own name, as one text.
  virtual std::string CommandLine() const = 0;
  // The languages the user wants the desktop's texts in, most wanted first, as the desktop names
  // them ("pt_BR.UTF-8", "zh-TW"); empty when it names none.
  virtual std::vector<std::string> UserLanguages() const = 0;
};

}  // namespace updater
