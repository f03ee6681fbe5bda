#pragma once
// The languages of the string table as a desktop names them, and the ones written right to left.

#include <cstdint>
#include <string>
#include <vector>

namespace updater {

// The language number that asks for the desktop's language instead of naming one.
inline constexpr std::int16_t kDesktopLanguage = 0;
inline constexpr std::int16_t kEnglish = 1000;

// The language number of the first tag that names a language with a text set, English when none
// does. A tag is a locale name or a language tag ("de_DE.UTF-8", "pt-BR", "zh_TW", "sr@latin"):
// the language decides, and its region or script only between the two sets of Portuguese and of
// Chinese; case, character set and modifier do not matter.
std::int16_t LanguageOfTags(const std::vector<std::string>& tags);

// True for the languages written right to left (Arabic, Hebrew).
bool ReadsRightToLeft(std::int16_t languageBase);

}  // namespace updater
