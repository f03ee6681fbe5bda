// The updater: builds the Linux and Qt stand-ins of the platform and runs the program on them.
//
//   updater <ftp, https or http address> <expected size in bytes> <language: 1000 English, 2000 German,
//           ... 32000 Croatian (docs/HOSTS.md); 0 the desktop's language>

#include "platform/desktop/DesktopSession.h"
#include "platform/linux/LinuxLocalFiles.h"
#include "platform/linux/LinuxLocaleClock.h"
#include "platform/linux/LinuxProgramInfo.h"
#include "platform/linux/LinuxShellExecute.h"
#include "platform/linux/LinuxSystemVersion.h"
#include "platform/linux/LinuxTextFiles.h"
#include "platform/linux/OpenSslPublisherSignature.h"
#include "platform/linux/internet/CurlInternet.h"
#include "updater/RunProgram.h"

#include <clocale>

int main(int argc, char** argv) {
  using namespace updater;
  std::setlocale(LC_ALL, "");

  // The argument text is taken before Qt starts, so that no argument is mistaken for a Qt option.
  const LinuxProgramInfo program(JoinArguments(argc, argv));
  const QtApplicationHolder application(argc > 0 ? argv[0] : nullptr);

  LinuxTextFiles textFiles;
  LinuxLocalFiles localFiles;
  LinuxLocaleClock clock;
  LinuxSystemVersion systemVersion;
  LinuxShellExecute shell;
  CurlInternet internet;
  OpenSslPublisherSignature publisherSignature;
  QtMessageBox messageBox;

  const PlatformServices platform{program, textFiles, localFiles, clock,     systemVersion,
                                  shell,   internet,  publisherSignature,    messageBox};
  return RunProgram(platform, [] { return std::make_unique<DesktopSession>(); });
}
