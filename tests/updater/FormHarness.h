#pragma once
// The form wired to recording fakes of every platform service, with the real texts, traps and log.

#include <string>
#include <vector>

#include "fakes/FakeDesktop.h"
#include "fakes/FakeInternet.h"
#include "fakes/FakeSystem.h"
#include "fakes/MemoryLocalFiles.h"
#include "text/ErrorLog.h"
#include "text/ErrorReporter.h"
#include "text/Localisation.h"
#include "updater/UpdateState.h"
#include "updater/frmUpdater.h"

namespace updater::test {

// Pointer codes as the shell reports them.
inline constexpr int kLeftUp = 514;
inline constexpr int kLeftDouble = 515;
inline constexpr int kRightUp = 517;

struct FormHarness {
  FormHarness() { textFiles.files["/opt/app/update.cfg"] = "Demo App\r\nsecond line\r\n"; }

  // Starts the program with this argument text.
  void Load(const std::string& commandLine) {
    program.commandLine = commandLine;
    form.Form_Load();
  }
  void Click(int code) { form.Form_MouseMove(static_cast<float>(code * 15)); }
  void Choose(MenuCommand command) { form.MenuClick(command); }

  std::string Log() { return textFiles.files["/opt/app/orlenza.err"]; }
  // Every text field of one kind sent to the shell, in order.
  std::vector<std::string> Sent(std::uint32_t flag, std::size_t offset, std::size_t width) const {
    std::vector<std::string> texts;
    for (const auto& n : desktop.notifications) {
      if (n.message == nid::NIM_MODIFY && (nid::ReadU32(n.record, nid::kFlags) & flag))
        texts.push_back(RecordText(n.record, offset, width));
    }
    return texts;
  }
  std::vector<std::string> Tooltips() const { return Sent(nid::NIF_TIP, nid::kTip, nid::kTipWidth); }
  std::vector<std::string> Balloons() const { return Sent(nid::NIF_INFO, nid::kInfo, nid::kInfoWidth); }
  std::vector<std::string> BalloonTitles() const {
    return Sent(nid::NIF_INFO, nid::kInfoTitle, nid::kInfoTitleWidth);
  }
  std::uint32_t LastBalloonIcon() const {
    for (auto it = desktop.notifications.rbegin(); it != desktop.notifications.rend(); ++it) {
      if (nid::ReadU32(it->record, nid::kFlags) & nid::NIF_INFO) return nid::ReadU32(it->record, nid::kInfoFlags);
    }
    return 0;
  }
  int Requests(std::uint32_t message) const {
    int n = 0;
    for (const auto& r : desktop.notifications) n += r.message == message;
    return n;
  }
  std::string LocalFile(const std::string& name) { return localFiles.files["/tmp/" + name].bytes; }

  MemoryTextFiles textFiles;
  FakeProgramInfo program;
  FakeClock clock;
  FakeSystemVersion system;
  MemoryLocalFiles localFiles;
  FakeInternet internet;
  FakeDesktop desktop;
  FakeImageList goodIcons{100};
  FakeImageList badIcons{200};
  ErrorLog log{textFiles, program, clock, system};
  ErrorReporter reporter{desktop, log};
  UpdateState state;
  Localisation texts{state.LanguageBase, reporter};
  frmUpdater form{state,
                  FormServices{program, textFiles, localFiles, internet, desktop, desktop, desktop, desktop,
                               TrayDesktop{desktop, clock, desktop, desktop, desktop, goodIcons, badIcons}},
                  FormReporting{reporter, reporter, log, texts}};
};

// Content of n bytes that shows where each byte came from.
inline std::string Pattern(std::size_t n) {
  std::string s(n, '\0');
  for (std::size_t i = 0; i < n; ++i) s[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
  return s;
}

}  // namespace updater::test
