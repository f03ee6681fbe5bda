// The updater: wires the Linux and Qt stand-ins of the platform to the program's logic and runs it.
//
//   updater <ftp, https or http address> <expected size in bytes> <language: 1000 English, 2000 German>

#include "platform/desktop/DesktopSession.h"
#include "platform/linux/LinuxLocalFiles.h"
#include "platform/linux/LinuxLocaleClock.h"
#include "platform/linux/LinuxProgramInfo.h"
#include "platform/linux/LinuxShellExecute.h"
#include "platform/linux/LinuxSystemVersion.h"
#include "platform/linux/LinuxTextFiles.h"
#include "platform/linux/OpenSslPublisherSignature.h"
#include "platform/linux/internet/CurlInternet.h"
#include "text/ErrorLog.h"
#include "text/ErrorReporter.h"
#include "text/Localisation.h"
#include "updater/UpdateState.h"
#include "updater/frmUpdater.h"

#include <clocale>

int main(int argc, char** argv) {
  using namespace updater;
  std::setlocale(LC_ALL, "");

  // The argument text is taken before Qt starts, so that no argument is mistaken for a Qt option.
  LinuxProgramInfo program(JoinArguments(argc, argv));
  DesktopSession desktop(argc > 0 ? argv[0] : nullptr);

  LinuxTextFiles textFiles;
  LinuxLocalFiles localFiles;
  LinuxLocaleClock clock;
  LinuxSystemVersion systemVersion;
  LinuxShellExecute shell;
  CurlInternet internet;
  OpenSslPublisherSignature publisherSignature;

  ErrorLog log(textFiles, program, clock, systemVersion);
  ErrorReporter reporter(desktop.MessageBox(), log);
  UpdateState state;
  Localisation texts(state.LanguageBase, reporter);

  const TrayDesktop tray{desktop.NotifyShell(), clock,         desktop.Screen(),  desktop.Window(),
                         desktop.Menu(),        desktop.GoodIcons(), desktop.BadIcons()};
  const FormServices services{program, textFiles, localFiles, internet, shell, desktop.MessageBox(),
                              desktop.Timer(), desktop.EventLoop(), tray, publisherSignature};
  frmUpdater form(state, services, FormReporting{reporter, reporter, log, texts});
  desktop.Attach(form);

  form.Form_Load();
  return form.Unloaded() ? 0 : desktop.Run();
}
