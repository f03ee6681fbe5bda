#pragma once
// The running program as Windows reports it: its executable's path (GetModuleFileNameA) and the
// command line the host passed (GetCommandLineA) and the user's user-interface language.

#include <string_view>

#include "platform/ProgramFacts.h"

namespace updater {

// The argument text of a Windows command line: what follows the program's name and the blanks or
// tabs after it. The name ends as Windows ends it: at the first blank or tab outside double quotes.
std::string_view ArgumentText(std::string_view commandLine);

class WindowsProgramInfo : public ProgramFacts {
 public:
  WindowsProgramInfo();
  // The name of GetUserDefaultUILanguage's language ("pt-BR", "zh-TW").
  std::vector<std::string> UserLanguages() const override;
};

}  // namespace updater
