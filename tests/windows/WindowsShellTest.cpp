// The shell's open and the texts of the notification area, as the Windows layer hands them to the shell.

#include <gtest/gtest.h>

#include "fakes/FakeDesktop.h"
#include "fakes/FakeSystem.h"
#include "platform/windows/WindowsNotifyShell.h"
#include "platform/windows/WindowsShellExecute.h"
#include "tray/CXPSysTrayIcon.h"

// As ole32 exports it: <objbase.h> would bring the macros of <windows.h> that rename the shell's interface.
extern "C" __declspec(dllimport) long __stdcall CoInitializeEx(void* reserved, unsigned long flags);

namespace updater {
namespace {

constexpr unsigned long kMultithreaded = 0;
constexpr long kChangedMode = static_cast<long>(0x80010106);  // RPC_E_CHANGED_MODE

// Shell extensions that the file may reach need COM on the calling thread.
TEST(WindowsProgram, ShellOpensTheFileFromAComApartment) {
  WindowsShellExecute shell;
  shell.ShellExecute(0, "open", "missing.exe", "", ".", 5);
  EXPECT_EQ(CoInitializeEx(nullptr, kMultithreaded), kChangedMode);
}

struct NoEvents : ITrayIconEvents {
  void ButtonClick(std::int32_t&) override {}
  void ButtonDblClick(std::int32_t&) override {}
};
struct WideShell : INotifyShell {
  bool Shell_NotifyIcon(std::uint32_t, const NotifyIconRecord& record, const NotifyIconTexts& texts) override {
    request = NotifyRequest(record, texts);
    return true;
  }
  ShellIconRequest request;
};

// The shell's wide fields hold as many characters as the record's bytes (an umlaut takes two of them),
// and a character of two UTF-16 units is kept or left out whole.
TEST(WindowsTray, TextsAreCutToTheCharactersTheWideFieldsHold) {
  test::FakeSystem clock;
  test::FakeDesktop screen;
  NoEvents events;
  WideShell shell;
  CXPSysTrayIcon icon(shell, clock, screen, events);
  std::string umlauts;
  for (int i = 0; i < 300; ++i) umlauts += "\xC3\xA4";
  icon.Visible(true);
  icon.ToolTip(umlauts);
  EXPECT_EQ(WideFieldText(shell.request.tip, 128), std::wstring(127, L'\xE4'));
  icon.ShowBaloon(umlauts, "x|" + umlauts, 0, 1);
  EXPECT_EQ(WideFieldText(shell.request.info, 256), std::wstring(255, L'\xE4'));
  EXPECT_EQ(WideFieldText(shell.request.infoTitle, 64), L"x\r" + std::wstring(61, L'\xE4'));
  EXPECT_EQ(WideFieldText(std::string(62, 'x') + "\xF0\x9F\x98\x80", 64), std::wstring(62, L'x'));
}

}  // namespace
}  // namespace updater
