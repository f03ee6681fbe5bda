#pragma once
// Cutting UTF-8 text without splitting a character.

#include <cstddef>
#include <string_view>

namespace updater {

// The length of the longest prefix of text, at most limit bytes, that ends between two characters.
// A run of stray continuation bytes longer than any character is cut where it stands.
inline std::size_t WholeCharacterCut(std::string_view text, std::size_t limit) {
  if (text.size() <= limit) return text.size();
  const auto continuation = [&](std::size_t at) { return (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80; };
  std::size_t cut = limit;
  for (int back = 0; back < 3 && cut > 0 && continuation(cut); ++back) --cut;
  return continuation(cut) ? limit : cut;
}

}  // namespace updater
