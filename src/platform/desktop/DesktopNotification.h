#pragma once
// A message for the user through the desktop's notification service (org.freedesktop.Notifications
// on the session bus), for desktops that have no notification area to show a balloon in.

#include <QString>
#include <QSystemTrayIcon>

namespace updater {

// Sends the notification and returns at once. Nothing happens without a session bus; a bus without
// the service starts it where it can be started, or answers with an error that is ignored.
void SendDesktopNotification(const QString& title, const QString& text, QSystemTrayIcon::MessageIcon kind,
                             int timeoutMs);

}  // namespace updater
