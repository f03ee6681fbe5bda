#include "text/ErrorReporter.h"

namespace updater {

void ErrorReporter::ShowError(const std::string& message, const Fault& current) {
  box_.MsgBox("Runtime error.", msgbox::kOkOnly, "Updater");
  log_.WriteErrorLog(current.Number(), current.Line(), message);
}

void ErrorReporter::ReportRuntimeError(std::int32_t number, std::int32_t line, const std::string& message) {
  box_.MsgBox("Runtime error. Please contact to the Author for problem solving.", msgbox::kCritical, "Updater");
  log_.WriteErrorLog(number, line, message);
}

}  // namespace updater
