#include "platform/linux/ftp/FtpInternet.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "platform/linux/ftp/InetMessages.h"
#include "platform/linux/ftp/LastCallRecord.h"

namespace updater {
namespace {

// The Windows functions' limit on a message text, terminator included.
constexpr std::uint32_t kMaxMessageSize = 256;

// Texts that go into a command line must not end it early or hide a second command.
bool FitsCommandLine(const std::string& text) {
  constexpr std::string_view kLineEndsAndNul("\r\n\0", 3);
  return text.find_first_of(kLineEndsAndNul) == std::string::npos;
}

// Leaves error behind for GetLastError; returns what a failed call returns (a null handle, false).
template <typename Result = bool>
Result Fail(InetError error) {
  SetLastInetError(error);
  return Result{};
}

// Whether a step succeeded; a failed one leaves its error behind.
bool Succeeded(InetError error) { return error == kInetOk || Fail(error); }

}  // namespace

FtpInternet::FtpInternet(FtpSettings settings) : settings_(settings) {}

FtpInternet::~FtpInternet() {
  for (const HINTERNET root : handles_.ChildrenOf(0)) Close(root);
}

template <typename T>
T* FtpInternet::FindAs(HINTERNET handle) {
  Object* object = handles_.Find(handle);
  if (object == nullptr) return nullptr;
  if constexpr (std::is_same_v<T, Session>) {
    return std::get_if<Session>(object);
  } else {
    auto* held = std::get_if<std::unique_ptr<T>>(object);
    return held == nullptr ? nullptr : held->get();
  }
}

HINTERNET FtpInternet::InternetOpen(const std::string&, std::uint32_t, const char*, const char*, std::uint32_t) {
  return handles_.Add(0, Session{});
}

HINTERNET FtpInternet::InternetConnect(HINTERNET session, const std::string& server, std::uint16_t port,
                                       const std::string& user, const std::string& password, std::uint32_t service,
                                       std::uint32_t, std::uintptr_t) {
  if (FindAs<Session>(session) == nullptr) return Fail<HINTERNET>(inet::ERROR_INVALID_HANDLE);
  if (service != inet::INTERNET_SERVICE_FTP || !FitsCommandLine(user) || !FitsCommandLine(password))
    return Fail<HINTERNET>(inet::ERROR_INVALID_PARAMETER);
  auto control = std::make_unique<ControlConnection>(settings_);
  if (!Succeeded(control->Open(server, port == 0 ? settings_.defaultPort : port)) ||
      !Succeeded(control->Login(user, password)))
    return 0;
  return handles_.Add(session, std::move(control));
}

ControlConnection* FtpInternet::FindIdleConnection(HINTERNET connection, const std::string& fileName) {
  ControlConnection* control = FindAs<ControlConnection>(connection);
  if (control == nullptr) return Fail<ControlConnection*>(inet::ERROR_INVALID_HANDLE);
  if (fileName.empty() || !FitsCommandLine(fileName)) return Fail<ControlConnection*>(inet::ERROR_INVALID_PARAMETER);
  if (handles_.HasChildren(connection)) return Fail<ControlConnection*>(inet::ERROR_FTP_TRANSFER_IN_PROGRESS);
  return control;
}

FtpTransfer* FtpInternet::FindTransfer(HINTERNET file, FtpTransfer::Direction direction) {
  FtpTransfer* transfer = FindAs<FtpTransfer>(file);
  if (transfer == nullptr) return Fail<FtpTransfer*>(inet::ERROR_INVALID_HANDLE);
  if (transfer->GetDirection() != direction) return Fail<FtpTransfer*>(inet::ERROR_INTERNET_INCORRECT_HANDLE_STATE);
  return transfer;
}

HINTERNET FtpInternet::FtpOpenFile(HINTERNET connection, const std::string& fileName, std::uint32_t access,
                                   std::uint32_t flags, std::uintptr_t) {
  const std::uint32_t type = flags & (inet::FTP_TRANSFER_TYPE_ASCII | inet::FTP_TRANSFER_TYPE_BINARY);
  if ((access != inet::GENERIC_READ && access != inet::GENERIC_WRITE) ||
      type == (inet::FTP_TRANSFER_TYPE_ASCII | inet::FTP_TRANSFER_TYPE_BINARY))
    return Fail<HINTERNET>(inet::ERROR_INVALID_PARAMETER);
  ControlConnection* control = FindIdleConnection(connection, fileName);
  if (control == nullptr) return 0;
  const auto direction = access == inet::GENERIC_READ ? FtpTransfer::Direction::Download : FtpTransfer::Direction::Upload;
  std::unique_ptr<FtpTransfer> transfer;
  if (!Succeeded(FtpTransfer::Start(*control, direction, type == inet::FTP_TRANSFER_TYPE_ASCII, fileName, transfer)))
    return 0;
  return handles_.Add(connection, std::move(transfer));
}

bool FtpInternet::InternetReadFile(HINTERNET file, void* buffer, std::uint32_t bytesToRead, std::uint32_t* bytesRead) {
  if (bytesRead == nullptr || (buffer == nullptr && bytesToRead > 0)) return Fail(inet::ERROR_INVALID_PARAMETER);
  *bytesRead = 0;
  FtpTransfer* transfer = FindTransfer(file, FtpTransfer::Direction::Download);
  if (transfer == nullptr) return false;
  return bytesToRead == 0 || Succeeded(transfer->Read(buffer, bytesToRead, *bytesRead));
}

bool FtpInternet::InternetWriteFile(HINTERNET file, const void* buffer, std::uint32_t bytesToWrite,
                                    std::uint32_t* bytesWritten) {
  if (bytesWritten == nullptr || (buffer == nullptr && bytesToWrite > 0)) return Fail(inet::ERROR_INVALID_PARAMETER);
  *bytesWritten = 0;
  FtpTransfer* transfer = FindTransfer(file, FtpTransfer::Direction::Upload);
  return transfer != nullptr && Succeeded(transfer->Write(buffer, bytesToWrite, *bytesWritten));
}

bool FtpInternet::FtpDeleteFile(HINTERNET connection, const std::string& fileName) {
  ControlConnection* control = FindIdleConnection(connection, fileName);
  return control != nullptr && Succeeded(control->Command("DELE " + fileName));
}

InetError FtpInternet::Close(HINTERNET handle) {
  for (const HINTERNET child : handles_.ChildrenOf(handle)) Close(child);
  InetError result = kInetOk;
  if (FtpTransfer* transfer = FindAs<FtpTransfer>(handle))
    result = transfer->Finish();
  else if (ControlConnection* control = FindAs<ControlConnection>(handle))
    control->Quit();
  handles_.Remove(handle);
  return result;
}

bool FtpInternet::InternetCloseHandle(HINTERNET handle) {
  if (handles_.Find(handle) == nullptr) return Fail(inet::ERROR_INVALID_HANDLE);
  return Succeeded(Close(handle));
}

std::uint32_t FtpInternet::GetLastError() const { return LastInetError(); }

std::uint32_t FtpInternet::FormatMessage(std::uint32_t code, char* buffer, std::uint32_t size) {
  const char* text = InetMessageText(code);
  if (text == nullptr || buffer == nullptr) return 0;
  const std::size_t length = std::strlen(text);
  if (length + 1 > std::min(size, kMaxMessageSize)) return 0;
  std::memcpy(buffer, text, length + 1);
  return static_cast<std::uint32_t>(length);
}

bool FtpInternet::InternetGetLastResponseInfo(std::uint32_t* error, char* buffer, std::uint32_t* length) {
  return CopyLastResponse(error, buffer, length);
}

}  // namespace updater
