// The end of an update: the installer hand-off, the retry question and unloading the form.

#include "text/Languages.h"
#include "text/Sprintf.h"
#include "text/Trap.h"
#include "updater/frmUpdater.h"

namespace updater {

void frmUpdater::ProcessDownloadResult() {
  if (state_.DownloadComplete) {
    services_.shell.ShellExecute(0, "open", LocalFilePath, "", TempFolder, SW_SHOW);
    Unload();
  } else if (state_.DownloadFailed) {
    // Cleared first, so that clicks handled while the question is open find nothing to do.
    state_.DownloadFailed = false;
    services_.tray.window.SetForegroundWindow();
    const std::string question = sprintf(reporting_.runtimeErrors, Text(kRetryQuestion), {state_.LastErrorText});
    const std::int32_t readingOrder =
        ReadsRightToLeft(state_.LanguageBase) ? msgbox::kRight | msgbox::kRtlReading : 0;
    if (services_.messageBox.MsgBox(question, msgbox::kYesNo | readingOrder, "Updater") == msgbox::kAnswerYes) {
      StartDownload();
    } else {
      Unload();
    }
  }
}

void frmUpdater::Unload() {
  if (unloaded_) return;
  unloaded_ = true;
  Form_Unload();
  services_.eventLoop.Quit();
}

void frmUpdater::Form_Unload() {
  TrapForm(reporting_.formErrors, "Rintime Error in Form_Unload", [&] {
    if (CXPSysTrayIcon* icon = tray_.SysTrayIcon()) icon->Visible(false);
  });
}

}  // namespace updater
