#include "platform/desktop/DesktopNotification.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QStringList>
#include <QVariantMap>

namespace updater {
namespace {

// The icon names Qt gives the balloons it sends itself.
QString IconName(QSystemTrayIcon::MessageIcon kind) {
  switch (kind) {
    case QSystemTrayIcon::Information: return QStringLiteral("dialog-information");
    case QSystemTrayIcon::Warning: return QStringLiteral("dialog-warning");
    case QSystemTrayIcon::Critical: return QStringLiteral("dialog-error");
    default: return {};
  }
}

// 0 low, 1 normal, 2 critical: an error stays until the user has seen it.
uchar Urgency(QSystemTrayIcon::MessageIcon kind) {
  return kind == QSystemTrayIcon::Critical ? 2 : kind == QSystemTrayIcon::NoIcon ? 0 : 1;
}

}  // namespace

void SendDesktopNotification(const QString& title, const QString& text, QSystemTrayIcon::MessageIcon kind,
                             int timeoutMs) {
  QDBusMessage notify = QDBusMessage::createMethodCall(
      QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("/org/freedesktop/Notifications"),
      QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
  const QVariantMap hints{{QStringLiteral("urgency"), QVariant::fromValue(Urgency(kind))}};
  notify << QCoreApplication::applicationName() << 0U << IconName(kind) << title << text << QStringList() << hints
         << timeoutMs;
  QDBusConnection::sessionBus().send(notify);
}

}  // namespace updater
