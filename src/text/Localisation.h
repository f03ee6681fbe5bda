#pragma once
// Localised texts: the string-table text with id language base + offset, line breaks made.

#include <cstdint>
#include <string>

#include "text/Reporters.h"

namespace updater {

class Localisation {
 public:
  // languageBase is read on every lookup: 1000 selects English, 2000 German, and so on.
  Localisation(const std::int16_t& languageBase, IRuntimeErrors& errors)
      : languageBase_(languageBase), errors_(errors) {}

  // The text of offset 1 to 16 in the current language with every "|" turned into CR LF.
  // An id the table does not hold is reported as a fault and gives the empty text.
  std::string LoadLocalString(std::int32_t stringOffset) const;

 private:
  const std::int16_t& languageBase_;
  IRuntimeErrors& errors_;
};

}  // namespace updater
