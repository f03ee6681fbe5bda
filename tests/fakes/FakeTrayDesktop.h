#pragma once
// The tray side's desktop services as fakes: a screen, the hidden form window, the popup menu and
// two image lists whose handles tell list and index apart. Window and menu write what they are asked
// to do into one shared log, so that tests see the order.

#include <string>
#include <vector>

#include "platform/FormWindow.h"
#include "platform/ImageList.h"
#include "platform/PopupMenu.h"
#include "platform/Screen.h"
#include "text/Fault.h"

namespace updater::test {

class FakeScreen : public IScreen {
 public:
  std::int32_t TwipsPerPixelX() const override { return twipsPerPixel; }
  std::int32_t twipsPerPixel = 15;
};

class FakeFormWindow : public IFormWindow {
 public:
  explicit FakeFormWindow(std::vector<std::string>& log) : log_(log) {}
  std::uint32_t hWnd() const override { return 0x00C0FFEE; }
  void Hide() override { log_.push_back("hide"); }
  std::int32_t WindowState() const override { return windowState; }
  void SetForegroundWindow() override { log_.push_back("foreground"); }

  std::int32_t windowState = 0;

 private:
  std::vector<std::string>& log_;
};

class FakePopupMenu : public IPopupMenu {
 public:
  explicit FakePopupMenu(std::vector<std::string>& log) : log_(log) {}
  void SetCaption(MenuCommand, const std::string&) override {}
  void SetEnabled(MenuCommand, bool) override {}
  bool Enabled(MenuCommand) const override { return true; }
  void Popup() override { log_.push_back("popup"); }

 private:
  std::vector<std::string>& log_;
};

// Image i of the list has the handle firstHandle + i.
class FakeImageList : public IImageList {
 public:
  FakeImageList(std::uint32_t firstHandle, std::int32_t count) : firstHandle_(firstHandle), count_(count) {}
  std::int32_t Count() const override { return count_; }
  std::uint32_t Picture(std::int32_t index) const override {
    if (index < 1 || index > count_) RaiseFault(FaultNumber::SubscriptOutOfRange);
    return firstHandle_ + static_cast<std::uint32_t>(index);
  }

 private:
  std::uint32_t firstHandle_;
  std::int32_t count_;
};

}  // namespace updater::test
