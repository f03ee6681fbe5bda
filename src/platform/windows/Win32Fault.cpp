#include "platform/windows/Win32Fault.h"

namespace updater {
namespace {

// ERROR_DISK_QUOTA_EXCEEDED, which mingw-w64's headers lack.
constexpr DWORD kErrorDiskQuotaExceeded = 1295;

}  // namespace

FaultNumber FaultNumberForWin32Error(std::uint32_t error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
      return FaultNumber::FileNotFound;
    case ERROR_PATH_NOT_FOUND:
      return FaultNumber::PathNotFound;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_WRITE_PROTECT:
      return FaultNumber::PermissionDenied;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
      return FaultNumber::FileAlreadyExists;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
    case kErrorDiskQuotaExceeded:
      return FaultNumber::DiskFull;
    case ERROR_NOT_READY:
    case ERROR_CRC:
    case ERROR_WRITE_FAULT:
    case ERROR_READ_FAULT:
    case ERROR_IO_DEVICE:
      return FaultNumber::DeviceIoError;
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_FILENAME_EXCED_RANGE:
      return FaultNumber::BadFileNameOrNumber;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
      return FaultNumber::OutOfMemory;
    default:
      return FaultNumber::PathFileAccessError;
  }
}

}  // namespace updater
