#pragma once
// The text rule of the notification record's text fields.

#include <cstddef>
#include <string>
#include <string_view>

namespace updater {

// Field content for text in a field of width bytes: every "|" becomes CR, the text is cut to the
// longest run of whole UTF-8 characters that fits in width - 1 bytes, a NUL follows and blanks fill
// the rest.
std::string TrayFieldText(std::string_view text, std::size_t width);

}  // namespace updater
