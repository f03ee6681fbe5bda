#pragma once
// Texts as the UTF-16 the wide Win32 calls take. The logic's UTF-8 goes to the user this way, so that
// every character of the string table (the German umlauts, the letter U+042F) shows whatever the
// ANSI code page.

#include <string>
#include <string_view>

namespace updater {

// Text of the code page as UTF-16, converted with MultiByteToWideChar's flags; empty when the flags
// refuse it.
std::wstring Widen(unsigned codePage, unsigned long flags, std::string_view text);

// UTF-8 as UTF-16; invalid sequences become U+FFFD.
std::wstring Wide(std::string_view utf8);

}  // namespace updater
