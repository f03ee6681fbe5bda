#pragma once
// The fault reporters: a modal message box, then a record in the error log.

#include "platform/MessageBox.h"
#include "text/ErrorLog.h"
#include "text/Reporters.h"

namespace updater {

class ErrorReporter : public IFormErrors, public IRuntimeErrors {
 public:
  ErrorReporter(IMessageBox& box, ErrorLog& log) : box_(box), log_(log) {}

  // "Runtime error." with OK, then the record of current.
  void ShowError(const std::string& message, const Fault& current) override;
  // "Runtime error. Please contact to the Author for problem solving." with the error icon, then the record.
  void ReportRuntimeError(std::int32_t number, std::int32_t line, const std::string& message) override;

 private:
  IMessageBox& box_;
  ErrorLog& log_;
};

}  // namespace updater
