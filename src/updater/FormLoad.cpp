// Start-up of the form, its fault reporter and the dispatch of desktop events.

#include "text/Languages.h"
#include "text/Trap.h"
#include "updater/CommandLine.h"
#include "updater/frmUpdater.h"

namespace updater {

frmUpdater::frmUpdater(UpdateState& state, const FormServices& services, const FormReporting& reporting)
    : state_(state),
      services_(services),
      reporting_(reporting),
      tray_(services.tray, reporting.formErrors, [this] { ProcessDownloadResult(); }) {}

void frmUpdater::ShowError(const std::string& message, const Fault& current) {
  reporting_.formErrors.ShowError(message, current);
}

void frmUpdater::Form_Load() {
  bool faulted = false;
  RunTrapped(
      [&] {
        AppName = services_.textFiles.ReadFirstLine(services_.program.FileBesideProgram("update.cfg"));
        const std::string arguments = services_.program.CommandLine();
        CXPSysTrayIcon& icon = tray_.CreateSysTrayIcon();
        icon.Owner(services_.tray.window.hWnd());
        // The icon reports its pointer events to the form as pointer moves.
        icon.CallBackEvent(wm::WM_MOUSEMOVE);
        services_.tray.window.Hide();

        const CommandLine commandLine = ParseCommandLine(arguments);
        DownloadURL = commandLine.downloadUrl;
        DownloadSize = commandLine.downloadSize;
        state_.LanguageBase = commandLine.languageBase == kDesktopLanguage
                                  ? LanguageOfTags(services_.program.UserLanguages())
                                  : commandLine.languageBase;
        if (commandLine.valid) {
          LocalizeGUI();
          StartDownload();
        } else {
          ShowError("Command line syntax error.");
          Unload();
        }
      },
      [&](const Fault& fault) {
        ShowError("Rintime Error in Form_Load", fault);
        faulted = true;
      });
  // Nothing is left to do after a fault in start-up: no icon, no attempt.
  if (faulted) Unload();
}

void frmUpdater::LocalizeGUI() {
  TrapForm(reporting_.formErrors, "Runtime Error in LocalizeGUI", [&] {
    services_.tray.menu.SetCaption(MenuCommand::Cancel, Text(kCancelCaption));
    services_.tray.menu.SetCaption(MenuCommand::Pause, Text(kPauseCaption));
    services_.tray.menu.SetCaption(MenuCommand::Continue, Text(kContinueCaption));
    services_.tray.menu.SetRightToLeft(ReadsRightToLeft(state_.LanguageBase));
  });
}

CXPSysTrayIcon& frmUpdater::SysTrayIcon() {
  CXPSysTrayIcon* icon = tray_.SysTrayIcon();
  if (icon == nullptr) RaiseFault(FaultNumber::ObjectVariableNotSet);
  return *icon;
}

void frmUpdater::tmrTrayAnim_Timer() {
  if (!unloaded_) tray_.tmrTrayAnim_Timer();
}

void frmUpdater::Form_MouseMove(float x) {
  if (!unloaded_) tray_.Form_MouseMove(x);
}

void frmUpdater::Form_Resize() {
  if (!unloaded_) tray_.Form_Resize();
}

void frmUpdater::MenuClick(MenuCommand command) {
  if (unloaded_) return;
  switch (command) {
    case MenuCommand::Pause: mPopPause_Click(); break;
    case MenuCommand::Continue: mPopContinue_Click(); break;
    case MenuCommand::Cancel: mPopCancel_Click(); break;
  }
}

}  // namespace updater
