// The updater on Windows: wires the Win32 services to the program's logic and runs it.
//
//   updater.exe <ftp address> <expected size in bytes> <language: 1000 English, 2000 German>

#include "platform/FormEventsRelay.h"
#include "platform/windows/CngPublisherSignature.h"
#include "platform/windows/WindowsAnimationTimer.h"
#include "platform/windows/WindowsEventLoop.h"
#include "platform/windows/WindowsFormWindow.h"
#include "platform/windows/WindowsImageList.h"
#include "platform/windows/WindowsInternet.h"
#include "platform/windows/WindowsLocalFiles.h"
#include "platform/windows/WindowsLocaleClock.h"
#include "platform/windows/WindowsMessageBox.h"
#include "platform/windows/WindowsNotifyShell.h"
#include "platform/windows/WindowsPopupMenu.h"
#include "platform/windows/WindowsProgramInfo.h"
#include "platform/windows/WindowsShellExecute.h"
#include "platform/windows/WindowsSystemVersion.h"
#include "platform/windows/WindowsTextFiles.h"
#include "text/ErrorLog.h"
#include "text/ErrorReporter.h"
#include "text/Localisation.h"
#include "updater/UpdateState.h"
#include "updater/frmUpdater.h"

int main() {
  using namespace updater;

  WindowsProgramInfo program;
  WindowsTextFiles textFiles;
  WindowsLocalFiles localFiles;
  WindowsLocaleClock clock;
  WindowsSystemVersion systemVersion;
  WindowsShellExecute shell;
  WindowsInternet internet;
  CngPublisherSignature publisherSignature;

  FormEventsRelay relay;
  WindowsFormWindow window(relay);
  WindowsMessageBox messageBox(window);
  WindowsEventLoop eventLoop;
  WindowsPopupMenu menu(window, relay);
  const WindowsImageList goodIcons(FrameColour::Green);
  const WindowsImageList badIcons(FrameColour::Red);
  WindowsNotifyShell notifyShell;
  WindowsAnimationTimer timer(window);

  ErrorLog log(textFiles, program, clock, systemVersion);
  ErrorReporter reporter(messageBox, log);
  UpdateState state;
  Localisation texts(state.LanguageBase, reporter);

  const TrayDesktop tray{notifyShell, clock, window, window, menu, goodIcons, badIcons};
  const FormServices services{program, textFiles, localFiles, internet, shell, messageBox,
                              timer, eventLoop, tray, publisherSignature};
  frmUpdater form(state, services, FormReporting{reporter, reporter, log, texts});
  relay.Attach(form);

  form.Form_Load();
  return form.Unloaded() ? 0 : eventLoop.Run();
}
