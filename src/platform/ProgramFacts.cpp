#include "platform/ProgramFacts.h"

namespace updater {

ProgramFacts::ProgramFacts(const std::string& executable, char separator, std::string arguments)
    : separator_(separator), arguments_(std::move(arguments)) {
  const auto slash = executable.rfind(separator);
  folder_ = slash == std::string::npos ? "." : executable.substr(0, slash);
  module_ = slash == std::string::npos ? executable : executable.substr(slash + 1);
  if (const auto dot = module_.rfind('.'); dot != std::string::npos && dot > 0) module_.erase(dot);
}

}  // namespace updater
