#include "platform/windows/WindowsInternet.h"

#include <algorithm>
#include <optional>

#include "platform/windows/AnsiText.h"
#include "platform/windows/Win32Calls.h"

namespace updater {
namespace {

// Rewrites the first count characters of buffer, ANSI code page text, as UTF-8 with a terminator;
// returns the new count, or nothing when it no longer fits capacity characters.
std::optional<std::uint32_t> AnsiBufferToUtf8(char* buffer, std::uint32_t count, std::uint32_t capacity) {
  const std::string_view ansi(buffer, count);
  if (std::all_of(ansi.begin(), ansi.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; })) return count;
  const std::string utf8 = Utf8FromAnsi(ansi);
  if (utf8.size() >= capacity) return std::nullopt;
  std::copy(utf8.begin(), utf8.end(), buffer);
  buffer[utf8.size()] = '\0';
  return static_cast<std::uint32_t>(utf8.size());
}

}  // namespace

HINTERNET WindowsInternet::InternetOpen(const std::string& agent, std::uint32_t accessType, const char* proxy,
                                        const char* proxyBypass, std::uint32_t flags) {
  return win32::OpenInternet(AnsiFromUtf8(agent).c_str(), accessType, proxy, proxyBypass, flags);
}

bool WindowsInternet::InternetSetOption(HINTERNET handle, std::uint32_t option, const void* buffer, std::uint32_t length) {
  return win32::SetInternetOption(handle, option, buffer, length);
}

HINTERNET WindowsInternet::InternetConnect(HINTERNET session, const std::string& server, std::uint16_t port,
                                           const std::string& user, const std::string& password,
                                           std::uint32_t service, std::uint32_t flags, std::uintptr_t context) {
  return win32::ConnectInternet(session, AnsiFromUtf8(server).c_str(), port, AnsiFromUtf8(user).c_str(),
                                AnsiFromUtf8(password).c_str(), service, flags, context);
}

HINTERNET WindowsInternet::FtpOpenFile(HINTERNET connection, const std::string& fileName, std::uint32_t access,
                                       std::uint32_t flags, std::uintptr_t context) {
  return win32::OpenFtpFile(connection, AnsiFromUtf8(fileName).c_str(), access, flags, context);
}

HINTERNET WindowsInternet::HttpOpenRequest(HINTERNET connection, const std::string& verb, const std::string& objectName,
                                           const char* version, const char* referrer, const char* const* acceptTypes,
                                           std::uint32_t flags, std::uintptr_t context) {
  return win32::OpenHttpRequest(connection, verb.c_str(), AnsiFromUtf8(objectName).c_str(), version, referrer,
                                acceptTypes, flags, context);
}

bool WindowsInternet::HttpSendRequest(HINTERNET request, const std::string& headers, const void* optional,
                                      std::uint32_t optionalLength) {
  return win32::SendHttpRequest(request, AnsiFromUtf8(headers).c_str(), optional, optionalLength);
}

bool WindowsInternet::HttpQueryInfo(HINTERNET request, std::uint32_t infoLevel, void* buffer,
                                    std::uint32_t* bufferLength, std::uint32_t* index) {
  const std::uint32_t capacity = *bufferLength;
  if (!win32::QueryHttpInfo(request, infoLevel, buffer, bufferLength, index)) return false;
  if ((infoLevel & inet::HTTP_QUERY_FLAG_NUMBER) != 0) return true;
  const std::optional<std::uint32_t> n = AnsiBufferToUtf8(static_cast<char*>(buffer), *bufferLength, capacity);
  if (n) *bufferLength = *n;
  return n.has_value();
}

bool WindowsInternet::InternetReadFile(HINTERNET file, void* buffer, std::uint32_t bytesToRead,
                                       std::uint32_t* bytesRead) {
  return win32::ReadInternetFile(file, buffer, bytesToRead, bytesRead);
}

bool WindowsInternet::InternetWriteFile(HINTERNET file, const void* buffer, std::uint32_t bytesToWrite,
                                        std::uint32_t* bytesWritten) {
  return win32::WriteInternetFile(file, buffer, bytesToWrite, bytesWritten);
}

bool WindowsInternet::FtpDeleteFile(HINTERNET connection, const std::string& fileName) {
  return win32::DeleteFtpFile(connection, AnsiFromUtf8(fileName).c_str());
}

bool WindowsInternet::InternetCloseHandle(HINTERNET handle) { return win32::CloseInternetHandle(handle); }

std::uint32_t WindowsInternet::GetLastError() const { return win32::LastErrorCode(); }

std::uint32_t WindowsInternet::FormatMessage(std::uint32_t code, char* buffer, std::uint32_t size) {
  const std::uint32_t n = win32::InternetMessageText(code, buffer, size);
  return AnsiBufferToUtf8(buffer, n, size).value_or(0);
}

bool WindowsInternet::InternetGetLastResponseInfo(std::uint32_t* error, char* buffer, std::uint32_t* length) {
  const std::uint32_t capacity = *length;
  if (!win32::LastResponseInfo(error, buffer, length)) return false;
  const std::optional<std::uint32_t> n = AnsiBufferToUtf8(buffer, *length, capacity);
  if (n) *length = *n;
  return n.has_value();
}

}  // namespace updater
