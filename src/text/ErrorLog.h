#pragma once
// The error log "orlenza.err" beside the program: one ten-line record per report, appended.

#include <cstdint>
#include <string>

#include "platform/LocaleClock.h"
#include "platform/ProgramInfo.h"
#include "platform/SystemVersion.h"
#include "platform/TextFiles.h"

namespace updater {

// The contents of one record, as written.
struct LogRecordFields {
  std::string time;
  std::string osVersion;
  std::string module;
  std::string message;
  std::int32_t number = 0;
  std::int32_t line = 0;
};

// The ten lines of a record, each ending in CR LF.
std::string FormatLogRecord(const LogRecordFields& fields);

class ErrorLog {
 public:
  ErrorLog(ITextFiles& files, const IProgramInfo& program, ILocaleClock& clock, ISystemVersion& system)
      : files_(files), program_(program), clock_(clock), system_(system) {}

  // Appends a record; a record that cannot be written is lost without a word.
  void WriteErrorLog(std::int32_t errorNumber, std::int32_t errorLine, const std::string& message);

  // "major.minor.build release", "unknow" when the system does not tell, or the fault that arose.
  std::string GetWinVersion();

 private:
  ITextFiles& files_;
  const IProgramInfo& program_;
  ILocaleClock& clock_;
  ISystemVersion& system_;
};

}  // namespace updater
