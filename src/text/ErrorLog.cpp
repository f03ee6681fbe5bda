#include "text/ErrorLog.h"

#include <algorithm>

#include "resources/VersionInfo.h"
#include "text/Trap.h"

namespace updater {
namespace {

// A number with a blank in front of it unless it has a sign, and a blank after it.
std::string NumberField(std::int32_t value) {
  std::string field(value >= 0 ? " " : "");
  field += std::to_string(value);
  field += ' ';
  return field;
}

}  // namespace

std::string FormatLogRecord(const LogRecordFields& f) {
  const std::string crlf = "\r\n";
  return crlf +                                                     //
         "***** Error appeared at " + f.time + crlf +               //
         "WinVer=" + f.osVersion + crlf +                           //
         "Module=" + f.module + crlf +                              //
         "Version = " + std::to_string(version::kMajor) + "." + std::to_string(version::kMinor) + "." +
         std::to_string(version::kRevision) + crlf +                //
         "message = " + f.message + crlf +                          //
         "error # = " + NumberField(f.number) + crlf +              //
         "error descr = " + FaultDescription(f.number) + crlf +     //
         "error line = " + NumberField(f.line) + crlf +             //
         crlf;
}

void ErrorLog::WriteErrorLog(std::int32_t errorNumber, std::int32_t errorLine, const std::string& message) {
  RunTrapped(
      [&] {
        const std::string path = program_.FileBesideProgram("orlenza.err");
        LogRecordFields fields{clock_.NowText(), GetWinVersion(), program_.ModuleName(), message, errorNumber,
                               errorLine};
        files_.AppendText(path, FormatLogRecord(fields));
      },
      [](const Fault&) {});
}

std::string ErrorLog::GetWinVersion() {
  std::string result = "unknow";
  RunTrapped(
      [&] {
        OsVersionInfo info;
        info.size = 148;
        if (!system_.GetVersionEx(info)) return;
        const auto nul = std::find(info.csdVersion.begin(), info.csdVersion.end(), '\0');
        if (nul == info.csdVersion.end()) RaiseFault(FaultNumber::SubscriptOutOfRange);
        result = std::to_string(info.majorVersion) + "." + std::to_string(info.minorVersion) + "." +
                 std::to_string(info.buildNumber) + " " + std::string(info.csdVersion.begin(), nul);
      },
      [&](const Fault& f) {
        result = "Unknow. ErrorNum=" + std::to_string(f.Number()) + " at line #" + std::to_string(f.Line());
      });
  return result;
}

}  // namespace updater
