#pragma once
// The Win32 calls whose <windows.h> names are macros that would rewrite names of the platform
// interfaces (InternetOpen, FtpOpenFile, FormatMessage, ShellExecute, GetVersionEx, GENERIC_READ ...).
// Declared here with plain types, so that the classes implementing those interfaces never include
// <windows.h>, and the files that call Windows include nothing of ours that clashes. Texts are in
// the ANSI code page.

#include <cstdint>

#include "platform/OsVersionInfo.h"

namespace updater::win32 {

// WinInet. Handles are WinInet's own values, which are small; one that would not fit the 32-bit
// handle of the interface is closed again and reported as an internal error.
std::uint32_t OpenInternet(const char* agent, std::uint32_t accessType, const char* proxy, const char* proxyBypass,
                           std::uint32_t flags);
bool SetInternetOption(std::uint32_t handle, std::uint32_t option, const void* buffer, std::uint32_t length);
std::uint32_t ConnectInternet(std::uint32_t session, const char* server, std::uint16_t port, const char* user,
                              const char* password, std::uint32_t service, std::uint32_t flags,
                              std::uintptr_t context);
std::uint32_t OpenFtpFile(std::uint32_t connection, const char* fileName, std::uint32_t access, std::uint32_t flags,
                          std::uintptr_t context);
std::uint32_t OpenHttpRequest(std::uint32_t connection, const char* verb, const char* objectName, const char* version,
                              const char* referrer, const char* const* acceptTypes, std::uint32_t flags,
                              std::uintptr_t context);
bool SendHttpRequest(std::uint32_t request, const char* headers, const void* optional, std::uint32_t optionalLength);
bool QueryHttpInfo(std::uint32_t request, std::uint32_t infoLevel, void* buffer, std::uint32_t* bufferLength,
                   std::uint32_t* index);
bool ReadInternetFile(std::uint32_t file, void* buffer, std::uint32_t bytesToRead, std::uint32_t* bytesRead);
bool WriteInternetFile(std::uint32_t file, const void* buffer, std::uint32_t bytesToWrite,
                       std::uint32_t* bytesWritten);
bool DeleteFtpFile(std::uint32_t connection, const char* fileName);
bool CloseInternetHandle(std::uint32_t handle);
std::uint32_t LastErrorCode();
// FormatMessageA with FORMAT_MESSAGE_FROM_HMODULE on wininet.dll, language 0, no inserts.
std::uint32_t InternetMessageText(std::uint32_t code, char* buffer, std::uint32_t size);
bool LastResponseInfo(std::uint32_t* error, char* buffer, std::uint32_t* length);

// COM on this thread as the shell asks of its callers (apartment-threaded, without OLE1 DDE); true
// when it is to be undone with UninitializeCom.
bool InitializeComForShell();
void UninitializeCom();
// ShellExecuteA; ownerWindow is a window handle's value (0 for none).
std::intptr_t ShellOpen(std::uintptr_t ownerWindow, const char* operation, const char* file, const char* parameters,
                        const char* directory, std::int32_t showCommand);

// GetVersionExA on an OSVERSIONINFOA whose size member is info.size.
bool ReadVersionInfo(OsVersionInfo& info);

}  // namespace updater::win32
