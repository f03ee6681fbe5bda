#include "tray/TrayText.h"

namespace updater {
namespace {

bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// Where to cut text so that no UTF-8 character is split; a run of stray continuation bytes longer
// than any character is cut where it stands.
std::size_t WholeCharacterCut(std::string_view text, std::size_t limit) {
  if (text.size() <= limit) return text.size();
  std::size_t cut = limit;
  for (int back = 0; back < 3 && cut > 0 && IsContinuationByte(text[cut]); ++back) --cut;
  return IsContinuationByte(text[cut]) ? limit : cut;
}

}  // namespace

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
