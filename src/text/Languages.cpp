#include "text/Languages.h"

#include <string_view>

namespace updater {
namespace {

struct TaggedLanguage {
  std::string_view tag;  // a language, or a language and its region or script, in lower case
  std::int16_t base;
};

constexpr TaggedLanguage kLanguages[] = {
    {"en", 1000},  {"de", 2000},  {"fr", 3000},  {"es", 4000},  {"it", 5000},  {"pt_br", 6000},
    {"nl", 7000},  {"pl", 8000},  {"cs", 9000},  {"sv", 10000}, {"da", 11000}, {"nb", 12000},
    {"no", 12000}, {"fi", 13000}, {"hu", 14000}, {"ro", 15000}, {"el", 16000}, {"tr", 17000},
    {"ru", 18000}, {"uk", 19000}, {"ja", 20000}, {"zh", 21000}, {"ko", 23000}, {"ar", 24000},
    {"he", 25000}, {"iw", 25000}, {"pt", 26000}, {"id", 27000}, {"in", 27000}, {"vi", 28000},
    {"th", 29000}, {"sk", 30000}, {"bg", 31000}, {"hr", 32000},
    // Traditional Chinese by region or script; Windows 7 names the script zh-CHT.
    {"zh_tw", 22000}, {"zh_hk", 22000}, {"zh_mo", 22000}, {"zh_hant", 22000}, {"zh_cht", 22000},
};

std::int16_t BaseOf(std::string_view tag) {
  for (const TaggedLanguage& language : kLanguages) {
    if (language.tag == tag) return language.base;
  }
  return kDesktopLanguage;
}

// The language number of one tag, or kDesktopLanguage when it names no language with a set.
std::int16_t LanguageOfTag(std::string_view tag) {
  tag = tag.substr(0, tag.find_first_of(".@"));  // no character set, no modifier
  std::string name;
  for (char c : tag) name += c == '-' ? '_' : c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  const std::size_t language = name.find('_');
  if (language == std::string::npos) return BaseOf(name);
  const std::int16_t qualified = BaseOf(name.substr(0, name.find('_', language + 1)));
  return qualified != kDesktopLanguage ? qualified : BaseOf(name.substr(0, language));
}

}  // namespace

std::int16_t LanguageOfTags(const std::vector<std::string>& tags) {
  for (const std::string& tag : tags) {
    if (const std::int16_t base = LanguageOfTag(tag); base != kDesktopLanguage) return base;
  }
  return kEnglish;
}

bool ReadsRightToLeft(std::int16_t languageBase) { return languageBase == 24000 || languageBase == 25000; }

}  // namespace updater
