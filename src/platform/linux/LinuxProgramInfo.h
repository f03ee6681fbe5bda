#pragma once
// The running executable's folder and name, read from /proc/self/exe, the command line, and the
// user's languages from the environment.

#include <string>

#include "platform/ProgramFacts.h"

namespace updater {

class LinuxProgramInfo : public ProgramFacts {
 public:
  // arguments are the program's arguments, joined by single blanks.
  explicit LinuxProgramInfo(std::string arguments);
  // The messages locale as gettext reads it: the entries of LANGUAGE (a colon-separated list), or
  // else the first of LC_ALL, LC_MESSAGES and LANG that is set; none when that locale is C or POSIX,
  // in which gettext ignores LANGUAGE too.
  std::vector<std::string> UserLanguages() const override;
};

// The argument text of a command line: the arguments after the program's own name, joined by blanks.
std::string JoinArguments(int argc, const char* const* argv);

}  // namespace updater
