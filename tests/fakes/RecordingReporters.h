#pragma once
// Reporters that remember every report instead of showing boxes, and the number of a raised fault.

#include <functional>
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

// The number of the fault that call raises, 0 when it raises none.
inline std::int32_t FaultOf(const std::function<void()>& call) {
  try {
    call();
  } catch (const Fault& fault) {
    return fault.Number();
  }
  return 0;
}

}  // namespace updater::test
