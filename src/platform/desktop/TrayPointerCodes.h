#pragma once
// Turns Qt's reports of clicks on the tray icon into the pointer codes of the Windows shell, in its
// order: button down, button up; for a double-click, double-click then button up.

#include <QObject>
#include <QSystemTrayIcon>
#include <functional>

namespace updater {

class TrayPointerCodes : public QObject {
 public:
  // report receives each code as it becomes known. Needs the application object.
  explicit TrayPointerCodes(std::function<void(int code)> report);
  ~TrayPointerCodes() override;
  TrayPointerCodes(const TrayPointerCodes&) = delete;
  TrayPointerCodes& operator=(const TrayPointerCodes&) = delete;

  void Activated(QSystemTrayIcon::ActivationReason reason);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Report(Qt::MouseButton button, int firstCode);

  std::function<void(int)> report_;
  Qt::MouseButton awaitedRelease_ = Qt::NoButton;
};

}  // namespace updater
