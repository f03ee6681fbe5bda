#pragma once
// The logic's UTF-8 texts as the UTF-16 the wide Win32 calls take, so that every character of the
// string table (the German umlauts, the letter U+042F) reaches the user whatever the ANSI code page.

#include <string>

namespace updater {

// Invalid UTF-8 sequences become U+FFFD.
std::wstring Wide(const std::string& utf8);

}  // namespace updater
