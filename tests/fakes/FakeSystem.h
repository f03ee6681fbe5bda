#pragma once
// In-memory stand-ins for the program's files, clock, version and identity.

#include <map>
#include <string>

#include "platform/LocaleClock.h"
#include "platform/ProgramInfo.h"
#include "platform/SystemVersion.h"
#include "platform/TextFiles.h"
#include "text/Fault.h"

namespace updater::test {

class MemoryTextFiles : public ITextFiles {
 public:
  std::string ReadFirstLine(const std::string& path) override {
    const auto found = files.find(path);
    if (found == files.end()) RaiseFault(FaultNumber::FileNotFound);
    if (found->second.empty()) RaiseFault(FaultNumber::InputPastEndOfFile);
    return found->second.substr(0, found->second.find_first_of("\r\n"));
  }
  void AppendText(const std::string& path, const std::string& text) override {
    if (path.rfind(readOnlyFolder, 0) == 0 && !readOnlyFolder.empty()) RaiseFault(FaultNumber::PermissionDenied);
    files[path] += text;
  }

  std::map<std::string, std::string> files;
  std::string readOnlyFolder;
};

class FakeProgramInfo : public IProgramInfo {
 public:
  std::string FileBesideProgram(const std::string& name) const override { return "/opt/app/" + name; }
  std::string ModuleName() const override { return "updater"; }
  std::string CommandLine() const override { return commandLine; }

  std::string commandLine;
};

class FakeClock : public ILocaleClock {
 public:
  std::string NowText() override { return now; }
  double SecondsSinceMidnight() override { return secondsSinceMidnight; }

  std::string now = "12/06/26 10:11:12";
  double secondsSinceMidnight = 36672.345;
};

class FakeSystemVersion : public ISystemVersion {
 public:
  bool GetVersionEx(OsVersionInfo& info) override {
    if (!answers) return false;
    info = reply;
    return true;
  }

  bool answers = true;
  OsVersionInfo reply = [] {
    OsVersionInfo v;
    v.majorVersion = 6;
    v.minorVersion = 1;
    v.buildNumber = 0;
    const std::string name = "Debian GNU/Linux 12 (bookworm)";
    std::copy(name.begin(), name.end(), v.csdVersion.begin());
    return v;
  }();
};

}  // namespace updater::test
