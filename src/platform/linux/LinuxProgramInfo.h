#pragma once
// The running executable's folder and name, read from /proc/self/exe, and the command line.

#include <string>

#include "platform/ProgramFacts.h"

namespace updater {

class LinuxProgramInfo : public ProgramFacts {
 public:
  // arguments are the program's arguments, joined by single blanks.
  explicit LinuxProgramInfo(std::string arguments);
};

// The argument text of a command line: the arguments after the program's own name, joined by blanks.
std::string JoinArguments(int argc, const char* const* argv);

}  // namespace updater
