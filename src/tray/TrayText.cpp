#include "tray/TrayText.h"

#include "text/Utf8.h"

namespace updater {

std::string TrayFieldText(std::string_view text, std::size_t width) {
  std::string field(text.substr(0, WholeCharacterCut(text, width - 1)));
  for (char& c : field) {
    if (c == '|') c = '\r';
  }
  field += '\0';
  field.resize(width, ' ');
  return field;
}

}  // namespace updater
