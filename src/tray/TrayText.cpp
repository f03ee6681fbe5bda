#include "tray/TrayText.h"

#include <algorithm>

#include "text/Utf8.h"

namespace updater {

std::string TrayLineBreaks(std::string_view text) {
  std::string made(text);
  std::replace(made.begin(), made.end(), '|', '\r');
  return made;
}

std::string TrayFieldText(std::string_view text, std::size_t width) {
  std::string field = TrayLineBreaks(text.substr(0, WholeCharacterCut(text, width - 1)));
  field += '\0';
  field.resize(width, ' ');
  return field;
}

}  // namespace updater
