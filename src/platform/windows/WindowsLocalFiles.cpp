#include "platform/windows/WindowsLocalFiles.h"

#include "platform/windows/AnsiText.h"
#include "platform/windows/Win32Fault.h"
#include "platform/windows/WindowsFileName.h"
#include "platform/windows/WindowsOutputFile.h"

namespace updater {

std::string WindowsLocalFiles::TempPath() {
  // Asked for its length first: the folder may be longer than any fixed buffer.
  std::string folder;
  DWORD needed = ::GetTempPathA(0, nullptr);
  while (needed > folder.size()) {
    folder.resize(needed);
    needed = ::GetTempPathA(static_cast<DWORD>(folder.size()), folder.data());
  }
  if (needed == 0) RaiseWin32Fault();
  folder.resize(needed);
  if (folder.back() != '\\') folder += '\\';
  return Utf8FromAnsi(folder);
}

bool WindowsLocalFiles::IsLocalFileName(const std::string& name) {
  return IsWindowsFileName(name) && FitsAnsiCodePage(name);
}

bool WindowsLocalFiles::Exists(const std::string& path) {
  return ::GetFileAttributesA(AnsiFromUtf8(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

void WindowsLocalFiles::Delete(const std::string& path) {
  // The entry itself is opened, not what a reparse point leads to, and is deleted through the same
  // handle, so the entry that was looked at is the one that goes.
  Win32Handle entry(::CreateFileA(AnsiFromUtf8(path).c_str(), DELETE | FILE_READ_ATTRIBUTES,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!entry.Valid()) RaiseWin32Fault();
  BY_HANDLE_FILE_INFORMATION info{};
  if (!::GetFileInformationByHandle(entry.Get(), &info)) RaiseWin32Fault();
  if ((info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) != 0)
    RaiseFault(FaultNumber::PathFileAccessError);
  FILE_DISPOSITION_INFO disposition{TRUE};
  if (!::SetFileInformationByHandle(entry.Get(), FileDispositionInfo, &disposition, sizeof disposition))
    RaiseWin32Fault();
}

std::unique_ptr<IOutputFile> WindowsLocalFiles::Create(const std::string& path) {
  Win32Handle file(::CreateFileA(AnsiFromUtf8(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) RaiseWin32Fault();
  return std::make_unique<WindowsOutputFile>(std::move(file));
}

}  // namespace updater
