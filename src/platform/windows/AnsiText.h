#pragma once
// Texts between the program, which holds them in UTF-8, and the narrow Windows calls, which take
// and give them in the system's ANSI code page.

#include <string>
#include <string_view>

namespace updater {

std::string AnsiFromUtf8(std::string_view text);
std::string Utf8FromAnsi(std::string_view text);
// True when the UTF-8 text is valid and each of its characters has one of its own in the ANSI code
// page, so that it comes back unchanged from a narrow call.
bool FitsAnsiCodePage(std::string_view text);

}  // namespace updater
