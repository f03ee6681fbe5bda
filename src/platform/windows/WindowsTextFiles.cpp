#include "platform/windows/WindowsTextFiles.h"

#include "platform/ChunkedReads.h"
#include "platform/windows/AnsiText.h"
#include "platform/windows/Win32Fault.h"
#include "platform/windows/Win32Handle.h"

namespace updater {
namespace {

Win32Handle OpenToRead(const std::string& path) {
  return Win32Handle(::CreateFileA(AnsiFromUtf8(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                   nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

ReadCall ReadFrom(const Win32Handle& file) {
  return [&file](char* buffer, std::size_t size) {
    DWORD n = 0;
    if (!::ReadFile(file.Get(), buffer, static_cast<DWORD>(size), &n, nullptr)) RaiseWin32Fault();
    return static_cast<std::size_t>(n);
  };
}

}  // namespace

std::string WindowsTextFiles::ReadFirstLine(const std::string& path) {
  const Win32Handle file = OpenToRead(path);
  if (!file.Valid()) RaiseWin32Fault();
  return Utf8FromAnsi(FirstLineOf(ReadFrom(file)));
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
  const Win32Handle file = OpenToRead(path);
  if (!file.Valid()) {
    const DWORD error = ::GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? WholeFile::Missing : WholeFile::Unreadable;
  }
  return WholeFileOf(ReadFrom(file), maxBytes, bytes) ? WholeFile::Read : WholeFile::Unreadable;
}

}  // namespace updater
