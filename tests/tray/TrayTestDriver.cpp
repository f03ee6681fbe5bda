// The form's tray side on the real desktop, for the desktop tests. Commands come on standard input,
// one a line, fields separated by tabs, "\r" and "\n" written as escapes:
//   show | hide | mode N | tick N | tip TEXT | balloon KIND CAPTION MESSAGE [TIMEOUT] | ping
// What reaches the form goes to standard output, one line each: "ready", "pointer CODE",
// "left click", "menu Pause|Continue|Cancel", "error MESSAGE", "pong". End of input ends the driver.

#include <QCoreApplication>
#include <QMetaObject>
#include <cmath>
#include <iostream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/desktop/DesktopSession.h"
#include "tray/TrayPresence.h"

namespace updater {
namespace {

constexpr std::int32_t kMouseMoveMessage = 512;

struct NoonClock : ILocaleClock {
  std::string NowText() override { return {}; }
  double SecondsSinceMidnight() override { return 43200.0; }
};

void Say(const std::string& line) { std::cout << line << std::endl; }

std::string Unescaped(const std::string& field) {
  std::string text;
  for (std::size_t i = 0; i < field.size(); ++i) {
    if (field[i] == '\\' && i + 1 < field.size() && (field[i + 1] == 'r' || field[i + 1] == 'n')) {
      text += field[++i] == 'r' ? '\r' : '\n';
    } else {
      text += field[i];
    }
  }
  return text;
}

std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> fields;
  std::istringstream in(line);
  for (std::string field; std::getline(in, field, '\t');) fields.push_back(Unescaped(field));
  return fields;
}

const char* CommandName(MenuCommand command) {
  switch (command) {
    case MenuCommand::Pause: return "Pause";
    case MenuCommand::Continue: return "Continue";
    case MenuCommand::Cancel: return "Cancel";
  }
  return "?";
}

class DriverForm : public IFormEvents, public IFormErrors {
 public:
  explicit DriverForm(DesktopSession& session)
      : screen_(session.Screen()),
        tray_({session.NotifyShell(), clock_, session.Screen(), session.Window(), session.Menu(), session.GoodIcons(),
               session.BadIcons()},
              *this, [] { Say("left click"); }),
        icon_(tray_.CreateSysTrayIcon()) {
    icon_.Owner(session.Window().hWnd());
    icon_.CallBackEvent(kMouseMoveMessage);
  }

  void Command(const std::string& line) {
    const std::vector<std::string> f = Fields(line);
    if (f.empty()) return;
    if (f[0] == "show") icon_.Visible(true);
    if (f[0] == "hide") icon_.Visible(false);
    if (f[0] == "mode") tray_.TrayAnimMode = std::stoi(f.at(1));
    if (f[0] == "tick") {
      for (int i = std::stoi(f.at(1)); i > 0; --i) tray_.tmrTrayAnim_Timer();
    }
    if (f[0] == "tip") icon_.ToolTip(f.at(1));
    if (f[0] == "balloon") icon_.ShowBaloon(f.at(3), f.at(2), f.size() > 4 ? std::stoi(f[4]) : 0, std::stoi(f.at(1)));
    if (f[0] == "ping") Say("pong");
  }

  void tmrTrayAnim_Timer() override { tray_.tmrTrayAnim_Timer(); }
  void Form_MouseMove(float x) override {
    Say("pointer " + std::to_string(std::lround(x / static_cast<float>(screen_.TwipsPerPixelX()))));
    tray_.Form_MouseMove(x);
  }
  void Form_Resize() override { tray_.Form_Resize(); }
  void MenuClick(MenuCommand command) override { Say(std::string("menu ") + CommandName(command)); }
  void ShowError(const std::string& message, const Fault&) override { Say("error " + message); }

 private:
  const IScreen& screen_;
  NoonClock clock_;
  TrayPresence tray_;
  CXPSysTrayIcon& icon_;
};

}  // namespace
}  // namespace updater

int main(int argc, char** argv) {
  updater::DesktopSession session(argc > 0 ? argv[0] : nullptr);
  updater::DriverForm form(session);
  session.Attach(form);
  std::thread input([&session, &form] {
    for (std::string line; std::getline(std::cin, line);)
      QMetaObject::invokeMethod(qApp, [&form, line] { form.Command(line); }, Qt::QueuedConnection);
    QMetaObject::invokeMethod(qApp, [&session] { session.EventLoop().Quit(); }, Qt::QueuedConnection);
  });
  updater::Say("ready");
  const int result = session.Run();
  input.join();
  return result;
}
