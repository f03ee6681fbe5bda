#pragma once
// Reporters that remember every report instead of showing boxes.

#include <string>
#include <vector>

#include "text/Reporters.h"

namespace updater::test {

struct Report {
  std::string message;
  std::int32_t number;
  std::int32_t line;
};

struct RecordingReporters : IFormErrors, IRuntimeErrors {
  void ShowError(const std::string& message, const Fault& f) override { formReports.push_back({message, f.Number(), f.Line()}); }
  void ReportRuntimeError(std::int32_t number, std::int32_t line, const std::string& message) override {
    runtimeReports.push_back({message, number, line});
  }
  std::vector<Report> formReports, runtimeReports;
};

}  // namespace updater::test
