#include "platform/windows/WindowsLocalFiles.h"

#include <string>

#include "platform/BufferedOutputFile.h"
#include "platform/windows/AnsiText.h"
#include "platform/windows/WideText.h"
#include "platform/windows/Win32Fault.h"
#include "platform/windows/Win32Handle.h"
#include "platform/windows/WindowsFileName.h"

namespace updater {
namespace {

// FileDispositionInfoEx and its flags (Windows 10 1607 on), which the Windows 7 headers leave out.
constexpr auto kFileDispositionInfoEx = static_cast<FILE_INFO_BY_HANDLE_CLASS>(21);
constexpr DWORD kDeleteWithPosixSemantics = 0x1 | 0x2;

// Removes the name at once, even while other programs hold the file open with delete sharing.
bool DeleteNameAtOnce(const Win32Handle& entry) {
  DWORD flags = kDeleteWithPosixSemantics;
  return ::SetFileInformationByHandle(entry.Get(), kFileDispositionInfoEx, &flags, sizeof flags) != FALSE;
}

// Renames the entry to a name of its own in the same folder, so that its old name is free.
void MoveAside(const Win32Handle& entry, const std::string& path) {
  const std::wstring aside = Wide(path) + L"." + std::to_wstring(::GetCurrentProcessId()) + L"-";
  for (unsigned attempt = 0;; ++attempt) {
    const std::wstring name = aside + std::to_wstring(attempt) + L".old";
    std::string record(sizeof(FILE_RENAME_INFO) + name.size() * sizeof(wchar_t), '\0');
    auto* rename = reinterpret_cast<FILE_RENAME_INFO*>(record.data());
    rename->FileNameLength = static_cast<DWORD>(name.size() * sizeof(wchar_t));
    name.copy(rename->FileName, name.size());
    if (::SetFileInformationByHandle(entry.Get(), FileRenameInfo, rename, static_cast<DWORD>(record.size()))) return;
    const DWORD error = ::GetLastError();
    if ((error != ERROR_ALREADY_EXISTS && error != ERROR_FILE_EXISTS) || attempt == 99) RaiseWin32Fault(error);
  }
}

}  // namespace

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
  if ((info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0) RaiseFault(FaultNumber::PermissionDenied);
  // Another program may hold the old file open (a virus scanner, the indexer, the last update's
  // installer still running), and a plain delete leaves its name in place until that program lets go:
  // the new file could not be created. Where the system cannot delete the name at once, the file is
  // moved aside first. A running installer cannot be deleted at all; moved aside, it stays until the
  // system cleans the temporary folder.
  if (DeleteNameAtOnce(entry)) return;
  MoveAside(entry, path);
  FILE_DISPOSITION_INFO disposition{TRUE};
  ::SetFileInformationByHandle(entry.Get(), FileDispositionInfo, &disposition, sizeof disposition);
}

std::unique_ptr<IOutputFile> WindowsLocalFiles::Create(const std::string& path) {
  auto file = std::make_shared<Win32Handle>(::CreateFileA(AnsiFromUtf8(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                                                          nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file->Valid()) RaiseWin32Fault();
  return std::make_unique<BufferedOutputFile>(
      [file](const std::uint8_t* data, std::size_t size) {
        DWORD written = 0;
        if (!::WriteFile(file->Get(), data, static_cast<DWORD>(size), &written, nullptr)) RaiseWin32Fault();
        return static_cast<std::size_t>(written);
      },
      [file] {
        if (!file->Reset()) RaiseWin32Fault();
      });
}

}  // namespace updater
