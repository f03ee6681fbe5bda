// The updater on Windows: builds the Win32 services and runs the program on them.
//
//   updater.exe <ftp, https or http address> <expected size in bytes> <language: 1000 English, 2000 German,
//               ... 32000 Croatian (docs/HOSTS.md); 0 the desktop's language>

#include "platform/windows/CngPublisherSignature.h"
#include "platform/windows/SystemDllSearch.h"
#include "platform/windows/WindowsDesktop.h"
#include "platform/windows/WindowsInternet.h"
#include "platform/windows/WindowsLocalFiles.h"
#include "platform/windows/WindowsLocaleClock.h"
#include "platform/windows/WindowsMessageBox.h"
#include "platform/windows/WindowsProgramInfo.h"
#include "platform/windows/WindowsShellExecute.h"
#include "platform/windows/WindowsSystemVersion.h"
#include "platform/windows/WindowsTextFiles.h"
#include "updater/RunProgram.h"

int main() {
  using namespace updater;
  LoadDllsFromSystemFolderOnly();

  const WindowsProgramInfo program;
  WindowsTextFiles textFiles;
  WindowsLocalFiles localFiles;
  WindowsLocaleClock clock;
  WindowsSystemVersion systemVersion;
  WindowsShellExecute shell;
  WindowsInternet internet;
  CngPublisherSignature publisherSignature;
  WindowsMessageBox messageBox;

  const PlatformServices platform{program, textFiles, localFiles, clock,     systemVersion,
                                  shell,   internet,  publisherSignature,    messageBox};
  return RunProgram(platform, [] { return std::make_unique<WindowsDesktop>(); });
}
