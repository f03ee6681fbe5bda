#pragma once
// The text rule of the notification record's text fields.

#include <cstddef>
#include <string>
#include <string_view>

namespace updater {

// The text with every "|" made a line break (CR).
std::string TrayLineBreaks(std::string_view text);

// Field content for text in a field of width bytes: the line breaks made, the text cut to the longest
// run of whole UTF-8 characters that fits in width - 1 bytes, a NUL following and blanks filling the rest.
std::string TrayFieldText(std::string_view text, std::size_t width);

}  // namespace updater
