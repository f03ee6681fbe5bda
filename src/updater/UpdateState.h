#pragma once
// The program-wide update state shared by start-up, the download driver, the completion and the
// string lookup. Used by the user-interface thread only.

#include <cstdint>
#include <string>

namespace updater {

struct UpdateState {
  // The user chose Cancel during the current attempt.
  bool DownloadCancelled = false;
  // The last attempt failed, its failure is on show, and the retry question has not been asked yet.
  bool DownloadFailed = false;
  // The last attempt fetched the whole file.
  bool DownloadComplete = false;
  // The user chose Pause and not yet Continue.
  bool DownloadPaused = false;
  // Base of the string ids: 1000 English, 2000 German, ... (the desktop's language when the command
  // line asked for it with 0).
  std::int16_t LanguageBase = 0;
  // Localised reason of the last failed attempt; never cleared.
  std::string LastErrorText;
};

}  // namespace updater
