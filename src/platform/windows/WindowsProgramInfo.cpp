#include "platform/windows/WindowsProgramInfo.h"

#include <windows.h>

#include "platform/windows/AnsiText.h"

namespace updater {
namespace {

bool IsBlankOrTab(char c) { return c == ' ' || c == '\t'; }

// The executable's full path, however long.
std::string ModulePath() {
  std::string path(MAX_PATH, '\0');
  while (true) {
    const DWORD n = ::GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n < path.size()) return path.substr(0, n);
    path.resize(path.size() * 2);
  }
}

}  // namespace

std::string_view ArgumentText(std::string_view commandLine) {
  std::size_t i = 0;
  bool quoted = false;
  for (; i < commandLine.size() && (quoted || !IsBlankOrTab(commandLine[i])); ++i) {
    if (commandLine[i] == '"') quoted = !quoted;
  }
  while (i < commandLine.size() && IsBlankOrTab(commandLine[i])) ++i;
  return commandLine.substr(i);
}

WindowsProgramInfo::WindowsProgramInfo()
    : ProgramFacts(Utf8FromAnsi(ModulePath()), '\\', Utf8FromAnsi(ArgumentText(::GetCommandLineA()))) {}

std::vector<std::string> WindowsProgramInfo::UserLanguages() const {
  wchar_t name[LOCALE_NAME_MAX_LENGTH];
  const int length = ::LCIDToLocaleName(MAKELCID(::GetUserDefaultUILanguage(), SORT_DEFAULT), name,
                                        LOCALE_NAME_MAX_LENGTH, 0);
  if (length <= 1) return {};
  std::string tag;
  for (int i = 0; i + 1 < length; ++i) tag += static_cast<char>(name[i]);  // letters, digits and "-" only
  return {tag};
}

}  // namespace updater
