#include "updater/RunProgram.h"

#include "text/ErrorLog.h"
#include "text/ErrorReporter.h"
#include "text/Localisation.h"
#include "text/Trap.h"
#include "updater/UpdateState.h"
#include "updater/frmUpdater.h"

namespace updater {

int RunProgram(const PlatformServices& platform, const DesktopMaker& makeDesktop) {
  ErrorLog log(platform.textFiles, platform.program, platform.clock, platform.systemVersion);
  int status = 0;
  RunTrapped(
      [&] {
        const std::unique_ptr<IDesktop> desktop = makeDesktop();
        const DesktopServices parts = desktop->Services();
        ErrorReporter reporter(parts.messageBox, log);
        UpdateState state;
        Localisation texts(state.LanguageBase, reporter);
        const TrayDesktop tray{parts.notifyShell, platform.clock, parts.screen,    parts.window,
                               parts.menu,        parts.goodIcons, parts.badIcons};
        const FormServices services{platform.program,  platform.textFiles, platform.localFiles, platform.internet,
                                    platform.shell,    parts.messageBox,   parts.timer,         parts.eventLoop,
                                    tray,              platform.publisherSignature};
        frmUpdater form(state, services, FormReporting{reporter, reporter, log, texts});
        desktop->Attach(form);
        form.Form_Load();
        if (!form.Unloaded()) status = desktop->Run();
      },
      [&](const Fault& fault) {
        ErrorReporter(platform.messageBox, log).ShowError("Rintime Error in Form_Load", fault);
      });
  return status;
}

}  // namespace updater
