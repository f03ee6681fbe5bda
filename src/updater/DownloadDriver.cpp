// One download attempt: StartDownload, DownloadAppUpdate and the popup menu's commands.

#include <array>
#include <cmath>
#include <limits>
#include <memory>

#include "text/Sprintf.h"
#include "text/Trap.h"
#include "updater/ReleaseServer.h"
#include "updater/frmUpdater.h"

namespace updater {

namespace {
constexpr std::int32_t kBlockSize = 1024;
constexpr std::uint32_t kPausedSleepMs = 10;

// Bytes in whole kilobytes, rounded down.
std::int32_t Kilobytes(std::int32_t bytes) {
  return static_cast<std::int32_t>(std::floor(static_cast<double>(bytes) / 1024.0));
}

// Whole-number share of expected in total, truncated toward zero; faults when it overflows.
std::int32_t Percent(std::int32_t total, std::int32_t expected) {
  const double percent = std::trunc(static_cast<double>(total) / expected * 100.0);
  if (!(percent >= std::numeric_limits<std::int32_t>::min() && percent <= std::numeric_limits<std::int32_t>::max()))
    RaiseFault(FaultNumber::Overflow);
  return static_cast<std::int32_t>(percent);
}

// total + read, faulting when the sum leaves the 32-bit range.
std::int32_t AddChecked(std::int32_t total, std::int32_t read) {
  std::int32_t sum = 0;
  if (__builtin_add_overflow(total, read, &sum)) RaiseFault(FaultNumber::Overflow);
  return sum;
}
}  // namespace

void frmUpdater::StartDownload() {
  TrapForm(reporting_.formErrors, "Rintime Error in StartDownload", [&] {
    state_.DownloadCancelled = false;
    state_.DownloadFailed = false;
    state_.DownloadComplete = false;
    state_.DownloadPaused = false;
    tray_.TrayAnimMode = AnimGoodCycle;
    SysTrayIcon().Visible(true);
    services_.tray.menu.SetEnabled(MenuCommand::Continue, false);
    services_.tray.menu.SetEnabled(MenuCommand::Pause, false);

    if (DownloadAppUpdate(DownloadURL, DownloadSize)) {
      state_.DownloadComplete = true;
      ProcessDownloadResult();
      Unload();
      return;
    }
    if (state_.DownloadCancelled) {
      Unload();
      return;
    }
    ReportFailure();
  });
}

void frmUpdater::ReportFailure() {
  tray_.TrayAnimMode = AnimBadCycle;
  SysTrayIcon().ToolTip(sprintf(reporting_.runtimeErrors, Text(kFailedTip), {AppName}));
  SysTrayIcon().ShowBaloon(Text(kFailedBalloon) + "|" + state_.LastErrorText,
                           sprintf(reporting_.runtimeErrors, Text(kTitle), {AppName}), 0, nid::NIIF_ERROR);
  services_.tray.menu.SetEnabled(MenuCommand::Pause, false);
  state_.DownloadFailed = true;
}

void frmUpdater::ReportSuccess() {
  SysTrayIcon().ToolTip(sprintf(reporting_.runtimeErrors, Text(kCompleteTip), {AppName}));
  SysTrayIcon().ShowBaloon(Text(kCompleteBalloon), sprintf(reporting_.runtimeErrors, Text(kTitle), {AppName}), 0, nid::NIIF_INFO);
}

bool frmUpdater::DownloadAppUpdate(const std::string& URLAppExeToDownload, std::int32_t BytesToDownload) {
  bool result = false;
  // Declared before the trap so that a fault, a cancel or a failure releases the remote file first,
  // then the server, and closes the local file on every way out.
  std::unique_ptr<ReleaseServer> server;
  std::unique_ptr<RemoteFile> remoteFile;
  std::unique_ptr<IOutputFile> localFile;
  ErrorLog& log = reporting_.log;

  TrapForm(reporting_.formErrors, "Runtime Error in DownloadAppUpdate", [&] {
    server = ReleaseServerFor(URLAppExeToDownload, services_.internet, reporting_.runtimeErrors);
    if (!server || !services_.localFiles.IsLocalFileName(server->FileName())) {
      log.WriteErrorLog(0, 0, "ERROR: Ftp URL is not valid " + URLAppExeToDownload);
      state_.LastErrorText = Text(kUrlNotValid);
      return;
    }

    if (!server->Connect()) {
      log.WriteErrorLog(0, 0, "ERROR: Couldn't connect to ftp server" + server->LastError());
      state_.LastErrorText = Text(kNoConnection);
      return;
    }
    services_.eventLoop.DoEvents();
    if (state_.DownloadCancelled) return;

    ReleaseServer::OpenFailure failure{};
    std::string answer;
    remoteFile = server->Open(false, failure, answer);
    if (!remoteFile) {
      server->Disconnect();
      if (failure == ReleaseServer::OpenFailure::NoConnection) {
        log.WriteErrorLog(0, 0, "ERROR: Couldn't connect to ftp server" + server->LastError());
        state_.LastErrorText = Text(kNoConnection);
      } else {
        log.WriteErrorLog(0, 0, "ERROR: Couldn't open URL " + URLAppExeToDownload + (answer.empty() ? "" : " " + answer));
        state_.LastErrorText = Text(kCannotOpen);
      }
      return;
    }

    TempFolder = services_.localFiles.TempPath();
    LocalFilePath = TempFolder + server->FileName();
    if (services_.localFiles.Exists(LocalFilePath)) services_.localFiles.Delete(LocalFilePath);
    localFile = services_.localFiles.Create(LocalFilePath);

    services_.tray.menu.SetEnabled(MenuCommand::Pause, true);
    std::int32_t total = 0;
    if (!CopyRemoteFile(*remoteFile, *localFile, BytesToDownload, total)) return;
    // Closed and let go before the signature check, which may delete the file.
    localFile->Close();
    localFile.reset();

    remoteFile->CloseRemote();
    // A publisher key beside the program asks for the release's signature, fetched from the same
    // server; without the key the attempt talks to the server exactly as it always has.
    const std::string keyPath = services_.program.FileBesideProgram(kPublisherKeyFile);
    std::string publisherKey, signature;
    const bool signedRelease =
        total == BytesToDownload &&
        services_.textFiles.ReadWholeFile(keyPath, kMaxPublisherKeyBytes, publisherKey) != WholeFile::Missing;
    if (signedRelease && !FetchSignature(*server, signature)) return;
    server->Disconnect();
    if (total != BytesToDownload) {
      log.WriteErrorLog(0, 0, "ERROR: Downloaded file has wrong size. " + std::to_string(BytesToDownload) + " " +
                                  std::to_string(total));
      state_.LastErrorText = Text(kWrongSize);
      return;
    }
    if (signedRelease && !PublisherSigned(URLAppExeToDownload, keyPath, publisherKey, signature)) return;
    services_.eventLoop.DoEvents();
    if (state_.DownloadCancelled) return;
    ReportSuccess();
    result = true;
  });
  remoteFile.reset();
  server.reset();
  return result;
}

// The copy loop: reads 1024-byte blocks until the remote file ends (or a read fails, or more bytes
// have come than expected: a server that never ends a file must not fill the disk), appending them to
// the local file, with the user's events run between blocks. False when a cancel ended it.
bool frmUpdater::CopyRemoteFile(RemoteFile& remoteFile, IOutputFile& localFile, std::int32_t BytesToDownload,
                                std::int32_t& total) {
  std::array<std::uint8_t, kBlockSize> block;
  std::int32_t lastPercent = 0;
  total = 0;
  while (true) {
    services_.eventLoop.DoEvents();
    if (state_.DownloadCancelled) return false;
    if (state_.DownloadPaused) {
      services_.eventLoop.Sleep(kPausedSleepMs);
      continue;
    }
    const std::int32_t bytesRead = remoteFile.ReadRemote(block, kBlockSize);
    total = AddChecked(total, bytesRead);
    const std::int32_t percent = Percent(total, BytesToDownload);
    if (percent != lastPercent) {
      SysTrayIcon().ToolTip(sprintf(reporting_.runtimeErrors, Text(kProgressTip),
                                    {Kilobytes(total), Kilobytes(BytesToDownload), AppName}));
      lastPercent = percent;
    }
    services_.eventLoop.DoEvents();
    if (bytesRead <= 0) return true;
    localFile.Append(block.data(), static_cast<std::size_t>(bytesRead));
    if (total > BytesToDownload) return true;
  }
}

void frmUpdater::mPopPause_Click() {
  services_.tray.menu.SetEnabled(MenuCommand::Continue, true);
  services_.tray.menu.SetEnabled(MenuCommand::Pause, false);
  state_.DownloadPaused = true;
  services_.timer.SetEnabled(false);
}

void frmUpdater::mPopContinue_Click() {
  services_.tray.menu.SetEnabled(MenuCommand::Continue, false);
  services_.tray.menu.SetEnabled(MenuCommand::Pause, true);
  state_.DownloadPaused = false;
  services_.timer.SetEnabled(true);
}

void frmUpdater::mPopCancel_Click() {
  TrapForm(reporting_.formErrors, "Rintime Error in mPopCancel_Click", [&] {
    state_.DownloadCancelled = true;
    services_.tray.menu.SetEnabled(MenuCommand::Continue, false);
    services_.tray.menu.SetEnabled(MenuCommand::Pause, false);
    if (state_.DownloadFailed) Unload();
  });
}

}  // namespace updater
