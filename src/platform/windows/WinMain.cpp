// The updater on Windows: wires the Win32 services to the program's logic and runs it.
//
//   updater.exe <ftp address> <expected size in bytes> <language: 1000 English, 2000 German>

#include "platform/FormEventsRelay.h"
#include "platform/windows/WinAnimationTimer.h"
#include "platform/windows/WinEventLoop.h"
#include "platform/windows/WinFormWindow.h"
#include "platform/windows/WinImageList.h"
#include "platform/windows/WinInternet.h"
#include "platform/windows/WinLocalFiles.h"
#include "platform/windows/WinLocaleClock.h"
#include "platform/windows/WinMessageBox.h"
#include "platform/windows/WinNotifyShell.h"
#include "platform/windows/WinPopupMenu.h"
#include "platform/windows/WinProgramInfo.h"
#include "platform/windows/WinShellExecute.h"
#include "platform/windows/WinSystemVersion.h"
#include "platform/windows/WinTextFiles.h"
#include "text/ErrorLog.h"
#include "text/ErrorReporter.h"
#include "text/Localisation.h"
#include "updater/UpdateState.h"
#include "updater/frmUpdater.h"

int main() {
  using namespace updater;

  WinProgramInfo program;
  WinTextFiles textFiles;
  WinLocalFiles localFiles;
  WinLocaleClock clock;
  WinSystemVersion systemVersion;
  WinShellExecute shell;
  WinInternet internet;

  FormEventsRelay relay;
  WinFormWindow window(relay);
  WinMessageBox messageBox(window);
  WinEventLoop eventLoop;
  WinPopupMenu menu(window, relay);
  const WinImageList goodIcons(FrameColour::Green);
  const WinImageList badIcons(FrameColour::Red);
  WinNotifyShell notifyShell;
  WinAnimationTimer timer(window);

  ErrorLog log(textFiles, program, clock, systemVersion);
  ErrorReporter reporter(messageBox, log);
  UpdateState state;
  Localisation texts(state.LanguageBase, reporter);

  const TrayDesktop tray{notifyShell, clock, window, window, menu, goodIcons, badIcons};
  const FormServices services{program, textFiles, localFiles, internet, shell, messageBox, timer, eventLoop, tray};
  frmUpdater form(state, services, FormReporting{reporter, reporter, log, texts});
  relay.Attach(form);

  form.Form_Load();
  return form.Unloaded() ? 0 : eventLoop.Run();
}
