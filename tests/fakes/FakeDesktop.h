#pragma once
// One recording stand-in for every desktop service the form uses: window, screen, menu, timer,
// event loop, message boxes, the shell's open and the notification area. Hooks let a test act at the
// moment the program yields, sleeps, opens the menu or asks a question.

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/EventLoop.h"
#include "platform/FormWindow.h"
#include "platform/ImageList.h"
#include "platform/MessageBox.h"
#include "platform/NotifyShell.h"
#include "platform/PopupMenu.h"
#include "platform/Screen.h"
#include "platform/ShellExecute.h"

namespace updater::test {

struct MessageBoxCall {
  std::string prompt;
  std::int32_t style;
  std::string title;
};

struct NotifyRequest {
  std::uint32_t message;
  NotifyIconRecord record;
};

struct FakeDesktop : IFormWindow, IScreen, IPopupMenu, IAnimationTimer, IEventLoop, IMessageBox, IShellExecute,
                     INotifyShell {
  std::uint32_t hWnd() const override { return 0x4711; }
  void Hide() override { hidden = true; }
  std::int32_t WindowState() const override { return windowState; }
  void SetForegroundWindow() override { ++foregroundCalls; }
  std::int32_t TwipsPerPixelX() const override { return 15; }

  void SetCaption(MenuCommand command, const std::string& caption) override { captions[command] = caption; }
  void SetEnabled(MenuCommand command, bool on) override { enabled[command] = on; }
  bool Enabled(MenuCommand command) const override { return enabled.at(command); }
  void Popup() override {
    ++popups;
    if (onPopup) onPopup();
  }

  void SetEnabled(bool on) override { timerEnabled = on; }
  bool Enabled() const override { return timerEnabled; }

  void DoEvents() override {
    ++doEvents;
    if (onDoEvents) onDoEvents(doEvents);
  }
  void Sleep(std::uint32_t ms) override {
    sleeps.push_back(ms);
    if (onSleep) onSleep(static_cast<int>(sleeps.size()));
  }
  void Quit() override { ++quitCalls; }

  // Answers from the queue, otherwise No to a question and OK to anything else.
  std::int32_t MsgBox(const std::string& prompt, std::int32_t style, const std::string& title) override {
    boxes.push_back({prompt, style, title});
    if (onMsgBox) onMsgBox();
    if (answers.empty()) return style == msgbox::kYesNo ? msgbox::kAnswerNo : msgbox::kAnswerOk;
    const std::int32_t answer = answers.front();
    answers.pop_front();
    return answer;
  }

  std::intptr_t ShellExecute(std::uint32_t, const std::string& operation, const std::string& file,
                             const std::string& parameters, const std::string& directory, std::int32_t show) override {
    executed.push_back(operation + "|" + file + "|" + parameters + "|" + directory + "|" + std::to_string(show));
    return 42;
  }

  bool Shell_NotifyIcon(std::uint32_t message, const NotifyIconRecord& record) override {
    notifications.push_back({message, record});
    return true;
  }

  bool hidden = false, timerEnabled = true;
  std::int32_t windowState = 0;
  int foregroundCalls = 0, popups = 0, doEvents = 0, quitCalls = 0;
  std::map<MenuCommand, std::string> captions;
  std::map<MenuCommand, bool> enabled{{MenuCommand::Pause, true}, {MenuCommand::Continue, true},
                                      {MenuCommand::Cancel, true}};
  std::function<void()> onPopup, onMsgBox;
  std::function<void(int)> onDoEvents, onSleep;
  std::vector<std::uint32_t> sleeps;
  std::vector<MessageBoxCall> boxes;
  std::deque<std::int32_t> answers;
  std::vector<std::string> executed;
  std::vector<NotifyRequest> notifications;
};

// Frames named base + index.
struct FakeImageList : IImageList {
  explicit FakeImageList(std::uint32_t first) : base(first) {}
  std::int32_t Count() const override { return 51; }
  std::uint32_t Picture(std::int32_t index) const override { return base + static_cast<std::uint32_t>(index); }
  std::uint32_t base;
};

// The text of a record field up to its terminator.
inline std::string RecordText(const NotifyIconRecord& record, std::size_t offset, std::size_t width) {
  const std::string field(reinterpret_cast<const char*>(record.data() + offset), width);
  return field.substr(0, field.find('\0'));
}

}  // namespace updater::test
