#pragma once
// The two ways a trapped procedure reports a fault: the form's ShowError and the modules' ReportRuntimeError.

#include <cstdint>
#include <string>

#include "text/Fault.h"

namespace updater {

// Reporter of the form's own procedures: a plain message box, then a log record.
class IFormErrors {
 public:
  virtual ~IFormErrors() = default;
  // Reports message; current is the fault being handled (Fault(0, 0) when there is none).
  virtual void ShowError(const std::string& message, const Fault& current) = 0;
};

// Reporter of the modules and classes: an error box asking to contact the author, then a log record.
class IRuntimeErrors {
 public:
  virtual ~IRuntimeErrors() = default;
  virtual void ReportRuntimeError(std::int32_t number, std::int32_t line, const std::string& message) = 0;
};

}  // namespace updater
