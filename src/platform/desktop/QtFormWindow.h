#pragma once
// The hidden form window on Qt; reports changes of its size and state to the form.

#include <QObject>
#include <QWidget>

#include "platform/FormWindow.h"
#include "platform/Screen.h"
#include "platform/FormEventsRelay.h"

namespace updater {

class QtFormWindow : public QObject, public IFormWindow, public IScreen {
 public:
  explicit QtFormWindow(FormEventsRelay& relay);

  std::uint32_t hWnd() const override;
  void Hide() override;
  std::int32_t WindowState() const override;
  void SetForegroundWindow() override;
  std::int32_t TwipsPerPixelX() const override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  FormEventsRelay& relay_;
  QWidget window_;
};

}  // namespace updater
