#include "platform/windows/WindowsTextFiles.h"

#include "platform/windows/AnsiText.h"
#include "platform/windows/Win32Fault.h"
#include "platform/windows/Win32Handle.h"

namespace updater {

std::string WindowsTextFiles::ReadFirstLine(const std::string& path) {
  Win32Handle file(::CreateFileA(AnsiFromUtf8(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                 nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) RaiseWin32Fault();

  // CR and LF never stand inside a character of an ANSI code page, so the line ends at the first one.
  std::string line;
  char chunk[4096];
  bool anyByte = false;
  while (true) {
    DWORD n = 0;
    if (!::ReadFile(file.Get(), chunk, sizeof chunk, &n, nullptr)) RaiseWin32Fault();
    if (n == 0) break;
    anyByte = true;
    const std::string_view got(chunk, n);
    const auto end = got.find_first_of("\r\n");
    line += got.substr(0, end);
    if (end != std::string_view::npos) break;
  }
  if (!anyByte) RaiseFault(FaultNumber::InputPastEndOfFile);
  return Utf8FromAnsi(line);
}

void WindowsTextFiles::AppendText(const std::string& path, const std::string& text) {
  // Append-only access: each write lands at the end of the file, after whatever other programs
  // have appended meanwhile, so records never interleave.
  Win32Handle file(::CreateFileA(AnsiFromUtf8(path).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                 nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) RaiseWin32Fault();
  const std::string bytes = AnsiFromUtf8(text);
  DWORD written = 0;
  if (!::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr)) RaiseWin32Fault();
  if (written != bytes.size()) RaiseFault(FaultNumber::DiskFull);
  if (!file.Reset()) RaiseWin32Fault();
}

WholeFile WindowsTextFiles::ReadWholeFile(const std::string& path, std::size_t maxBytes, std::string& bytes) {
  bytes.clear();
  Win32Handle file(::CreateFileA(AnsiFromUtf8(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                 nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) {
    const DWORD error = ::GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? WholeFile::Missing : WholeFile::Unreadable;
  }
  char chunk[4096];
  while (true) {
    DWORD n = 0;
    if (!::ReadFile(file.Get(), chunk, sizeof chunk, &n, nullptr) || bytes.size() + n > maxBytes) break;
    if (n == 0) return WholeFile::Read;
    bytes.append(chunk, n);
  }
  bytes.clear();
  return WholeFile::Unreadable;
}

}  // namespace updater
