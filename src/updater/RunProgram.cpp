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
        ErrorReporter reporter(desktop->MessageBox(), log);
        UpdateState state;
        Localisation texts(state.LanguageBase, reporter);
        const TrayDesktop tray{desktop->NotifyShell(), platform.clock, desktop->Screen(),   desktop->Window(),
                               desktop->Menu(),        desktop->GoodIcons(), desktop->BadIcons()};
        const FormServices services{platform.program,    platform.textFiles,  platform.localFiles,
                                    platform.internet,   platform.shell,      desktop->MessageBox(),
                                    desktop->Timer(),    desktop->EventLoop(), tray,
                                    platform.publisherSignature};
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
