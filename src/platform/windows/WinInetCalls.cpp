#include <windows.h>
#include <wininet.h>

#include <cstdarg>

#include "platform/windows/Win32Calls.h"

namespace updater::win32 {
namespace {

HINTERNET ToHandle(std::uint32_t handle) { return reinterpret_cast<HINTERNET>(static_cast<std::uintptr_t>(handle)); }

std::uint32_t FromHandle(HINTERNET handle) {
  const auto value = reinterpret_cast<std::uintptr_t>(handle);
  if constexpr (sizeof value > sizeof(std::uint32_t)) {
    if (value > UINT32_MAX) {
      ::InternetCloseHandle(handle);
      ::SetLastError(ERROR_INTERNET_INTERNAL_ERROR);
      return 0;
    }
  }
  return static_cast<std::uint32_t>(value);
}

}  // namespace

std::uint32_t OpenInternet(const char* agent, std::uint32_t accessType, const char* proxy, const char* proxyBypass,
                           std::uint32_t flags) {
  return FromHandle(::InternetOpenA(agent, accessType, proxy, proxyBypass, flags));
}

bool SetInternetOption(std::uint32_t handle, std::uint32_t option, const void* buffer, std::uint32_t length) {
  return ::InternetSetOptionA(ToHandle(handle), option, const_cast<void*>(buffer), length) != FALSE;
}

std::uint32_t ConnectInternet(std::uint32_t session, const char* server, std::uint16_t port, const char* user,
                              const char* password, std::uint32_t service, std::uint32_t flags,
                              std::uintptr_t context) {
  return FromHandle(::InternetConnectA(ToHandle(session), server, port, user, password, service, flags, context));
}

std::uint32_t OpenFtpFile(std::uint32_t connection, const char* fileName, std::uint32_t access, std::uint32_t flags,
                          std::uintptr_t context) {
  return FromHandle(::FtpOpenFileA(ToHandle(connection), fileName, access, flags, context));
}

std::uint32_t OpenHttpRequest(std::uint32_t connection, const char* verb, const char* objectName, const char* version,
                              const char* referrer, const char* const* acceptTypes, std::uint32_t flags,
                              std::uintptr_t context) {
  return FromHandle(::HttpOpenRequestA(ToHandle(connection), verb, objectName, version, referrer,
                                       const_cast<LPCSTR*>(acceptTypes), flags, context));
}

bool SendHttpRequest(std::uint32_t request, const char* headers, const void* optional, std::uint32_t optionalLength) {
  // The header lines end with their terminator.
  return ::HttpSendRequestA(ToHandle(request), headers, static_cast<DWORD>(-1), const_cast<void*>(optional),
                            optionalLength) != FALSE;
}

bool QueryHttpInfo(std::uint32_t request, std::uint32_t infoLevel, void* buffer, std::uint32_t* bufferLength,
                   std::uint32_t* index) {
  DWORD length = *bufferLength;
  DWORD at = index != nullptr ? *index : 0;
  const bool ok = ::HttpQueryInfoA(ToHandle(request), infoLevel, buffer, &length, index != nullptr ? &at : nullptr) != FALSE;
  *bufferLength = length;
  if (index != nullptr) *index = at;
  return ok;
}

bool ReadInternetFile(std::uint32_t file, void* buffer, std::uint32_t bytesToRead, std::uint32_t* bytesRead) {
  DWORD count = 0;
  const bool ok = ::InternetReadFile(ToHandle(file), buffer, bytesToRead, &count) != FALSE;
  *bytesRead = count;
  return ok;
}

bool WriteInternetFile(std::uint32_t file, const void* buffer, std::uint32_t bytesToWrite,
                       std::uint32_t* bytesWritten) {
  DWORD count = 0;
  const bool ok = ::InternetWriteFile(ToHandle(file), buffer, bytesToWrite, &count) != FALSE;
  *bytesWritten = count;
  return ok;
}

bool DeleteFtpFile(std::uint32_t connection, const char* fileName) {
  return ::FtpDeleteFileA(ToHandle(connection), fileName) != FALSE;
}

bool CloseInternetHandle(std::uint32_t handle) { return ::InternetCloseHandle(ToHandle(handle)) != FALSE; }

std::uint32_t LastErrorCode() { return ::GetLastError(); }

std::uint32_t InternetMessageText(std::uint32_t code, char* buffer, std::uint32_t size) {
  // The arguments of a message without inserts: a pointer to nothing.
  va_list noArguments{};
  return ::FormatMessageA(FORMAT_MESSAGE_FROM_HMODULE, ::GetModuleHandleA("wininet.dll"), code, 0, buffer, size,
                          &noArguments);
}

bool LastResponseInfo(std::uint32_t* error, char* buffer, std::uint32_t* length) {
  DWORD code = 0;
  DWORD count = *length;
  const bool ok = ::InternetGetLastResponseInfoA(&code, buffer, &count) != FALSE;
  *error = code;
  *length = count;
  return ok;
}

}  // namespace updater::win32
