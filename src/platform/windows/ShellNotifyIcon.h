#pragma once
// One notification-area request in the shell's own terms, handed to Shell_NotifyIconW. Kept apart
// from the record's header, whose names <windows.h> takes as macros.

#include <cstddef>
#include <cstdint>
#include <string>

namespace updater {

// The fields of the notification record, numbers as the record carries them, texts in UTF-8.
struct ShellIconRequest {
  std::uint32_t window = 0;
  std::uint32_t id = 0;
  std::uint32_t flags = 0;
  std::uint32_t callbackMessage = 0;
  std::uint32_t icon = 0;
  std::string tip;
  std::uint32_t state = 0;
  std::uint32_t stateMask = 0;
  std::string info;
  std::uint32_t timeoutOrVersion = 0;
  std::string infoTitle;
  std::uint32_t infoFlags = 0;
};

// The text as a wide field of width characters holds it: cut to width - 1 UTF-16 units for the
// terminating NUL, a character of two units kept or left out whole.
std::wstring WideFieldText(const std::string& utf8, std::size_t width);

// Carries out the request (the shell's own request numbers) with the wide record; true when the shell took it.
bool CallShellNotifyIconW(std::uint32_t message, const ShellIconRequest& request);

}  // namespace updater
