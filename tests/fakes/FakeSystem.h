#pragma once
// The program's files, identity, clock and system version, in memory.

#include <cstring>
#include <map>
#include <string>

#include "platform/LocaleClock.h"
#include "platform/ProgramInfo.h"
#include "platform/SystemVersion.h"
#include "platform/TextFiles.h"
#include "text/Fault.h"

namespace updater::test {

// The program lives in /opt/app; files are kept by path; a path under readOnly cannot be written.
class FakeSystem : public ITextFiles, public IProgramInfo, public ISystemVersion, public ILocaleClock {
 public:
  std::string ReadFirstLine(const std::string& path) override {
    const auto found = files.find(path);
    if (found == files.end()) RaiseFault(FaultNumber::FileNotFound);
    if (found->second.empty()) RaiseFault(FaultNumber::InputPastEndOfFile);
    return found->second.substr(0, found->second.find_first_of("\r\n"));
  }
  void AppendText(const std::string& path, const std::string& text) override {
    if (!readOnly.empty() && path.rfind(readOnly, 0) == 0) RaiseFault(FaultNumber::PermissionDenied);
    files[path] += text;
  }
  WholeFile ReadWholeFile(const std::string& path, std::size_t maxBytes, std::string& bytes) override {
    const auto found = files.find(path);
    bytes.clear();
    if (found == files.end()) return WholeFile::Missing;
    if (found->second.size() > maxBytes) return WholeFile::Unreadable;
    bytes = found->second;
    return WholeFile::Read;
  }
  std::string FileBesideProgram(const std::string& name) const override { return "/opt/app/" + name; }
  std::string ModuleName() const override { return "updater"; }
  std::string CommandLine() const override { return commandLine; }
  std::vector<std::string> UserLanguages() const override { return languages; }
  bool GetVersionEx(OsVersionInfo& info) override {
    info.majorVersion = 6;
    info.minorVersion = 1;
    info.buildNumber = 0;
    std::memcpy(info.csdVersion.data(), release.data(), std::min(release.size(), info.csdVersion.size()));
    return versionKnown;
  }
  std::string NowText() override { return "12/06/26 10:11:12"; }
  double SecondsSinceMidnight() override { return secondsSinceMidnight; }

  std::map<std::string, std::string> files;
  std::string readOnly;
  std::string commandLine;
  std::vector<std::string> languages;
  std::string release = std::string("Debian GNU/Linux 12 (bookworm)", 31);  // with its terminator
  bool versionKnown = true;
  double secondsSinceMidnight = 36672.345;
};

}  // namespace updater::test
