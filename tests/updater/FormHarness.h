#pragma once
// The form wired to recording fakes of every platform service, with the real texts, traps and log.

#include <string>

#include "fakes/FakeDesktop.h"
#include "fakes/FakeInternet.h"
#include "fakes/FakePublisherSignature.h"
#include "fakes/FakeSystem.h"
#include "fakes/MemoryLocalFiles.h"
#include "text/ErrorReporter.h"
#include "updater/frmUpdater.h"

namespace updater::test {

// Pointer codes as the shell reports them.
inline constexpr int kLeftUp = 514, kLeftDouble = 515, kRightUp = 517;

// n bytes that tell where each byte came from.
inline std::string Pattern(std::size_t n) {
  std::string s(n, '\0');
  for (std::size_t i = 0; i < n; ++i) s[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
  return s;
}

struct FormHarness {
  FormHarness() { system.files["/opt/app/update.cfg"] = "Demo App\r\nsecond line\r\n"; }

  // Serves a file of size bytes as host/path, starts the program with the command line and runs it.
  FormHarness& Load(const std::string& commandLine, std::size_t size = 0, const std::string& path = "setup.exe") {
    if (size) internet.servers["host"][path] = Pattern(size);
    system.commandLine = commandLine;
    form.Form_Load();
    return *this;
  }
  void Click(int code) { form.Form_MouseMove(static_cast<float>(code * 15)); }
  void Choose(MenuCommand command) { form.MenuClick(command); }
  // Runs action at the nth call of name (DoEvents, Sleep, MsgBox, ...), counted from the start.
  void At(const std::string& name, int n, std::function<void()> action) {
    desktop.on = [this, name, n, action, previous = desktop.on](const std::string& call) {
      if (previous) previous(call);
      if (call == name && desktop.calls[name] == n) action();
    };
  }
  std::string Log() { return system.files["/opt/app/orlenza.err"]; }
  std::string LocalFile(const std::string& name = "setup.exe") const {
    const auto found = localFiles.files.find("/tmp/" + name);
    return found == localFiles.files.end() ? "" : found->second.bytes;
  }
  std::string LastTitle() const { return desktop.Modified(16, kTitleAt, 64).back(); }
  std::string LastBalloonIcon() const { return desktop.Modified(16, kInfoFlagsAt).back(); }

  FakeSystem system;
  MemoryLocalFiles localFiles;
  FakeInternet internet;
  FakeDesktop desktop;
  FakeImageList goodIcons{100}, badIcons{200};
  FakePublisherSignature publisherSignature{localFiles};
  ErrorLog log{system, system, system, system};
  ErrorReporter reporter{desktop, log};
  UpdateState state;
  Localisation texts{state.LanguageBase, reporter};
  frmUpdater form{state,
                  FormServices{system, system, localFiles, internet, desktop, desktop, desktop, desktop,
                               TrayDesktop{desktop, system, desktop, desktop, desktop, goodIcons, badIcons},
                               publisherSignature},
                  FormReporting{reporter, reporter, log, texts}};
};

}  // namespace updater::test
