#pragma once
// The notification area on Qt: applies each notification request to a QSystemTrayIcon and reports
// pointer activity on the icon back to the form as the shell's pointer codes. Where no tray host
// runs, balloons become desktop notifications.

#include <QObject>
#include <QSystemTrayIcon>

#include "platform/NotifyShell.h"
#include "platform/Screen.h"
#include "platform/FormEventsRelay.h"
#include "platform/desktop/IconRegistry.h"
#include "platform/desktop/TrayPointerCodes.h"

namespace updater {

class QtNotifyShell : public QObject, public INotifyShell {
 public:
  QtNotifyShell(const IconRegistry& icons, const IScreen& screen, FormEventsRelay& relay);

  // The texts are the record's, cut to its bytes in whole UTF-8 characters.
  bool Shell_NotifyIcon(std::uint32_t message, const NotifyIconRecord& record, const NotifyIconTexts&) override;

 private:
  void Apply(std::uint32_t flags, const NotifyIconRecord& record);
  void ShowBalloon(const NotifyIconRecord& record);
  void PostPointerCode(int code);

  const IconRegistry& icons_;
  const IScreen& screen_;
  FormEventsRelay& relay_;
  QSystemTrayIcon tray_;
  TrayPointerCodes pointer_;
  bool added_ = false;
  bool hidden_ = false;
  std::uint32_t callbackMessage_ = 0;
};

}  // namespace updater
