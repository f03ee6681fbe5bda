#pragma once
// The running program as Windows reports it: its executable's path (GetModuleFileNameA) and the
// command line the host passed (GetCommandLineA) and the user's user-interface language.

#include <string>
#include <string_view>

#include "platform/ProgramInfo.h"

namespace updater {

// The argument text of a Windows command line: what follows the program's name and the blanks or
// tabs after it. The name ends as Windows ends it: at the first blank or tab outside double quotes.
std::string_view ArgumentText(std::string_view commandLine);

class WindowsProgramInfo : public IProgramInfo {
 public:
  WindowsProgramInfo();

  // The file in the executable's folder, joined with "\".
  std::string FileBesideProgram(const std::string& name) const override;
  std::string ModuleName() const override;
  std::string CommandLine() const override { return arguments_; }
  // The name of GetUserDefaultUILanguage's language ("pt-BR", "zh-TW").
  std::vector<std::string> UserLanguages() const override;

 private:
  std::string folder_;
  std::string module_;
  std::string arguments_;
};

}  // namespace updater
