#pragma once
// One recording stand-in for every desktop service the form uses: window, screen, menu, timer,
// event loop, message boxes, the shell's open and the notification area. Every call is counted by
// name and passed to `on`, so a test can act (or raise a fault) at the moment the program calls.

#include <cstring>
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

// Fields of the 504-byte notification record as the shell reads them, by the record's own layout.
inline std::uint32_t U32(const NotifyIconRecord& r, std::size_t offset) {
  std::uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = value << 8 | r[offset + i];
  return value;
}
inline std::string Text(const NotifyIconRecord& r, std::size_t offset, std::size_t width) {
  return std::string(reinterpret_cast<const char*>(&r[offset]), strnlen(reinterpret_cast<const char*>(&r[offset]), width));
}
enum Field : std::size_t { kFlags = 12, kIcon = 20, kTip = 24, kStateAt = 152, kInfoAt = 160, kTitleAt = 420,
                           kInfoFlagsAt = 484 };

struct Box {
  std::string prompt;
  std::int32_t style;
  std::string title;
};

struct FakeDesktop : IFormWindow, IScreen, IPopupMenu, IAnimationTimer, IEventLoop, IMessageBox, IShellExecute,
                     INotifyShell {
  std::uint32_t hWnd() const override { return 0x4711; }
  void Hide() override { Call("Hide"); }
  std::int32_t WindowState() const override { return windowState; }
  void SetForegroundWindow() override { Call("SetForegroundWindow"); }
  std::int32_t TwipsPerPixelX() const override { return twips; }
  void SetCaption(MenuCommand command, const std::string& text) override {
    captions[command] = text;
    Call("SetCaption");
  }
  void SetEnabled(MenuCommand command, bool on) override {
    enabled[command] = on;
    Call("SetEnabled");
  }
  bool Enabled(MenuCommand command) const override { return enabled.at(command); }
  void SetRightToLeft(bool on) override { menuRightToLeft = on; }
  void Popup() override { Call("Popup"); }
  void SetEnabled(bool on) override { timerEnabled = on; }
  bool Enabled() const override { return timerEnabled; }
  void DoEvents() override { Call("DoEvents"); }
  void Sleep(std::uint32_t ms) override {
    sleeps.push_back(ms);
    Call("Sleep");
  }
  void Quit() override { Call("Quit"); }
  // Answers from the queue, otherwise No to a question and OK to anything else.
  std::int32_t MsgBox(const std::string& prompt, std::int32_t style, const std::string& title) override {
    boxes.push_back({prompt, style, title});
    Call("MsgBox");
    if (answers.empty()) return (style & 0x0F) == msgbox::kYesNo ? msgbox::kAnswerNo : msgbox::kAnswerOk;
    const std::int32_t answer = answers.front();
    answers.pop_front();
    return answer;
  }
  std::intptr_t ShellExecute(std::uint32_t, const std::string& verb, const std::string& file, const std::string& args,
                             const std::string& folder, std::int32_t show) override {
    executed.push_back(verb + "|" + file + "|" + args + "|" + folder + "|" + std::to_string(show));
    return 42;
  }
  bool Shell_NotifyIcon(std::uint32_t message, const NotifyIconRecord& record, const NotifyIconTexts&) override {
    sent.push_back({message, record});
    Call("Notify" + std::to_string(message));
    return true;
  }

  void Call(const std::string& name) {
    ++calls[name];
    if (on) on(name);
  }
  // The texts (or numbers) of one field in every NIM_MODIFY that carried its flag group, in order.
  std::vector<std::string> Modified(std::uint32_t flag, std::size_t offset, std::size_t width = 0) const {
    std::vector<std::string> values;
    for (const auto& [message, r] : sent)
      if (message == nid::NIM_MODIFY && U32(r, kFlags) & flag)
        values.push_back(width ? Text(r, offset, width) : std::to_string(U32(r, offset)));
    return values;
  }
  std::vector<std::string> Tooltips() const { return Modified(4, kTip, 128); }
  std::vector<std::string> Balloons() const { return Modified(16, kInfoAt, 256); }

  std::int32_t windowState = 0, twips = 15;
  bool timerEnabled = true, menuRightToLeft = false;
  std::map<std::string, int> calls;
  std::function<void(const std::string&)> on;
  std::map<MenuCommand, std::string> captions;
  std::map<MenuCommand, bool> enabled{{MenuCommand::Pause, true}, {MenuCommand::Continue, true}};
  std::vector<std::uint32_t> sleeps;
  std::vector<Box> boxes;
  std::deque<std::int32_t> answers;
  std::vector<std::string> executed;
  std::vector<std::pair<std::uint32_t, NotifyIconRecord>> sent;
};

// Frames named base + index.
struct FakeImageList : IImageList {
  explicit FakeImageList(std::uint32_t first) : base(first) {}
  std::int32_t Count() const override { return 51; }
  std::uint32_t Picture(std::int32_t index) const override { return base + static_cast<std::uint32_t>(index); }
  std::uint32_t base;
};

}  // namespace updater::test
