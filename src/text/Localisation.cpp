#include "text/Localisation.h"

#include <limits>

#include "resources/StringTable.h"
#include "text/Trap.h"

namespace updater {

std::string Localisation::LoadLocalString(std::int32_t stringOffset) const {
  std::string result;
  TrapRuntime(errors_, "Runtime Error in LoadLocalString", [&] {
    const std::int64_t id = std::int64_t{languageBase_} + stringOffset;
    if (id < std::numeric_limits<std::int32_t>::min() || id > std::numeric_limits<std::int32_t>::max())
      RaiseFault(FaultNumber::Overflow);
    const auto text = FindString(static_cast<std::int32_t>(id));
    if (!text) RaiseFault(FaultNumber::ResourceNotFound);
    std::string withBreaks;
    withBreaks.reserve(text->size() + 8);
    for (char c : *text) {
      if (c == '|')
        withBreaks += "\r\n";
      else
        withBreaks += c;
    }
    result = std::move(withBreaks);
  });
  return result;
}

}  // namespace updater
