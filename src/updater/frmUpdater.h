#pragma once
// The program's one form: start-up, the download driver with its menu commands, and the end of an
// update. It is never shown; it owns the tray icon and receives the desktop's events.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "ftp/RemoteFile.h"
#include "platform/EventLoop.h"
#include "platform/FormEvents.h"
#include "platform/Internet.h"
#include "platform/LocalFiles.h"
#include "platform/MessageBox.h"
#include "platform/ProgramInfo.h"
#include "platform/PublisherSignature.h"
#include "platform/ShellExecute.h"
#include "platform/TextFiles.h"
#include "text/ErrorLog.h"
#include "text/Localisation.h"
#include "text/Reporters.h"
#include "tray/TrayPresence.h"
#include "updater/ReleaseServer.h"
#include "updater/UpdateState.h"

namespace updater {

// The publisher's public key beside the program: its presence switches the signature check on.
inline constexpr const char* kPublisherKeyFile = "update.pem";
inline constexpr std::size_t kMaxPublisherKeyBytes = 16 * 1024;
// The longest signature file accepted beside a release on the server.
inline constexpr std::size_t kMaxSignatureBytes = 1024;

// The platform services the form works with.
struct FormServices {
  const IProgramInfo& program;
  ITextFiles& textFiles;
  ILocalFiles& localFiles;
  IInternet& internet;
  IShellExecute& shell;
  IMessageBox& messageBox;
  IAnimationTimer& timer;
  IEventLoop& eventLoop;
  TrayDesktop tray;
  IPublisherSignature& publisherSignature;
};

// The program's text and fault services.
struct FormReporting {
  IFormErrors& formErrors;
  IRuntimeErrors& runtimeErrors;
  ErrorLog& log;
  const Localisation& texts;
};

class frmUpdater : public IFormEvents {
 public:
  frmUpdater(UpdateState& state, const FormServices& services, const FormReporting& reporting);

  // The program's start: reads update.cfg and the command line and runs the first attempt.
  void Form_Load();
  // True once the form has been unloaded: the program ends when the running call chain returns.
  bool Unloaded() const { return unloaded_; }

  void tmrTrayAnim_Timer() override;
  void Form_MouseMove(float x) override;
  void Form_Resize() override;
  void MenuClick(MenuCommand command) override;

 private:
  void ShowError(const std::string& message, const Fault& current = Fault(0, 0));
  void LocalizeGUI();
  void StartDownload();
  bool DownloadAppUpdate(const std::string& URLAppExeToDownload, std::int32_t BytesToDownload);
  bool CopyRemoteFile(RemoteFile& remoteFile, IOutputFile& localFile, std::int32_t BytesToDownload,
                      std::int32_t& total);
  bool FetchSignature(ReleaseServer& server, std::string& signature);
  bool PublisherSigned(const std::string& URLAppExeToDownload, const std::string& keyPath, const std::string& key,
                       const std::string& signature);
  void ReportSuccess();
  void ReportFailure();
  void mPopPause_Click();
  void mPopContinue_Click();
  void mPopCancel_Click();
  void ProcessDownloadResult();
  void Unload();
  void Form_Unload();
  // The icon object; a fault when it has not been created.
  CXPSysTrayIcon& SysTrayIcon();
  // Offsets of the form's texts in the string table.
  enum TextOffset : std::int32_t {
    kCancelCaption = 1, kPauseCaption, kContinueCaption, kTitle, kProgressTip, kFailedTip, kFailedBalloon,
    kRetryQuestion, kUrlNotValid, kNoConnection, kCannotOpen, kWrongSize, kCompleteBalloon, kCompleteTip,
    kNotSigned = 16,
  };
  std::string Text(TextOffset offset) const { return reporting_.texts.LoadLocalString(offset); }

  UpdateState& state_;
  FormServices services_;
  FormReporting reporting_;
  TrayPresence tray_;
  bool unloaded_ = false;

  std::string AppName;
  std::string DownloadURL;
  std::int32_t DownloadSize = 0;
  std::string LocalFilePath;
  std::string TempFolder;
};

}  // namespace updater
