#pragma once
// Reporters that remember every report instead of showing boxes.

#include <string>
#include <vector>

#include "text/Reporters.h"

namespace updater::test {

struct Report {
  std::string message;
  std::int32_t number = 0;
  std::int32_t line = 0;
};

class RecordingReporters : public IFormErrors, public IRuntimeErrors {
 public:
  void ShowError(const std::string& message, const Fault& current) override {
    formReports.push_back({message, current.Number(), current.Line()});
  }
  void ReportRuntimeError(std::int32_t number, std::int32_t line, const std::string& message) override {
    runtimeReports.push_back({message, number, line});
  }

  std::vector<Report> formReports;
  std::vector<Report> runtimeReports;
};

}  // namespace updater::test
