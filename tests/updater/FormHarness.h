#pragma once
// The form wired to recording fakes of every platform service, with the real texts, traps and log.

#include <string>
#include <vector>

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

struct FormHarness {
  FormHarness() { system.files["/opt/app/update.cfg"] = "Demo App\r\nsecond line\r\n"; }

  void Load(const std::string& commandLine) {
    system.commandLine = commandLine;
    form.Form_Load();
  }
  void Click(int code) { form.Form_MouseMove(static_cast<float>(code * 15)); }
  std::string Log() { return system.files["/opt/app/orlenza.err"]; }
  std::string LocalFile(const std::string& name) { return localFiles.files["/tmp/" + name].bytes; }
  // The texts of one field in every modify request that carried its group, in order.
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
  std::string LastBalloonTitle() const { return Sent(nid::NIF_INFO, nid::kInfoTitle, nid::kInfoTitleWidth).back(); }
  std::uint32_t LastBalloonIcon() const {
    return nid::ReadU32(desktop.notifications.back().record, nid::kInfoFlags);
  }
  int Requests(std::uint32_t message) const {
    int n = 0;
    for (const auto& r : desktop.notifications) n += r.message == message;
    return n;
  }

  FakeSystem system;
  FakeClock clock;
  MemoryLocalFiles localFiles;
  FakeInternet internet;
  FakeDesktop desktop;
  FakeImageList goodIcons{100}, badIcons{200};
  FakePublisherSignature publisherSignature{localFiles};
  ErrorLog log{system, system, clock, system};
  ErrorReporter reporter{desktop, log};
  UpdateState state;
  Localisation texts{state.LanguageBase, reporter};
  frmUpdater form{state,
                  FormServices{system, system, localFiles, internet, desktop, desktop, desktop, desktop,
                               TrayDesktop{desktop, clock, desktop, desktop, desktop, goodIcons, badIcons},
                               publisherSignature},
                  FormReporting{reporter, reporter, log, texts}};
};

// n bytes that tell where each byte came from.
inline std::string Pattern(std::size_t n) {
  std::string s(n, '\0');
  for (std::size_t i = 0; i < n; ++i) s[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
  return s;
}

}  // namespace updater::test
