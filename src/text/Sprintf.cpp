#include "text/Sprintf.h"

#include <charconv>
#include <cmath>

#include "text/Trap.h"

namespace updater {

std::string FormatValue::Text() const {
  if (const auto* text = std::get_if<std::string>(&value_)) return *text;
  if (const auto* whole = std::get_if<long long>(&value_)) return std::to_string(*whole);
  const double number = std::get<double>(value_);
  if (std::isfinite(number) && number == std::trunc(number) && std::fabs(number) < 1e15)
    return std::to_string(static_cast<long long>(number));
  char buffer[32];
  const auto end = std::to_chars(buffer, buffer + sizeof buffer, number).ptr;
  return std::string(buffer, end);
}

std::string sprintf(IRuntimeErrors& errors, std::string formatText, std::initializer_list<FormatValue> params) {
  std::string result;
  TrapRuntime(errors, "Runtime Error in sprintf", [&] {
    std::string work = std::move(formatText);
    int n = 1;
    for (const FormatValue& value : params) {
      std::string placeholder = "%";
      placeholder += std::to_string(n++);
      const auto at = work.find(placeholder);
      if (at != std::string::npos) work.replace(at, placeholder.size(), value.Text());
    }
    result = std::move(work);
  });
  return result;
}

}  // namespace updater
