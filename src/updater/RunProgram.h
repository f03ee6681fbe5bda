#pragma once
// The program on any platform: the form built from the platform's services and run.

#include <functional>
#include <memory>

#include "platform/Desktop.h"
#include "platform/Internet.h"
#include "platform/LocalFiles.h"
#include "platform/LocaleClock.h"
#include "platform/MessageBox.h"
#include "platform/ProgramInfo.h"
#include "platform/PublisherSignature.h"
#include "platform/ShellExecute.h"
#include "platform/SystemVersion.h"
#include "platform/TextFiles.h"

namespace updater {

// The platform's services that need no desktop, and a message box that needs none either.
struct PlatformServices {
  const IProgramInfo& program;
  ITextFiles& textFiles;
  ILocalFiles& localFiles;
  ILocaleClock& clock;
  ISystemVersion& systemVersion;
  IShellExecute& shell;
  IInternet& internet;
  IPublisherSignature& publisherSignature;
  IMessageBox& messageBox;
};

// Makes the platform's desktop; faults (or throws) when it cannot.
using DesktopMaker = std::function<std::unique_ptr<IDesktop>()>;

// Makes the desktop, builds the form, loads it and runs it until it is unloaded; returns the exit
// status. A failure no procedure traps (the form's window, menu or frames cannot be made: no window
// station or display, no resources left) is a fault in the form's loading: it is announced in
// platform.messageBox, logged, and the program ends.
int RunProgram(const PlatformServices& platform, const DesktopMaker& makeDesktop);

}  // namespace updater
